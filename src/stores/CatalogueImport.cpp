#include "stores/CatalogueImport.h"

#include "data/Csv.h"
#include "data/DbError.h"
#include "data/Field.h"
#include "data/KeyedRows.h"
#include "data/NumberClaim.h"
#include "data/SqlDialect.h"
#include "data/SqlSelect.h"
#include "data/Transaction.h"

#include <QHash>
#include <QLocale>

namespace {
// A title as it is compared: no capitals, no spaces, "$", ":", "#" or "." at the ends.
QString titleKey(const QString& title)
{
    QString key = title.trimmed().toCaseFolded();
    static const QString trimmed = QStringLiteral(" $:#.");
    while (!key.isEmpty() && trimmed.contains(key.back()))
        key.chop(1);
    while (!key.isEmpty() && trimmed.contains(key.front()))
        key.remove(0, 1);
    key.replace(QLatin1Char(' '), QString());
    return key;
}

QString sample(const QList<CatalogueImport::Row>& rows, bool withChanges)
{
    const int shown = 8;
    QStringList lines;
    for (int i = 0; i < rows.size() && i < shown; ++i)
        lines.append(QStringLiteral("  %1%2").arg(
            rows[i].key, withChanges
                             ? QStringLiteral(": ") + rows[i].changes.join(QStringLiteral(", "))
                             : QString()));
    if (rows.size() > shown)
        lines.append(QStringLiteral("  and %1 more").arg(rows.size() - shown));
    return lines.join(QLatin1Char('\n'));
}
} // namespace

CatalogueImport::CatalogueImport(Description description, Connection* connection)
    : Store(connection)
    , m_description(std::move(description))
{}

QString CatalogueImport::Plan::question(const Description& d) const
{
    const QLocale locale(QLocale::English);
    QString text = QStringLiteral("Import %1 into %2?\n\n")
                       .arg(fileName.isEmpty() ? QStringLiteral("the file") : fileName,
                            d.nouns.left(1).toUpper() + d.nouns.mid(1));
    text += QStringLiteral("%1 to add, %2 to change, %3 the same already.\n")
                .arg(locale.toString(adds.size()), locale.toString(changes.size()),
                     locale.toString(same));
    text += QStringLiteral("Columns read: %1\n").arg(read.join(QStringLiteral(", ")));
    if (!ignored.isEmpty())
        text += QStringLiteral("Columns left out (not known here): %1\n")
                    .arg(ignored.join(QStringLiteral(", ")));
    if (!adds.isEmpty())
        text += QStringLiteral("\nTo add:\n") + sample(adds, false) + QLatin1Char('\n');
    if (!changes.isEmpty())
        text += QStringLiteral("\nTo change:\n") + sample(changes, true) + QLatin1Char('\n');
    text += QStringLiteral("\nNothing is written until you answer Yes; then all of it is written "
                           "at once, or nothing.");
    return text;
}

