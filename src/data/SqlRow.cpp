#include "data/SqlRow.h"

#include "data/DbError.h"
#include "data/Formats.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "data/SqlLiteral.h"

namespace {
const QString null = QStringLiteral("Null");

QString empty(const QString& column, SqlRow::EmptyNumber rule, const QString& box)
{
    switch (rule) {
    case SqlRow::EmptyNumber::Zero:
        return QStringLiteral("0");
    case SqlRow::EmptyNumber::Refused:
        throw DbError(Formats::notANumberMessage(QString(), box.isEmpty() ? column : box));
    case SqlRow::EmptyNumber::Null:
        break;
    }
    return null;
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

SqlRow& SqlRow::put(const QString& column, const QString& literal)
{
    if (!m_literals.contains(column))
        m_columns.append(column);
    m_literals.insert(column, literal);
    return *this;
}

SqlRow& SqlRow::set(const QString& column, const QString& text, const QString& box,
                    EmptyNumber empty)
{
    const bool blank = text.trimmed().isEmpty();
    switch (kindOf(m_table, column)) {
    case ColumnKind::Integer:
        return put(column, blank ? ::empty(column, empty, box) : Sql::integer(text, box));
    case ColumnKind::Money:
    case ColumnKind::Real:
        return put(column, blank ? ::empty(column, empty, box) : Sql::number(text, box));
    case ColumnKind::Date:
        return put(column, blank ? null : '#' + Sql::date(text, box) + '#');
    case ColumnKind::Bool:
        return setYesNo(column, yes(text));
    case ColumnKind::Text:
        break;
    }
    return setText(column, text);
}

SqlRow& SqlRow::setText(const QString& column, const QString& text)
{
    return put(column, '\'' + Sql::text(text) + '\'');
}

SqlRow& SqlRow::setYesNo(const QString& column, bool value)
{
    return put(column, Sql::yesNo(value));
}

SqlRow& SqlRow::setNull(const QString& column)
{
    return put(column, null);
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

QString SqlRow::literal(const QString& column) const
{
    const auto it = m_literals.constFind(column);
    if (it == m_literals.constEnd())
        throw DbError(QStringLiteral("No value for %1 of %2.").arg(column, m_table));
    return *it;
}

QString SqlRow::condition(const QStringList& keys) const
{
    QStringList parts;
    for (const QString& key : keys) {
        const QString value = literal(key);
        parts.append(value == null ? key + QStringLiteral(" Is Null") : key + " = " + value);
    }
    return parts.join(QStringLiteral(" and "));
}

QStringList SqlRow::exists(const QStringList& keys) const
{
    return select(QStringLiteral("*"), keys);
}

QStringList SqlRow::select(const QString& columns, const QStringList& keys) const
{
    return {"Select " + columns + " From " + m_table, " where " + condition(keys)};
}

QStringList SqlRow::sum(const QString& column, const QStringList& keys) const
{
    return select("Sum(" + column + ")", keys);
}

QStringList SqlRow::insert() const
{
    QStringList values;
    for (const QString& column : m_columns)
        values.append(m_literals.value(column));
    return {"Insert Into " + m_table + " ( " + m_columns.join(QStringLiteral(", ")) + " )",
            " Values ( " + values.join(QStringLiteral(", ")) + " )"};
}

QStringList SqlRow::update(const QStringList& keys, Keys set) const
{
    QStringList sets;
    for (const QString& column : m_columns)
        if (set == Keys::Set || !keys.contains(column, Qt::CaseInsensitive))
            sets.append(" " + column + " = " + m_literals.value(column));
    if (sets.isEmpty())
        throw DbError(QStringLiteral("Nothing to change in %1.").arg(m_table));
    QStringList lines{"Update " + m_table + " Set"};
    for (qsizetype i = 0; i < sets.size(); ++i)
        lines.append(sets.at(i) + (i + 1 < sets.size() ? QStringLiteral(",") : QString()));
    lines.append(" where " + condition(keys));
    return lines;
}

QStringList SqlRow::remove(const QStringList& keys) const
{
    return {"Delete From " + m_table, " where " + condition(keys)};
}

QStringList SqlRow::removeOne() const
{
    QStringList parts;
    for (const QString& column : m_columns) {
        const QString value = m_literals.value(column);
        if (value == null) {
            parts.append(column + QStringLiteral(" Is Null"));
            continue;
        }
        switch (kindOf(m_table, column)) {
        case ColumnKind::Text:
            parts.append("StrComp(" + column + ", " + value + ", 0) = 0");
            break;
        case ColumnKind::Money:
        case ColumnKind::Real:
            parts.append("Abs(" + column + " - " + value + ") < 0.00005");
            break;
        default:
            parts.append(column + " = " + value);
            break;
        }
    }
    if (parts.isEmpty())
        throw DbError(QStringLiteral("No row of %1 to remove.").arg(m_table));
    // RowId() is the stored row's identity in the engine's dialect.
    return {"Delete From " + m_table + " where RowId() In (Select Top 1 RowId() From " + m_table,
            " where " + parts.join(QStringLiteral(" and ")) + ")"};
}
