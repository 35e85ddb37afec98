// The stores' operations on whole documents, on their own and on the engine the run uses: an
// invoice's or estimate's header and lines read, removed and archived, the tax rows of a month,
// what a payment leaves out of a document's paid sum, and the references of vendor bills.

#include "StoreShop.h"
#include "data/DbError.h"
#include "data/SqlRow.h"
#include "stores/BillStore.h"

#include <QTest>

namespace {
// Every row of each table, in the order the rows were added.
QList<QList<QVariantList>> snapshot(TestShop& shop, const QStringList& tables)
{
    QList<QList<QVariantList>> all;
    for (const QString& table : tables)
        all.append(shop.rows("Select * From " + table + " Order By tavlin_row"));
    return all;
}

QStringList salesTables(const SalesTables& t)
{
    return {t.header,        t.items,        t.labor,        t.payments,
            t.archiveHeader, t.archiveItems, t.archiveLabor, t.archivePayments};
}

// Document 1 with three part lines (their numbers out of order), two labor lines and two
// payments, and document 2 with a line of each and a payment, of the kind; a payment under
// number 1 of the other kind.
void arrangeDocuments(TestShop& shop, const SalesTables& t, const SalesTables& other)
{
    addDocument(shop, t.header, 1, "Smith", true, 125.5);
    addDocument(shop, t.header, 2, "Jones", false, 40);
    addPartLine(shop, t.items, 1, "Z-9", 2, 10, "Rotor");
    addPartLine(shop, t.items, 2, "P-2", 1, 40);
    addPartLine(shop, t.items, 1, "A-1", 1.5, 4.25, "Pad");
    addPartLine(shop, t.items, 1, "M-5", 3, 1, "Clip");
    addLaborLine(shop, t.labor, 1, "Brake job", 60, "front");
    addLaborLine(shop, t.labor, 2, "Oil change", 45);
    addLaborLine(shop, t.labor, 1, "Alignment", 30, "rear");
    addReceived(shop, t.payments, 1, 100, "Smith", "R-1");
    addReceived(shop, t.payments, 2, 40, "Jones", "R-2");
    addReceived(shop, t.payments, 1, 25.5, "Smith", "R-3");
    addReceived(shop, other.payments, 1, 7, "Smith", "E-1");
}

SqlRow archivedHeader(const SalesTables& t, qint64 number)
{
    SqlRow header(t.archiveHeader);
    header.set("InvoiceNo_Inv", QString::number(number));
    header.setText("CustomerName_Inv", "Smith");
    header.set("Amount_Inv", "125.50");
    header.setYesNo("Paid_Inv", true);
    return header;
}

// The rows of table holding number in column, in the order they were added.
QList<QVariantList> linesOf(TestShop& shop, const QString& columns, const QString& table,
                            const QString& column, qint64 number)
{
    return shop.rows("Select " + columns + " From " + table + " where " + column +
                         " = ? Order By tavlin_row",
                     {number});
}

const QString itemColumns =
    "Inv_Item, Name_Item, Mfg_Item, Qty_Item, Style_Item, Color_Item, Rate_Item, Amount_Item";
const QString laborColumns = "Inv_Labor, Description_Labor, PartNo_Labor, Qty_Labor, Rate_Labor, "
                             "Amount_Labor, Remark_Labor";
const QString paymentColumns =
    "InvoiceNo_Receivable, Name_Receivable, ViaPayment_Receivable, PayDate_Receivable, "
    "Ref_Receivable, DepositTo_Receivable, Amount_Receivable, Chart_Receivable, "
    "SubChart_Receivable, Remark_Receivable";

void addKinds()
{
    QTest::addColumn<bool>("estimates");
    QTest::newRow("invoices") << false;
    QTest::newRow("estimates") << true;
}
} // namespace

