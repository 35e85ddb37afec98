// Measures the Parts window's commands on a large generated catalogue, beside the same
// statements run straight on SQLite. Usage: parts_bench [parts] (default 200000)

#include "app/TavlinApplication.h"
#include "data/Connection.h"
#include "data/Query.h"
#include "data/TDM.h"
#include "masters/TPart.h"
#include "ui/common/DataGrid.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <functional>

namespace {
QTextStream out(stdout);

double timed(const std::function<void()>& work, int rounds = 5)
{
    QList<double> ms;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        ms.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms.at(ms.size() / 2);
}

void generate(TDM& dm, int parts)
{
    QSqlDatabase db = dm.admin1()->database();
    db.transaction();
    QSqlQuery insert(db);
    insert.prepare(dm.admin1()->translate("Insert into Part values (?,?,?,?,?,?,?,?,?,?,?,?)"));
    QSqlQuery line(db);
    line.prepare(dm.admin1()->translate("Insert into InvItem values ('n','m',?,'s',?,1,1,?)"));
    QSqlQuery order(db);
    order.prepare(dm.admin1()->translate("Insert into Items values ('n','m',?,'s',?,1,1,?)"));
    for (int i = 1; i <= parts; ++i) {
        const QString partNo = QString("PN%1").arg(i * 7919 % 1000003);
        for (const QVariant& v :
             QVariantList{i, QString("Type%1").arg(i % 40), QString("Part %1").arg(i), "desc",
                          QString("Mfg%1").arg(i % 300), "style", "st", partNo, "serial",
                          QString("U%1").arg(i % 6), (i % 5000) / 10.0, ""})
            insert.addBindValue(v);
        insert.exec();
        for (int k = 0; k < 3; ++k) {
            line.addBindValue(1 + k);
            line.addBindValue(partNo);
            line.addBindValue(i + k);
            line.exec();
            order.addBindValue(2 + k);
            order.addBindValue(partNo);
            order.addBindValue(i + k);
            order.exec();
        }
    }
    db.commit();
}
} // namespace

int main(int argc, char** argv)
{
    TavlinApplication app(argc, argv);
    const int parts = argc > 1 ? std::max(1, atoi(argv[1])) : 200000;
    QTemporaryDir dir;
    TDM dm(dir.filePath("bench.db"));
    generate(dm, parts);
    QSqlDatabase db = dm.admin1()->database();
    out << parts << " parts, " << parts * 3 << " invoice lines, " << parts * 3
        << " order lines (median ms of 5)\n";

    auto raw = [&](const QString& sql) {
        return timed([&] {
            QSqlQuery q(db);
            q.setForwardOnly(true);
            q.exec(sql);
            while (q.next()) {
            }
        });
    };

    TPart part({});
    part.show();
    QApplication::processEvents();

    out << "open the list (all parts):       " << timed([&] { part.refresh(); }, 3)
        << "   straight: " << raw("Select * From Part") << "\n";
    out << "New (largest key + 1):           " << timed([&] { part.newRecord(); })
        << "   straight: " << raw("Select Max(ID_Material) From Part") << "\n";
    Query allParts(QStringLiteral("QPart2"), dm.admin1());
    Query* all = &allParts;
    out << "  the same by loading and sorting every row: "
        << timed(
               [&] {
                   all->close();
                   all->setSql({"Select * From Part"});
                   all->open();
                   all->sort("ID_Material");
                   all->last();
               },
               3)
        << "\n";
    part.setText("Color_Material", "PN7919");
    out << "stock figures:                   " << timed([&] { part.grid()->cellClicked(); })
        << "   straight: "
        << raw("Select Sum(Qty_Item) From InvItem where Color_Item='PN7919'") +
               raw("Select Sum(Qty_Item) From Items where Color_Item='PN7919'")
        << "\n";
    // The check when the focus leaves "Part No": the part's key by its number, then the list in
    // descending part-number order and on that key. The first check after the list is loaded
    // sorts the list and builds the key index; a repeated one reuses both.
    const QString check = "Select ID_Material From Part where Color_Material='PN7919'";
    QList<double> first;
    for (int i = 0; i < 3; ++i) {
        part.refresh();
        part.setText("Color_Material", "PN7919");
        first.append(timed([&] { part.checkPartNumber(); }, 1));
    }
    std::sort(first.begin(), first.end());
    out << "part-number check, first after the list is loaded: " << first.at(first.size() / 2)
        << "   straight: " << raw(check) << "\n";
    out << "part-number check, repeated:     " << timed([&] { part.checkPartNumber(); })
        << "   straight: " << raw(check) << "\n";
    return 0;
}
