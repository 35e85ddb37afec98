#include "payables/TBill.h"

#include "data/Currency.h"
#include "data/Query.h"
#include "data/SqlLiteral.h"
#include "data/TDM.h"
#include "payables/BillLines.h"
#include "payables/PayableLists.h"
#include "payables/TPayable.h"
#include "ui/common/Guard.h"
#include "ui/common/Latest.h"
#include "ui/common/WindowParts.h"
#include "ui/documents/LinePanel.h"

#include <QLabel>
#include <QPushButton>

namespace {
const QString ref = QStringLiteral("Ref_Bill");
} // namespace

RecordDescription TBill::billDescription()
{
    RecordDescription d;
    d.title = QStringLiteral("Bill");
    d.table = QStringLiteral("Bill");
    d.listQuery = QStringLiteral("QBill1");
    d.lookupQuery = QStringLiteral("QBill2");
    d.listStatement = QStringLiteral("Select * From Bill");
    d.boxes = {
        {"Ref_Bill", "Ref#", FormBox::Edit, {}, "Edit1"},
        {"Vendor_Bill", "VendorName", FormBox::List, "Select distinct Name_Company From Company",
         "ComboBox1"},
        {"Chart_Bill", "Chart of Acc", FormBox::List, "Select distinct Chart_Bill From Bill",
         "ComboBox2"},
        {"SubChart_Bill", "Sub Chart of Acc", FormBox::List,
         "Select distinct SubChart_Bill From Bill", "ComboBox3"},
        {"BillDate_Bill", "Bill Date", FormBox::Date, {}, "Edit2", {}, "DateTimePicker1"},
        {"DueDate_Bill", "Due Date", FormBox::Date, {}, "Edit3", {}, "DateTimePicker2"},
        {"Amount_Bill", "Amount", FormBox::Edit, {}, "Edit4"},
        {"Address_Bill", "Address", FormBox::Memo, {}, "Memo1"},
        {"Remark_Bill", "Remark ", FormBox::Memo, {}, "Memo2"},
    };
    d.key = RecordDescription::Key::Text;
    // Bills may share a number (another vendor or bill date): each is told apart by all three.
    d.saveKeys = d.deleteKeys = {"Ref_Bill", "Vendor_Bill", "BillDate_Bill"};
    d.boxColumns = {{"Ref_Bill", "Vendor_Bill", "Chart_Bill", "SubChart_Bill", "BillDate_Bill",
                     "DueDate_Bill", "Amount_Bill"},
                    {"Address_Bill", "Remark_Bill"}};
    d.titles = {"Ref #", "Vendor Name", "Bill Date", "Due Date", "Amount"};
    d.insertedMessage = d.updatedMessage = QStringLiteral("Saved!");
    // Yes or No, the list is read again from its first bill.
    d.afterSave = RecordDescription::AfterSave::Refresh;
    d.cancel = RecordDescription::Cancel::Nothing;
    d.refreshCopiesFirstRow = true;
    d.followOn = RecordDescription::Click | RecordDescription::KeyRelease |
                 RecordDescription::NavigatorClick;
    d.figuresOn = 0;
    d.searchBoxName = QStringLiteral("Edit13");
    d.upperCaseSearch = true;
    d.searchColumn = ref;
    d.commandNames = {"Button3", "Button2", "Button4", "Button5", "Button7", "Button1"};
    d.commandsAtLeft = true;
    d.newDefaults = {{"Amount_Bill", "0.00"}};
    d.newToday = {"BillDate_Bill", "DueDate_Bill"};
    d.newFocus = ref;
    d.lookups = {{"Vendor_Bill", "Company", "Name_Company", "Address_Bill",
                  "%Address_Company% %City_Company%, %State_Company% %Zip_Company%"}};
    return d;
}

