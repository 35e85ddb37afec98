#include "invoicing/TInvLabor.h"

#include "invoicing/DocumentWindow.h"
#include "ui/common/Latest.h"

namespace {
LineDescription laborLines()
{
    LineDescription d;
    d.caption = QStringLiteral("InvLabor");
    d.heading = QStringLiteral("Invoice Labor");
    d.maximized = true;
    d.table = QStringLiteral("InvLabor");
    d.invoiceColumn = QStringLiteral("Inv_Labor");
    d.amountColumn = QStringLiteral("Amount_Labor");
    d.qtyColumn = QStringLiteral("Qty_Labor");
    d.rateColumn = QStringLiteral("Rate_Labor");
    d.gridQuery = QStringLiteral("QInvLabor1");
    d.lookupQuery = QStringLiteral("QInvLabor2");
    d.sumQuery = QStringLiteral("QInvLabor4");
    d.listStatement = QStringLiteral("Select * From Labor");
    d.listColumn = QStringLiteral("Description_Labor");
    d.boxes = {
        {"Description_Labor", "Labor Description", "ComboBox1", "", true},
        {"PartNo_Labor", "Part Disc", "Edit1", ""},
        {"Qty_Labor", "Qty", "Edit2", "0"},
        {"Rate_Labor", "Rate $", "Edit5", ""},
        {"Amount_Labor", "Amount $", "Edit6", "0.00"},
        {"Remark_Labor", "Remark", "Edit4", ""},
    };
    d.openTitles = {"Description", "Part Number", "Qty", "Rate", "Amount", "Remark", "Invoice"};
    d.titles = d.openTitles;
    d.totalCaption = QStringLiteral("Total Labor $ :");
    d.totalName = QStringLiteral("Label4");
    d.findCaption = QStringLiteral("find");
    return d;
}
} // namespace

TInvLabor::TInvLabor(DocumentWindow* invoice, std::function<void()> showPicker, QWidget* parent)
    : LineWindow(laborLines(), invoice, std::move(showPicker), parent)
{
    Latest<TInvLabor>::set(this);
}

QStringList TInvLabor::existsStatement(const Values& v) const
{
    return {"Select * From InvLabor where Inv_Labor=" + v["Inv_Labor"],
            "and Description_Labor='" + v["Description_Labor"] + "'"};
}

QStringList TInvLabor::updateStatement(const Values& v) const
{
    return {" Update InvLabor  Set Inv_Labor =" + v["Inv_Labor"] + ",",
            " Description_Labor ='" + v["Description_Labor"] + "',",
            " PartNo_Labor ='" + v["PartNo_Labor"] + "',",
            " Qty_Labor ='" + v["Qty_Labor"] + "',",
            " Rate_Labor ='" + v["Rate_Labor"] + "',",
            " Amount_Labor ='" + v["Amount_Labor"] + "',",
            " Remark_Labor ='" + v["Remark_Labor"] + "'",
            " where Inv_Labor =" + v["Inv_Labor"] + " and Description_Labor ='" +
                v["Description_Labor"] + "'"};
}

QStringList TInvLabor::insertStatement(const Values& v) const
{
    QStringList lines{" Insert Into InvLabor ( Inv_Labor,Description_Labor, PartNo_Labor,",
                      "Qty_Labor, Rate_Labor,Amount_Labor,Remark_Labor) Values ( ",
                      v["Inv_Labor"] + ","};
    for (const char* column :
         {"Description_Labor", "PartNo_Labor", "Qty_Labor", "Rate_Labor", "Amount_Labor"})
        lines.append("'" + v[column] + "',");
    lines.append("'" + v["Remark_Labor"] + "')");
    return lines;
}

QStringList TInvLabor::deleteStatement(const Values& v) const
{
    return {"Delete  From InvLabor where Inv_Labor=" + v["Inv_Labor"],
            "and Description_Labor='" + v["Description_Labor"] + "'"};
}

void TInvLabor::giveBack(DocumentWindow* invoice)
{
    invoice->reloadLabor(invoiceNumber());
}
