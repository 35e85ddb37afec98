#include "TestShop.h"
#include "Ui.h"
#include "app/TMainForm.h"
#include "data/Query.h"
#include "data/TDM.h"
#include "invoicing/TInvoice.h"
#include "printing/PreparedReport.h"
#include "receivables/PaymentHistories.h"
#include "receivables/TReceivable.h"
#include "ui/common/DataGrid.h"
#include "ui/common/Navigator.h"
#include "ui/common/Windows.h"

#include <QComboBox>
#include <QDate>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {
const QString saveQuestion = QStringLiteral("Are you sure you want to Save this Record?");
const QString dots = QString(30, QLatin1Char('.'));

void addInvoice(TestShop& shop, int number, const QString& customer, double amount)
{
    shop.exec("Insert into Invoice (InvoiceNo_Inv, CustomerName_Inv, Amount_Inv, Paid_Inv, "
              "InvoiceDate_Inv, Tax_Inv) values (?,?,?,No,#3/2/2026#,'No')",
              {number, customer, amount});
}

void addPayment(TestShop& shop, int invoice, const QString& ref, double amount,
                const QString& name = "Acme Freight", const QString& date = "2026-03-05")
{
    shop.exec("Insert into Receivable (InvoiceNo_Receivable, Name_Receivable, "
              "ViaPayment_Receivable, PayDate_Receivable, Ref_Receivable, DepositTo_Receivable, "
              "Amount_Receivable) values (?,?,'Check',?,?,'Chase',?)",
              {invoice, name, date, ref, amount});
}

int payments(TestShop& shop)
{
    return shop.value("Select Count(*) From Receivable").toInt();
}

QString figure(QWidget* w, const QString& name)
{
    return ui::find<QLabel>(w, name)->text();
}

// A payment window opened as the RECEIVABLE task button opens it.
TReceivable* openPayments(TestShop& shop)
{
    TMainForm* mainForm = shop.mainFormWithTasks();
    ui::click(mainForm, "SpeedButton12");
    auto* window = qobject_cast<TReceivable*>(ui::newestChild(mainForm));
    if (!window)
        throw std::runtime_error("no payment window");
    return window;
}

QLineEdit* box(QWidget* w, const QString& name)
{
    return ui::find<QLineEdit>(w, name);
}

QComboBox* combo(QWidget* w, const QString& name)
{
    return ui::find<QComboBox>(w, name);
}

// Types a whole payment and saves it, answering Yes.
void enterPayment(TestShop& shop, TReceivable* w, const QString& invoice, const QString& ref,
                  const QString& amount, const QString& date = "3/9/2026")
{
    ui::type(box(w, "Edit1"), invoice);
    ui::type(box(w, "Edit3"), ref);
    ui::type(box(w, "Edit4"), amount);
    ui::type(box(w, "Edit2"), date);
    shop.prompter().answer({true});
    ui::click(w, "Button1");
}

template<class Window>
Window* newest(TestShop& shop)
{
    return ui::newest<Window>(shop.mainForm());
}
} // namespace

class TestReceivables : public QObject
{
    Q_OBJECT

private slots:
    void invoiceLookUpShowsFigures_data();
    void invoiceLookUpShowsFigures();
    void halfTypedOrUnknownInvoice_data();
    void halfTypedOrUnknownInvoice();
    void referenceLookUpLoadsPayment();
    void saveReplacesOrAdds_data();
    void saveReplacesOrAdds();
    void moreThanTheBalanceAsksFirst();
    void saveRefusesBeforeTheQuestion_data();
    void saveRefusesBeforeTheQuestion();
    void savedValuesAreTyped();
    void clearingAfterSaveLoadsNothing();
    void finderFillsItsOpenerOnly();
    void historyDeletesExactlyOneRow_data();
    void historyDeletesExactlyOneRow();
    void listTotalSortAndDelete();
    void listKeepsItsOwnRows();
    void listPrintout();
    void invoiceWindowButtons();
};

