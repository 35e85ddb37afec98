#pragma once

#include "ui/documents/DocumentWindow.h"

// The repair estimate: the invoice's twin, quoting a job before it is done.
class TEstimate : public DocumentWindow
{
    Q_OBJECT

public:
    explicit TEstimate(Links links, QWidget* parent = nullptr);

    static DocumentDescription estimateDescription();

    // The rows of the estimate shown, and the invoice it was made into beside them.
    void copyRow() override;
    // Make Invoice: an invoice of the estimate in the number box, with every line, under the
    // next invoice number; the invoice window then opens on it. Made once already, it asks
    // first, naming that invoice. Returns the invoice's number, 0 when none was made.
    qint64 makeInvoice();

protected:
    QWidget* createPartLines(LineOwnerRef owner) override;
    QWidget* createLaborLines(LineOwnerRef owner) override;

private:
    void showMadeInvoice();

    class QLabel* m_invoiceMade = nullptr;
};
