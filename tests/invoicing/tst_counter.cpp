// A day at the counter, from the clerk's side: the invoice shown is always one invoice (its
// tax flag, lines, totals and payments), money that reaches a line or a total is right, the
// archive never hands a number out twice, and the keys named on the buttons answer.

#include "InvoiceFixtures.h"
#include "TestShop.h"
#include "Ui.h"
#include "app/TMainForm.h"
#include "app/Tasks.h"
#include "data/Query.h"
#include "invoicing/TInvItem.h"
#include "invoicing/TInvPartFind.h"
#include "masters/TCustomer.h"
#include "masters/TTax.h"
#include "printing/PreparedReport.h"
#include "purchasing/TPartOrderHistory.h"
#include "ui/common/DataGrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

using Kind = ScriptedPrompter::Kind;

void clickRow(DataGrid* grid, int row)
{
    const QModelIndex index = grid->model()->index(row, 1);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
}

void activate(TestShop& shop)
{
    QApplication::setActiveWindow(shop.mainForm());
    QVERIFY(QTest::qWaitForWindowActive(shop.mainForm()));
}

TInvItem* openPartLines(TestShop& shop, TInvoice* invoice)
{
    ui::click(invoice, "Button6");
    auto* lines = qobject_cast<TInvItem*>(ui::newestChild(shop.mainForm()));
    if (!lines)
        throw std::runtime_error("no part-line window");
    return lines;
}

// Everything the invoice window shows of one invoice, read from its boxes and figures.
struct Shown
{
    QString number;
    QString tax;
    QStringList partLines;
    QString partsTotal;
    QString total;
    QString paid;
};

Shown shown(TInvoice* invoice)
{
    Shown s;
    s.number = invoice->text("InvoiceNo_Inv");
    s.tax = invoice->text("Tax_Inv");
    auto* parts = ui::find<DataGrid>(invoice, "DBGrid2");
    for (int row = 0; row < ui::rowCount(parts); ++row)
        s.partLines.append(ui::cell(parts, row, 0));
    s.partsTotal = label(invoice, "Label12");
    s.total = label(invoice, "Label14");
    s.paid = label(invoice, "Label19");
    return s;
}

// What the window must show for invoice number, from the database.
Shown expected(TestShop& shop, int number, double rate)
{
    Shown s;
    s.number = QString::number(number);
    s.tax = shop.value("Select Tax_Inv From Invoice where InvoiceNo_Inv = ?", {number}).toString();
    double parts = 0;
    for (const QVariantList& row :
         shop.rows("Select Name_Item, Amount_Item From InvItem where Inv_Item = ?", {number})) {
        s.partLines.append(row.at(0).toString());
        parts += row.at(1).toDouble();
    }
    s.partsTotal = s.partLines.isEmpty() ? QString() : Currency::fromDouble(parts).toPlain();
    const double labor =
        shop.value("Select Nz(Sum(Amount_Labor), 0) From InvLabor where Inv_Labor = ?", {number})
            .toDouble();
    s.total =
        Currency::fromDouble(parts + labor + (s.tax == "Yes" ? rate * parts : 0)).toHashFormat();
    const QVariant paid = shop.value(
        "Select Sum(Amount_Receivable) From Receivable where InvoiceNo_Receivable = ?", {number});
    s.paid = paid.isNull() ? QString() : Currency::fromDouble(paid.toDouble()).toPlain();
    return s;
}

void compare(const Shown& have, const Shown& want, const char* after)
{
    const auto line = [](const Shown& s) {
        return QStringList{s.number, s.tax, s.partLines.join('+'), s.partsTotal, s.total, s.paid}
            .join(" | ");
    };
    QVERIFY2(line(have) == line(want),
             qPrintable(QStringLiteral("after %1: shows %2, invoice is %3")
                            .arg(QLatin1String(after), line(have), line(want))));
}

// Three invoices that differ in everything a window shows of one.
void seedThree(TestShop& shop)
{
    shop.exec("Insert into Tax (Id_T, Year_T, A_T, E_T, Tax_T) values (1, 2026, 1, 12, 0.08)");
    addInvoice(shop, {1, "Acme", "2026-01-05", 110, false, "Yes"});
    addInvoice(shop, {2, "Bolt", "2026-02-05", 40, false, "No"});
    addInvoice(shop, {3, "Cole", "2026-03-05", 12, true, "Yes"});
    addPartLine(shop, 1, 100, "A1");
    addLaborLine(shop, 1, 10);
    addPartLine(shop, 2, 40, "B2");
    addPartLine(shop, 3, 12, "C3");
    addPayment(shop, 1, 10.10);
    addPayment(shop, 1, 20.20);
    addPayment(shop, 3, 12);
}

} // namespace