void TestReceivables::invoiceLookUpShowsFigures_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<QList<double>>("paid");
    QTest::addColumn<QString>("paidText");
    QTest::addColumn<QString>("balance");
    QTest::addColumn<QString>("proposed");

    QTest::newRow("500 with 200 and 100") << 500.0 << QList<double>{200, 100} << "300"
                                          << "200"
                                          << "200.00";
    QTest::newRow("80.5 unpaid") << 80.5 << QList<double>{} << "0.00"
                                 << "80.5"
                                 << "80.5";
    QTest::newRow("10.10 + 20.20") << 50.0 << QList<double>{10.10, 20.20} << "30.3"
                                   << "19.7"
                                   << "19.70";
    QTest::newRow("overpaid: nothing more is owed") << 100.0 << QList<double>{150} << "150"
                                                    << "-50"
                                                    << "0.00";
}

void TestReceivables::invoiceLookUpShowsFigures()
{
    QFETCH(double, amount);
    QFETCH(QList<double>, paid);
    QFETCH(QString, paidText);
    QFETCH(QString, balance);
    QFETCH(QString, proposed);
    TestShop shop;
    addInvoice(shop, 41, "O'Hara Trucking", amount);
    for (int i = 0; i < paid.size(); ++i)
        addPayment(shop, 41, QString::number(i), paid.at(i));
    TReceivable* w = openPayments(shop);
    ui::type(box(w, "Edit1"), "41");
    QCOMPARE(figure(w, "Label9"), QStringLiteral("O'Hara Trucking"));
    QCOMPARE(combo(w, "ComboBox1")->currentText(), QStringLiteral("O'Hara Trucking"));
    QCOMPARE(figure(w, "Label14"), paidText);
    QCOMPARE(figure(w, "Label16"), balance);
    // What is still owed is proposed; the whole amount while nothing is paid.
    QCOMPARE(box(w, "Edit4")->text(), proposed);
    QCOMPARE(box(w, "Edit2")->text(), QDate::currentDate().toString("M/d/yyyy"));
    QVERIFY(shop.prompter().messages().isEmpty());
}

void TestReceivables::halfTypedOrUnknownInvoice_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("letters while typing") << "41a";
    QTest::newRow("a sign alone") << "-";
    QTest::newRow("no such invoice") << "999";
    QTest::newRow("a statement's words") << "41 or 1=1";
}

void TestReceivables::halfTypedOrUnknownInvoice()
{
    QFETCH(QString, typed);
    TestShop shop;
    addInvoice(shop, 41, "Acme Freight", 500);
    TReceivable* w = openPayments(shop);
    ui::type(combo(w, "ComboBox3"), "Chase");
    ui::type(box(w, "Edit1"), "41");
    QCOMPARE(figure(w, "Label11"), QStringLiteral("500"));
    ui::type(box(w, "Edit1"), typed);
    // No error box on any key; the form says there is no such invoice.
    QVERIFY2(shop.prompter().messages().isEmpty(), qPrintable(shop.prompter().last()));
    QCOMPARE(box(w, "Edit1")->text(), typed);
    QCOMPARE(figure(w, "Label9"), QString());
    QCOMPARE(figure(w, "Label11"), QString());
    QCOMPARE(figure(w, "Label14"), QStringLiteral("0.00"));
    QCOMPARE(figure(w, "Label16"), QStringLiteral("0.00"));
    QCOMPARE(box(w, "Edit4")->text(), QStringLiteral("0.00"));
    QCOMPARE(combo(w, "ComboBox1")->currentText(), QString());
    // The account the money goes to stays.
    QCOMPARE(combo(w, "ComboBox3")->currentText(), QStringLiteral("Chase"));
}

