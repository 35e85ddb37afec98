#pragma once

#include "ui/common/Windows.h"

#include <QHash>
#include <QWidget>

#include <functional>

class PreparedReport;
class QPushButton;

// The report launcher: one button per report, each opening a new report window as a child
// window; the launcher stays open behind it.
class TReport : public QWidget
{
    Q_OBJECT

public:
    struct Links
    {
        ChildOpener openChild;
        std::function<void(const PreparedReport&)> preview;
    };

    explicit TReport(Links links, QWidget* parent = nullptr);

    QPushButton* button(const QString& name) const { return m_buttons.value(name); }

private:
    Links m_links;
    QHash<QString, QPushButton*> m_buttons;
};
