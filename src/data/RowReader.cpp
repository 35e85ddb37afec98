#include "data/RowReader.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/SqlDialect.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

namespace {

bool isRowKey(const QString& name)
{
    return name.compare(SqlDialect::rowKeyColumn(), Qt::CaseInsensitive) == 0;
}

ColumnKind kindFromValue(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
        return ColumnKind::Integer;
    case QMetaType::Double:
        return ColumnKind::Real;
    default:
        return ColumnKind::Text;
    }
}

QList<RowColumn> columnsOf(const QStringList& names)
{
    QList<RowColumn> columns;
    columns.reserve(names.size());
    for (const QString& name : names)
        columns.append({name, Schema::kindOf(name).value_or(ColumnKind::Text)});
    return columns;
}

QList<bool> kindsKnown(const QStringList& names)
{
    QList<bool> known(names.size());
    for (qsizetype c = 0; c < names.size(); ++c)
        known[c] = Schema::kindOf(names.at(c)).has_value();
    return known;
}

// Binds values to a statement of the file, as the file stores them.
void bindSqlite(sqlite3_stmt* statement, const Connection& connection, const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i) {
        const QVariant v = connection.bindable(values.at(i));
        const int at = i + 1;
        if (v.isNull()) {
            sqlite3_bind_null(statement, at);
            continue;
        }
        switch (v.typeId()) {
        case QMetaType::LongLong:
        case QMetaType::Int:
        case QMetaType::ULongLong:
        case QMetaType::UInt:
            sqlite3_bind_int64(statement, at, v.toLongLong());
            break;
        case QMetaType::Double:
            sqlite3_bind_double(statement, at, v.toDouble());
            break;
        default: {
            const QByteArray text = v.toString().toUtf8();
            sqlite3_bind_text(statement, at, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            break;
        }
        }
    }
}

QList<RowColumn> readSqlite(const Connection& connection, sqlite3* db, const QString& sql,
                            const QVariantList& values, RowStore& rows)
{
    // Every statement is prepared once and kept: the program's reads are few and fixed, and
    // their values are bound.
    QString error;
    sqlite3_stmt* statement = connection.sqliteStatement(sql, &error);
    if (!statement)
        throw DbError(error);
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    bindSqlite(statement, connection, values);
    // The hidden row key is never one of the columns a window reads; the first one read is
    // kept beside each row.
    const int read = sqlite3_column_count(statement);
    QStringList names;
    QList<int> kept;
    int keyColumn = -1;
    for (int c = 0; c < read; ++c) {
        const QString name = QString::fromUtf8(sqlite3_column_name(statement, c));
        if (isRowKey(name)) {
            if (keyColumn < 0)
                keyColumn = c;
            continue;
        }
        kept.append(c);
        names.append(name);
    }
    const int count = int(kept.size());
    QList<RowColumn> columns = columnsOf(names);
    QList<bool> kindKnown = kindsKnown(names);
    rows.clear(count);
    // Held once for the whole result: every call below would otherwise take and give back the
    // connection's lock, several times a cell.
    sqlite3_mutex* lock = sqlite3_db_mutex(db);
    sqlite3_mutex_enter(lock);
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        rows.beginRow();
        if (keyColumn >= 0)
            rows.setKey(sqlite3_column_int64(statement, keyColumn));
        for (int k = 0; k < count; ++k) {
            const int c = kept[k];
            switch (sqlite3_column_type(statement, c)) {
            case SQLITE_NULL:
                rows.addNull();
                continue;
            case SQLITE_INTEGER:
                rows.addInteger(sqlite3_column_int64(statement, c));
                if (!kindKnown[k])
                    columns[k].kind = ColumnKind::Integer;
                break;
            case SQLITE_FLOAT:
                rows.addReal(sqlite3_column_double(statement, c));
                if (!kindKnown[k])
                    columns[k].kind = ColumnKind::Real;
                break;
            default: {
                const auto* bytes =
                    reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
                rows.addText(bytes, sqlite3_column_bytes(statement, c));
                break;
            }
            }
            kindKnown[k] = true;
        }
    }
    const QString message = step == SQLITE_DONE ? QString() : QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_mutex_leave(lock);
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    if (step != SQLITE_DONE) {
        rows.clear(0);
        throw DbError(step == SQLITE_BUSY ? DbError::busy() : message);
    }
    return columns;
}

