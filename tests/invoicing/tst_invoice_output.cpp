#include "InvoiceFixtures.h"
#include "data/Query.h"
#include "data/TDM.h"
#include "printing/PreparedReport.h"
#include "ui/common/DataGrid.h"
#include "ui/documents/LinePanel.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {
QPushButton* archiveButton(TInvoice* invoice)
{
    return ui::find<QPushButton>(invoice, "Button12");
}

void unlock(TInvoice* invoice)
{
    ui::type(ui::find<QLineEdit>(invoice, "Edit11"), "Morvek");
}

// Row counts of every table the archive touches, to prove that nothing moved.
QList<int> counts(TestShop& shop)
{
    QList<int> result;
    for (const char* table : {"Invoice", "InvItem", "InvLabor", "InvoiceCash", "InvItemCash",
                              "InvLaborCash", "Receivable"})
        result.append(
            shop.value(QStringLiteral("Select Count(*) From %1").arg(QLatin1String(table)))
                .toInt());
    return result;
}
const QStringList copyNames = {"Tavlin Truck Copy", "Customer Copy", "Accounting Copy"};

PreparedReport printout(TInvoice* invoice)
{
    std::optional<PreparedReport> report = invoice->prepareReport();
    if (!report)
        throw std::runtime_error("the invoice gave no printout");
    return *report;
}

void setTaxBox(TInvoice* invoice, const QString& text)
{
    ui::find<QComboBox>(invoice, "ComboBox5")->setCurrentText(text);
}
} // namespace

class TestInvoiceOutput : public QObject
{
    Q_OBJECT

private slots:
    void printoutTotals_data();
    void printoutTotals();
    void halfCentsRoundAlikeOnScreenAndPaper();
    void printoutCopiesAndPaper_data();
    void printoutCopiesAndPaper();
    void printoutWithoutLines();
    void printoutOfTheNumberInTheBox();
    void printoutOfAnUnsavedInvoice();
    void printoutShopFromProfile();
    void archiveLock_data();
    void archiveLock();
    void archiveWithoutLines();
    void archiveMovesLinesAndPayments();
    void archiveRefusesAnArchivedNumber();
    void archiveFailureChangesNothing();
    void archiveAnsweredNo();
    void archiveBadBoxWritesNothing();
};

void TestInvoiceOutput::archiveLock_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("as opened") << QStringList{} << false;
    QTest::newRow("code") << QStringList{"Morvek"} << true;
    QTest::newRow("code and one more") << QStringList{"Morvek", "Morvek1"} << false;
    QTest::newRow("other case") << QStringList{"morvek"} << false;
    QTest::newRow("code with a space") << QStringList{"Morvek "} << false;
    QTest::newRow("emptied") << QStringList{"Morvek", ""} << false;
}

void TestInvoiceOutput::archiveLock()
{
    QFETCH(QStringList, typed);
    QFETCH(bool, enabled);
    TestShop shop;
    TInvoice* invoice = openInvoice(shop);
    auto* code = ui::find<QLineEdit>(invoice, "Edit11");
    QCOMPARE(code->echoMode(), QLineEdit::Password);
    for (const QString& text : typed)
        ui::type(code, text);
    QCOMPARE(archiveButton(invoice)->isEnabled(), enabled);
}

void TestInvoiceOutput::archiveWithoutLines()
{
    TestShop shop;
    addInvoice(shop, {7, "Acme", "2026-03-02", 0});
    addInvoice(shop, {8, "Bolt", "2026-03-02", 0});
    TInvoice* invoice = openInvoice(shop);
    QCOMPARE(invoice->text("InvoiceNo_Inv"), QStringLiteral("7"));
    unlock(invoice);
    ui::click(archiveButton(invoice));
    QCOMPARE(shop.prompter().texts(),
             (QStringList{"Are you sure you want to Save this Record?", "Removed!"}));
    QCOMPARE(shop.rows("Select InvoiceNo_Inv, CustomerName_Inv From InvoiceCash"),
             (QList<QVariantList>{{7, "Acme"}}));
    QCOMPARE(shop.value("Select Count(*) From Invoice where InvoiceNo_Inv=7").toInt(), 0);
    // Refresh shows the next open invoice.
    QCOMPARE(invoice->text("InvoiceNo_Inv"), QStringLiteral("8"));
}

