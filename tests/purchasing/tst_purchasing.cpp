#include "CatalogueRows.h"
#include "TestShop.h"
#include "Ui.h"
#include "app/TMainForm.h"
#include "app/Tasks.h"
#include "data/Query.h"
#include "masters/TPart.h"
#include "printing/PreparedReport.h"
#include "purchasing/TLaborFind.h"
#include "purchasing/TOrderItem.h"
#include "purchasing/TPartOrderHistory.h"
#include "purchasing/TPoOrder.h"
#include "ui/common/DataGrid.h"
#include "ui/common/Windows.h"
#include "ui/documents/LinePanel.h"

#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString saveQuestion = QStringLiteral("Are you sure you want to Save this Record?");
const QString deleteQuestion = QStringLiteral("Are you sure you want to Delete this Record?");

void addOrder(TestShop& shop, int po, const QString& vendor)
{
    shop.exec("Insert into Orders (Po_Order, Vendor_Order, OrderDate_Order, SideMark_Order) "
              "values (?,?,'2026-03-02','Acme Freight')",
              {po, vendor});
}

void addLine(TestShop& shop, int po, const QString& partNo, double qty, double rate)
{
    shop.exec("Insert into Items (Po_Item, Name_Item, Color_Item, Qty_Item, Rate_Item, "
              "Amount_Item) values (?,?,?,?,?,?)",
              {po, "Part " + partNo, partNo, qty, rate, qty * rate});
}

QString label(QWidget* w, const QString& name)
{
    return ui::find<QLabel>(w, name)->text();
}

QLineEdit* box(QWidget* w, const QString& name)
{
    return ui::find<QLineEdit>(w, name);
}

TPoOrder* openOrders(TestShop& shop)
{
    TMainForm* mainForm = shop.mainFormWithTasks();
    ui::click(mainForm, "SpeedButton10");
    auto* orders = qobject_cast<TPoOrder*>(ui::newestChild(mainForm));
    if (!orders)
        throw std::runtime_error("no order window");
    return orders;
}

// The line window of the order in the boxes, opened with "Discription".
TOrderItem* openLines(TestShop& shop, TPoOrder* orders)
{
    ui::click(orders, "Button6");
    auto* lines = qobject_cast<TOrderItem*>(ui::newestChild(shop.mainForm()));
    if (!lines)
        throw std::runtime_error("no line window");
    return lines;
}

// Types a line and saves it, answering Yes.
void saveLine(TestShop& shop, TOrderItem* lines, const QString& name, const QString& partNo,
              const QString& qty, const QString& rate)
{
    ui::click(lines, "Button2");
    ui::type(ui::find<QComboBox>(lines, "ComboBox1"), name);
    ui::type(box(lines, "Edit4"), partNo);
    ui::type(box(lines, "Edit2"), qty);
    ui::type(box(lines, "Edit5"), rate);
    lines->computeAmount();
    shop.prompter().answer({true});
    ui::click(lines, "Button1");
}

QStringList column(const QAbstractItemView* grid, int c)
{
    QStringList values;
    for (int row = 0; row < ui::rowCount(grid); ++row)
        values.append(ui::cell(grid, row, c));
    return values;
}
} // namespace

class TestPurchasing : public QObject
{
    Q_OBJECT

private slots:
    void newProposesNextNumber_data();
    void newProposesNextNumber();
    void listSortedOnOpenDatabaseOrderOnRefresh();
    void saveOverwritesAndNoDiscards();
    void deleteChecksNumberAndLines_data();
    void deleteChecksNumberAndLines();
    void linesFollowTheTypedNumber();
    void lineWindowSavesTheLineShown();
    void lineValuesAreChecked_data();
    void lineValuesAreChecked();
    void lineFromGridKeepsItsOwnValues();
    void pickerCopiesCataloguePrice();
    void orderPrintout();
    void amountRuleAndSave_data();
    void amountRuleAndSave();
    void orderWindowFollowsItsLines();
    void partFiguresFollowOrderLines();
};

