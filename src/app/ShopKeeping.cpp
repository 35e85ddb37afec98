#include "app/ShopKeeping.h"

#include "app/TMainForm.h"
#include "app/TUsers.h"
#include "backup/BackupFolder.h"
#include "backup/ShopBackup.h"
#include "backup/ShopCheck.h"
#include "backup/ShopCommands.h"
#include "data/DbError.h"
#include "data/TDM.h"
#include "stores/UserStore.h"
#include "ui/common/Guard.h"
#include "ui/common/Prompter.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QStatusBar>
#include <QTimer>

namespace {

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString when(const QDateTime& at)
{
    return QLocale().toString(at, QLocale::ShortFormat);
}

const QString filter =
    QStringLiteral("Tavlin backups (*.backup.db);;Shop files (*.db);;All files (*)");

// While a long command runs, the pointer says so.
class Busy
{
public:
    Busy() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Busy() { QApplication::restoreOverrideCursor(); }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;
};

// The command line that names the shop as target does.
QStringList shopArguments(const DatabaseTarget& target)
{
    switch (target.kind) {
    case DatabaseTarget::Kind::Server:
        return {QStringLiteral("--server"), target.location};
    case DatabaseTarget::Kind::Odbc:
        return {QStringLiteral("--odbc"), target.location};
    case DatabaseTarget::Kind::File:
        break;
    }
    return {QStringLiteral("--database"), target.location};
}

} // namespace

ShopKeeping::ShopKeeping(QMainWindow* window, const DatabaseTarget& target,
                         const QString& settingsFile)
    : QObject(window)
    , m_window(window)
    , m_target(target)
    , m_settings(settingsFile)
{
    m_warning = new QLabel(window->statusBar());
    m_warning->setObjectName(QStringLiteral("BackupWarning"));
    m_warning->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    window->statusBar()->addPermanentWidget(m_warning);
    refreshWarning();
    m_firstPassword = new QLabel(window->statusBar());
    m_firstPassword->setObjectName(QStringLiteral("FirstPasswordWarning"));
    m_firstPassword->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    window->statusBar()->addPermanentWidget(m_firstPassword);
    refreshFirstPassword();
    // A program left running for days says so too.
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &ShopKeeping::refreshWarning);
    timer->start(60 * 60 * 1000);
}

BackupFolder ShopKeeping::folder() const
{
    return BackupFolder::forShop(m_target, m_settings);
}

void ShopKeeping::addMenu(QMenuBar* bar)
{
    auto* menu = new QMenu(QStringLiteral("&File"), bar);
    m_menu = menu;
    menu->setObjectName(QStringLiteral("File1"));
    const QList<QAction*> existing = bar->actions();
    bar->insertMenu(existing.isEmpty() ? nullptr : existing.first(), menu);
    const auto item = [&](const QString& text, const QString& hint, const char* name,
                          std::function<void()> command) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QLatin1String(name));
        action->setStatusTip(hint);
        connect(action, &QAction::triggered, this, [command] { guard(command); });
    };
    item(QStringLiteral("&Back up now..."),
         QStringLiteral("Make a checked copy of the shop into a file"), "FileBackupItem",
         [this] { backUpNow(); });
    item(QStringLiteral("&Restore..."), QStringLiteral("Replace the shop with a backup"),
         "FileRestoreItem", [this] { askToRestore(); });
    menu->addSeparator();
    item(QStringLiteral("&Users..."),
         QStringLiteral("Add users, set their passwords, disable them; the archive code"),
         "FileUsersItem", [this] { openUsers(); });
    m_usersItem = menu->actions().constLast();
    item(QStringLiteral("&Check the shop"),
         QStringLiteral("Look the shop over for damage and records that lost their document"),
         "FileCheckItem", [this] { checkShop(); });
    setSignedIn(false);
}

void ShopKeeping::setSignedIn(bool signedIn, bool owner)
{
    if (!m_menu)
        return;
    for (QAction* action : m_menu->actions())
        action->setEnabled(signedIn);
    m_usersItem->setEnabled(signedIn && owner);
    m_usersItem->setStatusTip(owner ? QStringLiteral("Add users, set their passwords, disable "
                                                     "them; the archive code")
                                    : QStringLiteral("Only an owner manages the users"));
    m_menu->setToolTipsVisible(true);
    m_menu->setToolTip(signedIn ? QString() : QStringLiteral("Sign in first"));
}

QString ShopKeeping::backUpNow()
{
    const BackupFolder backups = folder();
    const QDateTime now = QDateTime::currentDateTime();
    const QString proposed = backups.newPath(now);
    const QString chosen = Prompter::instance().chooseFile(
        {QStringLiteral("Back up the shop"), proposed, filter, true});
    if (chosen.isEmpty())
        return QString();
    QString made;
    try {
        Busy busy;
        if (QFileInfo(chosen).absoluteFilePath() == QFileInfo(proposed).absoluteFilePath()) {
            made = ShopCommands::backupIntoFolder(m_target, backups);
        } else {
            made = ShopBackup::backup(m_target, chosen).path;
            backups.make();
            backups.noteMade({made, now});
        }
    } catch (const DbError& e) {
        Prompter::instance().error(QStringLiteral("No backup was made: ") + e.message());
        return QString();
    }
    refreshWarning();
    Prompter::instance().inform(
        QStringLiteral("The shop is backed up to %1 (%2 MB).")
            .arg(shown(made))
            .arg(double(QFileInfo(made).size()) / (1024.0 * 1024.0), 0, 'f', 1));
    return made;
}

