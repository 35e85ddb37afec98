#include "ReportShop.h"
#include "data/Query.h"
#include "data/TDM.h"
#include "printing/ReportEngine.h"
#include "reports/InvoiceStatusReports.h"
#include "reports/ListingReports.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <memory>

namespace {
const QString march = "3/1/2026";
const QString endOfMarch = "3/31/2026";

// Invoices of March 2026 in every payment state.
void invoiceShop(TestShop& shop)
{
    // Finished: paid before and during March, marked paid.
    addInvoice(shop, {11, "O'Neil Hauling", "2026-03-01", true, "Yes", 300});
    addPaymentBy(shop, 11, "2026-02-20", 100, "O'Neil Hauling", "Cash");
    addPaymentBy(shop, 11, "2026-03-10", 100, "O'Neil Hauling", "Check");
    addPaymentBy(shop, 11, "2026-03-31", 100, "O'Neil Hauling", "Visa");
    // An instalment after March: not finished in March.
    addInvoice(shop, {12, "Smith", "2026-03-02", true, "Yes", 324.75});
    addPaymentBy(shop, 12, "2026-03-12", 100, "Smith", "Cash");
    addPaymentBy(shop, 12, "2026-04-05", 224.75, "Smith", "Cash");
    // Paid in March but not marked paid.
    addInvoice(shop, {13, "Jones", "2026-03-03", false, "Yes", 50});
    addPaymentBy(shop, 13, "2026-03-15", 20, "Jones", "Cash");
    // A payment stored without a date beside one in March.
    addInvoice(shop, {16, "Smith", "2026-03-05", true, "Yes", 80});
    addPaymentBy(shop, 16, "", 30, "Smith", "Cash");
    addPaymentBy(shop, 16, "2026-03-20", 50, "Smith", "Check");
    // Open without payments, and open although paid in full.
    addInvoice(shop, {17, "Smith", "2026-03-06", false, "Yes", 120});
    addInvoice(shop, {18, "Jones", "2026-03-07", false, "Yes", 60});
    addPaymentBy(shop, 18, "2026-03-25", 60, "Jones", "Cash");
    // April, and a payment whose invoice was deleted.
    addInvoice(shop, {19, "O'Neil Hauling", "2026-04-02", false, "Yes", 75});
    addPaymentBy(shop, 99, "2026-03-18", 40, "Gone", "Cash");
}

void addPayable(TestShop& shop, const QString& bill, const QString& vendor, const QString& via,
                const QString& date, double amount, const QString& chart, const QString& sub)
{
    shop.exec("Insert into Payable (BillNo_Payable, Name_Payable, ViaPayment_Payable, "
              "PayDate_Payable, Amount_Payable, Chart_Payable, SubChart_Payable) "
              "values (?,?,?,?,?,?,?)",
              {bill, vendor, via, date, amount, chart, sub});
}

void payableShop(TestShop& shop)
{
    addPayable(shop, "B-0", "Acme", "Checking", "2026-02-28", 7, "Parts", "Engine");
    addPayable(shop, "B-1", "O'Hara Parts", "Checking", "2026-03-01", 100, "Parts", "Brakes");
    addPayable(shop, "B-2", "Acme", "Visa", "2026-03-31", 50.5, "Parts", "Engine");
    addPayable(shop, "B-3", "Acme", "Checking", "2026-03-15", 25, "Office", "Paper");
    addPayable(shop, "B-4", "Acme", "Checking", "2026-04-01", 999, "Parts", "Engine");
}

void orderShop(TestShop& shop)
{
    addOrderFrom(shop, 1, "2026-03-05", "Parts Depot", "Smith",
                 {{"Brake pad", 2, 30}, {"Oil filter", 1, 12.5}});
    addOrderFrom(shop, 2, "2026-03-20", "O'Hara Supply", "O'Neil",
                 {{"Brake drum", 1, 100}, {"a'b cable", 2, 4}});
    addOrderFrom(shop, 3, "2026-04-02", "Parts Depot", "Smith", {{"Brake pad", 1, 30}});
}

QString lines(const QStringList& parts)
{
    return parts.join('\n');
}

const QStringList finishedHeads = {"Tavlin Truck Repair", "Inv No", "Customer Name",
                                   "Via Payment",         "Date",   "Amount"};
const QStringList openHeads = {
    "Tavlin Truck Repair",
    "Open invoices between date          /        /                 to          /        /  ",
    "Inv No",
    "Customer Name",
    "Date",
    "Paid",
    "Amount",
    "Balance"};
} // namespace

