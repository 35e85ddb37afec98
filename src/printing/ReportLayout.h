#pragma once

#include "printing/ReportExpression.h"

#include <QHash>
#include <QList>
#include <QMarginsF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <Qt>

#include <optional>

class QByteArray;

// A printout's layout as data, read from JSON (the layouts are resources beside the windows
// that print them). Every length is in millimetres.
//
// {
//   "title": "Open Invoice Report",          the preview's caption
//   "dataSets": ["frxD"],                    every data set the layout reads
//   "parameters": {"Title": "Total Amounts"}, optional: texts printed as [Title] that the
//                                            printing window may replace (PrepareOptions)
//   "pages": [{
//     "paper": {"width": 215.9, "height": 279.4},
//     "margins": 10,                         or {"left": 10, "top": 10, "right": 10, "bottom": 10}
//                                            (missing sides are 0)
//     "copies": [...],                       optional, see below
//     "bands": [
//       {"type": "pageHeader", "height": 20, "objects": [
//         {"type": "text", "rect": [0, 0, 195.9, 8], "text": "Tavlin Truck Repair",
//          "bold": true, "fontSize": 16, "align": "center"}]},
//       {"type": "masterData", "name": "MasterData1", "dataSet": "frxD", "height": 6,
//        "objects": [
//         {"type": "text", "rect": [0, 0, 20, 6], "text": "[frxD.\"InvNo\"]"},
//         {"type": "text", "rect": [150, 0, 45, 6], "align": "right",
//          "text": "[<frxD.\"Amount\">-<frxD.\"PaidT\"> | %2.2m]"}]},
//       {"type": "footer", "height": 8, "objects": [
//         {"type": "text", "rect": [100, 1, 95.9, 6], "format": "%2.2m",
//          "text": "Total  Amount: [SUM(<frxD.\"Amount\">,MasterData1)]"}]},
//       {"type": "pageFooter", "height": 6, "objects": [
//         {"type": "text", "rect": [0, 0, 195.9, 6], "text": "[Page#]/[TotalPages#]"}]}]
//   }]
// }
//
// Bands ("type"): reportTitle (top of a page's first sheet), pageHeader (top of every sheet),
// groupHeader, masterData, groupFooter, footer, reportSummary (after everything else),
// pageFooter (bottom of every sheet). A band has a "height", an optional "name" (what SUM
// refers to) and "stretch": true to grow when its texts need more room. The body of a page is
// a sequence of sections, each written in this order:
//   groupHeader* masterData groupFooter* footer?
// A masterData band prints once per row of its "dataSet". A groupHeader names a "column" of
// that data set and prints before the first row and whenever the column's text differs from
// the previous row's (so rows of one group that are not adjacent start a group again); group
// headers are listed outermost first; "reprintOnNewPage": true prints a group header again
// under the page header of every sheet its group goes on to, and "newPage": true starts each
// group but the first on a sheet of its own (a statement per customer). Group footers pair with the
// group headers innermost first and print after each group's last row. A footer prints once after
// its master data, also when the data set has no rows.
//
// Objects ("type"): "text" with "rect" [x, y, width, height] relative to the band, "text"
// (see TextTemplate), "bold", "fontSize" in points (default 10), "align" left|center|right,
// "valign" top|center|bottom, "wordWrap", "frame" (a frame around the text box), "format"
// (the display format of its expressions without one of their own) and "lineWidth"; "frame"
// with "rect"; "line" with "from" [x, y] and "to" [x, y]. Any object may set "growWithBand"
// to keep its distance to the band's bottom edge when the band stretches (a framed row's
// frame and column lines). In a stretching band a text that wraps or holds several lines
// grows downwards, and objects below it that share its columns move down with it.
//
// Copies: a page is printed once per entry of its "copies", each run starting again from the
// first row of every data set with sums of its own, e.g. the three copies of an invoice:
//   "copies": [{"paper": {"width": 210, "height": 280},
//               "variables": {"CopyName": "Tavlin Truck Copy"}},
//              {"variables": {"CopyName": "Customer Copy"}}, ...]
// A copy may set its own "paper" and "margins"; its "variables" are texts (with expressions
// of their own) that the page's texts print as [CopyName]. Without "copies" a page prints once.
// A layout may also have several pages, each with its own bands; they print one after another.
//
// Everything is checked when the layout is read: unknown keys, band order, band names that
// SUM names, data sets that are not listed, variables that a copy does not set, and every
// expression and display format. Column names are checked when the layout is prepared, against
// the queries bound to its data sets.

