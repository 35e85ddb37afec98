#include "backup/ShopCheck.h"

#include "data/Connection.h"
#include "data/DatabaseTarget.h"
#include "data/DbError.h"
#include "data/Schema.h"
#include "data/ServerDatabase.h"
#include "data/ShopDatabase.h"
#include "data/SqlDialect.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>
#include <sqlite3.h>

namespace {

// A line or payment table whose rows belong to a document of another table.
struct Belonging
{
    const char* table;
    const char* column;
    const char* documentTable;
    const char* documentColumn;
    // Where the document may also be: an archived document keeps the payments it had.
    const char* orArchived;
    const char* document;
    const char* one;
    const char* many;
};

const Belonging belongings[] = {
    {"InvItem", "Inv_Item", "Invoice", "InvoiceNo_Inv", nullptr, "invoice", "a part line",
     "part lines"},
    {"InvLabor", "Inv_Labor", "Invoice", "InvoiceNo_Inv", nullptr, "invoice", "a labor line",
     "labor lines"},
    {"EstimateItem", "Inv_Item", "Estimate", "InvoiceNo_Inv", nullptr, "estimate", "a part line",
     "part lines"},
    {"EstimateLabor", "Inv_Labor", "Estimate", "InvoiceNo_Inv", nullptr, "estimate", "a labor line",
     "labor lines"},
    {"InvItemCash", "Inv_Item", "InvoiceCash", "InvoiceNo_Inv", nullptr, "archived invoice",
     "a part line", "part lines"},
    {"InvLaborCash", "Inv_Labor", "InvoiceCash", "InvoiceNo_Inv", nullptr, "archived invoice",
     "a labor line", "labor lines"},
    {"EstimateItemCash", "Inv_Item", "EstimateCash", "InvoiceNo_Inv", nullptr, "archived estimate",
     "a part line", "part lines"},
    {"EstimateLaborCash", "Inv_Labor", "EstimateCash", "InvoiceNo_Inv", nullptr,
     "archived estimate", "a labor line", "labor lines"},
    {"Items", "Po_Item", "Orders", "Po_Order", nullptr, "order", "a part line", "part lines"},
    {"BillItem", "Inv_Bill", "Bill", "Ref_Bill", nullptr, "bill", "a part line", "part lines"},
    {"BillExpense", "Bill_Expense", "Bill", "Ref_Bill", nullptr, "bill", "an expense line",
     "expense lines"},
    {"Receivable", "InvoiceNo_Receivable", "Invoice", "InvoiceNo_Inv", "InvoiceCash", "invoice",
     "a payment", "payments"},
    {"ReceivableCash", "InvoiceNo_Receivable", "InvoiceCash", "InvoiceNo_Inv", nullptr,
     "archived invoice", "a payment", "payments"},
    {"EstimateReceivable", "InvoiceNo_Receivable", "Estimate", "InvoiceNo_Inv", "EstimateCash",
     "estimate", "a payment", "payments"},
    {"EstimateReceivableCash", "InvoiceNo_Receivable", "EstimateCash", "InvoiceNo_Inv", nullptr,
     "archived estimate", "a payment", "payments"},
    {"Payable", "BillNo_Payable", "Bill", "Ref_Bill", nullptr, "bill", "a payment", "payments"},
};

// What one row of a table with a unique number is called.
QString documentOf(const QString& table)
{
    static const QHash<QString, QString> names = {
        {"invoice", "invoice"},
        {"estimate", "estimate"},
        {"orders", "order"},
        {"part", "part"},
        {"company", "vendor"},
        {"customer", "customer"},
        {"employee", "employee"},
        {"labor", "labor operation"},
        {"tax", "tax rate"},
        {"pass", "user"},
        {"bank", "bank account"},
        {"invoicecash", "archived invoice"},
        {"estimatecash", "archived estimate"},
    };
    return names.value(table.toLower(), table);
}

QString times(qint64 n)
{
    return n == 2 ? QStringLiteral("twice") : QStringLiteral("%1 times").arg(n);
}

void checkBelongings(QSqlDatabase& db, const QSet<QString>& tables, QStringList& faults)
{
    const SqlDialect& sql = ShopDatabase::dialectOf(db);
    for (const Belonging& b : belongings) {
        if (!tables.contains(QString::fromLatin1(b.table).toLower()) ||
            !tables.contains(QString::fromLatin1(b.documentTable).toLower()))
            continue;
        QString missing = QStringLiteral("NOT EXISTS (SELECT 1 FROM %1 d WHERE d.%2 = c.%3)")
                              .arg(sql.identifier(QLatin1String(b.documentTable)),
                                   QLatin1String(b.documentColumn), QLatin1String(b.column));
        if (b.orArchived && tables.contains(QString::fromLatin1(b.orArchived).toLower()))
            missing += QStringLiteral(" AND NOT EXISTS (SELECT 1 FROM %1 a WHERE a.%2 = c.%3)")
                           .arg(sql.identifier(QLatin1String(b.orArchived)),
                                QLatin1String(b.documentColumn), QLatin1String(b.column));
        QSqlQuery q = ShopDatabase::execute(
            db, QStringLiteral("SELECT c.%1, COUNT(*) FROM %2 c WHERE %3 GROUP BY "
                               "c.%1 ORDER BY c.%1")
                    .arg(QLatin1String(b.column), sql.identifier(QLatin1String(b.table)), missing));
        while (q.next()) {
            const qint64 n = q.value(1).toLongLong();
            const QString what = n == 1 ? QString::fromLatin1(b.one)
                                        : QStringLiteral("%1 %2").arg(n).arg(QLatin1String(b.many));
            const QString document = QString::fromLatin1(b.document);
            if (q.value(0).isNull() || q.value(0).toString().trimmed().isEmpty())
                faults.append(QStringLiteral("%1: %2 without a number (in %3)")
                                  .arg(document, what, QLatin1String(b.table)));
            else
                faults.append(QStringLiteral("%1 %2: %3 without %4 %5")
                                  .arg(document, q.value(0).toString(), what,
                                       n == 1 ? QStringLiteral("its") : QStringLiteral("their"),
                                       document.section(QLatin1Char(' '), -1)));
        }
    }
}

void checkNumbers(QSqlDatabase& db, const QSet<QString>& tables, QStringList& faults)
{
    const SqlDialect& sql = ShopDatabase::dialectOf(db);
    for (const auto& [table, column] : Schema::uniqueKeys()) {
        if (!tables.contains(table.toLower()))
            continue;
        QSqlQuery q = ShopDatabase::execute(
            db, QStringLiteral("SELECT %1, COUNT(*) FROM %2 WHERE %1 IS NOT NULL "
                               "GROUP BY %1 HAVING COUNT(*) > 1 ORDER BY %1")
                    .arg(column, sql.identifier(table)));
        while (q.next())
            faults.append(
                QStringLiteral("%1 %2: its number is held %3")
                    .arg(documentOf(table), q.value(0).toString(), times(q.value(1).toLongLong())));
    }
}

QSet<QString> tablesOf(const QSqlDatabase& db)
{
    QSet<QString> names;
    for (const QString& t : db.tables())
        names.insert(t.toLower());
    return names;
}

} // namespace

