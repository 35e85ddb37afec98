#include "purchasing/TOrderItem.h"

#include "ui/documents/PartLines.h"

LineDescription TOrderItem::lineDescription()
{
    LineDescription d;
    d.caption = QStringLiteral("OrderItem");
    d.heading = QStringLiteral("Parts");
    d.maximized = true;
    d.table = QStringLiteral("Items");
    d.numberColumn = QStringLiteral("Po_Item");
    d.boxes = PartLines::boxes(QStringLiteral("Item Name"));
    d.newTexts = PartLines::newTexts();
    // Rows of its own: the order window's lines grid and the catalogue look-up never share.
    d.factNames = {"Label6", "Label15", "Label17", "Label19"};
    d.openTitles = {"Name", "Mfg", "Qty", "Style", "Color", "Rate", "Amount", "Po"};
    d.saveTitles = {"Name Item", "Mfg", "Qty", "Style", "Part No", "Rate", "Amount", "Po"};
    d.refreshTitles = d.saveTitles;
    d.qtyColumn = QStringLiteral("Qty_Item");
    d.rateColumn = QStringLiteral("Rate_Item");
    d.amountColumn = QStringLiteral("Amount_Item");
    d.findCaption = QStringLiteral("Find");
    d.findBeside = QStringLiteral("Color_Item");
    d.noLinesShowsNew = false;
    d.fill = PartLines::catalogueFill();
    d.keys = true;
    return d;
}

TOrderItem::TOrderItem(LineOwnerRef order, QWidget* parent)
    : LineWindow(lineDescription(), order, parent)
{}
