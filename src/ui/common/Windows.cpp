#include "ui/common/Windows.h"

#include <QMdiSubWindow>

void closeWindow(QWidget* form)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget()))
        sub->close();
    else
        form->close();
}
