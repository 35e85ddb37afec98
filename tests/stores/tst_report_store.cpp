// The report store's operations on their own, without a window, on the engine the run uses.

#include "../reports/ReportShop.h"
#include "TestShop.h"
#include "data/Currency.h"
#include "data/Query.h"
#include "data/SqlSelect.h"
#include "data/TDM.h"
#include "stores/ReportStore.h"

#include <QDate>
#include <QTest>

#include <functional>
#include <stdexcept>

namespace {
using Choice = ReportStore::Choice;

const QDate march1(2026, 3, 1);
const QDate march31(2026, 3, 31);

// Texts a clerk can type that a statement must take as values, whole.
QList<std::pair<QString, QString>> hostileTexts()
{
    return {{"quote", "O'Brien"},      {"backslash and quote", "back\\'slash"},
            {"wildcards", "100%_off"}, {"10,000 characters", QString("a'b\\c").repeated(2000)},
            {"emoji", "🚚🔧"},           {"empty", QStringLiteral("")}};
}

// A query of the shop's connection, as a window's own.
struct Rows
{
    Query query{"Q1", DM->admin1()};
};

// The queries the totals printout reads.
struct Sums
{
    Query labor{"Q1", DM->admin1()}, parts{"Q2", DM->admin1()}, tax{"Q5", DM->admin1()},
        purchases{"Q4", DM->admin1()};
    ReportStore::Totals totals() { return {labor, parts, tax, purchases}; }
};

// The texts of one column of every row.
QStringList column(const Query& rows, const QString& name)
{
    const int index = rows.columnIndex(name);
    if (index < 0)
        throw std::runtime_error("no column " + name.toStdString());
    return rows.values(index);
}

// A sum as money, empty when there is nothing to add up.
QString money(const Query& sum)
{
    if (sum.isEmpty() || sum.field(0, 0).isNull())
        return {};
    return sum.field(0, 0).asCurrency().toMoneyFormat();
}

void addPayable(TestShop& shop, const QString& vendor, const QString& via, const QString& date,
                const QString& chart, const QString& subChart)
{
    shop.exec("Insert into Payable (BillNo_Payable, Name_Payable, ViaPayment_Payable, "
              "PayDate_Payable, Amount_Payable, Chart_Payable, SubChart_Payable) "
              "values ('B-1', ?, ?, ?, 10, ?, ?)",
              {vendor, via, date, chart, subChart});
}

// An operation with a text: arranges a row holding the text and one holding "Smith", runs the
// operation chosen by the text and returns what it read back.
using Run = std::function<QStringList(TestShop&, const QString&)>;

QHash<QString, Run> textOperations()
{
    QHash<QString, Run> runs;
    runs["invoice totals, customer"] = [](TestShop& shop, const QString& text) {
        addInvoice(shop, {1, text, "2026-03-10", true, "No"});
        addParts(shop, 1, 10);
        addInvoice(shop, {2, "Smith", "2026-03-10", true, "No"});
        addParts(shop, 2, 100);
        Sums sums;
        const auto unrated =
            ReportStore().invoiceTotals(sums.totals(), march1, march31, text, false);
        return QStringList{unrated ? QStringLiteral("unrated") : money(sums.parts)};
    };
    runs["open invoices, customer"] = [](TestShop& shop, const QString& text) {
        addInvoice(shop, {1, text, "2026-03-10", false, "No"});
        addInvoice(shop, {2, "Smith", "2026-03-10", false, "No"});
        Rows rows;
        ReportStore().openInvoices(rows.query, march1, march31, text, false);
        return column(rows.query, "Name");
    };
    runs["finished payments, payer and method"] = [](TestShop& shop, const QString& text) {
        addInvoice(shop, {1, "Smith", "2026-03-10", true, "No"});
        addPaymentBy(shop, 1, "2026-03-10", 10, text, text);
        Rows rows;
        ReportStore().finishedInvoicePayments(rows.query, march1, march31, false);
        const QStringList via = column(rows.query, "Via");
        return via == column(rows.query, "Name") ? via : QStringList{"names differ"};
    };
    const QStringList payable = {"vendor", "via", "chart", "subChart"};
    for (int i = 0; i < payable.size(); ++i)
        runs["vendor payments, " + payable[i]] = [i](TestShop& shop, const QString& text) {
            QStringList values = {"Smith", "Smith", "Smith", "Smith"};
            values[i] = text;
            addPayable(shop, values[0], values[1], "2026-03-10", values[2], values[3]);
            addPayable(shop, "Smith", "Smith", "2026-03-11", "Smith", "Smith");
            ReportStore::PayableChoices choices;
            Choice* chosen[] = {&choices.vendor, &choices.via, &choices.chart, &choices.subChart};
            *chosen[i] = text;
            Rows rows;
            ReportStore().vendorPayments(rows.query, march1, march31, choices);
            const char* columns[] = {"Name_Payable", "ViaPayment_Payable", "Chart_Payable",
                                     "SubChart_Payable"};
            return column(rows.query, columns[i]);
        };
    for (const bool method : {false, true})
        runs[method ? "customer payments, method" : "customer payments, customer"] =
            [method](TestShop& shop, const QString& text) {
                addPaymentBy(shop, 1, "2026-03-10", 10, method ? "Smith" : text,
                             method ? text : "Smith");
                addPaymentBy(shop, 2, "2026-03-11", 20, "Smith", "Smith");
                Rows rows;
                ReportStore().customerPayments(rows.query, march1, march31,
                                               method ? Choice() : text,
                                               method ? Choice(text) : Choice());
                return column(rows.query, method ? "ViaPayment_Receivable" : "Name_Receivable");
            };
    runs["order lines, vendor"] = [](TestShop& shop, const QString& text) {
        addOrderFrom(shop, 1, "2026-03-05", text, "Smith", {{"Filter", 1, 10}});
        addOrderFrom(shop, 2, "2026-03-05", "Smith", "Smith", {{"Filter", 1, 10}});
        Rows rows;
        ReportStore().orderLines(rows.query, march1, march31, text);
        return column(rows.query, "Vendor_Order");
    };
    // The part is a pattern found anywhere in the name: an empty one finds every line.
    runs["part order lines, part"] = [](TestShop& shop, const QString& text) {
        addOrderFrom(shop, 1, "2026-03-05", "Smith", "Smith", {{text, 1, 10}, {"Smith", 1, 10}});
        Rows rows;
        ReportStore().partOrderLines(rows.query, text, march1, march31, {}, {});
        QStringList names = column(rows.query, "Name_Item");
        names.sort();
        return names;
    };
    for (const bool customer : {false, true})
        runs[customer ? "part order lines, customer" : "part order lines, vendor"] =
            [customer](TestShop& shop, const QString& text) {
                addOrderFrom(shop, 1, "2026-03-05", customer ? "Smith" : text,
                             customer ? text : "Smith", {{"Filter", 1, 10}});
                addOrderFrom(shop, 2, "2026-03-05", "Smith", "Smith", {{"Filter", 1, 10}});
                Rows rows;
                ReportStore().partOrderLines(rows.query, "", march1, march31,
                                             customer ? Choice() : text,
                                             customer ? Choice(text) : Choice());
                return column(rows.query, customer ? "SideMark_Order" : "Vendor_Order");
            };
    for (const bool labor : {false, true})
        runs[labor ? "invoice labor lines, customer"
                   : "invoice part lines, customer"] = [labor](TestShop& shop,
                                                               const QString& text) {
            for (const int number : {1, 2}) {
                addInvoice(shop, {number, number == 1 ? text : "Smith", "2026-03-10", true, "No"});
                addParts(shop, number, 10);
                addLabor(shop, number, 10);
            }
            Rows rows;
            if (labor)
                ReportStore().invoiceLaborLines(rows.query, march1, march31, text);
            else
                ReportStore().invoicePartLines(rows.query, march1, march31, text);
            return column(rows.query, "CustomerName_Inv");
        };
    return runs;
}

// Rows dated the day before the period, its first and last day, and the day after it; the
// operation over the period reads back the dates it found.
QHash<QString, std::function<QStringList(TestShop&)>> periodOperations()
{
    const QStringList days = {"2026-02-28", "2026-03-01", "2026-03-31", "2026-04-01"};
    QHash<QString, std::function<QStringList(TestShop&)>> runs;
    runs["vendor payments"] = [days](TestShop& shop) {
        for (const QString& day : days)
            addPayable(shop, "Acme", "Check", day, "Parts", "Brakes");
        Rows rows;
        ReportStore().vendorPayments(rows.query, march1, march31, {});
        return column(rows.query, "PayDate_Payable");
    };
    runs["customer payments"] = [days](TestShop& shop) {
        for (const QString& day : days)
            addPaymentBy(shop, 1, day, 10, "Smith", "Cash");
        Rows rows;
        ReportStore().customerPayments(rows.query, march1, march31, {}, {});
        return column(rows.query, "PayDate_Receivable");
    };
    for (const bool parts : {false, true})
        runs[parts ? "part order lines" : "order lines"] = [days, parts](TestShop& shop) {
            for (int i = 0; i < days.size(); ++i)
                addOrderFrom(shop, i + 1, days[i], "Acme", "Smith", {{"Filter", 1, 10}});
            Rows rows;
            if (parts)
                ReportStore().partOrderLines(rows.query, "", march1, march31, {}, {});
            else
                ReportStore().orderLines(rows.query, march1, march31, {});
            return column(rows.query, "OrderDate_Order");
        };
    for (const bool labor : {false, true})
        runs[labor ? "invoice labor lines" : "invoice part lines"] = [days, labor](TestShop& shop) {
            for (int i = 0; i < days.size(); ++i) {
                addInvoice(shop, {i + 1, "Smith", days[i], true, "No"});
                addParts(shop, i + 1, 10);
                addLabor(shop, i + 1, 10);
            }
            Rows rows;
            if (labor)
                ReportStore().invoiceLaborLines(rows.query, march1, march31, {});
            else
                ReportStore().invoicePartLines(rows.query, march1, march31, {});
            return column(rows.query, "InvoiceDate_Inv");
        };
    runs["open invoices"] = [days](TestShop& shop) {
        for (int i = 0; i < days.size(); ++i)
            addInvoice(shop, {i + 1, "Smith", days[i], false, "No"});
        Rows rows;
        ReportStore().openInvoices(rows.query, march1, march31, {}, false);
        return column(rows.query, "DateT");
    };
    // Each invoice paid once, on its day.
    runs["finished payments"] = [days](TestShop& shop) {
        for (int i = 0; i < days.size(); ++i) {
            addInvoice(shop, {i + 1, "Smith", days[i], true, "No"});
            addPayment(shop, i + 1, days[i], 10);
        }
        Rows rows;
        ReportStore().finishedInvoicePayments(rows.query, march1, march31, false);
        return column(rows.query, "DateT");
    };
    return runs;
}
} // namespace

