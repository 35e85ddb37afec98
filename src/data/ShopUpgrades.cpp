#include "data/DbError.h"
#include "data/Password.h"
#include "data/Schema.h"
#include "data/ShopDatabase.h"
#include "data/SqlDialect.h"
#include "data/TruckSearch.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

// The numbered upgrade steps of the shop database, on the file and on a server alike, and
// what they need.

namespace {

void run(QSqlDatabase& db, const QString& statement)
{
    ShopDatabase::execute(db, statement);
}

bool hasColumn(const QSqlDatabase& db, const QString& table, const QString& column)
{
    // A server keeps the names in lower case.
    QSqlRecord record = db.record(table);
    if (record.isEmpty())
        record = db.record(table.toLower());
    for (int c = 0; c < record.count(); ++c)
        if (record.fieldName(c).compare(column, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// Gives a file's table its hidden row key: the table is written anew from its own definition
// (every column with its type and collation) with the key added last, its rows numbered in
// the order they are stored, every value kept, and its indexes made again as they were.
void addRowKeyToFile(QSqlDatabase& db, const QString& table)
{
    QSqlQuery definition(db);
    if (!definition.exec(QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'table' AND "
                                        "name = '%1'")
                             .arg(table)) ||
        !definition.next())
        throw DbError(QStringLiteral("The table %1 cannot be read.").arg(table));
    const QString created = definition.value(0).toString();
    // An unfinished read of the schema would keep the table from being dropped.
    definition.finish();
    const qsizetype open = created.indexOf(QLatin1Char('('));
    const qsizetype close = created.lastIndexOf(QLatin1Char(')'));
    if (open < 0 || close < open)
        throw DbError(QStringLiteral("The table %1 cannot be read.").arg(table));
    QSqlQuery info(db);
    if (!info.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table)))
        throw DbError(info.lastError().databaseText());
    QStringList names;
    while (info.next())
        names.append(QLatin1Char('"') + info.value(1).toString() + QLatin1Char('"'));
    info.finish();
    QSqlQuery indexes(db);
    if (!indexes.exec(QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'index' AND "
                                     "tbl_name = '%1' AND sql IS NOT NULL")
                          .arg(table)))
        throw DbError(indexes.lastError().databaseText());
    QStringList indexStatements;
    while (indexes.next())
        indexStatements.append(indexes.value(0).toString());
    indexes.finish();
    const QString fresh = QStringLiteral("tavlin_rebuilt");
    const QString columns = names.join(QStringLiteral(", "));
    run(db, QStringLiteral("CREATE TABLE \"%1\" (%2, %3)")
                .arg(fresh, created.mid(open + 1, close - open - 1),
                     SqliteDialect().rowKeyDefinition()));
    run(db, QStringLiteral("INSERT INTO \"%1\" (%2) SELECT %2 FROM \"%3\" ORDER BY rowid")
                .arg(fresh, columns, table));
    run(db, QStringLiteral("DROP TABLE \"%1\"").arg(table));
    run(db, QStringLiteral("ALTER TABLE \"%1\" RENAME TO \"%2\"").arg(fresh, table));
    for (const QString& statement : indexStatements)
        run(db, statement);
}

// Whether a server's table has a primary key.
bool hasPrimaryKey(QSqlDatabase& db, const QString& table)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT 1 FROM information_schema.table_constraints WHERE "
                               "table_schema = current_schema() AND lower(table_name) = "
                               "lower('%1') AND constraint_type = 'PRIMARY KEY'")
                    .arg(table)))
        throw DbError(q.lastError().databaseText());
    return q.next();
}

