// Benchmarks of the invoice window (with its header Save and its "All" filter), its part
// lines and the part picker on a generated shop of ten busy years and on one a tenth of its
// size. Each command is reported beside the same statements run straight on SQLite's C API
// on the same file ("straight_ms", "ratio").
// Usage: invoice_bench [google benchmark flags]; the databases are kept in the working
// folder (bench-shop-*.db) and generated on the first run.

#include "BenchSupport.h"
#include "ServerShop.h"
#include "ShopGenerator.h"
#include "app/TavlinApplication.h"
#include "data/Connection.h"
#include "data/Query.h"
#include "data/SqlRow.h"
#include "data/SqlSelect.h"
#include "data/TDM.h"
#include "estimates/TEstimate.h"
#include "invoicing/TInvItem.h"
#include "invoicing/TInvPartFind.h"
#include "invoicing/TInvoice.h"
#include "stores/SalesStore.h"
#include "ui/common/DataGrid.h"
#include "ui/common/FormBoxes.h"
#include "ui/common/Prompter.h"

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <memory>
#include <sqlite3.h>
#include <unistd.h>
#include <vector>

namespace {

// Messages the program gave (through the prompter installed in main).
int informed = 0;

// A sales document window the commands work on: its tables, and the open document they use.
struct Document
{
    std::unique_ptr<DocumentWindow> window;
    QString header;
    QString items;
    QString labor;
    QString number;
};

struct Shop
{
    QString path;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<Straight> straight;
    Document invoice;
    Document estimate;
    std::unique_ptr<TInvPartFind> picker;
    std::unique_ptr<TInvItem> lines;
};

QStringList lineLoad(const Document& doc, const QString& n)
{
    return {sql("Select Name_Item,Qty_Item,Rate_Item,Amount_Item,Color_Item,Inv_Item From " +
                doc.items + " where Inv_Item =" + n + " Order By rowid"),
            sql("Select Sum(Amount_Item) From " + doc.items + " where Inv_Item =" + n),
            sql("Select Description_Labor,PartNo_Labor,Qty_Labor,Rate_Labor,Amount_Labor "
                ",Remark_Labor,Inv_Labor From " +
                doc.labor + " where Inv_Labor=" + n + " Order By rowid"),
            sql("Select Sum(Amount_Labor) From " + doc.labor + " where Inv_Labor =" + n),
            sql("Select Sum(Amount_Receivable) From Receivable where InvoiceNo_Receivable=" + n)};
}

// Puts the document window on the document the commands work on, as a click on its row does.
void show(Document& doc)
{
    Query* list = doc.window->list()->query();
    list->setCurrentRow(list->findRow(QStringLiteral("InvoiceNo_Inv"), doc.number));
    emit doc.window->list()->cellClicked();
}

void showInvoice(Shop* shop)
{
    show(shop->invoice);
}

// The tax row the total of an invoice of this date reads.
QString taxRow(const QString& isoDate)
{
    const QDate date = QDate::fromString(isoDate, Qt::ISODate);
    return sql(QStringLiteral("Select * From Tax where Year_T =%1\nand A_T<=%2\nand E_T>=%2")
                   .arg(date.year())
                   .arg(date.month()));
}

// What the window reloads after Save and after the Open filter: the open documents, then the
// lines, sums, paid sum and tax row of the first one.
QStringList openListReload(Shop* shop, const Document& doc)
{
    const QString list = sql("Select *, tavlin_row From " + doc.header +
                             " where Paid_Inv=No Order By tavlin_row Limit 64");
    const QHash<QString, QString> first = shop->straight->firstRow(list);
    QStringList statements{sql("Select Count(*) From " + doc.header + " where Paid_Inv=No"), list};
    statements += lineLoad(doc, first.value(QStringLiteral("InvoiceNo_Inv")));
    statements.append(taxRow(first.value(QStringLiteral("InvoiceDate_Inv"))));
    return statements;
}

template<class Window>
void openWindow(benchmark::State& state, Shop* shop, Document& doc)
{
    QStringList statements{sql("Select Count(*) From " + doc.header + " where Paid_Inv=No"),
                           sql("Select *, tavlin_row From " + doc.header +
                               " where Paid_Inv=No Order By tavlin_row Limit 64"),
                           sql("Select * From Tax where Year_T =2026")};
    statements += lineLoad(doc, doc.number);
    measure(
        state,
        [] {
            Window window({});
            window.show();
            QApplication::processEvents();
        },
        shop->straight->milliseconds(statements));
}

void rowSelection(benchmark::State& state, Shop* shop, Document& doc)
{
    QStringList statements = lineLoad(doc, doc.number);
    statements.append(sql("Select * From Tax where Year_T =2026"));
    measure(
        state, [&doc] { emit doc.window->list()->cellClicked(); },
        shop->straight->milliseconds(statements));
}

void newDocument(benchmark::State& state, Shop* shop, Document& doc)
{
    QStringList statements{sql("Select Max(InvoiceNo_Inv) From " + doc.header)};
    statements += lineLoad(doc, QStringLiteral("999999"));
    measure(
        state, [&doc] { doc.window->newRecord(); }, shop->straight->milliseconds(statements));
    doc.window->refresh();
    show(doc);
}

// Save of the header of an existing document, answered Yes: the existence check, the update,
// and the reload of the open documents with the figures of the first one. The same values are
// saved again on every round; the row as it was stored is put back afterwards.
void headerSave(benchmark::State& state, Shop* shop, Document& doc)
{
    const QString where = "InvoiceNo_Inv=" + doc.number;
    Straight::KeptRow kept = shop->straight->keep(doc.header, where);
    show(doc);
    const SqlRow row = doc.window->boxes()->row(doc.header);
    const QStringList keys{QStringLiteral("InvoiceNo_Inv")};
    QStringList statements{sql(row.exists(keys)), sql(row.update(keys))};
    statements += openListReload(shop, doc);
    const double straightMs = shop->straight->milliseconds(statements);
    const int informedBefore = informed;
    measureAfter(
        state, [&doc] { show(doc); }, [&doc] { doc.window->save(); }, straightMs);
    if (informed - informedBefore != int(state.iterations()))
        state.SkipWithError("Save did not report the document saved on every round");
    shop->straight->restore(kept);
    doc.window->refresh();
    show(doc);
}

// Resident memory of the process in bytes.
double residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().simplified().split(' ');
    return fields.size() > 1 ? fields.at(1).toDouble() * double(sysconf(_SC_PAGESIZE)) : 0;
}

