#include "printing/ReportEngine.h"

#include "data/DbError.h"
#include "data/Formats.h"
#include "data/Query.h"
#include "printing/ReportLayout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QVarLengthArray>

#include <algorithm>
#include <map>

namespace {

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

QString bandName(const ReportBand& band, int index)
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
};

Engine::Engine(const ReportLayout& layout, const QHash<QString, const Query*>& dataSets,
               const ReportEngine::PrepareOptions& options)
    : m_layout(layout)
    , m_printedAt(options.printedAt.isValid() ? options.printedAt : QDateTime::currentDateTime())
    , m_parameters(layout.parameters())
{
    for (auto it = options.parameters.begin(); it != options.parameters.end(); ++it) {
        if (!m_parameters.contains(it.key()))
            throw DbError(QStringLiteral("The report \"%1\" has no parameter %2.")
                              .arg(layout.title(), it.key()));
        m_parameters.insert(it.key(), it.value());
    }
    const QStringList names = layout.dataSets();
    for (const QString& name : names) {
        const Query* query = dataSets.value(name);
        if (!query)
            throw DbError(QStringLiteral("The report \"%1\" reads the data set %2, which is not "
                                         "bound to a query.")
                              .arg(layout.title(), name));
        m_sources.append({query, query->currentRow()});
    }
    auto column = [&](const QString& dataSet, const QString& name) {
        const Query* query = m_sources[names.indexOf(dataSet)].query;
        const int c = query->columnIndex(name);
        if (c < 0) {
            const QString why =
                query->columnCount() == 0
                    ? QStringLiteral("the query %1 holds no rows").arg(query->name())
                    : QStringLiteral("the query %1 has no column %2").arg(query->name(), name);
            throw DbError(QStringLiteral("The report \"%1\" prints %2.\"%3\", but %4.")
                              .arg(layout.title(), dataSet, name, why));
        }
        return c;
    };
    for (const ReportLayout::FieldRef& f : layout.fields())
        m_fields.append({int(names.indexOf(f.dataSet)), column(f.dataSet, f.column)});

    for (int p = 0; p < layout.pages().size(); ++p) {
        const ReportPage& page = layout.pages()[p];
        QList<int> columns(page.bands.size(), -1);
        for (int b = 0; b < page.bands.size(); ++b)
            if (page.bands[b].kind == ReportBand::Kind::GroupHeader)
                columns[b] = column(page.bands[b].dataSet, page.bands[b].column);
        m_groupColumns.append(columns);

        QList<QList<int>> perSection(page.sections.size());
        for (int a = 0; a < layout.aggregates().size(); ++a) {
            const ReportLayout::Aggregate& aggregate = layout.aggregates()[a];
            if (aggregate.page != p)
                continue;
            for (int s = 0; s < page.sections.size(); ++s) {
                const int master = page.sections[s].master;
                if (aggregate.band == master ||
                    (aggregate.band < 0 && page.bands[master].dataSet == aggregate.dataSet))
                    perSection[s].append(a);
            }
        }
        m_sectionAggregates.append(perSection);
    }
}

void Engine::Accumulator::add(const ReportValue& value, const QString& source)
{
    switch (value.type) {
    case ReportValue::Type::Empty:
        return;
    case ReportValue::Type::Money:
        total += value.money;
        money = true;
        return;
    case ReportValue::Type::Number:
        total += Currency::fromDouble(value.number);
        return;
    case ReportValue::Type::Text: {
        const QString trimmed = value.text.trimmed();
        if (trimmed.isEmpty())
            return;
        bool ok = false;
        Formats::parseNumber(trimmed, &ok);
        if (ok) {
            total += Currency::parse(trimmed);
            return;
        }
        break;
    }
    case ReportValue::Type::Date:
    case ReportValue::Type::Time:
        break;
    }
    throw DbError(QStringLiteral("'%1' is not a number in [%2].").arg(value.toText(), source));
}

PreparedReport Engine::run(int totalPages)
{
    m_report = PreparedReport();
    m_report.title = m_layout.title();
    m_totalPages = totalPages;
    m_pageNumber = 0;
    m_states = QList<AggregateState>(m_layout.aggregates().size());
    for (int p = 0; p < m_layout.pages().size(); ++p)
        for (const ReportCopy& copy : m_layout.pages()[p].copies)
            runCopy(p, copy);
    return std::move(m_report);
}

