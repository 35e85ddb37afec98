// The rows a printout printed, kept beside its pages for a spreadsheet: a record per master row
// with the values its texts print, under the column titles printed above them.

#include "data/DbError.h"
#include "data/Formats.h"
#include "printing/ReportRun.h"

namespace ReportRun {

namespace {
// The one expression a text prints with nothing around it, or -1.
int soleExpression(const TextTemplate& text)
{
    const QList<TextTemplate::Segment>& segments = text.segments();
    if (segments.size() != 1 || segments.first().expression < 0)
        return -1;
    return segments.first().expression;
}

// A value as a spreadsheet reads it: numbers and money plain with a dot, dates yyyy-mm-dd.
QString plain(const ReportValue& value)
{
    switch (value.type) {
    case ReportValue::Type::Empty:
        return QString();
    case ReportValue::Type::Money:
        return Csv::plainMoney(value.money);
    case ReportValue::Type::Number:
        return Formats::plainNumber(value.number);
    case ReportValue::Type::Date:
        return value.date.toString(Qt::ISODate);
    case ReportValue::Type::Time:
        return value.time.toString(QStringLiteral("HH:mm:ss"));
    case ReportValue::Type::Text:
        break;
    }
    return value.text;
}

// The column a lone field reads, as a last resort for a title, in words: frxD."CustomerName_Inv"
// gives "Customer Name", frxD."Address_Customer" "Address".
QString columnOf(const TextTemplate& text)
{
    const QString source = text.source();
    const qsizetype open = source.indexOf(QLatin1Char('"'));
    const qsizetype close = source.lastIndexOf(QLatin1Char('"'));
    const QString column =
        open >= 0 && close > open ? source.mid(open + 1, close - open - 1) : source;
    const QString name = column.section(QLatin1Char('_'), 0, 0);
    QString words;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (i > 0 && name[i].isUpper() && name[i - 1].isLower())
            words += QLatin1Char(' ');
        words += name[i];
    }
    return words.isEmpty() ? column : words;
}

QString caption(const ReportObject& object)
{
    QString text = object.text.source().trimmed();
    while (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text.trimmed();
}

bool isCaption(const ReportObject& object)
{
    return object.kind == ReportObject::Kind::Text && object.text.isConstant() &&
           !object.text.source().trimmed().isEmpty();
}
} // namespace

QList<Engine::RowColumn> Engine::rowColumns(int sectionIndex, QStringList* titles) const
{
    const ReportSection& section = m_page->sections[sectionIndex];
    QList<RowColumn> columns;
    // The groups' fields first, each titled by the caption just left of it on its line.
    for (int header : section.groupHeaders) {
        const ReportBand& band = m_page->bands[header];
        for (int i = 0; i < band.objects.size(); ++i) {
            const ReportObject& object = band.objects[i];
            if (object.kind != ReportObject::Kind::Text || soleExpression(object.text) < 0)
                continue;
            const QRectF r = object.rect.normalized();
            QString title;
            double nearest = 1e9;
            for (const ReportObject& other : band.objects) {
                const QRectF o = other.rect.normalized();
                if (!isCaption(other) || o.right() > r.left() + 0.5 ||
                    std::abs(o.center().y() - r.center().y()) > r.height() / 2)
                    continue;
                if (r.left() - o.right() < nearest) {
                    nearest = r.left() - o.right();
                    title = caption(other);
                }
            }
            columns.append({header, i});
            titles->append(title.isEmpty() ? columnOf(object.text) : title);
        }
    }
    // The master's texts left to right, each titled by the printed caption above it that
    // covers the same part of the line best.
    QList<const ReportObject*> captions;
    QList<int> above = section.groupHeaders;
    if (m_page->pageHeader >= 0)
        above.append(m_page->pageHeader);
    for (int band : above)
        for (const ReportObject& object : m_page->bands[band].objects)
            if (isCaption(object))
                captions.append(&object);
    const ReportBand& master = m_page->bands[section.master];
    QList<int> order;
    for (int i = 0; i < master.objects.size(); ++i)
        if (master.objects[i].kind == ReportObject::Kind::Text &&
            !master.objects[i].text.isConstant())
            order.append(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return master.objects[a].rect.normalized().left() <
               master.objects[b].rect.normalized().left();
    });
    for (int i : order) {
        const QRectF r = master.objects[i].rect.normalized();
        QString title;
        double best = 0.3;
        for (const ReportObject* object : std::as_const(captions)) {
            const QRectF o = object->rect.normalized();
            const double overlap = std::min(r.right(), o.right()) - std::max(r.left(), o.left());
            const double span = std::max(r.right(), o.right()) - std::min(r.left(), o.left());
            if (overlap > 0 && span > 0 && overlap / span > best) {
                best = overlap / span;
                title = caption(*object);
            }
        }
        columns.append({section.master, i});
        titles->append(title.isEmpty() ? QStringLiteral("Column %1").arg(titles->size() + 1)
                                       : title);
    }
    return columns;
}

void Engine::captureRow(int sectionIndex)
{
    if (m_rowTables[sectionIndex] < 0) {
        Csv::Table table;
        m_rowColumns[sectionIndex] = rowColumns(sectionIndex, &table.titles);
        m_rowTables[sectionIndex] = int(m_report.rows.size());
        m_report.rows.append(table);
    }
    ScopeGuard scope(*this, Scope::Data);
    QStringList record;
    for (const RowColumn& column : std::as_const(m_rowColumns[sectionIndex])) {
        const ReportObject& object = m_page->bands[column.band].objects[column.object];
        const int sole = soleExpression(object.text);
        try {
            if (sole < 0) {
                record.append(object.text.evaluate(*this));
                continue;
            }
            ReportValue value = object.text.expressions()[sole].evaluate(*this);
            // A sum or a difference printed as money is money.
            const QString format = object.text.segments().first().format.text();
            if (value.type == ReportValue::Type::Number && format.startsWith(QLatin1Char('%')) &&
                format.endsWith(QLatin1Char('m')))
                value = ReportValue::fromMoney(Currency::fromDouble(value.number));
            record.append(plain(value));
        } catch (const DbError& e) {
            rethrow(e, column.band);
        }
    }
    m_report.rows[m_rowTables[sectionIndex]].rows.append(record);
}

} // namespace ReportRun