// The column's name as the statements spell it: a server folds unquoted names to lower case.
QString spelled(const QString& name)
{
    static const QHash<QString, QString> names = [] {
        QHash<QString, QString> map;
        for (const auto& table : Schema::tables())
            for (const auto& column : table.columns)
                map.insert(column.name.toLower(), column.name);
        return map;
    }();
    if (const auto it = names.constFind(name.toLower()); it != names.constEnd())
        return *it;
    // Unnamed results are named Expr1000, Expr1001, ... by the statement translation.
    if (name.startsWith(QLatin1String("expr")) && name.size() > 4 && name.at(4).isDigit())
        return QStringLiteral("Expr") + name.mid(4);
    return name;
}

// A value as the embedded file gives it, whichever driver brought it: whole numbers signed,
// yes/no as 1 and 0 (an ODBC driver may bring them as the texts "1" and "0").
QVariant normalized(const QVariant& v, ColumnKind kind)
{
    if (v.isNull() || !v.isValid())
        return {};
    switch (v.typeId()) {
    case QMetaType::ULongLong:
    case QMetaType::UInt:
    case QMetaType::Bool:
        return qlonglong(v.toLongLong());
    case QMetaType::QString:
        if (kind == ColumnKind::Bool) {
            const QString t = v.toString().trimmed();
            return qlonglong(
                t == QLatin1String("1") || t.startsWith(QLatin1Char('t'), Qt::CaseInsensitive) ? 1
                                                                                               : 0);
        }
        break;
    default:
        break;
    }
    return v;
}

// Runs sql for rows through the Qt driver, its values bound to a statement prepared once.
bool runQtSql(const Connection& connection, const QString& sql, const QVariantList& values,
              QSqlQuery** query, QSqlQuery& own)
{
    if (values.isEmpty()) {
        own = QSqlQuery(connection.database());
        own.setForwardOnly(true);
        *query = &own;
        return own.exec(sql);
    }
    QSqlQuery& q = connection.prepared(sql);
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, connection.bindable(values.at(i)));
    *query = &q;
    return q.exec();
}

QList<RowColumn> readQtSql(const Connection& connection, const QString& sql,
                           const QVariantList& values, RowStore& rows)
{
    QSqlQuery own;
    QSqlQuery* read = nullptr;
    if (!runQtSql(connection, sql, values, &read, own)) {
        const QSqlError error = read->lastError();
        read->finish();
        // A read outside a transaction is tried once more on a new connection when the server
        // dropped the old one (it restarted since the last command).
        if (connection.isServer() && !connection.inTransaction() &&
            Connection::isConnectionLoss(error)) {
            connection.failure(error);
            if (!runQtSql(connection, sql, values, &read, own)) {
                const QString message = connection.failure(read->lastError());
                read->finish();
                throw DbError(message);
            }
        } else {
            throw DbError(connection.failure(error));
        }
    }
    QSqlQuery& q = *read;
    const QSqlRecord record = q.record();
    // The hidden row key is never part of what a window reads; the first one read is kept
    // beside each row.
    QList<int> kept;
    QStringList names;
    int keyColumn = -1;
    for (int c = 0; c < record.count(); ++c) {
        if (isRowKey(record.fieldName(c))) {
            if (keyColumn < 0)
                keyColumn = c;
            continue;
        }
        kept.append(c);
        names.append(spelled(record.fieldName(c)));
    }
    const int count = int(kept.size());
    QList<RowColumn> columns = columnsOf(names);
    QList<bool> kindKnown = kindsKnown(names);
    rows.clear(count);
    while (q.next()) {
        rows.beginRow();
        if (keyColumn >= 0)
            rows.setKey(q.value(keyColumn).toLongLong());
        for (int c = 0; c < count; ++c) {
            const QVariant v = normalized(q.value(kept[c]), columns[c].kind);
            if (!kindKnown[c] && !v.isNull()) {
                columns[c].kind = kindFromValue(v);
                kindKnown[c] = true;
            }
            rows.addVariant(v);
        }
    }
    q.finish();
    return columns;
}

} // namespace

QString databaseMessage(const QSqlError& error)
{
    // SQLite's "database is locked" after the connection's wait.
    if (error.nativeErrorCode() == QLatin1String("5"))
        return DbError::busy();
    const QString db = error.databaseText();
    return db.isEmpty() ? error.text() : db;
}

QList<RowColumn> readRows(const Connection& connection, const QString& sql,
                          const QVariantList& values, RowStore& rows)
{
    if (sqlite3* db = connection.sqliteHandle())
        return readSqlite(connection, db, sql, values, rows);
    return readQtSql(connection, sql, values, rows);
}
