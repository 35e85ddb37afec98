// The statement builder, numbers read back exactly, the queries a window holds of its own, the
// change counts that let a window keep its rows, and the schema upgrades of a shop file.

#include "TestShop.h"
#include "data/AccessSql.h"
#include "data/Connection.h"
#include "data/DatabaseTarget.h"
#include "data/DbError.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "data/ShopDatabase.h"
#include "data/SqlDialect.h"
#include "data/SqlRow.h"
#include "data/TDM.h"
#include "data/Transaction.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

void run(const SqlStatement& statement)
{
    const std::unique_ptr<Query> q(new Query(QStringLiteral("Q2"), DM->admin1(), nullptr));
    q->setSql(statement);
    q->exec();
}

void run(const QStringList& statement)
{
    run(SqlStatement{statement});
}

QString sumText(const QString& statement)
{
    const std::unique_ptr<Query> q(new Query(QStringLiteral("Q1"), DM->admin1(), nullptr));
    q->setSql({statement});
    q->open();
    return q->field(QStringLiteral("Expr1000")).asText();
}

// Runs statements straight on a shop file, past the program.
void direct(const QString& path, const QStringList& statements)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "direct");
        db.setDatabaseName(path);
        QVERIFY(db.open());
        for (const QString& statement : statements) {
            QSqlQuery q(db);
            QVERIFY2(q.exec(statement), qPrintable(q.lastError().text()));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase("direct");
}

QVariant directValue(const QString& path, const QString& statement)
{
    QVariant value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "direct");
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(statement) && q.next())
                value = q.value(0);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase("direct");
    return value;
}

} // namespace

class TestStatements : public QObject
{
    Q_OBJECT

private slots:
    void postgresWording_data();
    void postgresWording();
    void postgresSchema();
    void schemaOnServer();
    void serverIndexesServeSortedLists();
    void valuesByKind_data();
    void valuesByKind();
    void statementsKeepTheirShape();
    void refusedValueRunsNothing_data();
    void refusedValueRunsNothing();
    void typedTextRoundTrips_data();
    void typedTextRoundTrips();
    void boundTextsIgnoreLetterCase();
    void sumsReadExactly_data();
    void sumsReadExactly();
    void ownQueriesKeepTheirRows();
    void changesAreCounted();
    void findRowAndSortAgain();
    void filterKeepsOrderAndSorting();
    void newFileIsCurrent();
    void oldFileIsUpgraded();
    void firstReleaseFileGetsTodaysIndexes();
    void truckSearchIsMadeFromStoredDocuments();
    void numbersBecomeUniqueUnlessRepeated();
    void rowsGetKeysOfTheirOwn();
    void failedUpgradeKeepsTheFile();
    // Last: from it on, this process counts commands, as the program does.
    void anotherStationsChangeAtTheNextCommand();
};

void TestStatements::postgresWording_data()
{
    QTest::addColumn<QString>("access");
    QTest::addColumn<QString>("postgres");
    QTest::newRow("yes/no and dates")
        << "Select * From Invoice where Paid_Inv=No And InvoiceDate_Inv Between #3/1/2026# and "
           "#3/31/2026#"
        << "Select * From Invoice where Paid_Inv=FALSE And InvoiceDate_Inv Between DATE "
           "'2026-03-01' and DATE '2026-03-31' ORDER BY tavlin_row";
    QTest::newRow("unnamed sum") << "select SUM(Amount_Item) From InvItem"
                                 << "select SUM(Amount_Item) AS Expr1000 From InvItem";
    QTest::newRow("top") << "Select Top 1 Tax_T From Tax Order By A_T"
                         << "Select Tax_T From Tax Order By A_T NULLS FIRST LIMIT 1";
    QTest::newRow("nz and year")
        << "select Nz(Sum(T_Amount_Tax), 0) As Total From TotalTax where T_Inv_Tax = "
           "Year(#1/2/2026#)"
        << "select COALESCE(Sum(T_Amount_Tax), 0) As Total From TotalTax where T_Inv_Tax = "
           "CAST(EXTRACT(YEAR FROM DATE '2026-01-02') AS INTEGER)";
    QTest::newRow("whole numbers truncate and round as on the file")
        << "Select Int(Qty_Item), CInt(Rate_Item) From InvItem"
        << "Select CAST(TRUNC(Qty_Item) AS INTEGER) AS Expr1000 , CAST(ROUND(CAST(Rate_Item AS "
           "NUMERIC)) AS INTEGER) AS Expr1001 From InvItem ORDER BY tavlin_row";
    QTest::newRow("text inside quotes untouched")
        << "Select * From Customer where Name_Customer = 'Yes & No #1/2/3#'"
        << "Select * From Customer where Name_Customer = 'Yes & No #1/2/3#' ORDER BY tavlin_row";
    QTest::newRow("case-blind compare")
        << "Select StrComp(Name_Customer, 'smith', 1) From Customer"
        << "Select (CASE WHEN LOWER(CAST(Name_Customer AS TEXT)) COLLATE \"C\" < "
           "LOWER(CAST('smith' AS TEXT)) THEN -1 WHEN LOWER(CAST(Name_Customer AS TEXT)) COLLATE "
           "\"C\" > LOWER(CAST('smith' AS TEXT)) THEN 1 ELSE 0 END) AS Expr1000 From Customer "
           "ORDER BY tavlin_row";
    // A plain select of one table is read in the order its rows were added, as the file reads
    // them; anything with an order, a grouping, an aggregate, a join or Distinct is left alone.
    QTest::newRow("own order kept") << "Select * From Labor Order By ID_Labor"
                                    << "Select * From Labor Order By ID_Labor NULLS FIRST";
    // Empty values sort first going up and last going down, as on the file.
    QTest::newRow("empty values first")
        << "Select * From Bill Order By Vendor_Bill Desc, (BillDate_Bill), Ref_Bill"
        << "Select * From Bill Order By Vendor_Bill Desc NULLS LAST, (BillDate_Bill) NULLS FIRST, "
           "Ref_Bill NULLS FIRST";
    QTest::newRow("aggregate inside a call")
        << "Select Nz(Max(ID_Labor)) From Labor"
        << "Select COALESCE(Max(ID_Labor), 0) AS Expr1000 From Labor";
    QTest::newRow("join") << "Select * From Invoice, InvItem where Inv_Item = InvoiceNo_Inv"
                          << "Select * From Invoice, InvItem where Inv_Item = InvoiceNo_Inv";
    QTest::newRow("distinct") << "Select Distinct Type_Material From Part"
                              << "Select DISTINCT Type_Material From Part";
    QTest::newRow("grouped") << "Select Inv_Item, Sum(Amount_Item) From InvItem Group By Inv_Item"
                             << "Select Inv_Item, Sum(Amount_Item) AS Expr1000 From InvItem "
                                "Group By Inv_Item";
    QTest::newRow("subquery keeps its table")
        << "Select * From Invoice where InvoiceNo_Inv In (Select Inv_Item From InvItem)"
        << "Select * From Invoice where InvoiceNo_Inv In(Select Inv_Item From InvItem) ORDER BY "
           "tavlin_row";
    QTest::newRow("rowid is the order column")
        << "Select Name_Item From InvItem where Inv_Item=5 Order By rowid"
        << "Select Name_Item From InvItem where Inv_Item=5 Order By tavlin_row";
    // A page of a long list: its order ends before Limit, whatever the spacing; the row key,
    // never empty, is ordered as the engine orders it, on its index.
    QTest::newRow("a page of a list")
        << "Select *, tavlin_row From Invoice Where (Paid_Inv = ?) Order By CustomerName_Inv "
           "Desc, tavlin_row Desc Limit ? Offset ?"
        << "Select *, tavlin_row From Invoice Where(Paid_Inv = ?) Order By CustomerName_Inv "
           "Desc NULLS LAST, tavlin_row Desc Limit ? Offset ?";
    QTest::newRow("changes untouched") << "Update Labor Set Rate_Labor=5 where ID_Labor=1"
                                       << "Update Labor Set Rate_Labor=5 where ID_Labor=1";
}

