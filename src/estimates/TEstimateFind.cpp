#include "estimates/TEstimateFind.h"

#include "data/Currency.h"
#include "ui/documents/PartLines.h"

TEstimatePartFind::TEstimatePartFind(QWidget* parent)
    : PickerWindow(PartLines::picker(QStringLiteral("EstimatePartFind")), parent)
{
}

QList<std::pair<QString, QString>> TEstimatePartFind::values(const Query& row, LineWindow&)
{
    return PartLines::picked(row, PartLines::sellingPrice(row));
}

TEstimateLaborFind::TEstimateLaborFind(QWidget* parent)
    : PickerWindow(LaborLines::picker(QStringLiteral("EstimateLaborFind")), parent)
{
}

QList<std::pair<QString, QString>> TEstimateLaborFind::values(const Query& row, LineWindow&)
{
    return LaborLines::picked(row);
}
