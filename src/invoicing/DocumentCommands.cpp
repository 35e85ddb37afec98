// The commands of the document window: loading the list and the lines, the totals, New, Save,
// Delete, Refresh and the filters.

#include "data/Formats.h"
#include "data/Query.h"
#include "data/SqlLiteral.h"
#include "data/TDM.h"
#include "data/Transaction.h"
#include "invoicing/DocumentWindow.h"
#include "invoicing/InvoiceTotals.h"
#include "ui/common/DataGrid.h"
#include "ui/common/ListBox.h"
#include "ui/common/Prompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace {
// Header columns a row load copies, besides the paid flag.
const QStringList headerColumns = {
    "InvoiceNo_Inv",    "InvoiceDate_Inv",  "DueDate_Inv",     "Amount_Inv",
    "PO_Inv",           "Vin_Inv",          "Mileage_Inv",     "Year_Inv",
    "Plate_Inv",        "TruckNo_Inv",      "JobLocation_Inv", "Remark_Inv",
    "CustomerName_Inv", "RepairPerson_Inv", "Make_Inv",        "Model_Inv"};

void run(Query* query, const QStringList& lines)
{
    query->close();
    query->setSql(lines);
}
} // namespace

QString DocumentWindow::openList() const
{
    return "Select * From " + m_description.headerTable + " where Paid_Inv=No";
}

void DocumentWindow::openWindow()
{
    loadList(openList());
    rowLoad(true, true);
    loadTaxRow();
    lineLoad();
    showTotal();
}

void DocumentWindow::loadList(const QString& statement)
{
    run(m_invoices, {statement});
    m_invoices->open();
    m_invoices->first();
    m_sortColumn.clear();
    m_list->setRedTitle(-1);
    m_list->setTitles(m_description.listTitles);
}

void DocumentWindow::rowLoad(bool firstRow, bool withTax)
{
    if (firstRow)
        m_invoices->first();
    const bool empty = m_invoices->isEmpty() || m_invoices->currentRow() < 0;
    for (const QString& column : headerColumns)
        setText(column, empty ? QString() : m_invoices->field(column).asText());
    setPaid(!empty && m_invoices->field(QStringLiteral("Paid_Inv")).asBool());
    if (withTax && !empty)
        setText(QStringLiteral("Tax_Inv"), m_invoices->field(QStringLiteral("Tax_Inv")).asText());
}

QString DocumentWindow::sumText(const QString& query, const QString& statement)
{
    Query* q = DM->query(query);
    run(q, {statement});
    q->open();
    return q->field(QStringLiteral("Expr1000")).asText();
}

void DocumentWindow::reloadParts(const QString& number)
{
    const QString n = Sql::integer(number);
    Query* lines = DM->query(m_description.itemLinesQuery);
    run(lines, {"Select Name_Item,Qty_Item,Rate_Item,Amount_Item,Color_Item,Inv_Item From " +
                m_description.itemTable + " where Inv_Item =" + n});
    lines->open();
    m_partsSum->setText(sumText(m_description.itemSumQuery, "Select Sum(Amount_Item) From " +
                                                                m_description.itemTable +
                                                                " where Inv_Item =" + n));
}

void DocumentWindow::reloadLabor(const QString& number)
{
    const QString n = Sql::integer(number);
    Query* lines = DM->query(m_description.laborLinesQuery);
    run(lines, {"Select Description_Labor,PartNo_Labor,Qty_Labor,Rate_Labor,Amount_Labor "
                ",Remark_Labor,Inv_Labor From " +
                m_description.laborTable + " where Inv_Labor=" + n});
    lines->open();
    m_laborSum->setText(sumText(m_description.laborSumQuery, "Select Sum(Amount_Labor) From " +
                                                                 m_description.laborTable +
                                                                 " where Inv_Labor =" + n));
}

void DocumentWindow::loadPaid()
{
    m_paidSum->setText(
        sumText(QStringLiteral("QReceivable1"),
                "Select Sum(Amount_Receivable) From Receivable where InvoiceNo_Receivable=" +
                    Sql::integer(m_invoiceNo->text())));
}

void DocumentWindow::lineLoad()
{
    // With no invoice to show there is no number: the grids and sums are emptied.
    if (m_invoiceNo->text().trimmed().isEmpty()) {
        for (const QString& name : {m_description.itemLinesQuery, m_description.laborLinesQuery})
            DM->query(name)->close();
        m_partsSum->clear();
        m_laborSum->clear();
        m_paidSum->clear();
        return;
    }
    reloadParts(m_invoiceNo->text());
    reloadLabor(m_invoiceNo->text());
    loadPaid();
}

