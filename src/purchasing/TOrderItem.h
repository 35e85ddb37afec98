#pragma once

#include "ui/documents/LineWindow.h"

// The lines of one purchase order: the parts ordered, their quantities and prices.
class TOrderItem : public LineWindow
{
    Q_OBJECT

public:
    explicit TOrderItem(LineOwnerRef order, QWidget* parent = nullptr);

    static LineDescription lineDescription();
};
