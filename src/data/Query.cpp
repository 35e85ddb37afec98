#include "data/Query.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Formats.h"
#include "data/QueryPaging.h"

#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <cmath>
#include <numeric>

Query::Query(const QString& name, Connection* connection, QObject* parent)
    : QObject(parent)
    , m_connection(connection)
{
    setObjectName(name);
}

Query::~Query() = default;

void Query::clear()
{
    m_lines.clear();
    m_values.clear();
}

void Query::add(const QString& line)
{
    m_lines.append(line);
}

void Query::setSql(const QStringList& lines)
{
    m_lines = lines;
    m_values.clear();
}

void Query::setSql(const SqlStatement& statement)
{
    m_lines = statement.lines;
    m_values = statement.values;
}

QString Query::statement() const
{
    return m_lines.join(QLatin1Char('\n'));
}

void Query::resetRows()
{
    m_paging.reset();
    m_columns.clear();
    m_rows.clear(0);
    m_order.clear();
    m_sort.clear();
    m_sorted.clear();
    m_keys.clear();
    m_unfiltered.clear();
    m_filterColumns.clear();
    m_filterText.clear();
    m_folded.clear();
    m_search.clear();
    m_current = -1;
    m_eof = m_bof = true;
}

void Query::close()
{
    if (!m_open && m_columns.isEmpty())
        return;
    emit aboutToChangeRows();
    resetRows();
    m_open = false;
    emit rowsChanged();
    emit currentRowChanged(-1);
}

void Query::open()
{
    QString sql;
    try {
        sql = m_connection->translate(statement());
    } catch (...) {
        // A statement that cannot even be read leaves the query closed, as a rejected one does.
        close();
        throw;
    }
    // One change of rows for the grids, not an empty list first and the new rows after: a
    // grid whose columns stay the same keeps its titles and their sizes.
    emit aboutToChangeRows();
    resetRows();
    m_open = false;
    try {
        m_columns = readRows(*m_connection, sql, m_values, m_rows);
    } catch (...) {
        resetRows();
        emit rowsChanged();
        emit currentRowChanged(-1);
        throw;
    }
    m_order.resize(m_rows.rowCount());
    std::iota(m_order.begin(), m_order.end(), 0);
    // The key's index is made with the rows, so that finding a row by its key is immediate.
    if (const int key = columnIndex(m_keyColumn); !m_keyColumn.isEmpty() && key >= 0)
        m_keys.insert(key, keyIndex(key));
    m_open = true;
    const bool empty = m_rows.rowCount() == 0;
    m_current = empty ? -1 : 0;
    // Opened on its first row, as after first().
    m_eof = empty;
    m_bof = true;
    emit rowsChanged();
    emit currentRowChanged(m_current);
}

int Query::exec()
{
    close();
    return m_connection->execute(SqlStatement{m_lines, m_values});
}

void Query::setCurrent(int row, bool eof, bool bof)
{
    const bool moved = row != m_current;
    m_current = row;
    m_eof = eof;
    m_bof = bof;
    if (moved)
        emit currentRowChanged(m_current);
}

void Query::setCurrentRow(int row)
{
    if (row < 0 || row >= recordCount())
        return;
    setCurrent(row, false, false);
}

void Query::first()
{
    setCurrent(isEmpty() ? -1 : 0, isEmpty(), true);
}

void Query::last()
{
    setCurrent(isEmpty() ? -1 : recordCount() - 1, isEmpty(), isEmpty());
}

void Query::next()
{
    if (isEmpty() || m_current >= recordCount() - 1) {
        m_eof = true;
        return;
    }
    setCurrent(m_current + 1, false, false);
}

void Query::prior()
{
    if (isEmpty() || m_current <= 0) {
        m_bof = true;
        return;
    }
    setCurrent(m_current - 1, false, false);
}

