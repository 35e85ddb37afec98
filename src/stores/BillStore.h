#pragma once

#include "data/Currency.h"
#include "stores/Store.h"

#include <optional>

// The statements of vendor bills, their part and expense lines, and what is paid on them.
class BillStore : public Store
{
public:
    using Store::Store;

    // Every bill, and the bills of one vendor.
    static TableRead bills();
    static TableRead vendorBills(const QString& vendor);

    // The largest bill reference that reads as a whole number (0 when none does).
    qint64 largestReference() const;
    // Whether a bill, a line or a payment holds the reference.
    bool referenceUsed(const QString& reference) const;
    // The bill holding a reference, other than the one whose hidden key is except.
    struct Bill
    {
        QString vendor;
        QString date;
    };
    std::optional<Bill> billReferenced(const QString& reference, qint64 except = 0) const;
    // The reference the bill with this hidden key is stored under; none when it is gone.
    std::optional<QString> storedReference(qint64 key) const;
    // Stations storing bills take turns until the open transaction ends (on a server; the
    // file's write lock does that already).
    void lockReferences() const;
    // The lines and payments of one reference moved to another.
    void moveReference(const QString& from, const QString& to) const;
    // The part and expense lines of a reference removed.
    void removeLines(const QString& reference) const;

    // How many payments a bill has and their sum.
    struct Payments
    {
        qint64 count = 0;
        Currency sum;
    };
    Payments payments(const QString& reference) const;
    // What a bill was paid (null when nothing).
    Field paidSum(const QString& reference) const;

private:
    // Where a bill's reference is held: the bill itself, its lines and its payments.
    static QList<std::pair<QString, QString>> referenceColumns();
};
