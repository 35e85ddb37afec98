#include "TestShop.h"
#include "Ui.h"
#include "app/TMainForm.h"
#include "app/Tasks.h"
#include "data/Query.h"
#include "data/TDM.h"
#include "masters/TCustomer.h"
#include "masters/TEmployee.h"
#include "masters/TLabor.h"
#include "masters/TProfile.h"
#include "masters/TTax.h"
#include "receivables/TLaborInvoiceHistory.h"
#include "ui/common/DataGrid.h"

#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace {
const QString saveQuestion = QStringLiteral("Are you sure you want to Save this Record?");
const QStringList laborColumns = {"ID_Labor", "Description_Labor", "PartNo_Labor", "Rate_Labor",
                                  "Remark_Labor"};
const QStringList laborTitleTexts = {"No", "Description", "Device Name", "Rate", "Remark"};

// Opens the window of a task button the way the user does.
template<class Window>
Window* openTask(TestShop& shop, const char* button)
{
    TMainForm* mainForm = shop.mainFormWithTasks();
    ui::click(mainForm, button);
    auto* window = qobject_cast<Window*>(ui::newestChild(mainForm));
    if (!window)
        throw std::runtime_error(std::string(button) + " opened no window of its kind");
    return window;
}

void activate(TestShop& shop)
{
    QApplication::setActiveWindow(shop.mainForm());
    QVERIFY(QTest::qWaitForWindowActive(shop.mainForm()));
}

void addEmployee(TestShop& shop, int id, const QString& name, const QString& dob = "1980-05-04")
{
    shop.exec("Insert into Employee values (?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
              {id, name, dob, name + "@shop.example", "000-00-000" + QString::number(id),
               "Mechanic", "Kin", "555-01" + QString::number(id), "1 Main St", "Joliet", "IL",
               "60431", "2019-02-01", "2030-12-31"});
}

void addLabor(TestShop& shop, int id, const QString& description, double rate)
{
    shop.exec("Insert into Labor values (?,?,?,?,?)",
              {id, description, "Tractor", rate, "r" + QString::number(id)});
}

void addLaborLine(TestShop& shop, const QString& description, double amount, int invoice)
{
    shop.exec("Insert into InvLabor values (?,'unit',1,?,?,'line',?)",
              {description, amount, amount, invoice});
}

void addTax(TestShop& shop, int id, int year, int from, int to, double rate)
{
    shop.exec("Insert into Tax values (?,?,?,?,?)", {id, year, from, to, rate});
}

void clickRow(DataGrid* grid, int row)
{
    const QModelIndex index = grid->model()->index(row, 1);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
}

QStringList titles(const DataGrid* grid)
{
    QStringList list;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        list.append(ui::title(grid, c));
    return list;
}

QStringList column(const DataGrid* grid, int c)
{
    QStringList list;
    for (int r = 0; r < ui::rowCount(grid); ++r)
        list.append(ui::cell(grid, r, c));
    return list;
}

bool focusIsIn(const QWidget* box)
{
    QWidget* focused = QApplication::focusWidget();
    return focused && (focused == box || focused->parentWidget() == box);
}

QString sale(const TLabor* labor)
{
    return ui::find<QLabel>(labor, "Label17")->text();
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
        ui::click(modal, "CloseButton");
    });
}
} // namespace

class TestCatalogues : public QObject
{
    Q_OBJECT

private slots:
    void employeeSavedTwiceKeepsValues();
    void employeeDates_data();
    void employeeDates();
    void employeeKeysAndSearch();

    void laborSaleFigure_data();
    void laborSaleFigure();
    void laborNewAndDefaultRate();
    void laborCommands_data();
    void laborCommands();
    void laborSaveAndRename();
    void laborInvoiceHistory();

    void taxSaveUpdatesAndInserts();
    void taxBadNumbersWriteNothing_data();
    void taxBadNumbersWriteNothing();
    void taxRatesAreFractions_data();
    void taxRatesAreFractions();
    void profileWithoutItsRow();
    void taxDeleteThenNew();
    void taxRefresh_data();
    void taxRefresh();
    void taxListMovesAndSorts();
    void taxListIsItsOwn();

    void profileButtons_data();
    void profileButtons();
};

