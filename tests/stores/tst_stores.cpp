// The catalogue, sales, payment, bill, banking and purchasing stores' reads on their own,
// without a window, on the engine the run uses: what each finds, what it adds up, and what it
// leaves out.

#include "StoreShop.h"
#include "data/SqlRow.h"
#include "stores/BankingStore.h"
#include "stores/BillStore.h"
#include "stores/CatalogueStore.h"
#include "stores/PurchasingStore.h"
#include "stores/UserStore.h"

#include <QTest>

#include <functional>

namespace {
using Which = SalesStore::Which;

// A shop of three invoices, two estimates, their lines and payments, purchase orders, parts,
// three bills and what was paid on them, and two deposits.
void arrangeShop(TestShop& shop)
{
    addDocument(shop, "Invoice", 1, "Smith", false, 100);
    addDocument(shop, "Invoice", 2, "Jones", true, 250);
    addDocument(shop, "Invoice", 3, "Smith", true, 40.5);
    addDocument(shop, "Estimate", 1, "Smith", true, 70);
    addDocument(shop, "Estimate", 4, "Jones", false, 80);
    addPartLine(shop, "InvItem", 1, "P-1", 2, 10);
    addPartLine(shop, "InvItem", 2, "P-2", 1, 30);
    addPartLine(shop, "InvItem", 3, "P-1", 3, 12);
    addPartLine(shop, "EstimateItem", 1, "P-1", 9, 1);
    addLaborLine(shop, "InvLabor", 1, "Brake job", 60);
    addLaborLine(shop, "InvLabor", 2, "Oil change", 45);
    addLaborLine(shop, "InvLabor", 3, "Brake job", 15.5);
    addLaborLine(shop, "EstimateLabor", 4, "Brake job", 99);
    addPartLine(shop, "Items", 5, "P-1", 4, 8);
    addPartLine(shop, "Items", 6, "P-2", 1, 3);
    addPartLine(shop, "Items", 7, "P-1", 6, 8);
    for (const auto& [id, partNo] :
         QList<std::pair<int, QString>>{{1, "P-1"}, {2, "P-2"}, {3, "P-1"}})
        shop.exec("Insert into Part (ID_Material, Color_Material) values (?, ?)", {id, partNo});
    addReceived(shop, "Receivable", 1, 10, "Smith", "R-1");
    addReceived(shop, "Receivable", 2, 20, "Jones", "R-2");
    addReceived(shop, "Receivable", 1, 5.25, "Smith", "R-3");
    addReceived(shop, "Receivable", 2, 3, "Jones", "R-1");
    addReceived(shop, "EstimateReceivable", 1, 7, "Smith", "E-1");
    addBill(shop, "B-1", "Acme", 45);
    addBill(shop, "B-2", "Bolt", 40);
    addBill(shop, "B-3", "Acme", 12.5);
    addPaid(shop, "B-1", 30, "C-1");
    addPaid(shop, "B-2", 40, "C-1");
    addPaid(shop, "B-1", 15, "C-3");
    for (const double deposit : {100.0, 250.75})
        shop.exec("Insert into Deposit (DepositTo_Dep, Amount_Dep) values ('Bank', ?)", {deposit});
}

// A listing: the texts of one column of the rows it reads, sorted.
using Listing = std::function<QStringList(Rows&)>;

QHash<QString, Listing> listingRuns()
{
    QHash<QString, Listing> runs;
    auto of = [](const SqlStatement& statement, const QString& name) {
        return [statement, name](Rows& rows) { return column(rows.load(statement), name); };
    };
    const QList<std::pair<const char*, Which>> which = {
        {"open", Which::Open}, {"paid", Which::Paid}, {"all", Which::All}};
    for (const auto& [word, kind] : which) {
        runs[QString(word) + " invoices"] =
            of(SalesStore::documents(invoiceTables(), kind), "InvoiceNo_Inv");
        runs[QString(word) + " estimates"] =
            of(SalesStore::documents(estimateTables(), kind), "InvoiceNo_Inv");
    }
    runs["customer's invoices"] = of(SalesStore::customerInvoices("Smith"), "InvoiceNo_Inv");
    runs["labor invoiced"] = of(SalesStore::laborInvoiced("Brake job"), "Inv_Labor");
    runs["part invoiced"] = of(SalesStore::partInvoiced("P-1"), "Inv_Item");
    runs["part ordered"] = of(PurchasingStore::partOrdered("P-1"), "Po_Item");
    runs["received on an invoice"] =
        of(PaymentStore::receivedOn("Receivable", 1), "Ref_Receivable");
    runs["received on an estimate"] =
        of(PaymentStore::receivedOn("EstimateReceivable", 1), "Ref_Receivable");
    runs["received"] = of(PaymentStore::received(), "Ref_Receivable");
    runs["received from a customer"] = of(PaymentStore::receivedFrom("Smith"), "Ref_Receivable");
    runs["paid"] = of(PaymentStore::paid(), "Ref_Payable");
    runs["paid on a bill"] = of(PaymentStore::paidOn("B-1"), "Ref_Payable");
    runs["bills"] = of(BillStore::bills(), "Ref_Bill");
    runs["vendor's bills"] = of(BillStore::vendorBills("Acme"), "Ref_Bill");
    runs["parts numbered"] = [](Rows& rows) {
        CatalogueStore().partsNumbered(rows.query, "P-1");
        return column(rows.query, "ID_Material");
    };
    runs["invoice a payment pays"] = [](Rows& rows) {
        PaymentStore().document(rows.query, receivedTables(), qlonglong(2));
        return column(rows.query, "CustomerName_Inv");
    };
    runs["invoice a payment pays, not stored"] = [](Rows& rows) {
        PaymentStore().document(rows.query, receivedTables(), qlonglong(9));
        return column(rows.query, "CustomerName_Inv");
    };
    runs["bill a payment pays"] = [](Rows& rows) {
        PaymentStore().document(rows.query, billPaymentTables(), QString("B-2"));
        return column(rows.query, "Vendor_Bill");
    };
    // Invoice 2 has a payment under R-1 as well; bill B-2 one under C-1.
    runs["invoice payments under a reference"] = [](Rows& rows) {
        PaymentStore().payments(rows.query, receivedTables(), qlonglong(1), "R-1");
        return column(rows.query, "InvoiceNo_Receivable");
    };
    runs["bill payments under a reference"] = [](Rows& rows) {
        PaymentStore().payments(rows.query, billPaymentTables(), QString("B-1"), "C-1");
        return column(rows.query, "Amount_Payable");
    };
    return runs;
}

// An operation that adds up or counts, given its argument, as a text.
using Sum = std::function<QString(const QString&)>;

QHash<QString, Sum> sumRuns()
{
    QHash<QString, Sum> runs;
    runs["part sold"] = [](const QString& a) { return quantity(CatalogueStore().partSold(a)); };
    runs["part bought"] = [](const QString& a) { return quantity(CatalogueStore().partBought(a)); };
    runs["labor sold"] = [](const QString& a) { return amount(CatalogueStore().laborSold(a)); };
    runs["customer invoiced"] = [](const QString& a) {
        return amount(CatalogueStore().customerInvoiced(a));
    };
    runs["customer paid"] = [](const QString& a) {
        return amount(CatalogueStore().customerPaid(a));
    };
    runs["vendor billed"] = [](const QString& a) {
        return amount(CatalogueStore().vendorBilled(a));
    };
    runs["received"] = [](const QString&) { return amount(PaymentStore().receivedSum()); };
    runs["paid"] = [](const QString&) { return amount(PaymentStore().paidSum()); };
    runs["deposits"] = [](const QString&) { return amount(BankingStore().depositSum()); };
    runs["bill paid"] = [](const QString& a) { return amount(BillStore().paidSum(a)); };
    runs["bill payments"] = [](const QString& a) {
        const BillStore::Payments paid = BillStore().payments(a);
        return QString::number(paid.count) + " " + paid.sum.toFixed2();
    };
    for (const bool estimate : {false, true}) {
        const SalesTables tables = estimate ? estimateTables() : invoiceTables();
        const QString kind = estimate ? "estimate" : "invoice";
        runs[kind + " paid"] = [tables](const QString& a) {
            return amount(SalesStore().paidSum(tables, a.toLongLong()));
        };
        runs[kind + " payments"] = [tables](const QString& a) {
            const SalesStore::Payments paid = SalesStore().payments(tables, a.toLongLong());
            return QString::number(paid.count) + " " + paid.sum.toFixed2();
        };
    }
    return runs;
}
} // namespace

