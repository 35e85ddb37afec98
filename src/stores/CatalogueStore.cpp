#include "stores/CatalogueStore.h"

#include "data/Connection.h"
#include "data/SqlRow.h"
#include "data/SqlSelect.h"
#include "data/Transaction.h"

namespace {
const QString partNumber = QStringLiteral("Color_Item");
}

Field CatalogueStore::partSold(const QString& partNo) const
{
    return value(
        SqlSelect::sum(QStringLiteral("InvItem"), QStringLiteral("Qty_Item"), partNumber, partNo));
}

Field CatalogueStore::partBought(const QString& partNo) const
{
    return value(
        SqlSelect::sum(QStringLiteral("Items"), QStringLiteral("Qty_Item"), partNumber, partNo));
}

void CatalogueStore::partsNumbered(Query& query, const QString& partNo) const
{
    load(query, SqlSelect::where(QStringLiteral("Part"), QStringLiteral("Color_Material"), partNo));
}

Field CatalogueStore::laborSold(const QString& description) const
{
    return value(SqlSelect::sum(QStringLiteral("InvLabor"), QStringLiteral("Amount_Labor"),
                                QStringLiteral("Description_Labor"), description));
}

Field CatalogueStore::customerInvoiced(const QString& name) const
{
    return value(SqlSelect::sum(QStringLiteral("Invoice"), QStringLiteral("Amount_Inv"),
                                QStringLiteral("CustomerName_Inv"), name));
}

Field CatalogueStore::customerPaid(const QString& name) const
{
    return value(SqlSelect::sum(QStringLiteral("Receivable"), QStringLiteral("Amount_Receivable"),
                                QStringLiteral("Name_Receivable"), name));
}

Field CatalogueStore::vendorBilled(const QString& name) const
{
    return value(SqlSelect::sum(QStringLiteral("Bill"), QStringLiteral("Amount_Bill"),
                                QStringLiteral("Vendor_Bill"), name));
}

void CatalogueStore::profile(Query& query) const
{
    load(query, SqlSelect::all(QStringLiteral("Reg")));
}

void CatalogueStore::saveProfile(const SqlRow& row) const
{
    Transaction transaction(connection());
    if (change(row.update({QStringLiteral("Id_R")})) == 0)
        change(row.insert());
    transaction.commit();
}
