#include "ui/documents/SalesDocument.h"

#include "data/DbError.h"
#include "data/Formats.h"
#include "data/Query.h"
#include "data/SqlLiteral.h"
#include "data/SqlRow.h"
#include "data/TDM.h"
#include "data/Transaction.h"
#include "printing/PreparedReport.h"
#include "printing/ReportEngine.h"
#include "printing/ReportLayout.h"
#include "ui/common/Prompter.h"

namespace {
void change(Query* query, const QStringList& statement)
{
    query->close();
    query->setSql(statement);
    query->exec();
}

void change(Query* query, const SqlStatement& statement)
{
    query->close();
    query->setSql(statement);
    query->exec();
}

std::unique_ptr<Query> opened(const QString& name, const QStringList& statement)
{
    std::unique_ptr<Query> query = SalesDocument::rows(name);
    query->setSql(statement);
    query->open();
    return query;
}

qint64 largest(const QString& table)
{
    const std::unique_ptr<Query> max =
        opened(QStringLiteral("Q1"), {"Select Max(InvoiceNo_Inv) From " + table});
    const Field value = max->field(QStringLiteral("Expr1000"));
    return value.isNull() ? 0 : value.asInteger();
}
} // namespace

namespace SalesDocument {

std::unique_ptr<Query> rows(const QString& name)
{
    return std::unique_ptr<Query>(DM->ownQuery(name, nullptr));
}

qint64 nextNumber(const SalesTables& tables)
{
    // Both read with an aggregate on the number's index, not by loading the documents.
    const qint64 own = largest(tables.header);
    return std::max(own, largest(tables.archiveHeader)) + 1;
}

void archive(const SalesTables& tables, const SqlRow& header, const QString& number,
             const QString& documentName)
{
    const QString n = Sql::integer(number);
    const QString refusal = QStringLiteral("\n\nNothing was archived: %1 %2 is unchanged.")
                                .arg(documentName.toLower(), n);
    Transaction transaction(DM);
    // An archived document is never replaced, nor are lines added to it.
    if (!opened(QStringLiteral("Q1"),
                {"Select InvoiceNo_Inv From " + tables.archiveHeader + " where InvoiceNo_Inv=" + n})
             ->isEmpty())
        throw DbError(QStringLiteral("The archive already holds a document numbered %1.").arg(n) +
                      refusal);
    try {
        const std::unique_ptr<Query> write = rows(QStringLiteral("Q2"));
        change(write.get(), header.insert());
        // The lines are copied row for row in the order the database keeps them, with their
        // values as stored.
        change(write.get(),
               {"Insert Into " + tables.archiveItems +
                    " ( Inv_Item, Name_Item, Mfg_Item, Qty_Item,Style_Item,Color_Item,Rate_Item,"
                    "Amount_Item )",
                " Select Inv_Item, Name_Item, Mfg_Item, Qty_Item, Style_Item, Color_Item,"
                " Rate_Item, Amount_Item From " +
                    tables.items + " where Inv_Item=" + n + " Order By rowid"});
        change(write.get(),
               {"Insert Into " + tables.archiveLabor +
                    " ( Inv_Labor,Description_Labor, PartNo_Labor, Qty_Labor, Rate_Labor,"
                    "Amount_Labor,Remark_Labor)",
                " Select Inv_Labor, Description_Labor, PartNo_Labor, Qty_Labor, Rate_Labor,"
                " Amount_Labor, Remark_Labor From " +
                    tables.labor + " where Inv_Labor=" + n + " Order By rowid"});
        // Money received goes with the document: what stays open reads as before.
        change(write.get(),
               {"Insert Into " + tables.archivePayments +
                    " ( InvoiceNo_Receivable, Name_Receivable, ViaPayment_Receivable,"
                    " PayDate_Receivable, Ref_Receivable, DepositTo_Receivable,"
                    " Amount_Receivable, Chart_Receivable, SubChart_Receivable,"
                    " Remark_Receivable )",
                " Select InvoiceNo_Receivable, Name_Receivable, ViaPayment_Receivable,"
                " PayDate_Receivable, Ref_Receivable, DepositTo_Receivable, Amount_Receivable,"
                " Chart_Receivable, SubChart_Receivable, Remark_Receivable From " +
                    tables.payments + " where InvoiceNo_Receivable=" + n + " Order By rowid"});
        change(write.get(),
               {"Delete From " + tables.payments + " where InvoiceNo_Receivable=" + n});
        change(write.get(), {"Delete  From " + tables.items + " where Inv_Item=" + n});
        change(write.get(), {"Delete  From " + tables.labor + " where Inv_Labor=" + n});
        change(write.get(), {"Delete  From " + tables.header + " where InvoiceNo_Inv=" + n});
        transaction.commit();
    } catch (const DbError& e) {
        throw DbError(e.message() + refusal);
    }
}

Payments payments(const SalesTables& tables, const QString& number)
{
    const std::unique_ptr<Query> sums = opened(
        QStringLiteral("Q1"), {"Select Count(*), Sum(Amount_Receivable) From " + tables.payments +
                               " where InvoiceNo_Receivable=" + Sql::integer(number)});
    return {int(sums->field(0, 0).asInteger()), sums->field(0, 1).asCurrency()};
}

std::optional<PreparedReport> prepare(const SalesTables& tables, const QString& documentName,
                                      const QString& number, SalesTotals::UncoveredMonth rule,
                                      const QString& layoutFile)
{
    if (number.trimmed().isEmpty())
        return std::nullopt;
    const QString n = Sql::integer(number);
    // Header, lines and tax are read for the same number, so that a printout never puts the
    // lines of one document under the header of another.
    const std::unique_ptr<Query> header = opened(
        QStringLiteral("Q2"), {"Select * From " + tables.header + " where InvoiceNo_Inv=" + n});
    if (header->isEmpty()) {
        Prompter::instance().inform(
            QStringLiteral("%1 %2 is not saved: save it before printing it.")
                .arg(documentName, number.trimmed()));
        return std::nullopt;
    }
    const std::unique_ptr<Query> parts =
        opened(QStringLiteral("Q3"),
               {"Select Name_Item,Qty_Item,Rate_Item,Amount_Item,Color_Item,Inv_Item From " +
                tables.items + " where Inv_Item =" + n});
    const std::unique_ptr<Query> labor =
        opened(QStringLiteral("Q4"),
               {"Select Description_Labor,PartNo_Labor,Qty_Labor,Rate_Labor,Amount_Labor "
                ",Remark_Labor,Inv_Labor From " +
                tables.labor + " where Inv_Labor=" + n});
    std::unique_ptr<Query> tax = rows(QStringLiteral("QTax"));
    SalesTotals::taxRow(
        tax.get(),
        Formats::parseShortDate(header->field(QStringLiteral("InvoiceDate_Inv")).asText()), rule);
    if (!tax->isOpen() || tax->isEmpty())
        tax = opened(QStringLiteral("QTax"), {QStringLiteral("Select 0 As Tax_T")});

    QString error;
    const std::optional<ReportLayout> layout = ReportLayout::fromFile(layoutFile, &error);
    if (!layout)
        throw DbError(error);
    const QHash<QString, const Query*> dataSets = {
        {QStringLiteral("frxDBDataset1"), header.get()},
        {QStringLiteral("frxDBDataset2"), parts.get()},
        {QStringLiteral("frxDBDataset3"), labor.get()},
        {QStringLiteral("frxDBDataset4"), tax.get()},
        {QStringLiteral("Reg"), DM->query(QStringLiteral("QReg1"))},
    };
    PreparedReport report = ReportEngine::prepare(*layout, dataSets);
    report.title = documentName + " " + number.trimmed();
    return report;
}

} // namespace SalesDocument
