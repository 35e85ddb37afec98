// The shared bases of the document windows, each worked on a made-up description rather than
// through one of the program's windows: the line window and its options, the line panels and
// their owner, the picker, and what a record window offers document windows (control names,
// several-line boxes, text keys, windows without a key, line panels, no title sort, capital
// search, a Cancel that does nothing).

#include "TestShop.h"
#include "Ui.h"
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Query.h"
#include "data/SqlSelect.h"
#include "data/TDM.h"
#include "ui/common/DataGrid.h"
#include "ui/common/RecordWindow.h"
#include "ui/documents/LinePanel.h"
#include "ui/documents/LineWindow.h"
#include "ui/documents/PickerWindow.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QtTest>

namespace {

using Kind = ScriptedPrompter::Kind;
const QString saveQuestion = QStringLiteral("Are you sure you want to Save this Record?");

// A document that is nothing but a number and two facts.
class Owner : public QObject, public LineOwner
{
public:
    QString number = QStringLiteral("B-7");
    bool text = true;
    QStringList changed;

    QString documentNumber() const override { return number; }
    bool numberIsText() const override { return text; }
    QList<std::pair<QString, QString>> lineFacts() const override
    {
        return {{"Bill", number}, {"Vendor", "Acme"}};
    }
    void linesChanged(const QString& table) override { changed.append(table); }
};

// Expense lines of a bill, whose number is a text: the options under test are set by each
// test.
LineDescription expenses()
{
    LineDescription d;
    d.caption = QStringLiteral("Expenses");
    d.heading = QStringLiteral("Made-up expenses");
    d.table = QStringLiteral("BillExpense");
    d.numberColumn = QStringLiteral("Bill_Expense");
    d.boxes = {
        {"Description_Expense", "Description", FormBox::List,
         ListSource{"Labor", "Description_Labor", ListSource::All}, "ComboBox1"},
        {"PartNo_Expense", "Code", FormBox::Edit, {}, "Edit1"},
        {"Qty_Expense", "Qty", FormBox::Edit, {}, "Edit2"},
        {"Rate_Expense", "Rate $", FormBox::Edit, {}, "Edit5"},
        {"Amount_Expense", "Amount $", FormBox::Edit, {}, "Edit6"},
        {"Remark_Expense", "Remark", FormBox::Edit, {}, "Edit4"},
    };
    d.newTexts = {{"Qty_Expense", "1"}, {"Rate_Expense", "0"}, {"Amount_Expense", "0.00"}};
    d.factNames = {"Fact1", "Fact2"};
    d.openTitles = {"Opened"};
    d.saveTitles = {"Saved"};
    d.refreshTitles = {"Refreshed"};
    d.qtyColumn = QStringLiteral("Qty_Expense");
    d.rateColumn = QStringLiteral("Rate_Expense");
    d.amountColumn = QStringLiteral("Amount_Expense");
    return d;
}

void addExpense(TestShop& shop, const QString& bill, const QString& what, double amount)
{
    shop.exec("Insert into BillExpense values (?, 'c', 1, ?, ?, 'r', ?)",
              {what, amount, amount, bill});
}

struct Lines
{
    std::unique_ptr<Owner> owner = std::make_unique<Owner>();
    std::unique_ptr<LineWindow> window;

