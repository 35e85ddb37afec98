#pragma once

#include <QString>

// How the shop keeps passwords and the archive code: never as typed, but as libsodium's
// argon2id string ($argon2id$v=19$m=...,t=...,p=...$salt$hash), which names its method and
// costs, so that a later release can make them stronger.
namespace Password {

// A new password's fewest characters.
constexpr int minimumLength = 8;

// The stored form of text: a fresh salt each time, about a tenth of a second of work on a
// counter computer. Throws DbError when the library cannot run.
QString hash(const QString& text);
// The stored form of a code checked as it is typed, key by key (the archive code): the same
// method at costs a keystroke can afford, about a millisecond. A code only unlocks a button of
// a signed-in user's window; a password keeps the whole shop.
QString hashCode(const QString& text);
// Whether text is what stored was made from; false for anything that is not a stored hash.
bool verify(const QString& stored, const QString& text);
// Whether stored is a hash of this kind (and not a password kept as typed by an older shop).
bool isHashed(const QString& stored);
// Whether stored was made with other costs than today's: made again at the next sign-in.
bool needsRehash(const QString& stored);

} // namespace Password
