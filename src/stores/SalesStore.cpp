#include "stores/SalesStore.h"

#include "data/DbError.h"
#include "data/Formats.h"
#include "data/NumberClaim.h"
#include "data/SqlDialect.h"
#include "data/SqlRow.h"
#include "data/SqlSelect.h"
#include "data/Transaction.h"

namespace {
const QString numberColumn = QStringLiteral("InvoiceNo_Inv");
}

TableRead SalesStore::documents(const SalesTables& tables, Which which)
{
    switch (which) {
    case Which::Open:
        return SqlSelect::where(tables.header, QStringLiteral("Paid_Inv"), false);
    case Which::Paid:
        return SqlSelect::where(tables.header, QStringLiteral("Paid_Inv"), true);
    case Which::All:
        break;
    }
    return SqlSelect::all(tables.header);
}

TableRead SalesStore::customerInvoices(const QString& customer)
{
    return SqlSelect::where(QStringLiteral("Invoice"), QStringLiteral("CustomerName_Inv"),
                            customer);
}

TableRead SalesStore::laborInvoiced(const QString& description)
{
    return SqlSelect::where(QStringLiteral("InvLabor"), QStringLiteral("Description_Labor"),
                            description);
}

TableRead SalesStore::partInvoiced(const QString& partNo)
{
    return SqlSelect::where(QStringLiteral("InvItem"), QStringLiteral("Color_Item"), partNo);
}

Field SalesStore::highestPrice(const QString& customer, const QString& partNo) const
{
    return value(SqlStatement{{"Select Max(T.Rate_Item) From InvItem T, Invoice V",
                               " where T.Color_Item = ? And V.CustomerName_Inv = ?",
                               " And V.InvoiceNo_Inv = T.Inv_Item"},
                              {partNo, customer}});
}

Field SalesStore::latestPrice(const QString& customer, const QString& partNo) const
{
    // Of the latest invoice, the line entered last.
    return value(SqlStatement{
        {"Select Top 1 T.Rate_Item From InvItem T, Invoice V",
         " where T.Color_Item = ? And V.CustomerName_Inv = ?", " And V.InvoiceNo_Inv = T.Inv_Item",
         " Order By T.Inv_Item Desc, T." + SqlDialect::rowKeyColumn() + " Desc"},
        {partNo, customer}});
}

qint64 SalesStore::largestNumber(const SalesTables& tables) const
{
    // Both read with an aggregate on the number's index, not by loading the documents.
    qint64 largest = 0;
    for (const QString& table : {tables.header, tables.archiveHeader}) {
        const Field max = value(SqlSelect::largest(table, numberColumn));
        if (!max.isNull())
            largest = std::max(largest, max.asInteger());
    }
    return largest;
}

void SalesStore::header(Query& query, const SalesTables& tables, qint64 number) const
{
    load(query, SqlSelect::where(tables.header, numberColumn, number));
}

void SalesStore::printedParts(Query& query, const SalesTables& tables, qint64 number) const
{
    // In the order entered: the file would otherwise read them along the index of number and
    // part number, sorted by part number.
    load(query, SqlSelect::where(tables.items, QStringLiteral("Inv_Item"), number,
                                 QStringLiteral("Name_Item,Qty_Item,Rate_Item,Amount_Item,"
                                                "Color_Item,Inv_Item")) +
                    QStringList{QStringLiteral(" Order By rowid")});
}

void SalesStore::printedLabor(Query& query, const SalesTables& tables, qint64 number) const
{
    load(query, SqlSelect::where(tables.labor, QStringLiteral("Inv_Labor"), number,
                                 QStringLiteral("Description_Labor,PartNo_Labor,Qty_Labor,"
                                                "Rate_Labor,Amount_Labor,Remark_Labor,Inv_Labor")) +
                    QStringList{QStringLiteral(" Order By rowid")});
}

SalesStore::Payments SalesStore::payments(const SalesTables& tables, qint64 number) const
{
    const std::unique_ptr<Query> sums =
        rows(SqlStatement{{"Select Count(*), Sum(Amount_Receivable) From " + tables.payments +
                           " where InvoiceNo_Receivable = ?"},
                          {number}});
    return {int(sums->field(0, 0).asInteger()), sums->field(0, 1).asCurrency()};
}

