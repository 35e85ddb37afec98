#include "receivables/TCustomerHistory.h"

#include "stores/PaymentStore.h"

namespace {
HistoryDescription description()
{
    HistoryDescription d;
    d.caption = QStringLiteral("CustomerHistory");
    d.heading = QString();
    d.statement = [](const QString& value) { return PaymentStore::receivedFrom(value); };
    d.titles = {"Invoice#",  "Customer Name", "Via",        "Pay Date",
                "Refrence#", "Deposit To",    "Paid Amount"};
    d.navigator = false;
    return d;
}
} // namespace

TCustomerHistory::TCustomerHistory(QWidget* parent)
    : HistoryWindow(description(), parent)
{}
