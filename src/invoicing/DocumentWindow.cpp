#include "invoicing/DocumentWindow.h"

#include "data/Query.h"
#include "data/TDM.h"
#include "ui/common/DataGrid.h"
#include "ui/common/DateBox.h"
#include "ui/common/FocusChain.h"
#include "ui/common/Guard.h"
#include "ui/common/Latest.h"
#include "ui/common/ListBox.h"
#include "ui/common/Navigator.h"
#include "ui/common/Windows.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {
const QString notBuilt = QStringLiteral("Not available in this version");

QPushButton* button(QWidget* parent, const QString& text, const QString& name)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QLabel* figure(QWidget* parent, const QString& name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setMinimumWidth(90);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return label;
}

// A command whose window is not part of this version: shown, disabled, with a hint.
void unavailable(QPushButton* b)
{
    b->setEnabled(false);
    b->setToolTip(notBuilt);
    b->setStatusTip(notBuilt);
}
} // namespace

DocumentWindow::DocumentWindow(DocumentDescription description, Links links, QWidget* parent)
    : QWidget(parent)
    , m_description(std::move(description))
    , m_links(std::move(links))
    , m_invoices(DM->query(m_description.listQuery))
{
    setObjectName(m_description.name);
    setWindowTitle(m_description.name);
    setProperty("openMaximized", true);
    buildForm();
    bindKeys();

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(1000);
    // An invoice without lines shows 0.00 for its line totals within a second.
    connect(m_timer, &QTimer::timeout, this, [this] {
        for (QLabel* sum : {m_partsSum, m_laborSum})
            if (sum->text().isEmpty())
                sum->setText(QStringLiteral("0.00"));
    });
    m_timer->start();
}

