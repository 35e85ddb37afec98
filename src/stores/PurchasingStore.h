#pragma once

#include "stores/Store.h"

// The statements of purchase orders and their part lines.
class PurchasingStore : public Store
{
public:
    using Store::Store;

    // The order lines of a part number.
    static TableRead partOrdered(const QString& partNo);
};
