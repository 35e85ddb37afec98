#pragma once

#include "ui/common/HistoryWindow.h"

// Every purchase-order line of one part number, shown from the Parts window.
class TPartOrderHistory : public HistoryWindow
{
    Q_OBJECT

public:
    explicit TPartOrderHistory(QWidget* parent = nullptr);
};
