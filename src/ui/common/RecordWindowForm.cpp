// How a record window is laid out and which keys it answers: the boxes, the commands beside
// them, the figures, the line panels, the list with its search box and navigator.
#include "data/Query.h"
#include "ui/common/DataGrid.h"
#include "ui/common/FocusChain.h"
#include "ui/common/Guard.h"
#include "ui/common/Navigator.h"
#include "ui/common/RecordWindow.h"
#include "ui/common/WindowParts.h"

#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void RecordWindow::buildForm()
{
    QVBoxLayout* layout = WindowParts::windowLayout(this, m_description.title);

    QFrame* panel = WindowParts::raisedPanel(this, QStringLiteral("EditPanel"));
    auto* panelLayout = new QHBoxLayout(panel);
    m_commands = new QVBoxLayout;
    m_commands->setSpacing(4);
    if (m_description.commandsAtLeft)
        panelLayout->addLayout(m_commands);

    QGridLayout* boxGrid = WindowParts::boxGrid();
    for (const RecordBox& spec : m_description.boxes)
        m_boxes->box(spec.column)->setParent(panel);
    QStringList order = m_description.focusOrder.value_or(QStringList());
    if (!m_description.focusOrder)
        for (const RecordBox& spec : m_description.boxes)
            order.append(spec.column);
    const int rows = m_boxes->layOut(boxGrid, m_description.boxColumns, order);
    // Few boxes stay together at the top instead of spreading over the panel's height.
    boxGrid->setRowStretch(rows, 1);
    panelLayout->addLayout(boxGrid, 3);

    m_figures = new QVBoxLayout;
    m_figures->setSpacing(4);
    panelLayout->addLayout(m_figures, 1);
    if (!m_description.commandsAtLeft)
        panelLayout->addLayout(m_commands);

    const QList<Command> commands = this->commands();
    for (int i = 0; i < commands.size(); ++i) {
        QPushButton* button = WindowParts::commandButton(panel, commands.at(i).caption,
                                                         m_description.commandNames.at(i));
        const auto run = commands.at(i).run;
        connect(button, &QPushButton::clicked, this, [run] { guard(run); });
        m_commands->addWidget(button);
        if (commands.at(i).key == Qt::Key_Escape &&
            m_description.cancel == RecordDescription::Cancel::Nothing) {
            button->setEnabled(false);
            button->setToolTip(QStringLiteral("Nothing to cancel: only Save writes the boxes"));
        }
    }
    if (m_description.import) {
        QPushButton* import = WindowParts::commandButton(panel, QStringLiteral("Import..."),
                                                         QStringLiteral("ImportButton"));
        import->setToolTip(QStringLiteral("Add or change %1 from a spreadsheet's CSV file")
                               .arg(m_description.import->nouns));
        connect(import, &QPushButton::clicked, this, [this] { importFile(); });
        m_commands->addWidget(import);
    }
    m_commands->addStretch(1);
    layout->addWidget(panel);

    // The document's lines and the list share the height left by the boxes, the list the
    // larger part, so that a small screen still shows rows of both.
    m_panels = new QHBoxLayout;
    layout->addLayout(m_panels);

    m_grid = new DataGrid(m_list, this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    m_grid->setMinimumHeight(m_grid->verticalHeader()->defaultSectionSize() * 5);
    m_grid->installEventFilter(this);
    connect(m_grid, &DataGrid::cellClicked, this, [this] { follow(RecordDescription::Click); });
    connect(m_grid, &DataGrid::titleClicked, this, &RecordWindow::titleClicked);
    layout->addWidget(m_grid, 3);

    QFrame* bottom = WindowParts::raisedPanel(this, QStringLiteral("BottomBand"));
    m_bottom = new QHBoxLayout(bottom);
    QPushButton* close = WindowParts::commandButton(bottom, QStringLiteral("Close"),
                                                    m_description.commandNames.at(5));
    connect(close, &QPushButton::clicked, this, [this] { closeWindow(this); });
    m_bottom->addWidget(close);
    m_bottom->addStretch(1);
    m_search = WindowParts::searchBox(bottom, m_bottom, m_description.searchBoxName,
                                      m_description.upperCaseSearch);
    connect(m_search, &QLineEdit::textChanged, this,
            [this](const QString& text) { guard([&] { search(text); }); });
    m_bottom->addSpacing(16);
    m_navigator = new Navigator(m_list, bottom);
    connect(m_navigator, &Navigator::moved, this,
            [this] { follow(RecordDescription::NavigatorClick); });
    m_bottom->addWidget(m_navigator);
    layout->addWidget(bottom);

    buildKeys(order);
    m_boxes->whenLeftEmpty(m_description.whenLeftEmpty);
    m_boxes->lookUpOnLeaving(m_description.lookups);
    showSearchColumn();
}

void RecordWindow::buildKeys(const QStringList& order)
{
    m_chain = new FocusChain(this);
    for (const QString& column : order)
        m_chain->add(m_boxes->focusTarget(column));
    if (QWidget* wrap = m_boxes->focusTarget(m_description.enterWrapsTo))
        m_chain->wrapTo(wrap);
    for (const FocusLink& link : m_description.focusLinks)
        m_chain->link(m_boxes->focusTarget(link.from), m_boxes->focusTarget(link.enter),
                      m_boxes->focusTarget(link.left));
    if (!order.isEmpty())
        m_chain->bindInControls(Qt::Key_F2, [this] { save(); });
    // The keys the captions name answer anywhere in the window; Esc only when Cancel acts.
    for (const Command& command : commands())
        if (command.key != Qt::Key_Escape ||
            m_description.cancel != RecordDescription::Cancel::Nothing)
            m_chain->bind(QKeySequence(command.key), command.run);
    // Closing a window from the keyboard, as "Close" does.
    m_chain->bind(QKeySequence(Qt::CTRL | Qt::Key_F4), [this] { closeWindow(this); });
}

QLabel* RecordWindow::addFigure(const QString& caption, const QString& name, const QString& text)
{
    return WindowParts::addFigure(this, m_figures, caption, name, text);
}

QPushButton* RecordWindow::addButton(const QString& text, const QString& name)
{
    QPushButton* button = WindowParts::commandButton(this, text, name);
    m_commands->insertWidget(m_commands->count() - 1, button);
    return button;
}

void RecordWindow::addCommandWidget(QWidget* widget)
{
    m_commands->insertWidget(m_commands->count() - 1, widget);
}

void RecordWindow::addLinePanel(QWidget* panel, int stretch)
{
    m_panels->addWidget(panel, stretch);
    if (auto* layout = qobject_cast<QBoxLayout*>(this->layout()))
        layout->setStretchFactor(m_panels, 2);
}

void RecordWindow::addBottomWidget(QWidget* widget)
{
    m_bottom->addWidget(widget);
}
