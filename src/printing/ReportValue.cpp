#include "data/DbError.h"
#include "data/Formats.h"
#include "data/Query.h"
#include "printing/ReportExpression.h"
#include "printing/ReportNumbers.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <cstdint>

namespace {

constexpr std::int64_t powerOfTen(int exponent)
{
    std::int64_t value = 1;
    for (int i = 0; i < exponent; ++i)
        value *= 10;
    return value;
}

void groupThousands(QString& digits)
{
    for (qsizetype pos = digits.size() - 3; pos > 0; pos -= 3)
        digits.insert(pos, QLatin1Char(','));
}

// The money's units rounded half away from zero to the given decimals (at most four), written
// out from the integer units so that no binary fraction creeps in.
QString fixedText(Currency money, int decimals, bool grouped)
{
    const std::int64_t step = powerOfTen(4 - decimals);
    const bool negative = money.units() < 0;
    std::int64_t units = negative ? -money.units() : money.units();
    units = (units + step / 2) / step;
    const std::int64_t scale = powerOfTen(decimals);
    QString digits = QString::number(units / scale);
    if (grouped)
        groupThousands(digits);
    QString out = negative && units != 0 ? QStringLiteral("-") : QString();
    out += digits;
    if (decimals > 0)
        out += QLatin1Char('.') +
               QString::number(units % scale).rightJustified(decimals, QLatin1Char('0'));
    return out;
}

// Doubles beyond what the four-decimal units hold are written by the locale instead.
bool fitsCurrency(double value)
{
    return std::isfinite(value) && std::fabs(value) < 9e14;
}

QString timeText(const QTime& time, const QString& pattern)
{
    return QLocale::c().toString(time, pattern);
}

const QString defaultTimePattern = QStringLiteral("h:mm:ss AP");

QDate dateOf(const ReportValue& value)
{
    if (value.type == ReportValue::Type::Date)
        return value.date;
    if (value.type != ReportValue::Type::Text)
        return QDate();
    const QString text = value.text.trimmed();
    const QDate iso = QDate::fromString(text.left(10), Qt::ISODate);
    return iso.isValid() ? iso : Formats::parseShortDate(text);
}

} // namespace

using ReportNumbers::Numeric;
using ReportNumbers::numericOf;

namespace ReportNumbers {

Numeric numericOf(const ReportValue& value)
{
    Numeric n;
    switch (value.type) {
    case ReportValue::Type::Empty:
        break;
    case ReportValue::Type::Number:
        n.number = value.number;
        break;
    case ReportValue::Type::Money:
        n.money = true;
        n.units = value.money;
        break;
    case ReportValue::Type::Text: {
        const QString trimmed = value.text.trimmed();
        if (!trimmed.isEmpty())
            n.number = Formats::parseNumber(trimmed, &n.ok);
        break;
    }
    case ReportValue::Type::Date:
    case ReportValue::Type::Time:
        n.ok = false;
        break;
    }
    return n;
}

} // namespace ReportNumbers

// ---- ReportValue ---------------------------------------------------------------------------

ReportValue ReportValue::fromText(const QString& text)
{
    ReportValue v;
    v.type = Type::Text;
    v.text = text;
    return v;
}

ReportValue ReportValue::fromNumber(double number)
{
    ReportValue v;
    v.type = Type::Number;
    v.number = number;
    return v;
}

ReportValue ReportValue::fromMoney(Currency money)
{
    ReportValue v;
    v.type = Type::Money;
    v.money = money;
    return v;
}

ReportValue ReportValue::fromDate(const QDate& date)
{
    ReportValue v;
    v.type = date.isValid() ? Type::Date : Type::Empty;
    v.date = date;
    return v;
}

ReportValue ReportValue::fromTime(const QTime& time)
{
    ReportValue v;
    v.type = time.isValid() ? Type::Time : Type::Empty;
    v.time = time;
    return v;
}

ReportValue ReportValue::fromField(const Field& field)
{
    if (field.isNull())
        return {};
    const QVariant value = field.value();
    switch (field.kind()) {
    case ColumnKind::Money:
    case ColumnKind::Integer:
    case ColumnKind::Real: {
        const bool money = field.kind() == ColumnKind::Money;
        if (value.typeId() == QMetaType::QString) {
            const QString trimmed = value.toString().trimmed();
            if (trimmed.isEmpty())
                return {};
            bool ok = false;
            const double number = Formats::parseNumber(trimmed, &ok);
            if (!ok)
                return fromText(value.toString());
            return money ? fromMoney(Currency::parse(trimmed)) : fromNumber(number);
        }
        return money ? fromMoney(Currency::fromDouble(value.toDouble()))
                     : fromNumber(value.toDouble());
    }
    case ColumnKind::Date: {
        const QString text = value.toString();
        const QDate iso = QDate::fromString(text.left(10), Qt::ISODate);
        if (iso.isValid())
            return fromDate(iso);
        const QDate typed = Formats::parseShortDate(text);
        return typed.isValid() ? fromDate(typed) : fromText(field.asText());
    }
    case ColumnKind::Bool:
    case ColumnKind::Text:
        break;
    }
    return fromText(field.asText());
}

