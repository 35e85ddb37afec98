#include "BenchSupport.h"

#include "app/TavlinApplication.h"
#include "data/AccessSql.h"
#include "data/Connection.h"
#include "data/SqlDialect.h"
#include "data/TDM.h"
#include "ui/common/Prompter.h"

#include <QDate>

QString sql(const SqlStatement& statement)
{
    QString text = sql(statement.text());
    for (const QVariant& v : statement.values) {
        QString literal;
        if (v.isNull())
            literal = QStringLiteral("NULL");
        else if (v.typeId() == QMetaType::QString)
            literal = '\'' + v.toString().replace('\'', QStringLiteral("''")) + '\'';
        else if (v.typeId() == QMetaType::QDate)
            literal = '\'' + v.toDate().toString(Qt::ISODate) + '\'';
        else if (v.typeId() == QMetaType::Bool)
            literal = v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
        else
            literal = v.toString();
        const qsizetype at = text.indexOf(QLatin1Char('?'));
        if (at >= 0)
            text.replace(at, 1, literal);
    }
    return text;
}

QString sql(const QString& access)
{
    // Straight statements run on the file, whichever engine the program is measured on.
    static const SqliteDialect dialect;
    static const AccessSql file(dialect);
    return file.translate(access);
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

QStringList firstScreen(const QString& table, const QString& order)
{
    return {sql("Select Count(*) From " + table),
            sql("Select *, tavlin_row From " + table + " Order By " + order + " Limit 64")};
}