void TestReceivables::referenceLookUpLoadsPayment()
{
    TestShop shop;
    addInvoice(shop, 41, "Acme Freight", 500);
    addPayment(shop, 41, "CHK'7", 125.5, "Acme Freight", "2026-02-14");
    shop.exec("Update Receivable Set Remark_Receivable='first half', "
              "DepositTo_Receivable='Old Bank', ViaPayment_Receivable='Cash'");
    TReceivable* w = openPayments(shop);
    ui::type(combo(w, "ComboBox3"), "Chase");
    ui::type(box(w, "Edit1"), "41");
    ui::type(box(w, "Edit3"), "CHK'7");
    QCOMPARE(figure(w, "Label12"), QStringLiteral("It has Receivable"));
    QCOMPARE(box(w, "Edit4")->text(), QStringLiteral("125.5"));
    QCOMPARE(box(w, "Edit2")->text(), QStringLiteral("2/14/2026"));
    QCOMPARE(combo(w, "ComboBox2")->currentText(), QStringLiteral("Cash"));
    QCOMPARE(ui::find<QPlainTextEdit>(w, "Memo1")->toPlainText(), QStringLiteral("first half"));
    // "Deposit To" is not loaded with the payment.
    QCOMPARE(combo(w, "ComboBox3")->currentText(), QStringLiteral("Chase"));
    ui::type(box(w, "Edit3"), "CHK'8");
    QCOMPARE(figure(w, "Label12"), dots);
    // The note follows the invoice: another invoice has no payment under this reference.
    addInvoice(shop, 42, "Zephyr Lines", 80);
    ui::type(box(w, "Edit3"), "CHK'7");
    QCOMPARE(figure(w, "Label12"), QStringLiteral("It has Receivable"));
    ui::type(box(w, "Edit1"), "42");
    QCOMPARE(figure(w, "Label12"), dots);
    QCOMPARE(box(w, "Edit4")->text(), QStringLiteral("80"));
    QVERIFY(shop.prompter().messages().isEmpty());
    // Delete and Cancel are shown disabled: payments go from the lists, nothing is written
    // before Save.
    QVERIFY(!ui::find<QPushButton>(w, "Button3")->isEnabled());
    QVERIFY(!ui::find<QPushButton>(w, "Button7")->isEnabled());
}

void TestReceivables::saveReplacesOrAdds_data()
{
    QTest::addColumn<QString>("firstRef");
    QTest::addColumn<QString>("secondRef");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("paid");
    QTest::newRow("same reference replaces") << "101"
                                             << "101" << QStringList{"101"} << "75";
    QTest::newRow("new reference adds") << "101"
                                        << "102" << QStringList{"101", "102"} << "275";
    QTest::newRow("other letter case replaces, as typed")
        << "chk a"
        << "CHK A" << QStringList{"CHK A"} << "75";
    // A payment without a reference is one of its own: it never replaces another.
    QTest::newRow("two without a reference add") << ""
                                                 << "" << QStringList{"", ""} << "275";
}

void TestReceivables::saveReplacesOrAdds()
{
    QFETCH(QString, firstRef);
    QFETCH(QString, secondRef);
    QFETCH(QStringList, stored);
    QFETCH(QString, paid);
    TestShop shop;
    addInvoice(shop, 41, "Acme Freight", 500);
    TReceivable* w = openPayments(shop);
    enterPayment(shop, w, "41", firstRef, "200", "3/9/2026");
    QCOMPARE(shop.prompter().texts(), (QStringList{saveQuestion, "Saved!"}));
    enterPayment(shop, w, "41", secondRef, "75", "3/20/2026");
    QStringList refs;
    for (const QVariantList& row :
         shop.rows("Select Ref_Receivable From Receivable Order By Ref_Receivable"))
        refs.append(row.first().toString());
    QCOMPARE(refs, stored);
    ui::type(box(w, "Edit1"), "41");
    QCOMPARE(figure(w, "Label14"), paid);
    // An updated payment is found by a period on its new date, and only by that.
    Query* q = TestShop::query("Q1");
    q->setSql({"Select Count(*) From Receivable where PayDate_Receivable Between #3/15/2026# And "
               "#3/31/2026#"});
    q->open();
    QCOMPARE(q->field("Expr1000").asInteger(), qint64(1));
    QCOMPARE(
        shop.value("Select Count(*) From Receivable where PayDate_Receivable='2026-03-20'").toInt(),
        1);
}

