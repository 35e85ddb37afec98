#pragma once

#include "ui/common/RecordWindow.h"
#include "ui/common/Windows.h"
#include "ui/documents/LineOwner.h"

#include <functional>

class DocumentLines;
class LineWindow;
class LinePanel;

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
    };

    explicit TPoOrder(Links links, QWidget* parent = nullptr);

    static RecordDescription orderDescription();

    void showList() override;
    void remove() override;
    // The order's boxes, and its lines and total again even when the number is unchanged.
    void copyRow() override;

    DocumentLines* lines() const { return m_lines; }
    LinePanel* linePanel() const;

private:
    QWidget* createLines(LineOwnerRef owner);

    Links m_links;
    DocumentLines* m_lines = nullptr;
};
