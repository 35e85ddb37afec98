#pragma once

#include "data/Field.h"
#include "data/RowReader.h"
#include "data/Schema.h"
#include "data/SqlSelect.h"
#include "data/SqlStatement.h"
#include "data/TextSearch.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

class Connection;

// A named query of the data module. Statement text is built line by line, then open() loads
// all rows into memory (a client-side cursor: exact counts, moving both ways, sorting and
// searching without the database) or exec() runs a change. Grids and navigators bound to the
// query follow it through its signals.
class Query : public QObject
{
    Q_OBJECT

public:
    Query(const QString& name, Connection* connection, QObject* parent = nullptr);
    ~Query() override;

    QString name() const { return objectName(); }
    Connection* connection() const { return m_connection; }

    void clear();
    void add(const QString& line);
    QStringList sql() const { return m_lines; }
    // A statement written whole, or one whose values are bound to its placeholders.
    void setSql(const QStringList& lines);
    void setSql(const SqlStatement& statement);

    // Runs the statement for rows; throws DbError with the database's message and leaves the
    // query closed when the statement is rejected.
    void open();
    // Runs the statement as a change and returns the number of rows it changed; the query
    // holds no rows afterwards.
    int exec();
    void close();
    bool isOpen() const { return m_open; }

    // Opens a list that may be long a screen of rows at a time: how many rows there are comes
    // from an aggregate, and rows are read as they are first asked for, in the list's order
    // (the order they were added in, or sort()'s), a few hundred at most kept at once.
    // sort(), locate(), findRow() and findKey() then ask the database, on its indexes;
    // filterContaining() is for rows loaded whole.
    // sort is the order to read in (as sort() takes it), the order rows were added in when
    // empty.
    void openPaged(const TableRead& read, const QString& sort = {});
    // Loads every row of a list read a screen at a time, in its order, for printing.
    void openWhole(const Query& list);
    bool isPaged() const { return m_paging != nullptr; }
    // The rows read so far, in the current order from the first: rows a window can measure
    // without reading more.
    int heldRows() const;

    int recordCount() const;
    bool isEmpty() const { return recordCount() == 0; }
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    // Position of the current row in the current order, -1 when there is none.
    int currentRow() const { return m_current; }
    void setCurrentRow(int row);
    void first();
    void next();
    void prior();
    void last();

    int columnCount() const { return int(m_columns.size()); }
    QString columnName(int column) const { return m_columns.at(column).name; }
    ColumnKind columnKind(int column) const { return m_columns.at(column).kind; }
    int columnIndex(const QString& name) const;
    QStringList columnNames() const;
    // The values of one column of every row, as text, in the current order.
    QStringList values(int column = 0) const;

    // The hidden key of a row in the current order (of the current row), 0 when the
    // statement read none; and the position of the row with that key, -1 when there is none.
    qint64 rowKey(int row) const;
    qint64 currentKey() const { return rowKey(m_current); }
    int findKey(qint64 key) const;

    // The named column of the current row; throws when the query has no such column.
    Field field(const QString& name) const;
    Field field(int row, int column) const;
    // What a grid shows in a cell: dates short, money with two decimals.
    QString displayText(int row, int column) const;

    // "Col", "Col DESC", or several such separated by commas; sorts the loaded rows by the
    // columns' own kinds. An empty text restores the order the database returned.
    void sort(const QString& spec);
    QString sortText() const { return m_sort; }
    // Keeps, of the loaded rows in their current order, those where any of columns holds text
    // anywhere, ignoring letter case; an empty text shows every row again. Nothing is read
    // again, and sorting keeps the filter. The query is then on its first row.
    void filterContaining(const QStringList& columns, const QString& text);
    QString filterText() const { return m_filterText; }
    // Moves to the first row whose value in column starts with text, ignoring letter case.
    // Returns false and stays when no row matches.
    bool locate(const QString& column, const QString& text);
    // The position of the row whose value in column reads exactly text (a key), -1 when there
    // is none. Looked up in an index built on first use and kept until the rows change.
    int findRow(const QString& column, const QString& text) const;
    // The column rows are found by most often: its index is made whenever rows are loaded.
    void setKeyColumn(const QString& column);

signals:
    void aboutToChangeRows();
    void rowsChanged();
    void currentRowChanged(int row);

private:
    struct Paging;
    struct SortKey
    {
        int column;
        bool descending;
    };
    QList<SortKey> sortKeys(const QString& spec) const;
    void sortPaged(const QList<SortKey>& keys, const QString& spec);
    // The rows of the page holding row, and where row is among them (-1 when the page came
    // back short: the table changed since it was counted).
    const RowStore& pageHolding(int row, int* at) const;
    // Reads the page of rows at index into page; returns the columns read.
    QList<RowColumn> readPage(int index, RowStore& rows, QList<int>& stored) const;
    int pagedPosition(qint64 key) const;
    int pagedFirst(const QString& condition, const QVariantList& values) const;
    bool locateOnPages(int column, const QString& text);
    QVariant scalar(const QString& statement, const QVariantList& values) const;
    std::unique_ptr<Paging> m_paging;

    QString statement() const;
    void resetRows();
    QHash<QString, int> keyIndex(int column) const;
    void setCurrent(int row, bool eof, bool bof);

    Connection* m_connection;
    QStringList m_lines;
    QVariantList m_values;
    bool m_open = false;
    QList<RowColumn> m_columns;
    RowStore m_rows;
    QList<int> m_order;
    QString m_sort;
    // Sort orders worked out for these rows, by sort text, so that sorting the same rows on
    // the same columns again costs nothing; and the rows by their text, per column.
    QHash<QString, QList<int>> m_sorted;
    mutable QHash<int, QHash<QString, int>> m_keys;
    QString m_keyColumn;
    // The filter of filterContaining: the rows in order before it, its columns and its text.
    QList<int> m_unfiltered;
    QList<int> m_filterColumns;
    QString m_filterText;
    // The filter's text case-folded, and the rows' texts folded for it.
    QByteArray m_folded;
    TextSearch m_search;
    void applyFilter(bool narrowing = false);
    int m_current = -1;
    bool m_eof = true;
    bool m_bof = true;
};
