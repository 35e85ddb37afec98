#include "data/Password.h"

#include "data/DbError.h"

#include <sodium.h>

namespace {

// The costs of a sign-in on a two-core counter computer: 64 MiB and two passes, about 90 ms.
const unsigned long long operations = crypto_pwhash_OPSLIMIT_INTERACTIVE;
const size_t memory = crypto_pwhash_MEMLIMIT_INTERACTIVE;

void ready()
{
    static const bool started = sodium_init() >= 0;
    if (!started)
        throw DbError(QStringLiteral("The password library cannot start on this computer."));
}

} // namespace

namespace Password {

namespace {
QString hashWith(const QString& text, unsigned long long passes, size_t bytesOfMemory)
{
    ready();
    const QByteArray bytes = text.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, bytes.constData(), quint64(bytes.size()), passes, bytesOfMemory) !=
        0)
        throw DbError(QStringLiteral("There is not enough memory to keep a password safely."));
    return QString::fromLatin1(out);
}

} // namespace

QString hash(const QString& text)
{
    return hashWith(text, operations, memory);
}

QString hashCode(const QString& text)
{
    return hashWith(text, 2, size_t(1) << 20);
}

bool verify(const QString& stored, const QString& text)
{
    if (!isHashed(stored))
        return false;
    ready();
    const QByteArray hashed = stored.toLatin1();
    const QByteArray bytes = text.toUtf8();
    return crypto_pwhash_str_verify(hashed.constData(), bytes.constData(), quint64(bytes.size())) ==
           0;
}

bool isHashed(const QString& stored)
{
    return stored.startsWith(QLatin1String("$argon2id$")) &&
           stored.size() < int(crypto_pwhash_STRBYTES);
}

bool needsRehash(const QString& stored)
{
    ready();
    const QByteArray hashed = stored.toLatin1();
    return crypto_pwhash_str_needs_rehash(hashed.constData(), operations, memory) != 0;
}

} // namespace Password
