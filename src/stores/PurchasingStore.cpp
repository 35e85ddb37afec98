#include "stores/PurchasingStore.h"

#include "data/SqlDialect.h"
#include "data/SqlSelect.h"

TableRead PurchasingStore::partOrdered(const QString& partNo)
{
    return SqlSelect::where(QStringLiteral("Items"), QStringLiteral("Color_Item"), partNo);
}

void PurchasingStore::order(Query& query, qint64 number) const
{
    load(query, SqlSelect::where(QStringLiteral("Orders"), QStringLiteral("Po_Order"), number));
}

void PurchasingStore::orderLines(Query& query, qint64 number) const
{
    load(query, SqlStatement{{"Select Color_Item, Name_Item, Qty_Item, Rate_Item, Amount_Item "
                              "From Items where Po_Item = ? Order By " +
                              SqlDialect::rowKeyColumn()},
                             {number}});
}

void PurchasingStore::vendor(Query& query, const QString& name) const
{
    load(query, SqlStatement{{"Select Top 1 * From Company where Name_Company = ? Order By "
                              "ID_Company"},
                             {name}});
}
