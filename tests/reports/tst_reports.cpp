#include "Pdf.h"
#include "ReportShop.h"
#include "TestShop.h"
#include "Ui.h"
#include "app/TMainForm.h"
#include "data/Currency.h"
#include "data/Query.h"
#include "data/TDM.h"
#include "printing/PreparedReport.h"
#include "reports/AgingReports.h"
#include "reports/ReportWindow.h"
#include "reports/TReport.h"
#include "reports/TotalReports.h"
#include "ui/common/DateBox.h"
#include "ui/common/ListBox.h"
#include "ui/documents/SalesTotals.h"

#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <tuple>

namespace {
// Invoices dated in March 2026, one in May, and orders in and after March.
void salesShop(TestShop& shop)
{
    addRate(shop, 2026, 0.0825);
    addInvoice(shop, {1, "Smith", "2026-03-10", true, "Yes"});
    addParts(shop, 1, 60);
    addParts(shop, 1, 40);
    addLabor(shop, 1, 50);
    // Taxed, in letters the window would not write; parts only.
    addInvoice(shop, {2, "O'Neil", "2026-03-15", true, "yes"});
    addParts(shop, 2, 200);
    addInvoice(shop, {3, "Smith", "2026-03-20", false, "Yes"});
    addParts(shop, 3, 40);
    addLabor(shop, 3, 10);
    addInvoice(shop, {4, "Jones", "2026-03-31", true, "No"});
    addParts(shop, 4, 60);
    addLabor(shop, 4, 30);
    addInvoice(shop, {5, "Smith", "2026-05-01", true, "Yes"});
    addParts(shop, 5, 1000);
    addLabor(shop, 5, 500);
    addOrder(shop, 1, "2026-03-05", {70, 30});
    addOrder(shop, 2, "2026-04-10", {500});
}

// Invoices finished by payments in March 2026, and some that are not.
void receivableShop(TestShop& shop)
{
    addRate(shop, 2025, 0.07);
    addRate(shop, 2026, 0.0825);
    // Dated the year before: taxed at that year's rate.
    addInvoice(shop, {10, "Smith", "2025-12-20", true, "Yes"});
    addParts(shop, 10, 100);
    addLabor(shop, 10, 20);
    addPayment(shop, 10, "2026-03-05", 127);
    // Two instalments, both in the period.
    addInvoice(shop, {11, "O'Neil", "2026-03-01", true, "Yes"});
    addParts(shop, 11, 200);
    addLabor(shop, 11, 50);
    addPayment(shop, 11, "2026-03-10", 100);
    addPayment(shop, 11, "2026-03-31", 166.5);
    // One instalment in the period and one after it: left out.
    addInvoice(shop, {12, "Smith", "2026-03-02", true, "Yes"});
    addParts(shop, 12, 300);
    addPayment(shop, 12, "2026-03-12", 100);
    addPayment(shop, 12, "2026-04-05", 224.75);
    // Paid in the period but not marked paid.
    addInvoice(shop, {13, "Jones", "2026-03-03", false, "Yes"});
    addParts(shop, 13, 40);
    addLabor(shop, 13, 10);
    addPayment(shop, 13, "2026-03-15", 20);
    // Labor only, taxed.
    addInvoice(shop, {14, "Smith", "2026-03-04", true, "Yes"});
    addLabor(shop, 14, 80);
    addPayment(shop, 14, "2026-03-16", 80);
    // Paid entirely before the period.
    addInvoice(shop, {15, "Smith", "2026-02-01", true, "Yes"});
    addParts(shop, 15, 900);
    addPayment(shop, 15, "2026-02-10", 974.25);
    addOrder(shop, 1, "2026-03-05", {70, 30});
    addOrder(shop, 2, "2026-02-10", {500});
}

// The totals page: the four figures of the invoice section, then the purchases.
struct Figures
{
    QString amounts, parts, labor, tax, purchases;
};
} // namespace
Q_DECLARE_METATYPE(Figures)
namespace {

// The text of the one page of totals.
QString pageOf(const PreparedReport& report)
{
    if (report.pageCount() != 1)
        throw std::runtime_error("the totals are not one page");
    return report.pageText(0);
}

// The page's text lists the heads and then the figures left to right; an empty figure prints
// nothing and is missing from the text.
QString expectedPage(const QString& title, const QString& section, const Figures& f)
{
    QStringList lines = {"Tavlin Truck Repair",
                         title,
                         "Report From        /      /                  to          /      /  ",
                         section,
                         "Total Amounts",
                         "Total Parts",
                         "Total Labors",
                         "Total Taxs on Parts"};
    for (const QString& figure : {f.amounts, f.parts, f.labor, f.tax})
        if (!figure.isEmpty())
            lines.append(figure);
    lines += QStringList{"P.O. Total Report", "Total Amounts"};
    if (!f.purchases.isEmpty())
        lines.append(f.purchases);
    return lines.join('\n');
}

// A made-up report over the parts lines, to try the base on: a listed filter, a fixed one
// whose choice the report words itself, and one shown without effect.
class PartsReport : public ReportWindow
{
public:
    explicit PartsReport(Preview preview)
        : ReportWindow(description(), std::move(preview))
    {}

