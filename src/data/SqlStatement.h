#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

// A statement in the shop's wording with its values bound to its ? placeholders, in order:
// texts as QString, whole numbers as qlonglong, numbers as double, dates as QDate, yes/no as
// bool, and empty values as a null of their kind. A value never becomes statement text.
struct SqlStatement
{
    QStringList lines;
    QVariantList values = {};

    QString text() const { return lines.join(QLatin1Char('\n')); }
};

// One statement after the other: their lines and their values, in order.
inline SqlStatement operator+(SqlStatement first, const SqlStatement& second)
{
    first.lines += second.lines;
    first.values += second.values;
    return first;
}
inline SqlStatement operator+(const QStringList& first, const SqlStatement& second)
{
    return SqlStatement{first} + second;
}
inline SqlStatement operator+(SqlStatement first, const QStringList& second)
{
    first.lines += second;
    return first;
}