// The "All" filter: every invoice of the shop loaded into the list. Reports the largest growth
// of resident memory over the Open list it replaces (freed memory is handed back to the
// system before each round, so that an earlier round does not hide the growth).
void allFilter(benchmark::State& state, Shop* shop)
{
    const double straightMs = shop->straight->milliseconds(firstScreen("Invoice"), 3);
    double growth = 0;
    qint64 total = 0;
    for (auto _ : state) {
        shop->invoice.window->setFilter(DocumentWindow::Filter::Open);
        Connection::beginCommand();
        malloc_trim(0);
        const double before = residentBytes();
        QElapsedTimer timer;
        timer.start();
        shop->invoice.window->setFilter(DocumentWindow::Filter::All);
        // The first screen painted, as the user sees it.
        shop->invoice.window->list()->viewport()->repaint();
        total += timer.nsecsElapsed();
        growth = std::max(growth, residentBytes() - before);
    }
    const double ms = total / 1e6 / double(state.iterations());
    state.counters["tavlin_ms"] = ms;
    state.counters["straight_ms"] = straightMs;
    state.counters["ratio"] = straightMs > 0 ? ms / straightMs : 0;
    state.counters["rss_growth_mb"] = growth / (1024.0 * 1024.0);
    state.counters["rows"] = shop->invoice.window->list()->query()->recordCount();
    shop->invoice.window->refresh();
    showInvoice(shop);
}

