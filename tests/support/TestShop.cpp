#include "TestShop.h"

#include "app/TMainForm.h"
#include "app/Tasks.h"
#include "data/Connection.h"
#include "data/DatabaseTarget.h"
#include "data/DbError.h"
#include "data/Password.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "data/ServerDatabase.h"
#include "data/ShopDatabase.h"
#include "data/SqlDialect.h"
#include "data/TDM.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

#include <stdexcept>

namespace {

// Empties the server's shop and seeds it again, as a new file would be; creates the shop the
// first time. One connection serves every test of the program.
void runOrThrow(QSqlQuery& q, const QString& statement)
{
    if (!q.exec(statement))
        throw std::runtime_error(
            ("cannot prepare the test server: " + q.lastError().text()).toStdString());
}

void resetServer(const DatabaseTarget& target)
{
    static bool created = false;
    const QString name = QStringLiteral("tavlin-test-reset");
    if (created) {
        QSqlDatabase db = QSqlDatabase::database(name);
        // A test that restarted the server took this connection with it.
        if (QSqlQuery alive(db); !alive.exec(QStringLiteral("SELECT 1"))) {
            db.close();
            db.open();
        }
        QSqlQuery q(db);
        // What a test set up to make inserts fail goes first.
        q.exec(QStringLiteral("SELECT proname FROM pg_proc WHERE proname LIKE 'tavlin_refuse_%'"));
        QStringList refusals;
        while (q.next())
            refusals.append(q.value(0).toString());
        for (const QString& function : refusals)
            runOrThrow(q, QStringLiteral("DROP FUNCTION %1() CASCADE").arg(function));
        // A test that renamed or dropped a table leaves the shop incomplete: it is made anew.
        if (ServerDatabase::version(db) != ShopDatabase::currentVersion())
            created = false;
        QStringList present;
        q.exec(QStringLiteral("SELECT lower(table_name) FROM information_schema.tables WHERE "
                              "table_schema = current_schema()"));
        while (q.next())
            present.append(q.value(0).toString());
        for (const auto& table : Schema::tables())
            if (!present.contains(table.name.toLower()))
                created = false;
    }
    if (!created) {
        {
            // Whatever an earlier run or test program left is dropped first.
            QSqlDatabase db = Connection::addServerDatabase(target, name);
            if (!db.open())
                throw std::runtime_error(
                    ("cannot reach the test server: " + db.lastError().text()).toStdString());
            QSqlQuery q(db);
            QStringList tables;
            q.exec(QStringLiteral("SELECT table_name FROM information_schema.tables WHERE "
                                  "table_schema = current_schema()"));
            while (q.next())
                tables.append(q.value(0).toString());
            if (!tables.isEmpty() &&
                !q.exec(QStringLiteral("DROP TABLE %1 CASCADE").arg(tables.join(QLatin1Char(',')))))
                throw std::runtime_error(
                    ("cannot empty the test server: " + q.lastError().text()).toStdString());
        }
        Connection::createShop(target);
        QSqlQuery q(QSqlDatabase::database(name));
        // The embedded engine's typeof() answered from the server's types, for the tests that
        // check how a value was stored.
        runOrThrow(q, QStringLiteral(
                          "CREATE OR REPLACE FUNCTION tavlin_test_typeof(anyelement) RETURNS text "
                          "LANGUAGE sql AS $$ SELECT CASE WHEN $1 IS NULL THEN 'null' ELSE CASE "
                          "pg_typeof($1)::text WHEN 'numeric' THEN 'real' WHEN 'double precision' "
                          "THEN 'real' WHEN 'integer' THEN 'integer' WHEN 'bigint' THEN 'integer' "
                          "ELSE 'text' END END $$"));
        created = true;
        return;
    }
    QSqlDatabase db = QSqlDatabase::database(name);
    QStringList tables;
    for (const auto& table : Schema::tables())
        tables.append(table.name);
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("TRUNCATE %1 RESTART IDENTITY").arg(tables.join(QLatin1Char(',')))))
        throw std::runtime_error(
            ("cannot empty the test server: " + q.lastError().text()).toStdString());
    for (const QString& statement : Schema::seedStatements())
        if (!q.exec(statement))
            throw std::runtime_error(
                ("cannot seed the test server: " + q.lastError().text()).toStdString());
}

} // namespace