namespace ShopCheck {

Report check(QSqlDatabase& db)
{
    Report report;
    const bool file = db.driverName() == QLatin1String("QSQLITE");
    if (file) {
        try {
            QSqlQuery q = ShopDatabase::execute(db, QStringLiteral("PRAGMA integrity_check(50)"));
            while (q.next())
                if (q.value(0).toString() != QLatin1String("ok"))
                    report.faults.append(QStringLiteral("the file: ") + q.value(0).toString());
        } catch (const DbError& e) {
            report.faults.append(QStringLiteral("the file is damaged: ") + e.message());
            return report;
        }
    }
    const int version = file ? ShopDatabase::version(db) : ServerDatabase::version(db);
    const int current = ShopDatabase::currentVersion();
    if (version < 1) {
        report.faults.append(QStringLiteral("it holds no Tavlin shop"));
        return report;
    }
    if (version > current) {
        report.faults.append(QStringLiteral("the shop is of a newer release of Tavlin (schema %1; "
                                            "this release knows %2)")
                                 .arg(version)
                                 .arg(current));
        return report;
    }
    if (version < current)
        report.notes.append(QStringLiteral("the shop is at schema %1: the next start upgrades it "
                                           "to %2")
                                .arg(version)
                                .arg(current));
    const QSet<QString> tables = tablesOf(db);
    try {
        checkBelongings(db, tables, report.faults);
        checkNumbers(db, tables, report.faults);
    } catch (const DbError& e) {
        report.faults.append(QStringLiteral("the shop cannot be read through: ") + e.message());
    }
    return report;
}

Report check(const DatabaseTarget& target)
{
    static std::atomic<int> next{0};
    const QString name = QStringLiteral("tavlin-check-%1").arg(next++);
    Report report;
    {
        QSqlDatabase db;
        if (target.isServer()) {
            db = Connection::openServerDatabase(target, name);
        } else {
            const QString shown = QDir::toNativeSeparators(target.location);
            if (!QFileInfo(target.location).isFile())
                throw DbError(QStringLiteral("There is no shop database at %1.").arg(shown));
            try {
                ShopDatabase::checkHeader(target.location);
            } catch (const DbError&) {
                throw DbError(QStringLiteral("%1 is not a Tavlin shop database.").arg(shown));
            }
            db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(target.location);
            // Opened for writing, so that the journal a program left when it was cut off can
            // be read, but told to write nothing: no statement may change the shop, and
            // closing does not fold the journal into the file.
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
            sqlite3* handle = nullptr;
            if (db.open()) {
                const QVariant h = db.driver()->handle();
                if (h.isValid() && qstrcmp(h.typeName(), "sqlite3*") == 0)
                    handle = *static_cast<sqlite3* const*>(h.data());
            }
            if (handle) {
                sqlite3_db_config(handle, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
                sqlite3_exec(handle, "PRAGMA query_only = ON", nullptr, nullptr, nullptr);
            } else {
                // A file this user may only read.
                db.close();
                db.setConnectOptions(
                    QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=10000"));
                if (!db.open())
                    report.faults.append(QStringLiteral("the file cannot be opened: ") +
                                         db.lastError().text());
            }
        }
        if (db.isOpen())
            report = check(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return report;
}

} // namespace ShopCheck
