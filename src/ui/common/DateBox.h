#pragma once

#include <QWidget>

class QCalendarWidget;
class QLineEdit;
class QToolButton;

// An edit box for a date typed as month/day/year, with a calendar that writes the picked
// date into the box in that form.
class DateBox : public QWidget
{
    Q_OBJECT

public:
    explicit DateBox(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    QLineEdit* lineEdit() const { return m_edit; }

    // Opens the calendar on the date in the box (today when the box holds none).
    void showCalendar();
    QCalendarWidget* calendar();

signals:
    void datePicked();

private:
    void pick(const QDate& date);

    QLineEdit* m_edit;
    QToolButton* m_button;
    QWidget* m_popup = nullptr;
    QCalendarWidget* m_calendar = nullptr;
};
