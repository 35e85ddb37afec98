#include "TestShop.h"
#include "Ui.h"
#include "app/TMainForm.h"
#include "app/Tasks.h"
#include "data/Query.h"
#include "payables/BillLines.h"
#include "payables/PayableLists.h"
#include "payables/TBill.h"
#include "payables/TPayable.h"
#include "printing/PreparedReport.h"
#include "purchasing/TLaborFind.h"
#include "ui/common/DataGrid.h"
#include "ui/common/Windows.h"
#include "ui/documents/LinePanel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {
void addBill(TestShop& shop, const QString& ref, const QString& vendor, double amount,
             const QString& chart = "Parts")
{
    shop.exec("Insert into Bill (Ref_Bill, Vendor_Bill, Amount_Bill, Chart_Bill, SubChart_Bill, "
              "BillDate_Bill) values (?,?,?,?,'Filters','2026-03-02')",
              {ref, vendor, amount, chart});
}

void addPayment(TestShop& shop, const QString& bill, double amount, const QString& vendor = "Acme")
{
    shop.exec("Insert into Payable (BillNo_Payable, Name_Payable, Amount_Payable, "
              "PayDate_Payable, Chart_Payable) values (?,?,?,'2026-03-05','Parts')",
              {bill, vendor, amount});
}

QString figure(QWidget* w, const QString& name)
{
    return ui::find<QLabel>(w, name)->text();
}

QLineEdit* box(QWidget* w, const QString& name)
{
    return ui::find<QLineEdit>(w, name);
}

QComboBox* combo(QWidget* w, const QString& name)
{
    return ui::find<QComboBox>(w, name);
}

template<class Window>
Window* newest(TestShop& shop)
{
    return ui::newest<Window>(shop.mainForm());
}

TPayable* openPayments(TestShop& shop)
{
    ui::click(shop.mainFormWithTasks(), "SpeedButton11");
    return newest<TPayable>(shop);
}

int payments(TestShop& shop)
{
    return shop.value("Select Count(*) From Payable").toInt();
}
} // namespace

class TestPayables : public QObject
{
    Q_OBJECT

private slots:
    void billLookUp_data();
    void billLookUp();
    void unmatchedRefKeepsTheFigures();
    void everySaveAdds();
    void saveChecksValues_data();
    void saveChecksValues();
    void finderFillsItsOpenerOnly();
    void listTotalAndPrintout();
    void billNumbers_data();
    void billNumbers();
    void billsSharingANumber();
    void deletedBillTakesItsLines();
    void anotherStationTookTheReference();
    void billLinesAndFigures();
    void partPickerOnBillLines();
    void billPaymentsFromTheBill();
};

void TestPayables::billLookUp_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<QList<double>>("paid");
    QTest::addColumn<QString>("paidText");
    QTest::addColumn<QString>("balance");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("no payments") << 150.0 << QList<double>{} << "0.00"
                                 << "150"
                                 << "150";
    QTest::newRow("two of 100 on 150") << 150.0 << QList<double>{100, 100} << "200"
                                       << "-50"
                                       << "0.00";
    QTest::newRow("one of 100 on 150") << 150.0 << QList<double>{100} << "100"
                                       << "50"
                                       << "50.00";
    QTest::newRow("150.50 unpaid") << 150.5 << QList<double>{} << "0.00"
                                   << "150.5"
                                   << "150.5";
}

