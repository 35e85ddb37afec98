#pragma once

#include "stores/Store.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// The shop's users: signing in through the stored hashes with a growing wait after wrong
// passwords, the owner's management of users, and the archive code.
class UserStore : public Store
{
public:
    using Store::Store;

    struct User
    {
        qint64 key = 0;
        QString name;
        QString stored; // the password's hash
        bool owner = false;
        bool disabled = false;
        int failed = 0;      // wrong passwords in a row
        QDateTime waitUntil; // no try is checked before then (invalid: none)
        bool firstPassword = false;
    };

    enum class Result
    {
        Accepted,
        Refused, // unknown user or wrong password
        Disabled,
        Waiting // a try during the wait: neither checked nor counted
    };
    struct SignIn
    {
        Result result = Result::Refused;
        QString name; // as stored
        bool owner = false;
        int waitSeconds = 0; // what the user must wait before the next try
    };

    // After this many wrong passwords in a row each further try waits.
    static constexpr int freeTries = 5;
    // The wait after failures wrong passwords in a row: none for the first five, then 1 s,
    // doubling with each further one, up to 30 s.
    static int waitAfter(int failures);

    std::optional<User> user(const QString& name) const;
    // Every user, by name.
    QList<User> users() const;
    // The same into a window's list: the name, owner and disabled columns, never the password.
    void list(Query& query) const;

    // Checks the password of the user name; a wrong one is counted, and a wait set, on the
    // database, so that it holds for every station and across restarts.
    SignIn signIn(const QString& name, const QString& password,
                  const QDateTime& now = QDateTime::currentDateTimeUtc()) const;

    // The owner's management. Throws DbError with a message for the person at the counter: a
    // name already taken or empty, a password shorter than Password::minimumLength, the last
    // owner disabled.
    void add(const QString& name, const QString& password, bool owner = false) const;
    void setPassword(const QString& name, const QString& password) const;
    void setDisabled(const QString& name, bool disabled) const;

    // Whether an owner still signs in with the password a new shop starts with.
    bool firstPasswordInUse() const;

    bool archiveCodeMatches(const QString& code) const;
    void setArchiveCode(const QString& code) const;

private:
    User existing(const QString& name) const;
};
