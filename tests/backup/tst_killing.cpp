// The program cut off at random moments (kill -9): while it backs the shop up, while it
// restores one, and while a busy counter saves, archives, takes payments and runs reports. A
// backup cut off is never taken for a good one; a shop is always whole and passes its check;
// what was reported saved is there. Also a backup that meets a full disk. The embedded file.

#include "BackupTesting.h"
#include "TestShop.h"
#include "backup/ShopBackup.h"
#include "backup/ShopCheck.h"
#include "backup/ShopCopy.h"
#include "data/DatabaseTarget.h"
#include "data/ShopDatabase.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QThread>

#include <csignal>
#include <sys/resource.h>

using namespace BackupTesting;

namespace {

// A shop file of some thousands of invoices with their lines: big enough that a backup or a
// restore takes long enough to be cut off in the middle.
void makeShop(const QString& path, int invoices)
{
    const QString name = QStringLiteral("make");
    {
        ShopDatabase::open(path, name);
        QSqlDatabase db = QSqlDatabase::database(name);
        QSqlQuery q(db);
        const QString numbers = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                                               "SELECT i + 1 FROM n WHERE i < %1) ")
                                    .arg(invoices);
        QVERIFY(q.exec(numbers + "INSERT INTO Invoice (InvoiceNo_Inv, CustomerName_Inv, "
                                 "InvoiceDate_Inv, Amount_Inv, Paid_Inv, Tax_Inv, Remark_Inv) "
                                 "SELECT i, 'Customer ' || (i % 300), '2025-06-01', i * 1.5, 1, "
                                 "'Yes', hex(randomblob(60)) FROM n"));
        for (int line = 0; line < 4; ++line)
            QVERIFY(q.exec(numbers + QStringLiteral("INSERT INTO InvItem (Name_Item, Qty_Item, "
                                                    "Rate_Item, Amount_Item, Inv_Item) SELECT "
                                                    "'Part ' || i, 1, 2.5, 2.5, i FROM n")));
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

QProcessEnvironment childEnvironment(const QString& folder)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), folder + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), folder + QStringLiteral("/data"));
    return env;
}

// Runs the program with arguments, ended by kill -9 after afterMs unless it ended before;
// returns whether it ran to its end.
bool runCutOff(const QString& program, const QStringList& arguments, const QString& folder,
               int afterMs, QByteArray* said = nullptr)
{
    QProcess p;
    p.setProcessEnvironment(childEnvironment(folder));
    p.start(program, arguments);
    if (!p.waitForStarted())
        return false;
    const bool ended = p.waitForFinished(afterMs);
    if (!ended) {
        p.kill();
        p.waitForFinished();
    }
    if (said)
        *said = p.readAllStandardOutput();
    return ended && p.exitStatus() == QProcess::NormalExit;
}

int elapsedOfRun(const QString& program, const QStringList& arguments, const QString& folder)
{
    QElapsedTimer timer;
    timer.start();
    QProcess p;
    p.setProcessEnvironment(childEnvironment(folder));
    p.start(program, arguments);
    p.waitForFinished(120000);
    return int(timer.elapsed());
}

bool sameTally(const QList<ShopCopy::Tally>& a, const QList<ShopCopy::Tally>& b)
{
    return ShopCopy::differences(a, b).isEmpty();
}

QList<ShopCopy::Tally> tallyOf(const QString& path)
{
    static int next = 0;
    const QString name = QStringLiteral("tally-%1").arg(next++);
    QList<ShopCopy::Tally> tallies;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (db.open())
            tallies = ShopCopy::tally(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return tallies;
}

const QString tavlin = QStringLiteral(TAVLIN_BINARY);

} // namespace

class TestKilling : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void backupCutOff();
    void restoreCutOff();
    void backupOnAFullDisk();
    void busyCounterCutOff();

private:
    QTemporaryDir m_dir;
    QString m_shop;
};

void TestKilling::initTestCase()
{
    SKIP_ON_SERVER("the program is cut off while it works on a file of its own");
    QVERIFY(m_dir.isValid());
    m_shop = m_dir.filePath(QStringLiteral("shop.db"));
    makeShop(m_shop, 30000);
}

