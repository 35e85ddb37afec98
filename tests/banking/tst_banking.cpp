#include "TestShop.h"
#include "Ui.h"
#include "app/TMainForm.h"
#include "banking/TBank.h"
#include "banking/TDeposit.h"
#include "data/Query.h"
#include "masters/TCustomer.h"
#include "ui/common/DataGrid.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <tuple>

namespace {
void addAccount(TestShop& shop, int id, const QString& name)
{
    shop.exec("Insert into Bank (ID_Bank, Name_Bank, Type_Bank, AccountNo_Bank, Date_Bank, "
              "Company_Bank) values (?,?,'Checking','000123','2028-01-31','')",
              {id, name});
}

TBank* openBank(TestShop& shop)
{
    TMainForm* mainForm = shop.mainFormWithTasks();
    ui::click(mainForm, "SpeedButton14");
    auto* bank = qobject_cast<TBank*>(ui::newestChild(mainForm));
    if (!bank)
        throw std::runtime_error("no bank window");
    return bank;
}

QLineEdit* box(QWidget* w, const QString& name)
{
    return ui::find<QLineEdit>(w, name);
}
} // namespace

class TestBanking : public QObject
{
    Q_OBJECT

private slots:
    void newProposesNextNumber_data();
    void newProposesNextNumber();
    void saveRewritesOrAdds();
    void refreshAndDelete();
    void bankAndCustomersTogether();
    void depositsByAccountAndCheck_data();
    void depositsByAccountAndCheck();
    void depositChosenIsTheOneChanged();
};

void TestBanking::newProposesNextNumber_data()
{
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<QString>("next");
    QTest::newRow("empty") << QList<int>{} << "1";
    QTest::newRow("1, 2, 7") << QList<int>{7, 1, 2} << "8";
    QTest::newRow("past 9") << QList<int>{9, 10} << "11";
}

void TestBanking::newProposesNextNumber()
{
    QFETCH(QList<int>, ids);
    QFETCH(QString, next);
    TestShop shop;
    for (int id : ids)
        addAccount(shop, id, QString("Account %1").arg(id));
    TBank* w = openBank(shop);
    QCOMPARE(ui::title(w->grid(), 5), QStringLiteral("Company Card"));
    ui::click(w, "Button2");
    QCOMPARE(box(w, "Edit1")->text(), next);
    QCOMPARE(box(w, "Edit2")->text(), QString());
    QCOMPARE(ui::find<QComboBox>(w, "ComboBox1")->currentText(), QStringLiteral("Credit"));
    QCOMPARE(ui::find<QComboBox>(w, "ComboBox2")->currentText(), QStringLiteral("Visa"));
    QVERIFY(box(w, "Edit2")->hasFocus() || !w->isActiveWindow());
}

void TestBanking::saveRewritesOrAdds()
{
    TestShop shop;
    addAccount(shop, 1, "Chase");
    TBank* w = openBank(shop);
    QCOMPARE(box(w, "Edit2")->text(), QStringLiteral("Chase"));
    // Renaming account 1 rewrites it; the payments that named it keep the old name.
    shop.exec("Insert into Receivable (InvoiceNo_Receivable, DepositTo_Receivable) values "
              "(5, 'Chase')");
    ui::type(box(w, "Edit2"), "Chase O'Hare");
    ui::type(box(w, "Edit4"), "2/28/2029");
    shop.prompter().answer({true});
    ui::click(w, "Button1");
    QCOMPARE(shop.prompter().last(), QStringLiteral("Saved!"));
    QCOMPARE(shop.row("Select Name_Bank, Date_Bank From Bank"),
             (QVariantList{"Chase O'Hare", "2029-02-28"}));
    QCOMPARE(shop.value("Select DepositTo_Receivable From Receivable").toString(),
             QStringLiteral("Chase"));
    // A new number adds an account; the list goes to it.
    ui::click(w, "Button2");
    ui::type(box(w, "Edit2"), "Amex");
    shop.prompter().answer({true});
    ui::click(w, "Button1");
    QCOMPARE(shop.value("Select Count(*) From Bank").toInt(), 2);
    QCOMPARE(ui::cell(w->grid(), w->listQuery()->currentRow(), 1), QStringLiteral("Amex"));
    // An expiry date that is not a date is refused before the question.
    ui::type(box(w, "Edit4"), "31/31/2029");
    shop.prompter().clear();
    ui::click(w, "Button1");
    QCOMPARE(shop.prompter().texts(ScriptedPrompter::Kind::Confirm), QStringList());
    QVERIFY(shop.prompter().last().startsWith("Exp Date"));
    // Cancel and History are shown disabled: the list keeps no transactions.
    QVERIFY(!ui::find<QPushButton>(w, "Button7")->isEnabled());
    QVERIFY(!ui::find<QPushButton>(w, "Button8")->isEnabled());
}

