#include "reports/TotalReports.h"

#include "data/DbError.h"
#include "data/Formats.h"
#include "data/Query.h"
#include "reports/ReportFilters.h"
#include "stores/ReportStore.h"

namespace {
const QString layout = QStringLiteral(":/reports/layouts/totals.json");

ReportDescription totals(const QString& title, const QString& section)
{
    ReportDescription d;
    d.layout = layout;
    d.dataSets = {{"Labor", "Q1"}, {"Parts", "Q2"}, {"Tax", "Q5"}, {"Purchases", "Q4"}};
    d.parameters = {{"Title", title}, {"Section", section}};
    d.reportTitle = title;
    return d;
}

// Stops the report when a taxed invoice with parts has no rate for its year.
void checkRates(const std::optional<ReportStore::UnratedInvoice>& missing)
{
    if (!missing)
        return;
    const QString& invoice = missing->invoice;
    const Field& date = missing->date;
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
} // namespace

// ---- Totals by invoice date ------------------------------------------------------------------

ReportDescription TTotalAmountReport::totalAmountDescription()
{
    ReportDescription d =
        totals(QStringLiteral("Total Amounts Report"), QStringLiteral("Invoice Total Report"));
    d.objectName = QStringLiteral("TotalAmountReport");
    d.caption = QStringLiteral("TotalAmountReport");
    d.heading = QStringLiteral("Total  Invoice Amount Report");
    d.filters = {ReportFilters::customer(),
                 ReportFilters::paidType(QStringLiteral("ComboBox2"), {"Paid", "Open"})};
    return d;
}

TTotalAmountReport::TTotalAmountReport(Preview preview, QWidget* parent)
    : ReportWindow(totalAmountDescription(), std::move(preview), parent)
{}

void TTotalAmountReport::gather()
{
    const ReportStore::Totals totals{*query(QStringLiteral("Q1")), *query(QStringLiteral("Q2")),
                                     *query(QStringLiteral("Q5")), *query(QStringLiteral("Q4"))};
    // Each taxed invoice with parts needs a rate for its own year.
    checkRates(ReportStore().invoiceTotals(totals, from(), to(), choice(QStringLiteral("Customer")),
                                           choice(QStringLiteral("Type")).has_value()));
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
    ReportFilter customer = ReportFilters::customer();
    customer.ignoredHint =
        QStringLiteral("Totals by payment date always cover the invoices of every customer");
    ReportFilter tax{QStringLiteral("Tax"), QStringLiteral("ComboBox3")};
    tax.items = {QStringLiteral("Yes")};
    tax.start = QStringLiteral("Yes");
    tax.ignoredHint = QStringLiteral("The tax on parts of taxed invoices is always in the totals");
    d.filters = {customer, ReportFilters::paidType(QStringLiteral("ComboBox2"), {"All", "Paid"}),
                 tax};
    return d;
}

TTotalReceivable::TTotalReceivable(Preview preview, QWidget* parent)
    : ReportWindow(totalReceivableDescription(), std::move(preview), parent)
{}

void TTotalReceivable::gather()
{
    const ReportStore::Totals totals{*query(QStringLiteral("Q1")), *query(QStringLiteral("Q2")),
                                     *query(QStringLiteral("Q5")), *query(QStringLiteral("Q4"))};
    // The customer plays no part here.
    checkRates(ReportStore().finishedTotals(totals, from(), to(),
                                            choice(QStringLiteral("Type")).has_value()));
}
