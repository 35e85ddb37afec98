#include "stores/ReportStore.h"

#include "data/Connection.h"
#include "data/SqlSelect.h"
#include "data/Transaction.h"

namespace {
using Choice = ReportStore::Choice;

// A text as it is bound: an empty text is an empty text, never an empty value.
QVariant text(const QString& value)
{
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value);
}

// The condition of a choice, its text bound; nothing without a choice.
SqlStatement chosen(const QString& condition, const Choice& choice)
{
    if (!choice)
        return {};
    return SqlStatement{{condition + QLatin1Char('?')}, {text(*choice)}};
}

// A condition that holds no value, when it applies.
SqlStatement when(bool applies, const QString& condition)
{
    return applies ? SqlStatement{{condition}} : SqlStatement{};
}

// ---- Tax -------------------------------------------------------------------------------------

// The invoice window stores its tax choice as the text "Yes" or "No". Texts compare without
// letter case on every engine, so the column is compared as it is stored: a server then knows
// from its statistics how many invoices are taxed and plans the join by them.
const QString taxed = QStringLiteral(" And O.Tax_Inv = 'YES'");
// The invoices marked paid. Written "not No", the same rows of a yes/no column as "= Yes":
// then a period's invoices are found by the date's index rather than by the paid flag's,
// which holds nearly every invoice of every year.
const QString paidInvoice = QStringLiteral(" And O.Paid_Inv <> No");

// The rate of an invoice of the given year and month by the rule every figure of an invoice
// uses: the tax row of its year whose months cover its month (the earliest starting), else its
// year's earliest starting row.
QString rateOf(const QString& year, const QString& month)
{
    return "Nz((select Top 1 T.Tax_T From Tax T where T.Year_T = " + year +
           " And T.A_T <= " + month + " And T.E_T >= " + month +
           " Order By T.A_T), (select Top 1 T.Tax_T From Tax " + "T where T.Year_T = " + year +
           " Order By T.A_T))";
}

// Each invoice's own tax from S, a row per invoice of its parts' value (Amount) and its date's
// year (Y) and month (M): rounded to the cent as the invoice is. S groups its rows, so that a
// server reads the rate with the year and month as plain values, not as a date taken apart
// again for every row of the tax table.
const QString taxOfEach =
    "Cents(S.Amount * " + rateOf(QStringLiteral("S.Y"), QStringLiteral("S.M")) + ")";
const QString yearAndMonth =
    QStringLiteral(", Year(O.InvoiceDate_Inv) As Y, Month(O.InvoiceDate_Inv) As M");
const QString eachInvoice = QStringLiteral(" Group By O.InvoiceNo_Inv, O.InvoiceDate_Inv");

// A taxed invoice with parts whose year has no rate.
const QString noRateOfItsYear = QStringLiteral(
    " And Not Exists (select T.Year_T From Tax T where T.Year_T = Year(O.InvoiceDate_Inv) And "
    "T.Tax_T Is Not Null)");

// The value of the parts ordered from vendors in the period, whoever and whatever the filters.
SqlStatement purchases(const QDate& from, const QDate& to)
{
    return SqlStatement{{"select SUM(Amount_Item) From  Items I, Orders O  where "
                         "O.OrderDate_Order Between ? and ?",
                         " And O.Po_Order= I.Po_Item "},
                        {from, to}};
}

// ---- Listings --------------------------------------------------------------------------------

const QString orderColumns =
    QStringLiteral("select O.Po_Order,O.SideMark_Order,O.OrderDate_Order,O.Vendor_Order,"
                   "I.Po_Item,I.Name_Item,I.Qty_Item,I.Rate_Item,I.Amount_Item From  Orders O,"
                   "Items I where ");
const QString orderPeriod = QStringLiteral("O.OrderDate_Order Between ? and ?");
const QString orderJoin = QStringLiteral(" And O.Po_Order = I.Po_Item");

const QString invoiceColumns =
    QStringLiteral("select O.InvoiceNo_Inv,O.Customername_Inv,O.Invoicedate_Inv,O.Po_Inv,"
                   "O.Amount_Inv,O.Paid_Inv,O.TruckNo_Inv,");
const QString invoicePeriod = QStringLiteral(" where O.InvoiceDate_Inv Between ? and ?");

// A part text as a Like pattern found anywhere in a name: its % and _ stay wildcards, its
// backslashes match themselves on every engine (with ESCAPE '\').
QString anywhere(const QString& part)
{
    QString pattern = part;
    pattern.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return QLatin1Char('%') + pattern + QLatin1Char('%');
}
} // namespace

