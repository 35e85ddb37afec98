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
    // The typed digits are rounded as written, half away from zero at the fourth decimal; going
    // through binary floating point would turn 12.34565 into 12.3456.
    QString digits = trimmed;
    digits.remove(QLatin1Char(','));
    const bool negative = digits.startsWith(QLatin1Char('-'));
    if (negative || digits.startsWith(QLatin1Char('+')))
        digits.remove(0, 1);
    const qsizetype point = digits.indexOf(QLatin1Char('.'));
    const QString whole = point < 0 ? digits : digits.left(point);
    const QString fraction = point < 0 ? QString() : digits.mid(point + 1);
    if (whole.size() > 14)
        return fromDouble(value);
    std::int64_t units = whole.toLongLong() * Scale +
                         fraction.left(4).leftJustified(4, QLatin1Char('0')).toLongLong();
    if (fraction.size() > 4 && fraction.at(4) >= QLatin1Char('5'))
        ++units;
    return fromUnits(negative ? -units : units);
}

Currency Currency::operator*(double factor) const
{
    // The units are exact; scaling them directly keeps a product that lands on half a unit
    // (12.3333 x 1.5) at the half, so that it rounds away from zero.
    return fromUnits(std::int64_t(std::llround(double(m_units) * factor)));
}

Currency Currency::roundedToCents() const
{
    const std::int64_t step = Scale / 100;
    const std::int64_t half = step / 2;
    const std::int64_t units =
        m_units >= 0 ? (m_units + half) / step * step : -((-m_units + half) / step * step);
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

QString Currency::toFixed2() const
{
    const Currency cents = roundedToCents();
    const std::int64_t abs = cents.m_units < 0 ? -cents.m_units : cents.m_units;
    return (cents.m_units < 0 ? QStringLiteral("-") : QString()) + QString::number(abs / Scale) +
           QLatin1Char('.') +
           QString::number((abs % Scale) / (Scale / 100)).rightJustified(2, QLatin1Char('0'));
}

QString Currency::toPlain() const
{
    return Formats::plainNumber(toDouble());
}
