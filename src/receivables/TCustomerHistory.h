#pragma once

#include "ui/common/HistoryWindow.h"

// Every payment received from one customer, by the customer's name.
class TCustomerHistory : public HistoryWindow
{
    Q_OBJECT

public:
    explicit TCustomerHistory(QWidget* parent = nullptr);
};
