#include "TestShop.h"
#include "Ui.h"
#include "app/TMainForm.h"
#include "data/Query.h"
#include "data/TDM.h"
#include "masters/TCompany.h"
#include "masters/TCustomer.h"
#include "payables/TVendorHistory.h"
#include "receivables/TCustomerHistory.h"
#include "receivables/TCustomerInvoiceHistory.h"
#include "ui/common/DataGrid.h"
#include "ui/common/ListBox.h"
#include "ui/common/Navigator.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <memory>

namespace {
const QString saveQuestion = QStringLiteral("Are you sure you want to Save this Record?");
const QString deleteQuestion = QStringLiteral("Are you sure you want to Delete this Record?");
// The tests that hold for both windows take one of these.
const QString customers = QStringLiteral("customers");
const QString vendors = QStringLiteral("vendors");

bool isCustomers(const QString& which)
{
    return which == QLatin1String("customers");
}

QString table(const QString& which)
{
    return isCustomers(which) ? QStringLiteral("Customer") : QStringLiteral("Company");
}

// "Name" -> "Name_Customer" or "Name_Company".
QString col(const QString& which, const QString& stem)
{
    return stem + '_' + table(which);
}

void addRow(TestShop& shop, const QString& which, int id, const QString& name,
            const QString& type = "Fleet", const QString& city = "Joliet",
            const QString& state = "IL")
{
    shop.exec(QString("Insert into %1 (%2, %3, %4, %5, %6) values (?,?,?,?,?)")
                  .arg(table(which), col(which, "ID"), col(which, "Name"), col(which, "Type"),
                       col(which, "City"), col(which, "State")),
              {id, name, type, city, state});
}

void addInvoice(TestShop& shop, int number, const QString& customer, double amount)
{
    shop.exec("Insert into Invoice (InvoiceNo_Inv, CustomerName_Inv, Amount_Inv) values (?,?,?)",
              {number, customer, amount});
}

void addPayment(TestShop& shop, int invoice, const QString& customer, double amount)
{
    shop.exec("Insert into Receivable (InvoiceNo_Receivable, Name_Receivable, "
              "Amount_Receivable) values (?,?,?)",
              {invoice, customer, amount});
}

void addBill(TestShop& shop, const QString& ref, const QString& vendor, double amount)
{
    shop.exec("Insert into Bill (Ref_Bill, Vendor_Bill, Amount_Bill) values (?,?,?)",
              {ref, vendor, amount});
}

// Opens the window the way the CUSTOMER or VENDORS task button does.
RecordWindow* open(TestShop& shop, const QString& which)
{
    TMainForm* mainForm = shop.mainFormWithTasks();
    ui::click(mainForm, isCustomers(which) ? "SpeedButton9" : "SpeedButton2");
    QWidget* child = ui::newestChild(mainForm);
    RecordWindow* window = isCustomers(which)
                               ? static_cast<RecordWindow*>(qobject_cast<TCustomer*>(child))
                               : qobject_cast<TCompany*>(child);
    if (!window)
        throw std::runtime_error("the task button opened no " + which.toStdString() + " window");
    return window;
}

void activate(TestShop& shop)
{
    QApplication::setActiveWindow(shop.mainForm());
    if (!QTest::qWaitForWindowActive(shop.mainForm()))
        throw std::runtime_error("the main window did not become active");
}

QString label(const QWidget* window, const QString& name)
{
    return ui::find<QLabel>(window, name)->text();
}

// The figures: the customers' "Total Amounts $", "Total Paid $" and "Balance $", the vendors'
// "Total Amounts $".
QStringList shown(const RecordWindow* window)
{
    if (!qobject_cast<const TCustomer*>(window))
        return {label(window, "Label15")};
    return {label(window, "Label15"), label(window, "Label16"), label(window, "Label18")};
}

void clickRow(DataGrid* grid, int row)
{
    const QModelIndex index = grid->model()->index(row, 1);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
}

QStringList titles(const QAbstractItemView* grid)
{
    QStringList result;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        result.append(ui::title(grid, c));
    return result;
}

QStringList column(const QAbstractItemView* grid, int c)
{
    QStringList result;
    for (int r = 0; r < ui::rowCount(grid); ++r)
        result.append(ui::cell(grid, r, c));
    return result;
}

QColor titleColour(const DataGrid* grid, int c)
{
    return grid->model()->headerData(c, Qt::Horizontal, Qt::ForegroundRole).value<QColor>();
}

bool focusIsIn(const QWidget* box)
{
    QWidget* focused = QApplication::focusWidget();
    return focused && (focused == box || focused->parentWidget() == box);
}
} // namespace

