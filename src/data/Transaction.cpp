#include "data/Transaction.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/RowReader.h"
#include "data/TDM.h"

#include <QSqlError>
#include <QSqlQuery>

Transaction::Transaction(TDM* dm)
    : Transaction(dm->admin1())
{}

namespace {
void runOn(Connection* connection, const QString& statement)
{
    QSqlQuery q(connection->database());
    if (!q.exec(statement))
        throw DbError(connection->failure(q.lastError()));
}
} // namespace

Transaction::Transaction(Connection* connection)
    : m_connection(connection)
{
    if (connection->inTransaction()) {
        static int next = 0;
        m_savepoint = QStringLiteral("tavlin_part_%1").arg(++next);
        runOn(connection, QStringLiteral("SAVEPOINT ") + m_savepoint);
        return;
    }
    QSqlDatabase db = connection->database();
    if (connection->sqliteHandle()) {
        // The write lock is taken at the start and waited for: a deferred transaction that
        // reads and then writes fails at once when another program committed in between.
        QSqlQuery begin(db);
        if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
            throw DbError(databaseMessage(begin.lastError()));
    } else if (!db.transaction()) {
        throw DbError(connection->failure(db.lastError()));
    }
    connection->setInTransaction(true);
}

Transaction::~Transaction()
{
    if (m_done)
        return;
    if (!m_savepoint.isEmpty()) {
        // Undoes this part only; the whole goes on, or is undone by its own Transaction.
        QSqlQuery q(m_connection->database());
        q.exec(QStringLiteral("ROLLBACK TO SAVEPOINT ") + m_savepoint);
        q.exec(QStringLiteral("RELEASE SAVEPOINT ") + m_savepoint);
        return;
    }
    m_connection->setInTransaction(false);
    // After a lost server there is nothing to roll back: the server dropped the work with the
    // connection, and the next command connects again.
    m_connection->rollback();
}

void Transaction::commit()
{
    if (!m_savepoint.isEmpty()) {
        runOn(m_connection, QStringLiteral("RELEASE SAVEPOINT ") + m_savepoint);
        m_done = true;
        return;
    }
    QSqlDatabase db = m_connection->database();
    if (!db.commit())
        throw DbError(m_connection->failure(db.lastError()));
    m_done = true;
    m_connection->setInTransaction(false);
}
