#pragma once

#include "invoicing/PickerWindow.h"

// Finds a labor operation by its description for the labor line created last.
class TInvLaborFind : public PickerWindow
{
    Q_OBJECT

public:
    explicit TInvLaborFind(QWidget* parent = nullptr);

protected:
    bool copyRow() override;
};
