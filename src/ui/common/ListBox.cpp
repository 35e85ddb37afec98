#include "ui/common/ListBox.h"

#include "ui/common/Guard.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSet>

#include <algorithm>

ListBox::ListBox(QWidget* parent)
    : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(20);
    // The list of offers is made when the clerk first comes to the box.
    setCompleter(nullptr);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(8);
}

bool ListBox::eventFilter(QObject* watched, QEvent* event)
{
    // Enter while the offered items show but none is chosen goes on as Enter in the box does
    // (to the next box), rather than being swallowed by the list of offers.
    if (completer() && watched == completer()->popup() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
            !completer()->popup()->currentIndex().isValid()) {
            completer()->popup()->hide();
            if (lineEdit()) {
                QKeyEvent again(QEvent::KeyPress, key, Qt::NoModifier);
                QCoreApplication::sendEvent(lineEdit(), &again);
            }
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void ListBox::focusInEvent(QFocusEvent* event)
{
    if (!completer()) {
        // The items that start with what is typed are offered under the box as the clerk
        // types; the typed text is never replaced by one of them unless it is chosen.
        auto* offers = new QCompleter(model(), this);
        offers->setCaseSensitivity(Qt::CaseInsensitive);
        offers->setCompletionMode(QCompleter::PopupCompletion);
        offers->setMaxVisibleItems(12);
        setCompleter(offers);
        offers->popup()->installEventFilter(this);
    }
    // Filled when the clerk arrives, so that typing is completed from today's list.
    if (m_source && event->reason() != Qt::PopupFocusReason &&
        event->reason() != Qt::ActiveWindowFocusReason)
        guard([this] { refill(); });
    QComboBox::focusInEvent(event);
}

void ListBox::setText(const QString& text)
{
    setEditText(text);
}

void ListBox::refill()
{
    if (!m_source)
        return;
    const QString typed = currentText();
    QStringList values = m_source();
    // Each value once, in alphabetical order whatever the order the rows came in.
    QSet<QString> seen(m_leading.begin(), m_leading.end());
    QStringList items;
    for (const QString& value : values) {
        if (value.isEmpty() || seen.contains(value))
            continue;
        seen.insert(value);
        items.append(value);
    }
    std::sort(items.begin(), items.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    items = m_leading + items;
    if (items == m_items)
        return;
    m_items = items;
    const int at = lineEdit() ? lineEdit()->cursorPosition() : 0;
    const QSignalBlocker quiet(this);
    clear();
    addItems(items);
    setCurrentIndex(-1);
    setEditText(typed);
    if (lineEdit())
        lineEdit()->setCursorPosition(at);
}

void ListBox::showPopup()
{
    if (guard([this] { refill(); }))
        QComboBox::showPopup();
}