    LineWindow* open(const LineDescription& d)
    {
        window = std::make_unique<LineWindow>(d, LineOwnerRef(owner.get(), owner.get()));
        window->show();
        return window.get();
    }
};

QStringList boxes(const LineWindow* w, const QStringList& columns)
{
    QStringList texts;
    for (const QString& column : columns)
        texts.append(w->text(column));
    return texts;
}

// A picker over the labor catalogue that copies the rate and the description.
class LaborPicker : public PickerWindow
{
public:
    LaborPicker()
        : PickerWindow({QStringLiteral("LaborPick"),
                        QStringLiteral("Labor"),
                        QStringLiteral("Labor"),
                        QStringLiteral("*"),
                        {"Description_Labor", "PartNo_Labor"},
                        QStringLiteral("Description_Labor"),
                        {},
                        false})
    {}
    int picks = 0;

protected:
    QList<std::pair<QString, QString>> values(const Query& row, LineWindow&) override
    {
        ++picks;
        return {{"Description_Expense", row.field("Description_Labor").asText()},
                {"Rate_Expense", row.field("Rate_Labor").asText()}};
    }
};

// Deposits: a window without a key, whose rows are told apart by other columns.
RecordDescription deposits()
{
    RecordDescription d;
    d.title = QStringLiteral("Deposits");
    d.table = QStringLiteral("Deposit");
    d.listStatement = SqlSelect::all(QStringLiteral("Deposit"));
    d.boxes = {
        {"DepositTo_Dep", "Deposit To", RecordBox::List, ListSource{"Bank", "Name_Bank"},
         "ComboBox1"},
        {"Date_Dep", "Date", RecordBox::Date, {}, "Edit1", {}, "DateTimePicker1"},
        {"From_Dep", "Received From", RecordBox::Edit, {}, "ComboBox2"},
        {"Chk_Dep", "Chk #", RecordBox::Edit, {}, "Edit2"},
        {"Amount_Dep", "Amount $", RecordBox::Edit, {}, "Edit4"},
        {"Remark_Dep", "Remark", RecordBox::Memo, {}, "Edit3"},
    };
    d.key = RecordDescription::Key::None;
    d.identity = RecordDescription::Identity::ChosenRow;
    d.titles = {"Deposit To", "Date"};
    d.insertedMessage = d.updatedMessage = QStringLiteral("Saved!");
    d.afterSave = RecordDescription::AfterSave::FirstRowTyped;
    d.titleSort = false;
    d.upperCaseSearch = true;
    d.searchColumn = QStringLiteral("From_Dep");
    d.cancel = RecordDescription::Cancel::Nothing;
    d.commandNames = {"Button2", "Button1", "Button3", "Button5", "Button7", "Button4"};
    d.newDefaults = {{"DepositTo_Dep", "Main Checking"}, {"Amount_Dep", "0.00"}};
    d.newToday = {"Date_Dep"};
    d.newFocus = QStringLiteral("From_Dep");
    return d;
}

// Bills: a text key, with a panel of expense lines between the boxes and the list.
RecordDescription bills()
{
    RecordDescription d;
    d.title = QStringLiteral("Bills");
    d.table = QStringLiteral("Bill");
    d.listStatement = SqlSelect::all(QStringLiteral("Bill"));
    d.boxes = {
        {"Ref_Bill", "Ref#", RecordBox::Edit, {}, "Edit1"},
        {"Vendor_Bill", "VendorName", RecordBox::List, ListSource{"Company", "Name_Company"},
         "ComboBox1"},
        {"Amount_Bill", "Amount", RecordBox::Edit, {}, "Edit4"},
        {"Address_Bill", "Address", RecordBox::Memo, {}, "Memo1"},
    };
    d.key = RecordDescription::Key::Text;
    d.titles = {"Ref #", "Vendor Name"};
    d.insertedMessage = d.updatedMessage = QStringLiteral("Saved!");
    d.afterSave = RecordDescription::AfterSave::SavedKeyCopied;
    d.figuresOnShow = true;
    d.lookups = {{"Vendor_Bill", "Company", "Name_Company", "Address_Bill",
                  "%Address_Company% %City_Company%, %State_Company% %Zip_Company%"}};
    return d;
}

// The deposits window made up: saved once it has a date.
class Deposits : public RecordWindow
{
public:
    Deposits()
        : RecordWindow(deposits())
    {}

protected:
    QString neededForSave() const override { return QStringLiteral("Date_Dep"); }
};

class Bills : public RecordWindow
{
public:
    Bills()
        : RecordWindow(bills())
    {
        lines = new DocumentLines(this, {{"Bill", "Ref_Bill"}, {"Vendor", "Vendor_Bill"}}, true);
        panel = lines->addPanel(
            {"BillExpense", "Bill_Expense", "Description_Expense,Amount_Expense,Bill_Expense",
             "Amount_Expense", "Expences", "Button8", "DBGrid3", "Total $", "Label15"},
            [this](LineOwnerRef owner) {
                opened = new LineWindow(expenses(), owner);
                return opened;
            },
            [](QWidget* w) { w->show(); });
    }
    DocumentLines* lines;
    LinePanel* panel;
    QPointer<LineWindow> opened;

protected:
    QString nextKey() override { return QStringLiteral("1000"); }
    void computeFigures() override { lines->load(); }
};

} // namespace

class TestDocuments : public QObject
{
    Q_OBJECT

private slots:
    void lineWindowFollowsTheChosenLine();
    void linesAreRowsOfTheirOwn();
    void lineWindowFiguresAndButtons_data();
    void lineWindowFiguresAndButtons();
    void noLinesShowsNewOrNothing_data();
    void noLinesShowsNewOrNothing();
    void titlesPerCommand();
    void textNumberSaveAndDelete();
    void amountRule_data();
    void amountRule();
    void catalogueFillRunsOnEditsOnly();
    void pickOverStoredLineRecomputesAmount();
    void closingTellsTheOwnerOnlyWhileItLives();
    void pickerKeysAndTarget();
    void pickerSearchesTheTextAsTyped_data();
    void pickerSearchesTheTextAsTyped();
    void pickerSearchFollowsCatalogueChanges();
    void recordWindowWithoutKey();
    void recordWindowWithTextKeyAndLines();
};

