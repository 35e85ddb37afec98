#include "estimates/TEstimateLabor.h"

#include "ui/common/Latest.h"
#include "ui/documents/PartLines.h"

LineDescription TEstimateLabor::lineDescription()
{
    LineDescription d;
    d.caption = QStringLiteral("EstimateLabor");
    d.heading = QStringLiteral("Estimate Labor");
    d.maximized = false;
    d.table = QStringLiteral("EstimateLabor");
    d.numberColumn = QStringLiteral("Inv_Labor");
    d.boxes = LaborLines::boxes();
    d.newTexts = LaborLines::newTexts();
    // A line is saved over, and deleted with, the line of the same description.
    d.saveKeys = {"Description_Labor"};
    d.deleteKeys = {"Description_Labor"};
    d.gridQuery = QStringLiteral("QInvLabor1");
    d.lookupQuery = QStringLiteral("QInvLabor2");
    d.openTitles = {"Description", "Part Number", "Qty", "Rate", "Amount", "Remark", "Estimate"};
    d.saveTitles = d.refreshTitles = d.openTitles;
    // The grid and its navigator move the list only: the boxes show the first line, and
    // another line is brought in by typing or picking its description.
    d.loadOn = 0;
    d.totalCaption = QStringLiteral("Total Labor $ :");
    d.totalName = QStringLiteral("Label4");
    d.qtyColumn = QStringLiteral("Qty_Labor");
    d.rateColumn = QStringLiteral("Rate_Labor");
    d.amountColumn = QStringLiteral("Amount_Labor");
    d.findCaption = QStringLiteral("find");
    d.fill = LaborLines::catalogueFill();
    d.keys = false;
    return d;
}

TEstimateLabor::TEstimateLabor(LineOwnerRef estimate, QWidget* parent)
    : LineWindow(lineDescription(), estimate, parent)
{
    Latest<TEstimateLabor>::set(this);
}