void DocumentWindow::loadTaxRow()
{
    m_rate = 0;
    if (m_invoices->isEmpty() || m_invoices->currentRow() < 0)
        return;
    const QDate date =
        Formats::parseShortDate(m_invoices->field(QStringLiteral("InvoiceDate_Inv")).asText());
    if (!date.isValid())
        return;
    Query* tax = DM->query(QStringLiteral("QTax"));
    QStringList statement = {"Select * From Tax where Year_T =" + QString::number(date.year())};
    if (m_description.taxByMonth)
        statement << "and A_T<=" + QString::number(date.month()).rightJustified(2, u'0')
                  << "and E_T>=" + QString::number(date.month()).rightJustified(2, u'0');
    run(tax, statement);
    tax->open();
    if (!tax->isEmpty())
        m_rate = tax->field(QStringLiteral("Tax_T")).asNumber();
}

void DocumentWindow::showTotal()
{
    const bool taxed =
        !m_invoices->isEmpty() && m_invoices->currentRow() >= 0 &&
        m_invoices->field(QStringLiteral("Tax_Inv")).asText() == QLatin1String("Yes");
    auto sum = [](const QString& query) {
        Query* q = DM->query(query);
        return q->isOpen() ? q->field(QStringLiteral("Expr1000")).asNumber() : 0.0;
    };
    const Currency total = InvoiceTotals::total(sum(m_description.itemSumQuery),
                                                sum(m_description.laborSumQuery), m_rate, taxed);
    m_total->setText(total.toHashFormat());
    m_balance->setText(InvoiceTotals::balanceNote(text(QStringLiteral("Amount_Inv")),
                                                  m_total->text(), m_description.unbalancedNote));
}

void DocumentWindow::selectRow(bool withTotals)
{
    rowLoad(false, true);
    lineLoad();
    if (withTotals) {
        loadTaxRow();
        showTotal();
    }
}

void DocumentWindow::titleClicked(int column)
{
    m_list->setRedTitle(-1);
    if (column >= m_description.listTitles.size())
        return;
    const QString name = m_invoices->columnName(column);
    m_invoices->sort(name);
    m_sortColumn = name;
    m_list->setRedTitle(column);
}

void DocumentWindow::search(const QString& text)
{
    // Before any title click the list is searched on the invoice number.
    const QString column = m_sortColumn.isEmpty() ? QStringLiteral("InvoiceNo_Inv") : m_sortColumn;
    if (m_invoices->isOpen() && m_invoices->locate(column, text))
        rowLoad(false, true);
}

void DocumentWindow::lookUpCustomer()
{
    m_address->clear();
    Query* customer = DM->query(QStringLiteral("QPo3"));
    run(customer, {"Select * From Customer where Name_Customer ='" +
                   Sql::text(text(QStringLiteral("CustomerName_Inv"))) + "'"});
    customer->open();
    auto column = [customer](const char* name) {
        return customer->isEmpty() ? QString()
                                   : customer->field(QString::fromLatin1(name)).asText();
    };
    m_address->setPlainText(column("Address_Customer") + " " + column("City_Customer") + ", " +
                            column("State_Customer") + " " + column("Zip_Customer"));
}

QStringList DocumentWindow::listValues(const QString& statement)
{
    Query* q = DM->query(QStringLiteral("QPo2"));
    run(q, {statement});
    q->open();
    QStringList values;
    for (int row = 0; row < q->recordCount(); ++row)
        values.append(q->field(row, 0).asText());
    q->close();
    return values;
}

void DocumentWindow::newDocument()
{
    for (const char* column : {"InvoiceNo_Inv", "PO_Inv", "Vin_Inv", "Mileage_Inv", "Year_Inv",
                               "Plate_Inv", "TruckNo_Inv", "CustomerName_Inv", "RepairPerson_Inv",
                               "Make_Inv", "Model_Inv", "JobLocation_Inv", "Remark_Inv"})
        setText(QString::fromLatin1(column), QString());
    setText(QStringLiteral("Amount_Inv"), QStringLiteral("0.00"));
    setPaid(false);
    const QString today = Formats::shortDate(QDate::currentDate());
    setText(QStringLiteral("InvoiceDate_Inv"), today);
    setText(QStringLiteral("DueDate_Inv"), today);
    // The largest number plus one, read with an aggregate rather than by loading every
    // document.
    Query* numbers = DM->query(m_description.numberQuery);
    run(numbers, {"Select Max(InvoiceNo_Inv) From " + m_description.headerTable});
    numbers->open();
    const Field largest = numbers->field(QStringLiteral("Expr1000"));
    m_invoiceNo->setText(QString::number(largest.isNull() ? 1 : largest.asInteger() + 1));
    numbers->close();
    lineLoad();
    m_lists.value(QStringLiteral("CustomerName_Inv"))->setFocus();
}

