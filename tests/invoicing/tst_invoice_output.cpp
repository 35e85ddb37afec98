#include "InvoiceFixtures.h"

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
} // namespace

class TestInvoiceOutput : public QObject
{
    Q_OBJECT

private slots:
    void archiveLock_data();
    void archiveLock();
    void archiveWithoutLines();
    void archiveMovesLinesAndKeepsPayments();
    void archiveReplacesArchivedHeader();
    void archiveFailureChangesNothing();
    void archiveAnsweredNo();
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

void TestInvoiceOutput::archiveMovesLinesAndKeepsPayments()
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
    // The other invoice and the payment stay where they were.
    QCOMPARE(shop.value("Select Count(*) From InvItem where Inv_Item=9").toInt(), 1);
    QCOMPARE(shop.value("Select Count(*) From InvLabor where Inv_Labor=9").toInt(), 1);
    QCOMPARE(shop.rows("Select InvoiceNo_Receivable, Amount_Receivable From Receivable"),
             (QList<QVariantList>{{7, 50}}));
}

void TestInvoiceOutput::archiveReplacesArchivedHeader()
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
    QCOMPARE(shop.rows("Select CustomerName_Inv, Remark_Inv From InvoiceCash"),
             (QList<QVariantList>{{"Acme", ""}}));
    // Archived lines are added, never matched against those already there.
    QCOMPARE(shop.value("Select Count(*) From InvItemCash where Inv_Item=7").toInt(), 2);
}

void TestInvoiceOutput::archiveFailureChangesNothing()
{
    TestShop shop;
    addInvoice(shop, {7, "Acme", "2026-03-02", 0});
    addPartLine(shop, 7, 10);
    addLaborLine(shop, 7, 10);
    addPayment(shop, 7, 5);
    // The labor copy fails after the header and the part lines have been written.
    shop.exec("Create Trigger NoLaborArchive Before Insert On InvLaborCash "
              "Begin Select Raise(Abort, 'the archive is full'); End");
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

QTEST_MAIN(TestInvoiceOutput)
#include "tst_invoice_output.moc"