void TestKilling::backupCutOff()
{
    const QString earlier = m_dir.filePath(QStringLiteral("earlier.backup.db"));
    ShopBackup::backup(DatabaseTarget::file(m_shop), earlier);
    const QByteArray earlierHash = hashOf(earlier);
    const QList<ShopCopy::Tally> shop = tallyOf(m_shop);
    const int whole = elapsedOfRun(
        tavlin,
        {"--database", m_shop, "--backup", m_dir.filePath(QStringLiteral("timed.backup.db"))},
        m_dir.path());
    QRandomGenerator random(2612);
    int cut = 0;
    for (int trial = 0; trial < 20; ++trial) {
        const QString copy = m_dir.filePath(QStringLiteral("cut-%1.backup.db").arg(trial));
        // Half of them into the backups folder, where rotation looks after them.
        const QStringList arguments = trial % 2 == 0
                                          ? QStringList{"--database", m_shop, "--backup", copy}
                                          : QStringList{"--database", m_shop, "--backup"};
        if (!runCutOff(tavlin, arguments, m_dir.path(), int(random.bounded(whole + 20))))
            ++cut;
        // What carries a backup's name is a whole, checked copy; the rest is never listed.
        QStringList made;
        if (QFile::exists(copy))
            made.append(copy);
        for (const QString& name : QDir(m_dir.filePath(QStringLiteral("backups")))
                                       .entryList({QStringLiteral("*.backup.db")}, QDir::Files))
            made.append(m_dir.filePath(QStringLiteral("backups/") + name));
        for (const QString& path : made) {
            QCOMPARE(ShopBackup::checkBackup(path), ShopDatabase::currentVersion());
            QVERIFY2(sameTally(shop, tallyOf(path)), qPrintable(path));
        }
        QCOMPARE(hashOf(earlier), earlierHash);
    }
    qInfo("%d of 20 backups cut off (a whole backup takes %d ms)", cut, whole);
    QVERIFY(cut > 0);
    QVERIFY(ShopCheck::check(DatabaseTarget::file(m_shop)).good());
}

void TestKilling::restoreCutOff()
{
    // The backup holds the shop as it is now; the shop then gets one more invoice.
    const QString backup = m_dir.filePath(QStringLiteral("restore-from.backup.db"));
    ShopBackup::backup(DatabaseTarget::file(m_shop), backup);
    const QString shopA = m_dir.filePath(QStringLiteral("a.db"));
    QFile::remove(shopA);
    QVERIFY(QFile::copy(m_shop, shopA));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "a");
        db.setDatabaseName(shopA);
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec("INSERT INTO Invoice (InvoiceNo_Inv) VALUES (999999)"));
        db.close();
    }
    QSqlDatabase::removeDatabase("a");
    const QList<ShopCopy::Tally> before = tallyOf(shopA);
    const QList<ShopCopy::Tally> restored = tallyOf(backup);
    QVERIFY(!sameTally(before, restored));

    const QString shop = m_dir.filePath(QStringLiteral("restored.db"));
    const auto reset = [&] {
        for (const char* suffix : {"", "-wal", "-shm"})
            QFile::remove(shop + QLatin1String(suffix));
        QVERIFY(QFile::copy(shopA, shop));
    };
    reset();
    const int whole = elapsedOfRun(tavlin, {"--database", shop, "--restore", backup}, m_dir.path());
    QVERIFY(sameTally(restored, tallyOf(shop)));
    QRandomGenerator random(1012);
    int old = 0;
    int fresh = 0;
    for (int trial = 0; trial < 20; ++trial) {
        reset();
        // Cut off anywhere from its start to well past the time a whole restore took.
        runCutOff(tavlin, {"--database", shop, "--restore", backup}, m_dir.path(),
                  int(random.bounded(quint32(whole * 8 / 5 + 20))));
        // Either shop, whole, and it passes its check.
        const QList<ShopCopy::Tally> now = tallyOf(shop);
        const bool isOld = sameTally(before, now);
        const bool isNew = sameTally(restored, now);
        QVERIFY2(isOld || isNew, qPrintable(ShopCopy::differences(before, now).join('\n')));
        (isOld ? old : fresh) += 1;
        const ShopCheck::Report report = ShopCheck::check(DatabaseTarget::file(shop));
        QVERIFY2(report.good(), qPrintable(report.faults.join('\n')));
    }
    qInfo("after 20 restores cut off: %d times the old shop, %d times the restored one (a whole "
          "restore takes %d ms)",
          old, fresh, whole);
}