void TestStatements::postgresWording()
{
    QFETCH(QString, access);
    QFETCH(QString, postgres);
    const PostgresDialect dialect;
    QCOMPARE(AccessSql(dialect).translate(access).simplified(), postgres);
}

void TestStatements::postgresSchema()
{
    const PostgresDialect dialect;
    // Unquoted names, the types of each kind; texts case-blind but for the exact ones.
    QCOMPARE(Schema::createTableStatement(*Schema::table("Tax"), dialect),
             QStringLiteral("CREATE TABLE Tax (Id_T integer, Year_T integer, A_T integer, E_T "
                            "integer, Tax_T double precision, tavlin_row bigserial PRIMARY KEY)"));
    const QString pass = Schema::createTableStatement(*Schema::table("Pass"), dialect);
    QVERIFY2(pass.contains("UserName_Pass citext") && pass.contains("Password_Pass text"),
             qPrintable(pass));
    const QString invoice = Schema::createTableStatement(*Schema::table("Invoice"), dialect);
    for (const char* column : {"InvoiceDate_Inv date", "Amount_Inv numeric(19,4)",
                               "Paid_Inv boolean", "InvoiceNo_Inv integer"})
        QVERIFY2(invoice.contains(QLatin1String(column)), column);
    // An index of one column also serves a list sorted on it: empty values first, as on the
    // file, then the row key; a unique key stays one column.
    const QStringList indexes = Schema::createIndexStatements(dialect);
    QVERIFY(indexes.contains("CREATE INDEX ix_Invoice_InvoiceDate_Inv ON Invoice (InvoiceDate_Inv "
                             "NULLS FIRST, tavlin_row)"));
    QVERIFY(indexes.contains(
        "CREATE UNIQUE INDEX ix_Invoice_InvoiceNo_Inv ON Invoice (InvoiceNo_Inv)"));
    // The embedded file's schema is as it was.
    QVERIFY(Schema::createTableStatement(*Schema::table("Tax"))
                .startsWith("CREATE TABLE \"Tax\" (\"Id_T\" INTEGER"));
}

void TestStatements::schemaOnServer()
{
    // A server given by the test run, e.g. postgresql://tavlin@127.0.0.1:55432/tavlin.
    const QUrl url(qEnvironmentVariable("TAVLIN_PG_URL"));
    if (!url.isValid() || url.scheme() != "postgresql")
        QSKIP("No PostgreSQL server was given to this run (TAVLIN_PG_URL).");
    if (!QSqlDatabase::isDriverAvailable("QPSQL"))
        QSKIP("Qt's PostgreSQL driver is not installed (libqt6sql6-psql).");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", "server-schema");
        db.setHostName(url.host());
        db.setPort(url.port(5432));
        db.setUserName(url.userName());
        db.setPassword(url.password());
        db.setDatabaseName(url.path().mid(1));
        QVERIFY2(db.open(), qPrintable(db.lastError().text()));
        QSqlQuery q(db);
        // A schema of its own, gone after the test.
        QVERIFY(q.exec("DROP SCHEMA IF EXISTS tavlin_test CASCADE"));
        QVERIFY(q.exec("CREATE SCHEMA tavlin_test"));
        QVERIFY(q.exec("SET search_path TO tavlin_test, public"));
        const PostgresDialect dialect;
        for (const Schema::Table& table : Schema::tables())
            QVERIFY2(q.exec(Schema::createTableStatement(table, dialect)),
                     qPrintable(table.name + ": " + q.lastError().text()));
        for (const QString& statement : Schema::createIndexStatements(dialect))
            QVERIFY2(q.exec(statement), qPrintable(statement + ": " + q.lastError().text()));
        // The shop's statements, in their own wording, find the same rows as on the file.
        const AccessSql sql(dialect);
        QVERIFY(q.exec(sql.translate("Insert into Invoice (InvoiceNo_Inv, CustomerName_Inv, "
                                     "InvoiceDate_Inv, Amount_Inv, Paid_Inv) values (7, "
                                     "'O''Neil Hauling', #3/5/2026#, 10.1, Yes)")));
        QVERIFY(q.exec(sql.translate("Select Sum(Amount_Inv), Year(InvoiceDate_Inv) From "
                                     "Invoice where CustomerName_Inv = 'o''neil hauling' And "
                                     "Paid_Inv = Yes And CustomerName_Inv Like 'O%' Group By "
                                     "InvoiceDate_Inv")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toDouble(), 10.1);
        QCOMPARE(q.value(1).toInt(), 2026);
        QVERIFY(q.exec("DROP SCHEMA tavlin_test CASCADE"));
    }
    QSqlDatabase::removeDatabase("server-schema");
}

