#pragma once

#include "reports/ReportWindow.h"

// The period's totals of parts sold, labor sold, sales tax on parts and parts ordered from
// vendors, over the invoices dated in the period.
class TTotalAmountReport : public ReportWindow
{
    Q_OBJECT

public:
    explicit TTotalAmountReport(Preview preview, QWidget* parent = nullptr);

    static ReportDescription totalAmountDescription();

protected:
    void gather() override;
};

// The same totals over the invoices finished in the period: paid in it and not after it. They
// are added up invoice by invoice in the work tables TotalLabor, TotalItem and TotalTax, each
// invoice's tax at the rate of its own year.
class TTotalReceivable : public ReportWindow
{
    Q_OBJECT

public:
    explicit TTotalReceivable(Preview preview, QWidget* parent = nullptr);

    static ReportDescription totalReceivableDescription();

protected:
    void gather() override;
};