void TestPurchasing::newProposesNextNumber_data()
{
    QTest::addColumn<QList<int>>("orders");
    QTest::addColumn<QString>("next");
    QTest::newRow("empty") << QList<int>{} << "1";
    QTest::newRow("1, 2, 7") << QList<int>{2, 7, 1} << "8";
}

void TestPurchasing::newProposesNextNumber()
{
    QFETCH(QList<int>, orders);
    QFETCH(QString, next);
    TestShop shop;
    for (int po : orders)
        addOrder(shop, po, "Fleet Parts");
    TPoOrder* w = openOrders(shop);
    QCOMPARE(w->windowTitle(), QStringLiteral("PoOrder"));
    ui::click(w, "Button3");
    QCOMPARE(box(w, "Edit1")->text(), next);
    const QString today = QDate::currentDate().toString("M/d/yyyy");
    QCOMPARE(box(w, "Edit2")->text(), today);
    QCOMPARE(box(w, "Edit3")->text(), today);
    QCOMPARE(ui::find<QComboBox>(w, "ComboBox3")->currentText(), QString());
    QCOMPARE(ui::rowCount(w->linePanel()->grid()), 0);
    QCOMPARE(w->linePanel()->total()->text(), QString());
}

void TestPurchasing::listSortedOnOpenDatabaseOrderOnRefresh()
{
    TestShop shop;
    addOrder(shop, 7, "Zenith Supply");
    addOrder(shop, 2, "Bolt Co");
    addOrder(shop, 5, "ABBA Parts");
    addLine(shop, 2, "P-1", 2, 10);
    TPoOrder* w = openOrders(shop);
    QCOMPARE(column(w->grid(), 0), (QStringList{"2", "5", "7"}));
    QCOMPARE(box(w, "Edit1")->text(), QStringLiteral("2"));
    QCOMPARE(ui::title(w->grid(), 8), QStringLiteral("For Invoice"));
    QCOMPARE(ui::rowCount(w->linePanel()->grid()), 1);
    QCOMPARE(w->linePanel()->total()->text(), QStringLiteral("20"));
    ui::click(w, "Button5");
    QCOMPARE(column(w->grid(), 0), (QStringList{"7", "2", "5"}));
    QCOMPARE(box(w, "Edit1")->text(), QStringLiteral("7"));
    QCOMPARE(w->linePanel()->total()->text(), QString());
    ui::click(w, "Button7");
    QCOMPARE(column(w->grid(), 0), (QStringList{"7", "2", "5"}));
    // Sorted by vendor, the search finds a vendor by its first letters.
    emit w->grid()->titleClicked(w->listQuery()->columnIndex("Vendor_Order"));
    ui::type(ui::find<QLineEdit>(w, "Edit13"), "ab");
    QCOMPARE(box(w, "Edit1")->text(), QStringLiteral("5"));
    QCOMPARE(ui::find<QComboBox>(w, "ComboBox3")->currentText(), QStringLiteral("ABBA Parts"));
}

void TestPurchasing::saveOverwritesAndNoDiscards()
{
    TestShop shop;
    addOrder(shop, 1, "Bolt Co");
    addOrder(shop, 2, "Fleet Parts");
    TPoOrder* w = openOrders(shop);
    // New, then the number of an existing order: Save overwrites that order's header.
    ui::click(w, "Button3");
    ui::type(box(w, "Edit1"), "2");
    ui::type(ui::find<QComboBox>(w, "ComboBox3"), "O'Reilly Truck");
    ui::type(box(w, "Edit3"), "4/1/2026");
    shop.prompter().answer({true});
    ui::click(w, "Button2");
    QCOMPARE(shop.prompter().texts(), (QStringList{saveQuestion, "Saved!"}));
    QCOMPARE(shop.rows("Select Po_Order, Vendor_Order, Nz(CStr(ShipDate_Order), 'none') From "
                       "Orders Order By Po_Order"),
             (QList<QVariantList>{{1, "Bolt Co", "none"}, {2, "O'Reilly Truck", "2026-04-01"}}));
    // After Save the list is read again in the database's order, from its first row.
    QCOMPARE(box(w, "Edit1")->text(), QStringLiteral("1"));
    // No discards what was typed.
    ui::type(ui::find<QComboBox>(w, "ComboBox3"), "Typed Vendor");
    shop.prompter().answer({false});
    ui::click(w, "Button2");
    QCOMPARE(ui::find<QComboBox>(w, "ComboBox3")->currentText(), QStringLiteral("Bolt Co"));
    QCOMPARE(shop.value("Select Count(*) From Orders where Vendor_Order='Typed Vendor'").toInt(),
             0);
    // A date that is not a date is refused before the question.
    shop.prompter().clear();
    ui::type(box(w, "Edit2"), "2/30/2026");
    ui::click(w, "Button2");
    QCOMPARE(shop.prompter().texts(ScriptedPrompter::Kind::Confirm), QStringList());
    QVERIFY(shop.prompter().last().startsWith("Order Date"));
}

