#pragma once

#include "ui/common/RecordWindow.h"

class QLabel;

// Money paid into the shop's bank accounts, and the total of every deposit.
class TDeposit : public RecordWindow
{
    Q_OBJECT

public:
    explicit TDeposit(QWidget* parent = nullptr);

    static RecordDescription depositDescription();

    // Cancel reads the total again; the boxes keep what was typed.
    void cancel() override;

protected:
    void listLoaded() override;

private:
    void readTotal();

    QLabel* m_total = nullptr;
};
