#include "stores/PurchasingStore.h"

#include "data/SqlSelect.h"

TableRead PurchasingStore::partOrdered(const QString& partNo)
{
    return SqlSelect::where(QStringLiteral("Items"), QStringLiteral("Color_Item"), partNo);
}
