// Measures preparing a printout of many part lines (default 10,000): page header with
// "[Page#]/[TotalPages#]", a group header per invoice, a framed row of five columns with money
// formats, group footers and a report total. Usage: report_bench [rows]

#include "app/TavlinApplication.h"
#include "data/Connection.h"
#include "data/Query.h"
#include "data/TDM.h"
#include "printing/PreparedReport.h"
#include "printing/ReportEngine.h"
#include "printing/ReportLayout.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

namespace {

const char* const layoutText = R"({
  "title": "Parts bench",
  "dataSets": ["d"],
  "pages": [{
    "paper": {"width": 215.9, "height": 279.4}, "margins": 10,
    "bands": [
      {"type": "pageHeader", "height": 12, "objects": [
        {"type": "text", "rect": [0, 0, 60, 5], "text": "[Page#]/[TotalPages#]"},
        {"type": "text", "rect": [60, 0, 135.9, 8], "text": "Tavlin Truck Repair",
         "bold": true, "fontSize": 14, "align": "right"}]},
      {"type": "groupHeader", "height": 6, "column": "Inv_Item", "objects": [
        {"type": "text", "rect": [0, 0, 80, 5], "text": "Invoice # [d.\"Inv_Item\"]",
         "bold": true}]},
      {"type": "masterData", "name": "MasterData1", "dataSet": "d", "height": 6,
       "stretch": true, "objects": [
        {"type": "frame", "rect": [0, 0, 195.9, 6], "growWithBand": true},
        {"type": "text", "rect": [1, 0.5, 90, 5], "text": "Part : [d.\"Name_Item\"]",
         "wordWrap": true},
        {"type": "text", "rect": [92, 0.5, 30, 5], "text": "[d.\"Color_Item\"]"},
        {"type": "text", "rect": [123, 0.5, 20, 5], "text": "[d.\"Qty_Item\"]", "align": "right"},
        {"type": "text", "rect": [144, 0.5, 25, 5], "text": "[d.\"Rate_Item\" | %2.2m]",
         "align": "right"},
        {"type": "text", "rect": [170, 0.5, 25, 5], "text": "[d.\"Amount_Item\" | %2.2m]",
         "align": "right"}]},
      {"type": "groupFooter", "height": 6, "objects": [
        {"type": "text", "rect": [100, 0, 95.9, 5], "align": "right",
         "text": "Total Items [SUM(<d.\"Amount_Item\">,MasterData1) | %2.2m]"}]},
      {"type": "reportSummary", "height": 8, "objects": [
        {"type": "text", "rect": [100, 0, 95.9, 6], "align": "right", "bold": true,
         "text": "Total Parts [SUM(<d.\"Amount_Item\">,MasterData1) | %2.2m]"}]},
      {"type": "pageFooter", "height": 6, "objects": [
        {"type": "text", "rect": [0, 0, 195.9, 5], "text": "Page [Page#]", "align": "center"}]}
    ]
  }]
})";

void generate(TDM& dm, int rows)
{
    QSqlDatabase db = dm.admin1()->database();
    db.transaction();
    QSqlQuery insert(db);
    insert.prepare("Insert into InvItem (Name_Item, Qty_Item, Color_Item, Rate_Item, "
                   "Amount_Item, Inv_Item) values (?, ?, ?, ?, ?, ?)");
    for (int i = 0; i < rows; ++i) {
        const double qty = 1 + i % 4;
        const double rate = (i * 7919 % 20000) / 100.0;
        insert.addBindValue(QString("Part %1 for the front axle").arg(i));
        insert.addBindValue(qty);
        insert.addBindValue(QString("PN%1").arg(i * 31 % 9973));
        insert.addBindValue(rate);
        insert.addBindValue(qty * rate);
        insert.addBindValue(1 + i / 5);
        insert.exec();
    }
    db.commit();
}

} // namespace

int main(int argc, char** argv)
{
    TavlinApplication app(argc, argv);
    const int rows = argc > 1 ? QString(argv[1]).toInt() : 10000;
    QTextStream out(stdout);

    QTemporaryDir dir;
    TDM dm(dir.filePath("bench.db"));
    generate(dm, rows);
    Query lines("Q1", dm.admin1());
    lines.add("select * from InvItem");
    lines.open();

    QString error;
    const auto layout = ReportLayout::fromJson(layoutText, &error);
    if (!layout) {
        out << error << Qt::endl;
        return 1;
    }
    QList<double> ms;
    int pages = 0;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer timer;
        timer.start();
        const PreparedReport report = ReportEngine::prepare(*layout, {{"d", &lines}});
        ms.append(timer.nsecsElapsed() / 1e6);
        pages = report.pageCount();
    }
    std::sort(ms.begin(), ms.end());
    out << rows << " rows, " << pages << " pages: prepare " << ms.at(ms.size() / 2)
        << " ms (median of 5, two passes for the page count)" << Qt::endl;
    return 0;
}
