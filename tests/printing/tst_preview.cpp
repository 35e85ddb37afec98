// The prepared report's outputs (its text, PDF, printer, its own file) and the preview window
// worked the way a user works it. PDF files are read back with poppler-utils.

#include "Pdf.h"
#include "ScriptedPrompter.h"
#include "Ui.h"
#include "printing/PreparedReport.h"
#include "printing/PreviewWindow.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest>

#include <cmath>

namespace {

using Kind = ScriptedPrompter::Kind;

const QSizeF letter(215.9, 279.4);
const QSizeF shopPaper(210, 280);

PageItem textItem(double x, double y, double w, double h, const QString& text, double size = 10,
                  bool bold = false, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop,
                  bool wrap = false)
{
    PageItem item;
    item.kind = PageItem::Kind::Text;
    item.rect = QRectF(x, y, w, h);
    item.text = text;
    item.fontSize = size;
    item.bold = bold;
    item.alignment = alignment;
    item.wordWrap = wrap;
    return item;
}

PageItem frameItem(const QRectF& rect, double width = 0.3)
{
    PageItem item;
    item.kind = PageItem::Kind::Frame;
    item.rect = rect;
    item.lineWidth = width;
    return item;
}

PageItem lineItem(const QPointF& from, const QPointF& to, double width = 0.3)
{
    PageItem item;
    item.kind = PageItem::Kind::Line;
    item.rect = QRectF(from, to);
    item.lineWidth = width;
    return item;
}

// One copy of an invoice, laid out the way the shop's printout is.
PreparedPage invoicePage(const QSizeF& paper, const QString& copy)
{
    PreparedPage page;
    page.paper = paper;
    const double right = paper.width() - 10;
    page.items = {
        textItem(10, 10, 100, 9, QStringLiteral("Tavlin Truck Repair"), 18, true),
        textItem(10, 19, 80, 18,
                 QStringLiteral("1200 Industrial Way\nSpringfield, IL 62701\nTel: (217) 555-0142\n"
                                "Cell: (217) 555-0199"),
                 8),
        textItem(right - 60, 10, 60, 5, copy, 9, false, Qt::AlignRight | Qt::AlignTop),
        textItem(right - 60, 16, 60, 8, QStringLiteral("Invoice"), 16, true, Qt::AlignHCenter),
        textItem(right - 60, 24, 60, 8, QStringLiteral("1042"), 16, true, Qt::AlignHCenter),
        textItem(10, 42, 30, 5, QStringLiteral("Invoice Date:"), 9, true),
        textItem(40, 42, 40, 5, QStringLiteral("3/7/2005"), 9),
        textItem(10, 47, 30, 5, QStringLiteral("Customer Name:"), 9, true),
        textItem(40, 47, 60, 5, QStringLiteral("Prairie Freight Lines"), 9),
        frameItem(QRectF(10, 60, right - 10, 8), 0.4),
        textItem(12, 61.5, 80, 5, QStringLiteral("Description"), 9, true),
        textItem(110, 61.5, 25, 5, QStringLiteral("Part No"), 9, true),
        textItem(140, 61.5, 12, 5, QStringLiteral("Qty"), 9, true, Qt::AlignRight),
        textItem(155, 61.5, 18, 5, QStringLiteral("Rate"), 9, true, Qt::AlignRight),
        textItem(right - 25, 61.5, 23, 5, QStringLiteral("Amount"), 9, true, Qt::AlignRight),
        frameItem(QRectF(10, 68, right - 10, 7)),
        textItem(12, 69, 95, 5, QStringLiteral("Part : Brake chamber 30/30"), 9),
        textItem(110, 69, 25, 5, QStringLiteral("BC-3030"), 9),
        textItem(140, 69, 12, 5, QStringLiteral("2"), 9, false, Qt::AlignRight),
        textItem(155, 69, 18, 5, QStringLiteral("$48.00"), 9, false, Qt::AlignRight),
        textItem(right - 25, 69, 23, 5, QStringLiteral("$96.00"), 9, false, Qt::AlignRight),
        frameItem(QRectF(10, 75, right - 10, 7)),
        textItem(12, 76, 95, 5, QStringLiteral("Labor : Replace brake chamber"), 9),
        textItem(140, 76, 12, 5, QStringLiteral("1.5"), 9, false, Qt::AlignRight),
        textItem(155, 76, 18, 5, QStringLiteral("$85.00"), 9, false, Qt::AlignRight),
        textItem(right - 25, 76, 23, 5, QStringLiteral("$127.50"), 9, false, Qt::AlignRight),
        frameItem(QRectF(right - 70, 90, 70, 24), 0.4),
        textItem(right - 68, 92, 66, 5, QStringLiteral("Total  Part   : $96.00"), 9),
        textItem(right - 68, 97, 66, 5, QStringLiteral("Total Labor  : $127.50"), 9),
        textItem(right - 68, 102, 66, 5, QStringLiteral("Tax on Part : No Tax"), 9),
        textItem(right - 68, 107, 66, 5, QStringLiteral("Total invoice : $223.50"), 9, true),
        lineItem(QPointF(10, paper.height() - 40), QPointF(right, paper.height() - 40), 0.5),
        textItem(10, paper.height() - 38, right - 10, 14,
                 QStringLiteral("I hereby authorize the repair work to be done along with the "
                                "necessary material, and hereby grant your employee\u2019s "
                                "permissions to operate the vehicle herein described on streets, "
                                "highways or elsewhere for the purpose of testing and/or "
                                "inspection."),
                 7, false, Qt::AlignLeft | Qt::AlignTop, true),
    };
    return page;
}

PreparedReport invoiceReport()
{
    PreparedReport report;
    report.title = QStringLiteral("Invoice 1042");
    report.pages = {invoicePage(shopPaper, QStringLiteral("Tavlin Truck Copy")),
                    invoicePage(letter, QStringLiteral("Customer Copy")),
                    invoicePage(letter, QStringLiteral("Accounting Copy"))};
    return report;
}

QString pdfText(const QString& file, int page)
{
    const QString n = QString::number(page);
    return runTool(QStringLiteral("pdftotext"),
                   {QStringLiteral("-f"), n, QStringLiteral("-l"), n, QStringLiteral("-layout"),
                    file, QStringLiteral("-")});
}

// The box of a word of a PDF's first page, in millimetres from the top-left corner.
QRectF pdfWord(const QString& file, const QString& word)
{
    const QString html =
        runTool(QStringLiteral("pdftotext"),
                {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"),
                 QStringLiteral("-l"), QStringLiteral("1"), file, QStringLiteral("-")});
    static const QRegularExpression re(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(5) == word) {
            const double k = 25.4 / 72;
            return QRectF(QPointF(m.captured(1).toDouble() * k, m.captured(2).toDouble() * k),
                          QPointF(m.captured(3).toDouble() * k, m.captured(4).toDouble() * k));
        }
    }
    return QRectF();
}