void TestReceivables::moreThanTheBalanceAsksFirst()
{
    TestShop shop;
    addInvoice(shop, 41, "Acme Freight", 663.53);
    addPayment(shop, 41, "CHK 1", 300);
    TReceivable* w = openPayments(shop);
    ui::type(box(w, "Edit1"), "41");
    QCOMPARE(box(w, "Edit4")->text(), QStringLiteral("363.53"));
    // More than is owed: asked, naming both figures; No stores nothing.
    ui::type(box(w, "Edit3"), "CHK 2");
    ui::type(box(w, "Edit4"), "663.53");
    shop.prompter().answer({true, false});
    ui::click(w, "Button1");
    const QString question = QStringLiteral("This payment of $663.53 is more than the balance of "
                                            "$363.53 still owed on invoice 41. Save it anyway?");
    QCOMPARE(shop.prompter().texts(), (QStringList{saveQuestion, question}));
    QCOMPARE(payments(shop), 1);
    shop.prompter().clear();
    shop.prompter().answer({true, true});
    ui::click(w, "Button1");
    QCOMPARE(shop.prompter().texts(), (QStringList{saveQuestion, question, "Saved!"}));
    QCOMPARE(payments(shop), 2);
    // A payment changed to what the balance before it covers is not asked about: its own
    // stored amount no longer counts.
    ui::type(box(w, "Edit1"), "41");
    ui::type(box(w, "Edit3"), "CHK 2");
    QCOMPARE(box(w, "Edit4")->text(), QStringLiteral("663.53"));
    ui::type(box(w, "Edit4"), "363.53");
    shop.prompter().clear();
    shop.prompter().answer({true});
    ui::click(w, "Button1");
    QCOMPARE(shop.prompter().texts(), (QStringList{saveQuestion, "Saved!"}));
    QCOMPARE(shop.rows("Select Ref_Receivable, Amount_Receivable From Receivable Order By 1"),
             (QList<QVariantList>{{"CHK 1", 300.0}, {"CHK 2", 363.53}}));
}

void TestReceivables::saveRefusesBeforeTheQuestion_data()
{
    QTest::addColumn<QString>("invoice");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("named");
    QTest::newRow("amount in words") << "41"
                                     << "abc"
                                     << "3/9/2026"
                                     << "Amount";
    QTest::newRow("empty amount") << "41"
                                  << ""
                                  << "3/9/2026"
                                  << "Amount";
    QTest::newRow("not a date") << "41"
                                << "10"
                                << "13/45/2026"
                                << "Pay Date";
    QTest::newRow("no date") << "41"
                             << "10"
                             << ""
                             << "Pay Date";
    QTest::newRow("invoice with letters") << "41a"
                                          << "10"
                                          << "3/9/2026"
                                          << "Invoice";
}

void TestReceivables::saveRefusesBeforeTheQuestion()
{
    QFETCH(QString, invoice);
    QFETCH(QString, amount);
    QFETCH(QString, date);
    QFETCH(QString, named);
    TestShop shop;
    addInvoice(shop, 41, "Acme Freight", 500);
    TReceivable* w = openPayments(shop);
    enterPayment(shop, w, invoice, "101", amount, date);
    QCOMPARE(shop.prompter().texts(ScriptedPrompter::Kind::Confirm), QStringList());
    QCOMPARE(shop.prompter().texts(ScriptedPrompter::Kind::Error).size(), 1);
    QVERIFY2(shop.prompter().last().startsWith(named), qPrintable(shop.prompter().last()));
    QCOMPARE(payments(shop), 0);
    // The form keeps what was typed, to be corrected.
    QCOMPARE(box(w, "Edit4")->text(), amount);
}

void TestReceivables::savedValuesAreTyped()
{
    TestShop shop;
    TReceivable* w = openPayments(shop);
    // Save does not check that the invoice exists; the amount with a thousands comma is a
    // number, and names and references keep their apostrophes.
    ui::type(box(w, "Edit1"), "777");
    ui::type(combo(w, "ComboBox1"), "O'Neil's Haulage");
    ui::type(box(w, "Edit3"), "it's 5");
    ui::type(box(w, "Edit4"), "1,234.50");
    ui::type(box(w, "Edit2"), "12/1/2026");
    shop.prompter().answer({true});
    ui::click(w, "Button1");
    const QVariantList row =
        shop.row("Select InvoiceNo_Receivable, Name_Receivable, Ref_Receivable, "
                 "typeof(Amount_Receivable), Amount_Receivable, PayDate_Receivable From "
                 "Receivable");
    QCOMPARE(row, (QVariantList{777, "O'Neil's Haulage", "it's 5", "real", 1234.5, "2026-12-01"}));
    // No answers Yes: the form keeps what was typed and nothing is written.
    ui::type(box(w, "Edit1"), "778");
    ui::type(box(w, "Edit4"), "5");
    shop.prompter().answer({false});
    ui::click(w, "Button1");
    QCOMPARE(payments(shop), 1);
    QCOMPARE(box(w, "Edit1")->text(), QStringLiteral("778"));
}

