#include "purchasing/TPoOrder.h"

#include "data/Formats.h"
#include "data/Query.h"
#include "data/SqlSelect.h"
#include "purchasing/TOrderItem.h"
#include "ui/common/DataGrid.h"
#include "ui/common/Guard.h"
#include "ui/common/Prompter.h"
#include "ui/documents/LinePanel.h"

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
