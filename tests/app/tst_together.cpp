// Several windows open at once, each worked in turn: every list keeps showing the rows its own
// window loaded, whatever the others run.

#include "InvoiceFixtures.h"
#include "TestShop.h"
#include "Ui.h"
#include "app/TMainForm.h"
#include "data/Query.h"
#include "invoicing/TInvItem.h"
#include "masters/TCustomer.h"
#include "masters/TLabor.h"
#include "masters/TPart.h"
#include "masters/TTax.h"
#include "ui/common/DataGrid.h"

#include <QAction>
#include <QLineEdit>
#include <QScreen>
#include <QTest>

namespace {

// The first column of a grid, top to bottom.
QStringList firstColumn(const DataGrid* grid)
{
    QStringList values;
    for (int row = 0; row < ui::rowCount(grid); ++row)
        values.append(ui::cell(grid, row, 0));
    return values;
}

struct Windows
{
    TInvoice* invoice;
    TTax* tax;
    TLabor* labor;
    TCustomer* customers;
    TPart* parts;
};

// What every list must show, read from the database the way each window loads it.
void checkEveryList(TestShop& shop, const Windows& w, const char* after)
{
    auto column = [&](const QString& sql) {
        QStringList values;
        for (const QVariantList& row : shop.rows(sql))
            values.append(row.at(0).toString());
        return values;
    };
    const QString shown = w.invoice->text("InvoiceNo_Inv");
    const QList<std::pair<const DataGrid*, QStringList>> expected = {
        {w.invoice->list(), column("Select InvoiceNo_Inv From Invoice where Paid_Inv = No")},
        {ui::find<DataGrid>(w.invoice, "DBGrid2"),
         column("Select Name_Item From InvItem where Inv_Item = " + shown)},
        {ui::find<DataGrid>(w.invoice, "DBGrid3"),
         column("Select Description_Labor From InvLabor where Inv_Labor = " + shown)},
        {w.tax->grid(), column("Select Id_T From Tax")},
        {w.labor->grid(), column("Select ID_Labor From Labor")},
        {w.customers->grid(), column("Select ID_Customer From Customer")},
        {w.parts->grid(), column("Select ID_Material From Part")},
    };
    for (const auto& [grid, values] : expected) {
        QStringList have = firstColumn(grid);
        QStringList want = values;
        have.sort();
        want.sort();
        QVERIFY2(have == want,
                 qPrintable(QStringLiteral("%1 of %2 after %3: %4 instead of %5")
                                .arg(grid->objectName(), grid->parentWidget()->objectName(),
                                     QString::fromLatin1(after), have.join(','), want.join(','))));
    }
}

} // namespace

class TestTogether : public QObject
{
    Q_OBJECT

private slots:
    void everyListKeepsItsOwnRows();
    void tileAndCascadeStayOnTheScreen_data();
    void tileAndCascadeStayOnTheScreen();
};

