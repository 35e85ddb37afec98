#pragma once

#include <QString>
#include <QStringList>

class Connection;
class SqlRow;

// Stores a new row under the number New proposed, as one unit with the choice of number, so
// that two stations saving new rows at the same moment never store one number twice nor write
// over each other's row.
namespace NumberClaim {

struct Claimed
{
    qint64 number = 0;
    // Another station had stored the proposed number first; the row went under the next free.
    bool renumbered = false;
    // The stored row's hidden key.
    qint64 key = 0;
};

// Inserts row into its table with keyColumn = proposed, or, when that number is already
// stored, the largest number of the table (and of alsoNumbering, tables that share its
// numbers) plus one. On the file the write lock is taken first; on a server a station that
// loses the race for a number to the unique key tries the next one by itself. Throws DbError
// with nothing written when the row cannot be stored.
Claimed insert(Connection& connection, SqlRow row, const QString& keyColumn, qint64 proposed,
               const QStringList& alsoNumbering = {});

// The largest number of keyColumn in the tables, plus one.
qint64 next(Connection& connection, const QStringList& tables, const QString& keyColumn);

} // namespace NumberClaim
