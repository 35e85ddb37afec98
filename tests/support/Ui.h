#pragma once

#include <QAbstractItemView>
#include <QObject>
#include <QString>
#include <QWidget>

#include <stdexcept>

class QAbstractButton;
class QMdiSubWindow;
class TMainForm;

// Finding and working the controls of a window the way a user does.
namespace ui {

// The control named name below root; a missing or differently typed control fails the test.
template<class T = QWidget>
T* find(const QObject* root, const QString& name)
{
    T* found = root->findChild<T*>(name);
    if (!found)
        throw std::runtime_error("no control named " + name.toStdString());
    return found;
}

// Replaces the text of an edit box or editable drop-down by typing.
void type(QWidget* box, const QString& text);
void press(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void click(QAbstractButton* button);
// Clicks the control named name below root.
void click(const QObject* root, const QString& name);

QString cell(const QAbstractItemView* grid, int row, int column);
int rowCount(const QAbstractItemView* grid);
QString title(const QAbstractItemView* grid, int column);

// The child windows open in the main window, oldest first.
QList<QMdiSubWindow*> childWindows(const TMainForm* mainForm);
// The form inside the newest child window, or nullptr.
QWidget* newestChild(const TMainForm* mainForm);
// The form of the newest child window as a T; a missing or different window fails the test.
template<class T>
T* newest(const TMainForm* mainForm)
{
    auto* window = qobject_cast<T*>(newestChild(mainForm));
    if (!window)
        throw std::runtime_error("the expected window did not open");
    return window;
}

// Lets queued events (deferred deletes, single-shot timers) run.
void settle();

} // namespace ui