void TestTogether::everyListKeepsItsOwnRows()
{
    TestShop shop;
    addInvoice(shop, {1, "Acme", "2026-01-05", 30});
    addInvoice(shop, {2, "Bolt", "2026-02-05", 40});
    addPartLine(shop, 1, 30, "P1");
    addLaborLine(shop, 2, 40);
    shop.exec("Insert into Tax values (1, 2026, 1, 12, 0.08)");
    shop.exec("Insert into Labor values (7, 'Diag', 'Dev', 95, ''), (8, 'Tow', 'Truck', 120, '')");
    shop.exec("Insert into Customer (ID_Customer, Name_Customer) values (3, 'Acme'), (4, 'Bolt')");
    shop.exec("Insert into Part (ID_Material, Number_Material, Color_Material, Price_Material) "
              "values (11, 'Filter', 'P1', 10), (12, 'Belt', 'P2', 20)");

    TMainForm* main = shop.mainFormWithTasks();
    Windows w;
    w.invoice = openInvoice(shop);
    w.tax = new TTax;
    main->addChild(w.tax);
    w.labor = new TLabor({});
    main->addChild(w.labor);
    w.customers = new TCustomer({});
    main->addChild(w.customers);
    w.parts = new TPart({});
    main->addChild(w.parts);
    ui::settle();
    checkEveryList(shop, w, "opening");

    // The invoice: another invoice, a line through its part-line window, a Save.
    w.invoice->listQuery()->setCurrentRow(1);
    emit w.invoice->list()->cellClicked();
    ui::click(w.invoice, "Button6");
    auto* lines = qobject_cast<TInvItem*>(ui::newestChild(main));
    QVERIFY(lines);
    lines->setText("Name_Item", "Filter");
    lines->setText("Color_Item", "P1");
    lines->setText("Amount_Item", "12");
    ui::click(lines, "Button1");
    ui::click(lines, "Button4");
    ui::settle();
    checkEveryList(shop, w, "closing a line window");
    ui::click(w.invoice, "Button2");
    checkEveryList(shop, w, "saving the invoice");

    // The tax rates: a new period, saved.
    ui::click(w.tax, "NewButton");
    w.tax->setText("Year_T", "2027");
    w.tax->setText("A_T", "1");
    w.tax->setText("E_T", "12");
    w.tax->setText("Tax_T", "0.09");
    ui::click(w.tax, "SaveButton");
    checkEveryList(shop, w, "saving a tax rate");

    // The labor catalogue: a row chosen, its sales summed, Refresh.
    w.labor->listQuery()->setCurrentRow(1);
    emit w.labor->grid()->cellClicked();
    ui::click(w.labor, "RefreshButton");
    checkEveryList(shop, w, "working the labor catalogue");

    // The customers: a new customer, its figures.
    ui::click(w.customers, "NewButton");
    w.customers->setText("Name_Customer", "Cole");
    ui::click(w.customers, "SaveButton");
    emit w.customers->grid()->cellClicked();
    checkEveryList(shop, w, "saving a customer");

    // The parts: the part-number check, a search, the figures.
    ui::click(w.parts, "NewButton");
    w.parts->setText("Color_Material", "P2");
    w.parts->checkPartNumber();
    ui::type(ui::find<QLineEdit>(w.parts, "SearchBox"), "11");
    emit w.parts->grid()->cellClicked();
    checkEveryList(shop, w, "checking a part number");

    // Back to the invoice: the filters and a printout read only their own rows.
    ui::click(w.invoice, "RadioButton3");
    ui::click(w.invoice, "RadioButton1");
    checkEveryList(shop, w, "the invoice filters");
    QVERIFY(shop.prompter().texts(ScriptedPrompter::Kind::Error).isEmpty());
}

void TestTogether::tileAndCascadeStayOnTheScreen_data()
{
    QTest::addColumn<QString>("item");
    QTest::newRow("Tile") << "WindowTileItem";
    QTest::newRow("Cascade") << "WindowCascadeItem";
}

void TestTogether::tileAndCascadeStayOnTheScreen()
{
    QFETCH(QString, item);
    TestShop shop;
    TMainForm* main = shop.mainFormWithTasks();
    main->showMaximized();
    const QRect screen = main->screen()->availableGeometry();
    openInvoice(shop);
    main->addChild(new TPart({}));
    main->addChild(new TCustomer({}));
    ui::settle();
    ui::find<QAction>(main, item)->trigger();
    ui::settle();
    // The program keeps to the screen; the windows that do not fit are scrolled to.
    QVERIFY2(main->width() <= screen.width() && main->height() <= screen.height(),
             qPrintable(QStringLiteral("%1 x %2 on a screen of %3 x %4")
                            .arg(main->width())
                            .arg(main->height())
                            .arg(screen.width())
                            .arg(screen.height())));
}

QTEST_MAIN(TestTogether)
#include "tst_together.moc"
