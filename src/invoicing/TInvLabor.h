#pragma once

#include "ui/documents/LineWindow.h"

// The labor lines of one invoice.
class TInvLabor : public LineWindow
{
    Q_OBJECT

public:
    explicit TInvLabor(LineOwnerRef invoice, QWidget* parent = nullptr);
};
