// Catalogues from a spreadsheet: Import... of the Parts, Customers and Vendors windows, and the
// rows a grid exports read back in.

#include "TestShop.h"
#include "Ui.h"
#include "app/TMainForm.h"
#include "data/Connection.h"
#include "data/Csv.h"
#include "data/TDM.h"
#include "masters/TCompany.h"
#include "masters/TCustomer.h"
#include "masters/TPart.h"
#include "ui/common/DataGrid.h"
#include "ui/common/RecordWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace {
using Kind = ScriptedPrompter::Kind;

RecordWindow* openWindow(TestShop& shop, const char* button)
{
    TMainForm* mainForm = shop.mainFormWithTasks();
    ui::click(mainForm, button);
    auto* window = qobject_cast<RecordWindow*>(ui::newestChild(mainForm));
    if (!window)
        throw std::runtime_error(std::string(button) + " opened no catalogue window");
    return window;
}

QString writeCsv(TestShop& shop, const QString& name, const QByteArray& bytes)
{
    const QString path = shop.folder() + "/" + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
    return path;
}

void addPart(TestShop& shop, int id, const QString& partNo, const QString& name, double price)
{
    shop.exec("Insert into Part (ID_Material, Color_Material, Number_Material, Price_Material) "
              "values (?, ?, ?, ?)",
              {id, partNo, name, price});
}

// "Part No|Name|Price" of every part, by part number.
QStringList parts(TestShop& shop)
{
    QStringList out;
    for (const QVariantList& row :
         shop.rows("Select Color_Material, Number_Material, Price_Material, Description_Material "
                   "From Part Order By Color_Material"))
        out.append(QStringList{row[0].toString(), row[1].toString(),
                               QString::number(row[2].toDouble(), 'f', 2), row[3].toString()}
                       .join('|'));
    return out;
}
// A statement straight on the engine, past the program's wording (a trigger's body).
void raw(const QString& statement)
{
    QSqlQuery q(DM->admin1()->database());
    if (!q.exec(statement))
        throw std::runtime_error(q.lastError().text().toStdString());
}
} // namespace

class TestImport : public QObject
{
    Q_OBJECT

private slots:
    void partsAddedAndChanged();
    void refusals_data();
    void refusals();
    void answeringNoWritesNothing();
    void failureHalfwayLeavesTheCatalogue();
    void customersAndVendors_data();
    void customersAndVendors();
    void exportedRowsComeBack();
    void editMenuActsOnTheWindowsList();
};

// Rows matched by part number whatever its capitals; a changed price, a new part under the next
// number, a row already as kept, and a column the window does not know.
void TestImport::partsAddedAndChanged()
{
    TestShop shop;
    addPart(shop, 1, "PN-1", "Brake pad", 10);
    addPart(shop, 7, "PN-2", "Filter", 5);
    RecordWindow* window = openWindow(shop, "SpeedButton1");
    const QString file = writeCsv(shop, "parts.csv",
                                  "Part No,Part Name,Price $,Colour\r\n"
                                  "PN-1,Brake pad,12.50,red\r\n"
                                  "pn-2,Filter,5.00,\r\n"
                                  "PN-3,\"Wheel, 22\"\" steel\",99,blue\r\n");
    shop.prompter().answer({true});
    QVERIFY(window->importFrom(file));
    const QString question = shop.prompter().texts(Kind::Confirm).value(0);
    for (const char* piece :
         {"Import parts.csv into Parts?", "1 to add, 1 to change, 1 the same already",
          "Columns read: Part No, Part Name, Price $", "Columns left out (not known here): Colour",
          "PN-3", "PN-1: Price $ 10.00 -> 12.50"})
        QVERIFY2(question.contains(QString::fromUtf8(piece)), qPrintable(question));
    QCOMPARE(parts(shop), (QStringList{"PN-1|Brake pad|12.50|", "PN-2|Filter|5.00|",
                                       "PN-3|Wheel, 22\" steel|99.00|"}));
    // The new part takes the number after the largest.
    QCOMPARE(shop.value("Select ID_Material From Part where Color_Material = 'PN-3'").toInt(), 8);
    QVERIFY(shop.prompter()
                .texts(Kind::Inform)
                .last()
                .contains("Imported into Parts: 1 added, 1 changed."));
    // The list shows the new part.
    QCOMPARE(ui::rowCount(window->findChild<DataGrid*>("DBGrid1")), 3);
    QCOMPARE(window->findChild<QLabel*>("Label14")->text(), QStringLiteral("3"));
}

