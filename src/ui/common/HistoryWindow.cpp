#include "ui/common/HistoryWindow.h"

#include "data/Connection.h"
#include "data/KeyedRows.h"
#include "data/Query.h"
#include "data/SqlRow.h"
#include "data/TDM.h"
#include "ui/common/DataGrid.h"
#include "ui/common/Guard.h"
#include "ui/common/Navigator.h"
#include "ui/common/Prompter.h"
#include "ui/common/RecordWindow.h"
#include "ui/common/WindowParts.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

#include <memory>

HistoryWindow::HistoryWindow(HistoryDescription description, QWidget* parent)
    : QWidget(parent)
    , m_description(std::move(description))
    , m_query(new Query(QStringLiteral("History"), DM->admin1(), this))
{
    setObjectName(m_description.caption);
    setWindowTitle(m_description.caption);
    resize(820, 460);

    auto* layout = new QVBoxLayout(this);
    if (!m_description.heading.isEmpty()) {
        auto* heading = headingLabel(this, m_description.heading, 16);
        heading->setAlignment(Qt::AlignCenter);
        layout->addWidget(heading);
    }
    m_grid = new DataGrid(m_query, this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    layout->addWidget(m_grid, 1);
    connect(m_grid, &DataGrid::titleClicked, this, &HistoryWindow::titleClicked);
    if (m_description.pick) {
        connect(m_grid, &DataGrid::doubleClicked, this, [this] { pick(); });
        auto* enter = new QShortcut(QKeySequence(Qt::Key_Return), m_grid);
        enter->setContext(Qt::WidgetShortcut);
        connect(enter, &QShortcut::activated, this, [this] { pick(); });
    }

    auto* bottom = new QHBoxLayout;
    if (m_description.navigator) {
        auto* navigator = new Navigator(m_query, this);
        if (!m_description.deleteFrom.isEmpty())
            navigator->enableDelete([this] { deleteCurrent(); });
        // The total is read again after every button, as the list's figure promises.
        connect(navigator, &Navigator::moved, this, [this] { guard([this] { readTotal(); }); });
        bottom->addWidget(navigator);
    }
    if (m_description.total) {
        m_total = WindowParts::addFigure(this, bottom, m_description.total->caption,
                                         m_description.total->name, QStringLiteral("0.00"));
    }
    bottom->addStretch(1);
    if (m_description.print) {
        QPushButton* print = WindowParts::commandButton(this, QStringLiteral("Print"),
                                                        QStringLiteral("PrintButton"));
        connect(print, &QPushButton::clicked, this, [this] { guard([this] { printRows(); }); });
        bottom->addWidget(print);
    }
    QPushButton* close =
        WindowParts::commandButton(this, QStringLiteral("Close"), QStringLiteral("CloseButton"));
    connect(close, &QPushButton::clicked, this, [this] { closeWindow(this); });
    bottom->addWidget(close);
    layout->addLayout(bottom);
    closeOnEscape(this);
}

void HistoryWindow::load(const QString& value)
{
    m_value = value;
    m_read = m_description.statement(value);
    m_query->close();
    m_query->clear();
    // An opener with nothing to look for (an empty number box) shows an empty list.
    if (m_read)
        m_query->openPaged(*m_read, m_description.initialSort);
    m_grid->setRedTitle(-1);
    m_grid->setTitles(m_description.titles);
    readTotal();
}

void HistoryWindow::readTotal()
{
    if (!m_description.total)
        return;
    const QString sum = m_description.total->read().asText();
    m_total->setText(sum.isEmpty() ? QStringLiteral("0.00") : sum);
}

void HistoryWindow::deleteCurrent()
{
    if (m_query->isEmpty() || m_query->currentRow() < 0)
        return;
    // The row is chosen before the question, so that the answer applies to the row the user
    // saw: by its key, or where the list read none, by all its values.
    const qint64 key = m_query->currentKey();
    const SqlRow row = SqlRow::currentRow(m_description.deleteFrom, *m_query);
    if (!Prompter::instance().confirm(QStringLiteral("Delete record?")))
        return;
    const int position = m_query->currentRow();
    const QString order = m_query->sortText();
    int removed = 0;
    if (key > 0) {
        removed = KeyedRows::remove(*m_query->connection(), m_description.deleteFrom, key);
    } else {
        removed = m_query->connection()->execute(row.removeOne());
    }
    if (removed == 0)
        Prompter::instance().inform(
            QStringLiteral("This row is no longer stored: it was changed or removed elsewhere. "
                           "The list now shows what is stored."));
    // The list is read again in the order it was shown, on the row after the one removed.
    if (m_read)
        m_query->openPaged(*m_read, order);
    m_query->setCurrentRow(std::min(position, m_query->recordCount() - 1));
}

void HistoryWindow::printRows()
{
    // Every row is printed, in the order the list shows, not only those read so far.
    if (!m_query->isPaged()) {
        m_description.print(m_query);
        return;
    }
    Query printed(QStringLiteral("Printed"), m_query->connection());
    printed.openWhole(*m_query);
    m_description.print(&printed);
}

void HistoryWindow::titleClicked(int column)
{
    const QString name = m_query->columnName(column);
    const bool sorts =
        m_description.titleSort && (m_description.sortable.isEmpty() ||
                                    m_description.sortable.contains(name, Qt::CaseInsensitive));
    if (!sorts) {
        m_grid->setRedTitle(-1);
        return;
    }
    guard([&] {
        m_query->sort(name);
        m_grid->setRedTitle(column);
    });
}

void HistoryWindow::pick()
{
    if (m_query->isEmpty() || m_query->currentRow() < 0)
        return;
    if (guard([this] { m_description.pick(m_query); }))
        closeWindow(this);
}

void HistoryWindow::showFor(const QString& value)
{
    if (!guard([&] { load(value); }))
        return;
    setWindowModality(Qt::ApplicationModal);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
    QEventLoop loop;
    connect(this, &HistoryWindow::closed, &loop, &QEventLoop::quit);
    loop.exec();
}

void HistoryWindow::setSource(std::function<std::optional<QString>()> source)
{
    m_source = std::move(source);
}

void HistoryWindow::readFrom(RecordWindow* opener, const QString& column)
{
    QPointer<RecordWindow> source = opener;
    setSource([source, column]() -> std::optional<QString> {
        if (!source)
            return std::nullopt;
        return source->text(column);
    });
}

void HistoryWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_loaded || !m_source)
        return;
    m_loaded = true;
    guard([this] {
        if (const std::optional<QString> value = m_source())
            load(*value);
    });
}

void HistoryWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}