// A server's shop of the release before: its one-column indexes sorted empty values last and
// did not end in the row key. Opening it makes them serve the lists sorted on their column.
void TestStatements::serverIndexesServeSortedLists()
{
    if (!TestShop::onServer())
        QSKIP("A server's indexes only: the file's already end in the rowid.");
    TestShop shop;
    shop.exec("DROP INDEX ix_invoice_customername_inv");
    shop.exec("CREATE INDEX ix_invoice_customername_inv ON Invoice (CustomerName_Inv)");
    // Nor had it the trucks' trigram indexes.
    shop.exec("DROP INDEX ix_invoice_truck");
    shop.exec("UPDATE tavlin_schema SET version = 4");
    {
        const std::unique_ptr<Connection> station =
            Connection::shop(QStringLiteral("NextRelease"), TestShop::target());
        station->open();
    }
    QCOMPARE(shop.value("SELECT max(version) FROM tavlin_schema").toInt(),
             ShopDatabase::currentVersion());
    const QString definition = shop.value("SELECT indexdef FROM pg_indexes WHERE indexname = "
                                          "'ix_invoice_customername_inv' AND schemaname = "
                                          "current_schema() ORDER BY indexname")
                                   .toString();
    QVERIFY2(definition.contains("customername_inv NULLS FIRST, tavlin_row"),
             qPrintable(definition));
    const QString trucks = shop.value("SELECT indexdef FROM pg_indexes WHERE indexname = "
                                      "'ix_invoice_truck' AND schemaname = current_schema() "
                                      "ORDER BY indexname")
                               .toString();
    QVERIFY2(trucks.contains("gin_trgm_ops"), qPrintable(trucks));
    // The unique keys stay as they were.
    QVERIFY(
        !shop.value(
                 "SELECT indexdef FROM pg_indexes WHERE indexname = "
                 "'ix_invoice_invoiceno_inv' AND schemaname = current_schema() ORDER BY indexname")
             .toString()
             .contains("NULLS FIRST"));
}

void TestStatements::valuesByKind_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("empty"); // 0 Null, 1 Zero, 2 Refused
    QTest::addColumn<QVariant>("value");
    const auto add = [](const char* name, const char* table, const char* column, const char* text,
                        int empty, const QVariant& value) {
        QTest::newRow(name) << QString(table) << QString(column) << QString(text) << empty << value;
    };
    add("text as typed", "Customer", "Name_Customer", "Acme", 0, QString("Acme"));
    add("quotes kept", "Customer", "Name_Customer", "O'Brien's", 0, QString("O'Brien's"));
    add("text that looks like a statement", "Customer", "Name_Customer", "x'; Delete From Part --",
        0, QString("x'; Delete From Part --"));
    add("empty text stays text", "Customer", "Name_Customer", "", 0, QString(""));
    add("digits in a text column stay text", "Bill", "Ref_Bill", "1007", 0, QString("1007"));
    add("whole number", "Customer", "ID_Customer", " 42 ", 0, qlonglong(42));
    add("money", "Invoice", "Amount_Inv", "1,234.50", 0, 1234.5);
    add("empty number as Null", "Invoice", "Amount_Inv", "  ", 0,
        QVariant(QMetaType::fromType<double>()));
    add("empty number as 0", "Invoice", "Amount_Inv", "", 1, 0.0);
    add("date", "Invoice", "InvoiceDate_Inv", "3/7/05", 0, QDate(2005, 3, 7));
    add("empty date as Null", "Invoice", "InvoiceDate_Inv", "", 0,
        QVariant(QMetaType::fromType<QDate>()));
    add("yes/no from a check box", "Invoice", "Paid_Inv", "True", 0, true);
    add("yes/no unticked", "Invoice", "Paid_Inv", "False", 0, false);
    add("rate with decimals", "Tax", "Tax_T", "0.0825", 0, 0.0825);
}

void TestStatements::valuesByKind()
{
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(QString, text);
    QFETCH(int, empty);
    QFETCH(QVariant, value);
    SqlRow row(table);
    row.set(column, text, QStringLiteral("Box"), SqlRow::EmptyNumber(empty));
    QCOMPARE(row.value(column).typeId(), value.typeId());
    QCOMPARE(row.value(column).isNull(), value.isNull());
    QCOMPARE(row.value(column), value);
}

void TestStatements::statementsKeepTheirShape()
{
    SqlRow row(QStringLiteral("InvItem"));
    row.set("Inv_Item", "7")
        .set("Name_Item", "Pad 'HD'")
        .set("Qty_Item", "2")
        .set("Color_Item", "");
    const QVariantList key{qlonglong(7), QString("")};
    QCOMPARE(row.condition({"Inv_Item", "Color_Item"}).lines,
             QStringList{"Inv_Item = ? and Color_Item = ?"});
    QCOMPARE(row.condition({"Inv_Item", "Color_Item"}).values, key);
    QCOMPARE(row.exists({"Inv_Item"}).lines,
             (QStringList{"Select * From InvItem", " where Inv_Item = ?"}));
    // Every value is bound, none is written into the statement.
    const SqlStatement insert = row.insert();
    QCOMPARE(insert.lines,
             (QStringList{"Insert Into InvItem ( Inv_Item, Name_Item, Qty_Item, Color_Item )",
                          " Values ( ?, ?, ?, ? )"}));
    QCOMPARE(insert.values, (QVariantList{qlonglong(7), QString("Pad 'HD'"), 2.0, QString("")}));
    // The keys select the row and are not set again.
    const SqlStatement update = row.update({"Inv_Item", "Color_Item"});
    QCOMPARE(update.lines, (QStringList{"Update InvItem Set", " Name_Item = ?,", " Qty_Item = ?",
                                        " where Inv_Item = ? and Color_Item = ?"}));
    QCOMPARE(update.values, (QVariantList{QString("Pad 'HD'"), 2.0} + key));
    QCOMPARE(row.remove({"Inv_Item", "Name_Item"}).values,
             (QVariantList{qlonglong(7), QString("Pad 'HD'")}));
    QCOMPARE(row.updateKeyed(12).lines.last(), QStringLiteral(" where tavlin_row = ?"));
    QCOMPARE(row.updateKeyed(12).values.last(), QVariant(qint64(12)));
    // A Null key is compared as Null, never as "= Null", which matches nothing.
    SqlRow nulls(QStringLiteral("Deposit"));
    nulls.set("DepositTo_Dep", "Checking").set("Date_Dep", "");
    QCOMPARE(nulls.condition({"DepositTo_Dep", "Date_Dep"}).lines,
             QStringList{"DepositTo_Dep = ? and Date_Dep Is Null"});
    QCOMPARE(nulls.condition({"DepositTo_Dep", "Date_Dep"}).values, QVariantList{"Checking"});
    QCOMPARE(refusal([&] { row.value("Rate_Item"); }),
             QStringLiteral("No value for Rate_Item of InvItem."));
}

