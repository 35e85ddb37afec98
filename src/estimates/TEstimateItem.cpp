#include "estimates/TEstimateItem.h"

#include "ui/documents/PartLines.h"

LineDescription TEstimateItem::lineDescription()
{
    LineDescription d =
        PartLines::salesLines(QStringLiteral("EstimateItem"), QStringLiteral("Estimate"));
    d.caption = QStringLiteral("EstimateItem");
    d.heading = QStringLiteral("Estimate Parts");
    d.maximized = false;
    // Rows of its own: the estimate window's lines grid and the catalogue look-up never share.
    // "Mfg" takes no keys of its own: Enter from the name goes to it, and on from the quantity.
    d.focusLinks = {{"Name_Item", "Mfg_Item", "Amount_Item"},
                    {"Qty_Item", "Style_Item", "Mfg_Item"}};
    return d;
}

TEstimateItem::TEstimateItem(LineOwnerRef estimate, QWidget* parent)
    : LineWindow(lineDescription(), estimate, parent)
{}
