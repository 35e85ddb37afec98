// Lists read a screen at a time: whatever the order, the condition and the way the user moves
// through them, they show exactly the rows a full load shows, in the same order.
#include "TestShop.h"
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Query.h"
#include "data/SqlSelect.h"
#include "data/TDM.h"

#include <QDate>
#include <QTest>

namespace {

// Names that sort and match awkwardly: letter case, an apostrophe, a %, an _ and empties.
const QStringList names = {"ACME TRUCKING", "acme trucking", "Bolt & Nut", QString(), "O'Brien",
                           "50% Off",       "50x Parts",     "bolt_x",     "Zed",     ""};

} // namespace

class TestPaged : public QObject
{
    Q_OBJECT

private:
    // rows invoices (a few hundred, then copied onto themselves) with names, amounts, dates and
    // paid flags that repeat and are sometimes empty.
    static void fillInvoices(TestShop& shop, int doublings)
    {
        for (int i = 1; i <= 100; ++i) {
            const QString name = names.at(i % names.size());
            shop.exec(
                QStringLiteral("Insert Into Invoice (InvoiceNo_Inv, CustomerName_Inv, "
                               "Amount_Inv, InvoiceDate_Inv, Paid_Inv) Values (?, ?, ?, ?, ?)"),
                {qlonglong(i), name.isNull() ? QVariant(QMetaType(QMetaType::QString)) : name,
                 i % 11 == 0 ? QVariant(QMetaType(QMetaType::Double))
                             : QVariant(double((i * 37) % 50)),
                 QDate(2020, 1, 1).addDays((i * 13) % 40), i % 3 != 0});
        }
        for (int d = 0; d < doublings; ++d)
            shop.exec(
                QStringLiteral("Insert Into Invoice (InvoiceNo_Inv, CustomerName_Inv, "
                               "Amount_Inv, InvoiceDate_Inv, Paid_Inv) Select InvoiceNo_Inv "
                               "+ %1, CustomerName_Inv, Amount_Inv, InvoiceDate_Inv, Paid_Inv "
                               "From Invoice")
                    .arg(1000 << d));
    }

    // The same read loaded whole, in the order a paged list sorted on spec shows.
    static void loadWhole(Query& whole, const TableRead& read, const QString& spec)
    {
        SqlStatement statement = read.statement();
        statement.lines.append(QStringLiteral(" Order By ") +
                               (spec.isEmpty() ? QString() : spec + QStringLiteral(", ")) +
                               QStringLiteral("tavlin_row"));
        whole.setSql(statement);
        whole.open();
    }

    static void compareRow(Query& paged, Query& whole, int row)
    {
        QCOMPARE(paged.rowKey(row), whole.rowKey(row));
        for (int c = 0; c < whole.columnCount(); ++c)
            QCOMPARE(paged.displayText(row, c), whole.displayText(row, c));
    }

private slots:
    void showsWhatAFullLoadShows_data()
    {
        QTest::addColumn<QString>("condition");
        QTest::addColumn<QString>("sort");
        for (const char* condition : {"", "paid"})
            for (const char* sort : {"", "CustomerName_Inv", "Amount_Inv", "InvoiceDate_Inv DESC",
                                     "CustomerName_Inv DESC, Amount_Inv"})
                QTest::addRow("%s rows, sorted by '%s'", *condition ? condition : "all", sort)
                    << QString::fromLatin1(condition) << QString::fromLatin1(sort);
    }

