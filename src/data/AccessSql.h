#pragma once

#include <QString>

class SqlDialect;

// Rewrites a statement written in the shop database's Access-style wording for the engine of a
// connection: #M/d/yyyy# dates, bare Yes/No/True/False, Delete * From, "double-quoted" texts,
// & joins of texts, Select Top n, Access functions, and unnamed result columns, which are
// named Expr1000, Expr1001, ... as the original database names them. Text inside quotes is
// never touched.
class AccessSql
{
public:
    explicit AccessSql(const SqlDialect& dialect)
        : m_dialect(dialect)
    {}

    // Throws DbError when a date literal is not a date or a quote or bracket is not closed.
    QString translate(const QString& statement) const;

private:
    const SqlDialect& m_dialect;
};
