#include "reports/WorkTables.h"

#include "data/Connection.h"
#include "data/Query.h"
#include "data/SqlRow.h"
#include "data/TDM.h"

WorkTableRun::WorkTableRun(const QStringList& tables)
    : m_transaction(DM)
    , m_change(new Query(QStringLiteral("QPo1"), DM->admin1()))
    , m_rows(new Query(QStringLiteral("Q3"), DM->admin1()))
{
    // The work tables are the shop's, not the station's: a second station running a report
    // waits until this run has filled and read them. On the file the transaction's write lock
    // does that; on a server the tables are locked against other writers.
    if (DM->admin1()->isServer() && !tables.isEmpty())
        exec(SqlStatement{{QStringLiteral("LOCK TABLE ") + tables.join(QStringLiteral(", ")) +
                           QStringLiteral(" IN EXCLUSIVE MODE")}});
    for (const QString& table : tables)
        exec(SqlStatement{{QStringLiteral(" Delete * from ") + table + QLatin1Char(' ')}});
}

WorkTableRun::~WorkTableRun() = default;

int WorkTableRun::exec(const SqlStatement& statement)
{
    m_change->close();
    m_change->setSql(statement);
    return m_change->exec();
}

Query* WorkTableRun::open(const SqlStatement& statement)
{
    m_rows->close();
    m_rows->setSql(statement);
    m_rows->open();
    m_rows->first();
    return m_rows.get();
}

void WorkTableRun::insert(const SqlRow& row)
{
    m_change->close();
    m_change->setSql(row.insert());
    m_change->exec();
}

void WorkTableRun::commit()
{
    m_transaction.commit();
}
