#include "invoicing/TInvLaborFind.h"

#include "data/Query.h"
#include "ui/common/Latest.h"

namespace {
PickerDescription laborPicker()
{
    PickerDescription d;
    d.caption = QStringLiteral("InvLaborFind");
    d.heading = QStringLiteral("Labor Find");
    d.table = QStringLiteral("Labor");
    d.columns = QStringLiteral("*");
    d.searchColumns = {"Description_Labor"};
    d.sortColumn = QStringLiteral("Description_Labor");
    return d;
}
} // namespace

TInvLaborFind::TInvLaborFind(QWidget* parent)
    : PickerWindow(laborPicker(), parent)
{
    Latest<TInvLaborFind>::set(this);
}

QList<std::pair<QString, QString>> TInvLaborFind::values(const Query& row, LineWindow&)
{
    return {{"PartNo_Labor", row.field(QStringLiteral("PartNo_Labor")).asText()},
            {"Description_Labor", row.field(QStringLiteral("Description_Labor")).asText()},
            {"Rate_Labor", row.field(QStringLiteral("Rate_Labor")).asText()},
            {"Remark_Labor", row.field(QStringLiteral("Remark_Labor")).asText()}};
}