void DocumentWindow::buildForm()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    auto* heading = headingLabel(this, m_description.name, 18);
    layout->addWidget(heading);

    auto* top = new QHBoxLayout;
    auto* commands = new QVBoxLayout;
    const QList<std::tuple<QString, QString, std::function<void()>>> buttons = {
        {"New  ( F3 )", "Button3", [this] { newDocument(); }},
        {"Save ( F2 )", "Button2", [this] { save(); }},
        {"Delete ( F8 )", "Button4", [this] { remove(); }},
        {"Refresh ( F5 )", "Button5", [this] { refresh(); }},
        {"Cancel ( Esc )", "Button7", [this] { refresh(); }},
    };
    for (const auto& [text, name, command] : buttons) {
        QPushButton* b = button(this, text, name);
        connect(b, &QPushButton::clicked, this, [command] { guard(command); });
        commands->addWidget(b);
    }
    for (const auto& [text, name] :
         {std::pair{"Paid History", "Button10"}, std::pair{"Receivable", "Button11"}}) {
        QPushButton* b = button(this, QString::fromLatin1(text), QString::fromLatin1(name));
        unavailable(b);
        commands->addWidget(b);
    }
    // Archive is locked until its code is typed into the masked box beside it.
    m_archive = button(this, QStringLiteral("Archive"), "Button12");
    m_archive->setEnabled(false);
    connect(m_archive, &QPushButton::clicked, this, [this] { guard([this] { archive(); }); });
    commands->addWidget(m_archive);
    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("Edit11"));
    m_code->setEchoMode(QLineEdit::Password);
    m_code->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    m_code->setMaximumWidth(120);
    m_code->setText(QStringLiteral("000000"));
    connect(m_code, &QLineEdit::textChanged, this, [this](const QString& code) {
        m_archive->setEnabled(code == QLatin1String("Morvek"));
    });
    commands->addWidget(m_code);
    commands->addStretch(1);
    top->addLayout(commands);
    top->addWidget(buildHeader(), 1);
    layout->addLayout(top);

    auto* partsPanel = new QHBoxLayout;
    QPushButton* partLines = button(this, QStringLiteral("Part Discription"), "Button6");
    partLines->setEnabled(bool(m_links.openChild));
    connect(partLines, &QPushButton::clicked, this,
            [this] { guard([this] { m_links.openChild(createPartLines(m_links.partPicker)); }); });
    partsPanel->addWidget(partLines);
    partsPanel->addStretch(1);
    partsPanel->addWidget(new QLabel(QStringLiteral("Total $"), this));
    m_partsSum = figure(this, QStringLiteral("Label12"), QStringLiteral("0.00"));
    partsPanel->addWidget(m_partsSum);
    layout->addLayout(partsPanel);
    m_parts = new DataGrid(DM->query(m_description.itemLinesQuery), this);
    m_parts->setObjectName(QStringLiteral("DBGrid2"));
    m_parts->setMaximumHeight(150);
    layout->addWidget(m_parts);

    auto* lower = new QHBoxLayout;
    m_list = new DataGrid(m_invoices, this);
    m_list->setObjectName(QStringLiteral("DBGrid1"));
    // Paid invoices stand out in dark red on cream.
    auto paidRow = [this](int row) {
        const int column = m_invoices->columnIndex(QStringLiteral("Paid_Inv"));
        return column >= 0 && row < m_invoices->recordCount() &&
               m_invoices->field(row, column).asBool();
    };
    m_list->setRowColour(
        [paidRow](int row) { return paidRow(row) ? QColor(0xff, 0xf8, 0xdc) : QColor(); });
    m_list->setRowTextColour(
        [paidRow](int row) { return paidRow(row) ? QColor(0x8b, 0, 0) : QColor(); });
    m_list->installEventFilter(this);
    connect(m_list, &DataGrid::cellClicked, this, [this] { guard([this] { selectRow(true); }); });
    connect(m_list, &DataGrid::titleClicked, this, &DocumentWindow::titleClicked);
    lower->addWidget(m_list, 3);

    auto* laborPanel = new QVBoxLayout;
    auto* laborBar = new QHBoxLayout;
    QPushButton* laborLines = button(this, QStringLiteral("Labor Discription"), "Button8");
    laborLines->setEnabled(bool(m_links.openChild));
    connect(laborLines, &QPushButton::clicked, this, [this] {
        guard([this] { m_links.openChild(createLaborLines(m_links.laborPicker)); });
    });
    laborBar->addWidget(laborLines);
    laborBar->addStretch(1);
    laborBar->addWidget(new QLabel(QStringLiteral("Total $"), this));
    m_laborSum = figure(this, QStringLiteral("Label15"), QStringLiteral("0.00"));
    laborBar->addWidget(m_laborSum);
    laborPanel->addLayout(laborBar);
    m_labor = new DataGrid(DM->query(m_description.laborLinesQuery), this);
    m_labor->setObjectName(QStringLiteral("DBGrid3"));
    laborPanel->addWidget(m_labor, 1);
    lower->addLayout(laborPanel, 2);
    layout->addLayout(lower, 1);

    auto* bottom = new QHBoxLayout;
    QPushButton* close = button(this, QStringLiteral("Close"), "Button1");
    connect(close, &QPushButton::clicked, this, [this] { closeWindow(this); });
    bottom->addWidget(close);
    bottom->addStretch(1);
    bottom->addWidget(new QLabel(QStringLiteral("Search"), this));
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("Edit13"));
    connect(m_search, &QLineEdit::textEdited, this, [this](const QString& typed) {
        // Letters typed into the search box become capitals.
        if (typed != typed.toUpper()) {
            const int at = m_search->cursorPosition();
            m_search->setText(typed.toUpper());
            m_search->setCursorPosition(at);
        }
    });
    connect(m_search, &QLineEdit::textChanged, this,
            [this](const QString& text) { guard([&] { search(text); }); });
    bottom->addWidget(m_search);
    m_navigator = new Navigator(m_invoices, this);
    connect(m_navigator, &Navigator::moved, this, [this] { guard([this] { selectRow(false); }); });
    bottom->addWidget(m_navigator);
    QPushButton* print = button(this, m_description.printCaption, "Button9");
    print->setEnabled(bool(m_links.preview));
    connect(print, &QPushButton::clicked, this, [this] { guard([this] { this->print(); }); });
    bottom->addWidget(print);
    m_open = new QRadioButton(QStringLiteral("Open"), this);
    m_open->setObjectName(QStringLiteral("RadioButton1"));
    m_open->setChecked(true);
    m_paidFilter = new QRadioButton(QStringLiteral("Paid"), this);
    m_paidFilter->setObjectName(QStringLiteral("RadioButton2"));
    m_all = new QRadioButton(QStringLiteral("All"), this);
    m_all->setObjectName(QStringLiteral("RadioButton3"));
    const QList<std::pair<QRadioButton*, Filter>> filters = {
        {m_open, Filter::Open}, {m_paidFilter, Filter::Paid}, {m_all, Filter::All}};
    for (const auto& [radio, filter] : filters) {
        const Filter f = filter;
        connect(radio, &QRadioButton::clicked, this, [this, f] { guard([&] { setFilter(f); }); });
        bottom->addWidget(radio);
    }
    layout->addLayout(bottom);
}

