#pragma once

// Invoices, lines, payments and orders arranged straight in a test's shop database, and the
// report windows worked as a clerk works them.

#include "TestShop.h"
#include "Ui.h"
#include "printing/PreparedReport.h"
#include "reports/ReportWindow.h"
#include "ui/common/DateBox.h"

#include <QLineEdit>
#include <QVariant>

#include <stdexcept>

// ---- A shop arranged straight in the database -------------------------------------------------

struct Invoice
{
    int number;
    QString customer;
    QString date; // ISO, empty for none
    bool paid;
    QString tax; // as the invoice window stores it
    double amount = 0;
    QString po = {};
    QString truck = {};
};

inline void addInvoice(TestShop& shop, const Invoice& i)
{
    shop.exec("Insert into Invoice (InvoiceNo_Inv, CustomerName_Inv, InvoiceDate_Inv, Paid_Inv, "
              "Tax_Inv, Amount_Inv, PO_Inv, TruckNo_Inv) values (?,?,?,?,?,?,?,?)",
              {i.number, i.customer, i.date.isEmpty() ? QVariant() : QVariant(i.date),
               i.paid ? 1 : 0, i.tax, i.amount, i.po, i.truck});
}

inline void addParts(TestShop& shop, int invoice, double amount)
{
    shop.exec("Insert into InvItem (Name_Item, Qty_Item, Rate_Item, Amount_Item, Inv_Item) "
              "values ('Brake pad', 1, ?, ?, ?)",
              {amount, amount, invoice});
}

inline void addLabor(TestShop& shop, int invoice, double amount)
{
    shop.exec("Insert into InvLabor (Description_Labor, Qty_Labor, Rate_Labor, Amount_Labor, "
              "Inv_Labor) values ('Brake job', 1, ?, ?, ?)",
              {amount, amount, invoice});
}

inline void addPayment(TestShop& shop, int invoice, const QString& date, double amount)
{
    shop.exec("Insert into Receivable (InvoiceNo_Receivable, Name_Receivable, PayDate_Receivable, "
              "Amount_Receivable) values (?,'x',?,?)",
              {invoice, date, amount});
}

inline void addOrder(TestShop& shop, int po, const QString& date, const QList<double>& amounts)
{
    shop.exec("Insert into Orders (Po_Order, SideMark_Order, OrderDate_Order, Vendor_Order) "
              "values (?, 'Smith', ?, 'Parts Depot')",
              {po, date});
    for (double amount : amounts)
        shop.exec("Insert into Items (Name_Item, Qty_Item, Rate_Item, Amount_Item, Po_Item) "
                  "values ('Filter', 1, ?, ?, ?)",
                  {amount, amount, po});
}

inline void addRate(TestShop& shop, int year, double rate)
{
    shop.exec("Insert into Tax (Id_T, Year_T, A_T, E_T, Tax_T) values (?, ?, 1, 12, ?)",
              {year, year, rate});
}

// A payment with its payer and method; an empty date is stored as none.
inline void addPaymentBy(TestShop& shop, int invoice, const QString& date, double amount,
                         const QString& payer, const QString& via)
{
    shop.exec("Insert into Receivable (InvoiceNo_Receivable, Name_Receivable, "
              "ViaPayment_Receivable, PayDate_Receivable, Amount_Receivable) values (?,?,?,?,?)",
              {invoice, payer, via, date.isEmpty() ? QVariant() : QVariant(date), amount});
}

struct OrderLine
{
    QString part;
    double qty;
    double rate;
};

inline void addOrderFrom(TestShop& shop, int po, const QString& date, const QString& vendor,
                         const QString& customer, const QList<OrderLine>& lines)
{
    shop.exec("Insert into Orders (Po_Order, SideMark_Order, OrderDate_Order, Vendor_Order) "
              "values (?, ?, ?, ?)",
              {po, customer, date, vendor});
    for (const OrderLine& line : lines)
        shop.exec("Insert into Items (Name_Item, Qty_Item, Rate_Item, Amount_Item, Po_Item) "
                  "values (?, ?, ?, ?, ?)",
                  {line.part, line.qty, line.rate, line.qty * line.rate, po});
}

inline void setPeriod(ReportWindow& w, const QString& from, const QString& to)
{
    ui::type(w.fromBox()->lineEdit(), from);
    ui::type(w.toBox()->lineEdit(), to);
}

// A report window of class Window whose printouts are kept instead of being previewed.
template<class Window>
struct Printing
{
    QList<PreparedReport> printed;
    Window window{[this](const PreparedReport& report) { printed.append(report); }};

    // Prints the period and returns every page's text, pages separated by a form feed.
    QString print(const QString& from, const QString& to)
    {
        setPeriod(window, from, to);
        const int before = int(printed.size());
        window.print();
        if (printed.size() != before + 1) {
            auto* prompter = dynamic_cast<ScriptedPrompter*>(&Prompter::instance());
            throw std::runtime_error("nothing was printed: " +
                                     (prompter ? prompter->last() : QString()).toStdString());
        }
        return printed.last().text();
    }
};
