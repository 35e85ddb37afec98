#include "stores/ReportStore.h"
