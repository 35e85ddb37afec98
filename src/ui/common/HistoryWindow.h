#pragma once

#include <QWidget>

#include <functional>
#include <optional>

class DataGrid;
class Query;
class RecordWindow;

// A read-only list of the rows that belong to one document, customer, part or labor
// operation, loaded from the value its opener hands over.
struct HistoryDescription
{
    QString caption;
    QString heading; // empty: no heading band
    // The name of its query; every history window holds rows of its own, so that two such
    // windows (or the opener's other lists) never show each other's rows.
    QString query;
    // The statement for the value the opener hands over; values are embedded safely.
    std::function<QString(const QString& value)> statement;
    QStringList titles;
    bool navigator = false;
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

signals:
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    HistoryDescription m_description;
    Query* m_query;
    DataGrid* m_grid;
    std::function<std::optional<QString>()> m_source;
    bool m_loaded = false;
};