// ---- Work tables -----------------------------------------------------------------------------

void ReportStore::takeWorkTables(const QStringList& tables) const
{
    // The work tables are the shop's, not the station's: a second station running a report
    // waits until this run has filled and read them. On the file the transaction's write lock
    // does that; on a server the tables are locked against other writers.
    if (connection()->isServer() && !tables.isEmpty()) {
        // Emptied whole, within the run's transaction: rows deleted one by one would stay
        // behind as dead rows that every later run reads past.
        change(SqlStatement{{QStringLiteral("TRUNCATE ") + tables.join(QStringLiteral(", "))}});
        return;
    }
    for (const QString& table : tables)
        change(SqlStatement{{QStringLiteral(" Delete * from ") + table + QLatin1Char(' ')}});
}

std::optional<ReportStore::UnratedInvoice> ReportStore::unrated(const SqlStatement& statement) const
{
    const std::unique_ptr<Query> found = rows(statement);
    if (found->isEmpty())
        return std::nullopt;
    return UnratedInvoice{found->field(QStringLiteral("InvoiceNo_Inv")).asText(),
                          found->field(QStringLiteral("InvoiceDate_Inv"))};
}

// ---- Totals ----------------------------------------------------------------------------------

std::optional<ReportStore::UnratedInvoice>
ReportStore::invoiceTotals(const Totals& totals, const QDate& from, const QDate& to,
                           const Choice& customer, bool paidOnly) const
{
    const SqlStatement narrowed = chosen(QStringLiteral(" And O.CustomerName_Inv = "), customer) +
                                  when(paidOnly, paidInvoice);
    // The head of a statement over the invoices of the period, the narrowing, then join.
    const auto inPeriod = [&](const QString& head, const QString& join) {
        return SqlStatement{{head}, {from, to}} + narrowed + QStringList{join};
    };
    const QString period = QStringLiteral(" where O.InvoiceDate_Inv Between ? and ?");
    // Each taxed invoice with parts needs a rate for its own year.
    if (auto missing = unrated(inPeriod(
            "select Top 1 O.InvoiceNo_Inv, O.InvoiceDate_Inv From Invoice O" + period + taxed,
            " And Exists (select I.Inv_Item From InvItem I where I.Inv_Item = "
            "O.InvoiceNo_Inv)" +
                noRateOfItsYear)))
        return missing;
    load(totals.labor, inPeriod("select SUM(L.Amount_Labor) From  Invoice O,InvLabor L" + period,
                                " And O.InvoiceNo_Inv = L.Inv_Labor"));
    load(totals.parts, inPeriod("select SUM(I.Amount_Item) From  Invoice O, InvItem I" + period,
                                " And O.InvoiceNo_Inv= I.Inv_Item "));
    // The sum of every invoice's own tax, each at the rate of its own date.
    load(totals.tax,
         inPeriod("select SUM(" + taxOfEach + ") From (select SUM(I.Amount_Item) As Amount" +
                      yearAndMonth + " From  Invoice O, InvItem I" + period,
                  " And O.InvoiceNo_Inv= I.Inv_Item " + taxed + eachInvoice + ") S"));
    load(totals.purchases, purchases(from, to));
    return std::nullopt;
}

