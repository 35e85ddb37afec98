#include "stores/TruckStore.h"

#include "data/Connection.h"
#include "data/TruckSearch.h"

#include <QSettings>

namespace {
struct Kind
{
    const char* name;
    const char* items;
    const char* labor;
    bool invoice;
};

// Each kind of document in the order of the search index's numbers (whose sources name the
// header tables).
const Kind kinds[] = {{"Invoice", "InvItem", "InvLabor", true},
                      {"Estimate", "EstimateItem", "EstimateLabor", false},
                      {"Archived Invoice", "InvItemCash", "InvLaborCash", true},
                      {"Archived Estimate", "EstimateItemCash", "EstimateLaborCash", false}};

// Whether an invoice of the same VIN is dated 1 to days days before O's date, in table.
QString earlierInvoice(const char* table)
{
    return QStringLiteral("Exists (select P.InvoiceNo_Inv From %1 P where P.Vin_Inv = O.Vin_Inv "
                          "And P.InvoiceDate_Inv < O.InvoiceDate_Inv And DateDiff('d', "
                          "P.InvoiceDate_Inv, O.InvoiceDate_Inv) <= ?)")
        .arg(QLatin1String(table));
}
} // namespace

std::optional<SqlStatement> TruckStore::history(const QString& text, int comebackDays) const
{
    return historyOn(connection()->isServer(), text, comebackDays);
}

std::optional<SqlStatement> TruckStore::historyOn(bool server, const QString& text,
                                                  int comebackDays)
{
    const QString wanted = text.trimmed();
    if (wanted.isEmpty())
        return std::nullopt;
    const bool anywhere = wanted.size() >= TruckSearch::Shortest;
    SqlStatement statement;
    for (const TruckSearch::Source& source : TruckSearch::sources()) {
        const Kind& kind = kinds[source.kind];
        SqlStatement arm{
            {QStringLiteral("%1select '%2' As Kind, O.InvoiceNo_Inv, O.InvoiceDate_Inv, "
                            "O.Mileage_Inv, O.CustomerName_Inv, O.Vin_Inv, O.TruckNo_Inv, "
                            "O.Plate_Inv, O.Amount_Inv, ")
                 .arg(statement.text().isEmpty() ? QString() : QStringLiteral(" Union All "),
                      QLatin1String(kind.name))}};
        if (kind.invoice) {
            arm =
                arm + SqlStatement{{"IIf(O.Vin_Inv <> '' And (" + earlierInvoice("Invoice") +
                                    " Or " + earlierInvoice("InvoiceCash") + "), 'Comeback', '')"},
                                   {comebackDays, comebackDays}};
        } else {
            arm = arm + SqlStatement{{QStringLiteral("''")}};
        }
        arm =
            arm + SqlStatement{{QStringLiteral(" As Comeback From %1 O where ").arg(source.table)}};
        if (!anywhere) {
            arm = arm + SqlStatement{{QStringLiteral("(O.TruckNo_Inv = ? Or O.Plate_Inv = ?)")},
                                     {wanted, wanted}};
        } else if (server) {
            arm = arm + SqlStatement{{TruckSearch::serverKey(QStringLiteral("O")) +
                                      QStringLiteral(" ILIKE ?")},
                                     {TruckSearch::serverPattern(wanted)}};
        } else {
            arm = arm + SqlStatement{{QStringLiteral("O.tavlin_row In (select rowid / 4 From "
                                                     "TruckSearch where TruckSearch Match ? And "
                                                     "rowid % 4 = %1)")
                                          .arg(source.kind)},
                                     {TruckSearch::fileMatch(wanted)}};
        }
        statement = statement + arm;
    }
    return statement + SqlStatement{{QStringLiteral(" Order By 3 Desc, 2 Desc, 1")}};
}

std::optional<SqlStatement> TruckStore::lines(const QString& kind, qint64 number)
{
    for (const Kind& k : kinds) {
        if (kind != QLatin1String(k.name))
            continue;
        return SqlStatement{
            {QStringLiteral("select 'Part' As Line, Color_Item, Name_Item, Qty_Item, Rate_Item, "
                            "Amount_Item From %1 where Inv_Item = ? Union All select 'Labor', "
                            "PartNo_Labor, Description_Labor, Qty_Labor, Rate_Labor, Amount_Labor "
                            "From %2 where Inv_Labor = ?")
                 .arg(QLatin1String(k.items), QLatin1String(k.labor))},
            {number, number}};
    }
    return std::nullopt;
}

int TruckStore::comebackDays(const QString& settingsFile)
{
    const QSettings settings(settingsFile, QSettings::IniFormat);
    bool ok = false;
    const int days = settings.value(QStringLiteral("history/comebackDays")).toInt(&ok);
    return ok && days >= 0 ? days : DefaultComebackDays;
}
