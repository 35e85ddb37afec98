#pragma once

// Invoices, lines and payments arranged straight in a test's shop database, and the invoice
// window opened as the main window's INVOICE button opens it.

#include "TestShop.h"
#include "Ui.h"
#include "app/TMainForm.h"
#include "invoicing/TInvoice.h"

#include <QLabel>
#include <QString>

#include <stdexcept>

struct Invoice
{
    int number;
    QString customer;
    QString date; // ISO
    double amount;
    bool paid = false;
    QString tax = "Yes";
};

inline void addInvoice(TestShop& shop, const Invoice& i)
{
    shop.exec("Insert into Invoice (InvoiceNo_Inv, CustomerName_Inv, InvoiceDate_Inv, "
              "Amount_Inv, Paid_Inv, Tax_Inv, DueDate_Inv) values (?,?,?,?,?,?,?)",
              {i.number, i.customer, i.date, i.amount, i.paid ? 1 : 0, i.tax, i.date});
}

inline void addPartLine(TestShop& shop, int invoice, double amount, const QString& partNo = "P1")
{
    shop.exec("Insert into InvItem values ('part','m',1,'s',?,?,?,?)",
              {partNo, amount, amount, invoice});
}

inline void addLaborLine(TestShop& shop, int invoice, double amount)
{
    shop.exec("Insert into InvLabor values ('labor','dev',1,?,?,'',?)", {amount, amount, invoice});
}

inline void addPayment(TestShop& shop, int invoice, double amount)
{
    shop.exec("Insert into Receivable (InvoiceNo_Receivable, Name_Receivable, "
              "Amount_Receivable) values (?,'x',?)",
              {invoice, amount});
}

inline TInvoice* openInvoice(TestShop& shop)
{
    TMainForm* mainForm = shop.mainFormWithTasks();
    ui::click(mainForm, "SpeedButton6");
    auto* invoice = qobject_cast<TInvoice*>(ui::newestChild(mainForm));
    if (!invoice)
        throw std::runtime_error("INVOICE opened no invoice window");
    return invoice;
}

inline QString label(const QWidget* window, const QString& name)
{
    return ui::find<QLabel>(window, name)->text();
}