void TestInvoiceOutput::archiveMovesLinesAndPayments()
{
    TestShop shop;
    addInvoice(shop, {7, "O'Brien", "2026-03-02", 0});
    addInvoice(shop, {9, "Bolt", "2026-03-02", 0});
    shop.exec("Insert into InvItem values ('Filter ''X''','Mfg',2,'s','F-1',12.5,25,7)");
    shop.exec("Insert into InvItem values ('Belt','Mfg',1,'s','B-1',9.99,9.99,7)");
    shop.exec("Insert into InvLabor values ('Brake ''job''','',1.5,80,120,'r',7)");
    addPartLine(shop, 9, 10);
    addLaborLine(shop, 9, 10);
    addPayment(shop, 7, 50);
    TInvoice* invoice = openInvoice(shop);
    // An edit not yet saved is archived as it stands in the box.
    invoice->setText("Remark_Inv", "left at the gate, don't wash");
    unlock(invoice);
    ui::click(archiveButton(invoice));

    QCOMPARE(shop.rows("Select InvoiceNo_Inv, CustomerName_Inv, Remark_Inv, InvoiceDate_Inv "
                       "From InvoiceCash"),
             (QList<QVariantList>{{7, "O'Brien", "left at the gate, don't wash", "2026-03-02"}}));
    QCOMPARE(shop.rows("Select Inv_Item, Name_Item, Qty_Item, Color_Item, Rate_Item, "
                       "Amount_Item From InvItemCash Order By rowid"),
             (QList<QVariantList>{{7, "Filter 'X'", 2, "F-1", 12.5, 25},
                                  {7, "Belt", 1, "B-1", 9.99, 9.99}}));
    QCOMPARE(shop.rows("Select Inv_Labor, Description_Labor, Qty_Labor, Amount_Labor "
                       "From InvLaborCash"),
             (QList<QVariantList>{{7, "Brake 'job'", 1.5, 120}}));
    QCOMPARE(shop.value("Select Count(*) From InvItem where Inv_Item=7").toInt(), 0);
    QCOMPARE(shop.value("Select Count(*) From InvLabor where Inv_Labor=7").toInt(), 0);
    QCOMPARE(shop.value("Select Count(*) From Invoice where InvoiceNo_Inv=7").toInt(), 0);
    // The other invoice stays where it was; the payment goes with its invoice.
    QCOMPARE(shop.value("Select Count(*) From InvItem where Inv_Item=9").toInt(), 1);
    QCOMPARE(shop.value("Select Count(*) From InvLabor where Inv_Labor=9").toInt(), 1);
    QCOMPARE(shop.value("Select Count(*) From Receivable").toInt(), 0);
    QCOMPARE(shop.rows("Select InvoiceNo_Receivable, Amount_Receivable From ReceivableCash"),
             (QList<QVariantList>{{7, 50}}));
}

void TestInvoiceOutput::archiveRefusesAnArchivedNumber()
{
    TestShop shop;
    shop.exec("Insert into InvoiceCash (InvoiceNo_Inv, CustomerName_Inv, Remark_Inv) "
              "values (7, 'Earlier', 'old')");
    shop.exec("Insert into InvItemCash (Inv_Item, Name_Item) values (7, 'old line')");
    addInvoice(shop, {7, "Acme", "2026-03-02", 0});
    shop.exec("Insert into InvItem values ('Belt','Mfg',1,'s','B-1',9.99,9.99,7)");
    TInvoice* invoice = openInvoice(shop);
    unlock(invoice);
    ui::click(archiveButton(invoice));
    // An archived document is never replaced or mixed with another: nothing moves.
    QCOMPARE(shop.prompter().texts(ScriptedPrompter::Kind::Error),
             QStringList{"The archive already holds a document numbered 7.\n\nNothing was "
                         "archived: invoice 7 is unchanged."});
    QCOMPARE(shop.rows("Select CustomerName_Inv, Remark_Inv From InvoiceCash"),
             (QList<QVariantList>{{"Earlier", "old"}}));
    QCOMPARE(shop.value("Select Count(*) From InvItemCash where Inv_Item=7").toInt(), 1);
    QCOMPARE(shop.value("Select Count(*) From Invoice where InvoiceNo_Inv=7").toInt(), 1);
    QCOMPARE(shop.value("Select Count(*) From InvItem where Inv_Item=7").toInt(), 1);
    // The archive locks itself again.
    QVERIFY(!archiveButton(invoice)->isEnabled());
}

