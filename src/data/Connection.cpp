#include "data/Connection.h"

#include "data/DbError.h"
#include "data/ShopDatabase.h"
#include "data/SqlDialect.h"

#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlQuery>

#include <sqlite3.h>

Connection::Connection(const QString& name, const QString& connectionText, const QString& path,
                       std::unique_ptr<SqlDialect> dialect)
    : m_name(name)
    , m_connectionText(connectionText)
    , m_path(path)
    , m_dialect(std::move(dialect))
    , m_translator(*m_dialect)
{}

std::unique_ptr<Connection> Connection::embedded(const QString& name, const QString& path)
{
    return std::unique_ptr<Connection>(
        new Connection(name, QStringLiteral("Embedded shop database %1").arg(path), path,
                       std::make_unique<SqliteDialect>()));
}

std::unique_ptr<Connection> Connection::dataSource(const QString& name,
                                                   const QString& connectionText)
{
    return std::unique_ptr<Connection>(
        new Connection(name, connectionText, QString(), std::make_unique<SqliteDialect>()));
}

Connection::~Connection()
{
    sqlite3_finalize(m_dataVersion);
    m_db = QSqlDatabase();
    if (m_added) {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
}

bool Connection::isOpen() const
{
    return m_added && QSqlDatabase::database(m_name, false).isOpen();
}

void Connection::open()
{
    if (isOpen())
        return;
    if (m_path.isEmpty())
        throw DbError(
            QStringLiteral("The data source of %1 is not set up on this computer.").arg(m_name));
    m_added = true;
    ShopDatabase::open(m_path, m_name);
    // Kept at hand: looking a connection up by name takes a lock for every statement.
    m_db = QSqlDatabase::database(m_name, false);
}

QSqlDatabase Connection::database() const
{
    if (!m_db.isOpen())
        throw DbError(QStringLiteral("Connection %1 is not open.").arg(m_name));
    return m_db;
}

sqlite3* Connection::sqliteHandle() const
{
    if (!m_db.isOpen() || !m_db.driver())
        return nullptr;
    const QVariant handle = m_db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.data());
}

void Connection::noteChange(const QString& statement)
{
    static const QRegularExpression changed(
        QStringLiteral("^\\s*(?:insert\\s+into|update|delete(?:\\s+\\*)?\\s+from)\\s+\\[?(\\w+)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = changed.match(statement);
    // A statement whose table cannot be told counts as a change of every table.
    ++m_changes[m.hasMatch() ? m.captured(1).toLower() : QString()];
    if (sqlite3* db = sqliteHandle())
        m_counted = sqlite3_total_changes64(db);
}

quint64 Connection::generation(const QString& table) const
{
    // Changes committed by another connection to the same file, through a statement prepared
    // once: it runs at every check.
    quint64 external = 0;
    if (sqlite3* db = sqliteHandle()) {
        // Rows changed on this connection past the program's own statements: which table is
        // not known, so every table counts as changed.
        const sqlite3_int64 total = sqlite3_total_changes64(db);
        if (total != m_counted) {
            ++m_changes[QString()];
            m_counted = total;
        }
        if (!m_dataVersion)
            sqlite3_prepare_v2(db, "PRAGMA data_version", -1, &m_dataVersion, nullptr);
        if (m_dataVersion && sqlite3_step(m_dataVersion) == SQLITE_ROW)
            external = quint64(sqlite3_column_int64(m_dataVersion, 0));
        if (m_dataVersion)
            sqlite3_reset(m_dataVersion);
    } else if (m_db.isOpen()) {
        QSqlQuery q(m_db);
        if (q.exec(QStringLiteral("PRAGMA data_version")) && q.next())
            external = q.value(0).toULongLong();
    }
    return m_changes.value(table.toLower()) + m_changes.value(QString()) + (external << 32);
}
