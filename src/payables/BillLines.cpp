#include "payables/BillLines.h"

LineDescription TBillPart::lineDescription()
{
    LineDescription d;
    d.caption = QStringLiteral("BillPart");
    d.heading = QStringLiteral("Bill Parts");
    d.maximized = true;
    d.table = QStringLiteral("BillItem");
    d.numberColumn = QStringLiteral("Inv_Bill");
    d.boxes = {
        {"Name_Bill", "Part Name", FormBox::List,
         ListSource{"Part", "Number_Material", ListSource::All}, "ComboBox1"},
        {"Mfg_Bill", "Mfg", FormBox::Edit, {}, "Edit1"},
        {"Qty_Bill", "Qty", FormBox::Edit, {}, "Edit2"},
        {"Style_Bill", "Style", FormBox::Edit, {}, "Edit3"},
        {"Color_Bill", "Part No", FormBox::Edit, {}, "Edit4"},
        {"Rate_Bill", "Rate $", FormBox::Edit, {}, "Edit5"},
        {"Amount_Bill", "Amount $", FormBox::Edit, {}, "Edit6"},
    };
    d.newTexts = {{"Qty_Bill", "0"}, {"Rate_Bill", "0.00"}, {"Amount_Bill", "0.00"}};
    d.factCaptions = {"Bill Number", "Vendor Name", "Bill Date", "Driver Name"};
    d.openTitles = {"Name", "Mfg", "Qty", "Style", "Color", "Rate", "Amount"};
    d.saveTitles = {"Name Item", "Mfg", "Qty", "Style", "Part No", "Rate", "Amount", "Invoice"};
    d.refreshTitles = d.saveTitles;
    d.totalCaption = QStringLiteral("Total Items $:");
    d.totalName = QStringLiteral("Label7");
    d.qtyColumn = QStringLiteral("Qty_Bill");
    d.rateColumn = QStringLiteral("Rate_Bill");
    d.amountColumn = QStringLiteral("Amount_Bill");
    d.noLinesShowsNew = false;
    d.fill = CatalogueFill{QStringLiteral("Name_Bill"),
                           QStringLiteral("Part"),
                           QStringLiteral("Number_Material"),
                           {{"Mfg_Bill", "Mfg_Material"},
                            {"Style_Bill", "Style_Material"},
                            {"Color_Bill", "Color_Material"},
                            {"Rate_Bill", "Price_Material"}}};
    d.keys = true;
    d.cancelReloads = false;
    // The order part picker beside Part Name: the catalogue price as it stands, since the shop
    // buys at cost.
    d.findCaption = QStringLiteral("Find");
    d.findBeside = QStringLiteral("Name_Bill");
    d.pickedInto = {{"Name_Item", "Name_Bill"},
                    {"Mfg_Item", "Mfg_Bill"},
                    {"Style_Item", "Style_Bill"},
                    {"Color_Item", "Color_Bill"},
                    {"Rate_Item", "Rate_Bill"}};
    return d;
}

TBillPart::TBillPart(LineOwnerRef bill, QWidget* parent)
    : LineWindow(lineDescription(), bill, parent)
{}

LineDescription TBillExpense::lineDescription()
{
    LineDescription d;
    d.caption = QStringLiteral("BillExpense");
    d.heading = QStringLiteral("Bill Expense");
    d.maximized = true;
    d.table = QStringLiteral("BillExpense");
    d.numberColumn = QStringLiteral("Bill_Expense");
    d.boxes = {
        {"Description_Expense", "Bill Description", FormBox::List,
         ListSource{"BillExpense", "Description_Expense", ListSource::All}, "ComboBox1"},
        {"PartNo_Expense", "Expense", FormBox::Edit, {}, "Edit1"},
        {"Qty_Expense", "Qty", FormBox::Edit, {}, "Edit2"},
        {"Rate_Expense", "Rate $", FormBox::Edit, {}, "Edit5"},
        {"Amount_Expense", "Amount $", FormBox::Edit, {}, "Edit6"},
        {"Remark_Expense", "Remark", FormBox::Edit, {}, "Edit4"},
    };
    d.newTexts = {{"Qty_Expense", "0"}, {"Rate_Expense", "0"}, {"Amount_Expense", "0.00"}};
    d.factCaptions = {"Invoice Number", "Customer Name", "Invoice Date", "Driver Name"};
    d.openTitles = {"Description", "Part Number", "Qty", "Rate", "Amount", "Remark", "Invoice"};
    d.saveTitles = d.openTitles;
    d.saveTitles[6] = QStringLiteral("Bill");
    d.refreshTitles = d.openTitles;
    d.refreshTitles[1] = QStringLiteral("Expense");
    d.qtyColumn = QStringLiteral("Qty_Expense");
    d.rateColumn = QStringLiteral("Rate_Expense");
    d.amountColumn = QStringLiteral("Amount_Expense");
    d.noLinesShowsNew = false;
    d.keys = false;
    d.cancelReloads = false;
    return d;
}

TBillExpense::TBillExpense(LineOwnerRef bill, QWidget* parent)
    : LineWindow(lineDescription(), bill, parent)
{}