void TestDocuments::lineWindowFollowsTheChosenLine()
{
    TestShop shop;
    addExpense(shop, "B-7", "Towing", 100);
    addExpense(shop, "B-7", "Storage", 20);
    addExpense(shop, "B-8", "Other bill", 5);
    Lines lines;
    LineWindow* w = lines.open(expenses());
    QCOMPARE(ui::rowCount(w->grid()), 2);
    // The lines come in the order the database gives them; what matters is first and last.
    const int description = w->lines()->columnIndex(QStringLiteral("Description_Expense"));
    const QString first = w->lines()->field(0, description).asText();
    const QString last = w->lines()->field(1, description).asText();
    QCOMPARE((QSet<QString>{first, last}), (QSet<QString>{"Storage", "Towing"}));
    QCOMPARE(w->text("Description_Expense"), first);
    // The navigator, a click and a key that moves the list each choose the line shown.
    ui::click(w, "Last");
    QCOMPARE(w->text("Description_Expense"), last);
    ui::click(w, "Button5"); // Refresh shows the first line again
    QCOMPARE(w->text("Description_Expense"), first);
    w->lines()->last();
    emit w->grid()->cellClicked();
    QCOMPARE(w->text("Description_Expense"), last);
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->grid()->setFocus();
    w->lines()->first();
    QTest::keyRelease(w->grid(), Qt::Key_Up);
    QCOMPARE(w->text("Description_Expense"), first);
    QCOMPARE(w->shownLine(), w->lines()->currentKey());
    // New begins a new line; F3's release in the grid does not bring the chosen line back.
    w->grid()->setFocus();
    QTest::keyClick(w->grid(), Qt::Key_F3);
    QCOMPARE(w->text("Description_Expense"), QString());
    QCOMPARE(w->shownLine(), 0);
    w->grid()->setFocus();
    QTest::keyRelease(w->grid(), Qt::Key_F3);
    QCOMPARE(w->text("Description_Expense"), QString());
}

void TestDocuments::linesAreRowsOfTheirOwn()
{
    TestShop shop;
    Lines lines;
    LineWindow* w = lines.open(expenses());
    // Two lines typed alike, each after New: two rows, neither overwritten.
    for (const char* amount : {"10", "12"}) {
        ui::click(w, "Button2");
        w->setText("Description_Expense", "Oil filter");
        w->setText("Amount_Expense", amount);
        ui::click(w, "Button1");
    }
    QCOMPARE(shop.rows("Select Description_Expense, Amount_Expense From BillExpense Order By 2"),
             (QList<QVariantList>{{"Oil filter", 10.0}, {"Oil filter", 12.0}}));
    // The boxes show the line just saved: another Save changes it and adds nothing.
    QCOMPARE(w->text("Amount_Expense"), QStringLiteral("12"));
    w->setText("Amount_Expense", "13");
    ui::click(w, "Button1");
    QCOMPARE(shop.value("Select Count(*) From BillExpense").toInt(), 2);
    // The line chosen in the grid is the one Save changes and Delete removes.
    const int ten = w->lines()->findRow(QStringLiteral("Amount_Expense"), QStringLiteral("10"));
    QVERIFY(ten >= 0);
    w->lines()->setCurrentRow(ten);
    emit w->grid()->cellClicked();
    w->setText("Remark_Expense", "first");
    ui::click(w, "Button1");
    QCOMPARE(shop.rows("Select Amount_Expense, Remark_Expense From BillExpense Order By 1"),
             (QList<QVariantList>{{10.0, "first"}, {13.0, ""}}));
    ui::click(w, "Button3");
    QCOMPARE(shop.rows("Select Description_Expense, Amount_Expense From BillExpense"),
             (QList<QVariantList>{{"Oil filter", 13.0}}));
    // A line removed elsewhere is not brought back by Save, and the user is told.
    emit w->grid()->cellClicked();
    shop.exec("Delete From BillExpense");
    shop.prompter().clear();
    w->setText("Amount_Expense", "14");
    ui::click(w, "Button1");
    QCOMPARE(shop.value("Select Count(*) From BillExpense").toInt(), 0);
    QVERIFY(!shop.prompter().texts().contains(QStringLiteral("Saved!")));
    QVERIFY(shop.prompter().texts().last().contains(QStringLiteral("removed meanwhile")));
    // Delete of a line never saved removes nothing.
    ui::click(w, "Button2");
    w->setText("Description_Expense", "Oil filter");
    shop.exec("Insert into BillExpense values ('Oil filter', 'c', 1, 1, 1, 'r', 'B-7')");
    ui::click(w, "Button3");
    QCOMPARE(shop.value("Select Count(*) From BillExpense").toInt(), 1);
}

void TestDocuments::lineWindowFiguresAndButtons_data()
{
    QTest::addColumn<bool>("total");
    QTest::addColumn<bool>("find");
    QTest::addColumn<QString>("beside");
    QTest::newRow("total and Find") << true << true << QString();
    QTest::newRow("neither") << false << false << QString();
    QTest::newRow("Find without total") << false << true << QString();
    QTest::newRow("Find beside the code") << false << true << "PartNo_Expense";
}

