#include "stores/Store.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/TDM.h"

Store::Store(Connection* connection)
    : m_connection(connection ? connection : (DM ? DM->admin1() : nullptr))
{
    if (!m_connection)
        throw DbError(QStringLiteral("A store needs an open shop database."));
}

void Store::load(Query& query, const SqlStatement& statement)
{
    query.setSql(statement);
    query.open();
    query.first();
}

std::unique_ptr<Query> Store::rows(const SqlStatement& statement) const
{
    auto query = std::make_unique<Query>(QStringLiteral("Store"), m_connection);
    load(*query, statement);
    return query;
}

Field Store::value(const SqlStatement& statement) const
{
    const std::unique_ptr<Query> query = rows(statement);
    if (query->isEmpty() || query->columnCount() == 0)
        return Field();
    return query->field(0, 0);
}

bool Store::exists(const SqlStatement& statement) const
{
    return !rows(statement)->isEmpty();
}

int Store::change(const SqlStatement& statement) const
{
    return m_connection->execute(statement);
}

qint64 Store::insert(const SqlStatement& statement) const
{
    return m_connection->insertRow(statement);
}
