#include "data/Transaction.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/RowReader.h"
#include "data/TDM.h"

#include <QSqlError>
#include <QSqlQuery>

Transaction::Transaction(TDM* dm)
    : m_dm(dm)
{
    QSqlDatabase db = m_dm->admin1()->database();
    if (m_dm->admin1()->sqliteHandle()) {
        // The write lock is taken at the start and waited for: a deferred transaction that
        // reads and then writes fails at once when another program committed in between.
        QSqlQuery begin(db);
        if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
            throw DbError(databaseMessage(begin.lastError()));
        return;
    }
    if (!db.transaction())
        throw DbError(databaseMessage(db.lastError()));
}

Transaction::~Transaction()
{
    if (!m_done)
        m_dm->admin1()->database().rollback();
}

void Transaction::commit()
{
    QSqlDatabase db = m_dm->admin1()->database();
    if (!db.commit())
        throw DbError(databaseMessage(db.lastError()));
    m_done = true;
}