class TestStoreDocuments : public QObject
{
    Q_OBJECT

private slots:
    void readDocument_data() { addKinds(); }
    void readDocument();
    void remove_data() { addKinds(); }
    void remove();
    void archive_data() { addKinds(); }
    void archive();
    void archiveRefusesNumberHeld_data() { addKinds(); }
    void archiveRefusesNumberHeld();
    void archiveAllOrNothing_data();
    void archiveAllOrNothing();
    void paidSumExcept_data();
    void paidSumExcept();
    void largestReference_data();
    void largestReference();
    void referenceUsed_data();
    void referenceUsed();
    void billReferenced_data();
    void billReferenced();
    void storedReference();
    void moveReference();
    void removeLines();
    void taxRows_data();
    void taxRows();
};

void TestStoreDocuments::readDocument()
{
    QFETCH(bool, estimates);
    const SalesTables t = estimates ? estimateTables() : invoiceTables();
    TestShop shop;
    arrangeDocuments(shop, t, estimates ? invoiceTables() : estimateTables());
    SalesStore store;
    Rows rows;
    store.header(rows.query, t, 1);
    QCOMPARE(column(rows.query, "CustomerName_Inv"), QStringList{"Smith"});
    store.header(rows.query, t, 3);
    QVERIFY(rows.query.isEmpty());
    // The lines as entered, whatever their part numbers.
    store.printedParts(rows.query, t, 1);
    QCOMPARE(rows.query.columnNames(), QStringList({"Name_Item", "Qty_Item", "Rate_Item",
                                                    "Amount_Item", "Color_Item", "Inv_Item"}));
    QCOMPARE(column(rows.query, "Color_Item"), QStringList({"Z-9", "A-1", "M-5"}));
    QCOMPARE(column(rows.query, "Name_Item"), QStringList({"Rotor", "Pad", "Clip"}));
    store.printedLabor(rows.query, t, 1);
    QCOMPARE(rows.query.columnNames(),
             QStringList({"Description_Labor", "PartNo_Labor", "Qty_Labor", "Rate_Labor",
                          "Amount_Labor", "Remark_Labor", "Inv_Labor"}));
    QCOMPARE(column(rows.query, "Description_Labor"), QStringList({"Brake job", "Alignment"}));
    QCOMPARE(column(rows.query, "Remark_Labor"), QStringList({"front", "rear"}));
    store.printedParts(rows.query, t, 3);
    QVERIFY(rows.query.isEmpty());
}

void TestStoreDocuments::remove()
{
    QFETCH(bool, estimates);
    const SalesTables t = estimates ? estimateTables() : invoiceTables();
    TestShop shop;
    arrangeDocuments(shop, t, estimates ? invoiceTables() : estimateTables());
    // An archived document of the same number.
    addDocument(shop, t.archiveHeader, 1, "Old");
    addPartLine(shop, t.archiveItems, 1, "OLD-1", 1, 1);
    const auto before = snapshot(shop, {t.payments, t.archiveHeader, t.archiveItems});
    SalesStore().remove(t, 1);
    QCOMPARE(texts(shop, "Select InvoiceNo_Inv From " + t.header), QStringList{"2"});
    QCOMPARE(texts(shop, "Select Color_Item From " + t.items), QStringList{"P-2"});
    QCOMPARE(texts(shop, "Select Description_Labor From " + t.labor), QStringList{"Oil change"});
    // The payments are the caller's to have checked; the archive is another table.
    QCOMPARE(snapshot(shop, {t.payments, t.archiveHeader, t.archiveItems}), before);
}