// Under "All" (every invoice in the list): the navigator's last and first records, and
// Ctrl+End and Ctrl+Home in the list, in turn, each with what the window does when its row
// changes (boxes, lines, figures). A freeze of half a minute was once seen here.
void allNavigation(benchmark::State& state, Shop* shop, bool keys)
{
    DocumentWindow* w = shop->invoice.window.get();
    w->setFilter(DocumentWindow::Filter::All);
    DataGrid* grid = w->list();
    grid->setFocus();
    QWidget* last = w->findChild<QWidget*>(QStringLiteral("Last"));
    QWidget* first = w->findChild<QWidget*>(QStringLiteral("First"));
    const auto key = [grid](int code) {
        QKeyEvent press(QEvent::KeyPress, code, Qt::ControlModifier);
        QApplication::sendEvent(grid, &press);
        QKeyEvent release(QEvent::KeyRelease, code, Qt::ControlModifier);
        QApplication::sendEvent(grid, &release);
    };
    const Query* list = w->list()->query();
    const QString n =
        list->field(list->recordCount() - 1, list->columnIndex("InvoiceNo_Inv")).asText();
    qint64 total = 0;
    double worst = 0;
    int round = 0;
    for (auto _ : state) {
        const bool toEnd = round++ % 2 == 0;
        Connection::beginCommand();
        QElapsedTimer timer;
        timer.start();
        if (keys)
            key(toEnd ? Qt::Key_End : Qt::Key_Home);
        else
            QMetaObject::invokeMethod(toEnd ? last : first, "click");
        QApplication::processEvents();
        const qint64 took = timer.nsecsElapsed();
        total += took;
        worst = std::max(worst, took / 1e6);
    }
    const double ms = total / 1e6 / double(state.iterations());
    const double straightMs = shop->straight->milliseconds(lineLoad(shop->invoice, n));
    state.counters["tavlin_ms"] = ms;
    state.counters["worst_ms"] = worst;
    state.counters["straight_ms"] = straightMs;
    state.counters["ratio"] = straightMs > 0 ? ms / straightMs : 0;
    shop->invoice.window->refresh();
    showInvoice(shop);
}

// Under "All": a title clicked (Customer and Date in turn), the list sorted on the database
// around the row the user is on, and its screen painted.
void allSortByTitle(benchmark::State& state, Shop* shop)
{
    DocumentWindow* w = shop->invoice.window.get();
    w->setFilter(DocumentWindow::Filter::All);
    DataGrid* grid = w->list();
    const Query* list = grid->query();
    const int customer = list->columnIndex(QStringLiteral("CustomerName_Inv"));
    const int date = list->columnIndex(QStringLiteral("InvoiceDate_Inv"));
    int round = 0;
    measure(
        state,
        [&] {
            emit grid->titleClicked(round++ % 2 == 0 ? customer : date);
            grid->viewport()->repaint();
        },
        shop->straight->milliseconds(
            {sql("Select CustomerName_Inv, tavlin_row From Invoice Where tavlin_row = 1"),
             sql("Select Count(*) From Invoice Where (CustomerName_Inv Is Null Or "
                 "CustomerName_Inv < 'Customer 1') Or (CustomerName_Inv = 'Customer 1' And "
                 "tavlin_row < 1)"),
             sql("Select *, tavlin_row From Invoice Order By CustomerName_Inv, tavlin_row Limit 64 "
                 "Offset 0")}));
    w->refresh();
    w->setFilter(DocumentWindow::Filter::Open);
    showInvoice(shop);
}

