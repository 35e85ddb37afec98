#include "backup/ShopBackup.h"

#include "backup/BackupFolder.h"
#include "backup/ShopCopy.h"
#include "data/Connection.h"
#include "data/DatabaseTarget.h"
#include "data/DbError.h"
#include "data/Schema.h"
#include "data/ServerDatabase.h"
#include "data/ShopDatabase.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// A named Qt connection that is closed and forgotten when it goes out of scope.
class NamedDatabase
{
public:
    NamedDatabase()
    {
        static std::atomic<int> next{0};
        m_name = QStringLiteral("tavlin-backup-%1").arg(next++);
    }
    ~NamedDatabase()
    {
        if (m_db.isValid())
            m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    NamedDatabase(const NamedDatabase&) = delete;
    NamedDatabase& operator=(const NamedDatabase&) = delete;

    QString name() const { return m_name; }
    QSqlDatabase& db() { return m_db; }

    void openFile(const QString& path, bool readOnly = false)
    {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        m_db.setDatabaseName(path);
        m_db.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_OPEN_READONLY;"
                                                         "QSQLITE_BUSY_TIMEOUT=10000")
                                        : QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
        if (!m_db.open())
            throw DbError(QStringLiteral("%1 cannot be opened: %2")
                              .arg(shown(path), m_db.lastError().text()));
    }
    void openServer(const DatabaseTarget& target)
    {
        m_db = Connection::openServerDatabase(target, m_name);
    }
    // The shop at path as the program opens it: upgraded to today's schema and checked.
    void openShop(const QString& path)
    {
        ShopDatabase::open(path, m_name);
        m_db = QSqlDatabase::database(m_name, false);
    }

private:
    QString m_name;
    QSqlDatabase m_db;
};

void begin(QSqlDatabase& db, const QString& statement = QString())
{
    if (statement.isEmpty() ? !db.transaction() : !QSqlQuery(db).exec(statement))
        throw DbError(db.lastError().text());
}

void removeFileSet(const QString& path)
{
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}

// Flushes a file, or a folder's list of names, to the disk.
void flush(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// Gives the file its final name in one step, replacing what was there.
void moveInto(const QString& from, const QString& to)
{
    flush(from);
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw DbError(QStringLiteral("%1 cannot be written: %2")
                          .arg(shown(to), QString::fromLocal8Bit(std::strerror(errno))));
    flush(QFileInfo(to).absolutePath());
}

// Throws when another connection has the shop file open: it could not then be switched
// under that connection. A connection in the journal mode the shop uses holds a shared lock
// on the file for as long as it is open, so an exclusive one is refused.
void refuseWhenInUse(const QString& path)
{
    sqlite3* db = nullptr;
    int rc =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db, 3000);
        rc = sqlite3_exec(db, "PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE; COMMIT;", nullptr,
                          nullptr, nullptr);
    }
    sqlite3_close(db);
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
        throw DbError(QStringLiteral("The shop %1 is open in another Tavlin: close it there "
                                     "first. Nothing was changed.")
                          .arg(shown(path)));
    if (rc != SQLITE_OK)
        throw DbError(QStringLiteral("The shop %1 cannot be opened: %2")
                          .arg(shown(path), QString::fromUtf8(sqlite3_errstr(rc))));
}

// A copy's structure, its journal folded in, and each table's rows and amounts against the
// shop's.
void checkCopy(const QString& path, const QList<ShopCopy::Tally>& shop)
{
    NamedDatabase copy;
    copy.openFile(path);
    // One file, whatever the shop's journal: nothing of the copy lies beside it.
    ShopDatabase::execute(copy.db(), QStringLiteral("PRAGMA journal_mode = DELETE"));
    QSqlQuery check = ShopDatabase::execute(copy.db(), QStringLiteral("PRAGMA quick_check"));
    if (!check.next() || check.value(0).toString() != QLatin1String("ok"))
        throw DbError(QStringLiteral("The copy %1 did not pass its check: %2")
                          .arg(shown(path), check.value(0).toString()));
    const QStringList differ = ShopCopy::differences(shop, ShopCopy::tally(copy.db()));
    if (!differ.isEmpty())
        throw DbError(QStringLiteral("The copy %1 does not hold what the shop holds: %2")
                          .arg(shown(path), differ.join(QStringLiteral("; "))));
}

