#include "reports/TReport.h"

#include "data/DatabaseTarget.h"
#include "reports/AgingReports.h"
#include "reports/InvoiceStatusReports.h"
#include "reports/ListingReports.h"
#include "reports/TTruckHistory.h"
#include "reports/TotalReports.h"
#include "stores/TruckStore.h"
#include "ui/common/FocusChain.h"
#include "ui/common/WindowParts.h"

#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
using Factory = std::function<QWidget*(const TReport::Links&)>;

struct Entry
{
    const char* caption;
    const char* name;
    Factory open; // none: the button has no command
    const char* hint = nullptr;
};

template<class Report>
Factory opens()
{
    return [](const TReport::Links& links) { return new Report(links.preview); };
}

QList<Entry> entries()
{
    return {
        {"Payable Report", "Button1", opens<TReportPayable>()},
        {"Receivable Report", "Button2", opens<TReportReceivable>()},
        {"Bank Report", "Button3", {}, "The program keeps no bank report"},
        {"Open Invoce", "Button4", opens<TOpenInvoice>()},
        {"Customer Report", "Button5", opens<TReportCustomer>()},
        {"Vendor Report", "Button6", opens<TReportVendor1>()},
        {"Item Report", "Button7", opens<TReportItems>()},
        {"Total Receivable from Date to Date", "Button8", opens<TTotalReceivable>()},
        {"Total Amount Report  by Invoice", "Button9", opens<TTotalAmountReport>()},
        {"Finished Invoice Report from Date to Date", "Button11", opens<TFinishedInvoiceReport>()},
        {"Receivables Aging", "Button12",
         [](const TReport::Links& links) {
             return new TAgingReport(TAgingReport::Side::Receivables, links.preview);
         }},
        {"Payables Aging", "Button13",
         [](const TReport::Links& links) {
             return new TAgingReport(TAgingReport::Side::Payables, links.preview);
         }},
        {"Customer Statements", "Button14", opens<TCustomerStatement>()},
        {"Truck History", "Button15",
         [](const TReport::Links& links) {
             return new TTruckHistory(links.preview,
                                      TruckStore::comebackDays(DatabaseTarget::settingsPath()));
         }},
    };
}
} // namespace

TReport::TReport(Links links, QWidget* parent)
    : QWidget(parent)
    , m_links(std::move(links))
{
    setObjectName(QStringLiteral("Report"));
    setWindowTitle(QStringLiteral("Report"));

    QVBoxLayout* layout = WindowParts::windowLayout(this, QStringLiteral("Reports"));
    QFrame* panel = WindowParts::raisedPanel(this, QStringLiteral("Buttons"));
    auto* buttons = new QVBoxLayout(panel);
    auto* chain = new FocusChain(this);
    for (const Entry& entry : entries()) {
        QPushButton* button = WindowParts::commandButton(this, QString::fromLatin1(entry.caption),
                                                         QString::fromLatin1(entry.name));
        // Room around the longest caption, so that none of them touches the button's edge.
        button->setMinimumWidth(button->sizeHint().width() + 24);
        buttons->addWidget(button);
        m_buttons.insert(button->objectName(), button);
        if (!entry.open) {
            disableWithHint(button, QString::fromLatin1(entry.hint));
            continue;
        }
        chain->add(button);
        const Factory open = entry.open;
        connect(button, &QPushButton::clicked, this, [this, open] {
            if (m_links.openChild)
                m_links.openChild(open(m_links));
        });
    }
    QPushButton* close =
        WindowParts::commandButton(this, QStringLiteral("Close"), QStringLiteral("Button10"));
    connect(close, &QPushButton::clicked, this, [this] { closeWindow(this); });
    m_buttons.insert(close->objectName(), close);
    buttons->addSpacing(8);
    buttons->addWidget(close);
    chain->add(close);
    layout->addWidget(panel);
    layout->addStretch(1);
    closeOnEscape(this);
}