void TestCatalogues::employeeSavedTwiceKeepsValues()
{
    TestShop shop;
    addEmployee(shop, 1, "Adams");
    auto* emp = openTask<TEmployee>(shop, "SpeedButton5");
    activate(shop);
    ui::click(emp, "NewButton");
    QCOMPARE(emp->text("ID_Employee"), QStringLiteral("2"));
    QVERIFY(focusIsIn(emp->box("Name_Employee")));
    const QList<std::pair<QString, QString>> typed = {
        {"Name_Employee", "Zed O'Neil"},     {"DOB_Employee", "3/7/1985"},
        {"Email_Employee", "zed@x.example"}, {"SSN_Employee", "123-45-6789"},
        {"Position_Employee", "Welder"},     {"Emergency_Employee", "Ann"},
        {"Cell_Employee", "555-0100"},       {"Address_Employee", "9 Elm"},
        {"City_Employee", "Peoria"},         {"State_Employee", "WI"},
        {"Zip_Employee", "61602"},           {"Start_Employee", "1/15/2020"},
        {"End_Employee", "12/31/2024"}};
    for (const auto& [col, text] : typed)
        emp->setText(col, text);
    const QVariantList stored = {
        2,        "Zed O'Neil", "1985-03-07", "zed@x.example", "123-45-6789",
        "Welder", "Ann",        "555-0100",   "9 Elm",         "Peoria",
        "WI",     "61602",      "2020-01-15", "2024-12-31"};
    for (int round = 0; round < 2; ++round) {
        shop.prompter().clear();
        ui::click(emp, "SaveButton");
        QCOMPARE(shop.prompter().texts(), (QStringList{saveQuestion, "Saved!"}));
        QCOMPARE(shop.rows("Select * From Employee where ID_Employee=2"),
                 QList<QVariantList>{stored});
        // The list is back on its first row; the boxes still hold the saved employee.
        QCOMPARE(emp->grid()->currentIndex().row(), 0);
        QVERIFY(emp->grid()->hasFocus());
        for (const auto& [col, text] : typed)
            QCOMPARE(emp->text(col), text);
    }
    QCOMPARE(shop.value("Select Count(*) From Employee").toInt(), 2);
    // Refresh and Cancel reload the list and leave the boxes alone.
    for (const char* button : {"RefreshButton", "CancelButton"}) {
        addEmployee(shop, 10 + ui::rowCount(emp->grid()), "Elsewhere");
        emp->setText("Name_Employee", button);
        ui::click(emp, button);
        QCOMPARE(emp->text("Name_Employee"), QString::fromLatin1(button));
        QCOMPARE(ui::rowCount(emp->grid()), shop.value("Select Count(*) From Employee").toInt());
    }
    QCOMPARE(ui::cell(emp->grid(), 1, 2), QStringLiteral("3/7/1985"));
    QCOMPARE(ui::title(emp->grid(), 6), QStringLiteral("Emergency Call"));
    clickRow(emp->grid(), 1);
    QCOMPARE(emp->text("End_Employee"), QStringLiteral("12/31/2024"));
}

void TestCatalogues::employeeDates_data()
{
    QTest::addColumn<int>("id"); // 1 is stored with 1/1/1970, 2 is new
    QTest::addColumn<QString>("dob");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown"); // in the box afterwards, read back from the list
    QTest::addColumn<QString>("message");
    const auto add = [](const char* name, int id, const char* dob, const char* stored,
                        const char* shown, const char* message = "") {
        QTest::newRow(name) << id << QString(dob) << QString(stored) << QString(shown)
                            << QString(message);
    };
    add("insert", 2, "3/7/1985", "1985-03-07", "3/7/1985");
    add("update", 1, "11/23/1991", "1991-11-23", "11/23/1991");
    add("two-digit year", 1, "12/31/99", "1999-12-31", "12/31/1999");
    add("empty on update", 1, "", "NULL", "");
    add("empty on insert", 2, "", "NULL", "");
    add("month 13", 1, "13/45/2020", "1970-01-01", "13/45/2020",
        "Date of Birth: '13/45/2020' is not a valid date (month/day/year).");
    add("day 30 of February", 1, "2/30/2021", "1970-01-01", "2/30/2021",
        "Date of Birth: '2/30/2021' is not a valid date (month/day/year).");
    add("letters on insert", 2, "abc", "no row", "abc",
        "Date of Birth: 'abc' is not a valid date (month/day/year).");
}

