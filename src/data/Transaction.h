#pragma once

class Connection;
class TDM;

// Runs the statements of one command as a whole: rolled back unless commit() is reached.
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
};
