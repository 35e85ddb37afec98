// The building blocks every window is made of, worked the way a user works them: the grid over
// a query, the navigator buttons, the drop-down refilled on opening, the date box and its
// calendar, the Enter/Left keyboard order, and the guard that turns errors into messages.

#include "TestShop.h"
#include "Ui.h"

#include "data/DbError.h"
#include "data/Query.h"
#include "data/TDM.h"
#include "ui/common/DataGrid.h"
#include "ui/common/DateBox.h"
#include "ui/common/FocusChain.h"
#include "ui/common/Guard.h"
#include "ui/common/Latest.h"
#include "ui/common/ListBox.h"
#include "ui/common/Navigator.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

namespace {

using Rows = QList<QStringList>;

const QString allParts = QStringLiteral(
    "Select ID_Material, Type_Material, Number_Material, Price_Material From Part "
    "Order By ID_Material");

// Four parts whose types, numbers and prices each sort in a different order.
void seedParts(TestShop& shop)
{
    const QString part = QStringLiteral("INSERT INTO Part (ID_Material, Type_Material, "
                                        "Number_Material, Price_Material) VALUES (?, ?, ?, ?)");
    shop.exec(part, {1, "Brake", "BR-20", 45.5});
    shop.exec(part, {2, "Axle", "AX-10", 310.0});
    shop.exec(part, {3, "Filter", "FI-05", 12.0});
    shop.exec(part, {4, "Clutch", "CL-99", 199.99});
}

Query* openQuery(const QString& name, const QString& sql = allParts)
{
    Query* q = DM->query(name);
    q->close();
    q->clear();
    q->add(sql);
    q->open();
    return q;
}

QStringList column(const QAbstractItemView* grid, int c)
{
    QStringList values;
    for (int row = 0; row < ui::rowCount(grid); ++row)
        values.append(ui::cell(grid, row, c));
    return values;
}

// Focus, mouse clicks and painting reach a widget offscreen only once its window is active.
bool showActive(QWidget* window)
{
    window->show();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

void clickRow(DataGrid* grid, int row)
{
    const QRect rect = grid->visualRect(grid->model()->index(row, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
}

QStringList items(const QComboBox* box)
{
    QStringList list;
    for (int i = 0; i < box->count(); ++i)
        list.append(box->itemText(i));
    return list;
}
} // namespace

class TestUiCommon : public QObject
{
    Q_OBJECT

private slots:
    void gridShowsTheQuery_data();
    void gridShowsTheQuery();
    void gridsFollowTheQuery_data();
    void gridsFollowTheQuery();
    void sortReordersEveryGrid_data();
    void sortReordersEveryGrid();
    void titlesAndRedTitle();
    void typedLettersDoNotMoveTheGrid();
    void rowsAreStriped();

    void navigatorMoves_data();
    void navigatorMoves();
    void deleteButton();

    void listBoxRefillsOnOpening_data();
    void listBoxRefillsOnOpening();
    void listBoxSourceError();

    void calendarWritesPickedDate_data();
    void calendarWritesPickedDate();
    void calendarOpensOnTypedDate_data();
    void calendarOpensOnTypedDate();

    void focusChainKeys_data();
    void focusChainKeys();
    void commandKeyInControls();

    void guardReports_data();
    void guardReports();
    void latestForgetsDestroyedWindow();
};

void TestUiCommon::gridShowsTheQuery_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<Rows>("cells");
    QTest::newRow("every part") << QString()
                                << Rows{{"1", "Brake", "BR-20", "45.50"},
                                        {"2", "Axle", "AX-10", "310.00"},
                                        {"3", "Filter", "FI-05", "12.00"},
                                        {"4", "Clutch", "CL-99", "199.99"}};
    QTest::newRow("one type") << "Where Type_Material = 'Axle'"
                              << Rows{{"2", "Axle", "AX-10", "310.00"}};
    QTest::newRow("nothing found") << "Where ID_Material = 99" << Rows{};
}

void TestUiCommon::gridShowsTheQuery()
{
    QFETCH(QString, where);
    QFETCH(Rows, cells);
    TestShop shop;
    seedParts(shop);
    Query* q = DM->query("QPart1");
    DataGrid grid(q);
    openQuery("QPart1", "Select ID_Material, Type_Material, Number_Material, Price_Material "
                        "From Part " + where + " Order By ID_Material");

    QCOMPARE(ui::rowCount(&grid), cells.size());
    QCOMPARE(grid.model()->columnCount(), 4);
    for (int row = 0; row < cells.size(); ++row)
        for (int c = 0; c < 4; ++c)
            QCOMPARE(ui::cell(&grid, row, c), cells.at(row).at(c));
    // The grid opens on the query's first row, selected whole; an empty list has none.
    QCOMPARE(grid.currentIndex().row(), cells.isEmpty() ? -1 : 0);
    QCOMPARE(grid.selectionModel()->isRowSelected(0), !cells.isEmpty());
}

void TestUiCommon::gridsFollowTheQuery_data()
{
    QTest::addColumn<QString>("move");
    QTest::addColumn<int>("row");
    QTest::newRow("next") << "next" << 1;
    QTest::newRow("last") << "last" << 3;
    QTest::newRow("current row set") << "row 2" << 2;
    QTest::newRow("locate by type") << "locate cl" << 3;
    QTest::newRow("click in the first grid") << "click first 2" << 2;
    QTest::newRow("click in the second grid") << "click second 3" << 3;
    QTest::newRow("down arrow in the first grid") << "down first" << 1;
}

void TestUiCommon::gridsFollowTheQuery()
{
    QFETCH(QString, move);
    QFETCH(int, row);
    TestShop shop;
    seedParts(shop);
    Query* q = openQuery("QPart2");
    QWidget host;
    auto* layout = new QHBoxLayout(&host);
    auto* first = new DataGrid(q);
    auto* second = new DataGrid(q);
    layout->addWidget(first);
    layout->addWidget(second);
    host.resize(900, 300);
    QVERIFY(showActive(&host));

    const QStringList words = move.split(' ');
    DataGrid* grid = words.contains("second") ? second : first;
    if (move == "next")
        q->next();
    else if (move == "last")
        q->last();
    else if (words.first() == "row")
        q->setCurrentRow(words.last().toInt());
    else if (words.first() == "locate")
        QVERIFY(q->locate("Type_Material", words.last()));
    else if (words.first() == "click")
        clickRow(grid, words.last().toInt());
    else if (words.first() == "down")
        ui::press(grid, Qt::Key_Down);

    QCOMPARE(q->currentRow(), row);
    for (DataGrid* each : {first, second}) {
        QCOMPARE(each->currentIndex().row(), row);
        QVERIFY(each->selectionModel()->isRowSelected(row));
        QCOMPARE(each->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(ui::cell(each, row, 1), q->field("Type_Material").asText());
    }
}

void TestUiCommon::sortReordersEveryGrid_data()
{
    QTest::addColumn<QString>("order");
    QTest::addColumn<QStringList>("types");
    QTest::newRow("type") << "Type_Material" << QStringList{"Axle", "Brake", "Clutch", "Filter"};
    QTest::newRow("price descending")
        << "Price_Material DESC" << QStringList{"Axle", "Clutch", "Brake", "Filter"};
    QTest::newRow("number descending")
        << "Number_Material DESC" << QStringList{"Clutch", "Filter", "Brake", "Axle"};
    QTest::newRow("back to the loaded order")
        << "" << QStringList{"Brake", "Axle", "Filter", "Clutch"};
}

void TestUiCommon::sortReordersEveryGrid()
{
    QFETCH(QString, order);
    QFETCH(QStringList, types);
    TestShop shop;
    seedParts(shop);
    Query* q = openQuery("QPart1");
    DataGrid first(q);
    DataGrid second(q);
    q->sort("ID_Material DESC");
    q->setCurrentRow(1); // Filter
    q->sort(order);

    const int at = int(types.indexOf("Filter"));
    for (DataGrid* grid : {&first, &second}) {
        QCOMPARE(column(grid, 1), types);
        // The row the user was on stays current wherever the order put it.
        QCOMPARE(grid->currentIndex().row(), at);
    }
    QCOMPARE(q->field("Type_Material").asText(), QStringLiteral("Filter"));
}

void TestUiCommon::titlesAndRedTitle()
{
    TestShop shop;
    seedParts(shop);
    Query* q = DM->query("QPart1");
    DataGrid grid(q);
    grid.setTitles({"No.", "Type"});
    openQuery("QPart1");
    const QStringList titles = {"No.", "Type", "Number_Material", "Price_Material"};
    for (int c = 0; c < 4; ++c)
        QCOMPARE(grid.horizontalHeader()->model()->headerData(c, Qt::Horizontal).toString(),
                 titles.at(c));

    auto colour = [&](int c) {
        return grid.horizontalHeader()->model()
            ->headerData(c, Qt::Horizontal, Qt::ForegroundRole).value<QColor>();
    };
    grid.setRedTitle(2);
    for (int c = 0; c < 4; ++c)
        QCOMPARE(colour(c), QColor(c == 2 ? Qt::red : Qt::black));
    grid.setRedTitle(-1);
    for (int c = 0; c < 4; ++c)
        QCOMPARE(colour(c), QColor(Qt::black));

    // A click on a title is reported; sorting is left to the window.
    grid.resize(600, 250);
    QVERIFY(showActive(&grid));
    QSignalSpy clicked(&grid, &DataGrid::titleClicked);
    QHeaderView* header = grid.horizontalHeader();
    const int x = header->sectionViewportPosition(2) + header->sectionSize(2) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(clicked.at(0).at(0).toInt(), 2);
    QCOMPARE(column(&grid, 1), (QStringList{"Brake", "Axle", "Filter", "Clutch"}));
}

void TestUiCommon::typedLettersDoNotMoveTheGrid()
{
    TestShop shop;
    seedParts(shop);
    Query* q = openQuery("QPart1");
    DataGrid grid(q);
    grid.resize(600, 250);
    QVERIFY(showActive(&grid));
    grid.setFocus();
    for (const char letter : {'c', 'f', 'A'})
        QTest::keyClick(&grid, letter);
    QCOMPARE(q->currentRow(), 0);
    QCOMPARE(grid.currentIndex().row(), 0);
}

void TestUiCommon::rowsAreStriped()
{
    TestShop shop;
    seedParts(shop);
    Query* q = openQuery("QPart1", "Select ID_Material, Type_Material From Part");
    DataGrid grid(q);
    grid.resize(400, 250);
    QVERIFY(showActive(&grid));
    // The empty right end of the (left-aligned, stretched) type cell shows the row's shade.
    auto shade = [&](int row) {
        const QImage image = grid.viewport()->grab().toImage();
        const QRect rect = grid.visualRect(grid.model()->index(row, 1));
        return image.pixelColor(rect.right() - 4, rect.center().y()).name();
    };
    const QString white = QStringLiteral("#ffffff");
    const QString blue = QStringLiteral("#e8f0f8");
    QCOMPARE(shade(1), blue);
    QCOMPARE(shade(2), white);
    QCOMPARE(shade(3), blue);
    QVERIFY(shade(0) != white); // the current row stands out
    q->setCurrentRow(2);
    QCOMPARE(shade(0), white);
    QVERIFY(shade(2) != white);

    grid.setRowColour([](int row) { return row == 1 ? QColor(Qt::yellow) : QColor(); });
    QCOMPARE(shade(1), QColor(Qt::yellow).name());
    QCOMPARE(shade(3), blue);
}

void TestUiCommon::navigatorMoves_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("to");
    QTest::newRow("first") << 2 << "First" << 0;
    QTest::newRow("prior") << 2 << "Prior" << 1;
    QTest::newRow("next") << 1 << "Next" << 2;
    QTest::newRow("last") << 0 << "Last" << 3;
    QTest::newRow("prior on the first row stays") << 0 << "Prior" << 0;
    QTest::newRow("next on the last row stays") << 3 << "Next" << 3;
    QTest::newRow("first on the first row") << 0 << "First" << 0;
    QTest::newRow("last on the last row") << 3 << "Last" << 3;
}

void TestUiCommon::navigatorMoves()
{
    QFETCH(int, from);
    QFETCH(QString, button);
    QFETCH(int, to);
    TestShop shop;
    seedParts(shop);
    Query* q = openQuery("QPart1");
    QWidget host;
    auto* layout = new QHBoxLayout(&host);
    auto* grid = new DataGrid(q);
    auto* navigator = new Navigator(q);
    layout->addWidget(grid);
    layout->addWidget(navigator);
    QVERIFY(showActive(&host));
    QVERIFY(!navigator->button("Delete"));

    q->setCurrentRow(from);
    QSignalSpy moved(navigator, &Navigator::moved);
    ui::click(ui::find<QToolButton>(navigator, button));
    QCOMPARE(moved.size(), 1);
    QCOMPARE(q->currentRow(), to);
    QCOMPARE(grid->currentIndex().row(), to);
}

void TestUiCommon::deleteButton()
{
    TestShop shop;
    seedParts(shop);
    Query* q = openQuery("QPart1");
    Navigator navigator(q);
    bool refuse = false;
    navigator.enableDelete([&] {
        if (refuse)
            throw DbError("The part is on an open invoice");
        shop.exec("DELETE FROM Part WHERE ID_Material = ?", {q->field("ID_Material").asInteger()});
        openQuery("QPart1");
    });
    QVERIFY(showActive(&navigator));
    QSignalSpy moved(&navigator, &Navigator::moved);

    q->setCurrentRow(2);
    ui::click(&navigator, "Delete");
    QCOMPARE(moved.size(), 1);
    QCOMPARE(shop.rows("select ID_Material from Part order by ID_Material"),
             (QList<QVariantList>{{1}, {2}, {4}}));
    QCOMPARE(q->recordCount(), 3);

    refuse = true;
    ui::click(&navigator, "Delete");
    QCOMPARE(moved.size(), 1);
    QCOMPARE(shop.prompter().texts(ScriptedPrompter::Kind::Error),
             QStringList{"The part is on an open invoice"});
    QCOMPARE(shop.value("select count(*) from Part").toInt(), 3);
}

void TestUiCommon::listBoxRefillsOnOpening_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("firstList");
    QTest::addColumn<QStringList>("secondList");
    QTest::newRow("each value once")
        << QStringList{"Brake", "Axle", "Brake"} << QStringList{}
        << QStringList{"Brake", "Axle"} << QStringList{"Brake", "Axle"};
    QTest::newRow("values added between openings")
        << QStringList{"Brake"} << QStringList{"Axle", "Brake", "Hub"}
        << QStringList{"Brake"} << QStringList{"Brake", "Axle", "Hub"};
    QTest::newRow("empty and missing values skipped")
        << QStringList{"", "Brake", "<null>"} << QStringList{"", "<null>"}
        << QStringList{"Brake"} << QStringList{"Brake"};
    QTest::newRow("empty to start with")
        << QStringList{} << QStringList{"Axle"} << QStringList{} << QStringList{"Axle"};
}

void TestUiCommon::listBoxRefillsOnOpening()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, added);
    QFETCH(QStringList, firstList);
    QFETCH(QStringList, secondList);
    TestShop shop;
    int id = 0;
    auto insert = [&](const QStringList& types) {
        for (const QString& type : types)
            shop.exec("INSERT INTO Part (ID_Material, Type_Material) VALUES (?, ?)",
                      {++id, type == "<null>" ? QVariant() : QVariant(type)});
    };
    insert(before);
    ListBox box;
    box.setSource([] {
        Query* q = openQuery("Q1", "Select Type_Material From Part Order By ID_Material");
        QStringList values;
        for (int row = 0; row < q->recordCount(); ++row)
            values.append(q->field(row, 0).asText());
        return values;
    });
    QVERIFY(showActive(&box));

    box.showPopup();
    QVERIFY(box.view()->isVisible());
    QCOMPARE(items(&box), firstList);
    box.hidePopup();

    insert(added);
    ui::type(&box, "Drum");
    box.showPopup();
    QCOMPARE(items(&box), secondList);
    QCOMPARE(box.text(), QStringLiteral("Drum"));
    box.hidePopup();
    QCOMPARE(box.text(), QStringLiteral("Drum"));
    QVERIFY(shop.prompter().messages().isEmpty());
}

