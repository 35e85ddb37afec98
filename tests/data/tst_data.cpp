// The data layer against a real shop database: the statement wording the windows use, safe
// literals, the client-side cursor (counts, moving, sorting, searching), grids bound to one
// query, rejected statements, the embedded file itself and money arithmetic.

#include "TestShop.h"
#include "data/Connection.h"
#include "data/Currency.h"
#include "data/DbError.h"
#include "data/Password.h"
#include "data/Query.h"
#include "data/QueryModel.h"
#include "data/Schema.h"
#include "data/ShopDatabase.h"
#include "data/SqlLiteral.h"
#include "data/TDM.h"
#include "data/Transaction.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <future>
#include <thread>

namespace {

// Four invoices whose numbers, dates, names and amounts each sort differently as text and as
// their own kind, and three part lines under them.
void seed(TestShop& shop)
{
    const QString invoice = QStringLiteral(
        "INSERT INTO Invoice (InvoiceNo_Inv, CustomerName_Inv, InvoiceDate_Inv, Amount_Inv, "
        "Paid_Inv) VALUES (?, ?, ?, ?, ?)");
    shop.exec(invoice, {1, "ACME", "2023-12-01", 250.0, 1});
    shop.exec(invoice, {2, "beta Freight", "2024-01-05", 1200.5, 0});
    shop.exec(invoice, {10, "Acme Logistics", "2024-02-10", 75.25, 0});
    shop.exec(invoice, {3, "Zeta Haul", "2023-11-30", -40.0, 1});
    const QString item = QStringLiteral(
        "INSERT INTO InvItem (Name_Item, Qty_Item, Color_Item, Rate_Item, Amount_Item, Inv_Item) "
        "VALUES (?, ?, ?, ?, ?, ?)");
    shop.exec(item, {"Brake pad", 4.0, "BP-1", 30.0, 120.0, 1});
    shop.exec(item, {"Brake pad", 2.0, "BP-1", 35.0, 70.0, 2});
    shop.exec(item, {"Oil filter", 1.0, "OF-9", 12.5, 12.5, 10});
}

Query* load(const QString& name, const QStringList& lines)
{
    Query* q = TestShop::query(name);
    q->close();
    q->clear();
    for (const QString& line : lines)
        q->add(line);
    q->open();
    return q;
}

Query* run(const QStringList& lines)
{
    return load(QStringLiteral("Q1"), lines);
}

void change(const QStringList& lines)
{
    Query* q = TestShop::query(QStringLiteral("Q2"));
    q->clear();
    for (const QString& line : lines)
        q->add(line);
    q->exec();
}

// Every row's text in column, read the way list commands read: First, then Next until Eof.
QStringList column(Query* q, const QString& name)
{
    QStringList out;
    for (q->first(); !q->eof(); q->next())
        out.append(q->field(name).asText());
    return out;
}

QStringList modelColumn(const QueryModel& model, int c)
{
    QStringList out;
    for (int r = 0; r < model.rowCount(); ++r)
        out.append(model.data(model.index(r, c)).toString());
    return out;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An SQLite file that is not a usable shop database, written past the program.
void writeSqlite(const QString& path, int applicationId, int version, bool passOnly)
{
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("PRAGMA application_id = %1").arg(applicationId)));
        QVERIFY(q.exec(QStringLiteral("PRAGMA user_version = %1").arg(version)));
        QVERIFY(q.exec(passOnly ? QStringLiteral("CREATE TABLE Pass (UserName_Pass TEXT)")
                                : QStringLiteral("CREATE TABLE Notes (Body TEXT)")));
        QVERIFY(q.exec(
            QStringLiteral("INSERT INTO %1 VALUES ('kept')").arg(passOnly ? "Pass" : "Notes")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
}

} // namespace

class TestData : public QObject
{
    Q_OBJECT

private slots:
    void partOfACommand_data();
    void partOfACommand();
    void statementWording_data();
    void statementWording();
    void storedForms_data();
    void storedForms();
    void passwordsCompareExactly_data();
    void passwordsCompareExactly();
    void textLiteralIsStoredIntact_data();
    void textLiteralIsStoredIntact();
    void literals_data();
    void literals();
    void emptyAggregateReadsEmpty_data();
    void emptyAggregateReadsEmpty();
    void sortByColumnKind_data();
    void sortByColumnKind();
    void locate_data();
    void locate();
    void gridsOnOneQueryAgree();
    void rejectedStatement_data();
    void rejectedStatement();
    void recordCount_data();
    void recordCount();
    void moving_data();
    void moving();
    void movingOnNoRows();
    void databaseIsCreatedOnce();
    void tableColumnsInOrder_data();
    void tableColumnsInOrder();
    void newDatabaseIsSeeded();
    void foreignFileIsRefused_data();
    void foreignFileIsRefused();
    void currencyFormats_data();
    void currencyFormats();
    void currencyMultiplies_data();
    void currencyMultiplies();
    void writeLockIsWaitedFor_data();
    void writeLockIsWaitedFor();
};

void TestData::statementWording_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QStringList>("expected");

