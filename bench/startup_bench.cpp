// Measures the start-up steps of the program on an embedded database: creating the database
// on first start, opening it on later starts, and building the main window with the sign-in;
// then the whole start-up as a user meets it, from starting the process to the sign-in on the
// screen, beside a bare Qt program that shows one label (bare_window), each a fresh process.
// Usage: startup_bench [rounds]

#include "app/Startup.h"
#include "app/TMainForm.h"
#include "app/TPass.h"
#include "app/Tasks.h"
#include "app/TavlinApplication.h"
#include "data/TDM.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace {
double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

// Lets the shown window be laid out and exposed, as the user first sees it.
void processUntilExposed(QWidget& window)
{
    QApplication::processEvents();
    QElapsedTimer limit;
    limit.start();
    while (window.windowHandle() && !window.windowHandle()->isExposed() && limit.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}
// Milliseconds from starting program until it writes that its first window is shown, and
// the milliseconds it counted itself from the start of its main() (without loading the
// program and its libraries).
std::pair<double, double> timeToShown(const QString& program, const QStringList& arguments)
{
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    QByteArray said;
    while (process.state() != QProcess::NotRunning || process.bytesAvailable() > 0) {
        process.waitForReadyRead(5000);
        said += process.readAll();
        if (said.contains("shown") && said.endsWith('\n'))
            break;
        if (timer.elapsed() > 30000)
            break;
    }
    const double ms = timer.nsecsElapsed() / 1e6;
    process.waitForFinished(5000);
    const QList<QByteArray> words = said.simplified().split(' ');
    return {ms, words.size() > 1 ? words.at(1).toDouble() : 0};
}
} // namespace

int main(int argc, char** argv)
{
    // A child started by the comparison below: the program's own start-up on a shop file,
    // ended as soon as the sign-in is on the screen.
    if (argc > 2 && qstrcmp(argv[1], "--child") == 0) {
        QElapsedTimer sinceMain;
        sinceMain.start();
        int childArgc = 3;
        char database[] = "--database";
        char* childArgv[] = {argv[0], database, argv[2], nullptr};
        return runTavlin(
            childArgc, childArgv,
            [&sinceMain] {
                QTextStream(stdout) << "shown " << sinceMain.nsecsElapsed() / 1e6 << Qt::endl;
                QCoreApplication::exit(0);
            },
            false);
    }
    TavlinApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
    QList<double> create, reopen, window, bare;
    for (int i = 0; i < rounds; ++i) {
        // A bare Qt window with one label, shown the same way, for comparison with the main
        // window below. It comes first, so in the first round it pays what Qt does once per
        // process (fonts, styles, the platform's first window).
        {
            QElapsedTimer timer;
            timer.start();
            QWidget plain;
            auto* layout = new QVBoxLayout(&plain);
            layout->addWidget(new QLabel(QStringLiteral("Tavlin"), &plain));
            plain.show();
            processUntilExposed(plain);
            bare.append(timer.nsecsElapsed() / 1e6);
        }

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tavlin.db"));
        QElapsedTimer timer;
        timer.start();
        {
            TDM first(path);
        }
        create.append(timer.nsecsElapsed() / 1e6);

        timer.restart();
        TDM dm(path);
        reopen.append(timer.nsecsElapsed() / 1e6);

        timer.restart();
        TMainForm mainForm;
        mainForm.show();
        TPass::open(&mainForm);
        LongLivedWindows windows;
        registerTasks(mainForm, windows);
        processUntilExposed(mainForm);
        window.append(timer.nsecsElapsed() / 1e6);
    }
    // The whole start-up in fresh processes, the program beside a bare Qt window.
    QTemporaryDir shopDir;
    const QString shop = shopDir.filePath(QStringLiteral("tavlin.db"));
    {
        TDM created(shop);
    }
    const QString bareProgram =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("bare_window"));
    QList<double> program, qtAlone, programMain, qtAloneMain;
    // More rounds than above: a fresh process varies more than a window within one.
    for (int i = 0; i < rounds * 3; ++i) {
        const auto bareTimes = timeToShown(bareProgram, {});
        qtAlone.append(bareTimes.first);
        qtAloneMain.append(bareTimes.second);
        const auto programTimes =
            timeToShown(QCoreApplication::applicationFilePath(), {"--child", shop});
        program.append(programTimes.first);
        programMain.append(programTimes.second);
    }

    QTextStream out(stdout);
    out << "rounds " << rounds << " (median ms)\n"
        << "create database + data module " << median(create) << "\n"
        << "open existing database + data module " << median(reopen) << "\n"
        << "main window + sign-in shown " << median(window) << " (first round " << window.value(0)
        << ")\n"
        << "bare Qt window with one label shown " << median(bare) << " (first round "
        << bare.value(0) << ")\n"
        << "fresh process to the sign-in on the screen " << median(program) << " (from main() "
        << median(programMain) << ")\n"
        << "fresh process to a bare Qt window with one label " << median(qtAlone)
        << " (from main() " << median(qtAloneMain) << ")\n"
        << "ratio " << median(program) / median(qtAlone) << " (from main() "
        << median(programMain) / median(qtAloneMain) << ")\n";
    return 0;
}