CatalogueImport::Plan CatalogueImport::plan(const Csv::Table& table, const QString& fileName) const
{
    const Description& d = m_description;
    Plan plan;
    plan.fileName = fileName;
    // The file's columns by title.
    QHash<QString, int> known;
    for (int c = 0; c < d.columns.size(); ++c) {
        known.insert(titleKey(d.columns[c].column), c);
        for (const QString& title : d.columns[c].titles)
            known.insert(titleKey(title), c);
    }
    QList<int> columnOf(table.titles.size(), -1);
    QList<int> fileColumn(d.columns.size(), -1);
    for (int i = 0; i < table.titles.size(); ++i) {
        const auto found = known.constFind(titleKey(table.titles[i]));
        if (table.titles[i].trimmed().isEmpty() || found == known.constEnd() ||
            fileColumn[*found] >= 0) {
            if (!table.titles[i].trimmed().isEmpty())
                plan.ignored.append(table.titles[i]);
            continue;
        }
        columnOf[i] = *found;
        fileColumn[*found] = i;
        plan.read.append(table.titles[i]);
    }
    int keyIndex = -1;
    for (int c = 0; c < d.columns.size(); ++c)
        if (d.columns[c].column == d.keyColumn)
            keyIndex = c;
    const QString keyTitle = d.columns.value(keyIndex).titles.value(0, d.keyColumn);
    if (keyIndex < 0 || fileColumn[keyIndex] < 0)
        throw DbError(QStringLiteral("The file has no column \"%1\": it tells which %2 each row "
                                     "is. Nothing was imported.")
                          .arg(keyTitle, d.noun));

    // The catalogue's rows by key, to tell a change from a new row.
    QStringList read = {SqlDialect::rowKeyColumn()};
    // Every column the file may change (the hidden key is kept apart by the query).
    for (const Column& column : d.columns)
        read.append(column.column);
    const std::unique_ptr<Query> kept =
        rows(SqlSelect::all(d.table, read.join(QStringLiteral(", "))));
    QHash<QString, QList<int>> keptRows;
    const int keyColumn = kept->columnIndex(d.keyColumn);
    for (int r = 0; r < kept->recordCount(); ++r)
        keptRows[kept->field(r, keyColumn).asText().trimmed().toCaseFolded()].append(r);

    QHash<QString, int> seen;
    for (int r = 0; r < table.rows.size(); ++r) {
        const QStringList& cells = table.rows[r];
        const int rowNumber = r + 2;
        const auto refuse = [&](const QString& title, const QString& why) {
            return DbError(QStringLiteral("Row %1, column \"%2\": %3 Nothing was imported.")
                               .arg(rowNumber)
                               .arg(title, why));
        };
        for (int i = table.titles.size(); i < cells.size(); ++i)
            if (!cells[i].trimmed().isEmpty())
                throw DbError(QStringLiteral("Row %1 has more cells than the title row has "
                                             "titles. Nothing was imported.")
                                  .arg(rowNumber));
        Row row{rowNumber, cells.value(fileColumn[keyIndex]).trimmed(), SqlRow(d.table), 0, {}};
        if (row.key.isEmpty())
            throw refuse(table.titles[fileColumn[keyIndex]],
                         QStringLiteral("the %1 is empty.").arg(keyTitle));
        const QString folded = row.key.toCaseFolded();
        if (seen.contains(folded))
            throw refuse(table.titles[fileColumn[keyIndex]],
                         QStringLiteral("%1 is also on row %2.").arg(row.key).arg(seen[folded]));
        seen.insert(folded, rowNumber);
        const QList<int> matches = keptRows.value(folded);
        if (matches.size() > 1)
            throw refuse(table.titles[fileColumn[keyIndex]],
                         QStringLiteral("%1 is kept by %2 %3 already; make it one in the window "
                                        "first.")
                             .arg(row.key)
                             .arg(matches.size())
                             .arg(d.nouns));
        for (int c = 0; c < d.columns.size(); ++c) {
            // A kept row keeps its key as it is spelled there.
            if (fileColumn[c] < 0 || (c == keyIndex && !matches.isEmpty()))
                continue;
            const QString title = table.titles[fileColumn[c]];
            // Texts are kept exactly as the file has them; numbers and dates without the
            // spaces around them.
            const bool text =
                Schema::kindOf(d.columns[c].column).value_or(ColumnKind::Text) == ColumnKind::Text;
            const QString raw = cells.value(fileColumn[c]);
            const QString cell = c == keyIndex ? row.key : text ? raw : raw.trimmed();
            try {
                row.values.set(
                    d.columns[c].column, cell, QString(),
                    d.emptyNumbers.value(d.columns[c].column, SqlRow::EmptyNumber::Null));
            } catch (const DbError&) {
                throw refuse(title,
                             QStringLiteral("\"%1\" is not a %2.")
                                 .arg(cell, Schema::kindOf(d.columns[c].column) == ColumnKind::Date
                                                ? QStringLiteral("date")
                                                : QStringLiteral("number")));
            }
            if (matches.isEmpty())
                continue;
            const Field now = kept->field(matches.first(), kept->columnIndex(d.columns[c].column));
            const Field then(row.values.value(d.columns[c].column), now.kind());
            const bool same =
                now.kind() == ColumnKind::Money || now.kind() == ColumnKind::Real
                    ? now.isNull() == then.isNull() && now.asCurrency() == then.asCurrency()
                    : now.asText() == then.asText();
            if (!same) {
                const auto shown = [](const Field& value) {
                    if (value.isNull() || value.asText().isEmpty())
                        return QStringLiteral("(empty)");
                    return value.kind() == ColumnKind::Money ? Csv::plainMoney(value.asCurrency())
                                                             : value.asText();
                };
                row.changes.append(
                    QStringLiteral("%1 %2 -> %3")
                        .arg(d.columns[c].titles.value(0, title), shown(now), shown(then)));
            }
        }
        if (matches.isEmpty()) {
            // A new row gets what New would put into the boxes the file leaves out.
            for (auto it = d.defaults.constBegin(); it != d.defaults.constEnd(); ++it)
                if (!row.values.has(it.key()))
                    row.values.set(it.key(), it.value());
            plan.adds.append(row);
        } else if (row.changes.isEmpty()) {
            ++plan.same;
        } else {
            row.rowKey = kept->rowKey(matches.first());
            plan.changes.append(row);
        }
    }
    return plan;
}

void CatalogueImport::write(const Plan& plan) const
{
    const Description& d = m_description;
    Transaction transaction(connection());
    for (const Row& row : plan.changes)
        if (KeyedRows::update(*connection(), row.values, row.rowKey) == 0)
            throw DbError(QStringLiteral("Row %1: the %2 %3 was removed meanwhile at another "
                                         "station. Nothing was imported.")
                              .arg(row.row)
                              .arg(d.noun, row.key));
    qint64 next = plan.adds.isEmpty() ? 0 : NumberClaim::next(*connection(), {d.table}, d.idColumn);
    for (const Row& row : plan.adds) {
        SqlRow added = row.values;
        try {
            next = NumberClaim::insert(*connection(), added, d.idColumn, next).number + 1;
        } catch (const DbError& e) {
            throw DbError(QStringLiteral("Row %1 (%2) could not be added: %3 Nothing was "
                                         "imported.")
                              .arg(row.row)
                              .arg(row.key, e.message()));
        }
    }
    transaction.commit();
}
