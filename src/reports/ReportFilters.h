#pragma once

#include "reports/ReportWindow.h"

// Filters that several report windows have.
namespace ReportFilters {

// A drop-down of "All" and the distinct values of listStatement; any other text adds condition
// with the text quoted.
ReportFilter listed(const QString& caption, const QString& name, const ListSource& list,
                    const QString& condition);
// "Customer": "All" and every customer's name.
ReportFilter customer(const QString& condition, const QString& name = QStringLiteral("ComboBox1"));
// "Type" with fixed items, starting at "Paid"; every text but "All" adds paidLine. The paid
// invoices are best written "Paid_Inv <> No", the same rows of a yes/no column as "= Yes":
// then a period's invoices are found by the date's index rather than by the paid flag's,
// which holds nearly every invoice of every year.
ReportFilter paidType(const QString& name, const QStringList& items, const QString& paidLine);

} // namespace ReportFilters
