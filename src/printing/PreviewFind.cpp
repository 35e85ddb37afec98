// The preview's find bar: the text searched for page by page, forwards and backwards.
#include "printing/PageView.h"
#include "printing/PreviewWindow.h"
#include "ui/common/Prompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPageRanges>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolButton>

namespace {
QIcon icon(const QString& name)
{
    return QIcon(QStringLiteral(":/printing/icons/%1.svg").arg(name));
}
} // namespace

void PreviewWindow::buildFindBar(QWidget* bar)
{
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(8, 4, 8, 4);
    row->addWidget(new QLabel(tr("Find:"), bar));
    m_findEdit = new QLineEdit(bar);
    m_findEdit->setObjectName(QStringLiteral("FindText"));
    m_findEdit->setPlaceholderText(tr("Word or number in the report"));
    m_findEdit->setClearButtonEnabled(true);
    m_findEdit->setMinimumWidth(240);
    m_findEdit->installEventFilter(this);
    row->addWidget(m_findEdit);
    const auto tool = [bar, row](const QString& name, const QString& iconName, const QString& tip) {
        auto* button = new QToolButton(bar);
        button->setObjectName(name);
        button->setIcon(icon(iconName));
        button->setToolTip(tip);
        button->setAutoRaise(true);
        row->addWidget(button);
        return button;
    };
    QToolButton* previous = tool(QStringLiteral("FindPrevious"), QStringLiteral("up"),
                                 tr("Previous match (Shift+Enter)"));
    QToolButton* next =
        tool(QStringLiteral("FindNext"), QStringLiteral("down"), tr("Next match (Enter)"));
    m_matchCase = new QCheckBox(tr("Match case"), bar);
    m_matchCase->setObjectName(QStringLiteral("MatchCase"));
    row->addWidget(m_matchCase);
    row->addStretch(1);
    QToolButton* close =
        tool(QStringLiteral("FindClose"), QStringLiteral("close"), tr("Close the find bar (Esc)"));

    connect(previous, &QToolButton::clicked, this, &PreviewWindow::findPrevious);
    connect(next, &QToolButton::clicked, this, &PreviewWindow::findNext);
    connect(close, &QToolButton::clicked, this, [this] {
        m_findBar->hide();
        m_view->clearHighlight();
        m_view->setFocus();
    });
    connect(m_findEdit, &QLineEdit::textChanged, this, [this] {
        m_findEdit->setStyleSheet(QString());
        m_match = -1;
    });
}

void PreviewWindow::startFind()
{
    m_findBar->show();
    m_findEdit->setFocus();
    m_findEdit->selectAll();
}

QList<PreviewWindow::Match> PreviewWindow::matches(const QString& text) const
{
    QList<Match> found;
    const Qt::CaseSensitivity cs = m_findCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (int page = 0; page < m_report.pageCount(); ++page) {
        const QList<PageItem>& items = m_report.pages.at(page).items;
        for (int i : m_report.readingOrder(page)) {
            // A text that runs over several lines is found across its line breaks too.
            QString itemText = items.at(i).text;
            itemText.replace(QLatin1Char('\n'), QLatin1Char(' '));
            if (itemText.contains(text, cs))
                found.append({page, i});
        }
    }
    return found;
}

bool PreviewWindow::find(const QString& text, bool backwards)
{
    if (m_findEdit->text() != text)
        m_findEdit->setText(text);
    if (text != m_findText || m_matchCase->isChecked() != m_findCase) {
        m_findText = text;
        m_findCase = m_matchCase->isChecked();
        m_match = -1;
    }
    if (text.isEmpty()) {
        m_view->clearHighlight();
        m_statusBar->clearMessage();
        return false;
    }
    const QList<Match> found = matches(text);
    if (found.isEmpty()) {
        m_match = -1;
        m_view->clearHighlight();
        m_findEdit->setStyleSheet(QStringLiteral("QLineEdit { background: #f8d7d4; }"));
        status(tr("Not found: \"%1\"").arg(text));
        return false;
    }
    m_findEdit->setStyleSheet(QString());
    const int count = int(found.size());
    int index = -1;
    bool wrapped = false;
    if (m_match >= 0 && m_match < count) {
        index = m_match + (backwards ? -1 : 1);
        wrapped = index < 0 || index >= count;
        index = (index + count) % count;
    } else if (!backwards) {
        // A new search starts at the top of the page in view.
        for (int i = 0; i < count && index < 0; ++i)
            if (found.at(i).page >= m_current)
                index = i;
        wrapped = index < 0;
        index = std::max(index, 0);
    } else {
        for (int i = count - 1; i >= 0 && index < 0; --i)
            if (found.at(i).page < m_current)
                index = i;
        wrapped = index < 0;
        index = index < 0 ? count - 1 : index;
    }
    m_match = index;
    const Match& match = found.at(index);
    const QRectF area = m_report.pages.at(match.page).items.at(match.item).rect;
    m_current = match.page;
    m_navigating = true;
    m_view->setHighlight(match.page, area);
    m_view->showArea(match.page, area);
    m_navigating = false;
    updatePageControls();
    QString message =
        tr("Found on page %1 (%2 of %3)").arg(match.page + 1).arg(index + 1).arg(count);
    if (wrapped)
        message += backwards ? tr(", continued from the end") : tr(", continued from the start");
    status(message);
    return true;
}

bool PreviewWindow::findNext()
{
    if (m_findEdit->text().isEmpty()) {
        startFind();
        return false;
    }
    return find(m_findEdit->text());
}

bool PreviewWindow::findPrevious()
{
    if (m_findEdit->text().isEmpty()) {
        startFind();
        return false;
    }
    return find(m_findEdit->text(), true);
}

// Printing --------------------------------------------------------------------------------
