#include "masters/TTax.h"

#include "ui/common/Latest.h"

#include <QPushButton>

namespace {
RecordDescription taxDescription()
{
    RecordDescription d;
    d.title = QStringLiteral("Tax");
    d.table = QStringLiteral("Tax");
    // A list query of its own: the tax list never shows another window's rows.
    d.listQuery = QStringLiteral("QTax");
    d.lookupQuery = QStringLiteral("QCustomer2");
    d.listStatement = QStringLiteral("Select Id_T, Year_T, A_T, E_T,Tax_T  From Tax");
    d.saveListStatement = QStringLiteral("Select Id_T, Year_T,A_T, E_T,Tax_T From Tax");
    d.boxes = {
        {"Id_T", "ID No"},       {"Year_T", "Year"}, {"A_T", "Starting Month"},
        {"E_T", "Ending Month"}, {"Tax_T", "Tax"},
    };
    // The boxes are walked with Tab only; no key is bound.
    d.focusOrder = QStringList();
    d.titles = {"No", "Year", "Starting Month", "Ending Month", "Tax"};
    d.insertedMessage = d.updatedMessage = QStringLiteral("Saved!");
    d.afterSave = RecordDescription::AfterSave::SavedKeyTyped;
    d.cancel = RecordDescription::Cancel::CurrentRow;
    d.refreshCopiesFirstRow = false;
    d.refreshKeepsKey = true;
    d.refreshFocusesGrid = true;
    d.followOn = RecordDescription::Click;
    d.figuresOn = 0;
    return d;
}
} // namespace

TTax::TTax(QWidget* parent)
    : RecordWindow(taxDescription(), parent)
{
    setObjectName(QStringLiteral("Tax"));
    Latest<TTax>::set(this);
    for (const auto& [text, name] :
         {std::pair{"Send To ", "SendToButton"}, std::pair{"History", "HistoryButton"}}) {
        QPushButton* button = addButton(QString::fromLatin1(text), name);
        button->setEnabled(false);
        button->setToolTip(QStringLiteral("Not available for tax rates"));
    }
}

QStringList TTax::updateStatement(const Values& v) const
{
    // The key itself is not rewritten.
    return {" Update Tax  Set Year_T =" + v["Year_T"] + ",", " A_T =" + v["A_T"] + ",",
            " E_T =" + v["E_T"] + ",", " Tax_T =" + v["Tax_T"], " where Id_T =" + v["Id_T"]};
}

QStringList TTax::insertStatement(const Values& v) const
{
    return {" Insert Into Tax ( Id_T, Year_T,",
            "A_T, E_T,Tax_T) Values ( ",
            v["Id_T"] + ",",
            v["Year_T"] + ",",
            v["A_T"] + ",",
            v["E_T"] + ",",
            v["Tax_T"] + ")"};
}

QStringList TTax::deleteStatement(const Values& v) const
{
    return {"Delete  From Tax where Id_T=" + v["Id_T"]};
}
