#include "ui/documents/LineWindow.h"

#include "data/Connection.h"
#include "data/Currency.h"
#include "data/DbError.h"
#include "data/Formats.h"
#include "data/KeyedRows.h"
#include "data/Query.h"
#include "data/SqlSelect.h"
#include "data/TDM.h"
#include "ui/common/DataGrid.h"
#include "ui/common/FocusChain.h"
#include "ui/common/Guard.h"
#include "ui/common/Navigator.h"
#include "ui/common/Prompter.h"
#include "ui/common/WindowParts.h"
#include "ui/documents/LinePanel.h"

#include <QCloseEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace {
// A box's text read as money; the refusal names the box.
Currency money(const QString& text, const QString& box)
{
    bool ok = false;
    Formats::parseNumber(text, &ok);
    if (!ok)
        throw DbError(Formats::notANumberMessage(text, box));
    return Currency::parse(text);
}
} // namespace

LineWindow::LineWindow(LineDescription description, LineOwnerRef owner, QWidget* parent)
    : QWidget(parent)
    , m_description(std::move(description))
    , m_owner(owner)
    , m_lines(new Query(QStringLiteral("Lines"), DM->admin1(), this))
    , m_lookup(new Query(QStringLiteral("Lookup"), DM->admin1(), this))
{
    setObjectName(m_description.caption);
    setWindowTitle(m_description.caption);
    setProperty("openMaximized", m_description.maximized);
    // The document is read once: the window stays on it whatever its owner shows later.
    if (LineOwner* document = m_owner.get()) {
        m_number = document->documentNumber();
        m_facts = document->lineFacts();
        for (int i = 0; i < m_facts.size() && i < m_description.factCaptions.size(); ++i)
            m_facts[i].first = m_description.factCaptions.at(i);
    }
    m_boxes = new FormBoxes(m_description.boxes, this, m_lookup);
    buildForm();
    if (m_description.fill)
        connect(m_boxes, &FormBoxes::edited, this, [this](const QString& column) {
            if (column == m_description.fill->box)
                guard([this] { fillFromCatalogue(); });
        });
}

void LineWindow::buildForm()
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(headingLabel(this, m_description.heading, 16));

    auto* facts = new QGridLayout;
    for (int i = 0; i < m_facts.size(); ++i) {
        facts->addWidget(new QLabel(m_facts.at(i).first, this), i / 2, (i % 2) * 2);
        auto* value = new QLabel(m_facts.at(i).second, this);
        value->setObjectName(m_description.factNames.value(i));
        QFont bold = value->font();
        bold.setBold(true);
        value->setFont(bold);
        facts->addWidget(value, i / 2, (i % 2) * 2 + 1);
    }
    facts->setColumnStretch(1, 1);
    facts->setColumnStretch(3, 1);
    layout->addLayout(facts);

    auto* middle = new QHBoxLayout;
    auto* boxGrid = new QGridLayout;
    QStringList order;
    for (const FormBox& spec : m_description.boxes)
        order.append(spec.column);
    boxGrid->setRowStretch(m_boxes->layOut(boxGrid, {order}), 1);
    middle->addLayout(boxGrid, 2);
    for (const QString& column : {m_description.qtyColumn, m_description.rateColumn})
        m_boxes->focusTarget(column)->installEventFilter(this);

    m_figures = new QVBoxLayout;
    // The figures keep their natural height at the top of their column.
    m_figures->setAlignment(Qt::AlignTop);
    if (!m_description.totalCaption.isEmpty())
        m_total = addFigure(m_description.totalCaption, m_description.totalName);
    middle->addLayout(m_figures, 1);

    auto* commands = new QVBoxLayout;
    const QStringList& names = m_description.commandNames;
    const QList<std::tuple<QString, QString, std::function<void()>>> buttons = {
        {"New  ( F3 )", names.at(0), [this] { newLine(); }},
        {"Save ( F2 )", names.at(1), [this] { save(); }},
        {"Delete ( F8 )", names.at(2), [this] { remove(); }},
        {"Refresh ( F5 )", names.at(3), [this] { reload(); }},
        {m_description.cancelCaption, names.at(4), [this] { cancel(); }},
    };
    for (const auto& [text, name, command] : buttons) {
        QPushButton* button = WindowParts::commandButton(this, text, name);
        connect(button, &QPushButton::clicked, this, [command] { guard(command); });
        commands->addWidget(button);
        if (name == names.at(4) && !m_description.cancelReloads) {
            button->setEnabled(false);
            button->setToolTip(QStringLiteral("Nothing to cancel: a line is written only by Save"));
        }
    }
    if (!m_description.findCaption.isEmpty()) {
        // Alt+F shows the picker from anywhere in the window.
        m_find = WindowParts::commandButton(this, '&' + m_description.findCaption, names.at(5));
        m_find->setEnabled(false);
        connect(m_find, &QPushButton::clicked, this, [this] { guard(m_findCommand); });
        if (m_description.findBeside.isEmpty())
            commands->addWidget(m_find);
        else
            m_boxes->placeBeside(boxGrid, m_description.findBeside, m_find);
    }
    QPushButton* close = WindowParts::commandButton(this, QStringLiteral("Close"), names.at(6));
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
    navigator->setObjectName(QStringLiteral("DBNavigator1"));
    connect(navigator, &Navigator::moved, this,
            [this] { guard([this] { rowLoad(m_description.rowLoadReloadsTotal); }); });
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(navigator);
    bottom->addStretch(1);
    layout->addLayout(bottom);
    buildKeys();
}

