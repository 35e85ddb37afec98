#include "purchasing/TLaborFind.h"

#include "data/Currency.h"
#include "data/Query.h"
#include "ui/documents/PartLines.h"

namespace {
PickerDescription orderPartPicker()
{
    PickerDescription d = PartLines::picker(QStringLiteral("Order Part Find"));
    d.navigator = true;
    return d;
}
} // namespace

TLaborFind::TLaborFind(QWidget* parent)
    : PickerWindow(orderPartPicker(), parent)
{
    setObjectName(QStringLiteral("LaborFind"));
}

QList<std::pair<QString, QString>> TLaborFind::values(const Query& row, LineWindow&)
{
    // The catalogue price as it stands: the shop buys at cost.
    return PartLines::picked(row, row.field(QStringLiteral("Price_Material")).asCurrency());
}
