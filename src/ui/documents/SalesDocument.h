#pragma once

#include "ui/documents/SalesTotals.h"

#include <QString>

#include <memory>
#include <optional>

class PreparedReport;
class Query;
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

// What invoices and estimates do alike with a document as a whole: number it, archive it and
// print it.
namespace SalesDocument {

// A query of the caller's own for one command, on the shop connection.
std::unique_ptr<Query> rows(const QString& name);

// The next number for a new document: the largest number its table and its archive hold, plus
// one, so that an archived number is never given again.
qint64 nextNumber(const SalesTables& tables);

// Moves document number into the archive: the header as header holds it (the boxes, without
// the tax flag), the lines and payments copied as stored, then the document, its lines and
// its payments removed, all or nothing. A number the archive already holds is refused, and
// nothing is archived.
void archive(const SalesTables& tables, const SqlRow& header, const QString& number,
             const QString& documentName);

// The layout resources of a printout, with and without tax on the parts.
struct Layouts
{
    QString taxed;
    QString untaxed;
};

// How many payments document number has, and their sum.
struct Payments
{
    int count = 0;
    Currency sum;
};
Payments payments(const SalesTables& tables, const QString& number);

// The printout of document number as stored, in layout: its header, its lines and the tax
// row of its date. Nothing (and the user told) when the document is not saved.
std::optional<PreparedReport> prepare(const SalesTables& tables, const QString& documentName,
                                      const QString& number, SalesTotals::UncoveredMonth rule,
                                      const QString& layout);

} // namespace SalesDocument
