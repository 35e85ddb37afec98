#pragma once

#include "ui/common/Windows.h"

#include <QHash>
#include <QWidget>

#include <optional>

class DataGrid;
class DateBox;
class FocusChain;
class ListBox;
class Navigator;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class Query;
class PreparedReport;

// What tells an invoice window from its twins: tables, data-module queries, captions and the
// few rules in which they differ.
struct DocumentDescription
{
    QString name;        // object name, caption and heading: "Invoice"
    QString headerTable; // "Invoice"
    QString itemTable;   // "InvItem"
    QString laborTable;  // "InvLabor"
    QString listQuery;   // the list, and the changes of Save
    QString numberQuery; // the existence check of Save and the numbering of New
    QString itemLinesQuery;
    QString itemSumQuery;
    QString laborLinesQuery;
    QString laborSumQuery;
    QString numberCaption;  // "Invoice #"
    QString poCaption;      // "Driver Name"
    QString totalCaption;   // "Total Invoice $"
    QString printCaption;   // "Print Invoice"
    QString unbalancedNote; // "Invoice is not Balance"
    QStringList listTitles;
    // The tax row covers the document's month within its year, not merely its year.
    bool taxByMonth = false;
};

// The shop's document window: the list of documents, the header of one, its part and labor
// lines, the totals with sales tax on the parts, and what the customer has paid against it.
class DocumentWindow : public QWidget
{
    Q_OBJECT

public:
    enum class Filter
    {
        Open,
        Paid,
        All
    };

    // Where the window's others go: its line windows as child windows, the catalogue pickers
    // that fill them, the modal preview of a printout.
    struct Links
    {
        ChildOpener openChild;
        std::function<void()> partPicker;
        std::function<void()> laborPicker;
        std::function<void(const PreparedReport&)> preview;
    };

    // The commands; each runs guarded from its button or key.
    void newDocument();
    void save();
    void remove();
    void refresh();
    void setFilter(Filter filter);
    void archive();
    // Previews the printout of the document in the number box.
    void print();

    // The text of a header box by its column (InvoiceNo_Inv, CustomerName_Inv, ...).
    QString text(const QString& column) const;
    void setText(const QString& column, const QString& text);
    bool paid() const;
    void setPaid(bool paid);

    DataGrid* list() const { return m_list; }
    const DocumentDescription& description() const { return m_description; }

    // Reloads the part or labor lines of document number and their sum, as a line window does
    // when it closes.
    void reloadParts(const QString& number);
    void reloadLabor(const QString& number);

    // The printout of the document in the number box, in the layout the "Tax" box chooses;
    // none when the box is empty or the document is not saved (the user is told).
    std::optional<PreparedReport> prepareReport();

protected:
    DocumentWindow(DocumentDescription description, Links links, QWidget* parent);

    virtual QWidget* createPartLines(std::function<void()> picker) = 0;
    virtual QWidget* createLaborLines(std::function<void()> picker) = 0;
    // The layout resource of the printout, with or without tax on the parts.
    virtual QString layoutFile(bool taxed) const = 0;

    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildForm();
    QWidget* buildHeader();
    void bindKeys();
    void openWindow();
    QString openList() const;
    // The insert or update of the header boxes into table; numbers and dates are checked and
    // texts quoted. The archive has no tax column.
    QStringList headerStatement(const QString& table, bool update, bool withTax) const;
    void loadList(const QString& statement);
    void rowLoad(bool firstRow, bool withTax);
    void lineLoad();
    void loadPaid();
    void loadTaxRow();
    void showTotal();
    void selectRow(bool withTotals);
    void titleClicked(int column);
    void search(const QString& text);
    void lookUpCustomer();
    QStringList listValues(const QString& statement);
    QString sumText(const QString& query, const QString& statement);

    QHash<QString, QLineEdit*> m_edits;
    QHash<QString, QComboBox*> m_lists;
    QLineEdit* m_invoiceNo = nullptr;
    QCheckBox* m_paid = nullptr;
    DateBox* m_invoiceDate = nullptr;
    DateBox* m_dueDate = nullptr;
    QPlainTextEdit* m_address = nullptr;
    QPlainTextEdit* m_remark = nullptr;
    QComboBox* m_tax = nullptr;
    QLabel* m_total = nullptr;
    QLabel* m_paidSum = nullptr;
    QLabel* m_balance = nullptr;
    QLabel* m_partsSum = nullptr;
    QLabel* m_laborSum = nullptr;
    DataGrid* m_list = nullptr;
    DataGrid* m_parts = nullptr;
    DataGrid* m_labor = nullptr;
    Navigator* m_navigator = nullptr;
    QLineEdit* m_search = nullptr;
    QRadioButton* m_open = nullptr;
    QRadioButton* m_paidFilter = nullptr;
    QRadioButton* m_all = nullptr;
    QTimer* m_timer = nullptr;
    QLineEdit* m_code = nullptr;
    QPushButton* m_archive = nullptr;
    FocusChain* m_chain = nullptr;
    DocumentDescription m_description;
    Links m_links;
    Query* m_invoices;
    double m_rate = 0;
    QString m_sortColumn;
    bool m_shown = false;
};
