#include "banking/TDeposit.h"

#include "data/Query.h"
#include "data/TDM.h"

#include <QLabel>

RecordDescription TDeposit::depositDescription()
{
    RecordDescription d;
    d.title = QStringLiteral("Deposit");
    d.table = QStringLiteral("Deposit");
    d.listQuery = QStringLiteral("QDeposit1");
    d.lookupQuery = QStringLiteral("QDeposit2");
    d.listStatement = QStringLiteral("Select * From Deposit");
    d.boxes = {
        {"DepositTo_Dep", "Deposit To", FormBox::List, "Select distinct Name_Bank From Bank",
         "ComboBox1"},
        {"Date_Dep", "Date", FormBox::Date, {}, "Edit1", {}, "DateTimePicker1"},
        {"From_Dep", "Received From", FormBox::List, "Select distinct Name_Customer From Customer",
         "ComboBox2"},
        {"Acc_Dep", "From Acc", FormBox::List, "Select distinct Acc_Dep From Deposit", "ComboBox3"},
        {"SubAcc_Dep", "From SubAcc", FormBox::List, "Select distinct SubAcc_Dep From Deposit",
         "ComboBox4"},
        {"Chk_Dep", "Chk #", FormBox::Edit, {}, "Edit2"},
        {"Amount_Dep", "Amount $", FormBox::Edit, {}, "Edit4"},
        {"Remark_Dep", "Remark", FormBox::Edit, {}, "Edit3"},
    };
    // No column tells two deposits apart (two cash deposits of one day are alike): Save and
    // Delete act on the deposit chosen in the list, New's Save adds one.
    d.key = RecordDescription::Key::None;
    d.identity = RecordDescription::Identity::ChosenRow;
    d.saveNeeds = QStringLiteral("Date_Dep");
    d.deleteNeeds = QStringLiteral("DepositTo_Dep");
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
    , m_sums(DM->ownQuery(QStringLiteral("QDeposit3"), this))
{
    setObjectName(QStringLiteral("Deposit"));
    m_total = addFigure(QStringLiteral("Total Deposit"), QStringLiteral("Label3"), QString());
    figuresLayout()->addStretch(1);
}

void TDeposit::readTotal()
{
    // Exact to the money type's four decimals, as the engine's sum is read.
    runStatement(m_sums, {QStringLiteral("Select Sum(Amount_Dep) From Deposit")});
    m_sums->open();
    m_total->setText(m_sums->field(QStringLiteral("Expr1000")).asText());
    m_sums->close();
}

void TDeposit::listLoaded()
{
    readTotal();
}

void TDeposit::cancel()
{
    readTotal();
}
