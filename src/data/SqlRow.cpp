#include "data/SqlRow.h"

#include "data/DbError.h"
#include "data/Formats.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "data/SqlDialect.h"
#include "data/SqlLiteral.h"

namespace {

// A null of the column's kind, so that every driver knows what it binds.
QVariant nullOf(ColumnKind kind)
{
    switch (kind) {
    case ColumnKind::Integer:
        return QVariant(QMetaType::fromType<qlonglong>());
    case ColumnKind::Money:
    case ColumnKind::Real:
        return QVariant(QMetaType::fromType<double>());
    case ColumnKind::Date:
        return QVariant(QMetaType::fromType<QDate>());
    case ColumnKind::Bool:
        return QVariant(QMetaType::fromType<bool>());
    case ColumnKind::Text:
        break;
    }
    return QVariant(QMetaType::fromType<QString>());
}

QVariant empty(const QString& column, ColumnKind kind, SqlRow::EmptyNumber rule, const QString& box)
{
    switch (rule) {
    case SqlRow::EmptyNumber::Zero:
        return kind == ColumnKind::Integer ? QVariant(qlonglong(0)) : QVariant(0.0);
    case SqlRow::EmptyNumber::Refused:
        throw DbError(Formats::notANumberMessage(QString(), box.isEmpty() ? column : box));
    case SqlRow::EmptyNumber::Null:
        break;
    }
    return nullOf(kind);
}

ColumnKind kindOf(const QString& table, const QString& column)
{
    if (const Schema::Table* t = Schema::table(table))
        for (const Schema::Column& c : t->columns)
            if (c.name.compare(column, Qt::CaseInsensitive) == 0)
                return c.kind;
    return Schema::kindOf(column).value_or(ColumnKind::Text);
}

bool yes(const QString& text)
{
    const QString t = text.trimmed();
    return t.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0 ||
           t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || t == QLatin1String("1");
}
} // namespace

SqlRow::SqlRow(QString table)
    : m_table(std::move(table))
{}

SqlRow& SqlRow::put(const QString& column, const QVariant& value)
{
    if (!m_values.contains(column))
        m_columns.append(column);
    m_values.insert(column, value);
    return *this;
}

SqlRow& SqlRow::set(const QString& column, const QString& text, const QString& box,
                    EmptyNumber rule)
{
    const bool blank = text.trimmed().isEmpty();
    const ColumnKind kind = kindOf(m_table, column);
    switch (kind) {
    case ColumnKind::Integer:
        return put(column, blank ? empty(column, kind, rule, box)
                                 : QVariant(Sql::integer(text, box).toLongLong()));
    case ColumnKind::Money:
    case ColumnKind::Real:
        return put(column, blank ? empty(column, kind, rule, box)
                                 : QVariant(Sql::number(text, box).toDouble()));
    case ColumnKind::Date:
        return put(column,
                   blank ? nullOf(kind) : QVariant(Formats::parseShortDate(Sql::date(text, box))));
    case ColumnKind::Bool:
        return setYesNo(column, yes(text));
    case ColumnKind::Text:
        break;
    }
    return setText(column, text);
}

SqlRow& SqlRow::setText(const QString& column, const QString& text)
{
    // A NUL would end the text early in the engine; an empty text is an empty text, never an
    // empty value (Null).
    QString kept = text.isNull() ? QStringLiteral("") : text;
    kept.remove(QChar(0));
    return put(column, kept);
}

SqlRow& SqlRow::setYesNo(const QString& column, bool value)
{
    return put(column, value);
}

SqlRow& SqlRow::setNull(const QString& column)
{
    return put(column, nullOf(kindOf(m_table, column)));
}

SqlRow SqlRow::currentRow(const QString& table, const Query& query)
{
    SqlRow row(table);
    const int current = query.currentRow();
    if (current < 0)
        throw DbError(QStringLiteral("There is no current row of %1.").arg(table));
    for (int c = 0; c < query.columnCount(); ++c) {
        const Field value = query.field(current, c);
        const QString column = query.columnName(c);
        if (value.isNull())
            row.setNull(column);
        else if (value.kind() == ColumnKind::Text)
            row.setText(column, value.asText());
        else
            row.set(column, value.asText(), column);
    }
    return row;
}

