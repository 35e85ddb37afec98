#include "backup/BackupFolder.h"

#include "data/DatabaseTarget.h"
#include "data/DbError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QSysInfo>

#include <algorithm>
#include <functional>

namespace {

const QString timeFormat = QStringLiteral("yyyy-MM-dd-HHmmss");
const QString ending = QStringLiteral(".backup.db");

// A name part made of letters, digits, dots and dashes only.
QString plain(QString text)
{
    static const QRegularExpression other(QStringLiteral("[^A-Za-z0-9._-]+"));
    text.replace(other, QStringLiteral("-"));
    return text.isEmpty() ? QStringLiteral("shop") : text;
}

int settingOr(const QSettings& settings, const char* key, int fallback)
{
    bool ok = false;
    const int n = settings.value(QLatin1String(key)).toInt(&ok);
    return ok && n >= 0 ? n : fallback;
}

} // namespace

BackupFolder::BackupFolder(const QString& path, const QString& prefix, const Keep& keep)
    : m_path(QDir::cleanPath(path))
    , m_prefix(plain(prefix))
    , m_keep(keep)
{}

BackupFolder BackupFolder::forShop(const DatabaseTarget& target, const QString& settingsFile)
{
    QSettings settings(settingsFile, QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("backup"));
    Keep keep;
    keep.daily = settingOr(settings, "daily", keep.daily);
    keep.weekly = settingOr(settings, "weekly", keep.weekly);
    keep.monthly = settingOr(settings, "monthly", keep.monthly);
    QString folder = settings.value(QStringLiteral("folder")).toString().trimmed();
    if (folder.startsWith(QLatin1String("~/")))
        folder = QDir::homePath() + folder.mid(1);
    QString prefix;
    if (target.isServer()) {
        // A server shop's backups are made by each station: named for the database and the
        // station, they never overwrite another station's in a shared folder.
        QString database = target.location;
        if (target.kind == DatabaseTarget::Kind::Server) {
            try {
                database = ServerAddress::parse(target.location).database;
            } catch (const DbError&) {
            }
        }
        prefix = database + QLatin1Char('-') + QSysInfo::machineHostName();
        if (folder.isEmpty())
            folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                     QStringLiteral("/backups");
    } else {
        const QFileInfo shop(target.location);
        prefix = shop.completeBaseName();
        if (folder.isEmpty())
            folder = shop.absolutePath() + QStringLiteral("/backups");
    }
    return BackupFolder(folder, prefix, keep);
}

void BackupFolder::make() const
{
    const QFileInfo info(m_path);
    if (info.exists() && !info.isDir())
        throw DbError(QStringLiteral("The backups folder %1 is a file, not a folder.")
                          .arg(QDir::toNativeSeparators(m_path)));
    if (!QDir().mkpath(m_path))
        throw DbError(QStringLiteral("The backups folder %1 cannot be made.")
                          .arg(QDir::toNativeSeparators(m_path)));
    if (!QFileInfo(m_path).isWritable())
        throw DbError(QStringLiteral("The backups folder %1 cannot be written to.")
                          .arg(QDir::toNativeSeparators(m_path)));
}

QString BackupFolder::newPath(const QDateTime& at, const QString& note) const
{
    QString name = m_prefix + QLatin1Char('-') + at.toString(timeFormat);
    if (!note.isEmpty())
        name += QLatin1Char('-') + plain(note);
    return m_path + QLatin1Char('/') + name + ending;
}

QList<BackupFolder::Entry> BackupFolder::backups() const
{
    const QRegularExpression named(QLatin1Char('^') + QRegularExpression::escape(m_prefix) +
                                   QStringLiteral("-(\\d{4}-\\d\\d-\\d\\d-\\d{6})") +
                                   QRegularExpression::escape(ending) + QLatin1Char('$'));
    QList<Entry> found;
    const QStringList names = QDir(m_path).entryList(QDir::Files);
    for (const QString& name : names) {
        const QRegularExpressionMatch m = named.match(name);
        if (!m.hasMatch())
            continue;
        const QDateTime made = QDateTime::fromString(m.captured(1), timeFormat);
        if (made.isValid())
            found.append({m_path + QLatin1Char('/') + name, made});
    }
    std::sort(found.begin(), found.end(),
              [](const Entry& a, const Entry& b) { return a.made > b.made; });
    return found;
}

QStringList BackupFolder::removable(const QList<Entry>& entries, const Keep& keep)
{
    QSet<QString> kept;
    // The newest of each of the last so many days, weeks and months that have a backup.
    const auto keepNewestOf = [&](int count, const std::function<qint64(const QDate&)>& period) {
        QSet<qint64> seen;
        for (const Entry& e : entries) {
            const qint64 p = period(e.made.date());
            if (seen.contains(p))
                continue;
            if (int(seen.size()) >= count)
                break;
            seen.insert(p);
            kept.insert(e.path);
        }
    };
    keepNewestOf(keep.daily, [](const QDate& d) { return d.toJulianDay(); });
    keepNewestOf(keep.weekly, [](const QDate& d) {
        int year = 0;
        const int week = d.weekNumber(&year);
        return qint64(year) * 100 + week;
    });
    keepNewestOf(keep.monthly, [](const QDate& d) { return qint64(d.year()) * 100 + d.month(); });
    // The newest is always kept, whatever the settings say.
    if (!entries.isEmpty())
        kept.insert(entries.first().path);
    QStringList removed;
    for (const Entry& e : entries)
        if (!kept.contains(e.path))
            removed.append(e.path);
    return removed;
}

int BackupFolder::rotate() const
{
    int removed = 0;
    for (const QString& path : removable(backups(), m_keep))
        if (QFile::remove(path))
            ++removed;
    // What a backup cut off (power lost, the program killed) left half written: never one of
    // the backups, and gone once it is an hour old, so that no copy still being written goes.
    const QDir folder(m_path);
    const QDateTime anHourAgo = QDateTime::currentDateTime().addSecs(-3600);
    for (const QFileInfo& partial : folder.entryInfoList(
             {m_prefix + QStringLiteral("-*") + ending + QStringLiteral(".partial")}, QDir::Files))
        if (partial.lastModified() < anHourAgo)
            QFile::remove(partial.filePath());
    return removed;
}

std::optional<BackupFolder::Entry> BackupFolder::last() const
{
    QFile stamp(m_path + QLatin1Char('/') + m_prefix + QStringLiteral(".last-backup"));
    if (!stamp.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QStringList parts = QString::fromUtf8(stamp.readAll()).trimmed().split(QLatin1Char('\t'));
    const QDateTime made = QDateTime::fromString(parts.value(0), Qt::ISODate);
    if (!made.isValid())
        return std::nullopt;
    return Entry{parts.value(1), made};
}

void BackupFolder::noteMade(const Entry& made) const
{
    QSaveFile stamp(m_path + QLatin1Char('/') + m_prefix + QStringLiteral(".last-backup"));
    if (!stamp.open(QIODevice::WriteOnly))
        return;
    stamp.write(
        (made.made.toString(Qt::ISODate) + QLatin1Char('\t') + made.path + QLatin1Char('\n'))
            .toUtf8());
    stamp.commit();
}

QString BackupFolder::lockPath() const
{
    return m_path + QLatin1Char('/') + m_prefix + QStringLiteral(".backup-lock");
}
