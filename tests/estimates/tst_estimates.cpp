#include "CatalogueRows.h"
#include "Pdf.h"
#include "TestShop.h"
#include "Ui.h"
#include "app/TMainForm.h"
#include "app/Tasks.h"
#include "data/Connection.h"
#include "data/DatabaseTarget.h"
#include "data/DbError.h"
#include "data/Query.h"
#include "data/TDM.h"
#include "estimates/TEstimate.h"
#include "estimates/TEstimateFind.h"
#include "estimates/TEstimateItem.h"
#include "estimates/TEstimateLabor.h"
#include "invoicing/TInvItem.h"
#include "invoicing/TInvPartFind.h"
#include "invoicing/TInvoice.h"
#include "printing/PreparedReport.h"
#include "receivables/PaymentHistories.h"
#include "receivables/TReceivable.h"
#include "stores/SalesStore.h"
#include "ui/common/DataGrid.h"
#include "ui/common/Windows.h"
#include "ui/documents/LinePanel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>

namespace {
const QString saveQuestion = QStringLiteral("Are you sure you want to Save this Record?");

void addEstimate(TestShop& shop, int number, const QString& customer, const QString& date,
                 double amount = 0, const QString& tax = "Yes")
{
    shop.exec("Insert into Estimate (InvoiceNo_Inv, CustomerName_Inv, InvoiceDate_Inv, "
              "Amount_Inv, Paid_Inv, Tax_Inv, DueDate_Inv) values (?,?,?,?,No,?,?)",
              {number, customer, date, amount, tax, date});
}

void addPartLine(TestShop& shop, int estimate, const QString& partNo, double qty, double rate,
                 const QString& name = "Oil filter")
{
    shop.exec("Insert into EstimateItem values (?,'m',?,'s',?,?,?,?)",
              {name, qty, partNo, rate, qty * rate, estimate});
}

void addLaborLine(TestShop& shop, int estimate, const QString& description, double amount)
{
    shop.exec("Insert into EstimateLabor values (?,'E1',1,?,?,'',?)",
              {description, amount, amount, estimate});
}

QString label(QWidget* w, const QString& name)
{
    return ui::find<QLabel>(w, name)->text();
}

QLineEdit* box(QWidget* w, const QString& name)
{
    return ui::find<QLineEdit>(w, name);
}

template<class Window>
Window* newest(TestShop& shop)
{
    return ui::newest<Window>(shop.mainForm());
}

// Estimate 7 of a hand-worked job: every header box filled, two part lines and a labor line,
// and a payment taken on the estimate.
void addWorkedEstimate(TestShop& shop)
{
    shop.exec("Insert into Estimate (InvoiceNo_Inv, CustomerName_Inv, RepairPerson_Inv, "
              "InvoiceDate_Inv, PO_Inv, Amount_Inv, LicenseNo_Inv, EntryDate_Inv, Remark_Inv, "
              "Paid_Inv, JobLocation_Inv, DueDate_Inv, Vin_Inv, TruckNo_Inv, Mileage_Inv, "
              "Make_Inv, Model_Inv, Year_Inv, Plate_Inv, Tax_Inv) values (7, 'Fleet O''Hara', "
              "'Dan', #11/2/2026#, 'Pat Contact', 293.15, 'DL-55', #11/2/2026#, 'Brakes all "
              "round', Yes, '12 Dock Rd', #11/30/2026#, '1FUJGLDR9CLBP8834', 'T-12', '412,300', "
              "'Freightliner', 'Cascadia', '2012', 'IL 88 123', 'Yes')");
    addPartLine(shop, 7, "BP-1", 2, 45.5, "Brake pad set");
    addPartLine(shop, 7, "DR-2", 1, 120.0, "Brake drum");
    addLaborLine(shop, 7, "Brake job", 82.15);
    shop.exec("Insert into EstimateReceivable (InvoiceNo_Receivable, Amount_Receivable) values "
              "(7, 100)");
}

QList<QVariantList> invoiceLines(TestShop& shop, qint64 invoice)
{
    return shop.rows("Select Name_Item, Color_Item, Qty_Item, Rate_Item, Amount_Item From "
                     "InvItem where Inv_Item = ? Order By tavlin_row",
                     {invoice});
}

TEstimate* openEstimates(TestShop& shop)
{
    ui::click(shop.mainFormWithTasks(), "SpeedButton15");
    return newest<TEstimate>(shop);
}
} // namespace

