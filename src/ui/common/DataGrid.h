#pragma once

#include <QColor>
#include <QHash>
#include <QTableView>

#include <functional>

namespace Csv {
struct Table;
}
class Query;
class QueryModel;
class QFontMetrics;

// A read-only list over a query: whole rows are selected, the current row is the query's
// current row (both ways), rows are striped in two shades and the current cell is framed,
// red while the grid has the focus. A click on a column title is reported; the window
// decides whether it sorts.
class DataGrid : public QTableView
{
    Q_OBJECT

public:
    DataGrid(Query* query, QWidget* parent = nullptr);

    Query* query() const { return m_query; }
    QueryModel* queryModel() const { return m_model; }

    // Titles of the first columns, in column order.
    void setTitles(const QStringList& titles);
    // Draws the title of column red and the others black; -1 for all black.
    void setRedTitle(int column);
    // Background of a row; an invalid colour keeps the striping.
    void setRowColour(std::function<QColor(int row)> colour);
    // Text colour of a row; an invalid colour keeps black.
    void setRowTextColour(std::function<QColor(int row)> colour);

    // The rows as a spreadsheet takes them: the titles the grid shows and the plain values of
    // its columns (money and numbers with a dot, dates yyyy-mm-dd), for every row the list
    // holds (a list read a screen at a time is read whole), or for the selected rows only (the
    // current row when none is selected).
    Csv::Table rowsTable(bool selectedOnly) const;
    // Copy (Ctrl+C): the selected rows on the clipboard as tab-separated text.
    void copyRows() const;
    // Export...: asks for a file, then writes every row the list holds to it as CSV; a file
    // that cannot be written is reported and nothing else happens.
    void exportRows() const;
    bool exportRowsTo(const QString& fileName) const;

signals:
    void titleClicked(int column);
    // A cell was clicked with the mouse.
    void cellClicked();

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Copy and Export... on the grid's own menu; Ctrl+C copies.
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Typed characters never move the list on their own: the window decides what they do.
    void keyboardSearch(const QString&) override {}

private:
    void followQuery();
    // Gives every column its width after the rows were replaced: the width the user dragged it
    // to in this window during this session, else the width its title and first rows need
    // (measured once per column), up to a maximum.
    void applyWidths();
    int titleWidth(const QFontMetrics& metrics, int column) const;
    void numberRows();
    QString widthKey() const;

    class Delegate;
    Query* m_query;
    QueryModel* m_model;
    std::function<QColor(int)> m_rowColour;
    std::function<QColor(int)> m_rowTextColour;
    bool m_syncing = false;
    bool m_sizing = false;
    int m_rowDigits = 0;
};
