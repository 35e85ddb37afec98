#include "payables/TVendorHistory.h"

namespace {
HistoryDescription description()
{
    HistoryDescription d;
    d.caption = QStringLiteral("VendorHistory");
    d.heading = QString();
    d.query = QStringLiteral("QCompany4");
    d.statement = [](const QString& value) {
        return SqlStatement{{"Select * From Bill where Vendor_Bill = ?"}, {value}};
    };
    d.titles = {"Ref #", "Vendor Name", "Bill Date", "Due Date", "Amount"};
    d.navigator = true;
    return d;
}
} // namespace

TVendorHistory::TVendorHistory(QWidget* parent)
    : HistoryWindow(description(), parent)
{}
