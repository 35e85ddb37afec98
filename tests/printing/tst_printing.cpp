// The report engine: layouts read from JSON, the expressions of their texts, grouping,
// pagination, copies, stretching texts, and the errors a broken layout or a missing column
// gives. Results are read from the prepared pages' items.

#include "TestShop.h"
#include "data/Connection.h"
#include "data/Csv.h"
#include "data/Currency.h"
#include "data/DbError.h"
#include "data/Query.h"
#include "data/TDM.h"
#include "printing/PreparedReport.h"
#include "printing/ReportEngine.h"
#include "printing/ReportLayout.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <vector>

namespace {

const QDateTime printedAt(QDate(2005, 3, 7), QTime(14, 5, 9));

// ---- Layout JSON -----------------------------------------------------------------------

QJsonObject merged(QJsonObject object, const QJsonObject& extra)
{
    for (auto it = extra.begin(); it != extra.end(); ++it)
        object.insert(it.key(), it.value());
    return object;
}

QJsonObject textAt(double x, double y, double width, double height, const QString& text,
                   const QJsonObject& extra = {})
{
    return merged({{"type", "text"}, {"rect", QJsonArray{x, y, width, height}}, {"text", text}},
                  extra);
}

// A one-line text across the band.
QJsonObject line(const QString& text, const QJsonObject& extra = {})
{
    return textAt(0, 0, 80, 5, text, extra);
}

QJsonObject band(const QString& type, double height, const QJsonArray& objects,
                 const QJsonObject& extra = {})
{
    return merged({{"type", type}, {"height", height}, {"objects", objects}}, extra);
}

QJsonObject master(const QString& name, const QString& dataSet, double height,
                   const QJsonArray& objects, const QJsonObject& extra = {})
{
    return band("masterData", height, objects,
                merged({{"name", name}, {"dataSet", dataSet}}, extra));
}

// A sheet of 100 x 100 mm with 10 mm margins unless extra says otherwise.
QJsonObject page(const QJsonArray& bands, const QJsonObject& extra = {})
{
    return merged({{"paper", QJsonObject{{"width", 100}, {"height", 100}}},
                   {"margins", 10},
                   {"bands", bands}},
                  extra);
}

QByteArray layoutJson(const QStringList& dataSets, const QJsonArray& pages)
{
    return QJsonDocument(QJsonObject{{"title", "Test report"},
                                     {"dataSets", QJsonArray::fromStringList(dataSets)},
                                     {"pages", pages}})
        .toJson();
}

std::optional<ReportLayout> load(const QByteArray& json)
{
    QString error;
    auto layout = ReportLayout::fromJson(json, &error);
    if (!layout)
        qWarning().noquote() << error;
    return layout;
}

std::optional<PreparedReport> prepared(const ReportLayout& layout,
                                       const QHash<QString, const Query*>& dataSets,
                                       QString* error = nullptr)
{
    try {
        return ReportEngine::prepare(layout, dataSets, {printedAt});
    } catch (const DbError& e) {
        if (error)
            *error = e.message();
        else
            qWarning().noquote() << e.message();
        return std::nullopt;
    }
}

// ---- Reading prepared pages ------------------------------------------------------------

// The texts of a page in the order the engine placed them.
QStringList texts(const PreparedPage& page)
{
    QStringList out;
    for (const PageItem& item : page.items)
        if (item.kind == PageItem::Kind::Text)
            out.append(item.text);
    return out;
}

QStringList texts(const PreparedReport& report)
{
    QStringList out;
    for (const PreparedPage& page : report.pages)
        out += texts(page);
    return out;
}

QList<PageItem> textItems(const PreparedPage& page, const QString& prefix)
{
    QList<PageItem> out;
    for (const PageItem& item : page.items)
        if (item.kind == PageItem::Kind::Text && item.text.startsWith(prefix))
            out.append(item);
    return out;
}

// Queries of the test's own on the shop connection, as the windows' queries would hold them.
class Queries
{
public:
    explicit Queries(TestShop& shop)
        : m_shop(shop)
    {}

    Query* open(const QString& name, const QString& sql)
    {
        m_queries.push_back(std::make_unique<Query>(name, m_shop.dm()->admin1()));
        Query* query = m_queries.back().get();
        query->add(sql);
        query->open();
        return query;
    }

private:
    TestShop& m_shop;
    std::vector<std::unique_ptr<Query>> m_queries;
};

void addPart(TestShop& shop, const QString& name, double qty, double rate, double amount,
             int invoice = 1, const QString& partNo = QString())
{
    shop.exec("INSERT INTO InvItem (Name_Item, Qty_Item, Rate_Item, Amount_Item, Inv_Item, "
              "Color_Item) VALUES (?, ?, ?, ?, ?, ?)",
              {name, qty, rate, amount, invoice, partNo});
}

void addLabor(TestShop& shop, const QString& description, double amount)
{
    shop.exec("INSERT INTO InvLabor (Description_Labor, Qty_Labor, Rate_Labor, Amount_Labor, "
              "Inv_Labor) VALUES (?, 1, ?, ?, 1)",
              {description, amount, amount});
}

QString cents(std::int64_t total)
{
    return Currency::fromUnits(total * 100).toMoneyFormat();
}

} // namespace

class Tst_printing : public QObject
{
    Q_OBJECT

private slots:
    void expressions_data();
    void expressions();
    void queriesStayAsTheyWere();
    void grouping_data();
    void grouping();
    void groupHeaderOnNewSheet_data();
    void groupHeaderOnNewSheet();
    void groupOnSheetOfItsOwn();
    void rowsForSpreadsheets();
    void nestedGroups();
    void severalMasterBands_data();
    void severalMasterBands();
    void pagination_data();
    void pagination();
    void copies();
    void stretch_data();
    void stretch();
    void brokenLayouts_data();
    void brokenLayouts();
    void parameters_data();
    void parameters();
    void prepareErrors_data();
    void prepareErrors();
    void layoutFiles();
};