// The passwords of an older shop hashed, the first user made the owner, the columns of a
// user's wrong tries added and the archive code kept as a hash: upgrade step 6.
void secureUsers(QSqlDatabase& db)
{
    if (!ShopDatabase::hasTable(db, QStringLiteral("Pass")))
        return;
    const SqlDialect& sql = ShopDatabase::dialectOf(db);
    const bool file = db.driverName() == QLatin1String("QSQLITE");
    const auto yesNo = [file](bool value) {
        return file ? QVariant(qlonglong(value ? 1 : 0)) : QVariant(value);
    };
    const Schema::Table* pass = Schema::table(QStringLiteral("Pass"));
    for (const Schema::Column& column : pass->columns)
        if (!hasColumn(db, QStringLiteral("Pass"), column.name))
            run(db, QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                        .arg(sql.identifier(pass->name), column.name,
                             sql.columnType(column.kind, column.exactCase)));
    if (!ShopDatabase::hasTable(db, QStringLiteral("Setting"))) {
        run(db, Schema::createTableStatement(*Schema::table(QStringLiteral("Setting")), sql));
        for (const QString& statement :
             Schema::createIndexStatements(sql, QStringLiteral("Setting")))
            run(db, statement);
    }
    const QString key = SqlDialect::rowKeyColumn();
    QSqlQuery users(db);
    users.setForwardOnly(true);
    if (!users.exec(QStringLiteral("SELECT %1, Password_Pass FROM %2 ORDER BY %1")
                        .arg(key, sql.identifier(pass->name))))
        throw DbError(users.lastError().databaseText());
    QList<QPair<qint64, QString>> rows;
    while (users.next())
        rows.append({users.value(0).toLongLong(), users.value(1).toString()});
    users.finish();
    for (int i = 0; i < rows.size(); ++i) {
        const auto& [row, stored] = rows.at(i);
        QSqlQuery update(db);
        update.prepare(QStringLiteral("UPDATE %1 SET Password_Pass = ?, Owner_Pass = ?, "
                                      "Disabled_Pass = ?, Failed_Pass = 0, FirstPassword_Pass = ? "
                                      "WHERE %2 = ?")
                           .arg(sql.identifier(pass->name), key));
        const bool plain = !Password::isHashed(stored);
        update.addBindValue(plain ? Password::hash(stored) : stored);
        update.addBindValue(yesNo(i == 0));
        update.addBindValue(yesNo(false));
        // The password a new shop starts with, still in use: the owner is told to change it.
        update.addBindValue(yesNo(plain && stored == Schema::guestPassword()));
        update.addBindValue(row);
        if (!update.exec())
            throw DbError(update.lastError().databaseText());
    }
    QSqlQuery code(db);
    if (!code.exec(QStringLiteral("SELECT 1 FROM %1 WHERE Name_Setting = 'ArchiveCode'")
                       .arg(sql.identifier(QStringLiteral("Setting")))))
        throw DbError(code.lastError().databaseText());
    if (!code.next()) {
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral("INSERT INTO %1 (Name_Setting, Value_Setting) VALUES "
                                      "('ArchiveCode', ?)")
                           .arg(sql.identifier(QStringLiteral("Setting"))));
        insert.addBindValue(Password::hashCode(Schema::archiveCode()));
        if (!insert.exec())
            throw DbError(insert.lastError().databaseText());
    }
}

} // namespace

