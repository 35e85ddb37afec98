#include "ui/common/FocusChain.h"

#include "ui/common/Guard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextEdit>
#include <QWidget>

FocusChain::FocusChain(QWidget* window)
    : QObject(window)
    , m_window(window)
{}

FocusChain& FocusChain::add(QWidget* control)
{
    m_controls.append(control);
    control->installEventFilter(this);
    if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->lineEdit())
        combo->lineEdit()->installEventFilter(this);
    return *this;
}

FocusChain& FocusChain::add(std::initializer_list<QWidget*> controls)
{
    for (QWidget* control : controls)
        add(control);
    return *this;
}

void FocusChain::bind(const QKeySequence& key, std::function<void()> command)
{
    auto* shortcut = new QShortcut(key, m_window);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    connect(shortcut, &QShortcut::activated, this, [command] { guard(command); });
}

QList<QWidget*> FocusChain::controls() const
{
    QList<QWidget*> list;
    for (const auto& control : m_controls)
        if (control)
            list.append(control);
    return list;
}

void FocusChain::bindInControls(int key, std::function<void()> command)
{
    m_controlKeys.insert(key, std::move(command));
}

void FocusChain::wrapTo(QWidget* target)
{
    m_wrapTarget = target;
}

void FocusChain::link(QWidget* from, QWidget* enterTo, QWidget* leftTo)
{
    m_links.insert(from, Link{enterTo, leftTo});
}

bool FocusChain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (qobject_cast<QPlainTextEdit*>(widget) || qobject_cast<QTextEdit*>(widget)) {
        // The text's own keys stay with it; Ctrl+Enter leaves the box.
        if (enter && key->modifiers() == Qt::ControlModifier) {
            focus(target(widget, +1));
            return true;
        }
        if (enter || key->key() == Qt::Key_Left)
            return false;
    }
    if (key->modifiers() & ~Qt::KeypadModifier)
        return false;
    // The line edit inside an editable drop-down stands for the drop-down.
    if (auto* combo = qobject_cast<QComboBox*>(widget ? widget->parentWidget() : nullptr))
        widget = combo;
    if (!widget)
        return false;

    if (auto command = m_controlKeys.constFind(key->key()); command != m_controlKeys.constEnd()) {
        const std::function<void()> run = *command;
        guard(run);
        return true;
    }
    if (enter) {
        // A check box moves on like a box; Space ticks it.
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            button->click();
            return true;
        }
        if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->view()->isVisible())
            return false;
        focus(target(widget, +1));
        return true;
    }
    if (key->key() == Qt::Key_Left) {
        focus(target(widget, -1));
        return true;
    }
    return false;
}

QWidget* FocusChain::target(QWidget* from, int step) const
{
    if (auto link = m_links.constFind(from); link != m_links.constEnd())
        if (QWidget* to = step > 0 ? link->enter.data() : link->left.data())
            return to;
    const QList<QWidget*> list = controls();
    const qsizetype at = list.indexOf(from);
    if (at < 0)
        return nullptr;
    // Skip controls that cannot take the focus now (hidden or disabled ones).
    for (qsizetype i = at + step; i >= 0 && i < list.size(); i += step) {
        QWidget* candidate = list.at(i);
        if (candidate->isVisible() && candidate->isEnabled())
            return candidate;
    }
    if (!m_wrapTarget)
        return nullptr;
    return step > 0 ? m_wrapTarget.data() : list.constLast();
}

void FocusChain::focus(QWidget* target)
{
    if (!target)
        return;
    // A list of offers still open under the box is closed first, so that the box is left
    // for good and what happens on leaving it happens.
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    target->setFocus(Qt::TabFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(target))
        edit->selectAll();
}