class TestReportStore : public QObject
{
    Q_OBJECT

private slots:
    void aging_data();
    void aging();
    void statements_data();
    void statements();
    void textsAreValues_data();
    void textsAreValues();
    void periodEndsAreIncluded_data();
    void periodEndsAreIncluded();
    void totals_data();
    void totals();
    void unratedInvoice_data();
    void unratedInvoice();
    void lists_data();
    void lists();
};

void TestReportStore::textsAreValues_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found");
    QStringList operations = textOperations().keys();
    operations.sort();
    for (const QString& operation : operations)
        for (const auto& [name, text] : hostileTexts()) {
            // The one row holding the text, read back whole; the totals add up its parts.
            QStringList found = {text};
            if (operation == "invoice totals, customer")
                found = QStringList{"$10.00"};
            else if (operation == "part order lines, part" && text.isEmpty())
                found = QStringList{"", "Smith"};
            QTest::addRow("%s, %s", qPrintable(operation), qPrintable(name))
                << operation << text << found;
        }
}

void TestReportStore::textsAreValues()
{
    QFETCH(QString, operation);
    QFETCH(QString, text);
    QFETCH(QStringList, found);
    TestShop shop;
    QCOMPARE(textOperations().value(operation)(shop, text), found);
}

void TestReportStore::periodEndsAreIncluded_data()
{
    QTest::addColumn<QString>("operation");
    QStringList operations = periodOperations().keys();
    operations.sort();
    for (const QString& operation : operations)
        QTest::newRow(qPrintable(operation)) << operation;
}