class TestCounter : public QObject
{
    Q_OBJECT

private slots:
    void oneInvoiceAfterEveryCommand();
    void newShowsNothingOfTheLastInvoice();
    void storedTaxFlagFollowsTheInvoice();
    void printoutAfterAFilter_data();
    void printoutAfterAFilter();
    void pickOverAStoredLine();
    void ratePeriodsInOneYear_data();
    void ratePeriodsInOneYear();
    void newAfterArchivingTheHighestNumber();
    void totalFollowsTheLinesBeforeSave();
    void searchBeforeATitleClick();
    void commandKeys_data();
    void commandKeys();
    void escapeClosesAHistory();
};

void TestCounter::oneInvoiceAfterEveryCommand()
{
    TestShop shop;
    seedThree(shop);
    TInvoice* invoice = openInvoice(shop);
    compare(shown(invoice), expected(shop, 1, 0.08), "opening");
    QCOMPARE(label(invoice, "Label19"), QStringLiteral("30.3")); // 10.10 + 20.20, exactly
    clickRow(invoice->list(), 1);
    compare(shown(invoice), expected(shop, 2, 0.08), "a click");
    ui::click(invoice, "First");
    compare(shown(invoice), expected(shop, 1, 0.08), "the navigator");
    ui::click(invoice, "RadioButton2");
    compare(shown(invoice), expected(shop, 3, 0.08), "the Paid filter");
    ui::click(invoice, "RadioButton3");
    compare(shown(invoice), expected(shop, 1, 0.08), "the All filter");
    ui::type(ui::find<QLineEdit>(invoice, "Edit13"), "bo");
    compare(shown(invoice), expected(shop, 2, 0.08), "a search");
    ui::click(invoice, "Button5");
    compare(shown(invoice), expected(shop, 1, 0.08), "Refresh");
    clickRow(invoice->list(), 1);
    ui::click(invoice, "Button7");
    compare(shown(invoice), expected(shop, 1, 0.08), "Cancel");
    shop.prompter().answer({true});
    clickRow(invoice->list(), 1);
    ui::click(invoice, "Button2");
    compare(shown(invoice), expected(shop, 1, 0.08), "Save");
    QVERIFY(shop.prompter().texts(Kind::Error).isEmpty());
}

void TestCounter::newShowsNothingOfTheLastInvoice()
{
    TestShop shop;
    seedThree(shop);
    TInvoice* invoice = openInvoice(shop);
    ui::click(invoice, "Button3");
    QCOMPARE(invoice->text("InvoiceNo_Inv"), QStringLiteral("4"));
    QCOMPARE(ui::rowCount(ui::find<DataGrid>(invoice, "DBGrid2")), 0);
    QCOMPARE(ui::rowCount(ui::find<DataGrid>(invoice, "DBGrid3")), 0);
    for (const char* figure : {"Label12", "Label14", "Label15", "Label19", "Label17"})
        QVERIFY2(label(invoice, figure).isEmpty() || label(invoice, figure) == "0.00", figure);
    QVERIFY(!ui::find<QCheckBox>(invoice, "CheckBox1")->isChecked());
}

void TestCounter::storedTaxFlagFollowsTheInvoice()
{
    TestShop shop;
    seedThree(shop);
    TInvoice* invoice = openInvoice(shop);
    QCOMPARE(invoice->text("Tax_Inv"), QStringLiteral("Yes"));
    clickRow(invoice->list(), 1);
    QCOMPARE(invoice->text("Tax_Inv"), QStringLiteral("No"));
    // Refresh shows invoice 1 again, taxed as stored, and so do the filters.
    ui::click(invoice, "Button5");
    QCOMPARE(invoice->text("Tax_Inv"), QStringLiteral("Yes"));
    clickRow(invoice->list(), 1);
    ui::click(invoice, "RadioButton3");
    QCOMPARE(invoice->text("Tax_Inv"), QStringLiteral("Yes"));
    // A Save that changes only the driver keeps the stored flag of the invoice shown.
    clickRow(invoice->list(), 1);
    ui::click(invoice, "RadioButton1");
    clickRow(invoice->list(), 1);
    invoice->setText("PO_Inv", "New driver");
    ui::click(invoice, "Button2");
    QCOMPARE(shop.rows("Select PO_Inv, Tax_Inv From Invoice where InvoiceNo_Inv = 2"),
             (QList<QVariantList>{{"New driver", "No"}}));
    QCOMPARE(shop.value("Select Tax_Inv From Invoice where InvoiceNo_Inv = 1").toString(),
             QStringLiteral("Yes"));
    // New keeps the box's text for the next invoice.
    clickRow(invoice->list(), 1);
    ui::click(invoice, "Button3");
    QCOMPARE(invoice->text("Tax_Inv"), QStringLiteral("No"));
}

