#include "invoicing/TInvoice.h"

#include "invoicing/TInvItem.h"
#include "invoicing/TInvLabor.h"

TInvoice::TInvoice(Links links, QWidget* parent)
    : DocumentWindow(invoiceDescription(), std::move(links), parent)
{}

DocumentDescription TInvoice::invoiceDescription()
{
    DocumentDescription d;
    d.name = QStringLiteral("Invoice");
    d.tables.header = QStringLiteral("Invoice");
    d.tables.items = QStringLiteral("InvItem");
    d.tables.labor = QStringLiteral("InvLabor");
    d.numberCaption = QStringLiteral("Invoice #");
    d.poCaption = QStringLiteral("Driver Name");
    d.totalCaption = QStringLiteral("Total Invoice $");
    d.printCaption = QStringLiteral("Print Invoice");
    d.unbalancedNote = QStringLiteral("Invoice is not Balance");
    d.listTitles = {"Invoice #", "Customer Name",  "Repair Person", "Invoice Date", "Driver Name",
                    "Amount",    "License Number", "Entry Date",    "Remark"};
    d.uncoveredMonth = SalesTotals::UncoveredMonth::FirstRowOfYear;
    d.layouts = {QStringLiteral(":/invoicing/layouts/invoice-tax.json"),
                 QStringLiteral(":/invoicing/layouts/invoice.json")};
    return d;
}

QWidget* TInvoice::createPartLines(LineOwnerRef owner)
{
    auto* lines = new TInvItem(owner);
    if (links().partPicker)
        lines->setFind([lines, show = links().partPicker] { show(lines); });
    return lines;
}

QWidget* TInvoice::createLaborLines(LineOwnerRef owner)
{
    auto* lines = new TInvLabor(owner);
    if (links().laborPicker)
        lines->setFind([lines, show = links().laborPicker] { show(lines); });
    return lines;
}