void TestDocuments::lineWindowFiguresAndButtons()
{
    QFETCH(bool, total);
    QFETCH(bool, find);
    QFETCH(QString, beside);
    TestShop shop;
    addExpense(shop, "B-7", "Towing", 10.10);
    addExpense(shop, "B-7", "Storage", 20.20);
    LineDescription d = expenses();
    if (total) {
        d.totalCaption = QStringLiteral("Total $:");
        d.totalName = QStringLiteral("Label4");
    }
    if (find)
        d.findCaption = QStringLiteral("find");
    d.findBeside = beside;
    Lines lines;
    LineWindow* w = lines.open(d);
    auto* label = w->findChild<QLabel*>("Label4");
    QCOMPARE(label != nullptr, total);
    if (total)
        QCOMPARE(label->text(), QStringLiteral("30.3")); // exact, not 30.299999999999997
    auto* button = w->findChild<QPushButton*>("Button8");
    QCOMPARE(button != nullptr, find);
    if (!find)
        return;
    QVERIFY(!button->isEnabled());
    // Beside its box, on the box's row; else in the column of commands under Cancel.
    QWidget* code = w->box("PartNo_Expense");
    QWidget* cancel = ui::find<QWidget>(w, "Button7");
    if (beside.isEmpty())
        QCOMPARE(button->x(), cancel->x());
    else
        QVERIFY(button->x() > code->x() + code->width() - 1 &&
                qAbs(button->geometry().center().y() - code->geometry().center().y()) < 6);
    int found = 0;
    w->setFind([&] { ++found; });
    ui::click(button);
    QCOMPARE(found, 1);
    // The facts of the owner are shown under their own names.
    QCOMPARE(ui::find<QLabel>(w, "Fact1")->text(), QStringLiteral("B-7"));
    QCOMPARE(ui::find<QLabel>(w, "Fact2")->text(), QStringLiteral("Acme"));
}

void TestDocuments::noLinesShowsNewOrNothing_data()
{
    QTest::addColumn<bool>("showsNew");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("New's texts") << true << QStringList{"", "1", "0", "0.00"};
    QTest::newRow("empty boxes") << false << QStringList{"", "", "", ""};
}

void TestDocuments::noLinesShowsNewOrNothing()
{
    QFETCH(bool, showsNew);
    QFETCH(QStringList, shown);
    TestShop shop;
    LineDescription d = expenses();
    d.noLinesShowsNew = showsNew;
    Lines lines;
    LineWindow* w = lines.open(d);
    const QStringList columns = {"Description_Expense", "Qty_Expense", "Rate_Expense",
                                 "Amount_Expense"};
    QCOMPARE(boxes(w, columns), shown);
    w->setText("Qty_Expense", "9");
    ui::click(w, "Button5");
    QCOMPARE(boxes(w, columns), shown);
    ui::click(w, "Button2");
    QCOMPARE(boxes(w, columns), (QStringList{"", "1", "0", "0.00"}));
}

void TestDocuments::titlesPerCommand()
{
    TestShop shop;
    addExpense(shop, "B-7", "Towing", 10);
    LineDescription d = expenses();
    d.rowTitles = QStringList{"Row"};
    d.rowLoadReloadsTotal = true;
    d.cancelReloads = false;
    Lines lines;
    LineWindow* w = lines.open(d);
    QCOMPARE(ui::title(w->grid(), 0), QStringLiteral("Opened"));
    emit w->grid()->cellClicked();
    QCOMPARE(ui::title(w->grid(), 0), QStringLiteral("Row"));
    ui::click(w, "Button5");
    QCOMPARE(ui::title(w->grid(), 0), QStringLiteral("Refreshed"));
    shop.prompter().answer({false});
    ui::click(w, "Button1");
    QCOMPARE(ui::title(w->grid(), 0), QStringLiteral("Saved"));
    // A Cancel without a command is shown disabled, and Esc leaves the boxes as typed.
    QVERIFY(!ui::find<QPushButton>(w, "Button7")->isEnabled());
    w->setText("Remark_Expense", "typed");
    ui::press(ui::find<QWidget>(w, "Edit4"), Qt::Key_Escape);
    QCOMPARE(w->text("Remark_Expense"), QStringLiteral("typed"));
}

