#pragma once

#include "reports/ReportWindow.h"

// Lists printed straight from the rows of the period and the filters, without work tables;
// the rows come in the order the database returns them.

// Payments made to vendors.
class TReportPayable : public ReportWindow
{
    Q_OBJECT

public:
    explicit TReportPayable(Preview preview, QWidget* parent = nullptr);
    static ReportDescription payableDescription();

protected:
    void gather() override;
};

// Payments received from customers.
class TReportReceivable : public ReportWindow
{
    Q_OBJECT

public:
    explicit TReportReceivable(Preview preview, QWidget* parent = nullptr);
    static ReportDescription receivableDescription();

protected:
    void gather() override;
};

// Purchase orders with their lines, order by order.
class TReportVendor1 : public ReportWindow
{
    Q_OBJECT

public:
    explicit TReportVendor1(Preview preview, QWidget* parent = nullptr);
    static ReportDescription vendorDescription();

protected:
    void gather() override;
};

// Purchase-order lines whose part name holds the "Part" text, order by order.
class TReportItems : public ReportWindow
{
    Q_OBJECT

public:
    explicit TReportItems(Preview preview, QWidget* parent = nullptr);
    static ReportDescription itemsDescription();

protected:
    void gather() override;
};

// Invoices with their part lines, or with "Type" other than "Parts" their labor lines.
class TReportCustomer : public ReportWindow
{
    Q_OBJECT

public:
    explicit TReportCustomer(Preview preview, QWidget* parent = nullptr);
    static ReportDescription customerDescription();

protected:
    void gather() override;
    QString layoutFile() const override;

private:
    bool parts() const;
};