void TestCounter::printoutAfterAFilter_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("taxLine");
    QTest::newRow("Open, untaxed invoice 2") << "RadioButton1" << 1 << "Tax on Part : No Tax";
    QTest::newRow("Paid, taxed invoice 3") << "RadioButton2" << 0 << "Tax on Part : $0.96";
    QTest::newRow("All, taxed invoice 1") << "RadioButton3" << 0 << "Tax on Part : $8.00";
}

void TestCounter::printoutAfterAFilter()
{
    QFETCH(QString, filter);
    QFETCH(int, row);
    QFETCH(QString, taxLine);
    TestShop shop;
    seedThree(shop);
    TInvoice* invoice = openInvoice(shop);
    // The box is left on the other answer first: the filter must bring the stored one back.
    clickRow(invoice->list(), row == 1 ? 0 : 1);
    ui::click(invoice, filter);
    clickRow(invoice->list(), row);
    std::optional<PreparedReport> report = invoice->prepareReport();
    QVERIFY(report);
    QVERIFY2(report->pageText(0).split('\n').contains(taxLine), qPrintable(report->pageText(0)));
}

void TestCounter::pickOverAStoredLine()
{
    TestShop shop;
    addInvoice(shop, {1, "Acme", "2026-01-05", 24});
    shop.exec("Insert into InvItem values ('Old pad','m',2,'s','OLD',12,24,1)");
    shop.exec("Insert into Part values (1,'T','Filter','spin-on','Mfg','Style','ST','LF1','','EA',"
              "9.99,'')");
    TInvoice* invoice = openInvoice(shop);
    TInvItem* lines = openPartLines(shop, invoice);
    QCOMPARE(lines->text("Amount_Item"), QStringLiteral("24"));
    ui::click(lines, "Button8");
    TInvPartFind* picker = shop.longLived().invPartFind.get();
    QVERIFY(picker->rows()->locate("Color_Material", "LF1"));
    picker->select();
    // 2 x 11.99 (the price with 20 %), not the 24.00 of the line shown before.
    QCOMPARE(lines->text("Rate_Item"), QStringLiteral("11.99"));
    QCOMPARE(lines->text("Amount_Item"), QStringLiteral("23.98"));
    ui::click(lines, "Button1");
    QCOMPARE(shop.value("Select Amount_Item From InvItem where Color_Item = 'LF1'").toDouble(),
             23.98);
}

void TestCounter::ratePeriodsInOneYear_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("taxLine");
    QTest::newRow("March, first half's rate") << "2026-03-15"
                                              << "145"
                                              << "Tax on Part : $5.00";
    QTest::newRow("August, second half's rate") << "2026-08-15"
                                                << "146"
                                                << "Tax on Part : $6.00";
    QTest::newRow("December") << "2026-12-31"
                              << "146"
                              << "Tax on Part : $6.00";
    // A month no row covers falls back on the year's first row.
    QTest::newRow("a gap in the months") << "2027-06-01"
                                         << "147"
                                         << "Tax on Part : $7.00";
    QTest::newRow("a year without rows") << "2030-01-01"
                                         << "140"
                                         << "Tax on Part : $0.00";
}

