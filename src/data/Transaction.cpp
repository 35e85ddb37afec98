#include "data/Transaction.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/TDM.h"

#include <QSqlError>

Transaction::Transaction(TDM* dm)
    : m_dm(dm)
{
    QSqlDatabase db = m_dm->admin1()->database();
    if (!db.transaction())
        throw DbError(db.lastError().text());
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
        throw DbError(db.lastError().text());
    m_done = true;
}
