#pragma once

#include "ui/common/RecordWindow.h"

#include <functional>

class QLabel;
class Query;

// The labor operations the shop sells, with what each has been invoiced for.
class TLabor : public RecordWindow
{
    Q_OBJECT

public:
    // Shows the invoice lines of an operation, for its description.
    using InvoiceHistory = std::function<void(const QString& description)>;

    explicit TLabor(InvoiceHistory invoiceHistory, QWidget* parent = nullptr);

protected:
    void computeFigures() override;

private:
    InvoiceHistory m_invoiceHistory;
    QLabel* m_sale;
};
