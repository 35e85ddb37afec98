#include "BenchSupport.h"

#include "data/Connection.h"
#include "data/TDM.h"

QString sql(const QString& access)
{
    return DM->admin1()->translate(access);
}
