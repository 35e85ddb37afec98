#pragma once

#include <QHash>
#include <QPointer>
#include <QWidget>

#include <functional>

class DataGrid;
class FocusChain;
class QLabel;
class QLineEdit;
class Query;
class DocumentWindow;

// One box of a line window.
struct LineBox
{
    QString column;
    QString label;
    QString name;      // the control's object name
    QString newText;   // what New puts in
    bool list = false; // a drop-down filled from the catalogue
};

// What makes one line window different from its twin.
struct LineDescription
{
    QString caption;
    QString heading;
    bool maximized = false;
    QString table;         // "InvItem"
    QString invoiceColumn; // "Inv_Item"
    QString amountColumn;  // the line amount, summed into the total
    QString qtyColumn;
    QString rateColumn;
    QString gridQuery;   // the window's list and its changes
    QString lookupQuery; // existence test and drop-down filling
    QString sumQuery;
    // The drop-down's items: this column of every row of the catalogue statement.
    QString listStatement;
    QString listColumn;
    QList<LineBox> boxes; // the first is the line's name; Save and Delete need it
    QStringList openTitles;
    QStringList titles;
    QString totalCaption;
    QString totalName;
    QString findCaption;
    // Row load on a key release in the list, with the titles and the total reloaded.
    bool rowLoadReloadsTotal = false;
    // Enter, Left arrow and F2 in the boxes.
    bool keys = false;
};

// The window that adds, changes and removes the lines of one invoice; the invoice number
// is fixed when it opens. Closing it reloads the invoice window's lines.
class LineWindow : public QWidget
{
    Q_OBJECT

public:
    // showPicker shows the catalogue picker that fills this kind of line (may be empty).
    LineWindow(LineDescription description, DocumentWindow* invoice, std::function<void()> showPicker,
               QWidget* parent = nullptr);

    QString invoiceNumber() const { return m_number; }
    QString customerName() const { return m_customer; }
    QString text(const QString& column) const;
    void setText(const QString& column, const QString& text);
    DataGrid* grid() const { return m_grid; }

    void newLine();
    void save();
    void remove();
    void reload();
    void computeAmount();

protected:
    using Values = QHash<QString, QString>;
    // Box texts ready for the statements: texts escaped, numbers checked.
    Values values() const;
    virtual QStringList existsStatement(const Values& v) const = 0;
    virtual QStringList updateStatement(const Values& v) const = 0;
    virtual QStringList insertStatement(const Values& v) const = 0;
    virtual QStringList deleteStatement(const Values& v) const = 0;
    // Gives the owner back its lines; runs when the window closes.
    virtual void giveBack(DocumentWindow* invoice) = 0;

    const LineDescription& description() const { return m_description; }
    QPointer<DocumentWindow> invoice() const { return m_invoice; }
    QWidget* box(const QString& column) const { return m_boxes.value(column); }
    QLabel* addFigure(const QString& caption, const QString& name);
    void runStatement(Query* query, const QStringList& lines);

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildForm();
    void rowLoad(bool reloadTotal);
    void loadGrid(const QStringList& titles);
    void loadTotal();
    QStringList listValues();

    LineDescription m_description;
    QPointer<DocumentWindow> m_invoice;
    std::function<void()> m_showPicker;
    QString m_number;
    QString m_customer;
    QString m_date;
    Query* m_lines;
    DataGrid* m_grid = nullptr;
    QLabel* m_total = nullptr;
    QHash<QString, QWidget*> m_boxes;
    class QVBoxLayout* m_figures = nullptr;
    bool m_shown = false;
    bool m_givenBack = false;
};