DatabaseTarget TestShop::target()
{
    const QString kind = qEnvironmentVariable("TAVLIN_TEST_DATABASE");
    if (kind == QLatin1String("server"))
        return DatabaseTarget::server(qEnvironmentVariable("TAVLIN_PG_URL"));
    if (kind == QLatin1String("odbc"))
        return DatabaseTarget::odbc(
            qEnvironmentVariable("TAVLIN_ODBC_DSN", QStringLiteral("Tavlin")));
    return DatabaseTarget::file(QString());
}

bool TestShop::onServer()
{
    return target().isServer();
}

TestShop::TestShop()
{
    if (!m_dir.isValid())
        throw std::runtime_error("no temporary folder for the test database");
    const DatabaseTarget server = target();
    if (server.isServer()) {
        resetServer(server);
        m_dm = std::make_unique<TDM>(server);
    } else {
        m_dm = std::make_unique<TDM>(databasePath());
    }
}

TestShop::~TestShop()
{
    m_longLived.reset();
    m_mainForm.reset();
    m_dm.reset();
}

void TestShop::addUser(const QString& name, const QString& password, bool owner)
{
    exec("Insert into Pass (UserName_Pass, Password_Pass, Owner_Pass, Disabled_Pass, Failed_Pass, "
         "FirstPassword_Pass) values (?, ?, ?, No, 0, No)",
         {name, Password::hash(password), owner});
}

void TestShop::closeShop()
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

// The values written into the statement as quoted texts, for a server: a quoted text takes the
// type of the column it meets there (a yes/no, a number, a date), where a bound value keeps its
// own and a whole number is refused for a yes/no column.
QString withValues(const QString& sql, const QVariantList& values)
{
    QString out;
    int next = 0;
    QChar quote;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('?') && next < values.size()) {
            const QVariant& v = values.at(next++);
            QString text;
            if (v.isNull())
                text = QStringLiteral("NULL");
            else if (v.typeId() == QMetaType::QDate)
                text = v.toDate().toString(Qt::ISODate);
            else if (v.typeId() == QMetaType::Bool)
                text = v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
            else if (v.typeId() == QMetaType::Double)
                text = QString::number(v.toDouble(), 'g', 17);
            else
                text = v.toString();
            out += v.isNull()
                       ? text
                       : QLatin1Char('\'') + text.replace(QLatin1Char('\''), QStringLiteral("''")) +
                             QLatin1Char('\'');
            continue;
        }
        out += c;
    }
    return out;
}

QSqlQuery run(TDM* dm, const QString& sql, const QVariantList& values)
{
    QSqlQuery query(dm->admin1()->database());
    // The tests' own statements are in the shop's wording too, so that one text serves every
    // engine.
    const bool server = dm->admin1()->isServer();
    QString text = server ? withValues(sql, values) : sql;
    // A common table expression is beyond the shop's wording: it goes to the engine as written.
    if (!text.trimmed().startsWith(QLatin1String("with"), Qt::CaseInsensitive))
        text = dm->admin1()->translate(text);
    if (server) {
        // The embedded engine's typeof() as the server's types answer it.
        static const QRegularExpression typeOf(QStringLiteral("\\btypeof\\("),
                                               QRegularExpression::CaseInsensitiveOption);
        text.replace(typeOf, QStringLiteral("tavlin_test_typeof("));
        // Changes of the schema cannot be prepared on a server; nothing is bound there anyway.
        if (!query.exec(text))
            throw std::runtime_error(
                ("cannot run " + sql + ": " + query.lastError().text()).toStdString());
        return query;
    }
    if (!query.prepare(text))
        throw std::runtime_error(
            ("cannot prepare " + sql + ": " + query.lastError().text()).toStdString());
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw std::runtime_error(
            ("cannot run " + sql + ": " + query.lastError().text()).toStdString());
    return query;
}

