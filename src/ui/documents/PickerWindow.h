#pragma once

#include <QPointer>
#include <QWidget>

class DataGrid;
class LineWindow;
class QLineEdit;
class Query;

struct PickerDescription
{
    QString caption;
    QString heading;
    QString table;   // the catalogue: "Part"
    QString columns; // the grid's columns, "*" for all
    // Columns a search text is looked for in, anywhere in their text.
    QStringList searchColumns;
    QString sortColumn;
    QStringList titles;
    bool navigator = false;
};

// A window that searches a catalogue and copies the chosen row into the line window that
// showed it. It lives for the whole run and is only shown and hidden; it holds its own rows,
// so no other window's list changes what it shows, and it keeps them while the catalogue is
// unchanged.
class PickerWindow : public QWidget
{
    Q_OBJECT

public:
    explicit PickerWindow(PickerDescription description, QWidget* parent = nullptr);

    // Shows the whole catalogue, without making the window modal, above and centred over the
    // line window, and fills that line window on Select. It hides when that window closes.
    void showFor(LineWindow* line);
    void search(const QString& text);
    // Copies the current row into the line window and hides the picker.
    void select();

    DataGrid* grid() const { return m_grid; }
    Query* rows() const { return m_rows; }
    LineWindow* target() const;
    QLineEdit* searchBox() const { return m_search; }

protected:
    // What Select writes into the line, box column and text, from the current row.
    virtual QList<std::pair<QString, QString>> values(const Query& row, LineWindow& line) = 0;
    // Runs after the values were written (the price history of the part picker).
    virtual void picked(const Query& row, LineWindow& line);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Every row of the catalogue shown, from the rows held.
    void loadAll();
    // Reads the whole catalogue when it is not held or changed since; true when it read it.
    bool holdCatalogue();

    PickerDescription m_description;
    Query* m_rows;
    DataGrid* m_grid;
    QLineEdit* m_search;
    QPointer<LineWindow> m_target;
    // The catalogue's change count when it was read, and whether it was.
    quint64 m_loadedAt = 0;
    bool m_full = false;
};