void TestReportStore::periodEndsAreIncluded()
{
    QFETCH(QString, operation);
    TestShop shop;
    // In the order of the dates: not every listing asks for an order.
    QStringList dates = periodOperations().value(operation)(shop);
    dates.sort();
    QCOMPARE(dates, (QStringList{"3/1/2026", "3/31/2026"}));
}

void TestReportStore::totals_data()
{
    // Tax rows as "year first-month last-month rate"; invoices as "date parts labor tax paid",
    // each paid in full on its date, so that the invoices dated in a period are those
    // finished in it.
    QTest::addColumn<QStringList>("rates");
    QTest::addColumn<QStringList>("invoices");
    QTest::addColumn<bool>("paidOnly");
    QTest::addColumn<QStringList>("figures"); // labor, parts, tax
    const QStringList rate = {"2026 1 12 0.0825"};
    QTest::newRow("the month picks the row")
        << QStringList{"2026 1 2 0.06", "2026 3 12 0.05"}
        << QStringList{"2026-03-10 100 0 Yes 1", "2026-03-20 200 0 Yes 1"} << false
        << QStringList{"", "$300.00", "$15.00"};
    QTest::newRow("a month no row covers: the year's earliest row")
        << QStringList{"2026 4 12 0.08", "2026 1 1 0.05"} << QStringList{"2026-03-10 100 0 Yes 1"}
        << false << QStringList{"", "$100.00", "$5.00"};
    QTest::newRow("rows that overlap: the earliest starting")
        << QStringList{"2026 3 12 0.07", "2026 1 12 0.05"} << QStringList{"2026-03-10 100 0 Yes 1"}
        << false << QStringList{"", "$100.00", "$5.00"};
    // 10.10 x 8.25 % is 0.83325: each invoice is charged 0.83.
    QTest::newRow("each invoice rounded to the cent")
        << rate << QStringList{"2026-03-10 10.10 0 Yes 1", "2026-03-11 10.10 0 Yes 1"} << false
        << QStringList{"", "$20.20", "$1.66"};
    QTest::newRow("half a cent rounds up")
        << QStringList{"2026 1 12 0.05"} << QStringList{"2026-03-10 0.50 0 Yes 1"} << false
        << QStringList{"", "$0.50", "$0.03"};
    QTest::newRow("tax written in other letters, and untaxed")
        << rate << QStringList{"2026-03-10 100 20 yes 1", "2026-03-11 100 30 No 1"} << false
        << QStringList{"$50.00", "$200.00", "$8.25"};
    QTest::newRow("the period's ends included")
        << rate
        << QStringList{"2026-02-28 1 1 Yes 1", "2026-03-01 100 10 Yes 1", "2026-03-31 100 20 Yes 1",
                       "2026-04-01 1 1 Yes 1"}
        << false << QStringList{"$30.00", "$200.00", "$16.50"};
    const QStringList someUnpaid = {"2026-03-10 100 10 Yes 1", "2026-03-11 200 20 Yes 0"};
    QTest::newRow("paid or not") << rate << someUnpaid << false
                                 << QStringList{"$30.00", "$300.00", "$24.75"};
    QTest::newRow("paid only") << rate << someUnpaid << true
                               << QStringList{"$10.00", "$100.00", "$8.25"};
}

