#include "invoicing/TInvPartFind.h"

#include "data/Currency.h"
#include "data/Query.h"
#include "invoicing/TInvItem.h"
#include "stores/SalesStore.h"
#include "ui/documents/PartLines.h"

TInvPartFind::TInvPartFind(QWidget* parent)
    : PickerWindow(PartLines::picker(QStringLiteral("InvPartFind")), parent)
{}

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
    const SalesStore store;
    const QString customer = parts->customerName();
    const QString highest = store.highestPrice(customer, partNo).asCurrency().toHashFormat();
    // The last price is the one on the latest invoice.
    const Field latest = store.latestPrice(customer, partNo);
    parts->setPriceHistory(highest,
                           latest.isNull() ? QString() : latest.asCurrency().toHashFormat());
}