std::optional<ReportStore::UnratedInvoice> ReportStore::finishedTotals(const Totals& totals,
                                                                       const QDate& from,
                                                                       const QDate& to,
                                                                       bool paidOnly) const
{
    const SqlStatement type = when(paidOnly, paidInvoice);
    const auto withType = [&type](const QStringList& lines, const QString& join) {
        return lines + type + QStringList{join};
    };

    Transaction run(connection());
    takeWorkTables(
        {QStringLiteral("TotalLabor"), QStringLiteral("TotalItem"), QStringLiteral("TotalTax")});
    // Every invoice that received a payment in the period and none after it, once.
    change(SqlStatement{{" Insert Into TotalLabor ( T_Inv_Labor, T_Amount_labor)",
                         "select distinct R.InvoiceNo_Receivable, 0 From  Receivable R",
                         " where R.PayDate_Receivable Between ? and ?",
                         " And Not Exists (select A.InvoiceNo_Receivable From  Receivable A",
                         " where A.PayDate_Receivable > ?",
                         " And A.InvoiceNo_Receivable=R.InvoiceNo_Receivable)"},
                        {from, to, to}});
    // Each invoice's labor and parts; 0 for one without such lines or, paid only, for one
    // that is not marked paid.
    change(withType({"Update TotalLabor Set T_Amount_labor = Nz((select SUM(L.Amount_Labor)",
                     " From  InvLabor L,Invoice O where L.Inv_Labor= TotalLabor.T_Inv_Labor"},
                    " And O.InvoiceNo_Inv = L.Inv_Labor), 0)"));
    change(withType({" Insert Into TotalItem ( T_Inv_Item, T_Amount_Item)",
                     "select W.T_Inv_Labor, Nz((select SUM(I.Amount_Item)",
                     " From  InvItem I,Invoice O where I.Inv_Item= W.T_Inv_Labor"},
                    " And O.InvoiceNo_Inv = I.Inv_Item), 0) From TotalLabor W"));

    // A taxed invoice with parts needs the rate of its own year; without it the run is undone.
    if (auto missing = unrated(
            QStringList{"select Top 1 O.InvoiceNo_Inv, O.InvoiceDate_Inv From TotalLabor W, "
                        "Invoice O",
                        " where O.InvoiceNo_Inv = W.T_Inv_Labor" + taxed,
                        " And Exists (select I.Inv_Item From InvItem I where I.Inv_Item = "
                        "W.T_Inv_Labor)" +
                            noRateOfItsYear} +
            type))
        return missing;
    // Each taxed invoice's own tax, from the value of its parts just summed, at the rate of its
    // own date, rounded as the invoice rounds it; 0 for every other invoice.
    change(withType({" Insert Into TotalTax ( T_Inv_Tax, T_Amount_Tax)",
                     "select S.Inv, Nz(" + taxOfEach +
                         ", 0) From (select X.T_Inv_Item As Inv, "
                         "X.T_Amount_Item As Amount" +
                         yearAndMonth,
                     " From TotalItem X, Invoice O where O.InvoiceNo_Inv = X.T_Inv_Item" + taxed},
                    " Group By X.T_Inv_Item, X.T_Amount_Item, O.InvoiceDate_Inv) S"));
    change(SqlStatement{{" Insert Into TotalTax ( T_Inv_Tax, T_Amount_Tax)",
                         "select W.T_Inv_Labor, 0 From TotalLabor W where W.T_Inv_Labor Not In "
                         "(select T_Inv_Tax From TotalTax)"}});
    // Read before the commit, so that another station's run of the same report cannot
    // replace the rows between filling and reading them.
    load(totals.labor,
         SqlStatement{{QStringLiteral("select SUM(T_Amount_Labor) From  TotalLabor")}});
    load(totals.parts, SqlStatement{{QStringLiteral("select SUM(T_Amount_Item) From  TotalItem")}});
    load(totals.tax, SqlStatement{{QStringLiteral("select SUM(T_Amount_Tax) From  TotalTax")}});
    load(totals.purchases, purchases(from, to));
    run.commit();
    return std::nullopt;
}

// ---- Invoices by their payments --------------------------------------------------------------

void ReportStore::finishedInvoicePayments(Query& rows, const QDate& from, const QDate& to,
                                          bool paidOnly) const
{
    Transaction run(connection());
    takeWorkTables({QStringLiteral("TotalReport")});
    // A payment whose invoice is gone has nothing to join and is left out.
    change(SqlStatement{{" Insert Into TotalReport ( InvNo, Name, Via, DateT, Amount)",
                         "select R.InvoiceNo_Receivable, R.Name_Receivable, "
                         "R.ViaPayment_Receivable, R.PayDate_Receivable, R.Amount_Receivable",
                         " From  Receivable R, Invoice I where R.InvoiceNo_Receivable In "
                         "(select InvoiceNo_Receivable From  Receivable where PayDate_Receivable "
                         "Between ? and ?)"},
                        {from, to}} +
           when(paidOnly, QStringLiteral(" And I.Paid_Inv <> No")) +
           SqlStatement{{" And I.InvoiceNo_Inv = R.InvoiceNo_Receivable",
                         " And Not Exists (select A.InvoiceNo_Receivable From  Receivable A",
                         " where A.PayDate_Receivable > ?",
                         " And A.InvoiceNo_Receivable=R.InvoiceNo_Receivable)",
                         " Order By R.InvoiceNo_Receivable, R.PayDate_Receivable"},
                        {to}});
    // Read before the commit: another station's run cannot replace the rows in between.
    load(rows, SqlStatement{{QStringLiteral("select * From  TotalReport Order By InvNo, DateT")}});
    run.commit();
}

