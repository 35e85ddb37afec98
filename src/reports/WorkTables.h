#pragma once

#include "data/SqlStatement.h"
#include "data/Transaction.h"

#include <QStringList>

#include <memory>

class Query;
class SqlRow;

// The filling of a report's work tables, as a whole: the tables are emptied and refilled in
// one transaction, so that they hold either this run complete or, when a step fails, the last
// run as it was. Dropped without commit(), everything it did is undone.
class WorkTableRun
{
public:
    // Starts the transaction and empties the tables in it.
    explicit WorkTableRun(const QStringList& tables);
    ~WorkTableRun();
    WorkTableRun(const WorkTableRun&) = delete;
    WorkTableRun& operator=(const WorkTableRun&) = delete;

    // Runs one change inside the run and returns the rows it changed.
    int exec(const SqlStatement& statement);
    // Reads rows inside the run, on a query of the run's own.
    Query* open(const SqlStatement& statement);
    // Adds one row, its values written by the statement builder.
    void insert(const SqlRow& row);
    void commit();

private:
    Transaction m_transaction;
    std::unique_ptr<Query> m_change;
    std::unique_ptr<Query> m_rows;
};
