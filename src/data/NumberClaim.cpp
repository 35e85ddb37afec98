#include "data/NumberClaim.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/SqlRow.h"
#include "data/Transaction.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

// The unique key refused the number: another station stored it since it was read.
bool isTakenText(const QString& text)
{
    return text.contains(QLatin1String("duplicate key"), Qt::CaseInsensitive) ||
           text.contains(QLatin1String("UNIQUE constraint failed"), Qt::CaseInsensitive);
}

bool isTaken(const QSqlError& error)
{
    return error.nativeErrorCode() == QLatin1String("23505") ||
           isTakenText(error.databaseText() + QLatin1Char(' ') + error.driverText());
}

struct Taken
{
};

QSqlQuery run(Connection& connection, const QString& statement)
{
    QSqlQuery q(connection.database());
    q.setForwardOnly(true);
    if (!q.exec(connection.translate(statement))) {
        if (isTaken(q.lastError()))
            throw Taken{};
        throw DbError(connection.failure(q.lastError()));
    }
    return q;
}

qint64 largest(Connection& connection, const QStringList& tables, const QString& keyColumn)
{
    qint64 most = 0;
    for (const QString& table : tables) {
        QSqlQuery q = run(connection, "Select Max(" + keyColumn + ") From " + table);
        if (q.next() && !q.value(0).isNull())
            most = std::max(most, q.value(0).toLongLong());
    }
    return most;
}

} // namespace

namespace NumberClaim {

qint64 next(Connection& connection, const QStringList& tables, const QString& keyColumn)
{
    return largest(connection, tables, keyColumn) + 1;
}

Claimed insert(Connection& connection, SqlRow row, const QString& keyColumn, qint64 proposed,
               const QStringList& alsoNumbering)
{
    const QStringList tables = QStringList{row.table()} + alsoNumbering;
    Claimed claimed{proposed, false};
    // A few tries: each lost race means another station stored a row in between.
    for (int attempt = 0; attempt < 20; ++attempt) {
        Transaction transaction(&connection);
        try {
            // On a server, stations claiming numbers of one table take turns for the moment of
            // the claim (the file's write lock does that there), so that a busy station cannot
            // keep beating another to every next number.
            if (connection.isServer())
                run(connection, "SELECT pg_advisory_xact_lock(hashtext('tavlin-number-" +
                                    row.table().toLower() + "'))");
            QSqlQuery stored =
                run(connection, "Select " + keyColumn + " From " + row.table() + " where " +
                                    keyColumn + "=" + QString::number(claimed.number));
            if (stored.next()) {
                claimed.number = largest(connection, tables, keyColumn) + 1;
                claimed.renumbered = true;
            }
            stored.finish();
            row.set(keyColumn, QString::number(claimed.number));
            try {
                claimed.key = connection.insertRow(row.insert());
            } catch (const DbError& e) {
                // The unique key refused the number: another station stored it since.
                if (isTakenText(e.message()))
                    throw Taken{};
                throw;
            }
            transaction.commit();
            return claimed;
        } catch (const Taken&) {
            claimed.number = std::max(claimed.number + 1, proposed);
            claimed.renumbered = true;
        }
    }
    throw DbError(QStringLiteral("The shop database kept giving the number %1 to other stations; "
                                 "nothing was saved. Try Save again.")
                      .arg(claimed.number));
}

} // namespace NumberClaim
