#include "data/Formats.h"

#include "data/DbError.h"

#include <QLocale>
#include <QRegularExpression>

namespace Formats {

QString shortDate(const QDate& date)
{
    if (!date.isValid())
        return QString();
    return QStringLiteral("%1/%2/%3").arg(date.month()).arg(date.day()).arg(date.year());
}

QDate parseShortDate(const QString& text)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*(\\d{1,2})/(\\d{1,2})/(\\d{2}|\\d{4})\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return QDate();
    int year = m.captured(3).toInt();
    if (m.captured(3).size() == 2)
        year += year < 50 ? 2000 : 1900;
    return QDate(year, m.captured(1).toInt(), m.captured(2).toInt());
}

QString isoDate(const QDate& date)
{
    return date.toString(Qt::ISODate);
}

QString isoToShort(const QString& iso)
{
    if (iso.size() >= 10 && iso.at(4) == QLatin1Char('-') && iso.at(7) == QLatin1Char('-')) {
        const QDate d = QDate::fromString(iso.left(10), Qt::ISODate);
        if (d.isValid())
            return shortDate(d);
    }
    return iso;
}

QString plainNumber(double value)
{
    if (value == 0)
        return QStringLiteral("0");
    // Fixed notation: a million is "1000000", never "1e+06".
    return QLocale::c().toString(value, 'f', QLocale::FloatingPointShortest);
}

double parseNumber(const QString& text, bool* ok)
{
    static const QRegularExpression re(
        QStringLiteral("^[+-]?(\\d{1,3}(,\\d{3})+|\\d+)?(\\.\\d*)?$"));
    const QString t = text.trimmed();
    const auto m = re.match(t);
    if (t.isEmpty() || !m.hasMatch() || (m.captured(1).isEmpty() && m.captured(3).size() < 2)) {
        *ok = false;
        return 0;
    }
    QString plain = t;
    plain.remove(QLatin1Char(','));
    return QLocale::c().toDouble(plain, ok);
}

namespace {
// "Rate $" and "Remark " name their boxes as "Rate $" and "Remark"; a caption ending in a
// colon loses it.
QString boxPrefix(const QString& box)
{
    QString name = box.trimmed();
    while (name.endsWith(QLatin1Char(':')))
        name = name.chopped(1).trimmed();
    return name.isEmpty() ? QString() : name + QStringLiteral(": ");
}
} // namespace

QString notANumberMessage(const QString& text, const QString& box)
{
    return boxPrefix(box) + QStringLiteral("'%1' is not a valid number.").arg(text);
}

QString notADateMessage(const QString& text, const QString& box)
{
    return boxPrefix(box) + QStringLiteral("'%1' is not a valid date (month/day/year).").arg(text);
}

} // namespace Formats

qint64 Formats::wholeNumber(const QString& text, const QString& box)
{
    static const QRegularExpression re(QStringLiteral("^\\s*[+-]?\\d{1,18}\\s*$"));
    if (!re.match(text).hasMatch())
        throw DbError(notANumberMessage(text, box));
    return text.trimmed().toLongLong();
}
