#pragma once

#include "printing/PreparedReport.h"
#include "ui/common/Prompter.h"

#include <QDialog>
#include <QKeySequence>

#include <functional>
#include <memory>

class PageView;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QSpinBox;
class QStatusBar;
class QToolBar;

// The print preview: the pages of a prepared report on screen, with zoom, page navigation,
// find, an outline of the pages, printing with page setup, export to PDF, and saving and
// opening prepared reports.
class PreviewWindow : public QDialog
{
    Q_OBJECT

public:
    explicit PreviewWindow(const PreparedReport& report, QWidget* parent = nullptr);
    ~PreviewWindow() override;

    // Shows report modally; returns when the user closes the preview.
    static void showReport(const PreparedReport& report, QWidget* parent = nullptr);

    // What the file dialogs are asked; tests answer it with a chooser of their own.
    using FileQuestion = ::FileQuestion;
    // Returns the chosen file, or an empty text when the user cancelled.
    using FileChooser = std::function<QString(const FileQuestion&)>;
    // Installs chooser in place of the file dialogs; an empty one restores them.
    static void setFileChooser(FileChooser chooser);

    const PreparedReport& report() const { return m_report; }
    void setReport(const PreparedReport& report);

    int currentPage() const { return m_current; } // 0-based
    void goToPage(int page);
    void firstPage();
    void previousPage();
    void nextPage();
    void lastPage();

    enum class ZoomMode
    {
        Fixed,
        FitWidth,
        WholePage
    };
    ZoomMode zoomMode() const { return m_zoomMode; }
    // 1 shows the paper at its real size.
    double zoom() const;
    void setZoom(double factor);
    void setZoomMode(ZoomMode mode);
    void zoomIn();
    void zoomOut();

    // Opens the find bar.
    void startFind();
    // Looks for text from the match found last (or the page in view) on; false when the
    // report does not hold it.
    bool find(const QString& text, bool backwards = false);
    bool findNext();
    bool findPrevious();

    // The print dialog, then printing.
    void print();
    // The page setup dialog; pages are then printed on the paper chosen there.
    void pageSetup();
    // Prints the pages the printer's range asks for (all, the current one or a range).
    bool printTo(QPrinter& printer);

    // Each asks for a file, then does the work through the method after it.
    void exportPdf();
    bool exportPdfTo(const QString& fileName);
    // The rows the printout printed, as a CSV file (disabled for a report without rows, such
    // as one opened from a file).
    void exportRows();
    bool exportRowsTo(const QString& fileName);
    void saveReport();
    bool saveTo(const QString& fileName);
    void openReport();
    bool loadFrom(const QString& fileName);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QAction* addTool(const QString& name, const QString& icon, const QString& text,
                     const QList<QKeySequence>& keys, void (PreviewWindow::*slot)());
    void buildToolBar();
    void buildFindBar(QWidget* bar);
    void followScrolling();
    void zoomChoice(int index);
    void zoomFromBox();
    void wheelZoom(int delta, const QPoint& at);
    void applyZoom(double factor, const QPoint& anchor);
    void refreshZoom();
    void updatePageControls();
    void showFound(int match, bool wrapped);
    QString chooseFile(const FileQuestion& question);
    QString proposedFile(const QString& suffix) const;
    void status(const QString& text);

    struct Match
    {
        int page;
        int item;
    };
    QList<Match> matches(const QString& text) const;

    PreparedReport m_report;
    std::unique_ptr<QPrinter> m_printer;
    bool m_paperChosen = false;
    int m_current = 0;
    bool m_navigating = false;
    ZoomMode m_zoomMode = ZoomMode::FitWidth;

    QString m_findText;
    bool m_findCase = false;
    int m_match = -1;

    QToolBar* m_toolBar;
    PageView* m_view;
    QListWidget* m_outline;
    QSpinBox* m_pageBox;
    QComboBox* m_zoomBox;
    QWidget* m_findBar;
    QLineEdit* m_findEdit;
    QCheckBox* m_matchCase;
    QStatusBar* m_statusBar;
    QLabel* m_pageLabel;
    QLabel* m_zoomLabel;
    QAction* m_exportRows;
    QAction* m_first;
    QAction* m_previous;
    QAction* m_next;
    QAction* m_last;
    QAction* m_outlineAction;
};
