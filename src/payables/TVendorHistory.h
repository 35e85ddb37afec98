#pragma once

#include "ui/common/HistoryWindow.h"

// Every bill of one vendor, by the vendor's name.
class TVendorHistory : public HistoryWindow
{
    Q_OBJECT

public:
    explicit TVendorHistory(QWidget* parent = nullptr);
};
