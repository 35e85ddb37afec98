#pragma once

#include "ui/common/HistoryWindow.h"

// Every invoice line of one part number, shown from the Parts window.
class TPartInvoiceHistory : public HistoryWindow
{
    Q_OBJECT

public:
    explicit TPartInvoiceHistory(QWidget* parent = nullptr);
};
