#pragma once

#include "ui/documents/LineWindow.h"

// The part lines of one vendor bill: what was bought.
class TBillPart : public LineWindow
{
    Q_OBJECT

public:
    explicit TBillPart(LineOwnerRef bill, QWidget* parent = nullptr);

    static LineDescription lineDescription();
};

// The expense lines of one vendor bill: costs that are not catalogue parts.
class TBillExpense : public LineWindow
{
    Q_OBJECT

public:
    explicit TBillExpense(LineOwnerRef bill, QWidget* parent = nullptr);

    static LineDescription lineDescription();
};