void Engine::runCopy(int pageIndex, const ReportCopy& copy)
{
    m_pageIndex = pageIndex;
    m_page = &m_layout.pages()[pageIndex];
    m_copy = &copy;
    qsizetype levels = 0;
    for (const ReportSection& s : m_page->sections)
        levels = std::max(levels, s.groupHeaders.size());
    for (int a = 0; a < m_states.size(); ++a)
        if (m_layout.aggregates()[a].page == pageIndex)
            m_states[a] = AggregateState{{}, {}, QList<Accumulator>(levels)};

    startSheet(true);
    for (int s = 0; s < m_page->sections.size(); ++s)
        runSection(s);
    if (m_page->reportSummary >= 0)
        place(m_page->reportSummary, Scope::Outside);
    finishSheet();
}

void Engine::runSection(int sectionIndex)
{
    const ReportSection& section = m_page->sections[sectionIndex];
    const ReportBand& master = m_page->bands[section.master];
    const int dataSet = int(m_layout.dataSets().indexOf(master.dataSet));
    const Query* query = m_sources[dataSet].query;
    const QList<int>& aggregates = m_sectionAggregates[m_pageIndex][sectionIndex];
    const qsizetype levels = section.groupHeaders.size();
    QList<int> columns;
    for (int h : section.groupHeaders)
        columns.append(m_groupColumns[m_pageIndex][h]);
    QStringList keys(levels);

    m_section = sectionIndex;
    m_rowDataSet = dataSet;
    auto groupFooters = [&](qsizetype fromLevel, int lastRow) {
        m_row = lastRow;
        for (qsizetype level = levels - 1; level >= fromLevel; --level) {
            if (section.groupFooters[level] < 0)
                continue;
            m_groupLevel = int(level);
            place(section.groupFooters[level], Scope::GroupFooter);
        }
    };

    const int rows = query->recordCount();
    QVarLengthArray<ReportValue, 8> contributions(aggregates.size());
    for (int row = 0; row < rows; ++row) {
        qsizetype changed = row == 0 ? 0 : levels;
        for (qsizetype level = 0; level < levels; ++level) {
            const QString key = query->field(row, columns[level]).asText();
            if (changed == levels && key != keys[level])
                changed = level;
            keys[level] = key;
        }
        if (row > 0 && changed < levels)
            groupFooters(changed, row - 1);
        m_row = row;
        for (qsizetype level = changed; level < levels; ++level) {
            for (int a : aggregates)
                m_states[a].groups[level] = Accumulator();
            // A group header does not stay behind alone at the bottom of a sheet.
            place(section.groupHeaders[level], Scope::Data, master.height);
        }

        {
            ScopeGuard scope(*this, Scope::Data);
            for (int k = 0; k < aggregates.size(); ++k) {
                const ReportLayout::Aggregate& aggregate = m_layout.aggregates()[aggregates[k]];
                try {
                    contributions[k] = aggregate.argument.evaluate(*this);
                } catch (const DbError& e) {
                    rethrow(e, section.master);
                }
            }
        }
        for (int k = 0; k < aggregates.size(); ++k) {
            AggregateState& state = m_states[aggregates[k]];
            const QString& source = m_layout.aggregates()[aggregates[k]].argument.source();
            try {
                state.copy.add(contributions[k], source);
                for (qsizetype level = 0; level < levels; ++level)
                    state.groups[level].add(contributions[k], source);
            } catch (const DbError& e) {
                rethrow(e, section.master);
            }
        }
        place(section.master, Scope::Data);
        // Counted on the sheet the row landed on.
        for (int k = 0; k < aggregates.size(); ++k)
            m_states[aggregates[k]].sheet.add(contributions[k], QString());
    }
    if (rows > 0)
        groupFooters(0, rows - 1);
    m_rowDataSet = -1;
    m_row = -1;
    if (section.footer >= 0)
        place(section.footer, Scope::Outside);
    m_section = -1;
}

void Engine::startSheet(bool first)
{
    ++m_pageNumber;
    PreparedPage page;
    page.paper = m_copy->paper;
    m_report.pages.append(page);
    for (int a = 0; a < m_states.size(); ++a)
        if (m_layout.aggregates()[a].page == m_pageIndex)
            m_states[a].sheet = Accumulator();
    m_y = m_copy->margins.top();
    m_sheetHasBody = false;
    m_bodyBottom = m_copy->paper.height() - m_copy->margins.bottom() - pageFooterReserve();
    if (first && m_page->reportTitle >= 0)
        placeFixed(m_page->reportTitle, Scope::Outside);
    if (m_page->pageHeader >= 0)
        placeFixed(m_page->pageHeader, Scope::Outside);
}

