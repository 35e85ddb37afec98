#pragma once

#include <QDate>
#include <QString>

// Text forms the shop uses everywhere: the short date month/day/year, plain numbers.
namespace Formats {

// "3/7/2005" for the seventh of March 2005.
QString shortDate(const QDate& date);
// Accepts M/d/yyyy, MM/dd/yyyy and two-digit years (00-49 are 20xx, 50-99 are 19xx).
QDate parseShortDate(const QString& text);
// The stored form of a date column: ISO "2005-03-07".
QString isoDate(const QDate& date);
// Turns a stored ISO date back into the short form; other text is returned as it is.
QString isoToShort(const QString& iso);

// The shortest plain form of a number: "12.5", "3", "0.25".
QString plainNumber(double value);
// Number typed by a user: decimal point, optional thousands commas, optional sign.
double parseNumber(const QString& text, bool* ok);

// The refusal of a text that is not a number or a date; box is the caption of the box it was
// typed into ("Qty: 'two' is not a valid number."), empty when there is none.
// A whole number typed into a box ("12", " -3 "); throws DbError naming box and text for
// anything else.
qint64 wholeNumber(const QString& text, const QString& box = QString());
QString notANumberMessage(const QString& text, const QString& box = QString());
QString notADateMessage(const QString& text, const QString& box = QString());

} // namespace Formats
