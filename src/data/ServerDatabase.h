#pragma once

#include "data/ShopDatabase.h"

class QSqlDatabase;

// A shop database on a PostgreSQL server, shared by the shop's stations: created on request
// from today's schema, checked on every start, and upgraded through the same numbered steps as
// the embedded file. The version is kept in the table tavlin_schema.
namespace ServerDatabase {

// Creates the shop on an open, empty database: the schema, its indexes, the profile row and
// the first user, all in one transaction. Throws DbError, leaving the database as it was,
// when it already holds tables (a shop or anything else).
void create(QSqlDatabase& db,
            const QList<ShopDatabase::UpgradeStep>& steps = ShopDatabase::upgradeSteps());
// The same with the rows fill writes in place of the profile row and the first user, in the
// same transaction: what fill throws leaves the database as it was.
void create(QSqlDatabase& db, const std::function<void(QSqlDatabase&)>& fill,
            const QList<ShopDatabase::UpgradeStep>& steps = ShopDatabase::upgradeSteps());

// Checks an open database: it must hold a shop of this release or an older one, which is then
// upgraded step by step (one station at a time, each step in one transaction). Throws DbError
// naming the database (shown) when it is empty, holds something else, or is newer.
void check(QSqlDatabase& db, const QString& shown,
           const QList<ShopDatabase::UpgradeStep>& steps = ShopDatabase::upgradeSteps());

// The schema version written in a server database, 0 when it holds no shop.
int version(QSqlDatabase& db);

} // namespace ServerDatabase
