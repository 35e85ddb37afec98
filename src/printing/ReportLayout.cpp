#include "printing/ReportLayout.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QSet>

#include <cmath>
#include <initializer_list>

int ReportPage::bandIndex(const QString& name) const
{
    for (int i = 0; i < bands.size(); ++i)
        if (!name.isEmpty() && bands[i].name == name)
            return i;
    return -1;
}

namespace {

struct LayoutError
{
    QString message;
};

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
                std::optional<double> fallback = std::nullopt)
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

QString stringOf(const QJsonObject& object, const char* key, const QString& where,
                 bool required = false)
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

struct BandType
{
    const char* name;
    ReportBand::Kind kind;
};

const BandType bandTypes[] = {
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

} // namespace

// Reads the JSON into a layout and checks it; every failure throws LayoutError naming the
// place in the layout.
class LayoutReader
{
public:
    ReportLayout read(const QJsonObject& root)
    {
        checkKeys(root, {"title", "dataSets", "parameters", "pages"}, QString());
        m_layout.m_title = stringOf(root, "title", QString());
        const QJsonValue parameters = root.value(QLatin1String("parameters"));
        if (!parameters.isUndefined()) {
            const QJsonObject po = objectOf(parameters, QStringLiteral("parameters"));
            for (auto it = po.begin(); it != po.end(); ++it) {
                checkName(it.key(), QStringLiteral("parameter %1").arg(it.key()));
                if (!it.value().isString())
                    fail(QStringLiteral("parameter %1").arg(it.key()),
                         QStringLiteral("the value must be a text"));
                m_layout.m_parameters.insert(it.key(), it.value().toString());
            }
        }
        for (const QJsonValue& v : arrayOf(root, "dataSets", QString())) {
            if (!v.isString() || v.toString().isEmpty())
                fail(QString(), QStringLiteral("\"dataSets\" must list data set names"));
            m_layout.m_dataSets.append(v.toString());
        }
        const QJsonArray pages = arrayOf(root, "pages", QString());
        if (pages.isEmpty())
            fail(QString(), QStringLiteral("the layout has no pages"));
        for (int i = 0; i < pages.size(); ++i)
            m_layout.m_pages.append(readPage(pages[i], i));
        for (int i = 0; i < m_layout.m_pages.size(); ++i)
            resolvePage(i);
        return m_layout;
    }

private:
    ReportPage readPage(const QJsonValue& value, int index)
    {
        const QString where = QStringLiteral("page %1").arg(index + 1);
        const QJsonObject o = objectOf(value, where);
        checkKeys(o, {"paper", "margins", "copies", "bands"}, where);
        const QSizeF paper = paperOf(o.value(QLatin1String("paper")), where);
        const QMarginsF margins = marginsOf(o.value(QLatin1String("margins")), where);

        ReportPage page;
        const QJsonArray copies = arrayOf(o, "copies", where);
        for (int c = 0; c < copies.size(); ++c) {
            const QString at = where + QStringLiteral(", copy %1").arg(c + 1);
            const QJsonObject co = objectOf(copies[c], at);
            checkKeys(co, {"paper", "margins", "variables"}, at);
            ReportCopy copy;
            copy.paper = co.contains(QLatin1String("paper"))
                             ? paperOf(co.value(QLatin1String("paper")), at)
                             : paper;
            copy.margins = co.contains(QLatin1String("margins"))
                               ? marginsOf(co.value(QLatin1String("margins")), at)
                               : margins;
            const QJsonValue variables = co.value(QLatin1String("variables"));
            if (!variables.isUndefined()) {
                const QJsonObject vo = objectOf(variables, at + QStringLiteral(", variables"));
                for (auto it = vo.begin(); it != vo.end(); ++it)
                    copy.variables.insert(it.key(), readVariable(it.key(), it.value(), at));
            }
            checkPaper(copy, at);
            page.copies.append(copy);
        }
        if (page.copies.isEmpty()) {
            ReportCopy copy;
            copy.paper = paper;
            copy.margins = margins;
            checkPaper(copy, where);
            page.copies.append(copy);
        }

        const QJsonArray bands = arrayOf(o, "bands", where);
        for (int b = 0; b < bands.size(); ++b)
            page.bands.append(readBand(bands[b], where + QStringLiteral(", band %1").arg(b + 1)));
        buildSections(page, where);
        return page;
    }

