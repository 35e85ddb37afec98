#include "app/Tasks.h"

#include "app/TMainForm.h"
#include "masters/TPart.h"
#include "purchasing/TPartOrderHistory.h"
#include "receivables/TPartInvoiceHistory.h"

#include <QPointer>

LongLivedWindows::LongLivedWindows()
    : partOrderHistory(std::make_unique<TPartOrderHistory>())
    , partInvoiceHistory(std::make_unique<TPartInvoiceHistory>())
{}

LongLivedWindows::~LongLivedWindows() = default;

void registerTasks(TMainForm& mainForm, LongLivedWindows& windows)
{
    // A button left without a window stays disabled and says so in its hint.
    QPointer<TPartOrderHistory> orders = windows.partOrderHistory.get();
    QPointer<TPartInvoiceHistory> invoices = windows.partInvoiceHistory.get();
    mainForm.setTaskWindow(QStringLiteral("SpeedButton1"), [orders, invoices] {
        TPart::Links links;
        links.orderHistory = [orders](const QString& partNo) {
            if (orders)
                orders->showFor(partNo);
        };
        links.invoiceHistory = [invoices](const QString& partNo) {
            if (invoices)
                invoices->showFor(partNo);
        };
        return new TPart(links);
    });
}
