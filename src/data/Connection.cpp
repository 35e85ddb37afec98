#include "data/Connection.h"

#include "data/DbError.h"
#include "data/RowReader.h"
#include "data/ServerDatabase.h"
#include "data/ShopDatabase.h"
#include "data/SqlDialect.h"

#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

namespace {
// The user's commands so far, counted by the application.
quint64 commands = 0;
} // namespace

void Connection::beginCommand()
{
    ++commands;
}

Connection::Connection(const QString& name, const QString& connectionText,
                       const DatabaseTarget& target, std::unique_ptr<SqlDialect> dialect)
    : m_name(name)
    , m_connectionText(connectionText)
    , m_path(target.kind == DatabaseTarget::Kind::File ? target.location : QString())
    , m_target(target)
    , m_dialect(std::move(dialect))
    , m_translator(*m_dialect)
{}

std::unique_ptr<Connection> Connection::embedded(const QString& name, const QString& path)
{
    return std::unique_ptr<Connection>(
        new Connection(name, QStringLiteral("Embedded shop database %1").arg(path),
                       DatabaseTarget::file(path), std::make_unique<SqliteDialect>()));
}

std::unique_ptr<Connection> Connection::shop(const QString& name, const DatabaseTarget& target)
{
    if (!target.isServer())
        return embedded(name, target.location);
    return std::unique_ptr<Connection>(
        new Connection(name, target.describe(), target, std::make_unique<PostgresDialect>()));
}

std::unique_ptr<Connection> Connection::dataSource(const QString& name,
                                                   const QString& connectionText)
{
    return std::unique_ptr<Connection>(new Connection(
        name, connectionText, DatabaseTarget::file(QString()), std::make_unique<SqliteDialect>()));
}

Connection::~Connection()
{
    forgetPrepared();
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

QString Connection::rowOrderColumn() const
{
    return m_dialect->rowOrderColumn();
}

bool Connection::isOpen() const
{
    return m_added && m_db.isOpen();
}

void Connection::rollback()
{
    if (m_db.isOpen() && !m_lost)
        m_db.rollback();
}

void Connection::open()
{
    if (isOpen())
        return;
    if (m_target.isServer()) {
        openServer();
        return;
    }
    if (m_path.isEmpty())
        throw DbError(
            QStringLiteral("The data source of %1 is not set up on this computer.").arg(m_name));
    m_added = true;
    ShopDatabase::open(m_path, m_name);
    // Kept at hand: looking a connection up by name takes a lock for every statement.
    m_db = QSqlDatabase::database(m_name, false);
}

void Connection::createShop(const DatabaseTarget& target)
{
    const std::unique_ptr<Connection> connection = shop(QStringLiteral("tavlin-create"), target);
    if (target.isServer())
        connection->openServer(true);
    else
        connection->open();
}

QSqlDatabase Connection::addServerDatabase(const DatabaseTarget& target, const QString& name)
{
    const bool odbc = target.kind == DatabaseTarget::Kind::Odbc;
    QSqlDatabase db =
        QSqlDatabase::addDatabase(odbc ? QStringLiteral("QODBC") : QStringLiteral("QPSQL"), name);
    if (!db.isValid())
        throw DbError(
            QStringLiteral("This computer has no %1 database driver for Qt: install %2.")
                .arg(odbc ? QStringLiteral("ODBC") : QStringLiteral("PostgreSQL"),
                     odbc ? QStringLiteral("libqt6sql6-odbc") : QStringLiteral("libqt6sql6-psql")));
    if (odbc) {
        db.setDatabaseName(target.location);
    } else {
        const ServerAddress address = ServerAddress::parse(target.location);
        db.setHostName(address.host);
        db.setPort(address.port);
        db.setDatabaseName(address.database);
        db.setUserName(address.user);
        // Without a password in the address, the server's own ways apply (PGPASSFILE, .pgpass).
        if (!address.password.isEmpty())
            db.setPassword(address.password);
        // A server that does not answer is given up on after a few seconds. A backslash in a
        // text is a backslash from the session's start, whatever the role's default: the
        // driver decides once, when it connects, how it writes the texts it binds.
        db.setConnectOptions(
            (QStringList{QStringLiteral("connect_timeout=5"),
                         QStringLiteral("options='-c standard_conforming_strings=on'")} +
             address.options)
                .join(QLatin1Char(';')));
    }
    return db;
}

void Connection::openServer(bool create)
{
    m_added = true;
    QSqlDatabase db = addServerDatabase(m_target, m_name);
    // Money and sums come back as numbers, as from the embedded file.
    db.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    if (!db.open())
        throw DbError(QStringLiteral("The shop database %1 cannot be opened: %2")
                          .arg(m_target.describe(), databaseMessage(db.lastError())));
    try {
        prepareSession(db);
        if (create)
            ServerDatabase::create(db);
        ServerDatabase::check(db, m_target.describe());
    } catch (...) {
        db.close();
        throw;
    }
    m_db = db;
}

QSqlDatabase Connection::openServerDatabase(const DatabaseTarget& target, const QString& name)
{
    QSqlDatabase db = addServerDatabase(target, name);
    db.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!db.open())
        throw DbError(QStringLiteral("The shop database %1 cannot be opened: %2")
                          .arg(target.describe(), databaseMessage(db.lastError())));
    try {
        prepareSession(db);
    } catch (...) {
        db.close();
        throw;
    }
    return db;
}