void TestInvoiceOutput::archiveFailureChangesNothing()
{
    TestShop shop;
    addInvoice(shop, {7, "Acme", "2026-03-02", 0});
    addPartLine(shop, 7, 10);
    addLaborLine(shop, 7, 10);
    addPayment(shop, 7, 5);
    // The labor copy fails after the header and the part lines have been written.
    shop.refuseInserts("InvLaborCash", "the archive is full");
    const QList<int> before = counts(shop);
    TInvoice* invoice = openInvoice(shop);
    unlock(invoice);
    ui::click(archiveButton(invoice));
    QCOMPARE(counts(shop), before);
    const QStringList errors = shop.prompter().texts(ScriptedPrompter::Kind::Error);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains("the archive is full"), qPrintable(errors.first()));
    QVERIFY2(errors.first().contains("Nothing was archived"), qPrintable(errors.first()));
    QVERIFY(!shop.prompter().texts().contains("Removed!"));
    QCOMPARE(invoice->text("InvoiceNo_Inv"), QStringLiteral("7"));
}

void TestInvoiceOutput::archiveAnsweredNo()
{
    TestShop shop;
    addInvoice(shop, {7, "Acme", "2026-03-02", 0});
    addPartLine(shop, 7, 10);
    const QList<int> before = counts(shop);
    TInvoice* invoice = openInvoice(shop);
    unlock(invoice);
    shop.prompter().answer({false});
    ui::click(archiveButton(invoice));
    QCOMPARE(counts(shop), before);
    // An empty number archives nothing and asks nothing.
    shop.prompter().clear();
    invoice->setText("InvoiceNo_Inv", "");
    ui::click(archiveButton(invoice));
    QCOMPARE(shop.prompter().texts(), QStringList{});
    QCOMPARE(counts(shop), before);
}

void TestInvoiceOutput::archiveBadBoxWritesNothing()
{
    TestShop shop;
    addInvoice(shop, {7, "Acme", "2026-03-02", 0});
    addPartLine(shop, 7, 10);
    const QList<int> before = counts(shop);
    TInvoice* invoice = openInvoice(shop);
    unlock(invoice);
    invoice->setText("Amount_Inv", "12a");
    ui::click(archiveButton(invoice));
    // Told at once, before any question, and nothing moves.
    QCOMPARE(shop.prompter().texts(), QStringList{"Amount: '12a' is not a valid number."});
    QCOMPARE(counts(shop), before);
}

void TestInvoiceOutput::printoutTotals_data()
{
    QTest::addColumn<QString>("taxBox");
    QTest::addColumn<bool>("taxRow");
    QTest::addColumn<QStringList>("expected");
    const QStringList lines = {"Total  Part   : $100.00", "Total Labor  : $50.00"};
    QTest::newRow("untaxed") << "No" << true
                             << (lines +
                                 QStringList{"Tax on Part : No Tax", "Total invoice : $150.00"});
    QTest::newRow("taxed") << "Yes" << true
                           << (lines +
                               QStringList{"Tax on Part : $8.00", "Total invoice : $158.00"});
    QTest::newRow("taxed, no tax row for the year")
        << "Yes" << false
        << (lines + QStringList{"Tax on Part : $0.00", "Total invoice : $150.00"});
}

void TestInvoiceOutput::printoutTotals()
{
    QFETCH(QString, taxBox);
    QFETCH(bool, taxRow);
    QFETCH(QStringList, expected);
    TestShop shop;
    if (taxRow)
        shop.exec("Insert into Tax (Id_T, Year_T, A_T, E_T, Tax_T) values (1, 2026, 1, 12, 0.08)");
    shop.exec("Insert into Tax (Id_T, Year_T, A_T, E_T, Tax_T) values (2, 2025, 1, 12, 0.5)");
    // The stored tax word says the opposite: the box at printing time decides.
    addInvoice(shop, {3, "Acme", "2026-04-10", 0, false, taxBox == "Yes" ? "No" : "Yes"});
    addPartLine(shop, 3, 60);
    addPartLine(shop, 3, 40, "P2");
    addLaborLine(shop, 3, 50);
    TInvoice* invoice = openInvoice(shop);
    setTaxBox(invoice, taxBox);
    const PreparedReport report = printout(invoice);
    QCOMPARE(report.pageCount(), 3);
    for (int page = 0; page < 3; ++page) {
        const QStringList text = report.pageText(page).split('\n');
        for (const QString& line : expected)
            QVERIFY2(text.contains(line), qPrintable(QString("page %1 lacks \"%2\":\n%3")
                                                         .arg(page + 1)
                                                         .arg(line, report.pageText(page))));
    }
}

