#include "data/ShopDatabase.h"

#include "data/DbError.h"
#include "data/Schema.h"
#include "data/SqlDialect.h"
#include "data/TruckSearch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>

#include <functional>

namespace {

void run(QSqlDatabase& db, const QString& statement)
{
    QSqlQuery q(db);
    if (!q.exec(statement))
        throw DbError(q.lastError().databaseText().isEmpty() ? q.lastError().text()
                                                             : q.lastError().databaseText());
}

int pragmaInt(QSqlDatabase& db, const char* pragma)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA %1").arg(QLatin1String(pragma))) || !q.next())
        throw DbError(q.lastError().databaseText());
    return q.value(0).toInt();
}

// Today's schema: every table and its indexes.
void createTables(QSqlDatabase& db)
{
    for (const auto& table : Schema::tables())
        run(db, Schema::createTableStatement(table));
    for (const auto& statement : Schema::createIndexStatements())
        run(db, statement);
    for (const auto& statement : TruckSearch::createStatements(false))
        run(db, statement);
}

// Today's schema: every table, its indexes and the seed rows.
void createSchema(QSqlDatabase& db)
{
    createTables(db);
    for (const auto& statement : Schema::seedStatements())
        run(db, statement);
}

// Runs one change of the schema and records the version it reaches, all or nothing.
void inTransaction(QSqlDatabase& db, int version, const std::function<void(QSqlDatabase&)>& step)
{
    if (!db.transaction())
        throw DbError(db.lastError().text());
    try {
        step(db);
        run(db, QStringLiteral("PRAGMA user_version = %1").arg(version));
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit())
        throw DbError(db.lastError().text());
}

void upgrade(QSqlDatabase& db, int from, const QList<ShopDatabase::UpgradeStep>& steps)
{
    for (int v = from; v < ShopDatabase::currentVersion(steps); ++v)
        inTransaction(db, v + 1, steps.at(v - 1));
}

void openConnection(QSqlDatabase& db, const QString& path)
{
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open())
        throw DbError(QStringLiteral("The shop database %1 cannot be opened: %2")
                          .arg(QDir::toNativeSeparators(path), db.lastError().text()));
}

// Builds a complete new file beside the final name and moves it into place, so that an
// interrupted first start never leaves a half-made database behind.
void create(const QString& path, int version, bool blank = false)
{
    const QString temp = path + QStringLiteral(".new");
    QFile::remove(temp);
    QFile::remove(temp + QStringLiteral("-wal"));
    QFile::remove(temp + QStringLiteral("-shm"));
    const QString name = QStringLiteral("tavlin-create");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        try {
            openConnection(db, temp);
            run(db, QStringLiteral("PRAGMA application_id = %1").arg(Schema::ApplicationId));
            // Built as today's schema describes it, so no upgrade step runs on a new file.
            inTransaction(db, version, blank ? createTables : createSchema);
            if (!blank)
                run(db, QStringLiteral("PRAGMA journal_mode = WAL"));
            db.close();
        } catch (...) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            QFile::remove(temp);
            throw;
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (!QFile::rename(temp, path))
        throw DbError(QStringLiteral("The shop database %1 cannot be created.")
                          .arg(QDir::toNativeSeparators(path)));
}

// Reads the file header without opening the file through the database engine.
void checkFileHeader(const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("The shop database %1 cannot be read: %2")
                          .arg(shown, file.errorString()));
    const QByteArray header = file.read(100);
    const QByteArray magic("SQLite format 3\0", 16);
    if (header.size() < 100 || !header.startsWith(magic))
        throw DbError(QStringLiteral("The file %1 is not a Tavlin shop database. "
                                     "The program ends and leaves the file as it is.")
                          .arg(shown));
    const auto byteAt = [&](int i) { return quint32(quint8(header[i])); };
    const quint32 appId = byteAt(68) << 24 | byteAt(69) << 16 | byteAt(70) << 8 | byteAt(71);
    if (appId != quint32(Schema::ApplicationId))
        throw DbError(
            QStringLiteral("The file %1 is a database of another program, not a Tavlin "
                           "shop database. The program ends and leaves the file as it is.")
                .arg(shown));
}

