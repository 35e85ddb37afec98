#include "data/DatabaseTarget.h"

#include "data/DbError.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>
#include <QUrlQuery>

QString DatabaseTarget::describe() const
{
    switch (kind) {
    case Kind::File:
        return QStringLiteral("Embedded file %1").arg(QDir::toNativeSeparators(location));
    case Kind::Server: {
        QUrl url(location);
        url.setPassword(QString());
        url.setQuery(QString());
        return QStringLiteral("PostgreSQL server %1").arg(url.toString());
    }
    case Kind::Odbc:
        return QStringLiteral("ODBC data source %1").arg(location);
    }
    return location;
}

QString DatabaseTarget::settingsPath()
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return QDir(dir).filePath(QStringLiteral("tavlin.conf"));
}

DatabaseTarget DatabaseTarget::fromSettings(const QString& settingsFile, const QString& defaultFile)
{
    const QSettings settings(settingsFile, QSettings::IniFormat);
    QList<DatabaseTarget> named;
    const auto read = [&](const char* key, Kind kind) {
        const QString value =
            settings.value(QLatin1String("database/") + QLatin1String(key)).toString().trimmed();
        if (!value.isEmpty())
            named.append({kind, value});
    };
    read("file", Kind::File);
    read("server", Kind::Server);
    read("odbc", Kind::Odbc);
    if (named.size() > 1)
        throw DbError(QStringLiteral("The settings file %1 names more than one database: keep one "
                                     "of file=, server= and odbc= in its [database] section.")
                          .arg(QDir::toNativeSeparators(settingsFile)));
    return named.isEmpty() ? file(defaultFile) : named.first();
}

ServerAddress ServerAddress::parse(const QString& text)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() ||
        (scheme != QLatin1String("postgresql") && scheme != QLatin1String("postgres")))
        throw DbError(QStringLiteral("The server address %1 is not a postgresql:// address "
                                     "(postgresql://user@host:port/database).")
                          .arg(text));
    ServerAddress address;
    address.user = url.userName();
    address.password = url.password();
    address.host = url.host().isEmpty() ? QStringLiteral("localhost") : url.host();
    address.port = url.port(5432);
    address.database = url.path().mid(1);
    if (address.database.isEmpty() || address.database.contains(QLatin1Char('/')))
        throw DbError(QStringLiteral("The server address %1 names no database "
                                     "(postgresql://user@host:port/database).")
                          .arg(text));
    for (const auto& [key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded))
        address.options.append(key + QLatin1Char('=') + value);
    return address;
}
