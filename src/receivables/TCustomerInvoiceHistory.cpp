#include "receivables/TCustomerInvoiceHistory.h"

#include "stores/SalesStore.h"

namespace {
HistoryDescription description()
{
    HistoryDescription d;
    d.caption = QStringLiteral("CustomerInvoiceHistory");
    d.heading = QString();
    d.statement = [](const QString& value) { return SalesStore::customerInvoices(value); };
    d.titles = {"Invoice#", "Customer Name", "Repair By", "Inv Date",
                "PO#",      "Inv Amount",    "Address"};
    d.navigator = false;
    return d;
}
} // namespace

TCustomerInvoiceHistory::TCustomerInvoiceHistory(QWidget* parent)
    : HistoryWindow(description(), parent)
{}