void TestBanking::refreshAndDelete()
{
    TestShop shop;
    for (int id : {1, 2, 3})
        addAccount(shop, id, QString("Account %1").arg(id));
    TBank* w = openBank(shop);
    ui::type(box(w, "Edit1"), "two");
    ui::click(w, "Button5");
    QVERIFY(shop.prompter().last().startsWith("ID No"));
    ui::type(box(w, "Edit1"), "2");
    ui::type(box(w, "Edit2"), "typed");
    ui::click(w, "Button5");
    QCOMPARE(w->listQuery()->currentRow(), 1);
    // Refresh keeps the boxes as typed.
    QCOMPARE(box(w, "Edit2")->text(), QStringLiteral("typed"));
    shop.prompter().answer({true});
    ui::click(w, "Button3");
    QCOMPARE(shop.value("Select Count(*) From Bank where ID_Bank=2").toInt(), 0);
    QCOMPARE(ui::rowCount(w->grid()), 2);
    // A key that is not a number deletes nothing.
    ui::type(box(w, "Edit1"), "1 or 1=1");
    shop.prompter().answer({true});
    ui::click(w, "Button3");
    QCOMPARE(shop.value("Select Count(*) From Bank").toInt(), 2);
}

void TestBanking::bankAndCustomersTogether()
{
    TestShop shop;
    addAccount(shop, 1, "Chase");
    shop.exec("Insert into Customer (ID_Customer, Name_Customer) values (1, 'Acme Freight')");
    shop.exec("Insert into Customer (ID_Customer, Name_Customer) values (2, 'Zephyr Lines')");
    TMainForm* mainForm = shop.mainFormWithTasks();
    ui::click(mainForm, "SpeedButton9");
    auto* customers = qobject_cast<TCustomer*>(ui::newestChild(mainForm));
    QVERIFY(customers);
    TBank* bank = openBank(shop);
    QCOMPARE(ui::rowCount(customers->grid()), 2);
    QCOMPARE(ui::rowCount(bank->grid()), 1);
    ui::click(bank, "Button2");
    ui::type(box(bank, "Edit2"), "Amex");
    shop.prompter().answer({true});
    ui::click(bank, "Button1");
    // Each window shows and follows its own rows.
    QCOMPARE(ui::rowCount(bank->grid()), 2);
    QCOMPARE(ui::rowCount(customers->grid()), 2);
    QCOMPARE(ui::cell(customers->grid(), 1, 1), QStringLiteral("Zephyr Lines"));
    ui::click(customers, "RefreshButton");
    QCOMPARE(ui::rowCount(bank->grid()), 2);
    QCOMPARE(ui::cell(bank->grid(), 0, 1), QStringLiteral("Chase"));
}

namespace {
void addDeposit(TestShop& shop, const QString& to, const QString& date, const QString& from,
                const QString& chk, double amount)
{
    shop.exec("Insert into Deposit (DepositTo_Dep, Date_Dep, From_Dep, Chk_Dep, Amount_Dep) "
              "values (?,?,?,?,?)",
              {to, date, from, chk, amount});
}

TDeposit* openDeposits(TestShop& shop)
{
    ui::click(shop.mainFormWithTasks(), "SpeedButton13");
    auto* w = qobject_cast<TDeposit*>(ui::newestChild(shop.mainForm()));
    if (!w)
        throw std::runtime_error("no deposit window");
    return w;
}
} // namespace

void TestBanking::depositsByAccountAndCheck_data()
{
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("check");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("total");
    // Every New's Save adds a deposit: two alike (cash, one account, one day) are two rows.
    QTest::newRow("same account and check adds") << "Chase"
                                                 << "101" << 2 << "30.3";
    QTest::newRow("another check adds") << "Chase"
                                        << "102" << 2 << "30.3";
    QTest::newRow("another account adds") << "O'Brien Bank"
                                          << "101" << 2 << "30.3";
}

