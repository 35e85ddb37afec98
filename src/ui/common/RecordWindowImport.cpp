// A catalogue window's Import...: a spreadsheet's CSV file read into its table.

#include "data/Csv.h"
#include "data/DbError.h"
#include "stores/CatalogueImport.h"
#include "ui/common/Guard.h"
#include "ui/common/OutputFiles.h"
#include "ui/common/Prompter.h"
#include "ui/common/RecordWindow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
CatalogueImport::Description importOf(const RecordDescription& d)
{
    CatalogueImport::Description import;
    import.table = d.table;
    import.keyColumn = d.import->keyColumn;
    import.idColumn = d.import->idColumn;
    import.noun = d.import->noun;
    import.nouns = d.import->nouns;
    // Every box but the number the import gives, known by its caption and the list's titles.
    const QStringList listed = d.listStatement.columns.split(QLatin1Char(','));
    for (const RecordBox& box : d.boxes) {
        if (box.column == import.idColumn)
            continue;
        CatalogueImport::Column column{box.column, {box.label.trimmed()}};
        for (const std::optional<QStringList>& titles :
             {std::optional<QStringList>(d.titles), d.showTitles, d.refreshTitles,
              d.cancelTitles}) {
            if (!titles)
                continue;
            for (int i = 0; i < listed.size() && i < titles->size(); ++i)
                if (listed[i].trimmed() == box.column)
                    column.titles.append(titles->at(i));
        }
        import.columns.append(column);
        if (Schema::kindOf(box.column) == ColumnKind::Money)
            import.emptyNumbers.insert(box.column, SqlRow::EmptyNumber::Zero);
    }
    import.defaults = d.newDefaults;
    return import;
}
} // namespace

void RecordWindow::importFile()
{
    const QString file = Prompter::instance().chooseFile(
        {QStringLiteral("Import %1 from a CSV file").arg(m_description.import->nouns),
         proposedFile(m_description.title, QStringLiteral("csv")),
         QStringLiteral("CSV files (*.csv);;All files (*)"), false});
    rememberFolder(file);
    if (!file.isEmpty())
        guard([&] { importFrom(file); });
}

bool RecordWindow::importFrom(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("The file %1 cannot be read: %2")
                          .arg(QDir::toNativeSeparators(fileName), file.errorString()));
    Csv::Table table;
    try {
        table = Csv::parse(file.readAll());
    } catch (const DbError& e) {
        throw DbError(QStringLiteral("%1 is not a CSV file that can be read. %2 Nothing was "
                                     "imported.")
                          .arg(QFileInfo(fileName).fileName(), e.message()));
    }
    const CatalogueImport import(importOf(m_description));
    const CatalogueImport::Plan plan = import.plan(table, QFileInfo(fileName).fileName());
    if (plan.adds.isEmpty() && plan.changes.isEmpty()) {
        Prompter::instance().inform(
            QStringLiteral("%1 holds nothing to add or change: its %2 rows are in the %3 "
                           "already as they are.")
                .arg(QFileInfo(fileName).fileName())
                .arg(plan.same)
                .arg(m_description.title));
        return false;
    }
    if (!Prompter::instance().confirm(plan.question(import.description())))
        return false;
    import.write(plan);
    refresh();
    imported();
    Prompter::instance().inform(QStringLiteral("Imported into %1: %2 added, %3 changed.")
                                    .arg(m_description.title)
                                    .arg(plan.adds.size())
                                    .arg(plan.changes.size()));
    return true;
}
