#include "invoicing/TInvLaborFind.h"

#include "data/Query.h"
#include "ui/common/Latest.h"
#include "ui/documents/PartLines.h"

TInvLaborFind::TInvLaborFind(QWidget* parent)
    : PickerWindow(LaborLines::picker(QStringLiteral("InvLaborFind")), parent)
{
    Latest<TInvLaborFind>::set(this);
}

QList<std::pair<QString, QString>> TInvLaborFind::values(const Query& row, LineWindow&)
{
    return LaborLines::picked(row);
}
