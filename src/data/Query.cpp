#include "data/Query.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Formats.h"

#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

double numberOf(const QVariant& v)
{
    if (v.isNull())
        return 0;
    if (v.typeId() == QMetaType::QString) {
        bool ok = false;
        const double d = Formats::parseNumber(v.toString(), &ok);
        if (!ok && !v.toString().trimmed().isEmpty())
            throw DbError(
                QStringLiteral("'%1' is not a valid floating point value.").arg(v.toString()));
        return d;
    }
    return v.toDouble();
}

} // namespace

QString Field::asText() const
{
    if (m_value.isNull())
        return QString();
    switch (m_kind) {
    case ColumnKind::Date:
        return Formats::isoToShort(m_value.toString());
    case ColumnKind::Bool:
        return asBool() ? QStringLiteral("True") : QStringLiteral("False");
    case ColumnKind::Integer:
    case ColumnKind::Money:
    case ColumnKind::Real:
    case ColumnKind::Text:
        if (m_value.typeId() == QMetaType::LongLong || m_value.typeId() == QMetaType::Int)
            return QString::number(m_value.toLongLong());
        if (m_value.typeId() == QMetaType::Double) {
            const double d = m_value.toDouble();
            // Binary floating point cannot hold most cents: a sum of 10.10 and 20.20 comes
            // back as 30.299999999999997. A value that lies within such noise of the money
            // type's four decimals is read as that money value; a value such as 0.00004 that
            // really has more decimals keeps them.
            if (std::isfinite(d) && std::fabs(d) < 9e14) {
                const Currency money = Currency::fromDouble(d);
                if (std::fabs(money.toDouble() - d) <= 1e-9 * std::max(1.0, std::fabs(d)))
                    return money.toPlain();
            }
            return Formats::plainNumber(d);
        }
        return m_value.toString();
    }
    return m_value.toString();
}

Currency Field::asCurrency() const
{
    return Currency::fromDouble(numberOf(m_value));
}

double Field::asNumber() const
{
    return numberOf(m_value);
}

qint64 Field::asInteger() const
{
    return qint64(std::llround(numberOf(m_value)));
}

bool Field::asBool() const
{
    if (m_value.isNull())
        return false;
    if (m_value.typeId() == QMetaType::QString) {
        const QString t = m_value.toString().trimmed();
        return t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
               t.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0 || (t.toDouble() != 0);
    }
    return m_value.toDouble() != 0;
}

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
    m_foldedColumns.clear();
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
    return Field(m_rows.value(m_order.at(row), column), m_columns.at(column).kind);
}

qint64 Query::rowKey(int row) const
{
    if (row < 0 || row >= m_order.size())
        return 0;
    return m_rows.key(m_order.at(row));
}

int Query::findKey(qint64 key) const
{
    if (key == 0)
        return -1;
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

void Query::sort(const QString& spec)
{
    struct Key
    {
        int column;
        bool descending;
    };
    QList<Key> keys;
    for (const QString& part : spec.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        QStringList words = part.trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        bool desc = false;
        if (words.size() > 1) {
            desc = words.last().compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
            words.removeLast();
        }
        const QString column = words.join(QLatin1Char(' '));
        const int c = columnIndex(column);
        if (c < 0)
            throw DbError(QStringLiteral("%1: Field '%2' not found").arg(objectName(), column));
        keys.append({c, desc});
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

namespace {
// Letter case folded away: bytes of plain ASCII at once, other texts by Unicode's folding.
void appendFolded(QByteArray& to, const char* utf8, qsizetype size)
{
    bool ascii = true;
    for (qsizetype i = 0; i < size && ascii; ++i)
        ascii = static_cast<unsigned char>(utf8[i]) < 0x80;
    if (!ascii) {
        to.append(QString::fromUtf8(utf8, size).toCaseFolded().toUtf8());
        return;
    }
    const qsizetype at = to.size();
    to.append(utf8, size);
    char* bytes = to.data() + at;
    for (qsizetype i = 0; i < size; ++i)
        if (bytes[i] >= 'A' && bytes[i] <= 'Z')
            bytes[i] = char(bytes[i] + ('a' - 'A'));
}
} // namespace

void Query::filterContaining(const QStringList& columns, const QString& text)
{
    QList<int> indexes;
    for (const QString& column : columns) {
        const int c = columnIndex(column);
        if (c < 0)
            throw DbError(QStringLiteral("%1: Field '%2' not found").arg(objectName(), column));
        indexes.append(c);
    }
    emit aboutToChangeRows();
    // A text that only grows (a letter typed at the end, or in the middle) keeps a part of
    // the rows it kept: only those are looked at again.
    QByteArray folded;
    const QByteArray typed = text.toUtf8();
    appendFolded(folded, typed.constData(), typed.size());
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

const Query::Folded& Query::foldedColumn(int column)
{
    auto found = m_foldedColumns.find(column);
    if (found == m_foldedColumns.end()) {
        Folded folded;
        const int rows = m_rows.rowCount();
        folded.starts.reserve(rows + 1);
        for (int row = 0; row < rows; ++row) {
            folded.starts.append(folded.texts.size());
            const RowStore::Cell cell = m_rows.cell(row, column);
            if (cell.type == RowStore::Type::Text) {
                appendFolded(folded.texts, cell.text, cell.size);
            } else if (cell.type != RowStore::Type::Null) {
                const QByteArray shown =
                    Field(m_rows.value(row, column), m_columns.at(column).kind).asText().toUtf8();
                appendFolded(folded.texts, shown.constData(), shown.size());
            }
        }
        folded.starts.append(folded.texts.size());
        found = m_foldedColumns.insert(column, folded);
    }
    return *found;
}

void Query::applyFilter(bool narrowing)
{
    if (m_filterText.isEmpty()) {
        m_unfiltered.clear();
        return;
    }
    if (!narrowing)
        m_unfiltered = m_order;
    QList<const Folded*> columns;
    for (const int c : std::as_const(m_filterColumns))
        columns.append(&foldedColumn(c));
    const QByteArrayView needle(m_folded);
    QList<int> kept;
    for (const int row : std::as_const(m_order)) {
        for (const Folded* column : std::as_const(columns)) {
            const qsizetype start = column->starts.at(row);
            const QByteArrayView text(column->texts.constData() + start,
                                      column->starts.at(row + 1) - start);
            if (text.contains(needle)) {
                kept.append(row);
                break;
            }
        }
    }
    m_order = kept;
}

bool Query::locate(const QString& column, const QString& text)
{
    const int c = columnIndex(column);
    if (c < 0)
        throw DbError(QStringLiteral("%1: Field '%2' not found").arg(objectName(), column));
    for (int row = 0; row < recordCount(); ++row) {
        if (field(row, c).asText().startsWith(text, Qt::CaseInsensitive)) {
            setCurrent(row, false, false);
            return true;
        }
    }
    return false;
}
