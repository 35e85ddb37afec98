#include "TestShop.h"
#include "Ui.h"
#include "app/HelpWindow.h"
#include "app/TMainForm.h"
#include "app/TPass.h"
#include "data/DatabaseTarget.h"
#include "data/ShopDatabase.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

namespace {
const QString oneWindow =
    QStringLiteral("One window is open Please close window and again slest item");
const QString refused =
    QStringLiteral("This User Or Password is NOT Active Please try Again ......");

// A plain form standing in for a task window; its name tells which task opened it.
TMainForm::WindowFactory standIn(const QString& name)
{
    return [name] {
        auto* form = new QWidget;
        form->setObjectName(name);
        form->resize(300, 200);
        return form;
    };
}

QStringList childNames(const TMainForm* mainForm)
{
    QStringList names;
    for (QMdiSubWindow* sub : ui::childWindows(mainForm))
        names.append(sub->widget()->objectName());
    return names;
}

QAction* menuItem(TMainForm* mainForm, const QString& name)
{
    return ui::find<QAction>(mainForm, name);
}
} // namespace

class TestApp : public QObject
{
    Q_OBJECT

private slots:
    void taskButtonsInOrder();
    void unbuiltTasksAreDisabled();
    void oneWindowRule_data();
    void oneWindowRule();
    void closeButtonClosesTheMainWindow();
    void hintsReachTheStatusBar_data();
    void hintsReachTheStatusBar();
    void buttonHintsReachTheStatusBar();
    void aboutShowsProgramAndShopFile();
    void helpMenu_data();
    void helpMenu();
    void helpIndexSearch();
    void windowMenuArrangesChildren();

    void signIn_data();
    void signIn();
    void wrongPasswordsEarnAWait();
    void enterChainReachesOk();
    void databaseErrorKeepsSignInOpen();
};

void TestApp::taskButtonsInOrder()
{
    TestShop shop;
    TMainForm* mainForm = shop.mainForm();
    QCOMPARE(mainForm->windowTitle(), QStringLiteral("KX"));
    const QStringList expected = {"BANK",    "PARTS",      "VENDORS", "CUSTOMER", "EMPLOYEE",
                                  "ORDERS",  "DEPOSIT",    "LABOR",   "INVOICE",  "BILL",
                                  "PAYABLE", "RECEIVABLE", "REPORT",  "ESTIMATE", "TAX",
                                  "PROFILE", "CLOSE"};
    const QStringList controls = {
        "SpeedButton14", "SpeedButton1",  "SpeedButton2", "SpeedButton9",  "SpeedButton5",
        "SpeedButton10", "SpeedButton13", "SpeedButton4", "SpeedButton6",  "SpeedButton7",
        "SpeedButton11", "SpeedButton12", "SpeedButton3", "SpeedButton15", "SpeedButton16",
        "SpeedButton17", "SpeedButton8"};
    int lastY = -1;
    for (int i = 0; i < controls.size(); ++i) {
        auto* button = ui::find<QToolButton>(mainForm, controls.at(i));
        QCOMPARE(button->text(), expected.at(i));
        QVERIFY2(!button->icon().isNull(), qPrintable(controls.at(i)));
        QVERIFY(button->autoRaise());
        const int y = button->mapTo(mainForm, QPoint()).y();
        QVERIFY2(y > lastY, qPrintable(controls.at(i) + " is out of order"));
        lastY = y;
    }
    QCOMPARE(ui::find<QLabel>(mainForm, "Label7")->text(), QStringLiteral("xxxxxxxxx"));
    QVERIFY(mainForm->findChild<QStatusBar*>("StatusLine"));
    QVERIFY(ui::find<QLabel>(mainForm, "Label1")->text() == QStringLiteral("Tavlin Truck"));
    QVERIFY(ui::find<QLabel>(mainForm, "Label2")->text() == QStringLiteral("Repair"));
}

void TestApp::unbuiltTasksAreDisabled()
{
    TestShop shop;
    TMainForm* mainForm = shop.mainForm();
    auto* parts = ui::find<QToolButton>(mainForm, "SpeedButton1");
    QVERIFY(!parts->isEnabled());
    QVERIFY(!parts->statusTip().isEmpty());
    QVERIFY(ui::find<QToolButton>(mainForm, "SpeedButton8")->isEnabled());

    mainForm->setTaskWindow("SpeedButton1", standIn("Part"));
    QVERIFY(parts->isEnabled());
    QVERIFY(parts->statusTip() != ui::find<QToolButton>(mainForm, "SpeedButton6")->statusTip());
}