void TestUiCommon::listBoxSourceError()
{
    TestShop shop;
    ListBox box;
    bool fail = false;
    box.setSource([&] {
        if (fail)
            throw DbError("Could not read the parts list");
        return QStringList{"Axle", "Brake"};
    });
    QVERIFY(showActive(&box));
    box.showPopup();
    box.hidePopup();

    fail = true;
    ui::type(&box, "Hub");
    box.showPopup();
    QVERIFY(!box.view()->isVisible());
    QCOMPARE(shop.prompter().texts(ScriptedPrompter::Kind::Error),
             QStringList{"Could not read the parts list"});
    QCOMPARE(items(&box), (QStringList{"Axle", "Brake"}));
    QCOMPARE(box.text(), QStringLiteral("Hub"));
}

void TestUiCommon::calendarWritesPickedDate_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<bool>("byMouse");
    QTest::addColumn<QString>("text");
    QTest::newRow("clicked day") << QDate(2005, 3, 7) << true << "3/7/2005";
    QTest::newRow("Enter on a day") << QDate(2005, 3, 7) << false << "3/7/2005";
    QTest::newRow("two-digit month and day") << QDate(1999, 12, 31) << true << "12/31/1999";
    QTest::newRow("two-digit month") << QDate(2024, 10, 5) << false << "10/5/2024";
}