    static void checkPaper(const ReportCopy& copy, const QString& where)
    {
        const QMarginsF& m = copy.margins;
        if (m.left() + m.right() >= copy.paper.width() ||
            m.top() + m.bottom() >= copy.paper.height())
            fail(where, QStringLiteral("the margins leave no room on the paper"));
    }

    static void checkName(const QString& name, const QString& at)
    {
        static const QSet<QString> reserved = {QStringLiteral("sum"), QStringLiteral("date"),
                                               QStringLiteral("time")};
        bool plain = !name.isEmpty() && (name.at(0).isLetter() || name.at(0) == QLatin1Char('_'));
        for (const QChar c : name)
            plain = plain && (c.isLetterOrNumber() || c == QLatin1Char('_'));
        if (!plain || reserved.contains(name.toLower()))
            fail(at, QStringLiteral("a variable is named with letters, digits and '_', and not "
                                    "SUM, Date or Time"));
    }

    TextTemplate readVariable(const QString& name, const QJsonValue& value, const QString& where)
    {
        const QString at = where + QStringLiteral(", variable %1").arg(name);
        checkName(name, at);
        if (m_layout.m_parameters.contains(name))
            fail(at, QStringLiteral("a copy's variable cannot have the name of a parameter"));
        if (!value.isString())
            fail(at, QStringLiteral("the value must be a text"));
        QString error;
        auto text = TextTemplate::parse(value.toString(), QString(), &error);
        if (!text)
            fail(at, error);
        return *text;
    }

    ReportBand readBand(const QJsonValue& value, const QString& position)
    {
        const QJsonObject o = objectOf(value, position);
        ReportBand band;
        band.name = stringOf(o, "name", position);
        const QString where =
            band.name.isEmpty() ? position : position + QLatin1Char(' ') + band.name;
        checkKeys(o,
                  {"type", "name", "height", "stretch", "dataSet", "column", "reprintOnNewPage",
                   "objects"},
                  where);
        const QString type = stringOf(o, "type", where, true);
        bool known = false;
        for (const BandType& t : bandTypes) {
            if (type == QLatin1String(t.name)) {
                band.kind = t.kind;
                known = true;
            }
        }
        if (!known)
            fail(where, QStringLiteral("\"%1\" is not a band type (reportTitle, pageHeader, "
                                       "groupHeader, masterData, groupFooter, footer, "
                                       "reportSummary, pageFooter)")
                            .arg(type));
        band.height = numberOf(o, "height", where);
        band.stretch = boolOf(o, "stretch", where);
        band.dataSet = stringOf(o, "dataSet", where);
        band.column = stringOf(o, "column", where);
        const bool master = band.kind == ReportBand::Kind::MasterData;
        const bool group = band.kind == ReportBand::Kind::GroupHeader;
        if (master && band.dataSet.isEmpty())
            fail(where, QStringLiteral("a masterData band needs its \"dataSet\""));
        if (!master && !group && !band.dataSet.isEmpty())
            fail(where, QStringLiteral("only masterData and groupHeader bands have a \"dataSet\""));
        if (group && band.column.isEmpty())
            fail(where, QStringLiteral("a groupHeader band needs the \"column\" it groups by"));
        if (!group && !band.column.isEmpty())
            fail(where, QStringLiteral("only groupHeader bands have a \"column\""));
        band.reprintOnNewPage = boolOf(o, "reprintOnNewPage", where);
        if (!group && band.reprintOnNewPage)
            fail(where, QStringLiteral("only groupHeader bands are printed again on a new page"));
        if (!band.dataSet.isEmpty() && !m_layout.m_dataSets.contains(band.dataSet))
            fail(where, QStringLiteral("the data set \"%1\" is not listed in \"dataSets\"")
                            .arg(band.dataSet));
        const QJsonArray objects = arrayOf(o, "objects", where);
        for (int i = 0; i < objects.size(); ++i)
            band.objects.append(
                readObject(objects[i], where + QStringLiteral(", object %1").arg(i + 1)));
        return band;
    }

