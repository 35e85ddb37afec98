#include "masters/TEmployee.h"

#include "data/SqlSelect.h"

namespace {
RecordDescription employeeDescription()
{
    RecordDescription d;
    d.title = QStringLiteral("Employee");
    d.table = QStringLiteral("Employee");
    d.listStatement = SqlSelect::all(QStringLiteral("Employee"));
    d.boxes = {
        {"ID_Employee", "ID "},
        {"Name_Employee", "Name"},
        {"DOB_Employee", "Date of Birth", RecordBox::Date},
        {"Email_Employee", "Email"},
        {"SSN_Employee", "SSN"},
        {"Position_Employee", "Position"},
        {"Emergency_Employee", "Emergency Call"},
        {"Cell_Employee", "Cell"},
        {"Address_Employee", "Address"},
        {"City_Employee", "City", RecordBox::List},
        {"State_Employee", "State", RecordBox::List},
        {"Zip_Employee", "Zip"},
        {"Start_Employee", "Start Date", RecordBox::Date},
        {"End_Employee", "End Date", RecordBox::Date},
    };
    d.enterWrapsTo = QStringLiteral("ID_Employee");
    d.titles = {"No",   "Name",    "DOB",  "Email", "SSN", "Position", "Emergency Call",
                "Cell", "Address", "City", "State", "Zip", "Start",    "End"};
    d.sortable = {"ID_Employee", "Name_Employee", "DOB_Employee", "Email_Employee", "SSN_Employee"};
    d.insertedMessage = d.updatedMessage = QStringLiteral("Saved!");
    d.afterSave = RecordDescription::AfterSave::FirstRowTyped;
    d.cancel = RecordDescription::Cancel::Refresh;
    d.refreshCopiesFirstRow = false;
    // Any key in the list copies the row before the list moves.
    d.followOn = RecordDescription::Click | RecordDescription::AnyKeyPress |
                 RecordDescription::NavigatorClick;
    d.figuresOn = 0;
    d.searchBoxName = QStringLiteral("Edit13");
    d.cancelCaption = QStringLiteral("Cancel ( Esc)");
    d.newFromProfile = {{"City_Employee", "City_R"}, {"State_Employee", "State_R"}};
    // Until a title is clicked the search box looks for a name.
    d.searchColumn = QStringLiteral("Name_Employee");
    return d;
}

} // namespace

TEmployee::TEmployee(QWidget* parent)
    : RecordWindow(employeeDescription(), parent)
{
    setObjectName(QStringLiteral("Employee"));
}
