#pragma once

#include "invoicing/LineWindow.h"

// The labor lines of one invoice.
class TInvLabor : public LineWindow
{
    Q_OBJECT

public:
    TInvLabor(DocumentWindow* invoice, std::function<void()> showPicker, QWidget* parent = nullptr);

protected:
    QStringList existsStatement(const Values& v) const override;
    QStringList updateStatement(const Values& v) const override;
    QStringList insertStatement(const Values& v) const override;
    QStringList deleteStatement(const Values& v) const override;
    void giveBack(DocumentWindow* invoice) override;
};
