#include "reports/AgingReports.h"

#include "data/Formats.h"
#include "reports/ReportFilters.h"
#include "stores/CatalogueStore.h"
#include "stores/ReportStore.h"

ReportDescription TAgingReport::agingDescription(Side side)
{
    const bool receivables = side == Side::Receivables;
    ReportDescription d;
    d.objectName =
        receivables ? QStringLiteral("ReceivablesAging") : QStringLiteral("PayablesAging");
    d.caption =
        receivables ? QStringLiteral("Receivables Aging") : QStringLiteral("Payables Aging");
    d.heading = d.caption;
    d.printName = QStringLiteral("Button3");
    d.asOfCaption = QStringLiteral("As of");
    d.layout = QStringLiteral(":/reports/layouts/aging.json");
    d.dataSets = {{"frxD", "Q1"}};
    d.parameters = {{"Title", d.caption},
                    {"Party", receivables ? QStringLiteral("Customer") : QStringLiteral("Vendor")}};
    d.reportTitle = d.caption;
    return d;
}

TAgingReport::TAgingReport(Side side, Preview preview, QWidget* parent)
    : ReportWindow(agingDescription(side), std::move(preview), parent)
    , m_side(side)
{}

QHash<QString, QString> TAgingReport::parameters() const
{
    QHash<QString, QString> p = ReportWindow::parameters();
    p.insert(QStringLiteral("AsOf"), Formats::shortDate(asOf()));
    return p;
}

void TAgingReport::gather()
{
    if (m_side == Side::Receivables)
        ReportStore().receivablesAging(*query(QStringLiteral("Q1")), asOf());
    else
        ReportStore().payablesAging(*query(QStringLiteral("Q1")), asOf());
}

ReportDescription TCustomerStatement::statementDescription()
{
    ReportDescription d;
    d.objectName = QStringLiteral("CustomerStatement");
    d.caption = QStringLiteral("Customer Statements");
    d.heading = d.caption;
    d.printName = QStringLiteral("Button3");
    d.asOfCaption = QStringLiteral("Statement Date");
    d.filters = {ReportFilters::customer()};
    d.layout = QStringLiteral(":/reports/layouts/statement.json");
    d.dataSets = {{"frxD", "Q1"}, {"Reg", "Q2"}};
    d.reportTitle = QStringLiteral("Customer Statements");
    return d;
}

TCustomerStatement::TCustomerStatement(Preview preview, QWidget* parent)
    : ReportWindow(statementDescription(), std::move(preview), parent)
{}

QHash<QString, QString> TCustomerStatement::parameters() const
{
    QHash<QString, QString> p = ReportWindow::parameters();
    p.insert(QStringLiteral("AsOf"), Formats::shortDate(asOf()));
    return p;
}

void TCustomerStatement::gather()
{
    // "All": every customer who owes anything on the day.
    ReportStore().statements(*query(QStringLiteral("Q1")), asOf(),
                             choice(QStringLiteral("Customer")));
    CatalogueStore().profile(*query(QStringLiteral("Q2")));
}
