#include "estimates/TEstimate.h"

#include "data/Formats.h"
#include "estimates/TEstimateItem.h"
#include "estimates/TEstimateLabor.h"
#include "stores/SalesStore.h"
#include "ui/common/Guard.h"
#include "ui/common/Prompter.h"

#include <QDate>
#include <QLabel>
#include <QPushButton>

TEstimate::TEstimate(Links links, QWidget* parent)
    : DocumentWindow(estimateDescription(), std::move(links), parent)
{
    QPushButton* make = addButton(QStringLiteral("Make Invoice"), QStringLiteral("Button14"));
    make->setToolTip(QStringLiteral("Make an invoice of this estimate, with all its lines"));
    connect(make, &QPushButton::clicked, this, [this] { guard([this] { makeInvoice(); }); });
    m_invoiceMade = addFigure(QStringLiteral("Invoice # :"), QStringLiteral("Label21"), QString());
    m_invoiceMade->setToolTip(QStringLiteral("The invoice this estimate was made into"));
}

void TEstimate::copyRow()
{
    DocumentWindow::copyRow();
    showMadeInvoice();
}

void TEstimate::showMadeInvoice()
{
    const QString n = text(QStringLiteral("InvoiceNo_Inv")).trimmed();
    bool whole = false;
    const qint64 number = n.toLongLong(&whole);
    const qint64 invoice = whole ? SalesStore().invoiceMadeOf(number) : 0;
    m_invoiceMade->setText(invoice > 0 ? QString::number(invoice) : QString());
}

qint64 TEstimate::makeInvoice()
{
    const QString n = text(QStringLiteral("InvoiceNo_Inv")).trimmed();
    if (n.isEmpty())
        return 0;
    const qint64 estimate = Formats::wholeNumber(n, documentDescription().numberCaption);
    const SalesStore store;
    const qint64 before = store.invoiceMadeOf(estimate);
    if (before > 0 &&
        !Prompter::instance().confirm(QStringLiteral("Estimate %1 was already made into invoice "
                                                     "%2. Make another invoice of it?")
                                          .arg(estimate)
                                          .arg(before)))
        return 0;
    const qint64 invoice = store.makeInvoice(estimate, before, QDate::currentDate());
    showMadeInvoice();
    if (links().openInvoice)
        links().openInvoice(invoice);
    else
        Prompter::instance().inform(QStringLiteral("Invoice %1 is made.").arg(invoice));
    return invoice;
}

DocumentDescription TEstimate::estimateDescription()
{
    DocumentDescription d;
    d.name = QStringLiteral("Estimate");
    d.tables.header = QStringLiteral("Estimate");
    d.tables.items = QStringLiteral("EstimateItem");
    d.tables.labor = QStringLiteral("EstimateLabor");
    // Estimates are numbered apart from the invoices, from their own table and their own
    // archive, and keep their payments apart from the invoices' too.
    d.tables.payments = QStringLiteral("EstimateReceivable");
    d.tables.archiveHeader = QStringLiteral("EstimateCash");
    d.tables.archiveItems = QStringLiteral("EstimateItemCash");
    d.tables.archiveLabor = QStringLiteral("EstimateLaborCash");
    d.tables.archivePayments = QStringLiteral("EstimateReceivableCash");
    d.numberCaption = QStringLiteral("Estimate #");
    d.poCaption = QStringLiteral("Contact Name");
    d.totalCaption = QStringLiteral("Total Estimate $");
    d.printCaption = QStringLiteral("Print Estimate");
    d.unbalancedNote = QStringLiteral("Estimate is not Balance");
    d.listTitles = {"Estimate #", "Customer Name",  "Repair Person", "Estimate Date", "Driver Name",
                    "Amount",     "License Number", "Entry Date",    "Remark"};
    // The tax row must cover the estimate's month; a month no row covers is untaxed.
    d.uncoveredMonth = SalesTotals::UncoveredMonth::Untaxed;
    d.totalFollowsLines = false;
    d.layouts = {QStringLiteral(":/estimates/layouts/estimate-tax.json"),
                 QStringLiteral(":/estimates/layouts/estimate.json")};
    return d;
}

QWidget* TEstimate::createPartLines(LineOwnerRef owner)
{
    auto* lines = new TEstimateItem(owner);
    if (links().partPicker)
        lines->setFind([lines, show = links().partPicker] { show(lines); });
    return lines;
}

QWidget* TEstimate::createLaborLines(LineOwnerRef owner)
{
    auto* lines = new TEstimateLabor(owner);
    if (links().laborPicker)
        lines->setFind([lines, show = links().laborPicker] { show(lines); });
    return lines;
}