bool near(double a, double b, double tolerance)
{
    return std::abs(a - b) <= tolerance;
}

QString sizeText(const QList<QSizeF>& sizes)
{
    QStringList parts;
    for (const QSizeF& s : sizes)
        parts.append(QStringLiteral("%1x%2").arg(s.width(), 0, 'f', 1).arg(s.height(), 0, 'f', 1));
    return parts.join(QLatin1Char(' '));
}

void comparePapers(const QList<QSizeF>& actual, const QList<QSizeF>& expected)
{
    QVERIFY2(
        actual.size() == expected.size(),
        qPrintable(
            QStringLiteral("pages %1, expected %2").arg(sizeText(actual), sizeText(expected))));
    for (int i = 0; i < int(expected.size()); ++i)
        QVERIFY2(
            near(actual[i].width(), expected[i].width(), 0.4) &&
                near(actual[i].height(), expected[i].height(), 0.4),
            qPrintable(
                QStringLiteral("pages %1, expected %2").arg(sizeText(actual), sizeText(expected))));
}

// Focus, keys and painting reach a window offscreen only once it is active.
bool showActive(QWidget* window)
{
    window->show();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

QString statusOf(const PreviewWindow& window)
{
    return ui::find<QStatusBar>(&window, QStringLiteral("StatusBar"))->currentMessage();
}

QString pageBoxText(const PreviewWindow& window)
{
    return ui::find<QSpinBox>(&window, QStringLiteral("PageBox"))->text();
}

QAbstractScrollArea* pageView(const PreviewWindow& window)
{
    return ui::find<QAbstractScrollArea>(&window, QStringLiteral("PageView"));
}

} // namespace

class Tst_preview : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pageTextReadingOrder_data();
    void pageTextReadingOrder();
    void textSeparatesPages();
    void renderPlacesPaperInTarget();
    void renderTypeAtRealSize_data();
    void renderTypeAtRealSize();

    void pdfPaperPerPage_data();
    void pdfPaperPerPage();
    void pdfHoldsTextOfEachPage();
    void pdfTextAtItsPlaceAndSize_data();
    void pdfTextAtItsPlaceAndSize();
    void pdfLineBreaks_data();
    void pdfLineBreaks();
    void pdfBoldText_data();
    void pdfBoldText();
    void pdfExportErrors_data();
    void pdfExportErrors();

    void saveLoadRoundTrip();
    void rowsExportedAsCsv();
    void loadRefusesForeignAndDamagedFiles_data();
    void loadRefusesForeignAndDamagedFiles();

    void navigation_data();
    void navigation();
    void scrollingFollowsPages();
    void zoom_data();
    void zoom();
    void fitToWindow_data();
    void fitToWindow();
    void find_data();
    void find();
    void findKeysAndEscape();
    void outline();
    void printRange_data();
    void printRange();
    void printOnChosenPaper();
    void exportThroughFileQuestion();
    void saveAndOpenInWindow();
    void openDamagedFileKeepsReport();
    void reportWithoutPages();
    void showReportReturnsWhenClosed();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
};

void Tst_preview::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_prompter = std::make_unique<ScriptedPrompter>();
}

void Tst_preview::cleanup()
{
    PreviewWindow::setFileChooser({});
    m_prompter.reset();
    m_dir.reset();
}

// Text ------------------------------------------------------------------------------------

void Tst_preview::pageTextReadingOrder_data()
{
    QTest::addColumn<QList<PageItem>>("items");
    QTest::addColumn<QString>("expected");

    QTest::newRow("top to bottom")
        << QList<PageItem>{textItem(10, 50, 20, 5, "third"), textItem(10, 10, 20, 5, "first"),
                           textItem(10, 30, 20, 5, "second")}
        << "first\nsecond\nthird";
    QTest::newRow("one row left to right")
        << QList<PageItem>{textItem(150, 20, 20, 5, "Amount"),
                           textItem(10, 20, 20, 5, "Description"), textItem(110, 20, 20, 5, "Qty")}
        << "Description\nQty\nAmount";
    QTest::newRow("row tops differing by rounding")
        << QList<PageItem>{textItem(150, 20.004, 20, 5, "c"), textItem(10, 20, 20, 5, "a"),
                           textItem(90, 19.998, 20, 5, "b"), textItem(10, 25, 20, 5, "d")}
        << "a\nb\nc\nd";
    QTest::newRow("higher top first, whatever its height")
        << QList<PageItem>{textItem(10, 12, 20, 5, "small"), textItem(150, 10, 40, 60, "tall")}
        << "tall\nsmall";
    QTest::newRow("frames, lines and empty texts are not text")
        << QList<PageItem>{frameItem(QRectF(5, 5, 100, 100)), textItem(10, 10, 20, 5, ""),
                           lineItem(QPointF(0, 1), QPointF(100, 1)),
                           textItem(10, 20, 20, 5, "only"), textItem(10, 30, 20, 5, "   ")}
        << "only";
    QTest::newRow("several lines of one item stay together")
        << QList<PageItem>{textItem(100, 20, 50, 15, "Billing\nAddress"),
                           textItem(10, 20, 50, 5, "Customer")}
        << "Customer\nBilling\nAddress";
}

void Tst_preview::pageTextReadingOrder()
{
    QFETCH(QList<PageItem>, items);
    QFETCH(QString, expected);
    PreparedReport report;
    report.pages = {PreparedPage{letter, items}};
    QCOMPARE(report.pageText(0), expected);
}

void Tst_preview::textSeparatesPages()
{
    const PreparedReport report = invoiceReport();
    const QStringList pages = report.text().split(QLatin1Char('\f'));
    QCOMPARE(pages.size(), 3);
    QVERIFY(pages[0].contains("Tavlin Truck Copy"));
    QVERIFY(pages[1].contains("Customer Copy"));
    QVERIFY(pages[2].contains("Accounting Copy"));
    QVERIFY(!pages[1].contains("Accounting Copy"));
    QVERIFY(pages[2].startsWith("Tavlin Truck Repair\n"));
    QCOMPARE(report.pageText(3), QString());
    QCOMPARE(report.pageText(-1), QString());
}

