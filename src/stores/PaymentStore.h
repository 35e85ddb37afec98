#pragma once

#include "stores/Store.h"

// The statements of payments received and paid, and their histories.
class PaymentStore : public Store
{
public:
    using Store::Store;
};
