#include "app/TSplash.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QSvgWidget>
#include <QVBoxLayout>

TSplash::TSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Splash"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(3);
    panel->setAutoFillBackground(true);
    outer->addWidget(panel);

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(10);

    auto* logo = new QSvgWidget(QStringLiteral(":/logo.svg"), panel);
    logo->setFixedSize(210, 140);
    layout->addWidget(logo, 0, Qt::AlignHCenter);

    auto* maker = new QLabel(tr("Tavlin Truck Repair"), panel);
    maker->setObjectName(QStringLiteral("Label1"));
    QFont big = maker->font();
    big.setPointSize(18);
    big.setBold(true);
    maker->setFont(big);
    maker->setAlignment(Qt::AlignCenter);
    layout->addWidget(maker);

    auto* credit = new QLabel(tr("Shop management %1 - opening the shop database...")
                                  .arg(QApplication::applicationVersion()),
                              panel);
    credit->setObjectName(QStringLiteral("Label2"));
    credit->setAlignment(Qt::AlignCenter);
    layout->addWidget(credit);

    setFixedSize(sizeHint().expandedTo(QSize(420, 260)));
}

void TSplash::showNow()
{
    if (QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    repaint();
    QApplication::processEvents();
}
