#include "data/QueryPaging.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/RowReader.h"
#include "data/SqlDialect.h"
#include "data/SqlLiteral.h"

#include <QHash>

#include <algorithm>

namespace {

// A screen and a half of the tallest list; the pages kept cover a few screens' scrolling
// each way and the rows a jump left behind.
constexpr int pageRows = 64;
constexpr std::size_t pagesKept = 48;

QString keyColumn()
{
    return SqlDialect::rowKeyColumn();
}

} // namespace

QList<Query::Paging::Key> Query::Paging::keys(const QString& spec)
{
    QList<Key> keys;
    for (const QString& part : spec.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        QStringList words = part.trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        bool descending = false;
        if (words.size() > 1) {
            descending = words.last().compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
            words.removeLast();
        }
        keys.append({words.join(QLatin1Char(' ')), descending});
    }
    return keys;
}

QString Query::Paging::where(const QString& extra) const
{
    QStringList parts;
    if (!read.condition.isEmpty())
        parts.append(QLatin1Char('(') + read.condition + QLatin1Char(')'));
    if (!extra.isEmpty())
        parts.append(QLatin1Char('(') + extra + QLatin1Char(')'));
    return parts.isEmpty() ? QString() : QStringLiteral(" Where ") + parts.join(" And ");
}

QString Query::Paging::orderBy(bool reversed) const
{
    QStringList parts;
    for (const Key& key : order)
        parts.append(key.column + (key.descending != reversed ? QStringLiteral(" Desc") : ""));
    parts.append(keyColumn() + (reversed ? QStringLiteral(" Desc") : QString()));
    return QStringLiteral(" Order By ") + parts.join(QStringLiteral(", "));
}

QString Query::Paging::before(const QVariantList& sortValues, qint64 key,
                              QVariantList& values) const
{
    // Empty values come first going up and last going down, as the file sorts them; the
    // rows added earlier come first among equal values.
    if (oneRange(sortValues)) {
        const QString& column = order.first().column;
        values += QVariantList{sortValues.first(), key};
        return QStringLiteral("(") + column + ", " + keyColumn() + ") < (?, ?)";
    }
    QString condition = keyColumn() + QStringLiteral(" < ?");
    QVariantList bound{key};
    for (qsizetype k = order.size() - 1; k >= 0; --k) {
        const QString& column = order[k].column;
        const QVariant& v = sortValues.at(k);
        const bool empty = v.isNull();
        QString earlier;
        if (order[k].descending)
            earlier = empty ? column + QStringLiteral(" Is Not Null") : column + " > ?";
        else if (!empty)
            earlier = QStringLiteral("(") + column + " Is Null Or " + column + " < ?)";
        const QString equal = empty ? column + QStringLiteral(" Is Null") : column + " = ?";
        // A value that is not empty is bound twice: before it, and equal to it.
        QVariantList next = empty ? QVariantList() : QVariantList{v, v};
        next += bound;
        condition = (earlier.isEmpty() ? QString() : earlier + QStringLiteral(" Or ")) + "(" +
                    equal + " And " + condition + ")";
        condition = QLatin1Char('(') + condition + QLatin1Char(')');
        bound = next;
    }
    values += bound;
    return condition;
}

int Query::heldRows() const
{
    if (!m_paging)
        return recordCount();
    int held = 0;
    while (held < m_paging->count && m_paging->pages.count(held / pageRows))
        held = std::min(m_paging->count, (held / pageRows + 1) * pageRows);
    return held;
}

QVariant Query::scalar(const QString& statement, const QVariantList& values) const
{
    RowStore rows;
    readRows(*m_connection, m_connection->translate(statement), values, rows);
    return rows.rowCount() > 0 && rows.columnCount() > 0 ? rows.value(0, 0) : QVariant();
}

