#pragma once

#include "reports/ReportWindow.h"

// Filters that several report windows have.
namespace ReportFilters {

// A drop-down of "All" and the distinct values of a column.
ReportFilter listed(const QString& caption, const QString& name, const ListSource& list);
// "Customer": "All" and every customer's name.
ReportFilter customer(const QString& name = QStringLiteral("ComboBox1"));
// "Type" with fixed items, starting at "Paid"; every text but "All" keeps the report to the
// invoices marked paid.
ReportFilter paidType(const QString& name, const QStringList& items);

} // namespace ReportFilters