void ReportStore::openInvoices(Query& rows, const QDate& from, const QDate& to,
                               const Choice& customer, bool paid) const
{
    Transaction run(connection());
    takeWorkTables({QStringLiteral("OpenInvoice")});
    // Each invoice with the sum of its payments, 0 when it has none. Open is the invoice's
    // paid flag, not its balance.
    change(SqlStatement{{" Insert Into OpenInvoice ( InvNo, Name,  DateT,PaidT, Amount)",
                         "select O.InvoiceNo_Inv, O.CustomerName_Inv, O.InvoiceDate_Inv, "
                         "Nz((select SUM(Amount_Receivable) From  Receivable where "
                         "InvoiceNo_Receivable=O.InvoiceNo_Inv), 0), O.Amount_Inv",
                         " From  Invoice O where InvoiceDate_Inv Between ? and ?"},
                        {from, to}} +
           chosen(QStringLiteral(" And CustomerName_Inv = "), customer) +
           SqlStatement{{paid ? QStringLiteral(" And Paid_Inv <> No")
                              : QStringLiteral(" And Paid_Inv = No")}});
    load(rows, SqlStatement{{QStringLiteral("select * From  OpenInvoice")}});
    run.commit();
}

// ---- Listings --------------------------------------------------------------------------------

void ReportStore::vendorPayments(Query& rows, const QDate& from, const QDate& to,
                                 const PayableChoices& choices) const
{
    load(rows,
         SqlStatement{{"select * From Payable where PayDate_Payable Between ? and ?"}, {from, to}} +
             chosen(QStringLiteral(" And Name_Payable = "), choices.vendor) +
             chosen(QStringLiteral(" And ViaPayment_Payable = "), choices.via) +
             chosen(QStringLiteral(" And Chart_Payable = "), choices.chart) +
             chosen(QStringLiteral(" And SubChart_Payable = "), choices.subChart) +
             // In date order on every engine (the file's date index gave it without asking).
             QStringList{QStringLiteral(" Order By PayDate_Payable")});
}

void ReportStore::customerPayments(Query& rows, const QDate& from, const QDate& to,
                                   const Choice& customer, const Choice& method) const
{
    load(rows, SqlStatement{{"select * From Receivable where PayDate_Receivable Between ? and ?"},
                            {from, to}} +
                   chosen(QStringLiteral(" And Name_Receivable = "), customer) +
                   chosen(QStringLiteral(" And ViaPayment_Receivable = "), method) +
                   QStringList{QStringLiteral(" Order By PayDate_Receivable")});
}

void ReportStore::orderLines(Query& rows, const QDate& from, const QDate& to,
                             const Choice& vendor) const
{
    load(rows, SqlStatement{{orderColumns + orderPeriod}, {from, to}} +
                   chosen(QStringLiteral(" And O.Vendor_Order = "), vendor) +
                   QStringList{orderJoin});
}

void ReportStore::partOrderLines(Query& rows, const QString& part, const QDate& from,
                                 const QDate& to, const Choice& vendor,
                                 const Choice& customer) const
{
    load(rows, SqlStatement{{orderColumns + "Name_Item Like ? ESCAPE '\\' And " + orderPeriod},
                            {anywhere(part), from, to}} +
                   chosen(QStringLiteral(" And O.Vendor_Order = "), vendor) +
                   chosen(QStringLiteral(" And O.SideMark_Order = "), customer) +
                   QStringList{orderJoin});
}

void ReportStore::invoicePartLines(Query& rows, const QDate& from, const QDate& to,
                                   const Choice& customer) const
{
    load(rows, SqlStatement{{invoiceColumns +
                             "I.Inv_Item,I.Name_Item,I.Qty_Item,I.Rate_Item,I.Amount_Item "
                             "From  Invoice O,InvItem I" +
                             invoicePeriod},
                            {from, to}} +
                   chosen(QStringLiteral(" And O.CustomerName_Inv = "), customer) +
                   QStringList{QStringLiteral(" And O.InvoiceNo_Inv = I.Inv_Item")});
}

void ReportStore::invoiceLaborLines(Query& rows, const QDate& from, const QDate& to,
                                    const Choice& customer) const
{
    load(rows, SqlStatement{{invoiceColumns +
                             "L.Inv_Labor,L.Description_Labor,L.Qty_Labor,L.Rate_Labor,"
                             "L.Amount_Labor From  Invoice O,InvLabor L" +
                             invoicePeriod},
                            {from, to}} +
                   chosen(QStringLiteral(" And O.CustomerName_Inv = "), customer) +
                   QStringList{QStringLiteral(" And O.InvoiceNo_Inv = L.Inv_Labor")});
}