    const QString no = QStringLiteral("InvoiceNo_Inv");
    QTest::newRow("date in where")
        << QStringList{"Select * From Invoice where InvoiceDate_Inv = #1/5/2024#"} << no
        << QStringList{"2"};
    QTest::newRow("dates between") << QStringList{"Select * From Invoice where InvoiceDate_Inv "
                                                  "Between #12/1/2023# and #1/31/2024#",
                                                  "order by InvoiceNo_Inv"}
                                   << no << QStringList{"1", "2"};
    QTest::newRow("date read back short")
        << QStringList{"Select InvoiceDate_Inv From Invoice order by InvoiceDate_Inv"}
        << "InvoiceDate_Inv" << QStringList{"11/30/2023", "12/1/2023", "1/5/2024", "2/10/2024"};
    QTest::newRow("bare No")
        << QStringList{"Select * From Invoice where Paid_Inv=No order by InvoiceNo_Inv"} << no
        << QStringList{"2", "10"};
    QTest::newRow("bare Yes")
        << QStringList{"Select * From Invoice where Paid_Inv = Yes order by InvoiceNo_Inv"} << no
        << QStringList{"1", "3"};
    QTest::newRow("yes/no read back")
        << QStringList{"Select Paid_Inv From Invoice order by InvoiceNo_Inv"} << "Paid_Inv"
        << QStringList{"True", "False", "True", "False"};
    QTest::newRow("like contains, any case")
        << QStringList{"Select * From Invoice where CustomerName_Inv Like '%acme%'",
                       "order by InvoiceNo_Inv"}
        << no << QStringList{"1", "10"};
    QTest::newRow("like double-quoted")
        << QStringList{"Select * From Invoice where CustomerName_Inv Like \"%haul%\""} << no
        << QStringList{"3"};
    QTest::newRow("double-quoted text with quote")
        << QStringList{"Select \"O'Brien\" As Who From Reg"} << "Who" << QStringList{"O'Brien"};
    QTest::newRow("text equality ignores case")
        << QStringList{"Select * From Invoice where CustomerName_Inv = 'acme'"} << no
        << QStringList{"1"};
    QTest::newRow("StrComp binary tells case apart")
        << QStringList{"Select * From Invoice where StrComp(CustomerName_Inv, 'acme', 0) = 0"} << no
        << QStringList{};
    QTest::newRow("StrComp text ignores case")
        << QStringList{"Select * From Invoice where StrComp(CustomerName_Inv, 'acme', 1) = 0"} << no
        << QStringList{"1"};
    QTest::newRow("StrComp orders")
        << QStringList{"Select StrComp('a', 'b', 0) As L, StrComp('b', 'a', 0) As G From Reg"}
        << "L" << QStringList{"-1"};
    QTest::newRow("one row by its identity")
        << QStringList{"Select InvoiceNo_Inv From Invoice where RowId() In (Select Top 1 RowId() "
                       "From Invoice where Paid_Inv = No order by InvoiceNo_Inv desc)"}
        << no << QStringList{"10"};
    QTest::newRow("numbers between") << QStringList{"Select * From Invoice where Amount_Inv "
                                                    "Between 70 and 300 order by InvoiceNo_Inv"}
                                     << no << QStringList{"1", "10"};
    QTest::newRow("comma join with aliases")
        << QStringList{"Select V.InvoiceNo_Inv From  InvItem T, Invoice V where T.Color_Item = "
                       "'BP-1'",
                       " And V.InvoiceNo_Inv = T.Inv_Item order by V.InvoiceNo_Inv"}
        << no << QStringList{"1", "2"};
    QTest::newRow("unnamed max over join")
        << QStringList{"Select Max(Rate_Item) From  InvItem T, Invoice V where T.Color_Item = "
                       "'BP-1'",
                       " And V.CustomerName_Inv = 'acme'", " And V.InvoiceNo_Inv = T.Inv_Item "}
        << "Expr1000" << QStringList{"30"};
    QTest::newRow("unnamed sum")
        << QStringList{"Select Sum(Qty_Item) From InvItem where Color_Item='BP-1'"} << "Expr1000"
        << QStringList{"6"};
    QTest::newRow("second unnamed column")
        << QStringList{"Select Sum(Qty_Item), Max(Rate_Item) From InvItem"} << "Expr1001"
        << QStringList{"35"};
    QTest::newRow("named columns are not counted")
        << QStringList{"Select Name_Item, Count(*) From InvItem group by Name_Item order by "
                       "Name_Item"}
        << "Expr1000" << QStringList{"2", "1"};
    QTest::newRow("sum of product over dates")
        << QStringList{"select SUM(I.Amount_Item*0.5) From  Invoice O, InvItem I where "
                       "O.InvoiceDate_Inv Between #1/1/2023# and #12/31/2024#",
                       " And O.InvoiceNo_Inv = I.Inv_Item"}
        << "Expr1000" << QStringList{"101.25"};
    QTest::newRow("large number in plain digits")
        << QStringList{"Select Amount_Inv * 1000 From Invoice where InvoiceNo_Inv = 2"}
        << "Expr1000" << QStringList{"1200500"};
    QTest::newRow("small number in plain digits")
        << QStringList{"Select Qty_Item / 100000 From InvItem where Inv_Item = 1"} << "Expr1000"
        << QStringList{"0.00004"};
    QTest::newRow("top n")
        << QStringList{"Select Top 2 InvoiceNo_Inv From Invoice order by InvoiceNo_Inv desc"} << no
        << QStringList{"10", "3"};
    QTest::newRow("& joins texts, # inside quotes")
        << QStringList{"Select CustomerName_Inv & ' #' & InvoiceNo_Inv From Invoice where "
                       "InvoiceNo_Inv=2"}
        << "Expr1000" << QStringList{"beta Freight #2"};
    QTest::newRow("distinct")
        << QStringList{"Select distinct Name_Item From InvItem order by Name_Item"} << "Name_Item"
        << QStringList{"Brake pad", "Oil filter"};
    QTest::newRow("one fragment a line")
        << QStringList{"Select InvoiceNo_Inv", "From Invoice",
                       "where Paid_Inv=No",    "And InvoiceDate_Inv Between #1/1/2024#",
                       "and #12/31/2024#",     "order by InvoiceNo_Inv"}
        << no << QStringList{"2", "10"};
}

void TestData::statementWording()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, column);
    QFETCH(QStringList, expected);
    TestShop shop;
    seed(shop);
    Query* q = run(lines);
    QCOMPARE(q->recordCount(), expected.size());
    QCOMPARE(::column(q, column), expected);
}

