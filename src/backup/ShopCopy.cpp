#include "backup/ShopCopy.h"

#include "data/DbError.h"
#include "data/Schema.h"
#include "data/ShopDatabase.h"
#include "data/SqlDialect.h"

#include <QDate>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <cmath>

namespace {

bool isFile(const QSqlDatabase& db)
{
    return db.driverName() == QLatin1String("QSQLITE");
}

QString failure(const QSqlQuery& q)
{
    const QSqlError e = q.lastError();
    return e.databaseText().isEmpty() ? e.text() : e.databaseText();
}

QSqlQuery run(QSqlDatabase& db, const QString& statement)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!q.exec(statement))
        throw DbError(failure(q));
    return q;
}

bool isAmount(ColumnKind kind)
{
    return kind == ColumnKind::Money;
}

// Rows written to a server in one statement: few round trips, well under the limit of 65,535
// values a statement can bind.
constexpr int rowsPerInsert = 200;

// A value read from one engine as the other stores it; the column's kind says how.
QVariant converted(const QVariant& value, ColumnKind kind, bool toServer, const QString& table,
                   qint64 key, const QString& column)
{
    if (value.isNull() || !value.isValid())
        return QVariant();
    const auto refuse = [&](const char* what) {
        return DbError(QStringLiteral("%1, row %2: %3 holds \"%4\", which is not %5. Nothing was "
                                      "copied.")
                           .arg(table)
                           .arg(key)
                           .arg(column, value.toString(), QLatin1String(what)));
    };
    bool ok = true;
    switch (kind) {
    case ColumnKind::Text:
        return value.toString();
    case ColumnKind::Integer: {
        const qlonglong n = value.toLongLong(&ok);
        if (!ok)
            throw refuse("a whole number");
        return n;
    }
    case ColumnKind::Bool: {
        bool yes = false;
        if (value.typeId() == QMetaType::Bool) {
            yes = value.toBool();
        } else {
            const QString text = value.toString().trimmed().toLower();
            yes = text == QLatin1String("true") || text == QLatin1String("t") ||
                  (text.toLongLong(&ok) != 0 && ok);
        }
        return toServer ? QVariant(yes) : QVariant(qlonglong(yes ? 1 : 0));
    }
    case ColumnKind::Money:
    case ColumnKind::Real: {
        const double d = value.toDouble(&ok);
        if (!ok || !std::isfinite(d))
            throw refuse("a number");
        // An amount goes to a server's exact column as the text of its value to the ten
        // thousandth, as the column keeps it.
        if (toServer && kind == ColumnKind::Money)
            return QString::number(d, 'f', 4);
        return d;
    }
    case ColumnKind::Date: {
        const QDate date = value.typeId() == QMetaType::QDate
                               ? value.toDate()
                               : QDate::fromString(value.toString().left(10), Qt::ISODate);
        if (!date.isValid())
            throw refuse("a date");
        return toServer ? QVariant(date) : QVariant(date.toString(Qt::ISODate));
    }
    }
    return value;
}

