#pragma once

#include "data/Currency.h"

#include <QDate>
#include <QString>

class Query;

// The figures of a sales document (invoice or estimate): sales tax on the parts at the rate of
// the document's date, the total, and whether the typed amount balances it.
namespace SalesTotals {

// What the tax is for a month that no tax row of its year covers.
enum class UncoveredMonth
{
    FirstRowOfYear, // the year's first row, whatever its months
    Untaxed,        // no tax
};

// Leaves query on the tax row for a document dated date: the row of its year whose starting
// and ending months cover its month, else as rule says; returns its rate as a fraction of 1
// (0 without a row). A date that is not a date has no row.
double taxRow(Query* query, const QDate& date, UncoveredMonth rule);

// The sales tax on parts at rate (a fraction of 1), rounded half up to the cent: the figure
// the document's total, its printout and the period reports all add.
Currency tax(double parts, double rate);
// Parts plus labor, with the tax on the parts only when taxed.
Currency total(double parts, double labor, double rate, bool taxed);

// The window's unbalanced note ("Invoice is not Balance") when the typed amount differs from
// the shown total as text, otherwise a dotted line.
QString balanceNote(const QString& amountText, const QString& totalText,
                    const QString& unbalanced = QStringLiteral("Invoice is not Balance"));

} // namespace SalesTotals