void TestReceivables::clearingAfterSaveLoadsNothing()
{
    TestShop shop;
    addInvoice(shop, 41, "Acme Freight", 500);
    // A payment with no reference would be loaded by a reference look-up on the cleared box.
    addPayment(shop, 41, "", 10);
    TReceivable* w = openPayments(shop);
    ui::type(combo(w, "ComboBox3"), "Chase");
    enterPayment(shop, w, "41", "101", "200");
    QCOMPARE(box(w, "Edit1")->text(), QString());
    QCOMPARE(box(w, "Edit3")->text(), QString());
    QCOMPARE(box(w, "Edit4")->text(), QStringLiteral("0.00"));
    QCOMPARE(combo(w, "ComboBox1")->currentText(), QString());
    QCOMPARE(figure(w, "Label9"), QString());
    QCOMPARE(figure(w, "Label11"), QStringLiteral("0.00"));
    QCOMPARE(figure(w, "Label16"), QStringLiteral("0.00"));
    // "Paid" keeps the last invoice's sum, read before the payment was saved.
    QCOMPARE(figure(w, "Label14"), QStringLiteral("10"));
    QCOMPARE(figure(w, "Label12"), dots);
    QCOMPARE(combo(w, "ComboBox3")->currentText(), QStringLiteral("Chase"));
    QVERIFY(box(w, "Edit1")->hasFocus() || !w->isActiveWindow());
    // New clears the same way and keeps the account.
    ui::type(box(w, "Edit1"), "41");
    ui::click(w, "Button2");
    QCOMPARE(box(w, "Edit1")->text(), QString());
    QCOMPARE(box(w, "Edit4")->text(), QStringLiteral("0.00"));
    QCOMPARE(combo(w, "ComboBox3")->currentText(), QStringLiteral("Chase"));
    QCOMPARE(payments(shop), 2);
}

void TestReceivables::finderFillsItsOpenerOnly()
{
    TestShop shop;
    addInvoice(shop, 52, "Acme Freight", 500);
    addInvoice(shop, 41, "Zephyr Lines", 90);
    addInvoice(shop, 60, "Mid State", 10);
    TReceivable* first = openPayments(shop);
    ui::click(first, "SpeedButton1");
    auto* finder = newest<TReceivableFind>(shop);
    QCOMPARE(ui::rowCount(finder->grid()), 3);
    // Sorted by number when shown; a click on the name's title sorts on it; other titles do
    // not sort.
    QCOMPARE(ui::cell(finder->grid(), 0, 0), QStringLiteral("41"));
    const int name = finder->query()->columnIndex("CustomerName_Inv");
    emit finder->grid()->titleClicked(name);
    QCOMPARE(ui::cell(finder->grid(), 0, name), QStringLiteral("Acme Freight"));
    emit finder->grid()->titleClicked(finder->query()->columnIndex("Amount_Inv"));
    QCOMPARE(ui::cell(finder->grid(), 0, name), QStringLiteral("Acme Freight"));
    emit finder->grid()->titleClicked(0);
    TReceivable* second = openPayments(shop);
    finder->query()->setCurrentRow(1);
    emit finder->grid()->doubleClicked(finder->grid()->model()->index(1, 0));
    ui::settle();
    // The pick went into the window that opened the finder, not the newest one.
    QCOMPARE(box(first, "Edit1")->text(), QStringLiteral("52"));
    QCOMPARE(figure(first, "Label9"), QStringLiteral("Acme Freight"));
    QCOMPARE(figure(first, "Label11"), QStringLiteral("500"));
    QCOMPARE(box(second, "Edit1")->text(), QString());
    QVERIFY(!shop.mainForm()->findChild<QWidget*>("ReceivableFind"));

    // A finder whose payment window has closed fills nothing and stays usable.
    ui::click(second, "SpeedButton1");
    auto* orphan = newest<TReceivableFind>(shop);
    closeWindow(second);
    ui::settle();
    orphan->grid()->setFocus();
    ui::press(orphan->grid(), Qt::Key_Return);
    ui::settle();
    QVERIFY(shop.prompter().messages().isEmpty());
    QCOMPARE(box(first, "Edit1")->text(), QStringLiteral("52"));
}

