#pragma once

#include "ui/common/FormBoxes.h"
#include "ui/documents/LineOwner.h"

#include <QHash>
#include <QWidget>

#include <functional>
#include <optional>

class DataGrid;
class FocusChain;
class QLabel;
class QVBoxLayout;
class Query;

// Fills a line's boxes from a catalogue row when the user types or picks a name: the first row
// of table whose match column is exactly the text of box. Without such a row the line is
// cleared as New clears it.
struct CatalogueFill
{
    QString box;
    QString table;
    QString match;
    QList<std::pair<QString, QString>> fills; // box column <- catalogue column
};

// What makes one line window different from the others.
struct LineDescription
{
    QString caption; // window caption and object name: "InvItem"
    QString heading; // "Invoice Parts"
    bool maximized = false;
    QString table;        // "InvItem"
    QString numberColumn; // the document's number in the line table: "Inv_Item"
    // The first box is the line's name: Save and Delete need it.
    QList<FormBox> boxes;
    // The texts New puts in (empty for the boxes not named).
    QHash<QString, QString> newTexts;
    // Object names of the values of the owner's facts shown at the top, and the captions they
    // are shown under when the window has its own (the owner's otherwise).
    QStringList factNames = {"Label6", "Label8", "Label9", "Label10"};
    QStringList factCaptions = {};
    // Grid titles after opening, Save, Refresh and Cancel, and after a row load (none: the
    // titles stay).
    QStringList openTitles;
    QStringList saveTitles;
    QStringList refreshTitles;
    std::optional<QStringList> rowTitles = {};
    // A row load also reloads the total.
    bool rowLoadReloadsTotal = false;
    // The total of the lines; none when its caption is empty.
    QString totalCaption = {};
    QString totalName = {};
    // The amount rule: qty x rate into the amount box when the focus leaves qty or rate.
    QString qtyColumn;
    QString rateColumn;
    QString amountColumn;
    // "Find" or "find"; no button when empty. It stands beside the box of findBeside, or
    // with the commands when that is empty.
    QString findCaption = {};
    QString findBeside = {};
    // The columns of this line a picker's values go into, by the column the picker names (a
    // part picker fills an invoice or order line's columns; a bill line has its own).
    QHash<QString, QString> pickedInto = {};
    // With no lines the boxes show New's texts, or stay empty.
    bool noLinesShowsNew = true;
    std::optional<CatalogueFill> fill = {};
    // Enter and Left arrow walk the boxes (in their order, with these exceptions); F2 saves.
    bool keys = false;
    QList<FocusLink> focusLinks = {};
    QString cancelCaption = QStringLiteral("Cancel ( Esc)");
    // Cancel reloads like Refresh, or does nothing.
    bool cancelReloads = true;
    // Object names of New, Save, Delete, Refresh, Cancel, Find and Close.
    QStringList commandNames = {"Button2", "Button1", "Button3", "Button5",
                                "Button7", "Button8", "Button4"};
};

// The window that adds, changes and removes the lines of one document; the document's number
// is fixed when it opens. Closing it has the owner reload its line grid and total.
class LineWindow : public QWidget
{
    Q_OBJECT

public:
    LineWindow(LineDescription description, LineOwnerRef owner, QWidget* parent = nullptr);

    const LineDescription& description() const { return m_description; }
    // The document number the window works on, and the value of one of the owner's facts
    // as they were when it opened.
    QString number() const { return m_number; }
    QString fact(int index) const;
    QString text(const QString& column) const;
    void setText(const QString& column, const QString& text);
    QWidget* box(const QString& column) const;
    DataGrid* grid() const { return m_grid; }
    Query* lines() const { return m_lines; }

    // What "Find" does; the button stays disabled without it.
    void setFind(std::function<void()> find);

    // The commands; each runs guarded from its button or key. New begins a new line: the
    // boxes show no stored line until the user chooses one in the grid, and Save adds a row.
    // Save of a chosen line changes that line, and Delete removes it, and no other line.
    void newLine();
    void save();
    void remove();
    void reload();
    void cancel();
    // The amount rule: when the quantity's text sorts after "0", quantity x rate as money
    // ("#.##"); otherwise "0".
    void computeAmount();
    // Fills boxes from a catalogue row the user chose; a new rate gives a new amount.
    void pick(const QList<std::pair<QString, QString>>& values);
    // The stored line the boxes show, by its key; 0 for a new line.
    qint64 shownLine() const { return m_shownKey; }

signals:
    void closed();

protected:
    QLabel* addFigure(const QString& caption, const QString& name);
    FormBoxes* boxes() const { return m_boxes; }

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildForm();
    void buildKeys();
    void loadGrid(const QStringList& titles);
    void rowLoad(bool reloadTotal);
    // The boxes as New leaves them; which line they stand for is left to the caller.
    void clearBoxes();
    void loadTotal();
    void fillFromCatalogue();
    SqlRow lineRow(const QStringList& columns = {}) const;

    LineDescription m_description;
    LineOwnerRef m_owner;
    QString m_number;
    QList<std::pair<QString, QString>> m_facts;
    Query* m_lines;
    Query* m_lookup;
    FormBoxes* m_boxes;
    DataGrid* m_grid = nullptr;
    QLabel* m_total = nullptr;
    QVBoxLayout* m_figures = nullptr;
    class QPushButton* m_find = nullptr;
    std::function<void()> m_findCommand;
    bool m_shown = false;
    bool m_givenBack = false;
    // The key of the stored line in the boxes (0: a new line), and the grid row the boxes were
    // last set from or beside: a key released in the grid fills them again only when the
    // user moved to another row.
    qint64 m_shownKey = 0;
    int m_shownRow = -1;
};
