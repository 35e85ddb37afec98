#include "receivables/TPartInvoiceHistory.h"

TPartInvoiceHistory::TPartInvoiceHistory(QWidget* parent)
    : HistoryWindow(
          {QStringLiteral("PartInvoiceHistory"),
           QStringLiteral("Part Invoice History"),
           QStringLiteral("Q1"),
           [](const QString& partNo) {
               return SqlStatement{{"Select * From InvItem where Color_Item = ?"}, {partNo}};
           },
           {"Name", "Mfg", "Qty", "Style", "Part #", "Rate", "Amount", "Invoice #"}},
          parent)
{}