void Tst_printing::expressions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");

    QTest::newRow("fixed words around a field") << R"(Customer: [h."CustomerName_Inv"]!)"
                                                << ""
                                                << R"(Customer: O'Brien "Big" Haul!)";
    QTest::newRow("field in angle brackets") << R"([<h."InvoiceNo_Inv">])"
                                             << ""
                                             << "7";
    QTest::newRow("date column in the short form") << R"([h."InvoiceDate_Inv"])"
                                                   << ""
                                                   << "3/7/2005";
    QTest::newRow("date column with a pattern") << R"([h."InvoiceDate_Inv" | date:yyyy-MM-dd])"
                                                << ""
                                                << "2005-03-07";
    QTest::newRow("money column as the grids show it") << R"([h."Amount_Inv"])"
                                                       << ""
                                                       << "1234.50";
    QTest::newRow("money column in the money format") << R"([h."Amount_Inv" | %2.2m])"
                                                      << ""
                                                      << "$1,234.50";
    QTest::newRow("quotes, brackets and line breaks of a value print as they are")
        << R"(Remark: [h."Remark_Inv"])"
        << ""
        << "Remark: He said \"fix it\"\n[Page#] stays";
    QTest::newRow("sum over a band") << R"([SUM(<l."Amount_Item">,MasterData1) | %2.2m])"
                                     << ""
                                     << "$100.05";
    QTest::newRow("sum without a band") << R"([SUM(<l."Amount_Item">) | %2.2m])"
                                        << ""
                                        << "$100.05";
    QTest::newRow("sum of a product per row")
        << R"([SUM(<l."Qty_Item"> * <l."Rate_Item">, MasterData1) | %.2f])"
        << ""
        << "100.05";
    QTest::newRow("tax keeps its decimals")
        << R"([SUM(<l."Amount_Item">,MasterData1) * <t."Tax_T"> | %.4f])"
        << ""
        << "8.0040";
    QTest::newRow("tax shown in money")
        << R"([SUM(<l."Amount_Item">,MasterData1) * <t."Tax_T"> | %2.2m])"
        << ""
        << "$8.00";
    QTest::newRow("total with tax")
        << QString(R"([SUM(<l."Amount_Item">,MasterData1) + )"
                   R"(SUM(<l."Amount_Item">,MasterData1) * <t."Tax_T"> | %.4f])")
        << ""
        << "108.0540";
    QTest::newRow("field less a sum")
        << R"([<h."Amount_Inv">-SUM(<l."Amount_Item">,MasterData1) | %2.2m])"
        << ""
        << "$1,134.45";
    QTest::newRow("multiplication before addition") << "[2 + 3 * 4]"
                                                    << ""
                                                    << "14";
    QTest::newRow("parentheses") << "[(2 + 3) * 4]"
                                 << ""
                                 << "20";
    QTest::newRow("division") << "[10 / 4]"
                              << ""
                              << "2.5";
    QTest::newRow("outside its band a field reads the current row") << R"([-<l."Qty_Item"> + 1])"
                                                                    << ""
                                                                    << "-1";
    QTest::newRow("an empty value counts as zero") << R"([<h."Vin_Inv"> + 5])"
                                                   << ""
                                                   << "5";
    QTest::newRow("page number and count") << "Page [Page#] of [TotalPages#]"
                                           << ""
                                           << "Page 1 of 1";
    QTest::newRow("date and time of printing") << "[Date] [Time]"
                                               << ""
                                               << "3/7/2005 2:05:09 PM";
    QTest::newRow("date of printing with a pattern") << "[Date | date:dddd, MMMM d]"
                                                     << ""
                                                     << "Monday, March 7";
    QTest::newRow("thousands separators") << "[1234.5 | %.2n]"
                                          << ""
                                          << "1,234.50";
    QTest::newRow("decimals round half away from zero") << "[0.125 | %.2f] [-0.005 | %.2f]"
                                                        << ""
                                                        << "0.13 -0.01";
    QTest::newRow("shortest number") << "[1234.5 | %g]"
                                     << ""
                                     << "1234.5";
    QTest::newRow("hash pattern, empty for zero") << "[1234.5 | #.##]/[0 | #.##]"
                                                  << ""
                                                  << "1234.5/";
    QTest::newRow("large money") << "[1234567.891 | %2.2m]"
                                 << ""
                                 << "$1,234,567.89";
    QTest::newRow("negative money") << "[0 - 12.5 | %2.2m]"
                                    << ""
                                    << "-$12.50";
    QTest::newRow("the text's format for expressions without their own")
        << R"(Total [SUM(<l."Amount_Item">,MasterData1)] of [2 | %g])"
        << "%2.2m"
        << "Total $100.05 of 2";
    QTest::newRow("double bracket prints one") << "[[x] [2]"
                                               << ""
                                               << "[x] 2";
}

void Tst_printing::expressions()
{
    QFETCH(QString, text);
    QFETCH(QString, format);
    QFETCH(QString, expected);

    TestShop shop;
    shop.exec("INSERT INTO Invoice (InvoiceNo_Inv, CustomerName_Inv, InvoiceDate_Inv, Amount_Inv, "
              "Remark_Inv) VALUES (?, ?, ?, ?, ?)",
              {3, "Acme", "2004-01-02", 10.0, "other"});
    shop.exec(
        "INSERT INTO Invoice (InvoiceNo_Inv, CustomerName_Inv, InvoiceDate_Inv, Amount_Inv, "
        "Remark_Inv) VALUES (?, ?, ?, ?, ?)",
        {7, "O'Brien \"Big\" Haul", "2005-03-07", 1234.5, "He said \"fix it\"\n[Page#] stays"});
    addPart(shop, "Brake pad", 2, 30, 60);
    addPart(shop, "Oil filter", 1.5, 26.7, 40.05);
    shop.exec("INSERT INTO Tax (Id_T, Year_T, Tax_T) VALUES (1, 2005, 0.08)");
    Queries queries(shop);
    Query* header = queries.open("QInv1", "select * from Invoice order by InvoiceNo_Inv");
    header->setCurrentRow(1);
    Query* lines = queries.open("QInvItem3", "select * from InvItem");
    Query* tax = queries.open("QTax", "select * from Tax");

    QJsonObject extra;
    if (!format.isEmpty())
        extra.insert("format", format);
    const auto layout = load(layoutJson(
        {"h", "l", "t"}, {page({master("MasterData1", "l", 6, {line(R"([l."Name_Item"])")}),
                                band("reportSummary", 20, {textAt(0, 0, 80, 20, text, extra)})},
                               {{"paper", QJsonObject{{"width", 210}, {"height", 297}}}})}));
    QVERIFY(layout);
    const auto report = prepared(*layout, {{"h", header}, {"l", lines}, {"t", tax}});
    QVERIFY(report);
    QCOMPARE(report->pageCount(), 1);
    QCOMPARE(texts(*report), QStringList({"Brake pad", "Oil filter", expected}));
}

