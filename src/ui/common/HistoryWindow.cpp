#include "ui/common/HistoryWindow.h"

#include "data/Query.h"
#include "data/TDM.h"
#include "ui/common/DataGrid.h"
#include "ui/common/Guard.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

HistoryWindow::HistoryWindow(HistoryDescription description, QWidget* parent)
    : QDialog(parent)
    , m_description(std::move(description))
    , m_query(DM->query(m_description.query))
{
    setObjectName(m_description.caption);
    setWindowTitle(m_description.caption);
    setModal(true);
    resize(820, 460);

    auto* layout = new QVBoxLayout(this);
    if (!m_description.heading.isEmpty()) {
        auto* heading = new QLabel(m_description.heading, this);
        heading->setObjectName(QStringLiteral("Heading"));
        QFont big = heading->font();
        big.setPointSize(16);
        big.setBold(true);
        heading->setFont(big);
        heading->setAlignment(Qt::AlignCenter);
        layout->addWidget(heading);
    }
    m_grid = new DataGrid(m_query, this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    layout->addWidget(m_grid, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("CloseButton"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    bottom->addWidget(close);
    layout->addLayout(bottom);
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
    if (guard([&] { load(value); }))
        exec();
}