void Tst_preview::renderPlacesPaperInTarget()
{
    // A 100 mm square page drawn at 2 pixels per millimetre, 20 px from the left and 30 px
    // from the top of a grey image; a 1 mm frame from 10 to 90 mm and a line across at 50 mm.
    PreparedReport report;
    report.pages = {PreparedPage{
        QSizeF(100, 100),
        {frameItem(QRectF(10, 10, 80, 80), 1.0), lineItem(QPointF(10, 50), QPointF(90, 50), 1.0)}}};
    QImage image(300, 300, QImage::Format_RGB32);
    image.fill(QColor(128, 128, 128));
    {
        QPainter painter(&image);
        report.render(painter, 0, QRectF(20, 30, 200, 200));
    }
    const auto dark = [&](int x, int y) { return qGray(image.pixel(x, y)) < 60; };
    const auto white = [&](int x, int y) { return qGray(image.pixel(x, y)) > 245; };
    QVERIFY2(white(25, 35), "paper is white");
    QVERIFY2(white(215, 225), "paper reaches the far corner of the target");
    QCOMPARE(qGray(image.pixel(10, 35)), 128);   // left of the target
    QCOMPARE(qGray(image.pixel(100, 240)), 128); // below the target
    QVERIFY2(dark(40, 70), "frame's left edge at 10 mm");
    QVERIFY2(dark(200, 70), "frame's right edge at 90 mm");
    QVERIFY2(dark(100, 130), "line at 50 mm");
    QVERIFY2(white(100, 100), "inside the frame stays white");
    // A 1 mm line is 2 pixels wide here, not a hairline and not 4 pixels.
    int thick = 0;
    for (int y = 120; y < 140; ++y)
        thick += dark(100, y) ? 1 : 0;
    QVERIFY2(thick >= 2 && thick <= 3, qPrintable(QString::number(thick)));
}

void Tst_preview::renderTypeAtRealSize_data()
{
    QTest::addColumn<double>("dotsPerMm"); // scale of the drawing
    QTest::addColumn<int>("deviceDpi");    // resolution the device reports

    QTest::newRow("screen at 100 %") << 96 / 25.4 << 96;
    QTest::newRow("screen zoomed to 10 dots per mm") << 10.0 << 96;
    QTest::newRow("screen zoomed out to 1.5 dots per mm") << 1.5 << 96;
    QTest::newRow("300 dpi device at 4 dots per mm") << 4.0 << 300;
    QTest::newRow("600 dpi device at its own scale") << 600 / 25.4 << 600;
}

void Tst_preview::renderTypeAtRealSize()
{
    QFETCH(double, dotsPerMm);
    QFETCH(int, deviceDpi);
    // 20 pt type is 7.06 mm from ascender to descender line; the capital H of a sans-serif face
    // is about 0.72 of that.
    PreparedReport report;
    report.pages = {PreparedPage{QSizeF(100, 60), {textItem(10, 10, 80, 40, "H", 20)}}};
    QImage image(int(std::ceil(100 * dotsPerMm)), int(std::ceil(60 * dotsPerMm)),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(int(std::lround(deviceDpi / 0.0254)));
    image.setDotsPerMeterY(int(std::lround(deviceDpi / 0.0254)));
    image.fill(Qt::gray);
    {
        QPainter painter(&image);
        report.render(painter, 0, QRectF(0, 0, 100 * dotsPerMm, 60 * dotsPerMm));
    }
    int top = image.height();
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    QVERIFY2(bottom >= top, "the letter is drawn");
    const double capMm = (bottom - top + 1) / dotsPerMm;
    const double emMm = 20 * 25.4 / 72;
    QVERIFY2(capMm > 0.6 * emMm && capMm < 0.82 * emMm,
             qPrintable(QStringLiteral("cap height %1 mm").arg(capMm)));
    // The top of the letter sits just under the top of its box, at 10 mm.
    QVERIFY2(top / dotsPerMm > 10 && top / dotsPerMm < 13,
             qPrintable(QStringLiteral("top at %1 mm").arg(top / dotsPerMm)));
}

// PDF -------------------------------------------------------------------------------------

void Tst_preview::pdfPaperPerPage_data()
{
    QTest::addColumn<QList<QSizeF>>("papers");
    QTest::newRow("US Letter") << QList<QSizeF>{letter};
    QTest::newRow("shop paper, then Letter twice") << QList<QSizeF>{shopPaper, letter, letter};
    QTest::newRow("Letter, landscape Letter, Letter")
        << QList<QSizeF>{letter, letter.transposed(), letter};
    QTest::newRow("A4, a label, landscape A5")
        << QList<QSizeF>{QSizeF(210, 297), QSizeF(100, 150), QSizeF(210, 148)};
}

void Tst_preview::pdfPaperPerPage()
{
    QFETCH(QList<QSizeF>, papers);
    PreparedReport report;
    for (const QSizeF& paper : papers)
        report.pages.append(invoicePage(paper, QStringLiteral("Copy")));
    const QString file = m_dir->filePath("paper.pdf");
    QCOMPARE(report.exportPdf(file), QString());
    comparePapers(pdfPages(file), papers);
}

void Tst_preview::pdfHoldsTextOfEachPage()
{
    const QString file = m_dir->filePath("invoice.pdf");
    QCOMPARE(invoiceReport().exportPdf(file), QString());
    const QStringList copies = {"Tavlin Truck Copy", "Customer Copy", "Accounting Copy"};
    for (int page = 0; page < 3; ++page) {
        const QString text = pdfText(file, page + 1);
        for (int other = 0; other < 3; ++other)
            QCOMPARE(text.contains(copies[other]), other == page);
        QVERIFY2(text.contains("Total invoice : $223.50"), qPrintable(text));
        QVERIFY(text.contains("Springfield, IL 62701"));
        QVERIFY(text.contains(QStringLiteral("employee\u2019s")));
    }
}

void Tst_preview::pdfTextAtItsPlaceAndSize_data()
{
    QTest::addColumn<Qt::Alignment>("alignment");
    QTest::addColumn<double>("size");
    QTest::addColumn<double>("left");   // expected left of the word, or -1
    QTest::addColumn<double>("right");  // expected right of the word, or -1
    QTest::addColumn<double>("top");    // expected top of the word, or -1
    QTest::addColumn<double>("bottom"); // expected bottom of the word, or -1

    // The text box runs from 40 to 160 mm across and from 100 to 120 mm down.
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignTop;
    QTest::newRow("left, 10 pt") << left << 10.0 << 40.0 << -1.0 << 100.0 << -1.0;
    QTest::newRow("left, 24 pt") << left << 24.0 << 40.0 << -1.0 << 100.0 << -1.0;
    QTest::newRow("right, 12 pt") << Qt::Alignment(Qt::AlignRight | Qt::AlignTop) << 12.0 << -1.0
                                  << 160.0 << 100.0 << -1.0;
    QTest::newRow("centred, 16 pt")
        << Qt::Alignment(Qt::AlignHCenter | Qt::AlignTop) << 16.0 << -1.0 << -1.0 << 100.0 << -1.0;
    QTest::newRow("bottom right, 9 pt")
        << Qt::Alignment(Qt::AlignRight | Qt::AlignBottom) << 9.0 << -1.0 << 160.0 << -1.0 << 120.0;
}

void Tst_preview::pdfTextAtItsPlaceAndSize()
{
    QFETCH(Qt::Alignment, alignment);
    QFETCH(double, size);
    QFETCH(double, left);
    QFETCH(double, right);
    QFETCH(double, top);
    QFETCH(double, bottom);
    PreparedReport report;
    report.pages = {
        PreparedPage{letter, {textItem(40, 100, 120, 20, "Kenworth", size, false, alignment)}}};
    const QString file = m_dir->filePath("place.pdf");
    QCOMPARE(report.exportPdf(file), QString());
    const QRectF word = pdfWord(file, "Kenworth");
    QVERIFY2(!word.isEmpty(), "the word is text in the PDF");
    const QString box = QStringLiteral("%1 %2 %3 %4")
                            .arg(word.left())
                            .arg(word.top())
                            .arg(word.right())
                            .arg(word.bottom());
    if (left >= 0)
        QVERIFY2(near(word.left(), left, 1.0), qPrintable(box));
    if (right >= 0)
        QVERIFY2(near(word.right(), right, 1.0), qPrintable(box));
    if (left < 0 && right < 0)
        QVERIFY2(near(word.center().x(), 100, 1.0), qPrintable(box));
    if (top >= 0)
        QVERIFY2(near(word.top(), top, 1.5), qPrintable(box));
    if (bottom >= 0)
        QVERIFY2(near(word.bottom(), bottom, 1.5), qPrintable(box));
    // The box of a line of type is about its point size plus the font's leading.
    const double pointsHigh = word.height() * 72 / 25.4;
    QVERIFY2(pointsHigh >= size * 0.95 && pointsHigh <= size * 1.45,
             qPrintable(QString::number(pointsHigh)));
}

void Tst_preview::pdfLineBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("wrap");
    QTest::addColumn<bool>("twoLines");

    const QString remark = QStringLiteral("Brake chamber replaced on the left front axle");
    QTest::newRow("wrapped in a narrow box") << remark << true << true;
    QTest::newRow("not wrapped") << remark << false << false;
    QTest::newRow("line break in the text") << QStringLiteral("Brake\naxle") << false << true;
}

