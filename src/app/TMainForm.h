#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>

class HelpWindow;
class QLabel;
class QMdiArea;
class DataGrid;
class QMdiSubWindow;
class QToolButton;
class ShopKeeping;

// The frame of the program: the task buttons on the left open every other window as a child
// window inside it.
class TMainForm : public QMainWindow
{
    Q_OBJECT

public:
    // Creates the window a task button opens; the main form makes it a child window.
    using WindowFactory = std::function<QWidget*()>;

    struct Task
    {
        const char* caption;
        const char* control;
        const char* icon;
        bool gated; // refused while any child window is open
    };
    static const QList<Task>& tasks();

    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // Makes the task button named control open windows made by factory; a button without a
    // factory stays disabled.
    void setTaskWindow(const QString& control, WindowFactory factory);
    // Presses a task button: opens its window unless the one-window rule refuses it.
    void openTask(const QString& control);

    // Shows window as a child window that frees itself when closed.
    QMdiSubWindow* addChild(QWidget* window, Qt::WindowFlags flags = {});
    QMdiArea* mdiArea() const { return m_mdi; }
    void arrangeMinimized();
    // The list Edit's commands act on: the one with the focus, else the first one shown in the
    // active window; none (said in the status bar) when it has none.
    DataGrid* activeGrid();

    void setUserName(const QString& name);
    // The user signed in: the name shown, and the owner's commands opened to an owner.
    void setUser(const QString& name, bool owner);
    QString userName() const;

    HelpWindow* help();
    // The File menu's backups, restore and check; none without a data module.
    ShopKeeping* keeping() const { return m_keeping; }

private:
    QWidget* createTaskPanel();
    void createMenus();
    void createBackdrop();
    bool eventFilter(QObject* watched, QEvent* event) override;

    QMdiArea* m_mdi = nullptr;
    QWidget* m_backdrop = nullptr;
    QLabel* m_userName = nullptr;
    QHash<QString, QToolButton*> m_buttons;
    QHash<QString, WindowFactory> m_factories;
    QPointer<HelpWindow> m_help;
    ShopKeeping* m_keeping = nullptr;
};
