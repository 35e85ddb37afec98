#include "ui/documents/DocumentWindow.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Formats.h"
#include "data/Query.h"
#include "data/TDM.h"
#include "data/Transaction.h"
#include "printing/PreparedReport.h"
#include "stores/UserStore.h"
#include "ui/common/DataGrid.h"
#include "ui/common/Guard.h"
#include "ui/common/Prompter.h"
#include "ui/common/WindowParts.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {
const QString number = QStringLiteral("InvoiceNo_Inv");
} // namespace

RecordDescription DocumentWindow::recordDescription(const DocumentDescription& doc)
{
    RecordDescription d;
    d.title = doc.name;
    d.table = doc.tables.header;
    d.listStatement = SalesStore::documents(doc.tables, SalesStore::Which::Open);
    d.boxes = {
        {number, doc.numberCaption, RecordBox::Edit, {}, "Edit1"},
        {"CustomerName_Inv", "Customer Name", RecordBox::List,
         ListSource{"Customer", "Name_Customer"}, "ComboBox1"},
        {"RepairPerson_Inv", "Sale Person", RecordBox::List,
         ListSource{"Employee", "Name_Employee"}, "ComboBox2"},
        {"InvoiceDate_Inv", "Invoice Date", RecordBox::Date, {}, "Edit2", {}, "DateTimePicker1"},
        {"DueDate_Inv", "Due Date", RecordBox::Date, {}, "Edit3", {}, "DateTimePicker2"},
        {"Amount_Inv", "Amount", RecordBox::Edit, {}, "Edit4"},
        {"Tax_Inv", "Tax", RecordBox::Choice, {}, "ComboBox5", {"Yes", "No"}},
        {"Paid_Inv", "Paid", RecordBox::Check, {}, "CheckBox1"},
        {"PO_Inv", doc.poCaption, RecordBox::Edit, {}, "Edit5"},
        {"Vin_Inv", "Vin #", RecordBox::Edit, {}, "Edit6"},
        {"TruckNo_Inv", "Truck No", RecordBox::Edit, {}, "Edit10"},
        {"Mileage_Inv", "Milage", RecordBox::Edit, {}, "Edit7"},
        {"Make_Inv", "Make", RecordBox::List, ListSource{doc.tables.header, "Make_Inv"},
         "ComboBox3"},
        {"Model_Inv", "Model", RecordBox::List, ListSource{doc.tables.header, "Model_Inv"},
         "ComboBox4"},
        {"Year_Inv", "Year", RecordBox::Edit, {}, "Edit8"},
        {"Plate_Inv", "Plate", RecordBox::Edit, {}, "Edit9"},
        {"JobLocation_Inv", "Cust. Address", RecordBox::Memo, {}, "Memo1"},
        {"Remark_Inv", "Remark ", RecordBox::Memo, {}, "Memo2"},
    };
    d.boxColumns = {
        {number, "CustomerName_Inv", "RepairPerson_Inv", "InvoiceDate_Inv", "DueDate_Inv",
         "Amount_Inv", "Tax_Inv", "Paid_Inv"},
        {"PO_Inv", "Vin_Inv", "TruckNo_Inv", "Mileage_Inv", "Make_Inv", "Model_Inv", "Year_Inv",
         "Plate_Inv"},
        {"JobLocation_Inv", "Remark_Inv"},
    };
    // Enter walks the boxes; the header boxes of the shop's key table go where it says.
    d.focusLinks = {
        {number, "CustomerName_Inv", "Remark_Inv"},
        {"CustomerName_Inv", "RepairPerson_Inv", number},
        {"RepairPerson_Inv", "InvoiceDate_Inv", "CustomerName_Inv"},
        {"InvoiceDate_Inv", {}, "RepairPerson_Inv"},
        {"DueDate_Inv", "Remark_Inv", {}},
        {"Amount_Inv", number, "DueDate_Inv"},
    };
    d.enterWrapsTo = number;
    d.titles = doc.listTitles;
    d.sortable = {number,       "CustomerName_Inv", "RepairPerson_Inv", "InvoiceDate_Inv", "PO_Inv",
                  "Amount_Inv", "LicenseNo_Inv",    "EntryDate_Inv",    "Remark_Inv"};
    d.insertedMessage = d.updatedMessage = QStringLiteral("Saved!");
    d.afterSave = RecordDescription::AfterSave::Refresh;
    d.cancel = RecordDescription::Cancel::Refresh;
    d.figuresOnShow = true;
    d.followOn = d.figuresOn = RecordDescription::Click | RecordDescription::KeyRelease |
                               RecordDescription::NavigatorClick;
    d.searchComputesFigures = true;
    d.searchBoxName = QStringLiteral("Edit13");
    d.searchColumn = QStringLiteral("CustomerName_Inv");
    d.upperCaseSearch = true;
    d.commandNames = {"Button3", "Button2", "Button4", "Button5", "Button7", "Button1"};
    d.commandsAtLeft = true;
    d.newDefaults = {{"Amount_Inv", "0.00"}};
    d.newToday = {"InvoiceDate_Inv", "DueDate_Inv"};
    d.newKeeps = {"Tax_Inv"};
    d.newFocus = QStringLiteral("CustomerName_Inv");
    d.whenLeftEmpty = {{"Amount_Inv", "0"}};
    d.lookups = {{"CustomerName_Inv", "Customer", "Name_Customer", "JobLocation_Inv",
                  "%Address_Customer% %City_Customer%, %State_Customer% %Zip_Customer%"}};
    return d;
}