void TestReceivables::historyDeletesExactlyOneRow_data()
{
    QTest::addColumn<QStringList>("refs");
    QTest::addColumn<QString>("deleted");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("two payments, one deleted")
        << QStringList{"A1", "B2"} << "A1" << QStringList{"B2"};
    QTest::newRow("identical rows stay as one")
        << QStringList{"A1", "A1"} << "A1" << QStringList{"A1"};
    QTest::newRow("letter case tells apart")
        << QStringList{"a1", "A1"} << "a1" << QStringList{"A1"};
    QTest::newRow("apostrophes") << QStringList{"it's", "B2"} << "it's" << QStringList{"B2"};
}

void TestReceivables::historyDeletesExactlyOneRow()
{
    QFETCH(QStringList, refs);
    QFETCH(QString, deleted);
    QFETCH(QStringList, left);
    TestShop shop;
    addInvoice(shop, 41, "Acme Freight", 500);
    for (const QString& ref : refs)
        addPayment(shop, 41, ref, 100);
    addPayment(shop, 42, refs.first(), 100);
    TReceivable* w = openPayments(shop);
    ui::type(box(w, "Edit1"), "41");
    ui::click(w, "Button5");
    auto* history = newest<TReceivableHistory>(shop);
    QCOMPARE(history->windowTitle(), QStringLiteral("ReceivableHistory"));
    QCOMPARE(ui::rowCount(history->grid()), refs.size());
    QCOMPARE(ui::title(history->grid(), 6), QStringLiteral("Amount $"));
    history->query()->setCurrentRow(history->query()->findRow("Ref_Receivable", deleted));
    shop.prompter().answer({true});
    ui::click(ui::find<Navigator>(history, "DBNavigator1")->button("Delete"));
    QCOMPARE(shop.prompter().texts(), QStringList{"Delete record?"});
    QStringList stored;
    for (const QVariantList& row :
         shop.rows("Select Ref_Receivable From Receivable where InvoiceNo_Receivable=41"))
        stored.append(row.first().toString());
    QCOMPARE(stored, left);
    QCOMPARE(shop.value("Select Count(*) From Receivable where InvoiceNo_Receivable=42").toInt(),
             1);
    QCOMPARE(ui::rowCount(history->grid()), left.size());
    // Reopened, the history shows what is left.
    ui::click(w, "Button5");
    QCOMPARE(ui::rowCount(newest<TReceivableHistory>(shop)->grid()), left.size());
}

void TestReceivables::listTotalSortAndDelete()
{
    TestShop shop;
    addPayment(shop, 41, "A1", 10.10);
    addPayment(shop, 43, "C3", 20.20);
    addPayment(shop, 42, "B2", 300);
    TReceivable* w = openPayments(shop);
    ui::click(w, "List");
    auto* list = newest<TReceivableList>(shop);
    QCOMPARE(figure(list, "Label2"), QStringLiteral("330.3"));
    QCOMPARE(ui::rowCount(list->grid()), 3);
    // A title click sorts on its column; the sum does not depend on the order.
    QTest::mouseClick(list->grid()->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(list->grid()->horizontalHeader()->sectionViewportPosition(0) + 5, 5));
    QCOMPARE(ui::cell(list->grid(), 0, 0), QStringLiteral("41"));
    QCOMPARE(ui::cell(list->grid(), 2, 0), QStringLiteral("43"));
    // The total follows a delete made with the navigator.
    list->query()->setCurrentRow(2);
    shop.prompter().answer({true});
    ui::click(ui::find<Navigator>(list, "DBNavigator1")->button("Delete"));
    QCOMPARE(figure(list, "Label2"), QStringLiteral("310.1"));
    QCOMPARE(ui::cell(list->grid(), 1, 0), QStringLiteral("42"));
    // Declined, nothing goes.
    shop.prompter().answer({false});
    ui::click(ui::find<Navigator>(list, "DBNavigator1")->button("Delete"));
    QCOMPARE(payments(shop), 2);
}

