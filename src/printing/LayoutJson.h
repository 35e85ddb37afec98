#pragma once

#include "printing/ReportLayout.h"

#include <QJsonValue>
#include <QList>
#include <QMarginsF>
#include <QSizeF>
#include <QString>

#include <initializer_list>
#include <optional>

class QJsonArray;
class QJsonObject;

// Reading the values of a layout's JSON, each checked: a value of the wrong kind, out of range
// or missing throws LayoutError naming where in the layout it stands.
namespace LayoutJson {

struct LayoutError
{
    QString message;
};

[[noreturn]] void fail(const QString& where, const QString& message);
// Refuses a key that is none of keys.
void checkKeys(const QJsonObject& object, std::initializer_list<const char*> keys,
               const QString& where);
QJsonObject objectOf(const QJsonValue& value, const QString& where);
QJsonArray arrayOf(const QJsonObject& object, const char* key, const QString& where);
double numberValue(const QJsonValue& value, const QString& where, const QString& what);
double numberOf(const QJsonObject& object, const char* key, const QString& where,
                std::optional<double> fallback = std::nullopt);
bool boolOf(const QJsonObject& object, const char* key, const QString& where);
QString stringOf(const QJsonObject& object, const char* key, const QString& where,
                 bool required = false);
QSizeF paperOf(const QJsonValue& value, const QString& where);
QMarginsF marginsOf(const QJsonValue& value, const QString& where);
QList<double> numbersOf(const QJsonObject& object, const char* key, int count,
                        const QString& where);
Qt::Alignment alignmentOf(const QJsonObject& object, const QString& where);

// The band kinds by the names a layout gives them.
struct BandType
{
    const char* name;
    ReportBand::Kind kind;
};
constexpr int bandTypeCount = 8;
extern const BandType bandTypes[bandTypeCount];
QString bandTypeName(ReportBand::Kind kind);
// How a band is named in a refusal: its name, or its number and kind.
QString bandLabel(const ReportBand& band, int index);

} // namespace LayoutJson
