#pragma once

#include "ui/common/RecordWindow.h"

#include <functional>

class QLabel;
class Query;

// The parts catalogue, with each part's stock figures from invoices and purchase orders.
class TPart : public RecordWindow
{
    Q_OBJECT

public:
    // The history windows the part's buttons show, for a part number.
    struct Links
    {
        std::function<void(const QString& partNo)> orderHistory;
        std::function<void(const QString& partNo)> invoiceHistory;
    };

    explicit TPart(Links links, QWidget* parent = nullptr);

    void showList() override;
    void save() override;
    void remove() override;
    void imported() override;

    // When the focus leaves "Part No": shows an existing part with that number.
    void checkPartNumber();

protected:
    void computeFigures() override;
    SqlRow::EmptyNumber whenEmpty(const QString& column) const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateTotal();

    Links m_links;
    QLabel* m_total;
    QLabel* m_check;
    QLabel* m_sale;
    QLabel* m_buy;
    QLabel* m_inventory;
    QLabel* m_stock;
    Query* m_q1;
};
