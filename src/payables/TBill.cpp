#include "payables/TBill.h"

#include "data/Connection.h"
#include "data/Currency.h"
#include "data/DbError.h"
#include "data/KeyedRows.h"
#include "data/Query.h"
#include "data/SqlDialect.h"
#include "data/SqlSelect.h"
#include "data/TDM.h"
#include "data/Transaction.h"
#include "payables/BillLines.h"
#include "payables/PayableLists.h"
#include "payables/TPayable.h"
#include "stores/BillStore.h"
#include "ui/common/Guard.h"
#include "ui/common/Prompter.h"
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
    d.listStatement = SqlSelect::all(QStringLiteral("Bill"));
    d.boxes = {
        {"Ref_Bill", "Ref#", FormBox::Edit, {}, "Edit1"},
        {"Vendor_Bill", "VendorName", FormBox::List, ListSource{"Company", "Name_Company"},
         "ComboBox1"},
        {"Chart_Bill", "Chart of Acc", FormBox::List, ListSource{"Bill", "Chart_Bill"},
         "ComboBox2"},
        {"SubChart_Bill", "Sub Chart of Acc", FormBox::List, ListSource{"Bill", "SubChart_Bill"},
         "ComboBox3"},
        {"BillDate_Bill", "Bill Date", FormBox::Date, {}, "Edit2", {}, "DateTimePicker1"},
        {"DueDate_Bill", "Due Date", FormBox::Date, {}, "Edit3", {}, "DateTimePicker2"},
        {"Amount_Bill", "Amount", FormBox::Edit, {}, "Edit4"},
        {"Address_Bill", "Address", FormBox::Memo, {}, "Memo1"},
        {"Remark_Bill", "Remark ", FormBox::Memo, {}, "Memo2"},
    };
    d.key = RecordDescription::Key::Text;
    // The bill chosen in the list is the one Save changes and Delete removes; its lines and
    // payments are found by its reference, which no other bill may take.
    d.identity = RecordDescription::Identity::ChosenRow;
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
{
    setObjectName(QStringLiteral("Bill"));
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
         "Amount_Bill", "&Items", "Button6", "DBGrid2", "Total $", "Label12"},
        [this](LineOwnerRef owner) {
            auto* lines = static_cast<TBillPart*>(linesWindow<TBillPart>(owner));
            if (lines && m_links.partPicker)
                lines->setFind([lines, show = m_links.partPicker] { show(lines); });
            return lines;
        },
        m_links.openChild);
    m_lines->addPanel(
        {"BillExpense", "Bill_Expense",
         "Description_Expense,PartNo_Expense,Qty_Expense,Rate_Expense,"
         "Amount_Expense ,Remark_Expense,Bill_Expense",
         "Amount_Expense", "&Expences", "Button8", "DBGrid3", "Total $", "Label15"},
        [this](LineOwnerRef owner) { return linesWindow<TBillExpense>(owner); }, m_links.openChild);
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
        m_paid->setText(BillStore().paidSum(number).asText());
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

template<class Lines>
QWidget* TBill::linesWindow(LineOwnerRef owner)
{
    if (text(ref).trimmed().isEmpty()) {
        Prompter::instance().inform(
            QStringLiteral("Type the bill's Ref# (or press New) before opening its lines."));
        return nullptr;
    }
    return new Lines(owner);
}

QString TBill::nextFreeReference()
{
    // The largest bill reference that reads as a whole number, then past any reference that
    // lines or payments of no bill still hold.
    const BillStore store;
    const qint64 largest = store.largestReference();
    qint64 next = largest >= 1 ? largest + 1 : 1000;
    while (store.referenceUsed(QString::number(next)))
        ++next;
    return QString::number(next);
}

QString TBill::nextKey()
{
    return nextFreeReference();
}

QString TBill::otherBill(const QString& reference, qint64 except)
{
    const std::optional<BillStore::Bill> bill = BillStore().billReferenced(reference, except);
    return bill ? QStringLiteral("%1 of %2").arg(bill->vendor, bill->date) : QString();
}