void TestPayables::billLookUp()
{
    QFETCH(double, amount);
    QFETCH(QList<double>, paid);
    QFETCH(QString, paidText);
    QFETCH(QString, balance);
    QFETCH(QString, proposed);
    TestShop shop;
    addBill(shop, "01008", "O'Reilly Truck", amount);
    addBill(shop, "1008", "Other Vendor", 5);
    for (double p : paid)
        addPayment(shop, "01008", p);
    TPayable* w = openPayments(shop);
    QCOMPARE(w->windowTitle(), QStringLiteral("Payable"));
    QCOMPARE(combo(w, "ComboBox3")->currentText(), QStringLiteral("Bus Expence"));
    ui::type(box(w, "Edit1"), "01008");
    QCOMPARE(figure(w, "Label9"), QStringLiteral("O'Reilly Truck"));
    QCOMPARE(figure(w, "Label14"), paidText);
    QCOMPARE(figure(w, "Label16"), balance);
    // What is still owed is proposed (nothing when the bill is paid); the chart comes from
    // the bill.
    QCOMPARE(box(w, "Edit4")->text(), proposed);
    QCOMPARE(combo(w, "ComboBox3")->currentText(), QStringLiteral("Parts"));
    QCOMPARE(combo(w, "ComboBox4")->currentText(), QStringLiteral("Filters"));
    QVERIFY(shop.prompter().messages().isEmpty());
}

void TestPayables::unmatchedRefKeepsTheFigures()
{
    TestShop shop;
    addBill(shop, "B7", "Acme", 150);
    TPayable* w = openPayments(shop);
    ui::type(box(w, "Edit1"), "B7");
    QCOMPARE(figure(w, "Label11"), QStringLiteral("150"));
    // Typed on, the reference names no bill: the form keeps what it showed.
    ui::type(box(w, "Edit1"), "B77' or '1'='1");
    QCOMPARE(figure(w, "Label9"), QStringLiteral("Acme"));
    QCOMPARE(figure(w, "Label11"), QStringLiteral("150"));
    QCOMPARE(box(w, "Edit4")->text(), QStringLiteral("150"));
    QVERIFY(shop.prompter().messages().isEmpty());
}

void TestPayables::everySaveAdds()
{
    TestShop shop;
    addBill(shop, "B7", "Acme", 150);
    TPayable* w = openPayments(shop);
    for (int i = 0; i < 2; ++i) {
        ui::type(box(w, "Edit1"), "B7");
        ui::type(box(w, "Edit3"), "CHK 9");
        ui::type(box(w, "Edit4"), "100");
        shop.prompter().answer({true});
        ui::click(w, "Button1");
    }
    QCOMPARE(payments(shop), 2);
    // Cleared for the next payment; "Paid" keeps its last value, the chart stays.
    QCOMPARE(box(w, "Edit1")->text(), QString());
    QCOMPARE(box(w, "Edit4")->text(), QStringLiteral("0.00"));
    QCOMPARE(figure(w, "Label9"), QString());
    QCOMPARE(figure(w, "Label11"), QStringLiteral("0.00"));
    QCOMPARE(figure(w, "Label16"), QStringLiteral("0.00"));
    QCOMPARE(figure(w, "Label14"), QStringLiteral("100"));
    QCOMPARE(combo(w, "ComboBox3")->currentText(), QStringLiteral("Parts"));
    // No clears the form too, and writes nothing.
    ui::type(box(w, "Edit1"), "B7");
    shop.prompter().answer({false});
    ui::click(w, "Button1");
    QCOMPARE(payments(shop), 2);
    QCOMPARE(box(w, "Edit1")->text(), QString());
    // New clears the vendor and amount figures and keeps the chart.
    ui::type(box(w, "Edit1"), "B7");
    ui::click(w, "Button2");
    QCOMPARE(figure(w, "Label9"), QString());
    QCOMPARE(figure(w, "Label11"), QStringLiteral("0.00"));
    QCOMPARE(combo(w, "ComboBox3")->currentText(), QStringLiteral("Parts"));
    QVERIFY(!ui::find<QPushButton>(w, "Button3")->isEnabled());
    QVERIFY(!ui::find<QPushButton>(w, "Button7")->isEnabled());
}

void TestPayables::saveChecksValues_data()
{
    QTest::addColumn<QString>("bill");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QVariantList>("stored");
    QTest::newRow("thousands comma")
        << "01008"
        << "1,000" << QString() << QVariantList{"01008", 1000.0, "real", "2026-03-09"};
    QTest::newRow("amount in words") << "01008"
                                     << "abc"
                                     << "Amount" << QVariantList{};
    QTest::newRow("unknown bill still stored")
        << "NO-SUCH"
        << "5" << QString() << QVariantList{"NO-SUCH", 5.0, "real", "2026-03-09"};
}