struct ReportObject
{
    enum class Kind
    {
        Text,
        Frame,
        Line
    };

    Kind kind = Kind::Text;
    QRectF rect; // from the band's top-left corner; a line runs from topLeft to bottomRight
    TextTemplate text;
    bool bold = false;
    double fontSize = 10; // points
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    bool wordWrap = false;
    bool frame = false;
    double lineWidth = 0.3;
    bool growWithBand = false;
};

struct ReportBand
{
    enum class Kind
    {
        ReportTitle,
        PageHeader,
        GroupHeader,
        MasterData,
        GroupFooter,
        Footer,
        ReportSummary,
        PageFooter
    };

    Kind kind = Kind::MasterData;
    QString name;
    double height = 0;
    bool stretch = false;
    QString dataSet; // masterData: the data set it iterates; groupHeader: its master's
    QString column;  // groupHeader: the column whose change starts a new group
    // groupHeader: printed again at the top of a sheet where its group goes on.
    bool reprintOnNewPage = false;
    // groupHeader: each group but the first starts on a sheet of its own.
    bool newPage = false;
    QList<ReportObject> objects;
};

// One master-data band with its group bands and footer; indexes into ReportPage::bands.
struct ReportSection
{
    QList<int> groupHeaders; // outermost first
    int master = -1;
    QList<int> groupFooters; // one per group header, -1 for a group without footer
    int footer = -1;
};

struct ReportCopy
{
    QSizeF paper;
    QMarginsF margins;
    QHash<QString, TextTemplate> variables;
};

struct ReportPage
{
    QList<ReportBand> bands;  // as listed in the layout
    QList<ReportCopy> copies; // at least one
    int reportTitle = -1;
    int pageHeader = -1;
    int pageFooter = -1;
    int reportSummary = -1;
    QList<ReportSection> sections;

    int bandIndex(const QString& name) const;
};

class ReportLayout
{
public:
    // A column read by the layout's expressions; an expression's field nodes hold its index.
    struct FieldRef
    {
        QString dataSet;
        QString column;
    };
    // A SUM of the layout; its node holds the index. band is the master-data band it sums over
    // (index into its page's bands), -1 when it sums every master band of dataSet on the page.
    struct Aggregate
    {
        int page = 0;
        int band = -1;
        QString dataSet;
        ReportExpression argument;
    };

    static std::optional<ReportLayout> fromJson(const QByteArray& json, QString* error = nullptr);
    // A file or a Qt resource (":/invoicing/layouts/invoice.json").
    static std::optional<ReportLayout> fromFile(const QString& path, QString* error = nullptr);

    QString title() const { return m_title; }
    // The layout's parameters with the texts they print unless the printing window sets them.
    const QHash<QString, QString>& parameters() const { return m_parameters; }
    QStringList dataSets() const { return m_dataSets; }
    const QList<ReportPage>& pages() const { return m_pages; }
    const QList<FieldRef>& fields() const { return m_fields; }
    const QList<Aggregate>& aggregates() const { return m_aggregates; }
    // Whether some text prints [TotalPages#], which takes a second pass to prepare.
    bool usesTotalPages() const { return m_usesTotalPages; }

private:
    friend class LayoutReader;

    QString m_title;
    QStringList m_dataSets;
    QHash<QString, QString> m_parameters;
    QList<ReportPage> m_pages;
    QList<FieldRef> m_fields;
    QList<Aggregate> m_aggregates;
    bool m_usesTotalPages = false;
};
