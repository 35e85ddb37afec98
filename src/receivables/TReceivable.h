#pragma once

#include "ui/common/PaymentWindow.h"
#include "ui/common/Windows.h"

class PreparedReport;

// A payment received from a customer against an invoice (or an estimate's number).
class TReceivable : public PaymentWindow
{
    Q_OBJECT

public:
    // Where the form's others go: its finder, history and list as child windows, the list's
    // printout to the preview.
    struct Links
    {
        ChildOpener openChild;
        std::function<void(const PreparedReport&)> preview;
    };

    // documentTable is where the number's customer and amount are looked up: "Invoice", or
    // "Estimate" when the form is opened from an estimate.
    explicit TReceivable(Links links, const QString& documentTable = QStringLiteral("Invoice"),
                         QWidget* parent = nullptr);

    static PaymentDescription paymentDescription(const QString& documentTable);

protected:
    void openFinder() override;

private:
    void openHistory();
    void openList();

    Links m_links;
};
