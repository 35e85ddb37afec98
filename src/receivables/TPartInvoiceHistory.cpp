#include "receivables/TPartInvoiceHistory.h"

#include "stores/SalesStore.h"

TPartInvoiceHistory::TPartInvoiceHistory(QWidget* parent)
    : HistoryWindow({QStringLiteral("PartInvoiceHistory"),
                     QStringLiteral("Part Invoice History"),
                     [](const QString& partNo) { return SalesStore::partInvoiced(partNo); },
                     {"Name", "Mfg", "Qty", "Style", "Part #", "Rate", "Amount", "Invoice #"}},
                    parent)
{}
