#pragma once

#include "invoicing/PickerWindow.h"

// Finds a catalogue part by its description and prices it for the part line created last:
// catalogue price plus 20 %, with the highest and the last price this customer paid.
class TInvPartFind : public PickerWindow
{
    Q_OBJECT

public:
    explicit TInvPartFind(QWidget* parent = nullptr);

protected:
    bool copyRow() override;
};
