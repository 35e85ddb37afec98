#include "stores/CatalogueStore.h"
