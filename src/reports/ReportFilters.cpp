#include "reports/ReportFilters.h"

#include "stores/ReportStore.h"

namespace ReportFilters {

ReportFilter listed(const QString& caption, const QString& name, const ListSource& list)
{
    return ReportFilter{caption, name, list};
}

ReportFilter customer(const QString& name)
{
    return listed(QStringLiteral("Customer"), name, ListSource{"Customer", "Name_Customer"});
}

ReportFilter paidType(const QString& name, const QStringList& items)
{
    ReportFilter type{QStringLiteral("Type"), name};
    type.items = items;
    type.start = QStringLiteral("Paid");
    return type;
}

} // namespace ReportFilters