void TestCatalogues::employeeDates()
{
    QFETCH(int, id);
    QFETCH(QString, dob);
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QFETCH(QString, message);
    TestShop shop;
    addEmployee(shop, 1, "Baker", "1970-01-01");
    auto* emp = openTask<TEmployee>(shop, "SpeedButton5");
    QCOMPARE(emp->text("DOB_Employee"), QStringLiteral("1/1/1970"));
    emp->setText("ID_Employee", QString::number(id));
    emp->setText("DOB_Employee", dob);
    ui::click(emp, "SaveButton");
    QCOMPARE(shop.prompter().texts(),
             (message.isEmpty() ? QStringList{saveQuestion, "Saved!"} : QStringList{message}));
    const auto rows = shop.rows("Select DOB_Employee From Employee where ID_Employee=?", {id});
    const QString actual = rows.isEmpty()                  ? QStringLiteral("no row")
                           : rows.first().first().isNull() ? QStringLiteral("NULL")
                                                           : rows.first().first().toString();
    QCOMPARE(actual, stored);
    if (message.isEmpty())
        clickRow(emp->grid(), id - 1);
    QCOMPARE(emp->text("DOB_Employee"), shown);
}

void TestCatalogues::employeeKeysAndSearch()
{
    TestShop shop;
    const QStringList names = {"Young", "Carter", "Miller"};
    const QStringList cities = {"Aurora", "Zion", "Elgin"};
    for (int i = 0; i < names.size(); ++i) {
        addEmployee(shop, i + 1, names.at(i));
        shop.exec("Update Employee Set City_Employee=? where ID_Employee=?", {cities.at(i), i + 1});
    }
    auto* emp = openTask<TEmployee>(shop, "SpeedButton5");
    activate(shop);
    // A key in the list copies the row the cursor is on before it moves.
    DataGrid* grid = emp->grid();
    clickRow(grid, 0);
    ui::press(grid, Qt::Key_Down);
    QCOMPARE(grid->currentIndex().row(), 1);
    QCOMPARE(emp->text("Name_Employee"), QStringLiteral("Young"));
    ui::press(grid, Qt::Key_Down);
    QCOMPARE(emp->text("Name_Employee"), QStringLiteral("Carter"));
    ui::press(grid, Qt::Key_Up);
    QCOMPARE(emp->text("Name_Employee"), QStringLiteral("Miller"));
    ui::click(emp, "First");
    QCOMPARE(emp->text("ID_Employee"), QStringLiteral("1"));

    const QStringList order = {"Name_Employee",  "DOB_Employee",      "Email_Employee",
                               "SSN_Employee",   "Position_Employee", "Emergency_Employee",
                               "Cell_Employee",  "Address_Employee",  "City_Employee",
                               "State_Employee", "Zip_Employee",      "Start_Employee",
                               "End_Employee",   "ID_Employee"};
    emp->box("ID_Employee")->setFocus();
    for (const QString& next : order) {
        ui::press(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY2(focusIsIn(emp->box(next)), qPrintable("Enter should reach " + next));
    }
    ui::press(QApplication::focusWidget(), Qt::Key_Left);
    QVERIFY(focusIsIn(emp->box("End_Employee")));

    // Sorted on the name, the search box finds by name; the city title does not sort.
    emit grid->titleClicked(1);
    QCOMPARE(column(grid, 1), (QStringList{"Carter", "Miller", "Young"}));
    ui::type(ui::find<QLineEdit>(emp, "Edit13"), "mi");
    QCOMPARE(emp->text("ID_Employee"), QStringLiteral("3"));
    emit grid->titleClicked(9);
    QCOMPARE(column(grid, 1), (QStringList{"Carter", "Miller", "Young"}));
}

void TestCatalogues::laborSaleFigure_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QList<double>>("amounts");
    QTest::addColumn<QString>("expected");
    QTest::newRow("two lines") << "Brake adjust" << QList<double>{50, 75} << "125";
    QTest::newRow("never invoiced") << "Brake adjust" << QList<double>{} << "";
    QTest::newRow("cents") << "Brake adjust" << QList<double>{10.25, 0.5} << "10.75";
    QTest::newRow("quote in description") << "Driver's seat" << QList<double>{40} << "40";
}