QList<ShopCopy::Tally> backupFile(const QString& shop, const QString& partial)
{
    if (!QFileInfo(shop).isFile())
        throw DbError(QStringLiteral("There is no shop database at %1.").arg(shown(shop)));
    try {
        ShopDatabase::checkHeader(shop);
    } catch (const DbError&) {
        throw DbError(QStringLiteral("%1 is not a Tavlin shop database; no backup was made.")
                          .arg(shown(shop)));
    }
    NamedDatabase source;
    source.openFile(shop);
    sqlite3* from = nullptr;
    const QVariant handle = source.db().driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
        from = *static_cast<sqlite3* const*>(handle.data());
    if (!from)
        throw DbError(QStringLiteral("The shop database %1 cannot be read.").arg(shown(shop)));
    sqlite3* to = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(partial).constData(), &to,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(to));
        sqlite3_close(to);
        throw DbError(QStringLiteral("%1 cannot be written: %2").arg(shown(partial), message));
    }
    // The tally and the pages are read in one read transaction: the same moment of the shop,
    // while other connections keep writing theirs.
    begin(source.db());
    QList<ShopCopy::Tally> tallies;
    int rc = SQLITE_OK;
    QString message;
    try {
        tallies = ShopCopy::tally(source.db());
        sqlite3_backup* copy = sqlite3_backup_init(to, "main", from, "main");
        if (!copy) {
            rc = sqlite3_errcode(to);
            message = QString::fromUtf8(sqlite3_errmsg(to));
        } else {
            rc = sqlite3_backup_step(copy, -1);
            sqlite3_backup_finish(copy);
            if (rc == SQLITE_DONE)
                rc = sqlite3_errcode(to);
            message = QString::fromUtf8(sqlite3_errstr(rc));
        }
    } catch (...) {
        source.db().rollback();
        sqlite3_close(to);
        throw;
    }
    source.db().rollback();
    sqlite3_close(to);
    if (rc != SQLITE_OK && rc != SQLITE_DONE)
        throw DbError(QStringLiteral("%1 cannot be written: %2").arg(shown(partial), message));
    return tallies;
}

QList<ShopCopy::Tally> backupServer(const DatabaseTarget& target, const QString& partial)
{
    NamedDatabase server;
    server.openServer(target);
    ServerDatabase::check(server.db(), target.describe());
    ShopDatabase::createBlank(partial);
    NamedDatabase copy;
    copy.openFile(partial);
    ShopDatabase::execute(copy.db(), QStringLiteral("PRAGMA synchronous = OFF"));
    // Every table as it stood at one moment, however long the reading takes.
    begin(server.db(), QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"));
    QList<ShopCopy::Tally> tallies;
    try {
        tallies = ShopCopy::tally(server.db());
        begin(copy.db());
        ShopCopy::copyRows(server.db(), copy.db());
        if (!copy.db().commit())
            throw DbError(copy.db().lastError().text());
    } catch (...) {
        copy.db().rollback();
        server.db().rollback();
        throw;
    }
    server.db().rollback();
    return tallies;
}

// A copy of the backup in folder, brought to today's schema as the program opens a shop.
QString preparedCopy(const QString& backupPath, const QString& folder, const QString& name)
{
    ShopBackup::checkBackup(backupPath);
    const QString prepared = folder + QLatin1Char('/') + name;
    removeFileSet(prepared);
    if (!QFile::copy(backupPath, prepared))
        throw DbError(QStringLiteral("The backup cannot be copied into %1.").arg(shown(folder)));
    // Written as a file of its own: the backups folder may be read-only to others.
    QFile::setPermissions(prepared, QFile::permissions(prepared) | QFile::WriteOwner);
    try {
        NamedDatabase shop;
        shop.openShop(prepared);
        ShopDatabase::execute(shop.db(), QStringLiteral("PRAGMA journal_mode = WAL"));
    } catch (...) {
        removeFileSet(prepared);
        throw;
    }
    return prepared;
}

} // namespace