bool TBill::claimNewKey()
{
    const QString typed = text(ref).trimmed();
    if (shownRow() != 0 || typed.isEmpty())
        return false;
    // A bill the boxes show for the first time: stored now, as one unit with its reference.
    const SqlRow checked = rowToSave();
    Transaction transaction(DM);
    BillStore().lockReferences();
    QString reference = typed;
    const bool proposed = typed == proposedKey();
    if (proposed ? BillStore().referenceUsed(typed) : !otherBill(typed).isEmpty()) {
        if (!proposed)
            throw DbError(QStringLiteral("Ref# %1 already belongs to the bill %2. Give this bill "
                                         "a reference of its own; nothing was saved.")
                              .arg(typed, otherBill(typed)));
        reference = nextFreeReference();
    }
    SqlRow row = checked;
    row.setText(ref, reference);
    setShownRow(KeyedRows::insert(*DM->admin1(), row));
    transaction.commit();
    clearProposedKey();
    if (reference != typed) {
        setText(ref, reference);
        Prompter::instance().inform(
            QStringLiteral("Ref# %1 was taken meanwhile at another station. This bill is saved "
                           "as Ref# %2.")
                .arg(typed, reference));
    }
    return true;
}

void TBill::saveChosenRow(const SqlRow& row)
{
    Connection& connection = *DM->admin1();
    Transaction transaction(&connection);
    const BillStore store(&connection);
    store.lockReferences();
    const QString reference = text(ref).trimmed();
    const std::optional<QString> stored = store.storedReference(shownRow());
    if (!stored)
        throw DbError(KeyedRows::goneMessage(QStringLiteral("bill")));
    const bool renamed = *stored != reference;
    if (renamed) {
        if (const QString owner = otherBill(reference, shownRow()); !owner.isEmpty())
            throw DbError(QStringLiteral("Ref# %1 already belongs to the bill %2. Nothing was "
                                         "saved.")
                              .arg(reference, owner));
    }
    KeyedRows::update(connection, row, shownRow());
    // A bill's lines and payments follow its reference, unless another bill still has the
    // old one (two bills of an older release may share it).
    if (renamed && otherBill(*stored, shownRow()).isEmpty())
        store.moveReference(*stored, reference);
    transaction.commit();
}

void TBill::remove()
{
    const QString reference = text(ref).trimmed();
    if (reference.isEmpty() || shownRow() == 0) {
        RecordWindow::remove();
        return;
    }
    // Money paid is never left without its bill.
    if (const QString refusal = paymentsRefusal(reference); !refusal.isEmpty()) {
        Prompter::instance().inform(refusal);
        return;
    }
    RecordWindow::remove();
}

QString TBill::paymentsRefusal(const QString& reference)
{
    const BillStore::Payments paid = BillStore().payments(reference);
    const qint64 count = paid.count;
    const Currency sum = paid.sum;
    if (count == 0)
        return {};
    return QStringLiteral("Bill %1 has %2 (%3). Money paid is never left without its bill, so "
                          "it cannot be deleted.")
        .arg(reference,
             count == 1 ? QStringLiteral("a payment") : QStringLiteral("%1 payments").arg(count),
             sum.toMoneyFormat());
}

void TBill::deleteRow()
{
    // The bill goes with its part and expense lines, all or nothing; checked again in the
    // transaction, in case another station recorded a payment since the question.
    const QString reference = text(ref).trimmed();
    Connection& connection = *DM->admin1();
    Transaction transaction(&connection);
    const BillStore store(&connection);
    store.lockReferences();
    if (const QString refusal = paymentsRefusal(reference); !refusal.isEmpty())
        throw DbError(refusal);
    if (KeyedRows::remove(connection, QStringLiteral("Bill"), shownRow()) == 0)
        throw DbError(KeyedRows::goneMessage(QStringLiteral("bill")));
    if (otherBill(reference).isEmpty())
        store.removeLines(reference);
    transaction.commit();
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