class TestCustomers : public QObject
{
    Q_OBJECT

private slots:
    void figures_data();
    void figures();
    void figuresFollowTheName_data();
    void figuresFollowTheName();
    void newRecord_data();
    void newRecord();
    void saveStoresEveryColumn_data();
    void saveStoresEveryColumn();
    void saveWritesNothing_data();
    void saveWritesNothing();
    void deleteKeepsDocuments_data();
    void deleteKeepsDocuments();
    void titlesAndBoxesPerCommand_data();
    void titlesAndBoxesPerCommand();
    void sortAndSearch_data();
    void sortAndSearch();
    void keys_data();
    void keys();
    void dropDownLists_data();
    void dropDownLists();
    void histories_data();
    void histories();
    void historyAfterOpenerClosed_data();
    void historyAfterOpenerClosed();
};

void TestCustomers::figures_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<double>>("charged"); // invoices, or the vendor's bills
    QTest::addColumn<QList<double>>("paid");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("customer part paid")
        << customers << "Acme Freight" << QList<double>{100, 200} << QList<double>{120.5}
        << QStringList{"300", "120.5", "179.5"};
    QTest::newRow("customer without documents")
        << customers << "Birch" << QList<double>{} << QList<double>{} << QStringList{"0", "0", "0"};
    QTest::newRow("customer apostrophe")
        << customers << "O'Neil Trucking" << QList<double>{75.25, 24.75} << QList<double>{100}
        << QStringList{"100", "100", "0"};
    QTest::newRow("customer paid more")
        << customers << "Kraus" << QList<double>{80} << QList<double>{100, 0.5}
        << QStringList{"80", "100.5", "-20.5"};
    QTest::newRow("customer four decimals")
        << customers << "Dupont" << QList<double>{0.3333} << QList<double>{0.1111}
        << QStringList{"0.3333", "0.1111", "0.2222"};
    QTest::newRow("vendor two bills") << vendors << "Midwest Supply" << QList<double>{100, 250.5}
                                      << QList<double>{} << QStringList{"350.5"};
    QTest::newRow("vendor without bills")
        << vendors << "Quiet Parts" << QList<double>{} << QList<double>{} << QStringList{""};
    QTest::newRow("vendor apostrophe") << vendors << "Bob's Parts" << QList<double>{10, 5.25}
                                       << QList<double>{} << QStringList{"15.25"};
}

void TestCustomers::figures()
{
    QFETCH(QString, which);
    QFETCH(QString, name);
    QFETCH(QList<double>, charged);
    QFETCH(QList<double>, paid);
    QFETCH(QStringList, expected);
    TestShop shop;
    addRow(shop, which, 1, name);
    addRow(shop, which, 2, "Zulu Haulage");
    auto charge = [&](int number, const QString& to, double amount) {
        if (isCustomers(which))
            addInvoice(shop, number, to, amount);
        else
            addBill(shop, QString("B%1").arg(number), to, amount);
    };
    for (int i = 0; i < charged.size(); ++i)
        charge(100 + i, name, charged.at(i));
    for (double amount : paid)
        addPayment(shop, 100, name, amount);
    // Documents of a name that only begins alike do not count.
    charge(900, name + " Inc", 1000);
    addPayment(shop, 900, name + " Inc", 1);
    charge(901, "Zulu Haulage", 999);
    RecordWindow* window = open(shop, which);
    DataGrid* grid = window->grid();

    QCOMPARE(shown(window), expected);
    clickRow(grid, 1);
    QCOMPARE(shown(window),
             isCustomers(which) ? (QStringList{"999", "0", "999"}) : QStringList{"999"});
    ui::click(window, "First");
    QCOMPARE(shown(window), expected);

    ui::click(window, "Last");
    emit grid->titleClicked(1);
    ui::type(ui::find<QLineEdit>(window, "SearchBox"), name);
    QCOMPARE(window->text(col(which, "Name")), name);
    QCOMPARE(shown(window), expected);
    QVERIFY(shop.prompter().messages().isEmpty());
}

