#pragma once

#include "ui/documents/PickerWindow.h"

// Finds a labor operation by its description for the labor line that asked.
class TInvLaborFind : public PickerWindow
{
    Q_OBJECT

public:
    explicit TInvLaborFind(QWidget* parent = nullptr);

protected:
    QList<std::pair<QString, QString>> values(const Query& row, LineWindow& line) override;
};