void TestStoreDocuments::archive()
{
    QFETCH(bool, estimates);
    const SalesTables t = estimates ? estimateTables() : invoiceTables();
    const SalesTables other = estimates ? invoiceTables() : estimateTables();
    TestShop shop;
    arrangeDocuments(shop, t, other);
    const QList<QVariantList> items = linesOf(shop, itemColumns, t.items, "Inv_Item", 1);
    const QList<QVariantList> labor = linesOf(shop, laborColumns, t.labor, "Inv_Labor", 1);
    const QList<QVariantList> payments =
        linesOf(shop, paymentColumns, t.payments, "InvoiceNo_Receivable", 1);
    const QStringList untouched = {other.payments, other.archiveHeader, other.archiveItems,
                                   other.archivePayments};
    const auto otherBefore = snapshot(shop, untouched);
    SalesStore().archive(t, archivedHeader(t, 1), 1);
    // The header as given, the lines and payments as stored, in the order entered.
    QCOMPARE(
        shop.rows("Select InvoiceNo_Inv, CustomerName_Inv, Amount_Inv From " + t.archiveHeader),
        (QList<QVariantList>{{1, "Smith", 125.5}}));
    QCOMPARE(
        shop.value("Select Count(*) From " + t.archiveHeader + " where Paid_Inv = Yes").toInt(), 1);
    QCOMPARE(linesOf(shop, itemColumns, t.archiveItems, "Inv_Item", 1), items);
    QCOMPARE(linesOf(shop, laborColumns, t.archiveLabor, "Inv_Labor", 1), labor);
    QCOMPARE(linesOf(shop, paymentColumns, t.archivePayments, "InvoiceNo_Receivable", 1), payments);
    QCOMPARE(items.size() + labor.size() + payments.size(), 7);
    // Gone from the open documents, document 2 left whole, the other kind untouched.
    QCOMPARE(texts(shop, "Select InvoiceNo_Inv From " + t.header), QStringList{"2"});
    QCOMPARE(texts(shop, "Select Inv_Item From " + t.items), QStringList{"2"});
    QCOMPARE(texts(shop, "Select Inv_Labor From " + t.labor), QStringList{"2"});
    QCOMPARE(texts(shop, "Select InvoiceNo_Receivable From " + t.payments), QStringList{"2"});
    QCOMPARE(shop.value("Select Count(*) From " + t.archiveItems + " where Inv_Item <> 1").toInt(),
             0);
    QCOMPARE(snapshot(shop, untouched), otherBefore);
}

void TestStoreDocuments::archiveRefusesNumberHeld()
{
    QFETCH(bool, estimates);
    const SalesTables t = estimates ? estimateTables() : invoiceTables();
    TestShop shop;
    arrangeDocuments(shop, t, estimates ? invoiceTables() : estimateTables());
    addDocument(shop, t.archiveHeader, 1, "Old");
    addPartLine(shop, t.archiveItems, 1, "OLD-1", 1, 1);
    addLaborLine(shop, t.archiveLabor, 1, "Old job", 1);
    addReceived(shop, t.archivePayments, 1, 1, "Old");
    const auto before = snapshot(shop, salesTables(t));
    const QString message = refusal([&] { SalesStore().archive(t, archivedHeader(t, 1), 1); });
    QVERIFY2(message.contains("already holds"), qPrintable(message));
    QCOMPARE(snapshot(shop, salesTables(t)), before);
    // Another number is archived as usual.
    SalesStore().archive(t, archivedHeader(t, 2), 2);
    QCOMPARE(shop.value("Select Count(*) From " + t.archiveHeader).toInt(), 2);
}

void TestStoreDocuments::archiveAllOrNothing_data()
{
    // The archive table that refuses the rows, as a full disk would.
    QTest::addColumn<bool>("estimates");
    QTest::addColumn<int>("refusing");
    for (const bool estimates : {false, true}) {
        const SalesTables t = estimates ? estimateTables() : invoiceTables();
        const QStringList refusing = {t.archiveHeader, t.archiveItems, t.archiveLabor,
                                      t.archivePayments};
        for (int i = 0; i < refusing.size(); ++i)
            QTest::addRow("%s", qPrintable(refusing[i])) << estimates << i;
    }
}

void TestStoreDocuments::archiveAllOrNothing()
{
    QFETCH(bool, estimates);
    QFETCH(int, refusing);
    const SalesTables t = estimates ? estimateTables() : invoiceTables();
    TestShop shop;
    arrangeDocuments(shop, t, estimates ? invoiceTables() : estimateTables());
    const auto before = snapshot(shop, salesTables(t));
    shop.refuseInserts(salesTables(t)[4 + refusing], "The disk is full");
    const QString message = refusal([&] { SalesStore().archive(t, archivedHeader(t, 1), 1); });
    QVERIFY2(message.contains("The disk is full"), qPrintable(message));
    QCOMPARE(snapshot(shop, salesTables(t)), before);
}