void Tst_printing::queriesStayAsTheyWere()
{
    TestShop shop;
    addPart(shop, "Brake pad", 2, 30, 60);
    addPart(shop, "Oil filter", 1, 12.5, 12.5);
    addPart(shop, "Wiper", 3, 5, 15);
    Queries queries(shop);
    Query* lines = queries.open("QInvItem3", "select * from InvItem");
    lines->sort("Amount_Item DESC");
    lines->setCurrentRow(2);
    QSignalSpy moved(lines, &Query::currentRowChanged);
    QSignalSpy reloaded(lines, &Query::rowsChanged);

    const auto layout =
        load(layoutJson({"l"}, {page({band("pageHeader", 6, {line(R"(Current: [l."Name_Item"])")}),
                                      master("MasterData1", "l", 6, {line(R"([l."Name_Item"])")}),
                                      band("footer", 6, {line(R"(After: [l."Name_Item"])")})})}));
    QVERIFY(layout);
    const auto report = prepared(*layout, {{"l", lines}});
    QVERIFY(report);
    // The rows in the query's own order; outside the band its current row.
    QCOMPARE(texts(*report), QStringList({"Current: Oil filter", "Brake pad", "Wiper", "Oil filter",
                                          "After: Oil filter"}));
    QCOMPARE(lines->currentRow(), 2);
    QCOMPARE(lines->sortText(), QString("Amount_Item DESC"));
    QCOMPARE(moved.count(), 0);
    QCOMPARE(reloaded.count(), 0);
}

void Tst_printing::grouping_data()
{
    QTest::addColumn<QList<int>>("orders");
    QTest::addColumn<QStringList>("expected");

    // Line n of the data has the amount n dollars.
    QTest::newRow("adjacent groups")
        << QList<int>{1, 1, 2} << QStringList{"Po# 1", "L1", "L2",          "Order $3.00",
                                              "Po# 2", "L3", "Order $3.00", "Total $6.00"};
    QTest::newRow("rows of one order apart start it again")
        << QList<int>{1, 2, 1}
        << QStringList{"Po# 1",       "L1",    "Order $1.00", "Po# 2",       "L2",
                       "Order $2.00", "Po# 1", "L3",          "Order $3.00", "Total $6.00"};
    QTest::newRow("one order") << QList<int>{5, 5, 5, 5}
                               << QStringList{"Po# 5", "L1",           "L2",          "L3",
                                              "L4",    "Order $10.00", "Total $10.00"};
    QTest::newRow("no rows") << QList<int>{} << QStringList{"Total $0.00"};
}

void Tst_printing::grouping()
{
    QFETCH(QList<int>, orders);
    QFETCH(QStringList, expected);

    TestShop shop;
    for (int i = 0; i < orders.size(); ++i)
        addPart(shop, QString("L%1").arg(i + 1), 1, i + 1, i + 1, orders[i]);
    Queries queries(shop);
    Query* lines = queries.open("Q1", "select * from InvItem order by rowid");

    const auto layout = load(layoutJson(
        {"d"},
        {page({band("groupHeader", 6, {line(R"(Po# [d."Inv_Item"])")}, {{"column", "Inv_Item"}}),
               master("MasterData1", "d", 5, {line(R"([d."Name_Item"])")}),
               band("groupFooter", 6,
                    {line(R"(Order [SUM(<d."Amount_Item">,MasterData1) | %2.2m])")}),
               band("reportSummary", 6,
                    {line(R"(Total [SUM(<d."Amount_Item">,MasterData1) | %2.2m])")})},
              {{"paper", QJsonObject{{"width", 210}, {"height", 297}}}})}));
    QVERIFY(layout);
    const auto report = prepared(*layout, {{"d", lines}});
    QVERIFY(report);
    QCOMPARE(report->pageCount(), 1);
    QCOMPARE(texts(*report), expected);
}

void Tst_printing::groupHeaderOnNewSheet_data()
{
    QTest::addColumn<QList<int>>("orders");
    QTest::addColumn<bool>("reprint");
    QTest::addColumn<QStringList>("secondSheet");
    // Six 10 mm rows fill a sheet under its 6 mm page header and the 6 mm group header.
    const QList<int> oneOrder(8, 1);
    QTest::newRow("the group goes on, its header again")
        << oneOrder << true << QStringList{"Head", "Po# 1", "L7", "L8", "Order $36.00"};
    QTest::newRow("the group goes on, without its header")
        << oneOrder << false << QStringList{"Head", "L7", "L8", "Order $36.00"};
    QList<int> twoOrders(6, 1);
    twoOrders << 2;
    QTest::newRow("a new group starts the sheet: its header once")
        << twoOrders << true << QStringList{"Head", "Po# 2", "L7", "Order $7.00"};
}

void Tst_printing::groupHeaderOnNewSheet()
{
    QFETCH(QList<int>, orders);
    QFETCH(bool, reprint);
    QFETCH(QStringList, secondSheet);

    TestShop shop;
    for (int i = 0; i < orders.size(); ++i)
        addPart(shop, QString("L%1").arg(i + 1), 1, i + 1, i + 1, orders[i]);
    Queries queries(shop);
    Query* lines = queries.open("Q1", "select * from InvItem order by rowid");
    const auto layout = load(layoutJson(
        {"d"}, {page({band("pageHeader", 6, {line("Head")}),
                      band("groupHeader", 6, {line(R"(Po# [d."Inv_Item"])")},
                           {{"column", "Inv_Item"}, {"reprintOnNewPage", reprint}}),
                      master("MasterData1", "d", 10, {line(R"([d."Name_Item"])")}),
                      band("groupFooter", 6,
                           {line(R"(Order [SUM(<d."Amount_Item">,MasterData1) | %2.2m])")})})}));
    QVERIFY(layout);
    const auto report = prepared(*layout, {{"d", lines}});
    QVERIFY(report);
    QCOMPARE(report->pageCount(), 2);
    QCOMPARE(texts(report->pages[0]).mid(0, 3), (QStringList{"Head", "Po# 1", "L1"}));
    QCOMPARE(texts(report->pages[1]), secondSheet);
}

