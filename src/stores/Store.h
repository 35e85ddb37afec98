#pragma once

#include "data/Query.h"
#include "data/SqlStatement.h"

#include <memory>

class Connection;
class RowStore;

// The statements of one part of the shop, written once in the shop's wording, their values
// always bound. The connection translates each statement once and prepares it once, so that an
// operation run again costs only its values. Windows call a store's named operations and hold
// no statement text of their own.
class Store
{
public:
    // On connection, or on the shop connection of the data module when none is given.
    explicit Store(Connection* connection = nullptr);
    virtual ~Store() = default;

    Connection* connection() const { return m_connection; }

protected:
    // Loads the statement's rows into query (a window's, whose grid follows it), at its first
    // row.
    static void load(Query& query, const SqlStatement& statement);
    // A query of the caller's own, holding the statement's rows, at the first.
    std::unique_ptr<Query> rows(const SqlStatement& statement) const;
    // The first column of the statement's first row: a null field when there is no row.
    Field value(const SqlStatement& statement) const;
    // Whether the statement finds a row.
    bool exists(const SqlStatement& statement) const;
    // Runs a change and returns the number of rows it changed.
    int change(const SqlStatement& statement) const;
    // Runs an Insert of one row and returns the row's hidden key.
    qint64 insert(const SqlStatement& statement) const;

private:
    QList<RowColumn> read(const SqlStatement& statement, RowStore& rows) const;

    Connection* m_connection;
};
