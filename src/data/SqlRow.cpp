#include "data/SqlRow.h"

#include "data/DbError.h"
#include "data/Formats.h"
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

QStringList SqlRow::update(const QStringList& keys) const
{
    QStringList sets;
    for (const QString& column : m_columns)
        if (!keys.contains(column, Qt::CaseInsensitive))
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