    static ReportDescription description()
    {
        ReportDescription d;
        d.objectName = "PartsReport";
        d.caption = "PartsReport";
        d.heading = "Parts Sold";
        ReportFilter customer{"Customer", "ComboBox1", ListSource{"Invoice", "CustomerName_Inv"}};
        ReportFilter state{"State", "ComboBox2"};
        state.items = {"All", "Open", "Paid"};
        ReportFilter shelf{"Shelf", "ComboBox3"};
        shelf.items = {"A"};
        shelf.start = "A";
        shelf.ignoredHint = "Every shelf";
        d.filters = {customer, state, shelf};
        d.layout = ":/reports/layouts/totals.json";
        d.dataSets = {{"Labor", "Q1"}, {"Parts", "Q2"}, {"Tax", "Q1"}, {"Purchases", "Q1"}};
        d.parameters = {{"Title", "Parts Sold Report"}};
        return d;
    }

    SqlStatement lastStatement;
    int gathered = 0;

protected:
    // The period and the choices the base gives, each choice a line of the statement.
    void gather() override
    {
        ++gathered;
        lastStatement = SqlStatement{{"select SUM(I.Amount_Item) From Invoice O, InvItem I where "
                                      "O.InvoiceDate_Inv Between ? and ?"},
                                     {from(), to()}};
        if (const std::optional<QString> customer = choice("Customer")) {
            lastStatement.lines.append(" And O.CustomerName_Inv = ?");
            lastStatement.values.append(*customer);
        }
        if (const std::optional<QString> state = choice("State"))
            lastStatement.lines.append(*state == "Paid" ? " And O.Paid_Inv = Yes"
                                                        : " And O.Paid_Inv = No");
        if (const std::optional<QString> shelf = choice("Shelf")) {
            lastStatement.lines.append(" And I.Color_Item = ?");
            lastStatement.values.append(*shelf);
        }
        lastStatement.lines.append(" And O.InvoiceNo_Inv = I.Inv_Item");
        run("Q2", lastStatement);
        run("Q1", SqlStatement{{"select SUM(Amount_Labor) From InvLabor where Inv_Labor = 0"}});
    }

private:
    void run(const QString& name, const SqlStatement& statement)
    {
        Query* rows = query(name);
        rows->setSql(statement);
        rows->open();
        rows->first();
    }
};

QList<QVariantList> workTables(TestShop& shop)
{
    QList<QVariantList> rows;
    for (const char* table : {"TotalLabor", "TotalItem", "TotalTax"})
        rows += shop.rows(QString("Select * From %1 Order By 1").arg(table));
    return rows;
}
} // namespace

class TestReports : public QObject
{
    Q_OBJECT

private slots:
    void launcher();
    void agingWindows();
    void statementWindow();
    void baseOnMadeUpReport_data();
    void baseOnMadeUpReport();
    void datesAreChecked_data();
    void datesAreChecked();
    void salesTotals_data();
    void salesTotals();
    void salesTotalsNeedTheYearsRate();
    void taxAgreesWithTheInvoices_data();
    void taxAgreesWithTheInvoices();
    void receivableTotals_data();
    void receivableTotals();
    void receivableWorkTables();
    void receivableTotalsWithoutRate();
    void failedRunChangesNothing();
    void emptyPeriodPrintsEmptySums();
    void totalsExportToPdf();
};