void checkTables(QSqlDatabase& db, const QString& path)
{
    // Every table's columns in one statement: a start-up reads them all at once.
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("Select m.name, p.name From sqlite_master m, "
                               "pragma_table_info(m.name) p where m.type = 'table'")))
        throw DbError(q.lastError().databaseText());
    ShopDatabase::checkColumns(q, QDir::toNativeSeparators(path), QStringLiteral("the file"));
}

// Whether the table has the column, whatever the letter case.
} // namespace

namespace ShopDatabase {

const SqlDialect& dialectOf(const QSqlDatabase& db)
{
    static const SqliteDialect sqlite;
    static const PostgresDialect postgres;
    return db.driverName() == QLatin1String("QSQLITE") ? static_cast<const SqlDialect&>(sqlite)
                                                       : postgres;
}

bool hasTable(const QSqlDatabase& db, const QString& name)
{
    for (const QString& table : db.tables())
        if (table.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void checkColumns(QSqlQuery& tableColumns, const QString& shown, const QString& kept)
{
    QHash<QString, QSet<QString>> have;
    while (tableColumns.next())
        have[tableColumns.value(0).toString().toLower()].insert(
            tableColumns.value(1).toString().toLower());
    for (const auto& table : Schema::tables()) {
        const QSet<QString> columns = have.value(table.name.toLower());
        for (const auto& column : table.columns)
            if (!columns.contains(column.name.toLower()))
                throw DbError(QStringLiteral("The shop database %1 is damaged: %2 has no column "
                                             "%3. The program ends and leaves %4 as it is.")
                                  .arg(shown, table.name, column.name, kept));
    }
}

QString defaultPath()
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QDir(dir).filePath(QStringLiteral("tavlin.db"));
}

int currentVersion(const QList<UpgradeStep>& steps)
{
    return 1 + int(steps.size());
}

QSqlQuery execute(QSqlDatabase& db, const QString& statement)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(statement))
        throw DbError(q.lastError().databaseText().isEmpty() ? q.lastError().text()
                                                             : q.lastError().databaseText());
    return q;
}

void checkHeader(const QString& path)
{
    checkFileHeader(path);
}

void createBlank(const QString& path)
{
    create(path, currentVersion(upgradeSteps()), true);
}

int version(const QSqlDatabase& db)
{
    QSqlDatabase handle = db;
    return pragmaInt(handle, "user_version");
}

void open(const QString& path, const QString& connectionName, const QList<UpgradeStep>& steps)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        if (!QDir().mkpath(info.absolutePath()))
            throw DbError(QStringLiteral("The folder %1 cannot be created.")
                              .arg(QDir::toNativeSeparators(info.absolutePath())));
        create(path, currentVersion(steps));
    } else {
        checkFileHeader(path);
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    openConnection(db, path);
    run(db, QStringLiteral("PRAGMA synchronous = FULL"));
    // Ten years of documents do not fit SQLite's default 2 MiB page cache: look-ups by index
    // then go to the file again and again. 64 MiB keeps a large shop's indexes in memory.
    run(db, QStringLiteral("PRAGMA cache_size = -65536"));
    const int version = pragmaInt(db, "user_version");
    const int current = currentVersion(steps);
    if (version > current) {
        db.close();
        throw DbError(QStringLiteral("The shop database %1 was written by a newer release of "
                                     "Tavlin (schema %2; this release knows %3). The program ends "
                                     "and leaves the file as it is.")
                          .arg(QDir::toNativeSeparators(path))
                          .arg(version)
                          .arg(current));
    }
    if (version < 1) {
        db.close();
        throw DbError(QStringLiteral("The shop database %1 is incomplete. The program ends and "
                                     "leaves the file as it is.")
                          .arg(QDir::toNativeSeparators(path)));
    }
    try {
        // The tables are checked against today's schema once the file has reached it.
        upgrade(db, version, steps);
        checkTables(db, path);
    } catch (...) {
        db.close();
        throw;
    }
}

} // namespace ShopDatabase
