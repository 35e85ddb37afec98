#include "ui/documents/PickerWindow.h"

#include "data/Connection.h"
#include "data/Query.h"
#include "data/SqlSelect.h"
#include "data/TDM.h"
#include "ui/common/DataGrid.h"
#include "ui/common/Guard.h"
#include "ui/common/Navigator.h"
#include "ui/common/Prompter.h"
#include "ui/common/WindowParts.h"
#include "ui/documents/LineWindow.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

PickerWindow::PickerWindow(PickerDescription description, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_description(std::move(description))
    , m_rows(new Query(QStringLiteral("Rows"), DM->admin1(), this))
{
    setObjectName(m_description.caption);
    setWindowTitle(m_description.caption);
    resize(860, 480);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(headingLabel(this, m_description.heading, 16));
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("Edit1"));
    m_search->setClearButtonEnabled(true);
    m_search->setPlaceholderText(tr("Search (Enter selects)"));
    m_search->installEventFilter(this);
    connect(m_search, &QLineEdit::textChanged, this,
            [this](const QString& text) { guard([&] { search(text); }); });
    layout->addWidget(m_search);
    m_grid = new DataGrid(m_rows, this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->installEventFilter(this);
    connect(m_grid, &QAbstractItemView::doubleClicked, this,
            [this] { guard([this] { select(); }); });
    layout->addWidget(m_grid, 1);
    auto* buttons = new QHBoxLayout;
    if (m_description.navigator)
        buttons->addWidget(new Navigator(m_rows, this));
    buttons->addStretch(1);
    QPushButton* choose = WindowParts::commandButton(this, QStringLiteral("Select"), "Button2");
    connect(choose, &QPushButton::clicked, this, [this] { guard([this] { select(); }); });
    QPushButton* close = WindowParts::commandButton(this, QStringLiteral("Close"), "Button1");
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    buttons->addWidget(choose);
    buttons->addWidget(close);
    layout->addLayout(buttons);
}

void PickerWindow::loadAll()
{
    if (!holdCatalogue() && !m_rows->filterText().isEmpty())
        m_rows->filterContaining({}, QString());
    m_rows->first();
}

bool PickerWindow::holdCatalogue()
{
    // The whole catalogue is kept while nobody changed it: showing the picker again for the
    // next line, or searching it, costs no statement.
    const quint64 generation = m_rows->connection()->generation(m_description.table);
    if (m_full && generation == m_loadedAt)
        return false;
    m_rows->close();
    m_rows->setSql(SqlSelect::all(m_description.table, m_description.columns));
    m_rows->open();
    if (!m_description.sortColumn.isEmpty())
        m_rows->sort(m_description.sortColumn);
    m_rows->first();
    m_grid->setTitles(m_description.titles);
    m_full = true;
    m_loadedAt = generation;
    return true;
}

void PickerWindow::showFor(LineWindow* line)
{
    if (m_target && m_target != line)
        disconnect(m_target, nullptr, this, nullptr);
    m_target = line;
    if (line) {
        // A picker whose line window has closed has nothing left to fill.
        connect(line, &LineWindow::closed, this, &QWidget::hide, Qt::UniqueConnection);
        // Kept above the program's main window rather than lost behind it: a window of its
        // own that the window manager keeps in front of the main window.
        QWidget* frame = line->window();
        if (!windowHandle())
            create();
        if (frame->windowHandle() && windowHandle())
            windowHandle()->setTransientParent(frame->windowHandle());
    }
    {
        // A new showing starts with the whole list; the search box is cleared quietly.
        const QSignalBlocker quiet(m_search);
        m_search->clear();
    }
    loadAll();
    if (line) {
        const QRect over(line->mapToGlobal(QPoint(0, 0)), line->size());
        move(over.center() - rect().center());
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    show();
    raise();
    activateWindow();
    m_search->setFocus();
}

void PickerWindow::search(const QString& text)
{
    // The whole catalogue is held (read again only when it changed); each keystroke narrows
    // the rows held to those with the typed text anywhere in a search column, letter case
    // ignored and %, _ and quotes as themselves, without asking the database.
    holdCatalogue();
    m_rows->filterContaining(m_description.searchColumns, text);
}

void PickerWindow::picked(const Query&, LineWindow&) {}

LineWindow* PickerWindow::target() const
{
    return m_target;
}

void PickerWindow::select()
{
    if (m_rows->isEmpty() || m_rows->currentRow() < 0)
        return;
    LineWindow* line = m_target;
    if (!line) {
        hide();
        Prompter::instance().inform(tr("The line window has been closed; nothing was copied."));
        return;
    }
    line->pick(values(*m_rows, *line));
    picked(*m_rows, *line);
    hide();
}

bool PickerWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && (watched == m_search || watched == m_grid)) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            guard([this] { select(); });
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            hide();
            return true;
        }
        // Up and down in the search box walk the list, so that a search, the arrows and Enter
        // pick a row without the mouse.
        if (watched == m_search && (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up)) {
            if (key->key() == Qt::Key_Down)
                m_rows->next();
            else
                m_rows->prior();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