void Tst_preview::pdfLineBreaks()
{
    QFETCH(QString, text);
    QFETCH(bool, wrap);
    QFETCH(bool, twoLines);
    PreparedReport report;
    report.pages = {PreparedPage{
        letter, {textItem(20, 50, 40, 30, text, 10, false, Qt::AlignLeft | Qt::AlignTop, wrap)}}};
    const QString file = m_dir->filePath("lines.pdf");
    QCOMPARE(report.exportPdf(file), QString());
    const QRectF first = pdfWord(file, "Brake");
    const QRectF last = pdfWord(file, "axle");
    QVERIFY(!first.isEmpty() && !last.isEmpty());
    QCOMPARE(last.top() > first.bottom() - 0.5, twoLines);
    if (twoLines && !wrap)
        QVERIFY2(near(last.left(), 20, 1.0), "the next line starts at the box's left edge");
}

void Tst_preview::pdfBoldText_data()
{
    QTest::addColumn<bool>("bold");
    QTest::newRow("bold") << true;
    QTest::newRow("regular") << false;
}

void Tst_preview::pdfBoldText()
{
    QFETCH(bool, bold);
    PreparedReport report;
    report.pages = {PreparedPage{letter, {textItem(20, 20, 100, 10, "Invoice", 16, bold)}}};
    const QString file = m_dir->filePath("bold.pdf");
    QCOMPARE(report.exportPdf(file), QString());
    const QString fonts = runTool(QStringLiteral("pdffonts"), {file});
    QVERIFY2(fonts.count(QLatin1Char('\n')) >= 3, qPrintable(fonts)); // heading and one font
    QCOMPARE(fonts.contains("Bold"), bold);
}

void Tst_preview::pdfExportErrors_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<bool>("pages");
    QTest::newRow("missing folder") << "no/such/folder/report.pdf" << true;
    QTest::newRow("a folder in the file's place") << "" << true;
    QTest::newRow("a report without pages") << "empty.pdf" << false;
}

void Tst_preview::pdfExportErrors()
{
    QFETCH(QString, where);
    QFETCH(bool, pages);
    const QString file = where.isEmpty() ? m_dir->path() : m_dir->filePath(where);
    PreparedReport report = invoiceReport();
    if (!pages)
        report.pages.clear();
    const QString error = report.exportPdf(file);
    QVERIFY(!error.isEmpty());
    if (pages)
        QVERIFY2(error.contains(QDir::toNativeSeparators(file)), qPrintable(error));
    QVERIFY(!QFileInfo(file).isFile());
}

// The program's own file ------------------------------------------------------------------

// The preview writes the printout's rows, each table under its titles with a blank line
// between; a report opened from its file has none and the button says why it is off.
void Tst_preview::rowsExportedAsCsv()
{
    PreparedReport report = invoiceReport();
    report.rows = {Csv::Table{{"Part Name", "Amount"}, {{"Pad, front", "25.00"}}},
                   Csv::Table{{"Labor"}, {{"Brake job"}, {"Oil \"change\""}}}};
    PreviewWindow window(report);
    auto* button = window.findChild<QToolButton*>(QStringLiteral("ExportCsv"));
    QVERIFY(button);
    QVERIFY(button->isEnabled());
    const QString file = m_dir->filePath("rows.csv");
    QVERIFY(window.exportRowsTo(file));
    QFile written(file);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(),
             QByteArray("\xEF\xBB\xBFPart Name,Amount\r\n\"Pad, front\",25.00\r\n"
                        "\r\nLabor\r\nBrake job\r\n\"Oil \"\"change\"\"\"\r\n"));
    QVERIFY(!window.exportRowsTo(m_dir->filePath("missing/folder/rows.csv")));

    const QString saved = m_dir->filePath("saved.tvr");
    QCOMPARE(report.save(saved), QString());
    PreviewWindow opened(*PreparedReport::load(saved));
    auto* off = opened.findChild<QToolButton*>(QStringLiteral("ExportCsv"));
    QVERIFY(!off->isEnabled());
    QVERIFY(off->toolTip().contains("pages only"));
}

