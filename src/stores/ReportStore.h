#pragma once

#include "stores/Store.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

// The statements of the period reports and their work tables. A period runs from one date to
// another, both included; a choice narrows a report to the rows holding its text exactly, and
// no choice (the filter's "All") leaves the report unnarrowed.
class ReportStore : public Store
{
public:
    using Store::Store;

    using Choice = std::optional<QString>;

    // The invoice whose tax cannot be worked out: taxed, with parts, and no rate for the year
    // of its date (or no date at all).
    struct UnratedInvoice
    {
        QString invoice;
        Field date;
    };

    // The queries the totals printout reads: the labor, the parts, the tax on parts of the
    // taxed invoices, each invoice's tax at the rate of its own date and rounded to the cent
    // as the invoice rounds it, and the parts ordered from vendors in the period.
    struct Totals
    {
        Query& labor;
        Query& parts;
        Query& tax;
        Query& purchases;
    };

    // The narrowing of the payments made to vendors.
    struct PayableChoices
    {
        Choice vendor = {};
        Choice via = {};
        Choice chart = {};
        Choice subChart = {};
    };

    // The drop-down lists of the filters: the different values they offer after "All". The
    // boxes run them each time a list opens.

    // ---- Totals ------------------------------------------------------------------------------

    // The totals of the invoices dated in the period, of one customer when chosen, only of
    // those marked paid when paidOnly. When one of them cannot be taxed, nothing is loaded and
    // that invoice is returned.
    std::optional<UnratedInvoice> invoiceTotals(const Totals& totals, const QDate& from,
                                                const QDate& to, const Choice& customer,
                                                bool paidOnly) const;
    // The totals of the invoices finished in the period: paid in it and not after it, each
    // counted once. They are added up invoice by invoice in the work tables TotalLabor,
    // TotalItem and TotalTax, whose sums are loaded; an invoice not marked paid counts 0 when
    // paidOnly. When one of them cannot be taxed, the work tables keep the last run and that
    // invoice is returned.
    std::optional<UnratedInvoice> finishedTotals(const Totals& totals, const QDate& from,
                                                 const QDate& to, bool paidOnly) const;

    // ---- Invoices by their payments ----------------------------------------------------------

    // Every payment of every invoice finished in the period (only those marked paid when
    // paidOnly), the payments before the period too, invoice by invoice and in date order:
    // kept in the work table TotalReport and loaded into rows.
    void finishedInvoicePayments(Query& rows, const QDate& from, const QDate& to,
                                 bool paidOnly) const;
    // The invoices dated in the period that are open, or with paid those marked paid, of one
    // customer when chosen, each with all it received so far: kept in the work table
    // OpenInvoice and loaded into rows.
    void openInvoices(Query& rows, const QDate& from, const QDate& to, const Choice& customer,
                      bool paid) const;

    // ---- Aging -------------------------------------------------------------------------------
    // What each customer (vendor) owed on day asOf, one row each by name: Party, the balance
    // of its open invoices (bills) in the buckets NotYetDue (not yet past due), Days30 (1 to 30
    // days past the due date, or the invoice date without one), Days60, Days90, Over90, and
    // Total. A balance is the amount less what was paid by that day; an invoice or bill dated
    // after the day is left out, as is a customer (vendor) who owed nothing. An invoice marked
    // paid counts as paid in full unless a payment of it came after the day.
    void receivablesAging(Query& rows, const QDate& asOf) const;
    void payablesAging(Query& rows, const QDate& asOf) const;
    // The statements these run, in the shop's wording.
    static SqlStatement receivablesAgingOn(const QDate& asOf);
    static SqlStatement payablesAgingOn(const QDate& asOf);
    // The statements of the customers (the one chosen) on day asOf: a row for each invoice
    // with a balance that day, the customer's rows together and by invoice date. Statement
    // (the customer's name in capitals, the same for every spelling of it), CustomerName_Inv,
    // the address of the first customer of that name (Address_Customer, City_Customer,
    // State_Customer, Zip_Customer), InvoiceNo_Inv, InvoiceDate_Inv, DueDate_Inv (the invoice
    // date without one), Amount_Inv, Paid (by that day), Balance, Days past due, and the
    // balance again in its bucket (NotYetDue, Days30 ... Over90, as the aging has them; zero in
    // the others). A customer who owed nothing has no rows.
    void statements(Query& rows, const QDate& asOf, const Choice& customer) const;
    static SqlStatement statementsOn(const QDate& asOf, const Choice& customer);

    // ---- Listings ----------------------------------------------------------------------------

    // The payments made to vendors in the period, narrowed by the choices, in date order.
    void vendorPayments(Query& rows, const QDate& from, const QDate& to,
                        const PayableChoices& choices) const;
    // The payments received in the period, of one payer and by one method when chosen, in
    // date order.
    void customerPayments(Query& rows, const QDate& from, const QDate& to, const Choice& customer,
                          const Choice& method) const;
    // The lines of the purchase orders of the period, of one vendor when chosen.
    void orderLines(Query& rows, const QDate& from, const QDate& to, const Choice& vendor) const;
    // The order lines of the period whose part name holds part, in which % stands for any
    // text and _ for any one character (an empty part holds every name); of one vendor and
    // for one customer when chosen.
    void partOrderLines(Query& rows, const QString& part, const QDate& from, const QDate& to,
                        const Choice& vendor, const Choice& customer) const;
    // The invoices dated in the period with their part lines, or their labor lines, of one
    // customer when chosen.
    void invoicePartLines(Query& rows, const QDate& from, const QDate& to,
                          const Choice& customer) const;
    void invoiceLaborLines(Query& rows, const QDate& from, const QDate& to,
                           const Choice& customer) const;

private:
    // Takes the work tables for this run, inside the caller's transaction, and empties them.
    void takeWorkTables(const QStringList& tables) const;
    std::optional<UnratedInvoice> unrated(const SqlStatement& statement) const;
};