void TestPurchasing::deleteChecksNumberAndLines_data()
{
    QTest::addColumn<QString>("po");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("ordersLeft");
    QTest::newRow("with lines") << "1"
                                << QStringList{"This PO it has Material Please Delete PO first"}
                                << 3;
    QTest::newRow("without lines") << "2" << QStringList{deleteQuestion} << 2;
    QTest::newRow("not a number") << "1 or 1=1" << QStringList{"PO#"} << 3;
    QTest::newRow("empty") << "" << QStringList{} << 3;
}

void TestPurchasing::deleteChecksNumberAndLines()
{
    QFETCH(QString, po);
    QFETCH(QStringList, messages);
    QFETCH(int, ordersLeft);
    TestShop shop;
    for (int n : {1, 2, 3})
        addOrder(shop, n, "Fleet Parts");
    addLine(shop, 1, "P-1", 1, 5);
    TPoOrder* w = openOrders(shop);
    ui::type(box(w, "Edit1"), po);
    shop.prompter().clear();
    shop.prompter().answer({true});
    ui::click(w, "Button4");
    const QStringList shown = shop.prompter().texts();
    QCOMPARE(shown.size(), messages.size());
    for (int i = 0; i < messages.size(); ++i)
        QVERIFY2(shown.at(i).startsWith(messages.at(i)), qPrintable(shown.at(i)));
    QCOMPARE(shop.value("Select Count(*) From Orders").toInt(), ordersLeft);
    QCOMPARE(shop.value("Select Count(*) From Items").toInt(), 1);
}

void TestPurchasing::linesFollowTheTypedNumber()
{
    TestShop shop;
    addOrder(shop, 1, "Fleet Parts");
    addOrder(shop, 12, "Bolt Co");
    addLine(shop, 12, "P-1", 3, 1.5);
    addLine(shop, 12, "P-2", 1, 10.10);
    TPoOrder* w = openOrders(shop);
    QCOMPARE(w->linePanel()->total()->text(), QString());
    ui::type(box(w, "Edit1"), "12");
    QCOMPARE(ui::rowCount(w->linePanel()->grid()), 2);
    QCOMPARE(w->linePanel()->total()->text(), QStringLiteral("14.6"));
    // The list stays where it was.
    QCOMPARE(w->listQuery()->currentRow(), 0);
    // Half typed: no lines and no error on each key.
    ui::type(box(w, "Edit1"), "12a");
    ui::type(box(w, "Edit1"), "-");
    QCOMPARE(ui::rowCount(w->linePanel()->grid()), 0);
    QCOMPARE(w->linePanel()->total()->text(), QString());
    QVERIFY(shop.prompter().messages().isEmpty());
    // No line window for an order without a number.
    ui::type(box(w, "Edit1"), "");
    ui::click(w, "Button6");
    QCOMPARE(shop.prompter().messages().size(), 1);
    QCOMPARE(ui::childWindows(shop.mainForm()).size(), 1);
}