void TestCustomers::figuresFollowTheName_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("historyButton");
    QTest::newRow("customers") << customers << QStringList{"100", "40", "60"}
                               << QStringList{"0", "0", "0"} << "InvHistoryButton";
    QTest::newRow("vendors") << vendors << QStringList{"70"} << QStringList{""} << "HistoryButton";
}

void TestCustomers::figuresFollowTheName()
{
    QFETCH(QString, which);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(QString, historyButton);
    TestShop shop;
    addRow(shop, which, 1, "Acme");
    addInvoice(shop, 1, "Acme", 100);
    addPayment(shop, 1, "Acme", 40);
    addBill(shop, "B1", "Acme", 70);
    RecordWindow* window = open(shop, which);
    QCOMPARE(shown(window), before);

    ui::type(ui::find<QLineEdit>(window, col(which, "Name")), "Acme Fleet");
    ui::click(window, "SaveButton");
    QCOMPARE(shop.prompter().texts(), (QStringList{saveQuestion, "Saved!"}));
    QCOMPARE(shop.value("Select " + col(which, "Name") + " From " + table(which)).toString(),
             QStringLiteral("Acme Fleet"));
    clickRow(window->grid(), 0);
    QCOMPARE(shown(window), after);
    // The documents keep the old name, so the history of the renamed row finds none of them.
    QCOMPARE(shop.value("Select Count(*) From Invoice where CustomerName_Inv='Acme'").toInt(), 1);
    QCOMPARE(shop.value("Select Count(*) From Bill where Vendor_Bill='Acme'").toInt(), 1);
    ui::click(window, historyButton);
    QWidget* history = ui::newestChild(shop.mainForm());
    QVERIFY(history != window);
    QCOMPARE(ui::rowCount(ui::find<DataGrid>(history, "DBGrid1")), 0);
}

void TestCustomers::newRecord_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("type");
    QTest::newRow("customers, empty table") << customers << QList<int>{} << "1"
                                            << "Customer";
    QTest::newRow("customers, largest 41") << customers << QList<int>{5, 41, 12} << "42"
                                           << "Customer";
    QTest::newRow("vendors, empty table") << vendors << QList<int>{} << "1"
                                          << "Vendor";
    QTest::newRow("vendors, largest 41") << vendors << QList<int>{41, 9, 12} << "42"
                                         << "Vendor";
}

void TestCustomers::newRecord()
{
    QFETCH(QString, which);
    QFETCH(QList<int>, keys);
    QFETCH(QString, expected);
    QFETCH(QString, type);
    TestShop shop;
    // The shop moved: New takes its city and state from the profile as it now reads.
    shop.exec("Update Reg Set City_R='Gary', State_R='IN'");
    DM->profile()->close();
    DM->profile()->open();
    for (int key : keys)
        addRow(shop, which, key, QString("Name %1").arg(100 - key), "Fleet", "Joliet", "IL");
    RecordWindow* window = open(shop, which);
    activate(shop);
    emit window->grid()->titleClicked(1); // the list is in name order, the largest key first

    for (int round = 0; round < 2; ++round) {
        ui::click(window, "NewButton");
        QCOMPARE(window->text(col(which, "ID")), expected);
        QCOMPARE(window->text(col(which, "Type")), type);
        QCOMPARE(window->text(col(which, "City")), QStringLiteral("Gary"));
        QCOMPARE(window->text(col(which, "State")), QStringLiteral("IN"));
        QCOMPARE(window->text(col(which, "Name")), QString());
        QCOMPARE(window->text(col(which, "Zip")), QString());
        QVERIFY(focusIsIn(window->box(col(which, "Name"))));
    }
    QCOMPARE(shop.value("Select Count(*) From " + table(which)).toInt(), keys.size());
    QVERIFY(shop.prompter().messages().isEmpty());
}

void TestCustomers::saveStoresEveryColumn_data()
{
    QTest::addColumn<QString>("which");
    QTest::newRow("customers") << customers;
    QTest::newRow("vendors") << vendors;
}

