#include "invoicing/TInvItem.h"

#include "data/Query.h"
#include "data/SqlLiteral.h"
#include "data/TDM.h"
#include "invoicing/DocumentWindow.h"
#include "ui/common/Guard.h"
#include "ui/common/Latest.h"
#include "ui/common/ListBox.h"

#include <QLabel>
#include <QLineEdit>

namespace {
LineDescription partLines()
{
    LineDescription d;
    d.caption = QStringLiteral("InvItem");
    d.heading = QStringLiteral("Invoice Parts");
    d.table = QStringLiteral("InvItem");
    d.invoiceColumn = QStringLiteral("Inv_Item");
    d.amountColumn = QStringLiteral("Amount_Item");
    d.qtyColumn = QStringLiteral("Qty_Item");
    d.rateColumn = QStringLiteral("Rate_Item");
    d.gridQuery = QStringLiteral("QInvItem1");
    d.lookupQuery = QStringLiteral("QInvItem2");
    d.sumQuery = QStringLiteral("QInvItem4");
    d.listStatement = QStringLiteral("Select * From Part");
    d.listColumn = QStringLiteral("Number_Material");
    d.boxes = {
        {"Name_Item", "Part Name", "ComboBox1", "", true},
        {"Mfg_Item", "Mfg", "Edit1", ""},
        {"Qty_Item", "Qty", "Edit2", "0"},
        {"Style_Item", "Style", "Edit3", ""},
        {"Color_Item", "Part No", "Edit4", ""},
        {"Rate_Item", "Rate $", "Edit5", "0.00"},
        {"Amount_Item", "Amount $", "Edit6", "0.00"},
    };
    d.openTitles = {"Name", "Mfg", "Qty", "Style", "Part No", "Rate", "Amount", "Invoice"};
    d.titles = d.openTitles;
    d.titles[0] = QStringLiteral("Name Item");
    d.totalCaption = QStringLiteral("Total Items $:");
    d.totalName = QStringLiteral("Label7");
    d.findCaption = QStringLiteral("Find");
    d.rowLoadReloadsTotal = true;
    d.keys = true;
    return d;
}
} // namespace

TInvItem::TInvItem(DocumentWindow* invoice, std::function<void()> showPicker, QWidget* parent)
    : LineWindow(partLines(), invoice, std::move(showPicker), parent)
{
    Latest<TInvItem>::set(this);
    addFigure(QStringLiteral("Max:"), QStringLiteral("Label14"));
    addFigure(QStringLiteral("Last:"), QStringLiteral("Label24"));
    // Typing or choosing a part name fills the line from the catalogue.
    auto* name = qobject_cast<ListBox*>(box(QStringLiteral("Name_Item")));
    connect(name->lineEdit(), &QLineEdit::textEdited, this,
            [this] { guard([this] { fillFromCatalogue(); }); });
    connect(name, &QComboBox::textActivated, this,
            [this] { guard([this] { fillFromCatalogue(); }); });
}

void TInvItem::setPriceHistory(const QString& highest, const QString& last)
{
    findChild<QLabel*>(QStringLiteral("Label14"))->setText(highest);
    findChild<QLabel*>(QStringLiteral("Label24"))->setText(last);
}

void TInvItem::fillFromCatalogue()
{
    const QString name = text(QStringLiteral("Name_Item"));
    // The look-up query, so that the invoice window's part lines keep showing its lines.
    Query* part = DM->query(description().lookupQuery);
    runStatement(part, {"Select * From Part where Number_Material='" + Sql::text(name) + "'"});
    part->open();
    if (!part->isEmpty() && part->field(QStringLiteral("Number_Material")).asText() == name) {
        setText(QStringLiteral("Mfg_Item"), part->field(QStringLiteral("Mfg_Material")).asText());
        setText(QStringLiteral("Style_Item"),
                part->field(QStringLiteral("Style_Material")).asText());
        setText(QStringLiteral("Color_Item"),
                part->field(QStringLiteral("Color_Material")).asText());
        setText(QStringLiteral("Rate_Item"),
                part->field(QStringLiteral("Price_Material")).asText());
    } else {
        // No such part: the line is cleared, but the name being typed stays.
        newLine();
        setText(QStringLiteral("Name_Item"), name);
    }
    part->close();
}

QStringList TInvItem::existsStatement(const Values& v) const
{
    return {"Select * From InvItem where Inv_Item=" + v["Inv_Item"],
            "and Color_Item='" + v["Color_Item"] + "'"};
}

QStringList TInvItem::updateStatement(const Values& v) const
{
    return {" Update InvItem  Set Inv_Item =" + v["Inv_Item"] + ",",
            " Name_Item ='" + v["Name_Item"] + "',",
            " Mfg_Item ='" + v["Mfg_Item"] + "',",
            " Qty_Item ='" + v["Qty_Item"] + "',",
            " Style_Item ='" + v["Style_Item"] + "',",
            " Color_Item ='" + v["Color_Item"] + "',",
            " Rate_Item ='" + v["Rate_Item"] + "',",
            " Amount_Item ='" + v["Amount_Item"] + "'",
            " where Inv_Item =" + v["Inv_Item"] + " and Color_Item ='" + v["Color_Item"] + "'"};
}

QStringList TInvItem::insertStatement(const Values& v) const
{
    QStringList lines{" Insert Into InvItem ( Inv_Item, Name_Item,",
                      "Mfg_Item, Qty_Item,Style_Item,Color_Item,Rate_Item,Amount_Item ) Values ( ",
                      v["Inv_Item"] + ","};
    for (const char* column :
         {"Name_Item", "Mfg_Item", "Qty_Item", "Style_Item", "Color_Item", "Rate_Item"})
        lines.append("'" + v[column] + "',");
    lines.append("'" + v["Amount_Item"] + "')");
    return lines;
}

QStringList TInvItem::deleteStatement(const Values& v) const
{
    return {"Delete  From InvItem where Inv_Item=" + v["Inv_Item"],
            "and Name_Item='" + v["Name_Item"] + "'"};
}

void TInvItem::giveBack(DocumentWindow* invoice)
{
    invoice->reloadParts(invoiceNumber());
}
