#include "ui/common/PaymentWindow.h"

#include "data/Connection.h"
#include "data/Currency.h"
#include "data/DbError.h"
#include "data/Formats.h"
#include "data/KeyedRows.h"
#include "data/Query.h"
#include "data/TDM.h"
#include "data/Transaction.h"
#include "stores/PaymentStore.h"
#include "ui/common/FocusChain.h"
#include "ui/common/Guard.h"
#include "ui/common/Prompter.h"
#include "ui/common/WindowParts.h"

#include <QDate>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString zero = QStringLiteral("0.00");
const QString dots = QString(30, QLatin1Char('.'));

QString today()
{
    return Formats::shortDate(QDate::currentDate());
}
} // namespace

PaymentWindow::PaymentWindow(PaymentDescription description, QWidget* parent)
    : QWidget(parent)
    , m_description(std::move(description))
    , m_lookup(new Query(QStringLiteral("Lookup"), DM->admin1(), this))
    , m_writes(new Query(QStringLiteral("Writes"), DM->admin1(), this))
    , m_boxes(new FormBoxes(m_description.boxes, this,
                            new Query(QStringLiteral("Lists"), DM->admin1(), this)))
{
    setObjectName(m_description.title);
    setWindowTitle(m_description.title);
    buildForm();
    // Only what the user types starts a look-up: the boxes the form fills itself never set
    // off another look-up.
    connect(m_boxes, &FormBoxes::edited, this, [this](const QString& column) {
        if (column == m_description.documentColumn)
            guard([this] { lookUpDocument(); });
        else if (column == m_description.referenceColumn && m_description.referenceLoads)
            guard([this] { lookUpReference(); });
    });
}

void PaymentWindow::buildForm()
{
    QVBoxLayout* layout = WindowParts::windowLayout(this, m_description.title);

    QFrame* panel = WindowParts::raisedPanel(this, QStringLiteral("EditPanel"));
    auto* panelLayout = new QHBoxLayout(panel);
    QGridLayout* grid = WindowParts::boxGrid();
    QStringList order;
    for (const FormBox& box : m_description.boxes) {
        m_boxes->box(box.column)->setParent(panel);
        order.append(box.column);
    }
    const int rows = m_boxes->layOut(grid, {order});
    // The boxes keep their place at the top and a readable width in a maximised window.
    grid->setRowStretch(rows, 1);
    for (const QString& column : order)
        m_boxes->box(column)->setMinimumWidth(380);
    QPushButton* find =
        WindowParts::commandButton(panel, QStringLiteral("Find"), QStringLiteral("SpeedButton1"));
    find->setToolTip(QStringLiteral("Pick from the list of all documents"));
    connect(find, &QPushButton::clicked, this, [this] { guard([this] { openFinder(); }); });
    m_boxes->placeBeside(grid, m_description.documentColumn, find);
    m_note = new QLabel(dots, panel);
    m_note->setObjectName(QStringLiteral("Label12"));
    m_note->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    m_note->setMinimumWidth(
        m_note->fontMetrics().horizontalAdvance(QStringLiteral("It has Receivable")) + 8);
    m_boxes->placeBeside(grid, m_description.referenceColumn, m_note);
    panelLayout->addLayout(grid);
    panelLayout->addSpacing(24);

    m_commands = new QVBoxLayout;
    m_commands->setSpacing(4);
    auto command = [this, panel](const QString& caption, const QString& name,
                                 std::function<void()> run) {
        QPushButton* button = WindowParts::commandButton(panel, caption, name);
        if (run)
            connect(button, &QPushButton::clicked, this, [run] { guard(run); });
        else
            button->setEnabled(false);
        m_commands->addWidget(button);
        return button;
    };
    command(QStringLiteral("New  ( F3 )"), QStringLiteral("Button2"), [this] { newPayment(); });
    command(QStringLiteral("Save ( F2 )"), QStringLiteral("Button1"), [this] { save(); });
    // A payment is corrected by saving it again and removed from the lists; these two only
    // say so.
    QPushButton* remove = command(QStringLiteral("Delete ( F8 )"), QStringLiteral("Button3"), {});
    remove->setToolTip(QStringLiteral("Payments are removed from the History or the List"));
    QPushButton* cancel = command(QStringLiteral("Cancel ( Esc )"), QStringLiteral("Button7"), {});
    cancel->setToolTip(QStringLiteral("Nothing is written before Save; New clears the form"));
    m_commands->addStretch(1);
    QPushButton* close =
        WindowParts::commandButton(panel, QStringLiteral("Close"), m_description.closeName);
    connect(close, &QPushButton::clicked, this, [this] { closeWindow(this); });
    m_commands->addWidget(close);
    panelLayout->addLayout(m_commands);
    panelLayout->addStretch(1);
    layout->addWidget(panel, 1);

    QFrame* figures = WindowParts::raisedPanel(this, QStringLiteral("FigurePanel"));
    auto* figureLayout = new QHBoxLayout(figures);
    m_party = WindowParts::addFigure(figures, figureLayout, QStringLiteral("Customer Name:"),
                                     QStringLiteral("Label9"), QString());
    m_party->setMinimumWidth(180);
    m_amount = WindowParts::addFigure(figures, figureLayout, QStringLiteral("Amount$:"),
                                      QStringLiteral("Label11"), zero);
    m_paid = WindowParts::addFigure(figures, figureLayout, QStringLiteral("Paid"),
                                    QStringLiteral("Label14"), zero);
    m_balance = WindowParts::addFigure(figures, figureLayout, QStringLiteral("Balance"),
                                       QStringLiteral("Label16"), zero);
    figureLayout->addStretch(20);
    layout->addWidget(figures);

    m_chain = new FocusChain(this);
    for (const QString& column : order)
        m_chain->add(m_boxes->focusTarget(column));
    m_chain->wrapTo(m_boxes->focusTarget(m_description.documentColumn));
    m_chain->bind(QKeySequence(Qt::Key_F3), [this] { guard([this] { newPayment(); }); });
    m_chain->bind(QKeySequence(Qt::Key_F2), [this] { guard([this] { save(); }); });
    m_chain->bind(QKeySequence(Qt::CTRL | Qt::Key_F4), [this] { closeWindow(this); });
}

