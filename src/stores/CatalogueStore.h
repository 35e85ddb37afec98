#pragma once

#include "stores/Store.h"

class SqlRow;

// The statements of the catalogues: parts, labor, vendors, customers, employees, tax rates,
// the shop's profile and its users.
class CatalogueStore : public Store
{
public:
    using Store::Store;

    // The quantity of a part number sold on invoices and bought on purchase orders (null
    // when no line holds it).
    Field partSold(const QString& partNo) const;
    Field partBought(const QString& partNo) const;
    // The parts that carry a part number, into query.
    void partsNumbered(Query& query, const QString& partNo) const;
    // What a labor description was invoiced for.
    Field laborSold(const QString& description) const;
    // What a customer was invoiced and what the customer paid.
    Field customerInvoiced(const QString& name) const;
    Field customerPaid(const QString& name) const;
    // What a vendor billed.
    Field vendorBilled(const QString& name) const;

    // The shop's profile row, into query (no row when the shop has none yet).
    void profile(Query& query) const;
    // Writes the profile row, adding it when the shop has none: one unit.
    void saveProfile(const SqlRow& row) const;
};