class TestEstimates : public QObject
{
    Q_OBJECT

private slots:
    void makeInvoiceCopiesTheEstimate();
    void makeInvoiceAgainAsksFirst();
    void twoStationsMakeOneInvoice();
    void makeInvoiceFromTheWindow();
    void taxByMonth_data();
    void taxByMonth();
    void newNumbersApartFromInvoices();
    void paymentsOfEstimatesStayApart();
    void archiveRefusesANumberTheArchiveHolds();
    void partLinesAndPicker_data();
    void partLinesAndPicker();
    void storedLineKeepsItsOwnValues();
    void laborLinesFollowTheGrid();
    void invoicePickerWritesNothingHere();
    void printout_data();
    void printout();
};

void TestEstimates::taxByMonth_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("tax");
    QTest::addColumn<QString>("total");
    QTest::newRow("March at 5 %") << "2026-03-10"
                                  << "Yes"
                                  << "145";
    QTest::newRow("August at 6 %") << "2026-08-10"
                                   << "Yes"
                                   << "146";
    QTest::newRow("uncovered month untaxed") << "2025-03-10"
                                             << "Yes"
                                             << "140";
    QTest::newRow("not taxed") << "2026-08-10"
                               << "No"
                               << "140";
}

void TestEstimates::taxByMonth()
{
    QFETCH(QString, date);
    QFETCH(QString, tax);
    QFETCH(QString, total);
    TestShop shop;
    shop.exec("Insert into Tax values (1, 2026, 1, 6, 0.05)");
    shop.exec("Insert into Tax values (2, 2026, 7, 12, 0.06)");
    // 2025 has a row that covers only December: March of 2025 is untaxed.
    shop.exec("Insert into Tax values (3, 2025, 12, 12, 0.09)");
    addEstimate(shop, 7, "O'Hara Trucking", date, 145, tax);
    addPartLine(shop, 7, "P1", 1, 100);
    addLaborLine(shop, 7, "Brake job", 40);
    TEstimate* w = openEstimates(shop);
    QCOMPARE(w->windowTitle(), QStringLiteral("Estimate"));
    QCOMPARE(w->text("CustomerName_Inv"), QStringLiteral("O'Hara Trucking"));
    QCOMPARE(label(w, "Label14"), total);
    QCOMPARE(label(w, "Label17"), total == QLatin1String("145")
                                      ? QString(22, QLatin1Char('.'))
                                      : QStringLiteral("Estimate is not Balance"));
}

void TestEstimates::newNumbersApartFromInvoices()
{
    TestShop shop;
    shop.exec("Insert into Invoice (InvoiceNo_Inv, Paid_Inv) values (50, No)");
    shop.exec("Insert into InvoiceCash (InvoiceNo_Inv) values (60)");
    addEstimate(shop, 1, "Acme", "2026-03-10");
    addEstimate(shop, 2, "Acme", "2026-03-10");
    TEstimate* w = openEstimates(shop);
    ui::click(w, "Button3");
    QCOMPARE(w->text("InvoiceNo_Inv"), QStringLiteral("3"));
    // A customer with an apostrophe is saved and listed.
    ui::type(ui::find<QComboBox>(w, "ComboBox1"), "O'Neil's Haulage");
    shop.prompter().answer({true});
    ui::click(w, "Button2");
    QCOMPARE(shop.value("Select CustomerName_Inv From Estimate where InvoiceNo_Inv=3").toString(),
             QStringLiteral("O'Neil's Haulage"));
    QCOMPARE(shop.value("Select Count(*) From Invoice").toInt(), 1);
}

