#include "ui/common/Prompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QSpacerItem>

namespace {
Prompter* installed = nullptr;

QWidget* boxParent()
{
    return QApplication::activeWindow();
}

QString title()
{
    return QApplication::applicationDisplayName();
}
} // namespace

Prompter& Prompter::instance()
{
    static MessageBoxPrompter boxes;
    return installed ? *installed : boxes;
}

void Prompter::install(Prompter* prompter)
{
    installed = prompter;
}

QString Prompter::chooseFile(const FileQuestion& question)
{
    QFileDialog dialog(boxParent(), question.caption, question.proposed, question.filter);
    dialog.setAcceptMode(question.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(question.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (question.save)
        dialog.setDefaultSuffix(QFileInfo(question.proposed).suffix());
    else
        dialog.setDirectory(QFileInfo(question.proposed).absolutePath());
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

namespace {
// A message box at least as wide as its title, which the window manager would otherwise cut.
int showBox(QMessageBox::Icon icon, const QString& text, QMessageBox::StandardButtons buttons,
            QMessageBox::StandardButton preferred)
{
    QMessageBox box(icon, title(), text, buttons, boxParent());
    box.setDefaultButton(preferred);
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        // Room for the title, the window's icon and its buttons in the title bar.
        const int need = box.fontMetrics().horizontalAdvance(title()) + 150;
        grid->addItem(new QSpacerItem(need, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    // The box or grid that had the focus has it again when the box closes, so that the
    // window's command keys work at once.
    const QPointer<QWidget> focused = QApplication::focusWidget();
    const int answer = box.exec();
    if (focused && focused->isVisible() && focused->isEnabled()) {
        // The window is made active at once, not when the window system gets round to it,
        // so that the keys reach it already.
        QApplication::setActiveWindow(focused->window());
        focused->setFocus(Qt::OtherFocusReason);
    }
    return answer;
}
} // namespace

bool MessageBoxPrompter::confirm(const QString& text)
{
    return showBox(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No,
                   QMessageBox::Yes) == QMessageBox::Yes;
}

void MessageBoxPrompter::inform(const QString& text)
{
    showBox(QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBoxPrompter::error(const QString& text)
{
    showBox(QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok);
}
