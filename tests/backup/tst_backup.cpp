// Backups, restore, the shop's check and the move onto a server, in the program's own
// process, on the engine the tests run on.

#include "BackupTesting.h"
#include "TestShop.h"
#include "app/ShopKeeping.h"
#include "app/TMainForm.h"
#include "backup/BackupFolder.h"
#include "backup/ShopBackup.h"
#include "backup/ShopCheck.h"
#include "backup/ShopCommands.h"
#include "data/DatabaseTarget.h"
#include "data/DbError.h"
#include "data/ShopDatabase.h"

#include <QAction>
#include <QCryptographicHash>
#include <QFile>
#include <QMenuBar>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

using namespace BackupTesting;

namespace {

// The test's shop as the commands name it.
DatabaseTarget shopTarget(const TestShop& shop)
{
    return TestShop::onServer() ? TestShop::target() : DatabaseTarget::file(shop.databasePath());
}

// A statement straight on a shop file, past the program.
void onFile(const QString& path, const QStringList& statements)
{
    const QString name = QStringLiteral("plant");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        for (const QString& statement : statements) {
            QSqlQuery q(db);
            QVERIFY2(q.exec(statement), qPrintable(statement));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

QDateTime at(const QString& text)
{
    return QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm"));
}

} // namespace

class TestBackup : public QObject
{
    Q_OBJECT

private slots:
    void rotationKeeps_data();
    void rotationKeeps();
    void folderFollowsSettings();
    void backupAndRestoreGiveTheSameRows();
    void restoreRefuses_data();
    void restoreRefuses();
    void unwritableFolderLeavesTheShop();
    void checkFindsPlantedFaults_data();
    void checkFindsPlantedFaults();
    void checkReportsAnOlderSchemaWithoutFailing();
    void createFromCopiesEveryRow();
    void fileMenuBacksUpAndChecks();
    void warningAfterAWeek();
};

void TestBackup::rotationKeeps_data()
{
    QTest::addColumn<QStringList>("made");
    QTest::addColumn<QList<int>>("keep"); // daily, weekly, monthly
    QTest::addColumn<QStringList>("removed");

    QTest::newRow("one a day: the newest of the day stays")
        << QStringList{"2026-12-10 18:00", "2026-12-10 09:00", "2026-12-09 18:00"}
        << QList<int>{7, 0, 0} << QStringList{"2026-12-10 09:00"};
    QTest::newRow("eight days, seven kept")
        << QStringList{"2026-12-10 09:00", "2026-12-09 09:00", "2026-12-08 09:00",
                       "2026-12-07 09:00", "2026-12-06 09:00", "2026-12-05 09:00",
                       "2026-12-04 09:00", "2026-12-03 09:00"}
        << QList<int>{7, 0, 0} << QStringList{"2026-12-03 09:00"};
    QTest::newRow("weeks keep what the days let go")
        << QStringList{"2026-12-10 09:00", "2026-12-09 09:00", "2026-12-01 09:00",
                       "2026-11-30 09:00", "2026-11-20 09:00"}
        << QList<int>{1, 3, 0} << QStringList{"2026-12-09 09:00", "2026-11-30 09:00"};
    QTest::newRow("months keep the newest of each")
        << QStringList{"2026-12-10 09:00", "2026-11-28 09:00", "2026-11-02 09:00",
                       "2026-10-15 09:00", "2025-10-15 09:00"}
        << QList<int>{1, 0, 3} << QStringList{"2026-11-02 09:00", "2025-10-15 09:00"};
    QTest::newRow("nothing kept by the settings: the newest stays all the same")
        << QStringList{"2026-12-10 09:00", "2026-12-09 09:00"} << QList<int>{0, 0, 0}
        << QStringList{"2026-12-09 09:00"};
}

void TestBackup::rotationKeeps()
{
    QFETCH(QStringList, made);
    QFETCH(QList<int>, keep);
    QFETCH(QStringList, removed);
    QList<BackupFolder::Entry> entries;
    for (const QString& when : made)
        entries.append({when, at(when)});
    QCOMPARE(BackupFolder::removable(entries, {keep.at(0), keep.at(1), keep.at(2)}), removed);
}

void TestBackup::folderFollowsSettings()
{
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("tavlin.conf"));
    const DatabaseTarget file = DatabaseTarget::file(dir.filePath(QStringLiteral("shop.db")));
    // Beside the shop file by default.
    QCOMPARE(BackupFolder::forShop(file, settings).path(), dir.filePath(QStringLiteral("backups")));
    QFile conf(settings);
    QVERIFY(conf.open(QIODevice::WriteOnly));
    conf.write("[backup]\nfolder=" + dir.filePath(QStringLiteral("second disk")).toUtf8() +
               "\ndaily=3\nmonthly=24\n");
    conf.close();
    const BackupFolder named = BackupFolder::forShop(file, settings);
    QCOMPARE(named.path(), dir.filePath(QStringLiteral("second disk")));
    QCOMPARE(named.keep().daily, 3);
    QCOMPARE(named.keep().weekly, 4);
    QCOMPARE(named.keep().monthly, 24);
    // A copy being written is never one of the backups; another shop's are not either.
    named.make();
    const QDateTime now = at(QStringLiteral("2026-12-10 09:30"));
    for (const QString& path : {named.newPath(now), named.newPath(now) + QStringLiteral(".partial"),
                                named.newPath(now.addDays(-1), QStringLiteral("before-restore")),
                                BackupFolder(named.path(), QStringLiteral("other")).newPath(now)}) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QCOMPARE(named.backups().size(), 1);
    QCOMPARE(named.backups().first().made, now);
    // A copy cut off an hour ago goes at the next rotation; one still being written stays.
    const QString stale = named.newPath(now.addDays(-2)) + QStringLiteral(".partial");
    const QString fresh = named.newPath(now) + QStringLiteral(".partial");
    {
        QFile f(stale);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-7200),
                              QFileDevice::FileModificationTime));
    }
    named.rotate();
    QVERIFY(!QFile::exists(stale));
    QVERIFY(QFile::exists(fresh));
    QCOMPARE(named.backups().size(), 1);
    named.noteMade({named.newPath(now), now});
    QCOMPARE(named.last()->made, now);
}

