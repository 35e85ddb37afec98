// The shop's users: passwords kept as hashes (and an older shop's hashed by its upgrade), the
// wait after wrong passwords, disabled users, the owner's Users window and the command line,
// and the archive code, on the engine the tests run on.

#include "TestShop.h"
#include "Ui.h"
#include "app/ShopKeeping.h"
#include "app/TMainForm.h"
#include "app/TPass.h"
#include "app/TUsers.h"
#include "data/Connection.h"
#include "data/DatabaseTarget.h"
#include "data/Password.h"
#include "data/Schema.h"
#include "data/ShopDatabase.h"
#include "data/TDM.h"
#include "stores/UserStore.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

namespace {

const QDateTime noon = QDateTime(QDate(2026, 12, 10), QTime(12, 0), Qt::UTC);

QString signedIn(const QString& name, const QString& password, const QDateTime& at = noon)
{
    const UserStore::SignIn outcome = UserStore().signIn(name, password, at);
    switch (outcome.result) {
    case UserStore::Result::Accepted:
        return QStringLiteral("in as ") + outcome.name;
    case UserStore::Result::Refused:
        return QStringLiteral("refused, wait %1").arg(outcome.waitSeconds);
    case UserStore::Result::Waiting:
        return QStringLiteral("waiting %1").arg(outcome.waitSeconds);
    case UserStore::Result::Disabled:
        return QStringLiteral("disabled");
    }
    return {};
}

// Runs the program's --user command on the test's shop with input on standard input.
int runUserCommand(const TestShop& shop, const QStringList& arguments, const QByteArray& input,
                   QString* said = nullptr)
{
    const DatabaseTarget target = TestShop::target();
    QStringList all;
    switch (target.kind) {
    case DatabaseTarget::Kind::Server:
        all = {"--server", target.location};
        break;
    case DatabaseTarget::Kind::Odbc:
        all = {"--odbc", target.location};
        break;
    case DatabaseTarget::Kind::File:
        all = {"--database", shop.databasePath()};
        break;
    }
    QProcess p;
    p.start(QStringLiteral(TAVLIN_BINARY), all + arguments);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    if (said)
        *said = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    return p.exitCode();
}

} // namespace

class TestUsers : public QObject
{
    Q_OBJECT

private slots:
    void passwordsAreHashes();
    void upgradeHashesEveryPassword();
    void waitAfterWrongPasswords_data();
    void waitAfterWrongPasswords();
    void waitHoldsAcrossStationsAndIsNotCounted();
    void disabledUserRefused();
    void hostileNamesAndPasswords_data();
    void hostileNamesAndPasswords();
    void usersWindow();
    void commandLine();
    void archiveCodeIsKeptAsAHash();
};

void TestUsers::passwordsAreHashes()
{
    TestShop shop;
    // A new shop: Guest, the owner, with the password it starts with, kept as a hash.
    const QString stored =
        shop.value("Select Password_Pass From Pass where UserName_Pass = 'Guest'").toString();
    QVERIFY(stored.startsWith(QStringLiteral("$argon2id$v=19$m=65536,t=2,p=1$")));
    QCOMPARE(signedIn("Guest", Schema::guestPassword()), QStringLiteral("in as Guest"));
    QVERIFY(UserStore().user("Guest")->owner);
    QVERIFY(UserStore().firstPasswordInUse());
    // Two hashes of one password differ: each has its own salt.
    QVERIFY(Password::hash("secret12") != Password::hash("secret12"));
    QVERIFY(!Password::verify("secret12", "secret12"));
}

