#include "printing/ReportLayout.h"

#include "printing/LayoutJson.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QSet>

#include <cmath>
#include <initializer_list>

using namespace LayoutJson;

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
                   "newPage", "objects"},
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
        band.newPage = boolOf(o, "newPage", where);
        if (!group && band.newPage)
            fail(where, QStringLiteral("only groupHeader bands start a new page"));
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