void TestApp::oneWindowRule_data()
{
    QTest::addColumn<bool>("withSignIn");
    QTest::addColumn<QStringList>("presses");
    QTest::addColumn<QStringList>("windows");
    QTest::addColumn<int>("refusals");

    QTest::newRow("gated with only the sign-in open")
        << true << QStringList{"SpeedButton6"} << QStringList{"Pass"} << 1;
    QTest::newRow("ungated with the sign-in open")
        << true << QStringList{"SpeedButton1"} << QStringList{"Pass", "Part"} << 0;
    QTest::newRow("gated with nothing open")
        << false << QStringList{"SpeedButton6"} << QStringList{"Invoice"} << 0;
    QTest::newRow("parts twice opens two")
        << false << QStringList{"SpeedButton1", "SpeedButton1"} << QStringList{"Part", "Part"} << 0;
    QTest::newRow("parts beside an invoice") << false << QStringList{"SpeedButton6", "SpeedButton1"}
                                             << QStringList{"Invoice", "Part"} << 0;
    QTest::newRow("invoice refused beside parts")
        << false << QStringList{"SpeedButton1", "SpeedButton6"} << QStringList{"Part"} << 1;
    QTest::newRow("every gated task refused")
        << true << QStringList{"SpeedButton10", "SpeedButton6",  "SpeedButton7", "SpeedButton3",
                               "SpeedButton15", "SpeedButton16", "SpeedButton17"}
        << QStringList{"Pass"} << 7;
    QTest::newRow("every ungated task opens")
        << true << QStringList{"SpeedButton14", "SpeedButton2", "SpeedButton9",  "SpeedButton5",
                               "SpeedButton13", "SpeedButton4", "SpeedButton11", "SpeedButton12"}
        << QStringList{"Pass",    "Bank",  "Company", "Customer",  "Employee",
                       "Deposit", "Labor", "Payable", "Receivable"}
        << 0;
}

void TestApp::oneWindowRule()
{
    QFETCH(bool, withSignIn);
    QFETCH(QStringList, presses);
    QFETCH(QStringList, windows);
    QFETCH(int, refusals);

    TestShop shop;
    TMainForm* mainForm = shop.mainForm();
    const QList<QPair<QString, QString>> forms = {
        {"SpeedButton14", "Bank"},    {"SpeedButton1", "Part"},
        {"SpeedButton2", "Company"},  {"SpeedButton9", "Customer"},
        {"SpeedButton5", "Employee"}, {"SpeedButton10", "PoOrder"},
        {"SpeedButton13", "Deposit"}, {"SpeedButton4", "Labor"},
        {"SpeedButton6", "Invoice"},  {"SpeedButton7", "Bill"},
        {"SpeedButton11", "Payable"}, {"SpeedButton12", "Receivable"},
        {"SpeedButton3", "Report"},   {"SpeedButton15", "Estimate"},
        {"SpeedButton16", "Tax"},     {"SpeedButton17", "Profile"},
    };
    for (const auto& [control, name] : forms)
        mainForm->setTaskWindow(control, standIn(name));
    if (withSignIn)
        TPass::open(mainForm);

    for (const QString& control : presses)
        ui::click(mainForm, control);

    QCOMPARE(childNames(mainForm), windows);
    QCOMPARE(shop.prompter().texts(), QStringList(QList<QString>(refusals, oneWindow)));
}

void TestApp::closeButtonClosesTheMainWindow()
{
    TestShop shop;
    TMainForm* mainForm = shop.mainForm();
    TPass::open(mainForm);
    QVERIFY(mainForm->isVisible());
    ui::click(mainForm, "SpeedButton8");
    QVERIFY(!mainForm->isVisible());
    QVERIFY(shop.prompter().messages().isEmpty());
}

void TestApp::hintsReachTheStatusBar_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("hint");
    QTest::newRow("tile") << "WindowTileItem"
                          << "Tile all windows";
    QTest::newRow("cascade") << "WindowCascadeItem"
                             << "Cascade all windows";
    QTest::newRow("arrange") << "WindowArrangeItem"
                             << "Arrange minimized windows";
    QTest::newRow("contents") << "HelpContentsItem"
                              << "Display the help contents screen";
    QTest::newRow("search") << "HelpSearchItem"
                            << "Search help file for a topic";
    QTest::newRow("how to") << "HelpHowToUseItem"
                            << "Help on using the help system";
    QTest::newRow("about") << "HelpAboutItem"
                           << "Show program information";
}

