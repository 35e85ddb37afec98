#include "reports/TTruckHistory.h"

#include "data/Query.h"
#include "printing/PreparedReport.h"
#include "printing/ReportEngine.h"
#include "stores/TruckStore.h"

#include <QLineEdit>
#include <QPointer>

#include <memory>

namespace {
// The window the printout is of, set once it is made.
using Shown = std::shared_ptr<QPointer<HistoryWindow>>;

HistoryDescription truckHistory(const TTruckHistory::Preview& preview, int comebackDays,
                                const Shown& shown)
{
    HistoryDescription d;
    d.caption = QStringLiteral("Truck History");
    d.heading = d.caption;
    d.search = HistoryDescription::Search{QStringLiteral("&VIN, truck # or plate:"),
                                          QStringLiteral("TruckSearch"),
                                          QStringLiteral("Any part of a VIN, a truck number or a "
                                                         "plate")};
    d.wholeStatement = [comebackDays](const QString& text) {
        return TruckStore().history(text, comebackDays);
    };
    d.titles = {"Kind", "Number",  "Date",  "Mileage", "Customer",
                "VIN",  "Truck #", "Plate", "Total",   "Comeback"};
    d.titleSort = true;
    d.detail = HistoryDescription::Detail{
        QStringLiteral("LinesGrid"),
        {"Line", "Part No", "Description", "Qty", "Rate", "Amount"},
        [](const Query& row) {
            return TruckStore::lines(row.field(QStringLiteral("Kind")).asText(),
                                     row.field(QStringLiteral("InvoiceNo_Inv")).asNumber());
        }};
    if (preview)
        d.print = [preview, shown](const Query* rows) {
            // Printed with the text the rows were found by.
            preview(TTruckHistory::prepareReport(rows, *shown ? (*shown)->value() : QString()));
        };
    return d;
}
} // namespace

TTruckHistory::TTruckHistory(Preview preview, int comebackDays, QWidget* parent)
    : TTruckHistory(std::move(preview), comebackDays, std::make_shared<QPointer<HistoryWindow>>(),
                    parent)
{}

TTruckHistory::TTruckHistory(Preview preview, int comebackDays,
                             std::shared_ptr<QPointer<HistoryWindow>> shown, QWidget* parent)
    : HistoryWindow(truckHistory(preview, comebackDays, shown), parent)
{
    *shown = this;
    setObjectName(QStringLiteral("TruckHistory"));
    resize(sizeHint());
}

PreparedReport TTruckHistory::prepareReport(const Query* rows, const QString& search)
{
    ReportEngine::PrepareOptions options;
    options.parameters.insert(QStringLiteral("Search"), search);
    PreparedReport report =
        ReportEngine::prepareFile(QStringLiteral(":/reports/layouts/truck-history.json"),
                                  {{QStringLiteral("frxD"), rows}}, options);
    report.title = QStringLiteral("Truck History");
    return report;
}
