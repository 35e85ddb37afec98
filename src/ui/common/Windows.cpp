#include "ui/common/Windows.h"

#include <QLabel>
#include <QMdiSubWindow>

void closeWindow(QWidget* form)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget()))
        sub->close();
    else
        form->close();
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