void TestStatements::refusedValueRunsNothing_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("empty");
    QTest::addColumn<QString>("message");
    QTest::newRow("letters in a number") << "Amount_Inv"
                                         << "12a" << 0 << "Amount: '12a' is not a valid number.";
    QTest::newRow("statement in a key")
        << "InvoiceNo_Inv"
        << "1 or 1=1" << 0 << "Amount: '1 or 1=1' is not a valid number.";
    QTest::newRow("fraction in a whole number")
        << "InvoiceNo_Inv"
        << "2.5" << 0 << "Amount: '2.5' is not a valid number.";
    QTest::newRow("impossible date") << "InvoiceDate_Inv"
                                     << "2/30/2024" << 0
                                     << "Amount: '2/30/2024' is not a valid date "
                                        "(month/day/year).";
    QTest::newRow("day first") << "InvoiceDate_Inv"
                               << "2024-03-07" << 0
                               << "Amount: '2024-03-07' is not a valid date (month/day/year).";
    QTest::newRow("empty where a number is needed")
        << "Amount_Inv"
        << "" << 2 << "Amount: '' is not a valid number.";
}

void TestStatements::refusedValueRunsNothing()
{
    QFETCH(QString, column);
    QFETCH(QString, text);
    QFETCH(int, empty);
    QFETCH(QString, message);
    TestShop shop;
    // The refusal comes while the row is being built, so no statement can follow it.
    int statements = 0;
    const QString got = refusal([&] {
        SqlRow row(QStringLiteral("Invoice"));
        row.set("InvoiceNo_Inv", "5").set("CustomerName_Inv", "Acme");
        row.set(column, text, QStringLiteral("Amount:"), SqlRow::EmptyNumber(empty));
        ++statements;
        run(row.insert());
    });
    QCOMPARE(got, message);
    QCOMPARE(statements, 0);
    QCOMPARE(shop.value("Select Count(*) From Invoice").toInt(), 0);
}

void TestStatements::typedTextRoundTrips_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("apostrophe") << "O'Brien Hauling";
    QTest::newRow("two quotes") << "''";
    QTest::newRow("comment marks") << "a -- b /* c */";
    QTest::newRow("a whole statement") << "x'); Delete From Invoice; --";
    QTest::newRow("hash signs and percent") << "#1/1/2000# 100%";
    QTest::newRow("accents and tabs") << "Škoda\tDiesel";
    QTest::newRow("a backslash before a quote") << "x\\'; Delete From Invoice; --";
    QTest::newRow("wildcards of Like") << "100% _of_ it";
    QTest::newRow("emoji") << QStringLiteral("Brakes \U0001F6BB done \U0001F44D");
    QTest::newRow("ten thousand characters") << QString(10000, QLatin1Char('x')) + "'";
    QTest::newRow("empty") << QString();
}

void TestStatements::typedTextRoundTrips()
{
    QFETCH(QString, typed);
    TestShop shop;
    shop.exec("Insert into Invoice (InvoiceNo_Inv, CustomerName_Inv) values (1, 'kept')");
    SqlRow row(QStringLiteral("Invoice"));
    row.set("InvoiceNo_Inv", "2").set("CustomerName_Inv", typed).set("Remark_Inv", typed);
    run(row.insert());
    row.set("Remark_Inv", typed + typed);
    run(row.update({"InvoiceNo_Inv"}));
    QCOMPARE(
        shop.rows("Select InvoiceNo_Inv, CustomerName_Inv, Remark_Inv From Invoice Order By 1"),
        (QList<QVariantList>{{1, "kept", ""}, {2, typed, typed + typed}}));
    // Found again by the same text, and removed without touching the other row.
    SqlRow key(QStringLiteral("Invoice"));
    key.set("CustomerName_Inv", typed);
    const std::unique_ptr<Query> found(new Query("Q1", DM->admin1(), nullptr));
    found->setSql(key.exists({"CustomerName_Inv"}));
    found->open();
    QCOMPARE(found->recordCount(), 1);
    run(key.remove({"CustomerName_Inv"}));
    QCOMPARE(shop.value("Select Count(*) From Invoice").toInt(), 1);
}

void TestStatements::boundTextsIgnoreLetterCase()
{
    TestShop shop;
    shop.exec("Insert into Customer (ID_Customer, Name_Customer) values (1, 'Acme Freight')");
    // A bound text is compared as a written one is: without regard to letter case.
    SqlRow key(QStringLiteral("Customer"));
    key.set("Name_Customer", "ACME freight");
    const std::unique_ptr<Query> found(new Query("Q1", DM->admin1(), nullptr));
    found->setSql(key.exists({"Name_Customer"}));
    found->open();
    QCOMPARE(found->recordCount(), 1);
    found->setSql(SqlStatement{{"Select * From Customer where Name_Customer Like ?"}, {"acme%"}});
    found->open();
    QCOMPARE(found->recordCount(), 1);
}

void TestStatements::sumsReadExactly_data()
{
    QTest::addColumn<QList<double>>("amounts");
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("shown");
    const QString sum = QStringLiteral("Select Sum(Amount_Receivable) From Receivable");
    QTest::newRow("10.10 + 20.20") << QList<double>{10.10, 20.20} << sum << "30.3";
    QTest::newRow("three thirds of a dime") << QList<double>{0.1, 0.1, 0.1} << sum << "0.3";
    QTest::newRow("a difference") << QList<double>{100.1}
                                  << "Select Sum(Amount_Receivable) - 100 From Receivable"
                                  << "0.1";
    QTest::newRow("many cents") << QList<double>(1000, 0.07) << sum << "70";
    QTest::newRow("a negative sum") << QList<double>{-10.10, -20.20} << sum << "-30.3";
    QTest::newRow("no rows") << QList<double>{} << sum << "";
    // Only noise goes: a number that really has more decimals keeps them.
    QTest::newRow("small quotient")
        << QList<double>{4} << "Select Sum(Amount_Receivable) / 100000 From Receivable"
        << "0.00004";
}

