#include "receivables/PaymentHistories.h"

#include "data/Formats.h"
#include "data/Query.h"
#include "data/SqlSelect.h"
#include "printing/PreparedReport.h"
#include "printing/ReportEngine.h"
#include "stores/PaymentStore.h"
#include "ui/common/PaymentWindow.h"

#include <QPointer>

namespace {
const QStringList paymentTitles{"Inv#", "Name",       "Via Pay", "Pay Date",
                                "Ref",  "Deposit To", "Amount $"};

// The payments in table under one document number; an empty number shows none.
HistoryDescription paymentsOf(const QString& caption, const QString& table)
{
    HistoryDescription d;
    d.caption = caption;
    d.heading = caption;
    d.statement = [table](const QString& number) -> std::optional<TableRead> {
        if (number.trimmed().isEmpty())
            return std::nullopt;
        return PaymentStore::receivedOn(table,
                                        Formats::wholeNumber(number, QStringLiteral("Invoice")));
    };
    d.titles = paymentTitles;
    d.navigator = true;
    d.deleteFrom = table;
    return d;
}
} // namespace

TInvoiceHistory::TInvoiceHistory(const QString& payments, QWidget* parent)
    : HistoryWindow(paymentsOf(QStringLiteral("InvoiceHistory"), payments), parent)
{}

TReceivableHistory::TReceivableHistory(const QString& payments, QWidget* parent)
    : HistoryWindow(paymentsOf(QStringLiteral("ReceivableHistory"), payments), parent)
{}

void TReceivableHistory::readFrom(PaymentWindow* opener)
{
    QPointer<PaymentWindow> source = opener;
    setSource([source]() -> std::optional<QString> {
        if (!source)
            return std::nullopt;
        return source->text(source->description().documentColumn);
    });
}

namespace {
HistoryDescription receivableList(TReceivableList::Preview preview)
{
    HistoryDescription d;
    d.caption = QStringLiteral("ReceivableList");
    d.heading = d.caption;
    d.statement = [](const QString&) { return PaymentStore::received(); };
    d.titles = paymentTitles;
    d.navigator = true;
    d.deleteFrom = QStringLiteral("Receivable");
    d.titleSort = true;
    d.total = HistoryDescription::Total{"Total Receivable", "Label2",
                                        [] { return PaymentStore().receivedSum(); }};
    if (preview)
        d.print = [preview](const Query* rows) { preview(TReceivableList::prepareReport(rows)); };
    return d;
}
} // namespace

TReceivableList::TReceivableList(Preview preview, QWidget* parent)
    : HistoryWindow(receivableList(std::move(preview)), parent)
{
    // Every payment, read when the list is first shown.
    setSource([] { return std::optional<QString>(QString()); });
}

PreparedReport TReceivableList::prepareReport(const Query* rows)
{
    PreparedReport report =
        ReportEngine::prepareFile(QStringLiteral(":/receivables/layouts/receivable-list.json"),
                                  {{QStringLiteral("frxDBDataset1"), rows}});
    report.title = QStringLiteral("Receivable List");
    return report;
}

namespace {
HistoryDescription invoiceFinder(QPointer<PaymentWindow> opener)
{
    HistoryDescription d;
    d.caption = QStringLiteral("ReceivableFind");
    // The documents the payment form looks numbers up in: invoices, or estimates for a form
    // opened from an estimate.
    const QString documents =
        opener ? opener->description().documentTable : QStringLiteral("Invoice");
    d.statement = [documents](const QString&) { return SqlSelect::all(documents); };
    d.initialSort = QStringLiteral("InvoiceNo_Inv");
    d.titleSort = true;
    d.sortable = {"InvoiceNo_Inv", "CustomerName_Inv"};
    d.pick = [opener](const Query* row) {
        if (!opener)
            return;
        const QString party = row->field(QStringLiteral("CustomerName_Inv")).asText();
        const QString amount = row->field(QStringLiteral("Amount_Inv")).asText();
        opener->setDocument(row->field(QStringLiteral("InvoiceNo_Inv")).asText());
        opener->setText(QStringLiteral("Name_Receivable"), party);
        opener->showDocumentFigures(party, amount);
    };
    return d;
}
} // namespace

TReceivableFind::TReceivableFind(PaymentWindow* opener, QWidget* parent)
    : HistoryWindow(invoiceFinder(opener), parent)
{
    setSource([] { return std::optional<QString>(QString()); });
}
