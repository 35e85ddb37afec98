#pragma once

#include "ui/common/RecordWindow.h"

#include <functional>

class QLabel;

// The labor operations the shop sells, with what each has been invoiced for.
class TLabor : public RecordWindow
{
    Q_OBJECT

public:
    // Shows the invoice lines of an operation, for its description.
    using InvoiceHistory = std::function<void(const QString& description)>;

    explicit TLabor(InvoiceHistory invoiceHistory, QWidget* parent = nullptr);

protected:
    QStringList updateStatement(const Values& v) const override;
    QStringList insertStatement(const Values& v) const override;
    QStringList deleteStatement(const Values& v) const override;
    void computeFigures() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    InvoiceHistory m_invoiceHistory;
    QLabel* m_sale;
};