void Tst_printing::groupOnSheetOfItsOwn()
{
    // Three groups, the second longer than a sheet: each starts a sheet, the long one goes on
    // to a second sheet with its header again, and its sums are its own.
    TestShop shop;
    const QList<int> orders = {1, 2, 2, 2, 2, 2, 2, 2, 3};
    for (int i = 0; i < orders.size(); ++i)
        addPart(shop, QString("L%1").arg(i + 1), 1, i + 1, i + 1, orders[i]);
    Queries queries(shop);
    Query* lines = queries.open("Q1", "select * from InvItem order by rowid");
    const auto layout = load(layoutJson(
        {"d"}, {page({band("pageHeader", 6, {line("Head")}),
                      band("groupHeader", 6, {line(R"(Po# [d."Inv_Item"])")},
                           {{"column", "Inv_Item"}, {"reprintOnNewPage", true}, {"newPage", true}}),
                      master("MasterData1", "d", 10, {line(R"([d."Name_Item"])")}),
                      band("groupFooter", 6,
                           {line(R"(Order [SUM(<d."Amount_Item">,MasterData1) | %2.2m])")})})}));
    QVERIFY(layout);
    const auto report = prepared(*layout, {{"d", lines}});
    QVERIFY(report);
    QCOMPARE(report->pageCount(), 4);
    QCOMPARE(texts(report->pages[0]), (QStringList{"Head", "Po# 1", "L1", "Order $1.00"}));
    QCOMPARE(texts(report->pages[1]),
             (QStringList{"Head", "Po# 2", "L2", "L3", "L4", "L5", "L6", "L7"}));
    QCOMPARE(texts(report->pages[2]), (QStringList{"Head", "Po# 2", "L8", "Order $35.00"}));
    QCOMPARE(texts(report->pages[3]), (QStringList{"Head", "Po# 3", "L9", "Order $9.00"}));
}

// Beside its pages a printout keeps the rows it printed: a record per master row, the group's
// fields first (titled by the caption left of them), then the master's texts left to right
// (titled by the caption printed above them), values plain, in the first copy only.
void Tst_printing::rowsForSpreadsheets()
{
    TestShop shop;
    addPart(shop, "Pad, front", 2, 12.5, 25, 7);
    addPart(shop, "Disc \"vented\"", 1, 1234.5, 1234.5, 7);
    addPart(shop, "Filter", 3, 4, 12, 9);
    Queries queries(shop);
    Query* lines = queries.open("Q1", "select * from InvItem order by rowid");
    const auto layout = load(layoutJson(
        {"d"},
        {page({band("pageHeader", 6,
                    {textAt(0, 0, 30, 5, "Part Name"), textAt(32, 0, 10, 5, "Qty"),
                     textAt(44, 0, 20, 5, "Amount"), textAt(66, 0, 14, 5, "[Page#]"),
                     textAt(82, 0, 16, 5, "Less qty")}),
               band("groupHeader", 6,
                    {textAt(0, 0, 12, 5, "Order # :"), textAt(14, 0, 20, 5, R"([d."Inv_Item"])")},
                    {{"column", "Inv_Item"}}),
               master("MasterData1", "d", 6,
                      {textAt(44, 0, 20, 5, R"([d."Amount_Item"])", {{"format", "%2.2m"}}),
                       textAt(0, 0, 30, 5, R"([d."Name_Item"])"),
                       textAt(32, 0, 10, 5, R"(x[d."Qty_Item"])"),
                       textAt(82, 0, 16, 5, R"([<d."Amount_Item">-<d."Qty_Item">])",
                              {{"format", "%2.2m"}})})},
              {{"paper", QJsonObject{{"width", 130}, {"height", 200}}},
               {"copies", QJsonArray{QJsonObject{}, QJsonObject{}}}})}));
    QVERIFY(layout);
    const auto report = prepared(*layout, {{"d", lines}});
    QVERIFY(report);
    QCOMPARE(report->rows.size(), 1);
    const Csv::Table& rows = report->rows.first();
    QCOMPARE(rows.titles, (QStringList{"Order #", "Part Name", "Qty", "Amount", "Less qty"}));
    QCOMPARE(rows.rows, (QList<QStringList>{{"7", "Pad, front", "x2", "25.00", "23.00"},
                                            {"7", "Disc \"vented\"", "x1", "1234.50", "1233.50"},
                                            {"9", "Filter", "x3", "12.00", "9.00"}}));
}

void Tst_printing::nestedGroups()
{
    TestShop shop;
    addPart(shop, "L1", 1, 10, 10, 1, "A");
    addPart(shop, "L2", 1, 5, 5, 1, "A");
    addPart(shop, "L3", 1, 7, 7, 2, "A");
    addPart(shop, "L4", 1, 1, 1, 2, "B"); // same order number, another vendor
    Queries queries(shop);
    Query* lines = queries.open("Q1", "select * from InvItem order by rowid");

    const auto layout = load(layoutJson(
        {"d"},
        {page({band("groupHeader", 6, {line(R"(Vendor [d."Color_Item"])")},
                    {{"column", "Color_Item"}}),
               band("groupHeader", 6, {line(R"(Po [d."Inv_Item"])")}, {{"column", "Inv_Item"}}),
               master("MasterData1", "d", 5, {line(R"([d."Name_Item"])")}),
               band("groupFooter", 6,
                    {line(R"(Po total [SUM(<d."Amount_Item">,MasterData1) | %g])")}),
               band("groupFooter", 6,
                    {line(R"(Vendor [d."Color_Item"] total [SUM(<d."Amount_Item">) | %g])")})},
              {{"paper", QJsonObject{{"width", 210}, {"height", 297}}}})}));
    QVERIFY(layout);
    const auto report = prepared(*layout, {{"d", lines}});
    QVERIFY(report);
    QCOMPARE(texts(*report), QStringList({"Vendor A", "Po 1", "L1", "L2", "Po total 15", "Po 2",
                                          "L3", "Po total 7", "Vendor A total 22", "Vendor B",
                                          "Po 2", "L4", "Po total 1", "Vendor B total 1"}));
}

