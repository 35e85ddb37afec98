#pragma once

#include "data/Currency.h"
#include "stores/Store.h"

class SqlRow;

// The tables of one kind of sales document (invoice or estimate) and of the archive that
// both kinds move into.
struct SalesTables
{
    QString header; // "Invoice"
    QString items;  // "InvItem", keyed by Inv_Item
    QString labor;  // "InvLabor", keyed by Inv_Labor
    // The payments received under the document's number, keyed by InvoiceNo_Receivable.
    QString payments = QStringLiteral("Receivable");
    // The archive of this kind of document; the payments go there with it.
    QString archiveHeader = QStringLiteral("InvoiceCash");
    QString archiveItems = QStringLiteral("InvItemCash");
    QString archiveLabor = QStringLiteral("InvLaborCash");
    QString archivePayments = QStringLiteral("ReceivableCash");
};

// The statements of invoices and estimates: their headers, lines, numbers, payments, tax rows
// and archive.
class SalesStore : public Store
{
public:
    using Store::Store;

    // The documents of a kind: those not paid, those paid, or all of them.
    enum class Which
    {
        Open,
        Paid,
        All
    };
    static TableRead documents(const SalesTables& tables, Which which);
    // The invoices of a customer; the invoice lines of a labor description and of a part
    // number.
    static TableRead customerInvoices(const QString& customer);
    static TableRead laborInvoiced(const QString& description);
    static TableRead partInvoiced(const QString& partNo);

    // The highest price a customer was invoiced for a part number, and the price on the
    // customer's latest invoice of it (null when never).
    Field highestPrice(const QString& customer, const QString& partNo) const;
    Field latestPrice(const QString& customer, const QString& partNo) const;

    // The largest number the kind's own table and its archive hold (0 for none).
    qint64 largestNumber(const SalesTables& tables) const;
    // One document's header, into query (no row when it is not stored).
    void header(Query& query, const SalesTables& tables, qint64 number) const;
    // One document's part and labor lines as its printout shows them, into query.
    void printedParts(Query& query, const SalesTables& tables, qint64 number) const;
    void printedLabor(Query& query, const SalesTables& tables, qint64 number) const;

    // How many payments a document has, and their sum.
    struct Payments
    {
        int count = 0;
        Currency sum;
    };
    Payments payments(const SalesTables& tables, qint64 number) const;
    // What a document was paid (null when nothing).
    Field paidSum(const SalesTables& tables, qint64 number) const;
    // Removes a document with its lines (the caller holds the transaction and has checked
    // that no payment is left).
    void remove(const SalesTables& tables, qint64 number) const;
    // Moves a document into the archive: header as given, its lines and payments copied as
    // stored, then the document, its lines and its payments removed, in one transaction.
    // Throws DbError, archiving nothing, when the archive already holds the number.
    void archive(const SalesTables& tables, const SqlRow& header, qint64 number) const;

    // The invoice an estimate was made into (0 when none, or when the estimate is not stored).
    qint64 invoiceMadeOf(qint64 estimate) const;
    // Makes an invoice of the estimate: its customer, address, sale person, contact name (into
    // the invoice's PO), truck data, tax choice, amount and remark, not paid, dated today,
    // under the next invoice number, with every part and labor line as stored; the estimate
    // keeps its rows and records the invoice. madeBefore is the invoice it was made into
    // already, as the user was told (0 for none): when another station made one meanwhile,
    // DbError says so and nothing is written. One transaction; returns the invoice's number.
    qint64 makeInvoice(qint64 estimate, qint64 madeBefore, const QDate& today) const;

    // The tax rows of a year whose months cover month (the earliest starting first), and all
    // the tax rows of a year, into query.
    void taxCovering(Query& query, int year, int month) const;
    void taxOfYear(Query& query, int year) const;
    // A tax row of rate 0, for a document no row covers.
    void noTax(Query& query) const;
};
