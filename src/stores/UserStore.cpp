#include "stores/UserStore.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Password.h"
#include "data/Transaction.h"

namespace {

const QString columns = QStringLiteral("UserName_Pass, Password_Pass, Owner_Pass, Disabled_Pass, "
                                       "Failed_Pass, Wait_Pass, FirstPassword_Pass");

UserStore::User userAt(const Query& q, int row)
{
    UserStore::User u;
    u.name = q.field(row, 0).asText();
    u.stored = q.field(row, 1).asText();
    u.owner = q.field(row, 2).asBool();
    u.disabled = q.field(row, 3).asBool();
    u.failed = int(q.field(row, 4).asInteger());
    u.waitUntil = QDateTime::fromString(q.field(row, 5).asText(), Qt::ISODateWithMs);
    u.firstPassword = q.field(row, 6).asBool();
    u.key = q.rowKey(row);
    return u;
}

void checkLength(const QString& password)
{
    if (password.size() < Password::minimumLength)
        throw DbError(
            QStringLiteral("A password has at least %1 characters.").arg(Password::minimumLength));
}

} // namespace

int UserStore::waitAfter(int failures)
{
    if (failures < freeTries)
        return 0;
    const int doublings = failures - freeTries;
    return doublings >= 5 ? 30 : std::min(30, 1 << doublings);
}

std::optional<UserStore::User> UserStore::user(const QString& name) const
{
    const auto found =
        rows(SqlStatement{{"Select " + columns + " From Pass where UserName_Pass = ?"}, {name}});
    if (found->recordCount() == 0)
        return std::nullopt;
    return userAt(*found, 0);
}

QList<UserStore::User> UserStore::users() const
{
    const auto found =
        rows(SqlStatement{{"Select " + columns + " From Pass Order By UserName_Pass"}});
    QList<User> list;
    for (int r = 0; r < found->recordCount(); ++r)
        list.append(userAt(*found, r));
    return list;
}

void UserStore::list(Query& query) const
{
    load(query, SqlStatement{{"Select UserName_Pass, Owner_Pass, Disabled_Pass From Pass Order By "
                              "UserName_Pass"}});
}

UserStore::User UserStore::existing(const QString& name) const
{
    const auto found = user(name);
    if (!found)
        throw DbError(QStringLiteral("There is no user %1.").arg(name));
    return *found;
}

UserStore::SignIn UserStore::signIn(const QString& name, const QString& password,
                                    const QDateTime& now) const
{
    const auto found = user(name);
    if (!found)
        return {};
    const User& u = *found;
    if (u.disabled)
        return {Result::Disabled, u.name, u.owner, 0};
    if (u.waitUntil.isValid() && now < u.waitUntil)
        return {Result::Waiting, u.name, u.owner, int((now.msecsTo(u.waitUntil) + 999) / 1000)};
    if (Password::verify(u.stored, password)) {
        Transaction done(connection());
        change(SqlStatement{{"Update Pass Set Failed_Pass = 0, Wait_Pass = Null where "
                             "UserName_Pass = ?"},
                            {u.name}});
        // A hash made with lighter costs than today's is made again while the password is
        // at hand.
        if (Password::needsRehash(u.stored))
            change(SqlStatement{{"Update Pass Set Password_Pass = ? where UserName_Pass = ?"},
                                {Password::hash(password), u.name}});
        done.commit();
        return {Result::Accepted, u.name, u.owner, 0};
    }
    // Counted on the database, so that two stations trying at once both count.
    Transaction wrong(connection());
    change(SqlStatement{
        {"Update Pass Set Failed_Pass = Nz(Failed_Pass, 0) + 1 where UserName_Pass = ?"},
        {u.name}});
    const int failures =
        int(value(SqlStatement{{"Select Failed_Pass From Pass where UserName_Pass = ?"}, {u.name}})
                .asInteger());
    const int wait = waitAfter(failures);
    if (wait > 0)
        change(SqlStatement{{"Update Pass Set Wait_Pass = ? where UserName_Pass = ?"},
                            {now.addSecs(wait).toString(Qt::ISODateWithMs), u.name}});
    wrong.commit();
    return {Result::Refused, u.name, u.owner, wait};
}

void UserStore::add(const QString& name, const QString& password, bool owner) const
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        throw DbError(QStringLiteral("A user needs a name."));
    checkLength(password);
    if (user(trimmed))
        throw DbError(QStringLiteral("There is already a user %1.").arg(trimmed));
    change(
        SqlStatement{{"Insert Into Pass (UserName_Pass, Password_Pass, Owner_Pass, "
                      "Disabled_Pass, Failed_Pass, FirstPassword_Pass) Values (?, ?, ?, ?, 0, ?)"},
                     {trimmed, Password::hash(password), owner, false, false}});
}

void UserStore::setPassword(const QString& name, const QString& password) const
{
    const User u = existing(name);
    checkLength(password);
    change(SqlStatement{{"Update Pass Set Password_Pass = ?, FirstPassword_Pass = ?, "
                         "Failed_Pass = 0, Wait_Pass = Null where UserName_Pass = ?"},
                        {Password::hash(password), false, u.name}});
}

void UserStore::setDisabled(const QString& name, bool disabled) const
{
    const User u = existing(name);
    Transaction transaction(connection());
    if (disabled && u.owner) {
        const qint64 owners = value(SqlStatement{{"Select Count(*) From Pass where Owner_Pass = "
                                                  "Yes And Disabled_Pass = No"}})
                                  .asInteger();
        if (owners <= 1)
            throw DbError(QStringLiteral("%1 is the shop's only owner and stays enabled: make "
                                         "another user owner first.")
                              .arg(u.name));
    }
    change(SqlStatement{{"Update Pass Set Disabled_Pass = ?, Failed_Pass = 0, Wait_Pass = Null "
                         "where UserName_Pass = ?"},
                        {disabled, u.name}});
    transaction.commit();
}

bool UserStore::firstPasswordInUse() const
{
    return exists(SqlStatement{
        {"Select UserName_Pass From Pass where Owner_Pass = Yes And FirstPassword_Pass = Yes"}});
}

bool UserStore::archiveCodeMatches(const QString& code) const
{
    return Password::verify(
        value(SqlStatement{{"Select Value_Setting From Setting where Name_Setting = "
                            "'ArchiveCode'"}})
            .asText(),
        code);
}

void UserStore::setArchiveCode(const QString& code) const
{
    if (code.trimmed().isEmpty())
        throw DbError(QStringLiteral("The archive code cannot be empty."));
    Transaction transaction(connection());
    change(SqlStatement{{"Delete From Setting where Name_Setting = 'ArchiveCode'"}});
    change(SqlStatement{{"Insert Into Setting (Name_Setting, Value_Setting) Values "
                         "('ArchiveCode', ?)"},
                        {Password::hashCode(code)}});
    transaction.commit();
}
