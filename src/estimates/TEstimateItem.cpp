#include "estimates/TEstimateItem.h"

#include "ui/common/Latest.h"
#include "ui/documents/PartLines.h"

LineDescription TEstimateItem::lineDescription()
{
    LineDescription d;
    d.caption = QStringLiteral("EstimateItem");
    d.heading = QStringLiteral("Estimate Parts");
    d.maximized = false;
    d.table = QStringLiteral("EstimateItem");
    d.numberColumn = QStringLiteral("Inv_Item");
    d.boxes = PartLines::boxes(QStringLiteral("Part Name"));
    d.newTexts = PartLines::newTexts();
    // A line is saved over the line with its part number, deleted with its part name.
    d.saveKeys = {"Color_Item"};
    d.deleteKeys = {"Name_Item"};
    // Rows of its own: the estimate window's lines grid and the catalogue look-up never share.
    d.gridQuery = QStringLiteral("QEstimateItem1");
    d.lookupQuery = QStringLiteral("QEstimateItem2");
    d.openTitles = {"Name", "Mfg", "Qty", "Style", "Part No", "Rate", "Amount", "Estimate"};
    d.saveTitles = d.openTitles;
    d.saveTitles[0] = QStringLiteral("Name Item");
    d.refreshTitles = d.saveTitles;
    d.rowTitles = d.saveTitles;
    // The navigator moves the list only; a click or a key released in it loads the line.
    d.loadOn = LineDescription::Click | LineDescription::KeyRelease;
    d.rowLoadReloadsTotal = true;
    d.totalCaption = QStringLiteral("Total Items $:");
    d.totalName = QStringLiteral("Label7");
    d.qtyColumn = QStringLiteral("Qty_Item");
    d.rateColumn = QStringLiteral("Rate_Item");
    d.amountColumn = QStringLiteral("Amount_Item");
    d.findCaption = QStringLiteral("Find");
    d.fill = PartLines::catalogueFill();
    d.keys = true;
    // "Mfg" takes no keys of its own: Enter from the name goes to it, and on from the quantity.
    d.focusLinks = {{"Name_Item", "Mfg_Item", "Amount_Item"},
                    {"Qty_Item", "Style_Item", "Mfg_Item"}};
    return d;
}

TEstimateItem::TEstimateItem(LineOwnerRef estimate, QWidget* parent)
    : LineWindow(lineDescription(), estimate, parent)
{
    Latest<TEstimateItem>::set(this);
}
