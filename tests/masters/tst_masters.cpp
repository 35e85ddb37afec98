#include "TestShop.h"
#include "Ui.h"
#include "app/TMainForm.h"
#include "app/Tasks.h"
#include "data/Connection.h"
#include "data/Query.h"
#include "data/TDM.h"
#include "masters/TPart.h"
#include "purchasing/TPartOrderHistory.h"
#include "receivables/TPartInvoiceHistory.h"
#include "ui/common/DataGrid.h"
#include "ui/common/ListBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {
const QStringList columns = {"ID_Material",          "Type_Material",  "Number_Material",
                             "Description_Material", "Mfg_Material",   "Style_Material",
                             "Style_Type_Material",  "Color_Material", "Size_Material",
                             "Unit_Material",        "Price_Material", "Remark_Material"};

void addPart(TestShop& shop, int id, const QString& type, const QString& name,
             const QString& partNo, double price, const QString& mfg = "Fleetguard",
             const QString& unit = "EA")
{
    shop.exec("Insert into Part values (?,?,?,?,?,?,?,?,?,?,?,?)",
              {id, type, name, name + " description", mfg, "Style", "Heavy", partNo,
               "S" + QString::number(id), unit, price, "remark"});
}

void addSaleLine(TestShop& shop, const QString& partNo, double qty, int invoice = 1)
{
    shop.exec("Insert into InvItem values ('n','m',?,'s',?,1,1,?)", {qty, partNo, invoice});
}

void addOrderLine(TestShop& shop, const QString& partNo, double qty, int po = 1)
{
    shop.exec("Insert into Items values ('n','m',?,'s',?,1,1,?)", {qty, partNo, po});
}

// Opens a Parts window the way the PARTS button does.
TPart* openParts(TestShop& shop)
{
    TMainForm* mainForm = shop.mainFormWithTasks();
    ui::click(mainForm, "SpeedButton1");
    auto* part = qobject_cast<TPart*>(ui::newestChild(mainForm));
    if (!part)
        throw std::runtime_error("PARTS opened no Parts window");
    return part;
}

QString label(const TPart* part, const QString& name)
{
    return ui::find<QLabel>(part, name)->text();
}

QLineEdit* edit(const TPart* part, const QString& column)
{
    return ui::find<QLineEdit>(part, column);
}

QString boxText(const TPart* part, const QString& column)
{
    return part->text(column);
}

void clickRow(DataGrid* grid, int row)
{
    const QModelIndex index = grid->model()->index(row, 1);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
}

// Runs check on the modal window that the next command opens, then closes it.
void onModal(std::function<void(QWidget*)> check, bool* seen)
{
    QTimer::singleShot(0, [check, seen] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        *seen = true;
        check(modal);
        modal->close();
    });
}
} // namespace

class TestMasters : public QObject
{
    Q_OBJECT

private slots:
    void opensWithFirstPart();
    void opensEmpty();
    void partsButtonOpensWindows();
    void newGivesNextNumber_data();
    void newGivesNextNumber();
    void saveInsertsAndUpdates();
    void saveAnsweredNo();
    void saveWithEmptyKeyDoesNothing();
    void badNumbersWriteNothing_data();
    void badNumbersWriteNothing();
    void hostileTextIsStoredAsTyped();
    void deleteRemovesTheRow_data();
    void deleteRemovesTheRow();
    void refreshRenamesTitles();
    void stockFigures_data();
    void stockFigures();
    void fractionalQuantityKeepsFigures();
    void partNumberCheck();
    void sortAndSearch();
    void searchBeforeTitleClickUsesTheName();
    void typingAnIdMovesTheList();
    void listFollowsGridAndNavigator();
    void dropDownListsRefill();
    void keys();
    void histories();
    void statementsUseIndexes_data();
    void statementsUseIndexes();
};