void Query::openPaged(const TableRead& read, const QString& sort)
{
    auto paging = std::make_unique<Paging>();
    paging->read = read;
    // Its columns are checked once the first page tells the list's columns.
    paging->order = Paging::keys(sort);
    const QString from = QStringLiteral(" From ") + read.table;
    emit aboutToChangeRows();
    resetRows();
    m_open = false;
    try {
        paging->count =
            int(scalar(QStringLiteral("Select Count(*)") + from + paging->where(), read.values)
                    .toLongLong());
        m_paging = std::move(paging);
        // The first page is read at once: it tells the list's columns, even when it is empty.
        auto& page = m_paging->pages[0];
        m_columns = readPage(0, page.rows, page.stored);
        page.used = ++m_paging->clock;
        for (const Paging::Key& key : m_paging->order)
            if (columnIndex(key.column) < 0)
                throw DbError(
                    QStringLiteral("%1: Field '%2' not found").arg(objectName(), key.column));
    } catch (...) {
        resetRows();
        emit rowsChanged();
        emit currentRowChanged(-1);
        throw;
    }
    m_lines = read.statement().lines;
    m_values = read.values;
    m_sort = sort;
    m_open = true;
    const bool empty = m_paging->count == 0;
    m_current = empty ? -1 : 0;
    m_eof = empty;
    m_bof = true;
    emit rowsChanged();
    emit currentRowChanged(m_current);
}

const RowStore& Query::pageHolding(int row, int* at) const
{
    Paging& p = *m_paging;
    const int index = row / pageRows;
    auto found = p.pages.find(index);
    if (found == p.pages.end()) {
        if (p.pages.size() >= pagesKept) {
            const auto oldest =
                std::min_element(p.pages.begin(), p.pages.end(), [](const auto& a, const auto& b) {
                    return a.second.used < b.second.used;
                });
            p.pages.erase(oldest);
        }
        Paging::Page page;
        readPage(index, page.rows, page.stored);
        found = p.pages.emplace(index, std::move(page)).first;
    }
    Paging::Page& page = found->second;
    page.used = ++p.clock;
    const int offset = row - index * pageRows;
    *at = offset >= 0 && offset < page.stored.size() ? page.stored.at(offset) : -1;
    return page.rows;
}

QList<RowColumn> Query::readPage(int index, RowStore& rows, QList<int>& stored) const
{
    const Paging& p = *m_paging;
    // Rows in the second half are counted from the end: no read skips more than half of the
    // list.
    const int first = index * pageRows;
    const int size = std::max(0, std::min(pageRows, p.count - first));
    const bool reversed = first + size > p.count / 2 && first > 0;
    const int skip = reversed ? p.count - (first + size) : first;
    const QVariantList limit{qlonglong(size), qlonglong(skip)};
    const QString from = QStringLiteral(" From ") + p.read.table;
    const QString ordered = p.where() + p.orderBy(reversed) + QStringLiteral(" Limit ? Offset ?");
    QList<RowColumn> columns;
    stored.clear();
    if (skip == 0) {
        columns = readRows(*m_connection,
                           m_connection->translate(QStringLiteral("Select ") + p.read.columns +
                                                   ", " + keyColumn() + from + ordered),
                           p.read.values + limit, rows);
        for (int r = 0; r < rows.rowCount(); ++r)
            stored.append(r);
    } else {
        // Rows skipped are passed over on the index alone: the page's keys first, then its
        // rows by their keys.
        RowStore keys;
        readRows(*m_connection,
                 m_connection->translate(QStringLiteral("Select ") + keyColumn() + from + ordered),
                 p.read.values + limit, keys);
        QVariantList wanted;
        QStringList marks;
        for (int r = 0; r < keys.rowCount(); ++r) {
            wanted.append(qlonglong(keys.key(r)));
            marks.append(QStringLiteral("?"));
        }
        if (!wanted.isEmpty())
            columns =
                readRows(*m_connection,
                         m_connection->translate(QStringLiteral("Select ") + p.read.columns + ", " +
                                                 keyColumn() + from + " Where " + keyColumn() +
                                                 " In (" + marks.join(QLatin1Char(',')) + ")"),
                         wanted, rows);
        QHash<qint64, int> byKey;
        for (int r = 0; r < rows.rowCount(); ++r)
            byKey.insert(rows.key(r), r);
        for (int r = 0; r < keys.rowCount(); ++r)
            stored.append(byKey.value(keys.key(r), -1));
    }
    if (reversed)
        std::reverse(stored.begin(), stored.end());
    return columns;
}

