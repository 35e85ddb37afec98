#pragma once

#include <QString>

struct DatabaseTarget;
class BackupFolder;

// Consistent copies of a shop, and putting one back. A copy is written beside its final name,
// checked, flushed to the disk and only then given its name, so that a copy cut off at any
// moment is never taken for a good one; a restore switches in one step, so that the shop is
// either the old one or the restored one, whole.
namespace ShopBackup {

struct Made
{
    QString path;
    qint64 rows = 0;
    qint64 bytes = 0;
};

// Copies the shop the target names into destination (replaced if it exists) while stations
// keep working: the file through SQLite's online backup, a server with every table read in one
// repeatable-read transaction and written as an embedded shop file. The copy's structure is
// checked and each table's rows and amounts compared with the shop's at the same moment.
// Throws DbError; nothing is then left at destination that was not there.
Made backup(const DatabaseTarget& target, const QString& destination);

// Refuses, each with its own message, a file that is not a shop, a damaged one and one of a
// newer release; returns its schema version otherwise.
int checkBackup(const QString& path);

// Replaces the shop the target names with the backup, brought to today's schema. The shop
// being replaced is first kept as a backup in folder; its path is returned. Throws DbError,
// leaving the shop as it was, when any step fails. The file must not be open in any program.
QString restore(const DatabaseTarget& target, const QString& backupPath,
                const BackupFolder& folder);

// Creates the shop on the empty server database target names from a shop file or backup:
// every row with its values and keys, the counts and sums compared, in one transaction.
// Returns the rows copied.
qint64 createFrom(const DatabaseTarget& target, const QString& file);

} // namespace ShopBackup
