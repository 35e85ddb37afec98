// Benchmarks of the invoice window, its part lines and the part picker on a generated shop
// of ten busy years and on one a tenth of its size. Each command is reported beside the same
// statements run straight on SQLite's C API on the same file ("straight_ms", "ratio").
// Usage: invoice_bench [google benchmark flags]; the databases are kept in the working
// folder (bench-shop-*.db) and generated on the first run.

#include "ShopGenerator.h"
#include "app/TavlinApplication.h"
#include "data/Connection.h"
#include "data/Query.h"
#include "data/TDM.h"
#include "invoicing/TInvItem.h"
#include "invoicing/TInvPartFind.h"
#include "invoicing/TInvoice.h"
#include "ui/common/DataGrid.h"

#include <QElapsedTimer>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>

namespace {

// The same statements, run straight on the file: prepared, stepped, every column read.
class Straight
{
public:
    explicit Straight(const QString& path)
    {
        sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READONLY, nullptr);
    }
    ~Straight() { sqlite3_close(m_db); }

    double milliseconds(const QStringList& statements, int rounds = 5)
    {
        QList<double> times;
        for (int r = 0; r < rounds; ++r) {
            QElapsedTimer timer;
            timer.start();
            for (const QString& sql : statements)
                run(sql);
            times.append(timer.nsecsElapsed() / 1e6);
        }
        std::sort(times.begin(), times.end());
        return times.at(times.size() / 2);
    }

private:
    void run(const QString& sql)
    {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &statement, nullptr);
        while (sqlite3_step(statement) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(statement); ++c)
                benchmark::DoNotOptimize(sqlite3_column_text(statement, c));
        sqlite3_finalize(statement);
    }

    sqlite3* m_db = nullptr;
};

struct Shop
{
    QString path;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<Straight> straight;
    std::unique_ptr<TInvoice> invoice;
    std::unique_ptr<TInvPartFind> picker;
    std::unique_ptr<TInvItem> lines;
    QString number; // an open invoice the commands work on
};


QString sql(const QString& access)
{
    return DM->admin1()->translate(access);
}

QStringList lineLoad(const QString& n)
{
    return {sql("Select Name_Item,Qty_Item,Rate_Item,Amount_Item,Color_Item,Inv_Item From "
                "InvItem where Inv_Item =" + n),
            sql("Select Sum(Amount_Item) From InvItem where Inv_Item =" + n),
            sql("Select Description_Labor,PartNo_Labor,Qty_Labor,Rate_Labor,Amount_Labor "
                ",Remark_Labor,Inv_Labor From InvLabor where Inv_Labor=" + n),
            sql("Select Sum(Amount_Labor) From InvLabor where Inv_Labor =" + n),
            sql("Select Sum(Amount_Receivable) From Receivable where InvoiceNo_Receivable=" + n)};
}

// Times one command per iteration and reports it beside the straight statements.
template<class Command>
void measure(benchmark::State& state, Command command, double straightMs)
{
    qint64 total = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        command();
        total += timer.nsecsElapsed();
    }
    const double ms = total / 1e6 / double(state.iterations());
    state.counters["tavlin_ms"] = ms;
    state.counters["straight_ms"] = straightMs;
    state.counters["ratio"] = straightMs > 0 ? ms / straightMs : 0;
}

void openInvoiceWindow(benchmark::State& state, Shop* shop)
{
    QStringList statements{sql("Select * From Invoice where Paid_Inv=No"),
                           sql("Select * From Tax where Year_T =2026")};
    statements += lineLoad(shop->number);
    measure(
        state,
        [] {
            TInvoice window({});
            window.show();
            QApplication::processEvents();
        },
        shop->straight->milliseconds(statements));
}

void rowSelection(benchmark::State& state, Shop* shop)
{
    QStringList statements = lineLoad(shop->number);
    statements.append(sql("Select * From Tax where Year_T =2026"));
    measure(
        state, [shop] { emit shop->invoice->list()->cellClicked(); },
        shop->straight->milliseconds(statements));
}

void newInvoice(benchmark::State& state, Shop* shop)
{
    QStringList statements{sql("Select Max(InvoiceNo_Inv) From Invoice")};
    statements += lineLoad(QStringLiteral("999999"));
    measure(
        state, [shop] { shop->invoice->newRecord(); }, shop->straight->milliseconds(statements));
    shop->invoice->refresh();
}

void closePartLines(benchmark::State& state, Shop* shop)
{
    measure(
        state, [shop] { shop->invoice->lines()->linesChanged(QStringLiteral("InvItem")); },
        shop->straight->milliseconds(lineLoad(shop->number).mid(0, 2)));
}

