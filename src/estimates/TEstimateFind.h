#pragma once

#include "ui/documents/PickerWindow.h"

// Finds a catalogue part for an estimate's part line, at the selling price (catalogue price
// plus the markup).
class TEstimatePartFind : public PickerWindow
{
    Q_OBJECT

public:
    explicit TEstimatePartFind(QWidget* parent = nullptr);

protected:
    QList<std::pair<QString, QString>> values(const Query& row, LineWindow& line) override;
};

// Finds a labor operation for an estimate's labor line.
class TEstimateLaborFind : public PickerWindow
{
    Q_OBJECT

public:
    explicit TEstimateLaborFind(QWidget* parent = nullptr);

protected:
    QList<std::pair<QString, QString>> values(const Query& row, LineWindow& line) override;
};
