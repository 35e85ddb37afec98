#pragma once

#include "ui/common/RecordWindow.h"
#include "ui/documents/LinePanel.h"
#include "ui/documents/SalesDocument.h"

#include <functional>

class LineWindow;
class PreparedReport;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTimer;

// What tells one kind of sales document from the other: its tables, the names of its
// queries, its captions and the few rules in which invoices and estimates differ.
struct DocumentDescription
{
    QString name; // object name, caption and heading: "Invoice"
    SalesTables tables;
    QString numberCaption;  // "Invoice #"
    QString poCaption;      // "Driver Name"
    QString totalCaption;   // "Total Invoice $"
    QString printCaption;   // "Print Invoice"
    QString unbalancedNote; // "Invoice is not Balance"
    QStringList listTitles;
    SalesTotals::UncoveredMonth uncoveredMonth = SalesTotals::UncoveredMonth::FirstRowOfYear;
    SalesDocument::Layouts layouts;
    // The document's total follows its lines as soon as a line window closes (invoices), or
    // only when the document is shown again (estimates).
    bool totalFollowsLines = true;
};

// A sales document window (invoices, estimates): the list of documents, the header of one as
// boxes, its part and labor lines, the total with sales tax on the parts, what the customer
// paid under its number, the Open / Paid / All filter, printing and the archive.
class DocumentWindow : public RecordWindow
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
        std::function<void(LineWindow*)> partPicker;
        std::function<void(LineWindow*)> laborPicker;
        std::function<void(const PreparedReport&)> preview;
        // The payments under the document's number: a payment form for it, and the list of
        // those received, which reads the number box of the window that opened it.
        std::function<void(const QString& number)> payment = {};
        std::function<void(RecordWindow* opener, const QString& numberColumn)> paidHistory = {};
        // The invoice window on an invoice (an estimate made into one opens it).
        std::function<void(qint64 invoice)> openInvoice = {};
    };

    void newRecord() override;
    void refresh() override;
    // A document with payments is not deleted: the user is told how many and their sum.
    void remove() override;
    // The boxes show the current row, its stored tax flag included; with no row the "Tax"
    // box keeps its text.
    void copyRow() override;
    void setFilter(Filter filter);
    void archive();
    // Previews the printout of the document in the number box, as stored.
    void print();
    // Shows the document number: in the list as it is filtered, else under All.
    bool showDocument(qint64 number);
    // The printout of the document in the number box; none when the box is empty or the
    // document is not saved (the user is told).
    std::optional<PreparedReport> prepareReport();

    const DocumentDescription& documentDescription() const { return m_document; }
    DataGrid* list() const { return grid(); }
    DocumentLines* lines() const { return m_lines; }
    const Links& links() const { return m_links; }

protected:
    DocumentWindow(DocumentDescription description, Links links, QWidget* parent);

    // The line windows of the two panels.
    virtual QWidget* createPartLines(LineOwnerRef owner) = 0;
    virtual QWidget* createLaborLines(LineOwnerRef owner) = 0;

    QString nextKey() override;
    QStringList numberedAlongside() const override;
    void deleteRow() override;
    void computeFigures() override;

private:
    static RecordDescription recordDescription(const DocumentDescription& d);
    void buildSalesParts();
    void showTotal();
    double taxRate(const QDate& date);
    TableRead listStatement(Filter filter) const;
    // Why document number cannot be deleted (its payments), empty when it can.
    QString paymentsRefusal(const QString& number);
    // "Paid $ :" for the number in the box; checked: a number box that is not a whole number
    // is an error, else it is left alone.
    void readPaid(bool checked);
    // The paid sum again when payments changed since it was read (a payment window saved one).
    void followPayments();

    DocumentDescription m_document;
    Links m_links;
    DocumentLines* m_lines = nullptr;
    Query* m_tax = nullptr;
    QLabel* m_total = nullptr;
    QLabel* m_paidSum = nullptr;
    QLabel* m_balance = nullptr;
    QLineEdit* m_code = nullptr;
    class QPushButton* m_archive = nullptr;
    QRadioButton* m_open = nullptr;
    QRadioButton* m_paidFilter = nullptr;
    QRadioButton* m_all = nullptr;
    QTimer* m_timer = nullptr;
    // Tax rates by year and month, kept while the tax table is unchanged.
    QHash<int, double> m_rates;
    quint64 m_ratesOf = 0;
    quint64 m_paymentsOf = 0;
};
