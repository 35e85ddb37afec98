// Texts that once broke statements, given to every operation of the catalogue, sales, payment,
// bill and purchasing stores that takes one: each stored and read back whole, or matched
// exactly, and a text that only a statement built wrongly would take for it never matched.

#include "StoreShop.h"
#include "data/SqlRow.h"
#include "stores/BillStore.h"
#include "stores/CatalogueStore.h"
#include "stores/PurchasingStore.h"
#include "stores/UserStore.h"

#include <QTest>

#include <functional>

namespace {
// An operation given text: arranges rows holding text and rows holding its near miss, runs
// the operation with text and reads back what it found.
struct TextCase
{
    std::function<QStringList(TestShop&, const QString& text, const QString& nearMiss)> run;
    // What it finds, given text (by default the one row holding it, text read back whole).
    std::function<QStringList(const QString& text, const QString& nearMiss)> found =
        [](const QString& text, const QString&) { return QStringList{text}; };
};

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

// A statement read into a window's query: the texts of one column.
std::function<QStringList(TestShop&, const QString&, const QString&)>
listed(const QString& insert, std::function<SqlStatement(const QString&)> statement,
       const QString& name)
{
    return [=](TestShop& shop, const QString& text, const QString& nearMiss) {
        shop.exec(insert, {text});
        shop.exec(insert, {nearMiss});
        Rows rows;
        return column(rows.load(statement(text)), name);
    };
}

// The bills' reference held in each table's rows under text and under its near miss.
QStringList references(TestShop& shop)
{
    return sorted(texts(shop, "Select Inv_Bill From BillItem") +
                  texts(shop, "Select Bill_Expense From BillExpense") +
                  texts(shop, "Select BillNo_Payable From Payable"));
}

void addBillLines(TestShop& shop, const QString& reference)
{
    addBillItem(shop, reference);
    addBillExpense(shop, reference);
    addPaid(shop, reference, 5);
}

QHash<QString, TextCase> textCases()
{
    QHash<QString, TextCase> cases;
    auto one = [](const QString& value) {
        return [value](const QString&, const QString&) { return QStringList{value}; };
    };
    // ---- Catalogues
    cases["part sold"] = {[](TestShop& shop, const QString& text, const QString& nearMiss) {
                              addPartLine(shop, "InvItem", 1, text, 2, 1);
                              addPartLine(shop, "InvItem", 1, nearMiss, 5, 1);
                              return QStringList{quantity(CatalogueStore().partSold(text))};
                          },
                          one("2")};
    cases["part bought"] = {[](TestShop& shop, const QString& text, const QString& nearMiss) {
                                addPartLine(shop, "Items", 1, text, 2, 1);
                                addPartLine(shop, "Items", 1, nearMiss, 5, 1);
                                return QStringList{quantity(CatalogueStore().partBought(text))};
                            },
                            one("2")};
    cases["parts numbered"] = {[](TestShop& shop, const QString& text, const QString& nearMiss) {
        shop.exec("Insert into Part (ID_Material, Color_Material) values (1, ?)", {text});
        shop.exec("Insert into Part (ID_Material, Color_Material) values (2, ?)", {nearMiss});
        Rows rows;
        CatalogueStore().partsNumbered(rows.query, text);
        return column(rows.query, "Color_Material");
    }};
    cases["labor sold"] = {[](TestShop& shop, const QString& text, const QString& nearMiss) {
                               addLaborLine(shop, "InvLabor", 1, text, 60);
                               addLaborLine(shop, "InvLabor", 1, nearMiss, 45);
                               return QStringList{amount(CatalogueStore().laborSold(text))};
                           },
                           one("60.00")};
    cases["customer invoiced"] = {[](TestShop& shop, const QString& text, const QString& nearMiss) {
                                      addDocument(shop, "Invoice", 1, text, false, 100);
                                      addDocument(shop, "Invoice", 2, nearMiss, false, 250);
                                      return QStringList{
                                          amount(CatalogueStore().customerInvoiced(text))};
                                  },
                                  one("100.00")};
    cases["customer paid"] = {[](TestShop& shop, const QString& text, const QString& nearMiss) {
                                  addReceived(shop, "Receivable", 1, 10, text);
                                  addReceived(shop, "Receivable", 1, 20, nearMiss);
                                  return QStringList{amount(CatalogueStore().customerPaid(text))};
                              },
                              one("10.00")};
    cases["vendor billed"] = {[](TestShop& shop, const QString& text, const QString& nearMiss) {
                                  addBill(shop, "B-1", text, 45);
                                  addBill(shop, "B-2", nearMiss, 40);
                                  return QStringList{amount(CatalogueStore().vendorBilled(text))};
                              },
                              one("45.00")};
    // Signed in with the name and password both text; the near miss as password refused.
    cases["sign in"] = {
        [](TestShop& shop, const QString& text, const QString& nearMiss) {
            for (const QString& user : {text, nearMiss})
                shop.addUser(user, user);
            const UserStore users;
            const UserStore::SignIn right = users.signIn(text, text);
            const UserStore::SignIn wrong = users.signIn(text, nearMiss);
            return QStringList{right.result == UserStore::Result::Accepted ? right.name : QString(),
                               "near miss: " +
                                   QString::number(wrong.result == UserStore::Result::Accepted)};
        },
        [](const QString& text, const QString&) {
            return QStringList{text, "near miss: 0"};
        }};
    // Every text of the profile written with the text, the row added or written over.
    for (const bool stored : {false, true})
        cases[stored ? "save profile, written over" : "save profile, added"] = {
            [stored](TestShop& shop, const QString& text, const QString&) {
                if (!stored)
                    shop.exec("Delete From Reg");
                const QStringList columns = {"Name_R",  "Address_R", "Catagory_R", "City_R",
                                             "State_R", "Zip_R",     "Apt_R",      "Tel_R",
                                             "Fax_R",   "Cell_R",    "Web_R",      "Email_R"};
                SqlRow row("Reg");
                row.set("Id_R", "1");
                for (const QString& name : columns)
                    row.setText(name, text);
                CatalogueStore().saveProfile(row);
                Rows rows;
                CatalogueStore().profile(rows.query);
                QStringList found;
                for (const QString& name : columns)
                    found += column(rows.query, name);
                found.removeDuplicates();
                return found << "rows: " + QString::number(rows.query.recordCount());
            },
            [](const QString& text, const QString&) {
                return QStringList{text, "rows: 1"};
            }};
    // ---- Sales
    cases["customer's invoices"] = {
        listed("Insert into Invoice (InvoiceNo_Inv, CustomerName_Inv) values "
               "((Select Count(*) From Invoice) + 1, ?)",
               SalesStore::customerInvoices, "CustomerName_Inv")};
    cases["labor invoiced"] = {
        listed("Insert into InvLabor (Description_Labor, Inv_Labor) values (?, 1)",
               SalesStore::laborInvoiced, "Description_Labor")};
    cases["part invoiced"] = {listed("Insert into InvItem (Color_Item, Inv_Item) values (?, 1)",
                                     SalesStore::partInvoiced, "Color_Item")};
    // The near miss's line at a higher price, on a later invoice.
    for (const bool latest : {false, true})
        for (const bool customer : {false, true})
            cases[QString(latest ? "latest" : "highest") +
                  (customer ? " price, customer" : " price, part")] = {
                [latest, customer](TestShop& shop, const QString& text, const QString& nearMiss) {
                    addDocument(shop, "Invoice", 1, customer ? text : "Smith");
                    addDocument(shop, "Invoice", 2, customer ? nearMiss : "Smith");
                    addPartLine(shop, "InvItem", 1, customer ? "P-1" : text, 1, 20);
                    addPartLine(shop, "InvItem", 2, customer ? "P-1" : nearMiss, 1, 90);
                    const QString who = customer ? text : "Smith";
                    const QString part = customer ? "P-1" : text;
                    SalesStore store;
                    return QStringList{amount(latest ? store.latestPrice(who, part)
                                                     : store.highestPrice(who, part))};
                },
                one("20.00")};
    // The header's, the lines' and the payments' texts in the archive.
    cases["archive"] = {[](TestShop& shop, const QString& text, const QString&) {
                            addDocument(shop, "Invoice", 1, text);
                            addPartLine(shop, "InvItem", 1, text, 1, 1, text);
                            addLaborLine(shop, "InvLabor", 1, text, 1, text);
                            addReceived(shop, "Receivable", 1, 1, text, text);
                            SqlRow header("InvoiceCash");
                            header.set("InvoiceNo_Inv", "1");
                            header.setText("CustomerName_Inv", text);
                            header.setText("Remark_Inv", text);
                            SalesStore().archive(invoiceTables(), header, 1);
                            QStringList found;
                            for (const char* sql :
                                 {"Select CustomerName_Inv, Remark_Inv From InvoiceCash",
                                  "Select Name_Item, Color_Item From InvItemCash",
                                  "Select Description_Labor, Remark_Labor From InvLaborCash",
                                  "Select Name_Receivable, Ref_Receivable From ReceivableCash"})
                                for (const QVariant& value : shop.row(sql))
                                    found.append(value.toString());
                            return found;
                        },
                        [](const QString& text, const QString&) { return QStringList(8, text); }};
    // ---- Payments
    cases["received from"] = {
        listed("Insert into Receivable (InvoiceNo_Receivable, Name_Receivable) values (1, ?)",
               PaymentStore::receivedFrom, "Name_Receivable")};
    cases["paid on a bill"] = {listed("Insert into Payable (BillNo_Payable) values (?)",
                                      PaymentStore::paidOn, "BillNo_Payable")};
    cases["bill a payment pays"] = {
        [](TestShop& shop, const QString& text, const QString& nearMiss) {
            addBill(shop, text, "Acme");
            addBill(shop, nearMiss, "Near");
            Rows rows;
            PaymentStore().document(rows.query, billPaymentTables(), text);
            return column(rows.query, "Ref_Bill");
        }};
    cases["invoice payments under a reference"] = {
        [](TestShop& shop, const QString& text, const QString& nearMiss) {
            addReceived(shop, "Receivable", 1, 10, "Smith", text);
            addReceived(shop, "Receivable", 1, 20, "Smith", nearMiss);
            Rows rows;
            PaymentStore().payments(rows.query, receivedTables(), qlonglong(1), text);
            return column(rows.query, "Ref_Receivable");
        }};
    cases["bill payments under a reference"] = {
        [](TestShop& shop, const QString& text, const QString& nearMiss) {
            addPaid(shop, text, 10, text);
            addPaid(shop, text, 20, nearMiss);
            addPaid(shop, nearMiss, 30, text);
            Rows rows;
            PaymentStore().payments(rows.query, billPaymentTables(), text, text);
            return column(rows.query, "BillNo_Payable") + column(rows.query, "Ref_Payable");
        },
        [](const QString& text, const QString&) {
            return QStringList{text, text};
        }};
    // Paid on the bill, leaving out its second payment.
    cases["paid on a bill, one left out"] = {
        [](TestShop& shop, const QString& text, const QString& nearMiss) {
            addPaid(shop, text, 10, "C-1");
            addPaid(shop, text, 5, "C-2");
            addPaid(shop, nearMiss, 20, "C-1");
            const qint64 key = rowKey(shop, "Payable", "Ref_Payable = 'C-2'", {});
            return QStringList{amount(PaymentStore().paidSum(billPaymentTables(), text)),
                               amount(PaymentStore().paidSum(billPaymentTables(), text, key))};
        },
        [](const QString&, const QString&) {
            return QStringList{"15.00", "10.00"};
        }};
    // ---- Bills
    cases["vendor's bills"] = {listed("Insert into Bill (Ref_Bill, Vendor_Bill) values ('B-1', ?)",
                                      BillStore::vendorBills, "Vendor_Bill")};
    for (const QString table : {"Bill", "BillItem", "BillExpense", "Payable"})
        cases["reference used, " + table] = {
            [table](TestShop& shop, const QString& text, const QString& nearMiss) {
                addBill(shop, nearMiss, "Acme");
                addBillLines(shop, nearMiss);
                const bool before = BillStore().referenceUsed(text);
                if (table == "Bill")
                    addBill(shop, text, "Acme");
                else if (table == "BillItem")
                    addBillItem(shop, text);
                else if (table == "BillExpense")
                    addBillExpense(shop, text);
                else
                    addPaid(shop, text, 5);
                return QStringList{before ? "used" : "unused",
                                   BillStore().referenceUsed(text) ? "used" : "unused"};
            },
            [](const QString&, const QString&) {
                return QStringList{"unused", "used"};
            }};
    cases["bill referenced"] = {
        [](TestShop& shop, const QString& text, const QString& nearMiss) {
            addBill(shop, text, text);
            addBill(shop, nearMiss, "Near");
            const qint64 key = rowKey(shop, "Bill", "Vendor_Bill <> 'Near'", {});
            const auto found = BillStore().billReferenced(text);
            const auto except = BillStore().billReferenced(text, key);
            return QStringList{found ? found->vendor : "none", except ? except->vendor : "none"};
        },
        [](const QString& text, const QString&) {
            return QStringList{text, "none"};
        }};
    cases["stored reference"] = {[](TestShop& shop, const QString& text, const QString& nearMiss) {
        addBill(shop, nearMiss, "Near");
        addBill(shop, text, "Acme");
        const auto stored =
            BillStore().storedReference(rowKey(shop, "Bill", "Vendor_Bill = 'Acme'", {}));
        return stored ? QStringList{*stored} : QStringList{};
    }};
    cases["move reference, from"] = {
        [](TestShop& shop, const QString& text, const QString& nearMiss) {
            addBillLines(shop, text);
            addBillLines(shop, nearMiss);
            BillStore().moveReference(text, "B-2");
            return references(shop);
        },
        [](const QString&, const QString& nearMiss) {
            return sorted(QStringList(3, QStringLiteral("B-2")) + QStringList(3, nearMiss));
        }};
    cases["move reference, to"] = {
        [](TestShop& shop, const QString& text, const QString& nearMiss) {
            addBillLines(shop, "B-1");
            addBillLines(shop, nearMiss);
            BillStore().moveReference("B-1", text);
            return references(shop);
        },
        [](const QString& text, const QString& nearMiss) {
            return sorted(QStringList(3, text) + QStringList(3, nearMiss));
        }};
    // The lines gone, the payment kept.
    cases["remove lines"] = {[](TestShop& shop, const QString& text, const QString& nearMiss) {
                                 addBillLines(shop, text);
                                 addBillLines(shop, nearMiss);
                                 BillStore().removeLines(text);
                                 return references(shop);
                             },
                             [](const QString& text, const QString& nearMiss) {
                                 return sorted({text, nearMiss, nearMiss, nearMiss});
                             }};
    cases["bill payments"] = {[](TestShop& shop, const QString& text, const QString& nearMiss) {
                                  addPaid(shop, text, 10);
                                  addPaid(shop, nearMiss, 20);
                                  const BillStore::Payments paid = BillStore().payments(text);
                                  return QStringList{QString::number(paid.count),
                                                     paid.sum.toFixed2(),
                                                     amount(BillStore().paidSum(text))};
                              },
                              [](const QString&, const QString&) {
                                  return QStringList{"1", "10.00", "10.00"};
                              }};
    // ---- Purchasing
    cases["part ordered"] = {listed("Insert into Items (Color_Item, Po_Item) values (?, 1)",
                                    PurchasingStore::partOrdered, "Color_Item")};
    return cases;
}
} // namespace

class TestStoreTexts : public QObject
{
    Q_OBJECT

private slots:
    void textsAreValues_data();
    void textsAreValues();
};

void TestStoreTexts::textsAreValues_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("nearMiss");
    const QStringList operations = sorted(textCases().keys());
    for (const QString& operation : operations)
        for (const HostileText& hostile : hostileTexts())
            QTest::addRow("%s, %s", qPrintable(operation), hostile.name)
                << operation << hostile.text << hostile.nearMiss;
}

void TestStoreTexts::textsAreValues()
{
    QFETCH(QString, operation);
    QFETCH(QString, text);
    QFETCH(QString, nearMiss);
    const TextCase textCase = textCases().value(operation);
    TestShop shop;
    QCOMPARE(textCase.run(shop, text, nearMiss), textCase.found(text, nearMiss));
}

QTEST_MAIN(TestStoreTexts)
#include "tst_stores_texts.moc"