void TestStatements::sumsReadExactly()
{
    QFETCH(QList<double>, amounts);
    QFETCH(QString, statement);
    QFETCH(QString, shown);
    TestShop shop;
    for (double amount : amounts)
        shop.exec("Insert into Receivable (InvoiceNo_Receivable, Amount_Receivable) values (1, ?)",
                  {amount});
    QCOMPARE(sumText(statement), shown);
}

void TestStatements::ownQueriesKeepTheirRows()
{
    TestShop shop;
    shop.exec("Insert into Part (ID_Material, Number_Material) values (1, 'a'), (2, 'b')");
    auto* window = new QObject;
    Query* mine = new Query(QStringLiteral("QPart1"), DM->admin1(), window);
    QCOMPARE(mine->name(), QStringLiteral("QPart1"));
    QVERIFY(mine != TestShop::query(QStringLiteral("QPart1")));
    QCOMPARE(mine->connection(), TestShop::query(QStringLiteral("QPart1"))->connection());
    mine->setSql({"Select * From Part"});
    mine->open();
    Query* pooled = TestShop::query(QStringLiteral("QPart1"));
    pooled->setSql({"Select * From Part where ID_Material = 2"});
    pooled->open();
    // Another window running the pool's query changes nothing of these rows.
    QCOMPARE(mine->recordCount(), 2);
    QCOMPARE(pooled->recordCount(), 1);
    // The query goes with its window.
    QPointer<Query> watch = mine;
    delete window;
    QVERIFY(!watch);
}

void TestStatements::changesAreCounted()
{
    TestShop shop;
    Connection* connection = DM->admin1();
    const quint64 part = connection->generation("Part");
    const quint64 labor = connection->generation("Labor");
    run({"Update Part Set Remark_Material = 'x' where ID_Material = 1"});
    QVERIFY(connection->generation("Part") != part);
    QCOMPARE(connection->generation("labor"), labor);
    const quint64 afterUpdate = connection->generation("Part");
    run({"Delete * From Part where ID_Material = 99"});
    QVERIFY(connection->generation("Part") != afterUpdate);
    // Reading changes nothing.
    const quint64 now = connection->generation("Part");
    sumText("Select Sum(Price_Material) From Part");
    QCOMPARE(connection->generation("Part"), now);
    // Rows changed on the connection past the program's statements count for every table.
    const quint64 laborBefore = connection->generation("Labor");
    shop.exec("Insert into Part (ID_Material) values (3)");
    QVERIFY(connection->generation("Labor") != laborBefore);
    // A commit made by another connection to the same file counts too.
    if (!TestShop::onServer()) {
        direct(shop.databasePath(), {"Insert into Labor (ID_Labor) values (5)"});
        QVERIFY(connection->generation("Labor") != labor);
    }
}

void TestStatements::anotherStationsChangeAtTheNextCommand()
{
    TestShop shop;
    Connection* mine = DM->admin1();
    const DatabaseTarget target =
        TestShop::onServer() ? TestShop::target() : DatabaseTarget::file(shop.databasePath());
    const std::unique_ptr<Connection> other =
        Connection::shop(QStringLiteral("OtherStation"), target);
    other->open();
    Connection::beginCommand();
    const quint64 before = mine->generation(QStringLiteral("Part"));
    other->execute(SqlStatement{{"Insert into Part (ID_Material) values (?)"}, {qlonglong(7)}});
    // A server is asked once per command: within it, the answer stands (the file is asked
    // every time, at no cost).
    if (TestShop::onServer())
        QCOMPARE(mine->generation(QStringLiteral("Part")), before);
    Connection::beginCommand();
    const quint64 after = mine->generation(QStringLiteral("Part"));
    QVERIFY(after != before);
    // Nothing changed since: the next command finds the same answer, and so kept rows stay.
    Connection::beginCommand();
    QCOMPARE(mine->generation(QStringLiteral("Part")), after);
    // A change still under way at another station counts once it is committed.
    Transaction underWay(other.get());
    other->execute(SqlStatement{{"Update Part Set Remark_Material = ? where ID_Material = ?"},
                                {QStringLiteral("x"), qlonglong(7)}});
    Connection::beginCommand();
    const quint64 whileUnderWay = mine->generation(QStringLiteral("Part"));
    underWay.commit();
    Connection::beginCommand();
    QVERIFY(mine->generation(QStringLiteral("Part")) != whileUnderWay);
}

void TestStatements::findRowAndSortAgain()
{
    TestShop shop;
    for (int id : {5, 3, 9, 1})
        shop.exec("Insert into Part (ID_Material, Color_Material) values (?, ?)",
                  {id, QString("P%1").arg(id)});
    const std::unique_ptr<Query> q(new Query("QPart1", DM->admin1(), nullptr));
    q->setSql({"Select * From Part"});
    q->open();
    QCOMPARE(q->findRow("ID_Material", "9"), 2);
    QCOMPARE(q->findRow("Color_Material", "P1"), 3);
    QCOMPARE(q->findRow("Color_Material", "p1"), -1); // a key is matched exactly
    q->sort("Color_Material DESC");
    QCOMPARE(q->values(1).isEmpty(), false);
    QCOMPARE(q->findRow("ID_Material", "9"), 0);
    q->sort("ID_Material");
    q->sort("Color_Material DESC"); // the second time from what was worked out the first
    QCOMPARE(q->findRow("ID_Material", "1"), 3);
    QCOMPARE(q->field(0, q->columnIndex("ID_Material")).asText(), QStringLiteral("9"));
    // New rows make new indexes.
    shop.exec("Insert into Part (ID_Material, Color_Material) values (99, 'P99')");
    q->open();
    QCOMPARE(q->findRow("ID_Material", "99"), 4);
    q->sort("Color_Material DESC");
    QCOMPARE(q->field(0, q->columnIndex("ID_Material")).asText(), QStringLiteral("99"));
}

// The rows a filter keeps, by ID, in the query's order.
QStringList shownIds(const Query& q)
{
    return q.values(q.columnIndex("ID_Material"));
}

