// The building blocks every window is made of, worked the way a user works them: the grid over
// a query, the navigator buttons, the drop-down refilled on opening, the date box and its
// calendar, the Enter/Left keyboard order, and the guard that turns errors into messages.

#include "TestShop.h"
#include "Ui.h"
#include "data/Csv.h"
#include "data/DbError.h"
#include "data/Query.h"
#include "data/TDM.h"
#include "ui/common/DataGrid.h"
#include "ui/common/DateBox.h"
#include "ui/common/FocusChain.h"
#include "ui/common/Guard.h"
#include "ui/common/HistoryWindow.h"
#include "ui/common/ListBox.h"
#include "ui/common/Navigator.h"
#include "ui/common/PaymentWindow.h"
#include "ui/common/Prompter.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

using L = QStringList;
using Rows = QList<QStringList>;
using Kind = ScriptedPrompter::Kind;

const QString allParts = QStringLiteral("Select ID_Material, Type_Material, Number_Material, "
                                        "Price_Material From Part %1 Order By ID_Material");

// Four parts whose types, numbers and prices each sort in a different order.
void seedParts(TestShop& shop)
{
    const QString part = QStringLiteral("INSERT INTO Part (ID_Material, Type_Material, "
                                        "Number_Material, Price_Material) VALUES (?, ?, ?, ?)");
    shop.exec(part, {1, "Brake", "ZB-20", 45.5});
    shop.exec(part, {2, "Axle", "AX-10", 310.0});
    shop.exec(part, {3, "Filter", "FI-05", 12.0});
    shop.exec(part, {4, "Clutch", "CL-99", 199.99});
}

Query* openQuery(const QString& name, const QString& sql = allParts.arg(QString()))
{
    Query* q = TestShop::query(name);
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

void clickCell(DataGrid* grid, int row, int c = 1)
{
    const QRect rect = grid->visualRect(grid->model()->index(row, c));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
}

} // namespace

