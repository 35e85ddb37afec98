#pragma once

#include <QString>

class QWidget;

// Closes a form: the child window around it when it lives inside the main window, the form
// itself otherwise. Child windows free themselves when closed.
void closeWindow(QWidget* form);
// Esc anywhere in form closes it as its Close button does.
void closeOnEscape(QWidget* form);
// A control that has no command here: disabled, its hint saying why in the tooltip and the
// status bar.
void disableWithHint(QWidget* control, const QString& hint);

#include <functional>

// Shows a new window as a child window of the main window.
using ChildOpener = std::function<void(QWidget* window)>;

class QLabel;

// The bold title a window shows at its top, named "Heading".
QLabel* headingLabel(QWidget* parent, const QString& text, int pointSize = 16);
