#pragma once

#include "stores/Store.h"

// The statements of vendor bills, their lines and what is owed on them.
class BillStore : public Store
{
public:
    using Store::Store;
};
