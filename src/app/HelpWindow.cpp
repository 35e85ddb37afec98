#include "app/HelpWindow.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextStream>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
const QString pageRoot = QStringLiteral("qrc:/help/");
}

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("Tavlin Help"));
    resize(900, 640);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* bar = new QToolBar(this);
    layout->addWidget(bar);

    auto* splitter = new QSplitter(this);
    layout->addWidget(splitter, 1);

    m_tabs = new QTabWidget(splitter);
    auto* index = new QWidget(m_tabs);
    auto* indexLayout = new QVBoxLayout(index);
    m_search = new QLineEdit(index);
    m_search->setObjectName(QStringLiteral("HelpSearch"));
    m_search->setPlaceholderText(tr("Type a keyword"));
    m_search->setClearButtonEnabled(true);
    m_keywords = new QListWidget(index);
    m_keywords->setObjectName(QStringLiteral("HelpKeywords"));
    indexLayout->addWidget(m_search);
    indexLayout->addWidget(m_keywords, 1);
    m_tabs->addTab(index, tr("Index"));

    m_browser = new QTextBrowser(splitter);
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setOpenExternalLinks(false);
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 660});

    QAction* contents = bar->addAction(tr("Contents"), this, &HelpWindow::showContents);
    contents->setObjectName(QStringLiteral("HelpContents"));
    QAction* back = bar->addAction(tr("Back"), m_browser, &QTextBrowser::backward);
    back->setObjectName(QStringLiteral("HelpBack"));
    back->setShortcut(QKeySequence::Back);
    QAction* forward = bar->addAction(tr("Forward"), m_browser, &QTextBrowser::forward);
    forward->setObjectName(QStringLiteral("HelpForward"));
    forward->setShortcut(QKeySequence::Forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    bar->addSeparator();
    bar->addAction(tr("How to Use Help"), this, &HelpWindow::showHelpOnHelp);

    connect(m_search, &QLineEdit::textChanged, this, &HelpWindow::filterKeywords);
    connect(m_search, &QLineEdit::returnPressed, this, &HelpWindow::openKeyword);
    connect(m_keywords, &QListWidget::itemActivated, this, &HelpWindow::openKeyword);

    loadKeywords();
}

void HelpWindow::loadKeywords()
{
    // keywords.txt: one "keyword<TAB>page#anchor" per line.
    QFile file(QStringLiteral(":/help/keywords.txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QTextStream in(&file);
    QList<std::pair<QString, QString>> entries;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab > 0)
            entries.append({line.left(tab).trimmed(), line.mid(tab + 1).trimmed()});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return a.first.compare(b.first, Qt::CaseInsensitive) < 0;
    });
    for (const auto& [keyword, page] : entries) {
        auto* item = new QListWidgetItem(keyword, m_keywords);
        item->setData(Qt::UserRole, page);
    }
}

void HelpWindow::filterKeywords(const QString& text)
{
    QListWidgetItem* first = nullptr;
    for (int i = 0; i < m_keywords->count(); ++i) {
        QListWidgetItem* item = m_keywords->item(i);
        const bool match = item->text().contains(text.trimmed(), Qt::CaseInsensitive);
        item->setHidden(!match);
        if (match && !first)
            first = item;
    }
    m_keywords->setCurrentItem(first);
}

void HelpWindow::openKeyword()
{
    QListWidgetItem* item = m_keywords->currentItem();
    if (item && !item->isHidden())
        showPage(item->data(Qt::UserRole).toString());
}

void HelpWindow::showContents()
{
    showPage(QStringLiteral("index.html"));
}

void HelpWindow::showSearch(const QString& keyword)
{
    present();
    m_tabs->setCurrentIndex(0);
    m_search->setText(keyword);
    filterKeywords(keyword);
    m_search->setFocus();
    if (m_browser->source().isEmpty())
        m_browser->setSource(QUrl(pageRoot + QStringLiteral("index.html")));
}

void HelpWindow::showHelpOnHelp()
{
    showPage(QStringLiteral("usinghelp.html"));
}

void HelpWindow::showPage(const QString& page)
{
    m_browser->setSource(QUrl(pageRoot + page));
    present();
}

QString HelpWindow::currentPage() const
{
    return m_browser->source().toString().remove(pageRoot);
}

void HelpWindow::present()
{
    show();
    raise();
    activateWindow();
}
