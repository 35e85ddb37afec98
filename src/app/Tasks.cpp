#include "app/Tasks.h"

#include "app/TMainForm.h"
#include "banking/TBank.h"
#include "banking/TDeposit.h"
#include "estimates/TEstimate.h"
#include "estimates/TEstimateFind.h"
#include "invoicing/TInvLaborFind.h"
#include "invoicing/TInvPartFind.h"
#include "invoicing/TInvoice.h"
#include "masters/TCompany.h"
#include "masters/TCustomer.h"
#include "masters/TEmployee.h"
#include "masters/TLabor.h"
#include "masters/TPart.h"
#include "masters/TProfile.h"
#include "masters/TTax.h"
#include "payables/TBill.h"
#include "payables/TPayable.h"
#include "printing/PreviewWindow.h"
#include "purchasing/TLaborFind.h"
#include "purchasing/TPartOrderHistory.h"
#include "purchasing/TPoOrder.h"
#include "receivables/PaymentHistories.h"
#include "receivables/TLaborInvoiceHistory.h"
#include "receivables/TPartInvoiceHistory.h"
#include "receivables/TReceivable.h"
#include "reports/TReport.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

LongLivedWindows::LongLivedWindows()
    : invLaborFind(std::make_unique<TInvLaborFind>())
    , invPartFind(std::make_unique<TInvPartFind>())
    , laborFind(std::make_unique<TLaborFind>())
    , partOrderHistory(std::make_unique<TPartOrderHistory>())
    , partInvoiceHistory(std::make_unique<TPartInvoiceHistory>())
    , estimateLaborFind(std::make_unique<TEstimateLaborFind>())
    , estimatePartFind(std::make_unique<TEstimatePartFind>())
    , laborInvoiceHistory(std::make_unique<TLaborInvoiceHistory>())
{}

LongLivedWindows::~LongLivedWindows() = default;

namespace {
// Shows the long-lived window modally for a value, as long as it still exists.
template<class Window>
std::function<void(const QString&)> showing(Window* window)
{
    QPointer<Window> target = window;
    return [target](const QString& value) {
        if (target)
            target->showFor(value);
    };
}
} // namespace