void TestReportStore::totals()
{
    QFETCH(QStringList, rates);
    QFETCH(QStringList, invoices);
    QFETCH(bool, paidOnly);
    QFETCH(QStringList, figures);
    TestShop shop;
    shop.addTaxRates(rates);
    int number = 0;
    for (const QString& row : invoices) {
        const QStringList f = row.split(' ');
        addInvoice(shop, {++number, "Smith", f[0], f[4] == "1", f[3]});
        addParts(shop, number, f[1].toDouble());
        if (f[2].toDouble() > 0)
            addLabor(shop, number, f[2].toDouble());
        addPayment(shop, number, f[0], 1);
    }
    addOrder(shop, 1, "2026-03-31", {70, 30});
    addOrder(shop, 2, "2026-04-01", {500});
    ReportStore store;
    for (const bool byPayment : {false, true}) {
        Sums found;
        const ReportStore::Totals totals = found.totals();
        const auto unrated = byPayment ? store.finishedTotals(totals, march1, march31, paidOnly)
                                       : store.invoiceTotals(totals, march1, march31, {}, paidOnly);
        QVERIFY(!unrated);
        // By payment, an invoice left out counts 0 in the work tables: the same sums.
        QStringList sums{money(found.labor), money(found.parts), money(found.tax)};
        if (byPayment && figures[0].isEmpty() && sums[0] == "$0.00")
            sums[0].clear();
        QCOMPARE(sums, figures);
        QCOMPARE(money(found.purchases), QStringLiteral("$100.00"));
    }
}

