#pragma once

#include "data/SqlRow.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>

class Query;
class QGridLayout;
class QWidget;

// Where a drop-down list's items come from: the values of one column of a table, each once
// (Distinct) or as every row holds them (All).
struct ListSource
{
    enum Rows
    {
        Distinct,
        All
    };
    ListSource() = default;
    ListSource(QString table, QString column, Rows rows = Distinct)
        : table(std::move(table))
        , column(std::move(column))
        , rows(rows)
    {}

    QString table;
    QString column;
    Rows rows = Distinct;

    bool isEmpty() const { return table.isEmpty(); }
};

// One box of a form: the column it shows and writes, its caption, its kind and its control
// name.
struct FormBox
{
    enum Kind
    {
        Edit,   // one-line edit box
        List,   // editable drop-down, refilled from a statement each time it opens
        Date,   // edit box with a calendar drop-down
        Memo,   // several lines
        Check,  // yes/no check box; its text reads "True" or "False"
        Choice, // drop-down with fixed items that also takes typed text
    };

    QString column;
    QString label;
    Kind kind = Edit;
    // List: the column its items come from.
    ListSource list = {};
    // The control's object name (Edit1, ComboBox2); the column when empty.
    QString name = {};
    // Choice: the fixed items. List: items that always head the list, before the statement's
    // values ("All").
    QStringList items = {};
    // Date: the calendar drop-down's object name (DateTimePicker1).
    QString pickerName = {};
};

// Where Enter and Left arrow go from one box when it is not the next or the previous box of
// the window's order (an empty target keeps that default).
struct FocusLink
{
    QString from;
    QString enter;
    QString left;
};

// When the focus leaves a box, another box is filled from a catalogue row: the first row of
// table whose match column equals the box's text; pattern names that row's columns between
// % signs ("%Address_Customer% %City_Customer%"). An unknown name leaves only the pattern's
// separators.
struct BoxLookup
{
    QString from;
    QString table;
    QString match;
    QString to;
    QString pattern;
};

// A window's boxes built from their description: widgets by kind with their object names,
// laid out as label and box pairs in columns, read and written as text by column, filled from
// a query's current row, and gathered into a checked row for the statement builder.
class FormBoxes : public QObject
{
    Q_OBJECT

public:
    // lists runs the statements that fill the List boxes.
    FormBoxes(QList<FormBox> boxes, QWidget* parent, Query* lists = nullptr);

    const QList<FormBox>& boxes() const { return m_boxes; }
    const FormBox* spec(const QString& column) const;
    bool contains(const QString& column) const { return m_widgets.contains(column); }

    // Places the boxes as label/box pairs; each inner list is one column of pairs. Without
    // columns the boxes are split evenly over two, those of order first and in that order (the
    // Enter order, so that boxes reached with Tab only come after them). Memo boxes take three
    // rows. Returns the number of rows used.
    int layOut(QGridLayout* grid, QList<QStringList> columns = {}, QStringList order = {});
    // Puts widget on the grid right of the box of column (a button or a note beside it).
    void placeBeside(QGridLayout* grid, const QString& column, QWidget* widget) const;

    // The widget of a column (for a date, the box with its calendar button), and the control
    // that takes the focus and the keys (for a date, its edit box).
    QWidget* box(const QString& column) const { return m_widgets.value(column); }
    QWidget* focusTarget(const QString& column) const { return m_focus.value(column); }
    QString caption(const QString& column) const;

    QString text(const QString& column) const;
    // Leaves a box alone when it already shows the text: laying out text is the dearest part
    // of showing a row.
    void setText(const QString& column, const QString& text);

    // Every box whose column the query has gets that column of the current row; with no
    // current row every such box is emptied.
    void copyRow(const Query* query);
    // Every box gets its text from texts (empty when not given), except the columns kept.
    void reset(const QHash<QString, QString>& texts, const QStringList& keep = {});

    // The boxes' texts checked for their columns' kinds, ready for the statement builder;
    // refusals name the box. Only the given columns when columns is not empty. An empty
    // number box is written as Null unless whenEmpty says otherwise for its column.
    SqlRow row(const QString& table, const QStringList& columns = {},
               const QHash<QString, SqlRow::EmptyNumber>& whenEmpty = {}) const;

    // What happens when the focus leaves a box for another control of the window (not for a
    // message box or a drop-down list): a box left empty gets its text, a look-up fills its
    // box (on the query given for the lists).
    void whenLeftEmpty(const QHash<QString, QString>& texts);
    void lookUpOnLeaving(const QList<BoxLookup>& lookups);

signals:
    // The user changed a box by typing or by choosing from its list; a box the program sets
    // does not count.
    void edited(const QString& column);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* create(const FormBox& box, QWidget* parent);
    void lookUp(const BoxLookup& lookup);

    QList<FormBox> m_boxes;
    // The items of a List box: the first column of its statement's rows, kept (by statement)
    // with the change count of its table while that table is unchanged.
    QStringList listValues(const ListSource& source);

    Query* m_lists;
    QHash<QString, std::pair<quint64, QStringList>> m_kept;
    QHash<QString, QWidget*> m_widgets;
    QHash<QString, QWidget*> m_focus;
    // The text each drop-down last held, set by the program or typed.
    QHash<QString, QString> m_known;
    QHash<QString, QString> m_whenLeftEmpty;
    QList<BoxLookup> m_lookups;
};
