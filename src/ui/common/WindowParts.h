#pragma once

#include "ui/common/Windows.h"

#include <QString>

class QBoxLayout;
class QIcon;
class QSize;
class QFrame;
class QGridLayout;
class QVBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The pieces every window of the program is made of, so that forty forms look alike.
namespace WindowParts {

// The layout of a form window, its heading band with the title already in it.
QVBoxLayout* windowLayout(QWidget* window, const QString& title);
// The grid a form's label and box pairs are laid out on.
QGridLayout* boxGrid();
// The band across the top of a record or document window with its title in large letters.
QFrame* headingBand(QWidget* parent, const QString& title);
// A raised, framed panel holding a window's boxes or its bottom controls.
QFrame* raisedPanel(QWidget* parent, const QString& name = {});
// A command button; Enter presses it when it has the focus.
QPushButton* commandButton(QWidget* parent, const QString& text, const QString& name);
// A framed, right-aligned figure with its caption, added as one row to layout.
QLabel* addFigure(QWidget* parent, QBoxLayout* layout, const QString& caption, const QString& name,
                  const QString& text);
// An icon drawn from an SVG resource at the given size on the screen's density,
// without the icon plug-in: the program starts faster without loading and searching plug-ins.
QIcon svgIcon(const QString& resource, const QSize& size);

// The "Search" label and box, added to layout; upperCase turns typed letters into capitals.
QLineEdit* searchBox(QWidget* parent, QBoxLayout* layout, const QString& name, bool upperCase);

} // namespace WindowParts
