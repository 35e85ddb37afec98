#pragma once

#include "ui/common/RecordWindow.h"
#include "ui/common/Windows.h"
#include "ui/documents/LineOwner.h"

#include <functional>

class DocumentLines;
class PreparedReport;
class QLabel;

// The bills the shop receives from its vendors: the list of bills, one bill's header as boxes,
// its part and expense lines with their totals, and what was paid on it.
class TBill : public RecordWindow
{
    Q_OBJECT

public:
    // Where the bill's line, payment and history windows go, and the payment list's printout.
    struct Links
    {
        ChildOpener openChild;
        std::function<void(const PreparedReport&)> preview;
    };

    explicit TBill(Links links, QWidget* parent = nullptr);

    static RecordDescription billDescription();

    void showList() override;
    // The bill's boxes, and its lines, totals and paid sum with them.
    void copyRow() override;

    DocumentLines* lines() const { return m_lines; }

protected:
    // The largest reference that reads as a whole number, plus one; 1000 for none.
    QString nextKey() override;

private:
    void showFigures();
    void openPayment();
    void openHistory();

    Links m_links;
    DocumentLines* m_lines = nullptr;
    Query* m_sums = nullptr;
    QLabel* m_paid = nullptr;
    QLabel* m_total = nullptr;
};