void TestDocuments::textNumberSaveAndDelete()
{
    TestShop shop;
    addExpense(shop, "B-7", "Towing", 10);
    addExpense(shop, "7", "Towing", 99); // another bill whose number reads like a number
    Lines lines;
    lines.owner->number = QStringLiteral("B-7");
    LineWindow* w = lines.open(expenses());
    w->setText("Amount_Expense", "12.5");
    ui::click(w, "Button1");
    ui::click(w, "Button2");
    w->setText("Description_Expense", "O'Hare fee");
    w->setText("Amount_Expense", "");
    ui::click(w, "Button1");
    QCOMPARE(shop.rows("Select Bill_Expense, Description_Expense, Amount_Expense From "
                       "BillExpense Order By 1, 2"),
             (QList<QVariantList>{
                 {"7", "Towing", 99.0}, {"B-7", "O'Hare fee", 0.0}, {"B-7", "Towing", 12.5}}));
    QCOMPARE(shop.prompter().texts(),
             (QStringList{saveQuestion, "Saved!", saveQuestion, "Saved!"}));
    w->lines()->setCurrentRow(w->lines()->findRow("Description_Expense", "Towing"));
    emit w->grid()->cellClicked();
    ui::click(w, "Button3");
    QCOMPARE(shop.rows("Select Bill_Expense, Description_Expense From BillExpense Order By 1, 2"),
             (QList<QVariantList>{{"7", "Towing"}, {"B-7", "O'Hare fee"}}));
}

void TestDocuments::amountRule_data()
{
    QTest::addColumn<QString>("qty");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("amount");
    QTest::newRow("3 x 12.5") << "3"
                              << "12.5"
                              << "37.5";
    QTest::newRow("1.5 x 80") << "1.5"
                              << "80"
                              << "120";
    QTest::newRow("cents kept") << "3"
                                << "1.333"
                                << "4";
    QTest::newRow("under one") << "1"
                               << "0.5"
                               << ".5";
    QTest::newRow("zero") << "0"
                          << "12"
                          << "0";
    QTest::newRow("a half written without its zero") << ".5"
                                                     << "10"
                                                     << "5";
    QTest::newRow("half a cent rounds up") << "1"
                                           << "2.675"
                                           << "2.68";
    QTest::newRow("half a cent of a product") << "3"
                                              << "0.335"
                                              << "1.01";
    QTest::newRow("empty") << ""
                           << "12"
                           << "0";
    QTest::newRow("negative") << "-1"
                              << "12"
                              << "0";
    QTest::newRow("letters") << "two"
                             << "12"
                             << "Qty: 'two' is not a valid number.";
    // A part without a price yet (a catalogue fill or pick of an unpriced part) is no amount
    // yet, not an error box over the picker.
    QTest::newRow("empty rate") << "2"
                                << ""
                                << "";
}

void TestDocuments::amountRule()
{
    QFETCH(QString, qty);
    QFETCH(QString, rate);
    QFETCH(QString, amount);
    TestShop shop;
    Lines lines;
    LineWindow* w = lines.open(expenses());
    w->setText("Qty_Expense", qty);
    w->setText("Rate_Expense", rate);
    w->setText("Amount_Expense", "keep");
    try {
        w->computeAmount();
        QCOMPARE(w->text("Amount_Expense"), amount);
    } catch (const DbError& e) {
        QCOMPARE(e.message(), amount);
        QCOMPARE(w->text("Amount_Expense"), QStringLiteral("keep"));
    }
}

void TestDocuments::catalogueFillRunsOnEditsOnly()
{
    TestShop shop;
    shop.exec("Insert into Labor values (1, 'Towing', 'T-1', 85, 'per hour')");
    LineDescription d = expenses();
    d.fill = CatalogueFill{"Description_Expense",
                           "Labor",
                           "Description_Labor",
                           {{"PartNo_Expense", "PartNo_Labor"},
                            {"Rate_Expense", "Rate_Labor"},
                            {"Remark_Expense", "Remark_Labor"}}};
    Lines lines;
    LineWindow* w = lines.open(d);
    w->setText("Qty_Expense", "2");
    // The program setting the box is not an edit: nothing is looked up.
    w->setText("Description_Expense", "Towing");
    QCOMPARE(w->text("Rate_Expense"), QStringLiteral("0"));
    // Typed by the user, it fills the line (the first letters, no catalogue name yet, cleared
    // it); the rate brings the amount with it.
    ui::type(w->box("Description_Expense"), "Towing");
    QCOMPARE(boxes(w, {"PartNo_Expense", "Rate_Expense", "Remark_Expense", "Amount_Expense"}),
             (QStringList{"T-1", "85", "per hour", "85"}));
    w->setText("Qty_Expense", "2");
    ui::type(w->box("Description_Expense"), "Towing");
    QCOMPARE(w->text("Amount_Expense"), QStringLiteral("85"));
    // A name no catalogue row has clears the line but keeps what is being typed.
    ui::type(w->box("Description_Expense"), "Tow");
    QCOMPARE(boxes(w, {"Description_Expense", "PartNo_Expense", "Qty_Expense", "Rate_Expense"}),
             (QStringList{"Tow", "", "1", "0"}));
}

