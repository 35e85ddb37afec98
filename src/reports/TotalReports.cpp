#include "reports/TotalReports.h"

#include "data/DbError.h"
#include "data/Formats.h"
#include "data/Query.h"
#include "reports/ReportFilters.h"
#include "reports/WorkTables.h"

namespace {
const QString layout = QStringLiteral(":/reports/layouts/totals.json");
// The invoices marked paid, for every Type but "All".
const QString paidOnly = QStringLiteral(" And O.Paid_Inv <> No");
// The invoice window stores its tax choice as the text "Yes" or "No".
const QString taxed = QStringLiteral(" And UCase(O.Tax_Inv) = 'YES'");

ReportDescription totals(const QString& title, const QString& section)
{
    ReportDescription d;
    d.layout = layout;
    d.dataSets = {{"Labor", "Q1"}, {"Parts", "Q2"}, {"Tax", "Q5"}, {"Purchases", "Q4"}};
    d.parameters = {{"Title", title}, {"Section", section}};
    d.reportTitle = title;
    return d;
}

// The value of the parts ordered from vendors in the period, whoever and whatever the filters.
QStringList purchases(const QString& from, const QString& to)
{
    return {"select SUM(Amount_Item) From  Items I, Orders O  where O.OrderDate_Order Between #" +
                from + "# and #" + to + "#",
            " And O.Po_Order= I.Po_Item "};
}

// The rate of invoice O by the rule every figure of an invoice uses: the tax row of its year
// whose months cover its month (the earliest starting), else its year's earliest starting row.
QString invoiceRate()
{
    const QString year = QStringLiteral("Year(O.InvoiceDate_Inv)");
    const QString month = QStringLiteral("Month(O.InvoiceDate_Inv)");
    return "Nz((select Top 1 T.Tax_T From Tax T where T.Year_T = " + year +
           " And T.A_T <= " + month + " And T.E_T >= " + month +
           " Order By T.A_T), (select Top 1 T.Tax_T From Tax " + "T where T.Year_T = " + year +
           " Order By T.A_T))";
}

// Each invoice's own tax: its parts at its rate, rounded to the cent as the invoice is.
QString invoiceTax()
{
    return "Cents(SUM(I.Amount_Item) * " + invoiceRate() + ")";
}
const QString eachInvoice = QStringLiteral(" Group By O.InvoiceNo_Inv, O.InvoiceDate_Inv");

// Stops the report when a taxed invoice with parts has no rate for its year.
void checkRates(const Query* missing)
{
    if (missing->isEmpty())
        return;
    const QString invoice = missing->field(QStringLiteral("InvoiceNo_Inv")).asText();
    const Field date = missing->field(QStringLiteral("InvoiceDate_Inv"));
    if (date.isNull())
        throw DbError(QStringLiteral("Invoice %1 is taxed but has no invoice date, so its "
                                     "tax rate cannot be found. Give it a date and print "
                                     "again.")
                          .arg(invoice));
    throw DbError(QStringLiteral("The Tax window has no sales tax rate for %1, so the tax on "
                                 "parts cannot be worked out. Enter the rate for %1 and print "
                                 "again.")
                      .arg(Formats::parseShortDate(date.asText()).year()) +
                  QStringLiteral(" (Invoice %1 is taxed.)").arg(invoice));
}
const QString noRateOfItsYear = QStringLiteral(
    " And Not Exists (select T.Year_T From Tax T where T.Year_T = Year(O.InvoiceDate_Inv) And "
    "T.Tax_T Is Not Null)");

} // namespace

// ---- Totals by invoice date ------------------------------------------------------------------

ReportDescription TTotalAmountReport::totalAmountDescription()
{
    ReportDescription d =
        totals(QStringLiteral("Total Amounts Report"), QStringLiteral("Invoice Total Report"));
    d.objectName = QStringLiteral("TotalAmountReport");
    d.caption = QStringLiteral("TotalAmountReport");
    d.heading = QStringLiteral("Total  Invoice Amount Report");
    d.filters = {ReportFilters::customer(QStringLiteral(" And O.CustomerName_Inv = ")),
                 ReportFilters::paidType(QStringLiteral("ComboBox2"), {"Paid", "Open"}, paidOnly)};
    return d;
}

TTotalAmountReport::TTotalAmountReport(Preview preview, QWidget* parent)
    : ReportWindow(totalAmountDescription(), std::move(preview), parent)
{}

void TTotalAmountReport::gather()
{
    const QString from = this->from();
    const QString to = this->to();
    const QString period = " where O.InvoiceDate_Inv Between #" + from + "# and #" + to + "#";
    // Each taxed invoice with parts needs a rate for its own year.
    checkRates(open(
        QStringLiteral("QTax"),
        statement("select Top 1 O.InvoiceNo_Inv, O.InvoiceDate_Inv From Invoice O" + period + taxed,
                  " And Exists (select I.Inv_Item From InvItem I where I.Inv_Item = "
                  "O.InvoiceNo_Inv)" +
                      noRateOfItsYear)));
    open(QStringLiteral("Q1"),
         statement("select SUM(L.Amount_Labor) From  Invoice O,InvLabor L" + period,
                   " And O.InvoiceNo_Inv = L.Inv_Labor"));
    open(QStringLiteral("Q2"),
         statement("select SUM(I.Amount_Item) From  Invoice O, InvItem I" + period,
                   " And O.InvoiceNo_Inv= I.Inv_Item "));
    // The sum of every invoice's own tax, each at the rate of its own date.
    open(QStringLiteral("Q5"),
         statement("select SUM(X.InvoiceTax) From (select " + invoiceTax() +
                       " As InvoiceTax From  Invoice O, InvItem I" + period,
                   " And O.InvoiceNo_Inv= I.Inv_Item " + taxed + eachInvoice + ") X"));
    open(QStringLiteral("Q4"), SqlStatement{purchases(from, to)});
}