void TestData::storedForms_data()
{
    QTest::addColumn<QStringList>("statement");
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QVariant>("stored");

    const QStringList insert{" Insert Into Invoice ( InvoiceNo_Inv,Paid_Inv, CustomerName_Inv,",
                             "InvoiceDate_Inv,Amount_Inv,DueDate_Inv ) Values ( ",
                             "50",
                             ", Yes ,",
                             "'Delta',",
                             "#3/7/2005#,",
                             "'1234.5',",
                             "#12/31/49#)"};
    const QString of50 = QStringLiteral(" from Invoice where InvoiceNo_Inv = 50");
    QTest::newRow("date stored as ISO")
        << insert << "select InvoiceDate_Inv" + of50 << QVariant("2005-03-07");
    QTest::newRow("Yes stored as 1") << insert << "select Paid_Inv" + of50 << QVariant(1);
    QTest::newRow("quoted amount stored as number")
        << insert << "select typeof(Amount_Inv) || ':' || Amount_Inv" + of50
        << QVariant("real:1234.5");

    const QStringList line{
        "Insert Into InvItem ( Name_Item,Qty_Item,Color_Item,Rate_Item,Amount_Item,Inv_Item )",
        " Values ( 'Hose', '3', 'HS-2', '12.50', '37.5', '50' )"};
    QTest::newRow("quoted quantity is real")
        << line
        << "select typeof(Qty_Item) || ':' || Qty_Item from InvItem where Color_Item = 'HS-2'"
        << QVariant("real:3.0");
    QTest::newRow("quoted key is integer")
        << line
        << "select typeof(Inv_Item) || ':' || Inv_Item from InvItem where Color_Item = 'HS-2'"
        << QVariant("integer:50");

    QTest::newRow("No stored as 0")
        << QStringList{"Update Invoice Set Paid_Inv = No where InvoiceNo_Inv = 1"}
        << "select Paid_Inv from Invoice where InvoiceNo_Inv = 1" << QVariant(0);
    QTest::newRow("update over a date range")
        << QStringList{"Update Invoice Set Remark_Inv = 'old'",
                       " where InvoiceDate_Inv Between #11/1/2023# and #12/31/2023#"}
        << "select group_concat(InvoiceNo_Inv) from (select InvoiceNo_Inv from Invoice where "
           "Remark_Inv = 'old' order by 1)"
        << QVariant("1,3");
    QTest::newRow("update by name in another case")
        << QStringList{"Update Invoice Set InvoiceDate_Inv = #2/29/2024# where CustomerName_Inv = "
                       "'ZETA HAUL'"}
        << "select InvoiceDate_Inv from Invoice where InvoiceNo_Inv = 3" << QVariant("2024-02-29");
    QTest::newRow("checked number literal")
        << QStringList{"Update Invoice Set Amount_Inv = " + Sql::number(" 1,234.50 ") +
                       " where InvoiceNo_Inv = " + Sql::integer(" 2 ")}
        << "select typeof(Amount_Inv) || ':' || Amount_Inv from Invoice where InvoiceNo_Inv = 2"
        << QVariant("real:1234.5");
    QTest::newRow("checked date literal")
        << QStringList{"Update Invoice Set DueDate_Inv = #" + Sql::date("3/7/05") +
                       "# where InvoiceNo_Inv = 2"}
        << "select DueDate_Inv from Invoice where InvoiceNo_Inv = 2" << QVariant("2005-03-07");
    QTest::newRow("delete star empties the table")
        << QStringList{"Delete * from InvItem"}
        << "select (select count(*) from InvItem) || '/' || (select count(*) from Invoice)"
        << QVariant("0/4");
    QTest::newRow("delete by key")
        << QStringList{"Delete From Invoice where InvoiceNo_Inv=10"}
        << "select group_concat(InvoiceNo_Inv) from (select InvoiceNo_Inv from Invoice order by 1)"
        << QVariant("1,2,3");
}

void TestData::storedForms()
{
    SKIP_ON_SERVER("a server's columns have one type each, so no value has a storage form of "
                   "its own");
    QFETCH(QStringList, statement);
    QFETCH(QString, raw);
    QFETCH(QVariant, stored);
    TestShop shop;
    seed(shop);
    change(statement);
    QCOMPARE(shop.value(raw).toString(), stored.toString());
}

void TestData::passwordsCompareExactly_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("found");
    QTest::newRow("as stored") << "Tester"
                               << "gt" << true;
    QTest::newRow("user name in another case") << "TESTER"
                                               << "gt" << true;
    QTest::newRow("password in capitals") << "Tester"
                                          << "GT" << false;
    QTest::newRow("password half in capitals") << "Tester"
                                               << "Gt" << false;
    QTest::newRow("password cut short") << "Tester"
                                        << "g" << false;
    QTest::newRow("quote trick in password") << "Tester"
                                             << "' or '1'='1" << false;
}

void TestData::passwordsCompareExactly()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(bool, found);
    TestShop shop;
    // The password column compares exactly, whatever it holds (the program keeps hashes there).
    shop.exec("Insert into Pass (UserName_Pass, Password_Pass) values ('Tester', 'gt')");
    Query* q = load(QStringLiteral("QPass1"),
                    {"Select * From Pass where UserName_Pass = '" + Sql::text(user) + "' ",
                     "And Password_Pass = '" + Sql::text(password) + "' "});
    QCOMPARE(q->recordCount(), found ? 1 : 0);
    if (found)
        QCOMPARE(q->field(QStringLiteral("UserName_Pass")).asText(), QStringLiteral("Tester"));
}

void TestData::textLiteralIsStoredIntact_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("stored");
    const auto same = [](const QString& v) {
        QTest::newRow(qPrintable(v.left(24).replace(QLatin1Char('\n'), QLatin1Char(' '))))
            << v << v;
    };
    same("O'Brien's");
    same("''");
    same("1' or '1'='1");
    same("x'; Delete from Part; --");
    same("'); Delete from Part; --");
    same("#1/1/2024# & Yes [x] \"q\" 50%");
    same("line one\nline two");
    same(QStringLiteral("Gülşen Øvrebø 株式会社"));
    const QString longText = QString(QStringLiteral("ab'")).repeated(1667).left(5000);
    QTest::newRow("5000 characters") << longText << longText;
    QTest::newRow("NUL removed") << QStringLiteral("a") + QChar(0) + QStringLiteral("b") << "ab";
}

void TestData::textLiteralIsStoredIntact()
{
    QFETCH(QString, value);
    QFETCH(QString, stored);
    TestShop shop;
    seed(shop);
    shop.exec(
        QStringLiteral("INSERT INTO Part (ID_Material, Number_Material) VALUES (1, 'first')"));

    change({"Insert Into Part ( ID_Material, Number_Material, Description_Material )",
            "Values ( 900, '" + Sql::text(value) + "', 'probe' )"});

    QCOMPARE(shop.value(QStringLiteral("select Number_Material from Part where ID_Material = 900"))
                 .toString(),
             stored);
    QCOMPARE(shop.value(QStringLiteral("select count(*) from Part")).toInt(), 2);
    QCOMPARE(shop.value(QStringLiteral("select count(*) from Invoice")).toInt(), 4);
    QCOMPARE(shop.value(QStringLiteral("select count(*) from Pass")).toInt(), 1);

    Query* q = run({"Select * From Part where Number_Material = '" + Sql::text(value) + "'"});
    QCOMPARE(q->recordCount(), 1);
    QCOMPARE(q->field(QStringLiteral("Number_Material")).asText(), stored);
    QCOMPARE(q->field(QStringLiteral("Description_Material")).asText(), QStringLiteral("probe"));
}