class TestStores : public QObject
{
    Q_OBJECT

private slots:
    void listings_data();
    void listings();
    void sums_data();
    void sums();
    void signIn_data();
    void signIn();
    void saveProfile_data();
    void saveProfile();
    void prices_data();
    void prices();
    void largestNumber_data();
    void largestNumber();
};

void TestStores::listings_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QStringList>("found");
    const QList<std::pair<const char*, QStringList>> rows = {
        {"open invoices", {"1"}},
        {"paid invoices", {"2", "3"}},
        {"all invoices", {"1", "2", "3"}},
        {"open estimates", {"4"}},
        {"paid estimates", {"1"}},
        {"all estimates", {"1", "4"}},
        {"customer's invoices", {"1", "3"}},
        {"labor invoiced", {"1", "3"}},
        {"part invoiced", {"1", "3"}},
        {"part ordered", {"5", "7"}},
        {"parts numbered", {"1", "3"}},
        {"received on an invoice", {"R-1", "R-3"}},
        {"received on an estimate", {"E-1"}},
        {"received", {"R-1", "R-1", "R-2", "R-3"}},
        {"received from a customer", {"R-1", "R-3"}},
        {"paid", {"C-1", "C-1", "C-3"}},
        {"paid on a bill", {"C-1", "C-3"}},
        {"bills", {"B-1", "B-2", "B-3"}},
        {"vendor's bills", {"B-1", "B-3"}},
        {"invoice a payment pays", {"Jones"}},
        {"invoice a payment pays, not stored", {}},
        {"bill a payment pays", {"Bolt"}},
        {"invoice payments under a reference", {"1"}},
        {"bill payments under a reference", {"30"}},
    };
    for (const auto& [operation, found] : rows)
        QTest::newRow(operation) << QString(operation) << found;
}