void TestBackup::backupAndRestoreGiveTheSameRows()
{
    TestShop shop;
    fillShop(shop);
    const DatabaseTarget target = shopTarget(shop);
    const QStringList before = dump(target);
    QVERIFY(before.size() > 10);
    const BackupFolder folder(shop.folder() + QStringLiteral("/backups"), QStringLiteral("shop"));
    folder.make();
    const QString first = folder.newPath(at(QStringLiteral("2026-12-10 09:00")));
    const ShopBackup::Made made = ShopBackup::backup(target, first);
    QCOMPARE(made.rows, qint64(before.size()));
    QVERIFY(!QFile::exists(first + QStringLiteral(".partial")));
    QCOMPARE(dumpFile(first), before);
    QCOMPARE(ShopBackup::checkBackup(first), ShopDatabase::currentVersion());

    // The shop changes after the backup; the restore brings back what the backup holds, row
    // keys included, and keeps the changed shop.
    shop.exec("Delete From InvItem");
    shop.exec("Insert into Invoice (InvoiceNo_Inv, CustomerName_Inv) values (1002, 'Later')");
    const QStringList changed = dump(target);
    shop.closeShop();
    const QString kept = ShopBackup::restore(target, first, folder);
    QCOMPARE(dump(target), before);
    QCOMPARE(dumpFile(kept), changed);
    QVERIFY(ShopCheck::check(target).good());

    // A backup of the restored shop holds the same rows again.
    const QString second = folder.newPath(at(QStringLiteral("2026-12-10 10:00")));
    ShopBackup::backup(target, second);
    QCOMPARE(dumpFile(second), before);
}