// A value read from a server as the embedded file gives it: dates as their ISO text, yes/no
// and whole numbers as 64-bit numbers.
QVariant asFromFile(const QVariant& v, const QString& column)
{
    if (v.isNull())
        return v;
    switch (v.typeId()) {
    case QMetaType::QDate:
        return v.toDate().toString(Qt::ISODate);
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return qlonglong(v.toLongLong());
    case QMetaType::QString:
        if (Schema::kindOf(column) == ColumnKind::Bool)
            return qlonglong(v.toString() == QLatin1String("1") ? 1 : 0);
        return v;
    default:
        return v;
    }
}

} // namespace

void TestShop::refuseInserts(const QString& table, const QString& message)
{
    QSqlQuery q(m_dm->admin1()->database());
    QString quoted = message;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    QStringList statements;
    if (m_dm->admin1()->isServer()) {
        const QString function = QStringLiteral("tavlin_refuse_") + table.toLower();
        statements = {QStringLiteral("CREATE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS $$ "
                                     "BEGIN RAISE EXCEPTION '%2'; END $$")
                          .arg(function, quoted),
                      QStringLiteral("CREATE TRIGGER %1 BEFORE INSERT ON %2 FOR EACH ROW EXECUTE "
                                     "FUNCTION %1()")
                          .arg(function, table)};
    } else {
        statements = {QStringLiteral("CREATE TRIGGER refuse_%1 BEFORE INSERT ON %1 BEGIN SELECT "
                                     "RAISE(ABORT, '%2'); END")
                          .arg(table, quoted)};
    }
    for (const QString& statement : statements)
        if (!q.exec(statement))
            throw std::runtime_error(
                ("cannot refuse inserts into " + table + ": " + q.lastError().text())
                    .toStdString());
}

void TestShop::allowInserts(const QString& table)
{
    QSqlQuery q(m_dm->admin1()->database());
    const QString statement =
        m_dm->admin1()->isServer()
            ? QStringLiteral("DROP FUNCTION tavlin_refuse_%1() CASCADE").arg(table.toLower())
            : QStringLiteral("DROP TRIGGER refuse_%1").arg(table);
    if (!q.exec(statement))
        throw std::runtime_error(
            ("cannot allow inserts into " + table + ": " + q.lastError().text()).toStdString());
}

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
    const bool server = m_dm->admin1()->isServer();
    const QSqlRecord record = query.record();
    // The hidden row key is not one of the values a test reads.
    const QString hidden = SqlDialect::rowKeyColumn();
    QList<QVariantList> result;
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < record.count(); ++i) {
            if (record.fieldName(i).compare(hidden, Qt::CaseInsensitive) == 0)
                continue;
            if (!server) {
                row.append(query.value(i));
            } else {
                const QVariant v = query.value(i);
                // The ODBC driver's nulls come without a type: given the column's, as the
                // other drivers give them.
                row.append(v.isValid() ? asFromFile(v, record.fieldName(i))
                                       : QVariant(record.field(i).metaType()));
            }
        }
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

Query* TestShop::query(const QString& name)
{
    if (auto* kept = DM->findChild<Query*>(name, Qt::FindDirectChildrenOnly))
        return kept;
    return new Query(name, DM->admin1(), DM);
}

void TestShop::addTaxRates(const QStringList& rates)
{
    int id = 0;
    for (const QString& rate : rates) {
        const QStringList f = rate.split(QLatin1Char(' '));
        exec(QStringLiteral(
                 "Insert into Tax (Id_T, Year_T, A_T, E_T, Tax_T) values (?, ?, ?, ?, ?)"),
             {++id, f[0].toInt(), f[1].toInt(), f[2].toInt(), f[3].toDouble()});
    }
}