void TestStoreDocuments::paidSumExcept_data()
{
    // Document 0 paid 10 and 20.50, document 1 paid 100, document 2 nothing; the payment
    // left out by its place (-1: none).
    QTest::addColumn<bool>("bills");
    QTest::addColumn<int>("document");
    QTest::addColumn<int>("except");
    QTest::addColumn<QString>("paid");
    for (const bool bills : {false, true}) {
        const char* kind = bills ? "bills" : "invoices";
        QTest::addRow("%s, every payment", kind) << bills << 0 << -1 << "30.50";
        QTest::addRow("%s, one payment left out", kind) << bills << 0 << 0 << "20.50";
        QTest::addRow("%s, the other one left out", kind) << bills << 0 << 1 << "10.00";
        QTest::addRow("%s, another document's payment", kind) << bills << 0 << 2 << "30.50";
        QTest::addRow("%s, its only payment left out", kind) << bills << 1 << 2 << "null";
        QTest::addRow("%s, nothing paid", kind) << bills << 2 << -1 << "null";
    }
}

void TestStoreDocuments::paidSumExcept()
{
    QFETCH(bool, bills);
    QFETCH(int, document);
    QFETCH(int, except);
    QFETCH(QString, paid);
    TestShop shop;
    const QList<std::pair<int, double>> payments = {{0, 10}, {1, 100}, {0, 20.5}};
    QList<qint64> keys;
    for (const auto& [paying, sum] : payments) {
        if (bills)
            addPaid(shop, "B-" + QString::number(paying), sum);
        else
            addReceived(shop, "Receivable", paying, sum);
        keys.append(shop.value("Select Max(tavlin_row) As k From " +
                               QString(bills ? "Payable" : "Receivable"))
                        .toLongLong());
    }
    // Keys by place among the document's payments: 0 and 1 are document 0's, 2 document 1's.
    const QList<qint64> byPlace = {keys[0], keys[2], keys[1]};
    const QVariant documentValue =
        bills ? QVariant("B-" + QString::number(document)) : QVariant(qlonglong(document));
    const Field sum = PaymentStore().paidSum(bills ? billPaymentTables() : receivedTables(),
                                             documentValue, except < 0 ? 0 : byPlace[except]);
    QCOMPARE(amount(sum), paid);
}

void TestStoreDocuments::largestReference_data()
{
    QTest::addColumn<QStringList>("references");
    QTest::addColumn<qint64>("largest");
    QTest::newRow("no bill") << QStringList{} << qint64(0);
    QTest::newRow("numbers") << QStringList{"7", "12", "9"} << qint64(12);
    QTest::newRow("by value, not by letters") << QStringList{"9", "10", "100", "99"} << qint64(100);
    QTest::newRow("references that are not numbers")
        << QStringList{"B-20", "INV", "12", "X99"} << qint64(12);
    QTest::newRow("none a number") << QStringList{"B-20", "abc"} << qint64(0);
}

void TestStoreDocuments::largestReference()
{
    QFETCH(QStringList, references);
    QFETCH(qint64, largest);
    TestShop shop;
    for (const QString& reference : references)
        addBill(shop, reference, "Acme");
    QCOMPARE(BillStore().largestReference(), largest);
}

void TestStoreDocuments::referenceUsed_data()
{
    // Where B-1 is held; every table holds B-2 and B-10.
    QTest::addColumn<QString>("table");
    QTest::addColumn<bool>("used");
    QTest::newRow("a bill") << "Bill" << true;
    QTest::newRow("a part line") << "BillItem" << true;
    QTest::newRow("an expense line") << "BillExpense" << true;
    QTest::newRow("a payment") << "Payable" << true;
    QTest::newRow("nowhere") << "" << false;
}

void TestStoreDocuments::referenceUsed()
{
    QFETCH(QString, table);
    QFETCH(bool, used);
    TestShop shop;
    for (const QString& reference : {QString("B-2"), QString("B-10")}) {
        addBill(shop, reference, "Acme");
        addBillItem(shop, reference);
        addBillExpense(shop, reference);
        addPaid(shop, reference, 5);
    }
    if (table == "Bill")
        addBill(shop, "B-1", "Acme");
    else if (table == "BillItem")
        addBillItem(shop, "B-1");
    else if (table == "BillExpense")
        addBillExpense(shop, "B-1");
    else if (table == "Payable")
        addPaid(shop, "B-1", 5);
    QCOMPARE(BillStore().referenceUsed("B-1"), used);
    QVERIFY(BillStore().referenceUsed("B-10"));
}

