#include "banking/TDeposit.h"

#include "data/Query.h"
#include "data/SqlSelect.h"
#include "stores/BankingStore.h"

#include <QLabel>

RecordDescription TDeposit::depositDescription()
{
    RecordDescription d;
    d.title = QStringLiteral("Deposit");
    d.table = QStringLiteral("Deposit");
    d.listStatement = SqlSelect::all(QStringLiteral("Deposit"));
    d.boxes = {
        {"DepositTo_Dep", "Deposit To", FormBox::List, ListSource{"Bank", "Name_Bank"},
         "ComboBox1"},
        {"Date_Dep", "Date", FormBox::Date, {}, "Edit1", {}, "DateTimePicker1"},
        {"From_Dep", "Received From", FormBox::List, ListSource{"Customer", "Name_Customer"},
         "ComboBox2"},
        {"Acc_Dep", "From Acc", FormBox::List, ListSource{"Deposit", "Acc_Dep"}, "ComboBox3"},
        {"SubAcc_Dep", "From SubAcc", FormBox::List, ListSource{"Deposit", "SubAcc_Dep"},
         "ComboBox4"},
        {"Chk_Dep", "Chk #", FormBox::Edit, {}, "Edit2"},
        {"Amount_Dep", "Amount $", FormBox::Edit, {}, "Edit4"},
        {"Remark_Dep", "Remark", FormBox::Edit, {}, "Edit3"},
    };
    // No column tells two deposits apart (two cash deposits of one day are alike): Save and
    // Delete act on the deposit chosen in the list, New's Save adds one.
    d.key = RecordDescription::Key::None;
    d.identity = RecordDescription::Identity::ChosenRow;
    d.titles = {"Deposit To", "Date", "From", "Acc", "SubAcc", "Chk#", "Amount", "Remark"};
    // On show the columns carry their own names.
    d.showTitles = QStringList{};
    d.titleSort = false;
    d.insertedMessage = d.updatedMessage = QStringLiteral("Saved!");
    d.afterSave = RecordDescription::AfterSave::FirstRowCopied;
    d.cancel = RecordDescription::Cancel::Refresh;
    d.refreshCopiesFirstRow = false;
    d.followOn = RecordDescription::Click | RecordDescription::KeyRelease;
    d.figuresOn = 0;
    d.searchBoxName = QStringLiteral("Edit6");
    d.searchColumn = QStringLiteral("From_Dep");
    d.commandNames = {"Button2", "Button1", "Button3", "Button5", "Button7", "Button4"};
    // The shop's main checking account receives what is not said otherwise.
    d.newDefaults = {{"DepositTo_Dep", "Main Checking"}, {"Amount_Dep", "0.00"}};
    d.newToday = {"Date_Dep"};
    d.newFocus = QStringLiteral("From_Dep");
    return d;
}

TDeposit::TDeposit(QWidget* parent)
    : RecordWindow(depositDescription(), parent)
{
    setObjectName(QStringLiteral("Deposit"));
    m_total = addFigure(QStringLiteral("Total Deposit"), QStringLiteral("Label3"), QString());
    figuresLayout()->addStretch(1);
}

void TDeposit::readTotal()
{
    // Exact to the money type's four decimals, as the engine's sum is read.
    m_total->setText(BankingStore().depositSum().asText());
}

void TDeposit::listLoaded()
{
    readTotal();
}

void TDeposit::cancel()
{
    readTotal();
}