void TestApp::hintsReachTheStatusBar()
{
    QFETCH(QString, item);
    QFETCH(QString, hint);
    TestShop shop;
    TMainForm* mainForm = shop.mainForm();
    auto* status = ui::find<QStatusBar>(mainForm, "StatusLine");
    QVERIFY(status->currentMessage().isEmpty());
    menuItem(mainForm, item)->hover();
    QCOMPARE(status->currentMessage(), hint);
}

void TestApp::buttonHintsReachTheStatusBar()
{
    TestShop shop;
    TMainForm* mainForm = shop.mainForm();
    mainForm->setTaskWindow("SpeedButton1", standIn("Part"));
    auto* status = ui::find<QStatusBar>(mainForm, "StatusLine");
    const QStringList controls = {"SpeedButton1", "SpeedButton8", "SpeedButton6"};
    QTest::mouseMove(mainForm->mdiArea());
    QStringList shown;
    for (const QString& control : controls) {
        auto* button = ui::find<QToolButton>(mainForm, control);
        QTest::mouseMove(button, button->rect().center());
        QTRY_COMPARE(status->currentMessage(), button->statusTip());
        shown.append(status->currentMessage());
    }
    QCOMPARE(shown.size(), 3);
    QCOMPARE(shown.removeDuplicates(), 0);
}

void TestApp::aboutShowsProgramAndShopFile()
{
    TestShop shop;
    TMainForm* mainForm = shop.mainForm();
    TPass::open(mainForm);
    menuItem(mainForm, "HelpAboutItem")->trigger();
    ui::settle();
    QCOMPARE(childNames(mainForm), QStringList{"Pass"});
    const QStringList shown = shop.prompter().texts(ScriptedPrompter::Kind::Inform);
    QCOMPARE(shown.size(), 1);
    QVERIFY2(
        QRegularExpression(QStringLiteral("^Tavlin \\d+\\.\\d+")).match(shown.first()).hasMatch(),
        qPrintable(shown.first()));
    const QString database =
        TestShop::onServer()
            ? TestShop::target().describe()
            : QStringLiteral("Embedded file ") + QDir::toNativeSeparators(shop.databasePath());
    QVERIFY2(shown.first().contains(QStringLiteral("\n\nShop database: %1\nSchema version: %2\n")
                                        .arg(database)
                                        .arg(ShopDatabase::currentVersion())),
             qPrintable(shown.first()));
    // And when this station last backed the shop up: a new shop never was.
    const QString backups = TestShop::onServer()
                                ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                                : shop.folder();
    QVERIFY2(shown.first().endsWith(QStringLiteral("\nLast backup: none yet (backups go into %1)")
                                        .arg(QDir::toNativeSeparators(backups + "/backups"))),
             qPrintable(shown.first()));
    // The status bar says it at all times.
    QCOMPARE(ui::find<QLabel>(mainForm, "DatabaseLabel")->text(), database);
}

void TestApp::helpMenu_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("page");
    QTest::newRow("contents") << "HelpContentsItem"
                              << "index.html";
    QTest::newRow("how to use help") << "HelpHowToUseItem"
                                     << "usinghelp.html";
}

void TestApp::helpMenu()
{
    QFETCH(QString, item);
    QFETCH(QString, page);
    TestShop shop;
    TMainForm* mainForm = shop.mainForm();
    menuItem(mainForm, item)->trigger();
    HelpWindow* help = mainForm->help();
    QVERIFY(help->isVisible());
    QCOMPARE(help->currentPage(), page);
    // The page is really there: a missing resource leaves the browser empty.
    QVERIFY(ui::find<QTextBrowser>(help, "HelpBrowser")->toPlainText().size() > 200);
}