    ReportObject readObject(const QJsonValue& value, const QString& where)
    {
        const QJsonObject o = objectOf(value, where);
        ReportObject object;
        const QString type = stringOf(o, "type", where, true);
        object.lineWidth = numberOf(o, "lineWidth", where, 0.3);
        object.growWithBand = boolOf(o, "growWithBand", where);
        if (type == QLatin1String("text")) {
            checkKeys(o,
                      {"type", "rect", "text", "bold", "fontSize", "align", "valign", "wordWrap",
                       "frame", "format", "lineWidth", "growWithBand"},
                      where);
            object.kind = ReportObject::Kind::Text;
            object.rect = rectOf(o, where);
            object.bold = boolOf(o, "bold", where);
            object.fontSize = numberOf(o, "fontSize", where, 10);
            if (object.fontSize <= 0 || object.fontSize > 200)
                fail(where, QStringLiteral("\"fontSize\" must lie between 0 and 200 points"));
            object.alignment = alignmentOf(o, where);
            object.wordWrap = boolOf(o, "wordWrap", where);
            object.frame = boolOf(o, "frame", where);
            QString error;
            auto text = TextTemplate::parse(stringOf(o, "text", where),
                                            stringOf(o, "format", where), &error);
            if (!text)
                fail(where, error);
            object.text = *text;
        } else if (type == QLatin1String("frame")) {
            checkKeys(o, {"type", "rect", "lineWidth", "growWithBand"}, where);
            object.kind = ReportObject::Kind::Frame;
            object.rect = rectOf(o, where);
        } else if (type == QLatin1String("line")) {
            checkKeys(o, {"type", "from", "to", "lineWidth", "growWithBand"}, where);
            object.kind = ReportObject::Kind::Line;
            const QList<double> from = numbersOf(o, "from", 2, where);
            const QList<double> to = numbersOf(o, "to", 2, where);
            object.rect = QRectF(QPointF(from[0], from[1]), QPointF(to[0], to[1]));
        } else {
            fail(where,
                 QStringLiteral("\"%1\" is not an object type (text, frame, line)").arg(type));
        }
        return object;
    }

    static QRectF rectOf(const QJsonObject& o, const QString& where)
    {
        const QList<double> r = numbersOf(o, "rect", 4, where);
        if (r[2] < 0 || r[3] < 0)
            fail(where, QStringLiteral("\"rect\" is [x, y, width, height] with no negative size"));
        return QRectF(r[0], r[1], r[2], r[3]);
    }

    static void buildSections(ReportPage& page, const QString& where)
    {
        QList<int> pendingHeaders;
        int open = -1; // the section that group footers and a footer attach to
        int groupFootersSeen = 0;
        QSet<QString> names;
        for (int i = 0; i < page.bands.size(); ++i) {
            const ReportBand& band = page.bands[i];
            const QString at = where + QStringLiteral(", ") + bandLabel(band, i);
            if (!band.name.isEmpty()) {
                if (names.contains(band.name))
                    fail(at,
                         QStringLiteral("two bands of the page are named \"%1\"").arg(band.name));
                names.insert(band.name);
            }
            auto single = [&](int& slot) {
                if (slot >= 0)
                    fail(at, QStringLiteral("a page has one %1 band").arg(bandTypeName(band.kind)));
                slot = i;
            };
            switch (band.kind) {
            case ReportBand::Kind::ReportTitle:
                single(page.reportTitle);
                break;
            case ReportBand::Kind::PageHeader:
                single(page.pageHeader);
                break;
            case ReportBand::Kind::PageFooter:
                single(page.pageFooter);
                break;
            case ReportBand::Kind::ReportSummary:
                single(page.reportSummary);
                break;
            case ReportBand::Kind::GroupHeader:
                open = -1;
                pendingHeaders.append(i);
                break;
            case ReportBand::Kind::MasterData: {
                ReportSection section;
                section.groupHeaders = pendingHeaders;
                section.master = i;
                section.groupFooters = QList<int>(pendingHeaders.size(), -1);
                for (int h : pendingHeaders) {
                    const ReportBand& header = page.bands[h];
                    if (!header.dataSet.isEmpty() && header.dataSet != band.dataSet)
                        fail(where + QStringLiteral(", ") + bandLabel(header, h),
                             QStringLiteral("the group is over \"%1\" but its master-data band "
                                            "reads \"%2\"")
                                 .arg(header.dataSet, band.dataSet));
                }
                pendingHeaders.clear();
                page.sections.append(section);
                open = int(page.sections.size()) - 1;
                groupFootersSeen = 0;
                break;
            }
            case ReportBand::Kind::GroupFooter: {
                if (open < 0 || page.sections[open].footer >= 0)
                    fail(at, QStringLiteral("a group footer follows a master-data band or "
                                            "another group footer"));
                ReportSection& section = page.sections[open];
                if (groupFootersSeen >= section.groupHeaders.size())
                    fail(at, QStringLiteral("this group footer has no group header"));
                section.groupFooters[section.groupHeaders.size() - 1 - groupFootersSeen] = i;
                ++groupFootersSeen;
                break;
            }
            case ReportBand::Kind::Footer:
                if (open < 0 || page.sections[open].footer >= 0)
                    fail(at, QStringLiteral("a footer follows a master-data band or its group "
                                            "footers"));
                page.sections[open].footer = i;
                break;
            }
        }
        if (!pendingHeaders.isEmpty())
            fail(where + QStringLiteral(", ") +
                     bandLabel(page.bands[pendingHeaders.first()], pendingHeaders.first()),
                 QStringLiteral("a group header is followed by a master-data band"));
        // A group header reads the rows of its master's data set.
        for (ReportSection& s : page.sections)
            for (int h : s.groupHeaders)
                page.bands[h].dataSet = page.bands[s.master].dataSet;
    }

