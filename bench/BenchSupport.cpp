#include "BenchSupport.h"

#include "app/TavlinApplication.h"
#include "data/Connection.h"
#include "data/TDM.h"
#include "ui/common/Prompter.h"

QString sql(const QString& access)
{
    return DM->admin1()->translate(access);
}

int runAnsweringYes(int argc, char** argv, const std::function<void()>& registerAll,
                    const std::function<void()>& finish)
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    TavlinApplication app(argc, argv);
    struct AnswerYes : Prompter
    {
        bool confirm(const QString&) override { return true; }
        void inform(const QString&) override {}
        void error(const QString& text) override { qFatal("%s", qPrintable(text)); }
    } answerYes;
    Prompter::install(&answerYes);
    benchmark::Initialize(&argc, argv);
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    finish();
    Prompter::install(nullptr);
    return 0;
}