void TestReportStore::unratedInvoice_data()
{
    // An invoice as "date parts labor tax" ("-" for no date), paid in March 2026, whose year
    // has no rate: by invoice date it is dated in March 2026, by payment in 2024.
    QTest::addColumn<QString>("invoice");
    QTest::addColumn<bool>("byPayment");
    QTest::addColumn<bool>("refused");
    for (const bool byPayment : {false, true}) {
        const char* kind = byPayment ? "by payment" : "by invoice date";
        const QString day = byPayment ? "2024-06-01" : "2026-03-10";
        QTest::addRow("%s, taxed with parts", kind) << day + " 10 0 Yes" << byPayment << true;
        QTest::addRow("%s, labor only", kind) << day + " 0 10 Yes" << byPayment << false;
        QTest::addRow("%s, untaxed", kind) << day + " 10 0 No" << byPayment << false;
    }
    QTest::newRow("by payment, without a date") << "- 10 0 Yes" << true << true;
}

void TestReportStore::unratedInvoice()
{
    QFETCH(QString, invoice);
    QFETCH(bool, byPayment);
    QFETCH(bool, refused);
    TestShop shop;
    // By invoice date the year of the period has no rate; by payment the invoice's own year.
    addRate(shop, byPayment ? 2026 : 2025, 0.05);
    const QStringList f = invoice.split(' ');
    addInvoice(shop, {7, "Smith", f[0] == "-" ? QString() : f[0], true, f[3]});
    if (f[1] != "0")
        addParts(shop, 7, f[1].toDouble());
    if (f[2] != "0")
        addLabor(shop, 7, f[2].toDouble());
    addPayment(shop, 7, "2026-03-10", 10);
    // The work tables hold an earlier run.
    shop.exec("Insert into TotalLabor values (99, 5)");
    Sums sums;
    const ReportStore::Totals totals = sums.totals();
    ReportStore store;
    const auto unrated = byPayment ? store.finishedTotals(totals, march1, march31, false)
                                   : store.invoiceTotals(totals, march1, march31, {}, false);
    QCOMPARE(unrated.has_value(), refused);
    const QList<QVariantList> workTable = shop.rows("Select * From TotalLabor");
    if (!refused) {
        // Loaded; by payment the work tables hold this run.
        QVERIFY(sums.labor.isOpen() && sums.purchases.isOpen());
        QCOMPARE(workTable.size(), 1);
        QCOMPARE(workTable.first().first().toInt(), byPayment ? 7 : 99);
        return;
    }
    QCOMPARE(unrated->invoice, QStringLiteral("7"));
    QCOMPARE(unrated->date.isNull(), f[0] == "-");
    if (f[0] != "-")
        QCOMPARE(unrated->date.asText(), QDate::fromString(f[0], Qt::ISODate).toString("M/d/yyyy"));
    // Nothing is loaded, and the work tables keep the earlier run.
    QVERIFY(!sums.labor.isOpen() && !sums.purchases.isOpen());
    QCOMPARE(workTable.size(), 1);
    QCOMPARE(workTable.first().first().toInt(), 99);
}

