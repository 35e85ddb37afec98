#include "invoicing/TInvPartFind.h"

#include "data/Currency.h"
#include "data/Query.h"
#include "data/SqlLiteral.h"
#include "data/TDM.h"
#include "invoicing/TInvItem.h"
#include "ui/common/Latest.h"

namespace {
PickerDescription partPicker()
{
    PickerDescription d;
    d.caption = QStringLiteral("InvPartFind");
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
} // namespace

TInvPartFind::TInvPartFind(QWidget* parent)
    : PickerWindow(partPicker(), parent)
    , m_history(DM->ownQuery(QStringLiteral("Q2"), this))
{
    Latest<TInvPartFind>::set(this);
}

QList<std::pair<QString, QString>> TInvPartFind::values(const Query& row, LineWindow&)
{
    // Catalogue price plus 20 %, the markup cut at the fourth decimal.
    const Currency price = row.field(QStringLiteral("Price_Material")).asCurrency();
    const Currency markup = Currency::fromUnits(price.units() * 2000 / Currency::Scale);
    return {{"Name_Item", row.field(QStringLiteral("Number_Material")).asText()},
            {"Mfg_Item", row.field(QStringLiteral("Mfg_Material")).asText()},
            {"Style_Item", row.field(QStringLiteral("Style_Material")).asText()},
            {"Color_Item", row.field(QStringLiteral("Color_Material")).asText()},
            {"Rate_Item", (price + markup).toHashFormat()}};
}

void TInvPartFind::picked(const Query& row, LineWindow& line)
{
    auto* parts = qobject_cast<TInvItem*>(&line);
    if (!parts)
        return;
    const QString partNo = row.field(QStringLiteral("Color_Material")).asText();
    const QStringList from = {" And V.CustomerName_Inv = '" + Sql::text(parts->customerName()) +
                                  "'",
                              " And V.InvoiceNo_Inv = T.Inv_Item "};
    const QString where = " InvItem T, Invoice V where T.Color_Item = '" + Sql::text(partNo) + "'";
    m_history->close();
    m_history->setSql(QStringList{"Select Max(Rate_Item) From " + where} + from);
    m_history->open();
    const QString highest =
        m_history->field(QStringLiteral("Expr1000")).asCurrency().toHashFormat();
    // The last price is the one on the latest invoice.
    m_history->close();
    m_history->setSql(QStringList{"Select T.Rate_Item From " + where} + from +
                      QStringList{" Order By T.Inv_Item"});
    m_history->open();
    m_history->last();
    const QString last =
        m_history->isEmpty()
            ? QString()
            : m_history->field(QStringLiteral("Rate_Item")).asCurrency().toHashFormat();
    m_history->close();
    parts->setPriceHistory(highest, last);
}
