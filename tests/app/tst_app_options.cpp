// The installed program's command line where nobody sits at a screen: --help and --version
// answer and end without a display, the manual page describes every option the program
// takes, and the window without a display ends with a message instead of a crash.

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

struct Run
{
    int exitCode = -1;
    QProcess::ExitStatus status = QProcess::CrashExit;
    QString out;
    QString err;
};

// Runs the program as on a computer without a screen: no display and no Qt platform named.
Run runWithoutDisplay(const QStringList& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(variable));
    QProcess p;
    p.setProcessEnvironment(environment);
    p.start(QStringLiteral(TAVLIN_BINARY), arguments);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000))
        p.kill();
    return {p.exitCode(), p.exitStatus(), QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

// The options a help text lists, short and long: "-h", "--help", "--database", ...
QStringList listedOptions(const QString& help)
{
    QStringList options;
    // "  -h, --help          Displays ..." and "  --database <file>   Use ...", two spaces in;
    // the lines a description goes on with are further in.
    static const QRegularExpression line(QStringLiteral("^  (-[^ ].*?)(?: {2,}|$)"),
                                         QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch& match : line.globalMatch(help))
        for (const QString& form : match.captured(1).split(QStringLiteral(", ")))
            options.append(form.section(QLatin1Char(' '), 0, 0));
    return options;
}

} // namespace

class TestAppOptions : public QObject
{
    Q_OBJECT

private slots:
    void helpWithoutDisplay_data();
    void helpWithoutDisplay();
    void versionWithoutDisplay_data();
    void versionWithoutDisplay();
    void manualPageHasEveryOption();
    void windowWithoutDisplayEndsPlainly();
};

void TestAppOptions::helpWithoutDisplay_data()
{
    QTest::addColumn<QStringList>("arguments");
    // Whether nothing goes to standard error: the window's application, which the platform
    // option starts, may note what it misses there.
    QTest::addColumn<bool>("quiet");
    QTest::newRow("--help") << QStringList{"--help"} << true;
    QTest::newRow("-h") << QStringList{"-h"} << true;
    QTest::newRow("--help-all") << QStringList{"--help-all"} << true;
    QTest::newRow("with a database")
        << QStringList{"--database", "/nonexistent/shop.db", "-h"} << true;
    QTest::newRow("with a command") << QStringList{"--check", "--help"} << true;
    // Qt's option of the window's platform is taken as before.
    QTest::newRow("with a platform") << QStringList{"-platform", "offscreen", "--help"} << false;
}

void TestAppOptions::helpWithoutDisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, quiet);
    const Run run = runWithoutDisplay(arguments);
    QCOMPARE(run.status, QProcess::NormalExit);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains(QStringLiteral("Usage: ")), qPrintable(run.out + run.err));
    const QStringList listed = listedOptions(run.out);
    for (const char* option :
         {"--database", "--server", "--odbc", "--create", "--from", "--backup", "--restore",
          "--check", "--user", "-h", "--help", "--help-all", "-v", "--version"})
        QVERIFY2(listed.contains(QLatin1String(option)), option);
    QVERIFY(run.out.contains(QStringLiteral("[FILE|NAME]")));
    if (quiet)
        QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
}

void TestAppOptions::versionWithoutDisplay_data()
{
    QTest::addColumn<QString>("option");
    QTest::newRow("--version") << QStringLiteral("--version");
    QTest::newRow("-v") << QStringLiteral("-v");
}

void TestAppOptions::versionWithoutDisplay()
{
    QFETCH(QString, option);
    const Run run = runWithoutDisplay({option});
    QCOMPARE(run.status, QProcess::NormalExit);
    QCOMPARE(run.exitCode, 0);
    // The release is the build's project version.
    QCOMPARE(run.out.trimmed(), QStringLiteral("Tavlin " TAVLIN_VERSION));
}

void TestAppOptions::manualPageHasEveryOption()
{
    QFile page(QStringLiteral(TAVLIN_MANUAL_PAGE));
    QVERIFY2(page.open(QIODevice::ReadOnly), TAVLIN_MANUAL_PAGE);
    // In roff a minus is written "\-".
    QString manual = QString::fromUtf8(page.readAll()).replace(QStringLiteral("\\-"), "-");
    // The section that describes the options, up to the next one.
    const qsizetype from = manual.indexOf(QStringLiteral("\n.SH OPTIONS\n"));
    QVERIFY(from >= 0);
    manual = manual.mid(from, manual.indexOf(QStringLiteral("\n.SH "), from + 1) - from);
    const QStringList options = listedOptions(runWithoutDisplay({"--help"}).out);
    QVERIFY(options.size() >= 14);
    for (const QString& option : options)
        QVERIFY2(manual.contains(QRegularExpression(QStringLiteral("(?<![\\w-])") +
                                                    QRegularExpression::escape(option) +
                                                    QStringLiteral("(?![\\w-])"))),
                 qPrintable(option + " is not described in the manual page's options"));
}

void TestAppOptions::windowWithoutDisplayEndsPlainly()
{
    const Run run = runWithoutDisplay({"--database", "/nonexistent/shop.db"});
    QCOMPARE(run.status, QProcess::NormalExit);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(QStringLiteral("no display")), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
}

QTEST_GUILESS_MAIN(TestAppOptions)
#include "tst_app_options.moc"
