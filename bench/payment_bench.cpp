// Benchmarks of the payment window (its look-ups and Save), the payment history, the invoice
// finder and the receivable list with its total, on the generated shop of ten busy years
// (90,000 payments) and on one a tenth of its size. Each command is reported beside the same
// statements run straight on SQLite's C API on the same file ("straight_ms", "ratio").
// Usage: payment_bench [google benchmark flags]; the databases are those of invoice_bench
// (bench-shop-*.db in the working folder), generated on the first run.

#include "BenchSupport.h"
#include "ShopGenerator.h"
#include "app/TavlinApplication.h"
#include "data/Query.h"
#include "data/TDM.h"
#include "payables/PayableLists.h"
#include "payables/TBill.h"
#include "payables/TPayable.h"
#include "receivables/PaymentHistories.h"
#include "receivables/TReceivable.h"
#include "ui/common/DataGrid.h"
#include "ui/common/Prompter.h"
#include "ui/documents/LinePanel.h"

#include <QApplication>
#include <QComboBox>

#include <memory>

namespace {

const QString benchRef = QStringLiteral("BENCH-REF-1");

struct Shop
{
    std::unique_ptr<TDM> dm;
    std::unique_ptr<Straight> straight;
    std::unique_ptr<TReceivable> payment;
    std::unique_ptr<TPayable> vendorPayment;
    QString bill; // a bill in the middle of the ten years
    std::unique_ptr<TBill> bills;
    QString number; // an invoice in the middle of the ten years
};

QStringList documentLookUp(const QString& n)
{
    return {sql("Select * From Invoice where InvoiceNo_Inv = " + n),
            sql("Select Sum(Amount_Receivable) From Receivable where InvoiceNo_Receivable = " + n)};
}

void openPaymentWindow(benchmark::State& state, Shop*)
{
    measure(
        state,
        [] {
            TReceivable window({});
            window.show();
            QApplication::processEvents();
        },
        0);
}

void invoiceLookUp(benchmark::State& state, Shop* shop)
{
    measure(
        state, [shop] { shop->payment->setDocument(shop->number); },
        shop->straight->milliseconds(documentLookUp(shop->number)));
}

void referenceLookUp(benchmark::State& state, Shop* shop)
{
    shop->payment->setDocument(shop->number);
    shop->payment->setText(QStringLiteral("Ref_Receivable"), benchRef);
    measure(
        state, [shop] { shop->payment->lookUpReference(); },
        shop->straight->milliseconds(
            {sql("Select * From Receivable where InvoiceNo_Receivable = " + shop->number +
                 " And Ref_Receivable = '" + benchRef + "'")}));
}

// Save answered Yes of a payment that exists (the existence check and the update); the boxes
// are filled again before each round, as the user types them.
void paymentSave(benchmark::State& state, Shop* shop)
{
    auto fill = [shop] {
        shop->payment->setDocument(shop->number);
        shop->payment->setText(QStringLiteral("Ref_Receivable"), benchRef);
        // Typed, the reference loads its payment: Save then changes it.
        shop->payment->lookUpReference();
        shop->payment->setText(QStringLiteral("Amount_Receivable"), QStringLiteral("125.5"));
        shop->payment->setText(QStringLiteral("PayDate_Receivable"), QStringLiteral("3/9/2026"));
    };
    const QString where =
        "InvoiceNo_Receivable = " + shop->number + " and Ref_Receivable = '" + benchRef + "'";
    const double straightMs = shop->straight->milliseconds(
        {sql("Select * From Receivable where " + where),
         sql("Update Receivable Set Name_Receivable = 'x', ViaPayment_Receivable = 'Check', "
             "DepositTo_Receivable = '', PayDate_Receivable = #3/9/2026#, Amount_Receivable = "
             "125.5, Remark_Receivable = '' where " +
             where)});
    measureAfter(
        state, fill, [shop] { shop->payment->save(); }, straightMs);
}

void paymentMethodList(benchmark::State& state, Shop* shop)
{
    auto* methods = qobject_cast<QComboBox*>(
        shop->payment->boxes()->box(QStringLiteral("ViaPayment_Receivable")));
    // A payment saved through the program before each round: the list must be read again.
    Query change(QStringLiteral("bench"), DM->admin1());
    change.setSql({"Update Receivable Set Remark_Receivable = '' where InvoiceNo_Receivable = " +
                   shop->number + " And Ref_Receivable = '" + benchRef + "'"});
    measureAfter(
        state, [&] { change.exec(); },
        [methods] {
            methods->showPopup();
            methods->hidePopup();
        },
        shop->straight->milliseconds(
            {sql("Select distinct ViaPayment_Receivable From Receivable")}));
}

void paymentHistory(benchmark::State& state, Shop* shop)
{
    measure(
        state,
        [shop] {
            TInvoiceHistory history;
            history.load(shop->number);
        },
        shop->straight->milliseconds(
            {sql("Select * From Receivable where InvoiceNo_Receivable=" + shop->number)}));
}

void receivableList(benchmark::State& state, Shop* shop)
{
    measure(
        state,
        [] {
            TReceivableList list({});
            list.show();
            QApplication::processEvents();
        },
        shop->straight->milliseconds(
            firstScreen("Receivable") << sql("Select Sum(Amount_Receivable) From Receivable "), 3));
}

void invoiceFinder(benchmark::State& state, Shop* shop)
{
    measure(
        state,
        [shop] {
            TReceivableFind finder(shop->payment.get());
            finder.show();
            QApplication::processEvents();
        },
        shop->straight->milliseconds(firstScreen("Invoice", "InvoiceNo_Inv, tavlin_row"), 3));
}

void billLookUp(benchmark::State& state, Shop* shop)
{
    measure(
        state, [shop] { shop->vendorPayment->setDocument(shop->bill); },
        shop->straight->milliseconds(
            {sql("Select * From Bill where Ref_Bill = '" + shop->bill + "'"),
             sql("Select Sum(Amount_Payable) From Payable where BillNo_Payable = '" + shop->bill +
                 "'")}));
}

void payableList(benchmark::State& state, Shop* shop)
{
    measure(
        state,
        [] {
            TPayableList list({});
            list.show();
            QApplication::processEvents();
        },
        shop->straight->milliseconds(
            firstScreen("Payable") << sql("Select Sum(Amount_Payable) From Payable "), 3));
}

QStringList billLines(const QString& ref)
{
    return {sql("Select Name_Bill,Qty_Bill,Rate_Bill,Amount_Bill ,Inv_Bill From BillItem where "
                "Inv_Bill ='" +
                ref + "' Order By rowid"),
            sql("Select Description_Expense,PartNo_Expense,Qty_Expense,Rate_Expense,"
                "Amount_Expense ,Remark_Expense,Bill_Expense From BillExpense where Bill_Expense "
                "='" +
                ref + "' Order By rowid"),
            sql("Select Sum(Amount_Payable) From Payable where BillNo_Payable ='" + ref + "'")};
}

void openBillWindow(benchmark::State& state, Shop* shop)
{
    QStringList statements = firstScreen("Bill");
    statements += billLines(shop->bill);
    measure(
        state,
        [] {
            TBill window({});
            window.show();
            QApplication::processEvents();
        },
        shop->straight->milliseconds(statements, 3));
}

// Two bills shown in turn, so that every round changes the bill in the boxes.
void followBillList(benchmark::State& state, Shop* shop)
{
    Query* list = shop->bills->listQuery();
    const int first = list->findRow(QStringLiteral("Ref_Bill"), shop->bill);
    bool flip = false;
    measure(
        state,
        [&] {
            list->setCurrentRow(flip ? first + 1 : first);
            flip = !flip;
            emit shop->bills->grid()->cellClicked();
        },
        shop->straight->milliseconds(billLines(shop->bill)));
}

void newBill(benchmark::State& state, Shop* shop)
{
    measure(
        state, [shop] { shop->bills->newRecord(); },
        shop->straight->milliseconds({sql("Select Max(Val(Ref_Bill)) From Bill")}));
}

void closeBillLineWindow(benchmark::State& state, Shop* shop)
{
    Query* list = shop->bills->listQuery();
    list->setCurrentRow(list->findRow(QStringLiteral("Ref_Bill"), shop->bill));
    emit shop->bills->grid()->cellClicked();
    measure(
        state, [shop] { shop->bills->lines()->linesChanged(QStringLiteral("BillExpense")); },
        shop->straight->milliseconds(billLines(shop->bill).mid(1, 1)));
}

Shop* openShop(const QString& path, double scale)
{
    ShopGenerator::generate(path, scale);
    auto* shop = new Shop;
    shop->dm = std::make_unique<TDM>(path, nullptr);
    shop->straight = std::make_unique<Straight>(path);
    shop->payment = std::make_unique<TReceivable>(TReceivable::Links{});
    shop->payment->show();
    QApplication::processEvents();
    shop->number = QString::number(scale >= 1 ? 37501 : 3751);
    shop->vendorPayment = std::make_unique<TPayable>(TPayable::Links{});
    shop->vendorPayment->show();
    shop->bill = QString::number(scale >= 1 ? 13499 : 1124);
    shop->bills = std::make_unique<TBill>(TBill::Links{});
    shop->bills->show();
    QApplication::processEvents();
    return shop;
}

// The one payment Save rewrites is taken out again when its shop is put away.
void closeShop(Shop* shop)
{
    shop->straight->milliseconds(
        {"Delete From Receivable where Ref_Receivable = '" + benchRef + "'"}, 1);
}

} // namespace

int main(int argc, char** argv)
{
    Shops<Shop> shops(openShop, closeShop);
    static Shops<Shop>* all = &shops;
    return runAnsweringYes(
        argc, argv,
        [] {
            registerOnShops<Shop>({{"OpenPaymentWindow", openPaymentWindow},
                                   {"InvoiceLookUp", invoiceLookUp},
                                   {"PaymentSave", paymentSave},
                                   {"ReferenceLookUp", referenceLookUp},
                                   {"PaymentMethodList", paymentMethodList},
                                   {"PaymentHistory", paymentHistory},
                                   {"ReceivableListWithTotal", receivableList},
                                   {"InvoiceFinder", invoiceFinder},
                                   {"BillLookUp", billLookUp},
                                   {"PayableListWithTotal", payableList},
                                   {"OpenBillWindow", openBillWindow},
                                   {"FollowBillList", followBillList},
                                   {"NewBill", newBill},
                                   {"CloseBillLineWindow", closeBillLineWindow}},
                                  [](const QString& size) { return all->of(size); });
        },
        [] { all->reset(); });
}
