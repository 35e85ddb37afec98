#pragma once

#include "ScriptedPrompter.h"

#include <QTemporaryDir>
#include <QVariant>

#include <functional>
#include <memory>

class TDM;
class TMainForm;
struct LongLivedWindows;

// The message of the error action throws; "accepted" when it throws none.
QString refusal(const std::function<void()>& action);

// One test's shop: a fresh embedded database in a temporary folder, the data module on it,
// a scripted prompter, and the main window when the test asks for it.
class TestShop
{
public:
    TestShop();
    ~TestShop();

    QString databasePath() const;
    QString folder() const { return m_dir.path(); }
    TDM* dm() const { return m_dm.get(); }
    ScriptedPrompter& prompter() { return m_prompter; }

    // The main window, created and shown on first use, with no task windows connected.
    TMainForm* mainForm();
    // The main window with every built task connected, as the program starts it.
    TMainForm* mainFormWithTasks();
    // The windows created at start-up (created on first use).
    LongLivedWindows& longLived();

    // Statements straight on the database, past the program's own layer: for arranging data
    // and reading what the program stored. Failures end the test.
    void exec(const QString& sql, const QVariantList& values = {});
    QList<QVariantList> rows(const QString& sql, const QVariantList& values = {});
    QVariantList row(const QString& sql, const QVariantList& values = {});
    QVariant value(const QString& sql, const QVariantList& values = {});

private:
    QTemporaryDir m_dir;
    ScriptedPrompter m_prompter;
    std::unique_ptr<TDM> m_dm;
    std::unique_ptr<TMainForm> m_mainForm;
    std::unique_ptr<LongLivedWindows> m_longLived;
};
