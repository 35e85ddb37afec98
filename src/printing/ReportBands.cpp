// The bands of a report run: laid out with their texts evaluated and measured, placed on the
// page, and the fields, sums and variables their expressions read.
#include "data/DbError.h"
#include "data/Formats.h"
#include "data/Query.h"
#include "printing/ReportRun.h"

#include <QVarLengthArray>

#include <algorithm>

namespace ReportRun {

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

} // namespace ReportRun
