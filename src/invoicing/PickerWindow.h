#pragma once

#include <QWidget>

class DataGrid;
class QLineEdit;
class Query;

struct PickerDescription
{
    QString caption;
    QString heading;
    QString listStatement;
    // The statement for a search text: prefix + text + suffix, the text embedded safely.
    QString searchPrefix;
    QString searchSuffix;
    QString sortColumn;
    QStringList titles;
    bool centred = false;
};

// A window that searches a catalogue and copies the chosen row into the line window created
// last. It lives for the whole run and is only shown and hidden; it holds its own rows, so no
// other window's list changes what it shows.
class PickerWindow : public QWidget
{
    Q_OBJECT

public:
    explicit PickerWindow(PickerDescription description, QWidget* parent = nullptr);

    // Reloads the full list and shows the window without making it modal.
    void showPicker();
    void search(const QString& text);
    // Copies the current row into the line window and hides the picker.
    void select();

    DataGrid* grid() const { return m_grid; }
    Query* rows() const { return m_rows; }

protected:
    // Writes the current row into the target; false when there is no line window to fill.
    virtual bool copyRow() = 0;

private:
    PickerDescription m_description;
    Query* m_rows;
    DataGrid* m_grid;
    QLineEdit* m_search;
};
