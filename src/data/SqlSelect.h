#pragma once

#include "data/SqlStatement.h"

#include <QString>
#include <QStringList>
#include <QVariant>

// A read of one table's rows, without an order: the columns, and the condition the rows meet
// (without its "where"; empty for every row) with its values. A list reads it a screen at a
// time, in an order of its own; anywhere else it is the plain statement.
struct TableRead
{
    QString table;
    QString columns = QStringLiteral("*");
    QString condition = {};
    QVariantList values = {};

    SqlStatement statement() const;
    operator SqlStatement() const { return statement(); }
};

// Reads built from a description's table and column names, for the shared window bases:
// every value bound, and nothing but names from the program itself in the text.
namespace SqlSelect {

// Every row of table, the given columns (a select list, "*" for all).
TableRead all(const QString& table, const QString& columns = QStringLiteral("*"));
// The rows whose column holds value.
TableRead where(const QString& table, const QString& column, const QVariant& value,
                const QString& columns = QStringLiteral("*"));
// The statement's rows but the one whose hidden key is key (all of them for key 0). The
// statement ends in its condition.
SqlStatement otherThan(SqlStatement statement, qint64 key);
// The different values of column, for a drop-down list.
SqlStatement distinct(const QString& table, const QString& column);
// The rows holding text anywhere in any of the search columns, their own %, _ and \ matched
// as themselves.
SqlStatement containing(const QString& table, const QString& columns,
                        const QStringList& searchColumns, const QString& text);
// The largest value of column (Null when the table is empty).
SqlStatement largest(const QString& table, const QString& column);
// The sum of sumColumn over the rows whose column holds value.
SqlStatement sum(const QString& table, const QString& sumColumn, const QString& column,
                 const QVariant& value);

} // namespace SqlSelect