void registerTasks(TMainForm& mainForm, LongLivedWindows& windows)
{
    // A button left without a window stays disabled and says so in its hint.
    QPointer<TMainForm> frame = &mainForm;
    const ChildOpener openChild = [frame](QWidget* window) {
        if (frame)
            frame->addChild(window);
        else
            delete window;
    };
    const TPart::Links partLinks{showing(windows.partOrderHistory.get()),
                                 showing(windows.partInvoiceHistory.get())};
    const TLabor::InvoiceHistory laborHistory = showing(windows.laborInvoiceHistory.get());

    mainForm.setTaskWindow(QStringLiteral("SpeedButton1"),
                           [partLinks] { return new TPart(partLinks); });
    mainForm.setTaskWindow(QStringLiteral("SpeedButton2"),
                           [openChild] { return new TCompany(openChild); });
    mainForm.setTaskWindow(QStringLiteral("SpeedButton9"),
                           [openChild] { return new TCustomer(openChild); });
    mainForm.setTaskWindow(QStringLiteral("SpeedButton5"), [] { return new TEmployee; });
    mainForm.setTaskWindow(QStringLiteral("SpeedButton4"),
                           [laborHistory] { return new TLabor(laborHistory); });
    mainForm.setTaskWindow(QStringLiteral("SpeedButton16"), [] { return new TTax; });
    mainForm.setTaskWindow(QStringLiteral("SpeedButton17"), [] { return new TProfile; });
    QPointer<TInvPartFind> partPicker = windows.invPartFind.get();
    QPointer<TInvLaborFind> laborPicker = windows.invLaborFind.get();
    const auto preview = [frame](const PreparedReport& report) {
        PreviewWindow::showReport(report, frame);
    };
    const TReceivable::Links paymentLinks{openChild, preview};
    mainForm.setTaskWindow(QStringLiteral("SpeedButton14"), [] { return new TBank; });
    mainForm.setTaskWindow(QStringLiteral("SpeedButton13"), [] { return new TDeposit; });
    const TPayable::Links payableLinks{openChild, preview};
    mainForm.setTaskWindow(QStringLiteral("SpeedButton11"),
                           [payableLinks] { return new TPayable(payableLinks); });
    QPointer<TLaborFind> orderPicker = windows.laborFind.get();
    // Bill part lines find their parts as order lines do, at the catalogue price.
    const TBill::Links billLinks{openChild, preview, [orderPicker](LineWindow* line) {
                                     if (orderPicker)
                                         orderPicker->showFor(line);
                                 }};
    mainForm.setTaskWindow(QStringLiteral("SpeedButton7"),
                           [billLinks] { return new TBill(billLinks); });
    const TPoOrder::Links orderLinks{openChild,
                                     [orderPicker](LineWindow* line) {
                                         if (orderPicker)
                                             orderPicker->showFor(line);
                                     },
                                     preview};
    mainForm.setTaskWindow(QStringLiteral("SpeedButton10"),
                           [orderLinks] { return new TPoOrder(orderLinks); });
    const TReport::Links reportLinks{openChild, preview};
    mainForm.setTaskWindow(QStringLiteral("SpeedButton3"),
                           [reportLinks] { return new TReport(reportLinks); });
    mainForm.setTaskWindow(QStringLiteral("SpeedButton12"),
                           [paymentLinks] { return new TReceivable(paymentLinks); });
    TInvoice::Links invoiceLinks{openChild,
                                 [partPicker](LineWindow* line) {
                                     if (partPicker)
                                         partPicker->showFor(line);
                                 },
                                 [laborPicker](LineWindow* line) {
                                     if (laborPicker)
                                         laborPicker->showFor(line);
                                 },
                                 preview};
    // A payment form opened from a document starts on the document's number.
    invoiceLinks.payment = [paymentLinks](const QString& number) {
        auto* window = new TReceivable(paymentLinks);
        window->setDocument(number);
        paymentLinks.openChild(window);
    };
    invoiceLinks.paidHistory = [openChild](RecordWindow* opener, const QString& column) {
        auto* window = new TInvoiceHistory;
        window->readFrom(opener, column);
        openChild(window);
    };
    mainForm.setTaskWindow(QStringLiteral("SpeedButton6"),
                           [invoiceLinks] { return new TInvoice(invoiceLinks); });

    QPointer<TEstimatePartFind> estimateParts = windows.estimatePartFind.get();
    QPointer<TEstimateLaborFind> estimateLabor = windows.estimateLaborFind.get();
    TEstimate::Links estimateLinks = invoiceLinks;
    estimateLinks.partPicker = [estimateParts](LineWindow* line) {
        if (estimateParts)
            estimateParts->showFor(line);
    };
    estimateLinks.laborPicker = [estimateLabor](LineWindow* line) {
        if (estimateLabor)
            estimateLabor->showFor(line);
    };
    // A payment under an estimate's number shows the estimate's customer and amount.
    estimateLinks.payment = [paymentLinks](const QString& number) {
        auto* window = new TReceivable(paymentLinks, QStringLiteral("Estimate"));
        window->setDocument(number);
        paymentLinks.openChild(window);
    };
    // The payments taken on the estimate, never those of the invoice with its number.
    estimateLinks.paidHistory = [openChild](RecordWindow* opener, const QString& column) {
        auto* window = new TInvoiceHistory(QStringLiteral("EstimateReceivable"));
        window->readFrom(opener, column);
        openChild(window);
    };
    // An estimate made into an invoice: the estimate window gives way to the invoice window on
    // the new invoice (a document window is the only child window when it opens).
    estimateLinks.openInvoice = [frame, invoiceLinks](qint64 number) {
        if (!frame)
            return;
        for (QMdiSubWindow* sub : frame->mdiArea()->subWindowList())
            if (qobject_cast<TEstimate*>(sub->widget()))
                sub->close();
        auto* invoice = new TInvoice(invoiceLinks);
        frame->addChild(invoice);
        invoice->showDocument(number);
    };
    mainForm.setTaskWindow(QStringLiteral("SpeedButton15"),
                           [estimateLinks] { return new TEstimate(estimateLinks); });
}