void TestMasters::opensWithFirstPart()
{
    TestShop shop;
    addPart(shop, 7, "Filter", "Oil filter", "LF9009", 24.5);
    addPart(shop, 3, "Brake", "Shoe kit", "MK4707Q", 89.95);
    TPart* part = openParts(shop);

    QVERIFY(ui::childWindows(shop.mainForm()).constLast()->isMaximized());
    QCOMPARE(boxText(part, "ID_Material"), QStringLiteral("7"));
    QCOMPARE(boxText(part, "Type_Material"), QStringLiteral("Filter"));
    QCOMPARE(boxText(part, "Color_Material"), QStringLiteral("LF9009"));
    QCOMPARE(boxText(part, "Price_Material"), QStringLiteral("24.5"));
    QCOMPARE(label(part, "Label14"), QStringLiteral("2"));
    for (const char* figure : {"Label17", "Label19", "Label21", "Label23"})
        QCOMPARE(label(part, figure), QStringLiteral("0"));
    QCOMPARE(label(part, "Label16"), QString());

    auto* grid = ui::find<DataGrid>(part, "DBGrid1");
    const QStringList titles = {"ID #",      "Material Type", "Material Name", "Description",
                                "Mfg",       "Style",         "Style Type",    "Part No",
                                "Serial No", "Unit",          "Price $",       "Remark"};
    for (int c = 0; c < titles.size(); ++c)
        QCOMPARE(ui::title(grid, c), titles.at(c));
    QCOMPARE(ui::rowCount(grid), 2);
    QCOMPARE(ui::cell(grid, 1, 10), QStringLiteral("89.95"));
}

void TestMasters::opensEmpty()
{
    TestShop shop;
    TPart* part = openParts(shop);
    for (const QString& column : columns)
        QCOMPARE(boxText(part, column), QString());
    QCOMPARE(label(part, "Label14"), QStringLiteral("0"));
    QVERIFY(shop.prompter().messages().isEmpty());
}

void TestMasters::partsButtonOpensWindows()
{
    TestShop shop;
    TMainForm* mainForm = shop.mainFormWithTasks();
    QVERIFY(ui::find<QWidget>(mainForm, "SpeedButton1")->isEnabled());
    ui::click(mainForm, "SpeedButton1");
    ui::click(mainForm, "SpeedButton1");
    QCOMPARE(ui::childWindows(mainForm).size(), 2);
    // Closing one leaves the other working on the shared list.
    ui::click(ui::newestChild(mainForm), "CloseButton");
    ui::settle();
    QCOMPARE(ui::childWindows(mainForm).size(), 1);
    QVERIFY(shop.prompter().messages().isEmpty());
}

void TestMasters::newGivesNextNumber_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("sortBy");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty table") << QList<int>{} << ""
                                 << "1";
    QTest::newRow("largest 41") << QList<int>{5, 41, 12} << ""
                                << "42";
    QTest::newRow("list sorted by name") << QList<int>{41, 9, 2} << "Number_Material"
                                         << "42";
    QTest::newRow("beyond ten") << QList<int>{9, 10} << ""
                                << "11";
}

void TestMasters::newGivesNextNumber()
{
    QFETCH(QList<int>, keys);
    QFETCH(QString, sortBy);
    QFETCH(QString, expected);
    TestShop shop;
    for (int key : keys)
        addPart(shop, key, "T", QString("Part %1").arg(100 - key), QString("P%1").arg(key), 1);
    TPart* part = openParts(shop);
    if (!sortBy.isEmpty())
        part->grid()->titleClicked(columns.indexOf(sortBy));

    ui::click(part, "NewButton");
    QCOMPARE(boxText(part, "ID_Material"), expected);
    QCOMPARE(boxText(part, "Price_Material"), QStringLiteral("0.00"));
    QCOMPARE(boxText(part, "Number_Material"), QString());
    QVERIFY(ui::find<QWidget>(part, "Type_Material")->hasFocus());
    // New writes nothing, so pressing it again gives the same number.
    ui::click(part, "NewButton");
    QCOMPARE(boxText(part, "ID_Material"), expected);
    QCOMPARE(shop.value("Select Count(*) From Part").toInt(), keys.size());
}

