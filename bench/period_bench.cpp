// Benchmarks of the period reports, each prepared and shown in the preview:
// - a year's sales totals by invoice date and a year's totals by payment date (the work tables
//   emptied and refilled in one transaction), on the generated shop of ten busy years (7,500
//   invoices a year) and on one a tenth of its size;
// - the finished and open invoice reports and the five listing reports for a year and for all
//   ten years of the large shop.
// Each is reported beside the same statements run straight on SQLite's C API on the same file,
// the work-table statements in one transaction there too.
// Usage: period_bench [google benchmark flags]; the databases are those of invoice_bench
// (bench-shop-*.db in the working folder), generated on the first run.

#include "BenchSupport.h"
#include "ServerShop.h"
#include "ShopGenerator.h"
#include "data/TDM.h"
#include "printing/PreparedReport.h"
#include "printing/PreviewWindow.h"
#include "reports/AgingReports.h"
#include "reports/InvoiceStatusReports.h"
#include "reports/ListingReports.h"
#include "reports/TTruckHistory.h"
#include "reports/TotalReports.h"
#include "stores/ReportStore.h"
#include "stores/TruckStore.h"
#include "ui/common/DateBox.h"

#include <QApplication>
#include <QLineEdit>

#include <memory>

namespace {

// The period of the totals, and of the other reports' year; their ten years start in 2016.
QString from = QStringLiteral("1/1/2026");
const QString to = QStringLiteral("12/31/2026");
const QString tenYears = QStringLiteral("1/1/2016");

struct Shop
{
    std::unique_ptr<TDM> dm;
    std::unique_ptr<Straight> straight;
};

QString period(const QString& column)
{
    return column + " Between #" + from + "# and #" + to + "#";
}

QString purchases()
{
    return sql("select SUM(Amount_Item) From Items I, Orders O where " +
               period("O.OrderDate_Order") + " And O.Po_Order= I.Po_Item");
}

QStringList salesStatements()
{
    const QString invoices = " where " + period("O.InvoiceDate_Inv") + " And O.Paid_Inv <> No";
    return {sql("Select * From Tax where Year_T =2026 Order By A_T"),
            sql("select SUM(L.Amount_Labor) From Invoice O,InvLabor L" + invoices +
                " And O.InvoiceNo_Inv = L.Inv_Labor"),
            sql("select SUM(I.Amount_Item) From Invoice O, InvItem I" + invoices +
                " And O.InvoiceNo_Inv= I.Inv_Item"),
            sql("select SUM(I.Amount_Item*0.08) From Invoice O, InvItem I" + invoices +
                " And UCase(O.Tax_Inv) = 'YES' And O.InvoiceNo_Inv= I.Inv_Item"),
            purchases()};
}

QStringList receivableStatements()
{
    const QString paid = " And O.Paid_Inv <> No";
    const QString taxed = " And UCase(O.Tax_Inv) = 'YES'";
    return {"BEGIN",
            sql("Delete * from TotalLabor"),
            sql("Delete * from TotalItem"),
            sql("Delete * from TotalTax"),
            sql("Insert Into TotalLabor ( T_Inv_Labor, T_Amount_labor) select distinct "
                "R.InvoiceNo_Receivable, 0 From Receivable R where " +
                period("R.PayDate_Receivable") +
                " And Not Exists (select A.InvoiceNo_Receivable From Receivable A where "
                "A.PayDate_Receivable >#" +
                to + "# And A.InvoiceNo_Receivable=R.InvoiceNo_Receivable)"),
            sql("Update TotalLabor Set T_Amount_labor = Nz((select SUM(L.Amount_Labor) From "
                "InvLabor L,Invoice O where L.Inv_Labor= TotalLabor.T_Inv_Labor" +
                paid + " And O.InvoiceNo_Inv = L.Inv_Labor), 0)"),
            sql("Insert Into TotalItem ( T_Inv_Item, T_Amount_Item) select W.T_Inv_Labor, "
                "Nz((select SUM(I.Amount_Item) From InvItem I,Invoice O where I.Inv_Item= "
                "W.T_Inv_Labor" +
                paid + " And O.InvoiceNo_Inv = I.Inv_Item), 0) From TotalLabor W"),
            sql("select Top 1 O.InvoiceNo_Inv, O.InvoiceDate_Inv From TotalLabor W, Invoice O "
                "where O.InvoiceNo_Inv = W.T_Inv_Labor" +
                taxed +
                " And Exists (select I.Inv_Item From InvItem I where I.Inv_Item = W.T_Inv_Labor) "
                "And Not Exists (select T.Year_T From Tax T where T.Year_T = "
                "Year(O.InvoiceDate_Inv))" +
                paid),
            sql("Insert Into TotalTax ( T_Inv_Tax, T_Amount_Tax) select W.T_Inv_Labor, "
                "Nz((select SUM(I.Amount_Item*(select Top 1 T.Tax_T From Tax T where T.Year_T = "
                "Year(O.InvoiceDate_Inv) Order By T.A_T)) From InvItem I,Invoice O where "
                "I.Inv_Item= W.T_Inv_Labor" +
                taxed + paid + " And O.InvoiceNo_Inv = I.Inv_Item), 0) From TotalLabor W"),
            "COMMIT",
            sql("select SUM(T_Amount_Labor) From TotalLabor"),
            sql("select SUM(T_Amount_Item) From TotalItem"),
            sql("select SUM(T_Amount_Tax) From TotalTax"),
            purchases()};
}

// The report prepared for the period and shown in a preview window, which is then closed.
template<class Window>
void prepareAndPreview(benchmark::State& state, Shop* shop, const QStringList& straight,
                       const QHash<QString, QString>& filters = {})
{
    int pages = 0;
    Window window([&pages](const PreparedReport& report) {
        PreviewWindow preview(report);
        preview.show();
        QApplication::processEvents();
        pages = report.pageCount();
    });
    window.fromBox()->lineEdit()->setText(from);
    window.toBox()->lineEdit()->setText(to);
    for (auto it = filters.begin(); it != filters.end(); ++it)
        window.setFilterText(it.key(), it.value());
    measure(
        state, [&window] { window.print(); }, shop->straight->milliseconds(straight, 3));
    state.counters["pages"] = pages;
    if (pages < 1)
        state.SkipWithError("The report was not shown");
}

void salesTotalsYear(benchmark::State& state, Shop* shop)
{
    prepareAndPreview<TTotalAmountReport>(state, shop, salesStatements());
}

void receivableTotalsYear(benchmark::State& state, Shop* shop)
{
    prepareAndPreview<TTotalReceivable>(state, shop, receivableStatements());
}

const QString orderColumns =
    "select O.Po_Order,O.SideMark_Order,O.OrderDate_Order,O.Vendor_Order,I.Po_Item,I.Name_Item,"
    "I.Qty_Item,I.Rate_Item,I.Amount_Item From Orders O,Items I where ";

void finishedInvoices(benchmark::State& state, Shop* shop)
{
    prepareAndPreview<TFinishedInvoiceReport>(
        state, shop,
        {"BEGIN", sql("Delete * from TotalReport"),
         sql("Insert Into TotalReport ( InvNo, Name, Via, DateT, Amount) select "
             "R.InvoiceNo_Receivable, R.Name_Receivable, R.ViaPayment_Receivable, "
             "R.PayDate_Receivable, R.Amount_Receivable From Receivable R, Invoice I where "
             "R.InvoiceNo_Receivable In (select InvoiceNo_Receivable From Receivable where " +
             period("PayDate_Receivable") +
             ") And I.Paid_Inv <> No And I.InvoiceNo_Inv = R.InvoiceNo_Receivable And Not "
             "Exists (select A.InvoiceNo_Receivable From Receivable A where "
             "A.PayDate_Receivable >#" +
             to +
             "# And A.InvoiceNo_Receivable=R.InvoiceNo_Receivable) Order By "
             "R.InvoiceNo_Receivable, R.PayDate_Receivable"),
         "COMMIT", sql("select * From TotalReport")});
}

void openInvoices(benchmark::State& state, Shop* shop)
{
    prepareAndPreview<TOpenInvoice>(
        state, shop,
        {"BEGIN", sql("Delete * from OpenInvoice"),
         sql("Insert Into OpenInvoice ( InvNo, Name, DateT,PaidT, Amount) select "
             "O.InvoiceNo_Inv, O.CustomerName_Inv, O.InvoiceDate_Inv, Nz((select "
             "SUM(Amount_Receivable) From Receivable where "
             "InvoiceNo_Receivable=O.InvoiceNo_Inv), 0), O.Amount_Inv From Invoice O where " +
             period("InvoiceDate_Inv") + " And Paid_Inv <> No"),
         "COMMIT", sql("select * From OpenInvoice")},
        {{"Type", "Paid"}});
}

void payableReport(benchmark::State& state, Shop* shop)
{
    prepareAndPreview<TReportPayable>(
        state, shop, {sql("select * From Payable where " + period("PayDate_Payable"))});
}

void receivableReport(benchmark::State& state, Shop* shop)
{
    prepareAndPreview<TReportReceivable>(
        state, shop, {sql("select * From Receivable where " + period("PayDate_Receivable"))});
}

void vendorReport(benchmark::State& state, Shop* shop)
{
    prepareAndPreview<TReportVendor1>(
        state, shop,
        {sql(orderColumns + period("O.OrderDate_Order") + " And O.Po_Order = I.Po_Item")});
}

void itemsReport(benchmark::State& state, Shop* shop)
{
    prepareAndPreview<TReportItems>(
        state, shop,
        {sql(orderColumns + "Name_Item Like '%%' And " + period("O.OrderDate_Order") +
             " And O.Po_Order = I.Po_Item")});
}

void customerReport(benchmark::State& state, Shop* shop)
{
    prepareAndPreview<TReportCustomer>(
        state, shop,
        {sql("select O.InvoiceNo_Inv,O.Customername_Inv,O.Invoicedate_Inv,O.Po_Inv,"
             "O.Amount_Inv,O.Paid_Inv,O.TruckNo_Inv,I.Inv_Item,I.Name_Item,I.Qty_Item,"
             "I.Rate_Item,I.Amount_Item From Invoice O,InvItem I where " +
             period("O.InvoiceDate_Inv") + " And O.InvoiceNo_Inv = I.Inv_Item")});
}

// An aging report as of the shop's last day: its rows gathered and laid out (the preview not
// drawn). Straight: the same statement on SQLite.
void aging(benchmark::State& state, Shop* shop, TAgingReport::Side side)
{
    TAgingReport window(side, {});
    window.toBox()->lineEdit()->setText(QStringLiteral("12/10/2026"));
    const QDate day(2026, 12, 10);
    const SqlStatement statement = side == TAgingReport::Side::Receivables
                                       ? ReportStore::receivablesAgingOn(day)
                                       : ReportStore::payablesAgingOn(day);
    int pages = 0;
    measure(
        state, [&] { pages = window.prepareReport().pageCount(); },
        shop->straight->milliseconds({sql(statement)}, 3));
    state.counters["pages"] = pages;
}

// Every customer's statement as of the shop's last day, laid out (about 300 customers owe).
// Straight: the statement's rows on SQLite.
void statementsAll(benchmark::State& state, Shop* shop)
{
    TCustomerStatement window({});
    window.toBox()->lineEdit()->setText(QStringLiteral("12/10/2026"));
    int pages = 0;
    measure(
        state, [&] { pages = window.prepareReport().pageCount(); },
        shop->straight->milliseconds(
            {sql(ReportStore::statementsOn(QDate(2026, 12, 10), std::nullopt)),
             sql(QStringLiteral("select * From Reg"))},
            3));
    state.counters["pages"] = pages;
}

// The truck history window answering a part of a VIN, a truck number and a part of a plate,
// with the first document's lines. Straight: the statements on
// SQLite.
void truckHistory(benchmark::State& state, Shop* shop, int kind)
{
    Query vin(QStringLiteral("Vin"), DM->admin1());
    // A truck of an invoice halfway through the shop's years.
    vin.setSql(SqlStatement{{QStringLiteral("select Vin_Inv, TruckNo_Inv, Plate_Inv, "
                                            "InvoiceNo_Inv From Invoice where InvoiceNo_Inv = "
                                            "(select Max(InvoiceNo_Inv) / 2 From Invoice)")}});
    vin.open();
    const qint64 number = vin.field(0, 3).asText().toLongLong();
    const QString text = kind == 0   ? vin.field(0, 0).asText().mid(5, 7)
                         : kind == 1 ? vin.field(0, 1).asText()
                                     : vin.field(0, 2).asText().mid(3);
    TTruckHistory window({}, 30);
    const SqlStatement history = *TruckStore::historyOn(false, text, 30);
    int rows = 0;
    measure(
        state,
        [&] {
            window.load(text);
            rows = window.query()->recordCount();
        },
        shop->straight->milliseconds(
            {sql(history), sql(*TruckStore::lines(QStringLiteral("Invoice"), number))}, 3));
    state.counters["rows"] = rows;
}

Shop* openShop(const QString& path, double scale)
{
    ShopGenerator::generate(path, scale);
    auto* shop = new Shop;
    // On the file, or on the server TAVLIN_BENCH_SERVER names (copied there once).
    shop->dm = std::make_unique<TDM>(benchTarget(path), nullptr);
    shop->straight = std::make_unique<Straight>(path);
    return shop;
}

} // namespace