void TestCustomers::saveStoresEveryColumn()
{
    QFETCH(QString, which);
    TestShop shop;
    addRow(shop, which, 1, "First");
    addRow(shop, which, 2, "Second");
    addRow(shop, which, 3, "Third");
    RecordWindow* window = open(shop, which);
    const QString key = col(which, "ID");

    // Each box gets a text of its own, so a value written to another column shows.
    ui::click(window, "NewButton");
    QStringList columns;
    QVariantList typed;
    for (const RecordBox& box : window->description().boxes) {
        if (box.column == key)
            continue;
        const QString value = box.label + QString::fromUtf8(" O'Brien «Žluť» \"x\" 5%1");
        window->setText(box.column, value);
        columns.append(box.column);
        typed.append(value);
    }
    ui::click(window, "SaveButton");
    QCOMPARE(shop.prompter().texts(), (QStringList{saveQuestion, "Saved!"}));
    QCOMPARE(
        shop.row("Select " + columns.join(',') + " From " + table(which) + " where " + key + "=4"),
        typed);
    for (int i = 0; i < columns.size(); ++i)
        QCOMPARE(window->text(columns.at(i)), typed.at(i).toString());
    // The reloaded list stands on the saved row and has the focus.
    QCOMPARE(ui::rowCount(window->grid()), 4);
    QCOMPARE(window->listQuery()->currentRow(), 3);
    QCOMPARE(window->grid()->currentIndex().row(), 3);
    QCOMPARE(ui::cell(window->grid(), 3, 1), typed.at(0).toString());
    QCOMPARE(ui::title(window->grid(), 0), QStringLiteral("No"));
    QVERIFY(window->grid()->hasFocus());

    // Saving the key of an existing row changes that row only.
    shop.prompter().clear();
    clickRow(window->grid(), 1);
    window->setText(col(which, "Name"), "Second 'renamed'");
    window->setText(col(which, "Tell"), "(815) 555-0100");
    ui::click(window, "SaveButton");
    QCOMPARE(shop.prompter().texts(), (QStringList{saveQuestion, "Saved!"}));
    QCOMPARE(shop.value("Select Count(*) From " + table(which)).toInt(), 4);
    QCOMPARE(shop.row(QString("Select %1, %2, %3 From %4 where %5=2")
                          .arg(col(which, "Name"), col(which, "Tell"), col(which, "City"),
                               table(which), key)),
             (QVariantList{"Second 'renamed'", "(815) 555-0100", "Joliet"}));
    QCOMPARE(window->listQuery()->currentRow(), 1);
    QCOMPARE(window->text(col(which, "Name")), QStringLiteral("Second 'renamed'"));
}

void TestCustomers::saveWritesNothing_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("id");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("listRows"); // a row added elsewhere shows once the list is reloaded
    for (const QString which : {"customers", "vendors"}) {
        QTest::addRow("%s, answered No", qPrintable(which))
            << which << "7" << false << QStringList{saveQuestion} << 2;
        QTest::addRow("%s, letters in the ID", qPrintable(which))
            << which << "12a" << true << QStringList{"ID No: '12a' is not a valid number."} << 1;
    }
}

void TestCustomers::saveWritesNothing()
{
    QFETCH(QString, which);
    QFETCH(QString, id);
    QFETCH(bool, yes);
    QFETCH(QStringList, messages);
    QFETCH(int, listRows);
    TestShop shop;
    addRow(shop, which, 1, "First");
    RecordWindow* window = open(shop, which);
    addRow(shop, which, 9, "Added elsewhere");
    window->setText(col(which, "ID"), id);
    window->setText(col(which, "Name"), "Typed name");
    shop.prompter().answer({yes});
    ui::click(window, "SaveButton");
    QCOMPARE(shop.prompter().texts(), messages);
    QCOMPARE(shop.rows("Select " + col(which, "ID") + ", " + col(which, "Name") + " From " +
                       table(which)),
             (QList<QVariantList>{{1, "First"}, {9, "Added elsewhere"}}));
    QCOMPARE(ui::rowCount(window->grid()), listRows);
    QCOMPARE(window->text(col(which, "Name")), QStringLiteral("Typed name"));
}