void TestData::literals_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("result"); // the literal, or the message of the refusal
    const auto refused = [](const char* kind, const QStringList& values, const char* what) {
        for (const QString& v : values)
            QTest::newRow(qPrintable(QStringLiteral("%1 refuses '%2'").arg(kind, v)))
                << kind << v
                << QStringLiteral("'%1' is not a valid %2.")
                       .arg(v, QString::fromLatin1(what) +
                                   (qstrcmp(what, "date") == 0 ? " (month/day/year)" : ""));
    };
    refused("number",
            {"12a", "1 or 1=1", "", "   ", "1,23", ".", "5; Delete from Part", "1e5", "$12"},
            "number");
    refused("integer", {"1.5", "12a", "", "1 or 1=1", "1,000", "1234567890123456789"}, "number");
    refused(
        "date",
        {"3/32/2005", "2/29/2023", "13/1/2024", "", "2005-03-07", "3/7", "3/7/2005# or #1/1/2000"},
        "date");
    refused("money", {"12a", "", "1 or 1=1"}, "number");
    QTest::newRow("thousands comma") << "number"
                                     << "1,234.50"
                                     << "1234.5";
    QTest::newRow("blanks around") << "number"
                                   << " 7 "
                                   << "7";
    QTest::newRow("negative") << "number"
                              << "-3.25"
                              << "-3.25";
    QTest::newRow("no leading digit") << "number"
                                      << ".5"
                                      << "0.5";
    QTest::newRow("plus sign") << "number"
                               << "+12"
                               << "12";
    QTest::newRow("millions") << "number"
                              << "1,000,000"
                              << "1000000";
    QTest::newRow("trailing point") << "number"
                                    << "12."
                                    << "12";
    QTest::newRow("integer blanks") << "integer"
                                    << " 7 "
                                    << "7";
    QTest::newRow("integer negative") << "integer"
                                      << "-12"
                                      << "-12";
    QTest::newRow("integer leading zeros") << "integer"
                                           << "007"
                                           << "7";
    QTest::newRow("two-digit year") << "date"
                                    << "3/7/05"
                                    << "3/7/2005";
    QTest::newRow("padded month and day") << "date"
                                          << "03/07/2005"
                                          << "3/7/2005";
    QTest::newRow("leap day") << "date"
                              << "2/29/2024"
                              << "2/29/2024";
    QTest::newRow("year 49") << "date"
                             << "12/31/49"
                             << "12/31/2049";
    QTest::newRow("year 50") << "date"
                             << "1/1/50"
                             << "1/1/1950";
    QTest::newRow("date with blanks") << "date"
                                      << " 3/7/2005 "
                                      << "3/7/2005";
    QTest::newRow("money with blanks") << "money"
                                       << " 1,234.5 "
                                       << "1234.5";
}

void TestData::literals()
{
    QFETCH(QString, kind);
    QFETCH(QString, value);
    QFETCH(QString, result);
    QString out;
    try {
        out = kind == "number"    ? Sql::number(value)
              : kind == "integer" ? Sql::integer(value)
              : kind == "date"    ? Sql::date(value)
                                  : Currency::parse(value).toPlain();
    } catch (const DbError& e) {
        out = e.message();
    }
    QCOMPARE(out, result);
}

void TestData::emptyAggregateReadsEmpty_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("sum over no rows")
        << QStringList{"Select Sum(Amount_Inv) From Invoice where CustomerName_Inv = 'Nobody'"};
    QTest::newRow("sum over an empty table") << QStringList{
        "Select Sum(Amount_Receivable) From Receivable where InvoiceNo_Receivable=1"};
    QTest::newRow("max over a join with no match") << QStringList{
        "Select Max(Rate_Item) From  InvItem T, Invoice V where T.Color_Item = 'BP-1'",
        " And V.CustomerName_Inv = 'Zeta Haul'", " And V.InvoiceNo_Inv = T.Inv_Item "};
    QTest::newRow("sum over a date range with no rows")
        << QStringList{"Select Sum(Amount_Inv) From Invoice where InvoiceDate_Inv Between "
                       "#1/1/2030# and #12/31/2030#"};
}

void TestData::emptyAggregateReadsEmpty()
{
    QFETCH(QStringList, lines);
    TestShop shop;
    seed(shop);
    Query* q = run(lines);
    QCOMPARE(q->recordCount(), 1);
    const Field sum = q->field(QStringLiteral("Expr1000"));
    QVERIFY(sum.isNull());
    QCOMPARE(sum.asText(), QString());
    QVERIFY(sum.asCurrency().isZero());
}

void TestData::sortByColumnKind_data()
{
    QTest::addColumn<QString>("sort");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QStringList>("expected");
    const QString no = QStringLiteral("InvoiceNo_Inv");
    QTest::newRow("numbers as numbers")
        << "InvoiceNo_Inv" << no << QStringList{"1", "2", "3", "10"};
    QTest::newRow("numbers descending")
        << "InvoiceNo_Inv DESC" << no << QStringList{"10", "3", "2", "1"};
    QTest::newRow("name in another case")
        << "invoiceno_inv desc" << no << QStringList{"10", "3", "2", "1"};
    QTest::newRow("money with a negative")
        << "Amount_Inv" << no << QStringList{"3", "10", "1", "2"};
    QTest::newRow("dates as dates")
        << "InvoiceDate_Inv"
        << "InvoiceDate_Inv" << QStringList{"11/30/2023", "12/1/2023", "1/5/2024", "2/10/2024"};
    QTest::newRow("dates descending")
        << "InvoiceDate_Inv DESC" << no << QStringList{"10", "2", "1", "3"};
    QTest::newRow("texts ignore case")
        << "CustomerName_Inv"
        << "CustomerName_Inv" << QStringList{"ACME", "Acme Logistics", "beta Freight", "Zeta Haul"};
    QTest::newRow("two keys") << "Paid_Inv DESC, InvoiceDate_Inv" << no
                              << QStringList{"3", "1", "2", "10"};
    QTest::newRow("unnamed number column") << "Expr1000" << no << QStringList{"3", "10", "1", "2"};
    QTest::newRow("empty restores database order") << "" << no << QStringList{"3", "2", "10", "1"};
}

void TestData::sortByColumnKind()
{
    QFETCH(QString, sort);
    QFETCH(QString, column);
    QFETCH(QStringList, expected);
    TestShop shop;
    seed(shop);
    Query* q = run({"Select *, Amount_Inv * 2 From Invoice order by CustomerName_Inv desc"});
    q->sort(QStringLiteral("InvoiceNo_Inv"));
    q->locate(QStringLiteral("InvoiceNo_Inv"), QStringLiteral("10"));
    q->sort(sort);
    QCOMPARE(q->sortText(), sort);
    // The current record stays current wherever the sort puts it.
    QCOMPARE(q->field(QStringLiteral("InvoiceNo_Inv")).asText(), QStringLiteral("10"));
    const int at = q->currentRow();
    QCOMPARE(::column(q, column), expected);
    QCOMPARE(::column(q, QStringLiteral("InvoiceNo_Inv")).indexOf(QStringLiteral("10")), at);
}