class TestListings : public QObject
{
    Q_OBJECT

private slots:
    void finishedInvoices_data();
    void finishedInvoices();
    void openInvoices_data();
    void openInvoices();
    void failedRunKeepsTheWorkTable_data();
    void failedRunKeepsTheWorkTable();
    void payableReport_data();
    void payableReport();
    void receivableReport_data();
    void receivableReport();
    void orderReports_data();
    void orderReports();
    void groupsThatAreNotAdjacent();
    void customerReport_data();
    void customerReport();
};

void TestListings::finishedInvoices_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("total");
    // Every payment of a finished invoice, also the one before the period and the one without
    // a date; invoice 12 has an instalment after the period, 99 no longer exists.
    const QStringList paid = {"11",    "O'Neil Hauling", "Cash",      "2/20/2026", "$100.00",
                              "11",    "O'Neil Hauling", "Check",     "3/10/2026", "$100.00",
                              "11",    "O'Neil Hauling", "Visa",      "3/31/2026", "$100.00",
                              "16",    "Smith",          "Cash",      "$30.00",    "16",
                              "Smith", "Check",          "3/20/2026", "$50.00"};
    QTest::newRow("paid") << "Paid" << paid << "Total  : $380.00";
    QStringList all = paid;
    all.insert(15, QStringList{"13", "Jones", "Cash", "3/15/2026", "$20.00"}.join('\n'));
    all << "18"
        << "Jones"
        << "Cash"
        << "3/25/2026"
        << "$60.00";
    QTest::newRow("all, not marked paid too") << "All" << all << "Total  : $460.00";
}

void TestListings::finishedInvoices()
{
    QFETCH(QString, type);
    QFETCH(QStringList, rows);
    QFETCH(QString, total);
    TestShop shop;
    invoiceShop(shop);
    Printing<TFinishedInvoiceReport> report;
    QCOMPARE(report.window.filterText("Type"), QStringLiteral("Paid"));
    report.window.setFilterText("Type", type);
    const QString text = report.print(march, endOfMarch);
    QCOMPARE(shop.prompter().texts(), QStringList());
    QCOMPARE(text, lines(finishedHeads + rows + QStringList{total, "1/1"}));
    QCOMPARE(shop.value("Select Count(*) From TotalReport").toInt(), rows.join('\n').count("$"));
    // An empty period empties the work table and prints a total of nothing.
    QCOMPARE(report.print("1/1/2026", "1/31/2026"),
             lines(finishedHeads + QStringList{"Total  : $0.00", "1/1"}));
    QCOMPARE(shop.value("Select Count(*) From TotalReport").toInt(), 0);
}

void TestListings::openInvoices_data()
{
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("totals");
    // Open is the paid flag: 18 is paid in full and still listed, with a balance of 0; 17 has
    // no payments at all.
    QTest::newRow("open") << "All"
                          << "Open"
                          << QStringList{"13", "Jones", "3/3/2026", "$20.00", "$50.00",  "$30.00",
                                         "17", "Smith", "3/6/2026", "$0.00",  "$120.00", "$120.00",
                                         "18", "Jones", "3/7/2026", "$60.00", "$60.00",  "$0.00"}
                          << QStringList{"Total Paid  : $80.00", "Total  Amount: $230.00"};
    // Every payment counts, also the one after the period.
    QTest::newRow("paid") << "All"
                          << "Paid"
                          << QStringList{"11",       "O'Neil Hauling", "3/1/2026", "$300.00",
                                         "$300.00",  "$0.00",          "12",       "Smith",
                                         "3/2/2026", "$324.75",        "$324.75",  "$0.00",
                                         "16",       "Smith",          "3/5/2026", "$80.00",
                                         "$80.00",   "$0.00"}
                          << QStringList{"Total Paid  : $704.75", "Total  Amount: $704.75"};
    QTest::newRow("one customer") << "Jones"
                                  << "Open"
                                  << QStringList{"13",       "Jones",  "3/3/2026", "$20.00",
                                                 "$50.00",   "$30.00", "18",       "Jones",
                                                 "3/7/2026", "$60.00", "$60.00",   "$0.00"}
                                  << QStringList{"Total Paid  : $80.00", "Total  Amount: $110.00"};
    // "All" typed is not in the list: like any text but "Paid" it means open.
    QTest::newRow("all typed is open")
        << "All"
        << "All" << QStringList{"13", "Jones", "3/3/2026", "$20.00", "$50.00",  "$30.00",
                                "17", "Smith", "3/6/2026", "$0.00",  "$120.00", "$120.00",
                                "18", "Jones", "3/7/2026", "$60.00", "$60.00",  "$0.00"}
        << QStringList{"Total Paid  : $80.00", "Total  Amount: $230.00"};
    QTest::newRow("apostrophe, none in the period")
        << "O'Neil Hauling"
        << "Open" << QStringList{} << QStringList{"Total Paid  : $0.00", "Total  Amount: $0.00"};
}

