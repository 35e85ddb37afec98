#pragma once

#include "data/SqlRow.h"
#include "stores/Store.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace Csv {
struct Table;
}

// A catalogue (parts, customers, vendors) read from a spreadsheet's CSV file: its columns
// mapped by their titles, every row checked before anything is written, then the new rows
// added under new numbers and the rows already kept changed, all in one transaction.
class CatalogueImport : public Store
{
public:
    struct Column
    {
        QString column;
        // The titles the column is known by, the first one shown (a box's caption, the list's
        // title); the column's own name is known too. Compared without capitals, spaces, "$"
        // or ":" at the ends.
        QStringList titles;
    };
    struct Description
    {
        QString table;
        QString idColumn;  // the number each row is given (ID_Material)
        QString keyColumn; // what tells a row of the file is one already kept (Color_Material)
        QString noun;      // "part"
        QString nouns;     // "parts"
        QList<Column> columns;
        // How an empty cell of a number column is written (a price left empty is 0.00).
        QHash<QString, SqlRow::EmptyNumber> emptyNumbers = {};
        // The texts a new row gets in the columns the file leaves out, as New gives them.
        QHash<QString, QString> defaults = {};
    };

    struct Row
    {
        int row = 0; // as a spreadsheet numbers it: the titles are row 1
        QString key;
        SqlRow values;
        qint64 rowKey = 0;   // the kept row it changes; 0 for a new one
        QStringList changes; // "Price $ 12.00 -> 13.50"
    };
    struct Plan
    {
        QString fileName;
        QStringList read;    // the titles of the columns read
        QStringList ignored; // the titles of the file no column is known by
        QList<Row> adds;
        QList<Row> changes;
        int same = 0; // rows the catalogue holds already as they are
        // What the user is asked before anything is written.
        QString question(const Description& description) const;
    };

    CatalogueImport(Description description, Connection* connection = nullptr);

    // Reads the file's rows against the catalogue. Throws DbError naming the row and the
    // column of the first cell that breaks a rule: no key column, an empty key, a key twice in
    // the file or kept twice in the catalogue, a number or date that is none, more cells than
    // titles.
    Plan plan(const Csv::Table& table, const QString& fileName = QString()) const;
    // Writes the plan in one transaction: all of it, or nothing when any row fails.
    void write(const Plan& plan) const;

    const Description& description() const { return m_description; }

private:
    Description m_description;
};