void TestData::locate_data()
{
    QTest::addColumn<QString>("sort");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("invoice");
    QTest::newRow("prefix in another case") << ""
                                            << "CustomerName_Inv"
                                            << "acme" << true << "1";
    QTest::newRow("longer prefix") << ""
                                   << "CustomerName_Inv"
                                   << "ACME l" << true << "10";
    QTest::newRow("lower-case value") << ""
                                      << "CustomerName_Inv"
                                      << "BETA" << true << "2";
    QTest::newRow("inside the text is no match") << ""
                                                 << "CustomerName_Inv"
                                                 << "Haul" << false << "2";
    QTest::newRow("empty text matches the first row") << ""
                                                      << "CustomerName_Inv"
                                                      << "" << true << "1";
    QTest::newRow("number by its text") << ""
                                        << "InvoiceNo_Inv"
                                        << "10" << true << "10";
    QTest::newRow("number prefix, first in order") << ""
                                                   << "InvoiceNo_Inv"
                                                   << "1" << true << "1";
    QTest::newRow("number prefix, sorted descending") << "InvoiceNo_Inv DESC"
                                                      << "InvoiceNo_Inv"
                                                      << "1" << true << "10";
    QTest::newRow("money by its text") << ""
                                       << "Amount_Inv"
                                       << "1200.5" << true << "2";
    QTest::newRow("negative money") << ""
                                    << "Amount_Inv"
                                    << "-4" << true << "3";
    QTest::newRow("date by its shown text") << ""
                                            << "InvoiceDate_Inv"
                                            << "2/10" << true << "10";
    QTest::newRow("date by its stored text is no match") << ""
                                                         << "InvoiceDate_Inv"
                                                         << "2024-" << false << "2";
    QTest::newRow("no such value") << ""
                                   << "CustomerName_Inv"
                                   << "Omega" << false << "2";
}

void TestData::locate()
{
    QFETCH(QString, sort);
    QFETCH(QString, column);
    QFETCH(QString, text);
    QFETCH(bool, found);
    QFETCH(QString, invoice);
    TestShop shop;
    seed(shop);
    Query* q = run({"Select * From Invoice order by InvoiceNo_Inv"});
    q->sort(sort);
    q->locate(QStringLiteral("InvoiceNo_Inv"), QStringLiteral("2"));
    QSignalSpy moved(q, &Query::currentRowChanged);
    QCOMPARE(q->locate(column, text), found);
    QCOMPARE(q->field(QStringLiteral("InvoiceNo_Inv")).asText(), invoice);
    QCOMPARE(moved.size(), found && invoice != "2" ? 1 : 0);
}

void TestData::gridsOnOneQueryAgree()
{
    TestShop shop;
    seed(shop);
    Query* q = TestShop::query(QStringLiteral("QInv1"));
    QueryModel invoices(q), history(q);
    QSignalSpy resetA(&invoices, &QAbstractItemModel::modelReset);
    QSignalSpy resetB(&history, &QAbstractItemModel::modelReset);

    load(QStringLiteral("QInv1"),
         {"Select InvoiceNo_Inv, InvoiceDate_Inv, Amount_Inv From Invoice order by InvoiceNo_Inv"});
    for (const QueryModel* m : {&invoices, &history}) {
        QCOMPARE(m->rowCount(), 4);
        QCOMPARE(m->columnCount(), 3);
        QCOMPARE(modelColumn(*m, 0), (QStringList{"1", "2", "3", "10"}));
        QCOMPARE(modelColumn(*m, 1),
                 (QStringList{"12/1/2023", "1/5/2024", "11/30/2023", "2/10/2024"}));
        QCOMPARE(modelColumn(*m, 2), (QStringList{"250.00", "1200.50", "-40.00", "75.25"}));
    }
    QVERIFY(resetA.size() > 0);
    QCOMPARE(resetA.size(), resetB.size());

    q->sort(QStringLiteral("InvoiceDate_Inv DESC"));
    QCOMPARE(modelColumn(invoices, 0), (QStringList{"10", "2", "1", "3"}));
    QCOMPARE(modelColumn(history, 0), modelColumn(invoices, 0));

    invoices.setTitle(QStringLiteral("invoiceno_inv"), QStringLiteral("Invoice #"));
    QCOMPARE(invoices.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Invoice #"));
    QCOMPARE(history.headerData(0, Qt::Horizontal).toString(), QStringLiteral("InvoiceNo_Inv"));

    // Another command reuses the query: both grids follow.
    load(QStringLiteral("QInv1"),
         {"Select InvoiceNo_Inv From Invoice where Paid_Inv=No order by InvoiceNo_Inv"});
    QCOMPARE(modelColumn(invoices, 0), (QStringList{"2", "10"}));
    QCOMPARE(modelColumn(history, 0), (QStringList{"2", "10"}));
    QCOMPARE(history.columnCount(), 1);

    q->clear();
    q->add(QStringLiteral("Delete From Invoice where InvoiceNo_Inv = 2"));
    q->exec();
    QCOMPARE(invoices.rowCount(), 0);
    QCOMPARE(history.rowCount(), 0);
}

void TestData::rejectedStatement_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<bool>("isChange");
    // The embedded engine's message, and what a server's message says.
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("serverSays");
    QTest::newRow("empty number box")
        << "Select * From Part where ID_Material=" << false << "incomplete input"
        << "syntax error at or near";
    QTest::newRow("letters in a number box")
        << "Select * From Part where ID_Material=12a" << false << "unrecognized token: \"12a\""
        << "12a";
    QTest::newRow("misspelt keyword")
        << "Selec * From Part" << false << "near \"Selec\": syntax error"
        << "syntax error at or near \"Selec\"";
    QTest::newRow("missing column")
        << "Select Nope_Col From Part" << false << "no such column: Nope_Col"
        << "column \"nope_col\" does not exist";
    QTest::newRow("insert into a missing table")
        << "Insert Into Nope_Table ( A ) Values ( 1 )" << true << "no such table: Nope_Table"
        << "relation \"nope_table\" does not exist";
    QTest::newRow("update of a missing column")
        << "Update Part Set Nope_Col = 1" << true << "no such column: Nope_Col"
        << "column \"nope_col\" of relation \"part\" does not exist";
    // The program's own messages, before any engine sees the statement.
    QTest::newRow("unclosed text")
        << "Select * From Part where Number_Material = 'abc" << false
        << "Syntax error in string in query expression ''abc'." << QString();
    QTest::newRow("impossible date")
        << "Delete From Invoice where InvoiceDate_Inv = #2/30/2024#" << true
        << "'2/30/2024' is not a valid date (month/day/year)." << QString();
}

void TestData::rejectedStatement()
{
    QFETCH(QString, statement);
    QFETCH(bool, isChange);
    QFETCH(QString, message);
    QFETCH(QString, serverSays);
    TestShop shop;
    seed(shop);
    change({"Insert Into Part ( ID_Material, Number_Material ) Values ( 7, 'kept' )"});
    Query* q = run({"Select * From Invoice"});
    QueryModel grid(q);
    QCOMPARE(grid.rowCount(), 4);

    q->clear();
    q->add(statement);
    const QString refused = refusal([&] {
        if (isChange)
            q->exec();
        else
            q->open();
    });
    if (TestShop::onServer() && !serverSays.isEmpty())
        QVERIFY2(refused.contains(serverSays), qPrintable(refused));
    else
        QCOMPARE(refused, message);
    QVERIFY(!q->isOpen());
    QCOMPARE(q->recordCount(), 0);
    QVERIFY(q->eof() && q->bof());
    QCOMPARE(grid.rowCount(), 0);
    QCOMPARE(shop.value(QStringLiteral("select Number_Material from Part where ID_Material = 7"))
                 .toString(),
             QStringLiteral("kept"));
    QCOMPARE(shop.value(QStringLiteral("select count(*) from Invoice")).toInt(), 4);

    // The query is usable again by the next command.
    q = run({"Select * From Part"});
    QCOMPARE(q->recordCount(), 1);
}

