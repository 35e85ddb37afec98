#include "app/UserCommand.h"

#include "data/DatabaseTarget.h"
#include "data/DbError.h"
#include "data/TDM.h"
#include "stores/UserStore.h"

#include <QTextStream>

#include <cstdio>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

// One line of standard input, without its line end; at a terminal the typing is not shown.
QString readLine(bool hidden)
{
    termios saved{};
    const bool terminal = hidden && isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string line;
    int c = 0;
    while ((c = std::getchar()) != EOF && c != '\n')
        line.push_back(char(c));
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fputc('\n', stderr);
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return QString::fromUtf8(line.data(), qsizetype(line.size()));
}

QString newPassword(const QString& name)
{
    if (!isatty(STDIN_FILENO))
        return readLine(false);
    std::fprintf(stderr, "New password for %s: ", qPrintable(name));
    const QString first = readLine(true);
    std::fprintf(stderr, "The same again: ");
    const QString again = readLine(true);
    if (first != again)
        throw DbError(QStringLiteral("The two passwords differ; nothing was changed."));
    return first;
}

} // namespace

int userCommand(const DatabaseTarget& target, const QString& action, const QString& name,
                QTextStream& out, QTextStream& err)
{
    try {
        if (name.trimmed().isEmpty())
            throw DbError(QStringLiteral("Name the user: tavlin --user %1 NAME.").arg(action));
        TDM dataModule(target);
        const UserStore users;
        if (action == QLatin1String("add")) {
            users.add(name, newPassword(name));
            out << "Added the user " << name.trimmed() << " to the shop on " << target.describe()
                << "." << Qt::endl;
        } else if (action == QLatin1String("password")) {
            if (!users.user(name))
                throw DbError(QStringLiteral("There is no user %1.").arg(name));
            users.setPassword(name, newPassword(name));
            out << name << " has a new password." << Qt::endl;
        } else if (action == QLatin1String("disable") || action == QLatin1String("enable")) {
            const bool disable = action == QLatin1String("disable");
            users.setDisabled(name, disable);
            out << name << (disable ? " is disabled and cannot sign in." : " can sign in again.")
                << Qt::endl;
        } else {
            throw DbError(QStringLiteral("--user takes add, password, disable or enable, not %1.")
                              .arg(action));
        }
        return 0;
    } catch (const DbError& e) {
        err << "tavlin: " << e.message() << Qt::endl;
    }
    return 1;
}
