#include "purchasing/TPartOrderHistory.h"

#include "stores/PurchasingStore.h"

TPartOrderHistory::TPartOrderHistory(QWidget* parent)
    : HistoryWindow({QStringLiteral("PartOrderHistory"),
                     QString(),
                     [](const QString& partNo) { return PurchasingStore::partOrdered(partNo); },
                     {"Name", "Mfg", "Qty", "Style", "Part #", "Rate", "Amount", "Po"}},
                    parent)
{}
