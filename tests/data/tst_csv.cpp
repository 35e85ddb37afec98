// Rows written for spreadsheets and read back: RFC 4180 files, the tab-separated clipboard text,
// and the plain form of money, numbers and dates.

#include "data/Csv.h"
#include "data/DbError.h"
#include "data/Field.h"

#include <QTest>

class TestCsv : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void fileForm();
    void plainValues_data();
    void plainValues();
    void tabText();
    void readsOtherPrograms_data();
    void readsOtherPrograms();
    void refusals_data();
    void refusals();
};

void TestCsv::roundTrip_data()
{
    QTest::addColumn<QString>("cell");
    QTest::newRow("plain") << "Brake pad";
    QTest::newRow("comma") << "Smith, John";
    QTest::newRow("quotes") << "12\" wheel \"heavy\"";
    QTest::newRow("line breaks") << "first line\nsecond line\r\nthird";
    QTest::newRow("emoji and accents") << "🚚 Müller Señor 🔧";
    QTest::newRow("10,000 characters") << QString("a,\"b\"\n").repeated(2000);
    QTest::newRow("spaces at the ends") << "  padded  ";
    QTest::newRow("empty") << "";
    QTest::newRow("tab") << "a\tb";
    QTest::newRow("leading equals sign kept as text") << "=SUM(A1)";
}

// Every text comes back as it went out, in the middle of a row and at its end.
void TestCsv::roundTrip()
{
    QFETCH(QString, cell);
    Csv::Table table;
    table.titles = {"Part No", "Name, full", "Price $"};
    table.rows = {{"PN-1", cell, "12.50"}, {"PN-2", "x", cell}};
    const Csv::Table back = Csv::parse(Csv::document(table));
    QCOMPARE(back.titles, table.titles);
    QCOMPARE(back.rows, table.rows);
}

void TestCsv::fileForm()
{
    Csv::Table table;
    table.titles = {"A", "B"};
    table.rows = {{"1", "x,y"}, {"2", "say \"hi\""}};
    const QByteArray bytes = Csv::document(table);
    // UTF-8 with its mark, CRLF after every record, quotes only where needed and doubled.
    QCOMPARE(bytes, QByteArray("\xEF\xBB\xBF"
                               "A,B\r\n1,\"x,y\"\r\n2,\"say \"\"hi\"\"\"\r\n"));
}

void TestCsv::plainValues_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("plain");
    const int money = int(ColumnKind::Money);
    QTest::newRow("money, whole") << QVariant(1234.0) << money << "1234.00";
    QTest::newRow("money, cents") << QVariant(1234.5) << money << "1234.50";
    QTest::newRow("money, four decimals") << QVariant(0.1234) << money << "0.1234";
    QTest::newRow("money, negative") << QVariant(-3.1) << money << "-3.10";
    QTest::newRow("money, a sum's noise") << QVariant(10.1 + 20.2) << money << "30.30";
    QTest::newRow("money, empty") << QVariant() << money << "";
    QTest::newRow("date") << QVariant("2026-03-07") << int(ColumnKind::Date) << "2026-03-07";
    QTest::newRow("date with a time")
        << QVariant("2026-03-07T10:00:00") << int(ColumnKind::Date) << "2026-03-07";
    QTest::newRow("yes") << QVariant(true) << int(ColumnKind::Bool) << "Yes";
    QTest::newRow("no") << QVariant(false) << int(ColumnKind::Bool) << "No";
    QTest::newRow("quantity") << QVariant(1.5) << int(ColumnKind::Real) << "1.5";
    QTest::newRow("large number, no separators")
        << QVariant(1234567) << int(ColumnKind::Integer) << "1234567";
    QTest::newRow("text") << QVariant("O'Brien") << int(ColumnKind::Text) << "O'Brien";
}

void TestCsv::plainValues()
{
    QFETCH(QVariant, value);
    QFETCH(int, kind);
    QFETCH(QString, plain);
    QCOMPARE(Csv::plainValue(Field(value, ColumnKind(kind))), plain);
}

void TestCsv::tabText()
{
    Csv::Table table;
    table.titles = {"not", "copied"};
    table.rows = {
        {"PN-1", "Brake pad", "12.50"}, {"PN-2", "two\nlines", "say \"hi\""}, {"PN-3", "a\tb", ""}};
    QCOMPARE(Csv::tabText(table),
             QStringLiteral("PN-1\tBrake pad\t12.50\nPN-2\t\"two\nlines\"\t\"say \"\"hi\"\"\"\n"
                            "PN-3\t\"a\tb\"\t\n"));
    QCOMPARE(Csv::tabText(Csv::Table{}), QString());
}

void TestCsv::readsOtherPrograms_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("lastCell");
    QTest::newRow("LF line ends, no mark") << QByteArray("A,B\n1,2\n3,4\n") << 2 << "4";
    QTest::newRow("no line break at the end") << QByteArray("A,B\r\n1,2\r\n3,4") << 2 << "4";
    QTest::newRow("blank lines left out") << QByteArray("A,B\r\n\r\n1,2\r\n\r\n") << 1 << "2";
    QTest::newRow("an empty last cell") << QByteArray("A,B\r\n1,\r\n") << 1 << "";
    QTest::newRow("a quoted empty cell") << QByteArray("A,B\r\n1,\"\"") << 1 << "";
    QTest::newRow("titles only") << QByteArray("A,B\r\n") << 0 << "";
}

void TestCsv::readsOtherPrograms()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, rows);
    QFETCH(QString, lastCell);
    const Csv::Table table = Csv::parse(bytes);
    QCOMPARE(table.titles, (QStringList{"A", "B"}));
    QCOMPARE(table.rows.size(), rows);
    if (rows > 0)
        QCOMPARE(table.rows.last().last(), lastCell);
}

void TestCsv::refusals_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("a quote never closed")
        << QByteArray("A,B\r\n1,2\r\n3,\"four\r\nfive\r\n") << "opened on line 3 is never closed";
    QTest::newRow("text after a closing quote")
        << QByteArray("A,B\r\n1,\"2\"x\r\n") << "Line 2 has text after the closing quote";
    QTest::newRow("a quote inside a plain cell")
        << QByteArray("A,B\r\n1,2\r\n3,fo\"ur\r\n") << "Line 3 has a quote inside a cell";
}

void TestCsv::refusals()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    try {
        Csv::parse(bytes);
        QFAIL("the file was read");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains(message), qPrintable(e.message()));
    }
}

QTEST_APPLESS_MAIN(TestCsv)
#include "tst_csv.moc"