void TestUsers::upgradeHashesEveryPassword()
{
    TestShop shop;
    // The shop as the release before kept it: three users with passwords as typed.
    shop.exec("Delete From Pass");
    const QList<QPair<QString, QString>> users = {
        {"Guest", "gt"}, {"Maria", "Secret1"}, {"O'Brien", QString::fromUtf8("päß 😀")}};
    for (const auto& [name, password] : users)
        shop.exec("Insert into Pass (UserName_Pass, Password_Pass) values (?, ?)",
                  {name, password});
    shop.exec("Delete From Setting");
    const DatabaseTarget target =
        TestShop::onServer() ? TestShop::target() : DatabaseTarget::file(shop.databasePath());
    shop.closeShop();
    const QString name = QStringLiteral("older");
    {
        QSqlDatabase db = target.isServer() ? Connection::openServerDatabase(target, name)
                                            : QSqlDatabase::addDatabase("QSQLITE", name);
        if (!target.isServer()) {
            db.setDatabaseName(target.location);
            QVERIFY(db.open());
        }
        QSqlQuery q(db);
        for (const char* column :
             {"Owner_Pass", "Disabled_Pass", "Failed_Pass", "Wait_Pass", "FirstPassword_Pass"})
            QVERIFY2(q.exec(QStringLiteral("ALTER TABLE Pass DROP COLUMN %1").arg(column)),
                     qPrintable(q.lastError().text()));
        QVERIFY(q.exec("DROP TABLE Setting"));
        // Version 6 hashed the passwords: a shop of version 5 keeps them as typed.
        const int before = 5;
        QVERIFY(q.exec(target.isServer()
                           ? QStringLiteral("UPDATE tavlin_schema SET version = %1").arg(before)
                           : QStringLiteral("PRAGMA user_version = %1").arg(before)));
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    // Opened by this release: upgraded in one step.
    TDM dm(target);
    const QList<UserStore::User> after = UserStore().users();
    QCOMPARE(after.size(), 3);
    for (const UserStore::User& user : after) {
        QVERIFY2(Password::isHashed(user.stored), qPrintable(user.name));
        for (const auto& [name, password] : users)
            QVERIFY(!user.stored.contains(password) || password.size() < 3);
    }
    for (const auto& [userName, password] : users)
        QCOMPARE(signedIn(userName, password), QStringLiteral("in as ") + userName);
    // The first user is the owner; Guest still has the first-start password.
    QVERIFY(UserStore().user("Guest")->owner);
    QVERIFY(!UserStore().user("Maria")->owner);
    QVERIFY(UserStore().firstPasswordInUse());
    QVERIFY(UserStore().archiveCodeMatches(Schema::archiveCode()));
}

void TestUsers::waitAfterWrongPasswords_data()
{
    QTest::addColumn<int>("failures");
    QTest::addColumn<int>("wait");
    QTest::newRow("four") << 4 << 0;
    QTest::newRow("five") << 5 << 1;
    QTest::newRow("six") << 6 << 2;
    QTest::newRow("eight") << 8 << 8;
    QTest::newRow("nine") << 9 << 16;
    QTest::newRow("ten") << 10 << 30;
    QTest::newRow("forty") << 40 << 30;
}

void TestUsers::waitAfterWrongPasswords()
{
    QFETCH(int, failures);
    QFETCH(int, wait);
    QCOMPARE(UserStore::waitAfter(failures), wait);
}

void TestUsers::waitHoldsAcrossStationsAndIsNotCounted()
{
    TestShop shop;
    shop.addUser("Maria", "Secret12");
    QDateTime now = noon;
    for (int i = 1; i <= 4; ++i)
        QCOMPARE(signedIn("Maria", "wrong", now), QStringLiteral("refused, wait 0"));
    QCOMPARE(signedIn("Maria", "wrong", now), QStringLiteral("refused, wait 1"));
    // During the wait nothing is checked: the right password too is turned away, uncounted.
    QCOMPARE(signedIn("Maria", "Secret12", now), QStringLiteral("waiting 1"));
    QCOMPARE(UserStore().user("Maria")->failed, 5);
    now = now.addSecs(1);
    QCOMPARE(signedIn("Maria", "wrong", now), QStringLiteral("refused, wait 2"));
    // The wait is kept with the user in the shop: every station and a restart read it there.
    QCOMPARE(UserStore().user("Maria")->waitUntil, now.addSecs(2));
    QCOMPARE(signedIn("Maria", "Secret12", now.addSecs(1)), QStringLiteral("waiting 1"));
    now = now.addSecs(2);
    QCOMPARE(signedIn("Maria", "Secret12", now), QStringLiteral("in as Maria"));
    QCOMPARE(UserStore().user("Maria")->failed, 0);
    QVERIFY(!UserStore().user("Maria")->waitUntil.isValid());
}

void TestUsers::disabledUserRefused()
{
    TestShop shop;
    shop.addUser("Maria", "Secret12");
    UserStore().setDisabled("Maria", true);
    QCOMPARE(signedIn("Maria", "Secret12"), QStringLiteral("disabled"));
    // The sign-in window says so.
    TMainForm* form = shop.mainForm();
    QPointer<TPass> pass = TPass::open(form);
    ui::type(ui::find<QLineEdit>(pass, "Edit1"), "Maria");
    ui::type(ui::find<QLineEdit>(pass, "Edit2"), "Secret12");
    ui::click(pass, "BitBtn2");
    QCOMPARE(shop.prompter().last(),
             QStringLiteral("The user Maria is disabled. Ask the shop's owner."));
    QVERIFY(pass);
    UserStore().setDisabled("Maria", false);
    QCOMPARE(signedIn("Maria", "Secret12"), QStringLiteral("in as Maria"));
    // The shop's only owner cannot be disabled.
    QVERIFY(refusal([] {
                UserStore().setDisabled("Guest", true);
            }).contains(QStringLiteral("only owner")));
}

void TestUsers::hostileNamesAndPasswords_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::newRow("quotes") << "O'Brien \"Bo\""
                            << "it's \"x\" '; --";
    QTest::newRow("a thousand characters")
        << QString(1000, QLatin1Char('n')) << QString(1000, QLatin1Char('p'));
    QTest::newRow("emoji") << QString::fromUtf8("Łukasz 🚚") << QString::fromUtf8("🔧 wrench 😀");
    QTest::newRow("backslashes and wildcards") << "a\\b%_"
                                               << "c:\\dir\\%_%";
}