void TestData::recordCount_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<int>("count");
    QTest::newRow("all") << "" << 250;
    QTest::newRow("none") << " where ID_Material > 1000" << 0;
    QTest::newRow("one") << " where ID_Material = 17" << 1;
    QTest::newRow("range") << " where ID_Material Between 101 and 200" << 100;
    QTest::newRow("like") << " where Number_Material Like '%7'" << 25;
}

void TestData::recordCount()
{
    QFETCH(QString, where);
    QFETCH(int, count);
    TestShop shop;
    shop.exec(QStringLiteral("BEGIN"));
    for (int id = 1; id <= 250; ++id)
        shop.exec(QStringLiteral("INSERT INTO Part (ID_Material, Number_Material) VALUES (?, ?)"),
                  {id, QStringLiteral("N-%1").arg(id)});
    shop.exec(QStringLiteral("COMMIT"));
    Query* q = run({"Select * From Part" + where});
    QCOMPARE(q->recordCount(), count);
    QCOMPARE(q->isEmpty(), count == 0);
    QCOMPARE(::column(q, QStringLiteral("ID_Material")).size(), count);
}

void TestData::moving_data()
{
    QTest::addColumn<QString>("moves");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("eof");
    QTest::addColumn<bool>("bof");
    QTest::newRow("first") << "F" << 0 << false << true;
    QTest::newRow("next") << "FN" << 1 << false << false;
    QTest::newRow("onto the last row") << "FNN" << 2 << false << false;
    QTest::newRow("next past the last row") << "FNNN" << 2 << true << false;
    QTest::newRow("prior after the end") << "FNNNP" << 1 << false << false;
    QTest::newRow("last") << "L" << 2 << false << false;
    QTest::newRow("prior before the first row") << "FP" << 0 << false << true;
    QTest::newRow("prior from last to the start") << "LPPP" << 0 << false << true;
    QTest::newRow("next after the start") << "FPN" << 1 << false << false;
    QTest::newRow("first after the end") << "FNNNF" << 0 << false << true;
}

void TestData::moving()
{
    QFETCH(QString, moves);
    QFETCH(int, row);
    QFETCH(bool, eof);
    QFETCH(bool, bof);
    TestShop shop;
    seed(shop);
    Query* q = run({"Select * From InvItem order by Amount_Item"});
    QCOMPARE(q->currentRow(), 0);
    QVERIFY(!q->eof());
    for (const QChar m : moves) {
        if (m == QLatin1Char('F'))
            q->first();
        else if (m == QLatin1Char('N'))
            q->next();
        else if (m == QLatin1Char('P'))
            q->prior();
        else
            q->last();
    }
    QCOMPARE(q->currentRow(), row);
    QCOMPARE(q->eof(), eof);
    QCOMPARE(q->bof(), bof);
    const QStringList amounts{"12.5", "70", "120"};
    QCOMPARE(q->field(QStringLiteral("Amount_Item")).asText(), amounts.at(row));
}

void TestData::movingOnNoRows()
{
    TestShop shop;
    seed(shop);
    Query* q = run({"Select * From InvItem where Color_Item = 'NONE'"});
    QVERIFY(q->isOpen());
    QVERIFY(q->eof() && q->bof());
    QCOMPARE(q->currentRow(), -1);
    q->first();
    q->next();
    q->last();
    q->prior();
    QVERIFY(q->eof() && q->bof());
    QCOMPARE(q->currentRow(), -1);
    QCOMPARE(q->field(QStringLiteral("Name_Item")).asText(), QString());
    QCOMPARE(refusal([&] { q->field(QStringLiteral("Nope_Col")); }),
             QStringLiteral("Q1: Field 'Nope_Col' not found"));
    QCOMPARE(refusal([&] { q->sort(QStringLiteral("Nope_Col")); }),
             QStringLiteral("Q1: Field 'Nope_Col' not found"));

    // Walking back from the end visits every row once, in reverse.
    q = run({"Select * From InvItem order by Amount_Item"});
    QStringList seen;
    for (q->last(); !q->bof(); q->prior())
        seen.append(q->field(QStringLiteral("Amount_Item")).asText());
    QCOMPARE(seen, (QStringList{"120", "70", "12.5"}));
}

void TestData::databaseIsCreatedOnce()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("new folder/tavlin.db"));
    QVERIFY(!QFile::exists(path));
    {
        TDM first(path);
        QCOMPARE(DM, &first);
        QVERIFY(QFile::exists(path));
        change({"Insert Into Part ( ID_Material, Number_Material ) Values ( 5, 'from the first "
                "start' )"});
        change({"Update Reg Set Name_R = 'Renamed Shop' where Id_R = 1"});
    }
    QVERIFY(DM == nullptr);
    QVERIFY(!QFile::exists(path + QStringLiteral(".new")));

    TDM second(path);
    Query* q = run({"Select * From Part"});
    QCOMPARE(q->recordCount(), 1);
    QCOMPARE(q->field(QStringLiteral("Number_Material")).asText(),
             QStringLiteral("from the first start"));
    QCOMPARE(run({"Select * From Reg"})->recordCount(), 1);
    QCOMPARE(DM->profile()->field(QStringLiteral("Name_R")).asText(),
             QStringLiteral("Renamed Shop"));
    QCOMPARE(run({"Select * From Pass"})->recordCount(), 1);
}

void TestData::tableColumnsInOrder_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("columns");
    for (const Schema::Table& t : Schema::tables()) {
        QStringList names;
        for (const Schema::Column& c : t.columns)
            names.append(c.name);
        QTest::newRow(qPrintable(t.name)) << t.name << names;
    }
}

void TestData::tableColumnsInOrder()
{
    QFETCH(QString, table);
    QFETCH(QStringList, columns);
    TestShop shop;
    QStringList have;
    if (TestShop::onServer()) {
        // A server folds the names to lower case and keeps the hidden row key last.
        for (const QVariantList& r : shop.rows(
                 QStringLiteral("select column_name from information_schema.columns where "
                                "table_schema = current_schema() and table_name = lower('%1') "
                                "and column_name <> 'tavlin_row' order by ordinal_position")
                     .arg(table)))
            have.append(r.at(0).toString());
        QStringList lower;
        for (const QString& c : columns)
            lower.append(c.toLower());
        QCOMPARE(have, lower);
    } else {
        // The hidden row key stands last.
        for (const QVariantList& r :
             shop.rows(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table)))
            have.append(r.at(1).toString());
        QCOMPARE(have.takeLast(), QStringLiteral("tavlin_row"));
        QCOMPARE(have, columns);
    }
    // What a select of every column returns, in the same order.
    QCOMPARE(run({"Select * From " + table})->columnNames(), columns);
}