void TestReports::launcher()
{
    TestShop shop;
    TMainForm* mainForm = shop.mainFormWithTasks();
    ui::click(mainForm, "SpeedButton3");
    auto* launcher = ui::newest<TReport>(mainForm);
    QCOMPARE(launcher->objectName(), QStringLiteral("Report"));
    QCOMPARE(launcher->windowTitle(), QStringLiteral("Report"));
    // The one-window rule: REPORT and the other gated tasks refuse while it is open.
    ui::click(mainForm, "SpeedButton3");
    ui::click(mainForm, "SpeedButton6");
    QCOMPARE(ui::childWindows(mainForm).size(), 1);
    QCOMPARE(shop.prompter().texts().size(), 2);

    // Only the bank report, which has no command, is disabled, and says why.
    for (QPushButton* button : launcher->findChildren<QPushButton*>())
        QCOMPARE(button->isEnabled(), button->objectName() != "Button3");
    QVERIFY(!launcher->button("Button3")->toolTip().isEmpty());
    QCOMPARE(launcher->button("Button3")->text(), QStringLiteral("Bank Report"));
    QCOMPARE(launcher->button("Button4")->text(), QStringLiteral("Open Invoce"));

    // Each press opens a new report window; the launcher stays behind it.
    ui::click(launcher, "Button8");
    auto* receivable = ui::newest<TTotalReceivable>(mainForm);
    QCOMPARE(receivable->windowTitle(), QStringLiteral("TotalReceivable"));
    ui::click(launcher, "Button9");
    auto* amount = ui::newest<TTotalAmountReport>(mainForm);
    QCOMPARE(amount->windowTitle(), QStringLiteral("TotalAmountReport"));
    ui::click(launcher, "Button9");
    QVERIFY(ui::newest<TTotalAmountReport>(mainForm) != amount);
    QCOMPARE(ui::childWindows(mainForm).size(), 4);

    // The report windows start on today with their filters as described.
    const QString today = QDate::currentDate().toString("M/d/yyyy");
    QCOMPARE(amount->fromBox()->text(), today);
    QCOMPARE(amount->toBox()->text(), today);
    QCOMPARE(amount->filterText("Customer"), QStringLiteral("All"));
    QCOMPARE(amount->filterText("Type"), QStringLiteral("Paid"));
    QCOMPARE(ui::find<QLineEdit>(amount, "Edit1"), amount->fromBox()->lineEdit());
    QVERIFY(ui::find<QPushButton>(amount, "Button2"));
    QVERIFY(ui::find<QPushButton>(receivable, "Button3"));
    // The receivable totals show the customer and the tax choice, which change nothing there.
    QCOMPARE(receivable->filterText("Tax"), QStringLiteral("Yes"));
    QVERIFY(!ui::find<QComboBox>(receivable, "ComboBox1")->isEnabled());
    QVERIFY(!ui::find<QComboBox>(receivable, "ComboBox3")->toolTip().isEmpty());
    QCOMPARE(ui::find<QComboBox>(receivable, "ComboBox2")->itemText(0), QStringLiteral("All"));

    ui::click(launcher, "Button10");
    ui::settle();
    QCOMPARE(ui::childWindows(mainForm).size(), 3);
}

void TestReports::baseOnMadeUpReport_data()
{
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QString>("parts");
    const QString first = "select SUM(I.Amount_Item) From Invoice O, InvItem I where "
                          "O.InvoiceDate_Inv Between ? and ?";
    const QString join = " And O.InvoiceNo_Inv = I.Inv_Item";
    // The period's dates and the customer's name are bound, never written into the statement.
    const QVariantList march = {QDate(2026, 3, 1), QDate(2026, 3, 31)};
    QTest::newRow("all") << "All"
                         << "All" << QStringList{first, join} << march << "$400.00";
    QTest::newRow("one customer") << "O'Neil"
                                  << "All"
                                  << QStringList{first, " And O.CustomerName_Inv = ?", join}
                                  << march + QVariantList{"O'Neil"} << "$200.00";
    QTest::newRow("both filters") << "Smith"
                                  << "Open"
                                  << QStringList{first, " And O.CustomerName_Inv = ?",
                                                 " And O.Paid_Inv = No", join}
                                  << march + QVariantList{"Smith"} << "$40.00";
    QTest::newRow("nothing matches")
        << "Nobody"
        << "Paid"
        << QStringList{first, " And O.CustomerName_Inv = ?", " And O.Paid_Inv = Yes", join}
        << march + QVariantList{"Nobody"} << "";
}