void TestImport::refusals_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("a price that is not a number")
        << QByteArray("Part No,Price $\r\nPN-5,1.00\r\nPN-6,abc\r\n")
        << "Row 3, column \"Price $\": \"abc\" is not a number.";
    QTest::newRow("a part number twice")
        << QByteArray("Part No,Name\r\nPN-9,a\r\nPN-8,b\r\npn-9,c\r\n")
        << "Row 4, column \"Part No\": pn-9 is also on row 2.";
    QTest::newRow("an empty part number") << QByteArray("Part No,Name\r\nPN-5,a\r\n  ,b\r\n")
                                          << "Row 3, column \"Part No\": the Part No is empty.";
    QTest::newRow("no part number column")
        << QByteArray("Name,Price\r\nPad,1\r\n") << "The file has no column \"Part No\"";
    QTest::newRow("more cells than titles")
        << QByteArray("Part No,Name\r\nPN-5,a,extra\r\n")
        << "Row 2 has more cells than the title row has titles.";
    QTest::newRow("a part kept twice already")
        << QByteArray("Part No,Name\r\nDUP,a\r\n") << "DUP is kept by 2 parts already";
    QTest::newRow("a quote never closed")
        << QByteArray("Part No,Name\r\nPN-5,\"a\r\n") << "is never closed";
}

// Nothing is asked and nothing written when a row breaks a rule; the message names the row
// and the column.
void TestImport::refusals()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    TestShop shop;
    addPart(shop, 1, "DUP", "one", 1);
    addPart(shop, 2, "DUP", "two", 2);
    RecordWindow* window = openWindow(shop, "SpeedButton1");
    const QString file = writeCsv(shop, "bad.csv", bytes);
    const QString refused = refusal([&] { window->importFrom(file); });
    QVERIFY2(refused.contains(message), qPrintable(refused));
    QVERIFY2(refused.contains("Nothing was imported"), qPrintable(refused));
    QCOMPARE(shop.prompter().texts(Kind::Confirm), QStringList());
    QCOMPARE(shop.value("Select Count(*) From Part").toInt(), 2);
}

void TestImport::answeringNoWritesNothing()
{
    TestShop shop;
    addPart(shop, 1, "PN-1", "Brake pad", 10);
    RecordWindow* window = openWindow(shop, "SpeedButton1");
    const QString file = writeCsv(shop, "parts.csv", "Part No,Price $\r\nPN-1,11\r\nPN-2,3\r\n");
    shop.prompter().answer({false});
    QVERIFY(!window->importFrom(file));
    QCOMPARE(parts(shop), QStringList{"PN-1|Brake pad|10.00|"});
    // A file that holds the catalogue as it is asks nothing.
    const QString same = writeCsv(shop, "same.csv", "Part No,Price $\r\nPN-1,10.00\r\n");
    shop.prompter().clear();
    QVERIFY(!window->importFrom(same));
    QCOMPARE(shop.prompter().texts(Kind::Confirm), QStringList());
    QVERIFY(shop.prompter().last().contains("nothing to add or change"));
}

// A thousand new parts, the five hundredth refused by the database: not one is kept.
void TestImport::failureHalfwayLeavesTheCatalogue()
{
    TestShop shop;
    addPart(shop, 1, "PN-OLD", "Kept", 10);
    RecordWindow* window = openWindow(shop, "SpeedButton1");
    QByteArray bytes = "Part No,Part Name,Price $\r\nPN-OLD,Changed,11\r\n";
    for (int i = 1; i <= 1000; ++i)
        bytes +=
            QStringLiteral("PN-%1,Part %1,%2\r\n").arg(i, 4, 10, QLatin1Char('0')).arg(i).toUtf8();
    const QString file = writeCsv(shop, "many.csv", bytes);
    if (TestShop::onServer()) {
        raw("CREATE FUNCTION tavlin_refuse_500() RETURNS trigger LANGUAGE plpgsql AS $$ "
            "BEGIN IF NEW.color_material = 'PN-0500' THEN RAISE EXCEPTION 'the disk is "
            "full'; END IF; RETURN NEW; END $$");
        raw("CREATE TRIGGER refuse_500 BEFORE INSERT ON Part FOR EACH ROW EXECUTE FUNCTION "
            "tavlin_refuse_500()");
    } else {
        raw("CREATE TRIGGER refuse_500 BEFORE INSERT ON Part WHEN NEW.Color_Material = "
            "'PN-0500' BEGIN SELECT RAISE(ABORT, 'the disk is full'); END");
    }
    shop.prompter().answer({true});
    const QString refused = refusal([&] { window->importFrom(file); });
    if (TestShop::onServer()) {
        raw("DROP TRIGGER refuse_500 ON Part");
        raw("DROP FUNCTION tavlin_refuse_500()");
    }
    QVERIFY2(refused.contains("Row 502 (PN-0500) could not be added"), qPrintable(refused));
    QVERIFY2(refused.contains("the disk is full"), qPrintable(refused));
    QCOMPARE(parts(shop), QStringList{"PN-OLD|Kept|10.00|"});
}

