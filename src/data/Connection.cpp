#include "data/Connection.h"

#include "data/DbError.h"
#include "data/ShopDatabase.h"
#include "data/SqlDialect.h"

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
}

QSqlDatabase Connection::database() const
{
    if (!isOpen())
        throw DbError(QStringLiteral("Connection %1 is not open.").arg(m_name));
    return QSqlDatabase::database(m_name, false);
}
