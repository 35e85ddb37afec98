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
    // Deposits have no key: a deposit is saved once it has a date, and deleted once the row
    // chosen names the account it went to.
    QString neededForSave() const override { return QStringLiteral("Date_Dep"); }
    QString neededForDelete() const override { return QStringLiteral("DepositTo_Dep"); }

private:
    void readTotal();

    QLabel* m_total = nullptr;
};
