#pragma once

#include "data/SqlStatement.h"
#include "ui/common/FormBoxes.h"

#include <QHash>
#include <QStringList>
#include <QWidget>

#include <functional>

class DateBox;
class FormBoxes;
class PreparedReport;
class Query;

// A drop-down of a report window that narrows what the report covers.
struct ReportFilter
{
    QString caption;
    QString name; // the control's object name (ComboBox1)
    // The list: "All" followed by the distinct values of a column, refilled each time it
    // opens; or, when items are given, those items in their order.
    ListSource list = {};
    QStringList items = {};
    QString start = QStringLiteral("All");
    // The statement line for the box's text; no line while it reads "All". Without line, the
    // condition followed by the text bound (" And Name_Receivable = ?", "Smith").
    // A box with neither only says something to the report, which reads its text itself.
    QString condition = {};
    std::function<QString(const QString& text)> line = {};
    // A plain edit box instead of a drop-down.
    bool textBox = false;
    // The line is asked for "All" too, for a choice whose "All" is not "no limit".
    bool lineForAll = false;
    // Shown with its starting text but without effect on this report: disabled, with this hint.
    QString ignoredHint = {};
};

// What a report window is: its names, its period and filters, and its printout.
struct ReportDescription
{
    QString objectName;
    QString caption;
    QString heading;
    QString printName = QStringLiteral("Button2");
    QList<ReportFilter> filters;
    // The printout: a layout resource, the query each of its data sets reads (the window's own
    // query of that pool name), and the texts of the layout's parameters.
    QString layout;
    QHash<QString, QString> dataSets;
    QHash<QString, QString> parameters = {};
    // A list printed straight from one statement: its first line, in which %1 and %2 stand
    // for the period's dates, and its join line; the rows go to the query named rows.
    QString firstLine = {};
    QString joinLine = {};
    QString rows = QStringLiteral("Q1");
    // The preview's caption and the file name offered on export; the layout's title when empty.
    QString reportTitle = {};
};

// The base of every report window: a period from one date to another, filters with "All"
// first, and Print, which gathers the report's rows and shows the printout in the preview.
// A report window is its description plus the statements it alone runs.
class ReportWindow : public QWidget
{
    Q_OBJECT

public:
    using Preview = std::function<void(const PreparedReport&)>;

    ReportWindow(ReportDescription description, Preview preview, QWidget* parent = nullptr);
    ~ReportWindow() override;

    // Gathers the rows and shows the printout; a failed step is reported and nothing is shown.
    void print();
    // The printout as Print shows it; throws DbError naming what failed.
    PreparedReport prepareReport();

    DateBox* fromBox() const;
    DateBox* toBox() const;
    QString filterText(const QString& caption) const;
    void setFilterText(const QString& caption, const QString& text);

protected:
    // Runs the report's statements, leaving in its queries what the layout prints; by default
    // the list's statement: the first line, a line per filter, the join line.
    virtual void gather();
    // The layout printed: the description's, unless the window chooses by its boxes.
    virtual QString layoutFile() const { return m_description.layout; }

    const ReportDescription& description() const { return m_description; }
    // The period as the statements write it between # signs; a box that holds no date is
    // refused with a message naming it, before any statement runs.
    QString from() const;
    QString to() const;
    // One line for each filter with effect whose text is not "All", in the filters' order, the
    // texts bound.
    SqlStatement conditions() const;
    // The first line, the filters' lines, then the join line.
    SqlStatement statement(const QString& first, const QString& join) const;
    // The window's own query under a pool name, so that no other window's rows are replaced.
    Query* query(const QString& name);
    // Runs statement for rows on the query of that name and returns it.
    Query* open(const QString& name, const SqlStatement& statement);

private:
    ReportDescription m_description;
    Preview m_preview;
    FormBoxes* m_boxes = nullptr;
    QHash<QString, Query*> m_queries;
};
