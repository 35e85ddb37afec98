#pragma once

#include "ScriptedPrompter.h"

#include <QTemporaryDir>
#include <QVariant>

#include <functional>
#include <memory>

class TDM;
struct DatabaseTarget;
class TMainForm;
struct LongLivedWindows;

// For a test of what only the embedded file does (its file on disk, its engine's own
// statements): says why it skips on a server.
#define SKIP_ON_SERVER(why)                                                                        \
    do {                                                                                           \
        if (TestShop::onServer())                                                                  \
            QSKIP("The embedded file only: " why);                                                 \
    } while (false)

// The message of the error action throws; "accepted" when it throws none.
QString refusal(const std::function<void()>& action);

// One test's shop: a fresh embedded database in a temporary folder, the data module on it,
// a scripted prompter, and the main window when the test asks for it.
class Query;

class TestShop
{
public:
    TestShop();
    ~TestShop();

    // The database the tests run on, chosen by TAVLIN_TEST_DATABASE: "file" (the default, a
    // new embedded file per test), "server" (the PostgreSQL server of TAVLIN_PG_URL through
    // QPSQL) or "odbc" (the ODBC data source of TAVLIN_ODBC_DSN, default Tavlin, through
    // QODBC). A server's shop is emptied and seeded again for every test.
    static DatabaseTarget target();
    static bool onServer();

    QString databasePath() const;
    QString folder() const { return m_dir.path(); }
    TDM* dm() const { return m_dm.get(); }
    // Closes the main window and the data module, as the program does when it ends, so that
    // nothing of the test holds the shop open.
    void closeShop();
    ScriptedPrompter& prompter() { return m_prompter; }

    // The main window, created and shown on first use, with no task windows connected.
    TMainForm* mainForm();
    // The main window with every built task connected, as the program starts it.
    TMainForm* mainFormWithTasks();
    // The windows created at start-up (created on first use).
    LongLivedWindows& longLived();

    // Tax rate rows, each written "year from-month to-month rate" ("2026 1 6 0.08"), numbered
    // from 1 in the order given.
    void addTaxRates(const QStringList& rates);

    // A query of the test's own on the shop connection of the running data module: the same
    // one for the same name, for tests that load and reload rows as a window does.
    static Query* query(const QString& name);

    // Statements straight on the database, past the program's own layer: for arranging data
    // and reading what the program stored. Failures end the test.
    void exec(const QString& sql, const QVariantList& values = {});
    QList<QVariantList> rows(const QString& sql, const QVariantList& values = {});
    QVariantList row(const QString& sql, const QVariantList& values = {});
    QVariant value(const QString& sql, const QVariantList& values = {});
    // A user of the shop with password kept as the program keeps it (hashed).
    void addUser(const QString& name, const QString& password, bool owner = false);
    // From now on every insert into table fails with message, as a full disk would make it.
    void refuseInserts(const QString& table, const QString& message);
    void allowInserts(const QString& table);

private:
    QTemporaryDir m_dir;
    ScriptedPrompter m_prompter;
    std::unique_ptr<TDM> m_dm;
    std::unique_ptr<TMainForm> m_mainForm;
    std::unique_ptr<LongLivedWindows> m_longLived;
};
