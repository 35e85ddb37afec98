#include "printing/ReportEngine.h"

#include "data/DbError.h"
#include "data/Formats.h"
#include "data/Query.h"
#include "printing/ReportLayout.h"
#include "printing/ReportRun.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QVarLengthArray>

#include <algorithm>
#include <map>

namespace ReportRun {

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
            const int header = section.groupHeaders[level];
            if (m_page->bands[header].newPage && m_sheetHasBody) {
                finishSheet();
                startSheet(false);
            }
            // A group header does not stay behind alone at the bottom of a sheet.
            place(header, Scope::Data, master.height);
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

} // namespace ReportRun

using ReportRun::Engine;

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