void TestBackup::restoreRefuses_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("no such file") << "missing"
                                  << "There is no file";
    QTest::newRow("not a shop") << "text"
                                << "is not a Tavlin shop or backup; nothing was changed";
    QTest::newRow("another program's database")
        << "foreign"
        << "is not a Tavlin shop or backup; nothing was changed";
    QTest::newRow("damaged") << "damaged"
                             << "is damaged";
    QTest::newRow("newer release") << "newer"
                                   << "was made by a newer release of Tavlin";
}

void TestBackup::restoreRefuses()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    TestShop shop;
    fillShop(shop);
    const DatabaseTarget target = shopTarget(shop);
    const QString bad = shop.folder() + QStringLiteral("/bad.backup.db");
    if (kind == QLatin1String("text")) {
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("This is a shopping list, not a shop.\n");
    } else if (kind == QLatin1String("foreign")) {
        onFile(bad, {QStringLiteral("CREATE TABLE notes (t TEXT)")});
    } else if (kind != QLatin1String("missing")) {
        ShopBackup::backup(target, bad);
        if (kind == QLatin1String("newer")) {
            onFile(bad, {QStringLiteral("PRAGMA user_version = %1")
                             .arg(ShopDatabase::currentVersion() + 1)});
        } else {
            // Garbage over a page in the middle of the file.
            QFile f(bad);
            QVERIFY(f.open(QIODevice::ReadWrite));
            const qint64 pages = f.size() / 4096;
            QVERIFY(pages > 4);
            f.seek((pages / 2) * 4096);
            f.write(QByteArray(4096, '\x5a'));
        }
    }
    const QStringList before = dump(target);
    // Closed, the shop's journal is folded into its file: from here on not a byte changes.
    shop.closeShop();
    const QByteArray fileBefore = TestShop::onServer() ? QByteArray() : hashOf(target.location);
    const QString refused = refusal([&] {
        ShopBackup::restore(
            target, bad,
            BackupFolder(shop.folder() + QStringLiteral("/backups"), QStringLiteral("shop")));
    });
    QVERIFY2(refused.contains(message), qPrintable(refused));
    QCOMPARE(dump(target), before);
    if (!TestShop::onServer())
        QCOMPARE(hashOf(target.location), fileBefore);
}

