#include "app/TMainForm.h"

#include "app/HelpWindow.h"
#include "app/ShopKeeping.h"
#include "data/Connection.h"
#include "data/ServerDatabase.h"
#include "data/ShopDatabase.h"
#include "data/TDM.h"
#include "ui/common/DataGrid.h"
#include "ui/common/Guard.h"
#include "ui/common/Prompter.h"
#include "ui/common/WindowParts.h"
#include "ui/common/Windows.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QSqlDatabase>
#include <QStatusBar>
#include <QSvgWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString oneWindowMessage =
    QStringLiteral("One window is open Please close window and again slest item");

const QString notBuiltHint = QStringLiteral("This task is not available in this version");

// The program, its release, and the shop file in use with the version of its tables.
QString aboutText()
{
    QString text = QStringLiteral("Tavlin %1\nThe management program of Tavlin Truck Repair.")
                       .arg(QStringLiteral(TAVLIN_VERSION));
    if (DM && DM->admin1()->isOpen()) {
        Connection* shop = DM->admin1();
        QSqlDatabase db = shop->database();
        text +=
            QStringLiteral("\n\nShop database: %1\nSchema version: %2")
                .arg(shop->target().describe())
                .arg(shop->isServer() ? ServerDatabase::version(db) : ShopDatabase::version(db));
    }
    return text;
}
} // namespace

const QList<TMainForm::Task>& TMainForm::tasks()
{
    static const QList<Task> list = {
        {"BANK", "SpeedButton14", "bank", false},
        {"PARTS", "SpeedButton1", "parts", false},
        {"VENDORS", "SpeedButton2", "vendors", false},
        {"CUSTOMER", "SpeedButton9", "customer", false},
        {"EMPLOYEE", "SpeedButton5", "employee", false},
        {"ORDERS", "SpeedButton10", "orders", true},
        {"DEPOSIT", "SpeedButton13", "deposit", false},
        {"LABOR", "SpeedButton4", "labor", false},
        {"INVOICE", "SpeedButton6", "invoice", true},
        {"BILL", "SpeedButton7", "bill", true},
        {"PAYABLE", "SpeedButton11", "payable", false},
        {"RECEIVABLE", "SpeedButton12", "receivable", false},
        {"REPORT", "SpeedButton3", "report", true},
        {"ESTIMATE", "SpeedButton15", "estimate", true},
        {"TAX", "SpeedButton16", "tax", true},
        {"PROFILE", "SpeedButton17", "profile", true},
        {"CLOSE", "SpeedButton8", "close", false},
    };
    return list;
}

namespace {
// What each task is for, shown in the status bar while the mouse rests on its button.
QString taskHint(const QString& control)
{
    static const QHash<QString, QString> hints = {
        {"SpeedButton14", "Bank accounts and payment cards"},
        {"SpeedButton1", "Parts catalogue: prices, stock and history"},
        {"SpeedButton2", "Vendors the shop buys from"},
        {"SpeedButton9", "Customers and their trucks"},
        {"SpeedButton5", "Employees of the shop"},
        {"SpeedButton10", "Purchase orders for parts"},
        {"SpeedButton13", "Deposits to the bank"},
        {"SpeedButton4", "Labor operations and rates"},
        {"SpeedButton6", "Repair invoices"},
        {"SpeedButton7", "Vendor bills"},
        {"SpeedButton11", "Payments to vendors and open bills"},
        {"SpeedButton12", "Payments from customers and open invoices"},
        {"SpeedButton3", "Period reports"},
        {"SpeedButton15", "Repair estimates"},
        {"SpeedButton16", "Sales tax rates"},
        {"SpeedButton17", "The shop's own profile"},
        {"SpeedButton8", "Close the program"},
    };
    return hints.value(control);
}
} // namespace

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("KX"));
    // The logo in the title bar is drawn once the window is up: drawing it costs more than the
    // rest of the window.
    QTimer::singleShot(0, this, [this] {
        setWindowIcon(WindowParts::svgIcon(QStringLiteral(":/logo.svg"), QSize(32, 32)));
    });

    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(createTaskPanel());

    m_mdi = new QMdiArea(central);
    m_mdi->setObjectName(QStringLiteral("MdiArea"));
    m_mdi->setBackground(QColor(0x5a, 0x6e, 0x82));
    // With scroll bars the area never asks for the room of its child windows: tiling large
    // windows on a small screen scrolls them instead of stretching the program past the
    // screen.
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(m_mdi, 1);
    setCentralWidget(central);
    createBackdrop();

    auto* toolBar = addToolBar(QStringLiteral("ToolBar1"));
    toolBar->setObjectName(QStringLiteral("ToolBar1"));
    toolBar->setMovable(false);
    toolBar->setMinimumHeight(8);

    // Status tips of every control and menu item land in this bar's single panel.
    statusBar()->setObjectName(QStringLiteral("StatusLine"));
    statusBar()->setSizeGripEnabled(false);
    // Which shop database this station works on, always in sight at the bar's right end.
    if (DM && DM->admin1()) {
        auto* database = new QLabel(DM->admin1()->target().describe(), statusBar());
        database->setObjectName(QStringLiteral("DatabaseLabel"));
        database->setToolTip(QStringLiteral("The shop database this station works on"));
        statusBar()->addPermanentWidget(database);
    }
    if (DM && DM->admin1())
        m_keeping = new ShopKeeping(this, DM->admin1()->target(), DatabaseTarget::settingsPath());
    createMenus();

    if (QScreen* screen = QApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        resize(area.size() * 0.9);
        move(area.center() - rect().center());
    }
}

