#pragma once

class TDM;

// Runs the statements of one command as a whole: rolled back unless commit() is reached.
class Transaction
{
public:
    explicit Transaction(TDM* dm);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    TDM* m_dm;
    bool m_done = false;
};