void TestPayables::saveChecksValues()
{
    QFETCH(QString, bill);
    QFETCH(QString, amount);
    QFETCH(QString, refusal);
    QFETCH(QVariantList, stored);
    TestShop shop;
    addBill(shop, "01008", "Acme", 150);
    TPayable* w = openPayments(shop);
    ui::type(box(w, "Edit1"), bill);
    ui::type(box(w, "Edit4"), amount);
    ui::type(box(w, "Edit2"), "3/9/2026");
    shop.prompter().answer({true});
    ui::click(w, "Button1");
    if (refusal.isEmpty()) {
        QCOMPARE(shop.row("Select BillNo_Payable, Amount_Payable, typeof(Amount_Payable), "
                          "PayDate_Payable From Payable"),
                 stored);
    } else {
        QCOMPARE(shop.prompter().texts(ScriptedPrompter::Kind::Confirm), QStringList());
        QVERIFY2(shop.prompter().last().startsWith(refusal), qPrintable(shop.prompter().last()));
        QCOMPARE(payments(shop), 0);
    }
}

void TestPayables::finderFillsItsOpenerOnly()
{
    TestShop shop;
    addBill(shop, "B9", "Zephyr Lines", 90, "Tires");
    addBill(shop, "B10", "Acme", 500);
    TPayable* first = openPayments(shop);
    ui::click(first, "SpeedButton1");
    auto* finder = newest<TFindPayable>(shop);
    QCOMPARE(finder->windowTitle(), QStringLiteral("FindPayable"));
    // Sorted by reference as text.
    QCOMPARE(ui::cell(finder->grid(), 0, 0), QStringLiteral("B10"));
    TPayable* second = openPayments(shop);
    finder->query()->setCurrentRow(1);
    emit finder->grid()->doubleClicked(finder->grid()->model()->index(1, 0));
    ui::settle();
    QCOMPARE(box(first, "Edit1")->text(), QStringLiteral("B9"));
    QCOMPARE(figure(first, "Label9"), QStringLiteral("Zephyr Lines"));
    QCOMPARE(combo(first, "ComboBox3")->currentText(), QStringLiteral("Tires"));
    QCOMPARE(box(second, "Edit1")->text(), QString());
    // A finder whose payment window has closed fills nothing.
    ui::click(second, "SpeedButton1");
    auto* orphan = newest<TFindPayable>(shop);
    closeWindow(second);
    ui::settle();
    emit orphan->grid()->doubleClicked(orphan->grid()->model()->index(0, 0));
    ui::settle();
    QCOMPARE(box(first, "Edit1")->text(), QStringLiteral("B9"));
    QVERIFY(shop.prompter().messages().isEmpty());
}

void TestPayables::listTotalAndPrintout()
{
    TestShop shop;
    addBill(shop, "B7", "Acme", 150);
    addPayment(shop, "B7", 10.10, "O'Hara Supply");
    addPayment(shop, "B8", 20.20);
    QList<PreparedReport> previews;
    TPayableList list([&](const PreparedReport& report) { previews.append(report); });
    list.show();
    ui::settle();
    QCOMPARE(list.windowTitle(), QStringLiteral("PayableList"));
    QCOMPARE(figure(&list, "Label2"), QStringLiteral("30.3"));
    QCOMPARE(ui::title(list.grid(), 5), QStringLiteral("Amount $"));
    // Payments are only added: the navigator has no delete.
    QVERIFY(!list.findChild<QWidget*>("Delete"));
    // The payment window looking a bill up never changes what the list shows or prints.
    TPayable* w = openPayments(shop);
    ui::type(box(w, "Edit1"), "B7");
    QCOMPARE(ui::rowCount(list.grid()), 2);
    emit list.grid()->titleClicked(list.query()->columnIndex("Amount_Payable"));
    ui::click(&list, "PrintButton");
    QCOMPARE(previews.size(), 1);
    const QString text = previews.first().text();
    for (const char* piece : {"Payable List", "Bill No", "Vendor Name", "Chart of Acount",
                              "O'Hara Supply", "Total  Amount   : 30.3"})
        QVERIFY2(text.contains(QLatin1String(piece)), piece);
    QVERIFY(text.indexOf("10.10") < text.indexOf("20.20"));
}

