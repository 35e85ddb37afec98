#pragma once

#include "ui/documents/PickerWindow.h"

// Finds a catalogue part and prices it for the part line that asked: catalogue price plus
// 20 %, with the highest and the last price this customer paid.
class TInvPartFind : public PickerWindow
{
    Q_OBJECT

public:
    explicit TInvPartFind(QWidget* parent = nullptr);

protected:
    QList<std::pair<QString, QString>> values(const Query& row, LineWindow& line) override;
    void picked(const Query& row, LineWindow& line) override;

private:
};