    void resolvePage(int pageIndex)
    {
        ReportPage& page = m_layout.m_pages[pageIndex];
        const QString where = QStringLiteral("page %1").arg(pageIndex + 1);
        for (int c = 0; c < page.copies.size(); ++c) {
            for (auto it = page.copies[c].variables.begin(); it != page.copies[c].variables.end();
                 ++it)
                resolveTemplate(
                    *it, pageIndex,
                    where + QStringLiteral(", copy %1, variable %2").arg(c + 1).arg(it.key()),
                    true);
        }
        for (int b = 0; b < page.bands.size(); ++b) {
            ReportBand& band = page.bands[b];
            for (int o = 0; o < band.objects.size(); ++o)
                resolveTemplate(band.objects[o].text, pageIndex,
                                where + QStringLiteral(", ") + bandLabel(band, b) +
                                    QStringLiteral(", object %1").arg(o + 1),
                                false);
        }
    }

    void resolveTemplate(TextTemplate& text, int pageIndex, const QString& where, bool inVariable)
    {
        for (ReportExpression& e : text.expressions())
            resolveExpression(e, pageIndex, where, inVariable, false);
    }

    static void dataSetsUnder(const ReportExpression& e, int node, QSet<QString>& out)
    {
        const ReportExpression::Node& n = e.nodes().at(node);
        if (n.op == ReportExpression::Op::Field)
            out.insert(n.dataSet);
        if (n.left >= 0)
            dataSetsUnder(e, n.left, out);
        if (n.right >= 0)
            dataSetsUnder(e, n.right, out);
    }

    void resolveExpression(ReportExpression& e, int pageIndex, const QString& where,
                           bool inVariable, bool inSum)
    {
        const ReportPage& page = m_layout.m_pages[pageIndex];
        const QString at = where + QStringLiteral(", [") + e.source() + QLatin1Char(']');
        for (int i = 0; i < e.nodes().size(); ++i) {
            const ReportExpression::Node n = e.nodes().at(i);
            switch (n.op) {
            case ReportExpression::Op::Field:
                if (!m_layout.m_dataSets.contains(n.dataSet))
                    fail(at, QStringLiteral("the data set \"%1\" is not listed in \"dataSets\"")
                                 .arg(n.dataSet));
                e.setSlot(i, fieldSlot(n.dataSet, n.column));
                break;
            case ReportExpression::Op::Sum:
                if (inSum)
                    fail(at, QStringLiteral("a SUM cannot sum another SUM"));
                e.setSlot(i, aggregateSlot(e, i, pageIndex, at, inVariable));
                break;
            case ReportExpression::Op::Variable: {
                if (inVariable)
                    fail(at, QStringLiteral("a copy's variable cannot print another variable"));
                bool everyCopy = true;
                for (const ReportCopy& copy : page.copies)
                    everyCopy = everyCopy && copy.variables.contains(n.name);
                if (!everyCopy && !m_layout.m_parameters.contains(n.name))
                    fail(at, QStringLiteral("\"%1\" is not a variable of every copy of the page "
                                            "(nor a parameter of the layout, Page#, TotalPages#, "
                                            "Date or Time)")
                                 .arg(n.name));
                break;
            }
            case ReportExpression::Op::TotalPages:
                m_layout.m_usesTotalPages = true;
                break;
            default:
                break;
            }
        }
    }