namespace {
TBill* openBills(TestShop& shop)
{
    ui::click(shop.mainFormWithTasks(), "SpeedButton7");
    return newest<TBill>(shop);
}
} // namespace

void TestPayables::billNumbers_data()
{
    QTest::addColumn<QStringList>("refs");
    QTest::addColumn<QString>("next");
    QTest::newRow("empty") << QStringList{} << "1000";
    QTest::newRow("999 and 1000") << QStringList{"1000", "999"} << "1001";
    QTest::newRow("only a text reference") << QStringList{"B7"} << "1000";
    QTest::newRow("text last") << QStringList{"1008", "B7"} << "1009";
}

void TestPayables::billNumbers()
{
    QFETCH(QStringList, refs);
    QFETCH(QString, next);
    TestShop shop;
    for (const QString& r : refs)
        addBill(shop, r, "Acme", 10);
    TBill* w = openBills(shop);
    QCOMPARE(w->windowTitle(), QStringLiteral("Bill"));
    ui::click(w, "Button3");
    QCOMPARE(w->text("Ref_Bill"), next);
    QCOMPARE(w->text("Amount_Bill"), QStringLiteral("0.00"));
    QVERIFY(shop.prompter().messages().isEmpty());
}

void TestPayables::billsSharingANumber()
{
    // Two bills of an older release under one number: each is its own record.
    TestShop shop;
    addBill(shop, "1008", "Acme", 100);
    addBill(shop, "1008", "Zephyr Lines", 200);
    TBill* w = openBills(shop);
    // The window opens on the last bill the table returns.
    QCOMPARE(w->text("Vendor_Bill"), QStringLiteral("Zephyr Lines"));
    ui::type(box(w, "Edit4"), "1,250.50");
    shop.prompter().answer({true});
    ui::click(w, "Button2");
    QCOMPARE(shop.rows("Select Vendor_Bill, Amount_Bill From Bill Order By Vendor_Bill"),
             (QList<QVariantList>{{"Acme", 100.0}, {"Zephyr Lines", 1250.5}}));
    // After Save the boxes show the first bill; another vendor changes that bill, never adds.
    QCOMPARE(w->text("Vendor_Bill"), QStringLiteral("Acme"));
    ui::type(combo(w, "ComboBox1"), "O'Reilly Truck");
    shop.prompter().answer({true});
    ui::click(w, "Button2");
    QCOMPARE(shop.rows("Select Vendor_Bill From Bill Order By Vendor_Bill"),
             (QList<QVariantList>{{"O'Reilly Truck"}, {"Zephyr Lines"}}));
    // A new bill under a reference another bill has is refused.
    ui::click(w, "Button3");
    ui::type(box(w, "Edit1"), "1008");
    shop.prompter().clear();
    shop.prompter().answer({true});
    ui::click(w, "Button2");
    QCOMPARE(shop.value("Select Count(*) From Bill").toInt(), 2);
    QVERIFY(shop.prompter().last().startsWith("Ref# 1008 already belongs to the bill"));
    // Delete removes the bill chosen, and only it.
    ui::click(w, "Button5");
    QCOMPARE(w->text("Vendor_Bill"), QStringLiteral("O'Reilly Truck"));
    shop.prompter().answer({true});
    ui::click(w, "Button4");
    QCOMPARE(shop.rows("Select Vendor_Bill From Bill"), (QList<QVariantList>{{"Zephyr Lines"}}));
    QVERIFY(!ui::find<QPushButton>(w, "Button9")->isEnabled());
}

