#include "payables/PayableLists.h"

#include "data/Query.h"
#include "printing/PreparedReport.h"
#include "printing/ReportEngine.h"
#include "stores/BillStore.h"
#include "stores/PaymentStore.h"
#include "ui/common/PaymentWindow.h"

#include <QPointer>

namespace {
HistoryDescription billFinder(QPointer<PaymentWindow> opener)
{
    HistoryDescription d;
    d.caption = QStringLiteral("FindPayable");
    d.statement = [](const QString&) { return BillStore::bills(); };
    d.initialSort = QStringLiteral("Ref_Bill");
    d.titleSort = true;
    d.sortable = {"Ref_Bill", "Vendor_Bill"};
    d.pick = [opener](const Query* row) {
        if (!opener)
            return;
        auto value = [row](const char* column) {
            return row->field(QString::fromLatin1(column)).asText();
        };
        // The bill is looked up as typing its reference would: what is still owed on it is
        // proposed.
        opener->setDocument(value("Ref_Bill"));
        opener->setText(QStringLiteral("Name_Payable"), value("Vendor_Bill"));
        opener->setText(QStringLiteral("Chart_Payable"), value("Chart_Bill"));
        opener->setText(QStringLiteral("SubChart_Payable"), value("SubChart_Bill"));
        opener->showDocumentFigures(value("Vendor_Bill"), value("Amount_Bill"));
    };
    return d;
}

HistoryDescription billPayments()
{
    HistoryDescription d;
    d.caption = QStringLiteral("PayableHistory");
    d.heading = d.caption;
    d.statement = [](const QString& bill) { return PaymentStore::paidOn(bill); };
    d.titles = {"Inv#", "Name", "Via Pay", "Pay Date", "Ref", "Amount $", "Chart", "Sub Chart"};
    d.navigator = true;
    return d;
}

HistoryDescription payableList(TPayableList::Preview preview)
{
    HistoryDescription d;
    d.caption = QStringLiteral("PayableList");
    d.heading = d.caption;
    d.statement = [](const QString&) { return PaymentStore::paid(); };
    d.titles = {"Inv#", "Name", "Via Pay", "Pay Date", "Ref", "Amount $", "Chart"};
    // Payments to vendors are only ever added: the navigator has no delete.
    d.navigator = true;
    d.titleSort = true;
    d.total = HistoryDescription::Total{"Total Paid $", "Label2",
                                        [] { return PaymentStore().paidSum(); }};
    if (preview)
        d.print = [preview](const Query* rows) { preview(TPayableList::prepareReport(rows)); };
    return d;
}
} // namespace

TFindPayable::TFindPayable(PaymentWindow* opener, QWidget* parent)
    : HistoryWindow(billFinder(opener), parent)
{
    setSource([] { return std::optional<QString>(QString()); });
}

TPayableHistory::TPayableHistory(QWidget* parent)
    : HistoryWindow(billPayments(), parent)
{}

TPayableList::TPayableList(Preview preview, QWidget* parent)
    : HistoryWindow(payableList(std::move(preview)), parent)
{
    setSource([] { return std::optional<QString>(QString()); });
}

PreparedReport TPayableList::prepareReport(const Query* rows)
{
    PreparedReport report =
        ReportEngine::prepareFile(QStringLiteral(":/payables/layouts/payable-list.json"),
                                  {{QStringLiteral("frxDBDataset1PayAble"), rows}});
    report.title = QStringLiteral("Payable List");
    return report;
}
