#pragma once

#include <QWidget>

class DataGrid;
class Query;
class QCheckBox;
class QLineEdit;
class QPushButton;

// The owner's window of the shop's users: add a user, set or reset a password (typed twice),
// disable or enable a user, and change the archive code. Passwords are never shown.
class TUsers : public QWidget
{
    Q_OBJECT

public:
    explicit TUsers(QWidget* parent = nullptr);
    ~TUsers() override;

    // The commands of the buttons, on what the boxes hold; each tells the user what it did or
    // why it did not.
    void addUser();
    void setPassword();
    void toggleDisabled();
    void setArchiveCode();

signals:
    // A password was set: the first-start password may be gone.
    void usersChanged();

private:
    void reload(const QString& current = QString());
    void showRow();
    // The password typed twice, or an empty text after a message.
    QString typedTwice(const QString& what);

    Query* m_users;
    DataGrid* m_grid;
    QLineEdit* m_name;
    QLineEdit* m_password;
    QLineEdit* m_again;
    QCheckBox* m_owner;
    QPushButton* m_disable;
};
