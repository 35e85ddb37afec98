#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QSqlDatabase;

// Every row of a shop, table by table, from one open database of today's schema into another,
// each row with its values and its hidden key; and a tally of each table, by which two shops
// are compared after a copy.
namespace ShopCopy {

struct Tally
{
    QString table;
    qint64 rows = 0;
    // The sum of each amount column of the table, in its column order.
    QList<double> sums;
};

// Every table of today's schema: its rows and the sums of its amounts. Read in the caller's
// transaction, if any.
QList<Tally> tally(QSqlDatabase& db);
qint64 rowCount(const QList<Tally>& tallies);

// A line for each table where the copy differs from what was copied ("Invoice: 75000 rows in
// the shop, 74999 in the copy"); empty when they agree.
QStringList differences(const QList<Tally>& shop, const QList<Tally>& copy);

// Copies every row of every table of from into to, whose tables are empty, within the
// transactions the caller holds. A value the destination cannot hold (a date column of the
// file holding something else than a date) throws DbError naming the table, row and column.
// On a server, the row keys given out next follow the highest key copied.
void copyRows(QSqlDatabase& from, QSqlDatabase& to);

} // namespace ShopCopy
