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