Field SalesStore::paidSum(const SalesTables& tables, qint64 number) const
{
    return value(SqlSelect::sum(tables.payments, QStringLiteral("Amount_Receivable"),
                                QStringLiteral("InvoiceNo_Receivable"), number));
}

void SalesStore::remove(const SalesTables& tables, qint64 number) const
{
    change(SqlStatement{{"Delete From " + tables.header + " where InvoiceNo_Inv = ?"}, {number}});
    change(SqlStatement{{"Delete From " + tables.items + " where Inv_Item = ?"}, {number}});
    change(SqlStatement{{"Delete From " + tables.labor + " where Inv_Labor = ?"}, {number}});
}

void SalesStore::archive(const SalesTables& tables, const SqlRow& header, qint64 number) const
{
    Transaction transaction(connection());
    // An archived document is never replaced, nor are lines added to it.
    if (exists(SqlSelect::where(tables.archiveHeader, numberColumn, number, numberColumn)))
        throw DbError(
            QStringLiteral("The archive already holds a document numbered %1.").arg(number));
    change(header.insert());
    // The lines are copied row for row in the order the database keeps them, with their
    // values as stored.
    change(SqlStatement{
        {"Insert Into " + tables.archiveItems +
             " ( Inv_Item, Name_Item, Mfg_Item, Qty_Item,Style_Item,Color_Item,Rate_Item,"
             "Amount_Item )",
         " Select Inv_Item, Name_Item, Mfg_Item, Qty_Item, Style_Item, Color_Item,"
         " Rate_Item, Amount_Item From " +
             tables.items + " where Inv_Item = ? Order By rowid"},
        {number}});
    change(
        SqlStatement{{"Insert Into " + tables.archiveLabor +
                          " ( Inv_Labor,Description_Labor, PartNo_Labor, Qty_Labor, Rate_Labor,"
                          "Amount_Labor,Remark_Labor)",
                      " Select Inv_Labor, Description_Labor, PartNo_Labor, Qty_Labor, Rate_Labor,"
                      " Amount_Labor, Remark_Labor From " +
                          tables.labor + " where Inv_Labor = ? Order By rowid"},
                     {number}});
    // Money received goes with the document: what stays open reads as before.
    change(SqlStatement{
        {"Insert Into " + tables.archivePayments +
             " ( InvoiceNo_Receivable, Name_Receivable, ViaPayment_Receivable,"
             " PayDate_Receivable, Ref_Receivable, DepositTo_Receivable,"
             " Amount_Receivable, Chart_Receivable, SubChart_Receivable,"
             " Remark_Receivable )",
         " Select InvoiceNo_Receivable, Name_Receivable, ViaPayment_Receivable,"
         " PayDate_Receivable, Ref_Receivable, DepositTo_Receivable, Amount_Receivable,"
         " Chart_Receivable, SubChart_Receivable, Remark_Receivable From " +
             tables.payments + " where InvoiceNo_Receivable = ? Order By rowid"},
        {number}});
    change(SqlStatement{{"Delete From " + tables.payments + " where InvoiceNo_Receivable = ?"},
                        {number}});
    remove(tables, number);
    transaction.commit();
}

void SalesStore::taxCovering(Query& query, int year, int month) const
{
    // A year may change its rate in the middle: the row whose months cover the month (the
    // earliest starting one, should two overlap). The reports read the same row.
    load(query, SqlStatement{{"Select * From Tax where Year_T = ?", "and A_T <= ?", "and E_T >= ?",
                              "Order By A_T"},
                             {qlonglong(year), qlonglong(month), qlonglong(month)}});
}

void SalesStore::taxOfYear(Query& query, int year) const
{
    load(query,
         SqlStatement{{"Select * From Tax where Year_T = ?", "Order By A_T"}, {qlonglong(year)}});
}

void SalesStore::noTax(Query& query) const
{
    load(query, SqlStatement{{QStringLiteral("Select 0 As Tax_T")}});
}

