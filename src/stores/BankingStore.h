#pragma once

#include "stores/Store.h"

// The statements of bank accounts and deposits.
class BankingStore : public Store
{
public:
    using Store::Store;

    // What every deposit adds up to (null when there is none).
    Field depositSum() const;
};