// Under "All", sorted by customer: a name typed into the search box, the list moved to the
// first invoice of a customer whose name starts with it (two names in turn).
void allSearch(benchmark::State& state, Shop* shop)
{
    DocumentWindow* w = shop->invoice.window.get();
    w->setFilter(DocumentWindow::Filter::All);
    DataGrid* grid = w->list();
    emit grid->titleClicked(grid->query()->columnIndex(QStringLiteral("CustomerName_Inv")));
    auto* box = w->findChild<QLineEdit*>(QStringLiteral("Edit13"));
    const QString a = grid->query()
                          ->field(grid->query()->recordCount() / 3,
                                  grid->query()->columnIndex("CustomerName_Inv"))
                          .asText();
    const QString b = grid->query()
                          ->field(grid->query()->recordCount() * 2 / 3,
                                  grid->query()->columnIndex("CustomerName_Inv"))
                          .asText();
    int round = 0;
    measure(
        state,
        [&] {
            box->setText(round++ % 2 == 0 ? a : b);
            grid->viewport()->repaint();
        },
        shop->straight->milliseconds(
            {sql("Select tavlin_row From Invoice Where CustomerName_Inv Like '" + a +
                 "%' Order By CustomerName_Inv, tavlin_row Limit 1"),
             sql("Select Count(*) From Invoice Where CustomerName_Inv < '" + a + "'"),
             sql("Select *, tavlin_row From Invoice Order By CustomerName_Inv, tavlin_row Limit 64 "
                 "Offset 25000")}));
    box->clear();
    w->refresh();
    w->setFilter(DocumentWindow::Filter::Open);
    showInvoice(shop);
}

void closePartLines(benchmark::State& state, Shop* shop)
{
    measure(
        state, [shop] { shop->invoice.window->lines()->linesChanged(QStringLiteral("InvItem")); },
        shop->straight->milliseconds(lineLoad(shop->invoice, shop->invoice.number).mid(0, 2)));
}

// The statements of a row selection through the program's data layer alone (translation,
// Qt SQL, the rows loaded into the query), without the window: what the layer costs on top of
// SQLite.
void dataLayerRowSelection(benchmark::State& state, Shop* shop)
{
    // What the window reads when a row is chosen: the part and labor lines, the paid sum and
    // the tax row of the invoice's month, each a statement with its values bound.
    const QString& number = shop->invoice.number;
    SqlRow items(QStringLiteral("InvItem"));
    items.set(QStringLiteral("Inv_Item"), number);
    SqlRow labor(QStringLiteral("InvLabor"));
    labor.set(QStringLiteral("Inv_Labor"), number);
    const QList<SqlStatement> reads = {
        items.select(QStringLiteral("Name_Item,Qty_Item,Rate_Item,Amount_Item,Color_Item,Inv_Item"),
                     {QStringLiteral("Inv_Item")}, SqlRow::Order::Entered),
        labor.select(QStringLiteral("Description_Labor,PartNo_Labor,Qty_Labor,Rate_Labor,"
                                    "Amount_Labor,Remark_Labor,Inv_Labor"),
                     {QStringLiteral("Inv_Labor")}, SqlRow::Order::Entered),
        SqlSelect::sum(QStringLiteral("Receivable"), QStringLiteral("Amount_Receivable"),
                       QStringLiteral("InvoiceNo_Receivable"), number.toLongLong()),
        SqlStatement{
            {"Select * From Tax where Year_T = ?", "and A_T <= ?", "and E_T >= ?", "Order By A_T"},
            {2026LL, 3LL, 3LL}}};
    QStringList statements;
    for (const SqlStatement& read : reads)
        statements.append(sql(read));
    Query query(QStringLiteral("bench"), DM->admin1());
    measure(
        state,
        [&] {
            for (const SqlStatement& read : reads) {
                query.setSql(read);
                query.open();
            }
        },
        shop->straight->milliseconds(statements));
}