void TestPayables::billLinesAndFigures()
{
    TestShop shop;
    addBill(shop, "01008", "Acme", 300);
    addBill(shop, "1008", "Acme", 5);
    shop.exec("Insert into Part (ID_Material, Number_Material, Color_Material, Price_Material, "
              "Mfg_Material) values (1, 'Oil filter', 'LF-1', 12.5, 'Fleetguard')");
    TBill* w = openBills(shop);
    w->listQuery()->first();
    emit w->grid()->cellClicked();
    QCOMPARE(w->text("Ref_Bill"), QStringLiteral("01008"));
    QCOMPARE(figure(w, "Label19"), QString());
    ui::click(w, "Button6");
    auto* parts = newest<TBillPart>(shop);
    QCOMPARE(parts->windowTitle(), QStringLiteral("BillPart"));
    QCOMPARE(box(parts, "Edit2")->text(), QString());
    ui::type(combo(parts, "ComboBox1"), "Oil filter");
    QCOMPARE(box(parts, "Edit5")->text(), QStringLiteral("12.5"));
    ui::type(box(parts, "Edit2"), "10");
    parts->computeAmount();
    QCOMPARE(box(parts, "Edit6")->text(), QStringLiteral("125"));
    shop.prompter().answer({true});
    ui::click(parts, "Button1");
    QCOMPARE(shop.value("Select Inv_Bill From BillItem").toString(), QStringLiteral("01008"));
    closeWindow(parts);
    ui::settle();
    ui::click(w, "Button8");
    auto* expenses = newest<TBillExpense>(shop);
    ui::type(combo(expenses, "ComboBox1"), "Freight");
    ui::type(box(expenses, "Edit2"), "1");
    ui::type(box(expenses, "Edit5"), "40.10");
    expenses->computeAmount();
    shop.prompter().answer({true});
    ui::click(expenses, "Button1");
    // The bill window moves to another bill: the expense window stays on its own.
    w->listQuery()->setCurrentRow(1);
    emit w->grid()->cellClicked();
    QCOMPARE(w->text("Ref_Bill"), QStringLiteral("1008"));
    ui::click(expenses, "Button5");
    QCOMPARE(ui::rowCount(expenses->grid()), 1);
    closeWindow(expenses);
    ui::settle();
    // Back on 01008: its lines, their totals and the bill's total together.
    w->listQuery()->first();
    emit w->grid()->cellClicked();
    QCOMPARE(w->lines()->panel("BillItem")->total()->text(), QStringLiteral("125"));
    QCOMPARE(w->lines()->panel("BillExpense")->total()->text(), QStringLiteral("40.1"));
    QCOMPARE(figure(w, "Label14"), QStringLiteral("165.1"));
    // New shows no lines and no payments for the new number.
    ui::click(w, "Button3");
    QCOMPARE(ui::rowCount(w->lines()->panel("BillItem")->grid()), 0);
    QCOMPARE(figure(w, "Label14"), QStringLiteral("0.00"));
    // Typing a bill's number brings its lines in.
    ui::type(box(w, "Edit1"), "01008");
    QCOMPARE(ui::rowCount(w->lines()->panel("BillItem")->grid()), 1);
    // Refresh shows the first bill's lines with it, never another bill's.
    ui::click(w, "Button5");
    QCOMPARE(w->text("Ref_Bill"), QStringLiteral("01008"));
    QCOMPARE(ui::rowCount(w->lines()->panel("BillItem")->grid()), 1);
}

