#pragma once

#include "stores/Store.h"

// The statements of purchase orders and their part lines.
class PurchasingStore : public Store
{
public:
    using Store::Store;
};
