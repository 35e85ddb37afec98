#pragma once

#include <QString>

class QByteArray;

// The files the program writes for the user (PDF, CSV, prepared reports): where they are
// proposed, and how they are written.

// A file to save title into, proposed to the user: in the folder of the last file they chose
// during this session (their documents folder to begin with), named after the title without
// the characters file systems refuse, with suffix.
QString proposedFile(const QString& title, const QString& suffix);
// Remembers the folder of a file the user chose (nothing for an empty text).
void rememberFolder(const QString& chosen);
// Writes bytes to fileName whole or not at all (a file already there stays as it was when the
// write fails). Returns an empty text on success, otherwise the reason, naming the file.
QString writeFile(const QString& fileName, const QByteArray& bytes);
