#include "data/Csv.h"

#include "data/DbError.h"
#include "data/Field.h"

#include <QByteArray>

namespace Csv {

QString plainValue(const Field& field)
{
    if (field.isNull())
        return QString();
    switch (field.kind()) {
    case ColumnKind::Date:
        // Kept as yyyy-mm-dd (a value with a time keeps only its day).
        return field.value().toString().left(10);
    case ColumnKind::Bool:
        return field.asBool() ? QStringLiteral("Yes") : QStringLiteral("No");
    case ColumnKind::Money:
        return plainMoney(field.asCurrency());
    case ColumnKind::Integer:
    case ColumnKind::Real:
    case ColumnKind::Text:
        break;
    }
    // Field's own text is already plain for numbers: no thousands separator, a dot.
    return field.asText();
}

QString plainMoney(const Currency& money)
{
    QString text = money.toPlain();
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return text + QStringLiteral(".00");
    if (text.size() - dot - 1 < 2)
        text += QString(2 - (text.size() - dot - 1), QLatin1Char('0'));
    return text;
}

QString quoted(const QString& cell)
{
    const bool needs = cell.contains(QLatin1Char(',')) || cell.contains(QLatin1Char('"')) ||
                       cell.contains(QLatin1Char('\n')) || cell.contains(QLatin1Char('\r')) ||
                       (!cell.isEmpty() && (cell.front().isSpace() || cell.back().isSpace()));
    if (!needs)
        return cell;
    QString text = cell;
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QByteArray document(const Table& table)
{
    return document(QList<Table>{table});
}

QByteArray document(const QList<Table>& tables)
{
    QString text;
    const auto record = [&text](const QStringList& cells) {
        for (qsizetype i = 0; i < cells.size(); ++i) {
            if (i > 0)
                text += QLatin1Char(',');
            text += quoted(cells[i]);
        }
        text += QStringLiteral("\r\n");
    };
    for (qsizetype t = 0; t < tables.size(); ++t) {
        if (t > 0)
            text += QStringLiteral("\r\n");
        record(tables[t].titles);
        for (const QStringList& row : tables[t].rows)
            record(row);
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QString tabText(const Table& table)
{
    const auto cell = [](const QString& value) {
        if (!value.contains(QLatin1Char('\t')) && !value.contains(QLatin1Char('\n')) &&
            !value.contains(QLatin1Char('\r')) && !value.contains(QLatin1Char('"')))
            return value;
        QString text = value;
        text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        return QLatin1Char('"') + text + QLatin1Char('"');
    };
    QStringList lines;
    for (const QStringList& row : table.rows) {
        QStringList cells;
        for (const QString& value : row)
            cells.append(cell(value));
        lines.append(cells.join(QLatin1Char('\t')));
    }
    return lines.join(QLatin1Char('\n')) + (lines.isEmpty() ? QString() : QStringLiteral("\n"));
}

Table parse(const QByteArray& bytes)
{
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QList<QStringList> records;
    QStringList record;
    QString cell;
    bool inQuotes = false;
    bool wasQuoted = false;
    int line = 1;
    int quoteLine = 0;
    const auto endCell = [&] {
        record.append(cell);
        cell.clear();
        wasQuoted = false;
    };
    const auto endRecord = [&] {
        endCell();
        records.append(record);
        record.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                    cell += c;
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                if (c == QLatin1Char('\n'))
                    ++line;
                cell += c;
            }
            continue;
        }
        if (c == QLatin1Char('"')) {
            if (!cell.isEmpty() || wasQuoted)
                throw DbError(QStringLiteral("Line %1 has a quote inside a cell that does not "
                                             "start with one.")
                                  .arg(line));
            inQuotes = true;
            wasQuoted = true;
            quoteLine = line;
        } else if (c == QLatin1Char(',')) {
            endCell();
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            endRecord();
            ++line;
        } else {
            if (wasQuoted)
                throw DbError(QStringLiteral("Line %1 has text after the closing quote of a cell.")
                                  .arg(line));
            cell += c;
        }
    }
    if (inQuotes)
        throw DbError(
            QStringLiteral("The quote opened on line %1 is never closed.").arg(quoteLine));
    // The last record, unless the file ended with its line break.
    if (!cell.isEmpty() || !record.isEmpty() || wasQuoted)
        endRecord();
    Table table;
    if (!records.isEmpty())
        table.titles = records.takeFirst();
    // Blank lines are no records.
    for (const QStringList& r : std::as_const(records))
        if (!(r.size() == 1 && r.first().isEmpty()))
            table.rows.append(r);
    return table;
}

} // namespace Csv
