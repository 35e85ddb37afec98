#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <memory>

class Connection;
struct DatabaseTarget;
class Query;

// The data module: the program's only door to its data. It owns the shop connection Admin1,
// the technician connection (configured, never opened) and the shop's profile, which New's
// proposals and every printout read.
class TDM : public QObject
{
    Q_OBJECT

public:
    // Opens the shop database at databasePath (creating it on first start) and its profile.
    // Throws DbError when the database cannot be opened.
    explicit TDM(const QString& databasePath, QObject* parent = nullptr);
    // The same on the shop database target names: the file, a server or an ODBC data source.
    explicit TDM(const DatabaseTarget& target, QObject* parent = nullptr);
    ~TDM() override;

    Connection* admin1() const { return m_admin1.get(); }
    Connection* technician() const { return m_technician.get(); }

    // The shop's profile row (the printouts' data set "Reg"), as last loaded.
    Query* profile() const { return m_profile; }
    // Loads the profile again, after it was changed.
    void reloadProfile();

private:
    std::unique_ptr<Connection> m_admin1;
    std::unique_ptr<Connection> m_technician;
    Query* m_profile = nullptr;
};

// The single data module of the running program (or of the running test).
extern TDM* DM;
