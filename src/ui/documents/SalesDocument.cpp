#include "ui/documents/SalesDocument.h"

#include "data/DbError.h"
#include "data/Formats.h"
#include "data/Query.h"
#include "data/SqlRow.h"
#include "data/TDM.h"
#include "data/Transaction.h"
#include "printing/PreparedReport.h"
#include "printing/ReportEngine.h"
#include "printing/ReportLayout.h"
#include "ui/common/Prompter.h"

namespace SalesDocument {

qint64 nextNumber(const SalesTables& tables)
{
    return SalesStore().largestNumber(tables) + 1;
}

void archive(const SalesTables& tables, const SqlRow& header, const QString& number,
             const QString& documentName)
{
    const qint64 n = Formats::wholeNumber(number);
    try {
        SalesStore().archive(tables, header, n);
    } catch (const DbError& e) {
        throw DbError(e.message() + QStringLiteral("\n\nNothing was archived: %1 %2 is unchanged.")
                                        .arg(documentName.toLower())
                                        .arg(n));
    }
}

Payments payments(const SalesTables& tables, const QString& number)
{
    return SalesStore().payments(tables, Formats::wholeNumber(number));
}

std::optional<PreparedReport> prepare(const SalesTables& tables, const QString& documentName,
                                      const QString& number, SalesTotals::UncoveredMonth rule,
                                      const QString& layoutFile)
{
    if (number.trimmed().isEmpty())
        return std::nullopt;
    const qint64 n = Formats::wholeNumber(number);
    // Header, lines and tax are read for the same number, so that a printout never puts the
    // lines of one document under the header of another.
    const SalesStore store;
    auto query = [&store](const char* name) {
        return std::make_unique<Query>(QString::fromLatin1(name), store.connection());
    };
    const std::unique_ptr<Query> header = query("Header");
    store.header(*header, tables, n);
    if (header->isEmpty()) {
        Prompter::instance().inform(
            QStringLiteral("%1 %2 is not saved: save it before printing it.")
                .arg(documentName, number.trimmed()));
        return std::nullopt;
    }
    const std::unique_ptr<Query> parts = query("Parts");
    store.printedParts(*parts, tables, n);
    const std::unique_ptr<Query> labor = query("Labor");
    store.printedLabor(*labor, tables, n);
    const std::unique_ptr<Query> tax = query("QTax");
    SalesTotals::taxRow(
        tax.get(),
        Formats::parseShortDate(header->field(QStringLiteral("InvoiceDate_Inv")).asText()), rule);
    if (!tax->isOpen() || tax->isEmpty())
        store.noTax(*tax);

    QString error;
    const std::optional<ReportLayout> layout = ReportLayout::fromFile(layoutFile, &error);
    if (!layout)
        throw DbError(error);
    const QHash<QString, const Query*> dataSets = {
        {QStringLiteral("frxDBDataset1"), header.get()},
        {QStringLiteral("frxDBDataset2"), parts.get()},
        {QStringLiteral("frxDBDataset3"), labor.get()},
        {QStringLiteral("frxDBDataset4"), tax.get()},
        {QStringLiteral("Reg"), DM->profile()},
    };
    PreparedReport report = ReportEngine::prepare(*layout, dataSets);
    report.title = documentName + " " + number.trimmed();
    return report;
}

} // namespace SalesDocument