void TestCatalogues::laborSaleFigure()
{
    QFETCH(QString, description);
    QFETCH(QList<double>, amounts);
    QFETCH(QString, expected);
    TestShop shop;
    addLabor(shop, 1, "Other job", 10);
    addLabor(shop, 2, description, 60);
    addLaborLine(shop, "Other job", 999, 400);
    addLaborLine(shop, description.toUpper() + " extra", 999, 401);
    int invoice = 500;
    for (double amount : amounts)
        addLaborLine(shop, description, amount, ++invoice);
    auto* labor = openTask<TLabor>(shop, "SpeedButton4");
    QCOMPARE(sale(labor), QStringLiteral("0")); // not computed when shown
    clickRow(labor->grid(), 1);
    QCOMPARE(labor->text("Description_Labor"), description);
    QCOMPARE(sale(labor), expected);
    QVERIFY(shop.prompter().messages().isEmpty());
}

void TestCatalogues::laborNewAndDefaultRate()
{
    TestShop shop;
    addLabor(shop, 4, "Alignment", 95);
    auto* labor = openTask<TLabor>(shop, "SpeedButton4");
    activate(shop);
    ui::click(labor, "NewButton");
    QCOMPARE(labor->text("ID_Labor"), QStringLiteral("5"));
    QCOMPARE(labor->text("Rate_Labor"), QStringLiteral("0.00"));
    QCOMPARE(labor->text("Description_Labor"), QString());
    QVERIFY(focusIsIn(labor->box("Description_Labor")));
    auto* rate = ui::find<QLineEdit>(labor, "Rate_Labor");
    ui::type(rate, "");
    labor->box("Remark_Labor")->setFocus();
    QCOMPARE(labor->text("Rate_Labor"), QStringLiteral("0.00"));
    ui::type(rate, "45");
    labor->box("Remark_Labor")->setFocus();
    QCOMPARE(labor->text("Rate_Labor"), QStringLiteral("45"));
}

void TestCatalogues::laborCommands_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("titleTexts");
    QTest::addColumn<QString>("description");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("current");
    // Save returns to the saved row and copies it; Cancel copies the current row, unreloaded.
    QTest::newRow("save") << "SaveButton" << laborTitleTexts << "typed" << 3 << 1;
    QTest::newRow("delete") << "DeleteButton" << laborTitleTexts << "Alignment" << 2 << 0;
    QTest::newRow("refresh") << "RefreshButton" << laborTitleTexts << "Alignment" << 3 << 0;
    QTest::newRow("cancel") << "CancelButton" << laborColumns << "Tune-up" << 2 << 1;
}

void TestCatalogues::laborCommands()
{
    QFETCH(QString, button);
    QFETCH(QStringList, titleTexts);
    QFETCH(QString, description);
    QFETCH(int, rows);
    QFETCH(int, current);
    TestShop shop;
    addLabor(shop, 1, "Alignment", 95);
    addLabor(shop, 2, "Tune-up", 120);
    auto* labor = openTask<TLabor>(shop, "SpeedButton4");
    QCOMPARE(titles(labor->grid()), laborColumns);
    clickRow(labor->grid(), 1);
    labor->setText("Description_Labor", "typed");
    addLabor(shop, 3, "Added elsewhere", 5);
    ui::click(labor, button);
    QCOMPARE(titles(labor->grid()), titleTexts);
    QCOMPARE(labor->text("Description_Labor"), description);
    QCOMPARE(ui::rowCount(labor->grid()), rows);
    QCOMPARE(labor->grid()->currentIndex().row(), current);
}

void TestCatalogues::laborSaveAndRename()
{
    TestShop shop;
    for (int id : {1, 2, 3})
        addLabor(shop, id, QString("Job %1").arg(id), 10 * id);
    addLaborLine(shop, "Job 2", 50, 1);
    addLaborLine(shop, "Job 2", 75, 2);
    auto* labor = openTask<TLabor>(shop, "SpeedButton4");
    ui::click(labor, "NewButton");
    labor->setText("Description_Labor", "Pete's \"axle\" rebuild");
    labor->setText("PartNo_Labor", "Rear axle");
    labor->setText("Rate_Labor", "1,250.5");
    labor->setText("Remark_Labor", "'); Delete From Labor; --");
    ui::click(labor, "SaveButton");
    QCOMPARE(shop.prompter().texts(), (QStringList{saveQuestion, "Saved!"}));
    QCOMPARE(shop.row("Select * From Labor where ID_Labor=4"),
             (QVariantList{4, "Pete's \"axle\" rebuild", "Rear axle", 1250.5,
                           "'); Delete From Labor; --"}));
    QCOMPARE(labor->grid()->currentIndex().row(), 3);
    // The boxes are copied from the stored row.
    QCOMPARE(labor->text("Rate_Labor"), QStringLiteral("1250.5"));
    QCOMPARE(ui::cell(labor->grid(), 3, 3), QStringLiteral("1250.50"));

    // A renamed operation no longer counts the invoice lines of its old description.
    clickRow(labor->grid(), 1);
    QCOMPARE(sale(labor), QStringLiteral("125"));
    labor->setText("Description_Labor", "Job two");
    shop.prompter().answer({false});
    ui::click(labor, "SaveButton");
    QCOMPARE(labor->text("Description_Labor"), QStringLiteral("Job 2")); // not saved
    labor->setText("Description_Labor", "Job two");
    ui::click(labor, "SaveButton");
    clickRow(labor->grid(), 1);
    QCOMPARE(labor->text("Description_Labor"), QStringLiteral("Job two"));
    QCOMPARE(sale(labor), QString());
    QCOMPARE(shop.value("Select Count(*) From InvLabor where Description_Labor='Job 2'").toInt(),
             2);
}

