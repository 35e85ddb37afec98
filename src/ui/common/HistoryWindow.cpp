#include "ui/common/HistoryWindow.h"

#include "data/Query.h"
#include "data/TDM.h"
#include "ui/common/DataGrid.h"
#include "ui/common/Guard.h"
#include "ui/common/Navigator.h"
#include "ui/common/RecordWindow.h"
#include "ui/common/Windows.h"

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

HistoryWindow::HistoryWindow(HistoryDescription description, QWidget* parent)
    : QWidget(parent)
    , m_description(std::move(description))
    , m_query(DM->ownQuery(m_description.query, this))
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

    auto* bottom = new QHBoxLayout;
    if (m_description.navigator)
        bottom->addWidget(new Navigator(m_query, this));
    bottom->addStretch(1);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("CloseButton"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, [this] { closeWindow(this); });
    bottom->addWidget(close);
    layout->addLayout(bottom);
    // Esc closes a history as its Close button does.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, [this] { closeWindow(this); });
}

void HistoryWindow::load(const QString& value)
{
    m_query->close();
    m_query->clear();
    m_query->add(m_description.statement(value));
    m_query->open();
    m_query->first();
    m_grid->setTitles(m_description.titles);
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