void Tst_preview::saveLoadRoundTrip()
{
    PreparedReport report = invoiceReport();
    report.title = QStringLiteral("Invoice 1042 \u2013 Prairie Freight");
    PageItem odd = textItem(12.345678, 200.5, 33.3, 12.25, "Right\nbottom\n\u00e9t\u00e9", 7.5,
                            true, Qt::AlignRight | Qt::AlignBottom, true);
    odd.color = QColor(0x12, 0x34, 0x56);
    report.pages[1].items.append(odd);
    report.pages[1].items.append(
        textItem(10, 220, 50, 10, "justified", 9, false, Qt::AlignJustify | Qt::AlignVCenter));
    PageItem red = lineItem(QPointF(190, 250), QPointF(20, 240), 1.25);
    red.color = Qt::red;
    report.pages[2].items.append(red);
    report.pages.append(PreparedPage{letter.transposed(), {}});

    const QString file = m_dir->filePath("invoice.tvr");
    QCOMPARE(report.save(file), QString());
    QString error = "unchanged";
    const std::optional<PreparedReport> loaded = PreparedReport::load(file, &error);
    QVERIFY2(loaded, qPrintable(error));
    QCOMPARE(error, QString());
    QCOMPARE(loaded->title, report.title);
    QCOMPARE(loaded->pageCount(), report.pageCount());
    for (int p = 0; p < report.pageCount(); ++p) {
        const PreparedPage& a = report.pages[p];
        const PreparedPage& b = loaded->pages[p];
        QCOMPARE(b.paper, a.paper);
        QCOMPARE(b.items.size(), a.items.size());
        for (int i = 0; i < int(a.items.size()); ++i) {
            const PageItem& x = a.items[i];
            const PageItem& y = b.items[i];
            QCOMPARE(y.kind, x.kind);
            QCOMPARE(y.rect, x.rect);
            QCOMPARE(y.color, x.color);
            if (x.kind == PageItem::Kind::Text) {
                QCOMPARE(y.text, x.text);
                QCOMPARE(y.bold, x.bold);
                QCOMPARE(y.fontSize, x.fontSize);
                QCOMPARE(y.alignment, x.alignment);
                QCOMPARE(y.wordWrap, x.wordWrap);
            } else {
                QCOMPARE(y.lineWidth, x.lineWidth);
            }
        }
    }
    QCOMPARE(loaded->text(), report.text());
}

void Tst_preview::loadRefusesForeignAndDamagedFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("write");
    QTest::addColumn<QString>("reason");

    QTemporaryDir dir;
    const QString good = dir.filePath("good.tvr");
    PreparedReport report = invoiceReport();
    QVERIFY(report.save(good).isEmpty());
    QFile file(good);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QJsonObject root = QJsonDocument::fromJson(bytes).object();
    const auto changed = [&](const std::function<void(QJsonObject&)>& change) {
        QJsonObject copy = root;
        change(copy);
        return QJsonDocument(copy).toJson();
    };
    const auto firstPage = [](QJsonObject& o, const std::function<void(QJsonObject&)>& change) {
        QJsonArray pages = o["pages"].toArray();
        QJsonObject page = pages[0].toObject();
        change(page);
        pages[0] = page;
        o["pages"] = pages;
    };
    const auto secondItem = [&](QJsonObject& o, const std::function<void(QJsonObject&)>& change) {
        firstPage(o, [&](QJsonObject& page) {
            QJsonArray items = page["items"].toArray();
            QJsonObject item = items[1].toObject();
            change(item);
            items[1] = item;
            page["items"] = items;
        });
    };

    QTest::newRow("missing file") << QByteArray() << false << "Cannot open";
    QTest::newRow("empty file") << QByteArray() << true << "is not a Tavlin prepared report";
    QTest::newRow("a picture") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << true
                               << "is not a Tavlin prepared report";
    QTest::newRow("another program's JSON") << QByteArray(R"({"pages": [], "version": 1})") << true
                                            << "is not a Tavlin prepared report";
    QTest::newRow("cut short") << bytes.left(bytes.size() / 2) << true << "is damaged";
    QTest::newRow("newer version")
        << changed([](QJsonObject& o) { o["version"] = 2; }) << true << "newer version";
    QTest::newRow("no version") << changed([](QJsonObject& o) { o.remove("version"); }) << true
                                << "is damaged";
    QTest::newRow("no pages") << changed([](QJsonObject& o) { o.remove("pages"); }) << true
                              << "pages are missing";
    QTest::newRow("page without paper size")
        << changed([&](QJsonObject& o) { firstPage(o, [](QJsonObject& p) { p.remove("width"); }); })
        << true << "page 1: \"width\"";
    QTest::newRow("page of negative size")
        << changed([&](QJsonObject& o) { firstPage(o, [](QJsonObject& p) { p["height"] = -5; }); })
        << true << "out of range";
    QTest::newRow("item of unknown kind") << changed([&](QJsonObject& o) {
        secondItem(o, [](QJsonObject& i) { i["kind"] = "blob"; });
    }) << true << "page 1, item 2: unknown kind";
    QTest::newRow("text that is a number")
        << changed([&](QJsonObject& o) { secondItem(o, [](QJsonObject& i) { i["text"] = 5; }); })
        << true << "page 1, item 2: \"text\"";
    QTest::newRow("position that is a text")
        << changed([&](QJsonObject& o) { secondItem(o, [](QJsonObject& i) { i["x"] = "10"; }); })
        << true << "page 1, item 2: \"x\"";
    QTest::newRow("unknown alignment") << changed([&](QJsonObject& o) {
        secondItem(o, [](QJsonObject& i) { i["align"] = "middle"; });
    }) << true << "unknown alignment";
    QTest::newRow("colour that is no colour") << changed([&](QJsonObject& o) {
        secondItem(o, [](QJsonObject& i) { i["color"] = "#zz"; });
    }) << true << "unknown colour";
}

void Tst_preview::loadRefusesForeignAndDamagedFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, write);
    QFETCH(QString, reason);
    const QString name = m_dir->filePath("file.tvr");
    if (write) {
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QString error;
    QVERIFY(!PreparedReport::load(name, &error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(name)), qPrintable(error));
}

// The preview window ----------------------------------------------------------------------

void Tst_preview::navigation_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("page");

    QTest::newRow("opens on the first page") << QStringList{} << 0;
    QTest::newRow("next") << QStringList{"NextPage"} << 1;
    QTest::newRow("next past the end") << QStringList{"NextPage", "NextPage", "NextPage"} << 2;
    QTest::newRow("last") << QStringList{"LastPage"} << 2;
    QTest::newRow("last, previous") << QStringList{"LastPage", "PreviousPage"} << 1;
    QTest::newRow("last, first") << QStringList{"LastPage", "FirstPage"} << 0;
    QTest::newRow("Page Down") << QStringList{"key:PgDown"} << 1;
    QTest::newRow("End, Page Up") << QStringList{"key:End", "key:PgUp"} << 1;
    QTest::newRow("End, Home") << QStringList{"key:End", "key:Home"} << 0;
    QTest::newRow("page box 3") << QStringList{"box:3"} << 2;
    QTest::newRow("page box 2, then next") << QStringList{"box:2", "NextPage"} << 2;
}

