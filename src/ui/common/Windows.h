#pragma once

class QWidget;

// Closes a form: the child window around it when it lives inside the main window, the form
// itself otherwise. Child windows free themselves when closed.
void closeWindow(QWidget* form);
