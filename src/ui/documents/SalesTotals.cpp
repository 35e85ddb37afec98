#include "ui/documents/SalesTotals.h"

#include "data/Query.h"
#include "stores/SalesStore.h"

namespace {
// A double turned into money through its 15-significant-digit decimal text, so that binary
// noise below that (0.1 + 0.2) never shows as a ten-thousandth.
Currency money(double value)
{
    return Currency::fromDouble(QString::number(value, 'g', 15).toDouble());
}
} // namespace

namespace SalesTotals {

double taxRow(Query* query, const QDate& date, UncoveredMonth rule)
{
    query->close();
    if (!date.isValid())
        return 0;
    const SalesStore store(query->connection());
    store.taxCovering(*query, date.year(), date.month());
    if (query->isEmpty() && rule == UncoveredMonth::FirstRowOfYear)
        store.taxOfYear(*query, date.year());
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