void TestPayables::deletedBillTakesItsLines()
{
    TestShop shop;
    addBill(shop, "1000", "Acme", 100);
    addBill(shop, "1001", "Zephyr Lines", 50);
    shop.exec("Insert into BillItem (Name_Bill, Amount_Bill, Inv_Bill) values ('Filter', 10, "
              "'1000')");
    shop.exec("Insert into BillExpense (Description_Expense, Amount_Expense, Bill_Expense) values "
              "('Freight', 5, '1000')");
    addPayment(shop, "1001", 50);
    TBill* w = openBills(shop);
    const auto choose = [w](const QString& ref) {
        w->listQuery()->setCurrentRow(w->listQuery()->findRow("Ref_Bill", ref));
        emit w->grid()->cellClicked();
    };
    // A bill with a payment stays, and the user is told why.
    choose("1001");
    ui::click(w, "Button4");
    QCOMPARE(shop.value("Select Count(*) From Bill").toInt(), 2);
    QCOMPARE(shop.prompter().last(),
             QStringLiteral("Bill 1001 has a payment ($50.00). Money paid is never left without "
                            "its bill, so it cannot be deleted."));
    // One without goes with its part and expense lines.
    choose("1000");
    shop.prompter().answer({true});
    ui::click(w, "Button4");
    QCOMPARE(shop.rows("Select Ref_Bill From Bill"), (QList<QVariantList>{{"1001"}}));
    QCOMPARE(shop.value("Select Count(*) From BillItem").toInt(), 0);
    QCOMPARE(shop.value("Select Count(*) From BillExpense").toInt(), 0);
    // New never proposes a reference that has lines or payments, even of no bill.
    shop.exec("Insert into BillExpense (Description_Expense, Amount_Expense, Bill_Expense) values "
              "('Left over', 1, '1002')");
    ui::click(w, "Button3");
    QCOMPARE(w->text("Ref_Bill"), QStringLiteral("1003"));
    QCOMPARE(ui::rowCount(w->lines()->panel("BillItem")->grid()), 0);
    // Its header is stored when its lines are first opened, so no line is without its bill.
    ui::type(combo(w, "ComboBox1"), "O'Reilly Truck");
    ui::click(w, "Button6");
    auto* parts = newest<TBillPart>(shop);
    QCOMPARE(parts->number(), QStringLiteral("1003"));
    QCOMPARE(shop.rows("Select Ref_Bill, Vendor_Bill From Bill Order By Ref_Bill"),
             (QList<QVariantList>{{"1001", "Zephyr Lines"}, {"1003", "O'Reilly Truck"}}));
    closeWindow(parts);
    ui::settle();
    // Save then changes the stored bill and adds none.
    ui::type(box(w, "Edit4"), "75");
    shop.prompter().answer({true});
    ui::click(w, "Button2");
    QCOMPARE(shop.rows("Select Ref_Bill, Amount_Bill From Bill Order By Ref_Bill"),
             (QList<QVariantList>{{"1001", 50.0}, {"1003", 75.0}}));
    // A bill's reference changed takes its lines and payments along.
    shop.exec("Insert into BillItem (Name_Bill, Amount_Bill, Inv_Bill) values ('Belt', 3, "
              "'1003')");
    choose("1003");
    ui::type(box(w, "Edit1"), "1010");
    shop.prompter().answer({true});
    ui::click(w, "Button2");
    QCOMPARE(shop.rows("Select Inv_Bill From BillItem"), (QList<QVariantList>{{"1010"}}));
    QCOMPARE(shop.value("Select Count(*) From Bill where Ref_Bill = '1010'").toInt(), 1);
}

void TestPayables::anotherStationTookTheReference()
{
    TestShop shop;
    addBill(shop, "1000", "Acme", 10);
    TBill* w = openBills(shop);
    ui::click(w, "Button3");
    QCOMPARE(w->text("Ref_Bill"), QStringLiteral("1001"));
    // Meanwhile another station pressed New too, and saved first, for the same vendor.
    addBill(shop, "1001", "Acme", 99);
    shop.exec("Insert into BillItem (Name_Bill, Amount_Bill, Inv_Bill) values ('Theirs', 1, "
              "'1001')");
    ui::type(combo(w, "ComboBox1"), "Acme");
    ui::type(box(w, "Edit4"), "42");
    shop.prompter().clear();
    shop.prompter().answer({true});
    ui::click(w, "Button2");
    // Theirs is untouched; this one went under the next free reference, and the user is told.
    QCOMPARE(shop.rows("Select Ref_Bill, Amount_Bill From Bill Order By Ref_Bill"),
             (QList<QVariantList>{{"1000", 10.0}, {"1001", 99.0}, {"1002", 42.0}}));
    QCOMPARE(shop.prompter().texts(ScriptedPrompter::Kind::Inform),
             (QStringList{"Ref# 1001 was taken meanwhile at another station. This bill is saved "
                          "as Ref# 1002.",
                          "Saved!"}));
    // Its lines are its own: none of the other station's.
    QCOMPARE(shop.value("Select Count(*) From BillItem where Inv_Bill = '1002'").toInt(), 0);
}

