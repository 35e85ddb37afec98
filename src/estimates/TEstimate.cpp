#include "estimates/TEstimate.h"

#include "estimates/TEstimateItem.h"
#include "estimates/TEstimateLabor.h"

TEstimate::TEstimate(Links links, QWidget* parent)
    : DocumentWindow(estimateDescription(), std::move(links), parent)
{}

DocumentDescription TEstimate::estimateDescription()
{
    DocumentDescription d;
    d.name = QStringLiteral("Estimate");
    d.tables.header = QStringLiteral("Estimate");
    d.tables.items = QStringLiteral("EstimateItem");
    d.tables.labor = QStringLiteral("EstimateLabor");
    // Estimates are numbered apart from the invoices, from their own table and their own
    // archive, and keep their payments apart from the invoices' too.
    d.tables.payments = QStringLiteral("EstimateReceivable");
    d.tables.archiveHeader = QStringLiteral("EstimateCash");
    d.tables.archiveItems = QStringLiteral("EstimateItemCash");
    d.tables.archiveLabor = QStringLiteral("EstimateLaborCash");
    d.tables.archivePayments = QStringLiteral("EstimateReceivableCash");
    d.numberCaption = QStringLiteral("Estimate #");
    d.poCaption = QStringLiteral("Contact Name");
    d.totalCaption = QStringLiteral("Total Estimate $");
    d.printCaption = QStringLiteral("Print Estimate");
    d.unbalancedNote = QStringLiteral("Estimate is not Balance");
    d.listTitles = {"Estimate #", "Customer Name",  "Repair Person", "Estimate Date", "Driver Name",
                    "Amount",     "License Number", "Entry Date",    "Remark"};
    // The tax row must cover the estimate's month; a month no row covers is untaxed.
    d.uncoveredMonth = SalesTotals::UncoveredMonth::Untaxed;
    d.totalFollowsLines = false;
    d.layouts = {QStringLiteral(":/estimates/layouts/estimate-tax.json"),
                 QStringLiteral(":/estimates/layouts/estimate.json")};
    return d;
}

QWidget* TEstimate::createPartLines(LineOwnerRef owner)
{
    auto* lines = new TEstimateItem(owner);
    if (links().partPicker)
        lines->setFind([lines, show = links().partPicker] { show(lines); });
    return lines;
}

QWidget* TEstimate::createLaborLines(LineOwnerRef owner)
{
    auto* lines = new TEstimateLabor(owner);
    if (links().laborPicker)
        lines->setFind([lines, show = links().laborPicker] { show(lines); });
    return lines;
}
