#include "invoicing/TInvItem.h"

#include "ui/common/Latest.h"
#include "ui/documents/PartLines.h"

#include <QLabel>

namespace {
LineDescription partLines()
{
    LineDescription d;
    d.caption = QStringLiteral("InvItem");
    d.heading = QStringLiteral("Invoice Parts");
    d.table = QStringLiteral("InvItem");
    d.numberColumn = QStringLiteral("Inv_Item");
    d.boxes = PartLines::boxes(QStringLiteral("Part Name"));
    d.newTexts = PartLines::newTexts();
    // A line is saved over the line with its part number, deleted with its part name.
    d.saveKeys = {"Color_Item"};
    d.deleteKeys = {"Name_Item"};
    d.gridQuery = QStringLiteral("QInvItem1");
    d.lookupQuery = QStringLiteral("QInvItem2");
    d.openTitles = {"Name", "Mfg", "Qty", "Style", "Part No", "Rate", "Amount", "Invoice"};
    d.saveTitles = d.openTitles;
    d.saveTitles[0] = QStringLiteral("Name Item");
    d.refreshTitles = d.saveTitles;
    d.rowTitles = d.saveTitles;
    d.rowLoadReloadsTotal = true;
    d.totalCaption = QStringLiteral("Total Items $:");
    d.totalName = QStringLiteral("Label7");
    d.qtyColumn = QStringLiteral("Qty_Item");
    d.rateColumn = QStringLiteral("Rate_Item");
    d.amountColumn = QStringLiteral("Amount_Item");
    d.findCaption = QStringLiteral("Find");
    d.fill = PartLines::catalogueFill();
    d.keys = true;
    return d;
}
} // namespace

TInvItem::TInvItem(LineOwnerRef invoice, QWidget* parent)
    : LineWindow(partLines(), invoice, parent)
{
    Latest<TInvItem>::set(this);
    m_highest = addFigure(QStringLiteral("Max:"), QStringLiteral("Label14"));
    m_last = addFigure(QStringLiteral("Last:"), QStringLiteral("Label24"));
}

void TInvItem::setPriceHistory(const QString& highest, const QString& last)
{
    m_highest->setText(highest);
    m_last->setText(last);
}