void TestReportStore::lists_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("insert");
    const QString bill = "Insert into Bill (Ref_Bill, Vendor_Bill, Chart_Bill, SubChart_Bill) "
                         "values ('B-1', %1)";
    QTest::newRow("customers") << QString("Customer") << QString("Name_Customer")
                               << "Insert into Customer (ID_Customer, Name_Customer) values "
                                  "(?, ?)";
    QTest::newRow("companies") << QString("Company") << QString("Name_Company")
                               << "Insert into Company (ID_Company, Name_Company) values (?, ?)";
    QTest::newRow("bill vendors") << QString("Bill") << QString("Vendor_Bill")
                                  << bill.arg("?, 'x', 'x'");
    QTest::newRow("bill charts") << QString("Bill") << QString("Chart_Bill")
                                 << bill.arg("'x', ?, 'x'");
    QTest::newRow("bill sub charts")
        << QString("Bill") << QString("SubChart_Bill") << bill.arg("'x', 'x', ?");
    QTest::newRow("payment methods made")
        << QString("Payable") << QString("viaPayment_Payable")
        << "Insert into Payable (BillNo_Payable, ViaPayment_Payable) values ('B-1', ?)";
    QTest::newRow("payment methods received")
        << QString("Receivable") << QString("ViaPayment_Receivable")
        << "Insert into Receivable (InvoiceNo_Receivable, ViaPayment_Receivable) values (1, ?)";
}

void TestReportStore::lists()
{
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(QString, insert);
    TestShop shop;
    // Every text once, whole, however often it is stored.
    QStringList texts = {"Smith"};
    for (const auto& [name, text] : hostileTexts())
        texts.append(text);
    int id = 0;
    for (const QString& text : texts + QStringList{"Smith"}) {
        QVariantList values = {++id, text};
        if (insert.count('?') == 1)
            values.removeFirst();
        shop.exec(insert, values);
    }
    Rows rows;
    rows.query.setSql(SqlSelect::distinct(table, column));
    rows.query.open();
    QStringList found = rows.query.values();
    found.sort();
    texts.sort();
    QCOMPARE(found, texts);
}

// The shop of the aging and the statements, worked by hand as of 12/10/2026: day 0 is not yet
// due, day 30 the last of 1-30, day 31 the first of 31-60, day 90 the last of 61-90, day 91 over
// 90; without a due date the invoice (bill) date counts.
void agingShop(TestShop& shop)
{
    const auto invoice = [&](int n, const QString& customer, const QString& date,
                             const QString& due, double amount, bool paid) {
        shop.exec("Insert into Invoice (InvoiceNo_Inv, CustomerName_Inv, InvoiceDate_Inv, "
                  "DueDate_Inv, Amount_Inv, Paid_Inv) values (?, ?, ?, ?, ?, ?)",
                  {n, customer, QDate::fromString(date, Qt::ISODate),
                   due.isEmpty() ? QVariant(QMetaType::fromType<QDate>())
                                 : QVariant(QDate::fromString(due, Qt::ISODate)),
                   amount, paid});
    };
    const auto received = [&](int n, const QString& date, double amount) {
        shop.exec("Insert into Receivable (InvoiceNo_Receivable, PayDate_Receivable, "
                  "Amount_Receivable) values (?, ?, ?)",
                  {n, QDate::fromString(date, Qt::ISODate), amount});
    };
    invoice(1, "Acme", "2026-12-01", "2026-12-10", 100, false); // day 0
    invoice(2, "Acme", "2026-11-01", "2026-11-10", 200, false); // day 30, paid in part
    received(2, "2026-11-20", 50);
    invoice(3, "Acme", "2026-10-01", "2026-11-09", 80, false); // day 31
    invoice(4, "Bolt", "2026-09-01", "2026-09-11", 60, false); // day 90
    invoice(5, "Bolt", "2026-08-01", "2026-09-10", 40, false); // day 91
    invoice(6, "Bolt", "2026-08-01", "", 30, false);           // no due date: day 131
    invoice(7, "Paid Up", "2026-11-01", "2026-11-15", 90, true);
    received(7, "2026-12-01", 90);
    invoice(8, "Late Payer", "2026-11-01", "2026-11-15", 120, true); // paid only after the day
    received(8, "2026-12-15", 120);
    invoice(9, "Acme", "2026-12-11", "2026-12-11", 500, false); // after the day
    const auto bill = [&](const QString& ref, const QString& vendor, const QString& date,
                          const QString& due, double amount) {
        shop.exec("Insert into Bill (Ref_Bill, Vendor_Bill, BillDate_Bill, DueDate_Bill, "
                  "Amount_Bill) values (?, ?, ?, ?, ?)",
                  {ref, vendor, QDate::fromString(date, Qt::ISODate),
                   due.isEmpty() ? QVariant(QMetaType::fromType<QDate>())
                                 : QVariant(QDate::fromString(due, Qt::ISODate)),
                   amount});
    };
    const auto paid = [&](const QString& ref, const QString& date, double amount) {
        shop.exec("Insert into Payable (BillNo_Payable, PayDate_Payable, Amount_Payable) values "
                  "(?, ?, ?)",
                  {ref, QDate::fromString(date, Qt::ISODate), amount});
    };
    bill("B1", "Parts Co", "2026-12-05", "2026-12-20", 300); // not yet due, paid in part
    paid("B1", "2026-12-06", 100);
    bill("B2", "Parts Co", "2026-10-01", "2026-10-31", 50); // day 40
    bill("B3", "Oil Inc", "2026-11-01", "", 75);            // no due date: day 39
    bill("B4", "Oil Inc", "2026-11-01", "2026-11-15", 20);  // paid in full
    paid("B4", "2026-11-20", 20);
    bill("B5", "Oil Inc", "2026-11-20", "2026-12-01", 10); // day 9, paid after the day
    paid("B5", "2026-12-20", 10);
}

