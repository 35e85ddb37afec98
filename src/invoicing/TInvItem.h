#pragma once

#include "ui/documents/LineWindow.h"

// The part lines of one invoice.
class TInvItem : public LineWindow
{
    Q_OBJECT

public:
    explicit TInvItem(LineOwnerRef invoice, QWidget* parent = nullptr);

    // The customer the invoice is for, as it was when the window opened.
    QString customerName() const { return fact(1); }
    // The highest and the last price the customer paid for the part ("Max:", "Last:").
    void setPriceHistory(const QString& highest, const QString& last);

private:
    QLabel* m_highest;
    QLabel* m_last;
};
