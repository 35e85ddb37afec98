#pragma once

#include "data/Csv.h"

#include <QColor>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <Qt>

#include <optional>

class QFont;
class QPageLayout;
class QPainter;
class QPrinter;

// One positioned, resolved object of a prepared page. Geometry is in millimetres from the
// top-left corner of the paper.
struct PageItem
{
    enum class Kind
    {
        Text,
        Frame,
        Line
    };

    Kind kind = Kind::Text;
    QRectF rect;  // text box or frame; for a line, from topLeft to bottomRight
    QString text; // resolved text (several lines separated by '\n')
    bool bold = false;
    double fontSize = 10; // points
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    bool wordWrap = false;
    double lineWidth = 0.3; // mm, for frames and lines
    QColor color = Qt::black;
};

struct PreparedPage
{
    QSizeF paper; // mm, portrait width x height
    QList<PageItem> items;
};

// The result of preparing a layout: pages of positioned items, ready for the screen, the
// printer and PDF. It holds no reference to the database.
class PreparedReport
{
public:
    QString title; // the preview's caption and the default file name
    QList<PreparedPage> pages;
    // The rows the printout printed, as a spreadsheet takes them: one table per master-data
    // band, a record per row printed, each headed by the column titles printed above it (see
    // ReportRun's captureRow). Not kept in the program's own file of a prepared report.
    QList<Csv::Table> rows;

    int pageCount() const { return int(pages.size()); }
    // The texts of one page in reading order (top to bottom, left to right), one item per line.
    QString pageText(int page) const;
    // Indexes into the page's items of its non-empty texts, in the order pageText lists them.
    QList<int> readingOrder(int page) const;
    // All pages' texts, pages separated by a form feed.
    QString text() const;

    // Draws one page so that the paper fills target (device units of the painter).
    void render(QPainter& painter, int page, const QRectF& target) const;
    // Prints pages first..last (0-based, inclusive; -1 for all) on a printer already set up.
    void print(QPrinter& printer, int first = -1, int last = -1) const;
    enum class Paper
    {
        Own,    // each page on its own paper size, where the printer can change it per page
        Printer // on the paper the printer is set to, each page fitted inside its margins
    };
    // Prints the listed pages (0-based) in that order. Returns an empty text on success,
    // otherwise the reason.
    QString print(QPrinter& printer, const QList<int>& pageList, Paper paper) const;
    // Writes a PDF with vector text and each page's own paper size. Returns an empty text on
    // success, otherwise the reason.
    QString exportPdf(const QString& fileName) const;

    // The program's own file of a prepared report (JSON). save returns an empty text on
    // success, otherwise the reason; load says in error why it refused a file.
    QString save(const QString& fileName) const;
    static std::optional<PreparedReport> load(const QString& fileName, QString* error = nullptr);

    // The paper of a page as a page layout without margins, for printers and dialogs.
    QPageLayout pageLayout(int page) const;
    // The font a text item is drawn in, at its real point size.
    static QFont itemFont(const PageItem& item);
};