void Tst_printing::severalMasterBands_data()
{
    QTest::addColumn<QList<double>>("parts");
    QTest::addColumn<QList<double>>("labor");
    QTest::addColumn<bool>("taxRow");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("parts and labor with tax") << QList<double>{100} << QList<double>{50} << true
                                              << QStringList{"Part : P1",
                                                             "Labor : W1",
                                                             "Total  Part   : $100.00",
                                                             "Total Labor  : $50.00",
                                                             "Tax on Part : $8.00",
                                                             "Total invoice : $158.00"};
    QTest::newRow("without labor lines the footer follows the parts")
        << QList<double>{60, 40.05} << QList<double>{} << true
        << QStringList{"Part : P1",
                       "Part : P2",
                       "Total  Part   : $100.05",
                       "Total Labor  : $0.00",
                       "Tax on Part : $8.00",
                       "Total invoice : $108.05"};
    QTest::newRow("without lines the footer still prints")
        << QList<double>{} << QList<double>{} << true
        << QStringList{"Total  Part   : $0.00", "Total Labor  : $0.00", "Tax on Part : $0.00",
                       "Total invoice : $0.00"};
    QTest::newRow("no tax row gives no tax") << QList<double>{100} << QList<double>{50.5} << false
                                             << QStringList{"Part : P1",
                                                            "Labor : W1",
                                                            "Total  Part   : $100.00",
                                                            "Total Labor  : $50.50",
                                                            "Tax on Part : $0.00",
                                                            "Total invoice : $150.50"};
}

void Tst_printing::severalMasterBands()
{
    QFETCH(QList<double>, parts);
    QFETCH(QList<double>, labor);
    QFETCH(bool, taxRow);
    QFETCH(QStringList, expected);

    TestShop shop;
    for (int i = 0; i < parts.size(); ++i)
        addPart(shop, QString("P%1").arg(i + 1), 1, parts[i], parts[i]);
    for (int i = 0; i < labor.size(); ++i)
        addLabor(shop, QString("W%1").arg(i + 1), labor[i]);
    if (taxRow)
        shop.exec("INSERT INTO Tax (Id_T, Year_T, Tax_T) VALUES (1, 2005, 0.08)");
    Queries queries(shop);
    Query* partLines = queries.open("QInvItem3", "select * from InvItem");
    Query* laborLines = queries.open("QInvLabor3", "select * from InvLabor");
    Query* tax = queries.open("QTax", "select * from Tax where Year_T = 2005");

    const QString partsSum = R"(SUM(<p."Amount_Item">,MasterData1))";
    const QString laborSum = R"(SUM(<w."Amount_Labor">,MasterData2))";
    const QJsonObject money{{"format", "%2.2m"}};
    const auto layout = load(layoutJson(
        {"p", "w", "t"},
        {page(
            {master("MasterData1", "p", 6, {line(R"(Part : [p."Name_Item"])")}),
             master("MasterData2", "w", 6, {line(R"(Labor : [w."Description_Labor"])")}),
             band("footer", 24,
                  {textAt(0, 0, 80, 5, "Total  Part   : [" + partsSum + "]", money),
                   textAt(0, 6, 80, 5, "Total Labor  : [" + laborSum + "]", money),
                   textAt(0, 12, 80, 5, "Tax on Part : [" + partsSum + R"( * <t."Tax_T">])", money),
                   textAt(0, 18, 80, 5,
                          "Total invoice : [" + partsSum + " + " + laborSum + " + " + partsSum +
                              R"( * <t."Tax_T">])",
                          money)})},
            {{"paper", QJsonObject{{"width", 215.9}, {"height", 279.4}}}})}));
    QVERIFY(layout);
    const auto report = prepared(*layout, {{"p", partLines}, {"w", laborLines}, {"t", tax}});
    QVERIFY(report);
    QCOMPARE(report->pageCount(), 1);
    QCOMPARE(texts(*report), expected);
}

void Tst_printing::pagination_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QList<int>>("rowsPerSheet");
    QTest::addColumn<int>("footerSheet");

    // A sheet's body runs from 10 to 80 mm: 12 mm of title and 10 mm of page header leave 8
    // rows of 6 mm on the first sheet, the page header alone 10 on the others.
    QTest::newRow("no rows") << 0 << QList<int>{0} << 1;
    QTest::newRow("the footer fits under six rows") << 6 << QList<int>{6} << 1;
    QTest::newRow("the footer moves on after seven") << 7 << QList<int>{7, 0} << 2;
    QList<int> many{8};
    for (int i = 0; i < 19; ++i)
        many.append(10);
    many.append(2);
    QTest::newRow("200 rows") << 200 << many << 21;
}

