#pragma once

#include "ui/common/PaymentWindow.h"
#include "ui/common/Windows.h"

class PreparedReport;

// A payment made to a vendor against a bill.
class TPayable : public PaymentWindow
{
    Q_OBJECT

public:
    // Where the form's others go: its finder and list as child windows, the list's printout
    // to the preview.
    struct Links
    {
        ChildOpener openChild;
        std::function<void(const PreparedReport&)> preview;
    };

    explicit TPayable(Links links, QWidget* parent = nullptr);

    static PaymentDescription paymentDescription();

protected:
    void openFinder() override;

private:
    Links m_links;
};