TBill::TBill(Links links, QWidget* parent)
    : RecordWindow(billDescription(), parent)
    , m_links(std::move(links))
    , m_sums(DM->ownQuery(QStringLiteral("QPayable2"), this))
{
    setObjectName(QStringLiteral("Bill"));
    Latest<TBill>::set(this);
    boxes()->focusTarget(ref)->setToolTip(QStringLiteral("Use Number only"));

    QPushButton* history = addButton(QStringLiteral("Paid History"), QStringLiteral("Button10"));
    history->setToolTip(QStringLiteral("The payments made on this bill"));
    QPushButton* payment = addButton(QStringLiteral("Payable"), QStringLiteral("Button11"));
    payment->setToolTip(QStringLiteral("Record a payment made on this bill"));
    for (QPushButton* button : {history, payment})
        button->setEnabled(bool(m_links.openChild));
    connect(history, &QPushButton::clicked, this, [this] { guard([this] { openHistory(); }); });
    connect(payment, &QPushButton::clicked, this, [this] { guard([this] { openPayment(); }); });

    m_total = addFigure(QStringLiteral("Total Bill $"), QStringLiteral("Label14"),
                        QStringLiteral("0.00"));
    m_paid = addFigure(QStringLiteral("Paid $"), QStringLiteral("Label19"), QString());
    figuresLayout()->addStretch(1);

    m_lines = new DocumentLines(this,
                                {{"Bill Number", ref},
                                 {"Vendor Name", "Vendor_Bill"},
                                 {"Bill Date", "BillDate_Bill"},
                                 {"Driver Name", {}}},
                                true);
    m_lines->addPanel(
        {"BillItem", "Inv_Bill", "Name_Bill,Qty_Bill,Rate_Bill,Amount_Bill ,Inv_Bill",
         "Amount_Bill", "QBillPart3", "&Items", "Button6", "DBGrid2", "Total $", "Label12"},
        [](LineOwnerRef owner) { return new TBillPart(owner); }, m_links.openChild);
    m_lines->addPanel(
        {"BillExpense", "Bill_Expense",
         "Description_Expense,PartNo_Expense,Qty_Expense,Rate_Expense,"
         "Amount_Expense ,Remark_Expense,Bill_Expense",
         "Amount_Expense", "QBillExpense3", "&Expences", "Button8", "DBGrid3", "Total $",
         "Label15"},
        [](LineOwnerRef owner) { return new TBillExpense(owner); }, m_links.openChild);
    // "Paid $", the lines and their totals follow the Ref# text, typed or filled (New too).
    m_lines->followKeyBox([this] { showFigures(); });
    // The bill's total follows its lines as soon as a line window closes.
    connect(m_lines, &DocumentLines::reloaded, this, [this] { guard([this] { showFigures(); }); });

    QPushButton* print = WindowParts::commandButton(this, QStringLiteral("Print Bill"), "Button9");
    print->setEnabled(false);
    print->setToolTip(QStringLiteral("Bills have no printout"));
    addBottomWidget(print);
}

void TBill::showList()
{
    RecordWindow::showList();
    // Opened on the last bill the table returns.
    listQuery()->last();
    copyRow();
}

void TBill::copyRow()
{
    RecordWindow::copyRow();
    m_lines->loadTyped();
    showFigures();
}

void TBill::showFigures()
{
    const QString number = text(ref);
    if (number.trimmed().isEmpty()) {
        m_paid->clear();
    } else {
        runStatement(m_sums, {"Select Sum(Amount_Payable) From Payable where BillNo_Payable ='" +
                              Sql::text(number) + "'"});
        m_sums->open();
        m_paid->setText(m_sums->field(QStringLiteral("Expr1000")).asText());
        m_sums->close();
    }
    // The bill's lines: its parts and its expenses together.
    Currency total;
    for (const QString& table : {QStringLiteral("BillItem"), QStringLiteral("BillExpense")}) {
        LinePanel* panel = m_lines->panel(table);
        total += sumOf(panel->lines(), panel->description().amountColumn);
    }
    m_total->setText(total.toHashFormat().isEmpty() ? QStringLiteral("0.00")
                                                    : total.toHashFormat());
}

QString TBill::nextKey()
{
    // Read with an aggregate: references that are not whole numbers read as none.
    runStatement(lookupQuery(), {"Select Max(Val(Ref_Bill)) From Bill"});
    lookupQuery()->open();
    const double largest = lookupQuery()->field(QStringLiteral("Expr1000")).asNumber();
    lookupQuery()->close();
    return QString::number(largest >= 1 ? qint64(largest) + 1 : 1000);
}

void TBill::openPayment()
{
    auto* window = new TPayable({m_links.openChild, m_links.preview});
    window->setDocument(text(ref));
    m_links.openChild(window);
}

void TBill::openHistory()
{
    auto* window = new TPayableHistory;
    window->readFrom(this, ref);
    m_links.openChild(window);
}