void TestStatements::filterKeepsOrderAndSorting()
{
    TestShop shop;
    const QList<std::pair<int, QString>> parts = {{5, "Brake drum"}, {3, "brake pad"},
                                                  {9, "Axle"},       {1, "BRAKE line"},
                                                  {7, "Seal 100%"},  {11, "ÉLAN strap"}};
    for (const auto& [id, name] : parts)
        shop.exec(
            "Insert into Part (ID_Material, Number_Material, Color_Material) values (?, ?, ?)",
            {id, name, QString("P%1").arg(id)});
    const std::unique_ptr<Query> q(new Query("Parts", DM->admin1(), nullptr));
    q->setSql({"Select * From Part"});
    q->open();
    q->sort("ID_Material");
    q->setCurrentRow(4);
    q->filterContaining({"Number_Material", "Color_Material"}, "brake");
    // Letter case ignored, in the order the rows had, on the first of them.
    QCOMPARE(shownIds(*q), (QStringList{"1", "3", "5"}));
    QCOMPARE(q->currentRow(), 0);
    // Sorting sorts what the filter keeps, and keeps the filter.
    q->sort("ID_Material DESC");
    QCOMPARE(shownIds(*q), (QStringList{"5", "3", "1"}));
    QCOMPARE(q->findRow("ID_Material", "9"), -1);
    QCOMPARE(q->findRow("ID_Material", "3"), 1);
    // A second column, and a percent sign taken as itself.
    q->filterContaining({"Number_Material", "Color_Material"}, "p9");
    QCOMPARE(shownIds(*q), (QStringList{"9"}));
    q->filterContaining({"Number_Material"}, "0%");
    QCOMPARE(shownIds(*q), (QStringList{"7"}));
    q->filterContaining({"Number_Material"}, "x%");
    QVERIFY(q->isEmpty());
    QVERIFY(q->eof());
    // Letters beyond A to Z too.
    q->filterContaining({"Number_Material"}, "élan");
    QCOMPARE(shownIds(*q), (QStringList{"11"}));
    // Emptied: every row again, in the order last sorted.
    q->filterContaining({}, QString());
    QCOMPARE(shownIds(*q), (QStringList{"11", "9", "7", "5", "3", "1"}));
    // Rows read again come unfiltered.
    q->filterContaining({"Number_Material"}, "axle");
    q->open();
    QCOMPARE(q->recordCount(), 6);
    QVERIFY(q->filterText().isEmpty());
}

void TestStatements::newFileIsCurrent()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("new.db");
    bool ran = false;
    const QList<ShopDatabase::UpgradeStep> steps = {[&](QSqlDatabase&) { ran = true; }};
    ShopDatabase::open(path, QStringLiteral("upgrade-new"), steps);
    QSqlDatabase::removeDatabase(QStringLiteral("upgrade-new"));
    // Built as today's schema at today's version: no upgrade runs on a new file.
    QVERIFY(!ran);
    QCOMPARE(directValue(path, "PRAGMA user_version").toInt(), 2);
    QCOMPARE(ShopDatabase::currentVersion(steps), 2);
    QCOMPARE(ShopDatabase::currentVersion(), 1 + int(ShopDatabase::upgradeSteps().size()));
}

void TestStatements::numbersBecomeUniqueUnlessRepeated()
{
    SKIP_ON_SERVER("an upgrade of an existing file; a server's shop is created with its keys");
    QTemporaryDir dir;
    const QString path = dir.filePath("before-keys.db");
    // A file of the release before the unique keys: plain indexes, and an invoice number that
    // two stations once stored twice.
    ShopDatabase::open(path, QStringLiteral("upgrade-keys"), {});
    QSqlDatabase::removeDatabase(QStringLiteral("upgrade-keys"));
    direct(path, {"Drop Index ix_Invoice_InvoiceNo_Inv",
                  "Create Index ix_Invoice_InvoiceNo_Inv On Invoice (InvoiceNo_Inv)",
                  "Drop Index ix_Customer_ID_Customer",
                  "Create Index ix_Customer_ID_Customer On Customer (ID_Customer)",
                  "Insert into Invoice (InvoiceNo_Inv, CustomerName_Inv) values (7, 'Acme')",
                  "Insert into Invoice (InvoiceNo_Inv, CustomerName_Inv) values (7, 'Bolt')",
                  "Insert into Customer (ID_Customer, Name_Customer) values (1, 'Acme')",
                  "PRAGMA user_version = 2"});
    ShopDatabase::open(path, QStringLiteral("upgrade-keys"));
    QSqlDatabase::removeDatabase(QStringLiteral("upgrade-keys"));
    QCOMPARE(directValue(path, "PRAGMA user_version").toInt(), ShopDatabase::currentVersion());
    const auto indexText = [&](const char* name) {
        return directValue(path,
                           QString("Select sql From sqlite_master where name = '%1'").arg(name))
            .toString();
    };
    // Both invoices kept, under a plain index; the customers' numbers are now a unique key.
    QCOMPARE(directValue(path, "Select Count(*) From Invoice where InvoiceNo_Inv = 7").toInt(), 2);
    QVERIFY2(!indexText("ix_Invoice_InvoiceNo_Inv").contains("UNIQUE"),
             qPrintable(indexText("ix_Invoice_InvoiceNo_Inv")));
    QVERIFY2(indexText("ix_Customer_ID_Customer").contains("UNIQUE"),
             qPrintable(indexText("ix_Customer_ID_Customer")));
}

