#include "reports/ListingReports.h"

#include "reports/ReportFilters.h"

namespace {
const ListSource companies = ListSource{"Company", "Name_Company"};
const QString orderColumns =
    QStringLiteral("select O.Po_Order,O.SideMark_Order,O.OrderDate_Order,O.Vendor_Order,"
                   "I.Po_Item,I.Name_Item,I.Qty_Item,I.Rate_Item,I.Amount_Item From  Orders O,"
                   "Items I where ");
const QString orderPeriod = QStringLiteral("O.OrderDate_Order Between #%1# and #%2#");
const QString orderJoin = QStringLiteral(" And O.Po_Order = I.Po_Item");

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
    return ReportFilters::listed(QStringLiteral("Vendor"), QStringLiteral("ComboBox1"), companies,
                                 QStringLiteral(" And O.Vendor_Order = "));
}
} // namespace

// ---- Payments made and received ---------------------------------------------------------------

ReportDescription TReportPayable::payableDescription()
{
    ReportDescription d = listing(QStringLiteral("ReportPayable"), QStringLiteral("Payable Report"),
                                  QStringLiteral("payable-report.json"), QStringLiteral("frxDBD1"));
    d.firstLine =
        QStringLiteral("select * From Payable where PayDate_Payable Between #%1# and #%2#");
    // In date order on every engine (the file's date index gave it without asking).
    d.joinLine = QStringLiteral(" Order By PayDate_Payable");
    d.filters = {
        ReportFilters::listed(QStringLiteral("Vendor"), QStringLiteral("ComboBox1"),
                              ListSource{"Bill", "Vendor_Bill"},
                              QStringLiteral(" And Name_Payable = ")),
        ReportFilters::listed(QStringLiteral("Via Payment"), QStringLiteral("ComboBox2"),
                              ListSource{"Payable", "viaPayment_Payable"},
                              QStringLiteral(" And ViaPayment_Payable = ")),
        ReportFilters::listed(QStringLiteral("Chart"), QStringLiteral("ComboBox3"),
                              ListSource{"Bill", "Chart_Bill"},
                              QStringLiteral(" And Chart_Payable = ")),
        ReportFilters::listed(QStringLiteral("Sub Chart"), QStringLiteral("ComboBox4"),
                              ListSource{"Bill", "SubChart_Bill"},
                              QStringLiteral(" And SubChart_Payable = ")),
    };
    return d;
}

TReportPayable::TReportPayable(Preview preview, QWidget* parent)
    : ReportWindow(payableDescription(), std::move(preview), parent)
{}

ReportDescription TReportReceivable::receivableDescription()
{
    ReportDescription d =
        listing(QStringLiteral("ReportReceivable"), QStringLiteral("Receivable Report"),
                QStringLiteral("receivable-report.json"), QStringLiteral("frxDBDataset1"));
    d.firstLine =
        QStringLiteral("select * From Receivable where PayDate_Receivable Between #%1# and #%2#");
    d.joinLine = QStringLiteral(" Order By PayDate_Receivable");
    d.filters = {
        ReportFilters::customer(QStringLiteral(" And Name_Receivable = ")),
        ReportFilters::listed(QStringLiteral("Via Payment"), QStringLiteral("ComboBox2"),
                              ListSource{"Receivable", "ViaPayment_Receivable"},
                              QStringLiteral(" And ViaPayment_Receivable = ")),
    };
    return d;
}

TReportReceivable::TReportReceivable(Preview preview, QWidget* parent)
    : ReportWindow(receivableDescription(), std::move(preview), parent)
{}

// ---- Purchase orders ----------------------------------------------------------------------

ReportDescription TReportVendor1::vendorDescription()
{
    ReportDescription d =
        listing(QStringLiteral("ReportVendor1"), QStringLiteral("Vedor Report"),
                QStringLiteral("order-report.json"), QStringLiteral("frxDBDataset1"));
    d.firstLine = orderColumns + orderPeriod;
    d.joinLine = orderJoin;
    d.filters = {vendor()};
    d.parameters = {{"Title", "Vendors Report"}};
    d.reportTitle = QStringLiteral("Vendors Report");
    return d;
}

TReportVendor1::TReportVendor1(Preview preview, QWidget* parent)
    : ReportWindow(vendorDescription(), std::move(preview), parent)
{}

ReportDescription TReportItems::itemsDescription()
{
    ReportDescription d =
        listing(QStringLiteral("ReportItems"), QStringLiteral("Parts Report"),
                QStringLiteral("order-report.json"), QStringLiteral("frxDBDataset1"));
    ReportFilter part{QStringLiteral("Part"), QStringLiteral("Edit3")};
    part.textBox = true;
    part.start = QString();
    d.filters = {part, vendor(),
                 ReportFilters::customer(QStringLiteral(" And O.SideMark_Order = "),
                                         QStringLiteral("ComboBox2"))};
    d.joinLine = orderJoin;
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
    const QString part = filterText(QStringLiteral("Part"));
    open(QStringLiteral("Q1"),
         SqlStatement{{orderColumns + "Name_Item Like ? And " + orderPeriod.arg(from(), to())},
                      {"%" + part + "%"}} +
             conditions() + SqlStatement{{orderJoin}});
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
    d.filters = {ReportFilters::customer(QStringLiteral(" And O.CustomerName_Inv = ")), type};
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
    const QString invoice =
        QStringLiteral("select O.InvoiceNo_Inv,O.Customername_Inv,O.Invoicedate_Inv,O.Po_Inv,"
                       "O.Amount_Inv,O.Paid_Inv,O.TruckNo_Inv,");
    const QString period = " where O.InvoiceDate_Inv Between #" + from() + "# and #" + to() + "#";
    if (parts())
        open(QStringLiteral("Q1"),
             statement(invoice +
                           "I.Inv_Item,I.Name_Item,I.Qty_Item,I.Rate_Item,I.Amount_Item "
                           "From  Invoice O,InvItem I" +
                           period,
                       QStringLiteral(" And O.InvoiceNo_Inv = I.Inv_Item")));
    else
        open(QStringLiteral("Q1"),
             statement(invoice +
                           "L.Inv_Labor,L.Description_Labor,L.Qty_Labor,L.Rate_Labor,"
                           "L.Amount_Labor From  Invoice O,InvLabor L" +
                           period,
                       QStringLiteral(" And O.InvoiceNo_Inv = L.Inv_Labor")));
}
