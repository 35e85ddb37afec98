#include "stores/BillStore.h"
