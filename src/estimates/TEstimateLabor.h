#pragma once

#include "ui/documents/LineWindow.h"

// The labor lines of one estimate.
class TEstimateLabor : public LineWindow
{
    Q_OBJECT

public:
    explicit TEstimateLabor(LineOwnerRef estimate, QWidget* parent = nullptr);

    static LineDescription lineDescription();
};
