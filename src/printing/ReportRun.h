#pragma once

// The run of a report's layout over its data sets, page by page: what ReportEngine::prepare
// drives. Its sheets and sections are in ReportEngine.cpp, its bands in ReportBands.cpp.

#include "printing/PreparedReport.h"
#include "printing/ReportEngine.h"
#include "printing/ReportExpression.h"
#include "printing/ReportLayout.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QList>

#include <map>

class DbError;
class Query;

namespace ReportRun {

constexpr double Epsilon = 1e-6;

// Heights of texts in millimetres, measured in the font the prepared report draws them with, at
// a printer's resolution so that hinting does not skew the figures.
class TextMeasure
{
public:
    TextMeasure()
        : m_device(1, 1, QImage::Format_RGB32)
    {
        m_device.setDotsPerMeterX(int(Dpi / 0.0254));
        m_device.setDotsPerMeterY(int(Dpi / 0.0254));
    }

    double height(const QString& text, double width, double points, bool bold, bool wrap)
    {
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
            // Without a window system there are no fonts: count lines at 1.2 times the size.
            return (text.count(QLatin1Char('\n')) + 1) * points * 1.2 * 25.4 / 72;
        }
        const QFontMetricsF& fm = metrics(points, bold);
        const double pixelsPerMm = Dpi / 25.4;
        const double widthPixels = std::max(1.0, width * pixelsPerMm);
        if (!text.contains(QLatin1Char('\n')) &&
            (!wrap || fm.horizontalAdvance(text) <= widthPixels))
            return fm.height() / pixelsPerMm;
        const int flags = Qt::AlignLeft | Qt::AlignTop | (wrap ? Qt::TextWordWrap : 0);
        return fm.boundingRect(QRectF(0, 0, widthPixels, 1e9), flags, text).height() / pixelsPerMm;
    }

private:
    static constexpr double Dpi = 1200;

    const QFontMetricsF& metrics(double points, bool bold)
    {
        const std::pair<int, bool> key(int(points * 100 + 0.5), bold);
        auto it = m_metrics.find(key);
        if (it == m_metrics.end()) {
            PageItem item;
            item.fontSize = points;
            item.bold = bold;
            it = m_metrics.emplace(key, QFontMetricsF(PreparedReport::itemFont(item), &m_device))
                     .first;
        }
        return it->second;
    }

    QImage m_device;
    std::map<std::pair<int, bool>, QFontMetricsF> m_metrics;
};

inline QString bandName(const ReportBand& band, int index)
{
    return band.name.isEmpty() ? QStringLiteral("%1").arg(index + 1) : band.name;
}

class Engine final : public ExpressionContext
{
public:
    Engine(const ReportLayout& layout, const QHash<QString, const Query*>& dataSets,
           const ReportEngine::PrepareOptions& options);

    PreparedReport run(int totalPages);

    ReportValue field(int slot) const override;
    ReportValue sum(int slot) const override;
    ReportValue variable(const QString& name) const override;
    int pageNumber() const override { return m_pageNumber; }
    int totalPages() const override { return m_totalPages; }
    QDateTime printedAt() const override { return m_printedAt; }

private:
    enum class Scope
    {
        Outside,     // titles, page header, footer, summary: fields read current rows
        Data,        // master data and group header: the row being printed
        GroupFooter, // the group's last row; sums over the group
        PageFooter   // current rows; sums over the sheet
    };

    struct Source
    {
        const Query* query = nullptr;
        int currentRow = -1;
    };
    struct ResolvedField
    {
        int dataSet = -1;
        int column = -1;
    };
    struct Accumulator
    {
        Currency total;
        bool money = false;
        void add(const ReportValue& value, const QString& source);
        ReportValue value() const
        {
            return money ? ReportValue::fromMoney(total)
                         : ReportValue::fromNumber(total.toDouble());
        }
    };
    struct AggregateState
    {
        Accumulator copy;
        Accumulator sheet;
        QList<Accumulator> groups;
    };
    struct Placed
    {
        double height = 0;
        QList<PageItem> items;
    };
    // Sets the scope of the texts being evaluated and restores the outer one.
    class ScopeGuard
    {
    public:
        ScopeGuard(Engine& engine, Scope scope)
            : m_engine(engine)
            , m_saved(engine.m_scope)
        {
            engine.m_scope = scope;
        }
        ~ScopeGuard() { m_engine.m_scope = m_saved; }
        ScopeGuard(const ScopeGuard&) = delete;
        ScopeGuard& operator=(const ScopeGuard&) = delete;

    private:
        Engine& m_engine;
        Scope m_saved;
    };

    void runCopy(int pageIndex, const ReportCopy& copy);
    void runSection(int sectionIndex);
    void startSheet(bool first);
    // The headers of the groups the sheet goes on with, when they are printed again.
    void reprintGroupHeaders(int band);
    void finishSheet();
    double pageFooterReserve();
    void placeFixed(int band, Scope scope);
    void place(int band, Scope scope, double keepWith = 0);
    Placed layoutBand(int band, Scope scope);
    void emitAt(Placed& placed, double top);
    QString evaluate(const TextTemplate& text, int band);
    // Adds the master row being printed to the report's rows (the first copy only): the
    // values of the group headers' fields, then the texts of the master band, left to right.
    void captureRow(int sectionIndex);
    struct RowColumn
    {
        int band;
        int object;
    };
    QList<RowColumn> rowColumns(int sectionIndex, QStringList* titles) const;
    [[noreturn]] void rethrow(const DbError& error, int band) const;
    bool sumsSection(int aggregate, int section) const;

    const ReportLayout& m_layout;
    QDateTime m_printedAt;
    QHash<QString, QString> m_parameters;
    QList<Source> m_sources;
    QList<ResolvedField> m_fields;
    QList<QList<int>> m_groupColumns;             // per page, per band: column of a group header
    QList<QList<QList<int>>> m_sectionAggregates; // per page, per section: the SUMs it feeds
    TextMeasure m_measure;

    // One run.
    PreparedReport m_report;
    int m_totalPages = 0;
    int m_pageNumber = 0;
    int m_pageIndex = 0;
    const ReportPage* m_page = nullptr;
    const ReportCopy* m_copy = nullptr;
    QList<AggregateState> m_states;
    double m_y = 0;
    double m_bodyBottom = 0;
    bool m_sheetHasBody = false;

    // What the texts being evaluated read.
    Scope m_scope = Scope::Outside;
    int m_section = -1;
    int m_rowDataSet = -1;
    int m_row = -1;
    int m_groupLevel = -1;
    // Per section of the page being run: its table in m_report.rows (-1 before its first row)
    // and the objects its records read.
    QList<int> m_rowTables;
    QList<QList<RowColumn>> m_rowColumns;
};

} // namespace ReportRun