void TestListings::openInvoices()
{
    QFETCH(QString, customer);
    QFETCH(QString, type);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, totals);
    TestShop shop;
    invoiceShop(shop);
    Printing<TOpenInvoice> report;
    QCOMPARE(report.window.filterText("Customer"), QStringLiteral("All"));
    QCOMPARE(report.window.filterText("Type"), QStringLiteral("Open"));
    report.window.setFilterText("Customer", customer);
    report.window.setFilterText("Type", type);
    const QString text = report.print(march, endOfMarch);
    QCOMPARE(shop.prompter().texts(), QStringList());
    QCOMPARE(text, lines(openHeads + rows + totals + QStringList{"1/1"}));
}

void TestListings::failedRunKeepsTheWorkTable_data()
{
    QTest::addColumn<bool>("finished");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("message");
    QTest::newRow("finished, a step fails") << true << endOfMarch << "the disk is full";
    QTest::newRow("finished, not a date") << true << "3/32/2026"
                                          << "To Date";
    QTest::newRow("open, a step fails") << false << endOfMarch << "the disk is full";
    QTest::newRow("open, not a date") << false << "March"
                                      << "To Date";
}

void TestListings::failedRunKeepsTheWorkTable()
{
    QFETCH(bool, finished);
    QFETCH(QString, to);
    QFETCH(QString, message);
    TestShop shop;
    invoiceShop(shop);
    Printing<TFinishedInvoiceReport> finishedReport;
    Printing<TOpenInvoice> openReport;
    const QString table = finished ? "TotalReport" : "OpenInvoice";
    ReportWindow& w = finished ? static_cast<ReportWindow&>(finishedReport.window)
                               : static_cast<ReportWindow&>(openReport.window);
    const auto printed = [&] {
        return finished ? finishedReport.printed.size() : openReport.printed.size();
    };
    setPeriod(w, "2/1/2026", "2/28/2026");
    w.setFilterText("Type", finished ? "All" : "Open");
    w.print();
    QCOMPARE(printed(), 1);
    const QList<QVariantList> before = shop.rows("Select * From " + table);
    shop.refuseInserts(table, "the disk is full");
    setPeriod(w, march, to);
    w.print();
    QCOMPARE(printed(), 1);
    QCOMPARE(shop.prompter().texts(ScriptedPrompter::Kind::Error).size(), 1);
    QVERIFY2(shop.prompter().last().contains(message), qPrintable(shop.prompter().last()));
    QCOMPARE(shop.rows("Select * From " + table), before);
}