void TestReports::baseOnMadeUpReport()
{
    QFETCH(QString, customer);
    QFETCH(QString, state);
    QFETCH(QStringList, lines);
    QFETCH(QVariantList, values);
    QFETCH(QString, parts);
    TestShop shop;
    salesShop(shop);
    QList<PreparedReport> previews;
    PartsReport w([&](const PreparedReport& r) { previews.append(r); });
    w.show();
    ui::settle();
    QCOMPARE(w.windowTitle(), QStringLiteral("PartsReport"));

    // "All" heads the list, then every customer once, whatever is typed.
    auto* customers = ui::find<ListBox>(&w, "ComboBox1");
    ui::type(customers, "Sm");
    customers->refill();
    QStringList items;
    for (int i = 0; i < customers->count(); ++i)
        items.append(customers->itemText(i));
    QCOMPARE(items, (QStringList{"All", "Jones", "O'Neil", "Smith"}));
    auto* states = ui::find<QComboBox>(&w, "ComboBox2");
    QCOMPARE(states->itemText(0), QStringLiteral("All"));
    QVERIFY(!ui::find<QComboBox>(&w, "ComboBox3")->isEnabled());

    setPeriod(w, "3/1/2026", "3/31/2026");
    w.setFilterText("Customer", customer);
    w.setFilterText("State", state);
    ui::click(&w, "Button2");
    QCOMPARE(shop.prompter().texts(), QStringList());
    QCOMPARE(w.lastStatement.lines, lines);
    QCOMPARE(w.lastStatement.values, values);
    QCOMPARE(previews.size(), 1);
    const QString page = pageOf(previews.first());
    // The title set by the window, the section heading as the layout has it; the other data
    // sets read an empty sum, which prints nothing.
    QCOMPARE(page, expectedPage("Parts Sold Report", "Invoice Total Report",
                                {parts.isEmpty() ? "$0.00" : parts, parts, "", "", ""}));
    QCOMPARE(previews.first().title, QStringLiteral("Total Amounts Report"));
}

void TestReports::datesAreChecked_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("box");
    QTest::newRow("from not a date") << "3/45/2026"
                                     << "3/31/2026"
                                     << "From Date";
    QTest::newRow("from empty") << ""
                                << "3/31/2026"
                                << "From Date";
    QTest::newRow("to words") << "3/1/2026"
                              << "end of March"
                              << "To Date";
    QTest::newRow("to with a quote") << "3/1/2026"
                                     << "3/31/2026'"
                                     << "To Date";
}

void TestReports::datesAreChecked()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, box);
    TestShop shop;
    receivableShop(shop);
    // The work tables hold an earlier run.
    shop.exec("Insert into TotalLabor values (99, 5)");
    const QList<QVariantList> before = workTables(shop);
    int previews = 0;
    TTotalReceivable receivable([&](const PreparedReport&) { ++previews; });
    TTotalAmountReport amount([&](const PreparedReport&) { ++previews; });
    for (ReportWindow* w : QList<ReportWindow*>{&receivable, &amount}) {
        shop.prompter().clear();
        setPeriod(*w, from, to);
        w->print();
        QCOMPARE(shop.prompter().texts(ScriptedPrompter::Kind::Error).size(), 1);
        QVERIFY2(shop.prompter().last().contains(box), qPrintable(shop.prompter().last()));
    }
    QCOMPARE(previews, 0);
    QCOMPARE(workTables(shop), before);
}

void TestReports::salesTotals_data()
{
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QString>("type");
    QTest::addColumn<Figures>("figures");
    // Paid invoices of March: parts 100 + 200 + 60, labor 50 + 30, tax (100 + 200) x 8.25 %.
    const Figures all{"$464.75", "$360.00", "$80.00", "$24.75", "$100.00"};
    QTest::newRow("all, paid") << "All"
                               << "Paid" << all;
    QTest::newRow("all, open is paid") << "All"
                                       << "Open" << all;
    QTest::newRow("one customer") << "Smith"
                                  << "Paid"
                                  << Figures{"$158.25", "$100.00", "$50.00", "$8.25", "$100.00"};
    // No labor lines: the labor sum is empty and the total adds it as nothing.
    QTest::newRow("apostrophe, parts only")
        << "O'Neil"
        << "Paid" << Figures{"$216.50", "$200.00", "", "$16.50", "$100.00"};
    QTest::newRow("untaxed customer")
        << "Jones"
        << "Open" << Figures{"$90.00", "$60.00", "$30.00", "", "$100.00"};
}

void TestReports::salesTotals()
{
    QFETCH(QString, customer);
    QFETCH(QString, type);
    QFETCH(Figures, figures);
    TestShop shop;
    salesShop(shop);
    QList<PreparedReport> previews;
    TTotalAmountReport w([&](const PreparedReport& r) { previews.append(r); });
    w.show();
    setPeriod(w, "3/1/2026", "3/31/2026");
    w.setFilterText("Customer", customer);
    w.setFilterText("Type", type);
    ui::click(&w, "Button2");
    QCOMPARE(shop.prompter().texts(), QStringList());
    QCOMPARE(previews.size(), 1);
    QCOMPARE(pageOf(previews.first()),
             expectedPage("Total Amounts Report", "Invoice Total Report", figures));
    QCOMPARE(previews.first().title, QStringLiteral("Total Amounts Report"));
}

