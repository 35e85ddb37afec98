#include "ServerShop.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Schema.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

DatabaseTarget serverTarget()
{
    const QString named = qEnvironmentVariable("TAVLIN_BENCH_SERVER");
    if (named.startsWith(QLatin1String("odbc:")))
        return DatabaseTarget::odbc(named.mid(5));
    return DatabaseTarget::server(named);
}

void run(QSqlDatabase& db, const QString& statement)
{
    QSqlQuery q(db);
    if (!q.exec(statement))
        throw std::runtime_error(
            ("bench copy: " + q.lastError().text() + "\n" + statement.left(300)).toStdString());
}

QString literal(const QVariant& v, ColumnKind kind)
{
    if (v.isNull())
        return QStringLiteral("NULL");
    switch (kind) {
    case ColumnKind::Integer:
    case ColumnKind::Money:
    case ColumnKind::Real:
        return QString::number(v.toDouble(), 'g', 17);
    case ColumnKind::Bool:
        return v.toLongLong() != 0 ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case ColumnKind::Date:
    case ColumnKind::Text:
        break;
    }
    QString text = v.toString();
    text.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

QString sourceMark(const QString& path)
{
    const QFileInfo info(path);
    return QStringLiteral("%1 %2 %3")
        .arg(info.fileName())
        .arg(info.size())
        .arg(info.lastModified().toSecsSinceEpoch());
}

// Copies every table of the file onto the server's empty shop, a thousand rows a statement,
// one transaction a table, and has the server gather its statistics.
void copyOnto(const QString& path, QSqlDatabase& server)
{
    QSqlDatabase file = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "bench-copy-file");
    file.setDatabaseName(path);
    if (!file.open())
        throw std::runtime_error("bench copy: cannot open the file");
    for (const auto& table : Schema::tables()) {
        QStringList names;
        for (const auto& c : table.columns)
            names.append(c.name);
        QSqlQuery rows(file);
        rows.setForwardOnly(true);
        if (!rows.exec("Select " + names.join(',') + " From \"" + table.name + "\" Order By rowid"))
            throw std::runtime_error("bench copy: cannot read " + table.name.toStdString());
        server.transaction();
        QStringList batch;
        const auto flush = [&] {
            if (batch.isEmpty())
                return;
            run(server, "INSERT INTO " + table.name + " (" + names.join(',') + ") VALUES " +
                            batch.join(','));
            batch.clear();
        };
        while (rows.next()) {
            QStringList values;
            for (int c = 0; c < table.columns.size(); ++c)
                values.append(literal(rows.value(c), table.columns.at(c).kind));
            batch.append('(' + values.join(',') + ')');
            if (batch.size() == 1000)
                flush();
        }
        flush();
        server.commit();
    }
    file.close();
    file = QSqlDatabase();
    QSqlDatabase::removeDatabase("bench-copy-file");
    for (const auto& table : Schema::tables())
        run(server, "VACUUM ANALYZE " + table.name);
}

} // namespace

QString benchEngine()
{
    const QString named = qEnvironmentVariable("TAVLIN_BENCH_SERVER");
    if (named.isEmpty())
        return QStringLiteral("embedded file");
    return named.startsWith(QLatin1String("odbc:")) ? QStringLiteral("server through QODBC")
                                                    : QStringLiteral("server through QPSQL");
}

DatabaseTarget benchTarget(const QString& path)
{
    if (qEnvironmentVariableIsEmpty("TAVLIN_BENCH_SERVER"))
        return DatabaseTarget::file(path);
    const DatabaseTarget target = serverTarget();
    const QString mark = sourceMark(path);
    {
        std::unique_ptr<Connection> check = Connection::shop(QStringLiteral("bench-check"), target);
        try {
            check->open();
            QSqlDatabase db = check->database();
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("SELECT mark FROM tavlin_bench_source")) && q.next() &&
                q.value(0).toString() == mark)
                return target;
            // Another file's copy, or none: the server's shop is made anew.
            QStringList tables;
            q.exec(QStringLiteral("SELECT table_name FROM information_schema.tables WHERE "
                                  "table_schema = current_schema()"));
            while (q.next())
                tables.append(q.value(0).toString());
            if (!tables.isEmpty())
                run(db, "DROP TABLE " + tables.join(',') + " CASCADE");
        } catch (const DbError&) {
            // An empty database: created below.
        }
    }
    std::fprintf(stderr, "Copying %s onto the server...\n", qPrintable(QFileInfo(path).fileName()));
    QElapsedTimer timer;
    timer.start();
    Connection::createShop(target);
    std::unique_ptr<Connection> copy = Connection::shop(QStringLiteral("bench-copy"), target);
    copy->open();
    QSqlDatabase db = copy->database();
    // The seeded profile and user come from the file instead.
    run(db, QStringLiteral("DELETE FROM Reg"));
    run(db, QStringLiteral("DELETE FROM Pass"));
    run(db, QStringLiteral("DELETE FROM Setting"));
    copyOnto(path, db);
    run(db, QStringLiteral("CREATE TABLE tavlin_bench_source (mark text)"));
    run(db, "INSERT INTO tavlin_bench_source VALUES ('" + mark + "')");
    std::fprintf(stderr, "Copied in %.1f s\n", timer.elapsed() / 1000.0);
    return target;
}