void Tst_printing::pagination()
{
    QFETCH(int, rows);
    QFETCH(QList<int>, rowsPerSheet);
    QFETCH(int, footerSheet);

    TestShop shop;
    shop.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
              "INSERT INTO InvItem (Name_Item, Amount_Item, Inv_Item) "
              "SELECT 'Row ' || i, (i * 37 % 1000) / 100.0, 1 FROM n",
              {rows});
    if (rows == 0)
        shop.exec("DELETE FROM InvItem");
    Queries queries(shop);
    Query* lines = queries.open("Q1", "select * from InvItem order by rowid");

    const auto layout = load(layoutJson(
        {"d"},
        {page({band("reportTitle", 12, {line("Title")}),
               band("pageHeader", 10, {line("Head [Page#]")}),
               master("MasterData1", "d", 6,
                      {textAt(0, 0, 40, 5, R"([d."Name_Item"])"),
                       textAt(40, 0, 40, 5, R"(= [d."Amount_Item" | %.2f])")}),
               band("footer", 8, {line(R"(Total [SUM(<d."Amount_Item">,MasterData1) | %2.2m])")}),
               band("pageFooter", 10,
                    {textAt(0, 0, 40, 5, "Page [Page#] of [TotalPages#]"),
                     textAt(0, 5, 80, 5,
                            R"(Sheet [SUM(<d."Amount_Item">,MasterData1) | %.2f])")})})}));
    QVERIFY(layout);
    const auto report = prepared(*layout, {{"d", lines}});
    QVERIFY(report);
    const int sheets = int(rowsPerSheet.size());
    QCOMPARE(report->pageCount(), sheets);

    std::int64_t totalCents = 0;
    int next = 1;
    for (int s = 0; s < sheets; ++s) {
        const PreparedPage& sheet = report->pages[s];
        const QStringList all = texts(sheet);
        QCOMPARE(textItems(sheet, "Title").size(), s == 0 ? 1 : 0);
        QCOMPARE(textItems(sheet, "Head").size(), 1);
        QCOMPARE(textItems(sheet, "Head").first().text, QString("Head %1").arg(s + 1));
        QCOMPARE(all.value(s == 0 ? 1 : 0), QString("Head %1").arg(s + 1));

        const QList<PageItem> footer = textItems(sheet, "Page ");
        QCOMPARE(footer.size(), 1);
        QCOMPARE(footer.first().text, QString("Page %1 of %2").arg(s + 1).arg(sheets));
        QCOMPARE(footer.first().rect.top(), 80.0);

        const QList<PageItem> lineItems = textItems(sheet, "Row ");
        QCOMPARE(int(lineItems.size()), rowsPerSheet[s]);
        std::int64_t sheetCents = 0;
        for (const PageItem& item : lineItems) {
            QCOMPARE(item.text, QString("Row %1").arg(next));
            QVERIFY2(item.rect.bottom() <= 80.0 + 1e-9, qPrintable(item.text));
            sheetCents += next * 37 % 1000;
            ++next;
        }
        totalCents += sheetCents;
        QCOMPARE(textItems(sheet, "Sheet ").first().text,
                 QString("Sheet %1.%2")
                     .arg(sheetCents / 100)
                     .arg(sheetCents % 100, 2, 10, QLatin1Char('0')));
        QCOMPARE(textItems(sheet, "Total ").size(), s + 1 == footerSheet ? 1 : 0);
    }
    QCOMPARE(next, rows + 1);
    const QList<PageItem> total = textItems(report->pages[footerSheet - 1], "Total ");
    QCOMPARE(total.first().text, "Total " + cents(totalCents));
}

void Tst_printing::copies()
{
    TestShop shop;
    shop.exec("UPDATE Reg SET Name_R = 'Tavlin Truck'");
    addPart(shop, "Brake pad", 2, 30, 60);
    addPart(shop, "Oil filter", 1, 12.5, 12.5);
    Queries queries(shop);
    Query* lines = queries.open("QInvItem3", "select * from InvItem");
    Query* profile = queries.open("QReg1", "select * from Reg");

    const QJsonObject letter{{"width", 215.9}, {"height", 279.4}};
    const QJsonArray copyList{
        QJsonObject{{"paper", QJsonObject{{"width", 210}, {"height", 280}}},
                    {"variables", QJsonObject{{"CopyName", R"( [r."Name_R"] Copy)"}}}},
        QJsonObject{{"variables", QJsonObject{{"CopyName", "Customer Copy"}}}},
        QJsonObject{{"variables", QJsonObject{{"CopyName", "Accounting Copy"}}}, {"margins", 20}}};
    const auto layout = load(layoutJson(
        {"l", "r"},
        {page({band("pageHeader", 6,
                    {line("[CopyName]"), textAt(0, 0, 80, 5, "[Page#]/[TotalPages#]")}),
               master("MasterData1", "l", 6, {line(R"([l."Name_Item"])")}),
               band("footer", 6, {line(R"(Total [SUM(<l."Amount_Item">,MasterData1) | %2.2m])")})},
              {{"paper", letter}, {"copies", copyList}})}));
    QVERIFY(layout);
    const auto report = prepared(*layout, {{"l", lines}, {"r", profile}});
    QVERIFY(report);
    QCOMPARE(report->pageCount(), 3);
    const QStringList names{" Tavlin Truck Copy", "Customer Copy", "Accounting Copy"};
    for (int p = 0; p < 3; ++p) {
        QCOMPARE(texts(report->pages[p]), QStringList({names[p], QString("%1/3").arg(p + 1),
                                                       "Brake pad", "Oil filter", "Total $72.50"}));
    }
    QCOMPARE(report->pages[0].paper, QSizeF(210, 280));
    QCOMPARE(report->pages[1].paper, QSizeF(215.9, 279.4));
    QCOMPARE(report->pages[1].items.first().rect.topLeft(), QPointF(10, 10));
    QCOMPARE(report->pages[2].items.first().rect.topLeft(), QPointF(20, 20));
    QCOMPARE(report->title, QString("Test report"));
}

void Tst_printing::stretch_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("stretch");
    QTest::addColumn<int>("minimumLines");

    QTest::newRow("a short text keeps the height") << "Pad" << true << 0;
    QTest::newRow("line breaks grow the band") << "12 Main St\nSuite 4\nSpringfield" << true << 3;
    QTest::newRow("a long text wraps")
        << "Replace the brake pads on both axles, check the drums and adjust the slack "
           "adjusters before the road test"
        << true << 2;
    QTest::newRow("without stretch the band keeps its height")
        << "12 Main St\nSuite 4\nSpringfield" << false << 0;
}