TMainForm::~TMainForm()
{
    delete m_help;
}

QWidget* TMainForm::createTaskPanel()
{
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(4, 6, 4, 6);
    column->setSpacing(1);

    QFont captionFont = font();
    captionFont.setBold(true);
    for (const Task& task : tasks()) {
        const QString control = QString::fromLatin1(task.control);
        auto* button = new QToolButton(panel);
        button->setObjectName(control);
        button->setText(QString::fromLatin1(task.caption));
        button->setIcon(
            WindowParts::svgIcon(QStringLiteral(":/icons/%1.svg").arg(task.icon), QSize(24, 24)));
        button->setIconSize(QSize(24, 24));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setAutoRaise(true);
        button->setFont(captionFont);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        button->setMinimumWidth(132);
        button->setFocusPolicy(Qt::NoFocus);
        m_buttons.insert(control, button);
        column->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, control] { openTask(control); });

        if (control == QLatin1String("SpeedButton8")) {
            button->setStatusTip(taskHint(control));
            button->setToolTip(taskHint(control));
            connect(button, &QToolButton::clicked, this, &QWidget::close);
        } else {
            disableWithHint(button, notBuiltHint);
        }
    }
    column->addStretch(1);

    auto* caption = new QLabel(QStringLiteral("User Name"), panel);
    caption->setObjectName(QStringLiteral("Label6"));
    column->addWidget(caption);
    m_userName = new QLabel(QStringLiteral("xxxxxxxxx"), panel);
    m_userName->setObjectName(QStringLiteral("Label7"));
    QFont nameFont = font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.2);
    m_userName->setFont(nameFont);
    m_userName->setStyleSheet(QStringLiteral("color: #8b1a1a;"));
    column->addWidget(m_userName);
    return panel;
}

void TMainForm::createMenus()
{
    auto item = [this](QMenu* menu, const QString& text, const QString& hint, auto slot) {
        QAction* action = menu->addAction(text);
        action->setStatusTip(hint);
        connect(action, &QAction::triggered, this, [slot] { guard(slot); });
        connect(action, &QAction::hovered, this, [this, hint] { statusBar()->showMessage(hint); });
        return action;
    };

    if (m_keeping)
        m_keeping->addMenu(menuBar());
    // Copy and Export... of the list the user is in, or the first list of the active window.
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("Edit1"));
    QAction* copy =
        item(edit, QStringLiteral("&Copy"),
             QStringLiteral("Copy the selected rows of the list, for a spreadsheet"), [this] {
                 if (DataGrid* grid = activeGrid())
                     grid->copyRows();
             });
    copy->setObjectName(QStringLiteral("EditCopyItem"));
    copy->setShortcut(QKeySequence::Copy);
    // The line boxes keep Ctrl+C for their own text.
    copy->setShortcutContext(Qt::WidgetShortcut);
    item(edit, QStringLiteral("&Export..."),
         QStringLiteral("Write every row of the list to a CSV file, for a spreadsheet"),
         [this] {
             if (DataGrid* grid = activeGrid())
                 grid->exportRows();
         })
        ->setObjectName(QStringLiteral("EditExportItem"));

    QMenu* window = menuBar()->addMenu(QStringLiteral("&Window"));
    window->setObjectName(QStringLiteral("Window1"));
    item(window, QStringLiteral("&Tile"), QStringLiteral("Tile all windows"), [this] {
        m_mdi->tileSubWindows();
    })->setObjectName(QStringLiteral("WindowTileItem"));
    item(window, QStringLiteral("&Cascade"), QStringLiteral("Cascade all windows"), [this] {
        m_mdi->cascadeSubWindows();
    })->setObjectName(QStringLiteral("WindowCascadeItem"));
    item(window, QStringLiteral("&Arrange All"), QStringLiteral("Arrange minimized windows"),
         [this] { arrangeMinimized(); })
        ->setObjectName(QStringLiteral("WindowArrangeItem"));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    item(help, QStringLiteral("&Contents"), QStringLiteral("Display the help contents screen"),
         [this] { this->help()->showContents(); })
        ->setObjectName(QStringLiteral("HelpContentsItem"));
    item(help, QStringLiteral("&Search for Help On..."),
         QStringLiteral("Search help file for a topic"),
         [this] { this->help()->showSearch(QString()); })
        ->setObjectName(QStringLiteral("HelpSearchItem"));
    item(help, QStringLiteral("&How to Use Help"), QStringLiteral("Help on using the help system"),
         [this] { this->help()->showHelpOnHelp(); })
        ->setObjectName(QStringLiteral("HelpHowToUseItem"));
    help->addSeparator();
    item(help, QStringLiteral("&About..."), QStringLiteral("Show program information"), [this] {
        guard([this] {
            Prompter::instance().inform(
                aboutText() +
                (m_keeping ? QStringLiteral("\n") + m_keeping->lastBackupText() : QString()));
        });
    })->setObjectName(QStringLiteral("HelpAboutItem"));
}

