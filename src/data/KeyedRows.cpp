#include "data/KeyedRows.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/SqlDialect.h"
#include "data/SqlRow.h"

namespace {
QString keyCondition(qint64 key)
{
    if (key <= 0)
        throw DbError(QStringLiteral("No stored row is chosen."));
    return " where " + SqlDialect::rowKeyColumn() + " = " + QString::number(key);
}
} // namespace

namespace KeyedRows {

qint64 insert(Connection& connection, const SqlRow& row)
{
    return connection.insertRow(row.insert().join(QLatin1Char('\n')));
}

int update(Connection& connection, const SqlRow& row, qint64 key)
{
    QStringList lines = row.update({}, SqlRow::Keys::Set);
    // The builder's condition line is replaced by the key's.
    lines.last() = keyCondition(key);
    return connection.execute(lines.join(QLatin1Char('\n')));
}

int remove(Connection& connection, const QString& table, qint64 key)
{
    return connection.execute("Delete From " + table + keyCondition(key));
}

QString goneMessage(const QString& what)
{
    return QStringLiteral("This %1 was removed meanwhile, at another station or in another "
                          "window: nothing was saved. Refresh shows what is stored now.")
        .arg(what);
}

} // namespace KeyedRows
