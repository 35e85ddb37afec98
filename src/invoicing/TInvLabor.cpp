#include "invoicing/TInvLabor.h"

#include "ui/documents/PartLines.h"

namespace {
LineDescription laborLines()
{
    LineDescription d =
        LaborLines::salesLines(QStringLiteral("InvLabor"), QStringLiteral("Invoice"));
    d.caption = QStringLiteral("InvLabor");
    d.heading = QStringLiteral("Invoice Labor");
    d.maximized = true;
    // Enter walks the boxes here too, so that a line is typed without the mouse.
    d.keys = true;
    return d;
}
} // namespace

TInvLabor::TInvLabor(LineOwnerRef invoice, QWidget* parent)
    : LineWindow(laborLines(), invoice, parent)
{}
