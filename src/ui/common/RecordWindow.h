#pragma once

#include <QHash>
#include <QSet>
#include <QStringList>
#include <QWidget>

class DataGrid;
class FocusChain;
class Navigator;
class Query;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

// One box of a record window: the column it shows and writes, its label and its kind.
struct RecordBox
{
    enum Kind
    {
        Edit,
        List,
        Date
    };

    QString column;
    QString label;
    Kind kind = Edit;
    // For a List box: the statement its items come from, on the look-up query.
    QString listStatement = {};
};

// What makes one catalogue window different from the others.
struct RecordDescription
{
    enum class AfterSave
    {
        FirstRowCopied, // list on its first row, copied into the boxes
        SavedKeyTyped,  // list on the saved key, boxes as typed
        FirstRowTyped,  // list on its first row, boxes as typed
        SavedKeyCopied, // list on the saved key, copied into the boxes
    };
    enum class Cancel
    {
        Refresh,
        ReloadFirstRow,
        CurrentRow
    };
    enum Event
    {
        Click = 1,
        KeyRelease = 2,
        KeyPress = 4,
        NavigatorClick = 8
    };

    QString title;       // heading, "Parts"
    QString table;       // "Part"
    QString listQuery;   // bound to the grid and the navigator
    QString lookupQuery; // existence tests, next number, drop-down lists
    QString listStatement;
    // The key box first; the order is also the Enter order.
    QList<RecordBox> boxes;
    // Where Enter in the last box goes (a column of boxes).
    QString enterWrapsTo;
    QStringList titles;
    // Titles after Refresh and Cancel when they differ.
    QStringList refreshTitles = {};
    // Columns a title click sorts on; empty: every column.
    QStringList sortable = {};
    QString insertedMessage;
    QString updatedMessage;
    AfterSave afterSave = AfterSave::FirstRowCopied;
    Cancel cancel = Cancel::Refresh;
    bool refreshCopiesFirstRow = true;
    // Events that copy the current row into the boxes, and those that also recompute the
    // figures.
    int followOn = Click | KeyRelease | KeyPress | NavigatorClick;
    int figuresOn = Click | KeyRelease | NavigatorClick;
    bool searchComputesFigures = false;
    // Keys taken in the grid: Qt::Key_F2 (Save), F3 (New), F5 (Refresh), F8 (Delete).
    QList<int> gridKeys = {};
    // Box texts New puts in, by column.
    QHash<QString, QString> newDefaults = {};
    // Number columns written as 0 when their box is empty.
    QStringList zeroWhenEmpty = {};
};

// A catalogue window: a list of the rows of one table above boxes that show one row, with
// New, Save, Delete, Refresh and Cancel. A concrete window gives its description and adds
// only what it alone does (figures, history buttons, checks).
class RecordWindow : public QWidget
{
    Q_OBJECT

public:
    explicit RecordWindow(RecordDescription description, QWidget* parent = nullptr);

    const RecordDescription& description() const { return m_description; }
    Query* listQuery() const { return m_list; }
    Query* lookupQuery() const { return m_lookup; }
    DataGrid* grid() const { return m_grid; }

    // The box text of a column.
    QString text(const QString& column) const;
    void setText(const QString& column, const QString& text);
    QWidget* box(const QString& column) const;

    // The commands; each runs guarded from its button or key.
    virtual void showList();
    virtual void newRecord();
    virtual void save();
    virtual void remove();
    virtual void refresh();
    virtual void cancel();

    // Copies the list's current row into every box (empty boxes for an empty list).
    void copyRow();

protected:
    // Escaped box values by column, checked for their kinds: text ready to go between
    // quotes, numbers bare, dates for use between # signs. Throws before any statement runs.
    using Values = QHash<QString, QString>;
    Values values() const;

    virtual QStringList existsStatement(const Values& v) const;
    virtual QStringList updateStatement(const Values& v) const;
    virtual QStringList insertStatement(const Values& v) const;
    virtual QStringList deleteStatement(const Values& v) const;

    // The window's figures for the row in the boxes.
    virtual void computeFigures() {}
    // Runs after the list was (re)loaded by any command.
    virtual void listLoaded() {}

    // Figures column and extra buttons of the concrete window.
    QLabel* addFigure(const QString& caption, const QString& name, const QString& text);
    QPushButton* addButton(const QString& text, const QString& name);
    QVBoxLayout* figuresLayout() const { return m_figures; }
    FocusChain* focusChain() const { return m_chain; }

    void loadList(const QStringList& titles);
    void setTitles(const QStringList& titles);
    void runStatement(Query* query, const QStringList& lines);
    QString keyColumn() const { return m_description.boxes.first().column; }

    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildForm();
    void follow(RecordDescription::Event event);
    void titleClicked(int column);
    void search(const QString& text);
    QStringList listValues(const QString& statement);
    void afterSave(const QString& key);

    RecordDescription m_description;
    Query* m_list;
    Query* m_lookup;
    DataGrid* m_grid = nullptr;
    Navigator* m_navigator = nullptr;
    FocusChain* m_chain = nullptr;
    QHash<QString, QWidget*> m_boxes;
    QGridLayout* m_boxGrid = nullptr;
    QVBoxLayout* m_figures = nullptr;
    QVBoxLayout* m_buttons = nullptr;
    QLineEdit* m_search = nullptr;
    QString m_sortColumn;
    bool m_shown = false;
};
