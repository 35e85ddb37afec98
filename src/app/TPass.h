#pragma once

#include <QPointer>
#include <QWidget>

class QLineEdit;
class QPushButton;
class TMainForm;

// The sign-in form shown inside the main window at start-up. A user name and password that
// match a row of Pass put the stored name into the main window and close the form.
class TPass : public QWidget
{
    Q_OBJECT

public:
    explicit TPass(TMainForm* mainForm);

    // Shows the form as a borderless child window centred in the main window.
    static TPass* open(TMainForm* mainForm);

    void signIn();

private:
    QPointer<TMainForm> m_mainForm;
    QLineEdit* m_userName;
    QLineEdit* m_password;
    QPushButton* m_ok;
};
