#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <memory>

class Connection;
struct DatabaseTarget;
class Query;

// The data module: the program's only door to its data. It owns the shop connection Admin1,
// the technician connection (configured, never opened) and the pool of named queries that
// every window borrows.
class TDM : public QObject
{
    Q_OBJECT

public:
    // Opens the shop database at databasePath (creating it on first start) and QReg1.
    // Throws DbError when the database cannot be opened.
    explicit TDM(const QString& databasePath, QObject* parent = nullptr);
    // The same on the shop database target names: the file, a server or an ODBC data source.
    explicit TDM(const DatabaseTarget& target, QObject* parent = nullptr);
    ~TDM() override;

    Connection* admin1() const { return m_admin1.get(); }
    Connection* technician() const { return m_technician.get(); }

    // The named query; throws DbError for a name that is not in the pool.
    Query* query(const QString& name) const;
    // A query of owner's own under a pool name, on the same connection and with the same
    // cursor: for a window whose rows no other window or command may replace. It goes with
    // its owner.
    Query* ownQuery(const QString& name, QObject* owner) const;
    QStringList queryNames() const;

private:
    void createQueries();

    std::unique_ptr<Connection> m_admin1;
    std::unique_ptr<Connection> m_technician;
    QHash<QString, Query*> m_queries;
    QStringList m_names;
};

// The single data module of the running program (or of the running test).
extern TDM* DM;