void TestListings::payableReport_data()
{
    QTest::addColumn<QStringList>("filters"); // Vendor, Via Payment, Chart, Sub Chart
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("total");
    // Both ends of the period are included.
    QTest::newRow("all") << QStringList{"All", "All", "All", "All"}
                         << QStringList{"B-1",      "O'Hara Parts", "Checking", "3/1/2026",
                                        "$100.00",  "Parts Brakes", "B-3",      "Acme",
                                        "Checking", "3/15/2026",    "$25.00",   "Office Paper",
                                        "B-2",      "Acme",         "Visa",     "3/31/2026",
                                        "$50.50",   "Parts Engine"}
                         << "Total  $: $175.50";
    QTest::newRow("two filters narrow")
        << QStringList{"Acme", "Checking", "All", "All"}
        << QStringList{"B-3", "Acme", "Checking", "3/15/2026", "$25.00", "Office Paper"}
        << "Total  $: $25.00";
    QTest::newRow("apostrophe") << QStringList{"O'Hara Parts", "All", "All", "All"}
                                << QStringList{"B-1",      "O'Hara Parts", "Checking",
                                               "3/1/2026", "$100.00",      "Parts Brakes"}
                                << "Total  $: $100.00";
    QTest::newRow("sub chart") << QStringList{"All", "All", "Parts", "Engine"}
                               << QStringList{"B-2",       "Acme",   "Visa",
                                              "3/31/2026", "$50.50", "Parts Engine"}
                               << "Total  $: $50.50";
    QTest::newRow("not in the list")
        << QStringList{"All", "All", "Nothing", "All"} << QStringList{} << "Total  $: $0.00";
}

void TestListings::payableReport()
{
    QFETCH(QStringList, filters);
    QFETCH(QStringList, rows);
    QFETCH(QString, total);
    TestShop shop;
    payableShop(shop);
    shop.exec("Insert into Bill (Ref_Bill, Vendor_Bill, Chart_Bill, SubChart_Bill) values "
              "('B-1', 'O''Hara Parts', 'Parts', 'Brakes'), ('B-2', 'Acme', 'Office', 'Paper')");
    Printing<TReportPayable> report;
    report.window.show();
    // The vendor list comes from the bills, "All" first.
    auto* vendors = ui::find<QComboBox>(&report.window, "ComboBox1");
    vendors->showPopup();
    vendors->hidePopup();
    QCOMPARE(vendors->count(), 3);
    QCOMPARE(vendors->itemText(0), QStringLiteral("All"));
    QCOMPARE(vendors->itemText(2), QStringLiteral("O'Hara Parts"));
    const QStringList captions = {"Vendor", "Via Payment", "Chart", "Sub Chart"};
    for (int i = 0; i < captions.size(); ++i)
        report.window.setFilterText(captions[i], filters[i]);
    const QString text = report.print(march, endOfMarch);
    QCOMPARE(text, lines(QStringList{"Tavlin Truck Repair", "Bill No", "Description", "Via Payment",
                                     "Date", "Amount $", "Accounts"} +
                         rows + QStringList{total, "1/1"}));
}

void TestListings::receivableReport_data()
{
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QString>("via");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("total");
    QTest::newRow("all") << "All"
                         << "All" << 7 << "Total  $: $470.00";
    QTest::newRow("customer") << "O'Neil Hauling"
                              << "All" << 2 << "Total  $: $200.00";
    QTest::newRow("customer and method") << "Smith"
                                         << "Check" << 1 << "Total  $: $50.00";
}

void TestListings::receivableReport()
{
    QFETCH(QString, customer);
    QFETCH(QString, via);
    QFETCH(int, rows);
    QFETCH(QString, total);
    TestShop shop;
    invoiceShop(shop);
    Printing<TReportReceivable> report;
    report.window.setFilterText("Customer", customer);
    report.window.setFilterText("Via Payment", via);
    const QString text = report.print(march, endOfMarch);
    QVERIFY2(text.startsWith(lines({"Tavlin Truck Repair", "Inv No", "Customer Name", "Via Payment",
                                    "Date", "Amount"})),
             qPrintable(text));
    QCOMPARE(text.count("/2026"), rows);
    QVERIFY2(text.endsWith(total + "\n1/1"), qPrintable(text));
}