void TestCustomers::deleteKeepsDocuments_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<QString>("nameBox");
    QTest::newRow("customers, yes") << customers << true << QStringList{"Birch"} << "Birch";
    QTest::newRow("customers, no") << customers << false << QStringList{"Acme", "Birch"} << "Acme";
    // Refresh of the vendors leaves the boxes as they were.
    QTest::newRow("vendors, yes") << vendors << true << QStringList{"Birch"} << "Acme";
    QTest::newRow("vendors, no") << vendors << false << QStringList{"Acme", "Birch"} << "Acme";
}

void TestCustomers::deleteKeepsDocuments()
{
    QFETCH(QString, which);
    QFETCH(bool, yes);
    QFETCH(QStringList, left);
    QFETCH(QString, nameBox);
    TestShop shop;
    addRow(shop, which, 1, "Acme");
    addRow(shop, which, 2, "Birch");
    addInvoice(shop, 1, "Acme", 100);
    addPayment(shop, 1, "Acme", 50);
    addBill(shop, "B1", "Acme", 100);
    RecordWindow* window = open(shop, which);
    shop.prompter().answer({yes});
    ui::click(window, "DeleteButton");
    QCOMPARE(shop.prompter().texts(), QStringList{deleteQuestion});
    QCOMPARE(shop.value("Select Count(*) From " + table(which)).toInt(), left.size());
    QCOMPARE(column(window->grid(), 1), left);
    QCOMPARE(window->text(col(which, "Name")), nameBox);
    QCOMPARE(ui::title(window->grid(), 0), yes ? QStringLiteral("ID No") : QStringLiteral("No"));
    QCOMPARE(shop.value("Select Count(*) From Invoice").toInt(), 1);
    QCOMPARE(shop.value("Select Count(*) From Receivable").toInt(), 1);
    QCOMPARE(shop.value("Select Count(*) From Bill").toInt(), 1);
}

void TestCustomers::titlesAndBoxesPerCommand_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("nameBox");
    const QStringList customerTitles = {"No",      "Name", "Type",         "Tell",
                                        "Address", "City", "State",        "Zip",
                                        "Email",   "Web",  "Tel_Customer", "Tel1_Customer"};
    QStringList customerRefresh = customerTitles;
    customerRefresh[0] = "ID No";
    QStringList customerCancel = customerRefresh;
    customerCancel[2] = "type";
    const QStringList vendorTitles = {"No",    "Name",  "Type",       "Tel",          "Address",
                                      "City",  "State", "Zip",        "Name Contact", "Tel Contact",
                                      "Email", "Web",   "Fax_Company"};
    QStringList vendorRefresh = vendorTitles;
    vendorRefresh[0] = "ID No";
    const QStringList vendorCancel = {
        "ID No", "Name",         "type",         "Tell",  "Address", "City",       "State",
        "Zip",   "Name Contact", "Tell Contact", "Email", "Web",     "Fax_Company"};
    QTest::newRow("customers, shown") << customers << "" << customerTitles << "typed";
    QTest::newRow("customers, Refresh")
        << customers << "RefreshButton" << customerRefresh << "First";
    QTest::newRow("customers, Cancel") << customers << "CancelButton" << customerCancel << "First";
    QTest::newRow("customers, Save No") << customers << "SaveButton" << customerTitles << "typed";
    QTest::newRow("vendors, shown") << vendors << "" << vendorTitles << "typed";
    QTest::newRow("vendors, Refresh") << vendors << "RefreshButton" << vendorRefresh << "typed";
    QTest::newRow("vendors, Cancel") << vendors << "CancelButton" << vendorCancel << "First";
    QTest::newRow("vendors, Save No") << vendors << "SaveButton" << vendorTitles << "typed";
}

void TestCustomers::titlesAndBoxesPerCommand()
{
    QFETCH(QString, which);
    QFETCH(QString, button);
    QFETCH(QStringList, expected);
    QFETCH(QString, nameBox);
    TestShop shop;
    addRow(shop, which, 1, "First");
    addRow(shop, which, 2, "Second");
    RecordWindow* window = open(shop, which);
    clickRow(window->grid(), 1);
    window->setText(col(which, "Name"), "typed");
    addRow(shop, which, 3, "Third");
    shop.prompter().answer({false});
    if (!button.isEmpty())
        ui::click(window, button);
    QCOMPARE(titles(window->grid()), expected);
    QCOMPARE(window->text(col(which, "Name")), nameBox);
    QCOMPARE(ui::rowCount(window->grid()), button.isEmpty() ? 2 : 3);
}

