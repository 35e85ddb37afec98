#pragma once

#include "ui/common/HistoryWindow.h"

// Every invoice labor line of one operation, shown from the Labor window.
class TLaborInvoiceHistory : public HistoryWindow
{
    Q_OBJECT

public:
    explicit TLaborInvoiceHistory(QWidget* parent = nullptr);
};
