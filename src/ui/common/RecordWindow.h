#pragma once

#include <QHash>
#include <QSet>
#include <QStringList>
#include <QWidget>

#include <optional>

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
    // KeyPress is a character key; AnyKeyPress every key, taken before the list moves.
    enum Event
    {
        Click = 1,
        KeyRelease = 2,
        KeyPress = 4,
        NavigatorClick = 8,
        AnyKeyPress = 16
    };

    QString title;       // heading, "Parts"
    QString table;       // "Part"
    QString listQuery;   // bound to the grid and the navigator
    QString lookupQuery; // existence tests, next number, drop-down lists
    QString listStatement;
    // The statement the list is reloaded with after Save, when it differs.
    QString saveListStatement = {};
    // The key box first; the order is also the Enter order.
    QList<RecordBox> boxes;
    // Where Enter in the last box goes (a column of boxes).
    QString enterWrapsTo;
    // The Enter order when it differs from the order of the boxes; boxes left out are reached
    // with Tab only. An empty order: Enter, Left arrow and F2 do nothing in the boxes.
    std::optional<QStringList> focusOrder = {};
    // Titles after Save; also after showing, Refresh and Cancel unless given below. An empty
    // list leaves the column names as titles.
    QStringList titles;
    std::optional<QStringList> showTitles = {};
    std::optional<QStringList> refreshTitles = {};
    std::optional<QStringList> cancelTitles = {};
    // Columns a title click sorts on; empty: every column.
    QStringList sortable = {};
    QString insertedMessage;
    QString updatedMessage;
    AfterSave afterSave = AfterSave::FirstRowCopied;
    Cancel cancel = Cancel::Refresh;
    bool refreshCopiesFirstRow = true;
    // Refresh returns the list to the row of the key in the key box.
    bool refreshKeepsKey = false;
    // Refresh, Delete and Cancel leave the focus in the list.
    bool refreshFocusesGrid = false;
    bool figuresOnShow = false;
    QString searchBoxName = QStringLiteral("SearchBox");
    QString cancelCaption = QStringLiteral("Cancel ( Esc )");
    // Events that copy the current row into the boxes, and those that also recompute the
    // figures.
    int followOn = Click | KeyRelease | KeyPress | NavigatorClick;
    int figuresOn = Click | KeyRelease | NavigatorClick;
    bool searchComputesFigures = false;
    // Keys taken in the grid: Qt::Key_F2 (Save), F3 (New), F5 (Refresh), F8 (Delete).
    QList<int> gridKeys = {};
    // Box texts New puts in, by column, and those it takes from the shop's profile (a column
    // of Reg, such as City_R).
    QHash<QString, QString> newDefaults = {};
    QHash<QString, QString> newFromProfile = {};
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
    // Box values by column, checked for their kinds: text escaped for use between quotes,
    // numbers bare, dates as whole literals (#3/7/2005#, or Null for an empty box). Throws
    // before any statement runs.
    using Values = QHash<QString, QString>;
    Values values() const;

    // One statement line per column, pattern filled with the column (%1) and its value (%2).
    static QStringList lines(const Values& v, const QStringList& columns, const QString& pattern);

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
    void moveToKey(const QString& key);
    void loadWith(const QString& statement, const QStringList& titles);

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