void TestStoreDocuments::billReferenced_data()
{
    // Bills as "reference vendor date"; the bill left out by its place (-1: none); what is
    // found for B-1 as "vendor date".
    QTest::addColumn<QStringList>("bills");
    QTest::addColumn<int>("except");
    QTest::addColumn<QString>("found");
    const QStringList one = {"B-1 Acme 2026-03-10", "B-2 Bolt 2026-04-01"};
    QTest::newRow("held") << one << -1 << "Acme 3/10/2026";
    QTest::newRow("the bill itself left out") << one << 0 << "none";
    QTest::newRow("another bill left out") << one << 1 << "Acme 3/10/2026";
    QTest::newRow("held by another bill too")
        << QStringList{"B-1 Acme 2026-03-10", "B-1 Bolt 2026-04-01"} << 0 << "Bolt 4/1/2026";
    QTest::newRow("not held") << QStringList{"B-10 Acme 2026-03-10", "B-2 Bolt 2026-04-01"} << -1
                              << "none";
}

void TestStoreDocuments::billReferenced()
{
    QFETCH(QStringList, bills);
    QFETCH(int, except);
    QFETCH(QString, found);
    TestShop shop;
    QList<qint64> keys;
    for (const QString& bill : bills) {
        const QStringList f = bill.split(' ');
        addBill(shop, f[0], f[1], 0, f[2]);
        keys.append(shop.value("Select Max(tavlin_row) As k From Bill").toLongLong());
    }
    const auto bill = BillStore().billReferenced("B-1", except < 0 ? 0 : keys[except]);
    QCOMPARE(bill ? bill->vendor + " " + bill->date : QString("none"), found);
}

void TestStoreDocuments::storedReference()
{
    TestShop shop;
    addBill(shop, "B-7", "Acme");
    addBill(shop, "B-8", "Bolt");
    const qint64 key = rowKey(shop, "Bill", "Ref_Bill = ?", {"B-7"});
    const qint64 other = rowKey(shop, "Bill", "Ref_Bill = ?", {"B-8"});
    BillStore store;
    QCOMPARE(store.storedReference(key), std::optional<QString>("B-7"));
    QCOMPARE(store.storedReference(other), std::optional<QString>("B-8"));
    shop.exec("Update Bill Set Ref_Bill = 'B-9' where Ref_Bill = 'B-7'");
    QCOMPARE(store.storedReference(key), std::optional<QString>("B-9"));
    shop.exec("Delete From Bill where Ref_Bill = 'B-9'");
    QCOMPARE(store.storedReference(key), std::nullopt);
    QCOMPARE(store.storedReference(other + 100), std::nullopt);
}

void TestStoreDocuments::moveReference()
{
    TestShop shop;
    for (const QString& reference : {QString("B-1"), QString("B-2"), QString("B-10")}) {
        addBill(shop, reference, "Acme");
        addBillItem(shop, reference, "Rotor " + reference);
        addBillExpense(shop, reference, "Freight " + reference);
        addPaid(shop, reference, 5, "C " + reference);
    }
    addBillItem(shop, "B-1", "Second rotor B-1");
    BillStore().moveReference("B-1", "B-3");
    // The lines and payments under the new reference; the bill's own row is the caller's.
    auto held = [&](const QString& sql) {
        QStringList found = texts(shop, sql);
        found.sort();
        return found;
    };
    QCOMPARE(held("Select Name_Bill From BillItem where Inv_Bill = 'B-3'"),
             QStringList({"Rotor B-1", "Second rotor B-1"}));
    QCOMPARE(held("Select Description_Expense From BillExpense where Bill_Expense = 'B-3'"),
             QStringList{"Freight B-1"});
    QCOMPARE(held("Select Ref_Payable From Payable where BillNo_Payable = 'B-3'"),
             QStringList{"C B-1"});
    // Nothing left under the old one, nothing of the others moved.
    QCOMPARE(held("Select Inv_Bill From BillItem"), QStringList({"B-10", "B-2", "B-3", "B-3"}));
    QCOMPARE(held("Select Bill_Expense From BillExpense"), QStringList({"B-10", "B-2", "B-3"}));
    QCOMPARE(held("Select BillNo_Payable From Payable"), QStringList({"B-10", "B-2", "B-3"}));
    QCOMPARE(held("Select Ref_Bill From Bill"), QStringList({"B-1", "B-10", "B-2"}));
}

