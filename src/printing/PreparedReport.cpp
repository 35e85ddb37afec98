#include "printing/PreparedReport.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <span>

namespace {

constexpr double mmPerInch = 25.4;
constexpr double pointsPerInch = 72.0;
// Fine enough for hairlines and small type; text stays vector text at any resolution.
constexpr int pdfResolution = 1200;

const QString formatName = QStringLiteral("tavlin-prepared-report");
constexpr int formatVersion = 1;

QString nativeName(const QString& fileName)
{
    return QDir::toNativeSeparators(fileName);
}

bool validPage(const PreparedReport& report, int page)
{
    return page >= 0 && page < report.pageCount();
}

// Where a paper of paperMm lands inside area: as large as fits, centred, proportions kept.
QRectF fitted(const QSizeF& paperMm, const QRectF& area)
{
    if (paperMm.isEmpty())
        return area;
    const double scale = std::min(area.width() / paperMm.width(), area.height() / paperMm.height());
    const QSizeF size = paperMm * scale;
    return QRectF(area.left() + (area.width() - size.width()) / 2,
                  area.top() + (area.height() - size.height()) / 2, size.width(), size.height());
}

// A pen of widthMm on a page drawn at scale device units per millimetre. Hairlines stay one
// device dot wide instead of vanishing at small zoom.
QPen itemPen(const PageItem& item, double scale)
{
    const double width = item.lineWidth * scale;
    QPen pen(item.color, width < 1.0 ? 0.0 : width);
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
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

// Text ------------------------------------------------------------------------------------

QList<int> PreparedReport::readingOrder(int page) const
{
    QList<int> order;
    if (!validPage(*this, page))
        return order;
    const QList<PageItem>& items = pages.at(page).items;
    for (int i = 0; i < int(items.size()); ++i)
        if (items.at(i).kind == PageItem::Kind::Text && !items.at(i).text.trimmed().isEmpty())
            order.append(i);
    // Items of one row may differ in their top by rounding in the layout arithmetic; a
    // hundredth of a millimetre counts as the same row.
    const auto row = [&](int i) { return std::llround(items.at(i).rect.top() * 100); };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (row(a) != row(b))
            return row(a) < row(b);
        return items.at(a).rect.left() < items.at(b).rect.left();
    });
    return order;
}

QString PreparedReport::pageText(int page) const
{
    QStringList lines;
    for (int i : readingOrder(page))
        lines.append(pages.at(page).items.at(i).text);
    return lines.join(QLatin1Char('\n'));
}

QString PreparedReport::text() const
{
    QStringList texts;
    for (int page = 0; page < pageCount(); ++page)
        texts.append(pageText(page));
    return texts.join(QLatin1Char('\f'));
}

// Drawing ---------------------------------------------------------------------------------

QFont PreparedReport::itemFont(const PageItem& item)
{
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Helvetica"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    // Without ligatures a PDF gives back "fi" as two letters, so that its text can be searched
    // and copied.
    font.setStyleStrategy(QFont::PreferNoShaping);
    font.setPointSizeF(item.fontSize);
    font.setBold(item.bold);
    return font;
}

void PreparedReport::render(QPainter& painter, int page, const QRectF& target) const
{
    if (!validPage(*this, page) || target.isEmpty())
        return;
    const PreparedPage& paper = pages.at(page);
    if (paper.paper.isEmpty())
        return;
    const double sx = target.width() / paper.paper.width();
    const double sy = target.height() / paper.paper.height();
    const auto map = [&](const QPointF& mm) {
        return QPointF(target.left() + mm.x() * sx, target.top() + mm.y() * sy);
    };
    // A point size is turned into device units through the device's resolution; scaling it
    // by the page's device units per millimetre gives type of its real size on paper.
    const int dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    const double pointScale = sy * mmPerInch / std::max(dpi, 1);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(target, Qt::white);
    painter.setClipRect(target, Qt::IntersectClip);
    painter.setBrush(Qt::NoBrush);

    for (const PageItem& item : paper.items) {
        switch (item.kind) {
        case PageItem::Kind::Text: {
            if (item.text.isEmpty())
                break;
            const double pointSize = item.fontSize * pointScale;
            // Type too small to be more than a speck is left out rather than warned about.
            if (pointSize < 0.05)
                break;
            QFont font = itemFont(item);
            font.setPointSizeF(pointSize);
            painter.setFont(font);
            painter.setPen(item.color);
            int flags = int(item.alignment);
            if (item.wordWrap)
                flags |= Qt::TextWordWrap;
            painter.drawText(QRectF(map(item.rect.topLeft()), map(item.rect.bottomRight())), flags,
                             item.text);
            break;
        }
        case PageItem::Kind::Frame:
            painter.setPen(itemPen(item, std::min(sx, sy)));
            painter.drawRect(QRectF(map(item.rect.topLeft()), map(item.rect.bottomRight())));
            break;
        case PageItem::Kind::Line:
            painter.setPen(itemPen(item, std::min(sx, sy)));
            painter.drawLine(map(item.rect.topLeft()), map(item.rect.bottomRight()));
            break;
        }
    }
    painter.restore();
}

