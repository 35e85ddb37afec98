// The program's own file of a prepared report: every page and item as JSON, saved whole or
// not at all, and read back with every value checked.
#include "printing/PreparedReport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <span>

namespace {

const QString formatName = QStringLiteral("tavlin-prepared-report");
constexpr int formatVersion = 1;

QString nativeName(const QString& fileName)
{
    return QDir::toNativeSeparators(fileName);
}

// File format ------------------------------------------------------------------------------

struct AlignName
{
    Qt::Alignment flag;
    const char* name;
};

const AlignName horizontalNames[] = {{Qt::AlignLeft, "left"},
                                     {Qt::AlignRight, "right"},
                                     {Qt::AlignHCenter, "center"},
                                     {Qt::AlignJustify, "justify"}};
const AlignName verticalNames[] = {
    {Qt::AlignTop, "top"}, {Qt::AlignBottom, "bottom"}, {Qt::AlignVCenter, "center"}};

// The name of the alignment's flag among names, or an empty text when it has none of them.
QString nameOf(Qt::Alignment alignment, std::span<const AlignName> names, Qt::Alignment mask)
{
    for (const AlignName& n : names)
        if ((alignment & mask) == n.flag)
            return QString::fromLatin1(n.name);
    return QString();
}

const char* kindName(PageItem::Kind kind)
{
    switch (kind) {
    case PageItem::Kind::Text:
        return "text";
    case PageItem::Kind::Frame:
        return "frame";
    case PageItem::Kind::Line:
        return "line";
    }
    return "text";
}

QJsonObject itemToJson(const PageItem& item)
{
    QJsonObject o;
    o.insert(QStringLiteral("kind"), QString::fromLatin1(kindName(item.kind)));
    o.insert(QStringLiteral("x"), item.rect.x());
    o.insert(QStringLiteral("y"), item.rect.y());
    o.insert(QStringLiteral("width"), item.rect.width());
    o.insert(QStringLiteral("height"), item.rect.height());
    o.insert(QStringLiteral("color"), item.color.name(QColor::HexArgb));
    if (item.kind == PageItem::Kind::Text) {
        o.insert(QStringLiteral("text"), item.text);
        o.insert(QStringLiteral("bold"), item.bold);
        o.insert(QStringLiteral("fontSize"), item.fontSize);
        // An alignment left open is drawn at the left or the top and kept open in the file.
        const QString horizontal =
            nameOf(item.alignment, horizontalNames, Qt::AlignHorizontal_Mask);
        if (!horizontal.isEmpty())
            o.insert(QStringLiteral("align"), horizontal);
        const QString vertical = nameOf(item.alignment, verticalNames, Qt::AlignVertical_Mask);
        if (!vertical.isEmpty())
            o.insert(QStringLiteral("valign"), vertical);
        o.insert(QStringLiteral("wordWrap"), item.wordWrap);
    } else {
        o.insert(QStringLiteral("lineWidth"), item.lineWidth);
    }
    return o;
}

// Reads one saved report, remembering the first thing wrong with it.
class Reader
{
public:
    QString problem;

    bool failed() const { return !problem.isEmpty(); }

    void fail(const QString& where, const QString& what)
    {
        if (problem.isEmpty())
            problem = where.isEmpty() ? what : where + QStringLiteral(": ") + what;
    }

    double number(const QJsonObject& o, const char* key, const QString& where,
                  std::optional<double> fallback = std::nullopt)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined() && fallback)
            return *fallback;
        if (!v.isDouble() || !std::isfinite(v.toDouble())) {
            fail(where, QStringLiteral("\"%1\" is not a number").arg(QLatin1String(key)));
            return 0;
        }
        return v.toDouble();
    }

    bool flag(const QJsonObject& o, const char* key, const QString& where)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return false;
        if (!v.isBool())
            fail(where, QStringLiteral("\"%1\" is not true or false").arg(QLatin1String(key)));
        return v.toBool();
    }

    QString text(const QJsonObject& o, const char* key, const QString& where,
                 std::optional<QString> fallback = std::nullopt)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined() && fallback)
            return *fallback;
        if (!v.isString())
            fail(where, QStringLiteral("\"%1\" is not a text").arg(QLatin1String(key)));
        return v.toString();
    }

    Qt::Alignment alignment(const QJsonObject& o, const char* key, std::span<const AlignName> names,
                            const QString& where)
    {
        if (!o.contains(QLatin1String(key)))
            return {};
        const QString name = text(o, key, where);
        for (const AlignName& n : names)
            if (name == QLatin1String(n.name))
                return n.flag;
        fail(where, QStringLiteral("unknown alignment \"%1\"").arg(name));
        return {};
    }

    PageItem item(const QJsonValue& value, const QString& where)
    {
        PageItem item;
        if (!value.isObject()) {
            fail(where, QStringLiteral("not an object"));
            return item;
        }
        const QJsonObject o = value.toObject();
        const QString kind = text(o, "kind", where);
        if (kind == QLatin1String("text"))
            item.kind = PageItem::Kind::Text;
        else if (kind == QLatin1String("frame"))
            item.kind = PageItem::Kind::Frame;
        else if (kind == QLatin1String("line"))
            item.kind = PageItem::Kind::Line;
        else
            fail(where, QStringLiteral("unknown kind \"%1\"").arg(kind));
        item.rect = QRectF(number(o, "x", where), number(o, "y", where), number(o, "width", where),
                           number(o, "height", where));
        const QString color = text(o, "color", where, QStringLiteral("#ff000000"));
        item.color = QColor::fromString(color);
        if (!item.color.isValid())
            fail(where, QStringLiteral("unknown colour \"%1\"").arg(color));
        if (item.kind == PageItem::Kind::Text) {
            item.text = text(o, "text", where);
            item.bold = flag(o, "bold", where);
            item.fontSize = number(o, "fontSize", where, item.fontSize);
            if (item.fontSize <= 0 || item.fontSize > 1000)
                fail(where, QStringLiteral("font size %1 is out of range").arg(item.fontSize));
            item.alignment = alignment(o, "align", horizontalNames, where) |
                             alignment(o, "valign", verticalNames, where);
            item.wordWrap = flag(o, "wordWrap", where);
        } else {
            item.lineWidth = number(o, "lineWidth", where, item.lineWidth);
            if (item.lineWidth < 0 || item.lineWidth > 100)
                fail(where, QStringLiteral("line width %1 is out of range").arg(item.lineWidth));
        }
        return item;
    }

    PreparedPage page(const QJsonValue& value, const QString& where)
    {
        PreparedPage page;
        if (!value.isObject()) {
            fail(where, QStringLiteral("not an object"));
            return page;
        }
        const QJsonObject o = value.toObject();
        page.paper = QSizeF(number(o, "width", where), number(o, "height", where));
        if (failed())
            return page;
        // No printer takes paper of ten metres.
        if (page.paper.width() <= 0 || page.paper.height() <= 0 || page.paper.width() > 10000 ||
            page.paper.height() > 10000) {
            fail(where, QStringLiteral("paper size %1 x %2 mm is out of range")
                            .arg(page.paper.width())
                            .arg(page.paper.height()));
            return page;
        }
        const QJsonValue items = o.value(QStringLiteral("items"));
        if (!items.isArray()) {
            fail(where, QStringLiteral("its items are missing"));
            return page;
        }
        const QJsonArray list = items.toArray();
        page.items.reserve(list.size());
        for (qsizetype i = 0; i < list.size() && !failed(); ++i)
            page.items.append(item(list.at(i), where + QStringLiteral(", item %1").arg(i + 1)));
        return page;
    }
};

} // namespace