QPushButton* PaymentWindow::addCommand(const QString& caption, const QString& name, int key,
                                       std::function<void()> command)
{
    QPushButton* button = WindowParts::commandButton(this, caption, name);
    connect(button, &QPushButton::clicked, this, [command] { guard(command); });
    // Above the stretch that keeps Close at the bottom.
    m_commands->insertWidget(m_commands->count() - 2, button);
    if (key)
        m_chain->bind(QKeySequence(key), [command] { guard(command); });
    return button;
}

void PaymentWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // A form opened with a document already looked it up; an empty one starts as New leaves it.
    if (text(m_description.documentColumn).trimmed().isEmpty()) {
        setText(m_description.amountBox, zero);
        setText(m_description.payDateBox, today());
    }
}

QString PaymentWindow::text(const QString& column) const
{
    return m_boxes->text(column);
}

void PaymentWindow::setText(const QString& column, const QString& text)
{
    m_boxes->setText(column, text);
}

void PaymentWindow::setDocument(const QString& document)
{
    setText(m_description.documentColumn, document);
    lookUpDocument();
}

void PaymentWindow::showDocumentFigures(const QString& party, const QString& amount)
{
    m_party->setText(party);
    m_amount->setText(amount);
}

std::optional<QVariant> PaymentWindow::documentValue() const
{
    const QString document = text(m_description.documentColumn).trimmed();
    if (!m_description.numberedDocuments)
        return QVariant(document);
    // A number box being typed into names no document yet; it is not an error.
    try {
        return QVariant(Formats::wholeNumber(document));
    } catch (const DbError&) {
        return std::nullopt;
    }
}

PaymentTables PaymentWindow::tables() const
{
    const PaymentDescription& d = m_description;
    return {d.table,         d.amountBox,   d.documentColumn, d.referenceColumn,
            d.documentTable, d.documentKey, d.amountColumn};
}

QString PaymentWindow::sumPaid(const QVariant& document, qint64 except)
{
    const QString sum =
        PaymentStore(m_writes->connection()).paidSum(tables(), document, except).asText();
    return sum.isEmpty() ? zero : sum;
}

void PaymentWindow::lookUpDocument()
{
    if (text(m_description.documentColumn).trimmed().isEmpty())
        return;
    const std::optional<QVariant> document = documentValue();
    bool found = false;
    if (document) {
        PaymentStore(m_lookup->connection()).document(*m_lookup, tables(), *document);
        found = !m_lookup->isEmpty();
    }
    if (!found) {
        m_lookup->close();
        if (!m_description.clearWhenMissing)
            return;
        QStringList keep = m_description.keptWhenMissing;
        keep.append(m_description.documentColumn);
        emptyForm(keep);
        resetFigures();
        m_amount->clear();
        m_paid->setText(zero);
        return;
    }
    const QString party = m_lookup->field(m_description.partyColumn).asText();
    const QString amount = m_lookup->field(m_description.amountColumn).asText();
    for (const auto& [box, column] : m_description.fromDocument)
        setText(box, m_lookup->field(column).asText());
    m_lookup->close();
    const QString paid = sumPaid(*document);
    showDocumentFigures(party, amount);
    // What is still owed is proposed; the whole amount while nothing is paid.
    const Currency balance = Currency::parse(amount, true) - Currency::parse(paid, true);
    setText(m_description.amountBox, Currency::parse(paid, true).isZero()
                                         ? amount
                                         : std::max(balance, Currency()).toFixed2());
    m_paid->setText(paid);
    m_balance->setText(balance.toPlain());
    setText(m_description.payDateBox, today());
    m_paymentKey = 0;
    // The note speaks of this document's payments, not of the one shown before; a payment
    // with the reference already typed is shown.
    if (m_description.referenceLoads)
        lookUpReference();
}

