// What leaves the preview: the printer with its page setup, a PDF file, and a prepared report
// saved to a file and opened again.
#include "printing/PageView.h"
#include "printing/PreviewWindow.h"
#include "ui/common/OutputFiles.h"
#include "ui/common/Prompter.h"

#include <QApplication>
#include <QCheckBox>
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

const QString reportSuffix = QStringLiteral("tvr");

PreviewWindow::FileChooser installedChooser;
} // namespace

void PreviewWindow::setFileChooser(FileChooser chooser)
{
    installedChooser = std::move(chooser);
}

void PreviewWindow::print()
{
    if (m_report.pageCount() == 0)
        return;
    // Until the user picks a paper the dialogs offer the report's own.
    if (!m_paperChosen) {
        const QPageLayout own = m_report.pageLayout(m_current);
        m_printer->setPageSize(own.pageSize());
        m_printer->setPageOrientation(own.orientation());
    }
    const QPageLayout before = m_printer->pageLayout();
    QPrintDialog dialog(m_printer.get(), this);
    dialog.setWindowTitle(tr("Print"));
    dialog.setMinMax(1, m_report.pageCount());
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintCurrentPage |
                      QAbstractPrintDialog::PrintCollateCopies |
                      QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QPageLayout after = m_printer->pageLayout();
    if (!after.pageSize().isEquivalentTo(before.pageSize()) ||
        after.orientation() != before.orientation())
        m_paperChosen = true;
    printTo(*m_printer);
}

void PreviewWindow::pageSetup()
{
    // After "Print to File" the printer writes PDF, which the page setup does not serve.
    if (m_printer->outputFormat() != QPrinter::NativeFormat)
        m_printer->setOutputFormat(QPrinter::NativeFormat);
    if (m_printer->outputFormat() != QPrinter::NativeFormat)
        return;
    if (!m_paperChosen) {
        const QPageLayout own = m_report.pageLayout(m_current);
        m_printer->setPageSize(own.pageSize());
        m_printer->setPageOrientation(own.orientation());
    }
    QPageSetupDialog dialog(m_printer.get(), this);
    dialog.setWindowTitle(tr("Page Setup"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_paperChosen = true;
    status(tr("Pages will be printed on %1 paper.").arg(m_printer->pageLayout().pageSize().name()));
}

bool PreviewWindow::printTo(QPrinter& printer)
{
    QList<int> pages;
    if (printer.printRange() == QPrinter::CurrentPage) {
        pages.append(m_current);
    } else {
        const bool range = printer.printRange() == QPrinter::PageRange;
        const QPageRanges wanted = printer.pageRanges();
        for (int page = 0; page < m_report.pageCount(); ++page)
            if (!range || wanted.isEmpty() || wanted.contains(page + 1))
                pages.append(page);
    }
    const QString error =
        m_report.print(printer, pages,
                       m_paperChosen ? PreparedReport::Paper::Printer : PreparedReport::Paper::Own);
    if (!error.isEmpty()) {
        Prompter::instance().error(error);
        return false;
    }
    const QString target =
        printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    status(pages.size() == 1 ? tr("1 page sent to %1.").arg(target)
                             : tr("%1 pages sent to %2.").arg(pages.size()).arg(target));
    return true;
}

// Files -----------------------------------------------------------------------------------

QString PreviewWindow::proposedFile(const QString& suffix) const
{
    return ::proposedFile(m_report.title, suffix);
}

QString PreviewWindow::chooseFile(const FileQuestion& question)
{
    QString chosen;
    if (installedChooser) {
        chosen = installedChooser(question);
    } else {
        chosen = Prompter::instance().chooseFile(question);
    }
    rememberFolder(chosen);
    return chosen;
}

void PreviewWindow::exportPdf()
{
    const QString file = chooseFile(
        {tr("Export to PDF"), proposedFile(QStringLiteral("pdf")), tr("PDF files (*.pdf)"), true});
    if (!file.isEmpty())
        exportPdfTo(file);
}

bool PreviewWindow::exportPdfTo(const QString& fileName)
{
    const QString error = m_report.exportPdf(fileName);
    if (!error.isEmpty()) {
        Prompter::instance().error(error);
        return false;
    }
    status(tr("Exported to %1.").arg(QDir::toNativeSeparators(fileName)));
    return true;
}

void PreviewWindow::exportRows()
{
    if (m_report.rows.isEmpty())
        return;
    const QString file =
        chooseFile({tr("Export the rows to CSV"), proposedFile(QStringLiteral("csv")),
                    tr("CSV files (*.csv)"), true});
    if (!file.isEmpty())
        exportRowsTo(file);
}

bool PreviewWindow::exportRowsTo(const QString& fileName)
{
    // Each table of rows under its own titles, a blank line between them.
    const QByteArray bytes = Csv::document(m_report.rows);
    const QString error = writeFile(fileName, bytes);
    if (!error.isEmpty()) {
        Prompter::instance().error(error);
        return false;
    }
    status(tr("Exported the rows to %1").arg(QDir::toNativeSeparators(fileName)));
    return true;
}

void PreviewWindow::saveReport()
{
    const QString file = chooseFile({tr("Save the prepared report"), proposedFile(reportSuffix),
                                     tr("Tavlin prepared reports (*.%1)").arg(reportSuffix), true});
    if (!file.isEmpty())
        saveTo(file);
}

bool PreviewWindow::saveTo(const QString& fileName)
{
    const QString error = m_report.save(fileName);
    if (!error.isEmpty()) {
        Prompter::instance().error(error);
        return false;
    }
    status(tr("Saved to %1.").arg(QDir::toNativeSeparators(fileName)));
    return true;
}

void PreviewWindow::openReport()
{
    const QString file =
        chooseFile({tr("Open a prepared report"), proposedFile(reportSuffix),
                    tr("Tavlin prepared reports (*.%1);;All files (*)").arg(reportSuffix), false});
    if (!file.isEmpty())
        loadFrom(file);
}

bool PreviewWindow::loadFrom(const QString& fileName)
{
    QString error;
    const std::optional<PreparedReport> loaded = PreparedReport::load(fileName, &error);
    if (!loaded) {
        Prompter::instance().error(error);
        return false;
    }
    setReport(*loaded);
    status(tr("Opened %1.").arg(QDir::toNativeSeparators(fileName)));
    return true;
}