void TestPurchasing::lineWindowSavesTheLineShown()
{
    TestShop shop;
    addOrder(shop, 4, "Fleet Parts");
    addPart(shop, 1, "Oil filter", "O'RING-1", 12.5);
    TPoOrder* w = openOrders(shop);
    TOrderItem* lines = openLines(shop, w);
    QCOMPARE(lines->windowTitle(), QStringLiteral("OrderItem"));
    QCOMPARE(label(lines, "Label6"), QStringLiteral("4"));
    QCOMPARE(label(lines, "Label15"), QStringLiteral("Acme Freight"));
    QCOMPARE(label(lines, "Label17"), QStringLiteral("3/2/2026"));
    QCOMPARE(label(lines, "Label19"), QStringLiteral("Fleet Parts"));
    // No lines yet: every box is empty; the grid has its opening titles.
    QCOMPARE(box(lines, "Edit2")->text(), QString());
    QCOMPARE(ui::title(lines->grid(), 4), QStringLiteral("Color"));
    QVERIFY(ui::find<QPushButton>(lines, "Button8")->isEnabled());
    saveLine(shop, lines, "Oil filter", "O'RING-1", "3", "1.5");
    QCOMPARE(shop.prompter().texts(), (QStringList{saveQuestion, "Saved!"}));
    QCOMPARE(ui::title(lines->grid(), 4), QStringLiteral("Part No"));
    QCOMPARE(box(lines, "Edit6")->text(), QStringLiteral("4.5"));
    // The line just saved is the one shown: Save again changes it.
    ui::type(box(lines, "Edit2"), "4");
    lines->computeAmount();
    shop.prompter().answer({true});
    ui::click(lines, "Button1");
    QCOMPARE(shop.rows("Select Color_Item, Qty_Item, Amount_Item From Items"),
             (QList<QVariantList>{{"O'RING-1", 4.0, 6.0}}));
    // New's line with the same part number is a line of its own.
    saveLine(shop, lines, "Oil filter", "O'RING-1", "1", "2");
    saveLine(shop, lines, "Oil filter", "O'RING-2", "1", "2");
    QCOMPARE(shop.value("Select Count(*) From Items where Po_Item=4").toInt(), 3);
    // Closing the line window reloads the order's lines and total.
    closeWindow(lines);
    ui::settle();
    QCOMPARE(ui::rowCount(w->linePanel()->grid()), 3);
    QCOMPARE(w->linePanel()->total()->text(), QStringLiteral("10"));
    // Delete in a line window removes the line shown, not every line of its part number.
    lines = openLines(shop, w);
    QCOMPARE(box(lines, "Edit4")->text(), QStringLiteral("O'RING-1"));
    shop.prompter().answer({true});
    ui::click(lines, "Button3");
    QCOMPARE(shop.rows("Select Color_Item From Items Order By Color_Item"),
             (QList<QVariantList>{{"O'RING-1"}, {"O'RING-2"}}));
}

void TestPurchasing::lineValuesAreChecked_data()
{
    QTest::addColumn<QString>("qty");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QVariantList>("stored");
    QTest::newRow("thousands comma") << "1,000"
                                     << "2.5"
                                     << "2500" << QString() << QVariantList{1000.0, 2500.0};
    QTest::newRow("quantity in words") << "abc"
                                       << "2"
                                       << "2"
                                       << "Qty" << QVariantList{};
    QTest::newRow("amount in words") << "2"
                                     << "2"
                                     << "four"
                                     << "Amount $" << QVariantList{};
}

void TestPurchasing::lineValuesAreChecked()
{
    QFETCH(QString, qty);
    QFETCH(QString, rate);
    QFETCH(QString, amount);
    QFETCH(QString, refusal);
    QFETCH(QVariantList, stored);
    TestShop shop;
    addOrder(shop, 4, "Fleet Parts");
    TOrderItem* lines = openLines(shop, openOrders(shop));
    ui::type(ui::find<QComboBox>(lines, "ComboBox1"), "Bolt");
    ui::type(box(lines, "Edit2"), qty);
    ui::type(box(lines, "Edit5"), rate);
    ui::type(box(lines, "Edit6"), amount);
    shop.prompter().answer({true});
    ui::click(lines, "Button1");
    if (refusal.isEmpty()) {
        QCOMPARE(shop.row("Select Qty_Item, Amount_Item From Items"), stored);
        QCOMPARE(shop.value("Select typeof(Qty_Item) From Items").toString(),
                 QStringLiteral("real"));
    } else {
        QCOMPARE(shop.prompter().texts(ScriptedPrompter::Kind::Confirm), QStringList());
        QVERIFY2(shop.prompter().last().startsWith(refusal), qPrintable(shop.prompter().last()));
        QCOMPARE(shop.value("Select Count(*) From Items").toInt(), 0);
    }
}