void TestEstimates::paymentsOfEstimatesStayApart()
{
    TestShop shop;
    addEstimate(shop, 12, "Estimate Customer", "2026-03-10", 300);
    shop.exec("Insert into Invoice (InvoiceNo_Inv, CustomerName_Inv, Amount_Inv, Paid_Inv) "
              "values (12, 'Invoice Customer', 999, No)");
    shop.exec("Insert into Receivable (InvoiceNo_Receivable, Name_Receivable, Amount_Receivable) "
              "values (12, 'Invoice Customer', 40)");
    TEstimate* w = openEstimates(shop);
    // The invoice numbered 12 has its own payment; the estimate has none.
    QCOMPARE(label(w, "Label19"), QString());
    ui::click(w, "Button11");
    auto* payment = newest<TReceivable>(shop);
    // Opened from the estimate, the form shows the estimate's customer and amount.
    QCOMPARE(box(payment, "Edit1")->text(), QStringLiteral("12"));
    QCOMPARE(label(payment, "Label9"), QStringLiteral("Estimate Customer"));
    QCOMPARE(label(payment, "Label11"), QStringLiteral("300"));
    QCOMPARE(label(payment, "Label14"), QStringLiteral("0.00"));
    // Its finder lists the estimates.
    ui::click(payment, "SpeedButton1");
    auto* finder = newest<TReceivableFind>(shop);
    QCOMPARE(ui::rowCount(finder->grid()), 1);
    QCOMPARE(ui::cell(finder->grid(), 0, 1), QStringLiteral("Estimate Customer"));
    closeWindow(finder);
    ui::settle();
    ui::type(box(payment, "Edit3"), "CHK 1");
    ui::type(box(payment, "Edit4"), "120");
    shop.prompter().answer({true});
    ui::click(payment, "Button1");
    // A deposit on the estimate is the estimate's payment, apart from the invoices'.
    QCOMPARE(shop.row("Select InvoiceNo_Receivable, Name_Receivable, Amount_Receivable From "
                      "EstimateReceivable"),
             (QVariantList{12, "Estimate Customer", 120.0}));
    QCOMPARE(shop.rows("Select Amount_Receivable From Receivable"), (QList<QVariantList>{{40.0}}));
    w->grid()->setFocus();
    ui::settle();
    QCOMPARE(label(w, "Label19"), QStringLiteral("120"));
    // "Paid History" of the estimate lists its own payment alone.
    ui::click(w, "Button10");
    auto* history = newest<TInvoiceHistory>(shop);
    QCOMPARE(ui::rowCount(history->grid()), 1);
    QCOMPARE(ui::cell(history->grid(), 0, 1), QStringLiteral("Estimate Customer"));
    closeWindow(history);
    closeWindow(payment);
    closeWindow(w);
    ui::settle();
    // The invoice with the same number counts its own payment only.
    ui::click(shop.mainForm(), "SpeedButton6");
    QWidget* invoice = ui::newestChild(shop.mainForm());
    QCOMPARE(label(invoice, "Label19"), QStringLiteral("40"));
}