double Engine::pageFooterReserve()
{
    if (m_page->pageFooter < 0)
        return 0;
    const ReportBand& footer = m_page->bands[m_page->pageFooter];
    return footer.stretch ? layoutBand(m_page->pageFooter, Scope::PageFooter).height
                          : footer.height;
}

void Engine::finishSheet()
{
    if (m_page->pageFooter < 0)
        return;
    Placed footer = layoutBand(m_page->pageFooter, Scope::PageFooter);
    emitAt(footer, m_copy->paper.height() - m_copy->margins.bottom() - footer.height);
}

void Engine::placeFixed(int band, Scope scope)
{
    Placed placed = layoutBand(band, scope);
    emitAt(placed, m_y);
    m_y += placed.height;
}

void Engine::place(int band, Scope scope, double keepWith)
{
    Placed placed = layoutBand(band, scope);
    if (m_sheetHasBody && m_y + placed.height + keepWith > m_bodyBottom + Epsilon) {
        finishSheet();
        startSheet(false);
        reprintGroupHeaders(band);
        // Laid out again: its texts may print the page number.
        placed = layoutBand(band, scope);
    }
    emitAt(placed, m_y);
    m_y += placed.height;
    m_sheetHasBody = true;
}

void Engine::reprintGroupHeaders(int band)
{
    if (m_section < 0 || m_row < 0)
        return;
    const ReportSection& section = m_page->sections[m_section];
    // A header that starts its group now is printed anyway, and so are those inside it.
    const qsizetype starting = section.groupHeaders.indexOf(band);
    const qsizetype open = starting >= 0 ? starting : section.groupHeaders.size();
    for (qsizetype level = 0; level < open; ++level) {
        const int header = section.groupHeaders[level];
        if (!m_page->bands[header].reprintOnNewPage)
            continue;
        // It reads the row being printed (for a group footer, the group's last row).
        placeFixed(header, Scope::Data);
    }
}

QString Engine::evaluate(const TextTemplate& text, int band)
{
    try {
        return text.evaluate(*this);
    } catch (const DbError& e) {
        rethrow(e, band);
    }
}

void Engine::rethrow(const DbError& error, int band) const
{
    throw DbError(QStringLiteral("The report \"%1\" cannot print band %2: %3")
                      .arg(m_layout.title(), bandName(m_page->bands[band], band), error.message()));
}

Engine::Placed Engine::layoutBand(int bandIndex, Scope scope)
{
    ScopeGuard guard(*this, scope);
    const ReportBand& band = m_page->bands[bandIndex];
    const qsizetype count = band.objects.size();
    QVarLengthArray<QString, 16> texts(count);
    QVarLengthArray<double, 16> grow(count);
    QVarLengthArray<double, 16> shift(count);
    bool grew = false;
    for (qsizetype i = 0; i < count; ++i) {
        const ReportObject& object = band.objects[i];
        grow[i] = shift[i] = 0;
        if (object.kind != ReportObject::Kind::Text)
            continue;
        texts[i] = evaluate(object.text, bandIndex);
        if (!band.stretch || texts[i].isEmpty() ||
            (!object.wordWrap && !texts[i].contains(QLatin1Char('\n'))))
            continue;
        const double needed = m_measure.height(texts[i], object.rect.width(), object.fontSize,
                                               object.bold, object.wordWrap);
        if (needed > object.rect.height() + Epsilon) {
            grow[i] = needed - object.rect.height();
            grew = true;
        }
    }

    Placed placed;
    placed.height = band.height;
    if (grew) {
        // Objects below a grown text in its columns move down with it, in order from the top.
        QVarLengthArray<int, 16> order(count);
        for (qsizetype i = 0; i < count; ++i)
            order[i] = int(i);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return band.objects[a].rect.normalized().top() <
                   band.objects[b].rect.normalized().top();
        });
        double originalBottom = 0;
        double newBottom = 0;
        for (qsizetype j = 0; j < count; ++j) {
            const QRectF r = band.objects[order[j]].rect.normalized();
            for (qsizetype i = 0; i < j; ++i) {
                const int above = order[i];
                const QRectF a = band.objects[above].rect.normalized();
                const double moved = shift[above] + grow[above];
                if (moved > 0 && a.bottom() <= r.top() + Epsilon && a.left() < r.right() &&
                    r.left() < a.right())
                    shift[order[j]] = std::max(shift[order[j]], moved);
            }
            // Objects that follow the band's height do not decide it.
            if (band.objects[order[j]].growWithBand)
                continue;
            originalBottom = std::max(originalBottom, r.bottom());
            newBottom = std::max(newBottom, r.bottom() + shift[order[j]] + grow[order[j]]);
        }
        placed.height =
            std::max(band.height, newBottom + std::max(0.0, band.height - originalBottom));
    }
    const double growth = placed.height - band.height;

    for (qsizetype i = 0; i < count; ++i) {
        const ReportObject& object = band.objects[i];
        QRectF rect = object.rect.translated(0, shift[i]);
        rect.setHeight(rect.height() + grow[i]);
        if (object.growWithBand && growth > 0) {
            if (object.kind == ReportObject::Kind::Line && object.rect.height() == 0)
                rect.translate(0, growth - shift[i]);
            else if (object.kind == ReportObject::Kind::Line && rect.height() < 0)
                rect.setTop(std::max(rect.top(), object.rect.top() + growth));
            else
                rect.setBottom(std::max(rect.bottom(), object.rect.bottom() + growth));
        }
        PageItem item;
        item.rect = rect;
        item.lineWidth = object.lineWidth;
        switch (object.kind) {
        case ReportObject::Kind::Text:
            if (object.frame) {
                item.kind = PageItem::Kind::Frame;
                placed.items.append(item);
            }
            if (texts[i].isEmpty())
                continue;
            item.kind = PageItem::Kind::Text;
            item.text = texts[i];
            item.bold = object.bold;
            item.fontSize = object.fontSize;
            item.alignment = object.alignment;
            item.wordWrap = object.wordWrap;
            break;
        case ReportObject::Kind::Frame:
            item.kind = PageItem::Kind::Frame;
            break;
        case ReportObject::Kind::Line:
            item.kind = PageItem::Kind::Line;
            break;
        }
        placed.items.append(item);
    }
    return placed;
}