DocumentWindow::DocumentWindow(DocumentDescription description, Links links, QWidget* parent)
    : RecordWindow(recordDescription(description), parent)
    , m_document(std::move(description))
    , m_links(std::move(links))
    , m_tax(new Query(QStringLiteral("QTax"), DM->admin1(), this))
{
    setObjectName(m_document.name);
    setText(QStringLiteral("Tax_Inv"), QStringLiteral("Yes"));
    buildSalesParts();
}

void DocumentWindow::buildSalesParts()
{
    QPushButton* history = addButton(QStringLiteral("Paid History"), QStringLiteral("Button10"));
    history->setToolTip(QStringLiteral("The payments received under this number"));
    history->setEnabled(bool(m_links.paidHistory));
    connect(history, &QPushButton::clicked, this, [this] {
        guard([this] { m_links.paidHistory(this, QStringLiteral("InvoiceNo_Inv")); });
    });
    QPushButton* payment = addButton(QStringLiteral("Receivable"), QStringLiteral("Button11"));
    payment->setToolTip(QStringLiteral("Record a payment received under this number"));
    payment->setEnabled(bool(m_links.payment));
    connect(payment, &QPushButton::clicked, this,
            [this] { guard([this] { m_links.payment(text(QStringLiteral("InvoiceNo_Inv"))); }); });
    // "Paid $ :" follows payments saved in other windows as soon as this window is used again.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && isAncestorOf(now))
            guardQuietly([this] { followPayments(); });
    });
    // Archive is locked until its code is typed into the masked box under it.
    m_archive = addButton(QStringLiteral("Archive"), QStringLiteral("Button12"));
    m_archive->setEnabled(false);
    connect(m_archive, &QPushButton::clicked, this, [this] { guard([this] { archive(); }); });
    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("Edit11"));
    m_code->setEchoMode(QLineEdit::Password);
    m_code->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    m_code->setMaximumWidth(120);
    m_code->setText(QStringLiteral("000000"));
    connect(m_code, &QLineEdit::textChanged, this, [this](const QString& code) {
        m_archive->setEnabled(UserStore().archiveCodeMatches(code));
    });
    addCommandWidget(m_code);

    m_total = addFigure(m_document.totalCaption, QStringLiteral("Label14"), QStringLiteral("0.00"));
    m_paidSum =
        addFigure(QStringLiteral("Paid $ :"), QStringLiteral("Label19"), QStringLiteral("0.00"));
    m_balance = new QLabel(this);
    m_balance->setObjectName(QStringLiteral("Label17"));
    m_balance->setStyleSheet(QStringLiteral("color: #b00000;"));
    m_balance->setAlignment(Qt::AlignRight);
    figuresLayout()->addWidget(m_balance);
    figuresLayout()->addStretch(1);

    m_lines = new DocumentLines(this,
                                {{"Invoice Number", number},
                                 {"Customer Name", "CustomerName_Inv"},
                                 {"Invoice Date", "InvoiceDate_Inv"},
                                 {"Driver Name", {}}},
                                false);
    const QString& items = m_document.tables.items;
    const QString& labor = m_document.tables.labor;
    m_lines->addPanel(
        {items, "Inv_Item", "Name_Item,Qty_Item,Rate_Item,Amount_Item,Color_Item,Inv_Item",
         "Amount_Item", "&Part Discription", "Button6", "DBGrid2", "Total $", "Label12"},
        [this](LineOwnerRef owner) { return createPartLines(owner); }, m_links.openChild);
    m_lines->addPanel(
        {labor, "Inv_Labor",
         "Description_Labor,PartNo_Labor,Qty_Labor,Rate_Labor,Amount_Labor "
         ",Remark_Labor,Inv_Labor",
         "Amount_Labor", "&Labor Discription", "Button8", "DBGrid3", "Total $", "Label15"},
        [this](LineOwnerRef owner) { return createLaborLines(owner); }, m_links.openChild);
    // The total follows the lines as soon as a line window closes.
    if (m_document.totalFollowsLines)
        connect(m_lines, &DocumentLines::reloaded, this,
                [this] { guard([this] { showTotal(); }); });

    QPushButton* print = WindowParts::commandButton(this, m_document.printCaption, "Button9");
    print->setEnabled(bool(m_links.preview) && !m_document.layouts.taxed.isEmpty());
    if (m_document.layouts.taxed.isEmpty())
        print->setToolTip(QStringLiteral("The printout of this document is not available yet"));
    connect(print, &QPushButton::clicked, this, [this] { guard([this] { this->print(); }); });
    addBottomWidget(print);
    m_open = new QRadioButton(QStringLiteral("Open"), this);
    m_open->setObjectName(QStringLiteral("RadioButton1"));
    m_open->setChecked(true);
    m_paidFilter = new QRadioButton(QStringLiteral("Paid"), this);
    m_paidFilter->setObjectName(QStringLiteral("RadioButton2"));
    m_all = new QRadioButton(QStringLiteral("All"), this);
    m_all->setObjectName(QStringLiteral("RadioButton3"));
    for (const auto& [radio, filter] :
         {std::pair{m_open, Filter::Open}, std::pair{m_paidFilter, Filter::Paid},
          std::pair{m_all, Filter::All}}) {
        const Filter f = filter;
        connect(radio, &QRadioButton::clicked, this, [this, f] { guard([&] { setFilter(f); }); });
        addBottomWidget(radio);
    }

    // Paid documents stand out in dark red on cream.
    auto paidRow = [this](int row) {
        const int column = listQuery()->columnIndex(QStringLiteral("Paid_Inv"));
        return column >= 0 && row < listQuery()->recordCount() &&
               listQuery()->field(row, column).asBool();
    };
    grid()->setRowColour(
        [paidRow](int row) { return paidRow(row) ? QColor(0xff, 0xf8, 0xdc) : QColor(); });
    grid()->setRowTextColour(
        [paidRow](int row) { return paidRow(row) ? QColor(0x8b, 0, 0) : QColor(); });

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(1000);
    // A document without lines shows 0.00 for its line totals within a second.
    connect(m_timer, &QTimer::timeout, this, [this] {
        for (const QString& table : {m_document.tables.items, m_document.tables.labor})
            if (QLabel* sum = m_lines->panel(table)->total(); sum->text().isEmpty())
                sum->setText(QStringLiteral("0.00"));
    });
    m_timer->start();
}