void TestMasters::saveInsertsAndUpdates()
{
    TestShop shop;
    addPart(shop, 1, "Filter", "Oil filter", "LF9009", 24.5);
    TPart* part = openParts(shop);

    ui::click(part, "NewButton");
    part->setText("Type_Material", "Belt");
    part->setText("Number_Material", "Serpentine belt");
    part->setText("Description_Material", "8 rib");
    part->setText("Mfg_Material", "Gates");
    part->setText("Style_Material", "Micro-V");
    part->setText("Style_Type_Material", "Ribbed");
    part->setText("Color_Material", "K080980");
    part->setText("Size_Material", "SN-1");
    part->setText("Unit_Material", "EA");
    part->setText("Price_Material", "1,042.50");
    part->setText("Remark_Material", "spare");
    ui::click(part, "SaveButton");
    QCOMPARE(shop.prompter().texts(),
             (QStringList{"Are you sure you want to Save this Record?", "Data Recorded!"}));
    QCOMPARE(shop.row("Select * From Part where ID_Material=2"),
             (QVariantList{2, "Belt", "Serpentine belt", "8 rib", "Gates", "Micro-V", "Ribbed",
                           "K080980", "SN-1", "EA", 1042.5, "spare"}));
    // The list is reloaded on its first row, which is copied into the boxes.
    QCOMPARE(boxText(part, "ID_Material"), QStringLiteral("1"));
    QCOMPARE(label(part, "Label14"), QStringLiteral("2"));
    QVERIFY(part->grid()->hasFocus());

    // Typing the key of an existing row and saving changes that row, without a message.
    shop.prompter().clear();
    part->setText("ID_Material", "2");
    part->setText("Number_Material", "Belt, serpentine");
    part->setText("Price_Material", "");
    ui::click(part, "SaveButton");
    QCOMPARE(shop.prompter().texts(), QStringList{"Are you sure you want to Save this Record?"});
    QCOMPARE(shop.value("Select Count(*) From Part").toInt(), 2);
    QCOMPARE(shop.row("Select Number_Material, Price_Material, Color_Material From Part "
                      "where ID_Material=2"),
             (QVariantList{"Belt, serpentine", 0.0, "LF9009"}));
}

void TestMasters::saveAnsweredNo()
{
    TestShop shop;
    addPart(shop, 1, "Filter", "Oil filter", "LF9009", 24.5);
    TPart* part = openParts(shop);
    ui::click(part, "NewButton");
    part->setText("Number_Material", "Never saved");
    shop.prompter().answer({false});
    ui::click(part, "SaveButton");
    QCOMPARE(shop.value("Select Count(*) From Part").toInt(), 1);
    QCOMPARE(boxText(part, "Number_Material"), QStringLiteral("Oil filter"));
    QCOMPARE(shop.prompter().texts(), QStringList{"Are you sure you want to Save this Record?"});
}

void TestMasters::saveWithEmptyKeyDoesNothing()
{
    TestShop shop;
    TPart* part = openParts(shop);
    part->setText("Number_Material", "No key");
    ui::click(part, "SaveButton");
    ui::click(part, "DeleteButton");
    QVERIFY(shop.prompter().messages().isEmpty());
    QCOMPARE(shop.value("Select Count(*) From Part").toInt(), 0);
    QCOMPARE(boxText(part, "Number_Material"), QStringLiteral("No key"));
}

void TestMasters::badNumbersWriteNothing_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("message");
    QTest::newRow("letters in the ID") << "12a"
                                       << "1"
                                       << "ID Part: '12a' is not a valid number.";
    QTest::newRow("statement in the ID") << "1 or 1=1"
                                         << "1"
                                         << "ID Part: '1 or 1=1' is not a valid number.";
    QTest::newRow("letters in the price") << "5"
                                          << "abc"
                                          << "Price $: 'abc' is not a valid number.";
    QTest::newRow("two points") << "5"
                                << "1.2.3"
                                << "Price $: '1.2.3' is not a valid number.";
}

void TestMasters::badNumbersWriteNothing()
{
    QFETCH(QString, id);
    QFETCH(QString, price);
    QFETCH(QString, message);
    TestShop shop;
    addPart(shop, 1, "Filter", "Oil filter", "LF9009", 24.5);
    TPart* part = openParts(shop);
    part->setText("ID_Material", id);
    part->setText("Price_Material", price);
    part->setText("Number_Material", "typed");
    ui::click(part, "SaveButton");
    QCOMPARE(shop.prompter().texts(), QStringList{message});
    QCOMPARE(shop.rows("Select ID_Material, Number_Material, Price_Material From Part"),
             (QList<QVariantList>{{1, "Oil filter", 24.5}}));
    // The boxes keep what was typed, so it can be put right.
    QCOMPARE(boxText(part, "Number_Material"), QStringLiteral("typed"));
}