void TestStores::listings()
{
    QFETCH(QString, operation);
    QFETCH(QStringList, found);
    QVERIFY2(listingRuns().contains(operation), qPrintable(operation));
    TestShop shop;
    arrangeShop(shop);
    Rows rows;
    QStringList listed = listingRuns().value(operation)(rows);
    listed.sort();
    QCOMPARE(listed, found);
}

void TestStores::sums_data()
{
    // What the operation gives in the arranged shop, and in a shop with none of its rows.
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("arranged");
    QTest::addColumn<QString>("empty");
    const QList<QStringList> rows = {
        {"part sold", "P-1", "5", "null"},
        {"part sold", "P-9", "null", "null"},
        {"part bought", "P-1", "10", "null"},
        {"part bought", "P-9", "null", "null"},
        {"labor sold", "Brake job", "75.50", "null"},
        {"labor sold", "Tires", "null", "null"},
        {"customer invoiced", "Smith", "140.50", "null"},
        {"customer invoiced", "Nobody", "null", "null"},
        {"customer paid", "Smith", "15.25", "null"},
        {"customer paid", "Nobody", "null", "null"},
        {"vendor billed", "Acme", "57.50", "null"},
        {"vendor billed", "Nobody", "null", "null"},
        {"received", "", "38.25", "null"},
        {"paid", "", "85.00", "null"},
        {"deposits", "", "350.75", "null"},
        {"bill paid", "B-1", "45.00", "null"},
        {"bill paid", "B-3", "null", "null"},
        {"bill payments", "B-1", "2 45.00", "0 0.00"},
        {"bill payments", "B-3", "0 0.00", "0 0.00"},
        {"invoice paid", "1", "15.25", "null"},
        {"invoice paid", "3", "null", "null"},
        {"invoice payments", "1", "2 15.25", "0 0.00"},
        {"invoice payments", "3", "0 0.00", "0 0.00"},
        {"estimate paid", "1", "7.00", "null"},
        {"estimate paid", "4", "null", "null"},
        {"estimate payments", "1", "1 7.00", "0 0.00"},
    };
    for (const QStringList& row : rows)
        QTest::addRow("%s, %s", qPrintable(row[0]), qPrintable(row[1]))
            << row[0] << row[1] << row[2] << row[3];
}

