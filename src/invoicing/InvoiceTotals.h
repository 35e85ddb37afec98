#pragma once

#include "data/Currency.h"

#include <QString>

// The figures a document window works out from its lines.
namespace InvoiceTotals {

// Parts plus labor, with sales tax on the parts only when taxed; rate is a fraction of 1.
// Computed the way the shop's printouts do: in floating point when taxed, then to money.
Currency total(double parts, double labor, double rate, bool taxed);

// The window's unbalanced note ("Invoice is not Balance") when the typed amount differs from
// the shown total as text, otherwise a dotted line.
QString balanceNote(const QString& amountText, const QString& totalText,
                    const QString& unbalanced = QStringLiteral("Invoice is not Balance"));

} // namespace InvoiceTotals