void TestStatements::oldFileIsUpgraded()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("old.db");
    // A file of the first release.
    ShopDatabase::open(path, QStringLiteral("upgrade-old"), {});
    QSqlDatabase::removeDatabase(QStringLiteral("upgrade-old"));
    QCOMPARE(directValue(path, "PRAGMA user_version").toInt(), 1);
    direct(path, {"Insert into Invoice (InvoiceNo_Inv, CustomerName_Inv, Amount_Inv) "
                  "values (1, 'Acme', 12.5)",
                  "Insert into InvItem (Inv_Item, Name_Item) values (1, 'pad')"});

    // A later release adds a column and an index.
    int ran = 0;
    const QList<ShopDatabase::UpgradeStep> steps = {[&](QSqlDatabase& db) {
        ++ran;
        QSqlQuery q(db);
        if (!q.exec("Alter Table Invoice Add Column Odometer_Inv INTEGER"))
            throw DbError(q.lastError().text());
        if (!q.exec("Create Index Invoice_Odometer On Invoice (Odometer_Inv)"))
            throw DbError(q.lastError().text());
    }};
    ShopDatabase::open(path, QStringLiteral("upgrade-old"), steps);
    QSqlDatabase::removeDatabase(QStringLiteral("upgrade-old"));
    QCOMPARE(ran, 1);
    QCOMPARE(directValue(path, "PRAGMA user_version").toInt(), 2);
    QCOMPARE(directValue(path, "Select CustomerName_Inv || '/' || Amount_Inv || '/' || "
                               "ifnull(Odometer_Inv, 'none') From Invoice")
                 .toString(),
             QStringLiteral("Acme/12.5/none"));
    QCOMPARE(directValue(path, "Select Count(*) From InvItem").toInt(), 1);
    QCOMPARE(directValue(path, "Select Count(*) From sqlite_master where name = "
                               "'Invoice_Odometer'")
                 .toInt(),
             1);
    // Opened again, a file at today's version is not upgraded twice.
    ShopDatabase::open(path, QStringLiteral("upgrade-old"), steps);
    QSqlDatabase::removeDatabase(QStringLiteral("upgrade-old"));
    QCOMPARE(ran, 1);
}

void TestStatements::firstReleaseFileGetsTodaysIndexes()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("first.db");
    ShopDatabase::open(path, QStringLiteral("first-release"), {});
    QSqlDatabase::removeDatabase(QStringLiteral("first-release"));
    // The first release had no index on the payment method.
    direct(path, {"Drop Index ix_Receivable_ViaPayment_Receivable",
                  "Insert into Receivable (InvoiceNo_Receivable, ViaPayment_Receivable) "
                  "values (1, 'Cash')"});
    ShopDatabase::open(path, QStringLiteral("first-release"));
    QSqlDatabase::removeDatabase(QStringLiteral("first-release"));
    QCOMPARE(directValue(path, "PRAGMA user_version").toInt(), ShopDatabase::currentVersion());
    QCOMPARE(directValue(path, "Select Count(*) From sqlite_master where name = "
                               "'ix_Receivable_ViaPayment_Receivable'")
                 .toInt(),
             1);
    QCOMPARE(directValue(path, "Select ViaPayment_Receivable From Receivable").toString(),
             QStringLiteral("Cash"));
}

// A file of the release before the truck search: the upgrade makes the index from the
// documents already stored, and keeps it up to date from then on.
void TestStatements::truckSearchIsMadeFromStoredDocuments()
{
    SKIP_ON_SERVER("an upgrade of an existing file");
    QTemporaryDir dir;
    const QString path = dir.filePath("before-trucks.db");
    ShopDatabase::open(path, QStringLiteral("upgrade-trucks"));
    QSqlDatabase::removeDatabase(QStringLiteral("upgrade-trucks"));
    QStringList drop = {"Drop Table TruckSearch", "Drop Index ix_Invoice_Vin_Inv_InvoiceDate_Inv",
                        "Drop Index ix_Estimate_TruckNo_Inv"};
    for (const char* table : {"Invoice", "Estimate", "InvoiceCash", "EstimateCash"})
        for (const char* trigger : {"added", "removed", "changed"})
            drop.append(QString("Drop Trigger TruckSearch_%1_%2").arg(table, trigger));
    direct(path,
           drop + QStringList{"Insert into Invoice (InvoiceNo_Inv, Vin_Inv) values (1, "
                              "'1FUJGLDR5CLBP8834')",
                              "Insert into EstimateCash (InvoiceNo_Inv, Plate_Inv) values (2, "
                              "'IL 4521')",
                              "PRAGMA user_version = 7"});
    ShopDatabase::open(path, QStringLiteral("upgrade-trucks"));
    QSqlDatabase::removeDatabase(QStringLiteral("upgrade-trucks"));
    QCOMPARE(directValue(path, "PRAGMA user_version").toInt(), ShopDatabase::currentVersion());
    QCOMPARE(directValue(path, "Select rowid % 4 From TruckSearch where TruckSearch Match "
                               "'\"ldr5c\"'")
                 .toInt(),
             0);
    QCOMPARE(directValue(path, "Select rowid % 4 From TruckSearch where TruckSearch Match "
                               "'\"4521\"'")
                 .toInt(),
             3);
    QCOMPARE(directValue(path, "Select Count(*) From sqlite_master where name in "
                               "('ix_Invoice_Vin_Inv_InvoiceDate_Inv', 'ix_Estimate_TruckNo_Inv', "
                               "'TruckSearch_Invoice_changed')")
                 .toInt(),
             3);
    direct(path, {"Update Invoice set Vin_Inv = 'NEWVIN' where InvoiceNo_Inv = 1"});
    QCOMPARE(directValue(path, "Select Count(*) From TruckSearch where TruckSearch Match "
                               "'\"ldr5c\"'")
                 .toInt(),
             0);
}

