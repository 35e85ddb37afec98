#include "ui/common/OutputFiles.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
// The folder of the last file exported, saved or opened, for the rest of the session.
QString lastFolder;

// A title as a file name: no path separators or characters that file systems refuse.
QString fileNameOf(const QString& title)
{
    QString name;
    for (const QChar c : title.simplified())
        name += (c < QChar(0x20) || QStringLiteral("\\/:*?\"<>|").contains(c)) ? QChar('-') : c;
    name = name.trimmed();
    while (name.startsWith(QLatin1Char('.')))
        name.remove(0, 1);
    return name.isEmpty() ? QStringLiteral("Report") : name;
}
} // namespace

QString proposedFile(const QString& title, const QString& suffix)
{
    QString folder = lastFolder;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QDir(folder).filePath(fileNameOf(title) + QLatin1Char('.') + suffix);
}

void rememberFolder(const QString& chosen)
{
    if (!chosen.isEmpty())
        lastFolder = QFileInfo(chosen).absolutePath();
}

QString writeFile(const QString& fileName, const QByteArray& bytes)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("The file %1 could not be written: %2")
            .arg(QDir::toNativeSeparators(fileName), file.errorString());
    return QString();
}