void TestBackup::unwritableFolderLeavesTheShop()
{
    TestShop shop;
    fillShop(shop);
    const DatabaseTarget target = shopTarget(shop);
    // A folder that can never be made, whoever runs the test: it would lie under a file.
    QFile blocker(shop.folder() + QStringLiteral("/a file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const BackupFolder folder(blocker.fileName() + QStringLiteral("/backups"),
                              QStringLiteral("shop"));
    const QStringList before = dump(target);
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const QString settings = shop.folder() + QStringLiteral("/tavlin.conf");
    {
        QFile conf(settings);
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write("[backup]\nfolder=" + folder.path().toUtf8() + "\n");
    }
    QCOMPARE(ShopCommands::backup(target, QString(), settings, outStream, errStream), 1);
    QVERIFY2(err.contains(QStringLiteral("no backup was made")) &&
                 err.contains(QStringLiteral("cannot be made")),
             qPrintable(err));
    QVERIFY(out.isEmpty());
    // A copy asked into that folder by name fails the same way, and leaves nothing.
    QCOMPARE(ShopCommands::backup(target, folder.path() + QStringLiteral("/x.backup.db"), settings,
                                  outStream, errStream),
             1);
    QCOMPARE(dump(target), before);
}

void TestBackup::checkFindsPlantedFaults_data()
{
    QTest::addColumn<QStringList>("plant");
    QTest::addColumn<QStringList>("faults");
    QTest::newRow("a good shop") << QStringList{} << QStringList{};
    QTest::newRow("a part line without its invoice")
        << QStringList{"Insert into InvItem (Name_Item, Inv_Item) values ('Lost', 41)"}
        << QStringList{"invoice 41: a part line without its invoice"};
    QTest::newRow("labor lines without their invoice")
        << QStringList{"Insert into InvLabor (Description_Labor, Inv_Labor) values ('A', 42)",
                       "Insert into InvLabor (Description_Labor, Inv_Labor) values ('B', 42)"}
        << QStringList{"invoice 42: 2 labor lines without their invoice"};
    QTest::newRow("a payment of a missing invoice")
        << QStringList{"Insert into Receivable (InvoiceNo_Receivable, Amount_Receivable) values "
                       "(77, 10)"}
        << QStringList{"invoice 77: a payment without its invoice"};
    QTest::newRow("an archived invoice keeps its payment")
        << QStringList{"Insert into InvoiceCash (InvoiceNo_Inv) values (78)",
                       "Insert into Receivable (InvoiceNo_Receivable, Amount_Receivable) values "
                       "(78, 10)",
                       "Insert into ReceivableCash (InvoiceNo_Receivable, Amount_Receivable) "
                       "values (78, 5)"}
        << QStringList{};
    QTest::newRow("a bill's payment without the bill")
        << QStringList{"Insert into Payable (BillNo_Payable, Amount_Payable) values ('Z-9', 1)"}
        << QStringList{"bill Z-9: a payment without its bill"};
    QTest::newRow("an order line without its order")
        << QStringList{"Insert into Items (Name_Item, Po_Item) values ('Oil', 5)"}
        << QStringList{"order 5: a part line without its order"};
}

void TestBackup::checkFindsPlantedFaults()
{
    QFETCH(QStringList, plant);
    QFETCH(QStringList, faults);
    TestShop shop;
    fillShop(shop);
    for (const QString& statement : plant)
        shop.exec(statement);
    const ShopCheck::Report report = ShopCheck::check(shopTarget(shop));
    QCOMPARE(report.faults, faults);
    QVERIFY(report.notes.isEmpty());
}

void TestBackup::checkReportsAnOlderSchemaWithoutFailing()
{
    SKIP_ON_SERVER("a number held twice needs the unique index gone, and pages are the file's");
    TestShop shop;
    fillShop(shop);
    const QString path = shop.databasePath();
    shop.closeShop();
    // An older file whose index could not be unique holds a number twice.
    onFile(path,
           {QStringLiteral("DROP INDEX \"ix_Invoice_InvoiceNo_Inv\""),
            QStringLiteral("INSERT INTO Invoice (InvoiceNo_Inv) VALUES (1001)"),
            QStringLiteral("PRAGMA user_version = %1").arg(ShopDatabase::currentVersion() - 1)});
    const QByteArray before = hashOf(path);
    ShopCheck::Report report = ShopCheck::check(DatabaseTarget::file(path));
    QCOMPARE(report.faults, QStringList{"invoice 1001: its number is held twice"});
    QCOMPARE(report.notes.size(), 1);
    QVERIFY(report.notes.first().contains(QStringLiteral("the next start upgrades it")));
    // The check changes nothing of the file.
    QCOMPARE(hashOf(path), before);

    // A damaged page is found, and the check says so rather than failing.
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    f.seek(f.size() / 4096 / 2 * 4096);
    f.write(QByteArray(4096, '\x33'));
    f.close();
    report = ShopCheck::check(DatabaseTarget::file(path));
    QVERIFY(!report.good());
    QVERIFY2(report.faults.first().startsWith(QStringLiteral("the file")),
             qPrintable(report.faults.join('\n')));
}

void TestBackup::createFromCopiesEveryRow()
{
    if (TestShop::target().kind != DatabaseTarget::Kind::Server)
        QSKIP("needs a PostgreSQL server reached by its address (a schema of its own)");
    TestShop shop;
    fillShop(shop);
    const QStringList rows = dump(TestShop::target());
    // The file the shop moves from: a backup of the server shop.
    const QString file = shop.folder() + QStringLiteral("/from.db");
    ShopBackup::backup(TestShop::target(), file);
    shop.exec("DROP SCHEMA IF EXISTS moved CASCADE");
    shop.exec("CREATE SCHEMA moved");
    const DatabaseTarget moved = DatabaseTarget::server(
        TestShop::target().location +
        (TestShop::target().location.contains(QLatin1Char('?')) ? "&" : "?") +
        "options=-csearch_path%3Dmoved,public");
    QCOMPARE(ShopBackup::createFrom(moved, file), qint64(rows.size()));
    QCOMPARE(dump(moved), rows);
    QVERIFY(ShopCheck::check(moved).good());
    // A database that is not empty is refused, and left as it is.
    QVERIFY(refusal([&] {
                ShopBackup::createFrom(moved, file);
            }).contains(QStringLiteral("already holds a Tavlin shop")));
    QCOMPARE(dump(moved), rows);
    shop.exec("DROP SCHEMA moved CASCADE");
}

void TestBackup::fileMenuBacksUpAndChecks()
{
    TestShop shop;
    fillShop(shop);
    TMainForm* form = shop.mainForm();
    ShopKeeping* keeping = form->keeping();
    QVERIFY(keeping);
    QAction* backUp = form->menuBar()->findChild<QAction*>(QStringLiteral("FileBackupItem"));
    QVERIFY(backUp);
    // Nothing of the File menu before a user signs in.
    QVERIFY(!backUp->isEnabled());
    form->setUserName(QStringLiteral("Guest"));
    QVERIFY(backUp->isEnabled());

    // Cancelled: nothing made.
    backUp->trigger();
    QCOMPARE(shop.prompter().fileQuestions().size(), 1);
    const QString proposed = shop.prompter().fileQuestions().first().proposed;
    QVERIFY(!QFile::exists(proposed));
    // Into the proposed file of the backups folder: made, noted, and named in About.
    shop.prompter().chooseFiles({proposed});
    backUp->trigger();
    QVERIFY2(QFile::exists(proposed), qPrintable(shop.prompter().texts().join('\n')));
    QVERIFY(shop.prompter().last().startsWith(QStringLiteral("The shop is backed up to")));
    QVERIFY(keeping->lastBackup().has_value());
    QVERIFY(!keeping->startupBackupDue());
    QVERIFY(keeping->lastBackupText().contains(QFileInfo(proposed).fileName()));
    QCOMPARE(dumpFile(proposed), dump(shopTarget(shop)));

    form->menuBar()->findChild<QAction*>(QStringLiteral("FileCheckItem"))->trigger();
    QCOMPARE(shop.prompter().last(), QStringLiteral("The shop is good: no fault was found."));
    shop.exec("Insert into InvItem (Name_Item, Inv_Item) values ('Lost', 41)");
    form->menuBar()->findChild<QAction*>(QStringLiteral("FileCheckItem"))->trigger();
    QVERIFY(shop.prompter().last().contains(
        QStringLiteral("invoice 41: a part line without its invoice")));

    // Restore asks for a backup, checks it, and asks before anything is replaced.
    shop.prompter().chooseFiles({proposed});
    shop.prompter().answer({false});
    form->menuBar()->findChild<QAction*>(QStringLiteral("FileRestoreItem"))->trigger();
    QVERIFY(shop.prompter().last().startsWith(QStringLiteral("Replace the shop")));
    QVERIFY(!keeping->pendingRestore().has_value());
}

void TestBackup::warningAfterAWeek()
{
    TestShop shop;
    ShopKeeping* keeping = shop.mainForm()->keeping();
    const QDateTime now = QDateTime::currentDateTime();
    const BackupFolder folder = BackupFolder::forShop(shopTarget(shop), QString());
    if (!TestShop::onServer()) {
        // A new shop file has no backup yet: the first start of the day makes one, and there
        // is nothing to warn of.
        QVERIFY(!keeping->lastBackup());
        QVERIFY(keeping->startupBackupDue(now));
        QCOMPARE(keeping->warning(now), QString());
    }
    folder.make();
    folder.noteMade({QStringLiteral("x"), now.addDays(-6)});
    QCOMPARE(keeping->warning(now), QString());
    QVERIFY(keeping->startupBackupDue(now));
    folder.noteMade({QStringLiteral("x"), now.addDays(-8)});
    QCOMPARE(keeping->warning(now), QStringLiteral("No backup for 8 days"));
    folder.noteMade({QStringLiteral("x"), now});
    QVERIFY(!keeping->startupBackupDue(now));
}

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
