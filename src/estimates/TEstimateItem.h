#pragma once

#include "ui/documents/LineWindow.h"

// The part lines of one estimate.
class TEstimateItem : public LineWindow
{
    Q_OBJECT

public:
    explicit TEstimateItem(LineOwnerRef estimate, QWidget* parent = nullptr);

    static LineDescription lineDescription();
};