void TestCatalogues::laborInvoiceHistory()
{
    TestShop shop;
    addLabor(shop, 1, "Pete's axle", 80);
    addLabor(shop, 2, "Tune-up", 120);
    addLaborLine(shop, "Pete's axle", 80, 501);
    addLaborLine(shop, "Tune-up", 120, 502);
    addLaborLine(shop, "Pete's axle", 40, 503);
    auto* labor = openTask<TLabor>(shop, "SpeedButton4");
    TLaborInvoiceHistory* history = shop.longLived().laborInvoiceHistory.get();
    QPointer<QWidget> alive = history;
    const QStringList titleTexts = {"Description", "Part Number", "Qty",    "Rate",
                                    "Amount",      "Remark",      "Invoice"};
    // Each showing reloads the lines of the description in the box.
    for (const auto& [row, invoices] :
         QList<std::pair<int, QStringList>>{{0, {"501", "503"}}, {1, {"502"}}}) {
        clickRow(labor->grid(), row);
        bool seen = false;
        QStringList shown;
        onModal(
            [&](QWidget* modal) {
                QCOMPARE(modal, static_cast<QWidget*>(history));
                auto* grid = ui::find<DataGrid>(modal, "DBGrid1");
                shown = column(grid, 6) + titles(grid);
                shown.append(ui::find<QLabel>(modal, "Heading")->text());
            },
            &seen);
        ui::click(labor, "InvoiceHistoryButton");
        QVERIFY(seen);
        QCOMPARE(shown, invoices + titleTexts + QStringList{"Labor Invoice History"});
        ui::settle();
        QVERIFY(alive); // hidden, not freed
        QVERIFY(!history->isVisible());
    }
    QCOMPARE(history->windowTitle(), QStringLiteral("LaborInvoiceHistory"));
    QVERIFY(shop.prompter().messages().isEmpty());
}

void TestCatalogues::taxSaveUpdatesAndInserts()
{
    TestShop shop;
    addTax(shop, 1, 2023, 1, 12, 0.08);
    addTax(shop, 2, 2024, 1, 12, 0.08);
    auto* tax = openTask<TTax>(shop, "SpeedButton16");
    clickRow(tax->grid(), 1);
    tax->setText("Year_T", "2025");
    tax->setText("A_T", "7");
    tax->setText("E_T", "12");
    tax->setText("Tax_T", "0.0825");
    ui::click(tax, "SaveButton");
    QCOMPARE(shop.prompter().texts(), (QStringList{saveQuestion, "Saved!"}));
    QCOMPARE(shop.rows("Select * From Tax order by Id_T"),
             (QList<QVariantList>{{1, 2023, 1, 12, 0.08}, {2, 2025, 7, 12, 0.0825}}));
    QCOMPARE(tax->grid()->currentIndex().row(), 1);
    QCOMPARE(ui::cell(tax->grid(), 1, 1), QStringLiteral("2025"));

    // Two periods of one year are two rows.
    for (const QStringList& period :
         {QStringList{"2026", "1", "6", "0.07"}, QStringList{"2026", "7", "12", "0.075"}}) {
        ui::click(tax, "NewButton");
        tax->setText("Year_T", period.at(0));
        tax->setText("A_T", period.at(1));
        tax->setText("E_T", period.at(2));
        tax->setText("Tax_T", period.at(3));
        ui::click(tax, "SaveButton");
    }
    QCOMPARE(shop.rows("Select * From Tax where Year_T=2026 order by Id_T"),
             (QList<QVariantList>{{3, 2026, 1, 6, 0.07}, {4, 2026, 7, 12, 0.075}}));
    QCOMPARE(tax->grid()->currentIndex().row(), 3);
    QCOMPARE(tax->text("A_T"), QStringLiteral("7"));
    QCOMPARE(titles(tax->grid()),
             (QStringList{"No", "Year", "Starting Month", "Ending Month", "Tax"}));
}

