#include "ui/common/Prompter.h"

#include <QApplication>
#include <QMessageBox>

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

bool MessageBoxPrompter::confirm(const QString& text)
{
    return QMessageBox::question(boxParent(), title(), text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

void MessageBoxPrompter::inform(const QString& text)
{
    QMessageBox::information(boxParent(), title(), text);
}

void MessageBoxPrompter::error(const QString& text)
{
    QMessageBox::critical(boxParent(), title(), text);
}