void TestMasters::hostileTextIsStoredAsTyped()
{
    TestShop shop;
    TPart* part = openParts(shop);
    const QString hostile = "O'Reilly's '); Delete From Part; --";
    ui::click(part, "NewButton");
    part->setText("Number_Material", hostile);
    part->setText("Remark_Material", QString::fromUtf8("Ünïcødé ‘quotes’ \"double\""));
    part->setText("Color_Material", "A'B");
    ui::click(part, "SaveButton");
    QCOMPARE(shop.row("Select Number_Material, Remark_Material, Color_Material From Part"),
             (QVariantList{hostile, QString::fromUtf8("Ünïcødé ‘quotes’ \"double\""), "A'B"}));
    QCOMPARE(shop.value("Select Count(*) From Part").toInt(), 1);
}

void TestMasters::deleteRemovesTheRow_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<int>("left");
    QTest::newRow("yes") << true << 1;
    QTest::newRow("no") << false << 2;
}

void TestMasters::deleteRemovesTheRow()
{
    QFETCH(bool, yes);
    QFETCH(int, left);
    TestShop shop;
    addPart(shop, 1, "Filter", "Oil filter", "LF9009", 24.5);
    addPart(shop, 2, "Brake", "Shoe kit", "MK4707Q", 89.95);
    addSaleLine(shop, "LF9009", 2);
    TPart* part = openParts(shop);
    shop.prompter().answer({yes});
    ui::click(part, "DeleteButton");
    QCOMPARE(shop.prompter().texts(), QStringList{"Are you sure you want to Delete this Record?"});
    QCOMPARE(shop.value("Select Count(*) From Part").toInt(), left);
    QCOMPARE(label(part, "Label14"), QString::number(left));
    QCOMPARE(ui::rowCount(part->grid()), left);
    // Lines that name the part are left alone.
    QCOMPARE(shop.value("Select Count(*) From InvItem").toInt(), 1);
    if (yes)
        QCOMPARE(boxText(part, "ID_Material"), QStringLiteral("2"));
}

void TestMasters::refreshRenamesTitles()
{
    TestShop shop;
    addPart(shop, 1, "Filter", "Oil filter", "LF9009", 24.5);
    TPart* part = openParts(shop);
    part->setText("Number_Material", "typed over");
    shop.exec("Insert into Part (ID_Material, Number_Material) values (9, 'added elsewhere')");
    for (const char* button : {"RefreshButton", "CancelButton"}) {
        ui::click(part, button);
        QCOMPARE(ui::title(part->grid(), 1), QStringLiteral("Type Part"));
        QCOMPARE(ui::title(part->grid(), 2), QStringLiteral("Part Name"));
        QCOMPARE(boxText(part, "Number_Material"), QStringLiteral("Oil filter"));
        QCOMPARE(ui::rowCount(part->grid()), 2);
        // Refresh leaves the count as it was.
        QCOMPARE(label(part, "Label14"), QStringLiteral("1"));
    }
}

void TestMasters::stockFigures_data()
{
    QTest::addColumn<QList<double>>("bought");
    QTest::addColumn<QList<double>>("sold");
    QTest::addColumn<double>("price");
    QTest::addColumn<QStringList>("figures"); // Sale, Buy, Inventory, Stock $

    QTest::newRow("no lines") << QList<double>{} << QList<double>{} << 2.5
                              << QStringList{"0", "0", "0", ""};
    QTest::newRow("bought 10 sold 3")
        << QList<double>{4, 6} << QList<double>{3} << 2.5 << QStringList{"3", "10", "7", "17.5"};
    QTest::newRow("sold more than bought") << QList<double>{1} << QList<double>{2, 2} << 12.25
                                           << QStringList{"4", "1", "-3", "-36.75"};
    QTest::newRow("cents") << QList<double>{3} << QList<double>{} << 0.335
                           << QStringList{"0", "3", "3", "1.01"};
}

