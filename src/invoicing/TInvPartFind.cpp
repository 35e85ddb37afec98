#include "invoicing/TInvPartFind.h"

#include "data/Currency.h"
#include "data/Query.h"
#include "data/SqlLiteral.h"
#include "data/TDM.h"
#include "invoicing/TInvItem.h"
#include "ui/documents/PartLines.h"

TInvPartFind::TInvPartFind(QWidget* parent)
    : PickerWindow(PartLines::picker(QStringLiteral("InvPartFind")), parent)
    , m_history(DM->ownQuery(QStringLiteral("Q2"), this))
{
}

QList<std::pair<QString, QString>> TInvPartFind::values(const Query& row, LineWindow&)
{
    return PartLines::picked(row, PartLines::sellingPrice(row));
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
