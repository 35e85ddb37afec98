#include "invoicing/TInvLaborFind.h"

#include "data/Query.h"
#include "ui/documents/PartLines.h"

TInvLaborFind::TInvLaborFind(QWidget* parent)
    : PickerWindow(LaborLines::picker(QStringLiteral("InvLaborFind")), parent)
{
}

QList<std::pair<QString, QString>> TInvLaborFind::values(const Query& row, LineWindow&)
{
    return LaborLines::picked(row);
}