void TestEstimates::archiveRefusesANumberTheArchiveHolds()
{
    TestShop shop;
    addEstimate(shop, 12, "Acme", "2026-03-10");
    addEstimate(shop, 13, "Acme", "2026-03-10");
    addPartLine(shop, 12, "P1", 1, 10);
    addPartLine(shop, 13, "P1", 1, 10);
    shop.exec("Insert into EstimateCash (InvoiceNo_Inv, CustomerName_Inv) values (12, 'Archived')");
    // An archived invoice of the same number is another kind of document: no bar.
    shop.exec("Insert into InvoiceCash (InvoiceNo_Inv, CustomerName_Inv) values (13, 'Invoice')");
    TEstimate* w = openEstimates(shop);
    ui::type(box(w, "Edit11"), "Morvek");
    QCOMPARE(w->text("InvoiceNo_Inv"), QStringLiteral("12"));
    shop.prompter().answer({true});
    ui::click(w, "Button12");
    QVERIFY(shop.prompter().last().contains("Nothing was archived"));
    QCOMPARE(
        shop.value("Select CustomerName_Inv From EstimateCash where InvoiceNo_Inv=12").toString(),
        QStringLiteral("Archived"));
    QCOMPARE(shop.value("Select Count(*) From EstimateItem where Inv_Item=12").toInt(), 1);
    // Estimate 13 goes to the archive with its line and leaves every filter.
    w->listQuery()->setCurrentRow(1);
    emit w->grid()->cellClicked();
    QCOMPARE(w->text("InvoiceNo_Inv"), QStringLiteral("13"));
    ui::type(box(w, "Edit11"), "Morvek");
    shop.prompter().answer({true});
    ui::click(w, "Button12");
    // Into the estimates' own archive, beside the archived invoice 13.
    QCOMPARE(shop.value("Select Count(*) From EstimateItemCash where Inv_Item=13").toInt(), 1);
    QCOMPARE(shop.value("Select Count(*) From EstimateCash where InvoiceNo_Inv=13").toInt(), 1);
    QCOMPARE(shop.value("Select Count(*) From InvoiceCash where InvoiceNo_Inv=13").toInt(), 1);
    for (const char* filter : {"RadioButton1", "RadioButton2", "RadioButton3"}) {
        ui::click(w, filter);
        QVERIFY(w->listQuery()->findRow("InvoiceNo_Inv", "13") < 0);
    }
    // Delete takes estimate 12 out of every filter, with its lines, so that a later estimate
    // given the number does not inherit them.
    ui::click(w, "RadioButton1");
    QCOMPARE(w->text("InvoiceNo_Inv"), QStringLiteral("12"));
    shop.prompter().answer({true});
    ui::click(w, "Button4");
    for (const char* filter : {"RadioButton1", "RadioButton2", "RadioButton3"}) {
        ui::click(w, filter);
        QVERIFY(w->listQuery()->findRow("InvoiceNo_Inv", "12") < 0);
    }
    QCOMPARE(shop.value("Select Count(*) From EstimateItem where Inv_Item=12").toInt(), 0);
}

void TestEstimates::partLinesAndPicker_data()
{
    QTest::addColumn<double>("price");
    QTest::addColumn<QString>("rate");
    QTest::newRow("10 quoted at 12") << 10.0 << "12";
    QTest::newRow("9.99 quoted at 11.99") << 9.99 << "11.99";
}

void TestEstimates::partLinesAndPicker()
{
    QFETCH(double, price);
    QFETCH(QString, rate);
    TestShop shop;
    addEstimate(shop, 5, "Acme", "2026-03-10");
    addPart(shop, 1, "Oil filter", "LF-1", price);
    TEstimate* w = openEstimates(shop);
    ui::click(w, "Button6");
    auto* lines = newest<TEstimateItem>(shop);
    QCOMPARE(lines->windowTitle(), QStringLiteral("EstimateItem"));
    QCOMPARE(label(lines, "Label6"), QStringLiteral("5"));
    ui::click(lines, "Button2");
    ui::click(lines, "Button8");
    TEstimatePartFind* picker = shop.longLived().estimatePartFind.get();
    QVERIFY(picker->isVisible());
    picker->select();
    QCOMPARE(box(lines, "Edit5")->text(), rate);
    QCOMPARE(box(lines, "Edit4")->text(), QStringLiteral("LF-1"));
    // 3 x 12.5 = 37.5 when the rate box is left.
    ui::type(box(lines, "Edit2"), "3");
    ui::type(box(lines, "Edit5"), "12.5");
    lines->computeAmount();
    QCOMPARE(box(lines, "Edit6")->text(), QStringLiteral("37.5"));
    shop.prompter().answer({true});
    ui::click(lines, "Button1");
    // The saved line is shown: Save again changes it.
    ui::type(box(lines, "Edit2"), "4");
    lines->computeAmount();
    shop.prompter().answer({true});
    ui::click(lines, "Button1");
    QCOMPARE(shop.rows("Select Qty_Item, Amount_Item From EstimateItem"),
             (QList<QVariantList>{{4.0, 50.0}}));
    // Delete removes the line shown, not every line of its name.
    addPartLine(shop, 5, "LF-2", 1, 1, "Oil filter");
    addPartLine(shop, 5, "LF-3", 1, 1, "Air filter");
    ui::click(lines, "Button5");
    QCOMPARE(box(lines, "Edit4")->text(), QStringLiteral("LF-1"));
    shop.prompter().answer({true});
    ui::click(lines, "Button3");
    QCOMPARE(shop.rows("Select Name_Item, Color_Item From EstimateItem Order By Color_Item"),
             (QList<QVariantList>{{"Oil filter", "LF-2"}, {"Air filter", "LF-3"}}));
    shop.exec("Delete From EstimateItem where Color_Item = 'LF-2'");
    // Closing the line window reloads the parts total, not the estimate total.
    const QString totalBefore = label(w, "Label14");
    closeWindow(lines);
    ui::settle();
    QCOMPARE(w->lines()->panel("EstimateItem")->total()->text(), QStringLiteral("1"));
    QCOMPARE(label(w, "Label14"), totalBefore);
}

