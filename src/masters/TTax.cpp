#include "masters/TTax.h"

#include "ui/common/Latest.h"

#include <QPushButton>

namespace {
RecordDescription taxDescription()
{
    RecordDescription d;
    d.title = QStringLiteral("Tax");
    d.table = QStringLiteral("Tax");
    d.listQuery = QStringLiteral("QCustomer1");
    d.lookupQuery = QStringLiteral("QCustomer2");
    d.listStatement = QStringLiteral("Select Id_T, Year_T, A_T, E_T,Tax_T  From Tax");
    d.saveListStatement = QStringLiteral("Select Id_T, Year_T,A_T, E_T,Tax_T From Tax");
    d.boxes = {
        {"Id_T", "ID No"},       {"Year_T", "Year"}, {"A_T", "Starting Month"},
        {"E_T", "Ending Month"}, {"Tax_T", "Tax"},
    };
    d.enterWrapsTo = QStringLiteral("Id_T");
    // A rate period needs every figure.
    d.emptyRefused = {"Year_T", "A_T", "E_T", "Tax_T"};
    d.titles = {"No", "Year", "Starting Month", "Ending Month", "Tax"};
    d.insertedMessage = d.updatedMessage = QStringLiteral("Saved!");
    d.afterSave = RecordDescription::AfterSave::SavedKeyTyped;
    d.cancel = RecordDescription::Cancel::CurrentRow;
    d.refreshCopiesFirstRow = false;
    d.refreshKeepsKey = true;
    d.refreshFocusesGrid = true;
    d.followOn = RecordDescription::Click;
    d.figuresOn = 0;
    // Until a title is clicked the search box looks for a year.
    d.searchColumn = QStringLiteral("Year_T");
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