void TestReports::salesTotalsNeedTheYearsRate()
{
    TestShop shop;
    salesShop(shop);
    addInvoice(shop, {20, "Smith", "2025-12-30", true, "Yes"});
    addParts(shop, 20, 10);
    int previews = 0;
    TTotalAmountReport w([&](const PreparedReport&) { ++previews; });
    // Each invoice is taxed at the rate of its own date: 2025 has none.
    setPeriod(w, "12/1/2025", "3/31/2026");
    w.print();
    QCOMPARE(previews, 0);
    QCOMPARE(shop.prompter().texts(ScriptedPrompter::Kind::Error).size(), 1);
    QVERIFY(shop.prompter().last().contains("2025"));
    QVERIFY(shop.prompter().last().contains("Invoice 20"));
    // With the 2025 rate: 10 x 5 % for invoice 20, (100 + 200) x 8.25 % for those of 2026.
    addRate(shop, 2025, 0.05);
    QList<PreparedReport> reports;
    TTotalAmountReport again([&](const PreparedReport& r) { reports.append(r); });
    setPeriod(again, "12/1/2025", "3/31/2026");
    again.print();
    QCOMPARE(reports.size(), 1);
    QCOMPARE(pageOf(reports.first()),
             expectedPage("Total Amounts Report", "Invoice Total Report",
                          {"$475.25", "$370.00", "$80.00", "$25.25", "$100.00"}));
}

void TestReports::taxAgreesWithTheInvoices_data()
{
    // Tax rows as "year first-month last-month rate", invoices as "date parts".
    QTest::addColumn<QStringList>("rates");
    QTest::addColumn<QStringList>("invoices");
    QTest::addColumn<QString>("tax");
    QTest::newRow("a rate change in the middle of the year")
        << QStringList{"2026 1 6 0.05", "2026 7 12 0.06"}
        << QStringList{"2026-03-10 100", "2026-08-10 200"} << "$17.00";
    QTest::newRow("a rate change on New Year's Day")
        << QStringList{"2025 1 12 0.05", "2026 1 12 0.075"}
        << QStringList{"2025-12-10 50", "2026-02-10 100"} << "$10.00";
    // 10.10 x 8.25 % is 0.83325: each invoice charged 0.83, so the report adds 1.66.
    QTest::newRow("each invoice rounded to the cent")
        << QStringList{"2026 1 12 0.0825"} << QStringList{"2026-03-10 10.10", "2026-03-11 10.10"}
        << "$1.66";
    // Half a cent of tax rounds up: 0.50 x 5 % = 0.025.
    QTest::newRow("half a cent rounds up")
        << QStringList{"2026 1 12 0.05"} << QStringList{"2026-03-10 0.50"} << "$0.03";
}

void TestReports::taxAgreesWithTheInvoices()
{
    QFETCH(QStringList, rates);
    QFETCH(QStringList, invoices);
    QFETCH(QString, tax);
    TestShop shop;
    shop.addTaxRates(rates);
    Currency parts;
    Currency charged;
    int number = 0;
    for (const QString& invoice : invoices) {
        const QStringList f = invoice.split(' ');
        addInvoice(shop, {++number, "Smith", f[0], true, "Yes"});
        addParts(shop, number, f[1].toDouble());
        addPayment(shop, number, "2026-03-15", 1);
        parts += Currency::parse(f[1]);
        // What the invoice window and printout charge for this invoice.
        std::unique_ptr<Query> rate(new Query(QStringLiteral("QTax"), DM->admin1(), nullptr));
        charged += SalesTotals::tax(
            f[1].toDouble(), SalesTotals::taxRow(rate.get(), QDate::fromString(f[0], Qt::ISODate),
                                                 SalesTotals::UncoveredMonth::FirstRowOfYear));
    }
    QCOMPARE(charged.toMoneyFormat(), tax);
    const Figures figures{(parts + charged).toMoneyFormat(), parts.toMoneyFormat(), "", tax, ""};
    QList<PreparedReport> sales;
    TTotalAmountReport byInvoiceDate([&](const PreparedReport& r) { sales.append(r); });
    setPeriod(byInvoiceDate, "12/1/2025", "12/31/2026");
    byInvoiceDate.print();
    QCOMPARE(shop.prompter().texts(), QStringList());
    QCOMPARE(sales.size(), 1);
    QCOMPARE(pageOf(sales.first()),
             expectedPage("Total Amounts Report", "Invoice Total Report", figures));
    QList<PreparedReport> received;
    TTotalReceivable byPaymentDate([&](const PreparedReport& r) { received.append(r); });
    setPeriod(byPaymentDate, "3/1/2026", "3/31/2026");
    byPaymentDate.print();
    QCOMPARE(received.size(), 1);
    QCOMPARE(pageOf(received.first()),
             expectedPage("Total Receivable Amounts Report", "Total Receivable Report",
                          {figures.amounts, figures.parts, "$0.00", tax, ""}));
}

