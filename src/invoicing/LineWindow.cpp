#include "invoicing/LineWindow.h"

#include "data/Currency.h"
#include "data/Formats.h"
#include "data/Query.h"
#include "data/SqlLiteral.h"
#include "data/TDM.h"
#include "invoicing/DocumentWindow.h"
#include "ui/common/DataGrid.h"
#include "ui/common/FocusChain.h"
#include "ui/common/Guard.h"
#include "ui/common/ListBox.h"
#include "ui/common/Navigator.h"
#include "ui/common/Prompter.h"
#include "ui/common/Windows.h"

#include <QCloseEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

LineWindow::LineWindow(LineDescription description, DocumentWindow* invoice,
                       std::function<void()> showPicker, QWidget* parent)
    : QWidget(parent)
    , m_description(std::move(description))
    , m_invoice(invoice)
    , m_showPicker(std::move(showPicker))
    , m_lines(DM->query(m_description.gridQuery))
{
    setObjectName(m_description.caption);
    setWindowTitle(m_description.caption);
    setProperty("openMaximized", m_description.maximized);
    // The invoice is read once: the window stays on this invoice whatever happens there.
    if (invoice) {
        m_number = invoice->text(QStringLiteral("InvoiceNo_Inv"));
        m_customer = invoice->text(QStringLiteral("CustomerName_Inv"));
        m_date = invoice->text(QStringLiteral("InvoiceDate_Inv"));
    }
    buildForm();
}

void LineWindow::buildForm()
{
    auto* layout = new QVBoxLayout(this);
    auto* heading = headingLabel(this, m_description.heading, 16);
    layout->addWidget(heading);

    auto* info = new QGridLayout;
    const QList<std::tuple<QString, QString, QString>> facts = {
        {"Invoice Number", "Label6", m_number},
        {"Customer Name", "Label8", m_customer},
        {"Invoice Date", "Label9", m_date},
        {"Driver Name", "Label10", QString()},
    };
    int row = 0;
    for (const auto& [caption, name, value] : facts) {
        info->addWidget(new QLabel(caption, this), row / 2, (row % 2) * 2);
        auto* label = new QLabel(value, this);
        label->setObjectName(name);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        info->addWidget(label, row / 2, (row % 2) * 2 + 1);
        ++row;
    }
    layout->addLayout(info);

    auto* middle = new QHBoxLayout;
    auto* boxes = new QGridLayout;
    auto* chain = new FocusChain(this);
    for (int i = 0; i < m_description.boxes.size(); ++i) {
        const LineBox& spec = m_description.boxes.at(i);
        QWidget* box = nullptr;
        if (spec.list) {
            auto* list = new ListBox(this);
            list->setSource([this] { return listValues(); });
            box = list;
        } else {
            box = new QLineEdit(spec.newText, this);
        }
        box->setObjectName(spec.name);
        auto* label = new QLabel(spec.label, this);
        label->setBuddy(box);
        boxes->addWidget(label, i, 0);
        boxes->addWidget(box, i, 1);
        m_boxes.insert(spec.column, box);
        if (m_description.keys)
            chain->add(box);
    }
    if (m_description.keys) {
        chain->wrapTo(box(m_description.boxes.first().column));
        chain->bindInControls(Qt::Key_F2, [this] { save(); });
    }
    for (const QString& column : {m_description.qtyColumn, m_description.rateColumn})
        box(column)->installEventFilter(this);
    middle->addLayout(boxes, 2);

    m_figures = new QVBoxLayout;
    // The figures keep their natural height at the top of their column.
    m_figures->setAlignment(Qt::AlignTop);
    m_total = addFigure(m_description.totalCaption, m_description.totalName);
    middle->addLayout(m_figures, 1);

    auto* commands = new QVBoxLayout;
    const QList<std::tuple<QString, QString, std::function<void()>>> buttons = {
        {"New  ( F3 )", "Button2", [this] { newLine(); }},
        {"Save ( F2 )", "Button1", [this] { save(); }},
        {"Delete ( F8 )", "Button3", [this] { remove(); }},
        {"Refresh ( F5 )", "Button5", [this] { reload(); }},
        {"Cancel ( Esc)", "Button7", [this] { reload(); }},
    };
    for (const auto& [text, name, command] : buttons) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [command] { guard(command); });
        commands->addWidget(button);
    }
    auto* find = new QPushButton(m_description.findCaption, this);
    find->setObjectName(QStringLiteral("Button8"));
    find->setAutoDefault(false);
    find->setEnabled(bool(m_showPicker));
    connect(find, &QPushButton::clicked, this, [this] { guard(m_showPicker); });
    commands->addWidget(find);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("Button4"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, [this] { closeWindow(this); });
    commands->addWidget(close);
    commands->addStretch(1);
    middle->addLayout(commands);
    layout->addLayout(middle);

    m_grid = new DataGrid(m_lines, this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->installEventFilter(this);
    connect(m_grid, &DataGrid::cellClicked, this,
            [this] { guard([this] { rowLoad(m_description.rowLoadReloadsTotal); }); });
    layout->addWidget(m_grid, 1);
    auto* navigator = new Navigator(m_lines, this);
    connect(navigator, &Navigator::moved, this,
            [this] { guard([this] { rowLoad(m_description.rowLoadReloadsTotal); }); });
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(navigator);
    bottom->addStretch(1);
    layout->addLayout(bottom);
}