void Tst_preview::navigation()
{
    QFETCH(QStringList, steps);
    QFETCH(int, page);
    PreviewWindow window(invoiceReport());
    QVERIFY(showActive(&window));
    QAbstractScrollArea* view = pageView(window);
    view->setFocus();
    for (const QString& step : steps) {
        if (step == "key:PgDown")
            ui::press(view, Qt::Key_PageDown);
        else if (step == "key:PgUp")
            ui::press(view, Qt::Key_PageUp);
        else if (step == "key:End")
            ui::press(view, Qt::Key_End);
        else if (step == "key:Home")
            ui::press(view, Qt::Key_Home);
        else if (step.startsWith("box:")) {
            auto* box = ui::find<QSpinBox>(&window, "PageBox");
            box->setFocus();
            box->selectAll();
            ui::type(box, step.mid(4) + "\r");
        } else if (auto* button = ui::find<QAbstractButton>(&window, step); button->isEnabled())
            ui::click(button);
    }
    QCOMPARE(window.currentPage(), page);
    QCOMPARE(pageBoxText(window), QStringLiteral("%1 / 3").arg(page + 1));
    QCOMPARE(ui::find<QLabel>(&window, "PageStatus")->text(),
             QStringLiteral("Page %1 of 3").arg(page + 1));
    QCOMPARE(ui::find<QListWidget>(&window, "Outline")->currentRow(), page);
    QCOMPARE(ui::find<QAbstractButton>(&window, "FirstPage")->isEnabled(), page > 0);
    QCOMPARE(ui::find<QAbstractButton>(&window, "PreviousPage")->isEnabled(), page > 0);
    QCOMPARE(ui::find<QAbstractButton>(&window, "NextPage")->isEnabled(), page < 2);
    QCOMPARE(ui::find<QAbstractButton>(&window, "LastPage")->isEnabled(), page < 2);
    // The page asked for is the one in view.
    QCOMPARE(view->verticalScrollBar()->value() > 0, page > 0);
}

void Tst_preview::scrollingFollowsPages()
{
    PreviewWindow window(invoiceReport());
    QVERIFY(showActive(&window));
    window.setZoom(1.0);
    QScrollBar* bar = pageView(window)->verticalScrollBar();
    window.goToPage(1);
    const int second = bar->value();
    window.goToPage(2);
    const int third = bar->value();
    QVERIFY(0 < second && second < third);

    bar->setValue(0);
    QCOMPARE(pageBoxText(window), QStringLiteral("1 / 3"));
    bar->setValue(second + 40);
    QCOMPARE(pageBoxText(window), QStringLiteral("2 / 3"));
    bar->setValue(bar->maximum());
    QCOMPARE(pageBoxText(window), QStringLiteral("3 / 3"));
    QCOMPARE(window.currentPage(), 2);
    QVERIFY(!ui::find<QAbstractButton>(&window, "NextPage")->isEnabled());
}

void Tst_preview::zoom_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<double>("expected");

    QTest::newRow("50% in the zoom box") << "box:50%" << 0.5;
    QTest::newRow("200% in the zoom box") << "box:200%" << 2.0;
    QTest::newRow("130 typed") << "type:130" << 1.3;
    QTest::newRow("zoom in button") << "ZoomIn" << 1.25;
    QTest::newRow("zoom out button") << "ZoomOut" << 0.75;
    QTest::newRow("+ key") << "key:+" << 1.25;
    QTest::newRow("- key") << "key:-" << 0.75;
    QTest::newRow("Ctrl+wheel forward") << "wheel:120" << 1.2;
    QTest::newRow("Ctrl+wheel back") << "wheel:-120" << 1 / 1.2;
}

void Tst_preview::zoom()
{
    QFETCH(QString, how);
    QFETCH(double, expected);
    PreviewWindow window(invoiceReport());
    QVERIFY(showActive(&window));
    window.setZoom(1.0);
    QAbstractScrollArea* view = pageView(window);
    auto* box = ui::find<QComboBox>(&window, "ZoomBox");
    const int scrollBefore = view->verticalScrollBar()->maximum();
    if (how.startsWith("box:")) {
        box->setCurrentIndex(box->findText(how.mid(4)));
        box->activated(box->currentIndex());
    } else if (how.startsWith("type:")) {
        ui::type(box, how.mid(5) + "\r");
    } else if (how.startsWith("key:")) {
        view->setFocus();
        ui::press(view, how.endsWith('+') ? Qt::Key_Plus : Qt::Key_Minus);
    } else if (how.startsWith("wheel:")) {
        const QPointF at = view->viewport()->rect().center();
        QWheelEvent wheel(at, view->viewport()->mapToGlobal(at), QPoint(),
                          QPoint(0, how.mid(6).toInt()), Qt::NoButton, Qt::ControlModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &wheel);
    } else {
        ui::click(&window, how);
    }
    QVERIFY2(near(window.zoom(), expected, 0.005), qPrintable(QString::number(window.zoom())));
    const QString percent = QStringLiteral("%1%").arg(std::lround(expected * 100));
    QCOMPARE(ui::find<QLabel>(&window, "ZoomStatus")->text(), "Zoom " + percent);
    QCOMPARE(box->currentText(), percent);
    // The pages grew or shrank with it.
    QCOMPARE(view->verticalScrollBar()->maximum() > scrollBefore, expected > 1);
}

void Tst_preview::fitToWindow_data()
{
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QSize>("windowSize");
    QTest::newRow("fit width, tall window") << "Fit Width" << QSize(700, 560);
    QTest::newRow("fit width, wide window") << "Fit Width" << QSize(780, 300);
    QTest::newRow("whole page, tall window") << "Whole Page" << QSize(700, 560);
    QTest::newRow("whole page, wide window") << "Whole Page" << QSize(780, 300);
}

void Tst_preview::fitToWindow()
{
    QFETCH(QString, choice);
    QFETCH(QSize, windowSize);
    PreviewWindow window(invoiceReport());
    window.resize(windowSize);
    QVERIFY(showActive(&window));
    window.goToPage(1);
    auto* box = ui::find<QComboBox>(&window, "ZoomBox");
    box->setCurrentIndex(box->findText(choice));
    box->activated(box->currentIndex());
    QAbstractScrollArea* view = pageView(window);
    const QSize viewport = view->viewport()->size();
    const double dotsPerMm = view->logicalDpiX() / 25.4;
    const QSizeF page = letter * dotsPerMm * window.zoom();
    const QString sizes = QStringLiteral("page %1x%2 in %3x%4")
                              .arg(page.width())
                              .arg(page.height())
                              .arg(viewport.width())
                              .arg(viewport.height());
    QVERIFY2(page.width() <= viewport.width(), qPrintable(sizes));
    if (choice == "Fit Width") {
        QVERIFY2(page.width() >= viewport.width() * 0.9, qPrintable(sizes));
        QCOMPARE(view->horizontalScrollBar()->maximum(), 0);
    } else {
        QVERIFY2(page.height() <= viewport.height(), qPrintable(sizes));
        QVERIFY2(page.width() >= viewport.width() * 0.8 || page.height() >= viewport.height() * 0.8,
                 qPrintable(sizes));
        QCOMPARE(window.currentPage(), 1);
    }
    QCOMPARE(box->currentText(), choice);
    // The fit follows the window.
    const double before = window.zoom();
    window.resize(windowSize + QSize(-150, -100));
    ui::settle();
    QVERIFY(window.zoom() < before);
}