void TestStoreDocuments::removeLines()
{
    TestShop shop;
    for (const QString& reference : {QString("B-1"), QString("B-10")}) {
        addBill(shop, reference, "Acme");
        addBillItem(shop, reference);
        addBillItem(shop, reference);
        addBillExpense(shop, reference);
        addPaid(shop, reference, 5);
    }
    const auto kept = snapshot(shop, {"Bill", "Payable"});
    BillStore().removeLines("B-1");
    QCOMPARE(texts(shop, "Select Inv_Bill From BillItem"), QStringList({"B-10", "B-10"}));
    QCOMPARE(texts(shop, "Select Bill_Expense From BillExpense"), QStringList{"B-10"});
    // The payments stay with the bill.
    QCOMPARE(snapshot(shop, {"Bill", "Payable"}), kept);
}

void TestStoreDocuments::taxRows_data()
{
    // Tax rows as "year first-month last-month rate"; the rates found for a month of 2026,
    // and all of 2026's, in the order read.
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("month");
    QTest::addColumn<QStringList>("covering");
    QTest::addColumn<QStringList>("ofYear");
    const QStringList halves = {"2026 7 12 0.06", "2026 1 6 0.05"};
    QTest::newRow("the row covering the month")
        << halves << 8 << QStringList{"0.06"} << QStringList{"0.05", "0.06"};
    QTest::newRow("a row's last month")
        << halves << 6 << QStringList{"0.05"} << QStringList{"0.05", "0.06"};
    QTest::newRow("a row's first month")
        << halves << 7 << QStringList{"0.06"} << QStringList{"0.05", "0.06"};
    QTest::newRow("rows that overlap, the earliest starting first")
        << QStringList{"2026 4 12 0.07", "2026 1 12 0.05", "2026 3 3 0.09"} << 5
        << QStringList{"0.05", "0.07"} << QStringList{"0.05", "0.09", "0.07"};
    QTest::newRow("a month no row covers") << QStringList{"2026 1 3 0.05", "2026 6 12 0.07"} << 4
                                           << QStringList{} << QStringList{"0.05", "0.07"};
    QTest::newRow("other years' rows")
        << QStringList{"2025 1 12 0.04", "2027 1 12 0.09"} << 3 << QStringList{} << QStringList{};
    QTest::newRow("months past nine") << QStringList{"2026 10 12 0.08", "2026 2 9 0.05"} << 11
                                      << QStringList{"0.08"} << QStringList{"0.05", "0.08"};
}

void TestStoreDocuments::taxRows()
{
    QFETCH(QStringList, rows);
    QFETCH(int, month);
    QFETCH(QStringList, covering);
    QFETCH(QStringList, ofYear);
    TestShop shop;
    shop.addTaxRates(rows);
    auto rates = [](const Query& query) {
        QStringList found;
        for (int row = 0; row < query.recordCount(); ++row)
            found.append(QString::number(query.field(row, query.columnIndex("Tax_T")).asNumber()));
        return found;
    };
    SalesStore store;
    Rows found;
    store.taxCovering(found.query, 2026, month);
    QCOMPARE(rates(found.query), covering);
    store.taxOfYear(found.query, 2026);
    QCOMPARE(rates(found.query), ofYear);
    store.noTax(found.query);
    QCOMPARE(rates(found.query), QStringList{"0"});
}

QTEST_MAIN(TestStoreDocuments)
#include "tst_stores_documents.moc"
