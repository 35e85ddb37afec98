#pragma once

#include "ui/common/Windows.h"
#include "ui/documents/LineOwner.h"

#include <QWidget>

#include <functional>

class DataGrid;
class Query;
class QLabel;
class QPushButton;
class RecordWindow;

class Currency;

// The total of a column over every loaded row, exact to the money type; and as the shop's
// windows show a sum: its shortest form, empty without rows.
Currency sumOf(const Query* lines, const QString& column);
QString sumText(const Query* lines, const QString& column);

// One line grid of a document window: the button that opens its line window, the lines of the
// document shown, and their total.
struct LinePanelDescription
{
    QString table;        // "InvItem"
    QString numberColumn; // the document number in the line table: "Inv_Item"
    QString columns;      // the grid's columns: "Name_Item,Qty_Item,Rate_Item,..."
    QString amountColumn; // summed into the total; no total when empty
    QString button;       // "&Part Discription" (Alt+P presses it)
    QString buttonName;   // "Button6"
    QString gridName;     // "DBGrid2"
    QString totalCaption = QStringLiteral("Total $");
    QString totalName; // "Label12"
    QString totalStart = QStringLiteral("0.00");
};

class LinePanel : public QWidget
{
    Q_OBJECT

public:
    LinePanel(LinePanelDescription description, QWidget* parent);

    const LinePanelDescription& description() const { return m_description; }
    QPushButton* button() const { return m_button; }
    DataGrid* grid() const { return m_grid; }
    QLabel* total() const { return m_total; }
    Query* lines() const { return m_lines; }

    // The lines of document number and their total; an empty number empties both.
    void load(const QString& number);
    // The total as the database summed it: exact to the money type, 0 without lines.
    double sum() const;

private:
    LinePanelDescription m_description;
    Query* m_lines;
    QPushButton* m_button;
    QLabel* m_total = nullptr;
    DataGrid* m_grid;
};

// The line grids of a record window that keeps documents, and what its line windows need of
// it: the number in its key box, the facts they show, and the reload of a grid and its total
// when one of them closes.
class DocumentLines : public QObject, public LineOwner
{
    Q_OBJECT

public:
    // A fact: its caption, and the column whose box gives its value (none: empty).
    struct Fact
    {
        QString caption;
        QString column;
    };
    // Creates the line window of a panel for the document; it goes to openChild.
    using LineFactory = std::function<QWidget*(LineOwnerRef owner)>;

    DocumentLines(RecordWindow* window, QList<Fact> facts, bool numberIsText);

    // Adds a panel to the window; its button opens a new line window from create.
    LinePanel* addPanel(LinePanelDescription description, LineFactory create, ChildOpener openChild,
                        int stretch = 1);
    LinePanel* panel(const QString& table) const;
    // Every grid and total for the document in the key box.
    void load();
    // The same while the key box is being typed into: a number not yet whole ("12a", "-")
    // shows no lines instead of an error.
    void loadTyped();
    // The grids follow every change of the key box's text, typed or filled; then also runs
    // (the window's own figures of the document).
    void followKeyBox(std::function<void()> also = {});

    QString documentNumber() const override;
    bool numberIsText() const override { return m_numberIsText; }
    QList<std::pair<QString, QString>> lineFacts() const override;
    void linesChanged(const QString& table) override;

signals:
    // A line window changed the lines of table and its grid was reloaded.
    void reloaded(const QString& table);

private:
    // The number in the key box, or none while it is not yet a whole number.
    QString typedNumber() const;

    RecordWindow* m_window;
    QList<Fact> m_facts;
    bool m_numberIsText;
    QList<LinePanel*> m_panels;
};