void TestMasters::stockFigures()
{
    QFETCH(QList<double>, bought);
    QFETCH(QList<double>, sold);
    QFETCH(double, price);
    QFETCH(QStringList, figures);
    TestShop shop;
    addPart(shop, 1, "Other", "Other part", "ZZ1", 1);
    addPart(shop, 2, "Filter", "Oil filter", "lf-9009", price);
    for (double q : bought)
        addOrderLine(shop, "lf-9009", q);
    for (double q : sold)
        addSaleLine(shop, "lf-9009", q);
    addOrderLine(shop, "ZZ1", 99);
    TPart* part = openParts(shop);
    clickRow(part->grid(), 1);
    QCOMPARE(boxText(part, "Color_Material"), QStringLiteral("lf-9009"));
    const QStringList shown = {label(part, "Label17"), label(part, "Label19"),
                               label(part, "Label21"), label(part, "Label23")};
    QCOMPARE(shown, figures);
}

void TestMasters::fractionalQuantityKeepsFigures()
{
    TestShop shop;
    addPart(shop, 1, "Filter", "Oil filter", "P1", 2);
    addPart(shop, 2, "Fluid", "Coolant", "P2", 3);
    addOrderLine(shop, "P1", 5);
    addOrderLine(shop, "P2", 2.5);
    TPart* part = openParts(shop);
    clickRow(part->grid(), 0);
    QCOMPARE(label(part, "Label21"), QStringLiteral("5"));
    clickRow(part->grid(), 1);
    QCOMPARE(shop.prompter().texts(ScriptedPrompter::Kind::Error),
             QStringList{"'2.5' is not a valid integer value"});
    QCOMPARE(label(part, "Label19"), QStringLiteral("2.5"));
    QCOMPARE(label(part, "Label21"), QStringLiteral("5"));
    QCOMPARE(label(part, "Label23"), QStringLiteral("10"));
}

void TestMasters::partNumberCheck()
{
    TestShop shop;
    addPart(shop, 1, "Filter", "Oil filter", "LF9009", 24.5);
    addPart(shop, 2, "Brake", "Shoe kit", "MK4707Q", 89.95);
    addPart(shop, 3, "Filter", "Fuel filter", "FS1000", 31.2);
    TPart* part = openParts(shop);
    QApplication::setActiveWindow(shop.mainForm());
    QVERIFY(QTest::qWaitForWindowActive(shop.mainForm()));

    ui::click(part, "NewButton");
    auto* partNo = edit(part, "Color_Material");
    ui::type(partNo, "NEW-1");
    part->setText("Number_Material", "New part");
    ui::press(partNo, Qt::Key_Return); // Enter leaves the box for "Serial No"
    QCOMPARE(label(part, "Label16"), QStringLiteral("Not Match"));
    QCOMPARE(boxText(part, "ID_Material"), QStringLiteral("4"));
    QCOMPARE(boxText(part, "Number_Material"), QStringLiteral("New part"));

    ui::type(partNo, "mk4707q");
    ui::press(partNo, Qt::Key_Return);
    QCOMPARE(label(part, "Label16"), QStringLiteral("Other Match"));
    QCOMPARE(boxText(part, "ID_Material"), QStringLiteral("2"));
    QCOMPARE(boxText(part, "Number_Material"), QStringLiteral("Shoe kit"));
    // The list shows that part as its current row, in the order it had.
    QCOMPARE(part->grid()->currentIndex().row(), 1);
    QCOMPARE(ui::cell(part->grid(), 0, 7), QStringLiteral("LF9009"));
    // A number that only begins another part's number is that other part's no match.
    addPart(shop, 4, "Brake", "Shoe kit, heavy", "MK4707QX", 99);
    ui::click(part, "RefreshButton");
    ui::type(partNo, "MK4707Q");
    ui::press(partNo, Qt::Key_Return);
    QCOMPARE(boxText(part, "ID_Material"), QStringLiteral("2"));
    // A part added elsewhere after the list was loaded is still found and shown.
    addPart(shop, 5, "Filter", "Air filter", "AF77", 40);
    ui::type(partNo, "AF77");
    ui::press(partNo, Qt::Key_Return);
    QCOMPARE(label(part, "Label16"), QStringLiteral("Other Match"));
    QCOMPARE(boxText(part, "Number_Material"), QStringLiteral("Air filter"));
}

