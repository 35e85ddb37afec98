#include "reports/ReportFilters.h"

namespace ReportFilters {

ReportFilter listed(const QString& caption, const QString& name, const ListSource& list,
                    const QString& condition)
{
    ReportFilter filter{caption, name, list};
    filter.condition = condition;
    return filter;
}

ReportFilter customer(const QString& condition, const QString& name)
{
    return listed(QStringLiteral("Customer"), name, ListSource{"Customer", "Name_Customer"},
                  condition);
}

ReportFilter paidType(const QString& name, const QStringList& items, const QString& paidLine)
{
    ReportFilter type{QStringLiteral("Type"), name};
    type.items = items;
    type.start = QStringLiteral("Paid");
    type.line = [paidLine](const QString&) { return paidLine; };
    return type;
}

} // namespace ReportFilters