// An estimate made into an invoice (the store's command under Make Invoice): the header, the
// truck data and every line copied under the next invoice number, the estimate marked, in one
// transaction. Before each round, out of the time, the previous round's invoice is taken away
// again, so that every round makes the same invoice of the same estimate. Straight: the same
// reads and writes in one transaction on SQLite, each round's invoice removed afterwards.
void estimateMakeInvoice(benchmark::State& state, Shop* shop)
{
    const qint64 estimate = shop->estimate.number.toLongLong();
    const QDate today(2026, 12, 10);
    qint64 made = 0;
    const auto undo = [&made, estimate] {
        if (made == 0)
            return;
        Connection* c = DM->admin1();
        for (const QString& statement :
             {QStringLiteral("Delete From Invoice where InvoiceNo_Inv = ?"),
              QStringLiteral("Delete From InvItem where Inv_Item = ?"),
              QStringLiteral("Delete From InvLabor where Inv_Labor = ?")})
            c->execute(SqlStatement{{statement}, {made}});
        c->execute(SqlStatement{{"Update Estimate Set Invoice_Est = Null where InvoiceNo_Inv = ?"},
                                {estimate}});
        made = 0;
    };
    const QString e = QString::number(estimate);
    const QString next = QStringLiteral("(Select Max(InvoiceNo_Inv) From Invoice)");
    const QStringList straight = {
        "BEGIN IMMEDIATE",
        "Select CustomerName_Inv, RepairPerson_Inv, PO_Inv, Amount_Inv, LicenseNo_Inv, "
        "Remark_Inv, JobLocation_Inv, Vin_Inv, TruckNo_Inv, Mileage_Inv, Make_Inv, Model_Inv, "
        "Year_Inv, Plate_Inv, Tax_Inv From Estimate where InvoiceNo_Inv = " +
            e,
        "Select Max(InvoiceNo_Inv) From Invoice",
        "Select Max(InvoiceNo_Inv) From InvoiceCash",
        "Insert Into Invoice (InvoiceNo_Inv, CustomerName_Inv, RepairPerson_Inv, PO_Inv, "
        "Amount_Inv, LicenseNo_Inv, Remark_Inv, JobLocation_Inv, Vin_Inv, TruckNo_Inv, "
        "Mileage_Inv, Make_Inv, Model_Inv, Year_Inv, Plate_Inv, Tax_Inv, InvoiceDate_Inv, "
        "EntryDate_Inv, DueDate_Inv, Paid_Inv) Select " +
            next +
            " + 1, CustomerName_Inv, "
            "RepairPerson_Inv, PO_Inv, Amount_Inv, LicenseNo_Inv, Remark_Inv, JobLocation_Inv, "
            "Vin_Inv, TruckNo_Inv, Mileage_Inv, Make_Inv, Model_Inv, Year_Inv, Plate_Inv, Tax_Inv, "
            "'2026-12-10', '2026-12-10', '2026-12-10', 0 From Estimate where InvoiceNo_Inv = " +
            e,
        "Insert Into InvItem (Inv_Item, Name_Item, Mfg_Item, Qty_Item, Style_Item, Color_Item, "
        "Rate_Item, Amount_Item) Select " +
            next +
            ", Name_Item, Mfg_Item, Qty_Item, Style_Item, "
            "Color_Item, Rate_Item, Amount_Item From EstimateItem where Inv_Item = " +
            e + " Order By tavlin_row",
        "Insert Into InvLabor (Inv_Labor, Description_Labor, PartNo_Labor, Qty_Labor, Rate_Labor, "
        "Amount_Labor, Remark_Labor) Select " +
            next +
            ", Description_Labor, PartNo_Labor, "
            "Qty_Labor, Rate_Labor, Amount_Labor, Remark_Labor From EstimateLabor where Inv_Labor "
            "= " +
            e + " Order By tavlin_row",
        "Update Estimate Set Invoice_Est = " + next + " where InvoiceNo_Inv = " + e,
        "COMMIT"};
    const QString largest = shop->straight->firstRow("Select Max(InvoiceNo_Inv) AS n From Invoice")
                                .value(QStringLiteral("n"));
    const double straightMs = shop->straight->milliseconds(straight);
    shop->straight->milliseconds(
        {"Delete From InvItem where Inv_Item > " + largest,
         "Delete From InvLabor where Inv_Labor > " + largest,
         "Delete From Invoice where InvoiceNo_Inv > " + largest,
         "Update Estimate Set Invoice_Est = Null where InvoiceNo_Inv = " + e},
        1);
    measureAfter(
        state, undo, [&] { made = SalesStore().makeInvoice(estimate, 0, today); }, straightMs);
    undo();
}

const QString pickerList =
    QStringLiteral("Color_Material,Description_Material,Type_Material,Number_Material,Mfg_Material,"
                   "Price_Material,Unit_Material,Style_Material,ID_Material");