// ---- Totals by payment date ------------------------------------------------------------------

ReportDescription TTotalReceivable::totalReceivableDescription()
{
    ReportDescription d = totals(QStringLiteral("Total Receivable Amounts Report"),
                                 QStringLiteral("Total Receivable Report"));
    d.objectName = QStringLiteral("TotalReceivable");
    d.caption = QStringLiteral("TotalReceivable");
    d.heading = QStringLiteral("Total Receivable");
    d.printName = QStringLiteral("Button3");
    ReportFilter customer = ReportFilters::customer({});
    customer.ignoredHint =
        QStringLiteral("Totals by payment date always cover the invoices of every customer");
    ReportFilter tax{QStringLiteral("Tax"), QStringLiteral("ComboBox3")};
    tax.items = {QStringLiteral("Yes")};
    tax.start = QStringLiteral("Yes");
    tax.ignoredHint = QStringLiteral("The tax on parts of taxed invoices is always in the totals");
    d.filters = {customer,
                 ReportFilters::paidType(QStringLiteral("ComboBox2"), {"All", "Paid"}, paidOnly),
                 tax};
    return d;
}

TTotalReceivable::TTotalReceivable(Preview preview, QWidget* parent)
    : ReportWindow(totalReceivableDescription(), std::move(preview), parent)
{}

void TTotalReceivable::gather()
{
    const QString from = this->from();
    const QString to = this->to();
    // The Type line, when it is not "All"; the customer plays no part here.
    const SqlStatement type = conditions();
    const auto withType = [&type](const QStringList& lines, const QString& join) {
        return lines + type + QStringList{join};
    };

    WorkTableRun run(
        {QStringLiteral("TotalLabor"), QStringLiteral("TotalItem"), QStringLiteral("TotalTax")});
    // Every invoice that received a payment in the period and none after it, once.
    run.exec(SqlStatement{{" Insert Into TotalLabor ( T_Inv_Labor, T_Amount_labor)",
                           "select distinct R.InvoiceNo_Receivable, 0 From  Receivable R",
                           " where R.PayDate_Receivable Between #" + from + "# and #" + to + "#",
                           " And Not Exists (select A.InvoiceNo_Receivable From  Receivable A",
                           " where A.PayDate_Receivable >#" + to + "#",
                           " And A.InvoiceNo_Receivable=R.InvoiceNo_Receivable)"}});
    // Each invoice's labor and parts; 0 for one without such lines or, with Type "Paid", for
    // one that is not marked paid.
    run.exec(withType({"Update TotalLabor Set T_Amount_labor = Nz((select SUM(L.Amount_Labor)",
                       " From  InvLabor L,Invoice O where L.Inv_Labor= TotalLabor.T_Inv_Labor"},
                      " And O.InvoiceNo_Inv = L.Inv_Labor), 0)"));
    run.exec(withType({" Insert Into TotalItem ( T_Inv_Item, T_Amount_Item)",
                       "select W.T_Inv_Labor, Nz((select SUM(I.Amount_Item)",
                       " From  InvItem I,Invoice O where I.Inv_Item= W.T_Inv_Labor"},
                      " And O.InvoiceNo_Inv = I.Inv_Item), 0) From TotalLabor W"));

    // A taxed invoice with parts needs the rate of its own year.
    checkRates(run.open(withType(
        {"select Top 1 O.InvoiceNo_Inv, O.InvoiceDate_Inv From TotalLabor W, Invoice O",
         " where O.InvoiceNo_Inv = W.T_Inv_Labor" + taxed,
         " And Exists (select I.Inv_Item From InvItem I where I.Inv_Item = W.T_Inv_Labor)" +
             noRateOfItsYear},
        QString())));
    // Each invoice's own tax, at the rate of its own date, rounded as the invoice rounds it.
    run.exec(
        withType({" Insert Into TotalTax ( T_Inv_Tax, T_Amount_Tax)",
                  "select W.T_Inv_Labor, Nz((select " + invoiceTax(),
                  " From  InvItem I,Invoice O where I.Inv_Item= W.T_Inv_Labor" + taxed},
                 " And O.InvoiceNo_Inv = I.Inv_Item" + eachInvoice + "), 0) From TotalLabor W"));
    // Read before the commit, so that another station's run of the same report cannot
    // replace the rows between filling and reading them.
    open(QStringLiteral("Q1"),
         SqlStatement{{QStringLiteral("select SUM(T_Amount_Labor) From  TotalLabor")}});
    open(QStringLiteral("Q2"),
         SqlStatement{{QStringLiteral("select SUM(T_Amount_Item) From  TotalItem")}});
    open(QStringLiteral("Q5"),
         SqlStatement{{QStringLiteral("select SUM(T_Amount_Tax) From  TotalTax")}});
    open(QStringLiteral("Q4"), SqlStatement{purchases(from, to)});
    run.commit();
}
