#include "ui/common/Navigator.h"

#include "data/Query.h"
#include "ui/common/Guard.h"

#include <QHBoxLayout>
#include <QToolButton>

Navigator::Navigator(Query* query, QWidget* parent)
    : QWidget(parent)
    , m_query(query)
{
    setObjectName(QStringLiteral("DBNavigator1"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    addButton(QStringLiteral("First"), QStringLiteral("|◀"), tr("First record"),
              [this] { m_query->first(); });
    addButton(QStringLiteral("Prior"), QStringLiteral("◀"), tr("Prior record"),
              [this] { m_query->prior(); });
    addButton(QStringLiteral("Next"), QStringLiteral("▶"), tr("Next record"),
              [this] { m_query->next(); });
    addButton(QStringLiteral("Last"), QStringLiteral("▶|"), tr("Last record"),
              [this] { m_query->last(); });
}

void Navigator::enableDelete(std::function<void()> command)
{
    addButton(QStringLiteral("Delete"), QStringLiteral("−"), tr("Delete record"),
              std::move(command));
}

QToolButton* Navigator::button(const QString& name) const
{
    return findChild<QToolButton*>(name);
}

QToolButton* Navigator::addButton(const QString& name, const QString& text, const QString& tip,
                                  std::function<void()> command)
{
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setText(text);
    button->setToolTip(tip);
    button->setStatusTip(tip);
    button->setFixedSize(30, 24);
    button->setFocusPolicy(Qt::NoFocus);
    layout()->addWidget(button);
    connect(button, &QToolButton::clicked, this, [this, command] {
        if (guard(command))
            emit moved();
    });
    return button;
}
