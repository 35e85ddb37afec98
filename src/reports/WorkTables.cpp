#include "reports/WorkTables.h"

#include "data/Query.h"
#include "data/SqlRow.h"
#include "data/TDM.h"

WorkTableRun::WorkTableRun(const QStringList& tables)
    : m_transaction(DM)
    , m_change(DM->ownQuery(QStringLiteral("QPo1"), nullptr))
    , m_rows(DM->ownQuery(QStringLiteral("Q3"), nullptr))
{
    for (const QString& table : tables)
        exec({QStringLiteral(" Delete * from ") + table + QLatin1Char(' ')});
}

WorkTableRun::~WorkTableRun() = default;

int WorkTableRun::exec(const QStringList& statement)
{
    m_change->close();
    m_change->setSql(statement);
    return m_change->exec();
}

Query* WorkTableRun::open(const QStringList& statement)
{
    m_rows->close();
    m_rows->setSql(statement);
    m_rows->open();
    m_rows->first();
    return m_rows.get();
}

void WorkTableRun::insert(const SqlRow& row)
{
    exec(row.insert());
}

void WorkTableRun::commit()
{
    m_transaction.commit();
}
