#include "data/KeyedRows.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/SqlDialect.h"
#include "data/SqlRow.h"

namespace {
void checkKey(qint64 key)
{
    if (key <= 0)
        throw DbError(QStringLiteral("No stored row is chosen."));
}
} // namespace

namespace KeyedRows {

qint64 insert(Connection& connection, const SqlRow& row)
{
    return connection.insertRow(row.insert());
}

int update(Connection& connection, const SqlRow& row, qint64 key)
{
    checkKey(key);
    return connection.execute(row.updateKeyed(key));
}

int remove(Connection& connection, const QString& table, qint64 key)
{
    checkKey(key);
    return connection.execute(SqlStatement{
        {"Delete From " + table + " where " + SqlDialect::rowKeyColumn() + " = ?"}, {key}});
}

QString goneMessage(const QString& what)
{
    return QStringLiteral("This %1 was removed meanwhile, at another station or in another "
                          "window: nothing was saved. Refresh shows what is stored now.")
        .arg(what);
}

} // namespace KeyedRows