void Tst_preview::find_data()
{
    QTest::addColumn<QStringList>("searches"); // "text" forward, "<text" backward
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("message");

    QTest::newRow("text of the last page")
        << QStringList{"Accounting Copy"} << 2 << "Found on page 3";
    QTest::newRow("without regard to case")
        << QStringList{"customer copy"} << 1 << "Found on page 2";
    QTest::newRow("inside a longer text")
        << QStringList{"Prairie"} << 0 << "Found on page 1 (1 of 3)";
    QTest::newRow("across a line break") << QStringList{"62701 Tel:"} << 0 << "Found on page 1";
    QTest::newRow("again finds the next")
        << QStringList{"Prairie", "Prairie"} << 1 << "Found on page 2 (2 of 3)";
    QTest::newRow("past the last match, from the start")
        << QStringList{"Prairie", "Prairie", "Prairie", "Prairie"} << 0
        << "continued from the start";
    QTest::newRow("backwards from the start, from the end")
        << QStringList{"<Prairie"} << 2 << "continued from the end";
    QTest::newRow("not found") << QStringList{"Peterbilt"} << 0 << "Not found: \"Peterbilt\"";
    QTest::newRow("not found leaves the page")
        << QStringList{"Accounting Copy", "Peterbilt"} << 2 << "Not found";
}

void Tst_preview::find()
{
    QFETCH(QStringList, searches);
    QFETCH(int, page);
    QFETCH(QString, message);
    PreviewWindow window(invoiceReport());
    QVERIFY(showActive(&window));
    window.setZoom(1.5);
    bool found = false;
    for (const QString& search : searches)
        found = search.startsWith('<') ? window.find(search.mid(1), true) : window.find(search);
    QCOMPARE(found, !message.startsWith("Not found"));
    QCOMPARE(window.currentPage(), page);
    QCOMPARE(pageBoxText(window), QStringLiteral("%1 / 3").arg(page + 1));
    QVERIFY2(statusOf(window).contains(message), qPrintable(statusOf(window)));
    if (found) {
        // The found text is scrolled into view, even at a zoom where the page is taller than
        // the window: the Customer Name line is near the top, so the view stays near the
        // page's top edge.
        QScrollBar* bar = pageView(window)->verticalScrollBar();
        const int shown = bar->value();
        window.goToPage(page);
        QVERIFY2(std::abs(bar->value() - shown) < pageView(window)->viewport()->height(),
                 qPrintable(QStringLiteral("%1 %2").arg(shown).arg(bar->value())));
    }
}