void TestEstimates::storedLineKeepsItsOwnValues()
{
    TestShop shop;
    addEstimate(shop, 5, "Acme", "2026-03-10");
    addPart(shop, 1, "Oil filter", "LF-1", 10);
    // Quoted at a rate the catalogue does not have.
    addPartLine(shop, 5, "LF-1", 2, 14.75);
    TEstimate* w = openEstimates(shop);
    ui::click(w, "Button6");
    auto* lines = newest<TEstimateItem>(shop);
    QCOMPARE(box(lines, "Edit5")->text(), QStringLiteral("14.75"));
    shop.prompter().answer({true});
    ui::click(lines, "Button1");
    QCOMPARE(shop.value("Select Rate_Item From EstimateItem").toDouble(), 14.75);
    // Values that are not numbers are refused before the question.
    shop.prompter().clear();
    ui::type(box(lines, "Edit2"), "two");
    ui::click(lines, "Button1");
    QCOMPARE(shop.prompter().texts(ScriptedPrompter::Kind::Confirm), QStringList());
    QVERIFY(shop.prompter().last().startsWith("Qty"));
}

void TestEstimates::laborLinesFollowTheGrid()
{
    TestShop shop;
    addEstimate(shop, 5, "Acme", "2026-03-10");
    addLaborLine(shop, 5, "Brake job", 40);
    addLaborLine(shop, 5, "O'Brien's alignment", 60);
    shop.exec("Insert into Labor values (1, 'O''Brien''s alignment', 'AL-1', 85, 'front')");
    TEstimate* w = openEstimates(shop);
    ui::click(w, "Button8");
    auto* lines = newest<TEstimateLabor>(shop);
    QCOMPARE(lines->windowTitle(), QStringLiteral("EstimateLabor"));
    // A click chooses the line the boxes show.
    lines->lines()->setCurrentRow(lines->lines()->findRow("Description_Labor", "Brake job"));
    emit lines->grid()->cellClicked();
    QCOMPARE(lines->text("Description_Labor"), QStringLiteral("Brake job"));
    // Typing a description brings it in from the catalogue; Save changes the chosen line.
    ui::type(ui::find<QComboBox>(lines, "ComboBox1"), "O'Brien's alignment");
    QCOMPARE(box(lines, "Edit1")->text(), QStringLiteral("AL-1"));
    QCOMPARE(box(lines, "Edit5")->text(), QStringLiteral("85"));
    ui::type(box(lines, "Edit2"), "2");
    lines->computeAmount();
    QCOMPARE(box(lines, "Edit6")->text(), QStringLiteral("170"));
    shop.prompter().answer({true});
    ui::click(lines, "Button1");
    QCOMPARE(shop.rows("Select Amount_Labor From EstimateLabor where Description_Labor = "
                       "'O''Brien''s alignment' Order By Amount_Labor"),
             (QList<QVariantList>{{60.0}, {170.0}}));
    QCOMPARE(shop.value("Select Count(*) From EstimateLabor").toInt(), 2);
    shop.prompter().answer({true});
    ui::click(lines, "Button3");
    QCOMPARE(shop.rows("Select Amount_Labor From EstimateLabor"), (QList<QVariantList>{{60.0}}));
}