void TestListings::orderReports_data()
{
    QTest::addColumn<bool>("items");
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("vendor");
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QStringList>("body");
    const QStringList order1 = {"Po# 1",
                                "Vendor: Parts Depot",
                                "Order Date: 3/5/2026",
                                "Customer: Smith",
                                "Part Name",
                                "Qty",
                                "Rate",
                                "Amount"};
    const QStringList order2 = {"Po# 2",
                                "Vendor: O'Hara Supply",
                                "Order Date: 3/20/2026",
                                "Customer: O'Neil",
                                "Part Name",
                                "Qty",
                                "Rate",
                                "Amount"};
    const QStringList pad = {"Brake pad", "2", "$30.00", "$60.00"};
    const QStringList filter = {"Oil filter", "1", "$12.50", "$12.50"};
    const QStringList drum = {"Brake drum", "1", "$100.00", "$100.00"};
    const QStringList cable = {"a'b cable", "2", "$4.00", "$8.00"};
    QTest::newRow("vendors, all") << false << ""
                                  << "All"
                                  << "All"
                                  << order1 + pad + filter + QStringList{"Total Order", "$72.50"} +
                                         order2 + drum + cable +
                                         QStringList{"Total Order", "$108.00", "Total", "$180.50"};
    QTest::newRow("vendors, one") << false << ""
                                  << "O'Hara Supply"
                                  << "All"
                                  << order2 + drum + cable +
                                         QStringList{"Total Order", "$108.00", "Total", "$108.00"};
    QTest::newRow("parts, empty part is every part")
        << true << ""
        << "All"
        << "All"
        << order1 + pad + filter + QStringList{"Total Order", "$72.50"} + order2 + drum + cable +
               QStringList{"Total Order", "$108.00", "Total", "$180.50"};
    QTest::newRow("parts, a word anywhere in the name, any case")
        << true << "BRAKE"
        << "All"
        << "All"
        << order1 + pad + QStringList{"Total Order", "$60.00"} + order2 + drum +
               QStringList{"Total Order", "$100.00", "Total", "$160.00"};
    QTest::newRow("parts, an apostrophe")
        << true << "a'b"
        << "All"
        << "All" << order2 + cable + QStringList{"Total Order", "$8.00", "Total", "$8.00"};
    QTest::newRow("parts, vendor and customer")
        << true << "brake"
        << "Parts Depot"
        << "Smith" << order1 + pad + QStringList{"Total Order", "$60.00", "Total", "$60.00"};
    QTest::newRow("parts, nothing matches") << true << "brake"
                                            << "Parts Depot"
                                            << "O'Neil" << QStringList{"Total", "$0.00"};
}

void TestListings::orderReports()
{
    QFETCH(bool, items);
    QFETCH(QString, part);
    QFETCH(QString, vendor);
    QFETCH(QString, customer);
    QFETCH(QStringList, body);
    TestShop shop;
    orderShop(shop);
    Printing<TReportVendor1> vendors;
    Printing<TReportItems> parts;
    QString text;
    if (items) {
        QCOMPARE(parts.window.filterText("Part"), QString());
        ui::type(ui::find<QLineEdit>(&parts.window, "Edit3"), part);
        parts.window.setFilterText("Vendor", vendor);
        parts.window.setFilterText("Customer", customer);
        text = parts.print(march, endOfMarch);
    } else {
        vendors.window.setFilterText("Vendor", vendor);
        text = vendors.print(march, endOfMarch);
    }
    QCOMPARE(shop.prompter().texts(), QStringList());
    // The page number, the time and the date of printing head the page.
    QStringList page = text.split('\n');
    QCOMPARE(page.takeFirst(), QStringLiteral("1/1"));
    page.removeFirst();
    QCOMPARE(page.takeFirst(), QDate::currentDate().toString("M/d/yyyy"));
    QCOMPARE(page.takeFirst(), QStringLiteral("Tavlin Truck Repair"));
    QCOMPARE(page.takeFirst(),
             items ? QStringLiteral("Parts Order Report") : QStringLiteral("Vendors Report"));
    QCOMPARE(page, body);
}

void TestListings::groupsThatAreNotAdjacent()
{
    // Rows come in the order the statement returns them: an order whose lines are apart is
    // headed again, each run with its own total.
    TestShop shop;
    addOrderFrom(shop, 1, "2026-03-05", "Parts Depot", "Smith",
                 {{"Axle", 1, 10}, {"Cable", 1, 30}});
    addOrderFrom(shop, 2, "2026-03-06", "Parts Depot", "Smith", {{"Brake drum", 1, 100}});
    std::unique_ptr<Query> rows(new Query("Q1", DM->admin1(), nullptr));
    rows->add("select O.Po_Order,O.SideMark_Order,O.OrderDate_Order,O.Vendor_Order,I.Po_Item,"
              "I.Name_Item,I.Qty_Item,I.Rate_Item,I.Amount_Item From Orders O,Items I where "
              "O.Po_Order = I.Po_Item Order By I.Name_Item");
    rows->open();
    const PreparedReport report = ReportEngine::prepareFile(":/reports/layouts/order-report.json",
                                                            {{"frxDBDataset1", rows.get()}});
    const QString text = report.text();
    QCOMPARE(text.count("Po# 1"), 2);
    QCOMPARE(text.count("Po# 2"), 1);
    QVERIFY2(
        text.contains(lines({"Axle", "1", "$10.00", "$10.00", "Total Order", "$10.00", "Po# 2"})),
        qPrintable(text));
    QVERIFY2(text.contains(lines(
                 {"Cable", "1", "$30.00", "$30.00", "Total Order", "$30.00", "Total", "$140.00"})),
             qPrintable(text));
}