const QString pickerColumns = "Select " + pickerList + " From Part";

// The picker's search as the picker runs it: the text anywhere in its three columns.
QString pickerSearchStatement(const QString& text)
{
    return sql(SqlSelect::containing(QStringLiteral("Part"), pickerList,
                                     {"Description_Material", "Number_Material", "Color_Material"},
                                     text));
}

// The picker shown for the first time after the catalogue changed: a change made through the
// program's own connection, before each round and left out of the time, has it load and sort
// the whole catalogue again.
void pickerShowAfterChange(benchmark::State& state, Shop* shop)
{
    Query change(QStringLiteral("bench"), DM->admin1());
    change.setSql({"Update Part Set Remark_Material=Remark_Material where ID_Material=1"});
    measureAfter(
        state, [&] { change.exec(); }, [shop] { shop->picker->showFor(shop->lines.get()); },
        shop->straight->milliseconds({sql(pickerColumns)}));
}

// The picker shown again while the catalogue is unchanged: it keeps its rows. Straight is the
// catalogue statement a fresh showing would run.
void pickerShowUnchanged(benchmark::State& state, Shop* shop)
{
    shop->picker->showFor(shop->lines.get());
    measure(
        state, [shop] { shop->picker->showFor(shop->lines.get()); },
        shop->straight->milliseconds({sql(pickerColumns)}));
}

void pickerSearch(benchmark::State& state, Shop* shop)
{
    // The text arrives in the emptied box at once: every part of the catalogue is looked at.
    measureAfter(
        state, [shop] { shop->picker->search(QString()); },
        [shop] { shop->picker->search(QStringLiteral("heavy duty 42")); },
        shop->straight->milliseconds({pickerSearchStatement(QStringLiteral("heavy duty 42"))}));
}

// The first search after the catalogue changed and the picker read it again: the texts the
// search compares are prepared then, once.
void pickerFirstSearch(benchmark::State& state, Shop* shop)
{
    Query change(QStringLiteral("bench"), DM->admin1());
    change.setSql({"Update Part Set Remark_Material=Remark_Material where ID_Material=1"});
    measureAfter(
        state,
        [&] {
            change.exec();
            shop->picker->showFor(shop->lines.get());
        },
        [shop] { shop->picker->search(QStringLiteral("heavy duty 42")); },
        shop->straight->milliseconds({pickerSearchStatement(QStringLiteral("heavy duty 42"))}));
}

void pickerSelect(benchmark::State& state, Shop* shop)
{
    const QString tail = " And V.CustomerName_Inv = '" + shop->lines->customerName() +
                         "' And V.InvoiceNo_Inv = T.Inv_Item ";
    const double straightMs = shop->straight->milliseconds(
        {pickerSearchStatement(QStringLiteral("part 4242 ")),
         sql("Select Max(Rate_Item) From  InvItem T, Invoice V where T.Color_Item = "
             "'PN04242'" +
             tail),
         sql("Select Top 1 T.Rate_Item From  InvItem T, Invoice V where T.Color_Item = "
             "'PN04242'" +
             tail + " Order By T.Inv_Item Desc, T.tavlin_row Desc")});
    measureAfter(
        state, [shop] { shop->picker->search(QString()); },
        [shop] {
            shop->picker->search(QStringLiteral("part 4242 "));
            shop->picker->select();
        },
        straightMs);
}

