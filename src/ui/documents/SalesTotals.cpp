#include "ui/documents/SalesTotals.h"

#include "data/Query.h"

namespace {
// A double turned into money through its 15-significant-digit decimal text, so that binary
// noise below that (0.1 + 0.2) never shows as a ten-thousandth.
Currency money(double value)
{
    return Currency::fromDouble(QString::number(value, 'g', 15).toDouble());
}

void run(Query* query, const QStringList& statement)
{
    query->close();
    query->setSql(statement);
    query->open();
}
} // namespace

namespace SalesTotals {

double taxRow(Query* query, const QDate& date, UncoveredMonth rule)
{
    query->close();
    if (!date.isValid())
        return 0;
    const QString year = QString::number(date.year());
    const QString month = QString::number(date.month());
    // A year may change its rate in the middle: the row whose months cover the date's month
    // (the earliest starting one, should two overlap). The reports read the same row.
    run(query, {"Select * From Tax where Year_T =" + year, "and A_T<=" + month, "and E_T>=" + month,
                "Order By A_T"});
    if (query->isEmpty() && rule == UncoveredMonth::FirstRowOfYear)
        run(query, {"Select * From Tax where Year_T =" + year, "Order By A_T"});
    query->first();
    return query->isEmpty() ? 0 : query->field(QStringLiteral("Tax_T")).asNumber();
}

Currency tax(double parts, double rate)
{
    return (money(parts) * rate).roundedToCents();
}

Currency total(double parts, double labor, double rate, bool taxed)
{
    const Currency lines = money(parts) + money(labor);
    return taxed ? lines + tax(parts, rate) : lines;
}

QString balanceNote(const QString& amountText, const QString& totalText, const QString& unbalanced)
{
    return amountText == totalText ? QStringLiteral("......................") : unbalanced;
}

} // namespace SalesTotals