QVariant SqlRow::value(const QString& column) const
{
    const auto it = m_values.constFind(column);
    if (it == m_values.constEnd())
        throw DbError(QStringLiteral("No value for %1 of %2.").arg(column, m_table));
    return *it;
}

SqlStatement SqlRow::condition(const QStringList& keys) const
{
    SqlStatement where;
    QStringList parts;
    for (const QString& key : keys) {
        const QVariant v = value(key);
        if (v.isNull()) {
            parts.append(key + QStringLiteral(" Is Null"));
        } else {
            parts.append(key + QStringLiteral(" = ?"));
            where.values.append(v);
        }
    }
    where.lines = {parts.join(QStringLiteral(" and "))};
    return where;
}

SqlStatement SqlRow::exists(const QStringList& keys) const
{
    return select(QStringLiteral("*"), keys);
}

SqlStatement SqlRow::select(const QString& columns, const QStringList& keys, Order order) const
{
    const SqlStatement where = condition(keys);
    SqlStatement statement{
        {"Select " + columns + " From " + m_table, " where " + where.lines.first()}, where.values};
    if (order == Order::Entered)
        statement.lines.append(QStringLiteral(" Order By rowid"));
    return statement;
}

SqlStatement SqlRow::sum(const QString& column, const QStringList& keys) const
{
    return select("Sum(" + column + ")", keys);
}

SqlStatement SqlRow::insert() const
{
    SqlStatement statement;
    QStringList marks;
    for (const QString& column : m_columns) {
        marks.append(QStringLiteral("?"));
        statement.values.append(m_values.value(column));
    }
    statement.lines = {"Insert Into " + m_table + " ( " + m_columns.join(QStringLiteral(", ")) +
                           " )",
                       " Values ( " + marks.join(QStringLiteral(", ")) + " )"};
    return statement;
}

SqlStatement SqlRow::update(const QStringList& keys, Keys set) const
{
    SqlStatement statement{{"Update " + m_table + " Set"}};
    QStringList sets;
    for (const QString& column : m_columns)
        if (set == Keys::Set || !keys.contains(column, Qt::CaseInsensitive)) {
            sets.append(" " + column + " = ?");
            statement.values.append(m_values.value(column));
        }
    if (sets.isEmpty())
        throw DbError(QStringLiteral("Nothing to change in %1.").arg(m_table));
    for (qsizetype i = 0; i < sets.size(); ++i)
        statement.lines.append(sets.at(i) +
                               (i + 1 < sets.size() ? QStringLiteral(",") : QString()));
    if (!keys.isEmpty()) {
        const SqlStatement where = condition(keys);
        statement.lines.append(" where " + where.lines.first());
        statement.values += where.values;
    }
    return statement;
}

SqlStatement SqlRow::updateKeyed(qint64 key) const
{
    SqlStatement statement = update({}, Keys::Set);
    statement.lines.append(" where " + SqlDialect::rowKeyColumn() + " = ?");
    statement.values.append(key);
    return statement;
}

SqlStatement SqlRow::remove(const QStringList& keys) const
{
    const SqlStatement where = condition(keys);
    return {{"Delete From " + m_table, " where " + where.lines.first()}, where.values};
}

SqlStatement SqlRow::removeOne() const
{
    SqlStatement statement;
    QStringList parts;
    for (const QString& column : m_columns) {
        const QVariant v = m_values.value(column);
        if (v.isNull()) {
            parts.append(column + QStringLiteral(" Is Null"));
            continue;
        }
        switch (kindOf(m_table, column)) {
        case ColumnKind::Text:
            parts.append("StrComp(" + column + ", ?, 0) = 0");
            break;
        case ColumnKind::Money:
        case ColumnKind::Real:
            parts.append("Abs(" + column + " - ?) < 0.00005");
            break;
        default:
            parts.append(column + " = ?");
            break;
        }
        statement.values.append(v);
    }
    if (parts.isEmpty())
        throw DbError(QStringLiteral("No row of %1 to remove.").arg(m_table));
    // RowId() is the stored row's identity in the engine's dialect.
    statement.lines = {"Delete From " + m_table + " where RowId() In (Select Top 1 RowId() From " +
                           m_table,
                       " where " + parts.join(QStringLiteral(" and ")) + ")"};
    return statement;
}
