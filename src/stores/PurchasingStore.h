#pragma once

#include "stores/Store.h"

// The statements of purchase orders and their part lines.
class PurchasingStore : public Store
{
public:
    using Store::Store;

    // The order lines of a part number.
    static TableRead partOrdered(const QString& partNo);

    // What an order's printout reads: the order (no row when it is not stored), its part lines
    // in the order they were added, and the vendor of the catalogue the order names (no row
    // for a vendor the catalogue does not hold; the first of two alike).
    void order(Query& query, qint64 number) const;
    void orderLines(Query& query, qint64 number) const;
    void vendor(Query& query, const QString& name) const;
};
