#pragma once

#include <QString>
#include <QStringList>

struct DatabaseTarget;
class QSqlDatabase;

// Looks a shop over without changing it: the file's structure, lines and payments without
// their document, numbers held twice where each must be one document's, and the schema
// version. Each fault is a line that names the document ("invoice 41: a part line without
// its invoice").
namespace ShopCheck {

struct Report
{
    QStringList faults;
    // What is worth saying but is no fault: a shop of an older schema, which the next start
    // upgrades.
    QStringList notes;
    bool good() const { return faults.isEmpty(); }
};

// The shop the target names; a file is opened for reading only.
Report check(const DatabaseTarget& target);
// An open shop database.
Report check(QSqlDatabase& db);

} // namespace ShopCheck
