#pragma once

#include <QString>

class Connection;
class SqlRow;

// Rows reached by their hidden key, the one thing that tells a row from every other, even from
// a row that holds the same values: the line, payment, deposit or bill the user chose.
namespace KeyedRows {

// Inserts row and returns its key.
qint64 insert(Connection& connection, const SqlRow& row);
// Writes row's columns into the row with key; returns 0 when no row has that key any more.
int update(Connection& connection, const SqlRow& row, qint64 key);
// Removes the row of table with key; returns 0 when it was already gone.
int remove(Connection& connection, const QString& table, qint64 key);

// What the user is told when the row chosen is no longer stored (what: "line", "payment").
QString goneMessage(const QString& what);

} // namespace KeyedRows
