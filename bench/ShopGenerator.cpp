#include "ShopGenerator.h"

#include "data/AccessSql.h"
#include "data/Connection.h"
#include "data/SqlDialect.h"
#include "data/TDM.h"

#include <QDate>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <stdexcept>

namespace {
void insert(QSqlQuery& query, const QVariantList& values)
{
    for (const QVariant& v : values)
        query.addBindValue(v);
    if (!query.exec())
        throw std::runtime_error(query.lastError().text().toStdString());
}

QSqlQuery prepared(const QSqlDatabase& db, const QString& sql)
{
    // Written in the shop's wording, as the program writes it (an Insert without a column list
    // names the table's columns).
    QSqlQuery query(db);
    if (!query.prepare(AccessSql(SqliteDialect()).translate(sql)))
        throw std::runtime_error(query.lastError().text().toStdString());
    return query;
}
} // namespace

namespace ShopGenerator {

void generate(const QString& path, double scale)
{
    if (QFile::exists(path))
        return;
    {
        TDM dm(path + ".part");
        QSqlDatabase db = dm.admin1()->database();
        QRandomGenerator random(20261208);
        db.transaction();

        const int customers = 5000, parts = 20000, operations = 500;
        auto customer = [](int i) { return QStringLiteral("Customer %1").arg(i); };
        auto partNo = [](int i) { return QStringLiteral("PN%1").arg(i, 5, 10, QLatin1Char('0')); };

        QSqlQuery c = prepared(db, "Insert into Customer (ID_Customer, Name_Customer, "
                                   "Address_Customer, City_Customer, State_Customer, Zip_Customer) "
                                   "values (?,?,?,?,?,?)");
        for (int i = 1; i <= customers; ++i)
            insert(c, {i, customer(i), QString("%1 Main St").arg(i), "Joliet", "IL", "60435"});
        QSqlQuery p = prepared(db, "Insert into Part values (?,?,?,?,?,?,?,?,?,?,?,?)");
        for (int i = 1; i <= parts; ++i)
            insert(p, {i, QString("Type%1").arg(i % 40), QString("Part %1").arg(i),
                       QString("part %1 heavy duty %2").arg(i).arg(i % 97),
                       QString("Mfg%1").arg(i % 300), "style", "st", partNo(i), "", "EA",
                       1 + (i % 5000) / 10.0, ""});
        QSqlQuery l = prepared(db, "Insert into Labor values (?,?,?,?,?)");
        for (int i = 1; i <= operations; ++i)
            insert(l, {i, QString("Operation %1").arg(i), "Engine", 50 + i % 100, ""});
        QSqlQuery t = prepared(db, "Insert into Tax values (?,?,?,?,?)");
        // Two rate periods a year, for the twenty years up to the last documents.
        for (int i = 1; i <= 40; ++i)
            insert(t, {i, 2006 + (i + 1) / 2, i % 2 ? 1 : 7, i % 2 ? 6 : 12, 0.08});

        // 8,000 trucks, each document of one of them (chosen without the random generator, so
        // that the rest of the shop is as it was before the trucks).
        const auto truckOf = [](int n) { return int((qint64(n) * 7919) % 8000); };
        const auto vin = [](int truck) {
            static const char letters[] = "ABCDEFGHJKLMNPRSTUVWXYZ0123456789";
            quint64 x = quint64(truck) * 6364136223846793005ULL + 1442695040888963407ULL;
            QString text = QStringLiteral("1FU");
            for (int i = 0; i < 14; ++i) {
                x = x * 6364136223846793005ULL + 1442695040888963407ULL;
                text += QLatin1Char(letters[(x >> 33) % 33]);
            }
            return text;
        };
        const auto truckNo = [](int truck) { return QString::number(100 + truck); };
        const auto plate = [](int truck) {
            return QStringLiteral("IL %1").arg(truck * 37 % 900000 + 100000);
        };
        const int invoices = std::max(1000, int(75000 * scale));
        QSqlQuery inv = prepared(db, "Insert into Invoice (InvoiceNo_Inv, CustomerName_Inv, "
                                     "RepairPerson_Inv, InvoiceDate_Inv, Amount_Inv, Paid_Inv, "
                                     "DueDate_Inv, Tax_Inv, Make_Inv, Model_Inv, Vin_Inv, "
                                     "TruckNo_Inv, Plate_Inv, Mileage_Inv) "
                                     "values (?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
        QSqlQuery item = prepared(db, "Insert into InvItem values (?,?,?,?,?,?,?,?)");
        QSqlQuery labor = prepared(db, "Insert into InvLabor values (?,?,?,?,?,?,?)");
        QSqlQuery pay = prepared(db, "Insert into Receivable (InvoiceNo_Receivable, "
                                     "Name_Receivable, Amount_Receivable, PayDate_Receivable) "
                                     "values (?,?,?,?)");
        const QDate start(2026, 12, 1);
        for (int n = 1; n <= invoices; ++n) {
            const QString name = customer(1 + int(random.bounded(customers)));
            const QString date =
                start.addDays(-(invoices - n) * 3650 / 75000).toString(Qt::ISODate);
            const bool open = n > invoices - 300;
            const int truck = truckOf(n);
            insert(inv, {n, name, "Rita Moreno", date, 250.0, open ? 0 : 1, date, "Yes",
                         "Freightliner", "Cascadia", vin(truck), truckNo(truck), plate(truck),
                         QString::number(100000 + n * 3)});
            for (int k = 0; k < 4; ++k) {
                const int part = 1 + int(random.bounded(parts));
                insert(item, {QString("Part %1").arg(part), "m", 1 + k, "s", partNo(part), 12.5,
                              12.5 * (1 + k), n});
            }
            for (int k = 0; k < 2; ++k)
                insert(labor, {QString("Operation %1").arg(1 + random.bounded(operations)),
                               "Engine", 1, 85, 85, "", n});
            // 90,000 payments on 75,000 invoices: one on most, a second on some.
            for (int k = 0; k < (n % 5 == 0 ? 0 : 1) + (n % 5 < 3 && n % 5 != 0 ? 1 : 0); ++k)
                insert(pay, {n, name, 100.0 + k, date});
        }
        // 20,000 estimates over the ten years, with two part lines and a labor line each; 200
        // of them still open.
        const int estimates = std::max(200, int(20000 * scale));
        QSqlQuery est = prepared(db, "Insert into Estimate (InvoiceNo_Inv, CustomerName_Inv, "
                                     "RepairPerson_Inv, InvoiceDate_Inv, Amount_Inv, Paid_Inv, "
                                     "DueDate_Inv, Tax_Inv, Make_Inv, Model_Inv, Vin_Inv, "
                                     "TruckNo_Inv, Plate_Inv) "
                                     "values (?,?,?,?,?,?,?,?,?,?,?,?,?)");
        QSqlQuery estItem = prepared(db, "Insert into EstimateItem values (?,?,?,?,?,?,?,?)");
        QSqlQuery estLabor = prepared(db, "Insert into EstimateLabor values (?,?,?,?,?,?,?)");
        for (int n = 1; n <= estimates; ++n) {
            const QString date =
                start.addDays(-(estimates - n) * 3650 / 20000).toString(Qt::ISODate);
            insert(est,
                   {n, customer(1 + int(random.bounded(customers))), "Rita Moreno", date, 240.0,
                    n > estimates - 200 ? 0 : 1, date, "Yes", "Freightliner", "Cascadia",
                    vin(truckOf(n * 3)), truckNo(truckOf(n * 3)), plate(truckOf(n * 3))});
            for (int k = 0; k < 2; ++k) {
                const int part = 1 + int(random.bounded(parts));
                insert(estItem, {QString("Part %1").arg(part), "m", 1 + k, "s", partNo(part), 12.5,
                                 12.5 * (1 + k), n});
            }
            insert(estLabor, {QString("Operation %1").arg(1 + random.bounded(operations)), "Engine",
                              2, 85, 170, "", n});
        }
        // 25,000 vendor bills over the ten years, two part lines and two expense lines each, and
        // 30,000 payments to vendors against them.
        const int bills = std::max(250, int(25000 * scale));
        QSqlQuery bill = prepared(db, "Insert into Bill (Ref_Bill, Vendor_Bill, BillDate_Bill, "
                                      "DueDate_Bill, Amount_Bill, Address_Bill, Chart_Bill, "
                                      "SubChart_Bill) values (?,?,?,?,?,?,?,?)");
        QSqlQuery billItem = prepared(db, "Insert into BillItem (Name_Bill, Qty_Bill, Rate_Bill, "
                                          "Amount_Bill, Inv_Bill) values (?,?,?,?,?)");
        QSqlQuery billExpense =
            prepared(db, "Insert into BillExpense (Description_Expense, Qty_Expense, "
                         "Rate_Expense, Amount_Expense, Bill_Expense) values (?,?,?,?,?)");
        QSqlQuery payable = prepared(db, "Insert into Payable (BillNo_Payable, Name_Payable, "
                                         "PayDate_Payable, Amount_Payable, Chart_Payable) "
                                         "values (?,?,?,?,?)");
        for (int n = 1; n <= bills; ++n) {
            const QString date = start.addDays(-(bills - n) * 3650 / 25000).toString(Qt::ISODate);
            const QString ref = QString::number(999 + n);
            const QString vendor = QStringLiteral("Vendor %1").arg(1 + n % 200);
            insert(bill, {ref, vendor, date, date, 300.0, "100 Supply Rd Chicago, IL 60601",
                          "Parts", "Filters"});
            for (int k = 0; k < 2; ++k) {
                insert(billItem,
                       {QString("Part %1").arg(1 + random.bounded(parts)), 2, 50, 100, ref});
                insert(billExpense, {"Freight", 1, 50, 50, ref});
            }
            for (int k = 0; k < (n % 5 == 0 ? 2 : 1); ++k)
                insert(payable, {ref, vendor, date, 150.0, "Parts"});
        }
        // 15,000 purchase orders of four lines each over the ten years, from 200 vendors.
        const int vendors = 200;
        QSqlQuery v = prepared(db, "Insert into Company (ID_Company, Name_Company, City_Company) "
                                   "values (?,?,?)");
        for (int i = 1; i <= vendors; ++i)
            insert(v, {i, QStringLiteral("Vendor %1").arg(i), "Chicago"});
        const int orders = std::max(200, int(15000 * scale));
        QSqlQuery order = prepared(db, "Insert into Orders (Po_Order, SideMark_Order, "
                                       "OrderBy_Order, OrderDate_Order, Vendor_Order, "
                                       "ShipFrom_Order, ShipTo_Order, ShipDate_Order, "
                                       "ForInvoice_Order) values (?,?,?,?,?,?,?,?,?)");
        QSqlQuery line = prepared(db, "Insert into Items (Name_Item, Mfg_Item, Qty_Item, "
                                      "Style_Item, Color_Item, Rate_Item, Amount_Item, Po_Item) "
                                      "values (?,?,?,?,?,?,?,?)");
        for (int n = 1; n <= orders; ++n) {
            const QString date = start.addDays(-(orders - n) * 3650 / 15000).toString(Qt::ISODate);
            insert(order, {n, customer(1 + int(random.bounded(customers))), "Rita Moreno", date,
                           QStringLiteral("Vendor %1").arg(1 + random.bounded(vendors)),
                           "Warehouse", "Shop", date, QString::number(n * 5)});
            for (int k = 0; k < 4; ++k) {
                const int part = 1 + int(random.bounded(parts));
                insert(line, {QString("Part %1").arg(part), "m", 2 + k, "s", partNo(part), 10.0,
                              10.0 * (2 + k), n});
            }
        }
        db.commit();
        QSqlQuery(db).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    QFile::rename(path + ".part", path);
}

} // namespace ShopGenerator
