#include "app/Startup.h"

#include "app/ShopKeeping.h"
#include "app/TMainForm.h"
#include "app/TPass.h"
#include "app/TSplash.h"
#include "app/Tasks.h"
#include "app/TavlinApplication.h"
#include "app/UserCommand.h"
#include "backup/ShopCommands.h"
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/ShopDatabase.h"
#include "data/TDM.h"
#include "ui/common/Prompter.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QProcess>
#include <QTextStream>
#include <QTimer>
#include <QWindow>

#include <memory>
#include <optional>

namespace {

struct DatabaseOptions
{
    QCommandLineOption file{QStringLiteral("database"),
                            QStringLiteral("Use the shop database in <file>."),
                            QStringLiteral("file")};
    QCommandLineOption server{QStringLiteral("server"),
                              QStringLiteral("Use the shop database on a PostgreSQL server, "
                                             "postgresql://user@host:port/database (the password "
                                             "comes from PGPASSFILE or ~/.pgpass)."),
                              QStringLiteral("address")};
    QCommandLineOption odbc{QStringLiteral("odbc"),
                            QStringLiteral("Use the shop database the ODBC data source <name> "
                                           "names."),
                            QStringLiteral("name")};
    QCommandLineOption create{QStringLiteral("create"),
                              QStringLiteral("Create the shop on the empty database named by "
                                             "--server or --odbc, then end.")};
    QCommandLineOption from{QStringLiteral("from"),
                            QStringLiteral("With --create: copy every row of the shop file or "
                                           "backup <file> onto the new server shop."),
                            QStringLiteral("file")};
    QCommandLineOption backup{QStringLiteral("backup"),
                              QStringLiteral("Make a checked copy of the shop into [FILE], or "
                                             "into the backups folder, then end.")};
    QCommandLineOption restore{QStringLiteral("restore"),
                               QStringLiteral("Replace the shop with the backup <file>, keeping "
                                              "the shop it replaces as a backup, then end."),
                               QStringLiteral("file")};
    QCommandLineOption user{QStringLiteral("user"),
                            QStringLiteral("Manage the shop's users: add, password, disable or "
                                           "enable the user NAME; the password is read from "
                                           "standard input."),
                            QStringLiteral("action")};
    QCommandLineOption check{QStringLiteral("check"),
                             QStringLiteral("Check the shop without changing it; exit non-zero "
                                            "when anything is wrong.")};

    void addTo(QCommandLineParser& parser) const
    {
        parser.setApplicationDescription(QStringLiteral("Tavlin truck repair shop program"));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOptions({file, server, odbc, create, from, backup, restore, check, user});
        parser.addPositionalArgument(QStringLiteral("FILE"),
                                     QStringLiteral("With --backup: the file to write. With "
                                                    "--user: the user's name."),
                                     QStringLiteral("[FILE|NAME]"));
    }

    // The command line's choice, else the settings file's, else the default file.
    DatabaseTarget target(const QCommandLineParser& parser) const
    {
        QList<DatabaseTarget> named;
        if (parser.isSet(file))
            named.append(DatabaseTarget::file(parser.value(file)));
        if (parser.isSet(server))
            named.append(DatabaseTarget::server(parser.value(server)));
        if (parser.isSet(odbc))
            named.append(DatabaseTarget::odbc(parser.value(odbc)));
        if (named.size() > 1)
            throw DbError(QStringLiteral("Name one database: --database, --server or --odbc."));
        if (!named.isEmpty())
            return named.first();
        return DatabaseTarget::fromSettings(DatabaseTarget::settingsPath(),
                                            ShopDatabase::defaultPath());
    }
};

// Whether the command line asks for one of the commands that look after the shop and end
// without a window.
bool isShopCommand(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        for (const char* command : {"create", "backup", "restore", "check", "user"})
            if (qstrcmp(argv[i], QByteArray("--") + command) == 0 ||
                qstrcmp(argv[i], QByteArray("-") + command) == 0 ||
                QByteArray(argv[i]).startsWith(QByteArray("--") + command + '='))
                return true;
    return false;
}

// Whether the command line asks for the help or the version, which are printed without a
// window, so also where there is no display. Qt's own options of the window (-platform and
// the like) are unknown here and do not matter.
bool asksForHelpOrVersion(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QCommandLineParser parser;
    const DatabaseOptions options;
    options.addTo(parser);
    parser.parse(arguments);
    return parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")) ||
           parser.isSet(QStringLiteral("version"));
}

// Whether the command line names the platform of the window, an option of Qt's own that only
// the window's application takes off the command line.
bool namesPlatform(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "-platform") == 0 || qstrcmp(argv[i], "--platform") == 0)
            return true;
    return false;
}

// Whether the window has a screen to go on: a display, or a platform Qt is told to use.
bool hasScreen(int argc, char** argv)
{
#ifndef Q_OS_LINUX
    return true; // the screen is always there
#endif
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (!qEnvironmentVariableIsEmpty(variable))
            return true;
    return namesPlatform(argc, argv);
}

