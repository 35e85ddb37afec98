#include "ui/common/Windows.h"

#include <QLabel>
#include <QMdiSubWindow>
#include <QShortcut>

void closeWindow(QWidget* form)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget()))
        sub->close();
    else
        form->close();
}

void closeOnEscape(QWidget* form)
{
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), form);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(escape, &QShortcut::activated, form, [form] { closeWindow(form); });
}

void disableWithHint(QWidget* control, const QString& hint)
{
    control->setEnabled(false);
    control->setToolTip(hint);
    control->setStatusTip(hint);
}

QLabel* headingLabel(QWidget* parent, const QString& text, int pointSize)
{
    auto* heading = new QLabel(text, parent);
    heading->setObjectName(QStringLiteral("Heading"));
    QFont big = heading->font();
    big.setPointSize(pointSize);
    big.setBold(true);
    heading->setFont(big);
    return heading;
}