void TestStatements::rowsGetKeysOfTheirOwn()
{
    SKIP_ON_SERVER("an upgrade of an existing file; a server's rows were numbered from the start");
    QTemporaryDir dir;
    const QString path = dir.filePath("before-keys.db");
    // A file of the release before the row keys (version 3): every table as the schema
    // describes it, without the key and the tables that came with it.
    const QStringList added = {"EstimateReceivable", "ReceivableCash",   "EstimateReceivableCash",
                               "EstimateCash",       "EstimateItemCash", "EstimateLaborCash"};
    QStringList make{QStringLiteral("PRAGMA application_id = %1").arg(Schema::ApplicationId)};
    const SqliteDialect sqlite;
    for (const Schema::Table& table : Schema::tables()) {
        if (added.contains(table.name))
            continue;
        QStringList columns;
        for (const Schema::Column& c : table.columns)
            columns.append('"' + c.name + "\" " + sqlite.columnType(c.kind, c.exactCase));
        make.append(QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(table.name, columns.join(", ")));
        make += Schema::createIndexStatements(sqlite, table.name);
    }
    // Lines, payments, deposits and bills as an older release stored them: two alike, each
    // row's values of every kind, and a plain index where a number was stored twice.
    make += QStringList{
        "Insert into InvItem values ('Oil filter','m',1,'s','F1',2.675,2.68,7)",
        "Insert into InvItem values ('Oil filter','m',1,'s','F1',2.675,2.68,7)",
        "Insert into InvItem values ('Belt','m',0.5,'s',null,9.99,5,8)",
        "Insert into Receivable (InvoiceNo_Receivable, Ref_Receivable, PayDate_Receivable, "
        "Amount_Receivable) values (7, '', '2026-03-02', 300), (7, '', '2026-03-02', 300)",
        "Insert into Deposit (DepositTo_Dep, Date_Dep, From_Dep, Amount_Dep) values "
        "('Main', '2026-03-02', 'Cash', 663.53), ('Main', '2026-03-02', 'Cash', 663.53)",
        "Insert into Bill (Ref_Bill, Vendor_Bill, Amount_Bill) values ('1008', 'Acme', 5), "
        "('1008', 'Zephyr', 7)",
        "Drop Index ix_Bank_ID_Bank",
        "Create Index ix_Bank_ID_Bank On Bank (ID_Bank)",
        "Insert into Bank (ID_Bank, Name_Bank) values (1, 'Chase'), (1, 'Chase again')",
        "Delete From InvItem where Name_Item = 'Belt'",
        "Insert into InvItem values ('Belt','m',0.5,'s',null,9.99,5,8)",
        "PRAGMA user_version = 3"};
    direct(path, make);
    const auto rows = [&path](const QString& statement) {
        QList<QVariantList> all;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "rows");
            db.setDatabaseName(path);
            db.open();
            QSqlQuery q(db);
            q.exec(statement);
            while (q.next()) {
                QVariantList row;
                for (int c = 0; c < q.record().count(); ++c)
                    row.append(q.value(c));
                all.append(row);
            }
            db.close();
        }
        QSqlDatabase::removeDatabase("rows");
        return all;
    };
    const QString items = "Select Name_Item, Mfg_Item, Qty_Item, Style_Item, Color_Item, "
                          "Rate_Item, Amount_Item, Inv_Item From InvItem";
    const QList<QVariantList> before = rows(items + " Order By rowid");
    const QString indexes = "Select name, sql From sqlite_master where type = 'index' and sql "
                            "is not null Order By name";
    const QList<QVariantList> indexesBefore = rows(indexes);

    QCOMPARE(refusal([&] { ShopDatabase::open(path, QStringLiteral("upgrade-rows")); }),
             QStringLiteral("accepted"));
    QSqlDatabase::removeDatabase(QStringLiteral("upgrade-rows"));
    QCOMPARE(directValue(path, "PRAGMA user_version").toInt(), ShopDatabase::currentVersion());
    // Every value kept, the rows numbered in the order they were stored.
    QCOMPARE(rows(items + " Order By tavlin_row"), before);
    QCOMPARE(rows("Select tavlin_row From InvItem Order By tavlin_row"),
             (QList<QVariantList>{{1}, {2}, {3}}));
    QCOMPARE(rows("Select tavlin_row, Amount_Receivable From Receivable Order By 1"),
             (QList<QVariantList>{{1, 300.0}, {2, 300.0}}));
    QCOMPARE(rows("Select tavlin_row, Amount_Dep From Deposit Order By 1"),
             (QList<QVariantList>{{1, 663.53}, {2, 663.53}}));
    QCOMPARE(rows("Select tavlin_row, Vendor_Bill From Bill Order By 1"),
             (QList<QVariantList>{{1, "Acme"}, {2, "Zephyr"}}));
    // Indexes as they were, the plain one kept plain; the new tables made.
    QList<QVariantList> indexesAfter = rows(indexes);
    for (const QString& table : added)
        for (const QString& statement : Schema::createIndexStatements(sqlite, table))
            indexesAfter.removeIf(
                [&](const QVariantList& r) { return r.at(1).toString() == statement; });
    QCOMPARE(indexesAfter, indexesBefore);
    for (const QString& table : added)
        QVERIFY2(!directValue(path, "Select Count(*) From " + table).isNull(), qPrintable(table));
    // Texts still compare without letter case, numbers are still numbers.
    direct(path, {"Insert into Customer (ID_Customer, Name_Customer) values (1, 'Acme')"});
    QCOMPARE(
        directValue(path, "Select Count(*) From Customer where Name_Customer = 'ACME'").toInt(), 1);
    QCOMPARE(directValue(path, "Select typeof(Amount_Dep) From Deposit").toString(),
             QStringLiteral("real"));
    // A new row takes the next key, and a removed key is never given again.
    direct(path, {"Delete From InvItem where tavlin_row = 3",
                  "Insert into InvItem (Name_Item, Inv_Item) values ('New', 9)"});
    QCOMPARE(directValue(path, "Select tavlin_row From InvItem where Name_Item = 'New'").toInt(),
             4);
    // The program reads the lines with their keys, never as a column.
    {
        TDM dm(path);
        const std::unique_ptr<Query> q(new Query(QStringLiteral("Q1"), dm.admin1(), nullptr));
        q->setSql({QStringLiteral("Select * From InvItem where Inv_Item = 7")});
        q->open();
        QCOMPARE(q->columnCount(), 8);
        QCOMPARE(q->rowKey(0), 1);
        QCOMPARE(q->rowKey(1), 2);
        QCOMPARE(q->findKey(2), 1);
    }
}

void TestStatements::failedUpgradeKeepsTheFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("old.db");
    ShopDatabase::open(path, QStringLiteral("upgrade-fail"), {});
    QSqlDatabase::removeDatabase(QStringLiteral("upgrade-fail"));
    direct(path, {"Insert into Part (ID_Material) values (1)"});
    const QList<ShopDatabase::UpgradeStep> steps = {[](QSqlDatabase& db) {
        QSqlQuery q(db);
        q.exec("Alter Table Part Add Column Weight_Material REAL");
        throw DbError(QStringLiteral("disk full"));
    }};
    QCOMPARE(refusal([&] { ShopDatabase::open(path, QStringLiteral("upgrade-fail"), steps); }),
             QStringLiteral("disk full"));
    QSqlDatabase::removeDatabase(QStringLiteral("upgrade-fail"));
    // The step went back as a whole: same version, no new column, the rows as they were.
    QCOMPARE(directValue(path, "PRAGMA user_version").toInt(), 1);
    QCOMPARE(directValue(path, "Select Count(*) From pragma_table_info('Part') where name = "
                               "'Weight_Material'")
                 .toInt(),
             0);
    QCOMPARE(directValue(path, "Select Count(*) From Part").toInt(), 1);
}

QTEST_MAIN(TestStatements)
#include "tst_statements.moc"