void TestApp::helpIndexSearch()
{
    TestShop shop;
    TMainForm* mainForm = shop.mainForm();
    menuItem(mainForm, "HelpSearchItem")->trigger();
    HelpWindow* help = mainForm->help();
    auto* search = ui::find<QLineEdit>(help, "HelpSearch");
    auto* keywords = ui::find<QListWidget>(help, "HelpKeywords");
    QVERIFY(search->text().isEmpty());
    QVERIFY(keywords->count() > 20);

    ui::type(search, "passw");
    int shown = 0;
    for (int i = 0; i < keywords->count(); ++i)
        if (!keywords->item(i)->isHidden()) {
            ++shown;
            QVERIFY(keywords->item(i)->text().contains("passw", Qt::CaseInsensitive));
        }
    QVERIFY(shown >= 1);
    ui::press(search, Qt::Key_Return);
    QVERIFY(help->currentPage().startsWith("signin.html"));

    // Every keyword leads to a page that exists.
    auto* browser = ui::find<QTextBrowser>(help, "HelpBrowser");
    for (int i = 0; i < keywords->count(); ++i) {
        const QString target = keywords->item(i)->data(Qt::UserRole).toString();
        help->showPage(target);
        QVERIFY2(browser->toPlainText().size() > 100, qPrintable(target));
    }
}

void TestApp::windowMenuArrangesChildren()
{
    TestShop shop;
    TMainForm* mainForm = shop.mainForm();
    mainForm->setTaskWindow("SpeedButton1", standIn("Part"));
    ui::click(mainForm, "SpeedButton1");
    ui::click(mainForm, "SpeedButton1");
    const auto subs = ui::childWindows(mainForm);
    QCOMPARE(subs.size(), 2);

    menuItem(mainForm, "WindowTileItem")->trigger();
    QVERIFY(!subs[0]->geometry().intersects(subs[1]->geometry()));

    menuItem(mainForm, "WindowCascadeItem")->trigger();
    QVERIFY(subs[0]->geometry().intersects(subs[1]->geometry()));
    QVERIFY(subs[0]->pos() != subs[1]->pos());

    subs[0]->showMinimized();
    subs[1]->showMinimized();
    subs[0]->move(200, 100);
    subs[1]->move(40, 30);
    menuItem(mainForm, "WindowArrangeItem")->trigger();
    const int bottom = mainForm->mdiArea()->viewport()->rect().bottom();
    QCOMPARE(subs[0]->geometry().bottom(), bottom);
    QCOMPARE(subs[1]->geometry().bottom(), bottom);
    QCOMPARE(subs[0]->x(), 0);
    QCOMPARE(subs[1]->x(), subs[0]->width());
}

void TestApp::signIn_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("shownName"); // empty: refused

    QTest::newRow("pre-filled") << "Guest"
                                << "gt"
                                << "Guest";
    QTest::newRow("name in other case shows the stored name") << "GUEST"
                                                              << "gt"
                                                              << "Guest";
    QTest::newRow("wrong password") << "Guest"
                                    << "gx"
                                    << "";
    QTest::newRow("password case matters") << "Guest"
                                           << "GT"
                                           << "";
    QTest::newRow("unknown user") << "Nobody"
                                  << "gt"
                                  << "";
    QTest::newRow("empty boxes") << ""
                                 << ""
                                 << "";
    QTest::newRow("quote in name") << "O'Brien"
                                   << "it's"
                                   << "O'Brien";
    QTest::newRow("quote typed wrongly") << "O'Brien"
                                         << "its"
                                         << "";
    QTest::newRow("always-true trick") << "x' or '1'='1"
                                       << "x' or '1'='1"
                                       << "";
    QTest::newRow("comment trick") << "Guest' --"
                                   << "anything"
                                   << "";
    QTest::newRow("non-ASCII") << QString::fromUtf8("Şükrü Øst") << QString::fromUtf8("päß")
                               << QString::fromUtf8("Şükrü Øst");
}