void TestUsers::hostileNamesAndPasswords()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    TestShop shop;
    UserStore().add(name, password);
    QCOMPARE(signedIn(name, password), QStringLiteral("in as ") + name);
    QCOMPARE(signedIn(name, password + "x"), QStringLiteral("refused, wait 0"));
    QCOMPARE(signedIn(name + "x", password), QStringLiteral("refused, wait 0"));
    UserStore().setPassword(name, password + password);
    QCOMPARE(signedIn(name, password + password), QStringLiteral("in as ") + name);
    QVERIFY(!shop.value("Select Password_Pass From Pass where UserName_Pass = ?", {name})
                 .toString()
                 .contains(password));
}

void TestUsers::usersWindow()
{
    TestShop shop;
    TMainForm* form = shop.mainForm();
    QAction* users = form->menuBar()->findChild<QAction*>(QStringLiteral("FileUsersItem"));
    QVERIFY(users);
    // Only an owner opens it.
    form->setUser("Maria", false);
    QVERIFY(!users->isEnabled());
    form->setUser("Guest", true);
    QVERIFY(users->isEnabled());
    // The first-start password is pointed out until the owner sets one.
    auto* warning = form->findChild<QLabel*>(QStringLiteral("FirstPasswordWarning"));
    QVERIFY(warning && !warning->text().isEmpty());
    users->trigger();
    auto* window = form->findChild<TUsers*>();
    QVERIFY(window);
    auto* name = ui::find<QLineEdit>(window, "Edit1");
    auto* password = ui::find<QLineEdit>(window, "Edit2");
    auto* again = ui::find<QLineEdit>(window, "Edit3");
    const auto fill = [&](const QString& n, const QString& p, const QString& a) {
        ui::type(name, n);
        ui::type(password, p);
        ui::type(again, a);
    };
    fill("Maria", "Secret12", "Secret13");
    window->addUser();
    QVERIFY(shop.prompter().last().contains(QStringLiteral("differ")));
    fill("Maria", "short", "short");
    window->addUser();
    QVERIFY(shop.prompter().last().contains(QStringLiteral("at least 8 characters")));
    QVERIFY(!UserStore().user("Maria"));
    fill("Maria", "Secret12", "Secret12");
    window->addUser();
    QCOMPARE(shop.prompter().last(), QStringLiteral("Maria is added."));
    QCOMPARE(signedIn("Maria", "Secret12"), QStringLiteral("in as Maria"));
    QVERIFY(!UserStore().user("Maria")->owner);
    // Reset a password.
    fill("Maria", "Another12", "Another12");
    window->setPassword();
    QCOMPARE(signedIn("Maria", "Another12"), QStringLiteral("in as Maria"));
    // Disable, then enable.
    ui::type(name, "Maria");
    window->toggleDisabled();
    QCOMPARE(signedIn("Maria", "Another12"), QStringLiteral("disabled"));
    ui::type(name, "Maria");
    window->toggleDisabled();
    QCOMPARE(signedIn("Maria", "Another12"), QStringLiteral("in as Maria"));
    // The owner's own password: the warning goes.
    fill("Guest", "OwnersOwn1", "OwnersOwn1");
    window->setPassword();
    QVERIFY(!UserStore().firstPasswordInUse());
    QVERIFY(warning->text().isEmpty());
    // No row shows a password, and none is stored as typed.
    for (const UserStore::User& user : UserStore().users())
        QVERIFY(Password::isHashed(user.stored));
}

