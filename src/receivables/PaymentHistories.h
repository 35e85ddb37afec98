#pragma once

#include "ui/common/HistoryWindow.h"

class PaymentWindow;
class PreparedReport;

// The payments received under one invoice number, with a navigator that removes the payment
// shown as current. The invoice window's "Paid History" opens it on its number box; the
// estimate window's lists the payments of estimates (table EstimateReceivable).
class TInvoiceHistory : public HistoryWindow
{
    Q_OBJECT

public:
    explicit TInvoiceHistory(const QString& payments = QStringLiteral("Receivable"),
                             QWidget* parent = nullptr);
};

// The same list, opened from the payment window on its "Invoice" box, of the payments that
// window records.
class TReceivableHistory : public HistoryWindow
{
    Q_OBJECT

public:
    explicit TReceivableHistory(const QString& payments = QStringLiteral("Receivable"),
                                QWidget* parent = nullptr);

    // The invoice number is read from the payment window's box when the window is shown.
    void readFrom(PaymentWindow* opener);
};

// Every payment received, their total and a printout of the rows as the list shows them.
class TReceivableList : public HistoryWindow
{
    Q_OBJECT

public:
    using Preview = std::function<void(const PreparedReport&)>;
    explicit TReceivableList(Preview preview, QWidget* parent = nullptr);

    // The printout of the rows the list shows, in their order.
    static PreparedReport prepareReport(const Query* rows);
};

// Every invoice, to pick the one a payment is for; the pick goes into the payment window that
// opened the finder, and nowhere once that window has closed.
class TReceivableFind : public HistoryWindow
{
    Q_OBJECT

public:
    explicit TReceivableFind(PaymentWindow* opener, QWidget* parent = nullptr);
};