void TestInvoiceOutput::halfCentsRoundAlikeOnScreenAndPaper()
{
    TestShop shop;
    shop.exec("Insert into Tax (Id_T, Year_T, A_T, E_T, Tax_T) values (1, 2026, 1, 12, 0.05)");
    addInvoice(shop, {3, "Acme", "2026-04-10", 0, false, "Yes"});
    // A rate of 2.675: the line's amount was rounded to the cent when it was stored.
    shop.exec("Insert into InvItem values ('Gasket','m',1,'s','G-1',2.675,2.68,3)");
    TInvoice* invoice = openInvoice(shop);
    // The grid shows the rate as every figure is rounded: half a cent up.
    const int rate = invoice->lines()->panel("InvItem")->lines()->columnIndex("Rate_Item");
    QCOMPARE(ui::cell(ui::find<DataGrid>(invoice, "DBGrid2"), 0, rate), QStringLiteral("2.68"));
    // 2.68 + 5 % of 2.68 (0.134, rounded to 0.13).
    QCOMPARE(ui::find<QLabel>(invoice, "Label14")->text(), QStringLiteral("2.81"));
    const PreparedReport report = printout(invoice);
    const QStringList text = report.pageText(0).split('\n');
    for (const QString& line : {QStringLiteral("$2.68"), QStringLiteral("Tax on Part : $0.13"),
                                QStringLiteral("Total invoice : $2.81")})
        QVERIFY2(text.contains(line) || report.pageText(0).contains(line),
                 qPrintable(line + " is not on the page:\n" + report.pageText(0)));
    QVERIFY(!report.pageText(0).contains(QStringLiteral("2.67")));
}

void TestInvoiceOutput::printoutCopiesAndPaper_data()
{
    QTest::addColumn<QString>("taxBox");
    QTest::addColumn<QSizeF>("firstPaper");
    QTest::newRow("untaxed") << "No" << QSizeF(210, 280);
    QTest::newRow("taxed") << "Yes" << QSizeF(215.9, 279.4);
}

void TestInvoiceOutput::printoutCopiesAndPaper()
{
    QFETCH(QString, taxBox);
    QFETCH(QSizeF, firstPaper);
    TestShop shop;
    addInvoice(shop, {3, "O'Brien Hauling", "2026-04-10", 0});
    shop.exec("Insert into InvItem values ('Filter ''X''','Mfg',2,'s','F-1',12.5,25,3)");
    TInvoice* invoice = openInvoice(shop);
    setTaxBox(invoice, taxBox);
    const PreparedReport report = printout(invoice);
    QCOMPARE(report.pageCount(), 3);
    for (int page = 0; page < 3; ++page) {
        const QStringList text = report.pageText(page).split('\n');
        for (int other = 0; other < 3; ++other)
            QCOMPARE(text.contains(copyNames.at(other)), other == page);
        QVERIFY(text.contains("O'Brien Hauling"));
        QVERIFY(text.contains("Part : Filter 'X'"));
        QVERIFY(text.contains("$12.50"));
        QVERIFY(text.contains("Customer Signature"));
        QVERIFY(report.pageText(page).contains(u"your employee\u2019s permissions"));
        const QSizeF paper = page == 0 ? firstPaper : QSizeF(215.9, 279.4);
        QCOMPARE(report.pages.at(page).paper, paper);
    }
}

