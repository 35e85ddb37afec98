#include "receivables/TCustomerInvoiceHistory.h"

namespace {
HistoryDescription description()
{
    HistoryDescription d;
    d.caption = QStringLiteral("CustomerInvoiceHistory");
    d.heading = QString();
    d.query = QStringLiteral("QCustomer4");
    d.statement = [](const QString& value) {
        return SqlStatement{{"Select * From Invoice where CustomerName_Inv = ?"}, {value}};
    };
    d.titles = {"Invoice#", "Customer Name", "Repair By", "Inv Date",
                "PO#",      "Inv Amount",    "Address"};
    d.navigator = false;
    return d;
}
} // namespace

TCustomerInvoiceHistory::TCustomerInvoiceHistory(QWidget* parent)
    : HistoryWindow(description(), parent)
{}
