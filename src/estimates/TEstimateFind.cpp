#include "estimates/TEstimateFind.h"

#include "data/Currency.h"
#include "ui/common/Latest.h"
#include "ui/documents/PartLines.h"

TEstimatePartFind::TEstimatePartFind(QWidget* parent)
    : PickerWindow(PartLines::picker(QStringLiteral("EstimatePartFind")), parent)
{
    Latest<TEstimatePartFind>::set(this);
}

QList<std::pair<QString, QString>> TEstimatePartFind::values(const Query& row, LineWindow&)
{
    return PartLines::picked(row, PartLines::sellingPrice(row));
}

TEstimateLaborFind::TEstimateLaborFind(QWidget* parent)
    : PickerWindow(LaborLines::picker(QStringLiteral("EstimateLaborFind")), parent)
{
    Latest<TEstimateLaborFind>::set(this);
}

QList<std::pair<QString, QString>> TEstimateLaborFind::values(const Query& row, LineWindow&)
{
    return LaborLines::picked(row);
}