QLabel* LineWindow::addFigure(const QString& caption, const QString& name)
{
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(caption, this));
    auto* value = new QLabel(QStringLiteral("0.00"), this);
    value->setObjectName(name);
    value->setMinimumWidth(90);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    row->addWidget(value);
    m_figures->addLayout(row);
    return value;
}

QString LineWindow::text(const QString& column) const
{
    QWidget* widget = box(column);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    if (auto* list = qobject_cast<ListBox*>(widget))
        return list->text();
    return {};
}

void LineWindow::setText(const QString& column, const QString& text)
{
    QWidget* widget = box(column);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(text);
    else if (auto* list = qobject_cast<ListBox*>(widget))
        list->setText(text);
}

void LineWindow::runStatement(Query* query, const QStringList& lines)
{
    query->close();
    query->setSql(lines);
}

void LineWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    guard([this] {
        loadGrid(m_description.openTitles);
        rowLoad(false);
        loadTotal();
    });
}

void LineWindow::loadGrid(const QStringList& titles)
{
    runStatement(m_lines, {"Select * From " + m_description.table + " where " +
                           m_description.invoiceColumn + "=" + Sql::integer(m_number)});
    m_lines->open();
    m_lines->first();
    m_grid->setTitles(titles);
}

void LineWindow::loadTotal()
{
    Query* sum = DM->query(m_description.sumQuery);
    runStatement(sum,
                 {"Select Sum(" + m_description.amountColumn + ") From " + m_description.table +
                  " where " + m_description.invoiceColumn + " =" + Sql::integer(m_number)});
    sum->open();
    m_total->setText(sum->field(QStringLiteral("Expr1000")).asText());
}

void LineWindow::rowLoad(bool reloadTotal)
{
    // An invoice without lines starts from a new, empty line.
    if (m_lines->isEmpty() || m_lines->currentRow() < 0)
        newLine();
    else
        for (const LineBox& spec : m_description.boxes)
            setText(spec.column, m_lines->field(spec.column).asText());
    if (reloadTotal) {
        m_grid->setTitles(m_description.titles);
        loadTotal();
    }
}

QStringList LineWindow::listValues()
{
    Query* q = DM->query(m_description.lookupQuery);
    runStatement(q, {m_description.listStatement});
    q->open();
    const int column = q->columnIndex(m_description.listColumn);
    QStringList values;
    for (int row = 0; row < q->recordCount(); ++row)
        values.append(q->field(row, column).asText());
    q->close();
    return values;
}

void LineWindow::newLine()
{
    for (const LineBox& spec : m_description.boxes)
        setText(spec.column, spec.newText);
}

void LineWindow::computeAmount()
{
    const QString qty = text(m_description.qtyColumn);
    // A quantity written with a leading digit other than a lone "0" gives an amount; an
    // empty, zero or negative quantity gives none.
    if (QString::compare(qty, QStringLiteral("0")) > 0) {
        const double q = Currency::parse(qty).toDouble();
        const double rate = Currency::parse(text(m_description.rateColumn)).toDouble();
        setText(m_description.amountColumn, Currency::fromDouble(q * rate).toHashFormat());
    } else {
        setText(m_description.amountColumn, QStringLiteral("0"));
    }
}

LineWindow::Values LineWindow::values() const
{
    Values v;
    v.insert(m_description.invoiceColumn, Sql::integer(m_number));
    for (const LineBox& spec : m_description.boxes) {
        const QString value = text(spec.column);
        const bool number = spec.column == m_description.qtyColumn ||
                            spec.column == m_description.rateColumn ||
                            spec.column == m_description.amountColumn;
        v.insert(spec.column, number ? Sql::number(value) : Sql::text(value));
    }
    return v;
}

void LineWindow::save()
{
    if (text(m_description.boxes.first().column).isEmpty())
        return;
    const Values v = values();
    if (Prompter::instance().confirm(
            QStringLiteral("Are you sure you want to Save this Record?"))) {
        Query* lookup = DM->query(m_description.lookupQuery);
        runStatement(lookup, existsStatement(v));
        lookup->open();
        const bool exists = !lookup->isEmpty();
        lookup->close();
        runStatement(m_lines, exists ? updateStatement(v) : insertStatement(v));
        m_lines->exec();
        Prompter::instance().inform(QStringLiteral("Saved!"));
    }
    loadGrid(m_description.titles);
    rowLoad(false);
    loadTotal();
    m_grid->setFocus();
}

void LineWindow::remove()
{
    if (text(m_description.boxes.first().column).isEmpty())
        return;
    const Values v = values();
    if (Prompter::instance().confirm(
            QStringLiteral("Are you sure you want to Delete this Record?"))) {
        runStatement(m_lines, deleteStatement(v));
        m_lines->exec();
        reload();
    }
    loadTotal();
}

void LineWindow::reload()
{
    loadGrid(m_description.titles);
    rowLoad(false);
    loadTotal();
}

void LineWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (m_givenBack || !event->isAccepted())
        return;
    m_givenBack = true;
    // The invoice window may have been closed first; then there is nobody to give back to.
    if (m_invoice)
        guard([this] { giveBack(m_invoice); });
}

bool LineWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut &&
        (watched == box(m_description.qtyColumn) || watched == box(m_description.rateColumn))) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            guard([this] { computeAmount(); });
    }
    if (watched == m_grid && event->type() == QEvent::KeyRelease &&
        m_description.rowLoadReloadsTotal && m_grid->hasFocus() &&
        !static_cast<QKeyEvent*>(event)->isAutoRepeat())
        guard([this] { rowLoad(true); });
    return QWidget::eventFilter(watched, event);
}