int Query::columnIndex(const QString& name) const
{
    for (int c = 0; c < m_columns.size(); ++c)
        if (m_columns[c].name.compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

QStringList Query::columnNames() const
{
    QStringList names;
    for (const auto& c : m_columns)
        names.append(c.name);
    return names;
}

int Query::recordCount() const
{
    return m_paging ? m_paging->count : int(m_order.size());
}

QStringList Query::values(int column) const
{
    QStringList list;
    list.reserve(recordCount());
    for (int row = 0; row < recordCount(); ++row)
        list.append(field(row, column).asText());
    return list;
}

Field Query::field(const QString& name) const
{
    const int c = columnIndex(name);
    if (c < 0)
        throw DbError(QStringLiteral("%1: Field '%2' not found").arg(objectName(), name));
    if (m_current < 0)
        return Field(QVariant(), m_columns[c].kind);
    return field(m_current, c);
}

Field Query::field(int row, int column) const
{
    if (m_paging) {
        int at = -1;
        const RowStore& rows = pageHolding(row, &at);
        return Field(at < 0 ? QVariant() : rows.value(at, column), m_columns.at(column).kind);
    }
    return Field(m_rows.value(m_order.at(row), column), m_columns.at(column).kind);
}

qint64 Query::rowKey(int row) const
{
    if (row < 0 || row >= recordCount())
        return 0;
    if (m_paging) {
        int at = -1;
        const RowStore& rows = pageHolding(row, &at);
        return at < 0 ? 0 : rows.key(at);
    }
    return m_rows.key(m_order.at(row));
}

int Query::findKey(qint64 key) const
{
    if (key == 0)
        return -1;
    if (m_paging)
        return pagedPosition(key);
    for (int row = 0; row < m_order.size(); ++row)
        if (m_rows.key(m_order.at(row)) == key)
            return row;
    return -1;
}

QString Query::displayText(int row, int column) const
{
    const Field f = field(row, column);
    // Rounded as every money figure is, half a cent up: 2.675 shows 2.68, as its total does.
    if (f.kind() == ColumnKind::Money && !f.isNull() && f.value().typeId() != QMetaType::QString)
        return f.asCurrency().toFixed2();
    return f.asText();
}

QList<Query::SortKey> Query::sortKeys(const QString& spec) const
{
    QList<SortKey> keys;
    for (const Paging::Key& key : Paging::keys(spec)) {
        const int c = columnIndex(key.column);
        if (c < 0)
            throw DbError(QStringLiteral("%1: Field '%2' not found").arg(objectName(), key.column));
        keys.append({c, key.descending});
    }
    return keys;
}

void Query::sort(const QString& spec)
{
    const QList<SortKey> keys = sortKeys(spec);
    if (m_paging) {
        sortPaged(keys, spec);
        return;
    }
    const int currentRecord = m_current >= 0 ? m_order[m_current] : -1;
    // Every row is sorted, those the filter hides too, so that the filter can change later.
    if (!m_filterText.isEmpty())
        m_order = m_unfiltered;
    const QString cacheKey = keys.isEmpty() ? QString() : spec.simplified().toLower();
    if (const auto cached = m_sorted.constFind(cacheKey); cached != m_sorted.constEnd()) {
        emit aboutToChangeRows();
        m_order = *cached;
        applyFilter();
        m_sort = spec;
        if (currentRecord >= 0)
            m_current = int(m_order.indexOf(currentRecord));
        emit rowsChanged();
        emit currentRowChanged(m_current);
        return;
    }
    // Each row's sort values are worked out once, not at every comparison: a large list then
    // sorts in a fraction of the time.
    struct Value
    {
        int rank = 0; // nulls first, then numbers, then texts
        double number = 0;
        QString text;
    };
    const qsizetype rowCount = m_rows.rowCount();
    QList<QList<Value>> values(keys.size(), QList<Value>(rowCount));
    for (qsizetype k = 0; k < keys.size(); ++k) {
        const int column = keys[k].column;
        const ColumnKind kind = m_columns[column].kind;
        const bool numeric = kind == ColumnKind::Integer || kind == ColumnKind::Money ||
                             kind == ColumnKind::Real || kind == ColumnKind::Bool;
        for (qsizetype row = 0; row < rowCount; ++row) {
            const QVariant v = m_rows.value(int(row), column);
            Value& out = values[k][row];
            if (v.isNull())
                continue;
            if (numeric) {
                bool ok = v.typeId() != QMetaType::QString;
                out.number = ok ? v.toDouble() : Formats::parseNumber(v.toString(), &ok);
                if (ok) {
                    out.rank = 1;
                    continue;
                }
            }
            out.rank = 2;
            out.text = kind == ColumnKind::Date ? v.toString() : v.toString().toCaseFolded();
        }
    }
    emit aboutToChangeRows();
    std::iota(m_order.begin(), m_order.end(), 0);
    if (!keys.isEmpty())
        std::stable_sort(m_order.begin(), m_order.end(), [&](int a, int b) {
            for (qsizetype k = 0; k < keys.size(); ++k) {
                const Value& x = values[k][a];
                const Value& y = values[k][b];
                int r = x.rank - y.rank;
                if (r == 0 && x.rank == 1)
                    r = x.number < y.number ? -1 : (x.number > y.number ? 1 : 0);
                else if (r == 0 && x.rank == 2)
                    r = x.text.compare(y.text);
                if (r != 0)
                    return keys[k].descending ? r > 0 : r < 0;
            }
            return false;
        });
    m_sort = spec;
    m_sorted.insert(cacheKey, m_order);
    applyFilter();
    if (currentRecord >= 0)
        m_current = int(m_order.indexOf(currentRecord));
    emit rowsChanged();
    emit currentRowChanged(m_current);
}

int Query::findRow(const QString& column, const QString& text) const
{
    const int c = columnIndex(column);
    if (c < 0)
        throw DbError(QStringLiteral("%1: Field '%2' not found").arg(objectName(), column));
    if (m_paging) {
        // A whole-number column is compared with a number: a text that is none finds nothing.
        QVariant value = text;
        if (m_columns.at(c).kind == ColumnKind::Integer) {
            bool whole = false;
            value = text.trimmed().toLongLong(&whole);
            if (!whole)
                return -1;
        }
        return pagedFirst(m_columns.at(c).name + QStringLiteral(" = ?"), {value});
    }
    auto index = m_keys.constFind(c);
    if (index == m_keys.constEnd())
        index = m_keys.insert(c, keyIndex(c));
    const auto found = index->constFind(text);
    return found == index->constEnd() ? -1 : int(m_order.indexOf(*found));
}

QHash<QString, int> Query::keyIndex(int column) const
{
    QHash<QString, int> byText;
    byText.reserve(m_rows.rowCount());
    const ColumnKind kind = m_columns.at(column).kind;
    // Whole numbers and texts, the keys of the shop's tables, are read straight from the rows.
    for (int record = m_rows.rowCount() - 1; record >= 0; --record) {
        const RowStore::Cell cell = m_rows.cell(record, column);
        QString text;
        if (cell.type == RowStore::Type::Integer && kind != ColumnKind::Bool)
            text = QString::number(cell.integer);
        else if (cell.type == RowStore::Type::Text && kind != ColumnKind::Date)
            text = QString::fromUtf8(cell.text, cell.size);
        else
            text = Field(m_rows.value(record, column), kind).asText();
        byText.insert(text, record);
    }
    return byText;
}

void Query::setKeyColumn(const QString& column)
{
    m_keyColumn = column;
}

void Query::filterContaining(const QStringList& columns, const QString& text)
{
    QList<int> indexes;
    for (const QString& column : columns) {
        const int c = columnIndex(column);
        if (c < 0)
            throw DbError(QStringLiteral("%1: Field '%2' not found").arg(objectName(), column));
        indexes.append(c);
    }
    if (m_paging)
        throw DbError(QStringLiteral("%1: a list read a screen at a time is searched on the "
                                     "database")
                          .arg(objectName()));
    emit aboutToChangeRows();
    // A text that only grows (a letter typed at the end, or in the middle) keeps a part of
    // the rows it kept: only those are looked at again.
    const QByteArray folded = TextSearch::fold(text);
    const bool narrowing =
        !m_filterText.isEmpty() && indexes == m_filterColumns && folded.contains(m_folded);
    if (!m_filterText.isEmpty() && !narrowing)
        m_order = m_unfiltered;
    m_filterColumns = indexes;
    m_filterText = text;
    m_folded = folded;
    applyFilter(narrowing);
    const bool empty = m_order.isEmpty();
    m_current = empty ? -1 : 0;
    m_eof = empty;
    m_bof = true;
    emit rowsChanged();
    emit currentRowChanged(m_current);
}

void Query::applyFilter(bool narrowing)
{
    if (m_filterText.isEmpty()) {
        m_unfiltered.clear();
        return;
    }
    if (!narrowing)
        m_unfiltered = m_order;
    m_order = m_search.matching(m_rows, m_columns, m_filterColumns, m_order, m_folded);
}

bool Query::locate(const QString& column, const QString& text)
{
    const int c = columnIndex(column);
    if (c < 0)
        throw DbError(QStringLiteral("%1: Field '%2' not found").arg(objectName(), column));
    if (m_paging)
        return locateOnPages(c, text);
    for (int row = 0; row < recordCount(); ++row) {
        if (field(row, c).asText().startsWith(text, Qt::CaseInsensitive)) {
            setCurrent(row, false, false);
            return true;
        }
    }
    return false;
}
