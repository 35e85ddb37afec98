#include "data/SqlLiteral.h"

#include "data/DbError.h"
#include "data/Formats.h"

#include <QRegularExpression>

#include <cmath>

namespace Sql {

QString text(const QString& value)
{
    QString out = value;
    out.remove(QChar(0));
    out.replace(QLatin1Char('\''), QStringLiteral("''"));
    return out;
}

QString number(const QString& value, const QString& box)
{
    bool ok = false;
    const double d = Formats::parseNumber(value, &ok);
    if (!ok || !std::isfinite(d))
        throw DbError(Formats::notANumberMessage(value, box));
    return Formats::plainNumber(d);
}

QString integer(const QString& value, const QString& box)
{
    return QString::number(Formats::wholeNumber(value, box));
}

QString date(const QString& value, const QString& box)
{
    const QDate d = Formats::parseShortDate(value);
    if (!d.isValid())
        throw DbError(Formats::notADateMessage(value, box));
    return Formats::shortDate(d);
}

namespace {
QString likeEscaped(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('%'), QStringLiteral("\\%"));
    escaped.replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return escaped;
}
} // namespace

QString containing(const QString& text)
{
    return QLatin1Char('%') + likeEscaped(text) + QLatin1Char('%');
}

QString startingWith(const QString& text)
{
    return likeEscaped(text) + QLatin1Char('%');
}

QString yesNo(bool value)
{
    return value ? QStringLiteral("Yes") : QStringLiteral("No");
}

} // namespace Sql