void TestMasters::sortAndSearch()
{
    TestShop shop;
    addPart(shop, 1, "Filter", "zeta", "P1", 10);
    addPart(shop, 2, "Filter", "abacus", "P2", 9.5);
    addPart(shop, 3, "Filter", "Abbey", "P3", 100);
    addPart(shop, 4, "Filter", "beta", "P4", 2);
    TPart* part = openParts(shop);
    DataGrid* grid = part->grid();
    auto* search = ui::find<QLineEdit>(part, "SearchBox");

    emit grid->titleClicked(2);
    emit grid->titleClicked(2); // a second click keeps the ascending order
    QCOMPARE(ui::cell(grid, 0, 2), QStringLiteral("abacus"));
    QCOMPARE(ui::cell(grid, 3, 2), QStringLiteral("zeta"));
    QCOMPARE(grid->model()->headerData(2, Qt::Horizontal, Qt::ForegroundRole).value<QColor>(),
             QColor(Qt::red));
    QCOMPARE(grid->model()->headerData(1, Qt::Horizontal, Qt::ForegroundRole).value<QColor>(),
             QColor(Qt::black));

    ui::type(search, "ab");
    QCOMPARE(boxText(part, "Number_Material"), QStringLiteral("abacus"));
    ui::type(search, "abb");
    QCOMPARE(boxText(part, "Number_Material"), QStringLiteral("Abbey"));
    QTest::keyClicks(search, "x"); // "abbx" matches nothing: the list stays
    QCOMPARE(boxText(part, "Number_Material"), QStringLiteral("Abbey"));

    // Prices sort as numbers, not as text.
    emit grid->titleClicked(10);
    QCOMPARE(ui::cell(grid, 0, 10), QStringLiteral("2.00"));
    QCOMPARE(ui::cell(grid, 3, 10), QStringLiteral("100.00"));
    ui::type(search, "9");
    QCOMPARE(boxText(part, "ID_Material"), QStringLiteral("2"));
}

void TestMasters::searchBeforeTitleClickUsesTheName()
{
    TestShop shop;
    addPart(shop, 5, "T", "wheel seal", "P5", 1);
    addPart(shop, 17, "T", "brake drum", "P17", 1);
    addPart(shop, 12, "T", "Brake shoe", "P12", 1);
    TPart* part = openParts(shop);
    auto* search = ui::find<QLineEdit>(part, "SearchBox");
    // The box says what it searches: the part's name until a title is clicked.
    QCOMPARE(search->placeholderText(), QStringLiteral("Search Material Name"));
    ui::type(search, "brake s");
    QCOMPARE(boxText(part, "ID_Material"), QStringLiteral("12"));
    ui::type(search, "w");
    QCOMPARE(boxText(part, "Number_Material"), QStringLiteral("wheel seal"));
    // A title click makes its column the searched one.
    emit part->grid()->titleClicked(0);
    QCOMPARE(search->placeholderText(), QStringLiteral("Search ID #"));
    ui::type(search, "17");
    QCOMPARE(boxText(part, "Number_Material"), QStringLiteral("brake drum"));
}

void TestMasters::typingAnIdMovesTheList()
{
    TestShop shop;
    for (int id : {3, 25, 250})
        addPart(shop, id, "T", QString("part %1").arg(id), QString("P%1").arg(id), 1);
    TPart* part = openParts(shop);
    part->setText("Number_Material", "kept");
    ui::type(edit(part, "ID_Material"), "25");
    QCOMPARE(part->listQuery()->currentRow(), 1);
    QCOMPARE(part->grid()->currentIndex().row(), 1);
    QCOMPARE(boxText(part, "Number_Material"), QStringLiteral("kept"));
}