void TestUiCommon::calendarWritesPickedDate()
{
    QFETCH(QDate, date);
    QFETCH(bool, byMouse);
    QFETCH(QString, text);
    DateBox box;
    box.setText("1/15/2010");
    QVERIFY(showActive(&box));
    QSignalSpy picked(&box, &DateBox::datePicked);
    ui::click(&box, "CalendarButton");
    QCalendarWidget* calendar = box.calendar();
    QVERIFY(QTest::qWaitForWindowExposed(calendar->window()));
    QCOMPARE(calendar->selectedDate(), QDate(2010, 1, 15));

    calendar->setSelectedDate(date);
    auto* days = calendar->findChild<QTableView*>();
    QVERIFY(days);
    if (byMouse)
        QTest::mouseClick(days->viewport(), Qt::LeftButton, {},
                          days->visualRect(days->currentIndex()).center());
    else
        QTest::keyClick(days, Qt::Key_Return);

    QCOMPARE(box.text(), text);
    QCOMPARE(picked.size(), 1);
    QVERIFY(!calendar->isVisible());
}

void TestUiCommon::calendarOpensOnTypedDate_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("selected");
    const QDate today = QDate::currentDate();
    QTest::newRow("full year") << "3/7/2005" << QDate(2005, 3, 7);
    QTest::newRow("two-digit year, last century") << "12/31/99" << QDate(1999, 12, 31);
    QTest::newRow("two-digit year, this century") << "7/4/05" << QDate(2005, 7, 4);
    QTest::newRow("empty box") << "" << today;
    QTest::newRow("not a date") << "next week" << today;
    QTest::newRow("no such day") << "2/30/2005" << today;
}