void TestReportStore::aging_data()
{
    QTest::addColumn<bool>("receivables");
    QTest::addColumn<QStringList>("expected"); // Party: not yet due, 1-30, 31-60, 61-90, >90, total
    QTest::newRow("receivables") << true
                                 << QStringList{"Acme: 100.00 150.00 80.00 0.00 0.00 330.00",
                                                "Bolt: 0.00 0.00 0.00 60.00 70.00 130.00",
                                                "Late Payer: 0.00 120.00 0.00 0.00 0.00 120.00"};
    QTest::newRow("payables") << false
                              << QStringList{"Oil Inc: 0.00 10.00 75.00 0.00 0.00 85.00",
                                             "Parts Co: 200.00 0.00 50.00 0.00 0.00 250.00"};
}

void TestReportStore::aging()
{
    QFETCH(bool, receivables);
    QFETCH(QStringList, expected);
    TestShop shop;
    agingShop(shop);
    Rows rows;
    const QDate asOf(2026, 12, 10);
    if (receivables)
        ReportStore().receivablesAging(rows.query, asOf);
    else
        ReportStore().payablesAging(rows.query, asOf);
    QStringList got;
    for (int r = 0; r < rows.query.recordCount(); ++r) {
        QStringList amounts;
        for (int c = 1; c <= 6; ++c)
            amounts.append(QString::number(rows.query.field(r, c).asNumber(), 'f', 2));
        got.append(rows.query.field(r, 0).asText() + ": " + amounts.join(' '));
    }
    QCOMPARE(got, expected);
}

void TestReportStore::statements_data()
{
    QTest::addColumn<QVariant>("customer"); // none: every customer
    QTest::addColumn<QStringList>("expected");
    // Customer, address, invoice, invoice and due date, amount, paid, balance, days past due,
    // and the balance in its bucket: not yet due, 1-30, 31-60, 61-90, over 90.
    const QStringList acme = {
        "Acme|1 Main St, Reno NV 89501|3|10/1/2026|11/9/2026|80.00|0.00|80.00|31|0 0 80 0 0",
        "Acme|1 Main St, Reno NV 89501|2|11/1/2026|11/10/2026|200.00|50.00|150.00|30|0 150 0 0 0",
        "Acme|1 Main St, Reno NV 89501|1|12/1/2026|12/10/2026|100.00|0.00|100.00|0|100 0 0 0 0",
        "ACME|1 Main St, Reno NV 89501|10|12/5/2026|12/5/2026|10.00|0.00|10.00|5|0 10 0 0 0"};
    const QStringList bolt = {"Bolt|, |5|8/1/2026|9/10/2026|40.00|0.00|40.00|91|0 0 0 0 40",
                              "Bolt|, |6|8/1/2026|8/1/2026|30.00|0.00|30.00|131|0 0 0 0 30",
                              "Bolt|, |4|9/1/2026|9/11/2026|60.00|0.00|60.00|90|0 0 0 60 0"};
    const QStringList late = {
        "Late Payer|9 Elm Rd, Sparks NV 89431|8|11/1/2026|11/15/2026|120.00|0.00|120.00|25|0 120 "
        "0 0 0"};
    QTest::newRow("every customer who owes") << QVariant() << acme + bolt + late;
    QTest::newRow("one customer, any spelling") << QVariant("acme") << acme;
    QTest::newRow("a customer who owes nothing") << QVariant("Paid Up") << QStringList();
    QTest::newRow("paid after the day") << QVariant("Late Payer") << late;
}