namespace ShopDatabase {

const QList<UpgradeStep>& upgradeSteps()
{
    // Add a step here for each change of the schema after the first release, and change
    // Schema::tables() and the indexes to match what the steps make.
    static const QList<UpgradeStep> steps = {
        // Version 2: the payment methods already used are listed from an index instead of
        // reading every payment.
        [](QSqlDatabase& db) {
            // A file without the table is refused by the check that follows the upgrades.
            if (!hasTable(db, QStringLiteral("Receivable")))
                return;
            const SqlDialect& sql = dialectOf(db);
            run(db, QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (ViaPayment_Receivable)")
                        .arg(sql.identifier(QStringLiteral("ix_Receivable_ViaPayment_Receivable")),
                             sql.identifier(QStringLiteral("Receivable"))));
        },
        // Version 3: the numbers New gives out are unique keys, so that two stations saving at
        // once cannot store one number twice. A file that already holds a number twice keeps
        // its plain index there: its rows stay as they are and can be told apart by hand.
        [](QSqlDatabase& db) {
            const SqlDialect& sql = dialectOf(db);
            for (const auto& [table, column] : Schema::uniqueKeys()) {
                if (!hasTable(db, table))
                    continue;
                QSqlQuery twice(db);
                if (!twice.exec(QStringLiteral("SELECT 1 FROM %1 WHERE %2 IS NOT NULL GROUP BY %2 "
                                               "HAVING COUNT(*) > 1 LIMIT 1")
                                    .arg(sql.identifier(table), column)))
                    throw DbError(twice.lastError().databaseText());
                if (twice.next())
                    continue;
                const QString index = sql.identifier(QStringLiteral("ix_%1_%2").arg(table, column));
                run(db, QStringLiteral("DROP INDEX IF EXISTS %1").arg(index));
                run(db, QStringLiteral("CREATE UNIQUE INDEX %1 ON %2 (%3)")
                            .arg(index, sql.identifier(table), column));
            }
        },
        // Version 4: every row has a key of its own, so that Save and Delete reach the line,
        // payment, deposit or bill the user chose and no other that holds the same values.
        // Payments taken on estimates and archived documents get tables of their own.
        [](QSqlDatabase& db) {
            const SqlDialect& sql = dialectOf(db);
            const bool file = db.driverName() == QLatin1String("QSQLITE");
            const QStringList added = {"EstimateReceivable",     "ReceivableCash",
                                       "EstimateReceivableCash", "EstimateCash",
                                       "EstimateItemCash",       "EstimateLaborCash"};
            for (const Schema::Table& table : Schema::tables()) {
                const bool exists = hasTable(db, table.name);
                // A table missing from an older file is left to the check that follows.
                if (!exists && !added.contains(table.name))
                    continue;
                if (!exists) {
                    run(db, Schema::createTableStatement(table, sql));
                    for (const QString& statement : Schema::createIndexStatements(sql, table.name))
                        run(db, statement);
                    continue;
                }
                if (file) {
                    if (!hasColumn(db, table.name, SqlDialect::rowKeyColumn()))
                        addRowKeyToFile(db, table.name);
                } else if (!hasPrimaryKey(db, table.name)) {
                    // A server's rows were numbered from the start; the key makes them found
                    // by it at once.
                    run(db, QStringLiteral("ALTER TABLE %1 ADD PRIMARY KEY (%2)")
                                .arg(table.name, SqlDialect::rowKeyColumn()));
                }
            }
        },
        // Version 5: a list sorted on a column reads its screen along that column's index. A
        // server's indexes of one column sort empty values first, as the lists do, and end in
        // the row key; the file's already do.
        [](QSqlDatabase& db) {
            if (db.driverName() == QLatin1String("QSQLITE"))
                return;
            const SqlDialect& sql = dialectOf(db);
            for (const Schema::Table& table : Schema::tables()) {
                if (!hasTable(db, table.name))
                    continue;
                for (const QString& statement : Schema::createIndexStatements(sql, table.name)) {
                    if (statement.startsWith(QLatin1String("CREATE UNIQUE")) ||
                        !statement.contains(QLatin1String(" NULLS FIRST")))
                        continue;
                    const QString name = statement.section(QLatin1Char(' '), 2, 2);
                    run(db, QStringLiteral("DROP INDEX IF EXISTS %1").arg(name));
                    run(db, statement);
                }
            }
        },
        // Version 6: passwords are kept as hashes, every plain one hashed in this one step; the
        // first user becomes the owner who manages the users; a user's wrong tries and the
        // wait they earn are kept with the user; the archive code is kept as a hash.
        [](QSqlDatabase& db) { secureUsers(db); },
        // Version 7: an estimate made into an invoice keeps that invoice's number.
        [](QSqlDatabase& db) {
            if (hasTable(db, QStringLiteral("Estimate")) &&
                !hasColumn(db, QStringLiteral("Estimate"), QStringLiteral("Invoice_Est")))
                run(db, QStringLiteral("ALTER TABLE %1 ADD COLUMN Invoice_Est %2")
                            .arg(dialectOf(db).identifier(QStringLiteral("Estimate")),
                                 dialectOf(db).columnType(ColumnKind::Integer, false)));
        },
        // Version 8: a truck's documents are found by any part of its VIN, truck number or
        // plate, from an index.
        [](QSqlDatabase& db) {
            for (const TruckSearch::Source& source : TruckSearch::sources())
                if (!hasTable(db, source.table))
                    return;
            const SqlDialect& sql = dialectOf(db);
            for (const TruckSearch::Source& source : TruckSearch::sources())
                for (QString statement : Schema::createIndexStatements(sql, source.table))
                    if (statement.contains(QLatin1String("_Vin_Inv")) ||
                        statement.contains(QLatin1String("_TruckNo_Inv")) ||
                        statement.contains(QLatin1String("_Plate_Inv")))
                        run(db, statement.replace(QLatin1String("CREATE INDEX "),
                                                  QLatin1String("CREATE INDEX IF NOT EXISTS ")));
            for (const QString& statement :
                 TruckSearch::createStatements(db.driverName() != QLatin1String("QSQLITE")))
                run(db, statement);
        },
    };
    return steps;
}

} // namespace ShopDatabase