void TestUiCommon::calendarOpensOnTypedDate()
{
    QFETCH(QString, typed);
    QFETCH(QDate, selected);
    DateBox box;
    box.setText(typed);
    box.showCalendar();
    QVERIFY(box.calendar()->isVisible());
    QCOMPARE(box.calendar()->selectedDate(), selected);
    QCOMPARE(box.text(), typed);
}

void TestUiCommon::focusChainKeys_data()
{
    QTest::addColumn<QString>("chain");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("keys"); // E Enter, K keypad Enter, L Left arrow
    QTest::addColumn<QString>("off");  // a control disabled (-) or hidden (~) first
    QTest::addColumn<QString>("wrap");
    QTest::addColumn<QString>("focused");
    QTest::addColumn<int>("clicks");
    QTest::newRow("Enter walks forward") << "A B C Ok" << "A" << "EEE" << "" << "" << "Ok" << 0;
    QTest::newRow("keypad Enter walks forward") << "A B C Ok" << "A" << "K" << "" << "" << "B" << 0;
    QTest::newRow("Enter on the button clicks it") << "A B C Ok" << "Ok" << "E" << "" << "" << "Ok" << 1;
    QTest::newRow("walk to the button and press") << "A B C Ok" << "A" << "EEEE" << "" << "" << "Ok" << 1;
    QTest::newRow("Left walks back") << "A B C Ok" << "Ok" << "LLL" << "" << "" << "A" << 0;
    QTest::newRow("Left at the first stays") << "A B C" << "A" << "L" << "" << "" << "A" << 0;
    QTest::newRow("Enter at the last stays") << "A B C" << "C" << "E" << "" << "" << "C" << 0;
    QTest::newRow("wrap on Enter") << "A B C" << "C" << "E" << "" << "B" << "B" << 0;
    QTest::newRow("wrap on Left") << "A B C" << "A" << "L" << "" << "B" << "C" << 0;
    QTest::newRow("disabled skipped forward") << "A B C Ok" << "A" << "E" << "-B" << "" << "C" << 0;
    QTest::newRow("disabled skipped back") << "A B C Ok" << "C" << "L" << "-B" << "" << "A" << 0;
    QTest::newRow("hidden skipped forward") << "A B C Ok" << "A" << "E" << "~B" << "" << "C" << 0;
    QTest::newRow("hidden last wraps") << "A B C Ok" << "B" << "EE" << "~Ok" << "A" << "A" << 0;
}

