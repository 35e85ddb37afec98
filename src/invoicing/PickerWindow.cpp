#include "invoicing/PickerWindow.h"

#include "data/Query.h"
#include "data/SqlLiteral.h"
#include "data/TDM.h"
#include "ui/common/DataGrid.h"
#include "ui/common/Guard.h"
#include "ui/common/Prompter.h"
#include "ui/common/Windows.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

PickerWindow::PickerWindow(PickerDescription description, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_description(std::move(description))
    , m_rows(new Query(QStringLiteral("Q1"), DM->admin1(), false, this))
{
    setObjectName(m_description.caption);
    setWindowTitle(m_description.caption);
    resize(860, 480);
    auto* layout = new QVBoxLayout(this);
    auto* heading = headingLabel(this, m_description.heading, 16);
    layout->addWidget(heading);
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("Edit1"));
    m_search->setPlaceholderText(tr("Search"));
    connect(m_search, &QLineEdit::textChanged, this,
            [this](const QString& text) { guard([&] { search(text); }); });
    layout->addWidget(m_search);
    m_grid = new DataGrid(m_rows, this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    connect(m_grid, &QAbstractItemView::doubleClicked, this,
            [this] { guard([this] { select(); }); });
    layout->addWidget(m_grid, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* choose = new QPushButton(QStringLiteral("Select"), this);
    choose->setObjectName(QStringLiteral("Button2"));
    choose->setAutoDefault(false);
    connect(choose, &QPushButton::clicked, this, [this] { guard([this] { select(); }); });
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("Button1"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    buttons->addWidget(choose);
    buttons->addWidget(close);
    layout->addLayout(buttons);
}

void PickerWindow::showPicker()
{
    m_rows->close();
    m_rows->setSql({m_description.listStatement});
    m_rows->open();
    m_rows->sort(m_description.sortColumn);
    m_rows->first();
    m_grid->setTitles(m_description.titles);
    if (m_description.centred)
        if (QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
}

void PickerWindow::search(const QString& text)
{
    m_rows->close();
    m_rows->setSql({m_description.searchPrefix + Sql::text(text) + m_description.searchSuffix});
    m_rows->open();
    m_rows->first();
    m_grid->setTitles(m_description.titles);
}

void PickerWindow::select()
{
    if (!m_rows->isEmpty() && m_rows->currentRow() >= 0 && !copyRow())
        Prompter::instance().inform(tr("The line window has been closed; nothing was copied."));
    hide();
}
