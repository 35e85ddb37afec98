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

#include <memory>

int runTavlin(int& argc, char** argv)
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
        LongLivedWindows windows;
        registerTasks(mainForm, windows);
        splash->hide();
        splash.reset();
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