void TestUiCommon::focusChainKeys()
{
    QFETCH(QString, chain);
    QFETCH(QString, start);
    QFETCH(QString, keys);
    QFETCH(QString, off);
    QFETCH(QString, wrap);
    QFETCH(QString, focused);
    QFETCH(int, clicks);
    QWidget form;
    auto* layout = new QHBoxLayout(&form);
    QHash<QString, QWidget*> controls;
    for (const QString name : {"A", "B", "C"}) {
        auto* edit = new QLineEdit(name + " text", &form);
        controls.insert(name, edit);
    }
    auto* ok = new QPushButton("OK", &form);
    controls.insert("Ok", ok);
    int pressed = 0;
    connect(ok, &QPushButton::clicked, [&] { ++pressed; });
    FocusChain focusChain(&form);
    for (const QString& name : chain.split(' ')) {
        layout->addWidget(controls.value(name));
        focusChain.add(controls.value(name));
    }
    if (!wrap.isEmpty())
        focusChain.wrapTo(controls.value(wrap));
    QVERIFY(showActive(&form));
    if (off.startsWith('-'))
        controls.value(off.mid(1))->setEnabled(false);
    if (off.startsWith('~'))
        controls.value(off.mid(1))->hide();

    controls.value(start)->setFocus();
    QCOMPARE(QApplication::focusWidget(), controls.value(start));
    for (const QChar key : keys) {
        QWidget* at = QApplication::focusWidget();
        // The caret inside the text must not keep Left arrow in the box.
        if (auto* edit = qobject_cast<QLineEdit*>(at))
            edit->setCursorPosition(3);
        if (key == 'E')
            QTest::keyClick(at, Qt::Key_Return);
        else if (key == 'K')
            QTest::keyClick(at, Qt::Key_Enter, Qt::KeypadModifier);
        else
            QTest::keyClick(at, Qt::Key_Left);
    }
    QCOMPARE(QApplication::focusWidget(), controls.value(focused));
    QCOMPARE(pressed, clicks);
    // A box reached by the keys has its text selected, ready to be typed over.
    if (auto* edit = qobject_cast<QLineEdit*>(controls.value(focused)); edit && focused != start)
        QCOMPARE(edit->selectedText(), edit->text());
}

