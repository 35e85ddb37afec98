#include "data/RowReader.h"

#include "data/Connection.h"
#include "data/DbError.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

namespace {

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

QList<RowColumn> readSqlite(sqlite3* db, const QString& sql, RowStore& rows)
{
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* statement = nullptr;
    const int prepared =
        sqlite3_prepare_v2(db, text.constData(), int(text.size()), &statement, nullptr);
    if (prepared == SQLITE_BUSY)
        throw DbError(DbError::busy());
    if (prepared != SQLITE_OK)
        throw DbError(QString::fromUtf8(sqlite3_errmsg(db)));
    const int count = sqlite3_column_count(statement);
    QStringList names;
    for (int c = 0; c < count; ++c)
        names.append(QString::fromUtf8(sqlite3_column_name(statement, c)));
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
        for (int c = 0; c < count; ++c) {
            switch (sqlite3_column_type(statement, c)) {
            case SQLITE_NULL:
                rows.addNull();
                continue;
            case SQLITE_INTEGER:
                rows.addInteger(sqlite3_column_int64(statement, c));
                if (!kindKnown[c])
                    columns[c].kind = ColumnKind::Integer;
                break;
            case SQLITE_FLOAT:
                rows.addReal(sqlite3_column_double(statement, c));
                if (!kindKnown[c])
                    columns[c].kind = ColumnKind::Real;
                break;
            default: {
                const auto* bytes =
                    reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
                rows.addText(bytes, sqlite3_column_bytes(statement, c));
                break;
            }
            }
            kindKnown[c] = true;
        }
    }
    const QString message = step == SQLITE_DONE ? QString() : QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_mutex_leave(lock);
    sqlite3_finalize(statement);
    if (step != SQLITE_DONE) {
        rows.clear(0);
        throw DbError(step == SQLITE_BUSY ? DbError::busy() : message);
    }
    return columns;
}

QList<RowColumn> readQtSql(const Connection& connection, const QString& sql, RowStore& rows)
{
    QSqlQuery q(connection.database());
    q.setForwardOnly(true);
    if (!q.exec(sql))
        throw DbError(databaseMessage(q.lastError()));
    const QSqlRecord record = q.record();
    const int count = record.count();
    QStringList names;
    for (int c = 0; c < count; ++c)
        names.append(record.fieldName(c));
    QList<RowColumn> columns = columnsOf(names);
    QList<bool> kindKnown = kindsKnown(names);
    rows.clear(count);
    while (q.next()) {
        rows.beginRow();
        for (int c = 0; c < count; ++c) {
            const QVariant v = q.value(c);
            if (!kindKnown[c] && !v.isNull()) {
                columns[c].kind = kindFromValue(v);
                kindKnown[c] = true;
            }
            rows.addVariant(v);
        }
    }
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

QList<RowColumn> readRows(const Connection& connection, const QString& sql, RowStore& rows)
{
    if (sqlite3* db = connection.sqliteHandle())
        return readSqlite(db, sql, rows);
    return readQtSql(connection, sql, rows);
}