void TestReceivables::listKeepsItsOwnRows()
{
    TestShop shop;
    addInvoice(shop, 41, "Acme Freight", 500);
    addPayment(shop, 41, "A1", 10);
    addPayment(shop, 42, "B2", 20);
    TReceivable* w = openPayments(shop);
    ui::click(w, "List");
    auto* list = newest<TReceivableList>(shop);
    ui::type(box(w, "Edit1"), "41");
    ui::type(box(w, "Edit3"), "A1");
    ui::click(w, "Button5");
    auto* history = newest<TReceivableHistory>(shop);
    QCOMPARE(ui::rowCount(history->grid()), 1);
    // The look-ups and the history never change what the list shows, deletes or prints.
    QCOMPARE(ui::rowCount(list->grid()), 2);
    QCOMPARE(list->query()->columnName(0), QStringLiteral("InvoiceNo_Receivable"));
    const PreparedReport report = TReceivableList::prepareReport(list->query());
    QVERIFY(report.text().contains("B2"));
    // Payments saved elsewhere reach the list when it is opened again.
    enterPayment(shop, w, "41", "C3", "5");
    QCOMPARE(ui::rowCount(list->grid()), 2);
    ui::click(w, "List");
    QCOMPARE(ui::rowCount(newest<TReceivableList>(shop)->grid()), 3);
}

void TestReceivables::listPrintout()
{
    TestShop shop;
    // Enough payments for a second page.
    for (int i = 0; i < 60; ++i)
        addPayment(shop, 1000 + i, QString("R%1").arg(i), 10.5, "O'Hara Trucking");
    shop.exec("Update Receivable Set Chart_Receivable='Sales', SubChart_Receivable='Parts'");
    QList<PreparedReport> previews;
    TReceivableList list([&](const PreparedReport& report) { previews.append(report); });
    list.show();
    ui::settle();
    ui::click(&list, "PrintButton");
    QCOMPARE(previews.size(), 1);
    const PreparedReport& report = previews.first();
    QVERIFY(report.pageCount() >= 2);
    const QString first = report.pageText(0);
    for (const char* text :
         {"Reveivable List", "Invoice No", "Customer Name", "Pay Date", "Via Payment",
          "Chart of Acount", "O'Hara Trucking", "Sales", "Parts", "3/5/2026"})
        QVERIFY2(first.contains(QLatin1String(text)), text);
    // The heads only on the first page; the page number on every page; the total after the
    // last row covers every printed row.
    const QString last = report.pageText(report.pageCount() - 1);
    QVERIFY(!last.contains("Invoice No"));
    QVERIFY(first.contains("\n1") || first.endsWith("1"));
    QVERIFY(last.contains(QString::number(report.pageCount())));
    QVERIFY2(last.contains("Total  Amount   : 630"), qPrintable(last));
    QTemporaryDir dir;
    const QString pdf = dir.filePath("list.pdf");
    QCOMPARE(report.exportPdf(pdf), QString());
    QVERIFY(QFileInfo(pdf).size() > 1000);
}

void TestReceivables::invoiceWindowButtons()
{
    TestShop shop;
    addInvoice(shop, 41, "Acme Freight", 500);
    addPayment(shop, 41, "A1", 200);
    TMainForm* mainForm = shop.mainFormWithTasks();
    ui::click(mainForm, "SpeedButton6");
    auto* invoice = newest<TInvoice>(shop);
    QCOMPARE(invoice->text("InvoiceNo_Inv"), QStringLiteral("41"));
    QCOMPARE(figure(invoice, "Label19"), QStringLiteral("200"));
    ui::click(invoice, "Button10");
    auto* history = newest<TInvoiceHistory>(shop);
    QCOMPARE(history->windowTitle(), QStringLiteral("InvoiceHistory"));
    QCOMPARE(ui::rowCount(history->grid()), 1);
    ui::click(invoice, "Button11");
    auto* payment = newest<TReceivable>(shop);
    QCOMPARE(box(payment, "Edit1")->text(), QStringLiteral("41"));
    QCOMPARE(figure(payment, "Label16"), QStringLiteral("300"));
    enterPayment(shop, payment, "41", "B2", "300");
    // Back in the invoice window, "Paid $ :" follows the new payment; the invoice stays open
    // although it is paid in full.
    invoice->grid()->setFocus();
    ui::settle();
    QCOMPARE(figure(invoice, "Label19"), QStringLiteral("500"));
    QCOMPARE(ui::rowCount(invoice->grid()), 1);
    QCOMPARE(shop.value("Select Paid_Inv From Invoice").toInt(), 0);
}

QTEST_MAIN(TestReceivables)
#include "tst_receivables.moc"
