#include "invoicing/TInvLaborFind.h"

#include "data/Query.h"
#include "invoicing/TInvLabor.h"
#include "ui/common/Latest.h"

namespace {
PickerDescription laborPicker()
{
    PickerDescription d;
    d.caption = QStringLiteral("InvLaborFind");
    d.heading = QStringLiteral("Labor Find");
    d.listStatement = QStringLiteral("Select * From Labor");
    d.searchPrefix = QStringLiteral("Select * From Labor where Description_Labor Like '%");
    d.searchSuffix = QStringLiteral("%'");
    d.sortColumn = QStringLiteral("Description_Labor");
    return d;
}
} // namespace

TInvLaborFind::TInvLaborFind(QWidget* parent)
    : PickerWindow(laborPicker(), parent)
{
    Latest<TInvLaborFind>::set(this);
}

bool TInvLaborFind::copyRow()
{
    TInvLabor* line = Latest<TInvLabor>::get();
    if (!line)
        return false;
    Query* row = rows();
    line->setText(QStringLiteral("PartNo_Labor"),
                  row->field(QStringLiteral("PartNo_Labor")).asText());
    line->setText(QStringLiteral("Description_Labor"),
                  row->field(QStringLiteral("Description_Labor")).asText());
    line->setText(QStringLiteral("Rate_Labor"), row->field(QStringLiteral("Rate_Labor")).asText());
    line->setText(QStringLiteral("Remark_Labor"),
                  row->field(QStringLiteral("Remark_Labor")).asText());
    return true;
}