void TestEstimates::invoicePickerWritesNothingHere()
{
    TestShop shop;
    addEstimate(shop, 5, "Acme", "2026-03-10");
    addPart(shop, 1, "Oil filter", "LF-1", 10);
    shop.exec("Insert into Invoice (InvoiceNo_Inv, Paid_Inv) values (8, No)");
    TMainForm* mainForm = shop.mainFormWithTasks();
    ui::click(mainForm, "SpeedButton6");
    QWidget* invoice = ui::newestChild(mainForm);
    ui::click(invoice, "Button6");
    auto* invoiceLines = newest<TInvItem>(shop);
    ui::click(invoiceLines, "Button8");
    TInvPartFind* invoicePicker = shop.longLived().invPartFind.get();
    QVERIFY(invoicePicker->isVisible());
    closeWindow(invoiceLines);
    closeWindow(invoice);
    ui::settle();
    TEstimate* w = openEstimates(shop);
    ui::click(w, "Button6");
    auto* lines = newest<TEstimateItem>(shop);
    invoicePicker->select();
    QCOMPARE(box(lines, "Edit4")->text(), QString());
}

void TestEstimates::printout_data()
{
    QTest::addColumn<QString>("tax");
    QTest::addColumn<QStringList>("totals");
    QTest::newRow("with tax") << "Yes"
                              << QStringList{"Total  Part   : $100.00", "Total Labor  : $40.00",
                                             "Tax on Part : $5.00", "Total invoice : $145.00"};
    QTest::newRow("without tax") << "No"
                                 << QStringList{"Total  Part   : $100.00", "Total Labor  : $40.00",
                                                "Tax on Part : No Tax", "Total invoice : $140.00"};
}

void TestEstimates::printout()
{
    QFETCH(QString, tax);
    QFETCH(QStringList, totals);
    TestShop shop;
    shop.exec("Insert into Tax values (1, 2026, 1, 6, 0.05)");
    // As the profile window saves it: the printouts read the profile it reopens.
    shop.exec("Update Reg Set Name_R = 'Northside Diesel'");
    DM->profile()->open();
    addEstimate(shop, 7, "O'Hara Trucking", "2026-03-10", 145, "Yes");
    shop.exec("Update Estimate Set Year_Inv = '2019', PO_Inv = 'Dana'");
    addPartLine(shop, 7, "P1", 1, 100);
    addLaborLine(shop, 7, "O'Brien's alignment", 40);
    TEstimate* w = openEstimates(shop);
    QVERIFY(ui::find<QPushButton>(w, "Button9")->isEnabled());
    // The layout follows the "Tax" box as it stands, not the stored flag.
    w->setText("Tax_Inv", tax);
    std::optional<PreparedReport> report = w->prepareReport();
    QVERIFY(report);
    QCOMPARE(report->pageCount(), 3);
    const QStringList copies{" Northside Diesel Copy", "Customer Copy", "Accounting Copy"};
    for (int page = 0; page < 3; ++page) {
        const QString text = report->pageText(page);
        for (const QString& total : totals)
            QVERIFY2(text.contains(total), qPrintable(total + " on page " + QString::number(page)));
        QVERIFY2(text.contains(copies.at(page)), qPrintable(text.left(300)));
        for (const char* piece :
             {"Estimate", "Northside Diesel",
              "Please Remit to Northside Diesel  and Mail it to "
              "Below Address.",
              "Contact Name:", "Dana", "Labor : O'Brien's alignment", "Part : Oil filter",
              "Invoice Date:", "ADDRESS : ", "I hereby authorize the work to be done"})
            QVERIFY2(text.contains(QLatin1String(piece)), piece);
        // The second copy of the taxed layout prints the year without its caption.
        const bool yearCaption = !(tax == QLatin1String("Yes") && page == 1);
        QCOMPARE(text.contains("Year:"), yearCaption);
        QVERIFY(text.contains("2019"));
    }
    // The untaxed layout's first page is on its own paper, as the exported PDF shows.
    QTemporaryDir dir;
    const QString pdf = dir.filePath("estimate.pdf");
    QCOMPARE(report->exportPdf(pdf), QString());
    const QList<QSizeF> papers = pdfPages(pdf);
    QCOMPARE(papers.size(), 3);
    QCOMPARE(qRound(papers.at(0).width()), tax == QLatin1String("No") ? 210 : 216);
    QCOMPARE(qRound(papers.at(1).width()), 216);
    QCOMPARE(qRound(papers.at(1).height()), 279);
    // A profile renamed shows on the next printout.
    shop.exec("Update Reg Set Name_R = 'Southside Diesel'");
    DM->profile()->open();
    QVERIFY(w->prepareReport()->pageText(0).contains(" Southside Diesel Copy"));
}