void TestImport::customersAndVendors_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("customers") << "SpeedButton9"
                               << "Customer"
                               << "Customer";
    QTest::newRow("vendors") << "SpeedButton2"
                             << "Company"
                             << "Company";
}

// Known by name; the address columns by the boxes' captions.
void TestImport::customersAndVendors()
{
    QFETCH(QString, button);
    QFETCH(QString, table);
    QFETCH(QString, prefix);
    TestShop shop;
    shop.exec(QString("Insert into %1 (ID_%2, Name_%2, City_%2) values (4, 'Acme', 'Reno')")
                  .arg(table, prefix));
    RecordWindow* window = openWindow(shop, button.toLatin1().constData());
    const QString file = writeCsv(shop, "people.csv",
                                  "Name,City,Zip\r\nACME,Elko,89801\r\n"
                                  "\"O'Brien, Pat\",Sparks,89431\r\n");
    shop.prompter().answer({true});
    QVERIFY(window->importFrom(file));
    QCOMPARE(shop.prompter().texts(Kind::Confirm).value(0).contains("1 to add, 1 to change"), true);
    QCOMPARE(shop.rows(QString("Select ID_%1, Name_%1, City_%1, Zip_%1 From %2 Order By ID_%1")
                           .arg(prefix, table)),
             (QList<QVariantList>{{4, "Acme", "Elko", "89801"},
                                  {5, "O'Brien, Pat", "Sparks", "89431"}}));
}

// The Parts list exported and read into an empty catalogue gives the same parts, hostile
// texts, money and all.
void TestImport::exportedRowsComeBack()
{
    TestShop shop;
    addPart(shop, 1, "PN-1", "Wheel, 22\" \"steel\"", 1234.5);
    addPart(shop, 2, "PN-2", "🚚 Müller\nsecond line", 0.1234);
    addPart(shop, 3, "PN-3", QString("long,\"text\"\n").repeated(800), 0);
    shop.exec("Update Part set Description_Material = 'O''Brien; 100% _x_'");
    const QStringList before = parts(shop);
    RecordWindow* window = openWindow(shop, "SpeedButton1");
    auto* grid = window->findChild<DataGrid*>("DBGrid1");
    const QString file = shop.folder() + "/exported.csv";
    QVERIFY(grid->exportRowsTo(file));
    QFile written(file);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const Csv::Table table = Csv::parse(written.readAll());
    // Titles as the list shows them; money plain with a dot.
    QVERIFY2(table.titles.contains("Part No") && table.titles.contains("Price $"),
             qPrintable(table.titles.join(',')));
    QCOMPARE(table.rows.value(0).value(table.titles.indexOf("Price $")), QStringLiteral("1234.50"));
    shop.exec("Delete From Part");
    window->refresh();
    shop.prompter().answer({true});
    QVERIFY(window->importFrom(file));
    QCOMPARE(parts(shop), before);
}

// Edit > Copy and Export... of the main window act on the list of the window in front, from
// wherever the focus is in it; a window without a list is said in the status bar.
void TestImport::editMenuActsOnTheWindowsList()
{
    TestShop shop;
    addPart(shop, 1, "PN-1", "Brake pad", 10);
    addPart(shop, 2, "PN-2", "Filter", 5.5);
    RecordWindow* window = openWindow(shop, "SpeedButton1");
    TMainForm* mainForm = shop.mainForm();
    auto* grid = window->findChild<DataGrid*>("DBGrid1");
    grid->selectRow(1);
    window->findChild<QLineEdit*>()->setFocus();
    QApplication::clipboard()->clear();
    mainForm->findChild<QAction*>("EditCopyItem")->trigger();
    QVERIFY2(QApplication::clipboard()->text().contains("PN-2"),
             qPrintable(QApplication::clipboard()->text()));
    QVERIFY(!QApplication::clipboard()->text().contains("PN-1"));
    shop.prompter().chooseFiles({shop.folder() + "/from-menu.csv"});
    mainForm->findChild<QAction*>("EditExportItem")->trigger();
    // The file proposed is named after the window, not the main window.
    QVERIFY2(shop.prompter().fileQuestions().last().proposed.endsWith("/Parts.csv"),
             qPrintable(shop.prompter().fileQuestions().last().proposed));
    QFile written(shop.folder() + "/from-menu.csv");
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(Csv::parse(written.readAll()).rows.size(), 2);
}

QTEST_MAIN(TestImport)
#include "tst_import.moc"
