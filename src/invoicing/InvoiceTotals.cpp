#include "invoicing/InvoiceTotals.h"

namespace {
// A double turned into money through its 15-significant-digit decimal text, so that binary
// noise below that (0.1 + 0.2) never shows as a ten-thousandth.
Currency money(double value)
{
    return Currency::fromDouble(QString::number(value, 'g', 15).toDouble());
}
} // namespace

namespace InvoiceTotals {

Currency total(double parts, double labor, double rate, bool taxed)
{
    if (taxed)
        return money(parts + labor + rate * parts);
    return money(parts) + money(labor);
}

QString balanceNote(const QString& amountText, const QString& totalText,
                    const QString& unbalanced)
{
    return amountText == totalText ? QStringLiteral("......................") : unbalanced;
}

} // namespace InvoiceTotals
