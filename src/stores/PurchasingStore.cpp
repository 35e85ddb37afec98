#include "stores/PurchasingStore.h"
