#pragma once

#include <QDialog>

#include <functional>

class DataGrid;
class Query;

// A read-only list of the rows that belong to one document, customer, part or labor
// operation, reloaded every time it is shown.
struct HistoryDescription
{
    QString caption;
    QString heading; // empty: no heading band
    QString query;
    // The statement for the value the opener hands over; values are embedded safely.
    std::function<QString(const QString& value)> statement;
    QStringList titles;
};

class HistoryWindow : public QDialog
{
    Q_OBJECT

public:
    explicit HistoryWindow(HistoryDescription description, QWidget* parent = nullptr);

    // Runs the statement for value and shows its rows from the first.
    void load(const QString& value);
    // Loads the rows for value and shows the window modally until it is closed.
    void showFor(const QString& value);

    DataGrid* grid() const { return m_grid; }
    Query* query() const { return m_query; }

private:
    HistoryDescription m_description;
    Query* m_query;
    DataGrid* m_grid;
};
