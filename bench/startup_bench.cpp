// Measures the start-up steps of the program on an embedded database: creating the database
// on first start, opening it on later starts, and building the main window with the sign-in.
// Usage: startup_bench [rounds]

#include "app/TMainForm.h"
#include "app/TPass.h"
#include "app/Tasks.h"
#include "app/TavlinApplication.h"
#include "data/TDM.h"

#include <QElapsedTimer>
#include <QLabel>
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
} // namespace

int main(int argc, char** argv)
{
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
    QTextStream out(stdout);
    out << "rounds " << rounds << " (median ms)\n"
        << "create database + data module " << median(create) << "\n"
        << "open existing database + data module " << median(reopen) << "\n"
        << "main window + sign-in shown " << median(window) << " (first round "
        << window.value(0) << ")\n"
        << "bare Qt window with one label shown " << median(bare) << " (first round "
        << bare.value(0) << ")\n";
    return 0;
}
