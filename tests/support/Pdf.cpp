#include "Pdf.h"

#include <QProcess>
#include <QRegularExpression>

QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted())
        return QStringLiteral("<%1 is missing: install poppler-utils>").arg(program);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QList<QSizeF> pdfPages(const QString& file)
{
    const QString info =
        runTool(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"),
                                            QStringLiteral("-l"), QStringLiteral("9999"), file});
    QList<QSizeF> sizes;
    static const QRegularExpression size(
        QStringLiteral("^Page\\s+(\\d+) size:\\s+([\\d.]+) x ([\\d.]+) pts"),
        QRegularExpression::MultilineOption);
    static const QRegularExpression rot(QStringLiteral("^Page\\s+(\\d+) rot:\\s+(\\d+)"),
                                        QRegularExpression::MultilineOption);
    for (auto it = size.globalMatch(info); it.hasNext();) {
        const auto m = it.next();
        sizes.append(
            QSizeF(m.captured(2).toDouble() * 25.4 / 72, m.captured(3).toDouble() * 25.4 / 72));
    }
    for (auto it = rot.globalMatch(info); it.hasNext();) {
        const auto m = it.next();
        const int page = m.captured(1).toInt() - 1;
        if (page < sizes.size() && m.captured(2).toInt() % 180 == 90)
            sizes[page].transpose();
    }
    return sizes;
}