void copyTable(QSqlDatabase& from, QSqlDatabase& to, const Schema::Table& table)
{
    const SqlDialect& source = ShopDatabase::dialectOf(from);
    const SqlDialect& target = ShopDatabase::dialectOf(to);
    const bool toServer = !isFile(to);
    const QString key = SqlDialect::rowKeyColumn();
    QStringList names;
    for (const Schema::Column& c : table.columns)
        names.append(c.name);
    names.append(key);
    const int width = int(names.size());

    QSqlQuery read =
        run(from, QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                      .arg(names.join(QStringLiteral(", ")), source.identifier(table.name), key));
    const QString head = QStringLiteral("INSERT INTO %1 (%2) VALUES ")
                             .arg(target.identifier(table.name), names.join(QStringLiteral(", ")));
    const QString oneRow = QLatin1Char('(') +
                           QStringList(width, QStringLiteral("?")).join(QLatin1Char(',')) +
                           QLatin1Char(')');
    // The file takes one prepared row at a time (fast in a transaction); a server a block of
    // rows per statement.
    const int block = toServer ? rowsPerInsert : 1;
    QSqlQuery full(to);
    if (!full.prepare(head + QStringList(block, oneRow).join(QLatin1Char(','))))
        throw DbError(failure(full));
    QVariantList pending;
    pending.reserve(block * width);
    const auto write = [&](int rows) {
        QSqlQuery partial(to);
        QSqlQuery* q = &full;
        if (rows != block) {
            if (!partial.prepare(head + QStringList(rows, oneRow).join(QLatin1Char(','))))
                throw DbError(failure(partial));
            q = &partial;
        }
        for (int i = 0; i < pending.size(); ++i)
            q->bindValue(i, pending.at(i));
        if (!q->exec())
            throw DbError(QStringLiteral("%1: %2").arg(table.name, failure(*q)));
        pending.clear();
    };
    int inBlock = 0;
    while (read.next()) {
        const qint64 rowKey = read.value(width - 1).toLongLong();
        for (int c = 0; c < width - 1; ++c)
            pending.append(converted(read.value(c), table.columns.at(c).kind, toServer, table.name,
                                     rowKey, table.columns.at(c).name));
        pending.append(rowKey);
        if (++inBlock == block) {
            write(block);
            inBlock = 0;
        }
    }
    if (read.lastError().isValid())
        throw DbError(failure(read));
    if (inBlock > 0)
        write(inBlock);
    if (toServer)
        run(to, QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', '%2'), "
                               "COALESCE((SELECT MAX(%2) FROM %1), 0) + 1, false)")
                    .arg(table.name.toLower(), key));
}

} // namespace

namespace ShopCopy {

QList<Tally> tally(QSqlDatabase& db)
{
    const SqlDialect& dialect = ShopDatabase::dialectOf(db);
    QList<Tally> tallies;
    for (const Schema::Table& table : Schema::tables()) {
        QStringList parts{QStringLiteral("COUNT(*)")};
        for (const Schema::Column& c : table.columns)
            if (isAmount(c.kind))
                parts.append(QStringLiteral("SUM(%1)").arg(c.name));
        QSqlQuery q =
            run(db, QStringLiteral("SELECT %1 FROM %2")
                        .arg(parts.join(QStringLiteral(", ")), dialect.identifier(table.name)));
        if (!q.next())
            throw DbError(failure(q));
        Tally t{table.name, q.value(0).toLongLong(), {}};
        for (int i = 1; i < parts.size(); ++i)
            t.sums.append(q.value(i).toDouble());
        tallies.append(t);
    }
    return tallies;
}

qint64 rowCount(const QList<Tally>& tallies)
{
    qint64 rows = 0;
    for (const Tally& t : tallies)
        rows += t.rows;
    return rows;
}

QStringList differences(const QList<Tally>& shop, const QList<Tally>& copy)
{
    QStringList found;
    for (int i = 0; i < shop.size(); ++i) {
        const Tally& a = shop.at(i);
        const Tally* b = i < copy.size() && copy.at(i).table == a.table ? &copy.at(i) : nullptr;
        if (!b) {
            found.append(QStringLiteral("%1: missing in the copy").arg(a.table));
            continue;
        }
        if (a.rows != b->rows) {
            found.append(QStringLiteral("%1: %2 rows in the shop, %3 in the copy")
                             .arg(a.table)
                             .arg(a.rows)
                             .arg(b->rows));
            continue;
        }
        // Amounts are kept to the ten thousandth: the file's binary fractions and a server's
        // exact ones may part by less than that on each row.
        for (int s = 0; s < a.sums.size() && s < b->sums.size(); ++s)
            if (std::fabs(a.sums.at(s) - b->sums.at(s)) > 0.005 + 0.00005 * double(a.rows))
                found.append(QStringLiteral("%1: the amounts add up to %2 in the shop, %3 in the "
                                            "copy")
                                 .arg(a.table)
                                 .arg(a.sums.at(s), 0, 'f', 2)
                                 .arg(b->sums.at(s), 0, 'f', 2));
    }
    return found;
}

void copyRows(QSqlDatabase& from, QSqlDatabase& to)
{
    for (const Schema::Table& table : Schema::tables())
        copyTable(from, to, table);
}

} // namespace ShopCopy
