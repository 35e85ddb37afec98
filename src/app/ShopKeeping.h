#pragma once

#include "data/DatabaseTarget.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <optional>

class BackupFolder;
class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class QMenuBar;

// The main window's File menu and what it looks after: backups made now or by themselves,
// putting a backup back, checking the shop, and the warning when no backup was made for a
// week.
class ShopKeeping : public QObject
{
    Q_OBJECT

public:
    // After so many days without a backup the status bar says so.
    static constexpr int warnAfterDays = 7;

    ShopKeeping(QMainWindow* window, const DatabaseTarget& target, const QString& settingsFile);

    // Adds the File menu at the front of the menu bar. Its commands wait for a user to sign
    // in: they copy and replace the whole shop.
    void addMenu(QMenuBar* bar);
    // Users... waits for an owner.
    void setSignedIn(bool signedIn, bool owner = false);

    // Users...: the owner's window of the shop's users.
    void openUsers();
    // The warning while an owner still has the password a new shop starts with.
    QString firstPasswordText() const;
    void refreshFirstPassword();

    // Back up now...: into the file the user chooses (the backups folder's next name is
    // proposed). Returns the file made, or an empty text.
    QString backUpNow();
    // Restore...: asks for a backup, checks it and asks before it replaces the shop. The
    // restore itself runs when the program has closed the shop (pendingRestore), after which
    // the program starts again.
    void askToRestore();
    // Check the shop: shows what the check found.
    void checkShop();

    std::optional<QString> pendingRestore() const { return m_restore; }

    // The last backup of this shop by this station, if any.
    std::optional<QDateTime> lastBackup() const;
    // "Last backup: ..." for the About box.
    QString lastBackupText() const;
    // The status bar's warning, empty while backups are recent.
    QString warning(const QDateTime& now = QDateTime::currentDateTime()) const;
    void refreshWarning();

    // Whether the start-up backup of the day is due: none was made today.
    bool startupBackupDue(const QDateTime& now = QDateTime::currentDateTime()) const;
    // Starts tavlin --backup for the shop as a program of its own, which goes on when this one
    // ends; returns whether it started.
    bool backUpInBackground() const;
    // Runs the restore pendingRestore names, with the program's own connections closed;
    // messages go to the prompter. Returns whether the shop was restored.
    static bool runRestore(const DatabaseTarget& target, const QString& backup,
                           const QString& settingsFile);

private:
    BackupFolder folder() const;

    QMainWindow* m_window;
    DatabaseTarget m_target;
    QString m_settings;
    QLabel* m_warning = nullptr;
    QLabel* m_firstPassword = nullptr;
    QAction* m_usersItem = nullptr;
    QMenu* m_menu = nullptr;
    std::optional<QString> m_restore;
};