void TestUsers::commandLine()
{
    TestShop shop;
    QString said;
    // One line from a pipe.
    QCOMPARE(runUserCommand(shop, {"--user", "add", "Night Clerk"}, "Counter#9\n", &said), 0);
    QVERIFY2(said.contains(QStringLiteral("Added the user Night Clerk")), qPrintable(said));
    QCOMPARE(signedIn("Night Clerk", "Counter#9"), QStringLiteral("in as Night Clerk"));
    // Too short, and taken: refused with a message and exit code 1.
    QCOMPARE(runUserCommand(shop, {"--user", "add", "Day"}, "short\n", &said), 1);
    QVERIFY2(said.contains(QStringLiteral("at least 8 characters")), qPrintable(said));
    QCOMPARE(runUserCommand(shop, {"--user", "add", "night clerk"}, "Counter#10\n", &said), 1);
    QCOMPARE(runUserCommand(shop, {"--user", "password", "Night Clerk"}, "Changed#10\n"), 0);
    QCOMPARE(signedIn("Night Clerk", "Changed#10"), QStringLiteral("in as Night Clerk"));
    QCOMPARE(runUserCommand(shop, {"--user", "disable", "Night Clerk"}, ""), 0);
    QCOMPARE(signedIn("Night Clerk", "Changed#10"), QStringLiteral("disabled"));
    QCOMPARE(runUserCommand(shop, {"--user", "enable", "Night Clerk"}, ""), 0);
    QCOMPARE(runUserCommand(shop, {"--user", "password", "Nobody"}, "Whatever#1\n", &said), 1);
    QVERIFY2(said.contains(QStringLiteral("There is no user Nobody")), qPrintable(said));
    // The password never on the command line: a name and nothing more.
    QCOMPARE(runUserCommand(shop, {"--user", "add", "A", "B"}, "Counter#9\n"), 2);
}

void TestUsers::archiveCodeIsKeptAsAHash()
{
    TestShop shop;
    const QString stored =
        shop.value("Select Value_Setting From Setting where Name_Setting = 'ArchiveCode'")
            .toString();
    QVERIFY(Password::isHashed(stored));
    QVERIFY(UserStore().archiveCodeMatches(QStringLiteral("Morvek")));
    QVERIFY(!UserStore().archiveCodeMatches(QStringLiteral("morvek")));
    UserStore().setArchiveCode(QStringLiteral("Lock it up 9"));
    QVERIFY(UserStore().archiveCodeMatches(QStringLiteral("Lock it up 9")));
    QVERIFY(!UserStore().archiveCodeMatches(QStringLiteral("Morvek")));
}

QTEST_MAIN(TestUsers)
#include "tst_users.moc"
