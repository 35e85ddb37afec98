#include "stores/BankingStore.h"