// The aging's shop, a customer whose name is kept twice (the first one's address is printed)
// and an invoice whose name is spelled in capitals, which goes on the same statement.
void TestReportStore::statements()
{
    QFETCH(QVariant, customer);
    QFETCH(QStringList, expected);
    TestShop shop;
    agingShop(shop);
    shop.exec("Insert into Invoice (InvoiceNo_Inv, CustomerName_Inv, InvoiceDate_Inv, "
              "Amount_Inv, Paid_Inv) values (10, 'ACME', ?, 10, ?)",
              {QDate(2026, 12, 5), false});
    for (const auto& [id, name, address, city, state, zip] :
         {std::tuple{1, "Acme", "1 Main St", "Reno", "NV", "89501"},
          std::tuple{2, "Acme", "7 Side St", "Elko", "NV", "89801"},
          std::tuple{3, "Late Payer", "9 Elm Rd", "Sparks", "NV", "89431"},
          std::tuple{4, "Paid Up", "3 Oak Ave", "Reno", "NV", "89502"}})
        shop.exec("Insert into Customer (ID_Customer, Name_Customer, Address_Customer, "
                  "City_Customer, State_Customer, Zip_Customer) values (?, ?, ?, ?, ?, ?)",
                  {id, name, address, city, state, zip});
    Rows rows;
    ReportStore().statements(rows.query, QDate(2026, 12, 10),
                             customer.isValid() ? Choice(customer.toString()) : std::nullopt);
    QStringList got;
    QStringList statements;
    for (int r = 0; r < rows.query.recordCount(); ++r) {
        const auto text = [&](const char* column) {
            return rows.query.field(r, rows.query.columnIndex(QString::fromLatin1(column)))
                .asText();
        };
        const auto amount = [&](const char* column) {
            return QString::number(
                rows.query.field(r, rows.query.columnIndex(QString::fromLatin1(column))).asNumber(),
                'f', 2);
        };
        QStringList buckets;
        for (const char* bucket : {"NotYetDue", "Days30", "Days60", "Days90", "Over90"})
            buckets.append(QString::number(
                rows.query.field(r, rows.query.columnIndex(QString::fromLatin1(bucket)))
                    .asNumber()));
        got.append(
            QStringList(
                {text("CustomerName_Inv"),
                 text("Address_Customer") + ", " + text("City_Customer") +
                     (text("State_Customer").isEmpty() ? QString() : " " + text("State_Customer")) +
                     (text("Zip_Customer").isEmpty() ? QString() : " " + text("Zip_Customer")),
                 text("InvoiceNo_Inv"), text("InvoiceDate_Inv"), text("DueDate_Inv"),
                 amount("Amount_Inv"), amount("Paid"), amount("Balance"), text("Days"),
                 buckets.join(' ')})
                .join('|'));
        statements.append(text("Statement"));
    }
    QCOMPARE(got, expected);
    // The rows of one customer are together under one statement, whatever the spelling: the
    // printout starts a statement wherever this column changes.
    QStringList starts;
    for (int r = 0; r < statements.size(); ++r)
        if (r == 0 || statements[r] != statements[r - 1])
            starts.append(statements[r]);
    QStringList customers;
    for (const QString& row : expected)
        customers.append(row.section('|', 0, 0).toUpper());
    customers.removeDuplicates();
    QCOMPARE(starts, customers);
}

QTEST_MAIN(TestReportStore)
#include "tst_report_store.moc"
