#include "printing/PreviewWindow.h"

#include "printing/PageView.h"
#include "ui/common/Prompter.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPageRanges>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr double minZoom = 0.1;
constexpr double maxZoom = 4.0;
// The steps of the zoom-in and zoom-out keys, in percent.
const int zoomSteps[] = {10, 25, 50, 75, 100, 125, 150, 200, 300, 400};
// The fixed choices of the zoom box; the first two fit the page to the window.
const int zoomChoices[] = {50, 75, 100, 150, 200};
constexpr int fitWidthChoice = -1;
constexpr int wholePageChoice = -2;

QIcon icon(const QString& name)
{
    return QIcon(QStringLiteral(":/printing/icons/%1.svg").arg(name));
}

} // namespace

// The window ------------------------------------------------------------------------------

PreviewWindow::PreviewWindow(const PreparedReport& report, QWidget* parent)
    : QDialog(parent)
    , m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("PreviewWindow"));
    setWindowFlag(Qt::WindowMinMaxButtonsHint);
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("PreviewToolBar"));
    m_toolBar->setIconSize(QSize(22, 22));
    m_toolBar->setMovable(false);
    layout->addWidget(m_toolBar);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setChildrenCollapsible(false);
    m_outline = new QListWidget(splitter);
    m_outline->setObjectName(QStringLiteral("Outline"));
    m_outline->setToolTip(tr("Pages of the report; click one to go to it"));
    m_outline->setMinimumWidth(90);
    m_outline->setSpacing(2);
    m_view = new PageView(splitter);
    splitter->addWidget(m_outline);
    splitter->addWidget(m_view);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({120, 900});
    layout->addWidget(splitter, 1);

    m_findBar = new QWidget(this);
    m_findBar->setObjectName(QStringLiteral("FindBar"));
    buildFindBar(m_findBar);
    m_findBar->hide();
    layout->addWidget(m_findBar);

    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("StatusBar"));
    m_pageLabel = new QLabel(m_statusBar);
    m_pageLabel->setObjectName(QStringLiteral("PageStatus"));
    m_zoomLabel = new QLabel(m_statusBar);
    m_zoomLabel->setObjectName(QStringLiteral("ZoomStatus"));
    m_zoomLabel->setMinimumWidth(m_zoomLabel->fontMetrics().horizontalAdvance(tr("Zoom 400%")));
    m_pageLabel->setContentsMargins(8, 0, 8, 0);
    m_zoomLabel->setContentsMargins(8, 0, 8, 0);
    m_statusBar->addPermanentWidget(m_pageLabel);
    m_statusBar->addPermanentWidget(m_zoomLabel);
    layout->addWidget(m_statusBar);

    buildToolBar();

    connect(m_view->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &PreviewWindow::followScrolling);
    m_view->zoomWheel = [this](int delta, const QPoint& at) { wheelZoom(delta, at); };
    m_view->resized = [this] {
        if (m_zoomMode != ZoomMode::Fixed)
            refreshZoom();
    };
    connect(m_outline, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            goToPage(row);
    });

    QSize size(1100, 900);
    if (const QScreen* screen = parent ? parent->screen() : QApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    resize(size);

    setReport(report);
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::showReport(const PreparedReport& report, QWidget* parent)
{
    PreviewWindow window(report, parent);
    window.exec();
}

QAction* PreviewWindow::addTool(const QString& name, const QString& iconName, const QString& text,
                                const QList<QKeySequence>& keys, void (PreviewWindow::*slot)())
{
    QAction* action = m_toolBar->addAction(icon(iconName), text);
    action->setObjectName(name);
    action->setShortcuts(keys);
    QString tip = text;
    if (!keys.isEmpty())
        tip += QStringLiteral(" (%1)").arg(keys.first().toString(QKeySequence::NativeText));
    action->setToolTip(tip);
    if (slot)
        connect(action, &QAction::triggered, this, [this, slot] { (this->*slot)(); });
    m_toolBar->widgetForAction(action)->setObjectName(name);
    return action;
}

void PreviewWindow::buildToolBar()
{
    addTool(QStringLiteral("Print"), QStringLiteral("print"), tr("Print"), {QKeySequence::Print},
            &PreviewWindow::print);
    QAction* setup = addTool(QStringLiteral("PageSetup"), QStringLiteral("pagesetup"),
                             tr("Page Setup"), {}, &PreviewWindow::pageSetup);
    // The page setup belongs to a printer; without one the print dialog still offers the
    // paper of a PDF file.
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        setup->setEnabled(false);
        setup->setToolTip(tr("Page Setup (no printer is installed)"));
    }
    addTool(QStringLiteral("ExportPdf"), QStringLiteral("pdf"), tr("Export to PDF"), {},
            &PreviewWindow::exportPdf);
    m_exportRows = addTool(QStringLiteral("ExportCsv"), QStringLiteral("csv"),
                           tr("Export the rows to CSV"), {}, &PreviewWindow::exportRows);
    addTool(QStringLiteral("SaveReport"), QStringLiteral("save"), tr("Save the prepared report"),
            {QKeySequence::Save}, &PreviewWindow::saveReport);
    addTool(QStringLiteral("OpenReport"), QStringLiteral("open"), tr("Open a prepared report"),
            {QKeySequence::Open}, &PreviewWindow::openReport);
    m_toolBar->addSeparator();

    m_first = addTool(QStringLiteral("FirstPage"), QStringLiteral("first"), tr("First page"),
                      {QKeySequence(Qt::Key_Home)}, &PreviewWindow::firstPage);
    m_previous =
        addTool(QStringLiteral("PreviousPage"), QStringLiteral("previous"), tr("Previous page"),
                {QKeySequence(Qt::Key_PageUp)}, &PreviewWindow::previousPage);
    m_pageBox = new QSpinBox(m_toolBar);
    m_pageBox->setObjectName(QStringLiteral("PageBox"));
    m_pageBox->setToolTip(tr("Page number; type one and press Enter to go to it"));
    m_pageBox->setKeyboardTracking(false);
    m_pageBox->setAlignment(Qt::AlignRight);
    m_pageBox->setButtonSymbols(QAbstractSpinBox::NoButtons);
    m_toolBar->addWidget(m_pageBox);
    connect(m_pageBox, &QSpinBox::valueChanged, this, [this](int page) { goToPage(page - 1); });
    m_next = addTool(QStringLiteral("NextPage"), QStringLiteral("next"), tr("Next page"),
                     {QKeySequence(Qt::Key_PageDown)}, &PreviewWindow::nextPage);
    m_last = addTool(QStringLiteral("LastPage"), QStringLiteral("last"), tr("Last page"),
                     {QKeySequence(Qt::Key_End)}, &PreviewWindow::lastPage);
    m_toolBar->addSeparator();

    addTool(QStringLiteral("ZoomOut"), QStringLiteral("zoomout"), tr("Zoom out"),
            {QKeySequence(Qt::Key_Minus), QKeySequence::ZoomOut}, &PreviewWindow::zoomOut);
    m_zoomBox = new QComboBox(m_toolBar);
    m_zoomBox->setObjectName(QStringLiteral("ZoomBox"));
    m_zoomBox->setToolTip(tr("Zoom; pick a size or type a percentage and press Enter"));
    m_zoomBox->setEditable(true);
    m_zoomBox->setInsertPolicy(QComboBox::NoInsert);
    // Typing "15" means 15 %, not the 150 % a completion would make of it.
    m_zoomBox->setCompleter(nullptr);
    m_zoomBox->addItem(tr("Fit Width"), fitWidthChoice);
    m_zoomBox->addItem(tr("Whole Page"), wholePageChoice);
    for (int percent : zoomChoices)
        m_zoomBox->addItem(QStringLiteral("%1%").arg(percent), percent);
    m_zoomBox->setMinimumContentsLength(9);
    m_toolBar->addWidget(m_zoomBox);
    connect(m_zoomBox, &QComboBox::activated, this, &PreviewWindow::zoomChoice);
    connect(m_zoomBox->lineEdit(), &QLineEdit::returnPressed, this, &PreviewWindow::zoomFromBox);
    addTool(
        QStringLiteral("ZoomIn"), QStringLiteral("zoomin"), tr("Zoom in"),
        {QKeySequence(Qt::Key_Plus), QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)},
        &PreviewWindow::zoomIn);
    m_toolBar->addSeparator();

    addTool(QStringLiteral("Find"), QStringLiteral("find"), tr("Find"), {QKeySequence::Find},
            &PreviewWindow::startFind);
    m_outlineAction = addTool(QStringLiteral("ShowOutline"), QStringLiteral("outline"),
                              tr("Show the outline of pages"), {}, nullptr);
    m_outlineAction->setCheckable(true);
    m_outlineAction->setChecked(true);
    connect(m_outlineAction, &QAction::toggled, m_outline, &QWidget::setVisible);

    auto* spacer = new QWidget(m_toolBar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_toolBar->addWidget(spacer);
    QAction* close = m_toolBar->addAction(icon(QStringLiteral("close")), tr("Close"));
    close->setObjectName(QStringLiteral("ClosePreview"));
    close->setToolTip(tr("Close the preview (Esc)"));
    m_toolBar->widgetForAction(close)->setObjectName(close->objectName());
    connect(close, &QAction::triggered, this, &QDialog::reject);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    if (auto* button = qobject_cast<QToolButton*>(m_toolBar->widgetForAction(close)))
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    // Keys without a button of their own.
    auto* findNextAction = new QAction(this);
    findNextAction->setShortcut(QKeySequence::FindNext);
    connect(findNextAction, &QAction::triggered, this, &PreviewWindow::findNext);
    auto* findPreviousAction = new QAction(this);
    findPreviousAction->setShortcut(QKeySequence::FindPrevious);
    connect(findPreviousAction, &QAction::triggered, this, &PreviewWindow::findPrevious);
    addActions({findNextAction, findPreviousAction});
}

void PreviewWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    refreshZoom();
    m_view->setFocus();
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_findEdit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            m_findBar->hide();
            m_view->clearHighlight();
            m_view->setFocus();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            find(m_findEdit->text(), key->modifiers() & Qt::ShiftModifier);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PreviewWindow::setReport(const PreparedReport& report)
{
    m_report = report;
    m_view->setReport(&m_report);
    m_match = -1;
    setWindowTitle(m_report.title.isEmpty() ? tr("Preview")
                                            : tr("%1 - Preview").arg(m_report.title));
    {
        const QSignalBlocker blocker(m_outline);
        m_outline->clear();
        for (int page = 1; page <= m_report.pageCount(); ++page)
            m_outline->addItem(tr("Page %1").arg(page));
    }
    {
        const QSignalBlocker blocker(m_pageBox);
        m_pageBox->setRange(std::min(1, m_report.pageCount()), m_report.pageCount());
        m_pageBox->setSuffix(QStringLiteral(" / %1").arg(m_report.pageCount()));
    }
    m_current = 0;
    refreshZoom();
    goToPage(0);
}

// Pages -----------------------------------------------------------------------------------

void PreviewWindow::goToPage(int page)
{
    if (m_report.pageCount() == 0) {
        updatePageControls();
        return;
    }
    m_current = std::clamp(page, 0, m_report.pageCount() - 1);
    m_navigating = true;
    if (m_zoomMode == ZoomMode::WholePage)
        refreshZoom();
    m_view->scrollToPage(m_current);
    m_navigating = false;
    updatePageControls();
}