void TestKilling::backupOnAFullDisk()
{
    const QString copy = m_dir.filePath(QStringLiteral("full/disk.backup.db"));
    QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("full"))));
    const QByteArray shopHash = hashOf(m_shop);
    QProcess p;
    p.setProcessEnvironment(childEnvironment(m_dir.path()));
    // The disk fills up after a megabyte: every write past it fails as on a full disk.
    p.setChildProcessModifier([] {
        struct rlimit limit = {1 << 20, 1 << 20};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::signal(SIGXFSZ, SIG_IGN);
    });
    p.start(tavlin, {"--database", m_shop, "--backup", copy});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 1);
    const QString err = QString::fromLocal8Bit(p.readAllStandardError());
    QVERIFY2(err.contains(QStringLiteral("no backup was made")), qPrintable(err));
    QVERIFY(QDir(m_dir.filePath(QStringLiteral("full"))).isEmpty());
    QCOMPARE(hashOf(m_shop), shopHash);
}

void TestKilling::busyCounterCutOff()
{
    const QString shop = m_dir.filePath(QStringLiteral("counter.db"));
    makeShop(shop, 50);
    QRandomGenerator random(77);
    // What the counter reported committed, over every trial.
    QHash<qint64, QPair<int, int>> saved;
    QSet<qint64> archived;
    int reported = 0;
    for (int trial = 0; trial < 200; ++trial) {
        QByteArray said;
        runCutOff(QStringLiteral(BUSY_COUNTER), {shop, QString::number(trial)}, m_dir.path(),
                  20 + int(random.bounded(200)), &said);
        for (const QByteArray& line : said.split('\n')) {
            const QList<QByteArray> w = line.split(' ');
            if (w.first() == "saved" && w.size() == 4)
                saved.insert(w.at(1).toLongLong(), {w.at(2).toInt(), w.at(3).toInt()});
            else if (w.first() == "archived" && w.size() == 2)
                archived.insert(w.at(1).toLongLong());
            if (!line.isEmpty())
                ++reported;
        }
        const ShopCheck::Report report = ShopCheck::check(DatabaseTarget::file(shop));
        QVERIFY2(report.good(),
                 qPrintable(QStringLiteral("trial %1: ").arg(trial) + report.faults.join('\n')));
    }
    // Every invoice reported saved is whole: its lines with it, where the last report put it.
    const QString name = QStringLiteral("verify");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(shop);
        QVERIFY(db.open());
        const auto count = [&](const QString& statement, qint64 n) {
            QSqlQuery q(db);
            q.prepare(statement);
            q.addBindValue(n);
            return q.exec() && q.next() ? q.value(0).toInt() : -1;
        };
        for (auto it = saved.cbegin(); it != saved.cend(); ++it) {
            const bool moved =
                archived.contains(it.key()) ||
                count("SELECT COUNT(*) FROM InvoiceCash WHERE InvoiceNo_Inv = ?", it.key()) == 1;
            const QString header = moved ? "InvoiceCash" : "Invoice";
            const QString items = moved ? "InvItemCash" : "InvItem";
            const QString labor = moved ? "InvLaborCash" : "InvLabor";
            QCOMPARE(count("SELECT COUNT(*) FROM " + header + " WHERE InvoiceNo_Inv = ?", it.key()),
                     1);
            QCOMPARE(count("SELECT COUNT(*) FROM " + items + " WHERE Inv_Item = ?", it.key()),
                     it.value().first);
            QCOMPARE(count("SELECT COUNT(*) FROM " + labor + " WHERE Inv_Labor = ?", it.key()),
                     it.value().second);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    qInfo("200 counters cut off: %d commits reported, %lld invoices saved, %lld archived", reported,
          qint64(saved.size()), qint64(archived.size()));
    QVERIFY(saved.size() > 50);
}

QTEST_MAIN(TestKilling)
#include "tst_killing.moc"
