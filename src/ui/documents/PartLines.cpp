#include "ui/documents/PartLines.h"

#include "data/Currency.h"
#include "data/Query.h"

namespace PartLines {

QList<FormBox> boxes(const QString& nameCaption)
{
    return {
        {"Name_Item", nameCaption, FormBox::List,
         ListSource{"Part", "Number_Material", ListSource::All}, "ComboBox1"},
        {"Mfg_Item", "Mfg", FormBox::Edit, {}, "Edit1"},
        {"Qty_Item", "Qty", FormBox::Edit, {}, "Edit2"},
        {"Style_Item", "Style", FormBox::Edit, {}, "Edit3"},
        {"Color_Item", "Part No", FormBox::Edit, {}, "Edit4"},
        {"Rate_Item", "Rate $", FormBox::Edit, {}, "Edit5"},
        {"Amount_Item", "Amount $", FormBox::Edit, {}, "Edit6"},
    };
}

QHash<QString, QString> newTexts()
{
    return {{"Qty_Item", "0"}, {"Rate_Item", "0.00"}, {"Amount_Item", "0.00"}};
}

CatalogueFill catalogueFill()
{
    return CatalogueFill{QStringLiteral("Name_Item"),
                         QStringLiteral("Part"),
                         QStringLiteral("Number_Material"),
                         {{"Mfg_Item", "Mfg_Material"},
                          {"Style_Item", "Style_Material"},
                          {"Color_Item", "Color_Material"},
                          {"Rate_Item", "Price_Material"}}};
}

LineDescription salesLines(const QString& table, const QString& lastTitle)
{
    LineDescription d;
    d.table = table;
    d.numberColumn = QStringLiteral("Inv_Item");
    d.boxes = boxes(QStringLiteral("Part Name"));
    d.newTexts = newTexts();
    d.openTitles = {"Name", "Mfg", "Qty", "Style", "Part No", "Rate", "Amount", lastTitle};
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
    d.fill = catalogueFill();
    d.keys = true;
    return d;
}

PickerDescription picker(const QString& caption)
{
    PickerDescription d;
    d.caption = caption;
    d.heading = QStringLiteral("Part Find");
    d.table = QStringLiteral("Part");
    d.columns = QStringLiteral("Color_Material,Description_Material,Type_Material,"
                               "Number_Material,Mfg_Material,Price_Material,Unit_Material,"
                               "Style_Material,ID_Material");
    // A clerk may know the part by its description, its name or its number.
    d.searchColumns = {"Description_Material", "Number_Material", "Color_Material"};
    d.sortColumn = QStringLiteral("Color_Material");
    d.titles = {"Part Name", "Description", "Type Part", "#", "Mfg", "Price $", "Unit", "Style"};
    return d;
}

QList<std::pair<QString, QString>> picked(const Query& row, const Currency& rate)
{
    return {{"Name_Item", row.field(QStringLiteral("Number_Material")).asText()},
            {"Mfg_Item", row.field(QStringLiteral("Mfg_Material")).asText()},
            {"Style_Item", row.field(QStringLiteral("Style_Material")).asText()},
            {"Color_Item", row.field(QStringLiteral("Color_Material")).asText()},
            {"Rate_Item", rate.toHashFormat()}};
}

Currency sellingPrice(const Query& row)
{
    const Currency price = row.field(QStringLiteral("Price_Material")).asCurrency();
    return price + Currency::fromUnits(price.units() * 2000 / Currency::Scale);
}

} // namespace PartLines

namespace LaborLines {

QList<FormBox> boxes()
{
    return {
        {"Description_Labor", "Labor Description", FormBox::List,
         ListSource{"Labor", "Description_Labor", ListSource::All}, "ComboBox1"},
        {"PartNo_Labor", "Part Disc", FormBox::Edit, {}, "Edit1"},
        {"Qty_Labor", "Qty", FormBox::Edit, {}, "Edit2"},
        {"Rate_Labor", "Rate $", FormBox::Edit, {}, "Edit5"},
        {"Amount_Labor", "Amount $", FormBox::Edit, {}, "Edit6"},
        {"Remark_Labor", "Remark", FormBox::Edit, {}, "Edit4"},
    };
}

QHash<QString, QString> newTexts()
{
    return {{"Qty_Labor", "0"}, {"Amount_Labor", "0.00"}};
}

CatalogueFill catalogueFill()
{
    return CatalogueFill{QStringLiteral("Description_Labor"),
                         QStringLiteral("Labor"),
                         QStringLiteral("Description_Labor"),
                         {{"PartNo_Labor", "PartNo_Labor"},
                          {"Rate_Labor", "Rate_Labor"},
                          {"Remark_Labor", "Remark_Labor"}}};
}

LineDescription salesLines(const QString& table, const QString& lastTitle)
{
    LineDescription d;
    d.table = table;
    d.numberColumn = QStringLiteral("Inv_Labor");
    d.boxes = boxes();
    d.newTexts = newTexts();
    d.openTitles = {"Description", "Part Number", "Qty", "Rate", "Amount", "Remark", lastTitle};
    d.saveTitles = d.refreshTitles = d.openTitles;
    d.totalCaption = QStringLiteral("Total Labor $ :");
    d.totalName = QStringLiteral("Label4");
    d.qtyColumn = QStringLiteral("Qty_Labor");
    d.rateColumn = QStringLiteral("Rate_Labor");
    d.amountColumn = QStringLiteral("Amount_Labor");
    d.findCaption = QStringLiteral("find");
    return d;
}

PickerDescription picker(const QString& caption)
{
    PickerDescription d;
    d.caption = caption;
    d.heading = QStringLiteral("Labor Find");
    d.table = QStringLiteral("Labor");
    d.columns = QStringLiteral("*");
    d.searchColumns = {"Description_Labor"};
    d.sortColumn = QStringLiteral("Description_Labor");
    return d;
}

QList<std::pair<QString, QString>> picked(const Query& row)
{
    return {{"PartNo_Labor", row.field(QStringLiteral("PartNo_Labor")).asText()},
            {"Description_Labor", row.field(QStringLiteral("Description_Labor")).asText()},
            {"Rate_Labor", row.field(QStringLiteral("Rate_Labor")).asText()},
            {"Remark_Labor", row.field(QStringLiteral("Remark_Labor")).asText()}};
}

} // namespace LaborLines