QStringList DocumentWindow::headerStatement(const QString& table, bool update, bool withTax) const
{
    const QString n = Sql::integer(m_invoiceNo->text());
    auto quoted = [this](const QString& column) { return "'" + Sql::text(text(column)) + "'"; };
    auto date = [this](const QString& column) {
        const QString value = text(column);
        return value.trimmed().isEmpty() ? QStringLiteral("Null") : "#" + Sql::date(value) + "#";
    };
    const QString amount = "'" + Sql::number(text(QStringLiteral("Amount_Inv"))) + "'";
    const QString invoiceDate = date(QStringLiteral("InvoiceDate_Inv"));
    const QString dueDate = date(QStringLiteral("DueDate_Inv"));
    const QString paidWord = Sql::yesNo(paid());
    QStringList textColumns = {"Vin_Inv",   "TruckNo_Inv", "Mileage_Inv", "Make_Inv",
                               "Model_Inv", "Year_Inv",    "Plate_Inv"};
    if (withTax)
        textColumns.append(QStringLiteral("Tax_Inv"));

    QStringList lines;
    if (update) {
        lines = {" Update " + table + "  Set InvoiceNo_Inv =" + n + ",",
                 " CustomerName_Inv =" + quoted("CustomerName_Inv") + ",",
                 " RepairPerson_Inv =" + quoted("RepairPerson_Inv") + ",",
                 " InvoiceDate_Inv =" + invoiceDate + ",",
                 " PO_Inv =" + quoted("PO_Inv") + ",",
                 " Amount_Inv =" + amount + ",",
                 " Paid_Inv =" + paidWord + " ,",
                 " JobLocation_Inv =" + quoted("JobLocation_Inv") + ",",
                 " DueDate_Inv =" + dueDate + ","};
        for (const QString& column : textColumns)
            lines.append(" " + column + " =" + quoted(column) + ",");
        lines.append(" Remark_Inv =" + quoted("Remark_Inv"));
        lines.append(" where InvoiceNo_Inv =" + n);
        return lines;
    }
    lines = {" Insert Into " + table + " ( InvoiceNo_Inv,Paid_Inv, CustomerName_Inv,",
             "RepairPerson_Inv, InvoiceDate_Inv,PO_Inv,Amount_Inv,JobLocation_Inv,DueDate_Inv," +
                 textColumns.join(u',') + ",Remark_Inv ) Values ( ",
             n + ",",
             " " + paidWord + " ,",
             quoted("CustomerName_Inv") + ",",
             quoted("RepairPerson_Inv") + ",",
             invoiceDate + ",",
             quoted("PO_Inv") + ",",
             amount + ",",
             quoted("JobLocation_Inv") + ",",
             dueDate + ","};
    for (const QString& column : textColumns)
        lines.append(quoted(column) + ",");
    lines.append(quoted("Remark_Inv") + ")");
    return lines;
}

void DocumentWindow::save()
{
    if (m_invoiceNo->text().trimmed().isEmpty())
        return;
    // Every box is checked before the question, so nothing half-written can follow.
    const QString n = Sql::integer(m_invoiceNo->text());
    const QStringList update = headerStatement(m_description.headerTable, true, true);
    const QStringList insert = headerStatement(m_description.headerTable, false, true);

    if (Prompter::instance().confirm(
            QStringLiteral("Are you sure you want to Save this Record?"))) {
        Query* exists = DM->query(m_description.numberQuery);
        run(exists, {"Select * From " + m_description.headerTable + " where InvoiceNo_Inv=" + n});
        exists->open();
        const bool found = !exists->isEmpty();
        exists->close();
        run(m_invoices, found ? update : insert);
        m_invoices->exec();
        Prompter::instance().inform(QStringLiteral("Saved!"));
    }
    loadPaid();
    refresh();
    m_list->setFocus();
}

void DocumentWindow::remove()
{
    if (m_invoiceNo->text().trimmed().isEmpty())
        return;
    const QString n = Sql::integer(m_invoiceNo->text());
    if (Prompter::instance().confirm(
            QStringLiteral("Are you sure you want to Delete this Record?"))) {
        // The document goes with its lines, so that a later one given the same number does not
        // inherit them; payments received stay on record.
        Transaction transaction(DM);
        Query* q = DM->query(QStringLiteral("QLabor2"));
        for (const QString& statement :
             {"Delete  From " + m_description.headerTable + " where InvoiceNo_Inv=" + n,
              "Delete From " + m_description.itemTable + " where Inv_Item=" + n,
              "Delete From " + m_description.laborTable + " where Inv_Labor=" + n}) {
            run(q, {statement});
            q->exec();
        }
        transaction.commit();
    }
    refresh();
}

void DocumentWindow::refresh()
{
    loadList("Select * From " + m_description.headerTable + "  where Paid_Inv=No");
    rowLoad(true, false);
    if (!m_invoiceNo->text().trimmed().isEmpty())
        loadPaid();
    else
        m_paidSum->clear();
    if (!m_open->isChecked()) {
        m_open->setChecked(true);
        setFilter(Filter::Open);
    }
}

void DocumentWindow::setFilter(Filter filter)
{
    switch (filter) {
    case Filter::Open:
        loadList(openList());
        break;
    case Filter::Paid:
        loadList("Select * From " + m_description.headerTable + " where Paid_Inv=Yes");
        break;
    case Filter::All:
        loadList("Select * From " + m_description.headerTable);
        break;
    }
    rowLoad(true, false);
    lineLoad();
}
