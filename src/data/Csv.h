#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Currency;
class Field;
class QByteArray;

// Rows that leave the program for a spreadsheet, and rows read back from one: comma-separated
// files as RFC 4180 has them (UTF-8, a header row, quotes doubled, CRLF between records) and
// the tab-separated text spreadsheets paste into columns.
namespace Csv {

struct Table
{
    QStringList titles;
    QList<QStringList> rows;
};

// A value as a spreadsheet reads it right whatever its language: money and numbers plain with
// a dot (money with at least two decimals), dates yyyy-mm-dd, yes/no as Yes and No, texts as
// they are, nothing for an empty value.
QString plainValue(const Field& field);
// Money plain with a dot and at least two decimals ("1234.50", "-3.1250").
QString plainMoney(const Currency& money);

// A cell of a comma-separated file, in quotes (its own doubled) when it holds a comma, a quote,
// a line break or spaces at either end.
QString quoted(const QString& cell);

// The file's bytes: UTF-8 with the byte-order mark that tells spreadsheets so, the titles
// first, each record ended by CRLF.
QByteArray document(const Table& table);
// Several tables in one file, each under its own titles, a blank line between them.
QByteArray document(const QList<Table>& tables);

// The rows as spreadsheets paste them: cells separated by tabs, rows by line breaks; a cell
// holding a tab, a line break or a quote is quoted, its quotes doubled.
QString tabText(const Table& table);

// A comma-separated file read back: the first record is the titles; a byte-order mark, CRLF or
// LF line ends and quoted cells with commas, quotes and line breaks are understood; an empty
// last line is no record. Throws DbError naming the line where a quote is never closed, or
// where text follows a closing quote.
Table parse(const QByteArray& bytes);

} // namespace Csv
