#include "purchasing/TPoOrder.h"

#include "data/Formats.h"
#include "data/Query.h"
#include "data/SqlSelect.h"
#include "data/TDM.h"
#include "printing/PreparedReport.h"
#include "printing/ReportEngine.h"
#include "purchasing/TOrderItem.h"
#include "stores/PurchasingStore.h"
#include "ui/common/DataGrid.h"
#include "ui/common/Guard.h"
#include "ui/common/Prompter.h"
#include "ui/documents/LinePanel.h"

#include <QPushButton>

namespace {
const QString number = QStringLiteral("Po_Order");
} // namespace

RecordDescription TPoOrder::orderDescription()
{
    RecordDescription d;
    d.title = QStringLiteral("Order");
    d.caption = QStringLiteral("PoOrder");
    d.table = QStringLiteral("Orders");
    d.listStatement = SqlSelect::all(QStringLiteral("Orders"));
    d.boxes = {
        {"Po_Order", "PO#", FormBox::Edit, {}, "Edit1"},
        {"SideMark_Order", "Side Mark", FormBox::List, ListSource{"Customer", "Name_Customer"},
         "ComboBox1"},
        {"OrderBy_Order", "Order By", FormBox::List, ListSource{"Employee", "Name_Employee"},
         "ComboBox2"},
        {"OrderDate_Order", "Order Date", FormBox::Date, {}, "Edit2", {}, "DateTimePicker1"},
        {"Vendor_Order", "Vendor", FormBox::List, ListSource{"Company", "Name_Company"},
         "ComboBox3"},
        {"ShipFrom_Order", "Ship From", FormBox::List, ListSource{"Orders", "ShipFrom_Order"},
         "ComboBox4"},
        {"ShipTo_Order", "Ship To", FormBox::List, ListSource{"Orders", "ShipTo_Order"},
         "ComboBox5"},
        {"ShipDate_Order", "Ship Date", FormBox::Date, {}, "Edit3", {}, "DateTimePicker2"},
        {"ForInvoice_Order", "Invoice No", FormBox::Edit, {}, "Edit4"},
    };
    d.enterWrapsTo = number;
    d.titles = {"Po",        "Side Mark", "Order By",  "Order Date", "Vendor",
                "Ship From", "Ship To",   "Ship Date", "For Invoice"};
    d.insertedMessage = d.updatedMessage = QStringLiteral("Saved!");
    // Yes or No, the list is read again from the first row: No discards what was typed.
    d.afterSave = RecordDescription::AfterSave::Refresh;
    d.cancel = RecordDescription::Cancel::Refresh;
    d.refreshCopiesFirstRow = true;
    d.followOn = RecordDescription::Click | RecordDescription::KeyPress |
                 RecordDescription::KeyRelease | RecordDescription::NavigatorClick;
    d.figuresOn = 0;
    d.newToday = {"OrderDate_Order", "ShipDate_Order"};
    d.newFocus = QStringLiteral("SideMark_Order");
    d.searchBoxName = QStringLiteral("Edit13");
    d.upperCaseSearch = true;
    d.searchColumn = number;
    d.commandNames = {"Button3", "Button2", "Button4", "Button5", "Button7", "Button1"};
    return d;
}

TPoOrder::TPoOrder(Links links, QWidget* parent)
    : RecordWindow(orderDescription(), parent)
    , m_links(std::move(links))
{
    setObjectName(QStringLiteral("PoOrder"));
    m_lines = new DocumentLines(this,
                                {{"Po Number", number},
                                 {"Side Mark", "SideMark_Order"},
                                 {"Order Date", "OrderDate_Order"},
                                 {"Vendor", "Vendor_Order"}},
                                false);
    m_lines->addPanel(
        {"Items", "Po_Item", "Name_Item,Qty_Item,Rate_Item,Amount_Item ,Po_Item", "Amount_Item",
         "&Discription", "Button6", "DBGrid2", "Total $", "Label12"},
        [this](LineOwnerRef owner) { return createLines(owner); }, m_links.openChild);
    // The lines follow the number in "PO#", typed or filled; a number half typed shows none.
    m_lines->followKeyBox();

    QPushButton* print = addButton(QStringLiteral("Print Order"), QStringLiteral("Button9"));
    print->setToolTip(QStringLiteral("Print the order as sent to the vendor"));
    print->setEnabled(bool(m_links.preview));
    connect(print, &QPushButton::clicked, this, [this] { guard([this] { this->print(); }); });
}

std::optional<PreparedReport> TPoOrder::prepareReport()
{
    const QString n = text(number).trimmed();
    if (n.isEmpty())
        return std::nullopt;
    const qint64 po = Formats::wholeNumber(n, QStringLiteral("PO#"));
    // The order, its lines and its vendor are read for the same number, so that a printout
    // never puts the lines of one order under another's header.
    const PurchasingStore store;
    Query order(QStringLiteral("Order"), store.connection());
    store.order(order, po);
    if (order.isEmpty()) {
        Prompter::instance().inform(
            QStringLiteral("Order %1 is not saved: save it before printing it.").arg(n));
        return std::nullopt;
    }
    Query lines(QStringLiteral("Lines"), store.connection());
    store.orderLines(lines, po);
    Query vendor(QStringLiteral("Vendor"), store.connection());
    store.vendor(vendor, order.field(QStringLiteral("Vendor_Order")).asText());
    PreparedReport report =
        ReportEngine::prepareFile(QStringLiteral(":/purchasing/layouts/order.json"),
                                  {{QStringLiteral("Order"), &order},
                                   {QStringLiteral("Lines"), &lines},
                                   {QStringLiteral("Vendor"), &vendor},
                                   {QStringLiteral("Reg"), DM->profile()}});
    report.title = QStringLiteral("Purchase Order ") + n;
    return report;
}

void TPoOrder::print()
{
    if (const std::optional<PreparedReport> report = prepareReport(); report && m_links.preview)
        m_links.preview(*report);
}

LinePanel* TPoOrder::linePanel() const
{
    return m_lines->panel(QStringLiteral("Items"));
}

QWidget* TPoOrder::createLines(LineOwnerRef owner)
{
    const QString po = text(number).trimmed();
    if (po.isEmpty()) {
        Prompter::instance().inform(
            QStringLiteral("Type or pick the order's PO# before opening its lines."));
        return nullptr;
    }
    Formats::wholeNumber(po, QStringLiteral("PO#"));
    auto* lines = new TOrderItem(owner);
    if (m_links.partPicker)
        lines->setFind([lines, show = m_links.partPicker] { show(lines); });
    return lines;
}

void TPoOrder::showList()
{
    RecordWindow::showList();
    // Opened on the lowest number; Refresh and Cancel show the database's order.
    listQuery()->sort(number);
    listQuery()->first();
    copyRow();
}

void TPoOrder::copyRow()
{
    RecordWindow::copyRow();
    m_lines->loadTyped();
}

void TPoOrder::remove()
{
    const QString po = text(number).trimmed();
    if (po.isEmpty())
        return;
    // A whole number first: nothing typed into the box reaches the statements otherwise.
    Formats::wholeNumber(po, boxes()->caption(number));
    LinePanel* panel = linePanel();
    panel->load(po);
    if (!panel->lines()->isEmpty()) {
        Prompter::instance().inform(
            QStringLiteral("This PO it has Material Please Delete PO first"));
        return;
    }
    RecordWindow::remove();
}