void Query::sortPaged(const QList<SortKey>& keys, const QString& spec)
{
    const qint64 current = currentKey();
    QList<Paging::Key> order;
    for (const SortKey& key : keys)
        order.append({m_columns.at(key.column).name, key.descending});
    emit aboutToChangeRows();
    m_paging->order = order;
    m_paging->pages.clear();
    m_sort = spec;
    // The row that was current stays current, wherever the new order puts it.
    try {
        m_current = current != 0 ? pagedPosition(current) : -1;
    } catch (...) {
        m_current = -1;
        emit rowsChanged();
        emit currentRowChanged(m_current);
        throw;
    }
    if (m_current < 0 && m_paging->count > 0)
        m_current = 0;
    emit rowsChanged();
    emit currentRowChanged(m_current);
}

int Query::pagedPosition(qint64 key) const
{
    const Paging& p = *m_paging;
    const QString from = QStringLiteral(" From ") + p.read.table;
    QStringList columns;
    for (const Paging::Key& k : p.order)
        columns.append(k.column);
    columns.append(keyColumn());
    RowStore found;
    QVariantList values = p.read.values;
    values.append(key);
    readRows(*m_connection,
             m_connection->translate(QStringLiteral("Select ") + columns.join(", ") + from +
                                     p.where(keyColumn() + QStringLiteral(" = ?"))),
             values, found);
    if (found.rowCount() == 0)
        return -1;
    QVariantList sortValues;
    for (int k = 0; k < p.order.size(); ++k)
        sortValues.append(found.value(0, k));
    values = p.read.values;
    const QString before = p.before(sortValues, key, values);
    qint64 empty = 0;
    if (p.oneRange(sortValues))
        empty = scalar(QStringLiteral("Select Count(*)") + from +
                           p.where(p.order.first().column + QStringLiteral(" Is Null")),
                       p.read.values)
                    .toLongLong();
    return int(
        empty +
        scalar(QStringLiteral("Select Count(*)") + from + p.where(before), values).toLongLong());
}

int Query::pagedFirst(const QString& condition, const QVariantList& values) const
{
    const Paging& p = *m_paging;
    RowStore found;
    readRows(*m_connection,
             m_connection->translate(QStringLiteral("Select ") + keyColumn() + " From " +
                                     p.read.table + p.where(condition) + p.orderBy(false) +
                                     QStringLiteral(" Limit 1")),
             p.read.values + values, found);
    return found.rowCount() == 0 ? -1 : pagedPosition(found.key(0));
}

bool Query::locateOnPages(int column, const QString& text)
{
    int row = -1;
    const ColumnKind kind = m_columns.at(column).kind;
    const QString name = m_columns.at(column).name;
    const bool sortedOn = !m_paging->order.isEmpty() && !m_paging->order.first().descending &&
                          m_paging->order.first().column.compare(name, Qt::CaseInsensitive) == 0;
    if (text.isEmpty()) {
        // Every row starts with nothing.
        row = recordCount() > 0 ? 0 : -1;
    } else if (kind == ColumnKind::Text && sortedOn) {
        // Texts compare without letter case on the database, so the rows that start with
        // text follow one another from the first that is not less than it: found along the
        // column's index, and checked.
        row = pagedFirst(name + QStringLiteral(" >= ?"), {text});
        if (row >= 0 && !field(row, column).asText().startsWith(text, Qt::CaseInsensitive))
            row = -1;
    } else if (kind == ColumnKind::Text || kind == ColumnKind::Integer) {
        // Texts and whole numbers read the same on the database as in the list; texts
        // match without letter case there too.
        const QString matched = kind == ColumnKind::Text ? name : "CStr(" + name + ")";
        row =
            pagedFirst(matched + QStringLiteral(" Like ? ESCAPE '\\'"), {Sql::startingWith(text)});
    } else {
        // Dates, amounts and yes/no show otherwise than they are stored: the rows are looked
        // at as the list shows them.
        for (int r = 0; r < recordCount() && row < 0; ++r)
            if (field(r, column).asText().startsWith(text, Qt::CaseInsensitive))
                row = r;
    }
    if (row < 0)
        return false;
    setCurrent(row, false, false);
    return true;
}

void Query::openWhole(const Query& list)
{
    if (!list.m_paging) {
        setSql(SqlStatement{list.m_lines, list.m_values});
        open();
        if (!list.sortText().isEmpty())
            Query::sort(list.sortText());
        return;
    }
    SqlStatement statement = list.m_paging->read.statement();
    statement.lines.append(list.m_paging->orderBy(false));
    setSql(statement);
    open();
}