void TestDocuments::pickOverStoredLineRecomputesAmount()
{
    TestShop shop;
    shop.exec("Insert into BillExpense values ('Towing', 'c', 2, 12, 24, '', 'B-7')");
    shop.exec("Insert into Labor values (1, 'Storage', 'S', 11.99, '')");
    Lines lines;
    LineWindow* w = lines.open(expenses());
    QCOMPARE(w->text("Amount_Expense"), QStringLiteral("24"));
    LaborPicker picker;
    picker.showFor(w);
    QVERIFY(picker.rows()->locate("Description_Labor", "Storage"));
    picker.select();
    // The stored line's quantity with the picked rate; Save stores what the box shows.
    QCOMPARE(w->text("Amount_Expense"), QStringLiteral("23.98"));
    ui::click(w, "Button1");
    QCOMPARE(shop.value("Select Amount_Expense From BillExpense where Description_Expense = "
                        "'Storage'")
                 .toDouble(),
             23.98);
    // A typed amount is left as typed by Save (on the Storage line, wherever the reloaded list
    // put it).
    if (w->text("Description_Expense") != QLatin1String("Storage")) {
        QVERIFY(
            w->lines()->locate(QStringLiteral("Description_Expense"), QStringLiteral("Storage")));
        w->lines()->setCurrentRow(w->lines()->currentRow());
        emit w->grid()->cellClicked();
    }
    QCOMPARE(w->text("Description_Expense"), QStringLiteral("Storage"));
    w->setText("Amount_Expense", "20");
    ui::click(w, "Button1");
    QCOMPARE(shop.value("Select Amount_Expense From BillExpense where Description_Expense = "
                        "'Storage'")
                 .toDouble(),
             20.0);
}

void TestDocuments::closingTellsTheOwnerOnlyWhileItLives()
{
    TestShop shop;
    Lines lines;
    LineWindow* w = lines.open(expenses());
    w->close();
    QCOMPARE(lines.owner->changed, QStringList{"BillExpense"});
    w->close(); // once only
    QCOMPARE(lines.owner->changed, QStringList{"BillExpense"});

    Lines orphan;
    LineWindow* second = orphan.open(expenses());
    orphan.owner.reset();
    second->close();
    QVERIFY(shop.prompter().messages().isEmpty());
    QCOMPARE(second->number(), QStringLiteral("B-7"));
}

void TestDocuments::pickerKeysAndTarget()
{
    TestShop shop;
    shop.exec(
        "Insert into Labor values (1, 'Brakes', 'BR', 90, ''), (2, 'Towing', 'TW-9', 85, '')");
    Lines first;
    LineWindow* a = first.open(expenses());
    Lines second;
    LineWindow* b = second.open(expenses());
    LaborPicker picker;
    picker.showFor(a);
    QCOMPARE(picker.target(), a);
    // Searched by any of its columns; Enter in the search box picks the current row into the
    // line window that showed the picker, not the newest one.
    ui::type(picker.searchBox(), "tw-");
    QCOMPARE(ui::rowCount(picker.grid()), 1);
    ui::press(picker.searchBox(), Qt::Key_Return);
    QCOMPARE(a->text("Description_Expense"), QStringLiteral("Towing"));
    QCOMPARE(b->text("Description_Expense"), QString());
    QVERIFY(!picker.isVisible());
    // Shown again, the search starts empty with every row; Enter in the grid picks too.
    picker.showFor(b);
    QCOMPARE(picker.searchBox()->text(), QString());
    QCOMPARE(ui::rowCount(picker.grid()), 2);
    ui::press(picker.grid(), Qt::Key_Return);
    QCOMPARE(b->text("Description_Expense"), QStringLiteral("Brakes"));
    // A picker whose line window closes is hidden and writes nowhere.
    picker.showFor(b);
    b->close();
    QVERIFY(!picker.isVisible());
    second.window.reset();
    picker.select();
    QCOMPARE(picker.picks, 2);
}

void TestDocuments::pickerSearchesTheTextAsTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("letter case ignored") << "brake" << QStringList{"Brake 100%", "Brake 1000"};
    QTest::newRow("a percent sign is a percent sign") << "100%" << QStringList{"Brake 100%"};
    QTest::newRow("an underscore is an underscore") << "o_r" << QStringList{"O_Ring swap"};
    QTest::newRow("a quote") << "o'b" << QStringList{"O'Brien tow"};
    QTest::newRow("a backslash") << "a\\b" << QStringList{"Seal a\\b"};
    QTest::newRow("the second column") << "dev-4" << QStringList{"Oil ring"};
    QTest::newRow("a trailing blank") << "brake " << QStringList{"Brake 100%", "Brake 1000"};
    QTest::newRow("nothing") << "zz" << QStringList{};
    QTest::newRow("everything again")
        << "" << QStringList{"Brake 100%",  "Brake 1000", "O'Brien tow",
                             "O_Ring swap", "Oil ring",   "Seal a\\b"};
}

