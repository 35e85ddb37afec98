#include "invoicing/TInvLabor.h"

#include "ui/common/Latest.h"
#include "ui/documents/PartLines.h"

namespace {
LineDescription laborLines()
{
    LineDescription d;
    d.caption = QStringLiteral("InvLabor");
    d.heading = QStringLiteral("Invoice Labor");
    d.maximized = true;
    d.table = QStringLiteral("InvLabor");
    d.numberColumn = QStringLiteral("Inv_Labor");
    d.boxes = LaborLines::boxes();
    d.newTexts = LaborLines::newTexts();
    // A line is saved over, and deleted with, the line of the same description.
    d.saveKeys = {"Description_Labor"};
    d.deleteKeys = {"Description_Labor"};
    d.gridQuery = QStringLiteral("QInvLabor1");
    d.lookupQuery = QStringLiteral("QInvLabor2");
    d.openTitles = {"Description", "Part Number", "Qty", "Rate", "Amount", "Remark", "Invoice"};
    d.saveTitles = d.refreshTitles = d.openTitles;
    d.loadOn = LineDescription::Click | LineDescription::NavigatorClick;
    d.totalCaption = QStringLiteral("Total Labor $ :");
    d.totalName = QStringLiteral("Label4");
    d.qtyColumn = QStringLiteral("Qty_Labor");
    d.rateColumn = QStringLiteral("Rate_Labor");
    d.amountColumn = QStringLiteral("Amount_Labor");
    d.findCaption = QStringLiteral("find");
    // Enter walks the boxes here too, so that a line is typed without the mouse.
    d.keys = true;
    return d;
}
} // namespace

TInvLabor::TInvLabor(LineOwnerRef invoice, QWidget* parent)
    : LineWindow(laborLines(), invoice, parent)
{
    Latest<TInvLabor>::set(this);
}
