// A truck's history: its documents found by any part of a VIN, truck number or plate, the
// comebacks marked, on the engine the run uses.

#include "TestShop.h"
#include "data/Query.h"
#include "data/TDM.h"
#include "stores/TruckStore.h"

#include <QDate>
#include <QSettings>
#include <QTest>

namespace {
struct Document
{
    QString table;
    int number;
    QDate date;
    QString vin;
    QString truck;
    QString plate;
    QString customer = QStringLiteral("Acme");
};

void add(TestShop& shop, const Document& d)
{
    shop.exec(QString("Insert into %1 (InvoiceNo_Inv, InvoiceDate_Inv, Vin_Inv, TruckNo_Inv, "
                      "Plate_Inv, CustomerName_Inv, Mileage_Inv, Amount_Inv) values (?, ?, ?, "
                      "?, ?, ?, '120000', 10)")
                  .arg(d.table),
              {d.number, d.date, d.vin, d.truck, d.plate, d.customer});
}

// "Kind Number Comeback" of every row found, in the order found.
QStringList found(const QString& text, int comebackDays = 30)
{
    const std::optional<SqlStatement> statement = TruckStore().history(text, comebackDays);
    if (!statement)
        return {QStringLiteral("nothing to look for")};
    Query rows(QStringLiteral("History"), DM->admin1());
    rows.setSql(*statement);
    rows.open();
    QStringList out;
    for (int r = 0; r < rows.recordCount(); ++r)
        out.append((rows.field(r, rows.columnIndex(QStringLiteral("Kind"))).asText() + ' ' +
                    rows.field(r, rows.columnIndex(QStringLiteral("InvoiceNo_Inv"))).asText() +
                    ' ' + rows.field(r, rows.columnIndex(QStringLiteral("Comeback"))).asText())
                       .trimmed());
    return out;
}

// The shop of the searches: two trucks of Acme's, a third with a hostile plate, archived
// documents, and a text that holds a wildcard.
void trucks(TestShop& shop)
{
    const QDate d(2026, 3, 1);
    add(shop, {"Invoice", 1, d, "1FUJGLDR5CLBP8834", "12", "IL 4521"});
    add(shop, {"Invoice", 2, d.addDays(10), "1FUJGLDR5CLBP8834", "12", "IL 4521"});
    add(shop, {"Estimate", 1, d.addDays(5), "1FUJGLDR5CLBP8834", "12", "IL 4521"});
    add(shop, {"Invoice", 3, d.addDays(1), "3AKJHHDR7JSJV1234", "T-7", "WI 100%_A"});
    add(shop, {"InvoiceCash", 90, d.addYears(-3), "1FUJGLDR5CLBP8834", "12", "IL 4521"});
    add(shop, {"EstimateCash", 91, d.addYears(-3), "3AKJHHDR7JSJV1234", "T-7", "O\"Brien's"});
    add(shop, {"Invoice", 4, d.addDays(2), "", "120", ""});
}
} // namespace

class TestTruckStore : public QObject
{
    Q_OBJECT

private slots:
    void search_data();
    void search();
    void comebacks_data();
    void comebacks();
    void indexFollowsChanges();
    void lines();
    void comebackDaysFromSettings_data();
    void comebackDaysFromSettings();
};

void TestTruckStore::search_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    const QStringList first = {"Invoice 2", "Estimate 1", "Invoice 1", "Archived Invoice 90"};
    QTest::newRow("part of a VIN, any case") << "gldr5" << first;
    QTest::newRow("the end of a VIN") << "P8834" << first;
    QTest::newRow("part of a plate") << "4521" << first;
    QTest::newRow("a short text: the whole truck number") << "12" << first;
    QTest::newRow("a short text is not a part") << "T-" << QStringList();
    QTest::newRow("three letters are a part")
        << "T-7" << QStringList{"Invoice 3", "Archived Estimate 91"};
    QTest::newRow("a wildcard is a letter") << "0%_" << QStringList{"Invoice 3"};
    QTest::newRow("a percent alone finds no plate with another letter there")
        << "100_" << QStringList();
    QTest::newRow("quotes") << "o\"brien's" << QStringList{"Archived Estimate 91"};
    QTest::newRow("a longer number holds the short one") << "120" << QStringList{"Invoice 4"};
    QTest::newRow("nothing like it") << "ZZZ999" << QStringList();
    QTest::newRow("blank") << "   " << QStringList{"nothing to look for"};
}

void TestTruckStore::search()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    TestShop shop;
    trucks(shop);
    // Comebacks are left out here: a day's window finds none.
    QStringList got = found(text, 0);
    QCOMPARE(got, expected);
}

void TestTruckStore::comebacks_data()
{
    QTest::addColumn<int>("days"); // after the first invoice
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("vin");
    QTest::addColumn<bool>("comeback");
    QTest::newRow("day 30") << 30 << "Invoice"
                            << "VIN0001" << true;
    QTest::newRow("day 31") << 31 << "Invoice"
                            << "VIN0001" << false;
    QTest::newRow("the same day") << 0 << "Invoice"
                                  << "VIN0001" << false;
    QTest::newRow("day 1") << 1 << "Invoice"
                           << "vin0001" << true;
    QTest::newRow("an estimate is no comeback") << 3 << "Estimate"
                                                << "VIN0001" << false;
    QTest::newRow("another VIN") << 3 << "Invoice"
                                 << "VIN0002" << false;
}

