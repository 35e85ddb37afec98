#include "printing/LayoutJson.h"

#include <QJsonArray>
#include <QJsonObject>

#include <cmath>

int ReportPage::bandIndex(const QString& name) const
{
    for (int i = 0; i < bands.size(); ++i)
        if (!name.isEmpty() && bands[i].name == name)
            return i;
    return -1;
}

namespace LayoutJson {

[[noreturn]] void fail(const QString& where, const QString& message)
{
    throw LayoutError{where.isEmpty() ? message : where + QStringLiteral(": ") + message};
}

void checkKeys(const QJsonObject& object, std::initializer_list<const char*> keys,
               const QString& where)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        bool known = false;
        for (const char* key : keys)
            known = known || it.key() == QLatin1String(key);
        if (!known)
            fail(where, QStringLiteral("unknown key \"%1\"").arg(it.key()));
    }
}

QJsonObject objectOf(const QJsonValue& value, const QString& where)
{
    if (!value.isObject())
        fail(where, QStringLiteral("an object {...} is expected"));
    return value.toObject();
}

QJsonArray arrayOf(const QJsonObject& object, const char* key, const QString& where)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined())
        return {};
    if (!value.isArray())
        fail(where, QStringLiteral("\"%1\" must be a list [...]").arg(QLatin1String(key)));
    return value.toArray();
}

double numberValue(const QJsonValue& value, const QString& where, const QString& what)
{
    if (!value.isDouble() || !std::isfinite(value.toDouble()))
        fail(where, QStringLiteral("%1 must be a number").arg(what));
    return value.toDouble();
}

double numberOf(const QJsonObject& object, const char* key, const QString& where,
                std::optional<double> fallback)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined()) {
        if (!fallback)
            fail(where, QStringLiteral("\"%1\" is missing").arg(QLatin1String(key)));
        return *fallback;
    }
    const double number =
        numberValue(value, where, QStringLiteral("\"%1\"").arg(QLatin1String(key)));
    if (number < 0)
        fail(where, QStringLiteral("\"%1\" must not be negative").arg(QLatin1String(key)));
    return number;
}

bool boolOf(const QJsonObject& object, const char* key, const QString& where)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined())
        return false;
    if (!value.isBool())
        fail(where, QStringLiteral("\"%1\" must be true or false").arg(QLatin1String(key)));
    return value.toBool();
}

QString stringOf(const QJsonObject& object, const char* key, const QString& where, bool required)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined()) {
        if (required)
            fail(where, QStringLiteral("\"%1\" is missing").arg(QLatin1String(key)));
        return QString();
    }
    if (!value.isString())
        fail(where, QStringLiteral("\"%1\" must be a text").arg(QLatin1String(key)));
    return value.toString();
}

QSizeF paperOf(const QJsonValue& value, const QString& where)
{
    const QJsonObject o = objectOf(value, where + QStringLiteral(", paper"));
    checkKeys(o, {"width", "height"}, where + QStringLiteral(", paper"));
    const QSizeF size(numberOf(o, "width", where + QStringLiteral(", paper")),
                      numberOf(o, "height", where + QStringLiteral(", paper")));
    if (size.width() <= 0 || size.height() <= 0)
        fail(where, QStringLiteral("the paper must have a width and a height"));
    return size;
}

QMarginsF marginsOf(const QJsonValue& value, const QString& where)
{
    if (value.isUndefined())
        return {};
    if (value.isDouble()) {
        const double m = numberValue(value, where, QStringLiteral("\"margins\""));
        if (m < 0)
            fail(where, QStringLiteral("\"margins\" must not be negative"));
        return QMarginsF(m, m, m, m);
    }
    const QString at = where + QStringLiteral(", margins");
    const QJsonObject o = objectOf(value, at);
    checkKeys(o, {"left", "top", "right", "bottom"}, at);
    return QMarginsF(numberOf(o, "left", at, 0), numberOf(o, "top", at, 0),
                     numberOf(o, "right", at, 0), numberOf(o, "bottom", at, 0));
}

QList<double> numbersOf(const QJsonObject& object, const char* key, int count, const QString& where)
{
    const QJsonValue value = object.value(QLatin1String(key));
    const QString what = QStringLiteral("\"%1\"").arg(QLatin1String(key));
    if (value.isUndefined())
        fail(where, QStringLiteral("%1 is missing").arg(what));
    const QJsonArray array = value.toArray();
    if (!value.isArray() || array.size() != count)
        fail(where, QStringLiteral("%1 must be a list of %2 numbers").arg(what).arg(count));
    QList<double> numbers;
    for (const QJsonValue& v : array)
        numbers.append(numberValue(v, where, what));
    return numbers;
}

Qt::Alignment alignmentOf(const QJsonObject& object, const QString& where)
{
    Qt::Alignment alignment;
    const QString horizontal = stringOf(object, "align", where);
    if (horizontal.isEmpty() || horizontal == QLatin1String("left"))
        alignment |= Qt::AlignLeft;
    else if (horizontal == QLatin1String("center"))
        alignment |= Qt::AlignHCenter;
    else if (horizontal == QLatin1String("right"))
        alignment |= Qt::AlignRight;
    else
        fail(where,
             QStringLiteral("\"align\" is left, center or right, not \"%1\"").arg(horizontal));
    const QString vertical = stringOf(object, "valign", where);
    if (vertical.isEmpty() || vertical == QLatin1String("top"))
        alignment |= Qt::AlignTop;
    else if (vertical == QLatin1String("center"))
        alignment |= Qt::AlignVCenter;
    else if (vertical == QLatin1String("bottom"))
        alignment |= Qt::AlignBottom;
    else
        fail(where,
             QStringLiteral("\"valign\" is top, center or bottom, not \"%1\"").arg(vertical));
    return alignment;
}

const BandType bandTypes[bandTypeCount] = {
    {"reportTitle", ReportBand::Kind::ReportTitle},
    {"pageHeader", ReportBand::Kind::PageHeader},
    {"groupHeader", ReportBand::Kind::GroupHeader},
    {"masterData", ReportBand::Kind::MasterData},
    {"groupFooter", ReportBand::Kind::GroupFooter},
    {"footer", ReportBand::Kind::Footer},
    {"reportSummary", ReportBand::Kind::ReportSummary},
    {"pageFooter", ReportBand::Kind::PageFooter},
};

QString bandTypeName(ReportBand::Kind kind)
{
    for (const BandType& t : bandTypes)
        if (t.kind == kind)
            return QLatin1String(t.name);
    return QString();
}

QString bandLabel(const ReportBand& band, int index)
{
    return band.name.isEmpty()
               ? QStringLiteral("band %1 (%2)").arg(index + 1).arg(bandTypeName(band.kind))
               : QStringLiteral("band %1").arg(band.name);
}

} // namespace LayoutJson
