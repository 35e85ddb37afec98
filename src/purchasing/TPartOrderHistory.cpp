#include "purchasing/TPartOrderHistory.h"

#include "data/SqlLiteral.h"

TPartOrderHistory::TPartOrderHistory(QWidget* parent)
    : HistoryWindow({QStringLiteral("PartOrderHistory"),
                     QString(),
                     QStringLiteral("Q1"),
                     [](const QString& partNo) {
                         return "Select * From Items where Color_Item='" + Sql::text(partNo) + "'";
                     },
                     {"Name", "Mfg", "Qty", "Style", "Part #", "Rate", "Amount", "Po"}},
                    parent)
{
}