void TestCustomers::sortAndSearch_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("stem");
    QTest::addColumn<bool>("sortable");
    QTest::newRow("customers, Zip") << customers << "Zip" << true;
    QTest::newRow("customers, Cell") << customers << "Tel" << false;
    QTest::newRow("vendors, Web") << vendors << "Web" << true;
    QTest::newRow("vendors, Name Contact") << vendors << "Contact1" << false;
    QTest::newRow("vendors, Fax") << vendors << "Fax" << false;
}

void TestCustomers::sortAndSearch()
{
    QFETCH(QString, which);
    QFETCH(QString, stem);
    QFETCH(bool, sortable);
    TestShop shop;
    const QStringList names = {"Zulu", "Alpha", "Mike"};
    const QStringList values = {"b-2", "c-3", "a-1"};
    for (int i = 0; i < 3; ++i) {
        addRow(shop, which, i + 1, names.at(i));
        shop.exec(QString("Update %1 Set %2=? where %3=?")
                      .arg(table(which), col(which, stem), col(which, "ID")),
                  {values.at(i), i + 1});
    }
    RecordWindow* window = open(shop, which);
    DataGrid* grid = window->grid();
    const int c = window->listQuery()->columnIndex(col(which, stem));
    QVERIFY(c > 1);

    emit grid->titleClicked(1);
    QCOMPARE(column(grid, 1), (QStringList{"Alpha", "Mike", "Zulu"}));
    QCOMPARE(titleColour(grid, 1), QColor(Qt::red));

    emit grid->titleClicked(c);
    emit grid->titleClicked(c);
    QCOMPARE(titleColour(grid, 1), QColor(Qt::black));
    QCOMPARE(titleColour(grid, c), sortable ? QColor(Qt::red) : QColor(Qt::black));
    // A column that does not sort leaves the list in name order.
    QCOMPARE(column(grid, c),
             sortable ? (QStringList{"a-1", "b-2", "c-3"}) : (QStringList{"c-3", "a-1", "b-2"}));
    if (!sortable)
        return;
    ui::type(ui::find<QLineEdit>(window, "SearchBox"), "b");
    QCOMPARE(window->text(col(which, "Name")), QStringLiteral("Zulu"));
    QCOMPARE(window->text(col(which, stem)), QStringLiteral("b-2"));
}

void TestCustomers::keys_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QStringList>("order"); // from the key box on, then where Enter wraps to
    QTest::newRow("customers") << customers
                               << QStringList{"ID",    "Name", "Type",  "Tell", "Address", "City",
                                              "State", "Zip",  "Email", "Web",  "Name"};
    QTest::newRow("vendors") << vendors
                             << QStringList{"ID",       "Name",     "Type", "Tell",  "Address",
                                            "City",     "State",    "Zip",  "Email", "Web",
                                            "Contact1", "Contact2", "ID"};
}