QWidget* DocumentWindow::buildHeader()
{
    auto* panel = new QGroupBox(this);
    panel->setObjectName(QStringLiteral("HeaderPanel"));
    auto* grid = new QGridLayout(panel);
    grid->setVerticalSpacing(4);
    auto place = [grid, panel](int row, int column, const QString& caption, QWidget* box) {
        auto* label = new QLabel(caption, panel);
        label->setBuddy(box);
        grid->addWidget(label, row, column * 2);
        grid->addWidget(box, row, column * 2 + 1);
    };
    auto edit = [this, panel](const QString& column, const QString& name) {
        auto* box = new QLineEdit(panel);
        box->setObjectName(name);
        m_edits.insert(column, box);
        return box;
    };
    auto list = [this, panel](const QString& column, const QString& name,
                              const QString& statement) {
        auto* box = new ListBox(panel);
        box->setObjectName(name);
        box->setSource([this, statement] { return listValues(statement); });
        m_lists.insert(column, box);
        return box;
    };

    m_invoiceNo = edit(QStringLiteral("InvoiceNo_Inv"), QStringLiteral("Edit1"));
    place(0, 0, m_description.numberCaption, m_invoiceNo);
    place(1, 0, QStringLiteral("Customer Name"),
          list("CustomerName_Inv", "ComboBox1", "Select distinct Name_Customer From Customer"));
    place(2, 0, QStringLiteral("Sale Person"),
          list("RepairPerson_Inv", "ComboBox2", "Select distinct Name_Employee From Employee"));
    m_invoiceDate = new DateBox(panel);
    m_invoiceDate->setObjectName(QStringLiteral("DateTimePicker1"));
    m_invoiceDate->lineEdit()->setObjectName(QStringLiteral("Edit2"));
    m_edits.insert(QStringLiteral("InvoiceDate_Inv"), m_invoiceDate->lineEdit());
    place(3, 0, QStringLiteral("Invoice Date"), m_invoiceDate);
    m_dueDate = new DateBox(panel);
    m_dueDate->setObjectName(QStringLiteral("DateTimePicker2"));
    m_dueDate->lineEdit()->setObjectName(QStringLiteral("Edit3"));
    m_edits.insert(QStringLiteral("DueDate_Inv"), m_dueDate->lineEdit());
    place(4, 0, QStringLiteral("Due Date"), m_dueDate);
    QLineEdit* amount = edit(QStringLiteral("Amount_Inv"), QStringLiteral("Edit4"));
    amount->installEventFilter(this);
    place(5, 0, QStringLiteral("Amount"), amount);
    m_balance = new QLabel(panel);
    m_balance->setObjectName(QStringLiteral("Label17"));
    m_balance->setStyleSheet(QStringLiteral("color: #b00000;"));
    grid->addWidget(m_balance, 6, 1);
    m_tax = new QComboBox(panel);
    m_tax->setObjectName(QStringLiteral("ComboBox5"));
    m_tax->setEditable(true);
    m_tax->addItems({QStringLiteral("Yes"), QStringLiteral("No")});
    m_tax->setCurrentText(QStringLiteral("Yes"));
    place(7, 0, QStringLiteral("Tax"), m_tax);
    m_paid = new QCheckBox(QStringLiteral("Paid"), panel);
    m_paid->setObjectName(QStringLiteral("CheckBox1"));
    grid->addWidget(m_paid, 8, 1);

    place(0, 1, m_description.poCaption, edit("PO_Inv", "Edit5"));
    place(1, 1, QStringLiteral("Vin #"), edit("Vin_Inv", "Edit6"));
    place(2, 1, QStringLiteral("Truck No"), edit("TruckNo_Inv", "Edit10"));
    place(3, 1, QStringLiteral("Milage"), edit("Mileage_Inv", "Edit7"));
    place(4, 1, QStringLiteral("Make"),
          list("Make_Inv", "ComboBox3",
               "Select distinct Make_Inv From " + m_description.headerTable));
    place(5, 1, QStringLiteral("Model"),
          list("Model_Inv", "ComboBox4",
               "Select distinct Model_Inv From " + m_description.headerTable));
    place(6, 1, QStringLiteral("Year"), edit("Year_Inv", "Edit8"));
    place(7, 1, QStringLiteral("Plate"), edit("Plate_Inv", "Edit9"));

    m_address = new QPlainTextEdit(panel);
    m_address->setObjectName(QStringLiteral("Memo1"));
    m_address->setMaximumHeight(70);
    place(0, 2, QStringLiteral("Cust. Address"), m_address);
    grid->addWidget(m_address, 0, 5, 3, 1);
    m_remark = new QPlainTextEdit(panel);
    m_remark->setObjectName(QStringLiteral("Memo2"));
    m_remark->setMaximumHeight(70);
    place(3, 2, QStringLiteral("Remark "), m_remark);
    grid->addWidget(m_remark, 3, 5, 3, 1);
    m_total = figure(panel, QStringLiteral("Label14"), QStringLiteral("0.00"));
    place(6, 2, m_description.totalCaption, m_total);
    m_paidSum = figure(panel, QStringLiteral("Label19"), QStringLiteral("0.00"));
    place(7, 2, QStringLiteral("Paid $ :"), m_paidSum);
    for (int column : {1, 3, 5})
        grid->setColumnStretch(column, 1);

    m_lists.value(QStringLiteral("CustomerName_Inv"))->installEventFilter(this);
    return panel;
}

