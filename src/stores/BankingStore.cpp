#include "stores/BankingStore.h"

Field BankingStore::depositSum() const
{
    return value(SqlStatement{{QStringLiteral("Select Sum(Amount_Dep) From Deposit")}});
}
