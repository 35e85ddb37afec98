#include "data/Field.h"

#include "data/DbError.h"
#include "data/Formats.h"

#include <cmath>

namespace {

double numberOf(const QVariant& v)
{
    if (v.isNull())
        return 0;
    if (v.typeId() == QMetaType::QString) {
        bool ok = false;
        const double d = Formats::parseNumber(v.toString(), &ok);
        if (!ok && !v.toString().trimmed().isEmpty())
            throw DbError(
                QStringLiteral("'%1' is not a valid floating point value.").arg(v.toString()));
        return d;
    }
    return v.toDouble();
}

} // namespace

QString Field::asText() const
{
    if (m_value.isNull())
        return QString();
    switch (m_kind) {
    case ColumnKind::Date:
        return Formats::isoToShort(m_value.toString());
    case ColumnKind::Bool:
        return asBool() ? QStringLiteral("True") : QStringLiteral("False");
    case ColumnKind::Integer:
    case ColumnKind::Money:
    case ColumnKind::Real:
    case ColumnKind::Text:
        if (m_value.typeId() == QMetaType::LongLong || m_value.typeId() == QMetaType::Int)
            return QString::number(m_value.toLongLong());
        if (m_value.typeId() == QMetaType::Double) {
            const double d = m_value.toDouble();
            // Binary floating point cannot hold most cents: a sum of 10.10 and 20.20 comes
            // back as 30.299999999999997. A value that lies within such noise of the money
            // type's four decimals is read as that money value; a value such as 0.00004 that
            // really has more decimals keeps them.
            if (std::isfinite(d) && std::fabs(d) < 9e14) {
                const Currency money = Currency::fromDouble(d);
                if (std::fabs(money.toDouble() - d) <= 1e-9 * std::max(1.0, std::fabs(d)))
                    return money.toPlain();
            }
            return Formats::plainNumber(d);
        }
        return m_value.toString();
    }
    return m_value.toString();
}

Currency Field::asCurrency() const
{
    return Currency::fromDouble(numberOf(m_value));
}

double Field::asNumber() const
{
    return numberOf(m_value);
}

qint64 Field::asInteger() const
{
    return qint64(std::llround(numberOf(m_value)));
}

bool Field::asBool() const
{
    if (m_value.isNull())
        return false;
    if (m_value.typeId() == QMetaType::QString) {
        const QString t = m_value.toString().trimmed();
        return t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
               t.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0 || (t.toDouble() != 0);
    }
    return m_value.toDouble() != 0;
}
