#pragma once

#include "data/SqlStatement.h"
#include "ui/common/RecordWindow.h"
#include "ui/common/Windows.h"

class QLabel;
class Query;

// The shop's customers, with what each was invoiced, has paid and still owes.
class TCustomer : public RecordWindow
{
    Q_OBJECT

public:
    explicit TCustomer(ChildOpener openChild, QWidget* parent = nullptr);

protected:
    void computeFigures() override;

private:
    template<class History>
    void openHistory();

    ChildOpener m_openChild;
    QLabel* m_amounts;
    QLabel* m_paid;
    QLabel* m_balance;
};