void Connection::prepareSession(QSqlDatabase& db)
{
    // A backslash in a quoted text is a backslash, whatever the server's or the role's
    // default: a text typed into a box can then never end the literal it is written in.
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SET standard_conforming_strings = on")))
        throw DbError(databaseMessage(q.lastError()));
    // Each statement is planned for its values: a plan made once for any value reads a few
    // hundred open invoices along every invoice of ten years. Planning costs a fraction of a
    // millisecond; a server older than 12 plans its own way.
    q.exec(QStringLiteral("SET plan_cache_mode = force_custom_plan"));
    // No statement is compiled to machine code first: the shop's statements read a few hundred
    // rows along an index, and a plan whose estimate runs high spent a third of a second
    // compiling what then ran in a few milliseconds.
    q.exec(QStringLiteral("SET jit = off"));
}

QString Connection::translate(const QString& statement) const
{
    // The program's statements are few and fixed, their values bound: each is translated
    // once. A bound on them all the same, for statements written whole.
    auto found = m_translated.constFind(statement);
    if (found == m_translated.constEnd()) {
        if (m_translated.size() > 4000)
            m_translated.clear();
        found = m_translated.insert(statement, m_translator.translate(statement));
    }
    return *found;
}

QVariant Connection::bindable(const QVariant& value) const
{
    if (m_target.isServer())
        return value;
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.isNull() ? QVariant(QMetaType::fromType<QString>())
                              : QVariant(value.toDate().toString(Qt::ISODate));
    case QMetaType::Bool:
        return value.isNull() ? QVariant(QMetaType::fromType<qlonglong>())
                              : QVariant(qlonglong(value.toBool() ? 1 : 0));
    default:
        return value;
    }
}

QSqlQuery& Connection::prepared(const QString& sql) const
{
    auto found = m_prepared.find(sql);
    if (found != m_prepared.end())
        return *found->second;
    auto query = std::make_unique<QSqlQuery>(database());
    query->setForwardOnly(true);
    if (!query->prepare(sql))
        throw DbError(failure(query->lastError()));
    if (m_prepared.size() > 500)
        forgetPrepared();
    return *m_prepared.emplace(sql, std::move(query)).first->second;
}

