#include "app/TavlinApplication.h"

#include "data/Connection.h"
#include "ui/common/Guard.h"

TavlinApplication::TavlinApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setOrganizationName(QStringLiteral("Tavlin"));
    setApplicationName(QStringLiteral("Tavlin"));
    setApplicationVersion(QStringLiteral(TAVLIN_VERSION));
    // The menu entry the window belongs to (its icon in a Wayland task bar).
    setDesktopFileName(QStringLiteral("org.tavlin.tavlin"));
}

bool TavlinApplication::notify(QObject* receiver, QEvent* event)
{
    // Each key or mouse button the user presses is a command: what other stations changed is
    // asked of a server at most once in it.
    if (event->spontaneous() &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress ||
         event->type() == QEvent::MouseButtonDblClick))
        Connection::beginCommand();
    bool handled = false;
    guard([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
