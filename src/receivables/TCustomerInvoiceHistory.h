#pragma once

#include "ui/common/HistoryWindow.h"

// Every invoice written for one customer, by the customer's name.
class TCustomerInvoiceHistory : public HistoryWindow
{
    Q_OBJECT

public:
    explicit TCustomerInvoiceHistory(QWidget* parent = nullptr);
};
