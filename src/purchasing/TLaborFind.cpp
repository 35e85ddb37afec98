#include "purchasing/TLaborFind.h"

#include "data/Currency.h"
#include "data/Query.h"
#include "ui/common/Latest.h"

namespace {
PickerDescription orderPartPicker()
{
    PickerDescription d;
    d.caption = QStringLiteral("Order Part Find");
    d.heading = QStringLiteral("Part Find");
    d.table = QStringLiteral("Part");
    d.columns = QStringLiteral("Color_Material,Description_Material,Type_Material,"
                               "Number_Material,Mfg_Material,Price_Material,Unit_Material,"
                               "Style_Material,ID_Material");
    // As in the invoice's part picker: by description, name or number.
    d.searchColumns = {"Description_Material", "Number_Material", "Color_Material"};
    d.sortColumn = QStringLiteral("Color_Material");
    d.titles = {"Part Name", "Description", "Type Part", "#", "Mfg", "Price $", "Unit", "Style"};
    d.navigator = true;
    return d;
}
} // namespace

TLaborFind::TLaborFind(QWidget* parent)
    : PickerWindow(orderPartPicker(), parent)
{
    setObjectName(QStringLiteral("LaborFind"));
    Latest<TLaborFind>::set(this);
}

QList<std::pair<QString, QString>> TLaborFind::values(const Query& row, LineWindow&)
{
    // The catalogue price as it stands: the shop buys at cost.
    return {{"Name_Item", row.field(QStringLiteral("Number_Material")).asText()},
            {"Mfg_Item", row.field(QStringLiteral("Mfg_Material")).asText()},
            {"Style_Item", row.field(QStringLiteral("Style_Material")).asText()},
            {"Color_Item", row.field(QStringLiteral("Color_Material")).asText()},
            {"Rate_Item", row.field(QStringLiteral("Price_Material")).asCurrency().toHashFormat()}};
}