Shop* openShop(const QString& path, double scale)
{
    ShopGenerator::generate(path, scale);
    auto* shop = new Shop;
    shop->path = path;
    // On the file, or on the server TAVLIN_BENCH_SERVER names (copied there once).
    shop->dm = std::make_unique<TDM>(benchTarget(path), nullptr);
    shop->straight = std::make_unique<Straight>(path);
    for (Document* doc : {&shop->invoice, &shop->estimate}) {
        const bool invoice = doc == &shop->invoice;
        doc->header = invoice ? QStringLiteral("Invoice") : QStringLiteral("Estimate");
        doc->items = invoice ? QStringLiteral("InvItem") : QStringLiteral("EstimateItem");
        doc->labor = invoice ? QStringLiteral("InvLabor") : QStringLiteral("EstimateLabor");
        if (invoice)
            doc->window = std::make_unique<TInvoice>(TInvoice::Links{});
        else
            doc->window = std::make_unique<TEstimate>(TEstimate::Links{});
        doc->window->show();
        QApplication::processEvents();
        doc->window->list()->query()->setCurrentRow(150);
        emit doc->window->list()->cellClicked();
        doc->number = doc->window->text(QStringLiteral("InvoiceNo_Inv"));
    }
    shop->picker = std::make_unique<TInvPartFind>();
    shop->lines = std::make_unique<TInvItem>(
        LineOwnerRef(shop->invoice.window->lines(), shop->invoice.window->lines()));
    shop->lines->show();
    QApplication::processEvents();
    shop->picker->showFor(shop->lines.get());
    return shop;
}

} // namespace

// The program has one data module at a time: the shop in use is opened when the first
// benchmark on it runs, after the other one is closed.
std::unique_ptr<Shop> current;
QString currentSize;

Shop* shopOf(const QString& size)
{
    if (currentSize != size) {
        current.reset();
        current.reset(openShop(QStringLiteral("bench-shop-%1.db").arg(size),
                               size == QLatin1String("large") ? 1.0 : 0.1));
        currentSize = size;
    }
    return current.get();
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    TavlinApplication app(argc, argv);
    // Every question is answered Yes and every message is taken without a box.
    struct AnswerYes : Prompter
    {
        bool confirm(const QString&) override { return true; }
        void inform(const QString&) override { ++informed; }
        void error(const QString&) override {}
    } answerYes;
    Prompter::install(&answerYes);
    benchmark::Initialize(&argc, argv);
    benchmark::AddCustomContext("database", benchEngine().toStdString());
    const QList<std::pair<const char*, void (*)(benchmark::State&, Shop*)>> commands = {
        {"OpenInvoiceWindow",
         [](benchmark::State& s, Shop* shop) { openWindow<TInvoice>(s, shop, shop->invoice); }},
        {"RowSelectionWithTotals",
         [](benchmark::State& s, Shop* shop) { rowSelection(s, shop, shop->invoice); }},
        {"DataLayerRowSelection", dataLayerRowSelection},
        {"NewInvoice",
         [](benchmark::State& s, Shop* shop) { newDocument(s, shop, shop->invoice); }},
        {"ClosePartLineWindow", closePartLines},
        {"HeaderSave", [](benchmark::State& s, Shop* shop) { headerSave(s, shop, shop->invoice); }},
        {"OpenEstimateWindow",
         [](benchmark::State& s, Shop* shop) { openWindow<TEstimate>(s, shop, shop->estimate); }},
        {"EstimateRowSelectionWithTotals",
         [](benchmark::State& s, Shop* shop) { rowSelection(s, shop, shop->estimate); }},
        {"NewEstimate",
         [](benchmark::State& s, Shop* shop) { newDocument(s, shop, shop->estimate); }},
        {"EstimateHeaderSave",
         [](benchmark::State& s, Shop* shop) { headerSave(s, shop, shop->estimate); }},
        {"EstimateMakeInvoice", estimateMakeInvoice},
        {"PartPickerShowAfterChange", pickerShowAfterChange},
        {"PartPickerShowUnchanged", pickerShowUnchanged},
        {"PartPickerSearch", pickerSearch},
        {"PartPickerFirstSearch", pickerFirstSearch},
        {"PartPickerSelect", pickerSelect},
        {"AllFilter", allFilter},
        {"AllNavigatorLastFirst",
         [](benchmark::State& s, Shop* shop) { allNavigation(s, shop, false); }},
        {"AllCtrlEndHome", [](benchmark::State& s, Shop* shop) { allNavigation(s, shop, true); }},
        {"AllSortByTitle", allSortByTitle},
        {"AllSearch", allSearch},
    };
    registerOnShops(commands, shopOf);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    current.reset();
    Prompter::install(nullptr);
    return 0;
}
