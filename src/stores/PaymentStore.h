#pragma once

#include "stores/Store.h"

// Where one kind of payment is kept and what it pays: payments received on invoices (or
// estimates), or payments made on vendor bills.
struct PaymentTables
{
    QString payments;       // "Receivable"
    QString amount;         // the payment's amount: "Amount_Receivable"
    QString document;       // the document it pays: "InvoiceNo_Receivable"
    QString reference;      // "Ref_Receivable"
    QString documents;      // "Invoice"
    QString documentKey;    // "InvoiceNo_Inv"
    QString documentAmount; // "Amount_Inv"
};

// The statements of payments received and paid, and of their lists.
class PaymentStore : public Store
{
public:
    using Store::Store;

    // What a document was paid, leaving out the payment whose hidden key is except (0: none).
    Field paidSum(const PaymentTables& tables, const QVariant& document, qint64 except = 0) const;
    // The document a payment pays, into query (no row when there is none).
    void document(Query& query, const PaymentTables& tables, const QVariant& document) const;
    // The payments on a document under a reference, into query.
    void payments(Query& query, const PaymentTables& tables, const QVariant& document,
                  const QString& reference) const;

    // The payments received under one document number, in the given payments table.
    static TableRead receivedOn(const QString& payments, qint64 number);
    // Every payment received, those received from one customer, and their sum.
    static TableRead received();
    static TableRead receivedFrom(const QString& customer);
    Field receivedSum() const;
    // Every payment made on vendor bills, those made on one bill, and their sum.
    static TableRead paid();
    static TableRead paidOn(const QString& bill);
    Field paidSum() const;
};