void TestPayables::billPaymentsFromTheBill()
{
    TestShop shop;
    addBill(shop, "B7", "Acme", 150);
    addPayment(shop, "B7", 100);
    addPayment(shop, "B7", 100);
    TBill* w = openBills(shop);
    QCOMPARE(figure(w, "Label19"), QStringLiteral("200"));
    ui::click(w, "Button11");
    auto* payment = newest<TPayable>(shop);
    QCOMPARE(box(payment, "Edit1")->text(), QStringLiteral("B7"));
    QCOMPARE(figure(payment, "Label16"), QStringLiteral("-50"));
    closeWindow(payment);
    ui::settle();
    ui::click(w, "Button10");
    auto* history = newest<TPayableHistory>(shop);
    QCOMPARE(history->windowTitle(), QStringLiteral("PayableHistory"));
    QCOMPARE(ui::rowCount(history->grid()), 2);
    QCOMPARE(ui::title(history->grid(), 7), QStringLiteral("Sub Chart"));
}

void TestPayables::partPickerOnBillLines()
{
    TestShop shop;
    addBill(shop, "B7", "Acme", 150);
    shop.exec("Insert into Part (ID_Material, Number_Material, Color_Material, Price_Material, "
              "Mfg_Material, Style_Material) values (1, 'Oil filter', 'LF-1', 12.5, "
              "'Fleetguard', 'Spin-on')");
    shop.exec("Insert into Part (ID_Material, Number_Material, Color_Material, Price_Material) "
              "values (2, 'Air filter', 'AF-2', 40.1)");
    TBill* w = openBills(shop);
    w->listQuery()->first();
    emit w->grid()->cellClicked();
    ui::click(w, "Button6");
    auto* parts = newest<TBillPart>(shop);
    // Find stands beside Part Name and shows the order part picker for this line.
    QPushButton* find = nullptr;
    for (QPushButton* b : parts->findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("&Find"))
            find = b;
    QVERIFY(find);
    ui::type(box(parts, "Edit2"), "3");
    ui::click(find);
    TLaborFind* picker = shop.longLived().laborFind.get();
    QVERIFY(picker->isVisible());
    picker->search(QStringLiteral("oil"));
    picker->select();
    // The catalogue part at its price, no markup; the amount follows the quantity typed.
    QCOMPARE(combo(parts, "ComboBox1")->currentText(), QStringLiteral("Oil filter"));
    QCOMPARE(box(parts, "Edit1")->text(), QStringLiteral("Fleetguard"));
    QCOMPARE(box(parts, "Edit3")->text(), QStringLiteral("Spin-on"));
    QCOMPARE(box(parts, "Edit4")->text(), QStringLiteral("LF-1"));
    QCOMPARE(box(parts, "Edit5")->text(), QStringLiteral("12.5"));
    QCOMPARE(box(parts, "Edit6")->text(), QStringLiteral("37.5"));
    shop.prompter().answer({true});
    ui::click(parts, "Button1");
    QCOMPARE(shop.row("Select Name_Bill, Color_Bill, Rate_Bill, Amount_Bill, Inv_Bill From "
                      "BillItem"),
             (QVariantList{"Oil filter", "LF-1", 12.5, 37.5, "B7"}));
}

QTEST_MAIN(TestPayables)
#include "tst_payables.moc"
