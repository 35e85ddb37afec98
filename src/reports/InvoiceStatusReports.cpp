#include "reports/InvoiceStatusReports.h"

#include "reports/ReportFilters.h"
#include "reports/WorkTables.h"

// ---- Finished invoices -----------------------------------------------------------------------

ReportDescription TFinishedInvoiceReport::finishedDescription()
{
    ReportDescription d;
    d.objectName = QStringLiteral("FinishedInvoiceReport");
    d.caption = QStringLiteral("FinishedInvoiceReport");
    d.heading = QStringLiteral("Finished Invoice Report");
    d.printName = QStringLiteral("Button3");
    d.filters = {ReportFilters::paidType(QStringLiteral("ComboBox3"), {"All", "Paid"},
                                         QStringLiteral(" And I.Paid_Inv <> No"))};
    d.layout = QStringLiteral(":/reports/layouts/finished-invoices.json");
    d.dataSets = {{"frxD", "Q1"}};
    return d;
}

TFinishedInvoiceReport::TFinishedInvoiceReport(Preview preview, QWidget* parent)
    : ReportWindow(finishedDescription(), std::move(preview), parent)
{}

void TFinishedInvoiceReport::gather()
{
    const QString from = this->from();
    const QString to = this->to();
    WorkTableRun run({QStringLiteral("TotalReport")});
    // Every payment of every invoice paid in the period and not after it, invoice by invoice;
    // a payment whose invoice is gone has nothing to join and is left out.
    run.exec(QStringList{" Insert Into TotalReport ( InvNo, Name, Via, DateT, Amount)",
                         "select R.InvoiceNo_Receivable, R.Name_Receivable, "
                         "R.ViaPayment_Receivable, R.PayDate_Receivable, R.Amount_Receivable",
                         " From  Receivable R, Invoice I where R.InvoiceNo_Receivable In "
                         "(select InvoiceNo_Receivable From  Receivable where PayDate_Receivable "
                         "Between #" +
                             from + "# and #" + to + "#)"} +
             conditions() +
             QStringList{" And I.InvoiceNo_Inv = R.InvoiceNo_Receivable",
                         " And Not Exists (select A.InvoiceNo_Receivable From  Receivable A",
                         " where A.PayDate_Receivable >#" + to + "#",
                         " And A.InvoiceNo_Receivable=R.InvoiceNo_Receivable)",
                         " Order By R.InvoiceNo_Receivable, R.PayDate_Receivable"});
    // Read before the commit: another station's run cannot replace the rows in between.
    open(QStringLiteral("Q1"),
         SqlStatement{{QStringLiteral("select * From  TotalReport Order By InvNo, DateT")}});
    run.commit();
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
    // Open is the invoice's paid flag, not its balance. The paid ones are written "not No" so
    // that the period's invoices come from the date's index (see the paid type of the totals).
    type.line = [](const QString& text) {
        return text == QLatin1String("Paid") ? QStringLiteral(" And Paid_Inv <> No")
                                             : QStringLiteral(" And Paid_Inv = No");
    };
    // Any other text, "All" typed too, lists the open invoices.
    type.lineForAll = true;
    d.filters = {ReportFilters::customer(QStringLiteral(" And CustomerName_Inv = ")), type};
    d.layout = QStringLiteral(":/reports/layouts/open-invoices.json");
    d.dataSets = {{"frxD", "Q1"}};
    return d;
}

TOpenInvoice::TOpenInvoice(Preview preview, QWidget* parent)
    : ReportWindow(openDescription(), std::move(preview), parent)
{}

void TOpenInvoice::gather()
{
    const QString from = this->from();
    const QString to = this->to();
    WorkTableRun run({QStringLiteral("OpenInvoice")});
    // Each invoice with the sum of its payments, 0 when it has none.
    run.exec(QStringList{" Insert Into OpenInvoice ( InvNo, Name,  DateT,PaidT, Amount)",
                         "select O.InvoiceNo_Inv, O.CustomerName_Inv, O.InvoiceDate_Inv, "
                         "Nz((select SUM(Amount_Receivable) From  Receivable where "
                         "InvoiceNo_Receivable=O.InvoiceNo_Inv), 0), O.Amount_Inv",
                         " From  Invoice O where InvoiceDate_Inv Between #" + from + "# and #" +
                             to + "#"} +
             conditions());
    open(QStringLiteral("Q1"), SqlStatement{{QStringLiteral("select * From  OpenInvoice")}});
    run.commit();
}