void Tst_preview::findKeysAndEscape()
{
    PreviewWindow window(invoiceReport());
    QVERIFY(showActive(&window));
    QWidget* bar = ui::find<QWidget>(&window, "FindBar");
    auto* edit = ui::find<QLineEdit>(&window, "FindText");
    QVERIFY(!bar->isVisible());
    ui::press(pageView(window), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(bar->isVisible());
    QVERIFY(edit->hasFocus());
    // Letters, '+', '-' and End typed into the find box are text, not commands of the window.
    const double zoom = window.zoom();
    ui::type(edit, "Accounting-Copy+");
    QCOMPARE(edit->text(), QStringLiteral("Accounting-Copy+"));
    QCOMPARE(window.zoom(), zoom);
    ui::press(edit, Qt::Key_End);
    QCOMPARE(window.currentPage(), 0);
    ui::type(edit, "Accounting");
    ui::press(edit, Qt::Key_Return);
    QCOMPARE(window.currentPage(), 2);
    ui::press(edit, Qt::Key_Return);
    QCOMPARE(window.currentPage(), 2); // its only match
    // Backwards from the top of the page in view: the copies above it.
    ui::type(edit, "Copy");
    ui::press(edit, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(window.currentPage(), 1);
    ui::press(edit, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(window.currentPage(), 0);
    ui::press(edit, Qt::Key_F3);
    QCOMPARE(window.currentPage(), 1);

    // Esc closes the find bar first, then the preview.
    ui::press(edit, Qt::Key_Escape);
    QVERIFY(!bar->isVisible());
    QVERIFY(window.isVisible());
    ui::press(pageView(window), Qt::Key_Escape);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Rejected));
}

void Tst_preview::outline()
{
    PreviewWindow window(invoiceReport());
    QVERIFY(showActive(&window));
    auto* list = ui::find<QListWidget>(&window, "Outline");
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Page 1"));
    QCOMPARE(list->item(2)->text(), QStringLiteral("Page 3"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(2)).center());
    QCOMPARE(window.currentPage(), 2);
    QCOMPARE(pageBoxText(window), QStringLiteral("3 / 3"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    QCOMPARE(window.currentPage(), 1);
    QVERIFY(pageView(window)->verticalScrollBar()->value() > 0);
    // Moving through the pages moves the outline's mark.
    window.firstPage();
    QCOMPARE(list->currentRow(), 0);
}

void Tst_preview::printRange_data()
{
    QTest::addColumn<int>("range"); // QPrinter::PrintRange
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("collate");
    QTest::addColumn<QList<QSizeF>>("papers");

    QTest::newRow("all pages, each on its paper") << int(QPrinter::AllPages) << 0 << 0 << 1 << true
                                                  << QList<QSizeF>{shopPaper, letter, letter};
    QTest::newRow("pages 2 to 3") << int(QPrinter::PageRange) << 2 << 3 << 1 << true
                                  << QList<QSizeF>{letter, letter};
    QTest::newRow("page 1 only") << int(QPrinter::PageRange) << 1 << 1 << 1 << true
                                 << QList<QSizeF>{shopPaper};
    QTest::newRow("the current page")
        << int(QPrinter::CurrentPage) << 0 << 0 << 1 << true << QList<QSizeF>{letter};
    QTest::newRow("two copies of pages 1 to 2, collated")
        << int(QPrinter::PageRange) << 1 << 2 << 2 << true
        << QList<QSizeF>{shopPaper, letter, shopPaper, letter};
    QTest::newRow("two copies of pages 1 to 2, uncollated")
        << int(QPrinter::PageRange) << 1 << 2 << 2 << false
        << QList<QSizeF>{shopPaper, shopPaper, letter, letter};
}

void Tst_preview::printRange()
{
    QFETCH(int, range);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, copies);
    QFETCH(bool, collate);
    QFETCH(QList<QSizeF>, papers);
    PreviewWindow window(invoiceReport());
    window.goToPage(2);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString file = m_dir->filePath("printed.pdf");
    printer.setOutputFileName(file);
    printer.setPrintRange(QPrinter::PrintRange(range));
    if (from)
        printer.setFromTo(from, to);
    printer.setCopyCount(copies);
    printer.setCollateCopies(collate);
    QVERIFY(window.printTo(printer));
    QVERIFY(m_prompter->messages().isEmpty());
    comparePapers(pdfPages(file), papers);
    if (range == QPrinter::CurrentPage)
        QVERIFY(pdfText(file, 1).contains("Accounting Copy"));
    if (from == 2)
        QVERIFY(pdfText(file, 1).contains("Customer Copy"));
    if (copies == 2)
        QCOMPARE(pdfText(file, 2).contains("Customer Copy"), collate);
}

void Tst_preview::printOnChosenPaper()
{
    // A4 with 20 mm margins chosen in the page setup: Letter pages shrink to the 170 mm
    // between the side margins and are centred there.
    PreparedReport report;
    report.pages = {PreparedPage{letter, {textItem(40, 100, 120, 20, "Kenworth", 10)}},
                    PreparedPage{shopPaper, {textItem(40, 100, 120, 20, "Peterbilt", 10)}}};
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString file = m_dir->filePath("a4.pdf");
    printer.setOutputFileName(file);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    QCOMPARE(report.print(printer, {0, 1}, PreparedReport::Paper::Printer), QString());
    comparePapers(pdfPages(file), {QSizeF(210, 297), QSizeF(210, 297)});
    const double scale = std::min(170 / letter.width(), 257 / letter.height());
    const double paperTop = 20 + (257 - letter.height() * scale) / 2;
    const QRectF word = pdfWord(file, "Kenworth");
    QVERIFY2(near(word.left(), 20 + 40 * scale, 1.0), qPrintable(QString::number(word.left())));
    QVERIFY2(near(word.top(), paperTop + 100 * scale, 1.5),
             qPrintable(QString::number(word.top())));
    QVERIFY(pdfText(file, 2).contains("Peterbilt"));
}

void Tst_preview::exportThroughFileQuestion()
{
    PreparedReport report = invoiceReport();
    report.title = QStringLiteral("Invoice 1042/2005: Prairie");
    PreviewWindow window(report);
    QVERIFY(showActive(&window));

    QList<PreviewWindow::FileQuestion> asked;
    QString answer;
    PreviewWindow::setFileChooser([&](const PreviewWindow::FileQuestion& q) {
        asked.append(q);
        return answer;
    });
    // Cancelled: nothing is written and nothing is said.
    ui::click(&window, "ExportPdf");
    QCOMPARE(asked.size(), 1);
    QVERIFY(asked[0].save);
    QCOMPARE(QFileInfo(asked[0].proposed).fileName(),
             QStringLiteral("Invoice 1042-2005- Prairie.pdf"));
    QVERIFY(m_prompter->messages().isEmpty());

    answer = m_dir->filePath("chosen.pdf");
    ui::click(&window, "ExportPdf");
    QCOMPARE(pdfPages(answer).size(), 3);
    QVERIFY(statusOf(window).contains("chosen.pdf"));
    const QString folder = QFileInfo(answer).absolutePath();
    answer.clear();
    // The next question proposes the folder used last.
    ui::click(&window, "SaveReport");
    QCOMPARE(QFileInfo(asked.last().proposed).absolutePath(), folder);
    QVERIFY(asked.last().proposed.endsWith(".tvr"));

    // A file that cannot be written is reported and the preview stays.
    QVERIFY(!window.exportPdfTo(m_dir->filePath("missing/folder/x.pdf")));
    QCOMPARE(m_prompter->texts(Kind::Error).size(), 1);
    QVERIFY(m_prompter->last().contains("missing"));
    QVERIFY(window.isVisible());
}

void Tst_preview::saveAndOpenInWindow()
{
    const QString file = m_dir->filePath("kept.tvr");
    {
        PreviewWindow window(invoiceReport());
        PreviewWindow::setFileChooser([&](const PreviewWindow::FileQuestion&) { return file; });
        ui::click(&window, "SaveReport");
        QVERIFY(m_prompter->messages().isEmpty());
        QVERIFY(QFileInfo::exists(file));
    }
    PreparedReport other;
    other.title = QStringLiteral("Parts list");
    other.pages = {PreparedPage{letter, {textItem(10, 10, 50, 5, "Filters")}}};
    PreviewWindow window(other);
    QVERIFY(showActive(&window));
    window.setZoom(1.0);
    ui::click(&window, "OpenReport");
    QVERIFY(m_prompter->messages().isEmpty());
    QCOMPARE(window.report().text(), invoiceReport().text());
    QCOMPARE(window.windowTitle(), QStringLiteral("Invoice 1042 - Preview"));
    QCOMPARE(ui::find<QListWidget>(&window, "Outline")->count(), 3);
    QCOMPARE(pageBoxText(window), QStringLiteral("1 / 3"));
    QVERIFY(window.find("Accounting Copy"));
    QCOMPARE(window.currentPage(), 2);
}

void Tst_preview::openDamagedFileKeepsReport()
{
    const QString file = m_dir->filePath("broken.tvr");
    QFile broken(file);
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("{\"format\": \"tavlin-prepared-report\", \"version\": 1, \"pages\": [");
    broken.close();
    PreviewWindow window(invoiceReport());
    window.goToPage(1);
    QVERIFY(!window.loadFrom(file));
    QCOMPARE(m_prompter->texts(Kind::Error).size(), 1);
    QVERIFY(m_prompter->last().contains("damaged"));
    QCOMPARE(window.report().pageCount(), 3);
    QCOMPARE(window.currentPage(), 1);
}

void Tst_preview::reportWithoutPages()
{
    PreviewWindow window(PreparedReport{});
    QVERIFY(showActive(&window));
    QCOMPARE(ui::find<QLabel>(&window, "PageStatus")->text(), QStringLiteral("No pages"));
    QVERIFY(!ui::find<QAbstractButton>(&window, "NextPage")->isEnabled());
    window.lastPage();
    window.zoomIn();
    QCOMPARE(window.currentPage(), 0);
    QVERIFY(!window.find("Invoice"));
    QVERIFY(statusOf(window).startsWith("Not found"));
    QVERIFY(!window.exportPdfTo(m_dir->filePath("nothing.pdf")));
    QCOMPARE(m_prompter->texts(Kind::Error).size(), 1);
}

void Tst_preview::showReportReturnsWhenClosed()
{
    QString seen;
    bool modal = false;
    QTimer::singleShot(0, this, [&] {
        QWidget* shown = QApplication::activeModalWidget();
        if (auto* preview = qobject_cast<PreviewWindow*>(shown)) {
            seen = preview->windowTitle();
            modal = preview->isModal();
            ui::click(preview, "ClosePreview");
        }
    });
    PreviewWindow::showReport(invoiceReport(), nullptr);
    QCOMPARE(seen, QStringLiteral("Invoice 1042 - Preview"));
    QVERIFY(modal);
}

QTEST_MAIN(Tst_preview)
#include "tst_preview.moc"