void ShopKeeping::askToRestore()
{
    const BackupFolder backups = folder();
    const QString chosen =
        Prompter::instance().chooseFile({QStringLiteral("Restore the shop from a backup"),
                                         backups.path() + QLatin1Char('/'), filter, false});
    if (chosen.isEmpty())
        return;
    try {
        Busy busy;
        ShopBackup::checkBackup(chosen);
    } catch (const DbError& e) {
        Prompter::instance().error(e.message());
        return;
    }
    const QFileInfo backup(chosen);
    if (!Prompter::instance().confirm(
            QStringLiteral("Replace the shop (%1) with the backup %2 made %3?\n\nEvery record "
                           "entered since that backup is replaced by what the backup holds. The "
                           "shop as it is now is kept as a backup first. Tavlin closes its "
                           "windows, restores the shop and starts again.")
                .arg(m_target.describe(), shown(backup.absoluteFilePath()),
                     when(backup.lastModified()))))
        return;
    m_restore = backup.absoluteFilePath();
    // A window that keeps the program open (its edits not yet saved) cancels the restore.
    if (!m_window->close())
        m_restore.reset();
}

void ShopKeeping::checkShop()
{
    ShopCheck::Report report;
    {
        Busy busy;
        report = ShopCheck::check(m_target);
    }
    const QString notes = report.notes.isEmpty() ? QString()
                                                 : QStringLiteral("\n\nNote: ") +
                                                       report.notes.join(QStringLiteral("\n"));
    if (report.good()) {
        Prompter::instance().inform(QStringLiteral("The shop is good: no fault was found.") +
                                    notes);
        return;
    }
    // The first faults; the command line lists them all.
    constexpr int shownFaults = 25;
    QString text =
        QStringLiteral("The check found %1 %2:\n\n")
            .arg(report.faults.size())
            .arg(report.faults.size() == 1 ? QStringLiteral("fault") : QStringLiteral("faults"));
    text += report.faults.mid(0, shownFaults).join(QLatin1Char('\n'));
    if (report.faults.size() > shownFaults)
        text += QStringLiteral("\n... and %1 more (tavlin --check lists them all).")
                    .arg(report.faults.size() - shownFaults);
    Prompter::instance().error(text + notes);
}

std::optional<QDateTime> ShopKeeping::lastBackup() const
{
    if (const auto last = folder().last())
        return last->made;
    return std::nullopt;
}

QString ShopKeeping::lastBackupText() const
{
    const auto last = folder().last();
    if (!last)
        return QStringLiteral("Last backup: none yet (backups go into %1)")
            .arg(shown(folder().path()));
    return QStringLiteral("Last backup: %1, %2").arg(when(last->made), shown(last->path));
}

QString ShopKeeping::warning(const QDateTime& now) const
{
    const auto last = lastBackup();
    if (!last)
        return QString();
    const qint64 days = last->date().daysTo(now.date());
    if (days < warnAfterDays)
        return QString();
    return QStringLiteral("No backup for %1 days").arg(days);
}

void ShopKeeping::refreshWarning()
{
    const QString text = warning();
    m_warning->setText(text);
    m_warning->setToolTip(text.isEmpty() ? QString() : lastBackupText());
    m_warning->setVisible(!text.isEmpty());
}

bool ShopKeeping::startupBackupDue(const QDateTime& now) const
{
    const auto last = lastBackup();
    return !last || last->date() != now.date();
}

bool ShopKeeping::backUpInBackground() const
{
    return QProcess::startDetached(QCoreApplication::applicationFilePath(),
                                   shopArguments(m_target) << QStringLiteral("--backup"));
}

bool ShopKeeping::runRestore(const DatabaseTarget& target, const QString& backup,
                             const QString& settingsFile)
{
    try {
        Busy busy;
        const QString kept =
            ShopBackup::restore(target, backup, BackupFolder::forShop(target, settingsFile));
        Prompter::instance().inform(
            QStringLiteral("The shop is restored from %1.%2")
                .arg(
                    shown(backup),
                    kept.isEmpty()
                        ? QString()
                        : QStringLiteral(" The shop it replaced is kept as %1.").arg(shown(kept))));
        return true;
    } catch (const DbError& e) {
        Prompter::instance().error(QStringLiteral("The shop was not restored: ") + e.message());
    }
    return false;
}

void ShopKeeping::openUsers()
{
    auto* form = qobject_cast<TMainForm*>(m_window);
    if (!form)
        return;
    auto* users = new TUsers;
    connect(users, &TUsers::usersChanged, this, &ShopKeeping::refreshFirstPassword);
    form->addChild(users);
}

QString ShopKeeping::firstPasswordText() const
{
    if (!DM || !UserStore().firstPasswordInUse())
        return QString();
    return QStringLiteral("The shop still has its first-start password: the owner sets one in "
                          "File > Users");
}

void ShopKeeping::refreshFirstPassword()
{
    QString text;
    try {
        text = firstPasswordText();
    } catch (const DbError&) {
    }
    m_firstPassword->setText(text);
    m_firstPassword->setVisible(!text.isEmpty());
}