QPageLayout PreparedReport::pageLayout(int page) const
{
    QSizeF size = validPage(*this, page) ? pages.at(page).paper : QSizeF(215.9, 279.4);
    const bool landscape = size.width() > size.height();
    if (landscape)
        size.transpose();
    // A size within a few points of a standard paper takes its name, so that printers pick
    // the right tray.
    QPageLayout layout(QPageSize(size, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(),
                       QPageLayout::Millimeter);
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

// Printer and PDF -------------------------------------------------------------------------

void PreparedReport::print(QPrinter& printer, int first, int last) const
{
    if (pages.isEmpty())
        return;
    first = first < 0 ? 0 : std::min(first, pageCount() - 1);
    last = last < 0 ? pageCount() - 1 : std::min(last, pageCount() - 1);
    QList<int> list;
    for (int page = first; page <= last; ++page)
        list.append(page);
    print(printer, list, Paper::Own);
}

QString PreparedReport::print(QPrinter& printer, const QList<int>& pageList, Paper paper) const
{
    QList<int> wanted;
    for (int page : pageList)
        if (validPage(*this, page))
            wanted.append(page);
    if (wanted.isEmpty())
        return QStringLiteral("There is no page to print.");

    // Most printers make the copies themselves; for the others every copy is sent.
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    QList<int> sequence;
    if (printer.collateCopies()) {
        for (int copy = 0; copy < copies; ++copy)
            sequence += wanted;
    } else {
        for (int page : wanted)
            for (int copy = 0; copy < copies; ++copy)
                sequence.append(page);
    }

    // On the printer's paper the pages keep inside the margins chosen in the page setup.
    QPageLayout chosen = printer.pageLayout();
    chosen.setMode(QPageLayout::StandardMode);
    const QMarginsF chosenMargins = chosen.margins(QPageLayout::Millimeter);

    printer.setFullPage(true);
    QPainter painter;
    for (int n = 0; n < int(sequence.size()); ++n) {
        const int page = sequence.at(n);
        if (paper == Paper::Own) {
            // Printers that cannot change the paper within a job keep theirs; the page is
            // then fitted onto it.
            printer.setPageLayout(pageLayout(page));
            printer.setFullPage(true);
        }
        if (n == 0) {
            if (!painter.begin(&printer))
                return QStringLiteral("The printer %1 could not be started.")
                    .arg(printer.printerName().isEmpty() ? printer.outputFileName()
                                                         : printer.printerName());
        } else if (!printer.newPage()) {
            painter.end();
            return QStringLiteral("The printer stopped after %1 of %2 pages.")
                .arg(n)
                .arg(sequence.size());
        }
        const int resolution = printer.resolution();
        const QPageLayout current = printer.pageLayout();
        QRectF area = current.fullRectPixels(resolution);
        if (paper == Paper::Printer) {
            const double dotsPerMm = resolution / mmPerInch;
            area = area.adjusted(chosenMargins.left() * dotsPerMm, chosenMargins.top() * dotsPerMm,
                                 -chosenMargins.right() * dotsPerMm,
                                 -chosenMargins.bottom() * dotsPerMm);
        }
        render(painter, page, fitted(pages.at(page).paper, area));
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return QStringLiteral("The printer reported an error.");
    return QString();
}

QString PreparedReport::exportPdf(const QString& fileName) const
{
    if (pages.isEmpty())
        return QStringLiteral("The report has no pages to export.");
    // Written beside the target and put in its place at the end, so that a failed export
    // leaves an earlier file of that name as it was.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Cannot write %1: %2").arg(nativeName(fileName), file.errorString());
    {
        QPdfWriter writer(&file);
        writer.setResolution(pdfResolution);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Tavlin"));
        writer.setPageLayout(pageLayout(0));
        QPainter painter;
        if (!painter.begin(&writer))
            return QStringLiteral("Cannot write %1.").arg(nativeName(fileName));
        const double dotsPerMm = pdfResolution / mmPerInch;
        for (int page = 0; page < pageCount(); ++page) {
            if (page > 0) {
                writer.setPageLayout(pageLayout(page));
                writer.newPage();
            }
            render(painter, page, QRectF(QPointF(0, 0), pages.at(page).paper * dotsPerMm));
        }
        painter.end();
    }
    if (!file.commit())
        return QStringLiteral("Cannot write %1: %2").arg(nativeName(fileName), file.errorString());
    return QString();
}

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
