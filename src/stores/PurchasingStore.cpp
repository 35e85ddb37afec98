#include "stores/PurchasingStore.h"

#include "data/SqlSelect.h"

SqlStatement PurchasingStore::partOrdered(const QString& partNo)
{
    return SqlSelect::where(QStringLiteral("Items"), QStringLiteral("Color_Item"), partNo);
}
