#pragma once

#include "ui/common/RecordWindow.h"
#include "ui/common/Windows.h"

class QLabel;
class Query;

// The vendors the shop buys from, with the total of each vendor's bills.
class TCompany : public RecordWindow
{
    Q_OBJECT

public:
    explicit TCompany(ChildOpener openChild, QWidget* parent = nullptr);

protected:
    void computeFigures() override;

private:
    ChildOpener m_openChild;
    QLabel* m_total;
};