void TestMasters::listFollowsGridAndNavigator()
{
    TestShop shop;
    for (int id : {1, 2, 3})
        addPart(shop, id, "T", QString("part %1").arg(id), QString("P%1").arg(id), id);
    TPart* part = openParts(shop);
    DataGrid* grid = part->grid();
    clickRow(grid, 2);
    QCOMPARE(boxText(part, "ID_Material"), QStringLiteral("3"));
    grid->setFocus();
    ui::press(grid, Qt::Key_Up);
    QCOMPARE(boxText(part, "ID_Material"), QStringLiteral("2"));
    QCOMPARE(label(part, "Label23"), QString()); // no stock: empty value
    ui::click(part, "First");
    QCOMPARE(boxText(part, "ID_Material"), QStringLiteral("1"));
    ui::click(part, "Last");
    QCOMPARE(boxText(part, "ID_Material"), QStringLiteral("3"));
    ui::click(part, "Prior");
    QCOMPARE(boxText(part, "Number_Material"), QStringLiteral("part 2"));
}

void TestMasters::dropDownListsRefill()
{
    TestShop shop;
    addPart(shop, 1, "Filter", "a", "P1", 1, "Fleetguard", "EA");
    addPart(shop, 2, "Filter", "b", "P2", 1, "Gates", "EA");
    addPart(shop, 3, "Belt", "c", "P3", 1, "Gates", "FT");
    TPart* part = openParts(shop);
    auto* mfg = ui::find<ListBox>(part, "Mfg_Material");
    auto items = [mfg] {
        QStringList list;
        for (int i = 0; i < mfg->count(); ++i)
            list.append(mfg->itemText(i));
        list.sort();
        return list;
    };
    mfg->showPopup();
    mfg->hidePopup();
    mfg->showPopup();
    mfg->hidePopup();
    QCOMPARE(items(), (QStringList{"Fleetguard", "Gates"}));
    shop.exec("Update Part Set Mfg_Material='Meritor' where ID_Material=3");
    ui::type(mfg, "Typed Co");
    mfg->showPopup();
    mfg->hidePopup();
    QCOMPARE(items(), (QStringList{"Fleetguard", "Gates", "Meritor"}));
    QCOMPARE(mfg->currentText(), QStringLiteral("Typed Co"));
}

void TestMasters::keys()
{
    TestShop shop;
    addPart(shop, 1, "Filter", "Oil filter", "LF9009", 24.5);
    TPart* part = openParts(shop);
    QApplication::setActiveWindow(shop.mainForm());
    QVERIFY(QTest::qWaitForWindowActive(shop.mainForm()));

    const QStringList order = {"Type_Material",  "Number_Material", "Description_Material",
                               "Mfg_Material",   "Style_Material",  "Style_Type_Material",
                               "Color_Material", "Size_Material",   "Unit_Material",
                               "Price_Material", "Remark_Material", "Type_Material"};
    QWidget* at = ui::find<QWidget>(part, "ID_Material");
    at->setFocus();
    for (const QString& next : order) {
        ui::press(QApplication::focusWidget(), Qt::Key_Return);
        QWidget* focused = QApplication::focusWidget();
        QVERIFY2(focused == part->box(next) || focused->parentWidget() == part->box(next),
                 qPrintable("Enter should reach " + next));
    }
    // Left walks back; from the key box it goes round to the last box.
    ui::press(QApplication::focusWidget(), Qt::Key_Left);
    QVERIFY(QApplication::focusWidget() == part->box("ID_Material"));
    ui::press(QApplication::focusWidget(), Qt::Key_Left);
    QVERIFY(QApplication::focusWidget() == part->box("Remark_Material"));

    // F2 in a box saves; in the grid F3 is New, F5 Refresh, F8 Delete, F2 Save.
    shop.prompter().answer({false});
    ui::press(part->box("Remark_Material"), Qt::Key_F2);
    QCOMPARE(shop.prompter().texts(), QStringList{"Are you sure you want to Save this Record?"});
    part->grid()->setFocus();
    ui::press(part->grid(), Qt::Key_F3);
    QCOMPARE(boxText(part, "ID_Material"), QStringLiteral("2"));
    ui::press(part->grid(), Qt::Key_F5);
    QCOMPARE(boxText(part, "ID_Material"), QStringLiteral("1"));
    shop.prompter().answer({false});
    ui::press(part->grid(), Qt::Key_F8);
    QCOMPARE(shop.prompter().last(),
             QStringLiteral("Are you sure you want to Delete this Record?"));
    ui::press(part->grid(), Qt::Key_Escape);
    QCOMPARE(shop.value("Select Count(*) From Part").toInt(), 1);
}

