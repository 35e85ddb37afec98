#pragma once

#include "stores/Store.h"

// The statements of the catalogues: parts, labor, vendors, customers, employees, tax rates, the
// shop's profile and its users.
class CatalogueStore : public Store
{
public:
    using Store::Store;
};
