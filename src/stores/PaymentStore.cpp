#include "stores/PaymentStore.h"
