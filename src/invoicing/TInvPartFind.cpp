#include "invoicing/TInvPartFind.h"

#include "data/Currency.h"
#include "data/Query.h"
#include "data/SqlLiteral.h"
#include "data/TDM.h"
#include "invoicing/TInvItem.h"
#include "ui/common/Latest.h"

namespace {
const QString columns = QStringLiteral(
    "Select Color_Material,Description_Material,Type_Material,Number_Material,Mfg_Material,"
    "Price_Material,Unit_Material,Style_Material,ID_Material From Part");

PickerDescription partPicker()
{
    PickerDescription d;
    d.caption = QStringLiteral("InvPartFind");
    d.heading = QStringLiteral("Part Find");
    d.listStatement = columns;
    d.searchPrefix = columns + " where Description_Material Like '%";
    d.searchSuffix = QStringLiteral("%'");
    d.sortColumn = QStringLiteral("Color_Material");
    d.titles = {"Part Name", "Description", "Type Part", "#", "Mfg", "Price $", "Unit", "Style"};
    d.centred = true;
    return d;
}
} // namespace

TInvPartFind::TInvPartFind(QWidget* parent)
    : PickerWindow(partPicker(), parent)
{
    Latest<TInvPartFind>::set(this);
}

bool TInvPartFind::copyRow()
{
    TInvItem* line = Latest<TInvItem>::get();
    if (!line)
        return false;
    Query* row = rows();
    const QString partNo = row->field(QStringLiteral("Color_Material")).asText();
    line->setText(QStringLiteral("Name_Item"),
                  row->field(QStringLiteral("Number_Material")).asText());
    line->setText(QStringLiteral("Mfg_Item"), row->field(QStringLiteral("Mfg_Material")).asText());
    line->setText(QStringLiteral("Style_Item"),
                  row->field(QStringLiteral("Style_Material")).asText());
    line->setText(QStringLiteral("Color_Item"), partNo);
    // Catalogue price plus 20 %, the markup cut at the fourth decimal.
    const Currency price = row->field(QStringLiteral("Price_Material")).asCurrency();
    const Currency markup = Currency::fromUnits(price.units() * 2000 / Currency::Scale);
    line->setText(QStringLiteral("Rate_Item"), (price + markup).toHashFormat());

    const QStringList from = {" And V.CustomerName_Inv = '" + Sql::text(line->customerName()) + "'",
                              " And V.InvoiceNo_Inv = T.Inv_Item "};
    const QString where = " InvItem T, Invoice V where T.Color_Item = '" + Sql::text(partNo) + "'";
    Query* history = DM->query(QStringLiteral("Q2"));
    history->close();
    history->setSql(QStringList{"Select Max(Rate_Item) From " + where} + from);
    history->open();
    const QString highest = history->field(QStringLiteral("Expr1000")).asCurrency().toHashFormat();
    // The last price is the one on the latest invoice.
    history->close();
    history->setSql(QStringList{"Select T.Rate_Item From " + where} + from +
                    QStringList{" Order By T.Inv_Item"});
    history->open();
    history->last();
    const QString last =
        history->isEmpty()
            ? QString()
            : history->field(QStringLiteral("Rate_Item")).asCurrency().toHashFormat();
    history->close();
    line->setPriceHistory(highest, last);
    return true;
}
