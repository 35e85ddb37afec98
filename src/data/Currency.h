#pragma once

#include <QString>
#include <QVariant>

#include <cstdint>

// Money as a 64-bit fixed-point value with four decimals, so that sums of prices and
// quantities do not drift the way binary floating point does.
class Currency
{
public:
    static constexpr std::int64_t Scale = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromUnits(std::int64_t units)
    {
        Currency c;
        c.m_units = units;
        return c;
    }
    static Currency fromDouble(double value);
    static Currency fromVariant(const QVariant& value);
    // Parses text typed by the user ("12.5", "1,234.50", " 3 "); throws DbError naming the
    // text when it is not a number. An empty text is zero only when emptyIsZero is set.
    static Currency parse(const QString& text, bool emptyIsZero = false);

    std::int64_t units() const { return m_units; }
    double toDouble() const { return double(m_units) / Scale; }
    bool isZero() const { return m_units == 0; }

    Currency operator+(Currency o) const { return fromUnits(m_units + o.m_units); }
    Currency operator-(Currency o) const { return fromUnits(m_units - o.m_units); }
    Currency operator-() const { return fromUnits(-m_units); }
    Currency& operator+=(Currency o)
    {
        m_units += o.m_units;
        return *this;
    }
    Currency& operator-=(Currency o)
    {
        m_units -= o.m_units;
        return *this;
    }
    // Multiplying by a quantity or a rate rounds to the nearest ten-thousandth.
    Currency operator*(double factor) const;
    auto operator<=>(const Currency&) const = default;

    Currency roundedToCents() const;

    // "#.##": at most two decimals, no trailing zeros, no leading zero under one, empty for 0.
    QString toHashFormat() const;
    // "%2.2m": currency sign, thousands separators and two decimals ("$1,234.50").
    QString toMoneyFormat() const;
    // Two decimals, rounded to the cent as every figure is ("2.68", "-0.50", "1234.00").
    QString toFixed2() const;
    // The shortest plain number form ("12.5", "3", "-0.25").
    QString toPlain() const;

private:
    std::int64_t m_units = 0;
};
