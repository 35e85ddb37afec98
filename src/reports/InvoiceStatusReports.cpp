#include "reports/InvoiceStatusReports.h"

#include "reports/ReportFilters.h"
#include "stores/ReportStore.h"

// ---- Finished invoices -----------------------------------------------------------------------

ReportDescription TFinishedInvoiceReport::finishedDescription()
{
    ReportDescription d;
    d.objectName = QStringLiteral("FinishedInvoiceReport");
    d.caption = QStringLiteral("FinishedInvoiceReport");
    d.heading = QStringLiteral("Finished Invoice Report");
    d.printName = QStringLiteral("Button3");
    d.filters = {ReportFilters::paidType(QStringLiteral("ComboBox3"), {"All", "Paid"})};
    d.layout = QStringLiteral(":/reports/layouts/finished-invoices.json");
    d.dataSets = {{"frxD", "Q1"}};
    return d;
}

TFinishedInvoiceReport::TFinishedInvoiceReport(Preview preview, QWidget* parent)
    : ReportWindow(finishedDescription(), std::move(preview), parent)
{}

void TFinishedInvoiceReport::gather()
{
    ReportStore().finishedInvoicePayments(*query(QStringLiteral("Q1")), from(), to(),
                                          choice(QStringLiteral("Type")).has_value());
}

// ---- Open invoices ---------------------------------------------------------------------------

ReportDescription TOpenInvoice::openDescription()
{
    ReportDescription d;
    d.objectName = QStringLiteral("OpenInvoice");
    d.caption = QStringLiteral("OpenInvoice");
    d.heading = QStringLiteral("Open Invoice Report");
    d.printName = QStringLiteral("Button3");
    ReportFilter type{QStringLiteral("Type"), QStringLiteral("ComboBox3")};
    type.items = {QStringLiteral("Open"), QStringLiteral("Paid")};
    type.start = QStringLiteral("Open");
    d.filters = {ReportFilters::customer(), type};
    d.layout = QStringLiteral(":/reports/layouts/open-invoices.json");
    d.dataSets = {{"frxD", "Q1"}};
    return d;
}

TOpenInvoice::TOpenInvoice(Preview preview, QWidget* parent)
    : ReportWindow(openDescription(), std::move(preview), parent)
{}

void TOpenInvoice::gather()
{
    // Any text but "Paid", "All" typed too, lists the open invoices.
    ReportStore().openInvoices(*query(QStringLiteral("Q1")), from(), to(),
                               choice(QStringLiteral("Customer")),
                               filterText(QStringLiteral("Type")) == QLatin1String("Paid"));
}