class TestUiCommon : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_shop = std::make_unique<TestShop>();
        seedParts(*m_shop);
    }
    void cleanup() { m_shop.reset(); }

    // After a message box, the focus is back in the box it was in, so that the window's keys
    // work at once; the program's own message boxes are used here, closed by a timer.
    void focusComesBackAfterAMessage()
    {
        QWidget form;
        auto* layout = new QHBoxLayout(&form);
        auto* first = new QLineEdit(&form);
        auto* second = new QLineEdit(&form);
        layout->addWidget(first);
        layout->addWidget(second);
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        second->setFocus();
        QCOMPARE(QApplication::focusWidget(), second);
        Prompter::install(nullptr);
        QTimer::singleShot(50, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                box->close();
        });
        Prompter::instance().inform(QStringLiteral("Saved!"));
        Prompter::install(&m_shop->prompter());
        QCOMPARE(QApplication::focusWidget(), second);
    }

    void gridShowsTheQuery_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<Rows>("cells");
        QTest::newRow("every part") << QString()
                                    << Rows{{"1", "Brake", "ZB-20", "45.50"},
                                            {"2", "Axle", "AX-10", "310.00"},
                                            {"3", "Filter", "FI-05", "12.00"},
                                            {"4", "Clutch", "CL-99", "199.99"}};
        QTest::newRow("one type") << "Where Type_Material = 'Axle'"
                                  << Rows{{"2", "Axle", "AX-10", "310.00"}};
        QTest::newRow("nothing found") << "Where ID_Material = 99" << Rows{};
    }
    void gridShowsTheQuery()
    {
        QFETCH(QString, where);
        QFETCH(Rows, cells);
        DataGrid grid(TestShop::query("QPart1"));
        openQuery("QPart1", allParts.arg(where));
        QCOMPARE(ui::rowCount(&grid), cells.size());
        QCOMPARE(grid.model()->columnCount(), 4);
        for (int row = 0; row < cells.size(); ++row)
            for (int c = 0; c < 4; ++c)
                QCOMPARE(ui::cell(&grid, row, c), cells.at(row).at(c));
        // The grid opens on the query's first row, selected whole; an empty list has none.
        QCOMPARE(grid.currentIndex().row(), cells.isEmpty() ? -1 : 0);
        QCOMPARE(grid.selectionModel()->isRowSelected(0), !cells.isEmpty());
    }

    // Two grids and a navigator over one query: whatever moves the query, either grid or the
    // navigator moves all of them; the navigator reports only its own moves.
    void gridsFollowTheQuery_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("move");
        QTest::addColumn<int>("row");
        QTest::newRow("next") << 0 << "next" << 1;
        QTest::newRow("last") << 0 << "last" << 3;
        QTest::newRow("current row set") << 0 << "row 2" << 2;
        QTest::newRow("locate by type") << 0 << "locate cl" << 3;
        QTest::newRow("click in the first grid") << 0 << "click first 2" << 2;
        QTest::newRow("click in the second grid") << 1 << "click second 3" << 3;
        QTest::newRow("down arrow in the second grid") << 0 << "down second" << 1;
        QTest::newRow("First button") << 2 << "button First" << 0;
        QTest::newRow("Prior button") << 2 << "button Prior" << 1;
        QTest::newRow("Next button") << 1 << "button Next" << 2;
        QTest::newRow("Last button") << 0 << "button Last" << 3;
        QTest::newRow("Prior on the first row stays") << 0 << "button Prior" << 0;
        QTest::newRow("Next on the last row stays") << 3 << "button Next" << 3;
        QTest::newRow("First on the first row") << 0 << "button First" << 0;
    }
    void gridsFollowTheQuery()
    {
        QFETCH(int, from);
        QFETCH(QString, move);
        QFETCH(int, row);
        Query* q = openQuery("QPart2");
        QWidget host;
        auto* layout = new QHBoxLayout(&host);
        auto* first = new DataGrid(q);
        auto* second = new DataGrid(q);
        auto* navigator = new Navigator(q);
        layout->addWidget(first);
        layout->addWidget(second);
        layout->addWidget(navigator);
        host.resize(1000, 300);
        QVERIFY(showActive(&host));
        QVERIFY(!navigator->button("Delete"));
        q->setCurrentRow(from);
        QSignalSpy moved(navigator, &Navigator::moved);

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
            clickCell(grid, words.last().toInt());
        else if (words.first() == "button")
            ui::click(ui::find<QToolButton>(navigator, words.last()));
        else
            ui::press(grid, Qt::Key_Down);

        QCOMPARE(moved.size(), words.first() == "button" ? 1 : 0);
        QCOMPARE(q->currentRow(), row);
        for (DataGrid* each : {first, second}) {
            QCOMPARE(each->currentIndex().row(), row);
            QCOMPARE(each->selectionModel()->selectedRows().size(), 1);
            QVERIFY(each->selectionModel()->isRowSelected(row));
            QCOMPARE(ui::cell(each, row, 1), q->field("Type_Material").asText());
        }
    }

    void sortReordersEveryGrid_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<QStringList>("types");
        QTest::newRow("type") << "Type_Material" << L{"Axle", "Brake", "Clutch", "Filter"};
        QTest::newRow("price descending")
            << "Price_Material DESC" << L{"Axle", "Clutch", "Brake", "Filter"};
        QTest::newRow("number descending")
            << "Number_Material DESC" << L{"Brake", "Filter", "Clutch", "Axle"};
        QTest::newRow("loaded order") << "" << L{"Brake", "Axle", "Filter", "Clutch"};
    }
    void sortReordersEveryGrid()
    {
        QFETCH(QString, order);
        QFETCH(QStringList, types);
        Query* q = openQuery("QPart1");
        DataGrid first(q);
        DataGrid second(q);
        q->sort("ID_Material DESC");
        q->setCurrentRow(1); // Filter
        q->sort(order);
        for (DataGrid* grid : {&first, &second}) {
            QCOMPARE(column(grid, 1), types);
            // The part the user was on stays current wherever the order put it.
            QCOMPARE(grid->currentIndex().row(), types.indexOf("Filter"));
        }
        QCOMPARE(q->field("Type_Material").asText(), QStringLiteral("Filter"));
    }

    void titlesAndRedTitle()
    {
        DataGrid grid(TestShop::query("QPart1"));
        grid.setTitles({"No.", "Type"});
        openQuery("QPart1");
        QHeaderView* header = grid.horizontalHeader();
        auto title = [&](int c, int role) {
            return header->model()->headerData(c, Qt::Horizontal, role);
        };
        const QStringList titles = {"No.", "Type", "Number_Material", "Price_Material"};
        for (int c = 0; c < 4; ++c)
            QCOMPARE(title(c, Qt::DisplayRole).toString(), titles.at(c));
        grid.setRedTitle(2);
        for (int c = 0; c < 4; ++c)
            QCOMPARE(title(c, Qt::ForegroundRole).value<QColor>(),
                     QColor(c == 2 ? Qt::red : Qt::black));
        grid.setRedTitle(-1);
        for (int c = 0; c < 4; ++c)
            QCOMPARE(title(c, Qt::ForegroundRole).value<QColor>(), QColor(Qt::black));

        // A click on a title is reported; whether it sorts is the window's business.
        grid.resize(600, 250);
        QVERIFY(showActive(&grid));
        QSignalSpy clicked(&grid, &DataGrid::titleClicked);
        const int x = header->sectionViewportPosition(2) + header->sectionSize(2) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(clicked.at(0).at(0).toInt(), 2);
        QCOMPARE(column(&grid, 1), (L{"Brake", "Axle", "Filter", "Clutch"}));
    }

    void typedCharactersDoNotMoveTheGrid()
    {
        Query* q = openQuery("QPart1");
        DataGrid grid(q);
        grid.resize(600, 250);
        QVERIFY(showActive(&grid));
        grid.setFocus();
        // A letter in the type column or a digit in the ID column would pick a part by its
        // first character if the grid searched on its own.
        auto rowAfter = [&](const char key) {
            QTest::keyClick(&grid, key);
            return q->currentRow();
        };
        QCOMPARE(rowAfter('3'), 0);
        clickCell(&grid, 0, 1);
        QTest::qWait(QApplication::keyboardInputInterval() + 50);
        QCOMPARE(rowAfter('c'), 0);
        QCOMPARE(rowAfter('f'), 0);
        QCOMPARE(grid.currentIndex().row(), 0);
    }

    void deleteButton()
    {
        Query* q = openQuery("QPart1");
        Navigator navigator(q);
        bool refuse = false;
        navigator.enableDelete([&] {
            if (refuse)
                throw DbError("The part is on an open invoice");
            m_shop->exec("DELETE FROM Part WHERE ID_Material = ?",
                         {q->field("ID_Material").asInteger()});
            openQuery("QPart1");
        });
        QVERIFY(showActive(&navigator));
        QSignalSpy moved(&navigator, &Navigator::moved);
        q->setCurrentRow(2);
        ui::click(&navigator, "Delete");
        QCOMPARE(moved.size(), 1);
        QCOMPARE(m_shop->rows("select ID_Material from Part order by 1"),
                 (QList<QVariantList>{{1}, {2}, {4}}));
        QCOMPARE(q->recordCount(), 3);

        // A refused delete is explained and the list stays where it was.
        refuse = true;
        ui::click(&navigator, "Delete");
        QCOMPARE(moved.size(), 1);
        QCOMPARE(m_shop->prompter().texts(Kind::Error), L{"The part is on an open invoice"});
        QCOMPARE(m_shop->value("select count(*) from Part").toInt(), 3);
    }

    // The types stored before the first and before the second opening of the drop-down;
    // "<null>" stores no type, and a source that fails is reported and leaves the list as it was.
    void listBoxRefillsOnOpening_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QStringList>("firstList");
        QTest::addColumn<QStringList>("secondList");
        QTest::addColumn<bool>("fails");
        // Each value once, in alphabetical order whatever order the rows come in.
        const L both = {"Axle", "Brake"};
        QTest::newRow("each value once")
            << L{"Brake", "Axle", "Brake"} << L{"Axle", "Axle"} << both << L{"Axle"} << false;
        QTest::newRow("values added") << L{"Brake"} << L{"Brake", "Axle", "Brake", "Hub"}
                                      << L{"Brake"} << L{"Axle", "Brake", "Hub"} << false;
        QTest::newRow("empty and missing values skipped")
            << L{"", "Brake", "<null>"} << L{"", "hub", "<null>", "Brake"} << L{"Brake"}
            << L{"Brake", "hub"} << false;
        QTest::newRow("source fails") << both << L{"Hub"} << both << both << true;
    }
    void listBoxRefillsOnOpening()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        QFETCH(QStringList, firstList);
        QFETCH(QStringList, secondList);
        QFETCH(bool, fails);
        auto store = [&](const QStringList& types) {
            m_shop->exec("DELETE FROM Part");
            for (int id = 0; id < types.size(); ++id)
                m_shop->exec("INSERT INTO Part (ID_Material, Type_Material) VALUES (?, ?)",
                             {id, types.at(id) == "<null>" ? QVariant() : QVariant(types.at(id))});
        };
        bool failing = false;
        ListBox box;
        box.setSource([&] {
            if (failing)
                throw DbError("Could not read the parts list");
            Query* q = openQuery("Q1", "Select Type_Material From Part Order By ID_Material");
            QStringList values;
            for (int row = 0; row < q->recordCount(); ++row)
                values.append(q->field(row, 0).asText());
            return values;
        });
        QVERIFY(showActive(&box));
        store(before);
        box.showPopup();
        QVERIFY(box.view()->isVisible());
        QCOMPARE(column(box.view(), 0), firstList);
        box.hidePopup();

        store(after);
        failing = fails;
        ui::type(&box, "Drum");
        box.showPopup();
        QCOMPARE(box.view()->isVisible(), !fails);
        QCOMPARE(column(box.view(), 0), secondList);
        QCOMPARE(box.text(), QStringLiteral("Drum"));
        box.hidePopup();
        QCOMPARE(box.text(), QStringLiteral("Drum"));
        QCOMPARE(m_shop->prompter().texts(Kind::Error),
                 fails ? L{"Could not read the parts list"} : L{});
    }

    // The calendar opens on the date typed in the box (today when there is none) and writes
    // the day picked with the mouse or Enter back as month/day/year.
    void calendarPicksDate_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("opensOn");
        QTest::addColumn<QDate>("picked");
        QTest::addColumn<bool>("byMouse");
        QTest::addColumn<QString>("text");
        const QDate today = QDate::currentDate();
        QTest::newRow("clicked day")
            << "1/15/2010" << QDate(2010, 1, 15) << QDate(2005, 3, 7) << true << "3/7/2005";
        QTest::newRow("Enter on a day")
            << "12/31/99" << QDate(1999, 12, 31) << QDate(2005, 3, 7) << false << "3/7/2005";
        QTest::newRow("two-digit year of this century")
            << "7/4/05" << QDate(2005, 7, 4) << QDate(1999, 12, 31) << true << "12/31/1999";
        QTest::newRow("empty box") << "" << today << QDate(2024, 10, 5) << false << "10/5/2024";
        QTest::newRow("not a date")
            << "next week" << today << QDate(2024, 10, 5) << true << "10/5/2024";
        QTest::newRow("no such day")
            << "2/30/2005" << today << QDate(2010, 1, 1) << false << "1/1/2010";
    }
    void calendarPicksDate()
    {
        QFETCH(QString, typed);
        QFETCH(QDate, opensOn);
        QFETCH(QDate, picked);
        QFETCH(bool, byMouse);
        QFETCH(QString, text);
        DateBox box;
        box.setText(typed);
        QVERIFY(showActive(&box));
        QSignalSpy pickedSpy(&box, &DateBox::datePicked);
        ui::click(&box, "CalendarButton");
        QCalendarWidget* calendar = box.calendar();
        QVERIFY(QTest::qWaitForWindowExposed(calendar->window()));
        QCOMPARE(calendar->selectedDate(), opensOn);
        QCOMPARE(box.text(), typed);

        calendar->setSelectedDate(picked);
        auto* days = calendar->findChild<QTableView*>();
        QVERIFY(days);
        if (byMouse)
            QTest::mouseClick(days->viewport(), Qt::LeftButton, {},
                              days->visualRect(days->currentIndex()).center());
        else
            QTest::keyClick(days, Qt::Key_Return);
        QCOMPARE(box.text(), text);
        QCOMPARE(pickedSpy.size(), 1);
        QVERIFY(!calendar->isVisible());
    }

    // Keys: E Enter, K keypad Enter, L Left arrow. "off" names a control disabled (-) or
    // hidden (~) before the keys are pressed.
    void focusChainKeys_data()
    {
        QTest::addColumn<QString>("chain");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("off");
        QTest::addColumn<QString>("wrap");
        QTest::addColumn<QString>("focused");
        QTest::addColumn<int>("clicks");
        QTest::newRow("Enter walks forward") << "A B C Ok"
                                             << "A"
                                             << "EEE"
                                             << ""
                                             << ""
                                             << "Ok" << 0;
        QTest::newRow("keypad Enter") << "A B C Ok"
                                      << "A"
                                      << "K"
                                      << ""
                                      << ""
                                      << "B" << 0;
        QTest::newRow("Enter on the button") << "A B C Ok"
                                             << "Ok"
                                             << "E"
                                             << ""
                                             << ""
                                             << "Ok" << 1;
        QTest::newRow("walk and press") << "A B C Ok"
                                        << "A"
                                        << "EEEE"
                                        << ""
                                        << ""
                                        << "Ok" << 1;
        QTest::newRow("Left walks back") << "A B C Ok"
                                         << "Ok"
                                         << "LLL"
                                         << ""
                                         << ""
                                         << "A" << 0;
        QTest::newRow("Left at the first stays") << "A B C"
                                                 << "A"
                                                 << "L"
                                                 << ""
                                                 << ""
                                                 << "A" << 0;
        QTest::newRow("Enter at the last stays") << "A B C"
                                                 << "C"
                                                 << "E"
                                                 << ""
                                                 << ""
                                                 << "C" << 0;
        QTest::newRow("wrap on Enter") << "A B C"
                                       << "C"
                                       << "E"
                                       << ""
                                       << "B"
                                       << "B" << 0;
        QTest::newRow("wrap on Left") << "A B C"
                                      << "A"
                                      << "L"
                                      << ""
                                      << "B"
                                      << "C" << 0;
        QTest::newRow("disabled skipped") << "A B C Ok"
                                          << "A"
                                          << "E"
                                          << "-B"
                                          << ""
                                          << "C" << 0;
        QTest::newRow("disabled, Left") << "A B C Ok"
                                        << "C"
                                        << "L"
                                        << "-B"
                                        << ""
                                        << "A" << 0;
        QTest::newRow("hidden skipped") << "A B C Ok"
                                        << "A"
                                        << "E"
                                        << "~B"
                                        << ""
                                        << "C" << 0;
        QTest::newRow("hidden last wraps") << "A B C Ok"
                                           << "B"
                                           << "EE"
                                           << "~Ok"
                                           << "A"
                                           << "A" << 0;
    }
    void focusChainKeys()
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
        for (const QString name : {"A", "B", "C"})
            controls.insert(name, new QLineEdit(name + " text", &form));
        auto* ok = new QPushButton("OK", &form);
        controls.insert("Ok", ok);
        int pressed = 0;
        connect(ok, &QPushButton::clicked, this, [&] { ++pressed; });
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
            // The caret inside the text does not keep Left arrow in the box.
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
        auto* edit = qobject_cast<QLineEdit*>(controls.value(focused));
        if (edit && focused != start)
            QCOMPARE(edit->selectedText(), edit->text());
    }

    void commandKeyInControls()
    {
        QWidget form;
        auto* layout = new QHBoxLayout(&form);
        QLineEdit a, b, outside;
        QPushButton ok("OK");
        const QList<QWidget*> inChain = {&a, &b, &ok};
        for (QWidget* w : inChain + QList<QWidget*>{&outside})
            layout->addWidget(w);
        FocusChain focusChain(&form);
        focusChain.add({&a, &b, &ok});
        int saves = 0;
        bool fail = false;
        focusChain.bindInControls(Qt::Key_F2, [&] {
            if (fail)
                throw DbError("Enter a part number");
            ++saves;
        });
        QVERIFY(showActive(&form));
        for (QWidget* w : inChain) {
            w->setFocus();
            QTest::keyClick(w, Qt::Key_F2);
        }
        QCOMPARE(saves, 3);
        outside.setFocus();
        QTest::keyClick(&outside, Qt::Key_F2);
        QCOMPARE(saves, 3);
        QVERIFY(m_shop->prompter().messages().isEmpty());

        fail = true;
        b.setFocus();
        QTest::keyClick(&b, Qt::Key_F2);
        QCOMPARE(m_shop->prompter().texts(Kind::Error), L{"Enter a part number"});
        QCOMPARE(QApplication::focusWidget(), &b);
        QVERIFY(form.isVisible());
    }

    void guardReports_data()
    {
        QTest::addColumn<int>("thrown"); // 0 nothing, 1 DbError, 2 std::exception, 3 other
        QTest::addColumn<bool>("completed");
        QTest::addColumn<QStringList>("errors");
        QTest::newRow("command completes") << 0 << true << L{};
        QTest::newRow("database error") << 1 << false << L{"no such table: Partz"};
        QTest::newRow("other exception") << 2 << false << L{"Invalid date: 2/30/2005"};
        QTest::newRow("unknown throw") << 3 << false << L{QString()};
    }
    void guardReports()
    {
        QFETCH(int, thrown);
        QFETCH(bool, completed);
        QFETCH(QStringList, errors);
        ScriptedPrompter& prompter = m_shop->prompter();
        bool reachedEnd = false;
        const bool result = guard([&] {
            if (thrown == 1)
                throw DbError("no such table: Partz");
            if (thrown == 2)
                throw std::invalid_argument("Invalid date: 2/30/2005");
            if (thrown == 3)
                throw 42;
            reachedEnd = true;
        });
        QCOMPARE(result, completed);
        QCOMPARE(reachedEnd, completed);
        QCOMPARE(prompter.texts(Kind::Error), errors);
        QCOMPARE(prompter.messages().size(), errors.size());
    }

    // Columns fit what they show, and a width the user dragged stays for the session, in this
    // window's grid and in the same grid of the window opened again.
    void gridWidthsFitAndStay()
    {
        const QString long1 = QStringLiteral("A rather long part name, much longer than a title");
        m_shop->exec("INSERT INTO Part (ID_Material, Number_Material) VALUES (901, ?)", {long1});
        auto open = [] {
            auto* form = new QWidget;
            form->setObjectName(QStringLiteral("WidthForm"));
            auto* layout = new QHBoxLayout(form);
            Query* q = new Query(QStringLiteral("QPart1"), DM->admin1(), form);
            auto* grid = new DataGrid(q, form);
            grid->setObjectName(QStringLiteral("DBGrid1"));
            layout->addWidget(grid);
            form->resize(900, 300);
            form->show();
            q->setSql({"Select ID_Material, Number_Material, Remark_Material From Part"});
            q->open();
            return std::pair{form, grid};
        };
        auto [form, grid] = open();
        const int fitted = grid->columnWidth(1);
        QVERIFY2(fitted >= grid->fontMetrics().horizontalAdvance(long1),
                 qPrintable(QString::number(fitted)));
        QVERIFY(grid->columnWidth(0) < fitted);
        // The user drags the name column narrower; a reload keeps it.
        grid->horizontalHeader()->resizeSection(1, 90);
        grid->query()->open();
        QCOMPARE(grid->columnWidth(1), 90);
        delete form;
        auto [again, second] = open();
        QCOMPARE(second->columnWidth(1), 90);
        delete again;
    }

    // A list described with a navigator delete, a total, a title sort limited to two columns
    // and a pick: the base every payment list and finder stands on.
    void historyListWithTotalDeleteAndPick()
    {
        QStringList picked;
        HistoryDescription d;
        d.caption = QStringLiteral("PartList");
        d.statement = [](const QString& type) -> std::optional<TableRead> {
            if (type == QLatin1String("none"))
                return std::nullopt;
            return SqlSelect::all(QStringLiteral("Part"));
        };
        d.titles = {"No", "Type"};
        d.navigator = true;
        d.titleSort = true;
        d.sortable = {"Type_Material", "Price_Material"};
        d.initialSort = QStringLiteral("Number_Material");
        d.deleteFrom = QStringLiteral("Part");
        d.total = HistoryDescription::Total{
            "Total $", "TotalLabel", [] {
                Query* sum = TestShop::query(QStringLiteral("Sum"));
                sum->setSql(SqlStatement{{QStringLiteral("Select Sum(Price_Material) From Part")}});
                sum->open();
                return sum->field(0, 0);
            }};
        d.pick = [&picked](const Query* row) {
            picked.append(row->field("Number_Material").asText());
        };
        auto* w = new HistoryWindow(d);
        w->load(QString());
        QVERIFY(showActive(w));
        QCOMPARE(column(w->grid(), w->query()->columnIndex("Number_Material")),
                 (L{"AX-10", "CL-99", "FI-05", "ZB-20"}));
        QCOMPARE(ui::find<QLabel>(w, "TotalLabel")->text(), QStringLiteral("567.49"));
        // Only the described columns sort; the others leave every title black.
        const int type = w->query()->columnIndex("Type_Material");
        emit w->grid()->titleClicked(w->query()->columnIndex("ID_Material"));
        QCOMPARE(w->query()->sortText(), QStringLiteral("Number_Material"));
        emit w->grid()->titleClicked(type);
        QCOMPARE(column(w->grid(), type), (L{"Axle", "Brake", "Clutch", "Filter"}));
        // Delete removes the current row after the question; the total follows.
        w->query()->setCurrentRow(1);
        m_shop->prompter().answer({true});
        ui::click(ui::find<Navigator>(w, "DBNavigator1")->button("Delete"));
        QCOMPARE(m_shop->prompter().texts(), L{"Delete record?"});
        QCOMPARE(m_shop->value("Select Count(*) From Part where Type_Material='Brake'").toInt(), 0);
        QCOMPARE(column(w->grid(), type), (L{"Axle", "Clutch", "Filter"}));
        QCOMPARE(w->query()->currentRow(), 1);
        QCOMPARE(ui::find<QLabel>(w, "TotalLabel")->text(), QStringLiteral("521.99"));
        // A row removed elsewhere meanwhile is reported, not claimed as deleted.
        m_shop->exec("Delete From Part where Type_Material='Clutch'");
        m_shop->prompter().clear();
        m_shop->prompter().answer({true});
        ui::click(ui::find<Navigator>(w, "DBNavigator1")->button("Delete"));
        QCOMPARE(m_shop->prompter().texts(Kind::Inform).size(), 1);
        QCOMPARE(ui::rowCount(w->grid()), 2);
        // Enter on a row hands it over and closes the list.
        QPointer<HistoryWindow> alive = w;
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->grid()->setFocus();
        w->query()->setCurrentRow(0);
        ui::press(w->grid(), Qt::Key_Return);
        ui::settle();
        QCOMPARE(picked, L{"AX-10"});
        QVERIFY(!alive);
        // Nothing to look for: an empty list, and Delete asks nothing.
        HistoryWindow empty(d);
        empty.load(QStringLiteral("none"));
        m_shop->prompter().clear();
        empty.deleteCurrent();
        QCOMPARE(m_shop->prompter().texts(), L{});
        QCOMPARE(ui::rowCount(empty.grid()), 0);
    }

    // Ctrl+C copies the rows selected with Ctrl and Shift clicks, in their order on the list,
    // as tab-separated plain values; the current row alone when none is selected.
    void gridCopiesSelectedRows()
    {
        Query* q = openQuery("Copy", "Select Number_Material, Type_Material, Price_Material From "
                                     "Part Order By Number_Material");
        DataGrid grid(q);
        grid.setTitles({"No", "Type", "Price $"});
        QVERIFY(showActive(&grid));
        clickCell(&grid, 2);
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ControlModifier,
                          grid.visualRect(grid.model()->index(0, 1)).center());
        QApplication::clipboard()->clear();
        ui::press(&grid, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("AX-10\tAxle\t310.00\nFI-05\tFilter\t12.00\n"));
        // Shift extends from the row clicked first.
        grid.clearSelection();
        clickCell(&grid, 0);
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          grid.visualRect(grid.model()->index(1, 1)).center());
        grid.copyRows();
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("AX-10\tAxle\t310.00\nCL-99\tClutch\t199.99\n"));
        grid.clearSelection();
        q->setCurrentRow(3);
        grid.clearSelection();
        grid.copyRows();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("ZB-20\tBrake\t45.50\n"));
        // Export writes every row under the titles shown.
        const QString file = m_shop->folder() + "/rows.csv";
        QVERIFY(grid.exportRowsTo(file));
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(),
                 QByteArray("\xEF\xBB\xBFNo,Type,Price $\r\nAX-10,Axle,310.00\r\n"
                            "CL-99,Clutch,199.99\r\nFI-05,Filter,12.00\r\n"
                            "ZB-20,Brake,45.50\r\n"));
        // A file that cannot be written is reported.
        m_shop->prompter().clear();
        QVERIFY(!grid.exportRowsTo(m_shop->folder() + "/no/such/folder/rows.csv"));
        QVERIFY(m_shop->prompter().last().contains("could not be written"));
    }

    // A list read a screen at a time exports every row, in the order shown.
    void pagedGridExportsEveryRow()
    {
        m_shop->exec("Delete From Part");
        for (int id = 1; id <= 300; ++id)
            m_shop->exec("Insert into Part (ID_Material, Number_Material) values (?, ?)",
                         {id, QStringLiteral("N-%1").arg((id * 7) % 300, 3, 10, QLatin1Char('0'))});
        Query* q = TestShop::query(QStringLiteral("Paged"));
        q->close();
        q->clear();
        q->openPaged(
            SqlSelect::all(QStringLiteral("Part"), QStringLiteral("ID_Material, Number_Material")),
            QStringLiteral("Number_Material"));
        DataGrid grid(q);
        QVERIFY(showActive(&grid));
        QVERIFY(q->heldRows() < 300);
        const Csv::Table table = grid.rowsTable(false);
        QCOMPARE(table.rows.size(), 300);
        QCOMPARE(table.rows.first().value(1), QStringLiteral("N-000"));
        QCOMPARE(table.rows.last().value(1), QStringLiteral("N-299"));
    }

    // A list found by what is typed into its search box, read whole by a statement of its
    // own, with a second list of the rows that belong to the row the user is on.
    void historySearchBoxAndDetail()
    {
        m_shop->exec("Insert into InvItem (Inv_Item, Color_Item, Name_Item) values (1, 'AX-10', "
                     "'front axle')");
        m_shop->exec("Insert into InvItem (Inv_Item, Color_Item, Name_Item) values (2, 'AX-10', "
                     "'rear axle')");
        m_shop->exec("Insert into InvItem (Inv_Item, Color_Item, Name_Item) values (3, 'FI-05', "
                     "'oil filter')");
        HistoryDescription d;
        d.caption = QStringLiteral("PartsByType");
        d.search = HistoryDescription::Search{QStringLiteral("&Type:"), QStringLiteral("TypeBox")};
        d.wholeStatement = [](const QString& text) -> std::optional<SqlStatement> {
            if (text.trimmed().isEmpty())
                return std::nullopt;
            return SqlStatement{{QStringLiteral("Select Number_Material, Type_Material From Part "
                                                "where Type_Material Like ? Order By "
                                                "Number_Material")},
                                {text.trimmed() + QLatin1Char('%')}};
        };
        d.titles = {"No", "Type"};
        d.detail = HistoryDescription::Detail{
            QStringLiteral("LinesGrid"), {"Line"}, [](const Query& row) {
                return std::optional<SqlStatement>(SqlStatement{
                    {QStringLiteral("Select Name_Item From InvItem where Color_Item = ? Order "
                                    "By Inv_Item")},
                    {row.field(QStringLiteral("Number_Material")).asText()}});
            }};
        HistoryWindow w(d);
        QVERIFY(showActive(&w));
        QLineEdit* box = w.searchBox();
        QCOMPARE(box->objectName(), QStringLiteral("TypeBox"));
        // Typing shows nothing until the user pauses; Enter looks at once.
        box->setFocus();
        QTest::keyClicks(box, "a");
        QCOMPARE(ui::rowCount(w.grid()), 0);
        ui::press(box, Qt::Key_Return);
        QCOMPARE(column(w.grid(), 0), (L{"AX-10"}));
        QCOMPARE(column(w.detailGrid(), 0), (L{"front axle", "rear axle"}));
        // After a pause the list follows the text, and the lines follow the current row.
        box->clear();
        QTest::keyClicks(box, "f");
        QTRY_COMPARE(column(w.grid(), 0), (L{"FI-05"}));
        QCOMPARE(column(w.detailGrid(), 0), (L{"oil filter"}));
        box->clear();
        QTest::keyClicks(box, "%");
        QTRY_COMPARE(ui::rowCount(w.grid()), 4);
        w.query()->setCurrentRow(0);
        QCOMPARE(column(w.detailGrid(), 0), (L{"front axle", "rear axle"}));
        w.query()->setCurrentRow(1);
        QCOMPARE(ui::rowCount(w.detailGrid()), 0);
        // Nothing to look for: both lists empty.
        box->clear();
        QTRY_COMPARE(ui::rowCount(w.grid()), 0);
        QCOMPARE(ui::rowCount(w.detailGrid()), 0);
        QCOMPARE(w.value(), QString());
    }

    // A list longer than what it reads at once: it shows the count, sorts on the database,
    // and Print prints every row in the order shown, not only the rows read so far.
    void longHistoryListPrintsEveryRow()
    {
        m_shop->exec("Delete From Part");
        for (int id = 1; id <= 300; ++id)
            m_shop->exec("Insert into Part (ID_Material, Number_Material) values (?, ?)",
                         {id, QStringLiteral("N-%1").arg((id * 7) % 300, 3, 10, QLatin1Char('0'))});
        QStringList printed;
        HistoryDescription d;
        d.caption = QStringLiteral("LongList");
        d.statement = [](const QString&) -> std::optional<TableRead> {
            return SqlSelect::all(QStringLiteral("Part"));
        };
        d.titleSort = true;
        d.print = [&printed](const Query* rows) {
            for (int row = 0; row < rows->recordCount(); ++row)
                printed.append(
                    rows->field(row, rows->columnIndex(QStringLiteral("Number_Material")))
                        .asText());
        };
        HistoryWindow w(d);
        w.load(QString());
        QVERIFY(showActive(&w));
        QCOMPARE(ui::rowCount(w.grid()), 300);
        QVERIFY(w.query()->heldRows() < 300);
        emit w.grid()->titleClicked(w.query()->columnIndex(QStringLiteral("Number_Material")));
        ui::click(ui::find<QPushButton>(&w, "PrintButton"));
        QCOMPARE(printed.size(), 300);
        QStringList sorted = printed;
        std::sort(sorted.begin(), sorted.end());
        QCOMPARE(printed, sorted);
        QCOMPARE(printed.first(), QStringLiteral("N-000"));
        QCOMPARE(printed.last(), QStringLiteral("N-299"));
    }

    // A payment form described for documents numbered by text, where every Save adds a payment
    // and a text that names no document leaves the form as it was.
    void paymentFormForTextDocuments()
    {
        m_shop->exec("Insert into Bill (Ref_Bill, Vendor_Bill, Amount_Bill) values "
                     "('B-7', 'Parts ''R'' Us', 150)");
        m_shop->exec("Insert into Payable (BillNo_Payable, Amount_Payable) values ('B-7', 100)");
        class Form : public PaymentWindow
        {
        public:
            using PaymentWindow::PaymentWindow;
            int finders = 0;

        protected:
            void openFinder() override { ++finders; }
        };
        PaymentDescription d;
        d.title = QStringLiteral("Paying");
        d.table = QStringLiteral("Payable");
        d.boxes = {{"BillNo_Payable", "Ref", FormBox::Edit, {}, "Edit1"},
                   {"Name_Payable", "Vendor", FormBox::Edit, {}, "ComboBox1"},
                   {"PayDate_Payable", "Pay Date", FormBox::Date, {}, "Edit2"},
                   {"Ref_Payable", "Ref / Check", FormBox::Edit, {}, "Edit3"},
                   {"Amount_Payable", "Amount", FormBox::Edit, {}, "Edit4"}};
        d.documentColumn = QStringLiteral("BillNo_Payable");
        d.numberedDocuments = false;
        d.documentTable = QStringLiteral("Bill");
        d.documentKey = QStringLiteral("Ref_Bill");
        d.partyColumn = QStringLiteral("Vendor_Bill");
        d.amountColumn = QStringLiteral("Amount_Bill");
        d.amountBox = QStringLiteral("Amount_Payable");
        d.payDateBox = QStringLiteral("PayDate_Payable");
        d.fromDocument = {{"Name_Payable", "Vendor_Bill"}};
        d.clearWhenMissing = false;
        d.referenceColumn = QStringLiteral("Ref_Payable");
        d.referenceLoads = false;
        d.clearsAfterNo = true;
        Form w(d);
        QVERIFY(showActive(&w));
        auto figure = [&w](const char* name) { return ui::find<QLabel>(&w, name)->text(); };
        ui::type(ui::find<QLineEdit>(&w, "Edit1"), "B-7");
        QCOMPARE(figure("Label9"), QStringLiteral("Parts 'R' Us"));
        QCOMPARE(figure("Label14"), QStringLiteral("100"));
        QCOMPARE(figure("Label16"), QStringLiteral("50"));
        // Part of the bill is paid: what is still owed is proposed.
        QCOMPARE(w.text("Amount_Payable"), QStringLiteral("50.00"));
        // Typing on past the number keeps what the form showed.
        ui::type(ui::find<QLineEdit>(&w, "Edit1"), "B-7' or '1'='1");
        QCOMPARE(figure("Label9"), QStringLiteral("Parts 'R' Us"));
        QCOMPARE(w.text("Amount_Payable"), QStringLiteral("50.00"));
        ui::type(ui::find<QLineEdit>(&w, "Edit1"), "B-7");
        ui::type(ui::find<QLineEdit>(&w, "Edit3"), "CHK 1");
        // The same reference twice gives two payments.
        for (int i = 0; i < 2; ++i) {
            w.setText("BillNo_Payable", "B-7");
            m_shop->prompter().answer({true});
            w.save();
        }
        QCOMPARE(m_shop->value("Select Count(*) From Payable where BillNo_Payable='B-7'").toInt(),
                 3);
        // No still clears the form for the next payment.
        w.setText("BillNo_Payable", "B-7");
        m_shop->prompter().answer({false});
        w.save();
        QCOMPARE(w.text("BillNo_Payable"), QString());
        QCOMPARE(w.text("Amount_Payable"), QStringLiteral("0.00"));
        ui::click(&w, "SpeedButton1");
        QCOMPARE(w.finders, 1);
        // Delete and Cancel say how instead of doing nothing.
        QVERIFY(!ui::find<QPushButton>(&w, "Button3")->isEnabled());
        QVERIFY(!ui::find<QPushButton>(&w, "Button7")->isEnabled());
    }

private:
    std::unique_ptr<TestShop> m_shop;
};

QTEST_MAIN(TestUiCommon)
#include "tst_ui_common.moc"
