#include "data/Currency.h"

#include "data/DbError.h"
#include "data/Formats.h"

#include <cmath>

Currency Currency::fromDouble(double value)
{
    return fromUnits(std::int64_t(std::llround(value * Scale)));
}

Currency Currency::fromVariant(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return {};
    if (value.typeId() == QMetaType::QString)
        return parse(value.toString(), true);
    return fromDouble(value.toDouble());
}

Currency Currency::parse(const QString& text, bool emptyIsZero)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() && emptyIsZero)
        return {};
    bool ok = false;
    const double value = Formats::parseNumber(trimmed, &ok);
    if (!ok)
        throw DbError(Formats::notANumberMessage(text));
    return fromDouble(value);
}

Currency Currency::operator*(double factor) const
{
    return fromDouble(toDouble() * factor);
}

Currency Currency::roundedToCents() const
{
    const std::int64_t step = Scale / 100;
    const std::int64_t half = step / 2;
    const std::int64_t units = m_units >= 0 ? (m_units + half) / step * step
                                            : -((-m_units + half) / step * step);
    return fromUnits(units);
}

QString Currency::toHashFormat() const
{
    const Currency cents = roundedToCents();
    if (cents.isZero())
        return QString();
    std::int64_t abs = cents.m_units < 0 ? -cents.m_units : cents.m_units;
    const std::int64_t whole = abs / Scale;
    std::int64_t frac = (abs % Scale) / (Scale / 100);
    QString out = cents.m_units < 0 ? QStringLiteral("-") : QString();
    if (whole != 0)
        out += QString::number(whole);
    if (frac != 0) {
        QString digits = QString::number(frac).rightJustified(2, QLatin1Char('0'));
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        out += QLatin1Char('.') + digits;
    }
    return out;
}

QString Currency::toMoneyFormat() const
{
    const Currency cents = roundedToCents();
    std::int64_t abs = cents.m_units < 0 ? -cents.m_units : cents.m_units;
    const std::int64_t whole = abs / Scale;
    const std::int64_t frac = (abs % Scale) / (Scale / 100);
    QString digits = QString::number(whole);
    for (int pos = digits.size() - 3; pos > 0; pos -= 3)
        digits.insert(pos, QLatin1Char(','));
    return (cents.m_units < 0 ? QStringLiteral("-$") : QStringLiteral("$")) + digits +
           QLatin1Char('.') + QString::number(frac).rightJustified(2, QLatin1Char('0'));
}

QString Currency::toPlain() const
{
    return Formats::plainNumber(toDouble());
}