void TestReports::receivableTotals_data()
{
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QString>("type");
    QTest::addColumn<Figures>("figures");
    // Invoices 10, 11 and 14: parts 100 + 200, labor 20 + 50 + 80, tax 7.00 (2025 at 7 %) +
    // 16.50 (2026 at 8.25 %); 14 is labor only and adds no tax.
    const Figures paid{"$473.50", "$300.00", "$150.00", "$23.50", "$100.00"};
    QTest::newRow("paid") << "All"
                          << "Paid" << paid;
    QTest::newRow("paid, a customer changes nothing") << "Smith"
                                                      << "Paid" << paid;
    // Invoice 13 is not marked paid: it counts only with "All".
    const Figures all{"$526.80", "$340.00", "$160.00", "$26.80", "$100.00"};
    QTest::newRow("all") << "All"
                         << "All" << all;
    QTest::newRow("all, with an apostrophe") << "O'Neil"
                                             << "All" << all;
}

void TestReports::receivableTotals()
{
    QFETCH(QString, customer);
    QFETCH(QString, type);
    QFETCH(Figures, figures);
    TestShop shop;
    receivableShop(shop);
    QList<PreparedReport> previews;
    TTotalReceivable w([&](const PreparedReport& r) { previews.append(r); });
    w.show();
    setPeriod(w, "3/1/2026", "3/31/2026");
    w.setFilterText("Customer", customer);
    w.setFilterText("Type", type);
    ui::click(&w, "Button3");
    QCOMPARE(shop.prompter().texts(), QStringList());
    QCOMPARE(previews.size(), 1);
    QCOMPARE(pageOf(previews.first()),
             expectedPage("Total Receivable Amounts Report", "Total Receivable Report", figures));
    QCOMPARE(previews.first().title, QStringLiteral("Total Receivable Amounts Report"));
}

void TestReports::receivableWorkTables()
{
    TestShop shop;
    receivableShop(shop);
    shop.exec("Insert into TotalTax values (99, 5)");
    TTotalReceivable w([](const PreparedReport&) {});
    setPeriod(w, "3/1/2026", "3/31/2026");
    w.setFilterText("Type", "Paid");
    w.print();
    QCOMPARE(shop.prompter().texts(), QStringList());
    // One row per finished invoice in each table, an earlier run's rows gone; 0 where an
    // invoice has no such lines or is not marked paid.
    const auto rows = [&](const char* table) {
        QStringList out;
        for (const QVariantList& row : shop.rows(QString("Select * From %1 Order By 1").arg(table)))
            out.append(row[0].toString() + "=" + QString::number(row[1].toDouble()));
        return out.join(' ');
    };
    QCOMPARE(rows("TotalLabor"), QStringLiteral("10=20 11=50 13=0 14=80"));
    QCOMPARE(rows("TotalItem"), QStringLiteral("10=100 11=200 13=0 14=0"));
    QCOMPARE(rows("TotalTax"), QStringLiteral("10=7 11=16.5 13=0 14=0"));
}

void TestReports::receivableTotalsWithoutRate()
{
    TestShop shop;
    receivableShop(shop);
    // A labor-only invoice of a year without a rate needs none.
    addInvoice(shop, {30, "Smith", "2024-06-01", true, "Yes"});
    addLabor(shop, 30, 15);
    addPayment(shop, 30, "2026-03-20", 15);
    QList<PreparedReport> previews;
    TTotalReceivable w([&](const PreparedReport& r) { previews.append(r); });
    setPeriod(w, "3/1/2026", "3/31/2026");
    w.print();
    QCOMPARE(shop.prompter().texts(), QStringList());
    QCOMPARE(previews.size(), 1);
    const QList<QVariantList> before = workTables(shop);

    // Neither does an untaxed one; a taxed one with parts does.
    addInvoice(shop, {31, "Smith", "2024-06-02", true, "No"});
    addParts(shop, 31, 15);
    addPayment(shop, 31, "2026-03-20", 15);
    addInvoice(shop, {32, "Smith", "2024-06-03", true, "YES"});
    addParts(shop, 32, 15);
    addPayment(shop, 32, "2026-03-21", 15);
    w.print();
    QCOMPARE(previews.size(), 1);
    QCOMPARE(shop.prompter().texts(ScriptedPrompter::Kind::Error).size(), 1);
    QVERIFY2(shop.prompter().last().contains("2024") && shop.prompter().last().contains("32"),
             qPrintable(shop.prompter().last()));
    QCOMPARE(workTables(shop), before);

    // Nor does a year whose row has no rate.
    shop.prompter().clear();
    shop.exec("Insert into Tax (Id_T, Year_T, A_T, E_T) values (2024, 2024, 1, 12)");
    w.print();
    QCOMPARE(previews.size(), 1);
    QVERIFY2(shop.prompter().last().contains("2024"), qPrintable(shop.prompter().last()));
    shop.exec("Delete From Tax Where Year_T = 2024");

    // A taxed invoice without a date cannot have a rate either.
    shop.prompter().clear();
    shop.exec("Update Invoice Set InvoiceDate_Inv = Null Where InvoiceNo_Inv = 32");
    w.print();
    QCOMPARE(previews.size(), 1);
    QVERIFY2(shop.prompter().last().contains("no invoice date"),
             qPrintable(shop.prompter().last()));
}

