#pragma once

#include "data/SqlSelect.h"
#include "ui/common/FormBoxes.h"

#include <QHash>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>

class DataGrid;
class FocusChain;
class Navigator;
class Query;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

// The boxes of record windows are form boxes.
using RecordBox = FormBox;

// What makes one record window different from the others.
struct RecordDescription
{
    enum class AfterSave
    {
        FirstRowCopied, // list on its first row, copied into the boxes
        SavedKeyTyped,  // list on the saved key, boxes as typed
        FirstRowTyped,  // list on its first row, boxes as typed
        SavedKeyCopied, // list on the saved key, copied into the boxes
        Refresh,        // the window's Refresh
    };
    enum class Cancel
    {
        Refresh,
        ReloadFirstRow,
        CurrentRow,
        Nothing, // the button is there and does nothing
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
    // What the first box holds: a whole number that New proposes, a text key, or no key at all
    // (the window's rows are told apart by other columns).
    enum class Key
    {
        Integer,
        Text,
        None
    };

    QString title;        // heading, "Parts"
    QString caption = {}; // window caption when it differs from the title ("PoOrder")
    QString table;        // "Part"
    // The list's rows: a read of the table, which the list shows a screen at a time.
    TableRead listStatement;
    // The read the list is reloaded with after Save, when it differs.
    std::optional<TableRead> saveListStatement = {};
    // The key box first (unless the window has no key); the order is also the Enter order.
    QList<RecordBox> boxes;
    Key key = Key::Integer;
    // What tells the record the boxes show from the others: the key box (Save updates the row
    // whose key is typed, or adds one), or the row the user chose in the list, by its hidden
    // key (Save changes that row and Delete removes it, whatever the boxes say; New's Save
    // adds a row), for rows no column tells apart.
    enum class Identity
    {
        KeyBox,
        ChosenRow
    };
    Identity identity = Identity::KeyBox;
    // Where Enter in the last box goes (a column of boxes).
    QString enterWrapsTo = {};
    // The Enter order when it differs from the order of the boxes; boxes left out are reached
    // with Tab only. An empty order: Enter, Left arrow and F2 do nothing in the boxes.
    std::optional<QStringList> focusOrder = {};
    QList<FocusLink> focusLinks = {};
    // The boxes in columns on the form; two even columns when empty.
    QList<QStringList> boxColumns = {};
    // Titles after Save; also after showing, Refresh and Cancel unless given below. An empty
    // list leaves the column names as titles.
    QStringList titles;
    std::optional<QStringList> showTitles = {};
    std::optional<QStringList> refreshTitles = {};
    std::optional<QStringList> cancelTitles = {};
    // Columns a title click sorts on; empty: every column. Without titleSort no title sorts.
    QStringList sortable = {};
    bool titleSort = true;
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
    // The column searched before any title is clicked; the key column when empty.
    QString searchColumn = {};
    // Letters typed into the search box become capitals.
    bool upperCaseSearch = false;
    QString cancelCaption = QStringLiteral("Cancel ( Esc )");
    // Object names of New, Save, Delete, Refresh, Cancel and Close.
    QStringList commandNames = {"NewButton",     "SaveButton",   "DeleteButton",
                                "RefreshButton", "CancelButton", "CloseButton"};
    // The commands stand in a column at the left of the boxes instead of at the right.
    bool commandsAtLeft = false;
    // Events that copy the current row into the boxes, and those that also recompute the
    // figures.
    int followOn = Click | KeyRelease | KeyPress | NavigatorClick;
    int figuresOn = Click | KeyRelease | NavigatorClick;
    bool searchComputesFigures = false;
    // Keys taken in the grid: Qt::Key_F2 (Save), F3 (New), F5 (Refresh), F8 (Delete).
    QList<int> gridKeys = {};
    // Box texts New puts in, by column, those it takes from the shop's profile (a column of
    // Reg, such as City_R), the boxes it dates today and those it leaves alone; and the box
    // it moves the focus to (the second box when empty).
    QHash<QString, QString> newDefaults = {};
    QHash<QString, QString> newFromProfile = {};
    QStringList newToday = {};
    QStringList newKeeps = {};
    QString newFocus = {};
    // A box left empty gets this text when the focus leaves it.
    QHash<QString, QString> whenLeftEmpty = {};
    QList<BoxLookup> lookups = {};
    // "Import...": reads a spreadsheet's CSV file into the table, its columns known by the
    // boxes' captions and the list's titles; rows whose keyColumn holds a text already kept
    // are changed, the others added under new numbers of idColumn.
    struct Import
    {
        QString keyColumn;
        QString idColumn;
        QString noun;  // "part"
        QString nouns; // "parts"
    };
    std::optional<Import> import = {};
};

// A record window: a list of the rows of one table above boxes that show one row, with New,
// Save, Delete, Refresh and Cancel, and room for the lines of a document between the boxes and
// the list. A concrete window gives its description and adds only what it alone does
// (figures, history buttons, checks).
class RecordWindow : public QWidget
{
    Q_OBJECT

public:
    explicit RecordWindow(RecordDescription description, QWidget* parent = nullptr);

    const RecordDescription& description() const { return m_description; }
    Query* listQuery() const { return m_list; }
    Query* lookupQuery() const { return m_lookup; }
    DataGrid* grid() const { return m_grid; }
    FormBoxes* boxes() const { return m_boxes; }