void TestCatalogues::taxBadNumbersWriteNothing_data()
{
    QTest::addColumn<QString>("col");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("box");
    const auto add = [](const char* name, const char* col, const char* value, const char* box) {
        QTest::newRow(name) << QString(col) << QString(value) << QString(box);
    };
    add("key with letters", "Id_T", "x", "ID No");
    add("key with a statement", "Id_T", "1 or 1=1", "ID No");
    add("year with letters", "Year_T", "20a4", "Year");
    add("month as a word", "A_T", "July", "Starting Month");
    add("empty ending month", "E_T", "", "Ending Month");
    add("rate with a percent sign", "Tax_T", "8%", "Tax");
}

void TestCatalogues::taxBadNumbersWriteNothing()
{
    QFETCH(QString, col);
    QFETCH(QString, value);
    QFETCH(QString, box);
    TestShop shop;
    addTax(shop, 1, 2023, 1, 12, 0.08);
    auto* tax = openTask<TTax>(shop, "SpeedButton16");
    tax->setText("Year_T", "2030");
    tax->setText(col, value);
    ui::click(tax, "SaveButton");
    QCOMPARE(shop.prompter().texts(),
             QStringList{box + ": '" + value + "' is not a valid number."});
    QCOMPARE(shop.rows("Select * From Tax"), (QList<QVariantList>{{1, 2023, 1, 12, 0.08}}));
    QCOMPARE(tax->text(col), value);
}

void TestCatalogues::taxRatesAreFractions_data()
{
    QTest::addColumn<QString>("col");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    QTest::newRow("a percentage") << "Tax_T"
                                  << "8.25"
                                  << "Tax: the rate is a fraction of 1, not a percentage. 8.25 % "
                                     "is 0.0825: type 0.0825.";
    QTest::newRow("one") << "Tax_T"
                         << "1"
                         << "Tax: the rate is a fraction of 1, not a percentage. 1 % is 0.01: "
                            "type 0.01.";
    QTest::newRow("negative") << "Tax_T"
                              << "-0.05"
                              << "Tax: a rate cannot be below 0 (0 is a period without tax).";
    QTest::newRow("month 13") << "E_T"
                              << "13"
                              << "Ending Month: '13' is not a month; type 1 for January to 12 "
                                 "for December.";
    QTest::newRow("ends before it starts") << "A_T"
                                           << "12"
                                           << "Ending Month: the period ends before it starts.";
    QTest::newRow("no tax is a rate") << "Tax_T"
                                      << "0"
                                      << "Saved!";
}

void TestCatalogues::taxRatesAreFractions()
{
    QFETCH(QString, col);
    QFETCH(QString, value);
    QFETCH(QString, message);
    TestShop shop;
    auto* tax = openTask<TTax>(shop, "SpeedButton16");
    ui::click(tax, "NewButton");
    tax->setText("Year_T", "2026");
    tax->setText("A_T", "1");
    tax->setText("E_T", "6");
    tax->setText("Tax_T", "0.05");
    tax->setText(col, value);
    shop.prompter().clear();
    ui::click(tax, "SaveButton");
    QCOMPARE(shop.prompter().last(), message);
    QCOMPARE(shop.value("Select Count(*) From Tax").toInt(), message == "Saved!" ? 1 : 0);
}

