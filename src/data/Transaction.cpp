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

Transaction::Transaction(Connection* connection)
    : m_connection(connection)
{
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
    m_connection->setInTransaction(false);
    // After a lost server there is nothing to roll back: the server dropped the work with the
    // connection, and the next command connects again.
    m_connection->rollback();
}

void Transaction::commit()
{
    QSqlDatabase db = m_connection->database();
    if (!db.commit())
        throw DbError(m_connection->failure(db.lastError()));
    m_done = true;
    m_connection->setInTransaction(false);
}