void TestCustomers::keys()
{
    QFETCH(QString, which);
    QFETCH(QStringList, order);
    TestShop shop;
    addRow(shop, which, 1, "First");
    RecordWindow* window = open(shop, which);
    activate(shop);

    window->box(col(which, order.first()))->setFocus();
    for (const QString& next : order.mid(1)) {
        ui::press(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY2(focusIsIn(window->box(col(which, next))),
                 qPrintable("Enter should reach " + next));
    }
    // One step on, then Left walks back to where Enter wrapped to.
    ui::press(QApplication::focusWidget(), Qt::Key_Return);
    ui::press(QApplication::focusWidget(), Qt::Key_Left);
    QVERIFY(focusIsIn(window->box(col(which, order.last()))));

    shop.prompter().answer({false});
    ui::press(QApplication::focusWidget(), Qt::Key_F2);
    QCOMPARE(shop.prompter().texts(), QStringList{saveQuestion});

    // In the list F3 is New and F5 Refresh.
    window->grid()->setFocus();
    ui::press(window->grid(), Qt::Key_F3);
    QCOMPARE(window->text(col(which, "ID")), QStringLiteral("2"));
    QVERIFY(focusIsIn(window->box(col(which, "Name"))));
    window->grid()->setFocus();
    ui::press(window->grid(), Qt::Key_F5);
    // The list is back on its first row, which the key's release in the list copies.
    QCOMPARE(window->text(col(which, "ID")), QStringLiteral("1"));
    QCOMPARE(ui::title(window->grid(), 0), QStringLiteral("ID No"));
    QCOMPARE(shop.value("Select Count(*) From " + table(which)).toInt(), 1);
}

void TestCustomers::dropDownLists_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("stem");
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second"); // after the second row was changed elsewhere
    QTest::newRow("customers, Type") << customers << "Type" << QStringList{"Fleet", "Owner"}
                                     << QStringList{"Fleet", "Owner", "Zed"};
    QTest::newRow("customers, City")
        << customers << "City" << QStringList{"Gary", "Joliet"} << QStringList{"Joliet", "Zed"};
    QTest::newRow("customers, State")
        << customers << "State" << QStringList{"IL", "IN"} << QStringList{"IL", "Zed"};
    QTest::newRow("vendors, Type") << vendors << "Type" << QStringList{"Fleet", "Owner"}
                                   << QStringList{"Fleet", "Owner", "Zed"};
    QTest::newRow("vendors, City")
        << vendors << "City" << QStringList{"Gary", "Joliet"} << QStringList{"Joliet", "Zed"};
}

void TestCustomers::dropDownLists()
{
    QFETCH(QString, which);
    QFETCH(QString, stem);
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    TestShop shop;
    addRow(shop, which, 1, "A", "Fleet", "Joliet", "IL");
    addRow(shop, which, 2, "B", "Fleet", "Gary", "IN");
    addRow(shop, which, 3, "C", "Owner", "Joliet", "IL");
    RecordWindow* window = open(shop, which);
    auto* list = qobject_cast<ListBox*>(window->box(col(which, stem)));
    QVERIFY(list);
    auto items = [list] {
        QStringList result;
        for (int i = 0; i < list->count(); ++i)
            result.append(list->itemText(i));
        result.sort();
        return result;
    };
    for (int round = 0; round < 2; ++round) {
        list->showPopup();
        list->hidePopup();
    }
    QCOMPARE(items(), first);
    shop.exec(QString("Update %1 Set %2='Zed' where %3=2")
                  .arg(table(which), col(which, stem), col(which, "ID")));
    ui::type(list, "Typed value");
    list->showPopup();
    list->hidePopup();
    QCOMPARE(items(), second);
    QCOMPARE(list->text(), QStringLiteral("Typed value"));
    // The vendors' state is typed; no list is offered.
    if (!isCustomers(which))
        QVERIFY(!qobject_cast<ListBox*>(window->box("State_Company")));
}

void TestCustomers::histories_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("expected"); // titles of the first columns
    QTest::addColumn<QStringList>("firstColumn");
    QTest::addColumn<bool>("navigator");
    QTest::newRow("payments") << customers << "PaidHistoryButton"
                              << "CustomerHistory"
                              << QStringList{"Invoice#",    "Customer Name",   "Via",
                                             "Pay Date",    "Refrence#",       "Deposit To",
                                             "Paid Amount", "Chart_Receivable"}
                              << QStringList{"501", "501", "502"} << false;
    QTest::newRow("invoices") << customers << "InvHistoryButton"
                              << "CustomerInvoiceHistory"
                              << QStringList{"Invoice#", "Customer Name", "Repair By",
                                             "Inv Date", "PO#",           "Inv Amount",
                                             "Address",  "EntryDate_Inv"}
                              << QStringList{"501", "502"} << false;
    QTest::newRow("bills") << vendors << "HistoryButton"
                           << "VendorHistory"
                           << QStringList{"Ref #",    "Vendor Name", "Bill Date",
                                          "Due Date", "Amount",      "Address_Bill"}
                           << QStringList{"B1", "B2"} << true;
}