TableRead DocumentWindow::listStatement(Filter filter) const
{
    switch (filter) {
    case Filter::Open:
        return SalesStore::documents(m_document.tables, SalesStore::Which::Open);
    case Filter::Paid:
        return SalesStore::documents(m_document.tables, SalesStore::Which::Paid);
    case Filter::All:
        break;
    }
    return SalesStore::documents(m_document.tables, SalesStore::Which::All);
}

void DocumentWindow::computeFigures()
{
    // Lines, totals and the paid sum of the one document the boxes show.
    m_lines->load();
    readPaid(true);
    showTotal();
}

void DocumentWindow::readPaid(bool checked)
{
    const quint64 payments = DM->admin1()->generation(m_document.tables.payments);
    const QString n = text(number).trimmed();
    if (n.isEmpty()) {
        m_paidSum->clear();
        m_paymentsOf = payments;
        return;
    }
    if (!checked) {
        // Read in passing: a number box being typed into is not an error here.
        bool whole = false;
        n.toLongLong(&whole);
        if (!whole)
            return;
    }
    m_paidSum->setText(
        SalesStore()
            .paidSum(m_document.tables, Formats::wholeNumber(n, m_document.numberCaption))
            .asText());
    m_paymentsOf = payments;
}

void DocumentWindow::followPayments()
{
    if (DM->admin1()->generation(m_document.tables.payments) != m_paymentsOf)
        readPaid(false);
}