void TestData::newDatabaseIsSeeded()
{
    TestShop shop;
    // Every table of the schema and no other (a server keeps its schema version apart, the file
    // its truck search index).
    QCOMPARE(shop.value(TestShop::onServer()
                            ? QStringLiteral("select count(*) from information_schema.tables where "
                                             "table_schema = current_schema() and table_name <> "
                                             "'tavlin_schema'")
                            : QStringLiteral("select count(*) from sqlite_master where type = "
                                             "'table' and name not like 'sqlite%' and name "
                                             "not like 'TruckSearch%'"))
                 .toInt(),
             int(Schema::tables().size()));
    Query* reg = DM->profile();
    QVERIFY(reg->isOpen());
    QCOMPARE(reg->recordCount(), 1);
    QCOMPARE(reg->field(QStringLiteral("Id_R")).asInteger(), 1);
    QVERIFY(!reg->field(QStringLiteral("Name_R")).asText().isEmpty());
    // The first user, its password kept as a hash of the one the sign-in box is filled with.
    const QList<QVariantList> users =
        shop.rows(QStringLiteral("select UserName_Pass, Password_Pass from Pass"));
    QCOMPARE(users.size(), 1);
    QCOMPARE(users.first().value(0).toString(), QStringLiteral("Guest"));
    QVERIFY(Password::verify(users.first().value(1).toString(), Schema::guestPassword()));
    QVERIFY(!DM->technician()->isOpen());
}

void TestData::foreignFileIsRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    const QString notOurs = QStringLiteral("The file %1 is not a Tavlin shop database. The program "
                                           "ends and leaves the file as it is.");
    const QString other =
        QStringLiteral("The file %1 is a database of another program, not a Tavlin shop database. "
                       "The program ends and leaves the file as it is.");
    QTest::newRow("text file") << "text" << notOurs;
    QTest::newRow("empty file") << "empty" << notOurs;
    QTest::newRow("another program's database") << "other" << other;
    QTest::newRow("database without an owner mark") << "unmarked" << other;
    const QString current = QString::number(ShopDatabase::currentVersion());
    QTest::newRow("newer schema")
        << "newer"
        << "The shop database %1 was written by a newer release of Tavlin (schema " +
               QString::number(ShopDatabase::currentVersion() + 1) + "; this release knows " +
               current + "). The program ends and leaves the file as it is.";
    QTest::newRow("never finished") << "unfinished"
                                    << QStringLiteral("The shop database %1 is incomplete. The "
                                                      "program ends and leaves the file as it is.");
    QTest::newRow("table without its columns")
        << "damaged"
        << QStringLiteral("The shop database %1 is damaged: Pass has no column Password_Pass. The "
                          "program ends and leaves the file as it is.");
}

void TestData::foreignFileIsRefused()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tavlin.db"));
    if (kind == "text" || kind == "empty") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (kind == "text")
            file.write(QByteArray("Customer list\nACME,Joliet\n").repeated(20));
    } else {
        const int ours = Schema::ApplicationId;
        writeSqlite(path,
                    kind == "other"      ? 0x12345678
                    : kind == "unmarked" ? 0
                                         : ours,
                    kind == "newer"        ? ShopDatabase::currentVersion() + 1
                    : kind == "unfinished" ? 0
                                           : ShopDatabase::currentVersion(),
                    kind == "damaged");
    }
    if (QTest::currentTestFailed())
        return;
    const QByteArray before = contents(path);
    QVERIFY(kind == "empty" || !before.isEmpty());

    QCOMPARE(refusal([&] { TDM dm(path); }), message.arg(QDir::toNativeSeparators(path)));
    QVERIFY(DM == nullptr);
    QCOMPARE(contents(path), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"tavlin.db"});

    // The program can still open a shop database afterwards.
    TDM good(dir.filePath(QStringLiteral("other.db")));
    QCOMPARE(DM->profile()->recordCount(), 1);
}

void TestData::currencyFormats_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("units");
    QTest::addColumn<QString>("hash");
    QTest::addColumn<QString>("money");
    QTest::newRow("zero") << "0" << qint64(0) << ""
                          << "$0.00";
    QTest::newRow("one decimal") << "12.5" << qint64(125000) << "12.5"
                                 << "$12.50";
    QTest::newRow("thousands") << "1,234.50" << qint64(12345000) << "1234.5"
                               << "$1,234.50";
    QTest::newRow("under one") << "0.5" << qint64(5000) << ".5"
                               << "$0.50";
    QTest::newRow("whole") << " 3 " << qint64(30000) << "3"
                           << "$3.00";
    QTest::newRow("negative under one") << "-0.25" << qint64(-2500) << "-.25"
                                        << "-$0.25";
    QTest::newRow("negative rounded") << "-1234.567" << qint64(-12345670) << "-1234.57"
                                      << "-$1,234.57";
    QTest::newRow("below half a cent") << "0.004" << qint64(40) << ""
                                       << "$0.00";
    QTest::newRow("half a cent") << "0.005" << qint64(50) << ".01"
                                 << "$0.01";
    QTest::newRow("negative half a cent") << "-0.005" << qint64(-50) << "-.01"
                                          << "-$0.01";
    QTest::newRow("2.675") << "2.675" << qint64(26750) << "2.68"
                           << "$2.68";
    QTest::newRow("1.005") << "1.005" << qint64(10050) << "1.01"
                           << "$1.01";
    QTest::newRow("fifth decimal half") << "12.34565" << qint64(123457) << "12.35"
                                        << "$12.35";
    QTest::newRow("negative fifth decimal half") << "-12.34565" << qint64(-123457) << "-12.35"
                                                 << "-$12.35";
    QTest::newRow("half carries into whole") << "19.99995" << qint64(200000) << "20"
                                             << "$20.00";
    QTest::newRow("half a unit") << "0.00005" << qint64(1) << ""
                                 << "$0.00";
    QTest::newRow("negative half a unit") << "-0.00005" << qint64(-1) << ""
                                          << "$0.00";
    QTest::newRow("billions") << "99,999,999,999.99" << qint64(999999999999900) << "99999999999.99"
                              << "$99,999,999,999.99";
    QTest::newRow("very large") << "900000000000000" << qint64(9000000000000000000)
                                << "900000000000000"
                                << "$900,000,000,000,000.00";
}