void TestPurchasing::lineFromGridKeepsItsOwnValues()
{
    TestShop shop;
    addOrder(shop, 4, "Fleet Parts");
    addPart(shop, 1, "Oil filter", "LF-1", 12.5);
    addLine(shop, 4, "LF-1", 2, 9);
    // The catalogue part was renamed since the line was written.
    shop.exec("Update Items Set Name_Item='Old filter name'");
    TPoOrder* w = openOrders(shop);
    TOrderItem* lines = openLines(shop, w);
    QCOMPARE(ui::find<QComboBox>(lines, "ComboBox1")->currentText(),
             QStringLiteral("Old filter name"));
    emit lines->grid()->cellClicked();
    QCOMPARE(box(lines, "Edit4")->text(), QStringLiteral("LF-1"));
    QCOMPARE(box(lines, "Edit5")->text(), QStringLiteral("9"));
    // Typing a whole catalogue name fills from the catalogue, on the window's own query: the
    // order window's lines grid keeps the order's lines.
    ui::type(ui::find<QComboBox>(lines, "ComboBox1"), "Oil filter");
    QCOMPARE(box(lines, "Edit5")->text(), QStringLiteral("12.5"));
    QCOMPARE(box(lines, "Edit1")->text(), QStringLiteral("Fleetguard"));
    QCOMPARE(ui::rowCount(w->linePanel()->grid()), 1);
    QCOMPARE(ui::cell(w->linePanel()->grid(), 0, 0), QStringLiteral("Old filter name"));
    // A name that is not a whole catalogue name empties the line.
    ui::type(ui::find<QComboBox>(lines, "ComboBox1"), "O");
    QCOMPARE(box(lines, "Edit4")->text(), QString());
    QCOMPARE(ui::find<QComboBox>(lines, "ComboBox1")->currentText(), QStringLiteral("O"));
}

void TestPurchasing::pickerCopiesCataloguePrice()
{
    TestShop shop;
    addOrder(shop, 4, "Fleet Parts");
    addPart(shop, 1, "Oil filter", "LF-1", 12.5);
    addPart(shop, 2, "Air filter", "AF-2", 40.1);
    TPoOrder* w = openOrders(shop);
    TOrderItem* older = openLines(shop, w);
    TOrderItem* newer = openLines(shop, w);
    TLaborFind* picker = shop.longLived().laborFind.get();
    QCOMPARE(picker->windowTitle(), QStringLiteral("Order Part Find"));
    ui::click(newer, "Button8");
    QVERIFY(picker->isVisible());
    // Sorted by part number: AF-2 first.
    QCOMPARE(ui::cell(picker->grid(), 0, 0), QStringLiteral("AF-2"));
    picker->select();
    // The newest window, which showed the picker, gets the part at the catalogue price.
    QCOMPARE(box(newer, "Edit4")->text(), QStringLiteral("AF-2"));
    QCOMPARE(box(newer, "Edit5")->text(), QStringLiteral("40.1"));
    QCOMPARE(ui::find<QComboBox>(newer, "ComboBox1")->currentText(), QStringLiteral("Air filter"));
    QCOMPARE(box(older, "Edit4")->text(), QString());
    // Find in the older window fills that one; a pick prices the quantity already typed.
    ui::type(box(older, "Edit2"), "2");
    ui::click(older, "Button8");
    picker->search(QStringLiteral("oil"));
    picker->select();
    QCOMPARE(box(older, "Edit4")->text(), QStringLiteral("LF-1"));
    QCOMPARE(box(older, "Edit6")->text(), QStringLiteral("25"));
    QCOMPARE(box(newer, "Edit4")->text(), QStringLiteral("AF-2"));
    // A picker whose line window closed writes nowhere.
    ui::click(older, "Button8");
    closeWindow(older);
    ui::settle();
    picker->search(QStringLiteral("oil"));
    picker->select();
    QCOMPARE(box(newer, "Edit4")->text(), QStringLiteral("AF-2"));
    QCOMPARE(shop.prompter().texts(),
             QStringList{"The line window has been closed; nothing was copied."});
}

