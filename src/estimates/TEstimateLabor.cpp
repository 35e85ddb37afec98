#include "estimates/TEstimateLabor.h"

#include "ui/common/Latest.h"

LineDescription TEstimateLabor::lineDescription()
{
    LineDescription d;
    d.caption = QStringLiteral("EstimateLabor");
    d.heading = QStringLiteral("Estimate Labor");
    d.maximized = false;
    d.table = QStringLiteral("EstimateLabor");
    d.numberColumn = QStringLiteral("Inv_Labor");
    d.boxes = {
        {"Description_Labor", "Labor Description", FormBox::List,
         "Select Description_Labor From Labor", "ComboBox1"},
        {"PartNo_Labor", "Part Disc", FormBox::Edit, {}, "Edit1"},
        {"Qty_Labor", "Qty", FormBox::Edit, {}, "Edit2"},
        {"Rate_Labor", "Rate $", FormBox::Edit, {}, "Edit5"},
        {"Amount_Labor", "Amount $", FormBox::Edit, {}, "Edit6"},
        {"Remark_Labor", "Remark", FormBox::Edit, {}, "Edit4"},
    };
    d.newTexts = {{"Qty_Labor", "0"}, {"Amount_Labor", "0.00"}};
    // A line is saved over, and deleted with, the line of the same description.
    d.saveKeys = {"Description_Labor"};
    d.deleteKeys = {"Description_Labor"};
    d.gridQuery = QStringLiteral("QInvLabor1");
    d.lookupQuery = QStringLiteral("QInvLabor2");
    d.openTitles = {"Description", "Part Number", "Qty", "Rate", "Amount", "Remark", "Estimate"};
    d.saveTitles = d.refreshTitles = d.openTitles;
    // The grid and its navigator move the list only: the boxes show the first line, and
    // another line is brought in by typing or picking its description.
    d.loadOn = 0;
    d.totalCaption = QStringLiteral("Total Labor $ :");
    d.totalName = QStringLiteral("Label4");
    d.qtyColumn = QStringLiteral("Qty_Labor");
    d.rateColumn = QStringLiteral("Rate_Labor");
    d.amountColumn = QStringLiteral("Amount_Labor");
    d.findCaption = QStringLiteral("find");
    d.fill = CatalogueFill{QStringLiteral("Description_Labor"),
                           QStringLiteral("Labor"),
                           QStringLiteral("Description_Labor"),
                           {{"PartNo_Labor", "PartNo_Labor"},
                            {"Rate_Labor", "Rate_Labor"},
                            {"Remark_Labor", "Remark_Labor"}}};
    d.keys = false;
    return d;
}

TEstimateLabor::TEstimateLabor(LineOwnerRef estimate, QWidget* parent)
    : LineWindow(lineDescription(), estimate, parent)
{
    Latest<TEstimateLabor>::set(this);
}
