#include "invoicing/TInvItem.h"

#include "ui/common/Latest.h"

#include <QLabel>

namespace {
LineDescription partLines()
{
    LineDescription d;
    d.caption = QStringLiteral("InvItem");
    d.heading = QStringLiteral("Invoice Parts");
    d.table = QStringLiteral("InvItem");
    d.numberColumn = QStringLiteral("Inv_Item");
    d.boxes = {
        {"Name_Item", "Part Name", FormBox::List, "Select Number_Material From Part", "ComboBox1"},
        {"Mfg_Item", "Mfg", FormBox::Edit, {}, "Edit1"},
        {"Qty_Item", "Qty", FormBox::Edit, {}, "Edit2"},
        {"Style_Item", "Style", FormBox::Edit, {}, "Edit3"},
        {"Color_Item", "Part No", FormBox::Edit, {}, "Edit4"},
        {"Rate_Item", "Rate $", FormBox::Edit, {}, "Edit5"},
        {"Amount_Item", "Amount $", FormBox::Edit, {}, "Edit6"},
    };
    d.newTexts = {{"Qty_Item", "0"}, {"Rate_Item", "0.00"}, {"Amount_Item", "0.00"}};
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
    d.fill = CatalogueFill{QStringLiteral("Name_Item"),
                           QStringLiteral("Part"),
                           QStringLiteral("Number_Material"),
                           {{"Mfg_Item", "Mfg_Material"},
                            {"Style_Item", "Style_Material"},
                            {"Color_Item", "Color_Material"},
                            {"Rate_Item", "Price_Material"}}};
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