void TestPurchasing::amountRuleAndSave_data()
{
    QTest::addColumn<QString>("qty");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("amount");
    QTest::newRow("3 x 1.5") << "3"
                             << "1.5"
                             << "4.5";
    QTest::newRow("zero") << "0"
                          << "1.5"
                          << "0";
    QTest::newRow("negative") << "-2"
                              << "1.5"
                              << "0";
    // No price yet is no amount yet ("#.##" shows nothing for nothing), not an error.
    QTest::newRow("no price yet") << "2"
                                  << ""
                                  << "";
}

void TestPurchasing::amountRuleAndSave()
{
    QFETCH(QString, qty);
    QFETCH(QString, rate);
    QFETCH(QString, amount);
    TestShop shop;
    addOrder(shop, 4, "Fleet Parts");
    TOrderItem* lines = openLines(shop, openOrders(shop));
    ui::type(ui::find<QComboBox>(lines, "ComboBox1"), "Bolt");
    ui::type(box(lines, "Edit2"), qty);
    ui::type(box(lines, "Edit5"), rate);
    lines->computeAmount();
    QCOMPARE(box(lines, "Edit6")->text(), amount);
    QVERIFY(shop.prompter().messages().isEmpty());
    // Save stores the amount the box shows; it does not work it out again.
    ui::type(box(lines, "Edit6"), "99");
    ui::type(box(lines, "Edit4"), "B-1");
    shop.prompter().answer({true});
    ui::click(lines, "Button1");
    QCOMPARE(shop.value("Select Amount_Item From Items").toDouble(), 99.0);
}

void TestPurchasing::orderWindowFollowsItsLines()
{
    TestShop shop;
    addOrder(shop, 4, "Fleet Parts");
    addOrder(shop, 12, "Bolt Co");
    addLine(shop, 4, "P-1", 1, 5);
    addLine(shop, 4, "P-1", 2, 5);
    TPoOrder* w = openOrders(shop);
    TOrderItem* lines = openLines(shop, w);
    // Delete removes the line shown, not every line of the order with that part number.
    QCOMPARE(box(lines, "Edit4")->text(), QStringLiteral("P-1"));
    for (int left : {1, 0}) {
        shop.prompter().answer({true});
        ui::click(lines, "Button3");
        QCOMPARE(shop.value("Select Count(*) From Items").toInt(), left);
    }
    saveLine(shop, lines, "Bolt", "B-1", "2", "3");
    // A click on the order already shown brings its new line in.
    emit w->grid()->cellClicked();
    QCOMPARE(w->linePanel()->total()->text(), QStringLiteral("6"));
    saveLine(shop, lines, "Nut", "N-1", "1", "1");
    // The order window moved on meanwhile: closing the line window shows the lines of the
    // order in its boxes, never order 4's lines under order 12.
    ui::type(box(w, "Edit1"), "12");
    closeWindow(lines);
    ui::settle();
    QCOMPARE(ui::rowCount(w->linePanel()->grid()), 0);
    ui::type(box(w, "Edit1"), "4");
    QCOMPARE(w->linePanel()->total()->text(), QStringLiteral("7"));
    // Closed while "PO#" is half typed: no error, no lines.
    lines = openLines(shop, w);
    ui::type(box(w, "Edit1"), "4x");
    closeWindow(lines);
    ui::settle();
    QVERIFY(shop.prompter().texts(ScriptedPrompter::Kind::Error).isEmpty());
    QCOMPARE(ui::rowCount(w->linePanel()->grid()), 0);
}