void TestCounter::ratePeriodsInOneYear()
{
    QFETCH(QString, date);
    QFETCH(QString, total);
    QFETCH(QString, taxLine);
    TestShop shop;
    shop.exec("Insert into Tax values (1, 2026, 1, 6, 0.05), (2, 2026, 7, 12, 0.06), "
              "(3, 2027, 1, 3, 0.07), (4, 2027, 9, 12, 0.09)");
    addInvoice(shop, {1, "Acme", date, 0, false, "Yes"});
    addPartLine(shop, 1, 100);
    addLaborLine(shop, 1, 40);
    TInvoice* invoice = openInvoice(shop);
    QCOMPARE(label(invoice, "Label14"), total);
    std::optional<PreparedReport> report = invoice->prepareReport();
    QVERIFY(report);
    QVERIFY2(report->pageText(0).split('\n').contains(taxLine), qPrintable(report->pageText(0)));
    // A rate changed in the tax window reaches the next total.
    shop.exec("Update Tax Set Tax_T = Tax_T * 2");
    ui::click(invoice, "Button5");
    QVERIFY(label(invoice, "Label14") != total || total == "140");
}

void TestCounter::newAfterArchivingTheHighestNumber()
{
    TestShop shop;
    addInvoice(shop, {7, "Acme", "2026-01-05", 0});
    addInvoice(shop, {9, "Bolt", "2026-01-06", 0});
    TInvoice* invoice = openInvoice(shop);
    clickRow(invoice->list(), 1);
    ui::type(ui::find<QLineEdit>(invoice, "Edit11"), "Morvek");
    ui::click(invoice, "Button12");
    QCOMPARE(shop.value("Select Count(*) From InvoiceCash where InvoiceNo_Inv = 9").toInt(), 1);
    // The archive locks itself again, and its code box is empty.
    QCOMPARE(ui::find<QLineEdit>(invoice, "Edit11")->text(), QString());
    QVERIFY(!ui::find<QPushButton>(invoice, "Button12")->isEnabled());
    // New never proposes a number the archive holds.
    ui::click(invoice, "Button3");
    QCOMPARE(invoice->text("InvoiceNo_Inv"), QStringLiteral("10"));
}

void TestCounter::totalFollowsTheLinesBeforeSave()
{
    TestShop shop;
    shop.exec("Insert into Tax values (1, 2026, 1, 12, 0.08)");
    TInvoice* invoice = openInvoice(shop);
    ui::click(invoice, "Button3");
    invoice->setText("InvoiceDate_Inv", "5/1/2026");
    TInvItem* lines = openPartLines(shop, invoice);
    lines->setText("Name_Item", "Pad");
    lines->setText("Color_Item", "P1");
    lines->setText("Amount_Item", "100");
    ui::click(lines, "Button1");
    ui::click(lines, "Button4");
    ui::settle();
    // Taxed as the "Tax" box says of the invoice not yet saved.
    QCOMPARE(label(invoice, "Label12"), QStringLiteral("100"));
    QCOMPARE(label(invoice, "Label14"), QStringLiteral("108"));
    // The balance note follows the next change of the lines.
    invoice->setText("Amount_Inv", "108");
    TInvItem* again = openPartLines(shop, invoice);
    ui::click(again, "Button4");
    ui::settle();
    QCOMPARE(label(invoice, "Label17"), QStringLiteral("......................"));
}

void TestCounter::searchBeforeATitleClick()
{
    TestShop shop;
    seedThree(shop);
    TInvoice* invoice = openInvoice(shop);
    auto* search = ui::find<QLineEdit>(invoice, "Edit13");
    QCOMPARE(search->placeholderText(), QStringLiteral("Search Customer Name"));
    ui::type(search, "bolt");
    QCOMPARE(search->text(), QStringLiteral("BOLT"));
    QCOMPARE(invoice->text("InvoiceNo_Inv"), QStringLiteral("2"));
    emit invoice->list()->titleClicked(0);
    QCOMPARE(search->placeholderText(), QStringLiteral("Search Invoice #"));
    ui::type(search, "1");
    QCOMPARE(invoice->text("InvoiceNo_Inv"), QStringLiteral("1"));
}