void TestUiCommon::commandKeyInControls()
{
    TestShop shop;
    QWidget form;
    auto* layout = new QHBoxLayout(&form);
    auto* a = new QLineEdit;
    auto* b = new QLineEdit;
    auto* ok = new QPushButton("OK");
    auto* outside = new QLineEdit;
    for (QWidget* w : {static_cast<QWidget*>(a), static_cast<QWidget*>(b),
                       static_cast<QWidget*>(ok), static_cast<QWidget*>(outside)})
        layout->addWidget(w);
    FocusChain focusChain(&form);
    focusChain.add({a, b, ok});
    int saves = 0;
    bool fail = false;
    focusChain.bindInControls(Qt::Key_F2, [&] {
        if (fail)
            throw DbError("Enter a part number");
        ++saves;
    });
    QVERIFY(showActive(&form));

    for (QWidget* w : {static_cast<QWidget*>(a), static_cast<QWidget*>(b),
                       static_cast<QWidget*>(ok)}) {
        w->setFocus();
        QTest::keyClick(w, Qt::Key_F2);
    }
    QCOMPARE(saves, 3);
    QTest::keyClick(outside, Qt::Key_F2);
    QCOMPARE(saves, 3);

    fail = true;
    b->setFocus();
    QTest::keyClick(b, Qt::Key_F2);
    QCOMPARE(saves, 3);
    QCOMPARE(shop.prompter().texts(ScriptedPrompter::Kind::Error),
             QStringList{"Enter a part number"});
    QCOMPARE(QApplication::focusWidget(), b);
    QVERIFY(form.isVisible());
}

