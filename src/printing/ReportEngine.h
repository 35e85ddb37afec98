#pragma once

#include "printing/PreparedReport.h"

#include <QDateTime>
#include <QHash>
#include <QString>

class Query;
class ReportLayout;

namespace ReportEngine {

struct PrepareOptions
{
    // What [Date] and [Time] print; the moment of preparing when left invalid.
    QDateTime printedAt;
    // Texts for the layout's parameters, in place of the layout's own; a name that is not a
    // parameter of the layout is refused.
    QHash<QString, QString> parameters = {};
};

// Lays a layout out over its data sets, each a name of the layout bound to a data-module query
// read as it stands: a master-data band prints the query's rows from the first, in the query's
// current order; a field printed anywhere else reads the query's current row. The queries are
// only read: their rows, order and current row stay as they were.
//
// Pages fill from the top margin down to the page footer; a band that no longer fits starts a
// new sheet under the page header again. SUM counts the rows printed in the current copy of a
// page; in a group footer the rows of that group, in a page footer the rows on that sheet.
// A layout that prints [TotalPages#] is laid out twice.
//
// Throws DbError when a data set is not bound, a column is not in its query, or a value cannot
// be computed (a text that is not a number in arithmetic, a division by zero).
PreparedReport prepare(const ReportLayout& layout, const QHash<QString, const Query*>& dataSets,
                       const PrepareOptions& options = {});

// The same for a layout read from a file or a Qt resource; throws DbError when the layout
// cannot be read.
PreparedReport prepareFile(const QString& layoutFile, const QHash<QString, const Query*>& dataSets,
                           const PrepareOptions& options = {});

} // namespace ReportEngine
