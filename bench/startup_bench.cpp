// Measures the start-up steps of the program on an embedded database: creating the database
// on first start, opening it on later starts, and building the main window with the sign-in.
// Usage: startup_bench [rounds]

#include "app/TMainForm.h"
#include "app/TPass.h"
#include "app/Tasks.h"
#include "app/TavlinApplication.h"
#include "data/TDM.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

namespace {
double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}
} // namespace

int main(int argc, char** argv)
{
    TavlinApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
    QList<double> create, reopen, window;
    for (int i = 0; i < rounds; ++i) {
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
        QApplication::processEvents();
        window.append(timer.nsecsElapsed() / 1e6);
    }
    QTextStream out(stdout);
    out << "rounds " << rounds << " (median ms)\n"
        << "create database + data module " << median(create) << "\n"
        << "open existing database + data module " << median(reopen) << "\n"
        << "main window + sign-in shown " << median(window) << "\n";
    return 0;
}