void TestEstimates::makeInvoiceCopiesTheEstimate()
{
    TestShop shop;
    addWorkedEstimate(shop);
    // Numbers already given out, the archive's too: the invoice takes the next after both.
    shop.exec("Insert into Invoice (InvoiceNo_Inv, CustomerName_Inv) values (40, 'Earlier')");
    shop.exec("Insert into InvoiceCash (InvoiceNo_Inv) values (41)");
    const QList<QVariantList> estimateBefore = shop.rows("Select * From Estimate");
    const QDate today(2026, 12, 10);
    const qint64 invoice = SalesStore().makeInvoice(7, 0, today);
    QCOMPARE(invoice, qint64(42));
    const QVariantList header = shop.row(
        "Select CustomerName_Inv, RepairPerson_Inv, PO_Inv, Amount_Inv, LicenseNo_Inv, "
        "Remark_Inv, JobLocation_Inv, Vin_Inv, TruckNo_Inv, Mileage_Inv, Make_Inv, Model_Inv, "
        "Year_Inv, Plate_Inv, Tax_Inv, Paid_Inv, InvoiceDate_Inv, EntryDate_Inv, DueDate_Inv "
        "From Invoice where InvoiceNo_Inv = 42");
    QStringList got;
    for (const QVariant& v : header)
        got.append(v.toString());
    got[3] = QString::number(header.at(3).toDouble(), 'f', 2);
    got[15] = header.at(15).toBool() || header.at(15).toString() == "1" ? "paid" : "not paid";
    for (int i = 16; i < 19; ++i)
        got[i] = got.at(i).left(10);
    QCOMPARE(got, (QStringList{"Fleet O'Hara", "Dan", "Pat Contact", "293.15", "DL-55",
                               "Brakes all round", "12 Dock Rd", "1FUJGLDR9CLBP8834", "T-12",
                               "412,300", "Freightliner", "Cascadia", "2012", "IL 88 123", "Yes",
                               "not paid", "2026-12-10", "2026-12-10", "2026-12-10"}));
    // Every line as stored, in the order it was added.
    QCOMPARE(invoiceLines(shop, 42),
             (QList<QVariantList>{{"Brake pad set", "BP-1", 2.0, 45.5, 91.0},
                                  {"Brake drum", "DR-2", 1.0, 120.0, 120.0}}));
    QCOMPARE(shop.value("Select Amount_Labor From InvLabor where Inv_Labor = 42").toDouble(),
             82.15);
    // The estimate keeps its rows and names the invoice; its payment stays its own.
    QCOMPARE(SalesStore().invoiceMadeOf(7), qint64(42));
    QCOMPARE(shop.rows("Select * From Estimate").size(), estimateBefore.size());
    QCOMPARE(shop.value("Select Count(*) From EstimateItem where Inv_Item = 7").toInt(), 2);
    QCOMPARE(shop.value("Select Count(*) From EstimateReceivable").toInt(), 1);
    QCOMPARE(shop.value("Select Count(*) From Receivable").toInt(), 0);
    // An estimate that is not stored makes nothing.
    QVERIFY(refusal([] {
                SalesStore().makeInvoice(8, 0, QDate(2026, 12, 10));
            }).contains(QStringLiteral("no estimate 8")));
    QCOMPARE(shop.value("Select Count(*) From Invoice").toInt(), 2);
}