    // The box text of a column.
    QString text(const QString& column) const;
    void setText(const QString& column, const QString& text);
    // The box of a column (a date's box with its calendar button).
    QWidget* box(const QString& column) const;

    // The commands; each runs guarded from its button or key.
    virtual void showList();
    virtual void newRecord();
    virtual void save();
    virtual void remove();
    virtual void refresh();
    // Import...: asks for a CSV file and imports it (see RecordDescription::Import).
    void importFile();
    // Reads the file, shows what it would add and change, and after Yes writes it all in one
    // transaction; a file that breaks a rule is refused, naming its row and column. Returns
    // whether anything was written.
    bool importFrom(const QString& fileName);
    virtual void cancel();

    // Copies the list's current row into every box (empty boxes for an empty list).
    virtual void copyRow();
    // Stores the record New began under the number New proposed (or the next free one when
    // another station stored that number meanwhile, telling the user), as one unit with the
    // choice of number. Does nothing, returning false, when the boxes do not show a record
    // New began or its number was typed over. Its lines can then be stored under the number.
    virtual bool claimNewKey();
    // The stored row the boxes show, by its hidden key; 0 when they show a new record.
    qint64 shownRow() const { return m_shownKey; }

    // Places a panel (a document's line grid) between the boxes and the list.
    void addLinePanel(QWidget* panel, int stretch = 1);

protected:
    // The row Save writes: every box, checked for its column's kind. Throws before any
    // statement runs.
    virtual SqlRow rowToSave() const;
    // How an empty number box of column is written: as Null unless the window says otherwise
    // (as 0, or refused with a message naming the box).
    virtual SqlRow::EmptyNumber whenEmpty(const QString& column) const;
    // The box that must hold something for Save, and for Delete, to act: the key box.
    virtual QString neededForSave() const { return keyColumn(); }
    virtual QString neededForDelete() const { return keyColumn(); }
    // The next key New proposes; the largest key plus one (1 for an empty table) by default.
    virtual QString nextKey();
    // Tables whose numbers the window's numbers must not repeat (an archive of its documents).
    virtual QStringList numberedAlongside() const { return {}; }
    // Writes the row as an update of the existing row or as a new one; returns the number of
    // rows written (0: the row to update is no longer stored).
    virtual int writeRow(const SqlRow& row, bool exists);
    // Removes the row the boxes show.
    virtual void deleteRow();
    // Save of the row the user chose (a window whose rows are told apart by their hidden
    // key): changes that row, or adds the new record New began, in one transaction.
    virtual void saveChosenRow(const SqlRow& row);

    // The window's figures for the row in the boxes.
    virtual void computeFigures() {}
    // Runs after the list was (re)loaded by any command.
    virtual void listLoaded() {}
    // After Import... wrote its rows and the list was read again.
    virtual void imported() {}

    // Figures column, extra buttons, line panels and bottom-bar controls of the concrete
    // window.
    QLabel* addFigure(const QString& caption, const QString& name, const QString& text);
    QPushButton* addButton(const QString& text, const QString& name);
    void addCommandWidget(QWidget* widget);
    void addBottomWidget(QWidget* widget);
    QVBoxLayout* figuresLayout() const { return m_figures; }
    FocusChain* focusChain() const { return m_chain; }

    void loadList(const QStringList& titles);
    void loadWith(const TableRead& read, const QStringList& titles);
    void setTitles(const QStringList& titles);
    void runStatement(Query* query, const QStringList& lines);
    void runStatement(Query* query, const SqlStatement& statement);
    QString keyColumn() const;
    // Moves the list to the row whose key column holds key; false when there is none.
    bool moveToKey(const QString& key);
    // The number New proposed for the record in the boxes, until it is stored; and the row
    // the boxes stand for.
    QString proposedKey() const { return m_proposedKey; }
    void clearProposedKey() { m_proposedKey.clear(); }
    void setShownRow(qint64 key) { m_shownKey = key; }

    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The number New proposed for the record the boxes show, until it is stored.
    QString m_proposedKey;
    // The hidden key of the list row the boxes were filled from; 0 after New.
    qint64 m_shownKey = 0;
    // A command with its caption and the key that runs it.
    struct Command
    {
        QString caption;
        int key;
        std::function<void()> run;
    };
    QList<Command> commands();
    QString searchedColumn() const;
    void buildForm();
    void buildKeys(const QStringList& order);
    void follow(RecordDescription::Event event);
    void titleClicked(int column);
    void search(const QString& text);
    void showSearchColumn();
    void afterSave(const QString& key);

    RecordDescription m_description;
    Query* m_list;
    Query* m_lookup;
    FormBoxes* m_boxes = nullptr;
    DataGrid* m_grid = nullptr;
    Navigator* m_navigator = nullptr;
    FocusChain* m_chain = nullptr;
    QVBoxLayout* m_figures = nullptr;
    QVBoxLayout* m_commands = nullptr;
    QHBoxLayout* m_panels = nullptr;
    QHBoxLayout* m_bottom = nullptr;
    QLineEdit* m_search = nullptr;
    QString m_sortColumn;
    bool m_shown = false;
};