void TestMasters::histories()
{
    TestShop shop;
    addPart(shop, 1, "Filter", "Oil filter", "LF'9009", 24.5);
    addOrderLine(shop, "LF'9009", 4, 31);
    addOrderLine(shop, "LF'9009", 6, 32);
    addOrderLine(shop, "OTHER", 1, 33);
    addSaleLine(shop, "LF'9009", 3, 501);
    TPart* part = openParts(shop);

    bool seen = false;
    QStringList orderCells;
    onModal(
        [&](QWidget* modal) {
            QCOMPARE(modal, static_cast<QWidget*>(shop.longLived().partOrderHistory.get()));
            auto* grid = ui::find<DataGrid>(modal, "DBGrid1");
            for (int r = 0; r < ui::rowCount(grid); ++r)
                orderCells.append(ui::cell(grid, r, 7));
            orderCells.append(ui::title(grid, 4));
        },
        &seen);
    ui::click(part, "OrderHistoryButton");
    QVERIFY(seen);
    QCOMPARE(orderCells, (QStringList{"31", "32", "Part #"}));
    QCOMPARE(shop.longLived().partOrderHistory->windowTitle(), QStringLiteral("PartOrderHistory"));

    seen = false;
    QStringList invoiceCells;
    onModal(
        [&](QWidget* modal) {
            auto* grid = ui::find<DataGrid>(modal, "DBGrid1");
            for (int r = 0; r < ui::rowCount(grid); ++r)
                invoiceCells.append(ui::cell(grid, r, 7));
            invoiceCells.append(ui::title(grid, 7));
            invoiceCells.append(ui::find<QLabel>(modal, "Heading")->text());
        },
        &seen);
    ui::click(part, "InvoiceHistoryButton");
    QVERIFY(seen);
    QCOMPARE(invoiceCells, (QStringList{"501", "Invoice #", "Part Invoice History"}));
    // The long-lived windows are hidden, not freed, when closed.
    QVERIFY(!shop.longLived().partInvoiceHistory->isVisible());
    QVERIFY(shop.prompter().messages().isEmpty());
}

void TestMasters::statementsUseIndexes_data()
{
    QTest::addColumn<QString>("statement");
    QTest::newRow("next number") << "Select Max(ID_Material) From Part";
    QTest::newRow("existence test") << "Select * From Part where ID_Material=12";
    QTest::newRow("delete") << "Delete  From Part where ID_Material=12";
    QTest::newRow("part-number check") << "Select * From Part where Color_Material='LF9009'";
    QTest::newRow("sold") << "Select Sum(Qty_Item) From InvItem where Color_Item='LF9009'";
    QTest::newRow("bought") << "Select Sum(Qty_Item) From Items where Color_Item='LF9009'";
    QTest::newRow("order history") << "Select * From Items where Color_Item='LF9009'";
    QTest::newRow("invoice history") << "Select * From InvItem where Color_Item='LF9009'";
    QTest::newRow("mfg list") << "Select distinct Mfg_Material From Part";
    QTest::newRow("unit list") << "Select distinct Unit_Material From Part";
    QTest::newRow("item list") << "Select distinct Type_Material From Part";
    QTest::newRow("style type list") << "Select distinct Style_Type_Material From Part";
}

void TestMasters::statementsUseIndexes()
{
    SKIP_ON_SERVER("the embedded engine's query plans; a server's planner reads a small "
                   "table whole whatever its indexes, and the benchmarks measure the server");
    // A plain "SCAN <table>" in the plan reads every row of the table; an index must answer.
    QFETCH(QString, statement);
    TestShop shop;
    const QString sql = shop.dm()->admin1()->translate(statement);
    const auto plan = shop.rows("EXPLAIN QUERY PLAN " + sql);
    QVERIFY(!plan.isEmpty());
    static const QRegularExpression fullScan(QStringLiteral("^SCAN \\w+$"));
    for (const QVariantList& step : plan)
        QVERIFY2(!fullScan.match(step.value(3).toString()).hasMatch(),
                 qPrintable(sql + " -> " + step.value(3).toString()));
}

QTEST_MAIN(TestMasters)
#include "tst_masters.moc"
