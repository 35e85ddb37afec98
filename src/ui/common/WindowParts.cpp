#include "ui/common/WindowParts.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFrame>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSvgRenderer>
#include <QVBoxLayout>
#include <QValidator>

namespace {
// Turns letters into capitals as they are typed or pasted.
class UpperCase : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};
} // namespace

namespace WindowParts {

QFrame* headingBand(QWidget* parent, const QString& title)
{
    auto* band = new QFrame(parent);
    band->setObjectName(QStringLiteral("HeadingBand"));
    band->setFrameStyle(QFrame::Panel | QFrame::Raised);
    band->setStyleSheet(QStringLiteral("#HeadingBand { background: #31506e; }"));
    auto* layout = new QHBoxLayout(band);
    layout->setContentsMargins(10, 4, 10, 4);
    QLabel* heading = headingLabel(band, title, 18);
    heading->setStyleSheet(QStringLiteral("color: #f3efe2;"));
    layout->addWidget(heading);
    layout->addStretch(1);
    return band;
}

QFrame* raisedPanel(QWidget* parent, const QString& name)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    return panel;
}

QPushButton* commandButton(QWidget* parent, const QString& text, const QString& name)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    // Enter presses a button that has the focus; outside a dialog nothing else changes.
    button->setAutoDefault(true);
    button->setMinimumWidth(120);
    return button;
}

QVBoxLayout* windowLayout(QWidget* window, const QString& title)
{
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addWidget(headingBand(window, title));
    return layout;
}

QGridLayout* boxGrid()
{
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    return grid;
}

QLabel* addFigure(QWidget* parent, QBoxLayout* layout, const QString& caption, const QString& name,
                  const QString& text)
{
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(caption, parent);
    auto* value = new QLabel(text, parent);
    value->setObjectName(name);
    value->setMinimumWidth(90);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    row->addWidget(label);
    row->addStretch(1);
    row->addWidget(value);
    layout->addLayout(row);
    return value;
}

QIcon svgIcon(const QString& resource, const QSize& size)
{
    QSvgRenderer renderer(resource);
    QIcon icon;
    // Drawn for the screen's own density only.
    const qreal density = qApp ? qApp->devicePixelRatio() : 1.0;
    for (const qreal scale : {density}) {
        QPixmap pixmap((QSizeF(size) * scale).toSize());
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        pixmap.setDevicePixelRatio(scale);
        icon.addPixmap(pixmap);
    }
    return icon;
}

QLineEdit* searchBox(QWidget* parent, QBoxLayout* layout, const QString& name, bool upperCase)
{
    auto* label = new QLabel(QStringLiteral("Search"), parent);
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setMinimumWidth(220);
    box->setClearButtonEnabled(true);
    label->setBuddy(box);
    if (upperCase)
        box->setValidator(new UpperCase(box));
    layout->addWidget(label);
    layout->addWidget(box);
    return box;
}

} // namespace WindowParts