void PreviewWindow::firstPage()
{
    goToPage(0);
}

void PreviewWindow::previousPage()
{
    goToPage(m_current - 1);
}

void PreviewWindow::nextPage()
{
    goToPage(m_current + 1);
}

void PreviewWindow::lastPage()
{
    goToPage(m_report.pageCount() - 1);
}

void PreviewWindow::followScrolling()
{
    if (m_navigating)
        return;
    const int page = m_view->pageInView();
    if (page != m_current) {
        m_current = page;
        updatePageControls();
    }
}

void PreviewWindow::updatePageControls()
{
    const int count = m_report.pageCount();
    {
        const QSignalBlocker blocker(m_pageBox);
        m_pageBox->setValue(m_current + 1);
    }
    {
        const QSignalBlocker blocker(m_outline);
        m_outline->setCurrentRow(count ? m_current : -1);
    }
    m_first->setEnabled(m_current > 0);
    m_previous->setEnabled(m_current > 0);
    m_next->setEnabled(m_current < count - 1);
    m_last->setEnabled(m_current < count - 1);
    // A report opened from its file keeps its pages only, not the rows they were made of.
    m_exportRows->setEnabled(!m_report.rows.isEmpty());
    m_exportRows->setToolTip(m_report.rows.isEmpty()
                                 ? tr("Export the rows to CSV (this report holds its pages only)")
                                 : tr("Export the rows to CSV"));
    m_pageLabel->setText(count ? tr("Page %1 of %2").arg(m_current + 1).arg(count)
                               : tr("No pages"));
}

