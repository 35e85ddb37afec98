#include "stores/SalesStore.h"