void TestDocuments::pickerSearchesTheTextAsTyped()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, found);
    TestShop shop;
    int id = 0;
    for (const char* name :
         {"Brake 100%", "Brake 1000", "O_Ring swap", "Oil ring", "O'Brien tow", "Seal a\\b"})
        shop.exec("Insert into Labor (ID_Labor, Description_Labor, PartNo_Labor) values (?, ?, ?)",
                  {++id, QString::fromUtf8(name), QString("DEV-%1").arg(id)});
    LaborPicker picker;
    picker.showFor(nullptr);
    // Typed a letter at a time, as the clerk types it: each keystroke narrows the rows held.
    for (int length = 1; length <= typed.size(); ++length)
        picker.search(typed.left(length));
    picker.search(typed);
    QStringList names;
    for (int row = 0; row < picker.rows()->recordCount(); ++row)
        names.append(
            picker.rows()
                ->field(row, picker.rows()->columnIndex(QStringLiteral("Description_Labor")))
                .asText());
    // In the picker's order, by description.
    QStringList sorted = names;
    std::sort(sorted.begin(), sorted.end(),
              [](const QString& a, const QString& b) { return a.compare(b) < 0; });
    QCOMPARE(names, sorted);
    names.sort();
    QCOMPARE(names, found);
    // Exactly the rows the database's own search of those columns finds.
    if (!typed.isEmpty()) {
        Query* statement = TestShop::query(QStringLiteral("Search"));
        statement->setSql(SqlSelect::containing(QStringLiteral("Labor"), QStringLiteral("*"),
                                                {"Description_Labor", "PartNo_Labor"}, typed));
        statement->open();
        QStringList byStatement =
            statement->values(statement->columnIndex(QStringLiteral("Description_Labor")));
        byStatement.sort();
        QCOMPARE(names, byStatement);
    }
}

void TestDocuments::pickerSearchFollowsCatalogueChanges()
{
    TestShop shop;
    shop.exec("Insert into Labor (ID_Labor, Description_Labor) values (1, 'Brake job')");
    LaborPicker picker;
    picker.showFor(nullptr);
    picker.search(QStringLiteral("brake"));
    QCOMPARE(picker.rows()->recordCount(), 1);
    // Another labor operation saved meanwhile is found by the next keystroke.
    DM->admin1()->execute(SqlStatement{
        {"Insert into Labor (ID_Labor, Description_Labor) values (2, 'Brake bleed')"}});
    picker.search(QStringLiteral("brake b"));
    QCOMPARE(picker.rows()->recordCount(), 1);
    picker.search(QStringLiteral("brake"));
    QCOMPARE(picker.rows()->recordCount(), 2);
    // Emptied, the search box shows the whole catalogue again.
    picker.search(QString());
    QCOMPARE(picker.rows()->recordCount(), 2);
}

