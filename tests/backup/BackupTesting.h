#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

struct DatabaseTarget;
class TestShop;

// What the backup tests share: a readable dump of a whole shop, to compare two shops row by
// row, and a few rows of every kind of value.
namespace BackupTesting {

// The SHA-256 of a file's bytes (empty when it cannot be read).
QByteArray hashOf(const QString& path);

// Every row of every table, each as "Table|key|value|value...", amounts to the ten thousandth
// and dates as ISO text whatever the engine keeps them as; sorted.
QStringList dump(const DatabaseTarget& target);
QStringList dumpFile(const QString& path);

// Arranges an invoice with part and labor lines and a payment, an estimate, a bill with a
// payment, a part with empty fields and texts that need quoting.
void fillShop(TestShop& shop);

} // namespace BackupTesting
