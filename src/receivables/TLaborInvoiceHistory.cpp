#include "receivables/TLaborInvoiceHistory.h"

#include "stores/SalesStore.h"

namespace {
HistoryDescription description()
{
    HistoryDescription d;
    d.caption = QStringLiteral("LaborInvoiceHistory");
    d.heading = QStringLiteral("Labor Invoice History");
    d.statement = [](const QString& value) { return SalesStore::laborInvoiced(value); };
    d.titles = {"Description", "Part Number", "Qty", "Rate", "Amount", "Remark", "Invoice"};
    d.navigator = false;
    return d;
}
} // namespace

TLaborInvoiceHistory::TLaborInvoiceHistory(QWidget* parent)
    : HistoryWindow(description(), parent)
{}
