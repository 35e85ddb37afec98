#pragma once

#include <QString>

#include <stdexcept>

// The one error type of the program: a statement the database rejected, a box value that is
// not a number or a date, a missing column. Its message is what the user is shown.
class DbError : public std::runtime_error
{
public:
    explicit DbError(const QString& message);
    QString message() const { return m_message; }

    // What the user is told when another program kept the shop database locked for longer than
    // the connection waits.
    static QString busy();

private:
    QString m_message;
};
