#pragma once

#include "data/AccessSql.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>

#include <memory>

class SqlDialect;
struct sqlite3;
struct sqlite3_stmt;

// One named database connection of the data module. The statements of the program are written
// once; the connection's dialect decides how they reach its engine.
class Connection
{
public:
    // The embedded shop database file at path.
    static std::unique_ptr<Connection> embedded(const QString& name, const QString& path);
    // A connection through a named data source that is configured but opened only on demand.
    static std::unique_ptr<Connection> dataSource(const QString& name,
                                                  const QString& connectionText);
    ~Connection();

    QString name() const { return m_name; }
    // The shop file of an embedded connection.
    QString path() const { return m_path; }
    QString connectionText() const { return m_connectionText; }
    bool isOpen() const;
    void open();

    QSqlDatabase database() const;
    // The engine's own handle when the connection is an SQLite file (rows are then read
    // straight from it, without a variant per cell), else null.
    sqlite3* sqliteHandle() const;
    QString translate(const QString& statement) const { return m_translator.translate(statement); }

    // Counts the changes made through this connection to a table (from the Insert, Update or
    // Delete statements run on it) together with the commits of other connections to the
    // same file, so that a window can keep rows it loaded while their table is unchanged.
    void noteChange(const QString& statement);
    quint64 generation(const QString& table) const;

private:
    Connection(const QString& name, const QString& connectionText, const QString& path,
               std::unique_ptr<SqlDialect> dialect);

    QString m_name;
    QString m_connectionText;
    QString m_path;
    std::unique_ptr<SqlDialect> m_dialect;
    AccessSql m_translator;
    bool m_added = false;
    QSqlDatabase m_db;
    mutable QHash<QString, quint64> m_changes;
    mutable sqlite3_stmt* m_dataVersion = nullptr;
    // The connection's count of changed rows when the program last counted its own changes.
    mutable qint64 m_counted = 0;
};
