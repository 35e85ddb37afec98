// The archive command of the document window: the header and the lines move into the archive
// tables, all or nothing.

#include "data/DbError.h"
#include "data/Query.h"
#include "data/SqlLiteral.h"
#include "data/TDM.h"
#include "data/Transaction.h"
#include "invoicing/DocumentWindow.h"
#include "ui/common/Prompter.h"

namespace {
void runChange(Query* query, const QStringList& lines)
{
    query->close();
    query->setSql(lines);
    query->exec();
}
} // namespace

void DocumentWindow::archive()
{
    if (text(QStringLiteral("InvoiceNo_Inv")).trimmed().isEmpty())
        return;
    // The boxes, not the stored row, are archived, so that edits not yet saved go too. Every
    // number and date is checked before the question.
    const QString n = Sql::integer(text(QStringLiteral("InvoiceNo_Inv")));
    auto quoted = [this](const char* column) {
        return "'" + Sql::text(text(QString::fromLatin1(column))) + "'";
    };
    auto date = [this](const char* column) {
        const QString value = text(QString::fromLatin1(column));
        return value.trimmed().isEmpty() ? QStringLiteral("Null") : "#" + Sql::date(value) + "#";
    };
    const QString amount = "'" + Sql::number(text(QStringLiteral("Amount_Inv"))) + "'";
    const QString invoiceDate = date("InvoiceDate_Inv");
    const QString dueDate = date("DueDate_Inv");
    const QString paidWord = Sql::yesNo(paid());
    const QStringList textColumns = {"Vin_Inv",  "TruckNo_Inv", "Mileage_Inv", "Make_Inv",
                                     "Model_Inv", "Year_Inv",   "Plate_Inv"};

    if (!Prompter::instance().confirm(QStringLiteral("Are you sure you want to Save this Record?")))
        return;

    try {
        Transaction transaction(DM);
        Query* exists = DM->query(QStringLiteral("Q1"));
        exists->close();
        exists->setSql({"Select * From InvoiceCash where InvoiceNo_Inv=" + n});
        exists->open();
        const bool update = !exists->isEmpty();
        exists->close();

        QStringList header;
        if (update) {
            header = {" Update InvoiceCash  Set InvoiceNo_Inv =" + n + ",",
                      " CustomerName_Inv =" + quoted("CustomerName_Inv") + ",",
                      " RepairPerson_Inv =" + quoted("RepairPerson_Inv") + ",",
                      " InvoiceDate_Inv =" + invoiceDate + ",",
                      " PO_Inv =" + quoted("PO_Inv") + ",",
                      " Amount_Inv =" + amount + ",",
                      " Paid_Inv =" + paidWord + " ,",
                      " JobLocation_Inv =" + quoted("JobLocation_Inv") + ",",
                      " DueDate_Inv =" + dueDate + ","};
            for (const QString& column : textColumns)
                header.append(" " + column + " =" + quoted(column.toLatin1().constData()) + ",");
            header.append(" Remark_Inv =" + quoted("Remark_Inv"));
            header.append(" where InvoiceNo_Inv =" + n);
        } else {
            header = {" Insert Into InvoiceCash ( InvoiceNo_Inv,Paid_Inv, CustomerName_Inv,",
                      "RepairPerson_Inv, InvoiceDate_Inv,PO_Inv,Amount_Inv,JobLocation_Inv,"
                      "DueDate_Inv,Vin_Inv,TruckNo_Inv,Mileage_Inv,Make_Inv,Model_Inv,Year_Inv,"
                      "Plate_Inv,Remark_Inv ) Values ( ",
                      n + ",",
                      " " + paidWord + " ,",
                      quoted("CustomerName_Inv") + ",",
                      quoted("RepairPerson_Inv") + ",",
                      invoiceDate + ",",
                      quoted("PO_Inv") + ",",
                      amount + ",",
                      quoted("JobLocation_Inv") + ",",
                      dueDate + ","};
            for (const QString& column : textColumns)
                header.append(quoted(column.toLatin1().constData()) + ",");
            header.append(quoted("Remark_Inv") + ")");
        }
        runChange(DM->query(QStringLiteral("Q2")), header);

        // The lines are copied row for row in the order the database keeps them, with their
        // values as stored.
        runChange(DM->query(QStringLiteral("Q3")),
                  {" Insert Into InvItemCash ( Inv_Item, Name_Item,",
                   "Mfg_Item, Qty_Item,Style_Item,Color_Item,Rate_Item,Amount_Item )",
                   " Select Inv_Item, Name_Item, Mfg_Item, Qty_Item, Style_Item, Color_Item,"
                   " Rate_Item, Amount_Item From " +
                       m_description.itemTable + " where Inv_Item=" + n + " Order By rowid"});
        runChange(DM->query(QStringLiteral("Q4")),
                  {" Insert Into InvLaborCash ( Inv_Labor,Description_Labor, PartNo_Labor,",
                   "Qty_Labor, Rate_Labor,Amount_Labor,Remark_Labor)",
                   " Select Inv_Labor, Description_Labor, PartNo_Labor, Qty_Labor, Rate_Labor,"
                   " Amount_Labor, Remark_Labor From " +
                       m_description.laborTable + " where Inv_Labor=" + n + " Order By rowid"});

        Query* remove = DM->query(QStringLiteral("QLabor2"));
        runChange(remove, {"Delete  From " + m_description.itemTable + " where Inv_Item=" + n});
        runChange(remove, {"Delete  From " + m_description.laborTable + " where Inv_Labor=" + n});
        runChange(remove,
                  {"Delete  From " + m_description.headerTable + " where InvoiceNo_Inv=" + n});
        transaction.commit();
    } catch (const DbError& e) {
        throw DbError(e.message() + QStringLiteral("\n\nNothing was archived: %1 %2 is unchanged.")
                                        .arg(m_description.name.toLower(), n));
    }
    Prompter::instance().inform(QStringLiteral("Removed!"));
    refresh();
}
