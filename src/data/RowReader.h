#pragma once

#include "data/RowStore.h"
#include "data/Schema.h"

#include <QList>
#include <QString>
#include <QVariantList>

class Connection;

// A column of a statement's result: its name and the kind its values are read as.
struct RowColumn
{
    QString name;
    ColumnKind kind;
};

// Runs a statement (already in the engine's wording) on connection and reads every row into
// rows; an SQLite file is read straight through SQLite, without a variant per cell. Returns
// the columns, each of the kind the schema gives its name, or else the kind of its first
// value (a sum, an expression). Throws DbError with the engine's message, rows left empty.
// values are bound to the statement's placeholders, in order; a statement with placeholders is
// prepared once per connection.
QList<RowColumn> readRows(const Connection& connection, const QString& sql,
                          const QVariantList& values, RowStore& rows);

// The engine's message of a Qt SQL error.
QString databaseMessage(const class QSqlError& error);
