#include "data/QueryModel.h"

#include "data/Query.h"
#include "data/Schema.h"

#include <QColor>

QueryModel::QueryModel(Query* query, QObject* parent)
    : QAbstractTableModel(parent)
    , m_query(query)
{
    connect(query, &Query::aboutToChangeRows, this, [this] { beginResetModel(); });
    connect(query, &Query::rowsChanged, this, [this] { endResetModel(); });
}

void QueryModel::setTitle(const QString& column, const QString& title)
{
    m_titles.insert(column.toLower(), title);
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void QueryModel::setTitles(const QStringList& titles)
{
    if (titles == m_positionalTitles)
        return;
    m_positionalTitles = titles;
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void QueryModel::setRedTitle(int column)
{
    if (column == m_redTitle)
        return;
    m_redTitle = column;
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int QueryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_query ? 0 : m_query->recordCount();
}

int QueryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_query ? 0 : m_query->columnCount();
}

QVariant QueryModel::data(const QModelIndex& index, int role) const
{
    if (!m_query || !index.isValid() || index.row() >= m_query->recordCount())
        return {};
    if (role == Qt::DisplayRole) {
        // A list read a screen at a time reads rows as they are painted: a database that does
        // not answer leaves the cells empty, and the next command reports it.
        try {
            return m_query->displayText(index.row(), index.column());
        } catch (const std::exception&) {
            return {};
        }
    }
    if (role == Qt::TextAlignmentRole) {
        const ColumnKind kind = m_query->columnKind(index.column());
        const bool number =
            kind == ColumnKind::Integer || kind == ColumnKind::Money || kind == ColumnKind::Real;
        return int((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    return {};
}

QVariant QueryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (!m_query)
        return {};
    if (orientation == Qt::Horizontal && role == Qt::ForegroundRole)
        return QColor(section == m_redTitle ? Qt::red : Qt::black);
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= m_query->columnCount())
        return {};
    if (section < m_positionalTitles.size())
        return m_positionalTitles.at(section);
    const QString name = m_query->columnName(section);
    return m_titles.value(name.toLower(), name);
}