void TestCounter::commandKeys_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("command");
    const auto add = [](const char* window, const char* box, int key, const char* command) {
        QTest::addRow("%s, %s, %s", window, box, qPrintable(QKeySequence(key).toString()))
            << QString(window) << QString(box) << key << QString(command);
    };
    // New, Save, Delete and Refresh (shown by what they ask or put in the boxes) and Cancel,
    // from boxes of every kind, a check box, the list and a several-line box.
    add("invoice", "Edit5", Qt::Key_F3, "New");
    add("invoice", "CheckBox1", Qt::Key_F3, "New");
    add("invoice", "Memo2", Qt::Key_F2, "Save");
    add("invoice", "DBGrid1", Qt::Key_F2, "Save");
    add("invoice", "ComboBox3", Qt::Key_F8, "Delete");
    add("invoice", "DBGrid2", Qt::Key_F8, "Delete");
    add("invoice", "Edit9", Qt::Key_F5, "Refresh");
    add("invoice", "Memo1", Qt::Key_Escape, "Refresh");
    add("part lines", "Edit3", Qt::Key_F3, "New");
    add("part lines", "DBGrid1", Qt::Key_F2, "Save");
    add("part lines", "Edit6", Qt::Key_F8, "Delete");
    add("part lines", "Edit1", Qt::Key_Escape, "Refresh");
    add("customers", "Email_Customer", Qt::Key_F3, "New");
    add("customers", "DBGrid1", Qt::Key_F8, "Delete");
    add("customers", "City_Customer", Qt::Key_F5, "Refresh");
    add("tax", "Tax_T", Qt::Key_F2, "Save");
    add("tax", "DBGrid1", Qt::Key_F3, "New");
}

void TestCounter::commandKeys()
{
    QFETCH(QString, window);
    QFETCH(QString, box);
    QFETCH(int, key);
    QFETCH(QString, command);
    TestShop shop;
    addInvoice(shop, {1, "Acme", "2026-01-05", 10});
    addPartLine(shop, 1, 10, "P1");
    shop.exec("Insert into Customer (ID_Customer, Name_Customer) values (4, 'Acme')");
    shop.exec("Insert into Tax values (2, 2026, 1, 12, 0.08)");
    QWidget* form = nullptr;
    QString keyBox;
    if (window == "invoice" || window == "part lines") {
        TInvoice* invoice = openInvoice(shop);
        form = invoice;
        keyBox = "Edit1";
        if (window == "part lines") {
            form = openPartLines(shop, invoice);
            keyBox = "ComboBox1";
        }
    } else if (window == "customers") {
        form = new TCustomer({});
        shop.mainFormWithTasks()->addChild(form);
        keyBox = "ID_Customer";
    } else {
        form = new TTax;
        shop.mainFormWithTasks()->addChild(form);
        keyBox = "Id_T";
    }
    activate(shop);
    QWidget* target = ui::find<QWidget>(form, box);
    if (auto* date = qobject_cast<QComboBox*>(target); date && date->lineEdit())
        target = date->lineEdit();
    target->setFocus();
    QVERIFY2(target->hasFocus() || target->isAncestorOf(QApplication::focusWidget()),
             qPrintable(box));
    auto keyText = [&] {
        QWidget* k = ui::find<QWidget>(form, keyBox);
        if (auto* edit = qobject_cast<QLineEdit*>(k))
            return edit->text();
        return qobject_cast<QComboBox*>(k)->currentText();
    };
    const QString before = keyText();
    shop.prompter().setDefaultAnswer(false);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    const QStringList asked = shop.prompter().texts(Kind::Confirm);
    if (command == "Save")
        QCOMPARE(asked, QStringList{"Are you sure you want to Save this Record?"});
    else if (command == "Delete")
        QCOMPARE(asked, QStringList{"Are you sure you want to Delete this Record?"});
    else
        QVERIFY2(asked.isEmpty(), qPrintable(asked.join(',')));
    if (command == "New")
        QVERIFY2(keyText() != before || window == "part lines", qPrintable(keyText()));
    if (command == "New" && window == "part lines")
        QCOMPARE(keyText(), QString());
    if (command == "Refresh")
        QCOMPARE(keyText(), before);
}

void TestCounter::escapeClosesAHistory()
{
    TestShop shop;
    shop.exec("Insert into Part (ID_Material, Color_Material) values (1, 'P1')");
    auto& windows = shop.longLived();
    bool closed = false;
    QTimer::singleShot(0, [&] {
        QWidget* history = windows.partOrderHistory.get();
        QTRY_VERIFY(history->isVisible());
        QApplication::setActiveWindow(history);
        QTest::keyClick(history, Qt::Key_Escape);
        closed = !history->isVisible();
        if (!closed)
            history->close();
    });
    windows.partOrderHistory->showFor(QStringLiteral("P1"));
    QVERIFY(closed);
}

QTEST_MAIN(TestCounter)
#include "tst_counter.moc"
