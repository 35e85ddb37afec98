#pragma once

#include "ui/common/HistoryWindow.h"

class PaymentWindow;
class PreparedReport;

// Every bill, to pick the one a payment is for; the pick goes into the payment window that
// opened the finder, and nowhere once that window has closed.
class TFindPayable : public HistoryWindow
{
    Q_OBJECT

public:
    explicit TFindPayable(PaymentWindow* opener, QWidget* parent = nullptr);
};

// The payments made on one bill, by the bill window's reference.
class TPayableHistory : public HistoryWindow
{
    Q_OBJECT

public:
    explicit TPayableHistory(QWidget* parent = nullptr);
};

// Every payment made, their total and a printout of the rows as the list shows them.
class TPayableList : public HistoryWindow
{
    Q_OBJECT

public:
    using Preview = std::function<void(const PreparedReport&)>;
    explicit TPayableList(Preview preview, QWidget* parent = nullptr);

    static PreparedReport prepareReport(const Query* rows);
};