// The program's file ----------------------------------------------------------------------

QString PreparedReport::save(const QString& fileName) const
{
    QJsonArray pageArray;
    for (const PreparedPage& page : pages) {
        QJsonArray items;
        for (const PageItem& item : page.items)
            items.append(itemToJson(item));
        QJsonObject o;
        o.insert(QStringLiteral("width"), page.paper.width());
        o.insert(QStringLiteral("height"), page.paper.height());
        o.insert(QStringLiteral("items"), items);
        pageArray.append(o);
    }
    QJsonObject root;
    root.insert(QStringLiteral("format"), formatName);
    root.insert(QStringLiteral("version"), formatVersion);
    root.insert(QStringLiteral("title"), title);
    root.insert(QStringLiteral("pages"), pageArray);

    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Cannot write %1: %2").arg(nativeName(fileName), file.errorString());
    file.write(QJsonDocument(root).toJson(QJsonDocument::Indented));
    if (!file.commit())
        return QStringLiteral("Cannot write %1: %2").arg(nativeName(fileName), file.errorString());
    return QString();
}

std::optional<PreparedReport> PreparedReport::load(const QString& fileName, QString* error)
{
    const auto refuse = [&](const QString& reason) -> std::optional<PreparedReport> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    const QString name = nativeName(fileName);
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(QStringLiteral("Cannot open %1: %2").arg(name, file.errorString()));
    const QByteArray bytes = file.readAll();
    const QString foreign = QStringLiteral("%1 is not a Tavlin prepared report.").arg(name);
    const QString damaged = QStringLiteral("The prepared report %1 is damaged (%2).");

    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (document.isNull()) {
        // A file that names our format but does not parse is one of ours, cut short or
        // overwritten in part.
        if (bytes.contains(formatName.toLatin1()))
            return refuse(damaged.arg(name, QStringLiteral("%1 at byte %2")
                                                .arg(parseError.errorString())
                                                .arg(parseError.offset)));
        return refuse(foreign);
    }
    const QJsonObject root = document.object();
    if (!document.isObject() || root.value(QStringLiteral("format")).toString() != formatName)
        return refuse(foreign);
    const QJsonValue version = root.value(QStringLiteral("version"));
    if (!version.isDouble() || version.toDouble() < 1 ||
        version.toDouble() != std::floor(version.toDouble()))
        return refuse(damaged.arg(name, QStringLiteral("it has no valid version number")));
    if (version.toInt() > formatVersion)
        return refuse(QStringLiteral("%1 was saved by a newer version of Tavlin (file version "
                                     "%2; this version reads version %3).")
                          .arg(name)
                          .arg(version.toInt())
                          .arg(formatVersion));

    Reader reader;
    PreparedReport report;
    report.title = reader.text(root, "title", QString(), QString());
    const QJsonValue pageList = root.value(QStringLiteral("pages"));
    if (!pageList.isArray())
        reader.fail(QString(), QStringLiteral("its pages are missing"));
    const QJsonArray array = pageList.toArray();
    for (qsizetype i = 0; i < array.size() && !reader.failed(); ++i)
        report.pages.append(reader.page(array.at(i), QStringLiteral("page %1").arg(i + 1)));
    if (reader.failed())
        return refuse(damaged.arg(name, reader.problem));
    if (error)
        error->clear();
    return report;
}
