#include "payables/TVendorHistory.h"

#include "stores/BillStore.h"

namespace {
HistoryDescription description()
{
    HistoryDescription d;
    d.caption = QStringLiteral("VendorHistory");
    d.heading = QString();
    d.statement = [](const QString& value) { return BillStore::vendorBills(value); };
    d.titles = {"Ref #", "Vendor Name", "Bill Date", "Due Date", "Amount"};
    d.navigator = true;
    return d;
}
} // namespace

TVendorHistory::TVendorHistory(QWidget* parent)
    : HistoryWindow(description(), parent)
{}