void DocumentWindow::bindKeys()
{
    // Only these header boxes move the focus with Enter and Left arrow, and save with F2.
    QWidget* number = m_invoiceNo;
    QWidget* customer = m_lists.value(QStringLiteral("CustomerName_Inv"));
    QWidget* salePerson = m_lists.value(QStringLiteral("RepairPerson_Inv"));
    QWidget* invoiceDate = m_invoiceDate->lineEdit();
    QWidget* dueDate = m_dueDate->lineEdit();
    QWidget* amount = m_edits.value(QStringLiteral("Amount_Inv"));
    m_chain = new FocusChain(this);
    m_chain->add({number, customer, salePerson, invoiceDate, dueDate, amount});
    m_chain->link(number, customer, m_remark);
    m_chain->link(customer, salePerson, number);
    m_chain->link(salePerson, invoiceDate, customer);
    m_chain->link(invoiceDate, nullptr, salePerson);
    m_chain->link(dueDate, m_remark, nullptr);
    m_chain->link(amount, number, dueDate);
    m_chain->bindInControls(Qt::Key_F2, [this] { save(); });
}

QString DocumentWindow::text(const QString& column) const
{
    if (column == QLatin1String("JobLocation_Inv"))
        return m_address->toPlainText();
    if (column == QLatin1String("Remark_Inv"))
        return m_remark->toPlainText();
    if (column == QLatin1String("Tax_Inv"))
        return m_tax->currentText();
    if (QLineEdit* edit = m_edits.value(column))
        return edit->text();
    if (QComboBox* list = m_lists.value(column))
        return list->currentText();
    return {};
}

void DocumentWindow::setText(const QString& column, const QString& text)
{
    // Laying out a box's text is the dearest part of showing a row: unchanged boxes are left.
    if (this->text(column) == text)
        return;
    if (column == QLatin1String("JobLocation_Inv"))
        m_address->setPlainText(text);
    else if (column == QLatin1String("Remark_Inv"))
        m_remark->setPlainText(text);
    else if (column == QLatin1String("Tax_Inv"))
        m_tax->setCurrentText(text);
    else if (QLineEdit* edit = m_edits.value(column))
        edit->setText(text);
    else if (QComboBox* list = m_lists.value(column))
        list->setEditText(text);
}

bool DocumentWindow::paid() const
{
    return m_paid->isChecked();
}

void DocumentWindow::setPaid(bool paid)
{
    m_paid->setChecked(paid);
}

void DocumentWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    guard([this] { openWindow(); });
}

bool DocumentWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyRelease && m_list->hasFocus() &&
        !static_cast<QKeyEvent*>(event)->isAutoRepeat())
        guard([this] { selectRow(true); });
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        const bool left = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
        QLineEdit* amount = m_edits.value(QStringLiteral("Amount_Inv"));
        if (watched == amount && amount->text().isEmpty())
            amount->setText(QStringLiteral("0"));
        if (left && watched == m_lists.value(QStringLiteral("CustomerName_Inv")))
            guard([this] { lookUpCustomer(); });
    }
    return QWidget::eventFilter(watched, event);
}