void TestPurchasing::partFiguresFollowOrderLines()
{
    TestShop shop;
    addOrder(shop, 4, "Fleet Parts");
    addPart(shop, 1, "Oil filter", "LF-1", 12.5);
    TPoOrder* w = openOrders(shop);
    TOrderItem* lines = openLines(shop, w);
    saveLine(shop, lines, "Oil filter", "LF-1", "6", "12.5");
    QCOMPARE(shop.value("Select Sum(Qty_Item) From Items where Color_Item='LF-1'").toInt(), 6);
    closeWindow(lines);
    closeWindow(w);
    ui::settle();
    shop.exec("Insert into InvItem (Inv_Item, Color_Item, Qty_Item) values (1, 'LF-1', 2)");
    ui::click(shop.mainForm(), "SpeedButton1");
    auto* part = qobject_cast<TPart*>(ui::newestChild(shop.mainForm()));
    QVERIFY(part);
    emit part->grid()->cellClicked();
    QCOMPARE(label(part, "Label19"), QStringLiteral("6"));
    QCOMPARE(label(part, "Label21"), QStringLiteral("4"));
    QCOMPARE(label(part, "Label23"), QStringLiteral("50"));
    shop.longLived().partOrderHistory->load(QStringLiteral("LF-1"));
    QCOMPARE(ui::rowCount(shop.longLived().partOrderHistory->grid()), 1);
    QCOMPARE(ui::cell(shop.longLived().partOrderHistory->grid(), 0, 7), QStringLiteral("4"));
}

void TestPurchasing::orderPrintout()
{
    TestShop shop;
    shop.exec("Insert into Company (ID_Company, Name_Company, Address_Company, City_Company, "
              "State_Company, Zip_Company, Tell_Company) values (3, 'Fleet Parts', '900 Depot "
              "St', 'Gary', 'IN', '46402', '(219) 555-0101')");
    shop.exec("Insert into Orders (Po_Order, Vendor_Order, OrderDate_Order, ShipDate_Order, "
              "SideMark_Order, OrderBy_Order) values (4, 'Fleet Parts', '2026-03-02', "
              "'2026-03-05', 'Acme Freight', 'Dan')");
    addLine(shop, 4, "BP-1", 2, 45.5);
    addLine(shop, 4, "DR-22", 3, 120.25);
    addLine(shop, 5, "XX-9", 1, 9.99); // another order's line
    TPoOrder* w = openOrders(shop);
    QVERIFY(ui::find<QPushButton>(w, "Button9")->isEnabled());
    w->setText("Po_Order", "4");
    std::optional<PreparedReport> report = w->prepareReport();
    QVERIFY(report);
    QCOMPARE(report->pageCount(), 1);
    QCOMPARE(report->title, QStringLiteral("Purchase Order 4"));
    const QString text = report->pageText(0);
    // 2 x 45.50 = 91.00 and 3 x 120.25 = 360.75: 451.75 in all.
    for (const char* piece : {"PURCHASE ORDER",
                              "PO# 4",
                              "Tavlin Truck Repair",
                              "1450 Industrial Parkway",
                              "Joliet, IL 60431",
                              "(815) 555-0142",
                              "Fleet Parts",
                              "900 Depot St",
                              "Gary IN 46402",
                              "(219) 555-0101",
                              "Order Date:",
                              "3/2/2026",
                              "Ship Date:",
                              "3/5/2026",
                              "Side Mark:",
                              "Acme Freight",
                              "BP-1",
                              "Part BP-1",
                              "45.50",
                              "91.00",
                              "DR-22",
                              "120.25",
                              "360.75",
                              "Total",
                              "451.75"})
        QVERIFY2(text.contains(QLatin1String(piece)), piece);
    QVERIFY(!text.contains(QLatin1String("XX-9")));
    QTemporaryDir dir;
    QCOMPARE(report->exportPdf(dir.filePath("order.pdf")), QString());
    // An order not saved is not printed; the user is told.
    w->setText("Po_Order", "77");
    QVERIFY(!w->prepareReport());
    QCOMPARE(shop.prompter().last(),
             QStringLiteral("Order 77 is not saved: save it before printing it."));
}

QTEST_MAIN(TestPurchasing)
#include "tst_purchasing.moc"
