#pragma once

#include "reports/ReportWindow.h"

// The invoices finished in a period, payment by payment: they received a payment in the period
// and none after it. Every payment of such an invoice is listed, also those before the period.
class TFinishedInvoiceReport : public ReportWindow
{
    Q_OBJECT

public:
    explicit TFinishedInvoiceReport(Preview preview, QWidget* parent = nullptr);

    static ReportDescription finishedDescription();

protected:
    void gather() override;
};

// The invoices dated in a period that are open (or paid), each with what it received so far
// and its balance.
class TOpenInvoice : public ReportWindow
{
    Q_OBJECT

public:
    explicit TOpenInvoice(Preview preview, QWidget* parent = nullptr);

    static ReportDescription openDescription();

protected:
    void gather() override;
};