void Engine::emitAt(Placed& placed, double top)
{
    QList<PageItem>& items = m_report.pages.last().items;
    for (PageItem& item : placed.items) {
        item.rect.translate(m_copy->margins.left(), top);
        items.append(std::move(item));
    }
}

bool Engine::sumsSection(int aggregate, int section) const
{
    return section >= 0 && m_sectionAggregates[m_pageIndex][section].contains(aggregate);
}

ReportValue Engine::field(int slot) const
{
    const ResolvedField& f = m_fields.at(slot);
    const Source& source = m_sources.at(f.dataSet);
    const bool iterating = m_scope == Scope::Data || m_scope == Scope::GroupFooter;
    const int row = iterating && f.dataSet == m_rowDataSet ? m_row : source.currentRow;
    if (row < 0 || row >= source.query->recordCount())
        return {};
    return ReportValue::fromField(source.query->field(row, f.column));
}

ReportValue Engine::sum(int slot) const
{
    const AggregateState& state = m_states.at(slot);
    if (m_scope == Scope::GroupFooter && sumsSection(slot, m_section))
        return state.groups.at(m_groupLevel).value();
    if (m_scope == Scope::PageFooter)
        return state.sheet.value();
    return state.copy.value();
}

ReportValue Engine::variable(const QString& name) const
{
    const auto it = m_copy->variables.constFind(name);
    if (it != m_copy->variables.constEnd())
        return ReportValue::fromText(it->evaluate(*this));
    const auto parameter = m_parameters.constFind(name);
    return parameter == m_parameters.constEnd() ? ReportValue() : ReportValue::fromText(*parameter);
}

} // namespace

namespace ReportEngine {

PreparedReport prepare(const ReportLayout& layout, const QHash<QString, const Query*>& dataSets,
                       const PrepareOptions& options)
{
    Engine engine(layout, dataSets, options);
    PreparedReport report = engine.run(0);
    // The page count printed on the first pass was a guess; texts that wrap differently with
    // the true count can change it once more.
    for (int pass = 0; layout.usesTotalPages() && pass < 3; ++pass) {
        const int pages = report.pageCount();
        report = engine.run(pages);
        if (report.pageCount() == pages)
            break;
    }
    return report;
}

PreparedReport prepareFile(const QString& layoutFile, const QHash<QString, const Query*>& dataSets,
                           const PrepareOptions& options)
{
    QString error;
    const std::optional<ReportLayout> layout = ReportLayout::fromFile(layoutFile, &error);
    if (!layout)
        throw DbError(error);
    return prepare(*layout, dataSets, options);
}

} // namespace ReportEngine