void TestListings::customerReport_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QStringList>("body");
    const QStringList invoice1 = {"Invoice # 1",
                                  "Customer : O'Neil Hauling",
                                  "Invoice Date: 3/2/2026",
                                  "Po # : PO-7",
                                  "Amount $: $250.00",
                                  "Paid : True",
                                  "Truck # : T-12",
                                  "Parts",
                                  "Part Name",
                                  "Qty",
                                  "Rate",
                                  "Amount"};
    const QStringList invoice2 = {"Invoice # 2",
                                  "Customer : Smith",
                                  "Invoice Date: 3/9/2026",
                                  "Po # : ",
                                  "Amount $: $90.00",
                                  "Paid : False",
                                  "Truck # : ",
                                  "Parts",
                                  "Part Name",
                                  "Qty",
                                  "Rate",
                                  "Amount"};
    QTest::newRow("parts") << "Parts"
                           << "All"
                           << invoice1 + QStringList{"Brake pad",   "1",      "$60.00", "$60.00",
                                                     "Brake pad",   "1",      "$40.00", "$40.00",
                                                     "Total Items", "$100.00"} +
                                  invoice2 +
                                  QStringList{"Brake pad",   "1",      "$40.00",      "$40.00",
                                              "Total Items", "$40.00", "Total Parts", "$140.00"};
    QTest::newRow("labor") << "Labor"
                           << "All"
                           << invoice1 + QStringList{"Brake job",    "1",     "$50.00", "$50.00",
                                                     "Total Labors", "$50.00"} +
                                  invoice2 +
                                  QStringList{"Brake job",    "1",      "$10.00",       "$10.00",
                                              "Total Labors", "$10.00", "Total Labors", "$60.00"};
    // Any text but "Parts" prints labor.
    QTest::newRow("typed labor") << "labor"
                                 << "Smith" << invoice2 + QStringList{"Brake job",    "1",
                                                                      "$10.00",       "$10.00",
                                                                      "Total Labors", "$10.00",
                                                                      "Total Labors", "$10.00"};
}

void TestListings::customerReport()
{
    QFETCH(QString, type);
    QFETCH(QString, customer);
    QFETCH(QStringList, body);
    TestShop shop;
    addInvoice(shop, {1, "O'Neil Hauling", "2026-03-02", true, "Yes", 250, "PO-7", "T-12"});
    addParts(shop, 1, 60);
    addParts(shop, 1, 40);
    addLabor(shop, 1, 50);
    addInvoice(shop, {2, "Smith", "2026-03-09", false, "Yes", 90});
    addParts(shop, 2, 40);
    addLabor(shop, 2, 10);
    addInvoice(shop, {3, "Smith", "2026-04-01", false, "Yes", 90});
    addParts(shop, 3, 40);
    Printing<TReportCustomer> report;
    QCOMPARE(report.window.filterText("Type"), QStringLiteral("Parts"));
    report.window.setFilterText("Type", type);
    report.window.setFilterText("Customer", customer);
    QStringList page = report.print(march, endOfMarch).split('\n');
    QCOMPARE(shop.prompter().texts(), QStringList());
    page = page.mid(3);
    QCOMPARE(page.takeFirst(), QStringLiteral("Tavlin Truck Repair"));
    QCOMPARE(page.takeFirst(), type == "Parts" ? QStringLiteral("Customer Report Parts")
                                               : QStringLiteral("Customer Report Labor"));
    QCOMPARE(page, body);
}

QTEST_MAIN(TestListings)
#include "tst_listings.moc"