void TMainForm::createBackdrop()
{
    // The shop's name and logo drawn on the frame's background, beneath every child window.
    m_backdrop = new QWidget(m_mdi->viewport());
    m_backdrop->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* layout = new QVBoxLayout(m_backdrop);
    layout->addStretch(2);
    auto title = [this, layout](const QString& name, const QString& text) {
        auto* label = new QLabel(text, m_backdrop);
        label->setObjectName(name);
        QFont big = label->font();
        big.setPointSize(40);
        big.setBold(true);
        big.setItalic(true);
        label->setFont(big);
        label->setStyleSheet(QStringLiteral("color: #f3efe2;"));
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    };
    title(QStringLiteral("Label1"), QStringLiteral("Tavlin Truck"));
    title(QStringLiteral("Label2"), QStringLiteral("Repair"));
    auto* logo = new QSvgWidget(QStringLiteral(":/logo.svg"), m_backdrop);
    logo->setObjectName(QStringLiteral("Image1"));
    logo->setFixedSize(300, 200);
    layout->addSpacing(12);
    layout->addWidget(logo, 0, Qt::AlignHCenter);
    layout->addStretch(3);
    m_backdrop->lower();
    m_mdi->viewport()->installEventFilter(this);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_mdi->viewport() && event->type() == QEvent::Resize) {
        m_backdrop->setGeometry(m_mdi->viewport()->rect());
        m_backdrop->lower();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::setTaskWindow(const QString& control, WindowFactory factory)
{
    QToolButton* button = m_buttons.value(control);
    if (!button || control == QLatin1String("SpeedButton8"))
        return;
    m_factories.insert(control, std::move(factory));
    button->setEnabled(true);
    button->setStatusTip(taskHint(control));
    button->setToolTip(taskHint(control));
}

void TMainForm::openTask(const QString& control)
{
    const WindowFactory factory = m_factories.value(control);
    if (!factory)
        return;
    const auto& list = tasks();
    const auto task = std::find_if(list.begin(), list.end(), [&](const Task& t) {
        return control == QLatin1String(t.control);
    });
    if (task != list.end() && task->gated && !m_mdi->subWindowList().isEmpty()) {
        Prompter::instance().inform(oneWindowMessage);
        return;
    }
    guard([&] {
        if (QWidget* window = factory())
            addChild(window);
    });
}

QMdiSubWindow* TMainForm::addChild(QWidget* window, Qt::WindowFlags flags)
{
    QMdiSubWindow* sub = m_mdi->addSubWindow(window, flags);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    if (window->property("openMaximized").toBool())
        sub->showMaximized();
    else
        sub->show();
    return sub;
}

DataGrid* TMainForm::activeGrid()
{
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
        if (auto* grid = qobject_cast<DataGrid*>(w))
            return grid;
    if (QMdiSubWindow* sub = m_mdi->activeSubWindow()) {
        for (DataGrid* grid : sub->findChildren<DataGrid*>())
            if (grid->isVisible())
                return grid;
    }
    statusBar()->showMessage(QStringLiteral("This window has no list to copy or export."), 5000);
    return nullptr;
}

void TMainForm::arrangeMinimized()
{
    // Lines up the minimized child windows along the bottom edge, left to right.
    const QRect area = m_mdi->viewport()->rect();
    int x = 0;
    int y = area.bottom();
    int rowHeight = 0;
    for (QMdiSubWindow* sub : m_mdi->subWindowList(QMdiArea::CreationOrder)) {
        if (!sub->isMinimized())
            continue;
        const QSize size = sub->size();
        if (x > 0 && x + size.width() > area.width()) {
            x = 0;
            y -= rowHeight;
            rowHeight = 0;
        }
        rowHeight = std::max(rowHeight, size.height());
        sub->move(x, y - size.height() + 1);
        x += size.width();
    }
}

void TMainForm::setUserName(const QString& name)
{
    setUser(name, false);
}

void TMainForm::setUser(const QString& name, bool owner)
{
    m_userName->setText(name);
    if (m_keeping)
        m_keeping->setSignedIn(!name.isEmpty(), owner);
}

QString TMainForm::userName() const
{
    return m_userName->text();
}

HelpWindow* TMainForm::help()
{
    if (!m_help)
        m_help = new HelpWindow();
    return m_help;
}
