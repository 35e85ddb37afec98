#include "app/TavlinApplication.h"

#include "ui/common/Guard.h"

TavlinApplication::TavlinApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setOrganizationName(QStringLiteral("Tavlin"));
    setApplicationName(QStringLiteral("Tavlin"));
    setApplicationVersion(QStringLiteral(TAVLIN_VERSION));
}

bool TavlinApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    guard([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