QString ReportValue::toText() const
{
    switch (type) {
    case Type::Empty:
        return QString();
    case Type::Text:
        return text;
    case Type::Number:
        return Formats::plainNumber(number);
    case Type::Money:
        return fixedText(money, 2, false);
    case Type::Date:
        return Formats::shortDate(date);
    case Type::Time:
        return timeText(time, defaultTimePattern);
    }
    return QString();
}

// ---- DisplayFormat -------------------------------------------------------------------------

std::optional<DisplayFormat> DisplayFormat::parse(const QString& text, QString* error)
{
    DisplayFormat f;
    f.m_text = text.trimmed();
    const QString s = f.m_text;
    static const QRegularExpression numberForm(QStringLiteral("^%(\\d*)(?:\\.(\\d+))?([mfng])$"));
    const auto m = numberForm.match(s);
    if (s.isEmpty()) {
        f.m_kind = Kind::Default;
    } else if (m.hasMatch()) {
        const QChar letter = m.captured(3).at(0);
        if (!m.captured(2).isEmpty())
            f.m_decimals = m.captured(2).toInt();
        if (letter == QLatin1Char('m')) {
            f.m_kind = Kind::Money;
            if (f.m_decimals != 2) {
                if (error)
                    *error = QStringLiteral("The money format '%1' must have two decimals "
                                            "(\"%2.2m\").")
                                 .arg(s);
                return std::nullopt;
            }
        } else if (letter == QLatin1Char('g')) {
            f.m_kind = Kind::Plain;
        } else {
            f.m_kind = letter == QLatin1Char('f') ? Kind::Fixed : Kind::Grouped;
            if (f.m_decimals > 4) {
                if (error)
                    *error = QStringLiteral("The number format '%1' has more than four decimals.")
                                 .arg(s);
                return std::nullopt;
            }
        }
    } else if (s == QLatin1String("#.##")) {
        f.m_kind = Kind::Hash;
    } else if (s == QLatin1String("date")) {
        f.m_kind = Kind::Date;
    } else if (s.startsWith(QLatin1String("date:")) && s.size() > 5) {
        f.m_kind = Kind::Date;
        f.m_pattern = s.mid(5);
    } else if (s == QLatin1String("time")) {
        f.m_kind = Kind::Time;
        f.m_pattern = defaultTimePattern;
    } else if (s.startsWith(QLatin1String("time:")) && s.size() > 5) {
        f.m_kind = Kind::Time;
        f.m_pattern = s.mid(5);
    } else {
        if (error)
            *error = QStringLiteral("Unknown display format '%1' (known: %2.2m, %.2f, %.2n, %g, "
                                    "#.##, date, date:<pattern>, time, time:<pattern>).")
                         .arg(s);
        return std::nullopt;
    }
    return f;
}

QString DisplayFormat::apply(const ReportValue& value) const
{
    if (value.isEmpty())
        return QString();
    switch (m_kind) {
    case Kind::Default:
        break;
    case Kind::Money:
    case Kind::Fixed:
    case Kind::Grouped:
    case Kind::Plain:
    case Kind::Hash: {
        const Numeric n = numericOf(value);
        if (!n.ok)
            break;
        if (!n.money && !fitsCurrency(n.number))
            return QLocale::c().toString(n.number, 'f', m_kind == Kind::Plain ? 0 : m_decimals);
        const Currency money = n.asMoney();
        switch (m_kind) {
        case Kind::Money:
            return money.toMoneyFormat();
        case Kind::Fixed:
            return fixedText(money, m_decimals, false);
        case Kind::Grouped:
            return fixedText(money, m_decimals, true);
        case Kind::Hash:
            return money.toHashFormat();
        default:
            return n.money ? money.toPlain() : Formats::plainNumber(n.number);
        }
    }
    case Kind::Date: {
        const QDate date = dateOf(value);
        if (!date.isValid())
            break;
        return m_pattern.isEmpty() ? Formats::shortDate(date)
                                   : QLocale::c().toString(date, m_pattern);
    }
    case Kind::Time:
        if (value.type == ReportValue::Type::Time)
            return timeText(value.time, m_pattern);
        break;
    }
    return value.toText();
}
