#include "receivables/TCustomerHistory.h"

namespace {
HistoryDescription description()
{
    HistoryDescription d;
    d.caption = QStringLiteral("CustomerHistory");
    d.heading = QString();
    d.query = QStringLiteral("QCustomer4");
    d.statement = [](const QString& value) {
        return SqlStatement{{"Select * From Receivable where Name_Receivable = ?"}, {value}};
    };
    d.titles = {"Invoice#",  "Customer Name", "Via",        "Pay Date",
                "Refrence#", "Deposit To",    "Paid Amount"};
    d.navigator = false;
    return d;
}
} // namespace

TCustomerHistory::TCustomerHistory(QWidget* parent)
    : HistoryWindow(description(), parent)
{}