void TestEstimates::makeInvoiceAgainAsksFirst()
{
    TestShop shop;
    addWorkedEstimate(shop);
    const qint64 first = SalesStore().makeInvoice(7, 0, QDate(2026, 12, 10));
    // Told "none yet" but made meanwhile: refused, nothing written.
    QVERIFY(refusal([] {
                SalesStore().makeInvoice(7, 0, QDate(2026, 12, 10));
            }).contains(QStringLiteral("was made into invoice %1 at another station").arg(first)));
    QCOMPARE(shop.value("Select Count(*) From Invoice").toInt(), 1);
    QCOMPARE(shop.value("Select Count(*) From InvItem").toInt(), 2);
    // Asked and answered: a second invoice, which the estimate then names.
    const qint64 second = SalesStore().makeInvoice(7, first, QDate(2026, 12, 11));
    QCOMPARE(second, first + 1);
    QCOMPARE(SalesStore().invoiceMadeOf(7), second);
    QCOMPARE(invoiceLines(shop, second), invoiceLines(shop, first));
}

void TestEstimates::twoStationsMakeOneInvoice()
{
    TestShop shop;
    addWorkedEstimate(shop);
    const DatabaseTarget target =
        TestShop::onServer() ? TestShop::target() : DatabaseTarget::file(shop.databasePath());
    std::atomic<int> ready{0};
    QList<qint64> made(2, 0);
    QStringList refused(2);
    const auto station = [&](int id) {
        try {
            const std::unique_ptr<Connection> connection =
                Connection::shop(QStringLiteral("Converter%1").arg(id), target);
            connection->open();
            // Both were shown an estimate not yet made into an invoice.
            ++ready;
            while (ready.load() < 2)
                std::this_thread::yield();
            made[id] = SalesStore(connection.get()).makeInvoice(7, 0, QDate(2026, 12, 10));
        } catch (const DbError& e) {
            refused[id] = e.message();
        }
    };
    std::thread a(station, 0);
    std::thread b(station, 1);
    a.join();
    b.join();
    // One invoice, the other station told so, and nothing of it left behind.
    QCOMPARE(int(made[0] > 0) + int(made[1] > 0), 1);
    const qint64 invoice = made[0] + made[1];
    const QString message = refused[0] + refused[1];
    QVERIFY2(message.contains(QStringLiteral("at another station")), qPrintable(message));
    QCOMPARE(shop.value("Select Count(*) From Invoice").toInt(), 1);
    QCOMPARE(shop.value("Select Count(*) From InvItem").toInt(), 2);
    QCOMPARE(shop.value("Select Count(*) From InvLabor").toInt(), 1);
    QCOMPARE(SalesStore().invoiceMadeOf(7), invoice);
}

void TestEstimates::makeInvoiceFromTheWindow()
{
    TestShop shop;
    addWorkedEstimate(shop);
    TEstimate* window = openEstimates(shop);
    ui::click(window, "RadioButton3");
    QCOMPARE(window->text("InvoiceNo_Inv"), QStringLiteral("7"));
    QCOMPARE(label(window, "Label21"), QString());
    QPointer<TEstimate> estimate = window;
    ui::click(window, "Button14");
    ui::settle();
    // The estimate window gives way to the invoice window, on the new invoice.
    QVERIFY(!estimate || !estimate->isVisible());
    auto* invoice = newest<TInvoice>(shop);
    QVERIFY(invoice);
    QCOMPARE(invoice->text("InvoiceNo_Inv"), QStringLiteral("1"));
    QCOMPARE(invoice->text("CustomerName_Inv"), QStringLiteral("Fleet O'Hara"));
    QCOMPARE(invoice->text("Vin_Inv"), QStringLiteral("1FUJGLDR9CLBP8834"));
    closeWindow(invoice);
    ui::settle();
    // Again: the estimate names its invoice, and the button asks first.
    window = openEstimates(shop);
    ui::click(window, "RadioButton3");
    QCOMPARE(label(window, "Label21"), QStringLiteral("1"));
    shop.prompter().answer({false});
    ui::click(window, "Button14");
    QCOMPARE(shop.prompter().last(),
             QStringLiteral("Estimate 7 was already made into invoice 1. Make another invoice of "
                            "it?"));
    QCOMPARE(shop.value("Select Count(*) From Invoice").toInt(), 1);
}

QTEST_MAIN(TestEstimates)
#include "tst_estimates.moc"