void Tst_printing::stretch()
{
    QFETCH(QString, name);
    QFETCH(bool, stretch);
    QFETCH(int, minimumLines);

    TestShop shop;
    addPart(shop, name, 1, 10, 10);
    addPart(shop, "Next", 1, 20, 20);
    Queries queries(shop);
    Query* lines = queries.open("Q1", "select * from InvItem order by rowid");

    // The name wraps in its column; "Under" sits below it, the amount beside it, and a frame and
    // a column line run the band's height.
    const auto layout = load(layoutJson(
        {"d"}, {page({master("MasterData1", "d", 12,
                             {QJsonObject{{"type", "frame"},
                                          {"rect", QJsonArray{0, 0, 80, 12}},
                                          {"growWithBand", true}},
                              QJsonObject{{"type", "line"},
                                          {"from", QJsonArray{55, 0}},
                                          {"to", QJsonArray{55, 12}},
                                          {"growWithBand", true}},
                              textAt(0, 0, 50, 5, R"([d."Name_Item"])", {{"wordWrap", true}}),
                              textAt(60, 0, 20, 5, R"([d."Amount_Item" | %.2f])"),
                              textAt(0, 6, 50, 5, R"(Under [d."Qty_Item"])")},
                             {{"stretch", stretch}})},
                     {{"paper", QJsonObject{{"width", 100}, {"height", 200}}}})}));
    QVERIFY(layout);
    const auto report = prepared(*layout, {{"d", lines}});
    QVERIFY(report);
    QCOMPARE(report->pageCount(), 1);
    const PreparedPage& sheet = report->pages[0];

    QList<PageItem> frames, columnLines;
    for (const PageItem& item : sheet.items) {
        if (item.kind == PageItem::Kind::Frame)
            frames.append(item);
        if (item.kind == PageItem::Kind::Line)
            columnLines.append(item);
    }
    QCOMPARE(frames.size(), 2);
    const PageItem nameItem = textItems(sheet, name).first();
    const PageItem amount = textItems(sheet, "10.00").first();
    const PageItem under = textItems(sheet, "Under").first();
    const PageItem next = textItems(sheet, "Next").first();

    const double growth = nameItem.rect.height() - 5;
    const double bandHeight = 12 + growth;
    if (minimumLines == 0) {
        QCOMPARE(nameItem.rect.height(), 5.0);
    } else {
        // A line of 10-point type is at least 10/72 inch high and less than twice that.
        const double line = 10.0 / 72 * 25.4;
        QVERIFY2(nameItem.rect.height() >= minimumLines * line,
                 qPrintable(QString::number(nameItem.rect.height())));
        QVERIFY2(nameItem.rect.height() < (minimumLines + 2) * 2 * line,
                 qPrintable(QString::number(nameItem.rect.height())));
    }
    QCOMPARE(nameItem.rect.top(), 10.0);
    QCOMPARE(amount.rect, QRectF(70, 10, 20, 5));
    QCOMPARE(under.rect, QRectF(10, 16 + growth, 50, 5));
    QCOMPARE(frames[0].rect, QRectF(10, 10, 80, bandHeight));
    QCOMPARE(columnLines[0].rect, QRectF(QPointF(65, 10), QPointF(65, 10 + bandHeight)));
    QCOMPARE(next.rect.top(), 10 + bandHeight);
    QCOMPARE(frames[1].rect, QRectF(10, 10 + bandHeight, 80, 12));
}

void Tst_printing::brokenLayouts_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("message");

    auto withText = [](const QString& text) {
        return layoutJson({"d", "e"},
                          {page({band("pageHeader", 6, {line(text)}, {{"name", "PageHeader1"}}),
                                 master("MasterData1", "d", 6, {line(R"([d."Name_Item"])")})})});
    };
    QTest::newRow("not JSON") << QByteArray("{\n\"pages\": [\n}") << "not valid JSON";
    QTest::newRow("bracket without end")
        << withText(R"(Total [SUM(<d."Amount_Item">,MasterData1))") << "has no closing ']'";
    QTest::newRow("operand missing") << withText("[2 +]") << "an operand is missing";
    QTest::newRow("unknown function")
        << withText(R"([MAX(<d."Amount_Item">)])") << "'MAX' is not a known function";
    QTest::newRow("column without quotes")
        << withText("[d.Amount_Item]") << "a column name in double quotes is expected";
    QTest::newRow("unclosed parenthesis") << withText("[(2 + 3]") << "')' is expected";
    QTest::newRow("SUM of a band the page does not have")
        << withText(R"([SUM(<d."Amount_Item">,MasterData9)])")
        << "SUM names the band \"MasterData9\", which the page does not have";
    QTest::newRow("SUM over a band that is no master")
        << withText(R"([SUM(<d."Amount_Item">,PageHeader1)])") << "is a pageHeader band";
    QTest::newRow("SUM without band over two data sets")
        << withText(R"([SUM(<d."Amount_Item"> * <e."Tax_T">)])")
        << "sums the fields of one data set";
    QTest::newRow("SUM without band of a data set no band prints")
        << withText(R"([SUM(<e."Tax_T">)])") << "no masterData band of the page prints \"e\"";
    QTest::newRow("SUM of a SUM") << withText(
                                         R"([SUM(SUM(<d."Amount_Item">,MasterData1),MasterData1)])")
                                  << "cannot sum another SUM";
    QTest::newRow("data set not listed")
        << withText(R"([x."Name"])") << "the data set \"x\" is not listed";
    QTest::newRow("variable no copy sets")
        << withText("[CopyName]") << "\"CopyName\" is not a variable of every copy";
    QTest::newRow("unknown built-in name") << withText("[Pages#]") << "'Pages#' is not known";
    QTest::newRow("unknown display format")
        << withText("[2 | %q]") << "Unknown display format '%q'";
    QTest::newRow("money with other decimals")
        << withText("[2 | %2.3m]") << "must have two decimals";
    QTest::newRow("misspelt key") << layoutJson({"d"}, {page({QJsonObject{{"type", "pageHeader"},
                                                                          {"heigth", 6}}})})
                                  << "unknown key \"heigth\"";
    QTest::newRow("unknown band type")
        << layoutJson({"d"}, {page({band("detail", 6, {})})}) << "\"detail\" is not a band type";
    QTest::newRow("group header without master data")
        << layoutJson({"d"}, {page({band("groupHeader", 6, {}, {{"column", "Inv_Item"}})})})
        << "a group header is followed by a master-data band";
    QTest::newRow("group footer without group header")
        << layoutJson({"d"},
                      {page({master("MasterData1", "d", 6, {}), band("groupFooter", 6, {})})})
        << "this group footer has no group header";
    QTest::newRow("footer before any master data")
        << layoutJson({"d"}, {page({band("footer", 6, {})})}) << "a footer follows a master-data";
    QTest::newRow("master data without data set")
        << layoutJson({"d"}, {page({band("masterData", 6, {})})}) << "needs its \"dataSet\"";
    QTest::newRow("margins wider than the paper")
        << layoutJson({"d"}, {page({}, {{"margins", 50}})}) << "the margins leave no room";
    QTest::newRow("no pages") << layoutJson({"d"}, {}) << "the layout has no pages";
    QTest::newRow("a new page for a band that is no group header")
        << layoutJson({"d"}, {page({master("MasterData1", "d", 6, {}, {{"newPage", true}})})})
        << "only groupHeader bands start a new page";
    QTest::newRow("reprint on a band that is no group header")
        << layoutJson({"d"},
                      {page({master("MasterData1", "d", 6, {}, {{"reprintOnNewPage", true}})})})
        << "only groupHeader bands are printed again";
    const auto withParameters = [](const QJsonObject& parameters, const QJsonObject& pageExtra) {
        QJsonDocument document = QJsonDocument::fromJson(
            layoutJson({}, {page({band("pageHeader", 6, {line("[Title]")})}, pageExtra)}));
        QJsonObject root = document.object();
        root.insert("parameters", parameters);
        return QJsonDocument(root).toJson();
    };
    QTest::newRow("parameter that is not a text")
        << withParameters({{"Title", 12}}, {}) << "parameter Title: the value must be a text";
    QTest::newRow("parameter with a reserved name")
        << withParameters({{"Title", "x"}, {"Date", "x"}}, {}) << "not SUM, Date or Time";
    QTest::newRow("copy variable named as a parameter")
        << withParameters(
               {{"Title", "x"}},
               {{"copies", QJsonArray{QJsonObject{{"variables", QJsonObject{{"Title", "y"}}}}}}})
        << "cannot have the name of a parameter";
}

