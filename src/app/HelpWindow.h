#pragma once

#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;

// The program's help: pages compiled into the program, a contents page, a keyword index with
// a search box, and back and forward through the pages read.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    void showContents();
    // Opens the keyword index with keyword in its search box.
    void showSearch(const QString& keyword);
    void showHelpOnHelp();
    // Opens a page ("tasks.html#parts").
    void showPage(const QString& page);

    QString currentPage() const;

private:
    void loadKeywords();
    void filterKeywords(const QString& text);
    void openKeyword();
    void present();

    QTabWidget* m_tabs;
    QLineEdit* m_search;
    QListWidget* m_keywords;
    QTextBrowser* m_browser;
};
