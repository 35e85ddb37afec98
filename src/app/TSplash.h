#pragma once

#include <QWidget>

// The borderless panel shown while the program opens its database and windows.
class TSplash : public QWidget
{
    Q_OBJECT

public:
    explicit TSplash(QWidget* parent = nullptr);

    // Shows the splash centred on the screen and paints it at once.
    void showNow();
};