void LineWindow::buildKeys()
{
    auto* chain = new FocusChain(this);
    if (m_description.keys) {
        for (const FormBox& spec : m_description.boxes)
            chain->add(m_boxes->focusTarget(spec.column));
        chain->wrapTo(m_boxes->focusTarget(m_description.boxes.first().column));
        for (const FocusLink& link : m_description.focusLinks)
            chain->link(m_boxes->focusTarget(link.from), m_boxes->focusTarget(link.enter),
                        m_boxes->focusTarget(link.left));
        chain->bindInControls(Qt::Key_F2, [this] { save(); });
    }
    // The keys the captions name answer anywhere in the window.
    chain->bind(QKeySequence(Qt::Key_F3), [this] { newLine(); });
    chain->bind(QKeySequence(Qt::Key_F2), [this] { save(); });
    chain->bind(QKeySequence(Qt::Key_F8), [this] { remove(); });
    chain->bind(QKeySequence(Qt::Key_F5), [this] { reload(); });
    if (m_description.cancelReloads)
        chain->bind(QKeySequence(Qt::Key_Escape), [this] { cancel(); });
    // Closing the window from the keyboard, as "Close" does.
    chain->bind(QKeySequence(Qt::CTRL | Qt::Key_F4), [this] { closeWindow(this); });
}

QLabel* LineWindow::addFigure(const QString& caption, const QString& name)
{
    return WindowParts::addFigure(this, m_figures, caption, name, QStringLiteral("0.00"));
}

void LineWindow::setFind(std::function<void()> find)
{
    m_findCommand = std::move(find);
    if (m_find)
        m_find->setEnabled(bool(m_findCommand));
}

QString LineWindow::fact(int index) const
{
    return m_facts.value(index).second;
}

QString LineWindow::text(const QString& column) const
{
    return m_boxes->text(column);
}

void LineWindow::setText(const QString& column, const QString& text)
{
    m_boxes->setText(column, text);
}

