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
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
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
    if (m_description.search)
        addSearch(layout);
    m_grid = new DataGrid(m_query, this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    layout->addWidget(m_grid, 3);
    if (m_description.detail) {
        m_detailQuery = new Query(m_description.detail->name, DM->admin1(), this);
        m_detailGrid = new DataGrid(m_detailQuery, this);
        m_detailGrid->setObjectName(m_description.detail->name);
        layout->addWidget(m_detailGrid, 2);
        connect(m_query, &Query::currentRowChanged, this,
                [this] { guard([this] { loadDetail(); }); });
    }
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
    if (m_description.statement)
        m_read = m_description.statement(value);
    m_query->close();
    m_query->clear();
    openRows(m_description.initialSort);
    m_grid->setRedTitle(-1);
    m_grid->setTitles(m_description.titles);
    readTotal();
    loadDetail();
}

void HistoryWindow::openRows(const QString& order)
{
    // An opener with nothing to look for (an empty number box) shows an empty list.
    if (m_description.wholeStatement) {
        if (const std::optional<SqlStatement> whole = m_description.wholeStatement(m_value)) {
            m_query->setSql(*whole);
            m_query->open();
            if (!order.isEmpty())
                m_query->sort(order);
        }
    } else if (m_read) {
        m_query->openPaged(*m_read, order);
    }
}

void HistoryWindow::loadDetail()
{
    if (!m_detailQuery)
        return;
    m_detailQuery->close();
    m_detailQuery->clear();
    if (!m_query->isEmpty() && m_query->currentRow() >= 0) {
        if (const std::optional<SqlStatement> lines = m_description.detail->statement(*m_query)) {
            m_detailQuery->setSql(*lines);
            m_detailQuery->open();
        }
    }
    m_detailGrid->setTitles(m_description.detail->titles);
}

void HistoryWindow::addSearch(QBoxLayout* layout)
{
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(m_description.search->caption, this);
    m_searchBox = new QLineEdit(this);
    m_searchBox->setObjectName(m_description.search->name);
    m_searchBox->setPlaceholderText(m_description.search->placeholder);
    m_searchBox->setClearButtonEnabled(true);
    label->setBuddy(m_searchBox);
    row->addWidget(label);
    row->addWidget(m_searchBox, 1);
    layout->addLayout(row);
    // The rows follow the text once the user pauses, not at every letter.
    auto* pause = new QTimer(this);
    pause->setSingleShot(true);
    pause->setInterval(250);
    const auto search = [this, pause] {
        pause->stop();
        if (m_searchBox->text() != m_value || !m_loaded) {
            m_loaded = true;
            guard([this] { load(m_searchBox->text()); });
        }
    };
    connect(m_searchBox, &QLineEdit::textChanged, pause, qOverload<>(&QTimer::start));
    connect(pause, &QTimer::timeout, this, search);
    connect(m_searchBox, &QLineEdit::returnPressed, this, search);
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
    openRows(order);
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
