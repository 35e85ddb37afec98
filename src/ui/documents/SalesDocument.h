#pragma once

#include "stores/SalesStore.h"
#include "ui/documents/SalesTotals.h"

#include <QString>

#include <memory>
#include <optional>

class PreparedReport;
class Query;
class SqlRow;

// What invoices and estimates do alike with a document as a whole: number it, archive it and
// print it.
namespace SalesDocument {

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
using Payments = SalesStore::Payments;
Payments payments(const SalesTables& tables, const QString& number);

// The printout of document number as stored, in layout: its header, its lines and the tax
// row of its date. Nothing (and the user told) when the document is not saved.
std::optional<PreparedReport> prepare(const SalesTables& tables, const QString& documentName,
                                      const QString& number, SalesTotals::UncoveredMonth rule,
                                      const QString& layout);

} // namespace SalesDocument