QWidget* LineWindow::box(const QString& column) const
{
    return m_boxes->box(column);
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

SqlRow LineWindow::lineRow(const QStringList& columns) const
{
    // An empty quantity, rate or amount is written as 0.
    const auto zero = SqlRow::EmptyNumber::Zero;
    SqlRow row = m_boxes->row(m_description.table, columns,
                              {{m_description.qtyColumn, zero},
                               {m_description.rateColumn, zero},
                               {m_description.amountColumn, zero}});
    row.set(m_description.numberColumn, m_number);
    return row;
}

void LineWindow::loadGrid(const QStringList& titles)
{
    SqlRow key(m_description.table);
    key.set(m_description.numberColumn, m_number);
    m_lines->setSql(
        key.select(QStringLiteral("*"), {m_description.numberColumn}, SqlRow::Order::Entered));
    m_lines->open();
    m_lines->first();
    m_grid->setTitles(titles);
}

void LineWindow::loadTotal()
{
    // The grid holds every line of the document: the total is theirs.
    if (m_total)
        m_total->setText(sumText(m_lines, m_description.amountColumn));
}

void LineWindow::rowLoad(bool reloadTotal)
{
    if (m_lines->isEmpty() || m_lines->currentRow() < 0) {
        // A document without lines starts from a new line, or from empty boxes.
        m_boxes->reset(m_description.noLinesShowsNew ? m_description.newTexts
                                                     : QHash<QString, QString>());
        m_shownKey = 0;
    } else {
        m_boxes->copyRow(m_lines);
        m_shownKey = m_lines->currentKey();
    }
    m_shownRow = m_lines->currentRow();
    if (reloadTotal) {
        if (m_description.rowTitles)
            m_grid->setTitles(*m_description.rowTitles);
        loadTotal();
    }
}

void LineWindow::clearBoxes()
{
    m_boxes->reset(m_description.newTexts);
}

void LineWindow::newLine()
{
    clearBoxes();
    m_shownKey = 0;
    m_shownRow = m_lines->currentRow();
    // The keys go on working at once, from the line's first box.
    m_boxes->focusTarget(m_description.boxes.first().column)->setFocus();
}

void LineWindow::fillFromCatalogue()
{
    const CatalogueFill& fill = *m_description.fill;
    const QString name = text(fill.box);
    m_lookup->close();
    m_lookup->setSql(SqlSelect::where(fill.table, fill.match, name));
    m_lookup->open();
    const bool found = !m_lookup->isEmpty() && m_lookup->field(fill.match).asText() == name;
    QList<std::pair<QString, QString>> values;
    if (found)
        for (const auto& [column, source] : fill.fills)
            values.append({column, m_lookup->field(source).asText()});
    m_lookup->close();
    if (!found) {
        // No such catalogue row: the boxes are cleared, but the name being typed stays, and so
        // does the line they stand for.
        clearBoxes();
        setText(fill.box, name);
        return;
    }
    pick(values);
}

void LineWindow::pick(const QList<std::pair<QString, QString>>& values)
{
    bool rate = false;
    for (const auto& [picked, value] : values) {
        const QString column = m_description.pickedInto.value(picked, picked);
        setText(column, value);
        rate = rate || column == m_description.rateColumn;
    }
    // The amount follows the new rate at once, so that a line saved right after a pick is
    // never stored with the amount of the line shown before.
    if (rate)
        computeAmount();
}

void LineWindow::computeAmount()
{
    const QString qty = text(m_description.qtyColumn);
    const auto caption = [this](const QString& column) { return m_boxes->caption(column); };
    // A quantity above nothing, however it is written (".5" too).
    bool number = false;
    const double quantity = Formats::parseNumber(qty, &number);
    if (!number && !qty.trimmed().isEmpty())
        throw DbError(Formats::notANumberMessage(qty, caption(m_description.qtyColumn)));
    if (number && quantity > 0) {
        const Currency q = money(qty, caption(m_description.qtyColumn));
        // An empty rate (a catalogue part without a price) is no price yet, not an error.
        const QString rateText = text(m_description.rateColumn);
        const Currency rate = rateText.trimmed().isEmpty()
                                  ? Currency()
                                  : money(rateText, caption(m_description.rateColumn));
        // Exact to the money type's four decimals, then to the cent as every amount is stored.
        setText(m_description.amountColumn, (rate * q.toDouble()).roundedToCents().toHashFormat());
    } else {
        setText(m_description.amountColumn, QStringLiteral("0"));
    }
}

void LineWindow::save()
{
    if (text(m_description.boxes.first().column).isEmpty())
        return;
    // Every box is checked before the question, so nothing half-written can follow.
    const SqlRow row = lineRow();
    if (!Prompter::instance().confirm(
            QStringLiteral("Are you sure you want to Save this Record?"))) {
        loadGrid(m_description.saveTitles);
        rowLoad(false);
        loadTotal();
        m_grid->setFocus();
        return;
    }
    m_lines->close();
    Connection& connection = *m_lines->connection();
    qint64 saved = m_shownKey;
    if (saved != 0) {
        // The chosen line, and only it, whatever other line holds the same part.
        if (KeyedRows::update(connection, row, saved) == 0) {
            reload();
            throw DbError(KeyedRows::goneMessage(QStringLiteral("line")));
        }
    } else {
        saved = KeyedRows::insert(connection, row);
    }
    // The boxes stand for the stored line from now on: another Save changes it, not adds one.
    m_shownKey = saved;
    Prompter::instance().inform(QStringLiteral("Saved!"));
    loadGrid(m_description.saveTitles);
    if (const int position = m_lines->findKey(saved); position >= 0)
        m_lines->setCurrentRow(position);
    rowLoad(false);
    loadTotal();
    m_grid->setFocus();
}

void LineWindow::remove()
{
    if (text(m_description.boxes.first().column).isEmpty())
        return;
    if (m_shownKey == 0) {
        Prompter::instance().inform(
            QStringLiteral("This line is not saved, so there is nothing to delete. Choose a "
                           "line in the list to delete it."));
        return;
    }
    if (Prompter::instance().confirm(
            QStringLiteral("Are you sure you want to Delete this Record?"))) {
        m_lines->close();
        const int removed =
            KeyedRows::remove(*m_lines->connection(), m_description.table, m_shownKey);
        reload();
        if (removed == 0)
            Prompter::instance().inform(
                QStringLiteral("This line was already removed, at another station or in "
                               "another window."));
    }
    loadTotal();
}

void LineWindow::reload()
{
    loadGrid(m_description.refreshTitles);
    rowLoad(false);
    loadTotal();
}

void LineWindow::cancel()
{
    if (m_description.cancelReloads)
        reload();
}

void LineWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (m_givenBack || !event->isAccepted())
        return;
    m_givenBack = true;
    emit closed();
    // The owner may have been closed first; then there is nobody to give back to.
    if (LineOwner* owner = m_owner.get())
        guard([&] { owner->linesChanged(m_description.table); });
}

bool LineWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut &&
        (watched == m_boxes->focusTarget(m_description.qtyColumn) ||
         watched == m_boxes->focusTarget(m_description.rateColumn))) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            guard([this] { computeAmount(); });
    }
    // A key released in the grid follows the user to another line; a command key (F3's New)
    // leaves the boxes as the command left them.
    if (watched == m_grid && event->type() == QEvent::KeyRelease && m_grid->hasFocus() &&
        !static_cast<QKeyEvent*>(event)->isAutoRepeat() && m_lines->currentRow() != m_shownRow)
        guard([this] { rowLoad(m_description.rowLoadReloadsTotal); });
    return QWidget::eventFilter(watched, event);
}