void TestCustomers::histories()
{
    QFETCH(QString, which);
    QFETCH(QString, button);
    QFETCH(QString, caption);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, firstColumn);
    QFETCH(bool, navigator);
    TestShop shop;
    addRow(shop, which, 1, "O'Neil");
    addRow(shop, which, 2, "O'Neil Bros");
    for (const auto& [number, name, amount] : {std::tuple{501, "O'Neil", 100.0},
                                               {501, "O'Neil", 40.0},
                                               {502, "O'Neil", 200.0},
                                               {503, "O'Neil Bros", 30.0}}) {
        addPayment(shop, number, name, amount);
        if (amount != 40.0) {
            addInvoice(shop, number, name, amount);
            addBill(shop, QString("B%1").arg(number - 500), name, amount);
        }
    }
    RecordWindow* opener = open(shop, which);
    TMainForm* mainForm = shop.mainForm();

    ui::click(opener, button);
    QWidget* first = ui::newestChild(mainForm);
    QVERIFY(first != opener);
    QCOMPARE(first->windowTitle(), caption);
    auto* grid = ui::find<DataGrid>(first, "DBGrid1");
    QCOMPARE(titles(grid).mid(0, expected.size()), expected);
    QCOMPARE(column(grid, 0), firstColumn);
    QCOMPARE(column(grid, 1), QStringList(firstColumn.size(), "O'Neil"));
    QCOMPARE(first->findChild<Navigator*>() != nullptr, navigator);

    // A second window for the other name; the first keeps its own rows, and so does the
    // opener's list.
    clickRow(opener->grid(), 1);
    ui::click(opener, button);
    QWidget* second = ui::newestChild(mainForm);
    QVERIFY(second != first);
    QCOMPARE(column(ui::find<DataGrid>(second, "DBGrid1"), 1), QStringList{"O'Neil Bros"});
    QCOMPARE(column(grid, 0), firstColumn);
    if (navigator) {
        ui::click(first, "Last");
        QCOMPARE(grid->currentIndex().row(), firstColumn.size() - 1);
    }
    QCOMPARE(opener->listQuery()->currentRow(), 1);
    QCOMPARE(opener->text(col(which, "Name")), QStringLiteral("O'Neil Bros"));
    QCOMPARE(ui::childWindows(mainForm).size(), 3);
    QVERIFY(shop.prompter().messages().isEmpty());
}

void TestCustomers::historyAfterOpenerClosed_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("closeOpener");
    QTest::addColumn<int>("rows");
    const QList<std::tuple<QString, QString, int>> buttons = {{"customers", "PaidHistoryButton", 2},
                                                              {"customers", "InvHistoryButton", 1},
                                                              {"vendors", "HistoryButton", 3}};
    for (const auto& [which, button, rows] : buttons) {
        QTest::addRow("%s, opener open", qPrintable(button)) << which << button << false << rows;
        QTest::addRow("%s, opener closed", qPrintable(button)) << which << button << true << 0;
    }
}

void TestCustomers::historyAfterOpenerClosed()
{
    QFETCH(QString, which);
    QFETCH(QString, button);
    QFETCH(bool, closeOpener);
    QFETCH(int, rows);
    TestShop shop;
    addRow(shop, which, 1, "Acme");
    addInvoice(shop, 7, "Acme", 100);
    addPayment(shop, 7, "Acme", 10);
    addPayment(shop, 7, "Acme", 20);
    for (const char* ref : {"B1", "B2", "B3"})
        addBill(shop, ref, "Acme", 10);

    // The history window is handed over but shown only later, as a busy main window might.
    std::unique_ptr<QWidget> history;
    const ChildOpener hold = [&history](QWidget* window) { history.reset(window); };
    std::unique_ptr<RecordWindow> opener(
        isCustomers(which) ? static_cast<RecordWindow*>(new TCustomer(hold)) : new TCompany(hold));
    opener->show();
    QCOMPARE(opener->text(col(which, "Name")), QStringLiteral("Acme"));
    ui::click(opener.get(), button);
    QVERIFY(history);
    QVERIFY(!history->isVisible());
    if (closeOpener)
        opener.reset();
    history->show();
    QCOMPARE(ui::rowCount(ui::find<DataGrid>(history.get(), "DBGrid1")), rows);
    QVERIFY(shop.prompter().messages().isEmpty());
}

QTEST_MAIN(TestCustomers)
#include "tst_customers.moc"
