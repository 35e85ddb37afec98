#pragma once

#include "data/SqlSelect.h"

#include <QWidget>

#include <functional>
#include <optional>

class Field;
class DataGrid;
class QBoxLayout;
class QLabel;
class QLineEdit;
class Query;
class RecordWindow;

// A read-only list of the rows that belong to one document, customer, part or labor
// operation, loaded from the value its opener hands over.
struct HistoryDescription
{
    QString caption;
    QString heading; // empty: no heading band
    // The rows for the value the opener hands over, the value bound; none: nothing to look
    // for. The list reads them a screen at a time.
    std::function<std::optional<TableRead>(const QString& value)> statement;
    QStringList titles;
    bool navigator = false;

    // A title click sorts ascending on its column and turns its title red, when the column is
    // one of sortable (every column when sortable is empty); other titles stay black.
    bool titleSort = false;
    QStringList sortable = {};
    // The order the rows are shown in after loading; the database's order when empty.
    QString initialSort = {};
    // The table the navigator's delete removes the current row from, after asking; empty
    // without a delete button.
    QString deleteFrom = {};
    // A figure beside the navigator ("Total Receivable"), read with its own statement after
    // the rows load and after every navigator button; "0.00" when there is nothing to sum.
    struct Total
    {
        QString caption;
        QString name;
        std::function<Field()> read;
    };
    std::optional<Total> total = {};
    // A "Print" button that prints the rows the window shows, in their order.
    std::function<void(const Query* rows)> print = {};
    // A double click (or Enter) on a row hands it to whoever opened the window, which then
    // closes.
    std::function<void(const Query* row)> pick = {};

    // Rows of a statement over several tables, read whole, instead of statement's a screen at
    // a time (none: nothing to look for).
    std::function<std::optional<SqlStatement>(const QString& value)> wholeStatement = {};
    // A box above the list whose text is the value: the list follows it a moment after the
    // user stops typing, and at once on Enter.
    struct Search
    {
        QString caption; // with its & key
        QString name;
        QString placeholder = {};
    };
    std::optional<Search> search = {};
    // A second list under the first, of the rows that belong to its current row.
    struct Detail
    {
        QString name;
        QStringList titles;
        std::function<std::optional<SqlStatement>(const Query& row)> statement;
    };
    std::optional<Detail> detail = {};
};

class HistoryWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HistoryWindow(HistoryDescription description, QWidget* parent = nullptr);

    // Runs the statement for value and shows its rows from the first.
    void load(const QString& value);
    // Loads the rows for value and shows the window modally until it is closed.
    void showFor(const QString& value);
    // For a child window: where the value comes from when it is first shown. The source
    // answers nothing when its window has been closed; the list then stays empty.
    void setSource(std::function<std::optional<QString>()> source);
    // The value is the text of opener's box for column, read when the window is first shown.
    void readFrom(RecordWindow* opener, const QString& column);

    DataGrid* grid() const { return m_grid; }
    Query* query() const { return m_query; }
    // The value the rows were read for.
    QString value() const { return m_value; }
    QLineEdit* searchBox() const { return m_searchBox; }
    DataGrid* detailGrid() const { return m_detailGrid; }
    Query* detailQuery() const { return m_detailQuery; }
    QLabel* total() const { return m_total; }

    // The navigator's delete: removes the row the list shows as current, exactly that one,
    // after the user agreed, and reloads the rows.
    void deleteCurrent();
    // Re-reads the total figure.
    void readTotal();

signals:
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void titleClicked(int column);
    void pick();
    void printRows();
    // Opens the list's rows for the value in the given order.
    void openRows(const QString& order);
    void loadDetail();
    void addSearch(QBoxLayout* layout);

    HistoryDescription m_description;
    Query* m_query;
    DataGrid* m_grid;
    QLabel* m_total = nullptr;
    QLineEdit* m_searchBox = nullptr;
    Query* m_detailQuery = nullptr;
    DataGrid* m_detailGrid = nullptr;
    QString m_value;
    std::optional<TableRead> m_read;
    std::function<std::optional<QString>()> m_source;
    bool m_loaded = false;
};
