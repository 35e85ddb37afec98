#pragma once

#include "stores/Store.h"

// The statements of the period reports and their work tables.
class ReportStore : public Store
{
public:
    using Store::Store;
};
