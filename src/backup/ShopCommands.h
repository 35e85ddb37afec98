#pragma once

#include "data/DatabaseTarget.h"

#include <QString>

class QTextStream;
class BackupFolder;

// The commands that look after a shop from the command line or the File menu: each writes
// what it did as a line on out, or what went wrong on err, and returns the program's exit
// code (0 when it was done).
namespace ShopCommands {

// A backup into file, or, without one, into the shop's backups folder under a new name, after
// which rotation removes what it no longer keeps. The folder notes the backup either way.
int backup(const DatabaseTarget& target, const QString& file, const QString& settingsFile,
           QTextStream& out, QTextStream& err);
int restore(const DatabaseTarget& target, const QString& file, const QString& settingsFile,
            QTextStream& out, QTextStream& err);
int check(const DatabaseTarget& target, QTextStream& out, QTextStream& err);
int createFrom(const DatabaseTarget& target, const QString& file, QTextStream& out,
               QTextStream& err);

// The backup into the folder itself, for callers that show its outcome their own way: holds
// the folder's lock while it writes, notes it and rotates. Throws DbError.
QString backupIntoFolder(const DatabaseTarget& target, const BackupFolder& folder);

} // namespace ShopCommands