void TestInvoiceOutput::printoutWithoutLines()
{
    TestShop shop;
    addInvoice(shop, {3, "Acme", "2026-04-10", 0});
    addInvoice(shop, {4, "Bolt", "2026-04-10", 0});
    addPartLine(shop, 4, 30);
    TInvoice* invoice = openInvoice(shop);
    setTaxBox(invoice, "No");
    auto lineStarting = [](const QString& page, const QString& start) {
        const QStringList lines = page.split('\n');
        return std::any_of(lines.begin(), lines.end(),
                           [&](const QString& line) { return line.startsWith(start); });
    };
    PreparedReport report = printout(invoice);
    QString text = report.pageText(0);
    QVERIFY(!lineStarting(text, "Part : "));
    QVERIFY(!lineStarting(text, "Labor : "));
    QVERIFY(text.contains("Total invoice : $0.00"));
    QVERIFY(text.contains("Remark :"));
    QVERIFY(text.contains("Customer Signature"));

    // Part lines only: no labor row between them and the footer.
    invoice->setText("InvoiceNo_Inv", "4");
    report = printout(invoice);
    text = report.pageText(1);
    QVERIFY(lineStarting(text, "Part : part"));
    QVERIFY(!lineStarting(text, "Labor : "));
    QVERIFY(text.contains("Total invoice : $30.00"));
}

void TestInvoiceOutput::printoutOfTheNumberInTheBox()
{
    TestShop shop;
    addInvoice(shop, {3, "Acme", "2026-04-10", 0});
    addInvoice(shop, {4, "Bolt", "2026-04-10", 0});
    addPartLine(shop, 3, 30, "P-ACME");
    addPartLine(shop, 4, 70, "P-BOLT");
    TInvoice* invoice = openInvoice(shop);
    QCOMPARE(invoice->text("InvoiceNo_Inv"), QStringLiteral("3"));
    // The list and the grids still show invoice 3; the box names 4.
    invoice->setText("InvoiceNo_Inv", "4");
    setTaxBox(invoice, "No");
    const QStringList text = printout(invoice).pageText(0).split('\n');
    QVERIFY(text.contains("Bolt"));
    QVERIFY(!text.contains("Acme"));
    QVERIFY(text.contains("P-BOLT"));
    QVERIFY(!text.contains("P-ACME"));
    QVERIFY(text.contains("Total invoice : $70.00"));
    // The window is left as it was.
    QCOMPARE(ui::cell(ui::find<DataGrid>(invoice, "DBGrid2"), 0, 4), QStringLiteral("P-ACME"));
}

void TestInvoiceOutput::printoutOfAnUnsavedInvoice()
{
    TestShop shop;
    addInvoice(shop, {3, "Acme", "2026-04-10", 0});
    TInvoice* invoice = openInvoice(shop);
    ui::click(invoice, "Button3"); // New gives 4, not saved yet
    QCOMPARE(invoice->text("InvoiceNo_Inv"), QStringLiteral("4"));
    QVERIFY(!invoice->prepareReport());
    QCOMPARE(shop.prompter().texts(),
             QStringList{"Invoice 4 is not saved: save it before printing it."});
    shop.prompter().clear();
    invoice->setText("InvoiceNo_Inv", "");
    QVERIFY(!invoice->prepareReport());
    QCOMPARE(shop.prompter().texts(), QStringList{});
}

void TestInvoiceOutput::printoutShopFromProfile()
{
    TestShop shop;
    shop.exec("Update Reg Set Address_R='77 Mill Road', City_R='Peoria', State_R='IL', "
              "Zip_R='61602', Tel_R='309-555-0100', Cell_R='309-555-0101', "
              "Web_R='millroad.example', Email_R='desk@millroad.example'");
    DM->profile()->open();
    addInvoice(shop, {3, "Acme", "2026-04-10", 0});
    TInvoice* invoice = openInvoice(shop);
    const QStringList text = printout(invoice).pageText(2).split('\n');
    QVERIFY(text.contains("77 Mill Road"));
    QVERIFY(text.contains("Peoria, IL 61602"));
    QVERIFY(text.contains("Tel: 309-555-0100"));
    QVERIFY(text.contains("Cell: 309-555-0101"));
    const QString terms = "77 Mill Road, Peoria, IL 61602   Tel: 309-555-0100   "
                          "millroad.example   desk@millroad.example";
    QVERIFY2(text.contains(terms), qPrintable(text.join('\n')));
}

QTEST_MAIN(TestInvoiceOutput)
#include "tst_invoice_output.moc"
