#pragma once

#include <QString>

struct DatabaseTarget;
class QTextStream;

// tavlin --user add NAME, --user password NAME, --user disable NAME, --user enable NAME: the
// shop's users managed without a display. A password is read from standard input, never from
// the command line: one line from a pipe, or asked twice at a terminal without showing it.
// Returns the exit code.
int userCommand(const DatabaseTarget& target, const QString& action, const QString& name,
                QTextStream& out, QTextStream& err);