void TestCatalogues::taxDeleteThenNew()
{
    TestShop shop;
    addTax(shop, 1, 2023, 1, 12, 0.08);
    addTax(shop, 2, 2024, 7, 12, 0.0825);
    addTax(shop, 3, 2025, 1, 12, 0.09);
    auto* tax = openTask<TTax>(shop, "SpeedButton16");
    activate(shop);
    clickRow(tax->grid(), 1);
    ui::click(tax, "DeleteButton");
    QCOMPARE(shop.prompter().texts(), QStringList{"Are you sure you want to Delete this Record?"});
    QCOMPARE(shop.rows("Select Id_T From Tax"), (QList<QVariantList>{{1}, {3}}));
    QCOMPARE(column(tax->grid(), 0), (QStringList{"1", "3"}));
    // The boxes still show the deleted row.
    const QList<const char*> boxes = {"Id_T", "Year_T", "A_T", "E_T", "Tax_T"};
    QStringList shown;
    for (const char* col : boxes)
        shown.append(tax->text(col));
    QCOMPARE(shown, (QStringList{"2", "2024", "7", "12", "0.0825"}));

    ui::click(tax, "NewButton");
    shown.clear();
    for (const char* col : boxes)
        shown.append(tax->text(col));
    QCOMPARE(shown, (QStringList{"4", "", "", "", ""}));
    QVERIFY(focusIsIn(tax->box("Year_T")));
    // Enter moves on to the next box: "2026", Enter, "1" is a year and a month.
    ui::type(qobject_cast<QLineEdit*>(tax->box("Year_T")), "2026");
    ui::press(tax->box("Year_T"), Qt::Key_Return);
    QVERIFY(focusIsIn(tax->box("A_T")));
    QTest::keyClicks(QApplication::focusWidget(), "1");
    QCOMPARE(tax->text("Year_T"), QStringLiteral("2026"));
    QCOMPARE(tax->text("A_T"), QStringLiteral("1"));
}

void TestCatalogues::taxRefresh_data()
{
    QTest::addColumn<QString>("idBox");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("message");
    QTest::newRow("on the typed key") << "3" << 4 << 2 << "";
    QTest::newRow("key not in the list") << "42" << 4 << 0 << "";
    QTest::newRow("letters") << "abc" << 3 << 2 << "ID No: 'abc' is not a valid number.";
    QTest::newRow("empty") << "" << 3 << 2 << "ID No: '' is not a valid number.";
}

void TestCatalogues::taxRefresh()
{
    QFETCH(QString, idBox);
    QFETCH(int, rows);
    QFETCH(int, current);
    QFETCH(QString, message);
    TestShop shop;
    for (int id : {1, 2, 3})
        addTax(shop, id, 2020 + id, 1, 12, 0.08);
    auto* tax = openTask<TTax>(shop, "SpeedButton16");
    clickRow(tax->grid(), 2);
    addTax(shop, 9, 2030, 1, 12, 0.09);
    tax->setText("Id_T", idBox);
    tax->setText("Year_T", "typed");
    ui::click(tax, "RefreshButton");
    QCOMPARE(shop.prompter().texts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(ui::rowCount(tax->grid()), rows);
    QCOMPARE(tax->grid()->currentIndex().row(), current);
    QCOMPARE(tax->text("Year_T"), QStringLiteral("typed"));
}

void TestCatalogues::taxListMovesAndSorts()
{
    TestShop shop;
    addTax(shop, 1, 2025, 1, 12, 0.09);
    addTax(shop, 2, 2019, 1, 12, 0.095);
    addTax(shop, 3, 2022, 1, 6, 0.07);
    auto* tax = openTask<TTax>(shop, "SpeedButton16");
    DataGrid* grid = tax->grid();
    clickRow(grid, 0);
    grid->setFocus();
    ui::press(grid, Qt::Key_Down);
    ui::press(grid, Qt::Key_Down);
    QCOMPARE(grid->currentIndex().row(), 2);
    QCOMPARE(tax->text("Id_T"), QStringLiteral("1"));
    ui::click(tax, "Prior");
    QCOMPARE(grid->currentIndex().row(), 1);
    QCOMPARE(tax->text("Year_T"), QStringLiteral("2025"));
    clickRow(grid, 2);
    QCOMPARE(tax->text("Year_T"), QStringLiteral("2022"));

    // Titles sort, and the search box looks in the sorted column.
    emit grid->titleClicked(4);
    QCOMPARE(column(grid, 0), (QStringList{"3", "1", "2"}));
    emit grid->titleClicked(1);
    QCOMPARE(column(grid, 1), (QStringList{"2019", "2022", "2025"}));
    ui::type(ui::find<QLineEdit>(tax, "SearchBox"), "2022");
    QCOMPARE(tax->text("Id_T"), QStringLiteral("3"));
    QCOMPARE(tax->text("E_T"), QStringLiteral("6"));
}

void TestCatalogues::taxListIsItsOwn()
{
    TestShop shop;
    addTax(shop, 1, 2023, 1, 12, 0.08);
    addTax(shop, 2, 2024, 1, 12, 0.0825);
    for (int id : {1, 2, 3})
        shop.exec("Insert into Customer (ID_Customer, Name_Customer) values (?,?)",
                  {id, QString("Fleet %1").arg(id)});
    auto* tax = openTask<TTax>(shop, "SpeedButton16");
    auto* customer = openTask<TCustomer>(shop, "SpeedButton9");
    QCOMPARE(ui::rowCount(customer->grid()), 3);
    QCOMPARE(ui::rowCount(tax->grid()), 2);
    QCOMPARE(column(tax->grid(), 1), (QStringList{"2023", "2024"}));
    QCOMPARE(ui::title(tax->grid(), 4), QStringLiteral("Tax"));
    clickRow(tax->grid(), 1);
    QCOMPARE(tax->text("Tax_T"), QStringLiteral("0.0825"));
}

void TestCatalogues::profileButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("stores");
    QTest::newRow("change profile") << "ChangeProfileButton" << true;
    QTest::newRow("close") << "CloseButton" << false;
}

