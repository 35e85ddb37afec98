#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

enum class ColumnKind
{
    Text,
    Integer,
    Money,
    Real,
    Date,
    Bool
};

// The tables of the shop database with their columns in the order the windows show them.
class SqlDialect;

namespace Schema {

struct Column
{
    QString name;
    ColumnKind kind;
    // Texts compare without regard to letter case, as the shop's original database did;
    // passwords compare exactly.
    bool exactCase = false;
};

struct Table
{
    QString name;
    QList<Column> columns;
};

// Marks the file as a shop database (PRAGMA application_id).
constexpr int ApplicationId = 0x54564C4E;

const QList<Table>& tables();
const Table* table(const QString& name);
// The kind of a column by its name; names are unique across tables apart from a few shared
// by tables of one kind (the archive tables repeat the invoice columns), which agree in kind.
std::optional<ColumnKind> kindOf(const QString& column);

// Written for the embedded file, or for the engine of dialect.
QString createTableStatement(const Table& table);
QString createTableStatement(const Table& table, const SqlDialect& dialect);
// One index per column that commands look up, join, order or sum by.
QStringList createIndexStatements();
QStringList createIndexStatements(const SqlDialect& dialect);
// Those of one table.
QStringList createIndexStatements(const SqlDialect& dialect, const QString& table);
// The unique keys among the indexes, as (table, column).
QList<QPair<QString, QString>> uniqueKeys();
// The business profile and the first user, so that a new shop can sign in and print.
QStringList seedStatements();

// The password the sign-in box is filled with; it belongs to the seeded user "Guest".
QString guestPassword();
// The code that unlocks archiving on a new shop, until the owner changes it.
QString archiveCode();

} // namespace Schema
