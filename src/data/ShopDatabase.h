#pragma once

#include <QString>

class QSqlDatabase;

// The embedded shop database file: created complete on first start, checked on every start,
// and upgraded step by step when a later release adds to the schema.
namespace ShopDatabase {

// tavlin.db in the application-data folder (which follows XDG_DATA_HOME).
QString defaultPath();

// Opens the file as the connection named connectionName, creating it when it does not exist.
// Throws DbError, leaving the file as it was, when it is not a usable shop database.
void open(const QString& path, const QString& connectionName);

} // namespace ShopDatabase