void TestUiCommon::guardReports_data()
{
    QTest::addColumn<int>("kind"); // 0 nothing, 1 DbError, 2 std::exception, 3 anything else
    QTest::addColumn<bool>("completed");
    QTest::addColumn<QStringList>("errors");
    QTest::newRow("command completes") << 0 << true << QStringList{};
    QTest::newRow("database error") << 1 << false << QStringList{"no such table: Partz"};
    QTest::newRow("other exception") << 2 << false << QStringList{"Invalid date: 2/30/2005"};
    QTest::newRow("unknown throw") << 3 << false << QStringList{QString()};
}

void TestUiCommon::guardReports()
{
    QFETCH(int, kind);
    QFETCH(bool, completed);
    QFETCH(QStringList, errors);
    ScriptedPrompter prompter;
    bool reachedEnd = false;
    const bool result = guard([&] {
        if (kind == 1)
            throw DbError("no such table: Partz");
        if (kind == 2)
            throw std::invalid_argument("Invalid date: 2/30/2005");
        if (kind == 3)
            throw 42;
        reachedEnd = true;
    });
    QCOMPARE(result, completed);
    QCOMPARE(reachedEnd, completed);
    QCOMPARE(prompter.texts(ScriptedPrompter::Kind::Error), errors);
    QCOMPARE(prompter.messages().size(), errors.size());
}

void TestUiCommon::latestForgetsDestroyedWindow()
{
    auto* older = new QWidget;
    auto* newer = new QWidget;
    Latest<QWidget>::set(older);
    Latest<QWidget>::set(newer);
    QCOMPARE(Latest<QWidget>::get(), newer);
    delete older;
    QCOMPARE(Latest<QWidget>::get(), newer);
    newer->deleteLater();
    ui::settle();
    QCOMPARE(Latest<QWidget>::get(), nullptr);
}

QTEST_MAIN(TestUiCommon)
#include "tst_ui_common.moc"
