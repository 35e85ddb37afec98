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
class LineWindow;

class TBill : public RecordWindow
{
    Q_OBJECT

public:
    // Where the bill's line, payment and history windows go, and the payment list's printout.
    struct Links
    {
        ChildOpener openChild;
        std::function<void(const PreparedReport&)> preview;
        // The part picker that fills a part line with a catalogue part.
        std::function<void(LineWindow*)> partPicker = {};
    };

    explicit TBill(Links links, QWidget* parent = nullptr);

    static RecordDescription billDescription();

    void showList() override;
    // The bill's boxes, and its lines, totals and paid sum with them.
    void copyRow() override;

    DocumentLines* lines() const { return m_lines; }

    // A bill the boxes show for the first time (after New, or with a typed Ref#) is stored
    // under its reference: the one New proposed, or the next free one when another station
    // took it meanwhile (the user is told); a typed Ref# of another bill is refused.
    bool claimNewKey() override;
    // A bill with payments is not deleted: the user is told how many and their sum.
    void remove() override;

protected:
    // The largest bill reference that reads as a whole number, plus one (1000 for none), or
    // the next one past it that no bill line or payment holds.
    QString nextKey() override;
    // Save of the bill chosen: a changed Ref# takes its lines and payments along, and is
    // refused when another bill has it.
    void saveChosenRow(const SqlRow& row) override;
    // The bill with its lines, in one transaction.
    void deleteRow() override;

private:
    template<class Lines>
    QWidget* linesWindow(LineOwnerRef owner);
    // The next reference no bill, bill line or payment holds.
    QString nextFreeReference();
    // The vendor and date of another bill with reference (not the row except), empty for none.
    QString otherBill(const QString& reference, qint64 except = 0);
    QString paymentsRefusal(const QString& reference);
    void showFigures();
    void openPayment();
    void openHistory();

    Links m_links;
    DocumentLines* m_lines = nullptr;
    QLabel* m_paid = nullptr;
    QLabel* m_total = nullptr;
};
