#pragma once

#include "ui/common/RecordWindow.h"
#include "ui/common/Windows.h"
#include "ui/documents/LineOwner.h"

#include <functional>
#include <optional>

class DocumentLines;
class LineWindow;
class LinePanel;
class PreparedReport;

// The shop's purchase orders: the list of orders, the header of one as boxes, and its lines
// with their total.
class TPoOrder : public RecordWindow
{
    Q_OBJECT

public:
    // Where the order's line windows go, and the part picker their "Find" shows.
    struct Links
    {
        ChildOpener openChild;
        std::function<void(LineWindow*)> partPicker;
        // The modal preview of a printout.
        std::function<void(const PreparedReport&)> preview = {};
    };

    explicit TPoOrder(Links links, QWidget* parent = nullptr);

    static RecordDescription orderDescription();

    void showList() override;
    void remove() override;
    // The order's boxes, and its lines and total again even when the number is unchanged.
    void copyRow() override;

    // Print Order: the order in the PO# box as sent to the vendor, as stored, through the
    // preview. None when the box is empty or the order is not saved (the user is told).
    std::optional<PreparedReport> prepareReport();
    void print();

    DocumentLines* lines() const { return m_lines; }
    LinePanel* linePanel() const;

private:
    QWidget* createLines(LineOwnerRef owner);

    Links m_links;
    DocumentLines* m_lines = nullptr;
};
