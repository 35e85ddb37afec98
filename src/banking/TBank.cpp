#include "banking/TBank.h"

#include "data/SqlSelect.h"

#include <QLabel>
#include <QPushButton>

RecordDescription TBank::bankDescription()
{
    RecordDescription d;
    d.title = QStringLiteral("Bank");
    d.table = QStringLiteral("Bank");
    d.listStatement = SqlSelect::all(QStringLiteral("Bank"));
    d.saveListStatement = SqlSelect::all(
        QStringLiteral("Bank"),
        QStringLiteral("ID_Bank,Name_Bank,Type_Bank, AccountNo_Bank,Date_Bank,Company_Bank"));
    d.boxes = {
        {"ID_Bank", "ID No", FormBox::Edit, {}, "Edit1"},
        {"Name_Bank", "Name", FormBox::Edit, {}, "Edit2"},
        {"Type_Bank", "Type", FormBox::Choice, {}, "ComboBox1"},
        {"AccountNo_Bank", "Account No", FormBox::Edit, {}, "Edit3"},
        {"Date_Bank", "Exp Date", FormBox::Date, {}, "Edit4", {}, "DateTimePicker1"},
        {"Company_Bank", "Company", FormBox::Choice, {}, "ComboBox2"},
    };
    d.enterWrapsTo = QStringLiteral("Name_Bank");
    d.titles = {"No", "Name", "Type", "Account No", "Exp Date", "Company Card"};
    d.titleSort = false;
    d.insertedMessage = d.updatedMessage = QStringLiteral("Saved!");
    d.afterSave = RecordDescription::AfterSave::SavedKeyTyped;
    d.cancel = RecordDescription::Cancel::Nothing;
    d.refreshCopiesFirstRow = false;
    d.refreshKeepsKey = true;
    d.refreshFocusesGrid = true;
    d.followOn =
        RecordDescription::Click | RecordDescription::KeyPress | RecordDescription::NavigatorClick;
    d.figuresOn = 0;
    d.newDefaults = {{"Type_Bank", "Credit"}, {"Company_Bank", "Visa"}};
    d.newFocus = QStringLiteral("Name_Bank");
    d.searchBoxName = QStringLiteral("Edit6");
    d.searchColumn = QStringLiteral("Name_Bank");
    d.commandNames = {"Button2", "Button1", "Button3", "Button5", "Button7", "Button4"};
    return d;
}

TBank::TBank(QWidget* parent)
    : RecordWindow(bankDescription(), parent)
{
    setObjectName(QStringLiteral("Bank"));
    // The list keeps accounts, not their money: there is no balance or history to show.
    const QString noTransactions =
        QStringLiteral("The bank list keeps accounts and cards, not their transactions");
    QLabel* total = addFigure(QStringLiteral("Total Amounts $"), QStringLiteral("Label15"),
                              QStringLiteral("0.00"));
    total->setEnabled(false);
    total->setToolTip(noTransactions);
    figuresLayout()->addStretch(1);
    QPushButton* history = addButton(QStringLiteral("History"), QStringLiteral("Button8"));
    history->setEnabled(false);
    history->setToolTip(noTransactions);
}
