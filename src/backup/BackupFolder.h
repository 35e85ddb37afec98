#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

struct DatabaseTarget;

// Where a station keeps its backups of a shop, what they are called, which of them rotation
// keeps, and when the last one was made. The time of the last backup is kept in the folder,
// beside the backups, never in the shop.
// How many of the newest backups rotation keeps: one a day for so many days, one a week for
// so many weeks, one a month for so many months.
struct BackupKeep
{
    int daily = 7;
    int weekly = 4;
    int monthly = 12;
};

class BackupFolder
{
public:
    using Keep = BackupKeep;
    struct Entry
    {
        QString path;
        QDateTime made;
    };

    BackupFolder(const QString& path, const QString& prefix, const Keep& keep = Keep());

    // The folder of the shop's backups: the one the settings file names ([backup] folder=),
    // else backups/ beside the shop's file, else, for a server shop, backups/ in the station's
    // own data folder. The settings file may also change how many backups rotation keeps
    // ([backup] daily=, weekly=, monthly=).
    static BackupFolder forShop(const DatabaseTarget& target, const QString& settingsFile);

    QString path() const { return m_path; }
    const Keep& keep() const { return m_keep; }

    // Makes the folder when it is missing; throws DbError when it cannot be made or written.
    void make() const;

    // The path of a new backup made at the time; a note ("before-restore") sets it apart
    // from the ones rotation removes.
    QString newPath(const QDateTime& at, const QString& note = QString()) const;

    // The backups rotation looks after, newest first; a copy being written (.partial) is
    // never one of them.
    QList<Entry> backups() const;
    // Of entries (newest first), those rotation removes.
    static QStringList removable(const QList<Entry>& entries, const Keep& keep);
    // Removes what rotation does not keep, and what a backup cut off left half written more
    // than an hour ago; returns how many backups went.
    int rotate() const;

    // The last backup made into this folder, as the folder noted it.
    std::optional<Entry> last() const;
    void noteMade(const Entry& made) const;

    // The lock a backup holds while it writes, so that two never write at once.
    QString lockPath() const;

private:
    QString m_path;
    QString m_prefix;
    Keep m_keep;
};
