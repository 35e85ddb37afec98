#pragma once

#include <QList>
#include <QString>

#include <functional>

class QSqlDatabase;
class QSqlQuery;
class SqlDialect;

// The embedded shop database file: created complete on first start, checked on every start,
// and upgraded step by step when a later release adds to the schema.
namespace ShopDatabase {

// One upgrade of the schema: the statements that bring a file from one version to the next.
using UpgradeStep = std::function<void(QSqlDatabase&)>;

// The upgrades of this release: step i brings a file from version i + 1 to i + 2. Version 1
// is the schema of the first release; a file is at version 1 + the number of steps.
const QList<UpgradeStep>& upgradeSteps();
int currentVersion(const QList<UpgradeStep>& steps = upgradeSteps());

// How statements are written for the engine of an open database, for upgrade steps that run on
// the embedded file and on a server alike.
const SqlDialect& dialectOf(const QSqlDatabase& db);
// Whether the database holds the table, whatever the letter case of its name.
bool hasTable(const QSqlDatabase& db, const QString& name);

// Reads the rows (table, column) of an executed query and throws DbError naming the database
// (shown) and the first column of today's schema it lacks; kept names what is left as it is
// ("the file").
void checkColumns(QSqlQuery& tableColumns, const QString& shown, const QString& kept);

// tavlin.db in the application-data folder (which follows XDG_DATA_HOME).
QString defaultPath();

// Opens the file as the connection named connectionName. A missing file is created complete
// at the current version; an older file is upgraded step by step, each step in one
// transaction, and only then are its tables checked. Throws DbError, leaving the file as it
// was (or as its last completed step left it), when it is not a usable shop database.
void open(const QString& path, const QString& connectionName,
          const QList<UpgradeStep>& steps = upgradeSteps());

// Runs statement straight on an open database, its rows read forward only; throws DbError
// with the engine's message.
QSqlQuery execute(QSqlDatabase& db, const QString& statement);

// Reads the file's header without opening it through the database engine; throws DbError
// when the file cannot be read, is no database or is another program's.
void checkHeader(const QString& path);

// Creates a file of today's schema without any row (no profile, no user) in the rollback
// journal mode, a single file to hold a copy of a shop. Throws DbError.
void createBlank(const QString& path);

// The schema version written in an open shop database.
int version(const QSqlDatabase& db);

} // namespace ShopDatabase