void TestCatalogues::profileButtons()
{
    QFETCH(QString, button);
    QFETCH(bool, stores);
    TestShop shop;
    auto* profile = openTask<TProfile>(shop, "SpeedButton17");
    QCOMPARE(profile->text("Name_R"), QStringLiteral("Tavlin Truck Repair"));
    QCOMPARE(profile->text("Tel_R"), QStringLiteral("(815) 555-0142"));
    QCOMPARE(ui::find<QLabel>(profile, "Label13")->text(),
             QStringLiteral("After Changed Profile Please reopen the peogram."));
    const QStringList columns = {"Name_R", "Tel_R", "Email_R", "City_R", "State_R"};
    const QStringList typed = {"Bob's \"Big\" Rig's", "(815) 555-0777", "o'hara@x.example",
                               "Rockford", "WI"};
    const QStringList before = {"Tavlin Truck Repair", "(815) 555-0142",
                                "office@tavlintruck.example", "Joliet", "IL"};
    for (int i = 0; i < columns.size(); ++i)
        ui::type(ui::find<QLineEdit>(profile, columns.at(i)), typed.at(i));
    ui::click(profile, button);
    ui::settle();
    QVERIFY(ui::childWindows(shop.mainForm()).isEmpty());
    QVERIFY(shop.prompter().messages().isEmpty());

    const QStringList expected = stores ? typed : before;
    QStringList stored;
    for (const QVariant& value :
         shop.row("Select Name_R, Tel_R, Email_R, City_R, State_R From Reg where Id_R=1"))
        stored.append(value.toString());
    QCOMPARE(stored, expected);
    QCOMPARE(shop.value("Select Count(*) From Reg").toInt(), 1);
    // The printouts' copy of the profile, and New in the Employees window, follow at once.
    QCOMPARE(DM->profile()->field("Name_R").asText(), expected.at(0));
    auto* emp = openTask<TEmployee>(shop, "SpeedButton5");
    ui::click(emp, "NewButton");
    QCOMPARE(emp->text("City_Employee"), expected.at(3));
    QCOMPARE(emp->text("State_Employee"), expected.at(4));
    QCOMPARE(emp->text("Name_Employee"), QString());
    ui::click(emp, "CloseButton");
    ui::settle();

    profile = openTask<TProfile>(shop, "SpeedButton17");
    for (int i = 0; i < columns.size(); ++i)
        QCOMPARE(profile->text(columns.at(i)), expected.at(i));
}

void TestCatalogues::profileWithoutItsRow()
{
    TestShop shop;
    shop.exec("Delete From Reg");
    auto* profile = openTask<TProfile>(shop, "SpeedButton17");
    // The window says the shop has no profile, rather than showing empty boxes silently.
    QCOMPARE(shop.prompter().texts().size(), 1);
    QVERIFY(shop.prompter().last().startsWith("This shop has no profile yet"));
    QCOMPARE(profile->text("Name_R"), QString());
    ui::type(ui::find<QLineEdit>(profile, "Name_R"), "O'Hara Diesel");
    ui::click(profile, "ChangeProfileButton");
    ui::settle();
    // Change Profile stores the row it lacked instead of changing nothing.
    QCOMPARE(shop.rows("Select Id_R, Name_R From Reg"),
             (QList<QVariantList>{{1, "O'Hara Diesel"}}));
}

QTEST_MAIN(TestCatalogues)
#include "tst_catalogues.moc"