    int aggregateSlot(const ReportExpression& e, int node, int pageIndex, const QString& at,
                      bool inVariable)
    {
        const ReportPage& page = m_layout.m_pages[pageIndex];
        const ReportExpression::Node& n = e.nodes().at(node);
        ReportLayout::Aggregate aggregate;
        aggregate.page = pageIndex;
        if (!n.name.isEmpty()) {
            aggregate.band = page.bandIndex(n.name);
            if (aggregate.band < 0)
                fail(at, QStringLiteral("SUM names the band \"%1\", which the page does not have")
                             .arg(n.name));
            const ReportBand& band = page.bands[aggregate.band];
            if (band.kind != ReportBand::Kind::MasterData)
                fail(at, QStringLiteral("SUM sums over a masterData band, and \"%1\" is a %2 band")
                             .arg(n.name, bandTypeName(band.kind)));
            aggregate.dataSet = band.dataSet;
        } else {
            QSet<QString> dataSets;
            dataSetsUnder(e, n.left, dataSets);
            if (dataSets.size() != 1)
                fail(at,
                     QStringLiteral("a SUM without a band name sums the fields of one data "
                                    "set; name the band as in SUM(<ds.\"Column\">,MasterData1)"));
            aggregate.dataSet = *dataSets.begin();
            bool iterated = false;
            for (const ReportSection& s : page.sections)
                iterated = iterated || page.bands[s.master].dataSet == aggregate.dataSet;
            if (!iterated)
                fail(at, QStringLiteral("no masterData band of the page prints \"%1\", so this "
                                        "SUM has no rows")
                             .arg(aggregate.dataSet));
        }
        aggregate.argument = e.subExpression(n.left);
        resolveExpression(aggregate.argument, pageIndex, at, inVariable, true);
        m_layout.m_aggregates.append(aggregate);
        return int(m_layout.m_aggregates.size()) - 1;
    }

    int fieldSlot(const QString& dataSet, const QString& column)
    {
        const QString key = dataSet + QLatin1Char('\x1f') + column;
        const auto it = m_fieldSlots.constFind(key);
        if (it != m_fieldSlots.constEnd())
            return *it;
        m_layout.m_fields.append({dataSet, column});
        const int slot = int(m_layout.m_fields.size()) - 1;
        m_fieldSlots.insert(key, slot);
        return slot;
    }

    ReportLayout m_layout;
    QHash<QString, int> m_fieldSlots;
};

std::optional<ReportLayout> ReportLayout::fromJson(const QByteArray& json, QString* error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        const QByteArray before = json.left(parseError.offset);
        if (error)
            *error = QStringLiteral("The report layout is not valid JSON: %1 on line %2.")
                         .arg(parseError.errorString())
                         .arg(before.count('\n') + 1);
        return std::nullopt;
    }
    if (!document.isObject()) {
        if (error)
            *error = QStringLiteral("The report layout must be a JSON object {...}.");
        return std::nullopt;
    }
    try {
        return LayoutReader().read(document.object());
    } catch (const LayoutError& e) {
        if (error)
            *error = QStringLiteral("Report layout, %1.").arg(e.message);
        return std::nullopt;
    }
}

std::optional<ReportLayout> ReportLayout::fromFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot open the report layout %1: %2")
                         .arg(path, file.errorString());
        return std::nullopt;
    }
    QString reason;
    auto layout = fromJson(file.readAll(), &reason);
    if (!layout && error)
        *error = QStringLiteral("%1: %2").arg(path, reason);
    return layout;
}
