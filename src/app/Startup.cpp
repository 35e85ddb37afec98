#include "app/Startup.h"

#include "app/TMainForm.h"
#include "app/TPass.h"
#include "app/TSplash.h"
#include "app/Tasks.h"
#include "app/TavlinApplication.h"
#include "data/DbError.h"
#include "data/ShopDatabase.h"
#include "data/TDM.h"
#include "ui/common/Prompter.h"

#include <QCommandLineParser>
#include <QTimer>
#include <QWindow>

#include <memory>

int runTavlin(int& argc, char** argv, const std::function<void()>& signInShown)
{
    TavlinApplication app(argc, argv);

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Tavlin truck repair shop program"));
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption databaseOption(QStringLiteral("database"),
                                            QStringLiteral("Use the shop database in <file>."),
                                            QStringLiteral("file"));
    options.addOption(databaseOption);
    options.process(app);
    const QString databasePath =
        options.isSet(databaseOption) ? options.value(databaseOption) : ShopDatabase::defaultPath();

    auto splash = std::make_unique<TSplash>();
    splash->showNow();

    try {
        TDM dataModule(databasePath);
        TMainForm mainForm;
        mainForm.showMaximized();
        TPass::open(&mainForm);
        splash->hide();
        splash.reset();
        // The windows that live for the whole run are made right after the sign-in is on the
        // screen, not before it; until then the task buttons they serve stay disabled.
        std::unique_ptr<LongLivedWindows> windows;
        QTimer::singleShot(0, &mainForm, [&mainForm, &windows, &signInShown] {
            while (!(mainForm.windowHandle() && mainForm.windowHandle()->isExposed()))
                QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
            QApplication::processEvents();
            if (signInShown)
                signInShown();
            windows = std::make_unique<LongLivedWindows>();
            registerTasks(mainForm, *windows);
        });
        return app.exec();
    } catch (const DbError& e) {
        splash.reset();
        Prompter::instance().error(e.message());
    } catch (const std::exception& e) {
        splash.reset();
        Prompter::instance().error(QString::fromLocal8Bit(e.what()));
    }
    return 1;
}
