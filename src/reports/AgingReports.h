#pragma once

#include "reports/ReportWindow.h"

// What the customers (or the vendors) owed on a day, each by how long it is past due: not yet
// due, 1-30, 31-60, 61-90 and over 90 days after the due date (the invoice or bill date
// without one), with the totals.
class TAgingReport : public ReportWindow
{
    Q_OBJECT

public:
    enum class Side
    {
        Receivables,
        Payables
    };

    TAgingReport(Side side, Preview preview, QWidget* parent = nullptr);

    static ReportDescription agingDescription(Side side);
    QHash<QString, QString> parameters() const override;

protected:
    void gather() override;

private:
    Side m_side;
};

// The customers' statements on a day: the chosen customer's, or every customer's who owes
// anything ("All"), each on sheets of its own with the shop's name and address from its
// profile, the open invoices, the aging buckets and the total due.
class TCustomerStatement : public ReportWindow
{
    Q_OBJECT

public:
    explicit TCustomerStatement(Preview preview, QWidget* parent = nullptr);

    static ReportDescription statementDescription();
    QHash<QString, QString> parameters() const override;

protected:
    void gather() override;
};
