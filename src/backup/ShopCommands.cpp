#include "backup/ShopCommands.h"

#include "backup/BackupFolder.h"
#include "backup/ShopBackup.h"
#include "backup/ShopCheck.h"
#include "data/DbError.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLockFile>
#include <QTextStream>

namespace {

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString sizeOf(qint64 bytes)
{
    return QStringLiteral("%1 MB").arg(double(bytes) / (1024.0 * 1024.0), 0, 'f', 1);
}

} // namespace

namespace ShopCommands {

QString backupIntoFolder(const DatabaseTarget& target, const BackupFolder& folder)
{
    folder.make();
    QLockFile lock(folder.lockPath());
    // A backup being written by another program of this station is waited for a while.
    if (!lock.tryLock(120000))
        throw DbError(QStringLiteral("Another backup into %1 is still being written.")
                          .arg(shown(folder.path())));
    const QDateTime now = QDateTime::currentDateTime();
    const ShopBackup::Made made = ShopBackup::backup(target, folder.newPath(now));
    folder.noteMade({made.path, now});
    // Old copies go only once the new one is made and checked.
    folder.rotate();
    return made.path;
}

int backup(const DatabaseTarget& target, const QString& file, const QString& settingsFile,
           QTextStream& out, QTextStream& err)
{
    try {
        QElapsedTimer timer;
        timer.start();
        const BackupFolder folder = BackupFolder::forShop(target, settingsFile);
        QString path;
        if (file.isEmpty()) {
            path = backupIntoFolder(target, folder);
        } else {
            path = QFileInfo(file).absoluteFilePath();
            ShopBackup::backup(target, path);
            try {
                folder.make();
                folder.noteMade({path, QDateTime::currentDateTime()});
            } catch (const DbError&) {
                // The copy is made; only the note of it could not be kept.
            }
        }
        out << "Backed up the shop on " << target.describe() << " to " << shown(path) << " ("
            << sizeOf(QFileInfo(path).size()) << ", "
            << QString::number(timer.elapsed() / 1000.0, 'f', 1) << " s)." << Qt::endl;
        return 0;
    } catch (const DbError& e) {
        err << "tavlin: no backup was made: " << e.message() << Qt::endl;
    }
    return 1;
}

int restore(const DatabaseTarget& target, const QString& file, const QString& settingsFile,
            QTextStream& out, QTextStream& err)
{
    try {
        const BackupFolder folder = BackupFolder::forShop(target, settingsFile);
        const QString kept = ShopBackup::restore(target, file, folder);
        out << "Restored the shop on " << target.describe() << " from " << shown(file) << ".";
        if (!kept.isEmpty())
            out << " The shop it replaced is kept as " << shown(kept) << ".";
        out << Qt::endl;
        return 0;
    } catch (const DbError& e) {
        err << "tavlin: " << e.message() << Qt::endl;
    }
    return 1;
}

int check(const DatabaseTarget& target, QTextStream& out, QTextStream& err)
{
    try {
        const ShopCheck::Report report = ShopCheck::check(target);
        for (const QString& fault : report.faults)
            out << fault << Qt::endl;
        for (const QString& note : report.notes)
            out << "note: " << note << Qt::endl;
        if (report.good()) {
            out << "The shop on " << target.describe() << " is good." << Qt::endl;
            return 0;
        }
        out << report.faults.size() << (report.faults.size() == 1 ? " fault" : " faults")
            << " found in the shop on " << target.describe() << "." << Qt::endl;
        return 1;
    } catch (const DbError& e) {
        err << "tavlin: " << e.message() << Qt::endl;
    }
    return 2;
}

int createFrom(const DatabaseTarget& target, const QString& file, QTextStream& out,
               QTextStream& err)
{
    try {
        const qint64 rows = ShopBackup::createFrom(target, file);
        out << "Created the Tavlin shop on " << target.describe() << " from " << shown(file) << " ("
            << rows << " rows)." << Qt::endl;
        return 0;
    } catch (const DbError& e) {
        err << "tavlin: " << e.message() << Qt::endl;
    }
    return 1;
}

} // namespace ShopCommands
