#pragma once

// Rows arranged straight in a test's shop database for the stores' tests, and what the stores
// give back read as plain texts.

#include "TestShop.h"
#include "data/Query.h"
#include "data/TDM.h"
#include "stores/PaymentStore.h"
#include "stores/SalesStore.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <stdexcept>

// A text a clerk can type that a statement must take as a value, whole, and a text that only
// a statement built wrongly would take for it.
struct HostileText
{
    const char* name;
    QString text;
    QString nearMiss;
};

inline QList<HostileText> hostileTexts()
{
    const QString longText = QString("a'b\\c").repeated(2000);
    return {
        {"quote", "O'Brien", "O''Brien"},
        {"backslash and quote", "back\\'slash", "back'slash"},
        {"wildcards", "100%_off", "100xyoff"},
        {"10,000 characters", longText, longText.chopped(1)},
        // What a wrong encoding makes of them.
        {"emoji", "🚚🔧", "??"},
        {"empty", QStringLiteral(""), " "},
    };
}

// A query of the shop's connection, as a window's own.
struct Rows
{
    Query query{"Q1", DM->admin1()};

    Query& load(const SqlStatement& statement)
    {
        query.setSql(statement);
        query.open();
        return query;
    }
};

// The texts of one column of every row, in the order they were read.
inline QStringList column(const Query& rows, const QString& name)
{
    const int index = rows.columnIndex(name);
    if (index < 0)
        throw std::runtime_error("no column " + name.toStdString());
    return rows.values(index);
}

// A sum or amount as "12.50", "null" when there is none.
inline QString amount(const Field& field)
{
    return field.isNull() ? QStringLiteral("null") : field.asCurrency().toFixed2();
}

// A quantity as "3" or "2.5", "null" when there is none.
inline QString quantity(const Field& field)
{
    return field.isNull() ? QStringLiteral("null") : QString::number(field.asNumber());
}

// The texts of the first column of what a straight statement reads.
inline QStringList texts(TestShop& shop, const QString& sql, const QVariantList& values = {})
{
    QStringList found;
    for (const QVariantList& row : shop.rows(sql, values))
        found.append(row.value(0).toString());
    return found;
}

// The hidden key of the row a straight statement finds.
inline qint64 rowKey(TestShop& shop, const QString& table, const QString& where,
                     const QVariantList& values)
{
    return shop.value("Select tavlin_row As k From " + table + " where " + where, values)
        .toLongLong();
}

inline SalesTables invoiceTables()
{
    return {"Invoice", "InvItem", "InvLabor"};
}

inline SalesTables estimateTables()
{
    return {"Estimate",     "EstimateItem",     "EstimateLabor",     "EstimateReceivable",
            "EstimateCash", "EstimateItemCash", "EstimateLaborCash", "EstimateReceivableCash"};
}

inline PaymentTables receivedTables()
{
    return {"Receivable",     "Amount_Receivable", "InvoiceNo_Receivable",
            "Ref_Receivable", "Invoice",           "InvoiceNo_Inv",
            "Amount_Inv"};
}

inline PaymentTables billPaymentTables()
{
    return {"Payable", "Amount_Payable", "BillNo_Payable", "Ref_Payable",
            "Bill",    "Ref_Bill",       "Amount_Bill"};
}

// A document header of a sales table (Invoice, Estimate or an archive).
inline void addDocument(TestShop& shop, const QString& table, qint64 number,
                        const QString& customer, bool paid = false, double amount = 0)
{
    shop.exec("Insert into " + table +
                  " (InvoiceNo_Inv, CustomerName_Inv, Paid_Inv, Amount_Inv) values (?, ?, ?, ?)",
              {number, customer, paid, amount});
}

// A part line of a sales table (InvItem, EstimateItem or Items, whose number is Po_Item).
inline void addPartLine(TestShop& shop, const QString& table, qint64 number, const QString& partNo,
                        double qty, double rate, const QString& name = "Brake pad")
{
    const QString key = table == "Items" ? "Po_Item" : "Inv_Item";
    shop.exec("Insert into " + table + " (Name_Item, Mfg_Item, Qty_Item, Style_Item, Color_Item, " +
                  "Rate_Item, Amount_Item, " + key +
                  ") values (?, 'Bendix', ?, 'Front', ?, ?, ?, ?)",
              {name, qty, partNo, rate, qty * rate, number});
}

inline void addLaborLine(TestShop& shop, const QString& table, qint64 number,
                         const QString& description, double amount, const QString& remark = "")
{
    shop.exec("Insert into " + table +
                  " (Description_Labor, PartNo_Labor, Qty_Labor, Rate_Labor, " +
                  "Amount_Labor, Remark_Labor, Inv_Labor) values (?, 'L-1', 1, ?, ?, ?, ?)",
              {description, amount, amount, remark, number});
}

// A payment received (Receivable, EstimateReceivable or an archive).
inline void addReceived(TestShop& shop, const QString& table, qint64 number, double amount,
                        const QString& payer = "Smith", const QString& reference = "R-1")
{
    shop.exec("Insert into " + table +
                  " (InvoiceNo_Receivable, Name_Receivable, ViaPayment_Receivable, "
                  "PayDate_Receivable, Ref_Receivable, DepositTo_Receivable, Amount_Receivable, "
                  "Chart_Receivable, SubChart_Receivable, Remark_Receivable) "
                  "values (?, ?, 'Check', '2026-03-10', ?, 'Bank', ?, 'Sales', 'Parts', 'ok')",
              {number, payer, reference, amount});
}

inline void addBill(TestShop& shop, const QString& reference, const QString& vendor,
                    double amount = 0, const QString& date = "2026-03-10")
{
    shop.exec("Insert into Bill (Ref_Bill, Vendor_Bill, BillDate_Bill, Amount_Bill) "
              "values (?, ?, ?, ?)",
              {reference, vendor, date, amount});
}

inline void addBillItem(TestShop& shop, const QString& reference, const QString& name = "Rotor")
{
    shop.exec("Insert into BillItem (Name_Bill, Qty_Bill, Rate_Bill, Amount_Bill, Inv_Bill) "
              "values (?, 1, 5, 5, ?)",
              {name, reference});
}

inline void addBillExpense(TestShop& shop, const QString& reference,
                           const QString& description = "Freight")
{
    shop.exec("Insert into BillExpense (Description_Expense, Qty_Expense, Rate_Expense, "
              "Amount_Expense, Bill_Expense) values (?, 1, 5, 5, ?)",
              {description, reference});
}

inline void addPaid(TestShop& shop, const QString& bill, double amount,
                    const QString& reference = "C-1", const QString& vendor = "Acme")
{
    shop.exec("Insert into Payable (BillNo_Payable, Name_Payable, Ref_Payable, Amount_Payable) "
              "values (?, ?, ?, ?)",
              {bill, vendor, reference, amount});
}
