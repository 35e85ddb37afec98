#pragma once

#include <QString>

class Connection;
class TDM;

// Runs the statements of one command as a whole: rolled back unless commit() is reached. One
// begun within another (a number claimed inside a larger command) is a savepoint: undone by
// itself when it fails, kept or undone with the whole otherwise.
class Transaction
{
public:
    explicit Transaction(TDM* dm);
    // The same on one connection (a station's own, in the tests of several stations).
    explicit Transaction(Connection* connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Connection* m_connection;
    bool m_done = false;
    // The savepoint's name when this one runs within another; empty for the outermost.
    QString m_savepoint;
};
