// Benchmarks of the purchase-order window (opening, New, following the list, closing a line
// window) and the order part picker, on the generated shop of ten busy years (15,000 orders,
// 60,000 order lines, 20,000 parts) and on one a tenth of its size, each beside the same
// statements run straight on SQLite's C API on the same file.
// Usage: order_bench [google benchmark flags]; the databases are those of invoice_bench
// (bench-shop-*.db in the working folder), generated on the first run.

#include "BenchSupport.h"
#include "ShopGenerator.h"
#include "app/TavlinApplication.h"
#include "data/Query.h"
#include "data/TDM.h"
#include "printing/PreparedReport.h"
#include "purchasing/TLaborFind.h"
#include "purchasing/TOrderItem.h"
#include "purchasing/TPoOrder.h"
#include "ui/common/DataGrid.h"
#include "ui/common/Prompter.h"
#include "ui/documents/LinePanel.h"

#include <QApplication>

#include <memory>

namespace {

struct Shop
{
    std::unique_ptr<TDM> dm;
    std::unique_ptr<Straight> straight;
    std::unique_ptr<TPoOrder> orders;
    std::unique_ptr<TLaborFind> picker;
    std::unique_ptr<TOrderItem> lines;
    QString number; // an order in the middle of the ten years
};

QStringList orderLines(const QString& n)
{
    return {sql("Select Name_Item,Qty_Item,Rate_Item,Amount_Item ,Po_Item From Items where "
                "Po_Item = " +
                n + " Order By rowid"),
            sql("Select Sum(Amount_Item) From Items where Po_Item =" + n)};
}

const QString pickerColumns = QStringLiteral(
    "Select Color_Material,Description_Material,Type_Material,Number_Material,Mfg_Material,"
    "Price_Material,Unit_Material,Style_Material,ID_Material From Part");

void showOrder(Shop* shop)
{
    Query* list = shop->orders->listQuery();
    list->setCurrentRow(list->findRow(QStringLiteral("Po_Order"), shop->number));
    emit shop->orders->grid()->cellClicked();
}

void openOrderWindow(benchmark::State& state, Shop* shop)
{
    QStringList statements = firstScreen("Orders");
    statements += orderLines(QStringLiteral("1"));
    measure(
        state,
        [] {
            TPoOrder window({});
            window.show();
            QApplication::processEvents();
        },
        shop->straight->milliseconds(statements));
}

void followList(benchmark::State& state, Shop* shop)
{
    // Two orders shown in turn, so that every round changes the number in the boxes.
    const QString other = QString::number(shop->number.toInt() + 1);
    bool flip = false;
    measure(
        state,
        [&] {
            Query* list = shop->orders->listQuery();
            list->setCurrentRow(
                list->findRow(QStringLiteral("Po_Order"), flip ? other : shop->number));
            flip = !flip;
            emit shop->orders->grid()->cellClicked();
        },
        shop->straight->milliseconds(orderLines(shop->number)));
    showOrder(shop);
}

void newOrder(benchmark::State& state, Shop* shop)
{
    measureAfter(
        state, [shop] { showOrder(shop); }, [shop] { shop->orders->newRecord(); },
        shop->straight->milliseconds({sql("Select Max(Po_Order) From Orders")}));
    showOrder(shop);
}

// Print Order: the order shown, read and laid out as the preview shows it (the preview
// itself not drawn). Straight: the order, its lines and its vendor read on SQLite.
void orderPrintout(benchmark::State& state, Shop* shop)
{
    showOrder(shop);
    const QString n = shop->number;
    measure(
        state, [shop] { benchmark::DoNotOptimize(shop->orders->prepareReport()); },
        shop->straight->milliseconds(
            {sql("Select * From Orders where Po_Order = " + n),
             sql("Select Color_Item, Name_Item, Qty_Item, Rate_Item, Amount_Item From Items "
                 "where Po_Item = " +
                 n + " Order By tavlin_row"),
             sql("Select Top 1 * From Company where Name_Company = (Select Vendor_Order From "
                 "Orders where Po_Order = " +
                 n + ") Order By ID_Company")}));
}

void closeLineWindow(benchmark::State& state, Shop* shop)
{
    measure(
        state, [shop] { shop->orders->lines()->linesChanged(QStringLiteral("Items")); },
        shop->straight->milliseconds(orderLines(shop->number)));
}

void pickerShowAfterChange(benchmark::State& state, Shop* shop)
{
    Query change(QStringLiteral("bench"), DM->admin1());
    change.setSql({"Update Part Set Remark_Material=Remark_Material where ID_Material=1"});
    measureAfter(
        state, [&] { change.exec(); }, [shop] { shop->picker->showFor(shop->lines.get()); },
        shop->straight->milliseconds({sql(pickerColumns)}));
}

void pickerSearch(benchmark::State& state, Shop* shop)
{
    // The text arrives in the emptied box at once: every part of the catalogue is looked at.
    measureAfter(
        state, [shop] { shop->picker->search(QString()); },
        [shop] { shop->picker->search(QStringLiteral("heavy duty 42")); },
        shop->straight->milliseconds(
            {sql(pickerColumns + " where Description_Material Like '%heavy duty 42%'")}));
}

Shop* openShop(const QString& path, double scale)
{
    ShopGenerator::generate(path, scale);
    auto* shop = new Shop;
    shop->dm = std::make_unique<TDM>(path, nullptr);
    shop->straight = std::make_unique<Straight>(path);
    shop->orders = std::make_unique<TPoOrder>(TPoOrder::Links{});
    shop->orders->show();
    QApplication::processEvents();
    shop->number = QString::number(scale >= 1 ? 7500 : 750);
    showOrder(shop);
    shop->lines =
        std::make_unique<TOrderItem>(LineOwnerRef(shop->orders->lines(), shop->orders->lines()));
    shop->lines->show();
    shop->picker = std::make_unique<TLaborFind>();
    QApplication::processEvents();
    return shop;
}

} // namespace

int main(int argc, char** argv)
{
    Shops<Shop> shops(openShop);
    static Shops<Shop>* all = &shops;
    return runAnsweringYes(
        argc, argv,
        [] {
            registerOnShops<Shop>({{"OpenOrderWindow", openOrderWindow},
                                   {"FollowOrderList", followList},
                                   {"NewOrder", newOrder},
                                   {"OrderPrintout", orderPrintout},
                                   {"CloseOrderLineWindow", closeLineWindow},
                                   {"OrderPickerShowAfterChange", pickerShowAfterChange},
                                   {"OrderPickerSearch", pickerSearch}},
                                  [](const QString& size) { return all->of(size); });
        },
        [] { all->reset(); });
}
