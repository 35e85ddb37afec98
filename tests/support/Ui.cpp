#include "Ui.h"

#include "app/TMainForm.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

namespace ui {

void type(QWidget* box, const QString& text)
{
    box->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(box)) {
        edit->selectAll();
        edit->del();
    } else if (auto* combo = qobject_cast<QComboBox*>(box); combo && combo->lineEdit()) {
        combo->lineEdit()->selectAll();
        combo->lineEdit()->del();
        box = combo->lineEdit();
    }
    for (const QChar c : text) {
        // QTest maps only ASCII characters to keys; other letters arrive as typed text, the
        // way an input method delivers them.
        if (c.unicode() < 0x80)
            QTest::keyClick(box, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void press(QWidget* target, int key, Qt::KeyboardModifiers modifiers)
{
    QWidget* receiver = target;
    if (auto* combo = qobject_cast<QComboBox*>(target); combo && combo->lineEdit())
        receiver = combo->lineEdit();
    QTest::keyClick(receiver, Qt::Key(key), modifiers);
}

void click(QAbstractButton* button)
{
    if (!button->isEnabled())
        throw std::runtime_error("button " + button->objectName().toStdString() + " is disabled");
    QTest::mouseClick(button, Qt::LeftButton);
}

void click(const QObject* root, const QString& name)
{
    click(find<QAbstractButton>(root, name));
}

QString cell(const QAbstractItemView* grid, int row, int column)
{
    const QAbstractItemModel* model = grid->model();
    return model->data(model->index(row, column)).toString();
}

int rowCount(const QAbstractItemView* grid)
{
    return grid->model()->rowCount();
}

QString title(const QAbstractItemView* grid, int column)
{
    return grid->model()->headerData(column, Qt::Horizontal).toString();
}

QList<QMdiSubWindow*> childWindows(const TMainForm* mainForm)
{
    return mainForm->mdiArea()->subWindowList(QMdiArea::CreationOrder);
}

QWidget* newestChild(const TMainForm* mainForm)
{
    const auto list = childWindows(mainForm);
    return list.isEmpty() ? nullptr : list.constLast()->widget();
}

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

} // namespace ui
