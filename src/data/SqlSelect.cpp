#include "data/SqlSelect.h"

#include "data/SqlDialect.h"
#include "data/SqlLiteral.h"

SqlStatement TableRead::statement() const
{
    QString text = "Select " + columns + " From " + table;
    if (!condition.isEmpty())
        text += " where " + condition;
    return SqlStatement{{text}, values};
}

namespace SqlSelect {

TableRead all(const QString& table, const QString& columns)
{
    return TableRead{table, columns};
}

TableRead where(const QString& table, const QString& column, const QVariant& value,
                const QString& columns)
{
    return TableRead{table, columns, column + " = ?", {value}};
}

SqlStatement containing(const QString& table, const QString& columns,
                        const QStringList& searchColumns, const QString& text)
{
    QStringList conditions;
    QVariantList patterns;
    for (const QString& column : searchColumns) {
        conditions.append(column + QStringLiteral(" Like ? ESCAPE '\\'"));
        patterns.append(Sql::containing(text));
    }
    return SqlStatement{{"Select " + columns + " From " + table,
                         " where " + conditions.join(QStringLiteral(" or "))},
                        patterns};
}

SqlStatement otherThan(SqlStatement statement, qint64 key)
{
    if (key != 0) {
        statement.lines.append(" And " + SqlDialect::rowKeyColumn() + " <> ?");
        statement.values.append(key);
    }
    return statement;
}

SqlStatement distinct(const QString& table, const QString& column)
{
    return SqlStatement{{"Select distinct " + column + " From " + table}};
}

SqlStatement largest(const QString& table, const QString& column)
{
    return SqlStatement{{"Select Max(" + column + ") From " + table}};
}

SqlStatement sum(const QString& table, const QString& sumColumn, const QString& column,
                 const QVariant& value)
{
    return SqlStatement{
        {"Select Sum(" + sumColumn + ") From " + table + " where " + column + " = ?"}, {value}};
}

} // namespace SqlSelect