void DocumentWindow::showTotal()
{
    // A stored document is totalled by its stored date and tax flag; a new one by its boxes.
    Query* list = listQuery();
    const bool stored = !list->isEmpty() && list->currentRow() >= 0 &&
                        list->field(number).asText() == text(number).trimmed();
    const QString date = stored ? list->field(QStringLiteral("InvoiceDate_Inv")).asText()
                                : text(QStringLiteral("InvoiceDate_Inv"));
    const QString tax =
        stored ? list->field(QStringLiteral("Tax_Inv")).asText() : text(QStringLiteral("Tax_Inv"));
    const double rate = taxRate(Formats::parseShortDate(date));
    const Currency total = SalesTotals::total(m_lines->panel(m_document.tables.items)->sum(),
                                              m_lines->panel(m_document.tables.labor)->sum(), rate,
                                              tax == QLatin1String("Yes"));
    m_total->setText(total.toHashFormat());
    m_balance->setText(SalesTotals::balanceNote(text(QStringLiteral("Amount_Inv")), m_total->text(),
                                                m_document.unbalancedNote));
}

void DocumentWindow::copyRow()
{
    const QString tax = text(QStringLiteral("Tax_Inv"));
    RecordWindow::copyRow();
    if (listQuery()->isEmpty() || listQuery()->currentRow() < 0)
        setText(QStringLiteral("Tax_Inv"), tax);
}

double DocumentWindow::taxRate(const QDate& date)
{
    if (!date.isValid())
        return 0;
    // Every row selection needs the rate; the tax table changes once or twice a year.
    const quint64 now = m_tax->connection()->generation(QStringLiteral("Tax"));
    if (now != m_ratesOf) {
        m_rates.clear();
        m_ratesOf = now;
    }
    const int month = date.year() * 100 + date.month();
    if (auto rate = m_rates.constFind(month); rate != m_rates.constEnd())
        return *rate;
    const double rate = SalesTotals::taxRow(m_tax, date, m_document.uncoveredMonth);
    m_tax->close();
    m_rates.insert(month, rate);
    return rate;
}

QString DocumentWindow::nextKey()
{
    return QString::number(SalesDocument::nextNumber(m_document.tables));
}