void TestReports::failedRunChangesNothing()
{
    TestShop shop;
    receivableShop(shop);
    QList<PreparedReport> previews;
    TTotalReceivable w([&](const PreparedReport& r) { previews.append(r); });
    setPeriod(w, "3/1/2026", "3/31/2026");
    w.print();
    QCOMPARE(previews.size(), 1);
    const QList<QVariantList> before = workTables(shop);
    QCOMPARE(before.size(), 12);

    // The last table's fill fails after the others were emptied and refilled.
    shop.refuseInserts("TotalTax", "the disk is full");
    setPeriod(w, "3/1/2026", "4/30/2026");
    w.print();
    QCOMPARE(previews.size(), 1);
    QCOMPARE(shop.prompter().texts(ScriptedPrompter::Kind::Error).size(), 1);
    QVERIFY(shop.prompter().last().contains("the disk is full"));
    QCOMPARE(workTables(shop), before);

    // Once the fault is gone the same run goes through.
    shop.allowInserts("TotalTax");
    w.print();
    QCOMPARE(previews.size(), 2);
    QVERIFY(workTables(shop) != before);
}

void TestReports::emptyPeriodPrintsEmptySums()
{
    TestShop shop;
    receivableShop(shop);
    QList<PreparedReport> previews;
    TTotalAmountReport amount([&](const PreparedReport& r) { previews.append(r); });
    setPeriod(amount, "1/1/2026", "1/31/2026");
    amount.print();
    TTotalReceivable receivable([&](const PreparedReport& r) { previews.append(r); });
    setPeriod(receivable, "1/1/2026", "1/31/2026");
    receivable.print();
    QCOMPARE(shop.prompter().texts(), QStringList());
    QCOMPARE(previews.size(), 2);
    // Every sum is empty; the total of three empty sums is nothing added up.
    QCOMPARE(pageOf(previews[0]), expectedPage("Total Amounts Report", "Invoice Total Report",
                                               {"$0.00", "", "", "", ""}));
    QCOMPARE(pageOf(previews[1]),
             expectedPage("Total Receivable Amounts Report", "Total Receivable Report",
                          {"$0.00", "", "", "", ""}));
}

void TestReports::totalsExportToPdf()
{
    TestShop shop;
    salesShop(shop);
    QList<PreparedReport> previews;
    TTotalAmountReport w([&](const PreparedReport& r) { previews.append(r); });
    setPeriod(w, "3/1/2026", "3/31/2026");
    w.print();
    QCOMPARE(previews.size(), 1);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("totals.pdf");
    QCOMPARE(previews.first().exportPdf(pdf), QString());
    const QList<QSizeF> pages = pdfPages(pdf);
    QCOMPARE(pages.size(), 1);
    QVERIFY(qAbs(pages.first().width() - 215.9) < 1 && qAbs(pages.first().height() - 279.4) < 1);
    QVERIFY(runTool("pdftotext", {pdf, "-"}).contains("$464.75"));
}