// The statements of a row selection through the program's data layer alone (translation,
// Qt SQL, the rows loaded into the query), without the window: what the layer costs on top of
// SQLite.
void dataLayerRowSelection(benchmark::State& state, Shop* shop)
{
    QStringList access = {
        "Select Name_Item,Qty_Item,Rate_Item,Amount_Item,Color_Item,Inv_Item From "
        "InvItem where Inv_Item =" + shop->number,
        "Select Sum(Amount_Item) From InvItem where Inv_Item =" + shop->number,
        "Select Description_Labor,PartNo_Labor,Qty_Labor,Rate_Labor,Amount_Labor "
        ",Remark_Labor,Inv_Labor From InvLabor where Inv_Labor=" + shop->number,
        "Select Sum(Amount_Labor) From InvLabor where Inv_Labor =" + shop->number,
        "Select Sum(Amount_Receivable) From Receivable where InvoiceNo_Receivable=" +
            shop->number,
        "Select * From Tax where Year_T =2026"};
    QStringList statements;
    for (const QString& a : access)
        statements.append(sql(a));
    Query query(QStringLiteral("bench"), DM->admin1(), false);
    measure(
        state,
        [&] {
            for (const QString& a : access) {
                query.setSql({a});
                query.open();
            }
        },
        shop->straight->milliseconds(statements));
}

const QString pickerColumns = QStringLiteral(
    "Select Color_Material,Description_Material,Type_Material,Number_Material,Mfg_Material,"
    "Price_Material,Unit_Material,Style_Material,ID_Material From Part");

void pickerShow(benchmark::State& state, Shop* shop)
{
    measure(
        state, [shop] { shop->picker->showFor(shop->lines.get()); },
        shop->straight->milliseconds({sql(pickerColumns)}));
}

void pickerSearch(benchmark::State& state, Shop* shop)
{
    measure(
        state, [shop] { shop->picker->search(QStringLiteral("heavy duty 42")); },
        shop->straight->milliseconds(
            {sql(pickerColumns + " where Description_Material Like '%heavy duty 42%'")}));
}

void pickerSelect(benchmark::State& state, Shop* shop)
{
    const QString tail = " And V.CustomerName_Inv = '" + shop->lines->customerName() +
                         "' And V.InvoiceNo_Inv = T.Inv_Item ";
    const double straightMs = shop->straight->milliseconds(
               {sql(pickerColumns + " where Description_Material Like '%part 4242 %'"),
                sql("Select Max(Rate_Item) From  InvItem T, Invoice V where T.Color_Item = "
                    "'PN04242'" + tail),
                sql("Select T.Rate_Item From  InvItem T, Invoice V where T.Color_Item = "
                    "'PN04242'" + tail + " Order By T.Inv_Item")});
    measure(
        state,
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
    shop->dm = std::make_unique<TDM>(path, nullptr);
    shop->straight = std::make_unique<Straight>(path);
    shop->invoice = std::make_unique<TInvoice>(TInvoice::Links{});
    shop->invoice->show();
    QApplication::processEvents();
    shop->invoice->list()->query()->setCurrentRow(150);
    emit shop->invoice->list()->cellClicked();
    shop->number = shop->invoice->text(QStringLiteral("InvoiceNo_Inv"));
    shop->picker = std::make_unique<TInvPartFind>();
    shop->lines = std::make_unique<TInvItem>(
        LineOwnerRef(shop->invoice->lines(), shop->invoice->lines()));
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
    benchmark::Initialize(&argc, argv);
    const QList<std::pair<const char*, void (*)(benchmark::State&, Shop*)>> commands = {
        {"OpenInvoiceWindow", openInvoiceWindow}, {"RowSelectionWithTotals", rowSelection},
        {"DataLayerRowSelection", dataLayerRowSelection},
        {"NewInvoice", newInvoice},               {"ClosePartLineWindow", closePartLines},
        {"PartPickerShow", pickerShow},           {"PartPickerSearch", pickerSearch},
        {"PartPickerSelect", pickerSelect},
    };
    for (const QString size : {"small", "large"})
        for (const auto& [name, command] : commands) {
            auto run = command;
            benchmark::RegisterBenchmark((QString(name) + "/" + size).toUtf8().constData(),
                                         [run, size](benchmark::State& state) {
                                             run(state, shopOf(size));
                                         })
                ->Unit(benchmark::kMillisecond);
        }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    current.reset();
    return 0;
}
