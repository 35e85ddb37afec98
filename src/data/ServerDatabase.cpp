#include "data/ServerDatabase.h"

#include "data/DbError.h"
#include "data/Schema.h"
#include "data/SqlDialect.h"
#include "data/TruckSearch.h"

#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

// The tables of the connection's own schema, in lower case.
QSet<QString> tablesOf(QSqlDatabase& db)
{
    QSqlQuery q = ShopDatabase::execute(
        db, QStringLiteral("SELECT lower(table_name) FROM information_schema.tables "
                           "WHERE table_schema = current_schema()"));
    QSet<QString> tables;
    while (q.next())
        tables.insert(q.value(0).toString());
    return tables;
}

const QString versionTable = QStringLiteral("tavlin_schema");

void inTransaction(QSqlDatabase& db, const std::function<void()>& work)
{
    if (!db.transaction())
        throw DbError(db.lastError().text());
    try {
        work();
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit())
        throw DbError(db.lastError().text());
}

} // namespace

namespace ServerDatabase {

int version(QSqlDatabase& db)
{
    if (!tablesOf(db).contains(versionTable))
        return 0;
    QSqlQuery q =
        ShopDatabase::execute(db, QStringLiteral("SELECT max(version) FROM ") + versionTable);
    return q.next() ? q.value(0).toInt() : 0;
}

void create(QSqlDatabase& db, const QList<ShopDatabase::UpgradeStep>& steps)
{
    create(db, {}, steps);
}

void create(QSqlDatabase& db, const std::function<void(QSqlDatabase&)>& fill,
            const QList<ShopDatabase::UpgradeStep>& steps)
{
    const PostgresDialect dialect;
    inTransaction(db, [&] {
        // Two stations asked to create at once: the second waits here, then finds the tables.
        ShopDatabase::execute(db, QStringLiteral("SELECT pg_advisory_xact_lock(5412)"));
        const QSet<QString> existing = tablesOf(db);
        if (existing.contains(versionTable))
            throw DbError(QStringLiteral("The database already holds a Tavlin shop; nothing was "
                                         "changed."));
        if (!existing.isEmpty())
            throw DbError(QStringLiteral("The database holds tables of something else (%1 tables); "
                                         "a shop is created only on an empty database. Nothing was "
                                         "changed.")
                              .arg(existing.size()));
        // Texts compare without regard to letter case, as on the embedded file.
        if (!ShopDatabase::execute(
                 db, QStringLiteral("SELECT 1 FROM pg_extension WHERE extname = 'citext'"))
                 .next())
            ShopDatabase::execute(db, QStringLiteral("CREATE EXTENSION citext"));
        for (const auto& table : Schema::tables())
            ShopDatabase::execute(db, Schema::createTableStatement(table, dialect));
        for (const auto& statement : Schema::createIndexStatements(dialect))
            ShopDatabase::execute(db, statement);
        for (const auto& statement : TruckSearch::createStatements(true))
            ShopDatabase::execute(db, statement);
        if (fill) {
            fill(db);
        } else {
            for (const auto& statement : Schema::seedStatements())
                ShopDatabase::execute(db, statement);
        }
        ShopDatabase::execute(
            db, QStringLiteral("CREATE TABLE %1 (version integer NOT NULL)").arg(versionTable));
        ShopDatabase::execute(db, QStringLiteral("INSERT INTO %1 (version) VALUES (%2)")
                                      .arg(versionTable)
                                      .arg(ShopDatabase::currentVersion(steps)));
    });
}

void check(QSqlDatabase& db, const QString& shown, const QList<ShopDatabase::UpgradeStep>& steps)
{
    const int current = ShopDatabase::currentVersion(steps);
    const int found = version(db);
    if (found == 0) {
        if (tablesOf(db).isEmpty())
            throw DbError(QStringLiteral("The database %1 holds no shop yet. Create it once with "
                                         "tavlin --create and the same --server or --odbc.")
                              .arg(shown));
        throw DbError(QStringLiteral("The database %1 is not a Tavlin shop database. The program "
                                     "ends and leaves it as it is.")
                          .arg(shown));
    }
    if (found > current)
        throw DbError(QStringLiteral("The shop database %1 was written by a newer release of "
                                     "Tavlin (schema %2; this release knows %3). The program ends "
                                     "and leaves it as it is.")
                          .arg(shown)
                          .arg(found)
                          .arg(current));
    if (found < current) {
        inTransaction(db, [&] {
            // One station upgrades; the others wait and then find the work done.
            ShopDatabase::execute(
                db, QStringLiteral("LOCK TABLE %1 IN EXCLUSIVE MODE").arg(versionTable));
            for (int v = version(db); v < current; ++v) {
                steps.at(v - 1)(db);
                ShopDatabase::execute(
                    db, QStringLiteral("UPDATE %1 SET version = %2").arg(versionTable).arg(v + 1));
            }
        });
    }
    QSqlQuery columns = ShopDatabase::execute(
        db, QStringLiteral("SELECT lower(table_name), lower(column_name) FROM "
                           "information_schema.columns WHERE table_schema = "
                           "current_schema()"));
    ShopDatabase::checkColumns(columns, shown, QStringLiteral("it"));
}

} // namespace ServerDatabase