QStringList DocumentWindow::numberedAlongside() const
{
    return {m_document.tables.archiveHeader};
}

void DocumentWindow::newRecord()
{
    RecordWindow::newRecord();
    // A new document shows its own (normally empty) lines and figures, none of the last one.
    computeFigures();
    m_balance->clear();
}

QString DocumentWindow::paymentsRefusal(const QString& number)
{
    const SalesDocument::Payments paid = SalesDocument::payments(m_document.tables, number);
    if (paid.count == 0)
        return {};
    return QStringLiteral("%1 %2 has %3 (%4). Money received is never left without its "
                          "document, so it cannot be deleted. Remove the payments in its Paid "
                          "History first, or archive it with them.")
        .arg(m_document.name, number.trimmed(),
             paid.count == 1 ? QStringLiteral("a payment")
                             : QStringLiteral("%1 payments").arg(paid.count),
             paid.sum.toMoneyFormat());
}

void DocumentWindow::remove()
{
    const QString n = text(number).trimmed();
    if (!n.isEmpty()) {
        Formats::wholeNumber(n, m_document.numberCaption);
        if (const QString refusal = paymentsRefusal(n); !refusal.isEmpty()) {
            Prompter::instance().inform(refusal);
            return;
        }
    }
    RecordWindow::remove();
}

void DocumentWindow::deleteRow()
{
    // The document goes with its lines, so that a later one given the same number does not
    // inherit them. One with payments stays: checked again here, in the same transaction, in
    // case another station recorded a payment since the question.
    const QString n = QString::number(Formats::wholeNumber(text(number), m_document.numberCaption));
    Transaction transaction(DM);
    if (const QString refusal = paymentsRefusal(n); !refusal.isEmpty())
        throw DbError(refusal);
    SalesStore().remove(m_document.tables, n.toLongLong());
    transaction.commit();
}

bool DocumentWindow::showDocument(qint64 number)
{
    const QString key = QString::number(number);
    if (!moveToKey(key)) {
        m_all->setChecked(true);
        setFilter(Filter::All);
        if (!moveToKey(key))
            return false;
    }
    copyRow();
    computeFigures();
    return true;
}

void DocumentWindow::refresh()
{
    m_open->setChecked(true);
    setFilter(Filter::Open);
}

void DocumentWindow::setFilter(Filter filter)
{
    loadWith(listStatement(filter), description().titles);
    copyRow();
    computeFigures();
}

void DocumentWindow::archive()
{
    const QString n = text(number).trimmed();
    if (n.isEmpty())
        return;
    // The boxes, not the stored row, are archived, so that edits not yet saved go too. Every
    // number and date is checked before the question.
    QStringList columns;
    for (const RecordBox& box : description().boxes)
        if (box.column != QLatin1String("Tax_Inv"))
            columns.append(box.column);
    const SqlRow header = boxes()->row(m_document.tables.archiveHeader, columns);
    if (!Prompter::instance().confirm(QStringLiteral("Are you sure you want to Save this Record?")))
        return;
    // Whatever happens, the archive locks itself again.
    m_code->clear();
    SalesDocument::archive(m_document.tables, header, n, m_document.name);
    Prompter::instance().inform(QStringLiteral("Removed!"));
    refresh();
}

std::optional<PreparedReport> DocumentWindow::prepareReport()
{
    // The "Tax" box chooses the layout; it shows the stored flag of the document shown.
    const bool taxed = text(QStringLiteral("Tax_Inv")) == QLatin1String("Yes");
    return SalesDocument::prepare(m_document.tables, m_document.name, text(number),
                                  m_document.uncoveredMonth,
                                  taxed ? m_document.layouts.taxed : m_document.layouts.untaxed);
}

void DocumentWindow::print()
{
    if (!m_links.preview)
        return;
    if (std::optional<PreparedReport> report = prepareReport())
        m_links.preview(*report);
}
