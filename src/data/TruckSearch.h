#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The index that finds a truck's documents by any part of its VIN, truck number or plate. On
// the embedded file it is a full-text table of three-letter pieces kept up to date by
// triggers; on a server, trigram indexes of the documents' tables.
namespace TruckSearch {

// The documents searched, each with its number in the file's index keys (the row's key times
// four plus this number).
struct Source
{
    QString table;
    int kind;
};
const QList<Source>& sources();

// The fewest letters the index finds anywhere in a value; a shorter text is looked for as a
// whole truck number or plate.
constexpr int Shortest = 3;

// The statements that make the index of a shop on the engine, and fill it from the documents
// already stored.
QStringList createStatements(bool server);

// The text of the server's index of a document table, searched with ILIKE.
QString serverKey(const QString& alias);
// The file's full-text query for a text, its letters taken as they are.
QString fileMatch(const QString& text);
// The server's ILIKE pattern for a text anywhere, its own %, _ and \ taken as themselves.
QString serverPattern(const QString& text);

} // namespace TruckSearch
