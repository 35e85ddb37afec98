#pragma once

#include "data/Connection.h"
#include "data/SqlStatement.h"

// What the benchmarks share: the same statements run straight on SQLite's C API beside the
// program's commands, and the timing reported as tavlin_ms, straight_ms and their ratio.

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <functional>
#include <memory>
#include <sqlite3.h>
#include <vector>

// The same statements, run straight on the file: prepared, stepped, every column read. It
// also writes (the update of a Save) and keeps and puts back a row the benchmarks change.
class Straight
{
public:
    explicit Straight(const QString& path)
    {
        sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(m_db, 5000);
    }
    ~Straight() { sqlite3_close(m_db); }

    // The first row of a statement, column name and text.
    QHash<QString, QString> firstRow(const QString& sql)
    {
        QHash<QString, QString> row;
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &statement, nullptr);
        if (sqlite3_step(statement) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(statement); ++c)
                row.insert(QString::fromUtf8(sqlite3_column_name(statement, c)),
                           QString::fromUtf8(
                               reinterpret_cast<const char*>(sqlite3_column_text(statement, c))));
        sqlite3_finalize(statement);
        return row;
    }

    // A row as stored, every value with its own type, to be put back by restore().
    struct KeptRow
    {
        QString table;
        QString where;
        QStringList columns;
        std::vector<sqlite3_value*> values;
    };
    KeptRow keep(const QString& table, const QString& where)
    {
        KeptRow kept{table, where, {}, {}};
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(m_db,
                           ("Select * From " + table + " where " + where).toUtf8().constData(), -1,
                           &statement, nullptr);
        if (sqlite3_step(statement) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(statement); ++c) {
                kept.columns.append(QString::fromUtf8(sqlite3_column_name(statement, c)));
                kept.values.push_back(sqlite3_value_dup(sqlite3_column_value(statement, c)));
            }
        sqlite3_finalize(statement);
        if (kept.values.empty())
            qFatal("No %s row where %s", qPrintable(table), qPrintable(where));
        return kept;
    }
    void restore(KeptRow& kept)
    {
        QStringList sets;
        for (const QString& column : kept.columns)
            sets.append('"' + column + "\"=?");
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(
            m_db,
            ("Update " + kept.table + " Set " + sets.join(',') + " where " + kept.where)
                .toUtf8()
                .constData(),
            -1, &statement, nullptr);
        for (size_t i = 0; i < kept.values.size(); ++i)
            sqlite3_bind_value(statement, int(i) + 1, kept.values[i]);
        if (sqlite3_step(statement) != SQLITE_DONE)
            qFatal("The kept row could not be put back: %s", sqlite3_errmsg(m_db));
        sqlite3_finalize(statement);
        for (sqlite3_value* value : kept.values)
            sqlite3_value_free(value);
        kept.values.clear();
    }

    double milliseconds(const QStringList& statements, int rounds = 5)
    {
        QList<double> times;
        for (int r = 0; r < rounds; ++r) {
            QElapsedTimer timer;
            timer.start();
            for (const QString& sql : statements)
                run(sql);
            times.append(timer.nsecsElapsed() / 1e6);
        }
        std::sort(times.begin(), times.end());
        return times.at(times.size() / 2);
    }

private:
    void run(const QString& sql)
    {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &statement, nullptr) !=
            SQLITE_OK)
            qFatal("Straight statement refused: %s\n%s", sqlite3_errmsg(m_db),
                   sql.toUtf8().constData());
        while (sqlite3_step(statement) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(statement); ++c)
                benchmark::DoNotOptimize(sqlite3_column_text(statement, c));
        sqlite3_finalize(statement);
    }

    sqlite3* m_db = nullptr;
};

// A statement in the shop's wording, as the program's connection hands it to SQLite.
QString sql(const QString& access);
// The same for a statement with bound values, its values written in as SQLite literals: the
// straight statement a bound one is compared with.
QString sql(const SqlStatement& statement);

// The statements a list read a screen at a time runs when it is shown: its count and its first
// page, in order.
QStringList firstScreen(const QString& table, const QString& order = QStringLiteral("tavlin_row"));

// Times one command per iteration, with prepare run before each and left out of the time,
// and reports it beside the straight statements.
template<class Prepare, class Command>
void measureAfter(benchmark::State& state, Prepare prepare, Command command, double straightMs)
{
    qint64 total = 0;
    for (auto _ : state) {
        prepare();
        // Each round is one command of the user, as a key or a click is.
        Connection::beginCommand();
        QElapsedTimer timer;
        timer.start();
        command();
        total += timer.nsecsElapsed();
    }
    const double ms = total / 1e6 / double(state.iterations());
    state.counters["tavlin_ms"] = ms;
    state.counters["straight_ms"] = straightMs;
    state.counters["ratio"] = straightMs > 0 ? ms / straightMs : 0;
}

template<class Command>
void measure(benchmark::State& state, Command command, double straightMs)
{
    measureAfter(
        state, [] {}, command, straightMs);
}

// Registers every command on the small and the large generated shop; shopOf(size) opens the
// shop of that size when the first benchmark on it runs.
template<class Shop>
void registerOnShops(
    const QList<std::pair<const char*, void (*)(benchmark::State&, Shop*)>>& commands,
    Shop* (*shopOf)(const QString& size))
{
    for (const QString size : {"small", "large"})
        for (const auto& [name, command] : commands) {
            auto run = command;
            benchmark::RegisterBenchmark(
                (QString(name) + "/" + size).toUtf8().constData(),
                [run, size, shopOf](benchmark::State& state) { run(state, shopOf(size)); })
                ->Unit(benchmark::kMillisecond);
        }
}

// Runs the registered benchmarks offscreen in the program's own application object, with every
// question answered Yes; an error message ends the run. finish runs while the application
// still exists (the windows and the data module go there).
int runAnsweringYes(int argc, char** argv, const std::function<void()>& registerAll,
                    const std::function<void()>& finish);

// The shops the benchmarks run on, one at a time as the program has one data module: the shop
// of a size is opened by open(path, scale) when the first benchmark on it runs, after the
// other one was put away by close.
template<class Shop>
class Shops
{
public:
    using Open = std::function<Shop*(const QString& path, double scale)>;
    using Close = std::function<void(Shop*)>;
    Shops(Open open, Close close = {})
        : m_open(std::move(open))
        , m_close(std::move(close))
    {}
    ~Shops() { reset(); }

    Shop* of(const QString& size)
    {
        if (m_size != size) {
            reset();
            m_current.reset(m_open(QStringLiteral("bench-shop-%1.db").arg(size),
                                   size == QLatin1String("large") ? 1.0 : 0.1));
            m_size = size;
        }
        return m_current.get();
    }
    void reset()
    {
        if (m_current && m_close)
            m_close(m_current.get());
        m_current.reset();
        m_size.clear();
    }

private:
    Open m_open;
    Close m_close;
    std::unique_ptr<Shop> m_current;
    QString m_size;
};
