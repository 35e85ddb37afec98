#pragma once

#include "ui/documents/PickerWindow.h"

// Finds a catalogue part for a purchase-order line, at the catalogue price.
class TLaborFind : public PickerWindow
{
    Q_OBJECT

public:
    explicit TLaborFind(QWidget* parent = nullptr);

protected:
    QList<std::pair<QString, QString>> values(const Query& row, LineWindow& line) override;
};