void TestBanking::depositsByAccountAndCheck()
{
    QFETCH(QString, account);
    QFETCH(QString, check);
    QFETCH(int, rows);
    QFETCH(QString, total);
    TestShop shop;
    TDeposit* w = openDeposits(shop);
    QCOMPARE(w->windowTitle(), QStringLiteral("Deposit"));
    // An empty table has an empty total; the columns carry their own names on show.
    QCOMPARE(ui::find<QLabel>(w, "Label3")->text(), QString());
    QCOMPARE(ui::title(w->grid(), 0), QStringLiteral("DepositTo_Dep"));
    ui::click(w, "Button2");
    QCOMPARE(w->text("DepositTo_Dep"), QStringLiteral("Main Checking"));
    QCOMPARE(w->text("Amount_Dep"), QStringLiteral("0.00"));
    for (const auto& [to, chk, amount] :
         {std::tuple{QString("Chase"), QString("101"), QString("10.10")},
          std::tuple{account, check, QString("20.20")}}) {
        ui::click(w, "Button2");
        w->setText("DepositTo_Dep", to);
        w->setText("Chk_Dep", chk);
        w->setText("From_Dep", "Acme");
        w->setText("Amount_Dep", amount);
        shop.prompter().answer({true});
        ui::click(w, "Button1");
    }
    QCOMPARE(shop.value("Select Count(*) From Deposit").toInt(), rows);
    // Exactly, without the floating-point noise of 10.10 + 20.20.
    QCOMPARE(ui::find<QLabel>(w, "Label3")->text(), total);
    QCOMPARE(ui::title(w->grid(), 5), QStringLiteral("Chk#"));
    // An amount that is not a number is refused before the question.
    shop.prompter().clear();
    w->setText("Amount_Dep", "ten");
    ui::click(w, "Button1");
    QCOMPARE(shop.prompter().texts(ScriptedPrompter::Kind::Confirm), QStringList());
    QVERIFY(shop.prompter().last().startsWith("Amount $"));
}

void TestBanking::depositChosenIsTheOneChanged()
{
    TestShop shop;
    addDeposit(shop, "Chase", "2026-03-02", "Acme", "1", 10);
    addDeposit(shop, "Amex", "2026-03-02", "Acme", "2", 20);
    addDeposit(shop, "Chase", "2026-03-03", "Acme", "3", 30);
    addDeposit(shop, "Chase", "2026-03-02", "", "", 40);
    addDeposit(shop, "Chase", "2026-03-02", "", "", 663.53);
    TDeposit* w = openDeposits(shop);
    QCOMPARE(ui::find<QLabel>(w, "Label3")->text(), QStringLiteral("763.53"));
    // Delete removes the deposit chosen in the list, not every deposit of its payer and date.
    const auto choose = [w](double amount) {
        Query* list = w->listQuery();
        for (int row = 0; row < list->recordCount(); ++row)
            if (list->field(row, list->columnIndex("Amount_Dep")).asNumber() == amount)
                list->setCurrentRow(row);
        emit w->grid()->cellClicked();
    };
    choose(663.53);
    shop.prompter().answer({true});
    ui::click(w, "Button3");
    QCOMPARE(shop.rows("Select Amount_Dep From Deposit Order By 1"),
             (QList<QVariantList>{{10.0}, {20.0}, {30.0}, {40.0}}));
    QCOMPARE(ui::find<QLabel>(w, "Label3")->text(), QStringLiteral("100"));
    // Save changes the chosen deposit, even when its account changes: no duplicate.
    choose(20);
    w->setText("DepositTo_Dep", "Chase");
    w->setText("Amount_Dep", "25");
    shop.prompter().answer({true});
    ui::click(w, "Button1");
    QCOMPARE(
        shop.rows("Select DepositTo_Dep, Amount_Dep From Deposit Order By 2"),
        (QList<QVariantList>{{"Chase", 10.0}, {"Chase", 25.0}, {"Chase", 30.0}, {"Chase", 40.0}}));
    // A deposit never saved has nothing to delete.
    ui::click(w, "Button2");
    shop.prompter().clear();
    ui::click(w, "Button3");
    QCOMPARE(shop.value("Select Count(*) From Deposit").toInt(), 4);
    QVERIFY(shop.prompter().last().startsWith("This record is not saved"));
    // Cancel reads the total again and keeps the boxes.
    addDeposit(shop, "Chase", "2026-03-04", "Zephyr", "6", 5);
    w->setText("Remark_Dep", "typed");
    ui::click(w, "Button7");
    QCOMPARE(ui::find<QLabel>(w, "Label3")->text(), QStringLiteral("110"));
    QCOMPARE(w->text("Remark_Dep"), QStringLiteral("typed"));
}

QTEST_MAIN(TestBanking)
#include "tst_banking.moc"
