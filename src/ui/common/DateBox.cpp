#include "ui/common/DateBox.h"

#include "data/Formats.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

DateBox::DateBox(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_edit = new QLineEdit(this);
    m_edit->setPlaceholderText(QStringLiteral("m/d/yyyy"));
    layout->addWidget(m_edit, 1);
    m_button = new QToolButton(this);
    m_button->setObjectName(QStringLiteral("CalendarButton"));
    m_button->setArrowType(Qt::DownArrow);
    m_button->setFocusPolicy(Qt::NoFocus);
    m_button->setToolTip(tr("Pick a date"));
    layout->addWidget(m_button);
    setFocusProxy(m_edit);
    connect(m_button, &QToolButton::clicked, this, &DateBox::showCalendar);
}

QCalendarWidget* DateBox::calendar()
{
    // Built when first needed: a calendar is the dearest widget of a form to create.
    if (!m_calendar) {
        m_popup = new QWidget(this, Qt::Popup);
        auto* popupLayout = new QVBoxLayout(m_popup);
        popupLayout->setContentsMargins(1, 1, 1, 1);
        m_calendar = new QCalendarWidget(m_popup);
        m_calendar->setObjectName(QStringLiteral("Calendar"));
        m_calendar->setGridVisible(true);
        popupLayout->addWidget(m_calendar);
        connect(m_calendar, &QCalendarWidget::activated, this, &DateBox::pick);
        connect(m_calendar, &QCalendarWidget::clicked, this, &DateBox::pick);
    }
    return m_calendar;
}

QString DateBox::text() const
{
    return m_edit->text();
}

void DateBox::setText(const QString& text)
{
    m_edit->setText(text);
}

void DateBox::showCalendar()
{
    const QDate typed = Formats::parseShortDate(m_edit->text());
    calendar()->setSelectedDate(typed.isValid() ? typed : QDate::currentDate());
    m_popup->adjustSize();
    m_popup->move(mapToGlobal(QPoint(0, height())));
    m_popup->show();
    m_calendar->setFocus();
}

void DateBox::pick(const QDate& date)
{
    m_edit->setText(Formats::shortDate(date));
    m_popup->hide();
    m_edit->setFocus();
    emit datePicked();
}