void TestStores::sums()
{
    QFETCH(QString, operation);
    QFETCH(QString, argument);
    QFETCH(QString, arranged);
    QFETCH(QString, empty);
    QVERIFY2(sumRuns().contains(operation), qPrintable(operation));
    const Sum run = sumRuns().value(operation);
    TestShop shop;
    QCOMPARE(run(argument), empty);
    arrangeShop(shop);
    QCOMPARE(run(argument), arranged);
}

void TestStores::signIn_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("name and password") << "Maria"
                                       << "Secret1" << QStringList{"Maria"};
    QTest::newRow("the shop's first user") << "Guest"
                                           << "gt" << QStringList{"Guest"};
    QTest::newRow("another user's password") << "Maria"
                                             << "gt" << QStringList{};
    QTest::newRow("password in other letters") << "Maria"
                                               << "SECRET1" << QStringList{};
    QTest::newRow("start of the password") << "Maria"
                                           << "Secret" << QStringList{};
    QTest::newRow("password and a space") << "Maria"
                                          << "Secret1 " << QStringList{};
    QTest::newRow("no password") << "Maria"
                                 << "" << QStringList{};
    QTest::newRow("start of the name") << "Mari"
                                       << "Secret1" << QStringList{};
    QTest::newRow("unknown name") << "Nobody"
                                  << "Secret1" << QStringList{};
}

void TestStores::signIn()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(QStringList, found);
    TestShop shop;
    shop.addUser("Maria", "Secret1");
    shop.addUser("Maria2", "Secret1 ");
    const UserStore::SignIn outcome = UserStore().signIn(name, password);
    QCOMPARE(outcome.result == UserStore::Result::Accepted ? QStringList{outcome.name}
                                                           : QStringList{},
             found);
}

void TestStores::saveProfile_data()
{
    // The profile rows the shop holds before the save, by Id_R.
    QTest::addColumn<QList<int>>("stored");
    QTest::newRow("the shop has its row") << QList<int>{1};
    QTest::newRow("the shop has none") << QList<int>{};
    QTest::newRow("another row besides") << QList<int>{1, 2};
    QTest::newRow("only another row") << QList<int>{2};
}

void TestStores::saveProfile()
{
    QFETCH(QList<int>, stored);
    TestShop shop;
    shop.exec("Delete From Reg");
    for (const int id : stored)
        shop.exec("Insert into Reg (Id_R, Name_R, City_R) values (?, 'Old name', 'Old city')",
                  {id});
    SqlRow row("Reg");
    row.set("Id_R", "1");
    row.setText("Name_R", "Tavlin Fleet Service");
    row.setText("City_R", "Joliet");
    CatalogueStore().saveProfile(row);
    // The row saved once, whether added or written over, and any other row as it was.
    QCOMPARE(shop.rows("Select Name_R, City_R From Reg where Id_R = 1"),
             (QList<QVariantList>{{"Tavlin Fleet Service", "Joliet"}}));
    QCOMPARE(shop.value("Select Count(*) From Reg where Id_R <> 1").toInt(),
             int(stored.contains(2)));
    if (stored.contains(2))
        QCOMPARE(shop.value("Select Name_R From Reg where Id_R = 2").toString(),
                 QStringLiteral("Old name"));
    Rows rows;
    CatalogueStore().profile(rows.query);
    QCOMPARE(rows.query.recordCount(), stored.contains(2) ? 2 : 1);
    QVERIFY(column(rows.query, "City_R").contains("Joliet"));
}