void TestReports::agingWindows()
{
    TestShop shop;
    shop.exec("Insert into Invoice (InvoiceNo_Inv, CustomerName_Inv, InvoiceDate_Inv, "
              "DueDate_Inv, Amount_Inv, Paid_Inv) values (1, 'Acme', #11/1/2026#, "
              "#11/10/2026#, 200, No)");
    shop.exec("Insert into Bill (Ref_Bill, Vendor_Bill, BillDate_Bill, DueDate_Bill, "
              "Amount_Bill) values ('B1', 'Parts Co', #9/1/2026#, #9/10/2026#, 40)");
    TMainForm* mainForm = shop.mainFormWithTasks();
    ui::click(mainForm, "SpeedButton3");
    auto* launcher = ui::newest<TReport>(mainForm);
    QCOMPARE(launcher->button("Button12")->text(), QStringLiteral("Receivables Aging"));
    QCOMPARE(launcher->button("Button13")->text(), QStringLiteral("Payables Aging"));
    for (const auto& [button, party, row] : {std::tuple{"Button12", "Customer", "Acme"},
                                             std::tuple{"Button13", "Vendor", "Parts Co"}}) {
        ui::click(launcher, button);
        auto* aging = ui::newest<TAgingReport>(mainForm);
        // One day, not a period: the box "As of", today to begin with.
        QVERIFY(!aging->fromBox());
        QCOMPARE(aging->toBox()->text(), QDate::currentDate().toString("M/d/yyyy"));
        ui::type(aging->toBox()->lineEdit(), "12/10/2026");
        const PreparedReport report = aging->prepareReport();
        const QString text = report.pageText(0);
        for (const QString& piece : {aging->windowTitle(), QStringLiteral("As of 12/10/2026"),
                                     QString(party), QString(row), QStringLiteral("Over 90")})
            QVERIFY2(text.contains(piece), qPrintable(piece + " in " + text));
        // 200 on day 30; 40 on day 91.
        QVERIFY2(text.contains(QString(button) == "Button12" ? "200.00" : "40.00"),
                 qPrintable(text));
        // A day that is no date is named, and nothing runs.
        ui::type(aging->toBox()->lineEdit(), "13/45/2026");
        QVERIFY(refusal([aging] { aging->prepareReport(); }).contains(QStringLiteral("As of")));
    }
}

// Every customer who owes gets a statement on sheets of its own, the shop's block from its
// profile on each; a customer who owes nothing gets none.
void TestReports::statementWindow()
{
    TestShop shop;
    shop.exec("Update Reg set Name_R = 'Northway Diesel', City_R = 'Gary'");
    shop.exec("Insert into Customer (ID_Customer, Name_Customer, Address_Customer, City_Customer, "
              "State_Customer, Zip_Customer) values (1, 'Acme', '1 Main St', 'Reno', 'NV', "
              "'89501')");
    const auto invoice = [&](int n, const QString& customer, const QDate& date, double amount,
                             bool paid) {
        shop.exec("Insert into Invoice (InvoiceNo_Inv, CustomerName_Inv, InvoiceDate_Inv, "
                  "DueDate_Inv, Amount_Inv, Paid_Inv) values (?, ?, ?, ?, ?, ?)",
                  {n, customer, date, date, amount, paid});
    };
    invoice(1, "Acme", QDate(2026, 11, 10), 200, false); // day 30
    invoice(2, "Acme", QDate(2026, 11, 9), 80, false);   // day 31
    shop.exec("Insert into Receivable (InvoiceNo_Receivable, PayDate_Receivable, "
              "Amount_Receivable) values (2, ?, 30)",
              {QDate(2026, 11, 20)});
    invoice(3, "Bolt", QDate(2026, 12, 1), 45.5, false);
    invoice(4, "Paid Up", QDate(2026, 12, 1), 99, true);
    TMainForm* mainForm = shop.mainFormWithTasks();
    ui::click(mainForm, "SpeedButton3");
    auto* launcher = ui::newest<TReport>(mainForm);
    QCOMPARE(launcher->button("Button14")->text(), QStringLiteral("Customer Statements"));
    ui::click(launcher, "Button14");
    auto* window = ui::newest<TCustomerStatement>(mainForm);
    QVERIFY(!window->fromBox());
    QCOMPARE(window->filterText("Customer"), QStringLiteral("All"));
    ui::type(window->toBox()->lineEdit(), "12/10/2026");
    PreparedReport report = window->prepareReport();
    QCOMPARE(report.pageCount(), 2);
    const QString acme = report.pageText(0);
    const QString bolt = report.pageText(1);
    for (const char* piece :
         {"Northway Diesel", "Gary", "STATEMENT", "Statement Date: 12/10/2026", "Acme", "1 Main St",
          "Reno, NV 89501", "200.00", "50.00", "Total Due: $250.00"})
        QVERIFY2(acme.contains(piece), qPrintable(QString(piece) + " in " + acme));
    QVERIFY2(!acme.contains("Bolt") && !acme.contains("Paid Up"), qPrintable(acme));
    for (const char* piece : {"Northway Diesel", "Bolt", "45.50", "Total Due: $45.50"})
        QVERIFY2(bolt.contains(piece), qPrintable(QString(piece) + " in " + bolt));
    QVERIFY2(!report.pageText(1).contains("Paid Up"), qPrintable(bolt));
    // One customer's statement.
    window->setFilterText("Customer", "Bolt");
    report = window->prepareReport();
    QCOMPARE(report.pageCount(), 1);
    QVERIFY(report.pageText(0).contains("Total Due: $45.50"));
}

QTEST_MAIN(TestReports)
#include "tst_reports.moc"
