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
    const QStringList update = headerStatement(QStringLiteral("InvoiceCash"), true, false);
    const QStringList insert = headerStatement(QStringLiteral("InvoiceCash"), false, false);

    if (!Prompter::instance().confirm(QStringLiteral("Are you sure you want to Save this Record?")))
        return;

    try {
        Transaction transaction(DM);
        Query* exists = DM->query(QStringLiteral("Q1"));
        exists->close();
        exists->setSql({"Select * From InvoiceCash where InvoiceNo_Inv=" + n});
        exists->open();
        const bool found = !exists->isEmpty();
        exists->close();

        runChange(DM->query(QStringLiteral("Q2")), found ? update : insert);

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
