#include "purchasing/TPartOrderHistory.h"

TPartOrderHistory::TPartOrderHistory(QWidget* parent)
    : HistoryWindow(
          {QStringLiteral("PartOrderHistory"),
           QString(),
           QStringLiteral("Q1"),
           [](const QString& partNo) {
               return SqlStatement{{"Select * From Items where Color_Item = ?"}, {partNo}};
           },
           {"Name", "Mfg", "Qty", "Style", "Part #", "Rate", "Amount", "Po"}},
          parent)
{}
