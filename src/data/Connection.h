#pragma once

#include "data/AccessSql.h"
#include "data/DatabaseTarget.h"
#include "data/SqlStatement.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>

#include <memory>
#include <unordered_map>

class QSqlError;
class QSqlQuery;
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
    // The shop database target names: the embedded file, a PostgreSQL server or an ODBC data
    // source that names one. A server's database is checked (and upgraded) when opened.
    static std::unique_ptr<Connection> shop(const QString& name, const DatabaseTarget& target);
    // Creates the shop on the empty database target names (a new embedded file is simply made
    // complete). Throws DbError, leaving the database as it was, when that cannot be done.
    static void createShop(const DatabaseTarget& target);
    // A connection named name to the server target names, set up but not opened.
    static QSqlDatabase addServerDatabase(const DatabaseTarget& target, const QString& name);
    // The same opened, its session prepared as the program's own. Exact numbers come back as
    // they are stored (texts), for copying; throws DbError when the server cannot be reached.
    static QSqlDatabase openServerDatabase(const DatabaseTarget& target, const QString& name);
    // A connection through a named data source that is configured but opened only on demand.
    static std::unique_ptr<Connection> dataSource(const QString& name,
                                                  const QString& connectionText);
    ~Connection();

    QString name() const { return m_name; }
    // The shop file of an embedded connection.
    QString path() const { return m_path; }
    QString connectionText() const { return m_connectionText; }
    const DatabaseTarget& target() const { return m_target; }
    bool isServer() const { return m_target.isServer(); }
    bool isOpen() const;
    void open();

    // The open connection. After the server was lost it connects again first, and throws
    // DbError when the server still cannot be reached.
    QSqlDatabase database() const;
    // Runs a change written in the shop's wording, its values bound, and returns the number of
    // rows it changed.
    int execute(const SqlStatement& statement);
    int execute(const QString& statement) { return execute(SqlStatement{{statement}}); }
    // Runs an Insert of one row written in the shop's wording and returns the row's hidden key.
    qint64 insertRow(const SqlStatement& statement);
    // The statement prepared on this connection, once: later calls give the same query, its
    // values to be bound again. Statements written with their values as text are prepared
    // each time.
    QSqlQuery& prepared(const QString& sql) const;
    // The engine's statement prepared once on the embedded file (null on a server).
    sqlite3_stmt* sqliteStatement(const QString& sql, QString* error) const;
    // A value as the engine stores it: dates as ISO text and yes/no as 1 or 0 on the file.
    QVariant bindable(const QVariant& value) const;
    // The hidden key of the row this connection inserted last.
    qint64 lastInsertedKey() const;

    // The message for a statement's failure. A failure that lost the server connection is told
    // as such, once, and the next command connects again.
    QString failure(const QSqlError& error) const;
    // Whether the failure lost the connection (the server stopped, restarted or dropped it).
    static bool isConnectionLoss(const QSqlError& error);
    // Set while a Transaction is open on this connection: a lost connection is then never
    // reconnected under it, since the work done so far went with the old one.
    void setInTransaction(bool open) { m_inTransaction = open; }
    // Rolls back what the open transaction did; nothing when the connection is gone.
    void rollback();
    bool inTransaction() const { return m_inTransaction; }
    // The engine's own handle when the connection is an SQLite file (rows are then read
    // straight from it, without a variant per cell), else null.
    sqlite3* sqliteHandle() const;
    // The statement in the engine's wording; statements with placeholders are translated once.
    QString translate(const QString& statement) const;
    const SqlDialect& dialect() const { return *m_dialect; }
    // The engine's hidden column that keeps the order rows were added in (none on the file).
    QString rowOrderColumn() const;

    // Counts the changes made through this connection to a table (from the Insert, Update or
    // Delete statements run on it) together with the commits of other connections to the
    // same file, so that a window can keep rows it loaded while their table is unchanged.
    void noteChange(const QString& statement);
    quint64 generation(const QString& table) const;
    // Counts a command of the user (a key or a mouse button pressed): a server is asked what
    // other stations changed at most once per command, however many boxes and lists check in
    // between. Until the first command is counted, every check asks.
    static void beginCommand();

private:
    Connection(const QString& name, const QString& connectionText, const DatabaseTarget& target,
               std::unique_ptr<SqlDialect> dialect);
    void openServer(bool create = false);
    void reconnect() const;
    QString lostMessage() const;
    // What every new session on a server is told first.
    static void prepareSession(QSqlDatabase& db);

    QString m_name;
    QString m_connectionText;
    QString m_path;
    DatabaseTarget m_target;
    std::unique_ptr<SqlDialect> m_dialect;
    AccessSql m_translator;
    bool m_added = false;
    mutable QSqlDatabase m_db;
    mutable bool m_lost = false;
    bool m_inTransaction = false;
    mutable QHash<QString, quint64> m_changes;
    mutable sqlite3_stmt* m_dataVersion = nullptr;
    // Statements with placeholders, translated and prepared once per connection.
    mutable QHash<QString, QString> m_translated;
    mutable std::unordered_map<QString, std::unique_ptr<QSqlQuery>> m_prepared;
    mutable std::unordered_map<QString, sqlite3_stmt*> m_statements;
    void forgetPrepared() const;
    // The connection's count of changed rows when the program last counted its own changes.
    mutable qint64 m_counted = 0;
    // The server's answer, and the command it was asked in.
    mutable quint64 m_external = 0;
    mutable quint64 m_askedIn = 0;
};