sqlite3_stmt* Connection::sqliteStatement(const QString& sql, QString* error) const
{
    sqlite3* db = sqliteHandle();
    if (!db)
        return nullptr;
    auto found = m_statements.find(sql);
    if (found != m_statements.end())
        return found->second;
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* statement = nullptr;
    const int done = sqlite3_prepare_v3(db, text.constData(), int(text.size()),
                                        SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
    if (done != SQLITE_OK) {
        if (error)
            *error = done == SQLITE_BUSY ? DbError::busy() : QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(statement);
        return nullptr;
    }
    if (m_statements.size() > 500)
        forgetPrepared();
    m_statements.emplace(sql, statement);
    return statement;
}

void Connection::forgetPrepared() const
{
    m_prepared.clear();
    for (auto& [sql, statement] : m_statements)
        sqlite3_finalize(statement);
    m_statements.clear();
}

int Connection::execute(const SqlStatement& statement)
{
    const QString sql = translate(statement.text());
    if (statement.values.isEmpty()) {
        QSqlQuery q(database());
        if (!q.exec(sql))
            throw DbError(failure(q.lastError()));
        noteChange(sql);
        return q.numRowsAffected();
    }
    QSqlQuery& q = prepared(sql);
    for (int i = 0; i < statement.values.size(); ++i)
        q.bindValue(i, bindable(statement.values.at(i)));
    if (!q.exec()) {
        const QString message = failure(q.lastError());
        q.finish();
        throw DbError(message);
    }
    const int changed = q.numRowsAffected();
    q.finish();
    noteChange(sql);
    return changed;
}

qint64 Connection::insertRow(const SqlStatement& statement)
{
    execute(statement);
    return lastInsertedKey();
}

qint64 Connection::lastInsertedKey() const
{
    if (sqlite3* db = sqliteHandle())
        return sqlite3_last_insert_rowid(db);
    // The key the insert took from its table's sequence, in this session.
    QSqlQuery key(database());
    if (!key.exec(QStringLiteral("SELECT lastval()")) || !key.next())
        throw DbError(failure(key.lastError()));
    return key.value(0).toLongLong();
}

void Connection::reconnect() const
{
    // What was prepared went with the old session.
    forgetPrepared();
    m_db.close();
    if (!m_db.open())
        throw DbError(QStringLiteral("The shop database server cannot be reached: %1\n\n"
                                     "Check that the server is running, then try again.")
                          .arg(databaseMessage(m_db.lastError())));
    m_lost = false;
    prepareSession(m_db);
}

bool Connection::isConnectionLoss(const QSqlError& error)
{
    if (error.type() == QSqlError::ConnectionError)
        return true;
    // PostgreSQL's states for a dropped connection (class 08) and a server shutting down
    // (57P01..57P03), as the native code; and libpq's own words when no state is known.
    const QString code = error.nativeErrorCode();
    if (code.startsWith(QLatin1String("08")) || code.startsWith(QLatin1String("57P0")))
        return true;
    const QString text = error.databaseText() + QLatin1Char(' ') + error.driverText();
    for (const char* words :
         {"server closed the connection", "no connection to the server", "terminating connection",
          "could not receive data from server", "could not send data to server",
          "connection to server", "Could not send Query(connection dead)",
          "the connection to the server was lost", "due to the connection lost"})
        if (text.contains(QLatin1String(words), Qt::CaseInsensitive))
            return true;
    return false;
}

QString Connection::failure(const QSqlError& error) const
{
    if (!m_target.isServer() || !isConnectionLoss(error))
        return databaseMessage(error);
    m_lost = true;
    return lostMessage();
}

QString Connection::lostMessage() const
{
    return QStringLiteral("The connection to the shop database server was lost (%1).\n\n"
                          "What this command was writing was not saved. The next command "
                          "connects again.")
        .arg(m_target.describe());
}

QSqlDatabase Connection::database() const
{
    // A server connection the driver closed after a failure is a lost one too.
    if (m_target.isServer() && m_added && !m_db.isOpen())
        m_lost = true;
    if (m_lost && !m_inTransaction)
        reconnect();
    if (m_lost)
        throw DbError(lostMessage());
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
    } else if (m_target.isServer()) {
        // The server's snapshot: the transactions that have begun to write and those still
        // under way. It changes when any station begins to write and again when it commits,
        // so rows read while another station's change was under way are read again once it
        // is committed. A server that cannot answer counts as a change; the read that follows
        // reports it. Asked once per command of the user.
        if (commands == 0 || m_askedIn != commands) {
            QSqlQuery q(m_db);
            if (m_db.isOpen() && !m_lost &&
                q.exec(QStringLiteral("SELECT CAST(txid_current_snapshot() AS text)")) && q.next())
                m_external = qHash(q.value(0).toString(), 0) & 0xffffffffu;
            else
                m_external = (m_external + 0x9e3779b9u) & 0xffffffffu;
            m_askedIn = commands;
        }
        external = m_external;
    } else if (m_db.isOpen()) {
        QSqlQuery q(m_db);
        if (q.exec(QStringLiteral("PRAGMA data_version")) && q.next())
            external = q.value(0).toULongLong();
    }
    return m_changes.value(table.toLower()) + m_changes.value(QString()) + (external << 32);
}