void Tst_printing::parameters_data()
{
    QTest::addColumn<QVariantHash>("given");
    QTest::addColumn<QString>("printed");
    QTest::newRow("the layout's own") << QVariantHash{} << "Totals of Default";
    QTest::newRow("set by the window") << QVariantHash{{"Title", "March"}} << "Totals of March";
    QTest::newRow("brackets are printed as they are")
        << QVariantHash{{"Title", "[Page#]"}} << "Totals of [Page#]";
    QTest::newRow("not a parameter")
        << QVariantHash{{"Titel", "March"}} << "The report \"Test report\" has no parameter Titel.";
}

void Tst_printing::parameters()
{
    QFETCH(QVariantHash, given);
    QFETCH(QString, printed);
    QJsonObject root =
        QJsonDocument::fromJson(
            layoutJson({}, {page({band("pageHeader", 6, {line("Totals of [Title]")})})}))
            .object();
    root.insert("parameters", QJsonObject{{"Title", "Default"}});
    const auto layout = load(QJsonDocument(root).toJson());
    QVERIFY(layout);
    ReportEngine::PrepareOptions options{printedAt};
    for (auto it = given.begin(); it != given.end(); ++it)
        options.parameters.insert(it.key(), it.value().toString());
    try {
        QCOMPARE(texts(ReportEngine::prepare(*layout, {}, options)), QStringList{printed});
    } catch (const DbError& e) {
        QCOMPARE(e.message(), printed);
    }
}

void Tst_printing::brokenLayouts()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, message);

    QString error;
    QVERIFY(!ReportLayout::fromJson(json, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
}

void Tst_printing::prepareErrors_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("bindTax");
    QTest::addColumn<QString>("message");

    QTest::newRow("data set not bound")
        << R"([t."Tax_T"])" << false << "reads the data set t, which is not bound";
    QTest::newRow("column not in the query")
        << R"([d."Amount_Itm"])" << true << "has no column Amount_Itm";
    QTest::newRow("text in arithmetic")
        << R"([<d."Name_Item"> * 2])" << true << "'Brake pad' is not a number";
    QTest::newRow("division by zero")
        << R"([<d."Amount_Item"> / (<d."Qty_Item"> - 2)])" << true << "Division by zero";
    QTest::newRow("text in a sum")
        << R"([SUM(<d."Name_Item">,MasterData1)])" << true << "'Brake pad' is not a number";
}

void Tst_printing::prepareErrors()
{
    QFETCH(QString, text);
    QFETCH(bool, bindTax);
    QFETCH(QString, message);

    TestShop shop;
    addPart(shop, "Brake pad", 2, 30, 60);
    Queries queries(shop);
    Query* lines = queries.open("Q1", "select * from InvItem");
    Query* tax = queries.open("QTax", "select * from Tax");
    const auto layout =
        load(layoutJson({"d", "t"}, {page({master("MasterData1", "d", 6, {line(text)})})}));
    QVERIFY(layout);
    QHash<QString, const Query*> sets{{"d", lines}};
    if (bindTax)
        sets.insert("t", tax);
    QString error;
    QVERIFY(!prepared(*layout, sets, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
    QVERIFY2(error.startsWith("The report \"Test report\""), qPrintable(error));
}

void Tst_printing::layoutFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString good = dir.filePath("good.json");
    const QString bad = dir.filePath("bad.json");
    {
        QFile file(good);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(layoutJson({}, {page({band("pageHeader", 6, {line("Hello")})})}));
    }
    {
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\n  \"title\": \"x\",\n  \"pages\": [,]\n}\n");
    }

    QString error;
    const auto layout = ReportLayout::fromFile(good, &error);
    QVERIFY2(layout, qPrintable(error));
    QCOMPARE(layout->title(), QString("Test report"));
    const auto report = prepared(*layout, {});
    QVERIFY(report);
    QCOMPARE(texts(*report), QStringList({"Hello"}));

    QVERIFY(!ReportLayout::fromFile(bad, &error));
    QVERIFY2(error.startsWith(bad) && error.contains("line 3"), qPrintable(error));

    const QString missing = dir.filePath("missing.json");
    QVERIFY(!ReportLayout::fromFile(missing, &error));
    QVERIFY2(error.contains(missing), qPrintable(error));
}

QTEST_MAIN(Tst_printing)
#include "tst_printing.moc"