// Zoom ------------------------------------------------------------------------------------

double PreviewWindow::zoom() const
{
    return m_view->zoom();
}

void PreviewWindow::setZoom(double factor)
{
    m_zoomMode = ZoomMode::Fixed;
    applyZoom(factor, m_view->viewport()->rect().center());
}

void PreviewWindow::setZoomMode(ZoomMode mode)
{
    m_zoomMode = mode;
    refreshZoom();
    if (mode == ZoomMode::WholePage)
        goToPage(m_current);
}

void PreviewWindow::zoomIn()
{
    const int now = int(std::lround(zoom() * 100));
    for (int step : zoomSteps)
        if (step > now)
            return setZoom(step / 100.0);
    setZoom(maxZoom);
}

void PreviewWindow::zoomOut()
{
    const int now = int(std::lround(zoom() * 100));
    for (auto it = std::rbegin(zoomSteps); it != std::rend(zoomSteps); ++it)
        if (*it < now)
            return setZoom(*it / 100.0);
    setZoom(minZoom);
}

void PreviewWindow::zoomChoice(int index)
{
    const int choice = m_zoomBox->itemData(index).toInt();
    if (choice == fitWidthChoice)
        setZoomMode(ZoomMode::FitWidth);
    else if (choice == wholePageChoice)
        setZoomMode(ZoomMode::WholePage);
    else if (choice > 0)
        setZoom(choice / 100.0);
}

void PreviewWindow::zoomFromBox()
{
    const QString text = m_zoomBox->currentText().trimmed();
    const int index = m_zoomBox->findText(text, Qt::MatchFixedString);
    if (index >= 0)
        return zoomChoice(index);
    QString number = text;
    number.remove(QLatin1Char('%'));
    bool ok = false;
    const double percent = QLocale().toDouble(number.trimmed(), &ok);
    if (ok && percent > 0)
        setZoom(percent / 100.0);
    else
        refreshZoom();
}

void PreviewWindow::wheelZoom(int delta, const QPoint& at)
{
    m_zoomMode = ZoomMode::Fixed;
    applyZoom(zoom() * std::pow(1.2, delta / 120.0), at);
}

void PreviewWindow::applyZoom(double factor, const QPoint& anchor)
{
    m_navigating = true;
    m_view->setZoom(std::clamp(factor, minZoom, maxZoom), anchor);
    m_navigating = false;
    const int percent = int(std::lround(zoom() * 100));
    m_zoomLabel->setText(tr("Zoom %1%").arg(percent));
    switch (m_zoomMode) {
    case ZoomMode::FitWidth:
        m_zoomBox->setEditText(m_zoomBox->itemText(0));
        break;
    case ZoomMode::WholePage:
        m_zoomBox->setEditText(m_zoomBox->itemText(1));
        break;
    case ZoomMode::Fixed:
        m_zoomBox->setEditText(QStringLiteral("%1%").arg(percent));
        break;
    }
}

// Brings the zoom in line with its mode after the window or the page changed.
void PreviewWindow::refreshZoom()
{
    double factor = zoom();
    if (m_zoomMode == ZoomMode::FitWidth)
        factor = m_view->fitWidthZoom();
    else if (m_zoomMode == ZoomMode::WholePage)
        factor = m_view->wholePageZoom(m_current);
    applyZoom(factor, QPoint(m_view->viewport()->width() / 2, 0));
}

// Find ------------------------------------------------------------------------------------

void PreviewWindow::status(const QString& text)
{
    m_statusBar->showMessage(text);
}