void TestApp::signIn()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, shownName);

    TestShop shop;
    shop.addUser(QStringLiteral("O'Brien"), QStringLiteral("it's"));
    shop.addUser(QString::fromUtf8("Şükrü Øst"), QString::fromUtf8("päß"));
    const int users = shop.value("Select Count(*) From Pass").toInt();
    TMainForm* mainForm = shop.mainForm();
    QPointer<TPass> pass = TPass::open(mainForm);

    ui::type(ui::find<QLineEdit>(pass, "Edit1"), user);
    ui::type(ui::find<QLineEdit>(pass, "Edit2"), password);
    ui::click(pass, "BitBtn2");
    ui::settle();

    if (shownName.isEmpty()) {
        QCOMPARE(shop.prompter().texts(), QStringList{refused});
        QVERIFY(pass);
        QCOMPARE(ui::find<QLineEdit>(pass, "Edit1")->text(), user);
        QCOMPARE(ui::find<QLineEdit>(pass, "Edit2")->text(), password);
        QCOMPARE(mainForm->userName(), QStringLiteral("xxxxxxxxx"));
    } else {
        QVERIFY(shop.prompter().messages().isEmpty());
        QVERIFY(!pass);
        QVERIFY(ui::childWindows(mainForm).isEmpty());
        QCOMPARE(ui::find<QLabel>(mainForm, "Label7")->text(), shownName);
    }
    // Signing in only reads the users.
    QCOMPARE(shop.value("Select Count(*) From Pass").toInt(), users);
}

void TestApp::wrongPasswordsEarnAWait()
{
    TestShop shop;
    TMainForm* mainForm = shop.mainForm();
    QPointer<TPass> pass = TPass::open(mainForm);
    auto* password = ui::find<QLineEdit>(pass, "Edit2");
    // Four wrong passwords are refused as any wrong one; the fifth earns a wait of a second.
    for (int i = 0; i < 5; ++i) {
        ui::type(password, QString("wrong%1").arg(i));
        ui::click(pass, "BitBtn2");
    }
    QStringList expected(4, refused);
    expected << refused + "\n\nToo many wrong passwords: wait 1 second before the next try.";
    QCOMPARE(shop.prompter().texts(), expected);
    // During the wait even the right password is neither checked nor counted.
    ui::type(password, "gt");
    ui::click(pass, "BitBtn2");
    QVERIFY(pass);
    QCOMPARE(shop.prompter().last(),
             QStringLiteral("Too many wrong passwords for Guest: wait 1 second before the next "
                            "try."));
    QCOMPARE(shop.value("Select Failed_Pass From Pass where UserName_Pass = 'Guest'").toInt(), 5);
    // The wait over, the right password signs in and the count starts again.
    QTest::qWait(1100);
    ui::click(pass, "BitBtn2");
    ui::settle();
    QVERIFY(!pass);
    QCOMPARE(mainForm->userName(), QStringLiteral("Guest"));
    QCOMPARE(shop.value("Select Failed_Pass From Pass where UserName_Pass = 'Guest'").toInt(), 0);
}

void TestApp::enterChainReachesOk()
{
    TestShop shop;
    TMainForm* mainForm = shop.mainForm();
    QPointer<TPass> pass = TPass::open(mainForm);
    QApplication::setActiveWindow(mainForm);
    auto* user = ui::find<QLineEdit>(pass, "Edit1");
    auto* password = ui::find<QLineEdit>(pass, "Edit2");
    auto* ok = ui::find<QPushButton>(pass, "BitBtn2");
    QCOMPARE(user->text(), QStringLiteral("Guest"));
    QCOMPARE(password->echoMode(), QLineEdit::Password);
    QCOMPARE(password->text().size(), 2);
    QVERIFY(user->hasFocus());

    ui::press(user, Qt::Key_Return);
    QVERIFY(password->hasFocus());
    // Typing a new password changes nothing until OK is pressed.
    ui::type(password, "zz");
    QVERIFY(pass);
    QVERIFY(shop.prompter().messages().isEmpty());
    ui::type(password, "gt");
    ui::press(password, Qt::Key_Return);
    QVERIFY(ok->hasFocus());
    QVERIFY(pass);
    ui::press(ok, Qt::Key_Return);
    ui::settle();
    QVERIFY(!pass);
    QCOMPARE(mainForm->userName(), QStringLiteral("Guest"));
}

void TestApp::databaseErrorKeepsSignInOpen()
{
    TestShop shop;
    TMainForm* mainForm = shop.mainForm();
    QPointer<TPass> pass = TPass::open(mainForm);
    shop.exec("Alter Table Pass Rename To PassGone");
    ui::click(pass, "BitBtn2");
    ui::settle();
    QVERIFY(pass);
    const QStringList errors = shop.prompter().texts(ScriptedPrompter::Kind::Error);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains("Pass", Qt::CaseInsensitive), qPrintable(errors.first()));
    QCOMPARE(mainForm->userName(), QStringLiteral("xxxxxxxxx"));
}

QTEST_MAIN(TestApp)
#include "tst_app.moc"
