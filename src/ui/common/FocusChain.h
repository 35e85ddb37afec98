#pragma once

#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

// The keyboard order of a form: Enter moves to the next control of the chain, Left arrow
// back to the previous one, Enter on a push button presses it. A multi-line box keeps Enter
// and Left arrow for its text and moves on with Ctrl+Enter. Keys such as F2 can be bound to
// commands of the whole window.
class FocusChain : public QObject
{
    Q_OBJECT

public:
    explicit FocusChain(QWidget* window);

    // Appends controls in the order Enter walks through them.
    FocusChain& add(QWidget* control);
    FocusChain& add(std::initializer_list<QWidget*> controls);
    // Enter in the last control goes to target (by default it stays), and Left arrow in the
    // first control goes to the last one.
    void wrapTo(QWidget* target);
    // Overrides where Enter and Left arrow go from one control (nullptr: the chain's order).
    void link(QWidget* from, QWidget* enterTo, QWidget* leftTo);
    // A key pressed anywhere in the window runs command.
    void bind(const QKeySequence& key, std::function<void()> command);
    // A key pressed in one of the chain's controls runs command (F2 saves from any box).
    void bindInControls(int key, std::function<void()> command);

    QList<QWidget*> controls() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* target(QWidget* from, int step) const;
    static void focus(QWidget* target);

    struct Link
    {
        QPointer<QWidget> enter;
        QPointer<QWidget> left;
    };

    QWidget* m_window;
    QList<QPointer<QWidget>> m_controls;
    QPointer<QWidget> m_wrapTarget;
    QHash<QWidget*, Link> m_links;
    QHash<int, std::function<void()>> m_controlKeys;
};