void TestDocuments::recordWindowWithoutKey()
{
    TestShop shop;
    shop.exec("Insert into Deposit values ('Savings', '2026-01-05', 'acme', '', '', '11', 10, '')");
    Deposits w;
    w.show();
    // The given control names.
    for (const char* name : {"ComboBox1", "DateTimePicker1", "Edit1", "Edit2", "Edit4", "Edit3",
                             "Button1", "Button2", "Button3", "Button4", "Button5", "Button7"})
        QVERIFY2(w.findChild<QWidget*>(name), name);
    QVERIFY(qobject_cast<QPlainTextEdit*>(ui::find<QWidget>(&w, "Edit3")));
    // New has no number to propose.
    ui::click(&w, "Button2");
    QCOMPARE(w.text("DepositTo_Dep"), QStringLiteral("Main Checking"));
    QVERIFY(!w.text("Date_Dep").isEmpty());
    w.setText("From_Dep", "O'Neil");
    w.setText("Chk_Dep", "12");
    w.setText("Amount_Dep", "40.5");
    w.setText("Remark_Dep", "two\nlines");
    ui::click(&w, "Button1");
    // Saved again: the deposit just stored is updated, not doubled.
    w.setText("Amount_Dep", "41");
    ui::click(&w, "Button1");
    QCOMPARE(shop.rows("Select DepositTo_Dep, From_Dep, Chk_Dep, Amount_Dep, Remark_Dep From "
                       "Deposit Order By 1"),
             (QList<QVariantList>{{"Main Checking", "O'Neil", "12", 41.0, "two\nlines"},
                                  {"Savings", "acme", "11", 10.0, ""}}));
    // Save needs a date.
    shop.prompter().clear();
    w.setText("Date_Dep", "");
    ui::click(&w, "Button1");
    QVERIFY(shop.prompter().messages().isEmpty());
    // No title sorts; the search box takes capitals and searches its column.
    emit w.grid()->titleClicked(1);
    QCOMPARE(ui::cell(w.grid(), 0, 0), QStringLiteral("Savings"));
    auto* search = ui::find<QLineEdit>(&w, "SearchBox");
    QCOMPARE(search->placeholderText(), QStringLiteral("Search From_Dep"));
    ui::type(search, "o'n");
    QCOMPARE(search->text(), QStringLiteral("O'N"));
    QCOMPARE(w.text("Chk_Dep"), QStringLiteral("12"));
    // A Cancel without a command is shown disabled, and Esc keeps what was typed.
    QVERIFY(!ui::find<QPushButton>(&w, "Button7")->isEnabled());
    w.setText("Remark_Dep", "typed");
    ui::press(ui::find<QWidget>(&w, "Edit3"), Qt::Key_Escape);
    QCOMPARE(w.text("Remark_Dep"), QStringLiteral("typed"));
    // Delete removes the deposit chosen in the list, whatever the boxes say.
    w.listQuery()->setCurrentRow(w.listQuery()->findRow("From_Dep", "acme"));
    emit w.grid()->cellClicked();
    w.setText("From_Dep", "O'Neil");
    ui::click(&w, "Button3");
    QCOMPARE(shop.rows("Select From_Dep From Deposit"), (QList<QVariantList>{{"O'Neil"}}));
    // Two deposits alike (cash, one day, one account) are two rows; Delete removes one.
    ui::click(&w, "Button2");
    w.setText("From_Dep", "O'Neil");
    w.setText("Chk_Dep", "12");
    w.setText("Amount_Dep", "41");
    w.setText("Remark_Dep", "two\nlines");
    ui::click(&w, "Button1");
    QCOMPARE(shop.value("Select Count(*) From Deposit").toInt(), 2);
    emit w.grid()->cellClicked();
    ui::click(&w, "Button3");
    QCOMPARE(shop.value("Select Count(*) From Deposit").toInt(), 1);
}

void TestDocuments::recordWindowWithTextKeyAndLines()
{
    TestShop shop;
    shop.exec("Insert into Company (ID_Company, Name_Company, Address_Company, City_Company, "
              "State_Company, Zip_Company) values (1, 'Acme', '1 Main', 'Gary', 'IN', '46401')");
    shop.exec("Insert into Bill (Ref_Bill, Vendor_Bill, Amount_Bill) values ('B-7', 'Acme', 5), "
              "('0042', 'Other', 7)");
    addExpense(shop, "B-7", "Towing", 10.10);
    addExpense(shop, "B-7", "Storage", 20.20);
    addExpense(shop, "0042", "Fuel", 1);
    Bills w;
    w.show();
    QCOMPARE(w.text("Ref_Bill"), QStringLiteral("B-7"));
    QCOMPARE(ui::rowCount(w.panel->grid()), 2);
    QCOMPARE(ui::find<QLabel>(&w, "Label15")->text(), QStringLiteral("30.3"));
    // A text key keeps its leading zeros.
    w.listQuery()->last();
    emit w.grid()->cellClicked();
    QCOMPARE(w.text("Ref_Bill"), QStringLiteral("0042"));
    QCOMPARE(ui::find<QLabel>(&w, "Label15")->text(), QStringLiteral("1"));
    w.setText("Amount_Bill", "8");
    ui::click(&w, "SaveButton");
    QCOMPARE(shop.value("Select Amount_Bill From Bill where Ref_Bill = '0042'").toDouble(), 8.0);
    QCOMPARE(w.text("Ref_Bill"), QStringLiteral("0042"));
    // Leaving the vendor looks the address up.
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.boxes()->focusTarget("Vendor_Bill")->setFocus();
    w.setText("Vendor_Bill", "Acme");
    w.boxes()->focusTarget("Amount_Bill")->setFocus();
    QCOMPARE(w.text("Address_Bill"), QStringLiteral("1 Main Gary, IN 46401"));
    // The panel's line window works on the bill in the key box; closing it reloads the panel
    // for the bill the window shows.
    ui::click(&w, "Button8");
    QVERIFY(w.opened);
    QCOMPARE(w.opened->number(), QStringLiteral("0042"));
    ui::click(w.opened, "Button2");
    w.opened->setText("Description_Expense", "Oil");
    w.opened->setText("Amount_Expense", "2.5");
    ui::click(w.opened, "Button1");
    w.opened->close();
    QCOMPARE(ui::rowCount(w.panel->grid()), 2);
    QCOMPARE(ui::find<QLabel>(&w, "Label15")->text(), QStringLiteral("3.5"));
    // New proposes the window's own next key.
    ui::click(&w, "NewButton");
    QCOMPARE(w.text("Ref_Bill"), QStringLiteral("1000"));
}

QTEST_MAIN(TestDocuments)
#include "tst_documents.moc"