void TestData::currencyFormats()
{
    QFETCH(QString, text);
    QFETCH(qint64, units);
    QFETCH(QString, hash);
    QFETCH(QString, money);
    const Currency c = Currency::parse(text);
    QCOMPARE(c.units(), units);
    QCOMPARE(c.toHashFormat(), hash);
    QCOMPARE(c.toMoneyFormat(), money);
    // What the boxes show reads back as the amount rounded to cents.
    QCOMPARE(Currency::parse(hash, true), c.roundedToCents());
    QCOMPARE(Currency::parse(QString(money).remove(QLatin1Char('$'))), c.roundedToCents());
    // Stored in a money column and read back, the amount shows the same.
    TestShop shop;
    change({"Insert Into Invoice ( InvoiceNo_Inv, Amount_Inv ) Values ( 1, '" +
            Sql::text(text.trimmed().remove(QLatin1Char(','))) + "' )"});
    QCOMPARE(run({"Select * From Invoice"})
                 ->field(QStringLiteral("Amount_Inv"))
                 .asCurrency()
                 .toHashFormat(),
             hash);
}

void TestData::currencyMultiplies_data()
{
    QTest::addColumn<QString>("rate");
    QTest::addColumn<double>("factor");
    QTest::addColumn<qint64>("units");
    QTest::newRow("quantity times price") << "12.5" << 3.0 << qint64(375000);
    QTest::newRow("half a unit rounds up") << "12.3333" << 1.5 << qint64(185000);
    QTest::newRow("smallest half rounds up") << "0.0003" << 0.5 << qint64(2);
    QTest::newRow("negative half rounds down") << "-0.0003" << 0.5 << qint64(-2);
    QTest::newRow("another half") << "7.0001" << 2.5 << qint64(175003);
    QTest::newRow("times zero") << "19.99" << 0.0 << qint64(0);
    QTest::newRow("negative factor") << "12.5" << -2.0 << qint64(-250000);
}

void TestData::currencyMultiplies()
{
    QFETCH(QString, rate);
    QFETCH(double, factor);
    QFETCH(qint64, units);
    QCOMPARE((Currency::parse(rate) * factor).units(), units);
}

void TestData::writeLockIsWaitedFor_data()
{
    QTest::addColumn<int>("heldMs");
    QTest::addColumn<bool>("through");
    QTest::addColumn<bool>("transaction");
    // Another program saving for a moment is waited for; one that keeps the file locked past
    // the wait is reported plainly, and nothing is half-done.
    QTest::newRow("a moment") << 400 << true << true;
    QTest::newRow("longer than the wait") << 6500 << false << true;
    QTest::newRow("one statement, longer than the wait") << 6500 << false << false;
}

void TestData::writeLockIsWaitedFor()
{
    SKIP_ON_SERVER("the file's write lock; a server's stations are raced by the station tests");
    QFETCH(int, heldMs);
    QFETCH(bool, through);
    QFETCH(bool, transaction);
    TestShop shop;
    const QString path = shop.databasePath();
    std::promise<bool> locked;
    bool committed = false;
    std::thread other([&] {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "other-program");
            db.setDatabaseName(path);
            QSqlQuery q(db);
            const bool holds = db.open() && q.exec("BEGIN IMMEDIATE") &&
                               q.exec("Insert into Tax (Id_T, Year_T, A_T, E_T, Tax_T) values "
                                      "(9, 2030, 1, 12, 0.09)");
            locked.set_value(holds);
            if (holds) {
                QThread::msleep(heldMs);
                committed = q.exec("COMMIT");
            }
        }
        QSqlDatabase::removeDatabase("other-program");
    });
    std::future<bool> holding = locked.get_future();
    if (!holding.get()) {
        other.join();
        QFAIL("the other program could not lock the file");
    }
    QElapsedTimer waited;
    waited.start();
    const QString outcome = refusal([&] {
        if (!transaction) {
            Query change("Q1", DM->admin1());
            change.add("Insert into Tax (Id_T, Year_T, A_T, E_T, Tax_T) values (10, 2031, 1, "
                       "12, 0.1)");
            change.exec();
            return;
        }
        Transaction saving(DM);
        // Read, then written: the way a save checks before it writes. Without the lock taken
        // at the start, the write fails at once when the other program commits meanwhile.
        Query check("Q2", DM->admin1());
        check.add("Select Count(*) From Tax");
        check.open();
        Query change("Q1", DM->admin1());
        change.add("Insert into Tax (Id_T, Year_T, A_T, E_T, Tax_T) values (10, 2031, 1, 12, "
                   "0.1)");
        change.exec();
        saving.commit();
    });
    const qint64 elapsed = waited.elapsed();
    other.join();
    QVERIFY(committed);
    QVERIFY(elapsed >= (through ? heldMs - 100 : 4000));
    QCOMPARE(outcome, through ? QStringLiteral("accepted") : DbError::busy());
    QCOMPARE(shop.value("Select Count(*) From Tax Where Id_T = 10").toInt(), through ? 1 : 0);
    QCOMPARE(shop.value("Select Count(*) From Tax Where Id_T = 9").toInt(), 1);
}

void TestData::partOfACommand_data()
{
    // Whether the part inside the command is committed, and the command itself; what is kept.
    QTest::addColumn<bool>("partCommitted");
    QTest::addColumn<bool>("commandCommitted");
    QTest::addColumn<QStringList>("kept");
    QTest::newRow("both kept") << true << true << QStringList{"before", "part", "after"};
    QTest::newRow("the part undone, the command kept")
        << false << true << QStringList{"before", "after"};
    QTest::newRow("the part kept, the command undone") << true << false << QStringList{};
    QTest::newRow("both undone") << false << false << QStringList{};
}

void TestData::partOfACommand()
{
    QFETCH(bool, partCommitted);
    QFETCH(bool, commandCommitted);
    QFETCH(QStringList, kept);
    TestShop shop;
    const auto add = [](const QString& name) {
        DM->admin1()->execute(
            SqlStatement{{"Insert into Labor (Description_Labor) values (?)"}, {name}});
    };
    {
        Transaction command(DM);
        add("before");
        {
            // A part begun within the command: a number claim, say.
            Transaction part(DM);
            add("part");
            if (partCommitted)
                part.commit();
        }
        add("after");
        if (commandCommitted)
            command.commit();
    }
    QStringList stored;
    for (const QVariantList& row :
         shop.rows("Select Description_Labor From Labor Order By tavlin_row"))
        stored.append(row.value(0).toString());
    QCOMPARE(stored, kept);
    // The connection takes a new command afterwards.
    Transaction next(DM);
    add("next");
    next.commit();
}

QTEST_MAIN(TestData)
#include "tst_data.moc"
