#include "ui/common/ListBox.h"

#include "ui/common/Guard.h"

#include <QLineEdit>
#include <QSet>

ListBox::ListBox(QWidget* parent)
    : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(20);
    // Typed text is never replaced by a list item that merely starts the same way.
    setCompleter(nullptr);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(8);
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
    const QStringList values = m_source();
    clear();
    QSet<QString> seen;
    for (const QString& value : values) {
        if (value.isEmpty() || seen.contains(value))
            continue;
        seen.insert(value);
        addItem(value);
    }
    setCurrentIndex(-1);
    setEditText(typed);
}

void ListBox::showPopup()
{
    if (guard([this] { refill(); }))
        QComboBox::showPopup();
}