// The first invoice of VIN0001 on 3/1/2026, a second document some days later.
void TestTruckStore::comebacks()
{
    QFETCH(int, days);
    QFETCH(QString, table);
    QFETCH(QString, vin);
    QFETCH(bool, comeback);
    TestShop shop;
    const QDate first(2026, 3, 1);
    add(shop, {"Invoice", 1, first, "VIN0001", "", ""});
    add(shop, {table, 2, first.addDays(days), vin, "", ""});
    const QString kind = table == "Invoice" ? "Invoice" : "Estimate";
    const QStringList got = found(vin.left(3));
    QVERIFY2(got.contains(kind + " 2" + (comeback ? " Comeback" : "")), qPrintable(got.join(',')));
    // The first invoice is never a comeback of a later one.
    QVERIFY2(got.contains("Invoice 1"), qPrintable(got.join(',')));
}

// The index follows what is saved: a changed VIN, a removed document, an archived one, and a
// blank VIN that is never a comeback.
void TestTruckStore::indexFollowsChanges()
{
    TestShop shop;
    const QDate day(2026, 5, 1);
    add(shop, {"Invoice", 1, day, "OLDVIN123", "", ""});
    add(shop, {"Invoice", 2, day.addDays(3), "", "", ""});
    add(shop, {"Invoice", 3, day.addDays(4), "", "", ""});
    QCOMPARE(found("oldvin"), QStringList{"Invoice 1"});
    shop.exec("Update Invoice set Vin_Inv = 'NEWVIN456' where InvoiceNo_Inv = 1");
    QCOMPARE(found("oldvin"), QStringList());
    QCOMPARE(found("newvin"), QStringList{"Invoice 1"});
    shop.exec("Update Invoice set Plate_Inv = 'PL8', TruckNo_Inv = 'TRK9' where InvoiceNo_Inv = 1");
    QCOMPARE(found("trk9"), QStringList{"Invoice 1"});
    shop.exec(
        "Insert into InvoiceCash (InvoiceNo_Inv, InvoiceDate_Inv, Vin_Inv) "
        "select InvoiceNo_Inv, InvoiceDate_Inv, Vin_Inv From Invoice where InvoiceNo_Inv = 1");
    shop.exec("Delete From Invoice where InvoiceNo_Inv = 1");
    QCOMPARE(found("NEWVIN"), QStringList{"Archived Invoice 1"});
    // Two invoices without a VIN a day apart: neither is a comeback.
    shop.exec("Update Invoice set TruckNo_Inv = 'B1'");
    QCOMPARE(found("B1"), (QStringList{"Invoice 3", "Invoice 2"}));
}

void TestTruckStore::lines()
{
    TestShop shop;
    shop.exec("Insert into InvItem (Inv_Item, Color_Item, Name_Item, Qty_Item, Rate_Item, "
              "Amount_Item) values (5, 'BP-1', 'Brake pad', 2, 20, 40)");
    shop.exec("Insert into InvLabor (Inv_Labor, PartNo_Labor, Description_Labor, Qty_Labor, "
              "Rate_Labor, Amount_Labor) values (5, 'L1', 'Brake job', 1.5, 100, 150)");
    shop.exec("Insert into EstimateItem (Inv_Item, Color_Item, Name_Item, Qty_Item, Rate_Item, "
              "Amount_Item) values (5, 'X', 'Estimate part', 1, 1, 1)");
    Query rows(QStringLiteral("Lines"), DM->admin1());
    rows.setSql(*TruckStore::lines("Invoice", 5));
    rows.open();
    QStringList got;
    for (int r = 0; r < rows.recordCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < 6; ++c)
            cells.append(rows.field(r, c).asText());
        got.append(cells.join('|'));
    }
    QCOMPARE(got.size(), 2);
    QVERIFY2(got[0].startsWith("Part|BP-1|Brake pad|2|"), qPrintable(got[0]));
    QVERIFY2(got[1].startsWith("Labor|L1|Brake job|1.5|"), qPrintable(got[1]));
    QVERIFY(!TruckStore::lines("Bill", 5));
}

void TestTruckStore::comebackDaysFromSettings_data()
{
    QTest::addColumn<QString>("written"); // empty: no setting
    QTest::addColumn<int>("days");
    QTest::newRow("none") << "" << 30;
    QTest::newRow("fourteen") << "14" << 14;
    QTest::newRow("not a number") << "two weeks" << 30;
    QTest::newRow("below zero") << "-3" << 30;
}

void TestTruckStore::comebackDaysFromSettings()
{
    QFETCH(QString, written);
    QFETCH(int, days);
    QTemporaryDir dir;
    const QString file = dir.filePath("tavlin.ini");
    if (!written.isEmpty()) {
        QSettings settings(file, QSettings::IniFormat);
        settings.setValue("history/comebackDays", written);
    }
    QCOMPARE(TruckStore::comebackDays(file), days);
}

QTEST_MAIN(TestTruckStore)
#include "tst_truck_store.moc"
