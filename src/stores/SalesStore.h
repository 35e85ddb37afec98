#pragma once

#include "stores/Store.h"

// The statements of invoices and estimates: their headers, lines, numbers, payments and archive.
class SalesStore : public Store
{
public:
    using Store::Store;
};
