#include "invoicing/TInvItem.h"

#include "ui/documents/PartLines.h"

#include <QLabel>

namespace {
LineDescription partLines()
{
    LineDescription d = PartLines::salesLines(QStringLiteral("InvItem"), QStringLiteral("Invoice"));
    d.caption = QStringLiteral("InvItem");
    d.heading = QStringLiteral("Invoice Parts");
    return d;
}
} // namespace

TInvItem::TInvItem(LineOwnerRef invoice, QWidget* parent)
    : LineWindow(partLines(), invoice, parent)
{
    m_highest = addFigure(QStringLiteral("Max:"), QStringLiteral("Label14"));
    m_last = addFigure(QStringLiteral("Last:"), QStringLiteral("Label24"));
}

void TInvItem::setPriceHistory(const QString& highest, const QString& last)
{
    m_highest->setText(highest);
    m_last->setText(last);
}
