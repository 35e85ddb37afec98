#include "TestShop.h"

#include "app/TMainForm.h"
#include "app/Tasks.h"
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/TDM.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

#include <stdexcept>

TestShop::TestShop()
{
    if (!m_dir.isValid())
        throw std::runtime_error("no temporary folder for the test database");
    m_dm = std::make_unique<TDM>(databasePath());
}

TestShop::~TestShop()
{
    m_longLived.reset();
    m_mainForm.reset();
    m_dm.reset();
}

QString TestShop::databasePath() const
{
    return m_dir.filePath(QStringLiteral("tavlin.db"));
}

TMainForm* TestShop::mainForm()
{
    if (!m_mainForm) {
        m_mainForm = std::make_unique<TMainForm>();
        m_mainForm->resize(1200, 860);
        m_mainForm->show();
        // Mouse and focus events reach a window only once it is on the screen.
        if (!QTest::qWaitForWindowExposed(m_mainForm.get()))
            throw std::runtime_error("the main window did not appear");
    }
    return m_mainForm.get();
}

TMainForm* TestShop::mainFormWithTasks()
{
    TMainForm* form = mainForm();
    registerTasks(*form, longLived());
    return form;
}

LongLivedWindows& TestShop::longLived()
{
    if (!m_longLived)
        m_longLived = std::make_unique<LongLivedWindows>();
    return *m_longLived;
}

namespace {
QSqlQuery run(TDM* dm, const QString& sql, const QVariantList& values)
{
    QSqlQuery query(dm->admin1()->database());
    if (!query.prepare(sql))
        throw std::runtime_error(
            ("cannot prepare " + sql + ": " + query.lastError().text()).toStdString());
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw std::runtime_error(
            ("cannot run " + sql + ": " + query.lastError().text()).toStdString());
    return query;
}
} // namespace

QString refusal(const std::function<void()>& action)
{
    try {
        action();
    } catch (const DbError& e) {
        return e.message();
    }
    return QStringLiteral("accepted");
}

void TestShop::exec(const QString& sql, const QVariantList& values)
{
    run(m_dm.get(), sql, values);
}

QList<QVariantList> TestShop::rows(const QString& sql, const QVariantList& values)
{
    QSqlQuery query = run(m_dm.get(), sql, values);
    QList<QVariantList> result;
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < query.record().count(); ++i)
            row.append(query.value(i));
        result.append(row);
    }
    return result;
}

QVariantList TestShop::row(const QString& sql, const QVariantList& values)
{
    const auto all = rows(sql, values);
    if (all.isEmpty())
        throw std::runtime_error(("no row for " + sql).toStdString());
    return all.first();
}

QVariant TestShop::value(const QString& sql, const QVariantList& values)
{
    return row(sql, values).value(0);
}
