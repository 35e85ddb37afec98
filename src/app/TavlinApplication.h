#pragma once

#include <QApplication>

// The application object. An error escaping an event handler is shown with its own text and
// the program goes on; the handler's remaining steps are skipped.
class TavlinApplication : public QApplication
{
    Q_OBJECT

public:
    TavlinApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
