#include "invoicing/TInvoice.h"

#include "invoicing/TInvItem.h"
#include "invoicing/TInvLabor.h"
#include "ui/common/Latest.h"

TInvoice::TInvoice(Links links, QWidget* parent)
    : DocumentWindow(invoiceDescription(), std::move(links), parent)
{
    Latest<TInvoice>::set(this);
}

DocumentDescription TInvoice::invoiceDescription()
{
    DocumentDescription d;
    d.name = QStringLiteral("Invoice");
    d.headerTable = QStringLiteral("Invoice");
    d.itemTable = QStringLiteral("InvItem");
    d.laborTable = QStringLiteral("InvLabor");
    d.listQuery = QStringLiteral("QInv1");
    d.numberQuery = QStringLiteral("QInv2");
    d.itemLinesQuery = QStringLiteral("QInvItem3");
    d.itemSumQuery = QStringLiteral("QInvItem4");
    d.laborLinesQuery = QStringLiteral("QInvLabor3");
    d.laborSumQuery = QStringLiteral("QInvLabor4");
    d.numberCaption = QStringLiteral("Invoice #");
    d.poCaption = QStringLiteral("Driver Name");
    d.totalCaption = QStringLiteral("Total Invoice $");
    d.printCaption = QStringLiteral("Print Invoice");
    d.unbalancedNote = QStringLiteral("Invoice is not Balance");
    d.listTitles = {"Invoice #", "Customer Name",  "Repair Person", "Invoice Date", "Driver Name",
                    "Amount",    "License Number", "Entry Date",    "Remark"};
    return d;
}

QWidget* TInvoice::createPartLines(std::function<void()> picker)
{
    return new TInvItem(this, std::move(picker));
}

QWidget* TInvoice::createLaborLines(std::function<void()> picker)
{
    return new TInvLabor(this, std::move(picker));
}

QString TInvoice::layoutFile(bool taxed) const
{
    return taxed ? QStringLiteral(":/invoicing/layouts/invoice-tax.json")
                 : QStringLiteral(":/invoicing/layouts/invoice.json");
}