bool PaymentWindow::findPayment(const QVariant& document)
{
    // A payment without a reference is never found by its reference: each is one of its own.
    const QString reference = text(m_description.referenceColumn);
    if (reference.trimmed().isEmpty())
        return false;
    PaymentStore(m_lookup->connection()).payments(*m_lookup, tables(), document, reference);
    return !m_lookup->isEmpty();
}

void PaymentWindow::lookUpReference()
{
    if (text(m_description.documentColumn).trimmed().isEmpty())
        return;
    const std::optional<QVariant> document = documentValue();
    const bool found = document && findPayment(*document);
    m_paymentKey = found ? m_lookup->currentKey() : 0;
    if (found)
        for (const QString& column : m_description.loadedByReference)
            setText(column, m_lookup->field(column).asText());
    m_lookup->close();
    m_note->setText(found ? m_description.existingNote : dots);
}

bool PaymentWindow::overpaymentAccepted()
{
    const std::optional<QVariant> document = documentValue();
    if (!document)
        return true;
    PaymentStore(m_lookup->connection()).document(*m_lookup, tables(), *document);
    if (m_lookup->isEmpty()) {
        m_lookup->close();
        return true;
    }
    const Currency amount = m_lookup->field(m_description.amountColumn).asCurrency();
    m_lookup->close();
    // The balance before this payment: a payment being changed no longer counts.
    const Currency paid = Currency::parse(sumPaid(*document, m_paymentKey), true);
    const Currency balance = amount - paid;
    const Currency payment = Currency::parse(text(m_description.amountBox));
    if (payment <= balance)
        return true;
    return Prompter::instance().confirm(
        QStringLiteral("This payment of %1 is more than the balance of %2 still owed on %3 %4. "
                       "Save it anyway?")
            .arg(payment.toMoneyFormat(), balance.toMoneyFormat(),
                 m_description.documentTable.toLower(),
                 text(m_description.documentColumn).trimmed()));
}

void PaymentWindow::emptyForm(const QStringList& keep)
{
    QHash<QString, QString> texts;
    texts.insert(m_description.amountBox, zero);
    texts.insert(m_description.payDateBox, today());
    m_boxes->reset(texts, keep);
    m_note->setText(dots);
}

void PaymentWindow::resetFigures()
{
    m_party->clear();
    m_amount->setText(zero);
    m_balance->setText(zero);
}

void PaymentWindow::newPayment()
{
    emptyForm(m_description.newKeeps);
    m_paymentKey = 0;
    if (m_description.newClearsDocumentFigures) {
        m_party->clear();
        m_amount->setText(zero);
    }
    m_boxes->focusTarget(m_description.documentColumn)->setFocus();
}

void PaymentWindow::save()
{
    const QString document = text(m_description.documentColumn).trimmed();
    if (document.isEmpty())
        return;
    // Every box is checked before the question: a payment is never stored with an amount or
    // a date the period totals cannot read.
    const QString dateCaption = m_boxes->caption(m_description.payDateBox);
    if (text(m_description.payDateBox).trimmed().isEmpty())
        throw DbError(QStringLiteral("%1: a payment needs the date it was made.").arg(dateCaption));
    const SqlRow row = m_boxes->row(m_description.table, {},
                                    {{m_description.amountBox, SqlRow::EmptyNumber::Refused}});
    if (Prompter::instance().confirm(
            QStringLiteral("Are you sure you want to Save this Record?"))) {
        if (!overpaymentAccepted())
            return;
        Connection& connection = *m_writes->connection();
        Transaction transaction(&connection);
        if (m_paymentKey != 0) {
            // The payment the reference loaded, and no other; it takes the reference as typed.
            if (KeyedRows::update(connection, row, m_paymentKey) == 0) {
                m_paymentKey = 0;
                throw DbError(KeyedRows::goneMessage(QStringLiteral("payment")));
            }
        } else {
            KeyedRows::insert(connection, row);
        }
        transaction.commit();
        m_paymentKey = 0;
        Prompter::instance().inform(QStringLiteral("Saved!"));
    } else if (!m_description.clearsAfterNo) {
        return;
    }
    // Ready for the next payment; "Paid" keeps the last document's sum.
    newPayment();
    resetFigures();
}
