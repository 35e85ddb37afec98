#include "reports/ListingReports.h"

#include "reports/ReportFilters.h"
#include "stores/ReportStore.h"

namespace {
ReportDescription listing(const QString& name, const QString& heading, const QString& layout,
                          const QString& dataSet)
{
    ReportDescription d;
    d.objectName = name;
    d.caption = name;
    d.heading = heading;
    d.layout = QStringLiteral(":/reports/layouts/") + layout;
    d.dataSets = {{dataSet, QStringLiteral("Q1")}};
    return d;
}

ReportFilter vendor()
{
    return ReportFilters::listed(QStringLiteral("Vendor"), QStringLiteral("ComboBox1"),
                                 ListSource{"Company", "Name_Company"});
}
} // namespace

// ---- Payments made and received ---------------------------------------------------------------

ReportDescription TReportPayable::payableDescription()
{
    ReportDescription d = listing(QStringLiteral("ReportPayable"), QStringLiteral("Payable Report"),
                                  QStringLiteral("payable-report.json"), QStringLiteral("frxDBD1"));
    d.filters = {
        ReportFilters::listed(QStringLiteral("Vendor"), QStringLiteral("ComboBox1"),
                              ListSource{"Bill", "Vendor_Bill"}),
        ReportFilters::listed(QStringLiteral("Via Payment"), QStringLiteral("ComboBox2"),
                              ListSource{"Payable", "viaPayment_Payable"}),
        ReportFilters::listed(QStringLiteral("Chart"), QStringLiteral("ComboBox3"),
                              ListSource{"Bill", "Chart_Bill"}),
        ReportFilters::listed(QStringLiteral("Sub Chart"), QStringLiteral("ComboBox4"),
                              ListSource{"Bill", "SubChart_Bill"}),
    };
    return d;
}

TReportPayable::TReportPayable(Preview preview, QWidget* parent)
    : ReportWindow(payableDescription(), std::move(preview), parent)
{}

void TReportPayable::gather()
{
    ReportStore().vendorPayments(
        *query(QStringLiteral("Q1")), from(), to(),
        {choice(QStringLiteral("Vendor")), choice(QStringLiteral("Via Payment")),
         choice(QStringLiteral("Chart")), choice(QStringLiteral("Sub Chart"))});
}

ReportDescription TReportReceivable::receivableDescription()
{
    ReportDescription d =
        listing(QStringLiteral("ReportReceivable"), QStringLiteral("Receivable Report"),
                QStringLiteral("receivable-report.json"), QStringLiteral("frxDBDataset1"));
    d.filters = {
        ReportFilters::customer(),
        ReportFilters::listed(QStringLiteral("Via Payment"), QStringLiteral("ComboBox2"),
                              ListSource{"Receivable", "ViaPayment_Receivable"}),
    };
    return d;
}

TReportReceivable::TReportReceivable(Preview preview, QWidget* parent)
    : ReportWindow(receivableDescription(), std::move(preview), parent)
{}

void TReportReceivable::gather()
{
    ReportStore().customerPayments(*query(QStringLiteral("Q1")), from(), to(),
                                   choice(QStringLiteral("Customer")),
                                   choice(QStringLiteral("Via Payment")));
}

// ---- Purchase orders ----------------------------------------------------------------------

ReportDescription TReportVendor1::vendorDescription()
{
    ReportDescription d =
        listing(QStringLiteral("ReportVendor1"), QStringLiteral("Vedor Report"),
                QStringLiteral("order-report.json"), QStringLiteral("frxDBDataset1"));
    d.filters = {vendor()};
    d.parameters = {{"Title", "Vendors Report"}};
    d.reportTitle = QStringLiteral("Vendors Report");
    return d;
}

TReportVendor1::TReportVendor1(Preview preview, QWidget* parent)
    : ReportWindow(vendorDescription(), std::move(preview), parent)
{}

void TReportVendor1::gather()
{
    ReportStore().orderLines(*query(QStringLiteral("Q1")), from(), to(),
                             choice(QStringLiteral("Vendor")));
}

ReportDescription TReportItems::itemsDescription()
{
    ReportDescription d =
        listing(QStringLiteral("ReportItems"), QStringLiteral("Parts Report"),
                QStringLiteral("order-report.json"), QStringLiteral("frxDBDataset1"));
    ReportFilter part{QStringLiteral("Part"), QStringLiteral("Edit3")};
    part.textBox = true;
    part.start = QString();
    d.filters = {part, vendor(), ReportFilters::customer(QStringLiteral("ComboBox2"))};
    d.parameters = {{"Title", "Parts Order Report"}};
    d.reportTitle = QStringLiteral("Parts Order Report");
    return d;
}

TReportItems::TReportItems(Preview preview, QWidget* parent)
    : ReportWindow(itemsDescription(), std::move(preview), parent)
{}

void TReportItems::gather()
{
    // The part text is always applied, empty matching every name; typed % and _ are the
    // pattern's wildcards.
    ReportStore().partOrderLines(*query(QStringLiteral("Q1")), filterText(QStringLiteral("Part")),
                                 from(), to(), choice(QStringLiteral("Vendor")),
                                 choice(QStringLiteral("Customer")));
}

// ---- Invoices with their lines ---------------------------------------------------------------

ReportDescription TReportCustomer::customerDescription()
{
    ReportDescription d =
        listing(QStringLiteral("ReportCustomer"), QStringLiteral("Customer Report"),
                QStringLiteral("customer-parts.json"), QStringLiteral("frxDBDataset1"));
    ReportFilter type{QStringLiteral("Type"), QStringLiteral("ComboBox2")};
    type.items = {QStringLiteral("Parts"), QStringLiteral("Labor")};
    type.start = QStringLiteral("Parts");
    d.filters = {ReportFilters::customer(), type};
    return d;
}

TReportCustomer::TReportCustomer(Preview preview, QWidget* parent)
    : ReportWindow(customerDescription(), std::move(preview), parent)
{}

bool TReportCustomer::parts() const
{
    return filterText(QStringLiteral("Type")) == QLatin1String("Parts");
}

QString TReportCustomer::layoutFile() const
{
    return parts() ? QStringLiteral(":/reports/layouts/customer-parts.json")
                   : QStringLiteral(":/reports/layouts/customer-labor.json");
}

void TReportCustomer::gather()
{
    ReportStore store;
    if (parts())
        store.invoicePartLines(*query(QStringLiteral("Q1")), from(), to(),
                               choice(QStringLiteral("Customer")));
    else
        store.invoiceLaborLines(*query(QStringLiteral("Q1")), from(), to(),
                                choice(QStringLiteral("Customer")));
}