// tavlin --create, --backup, --restore, --check, --user, --help, --version: no window, lines
// on the terminal, and an exit code a script can test.
int shopCommand(int& argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tavlin"));
    QCoreApplication::setApplicationName(QStringLiteral("Tavlin"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TAVLIN_VERSION));
    QCommandLineParser parser;
    const DatabaseOptions options;
    options.addTo(parser);
    parser.process(app);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int commands = int(parser.isSet(options.create)) + int(parser.isSet(options.backup)) +
                         int(parser.isSet(options.restore)) + int(parser.isSet(options.check)) +
                         int(parser.isSet(options.user));
    if (commands > 1) {
        err << "tavlin: give one of --create, --backup, --restore, --check and --user." << Qt::endl;
        return 2;
    }
    if (parser.isSet(options.from) && !parser.isSet(options.create)) {
        err << "tavlin: --from goes with --create." << Qt::endl;
        return 2;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > (parser.isSet(options.backup) || parser.isSet(options.user) ? 1 : 0)) {
        err << "tavlin: unexpected " << positional.join(QLatin1Char(' ')) << Qt::endl;
        return 2;
    }
    try {
        const DatabaseTarget target = options.target(parser);
        const QString settings = DatabaseTarget::settingsPath();
        if (parser.isSet(options.backup))
            return ShopCommands::backup(target, positional.value(0), settings, out, err);
        if (parser.isSet(options.restore))
            return ShopCommands::restore(target, parser.value(options.restore), settings, out, err);
        if (parser.isSet(options.check))
            return ShopCommands::check(target, out, err);
        if (parser.isSet(options.user))
            return userCommand(target, parser.value(options.user), positional.value(0), out, err);
        if (parser.isSet(options.from))
            return ShopCommands::createFrom(target, parser.value(options.from), out, err);
        Connection::createShop(target);
        out << "Created the Tavlin shop on " << target.describe() << Qt::endl;
        return 0;
    } catch (const DbError& e) {
        err << "tavlin: " << e.message() << Qt::endl;
    }
    return 1;
}

} // namespace

int runTavlin(int& argc, char** argv, const std::function<void()>& signInShown,
              bool automaticBackups)
{
    if (isShopCommand(argc, argv) ||
        (asksForHelpOrVersion(argc, argv) && !namesPlatform(argc, argv)))
        return shopCommand(argc, argv);
    if (!hasScreen(argc, argv)) {
        QTextStream(stderr) << "tavlin: there is no display to open the window on (DISPLAY and "
                               "WAYLAND_DISPLAY are not set). Without one, tavlin --help lists "
                               "the commands that need no window."
                            << Qt::endl;
        return 1;
    }

    TavlinApplication app(argc, argv);

    QCommandLineParser parser;
    const DatabaseOptions options;
    options.addTo(parser);
    parser.process(app);

    auto splash = std::make_unique<TSplash>();
    splash->showNow();

    try {
        const DatabaseTarget target = options.target(parser);
        std::optional<QString> restore;
        bool closeBackup = false;
        int result = 0;
        {
            TDM dataModule(target);
            TMainForm mainForm;
            mainForm.showMaximized();
            TPass::open(&mainForm);
            splash->hide();
            splash.reset();
            // The windows that live for the whole run are made right after the sign-in is on
            // the screen, not before it; until then the task buttons they serve stay disabled.
            std::unique_ptr<LongLivedWindows> windows;
            QTimer::singleShot(0, &mainForm, [&] {
                while (!(mainForm.windowHandle() && mainForm.windowHandle()->isExposed()))
                    QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
                QApplication::processEvents();
                if (signInShown)
                    signInShown();
                windows = std::make_unique<LongLivedWindows>();
                registerTasks(mainForm, *windows);
                // The day's first start backs the shop up, by a program of its own.
                if (automaticBackups && mainForm.keeping() &&
                    mainForm.keeping()->startupBackupDue())
                    mainForm.keeping()->backUpInBackground();
            });
            result = app.exec();
            if (ShopKeeping* keeping = mainForm.keeping()) {
                restore = keeping->pendingRestore();
                closeBackup = automaticBackups && !restore;
                if (closeBackup)
                    keeping->backUpInBackground();
            }
        }
        // A restore asked for in the File menu runs once the program's own connections to the
        // shop are closed; the program then starts again on the restored shop.
        if (restore) {
            if (ShopKeeping::runRestore(target, *restore, DatabaseTarget::settingsPath()))
                QProcess::startDetached(QCoreApplication::applicationFilePath(),
                                        QCoreApplication::arguments().mid(1));
        }
        return result;
    } catch (const DbError& e) {
        splash.reset();
        Prompter::instance().error(e.message());
    } catch (const std::exception& e) {
        splash.reset();
        Prompter::instance().error(QString::fromLocal8Bit(e.what()));
    }
    return 1;
}
