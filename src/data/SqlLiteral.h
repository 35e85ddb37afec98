#pragma once

#include <QString>

// The only way a box's text reaches a statement. Every helper either returns text that cannot
// change the shape of the statement it is put into, or throws DbError naming the value, so a
// command stops before its first statement runs.
namespace Sql {

// For use between the statement's own single quotes: every quote doubled, NUL removed.
QString text(const QString& value);
// A number written bare ("12.5"); accepts thousands commas and surrounding blanks. box is the
// caption a refusal names.
QString number(const QString& value, const QString& box = QString());
// A whole number written bare, for keys and counts.
QString integer(const QString& value, const QString& box = QString());
// A date for use between the statement's own # signs, in month/day/year order ("3/7/2005").
QString date(const QString& value, const QString& box = QString());
// A Like pattern that finds text anywhere, its own % and _ (and the escape \) matched as
// themselves: for use with ESCAPE '\'.
QString containing(const QString& text);
// A Like pattern that finds text at the start, matched the same way.
QString startingWith(const QString& text);
// The bare words the yes/no columns are compared with.
QString yesNo(bool value);

} // namespace Sql