    void showsWhatAFullLoadShows()
    {
        QFETCH(QString, condition);
        QFETCH(QString, sort);
        TestShop shop;
        // 6,400 rows: more than the pages a list keeps, so pages are read again after a jump.
        fillInvoices(shop, 6);
        const TableRead read =
            condition.isEmpty()
                ? SqlSelect::all(QStringLiteral("Invoice"))
                : SqlSelect::where(QStringLiteral("Invoice"), QStringLiteral("Paid_Inv"), true);
        Query paged(QStringLiteral("Paged"), shop.dm()->admin1());
        paged.openPaged(read);
        // The current row stays current through the sort.
        paged.setCurrentRow(5);
        const qint64 chosen = paged.currentKey();
        if (!sort.isEmpty())
            paged.sort(sort);
        QCOMPARE(paged.currentKey(), chosen);
        Query whole(QStringLiteral("Whole"), shop.dm()->admin1());
        loadWhole(whole, read, sort);
        QCOMPARE(paged.recordCount(), whole.recordCount());
        QVERIFY(whole.recordCount() > 2000);
        const int n = whole.recordCount();

        // The end first, as Ctrl+End and the navigator's last record go, then every row, a
        // screen of 50 at a time, the screens in an order that jumps to and fro.
        paged.last();
        QCOMPARE(paged.currentRow(), n - 1);
        QCOMPARE(paged.field(QStringLiteral("InvoiceNo_Inv")).asText(),
                 whole.field(n - 1, whole.columnIndex(QStringLiteral("InvoiceNo_Inv"))).asText());
        const int screens = (n + 49) / 50;
        for (int s = 0; s < screens; ++s) {
            const int screen = int((qint64(s) * 37) % screens);
            for (int row = screen * 50; row < std::min(n, screen * 50 + 50); ++row)
                compareRow(paged, whole, row);
        }
        QVERIFY(paged.heldRows() < n);

        // Rows found by their key, by a number and by the start of a name are where the full
        // load has them.
        for (int row = 0; row < n; row += 97) {
            QCOMPARE(paged.findKey(whole.rowKey(row)), row);
            const QString number = whole.field(row, whole.columnIndex("InvoiceNo_Inv")).asText();
            QCOMPARE(paged.findRow(QStringLiteral("InvoiceNo_Inv"), number), row);
        }
        QCOMPARE(paged.findRow(QStringLiteral("InvoiceNo_Inv"), QStringLiteral("999999")), -1);
        QCOMPARE(paged.findRow(QStringLiteral("InvoiceNo_Inv"), QStringLiteral("x1")), -1);
        const int name = whole.columnIndex(QStringLiteral("CustomerName_Inv"));
        for (const QString typed : {"acme", "BOLT", "bolt_", "50%", "o'b", "nobody"}) {
            int expected = -1;
            for (int row = 0; row < n && expected < 0; ++row)
                if (whole.field(row, name).asText().startsWith(typed, Qt::CaseInsensitive))
                    expected = row;
            paged.first();
            QCOMPARE(paged.locate(QStringLiteral("CustomerName_Inv"), typed), expected >= 0);
            QCOMPARE(paged.currentRow(), expected >= 0 ? expected : 0);
        }
    }

    void emptyListKnowsItsColumns()
    {
        TestShop shop;
        Query paged(QStringLiteral("Paged"), shop.dm()->admin1());
        paged.openPaged(SqlSelect::all(QStringLiteral("Invoice")));
        QVERIFY(paged.isOpen());
        QVERIFY(paged.isEmpty());
        QCOMPARE(paged.currentRow(), -1);
        QVERIFY(paged.columnIndex(QStringLiteral("CustomerName_Inv")) >= 0);
        QVERIFY(paged.field(QStringLiteral("CustomerName_Inv")).isNull());
        paged.sort(QStringLiteral("CustomerName_Inv"));
        QCOMPARE(paged.currentRow(), -1);
        QVERIFY(!paged.locate(QStringLiteral("CustomerName_Inv"), QStringLiteral("a")));
    }

    // A list read a screen at a time is searched on the database, never by filtering rows it
    // does not hold; and a rejected read leaves it closed.
    void refusals()
    {
        TestShop shop;
        fillInvoices(shop, 0);
        Query paged(QStringLiteral("Paged"), shop.dm()->admin1());
        paged.openPaged(SqlSelect::all(QStringLiteral("Invoice")));
        QVERIFY(!refusal([&] {
                     paged.filterContaining({QStringLiteral("CustomerName_Inv")},
                                            QStringLiteral("a"));
                 }).isEmpty());
        QVERIFY(!refusal([&] { paged.sort(QStringLiteral("Nope_Col")); }).isEmpty());
        QCOMPARE(paged.recordCount(), 100);
        QVERIFY(!refusal([&] {
                     paged.openPaged(SqlSelect::all(QStringLiteral("Nope_Table")));
                 }).isEmpty());
        QVERIFY(!paged.isOpen());
        QCOMPARE(paged.recordCount(), 0);
    }
};

QTEST_MAIN(TestPaged)
#include "tst_paged.moc"