// ---- Estimate into invoice ---------------------------------------------------------------------

namespace {
// The header columns an invoice takes over from its estimate.
const QStringList copiedFromEstimate = {
    "CustomerName_Inv", "RepairPerson_Inv", "PO_Inv",   "Amount_Inv",  "LicenseNo_Inv",
    "Remark_Inv",       "JobLocation_Inv",  "Vin_Inv",  "TruckNo_Inv", "Mileage_Inv",
    "Make_Inv",         "Model_Inv",        "Year_Inv", "Plate_Inv",   "Tax_Inv"};
} // namespace

qint64 SalesStore::invoiceMadeOf(qint64 estimate) const
{
    return value(SqlSelect::where(QStringLiteral("Estimate"), numberColumn, estimate,
                                  QStringLiteral("Invoice_Est")))
        .asInteger();
}

qint64 SalesStore::makeInvoice(qint64 estimate, qint64 madeBefore, const QDate& today) const
{
    Transaction transaction(connection());
    const auto stored =
        rows(SqlStatement{{"Select " + copiedFromEstimate.join(QStringLiteral(", ")) +
                           " From Estimate where InvoiceNo_Inv = ?"},
                          {estimate}});
    if (stored->recordCount() == 0)
        throw DbError(QStringLiteral("There is no estimate %1 saved.").arg(estimate));
    SqlRow invoice = SqlRow::currentRow(QStringLiteral("Invoice"), *stored);
    const QString date = Formats::shortDate(today);
    invoice.set(QStringLiteral("InvoiceDate_Inv"), date)
        .set(QStringLiteral("EntryDate_Inv"), date)
        .set(QStringLiteral("DueDate_Inv"), date)
        .setYesNo(QStringLiteral("Paid_Inv"), false);
    const QStringList numbered = {QStringLiteral("Invoice"), QStringLiteral("InvoiceCash")};
    const qint64 number =
        NumberClaim::insert(*connection(), invoice, numberColumn,
                            NumberClaim::next(*connection(), numbered, numberColumn),
                            {QStringLiteral("InvoiceCash")})
            .number;
    // The lines in the order they were added, with their values as stored.
    change(SqlStatement{{"Insert Into InvItem ( Inv_Item, Name_Item, Mfg_Item, Qty_Item, "
                         "Style_Item, Color_Item, Rate_Item, Amount_Item )",
                         " Select ?, Name_Item, Mfg_Item, Qty_Item, Style_Item, Color_Item, "
                         "Rate_Item, Amount_Item From EstimateItem where Inv_Item = ? Order By " +
                             SqlDialect::rowKeyColumn()},
                        {number, estimate}});
    change(SqlStatement{{"Insert Into InvLabor ( Inv_Labor, Description_Labor, PartNo_Labor, "
                         "Qty_Labor, Rate_Labor, Amount_Labor, Remark_Labor )",
                         " Select ?, Description_Labor, PartNo_Labor, Qty_Labor, Rate_Labor, "
                         "Amount_Labor, Remark_Labor From EstimateLabor where Inv_Labor = ? Order "
                         "By " +
                             SqlDialect::rowKeyColumn()},
                        {number, estimate}});
    // The estimate records its invoice only if it is still what the user was told: a station
    // that made an invoice of it meanwhile holds its row until it commits, and this one then
    // finds the record changed and writes nothing.
    const int claimed = change(
        madeBefore == 0
            ? SqlStatement{{"Update Estimate Set Invoice_Est = ? where InvoiceNo_Inv = ? And "
                            "Invoice_Est Is Null"},
                           {number, estimate}}
            : SqlStatement{{"Update Estimate Set Invoice_Est = ? where InvoiceNo_Inv = ? And "
                            "Invoice_Est = ?"},
                           {number, estimate, madeBefore}});
    if (claimed != 1)
        throw DbError(QStringLiteral("Estimate %1 was made into invoice %2 at another station "
                                     "meanwhile; no invoice was made here.")
                          .arg(estimate)
                          .arg(invoiceMadeOf(estimate)));
    transaction.commit();
    return number;
}