namespace ShopBackup {

Made backup(const DatabaseTarget& target, const QString& destination)
{
    const QString partial = destination + QStringLiteral(".partial");
    removeFileSet(partial);
    try {
        const QList<ShopCopy::Tally> tallies = target.isServer()
                                                   ? backupServer(target, partial)
                                                   : backupFile(target.location, partial);
        checkCopy(partial, tallies);
        moveInto(partial, destination);
        return {destination, ShopCopy::rowCount(tallies), QFileInfo(destination).size()};
    } catch (...) {
        removeFileSet(partial);
        throw;
    }
}

int checkBackup(const QString& path)
{
    if (!QFileInfo(path).isFile())
        throw DbError(QStringLiteral("There is no file %1.").arg(shown(path)));
    try {
        ShopDatabase::checkHeader(path);
    } catch (const DbError&) {
        throw DbError(QStringLiteral("%1 is not a Tavlin shop or backup; nothing was changed.")
                          .arg(shown(path)));
    }
    NamedDatabase file;
    file.openFile(path, true);
    QSqlQuery check(file.db());
    if (!check.exec(QStringLiteral("PRAGMA integrity_check")) || !check.next() ||
        check.value(0).toString() != QLatin1String("ok"))
        throw DbError(QStringLiteral("The backup %1 is damaged (%2); nothing was changed.")
                          .arg(shown(path), check.lastError().isValid()
                                                ? check.lastError().databaseText()
                                                : check.value(0).toString()));
    check.finish();
    const int version = ShopDatabase::version(file.db());
    const int current = ShopDatabase::currentVersion();
    if (version > current)
        throw DbError(QStringLiteral("The backup %1 was made by a newer release of Tavlin (schema "
                                     "%2; this release knows %3); nothing was changed.")
                          .arg(shown(path))
                          .arg(version)
                          .arg(current));
    if (version < 1)
        throw DbError(QStringLiteral("%1 is not a Tavlin shop or backup; nothing was changed.")
                          .arg(shown(path)));
    return version;
}

QString restore(const DatabaseTarget& target, const QString& backupPath, const BackupFolder& folder)
{
    folder.make();
    const QDateTime now = QDateTime::currentDateTime();
    if (!target.isServer()) {
        const QFileInfo shop(target.location);
        const QString prepared =
            preparedCopy(backupPath, shop.absolutePath(),
                         QLatin1Char('.') + shop.fileName() + QStringLiteral(".restoring"));
        try {
            QString kept;
            if (shop.exists()) {
                refuseWhenInUse(target.location);
                // The restored shop keeps the replaced one's permissions.
                struct stat mode;
                if (::stat(QFile::encodeName(target.location).constData(), &mode) == 0)
                    ::chmod(QFile::encodeName(prepared).constData(), mode.st_mode & 07777);
                kept = backup(target, folder.newPath(now, QStringLiteral("before-restore"))).path;
                refuseWhenInUse(target.location);
            }
            // The last connection to close folds the journal into the shop and removes it. One
            // still there holds changes of a program that opened the shop meanwhile; an empty
            // one, or the index beside it, would only be read into the new shop.
            const QFileInfo journal(target.location + QStringLiteral("-wal"));
            if (journal.exists() && journal.size() > 0)
                throw DbError(QStringLiteral("The shop %1 is open in another Tavlin: close it "
                                             "there first. Nothing was changed.")
                                  .arg(shown(target.location)));
            QFile::remove(journal.filePath());
            QFile::remove(target.location + QStringLiteral("-shm"));
            moveInto(prepared, target.location);
            return kept;
        } catch (...) {
            removeFileSet(prepared);
            throw;
        }
    }
    QTemporaryDir work;
    if (!work.isValid())
        throw DbError(QStringLiteral("No room for the backup's copy: %1").arg(work.errorString()));
    const QString prepared = preparedCopy(backupPath, work.path(), QStringLiteral("restore.db"));
    const QString kept = backup(target, folder.newPath(now, QStringLiteral("before-restore"))).path;
    NamedDatabase source;
    source.openFile(prepared, true);
    NamedDatabase server;
    server.openServer(target);
    ServerDatabase::check(server.db(), target.describe());
    begin(server.db());
    try {
        // One station restores at a time; the others' statements wait for the switch.
        ShopDatabase::execute(server.db(), QStringLiteral("SELECT pg_advisory_xact_lock(5413)"));
        QStringList tables;
        for (const Schema::Table& table : Schema::tables())
            tables.append(table.name);
        ShopDatabase::execute(server.db(),
                              QStringLiteral("TRUNCATE ") + tables.join(QStringLiteral(", ")));
        ShopCopy::copyRows(source.db(), server.db());
        const QStringList differ =
            ShopCopy::differences(ShopCopy::tally(source.db()), ShopCopy::tally(server.db()));
        if (!differ.isEmpty())
            throw DbError(QStringLiteral("The restored shop would not hold what the backup "
                                         "holds: %1. Nothing was changed.")
                              .arg(differ.join(QStringLiteral("; "))));
        if (!server.db().commit())
            throw DbError(server.db().lastError().text());
    } catch (...) {
        server.db().rollback();
        throw;
    }
    return kept;
}

qint64 createFrom(const DatabaseTarget& target, const QString& file)
{
    if (!target.isServer())
        throw DbError(QStringLiteral("--from copies a shop file onto a server: name the server "
                                     "with --server or --odbc."));
    QTemporaryDir work;
    if (!work.isValid())
        throw DbError(QStringLiteral("No room for the file's copy: %1").arg(work.errorString()));
    const QString prepared = preparedCopy(file, work.path(), QStringLiteral("from.db"));
    NamedDatabase source;
    source.openFile(prepared, true);
    NamedDatabase server;
    server.openServer(target);
    const QList<ShopCopy::Tally> tallies = ShopCopy::tally(source.db());
    ServerDatabase::create(server.db(), [&](QSqlDatabase& db) {
        ShopCopy::copyRows(source.db(), db);
        const QStringList differ = ShopCopy::differences(tallies, ShopCopy::tally(db));
        if (!differ.isEmpty())
            throw DbError(QStringLiteral("The server would not hold what the file holds: %1. "
                                         "Nothing was changed.")
                              .arg(differ.join(QStringLiteral("; "))));
    });
    return ShopCopy::rowCount(tallies);
}

} // namespace ShopBackup