int main(int argc, char** argv)
{
    Shops<Shop> shops(openShop);
    static Shops<Shop>* all = &shops;
    return runAnsweringYes(
        argc, argv,
        [] {
            registerOnShops<Shop>(
                {{"SalesTotalsYear", salesTotalsYear},
                 {"ReceivableTotalsYear", receivableTotalsYear},
                 {"ReceivablesAging",
                  [](benchmark::State& s, Shop* shop) {
                      aging(s, shop, TAgingReport::Side::Receivables);
                  }},
                 {"PayablesAging",
                  [](benchmark::State& s, Shop* shop) {
                      aging(s, shop, TAgingReport::Side::Payables);
                  }},
                 {"StatementsAll", statementsAll},
                 {"TruckHistoryVin",
                  [](benchmark::State& s, Shop* shop) { truckHistory(s, shop, 0); }},
                 {"TruckHistoryTruckNo",
                  [](benchmark::State& s, Shop* shop) { truckHistory(s, shop, 1); }},
                 {"TruckHistoryPlate",
                  [](benchmark::State& s, Shop* shop) { truckHistory(s, shop, 2); }}},
                [](const QString& size) { return all->of(size); });
            // The other reports for a year and for the ten years of the large shop.
            const QList<std::pair<const char*, void (*)(benchmark::State&, Shop*)>> reports = {
                {"FinishedInvoices", finishedInvoices}, {"OpenInvoicesPaid", openInvoices},
                {"PayableReport", payableReport},       {"ReceivableReport", receivableReport},
                {"VendorReport", vendorReport},         {"ItemReport", itemsReport},
                {"CustomerReportParts", customerReport}};
            for (const QString first : {"1/1/2026", "1/1/2016"})
                for (const auto& [name, command] : reports) {
                    auto run = command;
                    benchmark::RegisterBenchmark(
                        (QString(name) + (first == tenYears ? "/tenyears" : "/year"))
                            .toUtf8()
                            .constData(),
                        [run, first](benchmark::State& state) {
                            from = first;
                            run(state, all->of("large"));
                            from = QStringLiteral("1/1/2026");
                        })
                        ->Unit(benchmark::kMillisecond);
                }
        },
        [] { all->reset(); });
}