void TestStores::prices_data()
{
    // Invoices as "number customer"; their part lines as "invoice partNo price" in the order
    // entered; what Smith paid at the most and last for P-1.
    QTest::addColumn<QStringList>("invoices");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("highest");
    QTest::addColumn<QString>("latest");
    const QStringList two = {"1 Smith", "2 Smith"};
    QTest::newRow("a later invoice at a lower price")
        << two << QStringList{"1 P-1 50", "2 P-1 30"} << "50.00"
        << "30.00";
    QTest::newRow("of the latest invoice, the line entered last")
        << two << QStringList{"2 P-1 30", "1 P-1 60", "2 P-1 35", "2 P-2 1"} << "60.00"
        << "35.00";
    QTest::newRow("a line entered later on an earlier invoice")
        << two << QStringList{"2 P-1 30", "1 P-1 40"} << "40.00"
        << "30.00";
    QTest::newRow("invoice numbers past nine")
        << QStringList{"9 Smith", "10 Smith"} << QStringList{"10 P-1 15", "9 P-1 25"} << "25.00"
        << "15.00";
    QTest::newRow("another customer's later invoice")
        << QStringList{"1 Smith", "2 Jones"} << QStringList{"1 P-1 20", "2 P-1 90"} << "20.00"
        << "20.00";
    QTest::newRow("another part on a later invoice")
        << two << QStringList{"1 P-1 20", "2 P-2 90"} << "20.00"
        << "20.00";
    QTest::newRow("never invoiced") << two << QStringList{"1 P-2 20"} << "null"
                                    << "null";
    QTest::newRow("estimates are not invoices")
        << QStringList{"1 Smith", "E2 Smith"} << QStringList{"1 P-1 20", "E2 P-1 90"} << "20.00"
        << "20.00";
}

void TestStores::prices()
{
    QFETCH(QStringList, invoices);
    QFETCH(QStringList, lines);
    QFETCH(QString, highest);
    QFETCH(QString, latest);
    TestShop shop;
    // "E" before a number: an estimate.
    auto kind = [](const QString& number) {
        return number.startsWith('E') ? "Estimate" : "Invoice";
    };
    auto numberOf = [](QString number) { return number.remove('E').toLongLong(); };
    for (const QString& invoice : invoices) {
        const QStringList f = invoice.split(' ');
        addDocument(shop, kind(f[0]), numberOf(f[0]), f[1]);
    }
    for (const QString& line : lines) {
        const QStringList f = line.split(' ');
        addPartLine(shop, kind(f[0]) == QString("Invoice") ? "InvItem" : "EstimateItem",
                    numberOf(f[0]), f[1], 1, f[2].toDouble());
    }
    SalesStore store;
    QCOMPARE(amount(store.highestPrice("Smith", "P-1")), highest);
    QCOMPARE(amount(store.latestPrice("Smith", "P-1")), latest);
}

void TestStores::largestNumber_data()
{
    // Headers stored as "table number".
    QTest::addColumn<bool>("estimates");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<qint64>("largest");
    for (const bool estimates : {false, true}) {
        const SalesTables t = estimates ? estimateTables() : invoiceTables();
        const SalesTables other = estimates ? invoiceTables() : estimateTables();
        const char* kind = estimates ? "estimates" : "invoices";
        QTest::addRow("%s, none", kind) << estimates << QStringList{} << qint64(0);
        QTest::addRow("%s, its own", kind)
            << estimates << QStringList{t.header + " 3", t.header + " 12", t.header + " 7"}
            << qint64(12);
        QTest::addRow("%s, the archive's larger", kind)
            << estimates << QStringList{t.header + " 3", t.archiveHeader + " 15"} << qint64(15);
        QTest::addRow("%s, the archive's only", kind)
            << estimates << QStringList{t.archiveHeader + " 9"} << qint64(9);
        QTest::addRow("%s, its own larger than the archive's", kind)
            << estimates << QStringList{t.header + " 21", t.archiveHeader + " 15"} << qint64(21);
        QTest::addRow("%s, not the other kind's", kind)
            << estimates
            << QStringList{t.header + " 2", other.header + " 40", other.archiveHeader + " 50"}
            << qint64(2);
    }
}

void TestStores::largestNumber()
{
    QFETCH(bool, estimates);
    QFETCH(QStringList, stored);
    QFETCH(qint64, largest);
    TestShop shop;
    for (const QString& header : stored) {
        const QStringList f = header.split(' ');
        addDocument(shop, f[0], f[1].toLongLong(), "Smith");
    }
    QCOMPARE(SalesStore().largestNumber(estimates ? estimateTables() : invoiceTables()), largest);
}

QTEST_MAIN(TestStores)
#include "tst_stores.moc"
