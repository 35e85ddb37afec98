#pragma once

#include "stores/Store.h"

#include <optional>

// A truck's history: every invoice and estimate, the archived ones too, found by any part of
// the truck's VIN, truck number or plate, and the lines of each.
class TruckStore : public Store
{
public:
    using Store::Store;

    // The documents whose VIN, truck number or plate holds text: anywhere in it from three
    // letters on (from the index), a whole truck number or plate when shorter; none for a
    // blank text. Newest first: Kind ("Invoice", "Estimate", "Archived Invoice", "Archived
    // Estimate"), the header's InvoiceNo_Inv, InvoiceDate_Inv, Mileage_Inv, CustomerName_Inv,
    // Vin_Inv, TruckNo_Inv, Plate_Inv, Amount_Inv, and Comeback:
    // "Comeback" on an invoice dated 1 to comebackDays days after an earlier invoice of the
    // same VIN (the archived ones count), empty otherwise.
    std::optional<SqlStatement> history(const QString& text, int comebackDays) const;
    // The same statement for the file or for a server.
    static std::optional<SqlStatement> historyOn(bool server, const QString& text,
                                                 int comebackDays);

    // The part and labor lines of one document of the history, parts first: Line ("Part" or
    // "Labor") and the part line's columns Color_Item (the part or labor number), Name_Item
    // (its description), Qty_Item, Rate_Item, Amount_Item. None for a kind it does not know.
    static std::optional<SqlStatement> lines(const QString& kind, qint64 number);

    // The comeback days when the settings file names none.
    static constexpr int DefaultComebackDays = 30;
    // The comeback days of the settings file (history/comebackDays), or the default.
    static int comebackDays(const QString& settingsFile);
};
