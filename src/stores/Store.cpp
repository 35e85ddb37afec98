#include "stores/Store.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/RowReader.h"
#include "data/RowStore.h"
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

QList<RowColumn> Store::read(const SqlStatement& statement, RowStore& rows) const
{
    // Straight into rows of the caller's: a value or a yes/no needs no query for grids.
    return readRows(*m_connection, m_connection->translate(statement.text()), statement.values,
                    rows);
}

Field Store::value(const SqlStatement& statement) const
{
    RowStore rows;
    const QList<RowColumn> columns = read(statement, rows);
    if (rows.rowCount() == 0 || columns.isEmpty())
        return Field();
    return Field(rows.value(0, 0), columns.first().kind);
}

bool Store::exists(const SqlStatement& statement) const
{
    RowStore rows;
    read(statement, rows);
    return rows.rowCount() > 0;
}

int Store::change(const SqlStatement& statement) const
{
    return m_connection->execute(statement);
}

qint64 Store::insert(const SqlStatement& statement) const
{
    return m_connection->insertRow(statement);
}
