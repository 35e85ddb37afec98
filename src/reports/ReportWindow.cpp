#include "reports/ReportWindow.h"

#include "data/DbError.h"
#include "data/Formats.h"
#include "data/Query.h"
#include "data/TDM.h"
#include "printing/PreparedReport.h"
#include "printing/ReportEngine.h"
#include "ui/common/DateBox.h"
#include "ui/common/FocusChain.h"
#include "ui/common/FormBoxes.h"
#include "ui/common/Guard.h"
#include "ui/common/WindowParts.h"
#include "ui/common/Windows.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString fromColumn = QStringLiteral("From Date");
const QString toColumn = QStringLiteral("To Date");
const QString all = QStringLiteral("All");

// The date a box holds; refused with a message naming the box.
QDate dateIn(const QString& text, const QString& box)
{
    const QDate date = Formats::parseShortDate(text);
    if (!date.isValid())
        throw DbError(Formats::notADateMessage(text, box));
    return date;
}

QList<FormBox> boxesOf(const ReportDescription& description)
{
    QList<FormBox> boxes = {
        {toColumn,
         description.asOfCaption.isEmpty() ? toColumn : description.asOfCaption,
         FormBox::Date,
         {},
         "Edit2",
         {},
         "DateTimePicker2"},
    };
    if (description.asOfCaption.isEmpty())
        boxes.prepend({fromColumn, fromColumn, FormBox::Date, {}, "Edit1", {}, "DateTimePicker1"});
    for (const ReportFilter& filter : description.filters) {
        if (filter.textBox)
            boxes.append({filter.caption, filter.caption, FormBox::Edit, {}, filter.name});
        else if (filter.items.isEmpty())
            boxes.append(
                {filter.caption, filter.caption, FormBox::List, filter.list, filter.name, {all}});
        else
            boxes.append(
                {filter.caption, filter.caption, FormBox::Choice, {}, filter.name, filter.items});
    }
    return boxes;
}
} // namespace

ReportWindow::ReportWindow(ReportDescription description, Preview preview, QWidget* parent)
    : QWidget(parent)
    , m_description(std::move(description))
    , m_preview(std::move(preview))
{
    setObjectName(m_description.objectName);
    setWindowTitle(m_description.caption);

    QVBoxLayout* layout = WindowParts::windowLayout(this, m_description.heading);
    QFrame* panel = WindowParts::raisedPanel(this, QStringLiteral("Boxes"));
    auto* grid = WindowParts::boxGrid();
    panel->setLayout(grid);
    m_boxes = new FormBoxes(boxesOf(m_description), panel, query(QStringLiteral("Q3")));
    const bool period = m_description.asOfCaption.isEmpty();
    QStringList order = period ? QStringList{fromColumn, toColumn} : QStringList{toColumn};
    for (const ReportFilter& filter : m_description.filters)
        order.append(filter.caption);
    m_boxes->layOut(grid, {order});
    grid->setColumnStretch(1, 1);
    layout->addWidget(panel);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    QPushButton* print =
        WindowParts::commandButton(this, QStringLiteral("Print"), m_description.printName);
    connect(print, &QPushButton::clicked, this, &ReportWindow::print);
    QPushButton* close =
        WindowParts::commandButton(this, QStringLiteral("Close"), QStringLiteral("Button1"));
    connect(close, &QPushButton::clicked, this, [this] { closeWindow(this); });
    bottom->addWidget(print);
    bottom->addWidget(close);
    layout->addLayout(bottom);
    layout->addStretch(1);

    // The period starts as today, every filter as it is described.
    const QString today = Formats::shortDate(QDate::currentDate());
    auto* chain = new FocusChain(this);
    if (period) {
        m_boxes->setText(fromColumn, today);
        chain->add(m_boxes->focusTarget(fromColumn));
    }
    m_boxes->setText(toColumn, today);
    chain->add(m_boxes->focusTarget(toColumn));
    for (const ReportFilter& filter : m_description.filters) {
        m_boxes->setText(filter.caption, filter.start);
        QWidget* box = m_boxes->box(filter.caption);
        if (!filter.ignoredHint.isEmpty()) {
            disableWithHint(box, filter.ignoredHint);
            continue;
        }
        chain->add(m_boxes->focusTarget(filter.caption));
    }
    chain->add({print, close});
    closeOnEscape(this);
    setMinimumWidth(420);
}

ReportWindow::~ReportWindow() = default;

DateBox* ReportWindow::fromBox() const
{
    return m_description.asOfCaption.isEmpty() ? static_cast<DateBox*>(m_boxes->box(fromColumn))
                                               : nullptr;
}

DateBox* ReportWindow::toBox() const
{
    return static_cast<DateBox*>(m_boxes->box(toColumn));
}

QString ReportWindow::filterText(const QString& caption) const
{
    return m_boxes->text(caption);
}

void ReportWindow::setFilterText(const QString& caption, const QString& text)
{
    m_boxes->setText(caption, text);
}

QDate ReportWindow::from() const
{
    return dateIn(m_boxes->text(fromColumn), fromColumn);
}

QDate ReportWindow::to() const
{
    return dateIn(m_boxes->text(toColumn),
                  m_description.asOfCaption.isEmpty() ? toColumn : m_description.asOfCaption);
}

std::optional<QString> ReportWindow::choice(const QString& caption) const
{
    for (const ReportFilter& filter : m_description.filters) {
        if (filter.caption != caption)
            continue;
        const QString text = m_boxes->text(caption);
        if (!filter.ignoredHint.isEmpty() || text == all)
            return std::nullopt;
        return text;
    }
    return std::nullopt;
}

Query* ReportWindow::query(const QString& name)
{
    Query*& query = m_queries[name];
    if (!query)
        query = new Query(name, DM->admin1(), this);
    return query;
}

PreparedReport ReportWindow::prepareReport()
{
    // The dates are checked before anything runs, so a mistyped box changes nothing.
    if (m_description.asOfCaption.isEmpty())
        from();
    to();
    gather();
    QHash<QString, const Query*> dataSets;
    for (auto it = m_description.dataSets.begin(); it != m_description.dataSets.end(); ++it)
        dataSets.insert(it.key(), query(it.value()));
    ReportEngine::PrepareOptions options;
    options.parameters = parameters();
    PreparedReport report = ReportEngine::prepareFile(layoutFile(), dataSets, options);
    if (!m_description.reportTitle.isEmpty())
        report.title = m_description.reportTitle;
    return report;
}

void ReportWindow::print()
{
    guard([this] {
        const PreparedReport report = prepareReport();
        if (m_preview)
            m_preview(report);
    });
}
