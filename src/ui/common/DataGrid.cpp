#include "ui/common/DataGrid.h"

#include "data/Query.h"
#include "data/QueryModel.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {
const QColor evenShade(0xff, 0xff, 0xff);
const QColor oddShade(0xe8, 0xf0, 0xf8);
} // namespace

// Paints the stripes, black text, and the frame around the current cell.
class DataGrid::Delegate : public QStyledItemDelegate
{
public:
    explicit Delegate(DataGrid* grid)
        : QStyledItemDelegate(grid)
        , m_grid(grid)
    {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QColor background = index.row() % 2 ? oddShade : evenShade;
        if (m_grid->m_rowColour) {
            const QColor custom = m_grid->m_rowColour(index.row());
            if (custom.isValid())
                background = custom;
        }
        const bool selected = option.state & QStyle::State_Selected;
        if (selected)
            background = background.darker(118);
        painter->fillRect(option.rect, background);

        QStyleOptionViewItem plain = option;
        plain.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        QColor text(Qt::black);
        if (m_grid->m_rowTextColour) {
            const QColor custom = m_grid->m_rowTextColour(index.row());
            if (custom.isValid())
                text = custom;
        }
        plain.palette.setColor(QPalette::Text, text);
        plain.backgroundBrush = Qt::NoBrush;
        QStyledItemDelegate::paint(painter, plain, index);

        if (index == m_grid->currentIndex()) {
            painter->save();
            painter->setPen(QPen(m_grid->hasFocus() ? QColor(Qt::red) : QColor(Qt::darkGray), 2));
            painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
            painter->restore();
        }
    }

private:
    DataGrid* m_grid;
};

DataGrid::DataGrid(Query* query, QWidget* parent)
    : QTableView(parent)
    , m_query(query)
    , m_model(new QueryModel(query, this))
{
    setModel(m_model);
    setItemDelegate(new Delegate(this));
    setEditTriggers(NoEditTriggers);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setTabKeyNavigation(false);
    setWordWrap(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumWidth(28);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setDefaultSectionSize(110);
    horizontalHeader()->setStretchLastSection(true);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &DataGrid::titleClicked);
    connect(this, &QAbstractItemView::clicked, this, &DataGrid::cellClicked);
    connect(query, &Query::currentRowChanged, this, &DataGrid::followQuery);
    connect(query, &Query::rowsChanged, this, &DataGrid::followQuery);
    followQuery();
}

void DataGrid::setTitles(const QStringList& titles)
{
    m_model->setTitles(titles);
}

void DataGrid::setRedTitle(int column)
{
    m_model->setRedTitle(column);
}

void DataGrid::setRowColour(std::function<QColor(int)> colour)
{
    m_rowColour = std::move(colour);
    viewport()->update();
}

void DataGrid::setRowTextColour(std::function<QColor(int)> colour)
{
    m_rowTextColour = std::move(colour);
    viewport()->update();
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (!m_syncing && current.isValid() && current.row() != m_query->currentRow()) {
        m_syncing = true;
        m_query->setCurrentRow(current.row());
        m_syncing = false;
    }
    viewport()->update();
}

void DataGrid::followQuery()
{
    if (m_syncing)
        return;
    const int row = m_query->currentRow();
    m_syncing = true;
    if (row < 0 || row >= m_model->rowCount()) {
        selectionModel()->clear();
    } else {
        const int column = std::max(0, currentIndex().column());
        const QModelIndex index = m_model->index(row, column);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                     QItemSelectionModel::Rows);
        scrollTo(index);
    }
    m_syncing = false;
    viewport()->update();
}

void DataGrid::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    viewport()->update();
}

void DataGrid::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    viewport()->update();
}
