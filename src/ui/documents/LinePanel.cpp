#include "ui/documents/LinePanel.h"

#include "data/Currency.h"
#include "data/DbError.h"
#include "data/Formats.h"
#include "data/Query.h"
#include "data/SqlRow.h"
#include "data/TDM.h"
#include "ui/common/DataGrid.h"
#include "ui/common/Guard.h"
#include "ui/common/RecordWindow.h"
#include "ui/common/WindowParts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

Currency sumOf(const Query* lines, const QString& column)
{
    // The lines are all loaded: their total is added up here, exactly, rather than asked of
    // the database in a second statement.
    const int c = lines->columnIndex(column);
    Currency total;
    for (int row = 0; c >= 0 && row < lines->recordCount(); ++row)
        total += lines->field(row, c).asCurrency();
    return total;
}

QString sumText(const Query* lines, const QString& column)
{
    // As the database shows a sum: empty over no lines.
    return lines->recordCount() == 0 ? QString() : sumOf(lines, column).toPlain();
}

LinePanel::LinePanel(LinePanelDescription description, QWidget* parent)
    : QWidget(parent)
    , m_description(std::move(description))
    , m_lines(new Query(QStringLiteral("Lines"), DM->admin1(), this))
{
    setObjectName(m_description.table + QStringLiteral("Panel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* bar = new QHBoxLayout;
    m_button = WindowParts::commandButton(this, m_description.button, m_description.buttonName);
    bar->addWidget(m_button);
    bar->addStretch(1);
    if (!m_description.amountColumn.isEmpty())
        m_total = WindowParts::addFigure(this, bar, m_description.totalCaption,
                                         m_description.totalName, m_description.totalStart);
    layout->addLayout(bar);
    m_grid = new DataGrid(m_lines, this);
    m_grid->setObjectName(m_description.gridName);
    // Room for a few lines at least; the panel grows with the window.
    m_grid->setMinimumHeight(m_grid->verticalHeader()->defaultSectionSize() * 4 +
                             m_grid->horizontalHeader()->sizeHint().height() + 4);
    m_grid->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    layout->addWidget(m_grid, 1);
}

void LinePanel::load(const QString& number)
{
    if (number.trimmed().isEmpty()) {
        m_lines->close();
        if (m_total)
            m_total->clear();
        return;
    }
    SqlRow key(m_description.table);
    key.set(m_description.numberColumn, number);
    // A document's lines in the order they were entered, as its printout lists them.
    m_lines->setSql(
        key.select(m_description.columns, {m_description.numberColumn}, SqlRow::Order::Entered));
    m_lines->open();
    if (m_total)
        m_total->setText(sumText(m_lines, m_description.amountColumn));
}

double LinePanel::sum() const
{
    return m_lines->isOpen() ? sumOf(m_lines, m_description.amountColumn).toDouble() : 0.0;
}

DocumentLines::DocumentLines(RecordWindow* window, QList<Fact> facts, bool numberIsText)
    : QObject(window)
    , m_window(window)
    , m_facts(std::move(facts))
    , m_numberIsText(numberIsText)
{}

LinePanel* DocumentLines::addPanel(LinePanelDescription description, LineFactory create,
                                   ChildOpener openChild, int stretch)
{
    auto* panel = new LinePanel(std::move(description), m_window);
    m_panels.append(panel);
    QPushButton* button = panel->button();
    button->setEnabled(bool(openChild) && bool(create));
    if (!button->isEnabled())
        button->setToolTip(tr("Not available in this version"));
    connect(button, &QPushButton::clicked, this, [this, create, openChild] {
        guard([&] {
            // A document New began is stored before any of its lines, so that its lines can
            // never land under a number another station took meanwhile.
            m_window->claimNewKey();
            if (QWidget* lines = create(LineOwnerRef(this, this)))
                openChild(lines);
        });
    });
    m_window->addLinePanel(panel, stretch);
    return panel;
}

LinePanel* DocumentLines::panel(const QString& table) const
{
    for (LinePanel* panel : m_panels)
        if (panel->description().table == table)
            return panel;
    return nullptr;
}

void DocumentLines::load()
{
    const QString number = documentNumber();
    for (LinePanel* panel : m_panels)
        panel->load(number);
}

QString DocumentLines::typedNumber() const
{
    QString number = documentNumber();
    if (!m_numberIsText) {
        try {
            Formats::wholeNumber(number);
        } catch (const DbError&) {
            number.clear();
        }
    }
    return number;
}

void DocumentLines::loadTyped()
{
    const QString number = typedNumber();
    for (LinePanel* panel : m_panels)
        panel->load(number);
}

void DocumentLines::followKeyBox(std::function<void()> also)
{
    const QString key = m_window->description().boxes.first().column;
    auto* box = qobject_cast<QLineEdit*>(m_window->boxes()->focusTarget(key));
    connect(box, &QLineEdit::textChanged, this, [this, also] {
        guard([&] {
            loadTyped();
            if (also)
                also();
        });
    });
}

QString DocumentLines::documentNumber() const
{
    return m_window->text(m_window->description().boxes.first().column).trimmed();
}

QList<std::pair<QString, QString>> DocumentLines::lineFacts() const
{
    QList<std::pair<QString, QString>> facts;
    for (const Fact& fact : m_facts)
        facts.append(
            {fact.caption, fact.column.isEmpty() ? QString() : m_window->text(fact.column)});
    return facts;
}

void DocumentLines::linesChanged(const QString& table)
{
    // The grid shows the lines of the document in the boxes now, which need not be the one
    // the line window was opened for: a window never shows one document's lines under
    // another's header.
    if (LinePanel* changed = panel(table)) {
        changed->load(typedNumber());
        emit reloaded(table);
    }
}
