#include "receivables/TLaborInvoiceHistory.h"

namespace {
HistoryDescription description()
{
    HistoryDescription d;
    d.caption = QStringLiteral("LaborInvoiceHistory");
    d.heading = QStringLiteral("Labor Invoice History");
    d.query = QStringLiteral("Q1");
    d.statement = [](const QString& value) {
        return SqlStatement{{"Select * From InvLabor where Description_Labor = ?"}, {value}};
    };
    d.titles = {"Description", "Part Number", "Qty", "Rate", "Amount", "Remark", "Invoice"};
    d.navigator = false;
    return d;
}
} // namespace

TLaborInvoiceHistory::TLaborInvoiceHistory(QWidget* parent)
    : HistoryWindow(description(), parent)
{}
