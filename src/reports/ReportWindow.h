#pragma once

#include "ui/common/FormBoxes.h"

#include <QDate>
#include <QHash>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>

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
    // A plain edit box instead of a drop-down.
    bool textBox = false;
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
    // query of that name), and the texts of the layout's parameters.
    QString layout;
    QHash<QString, QString> dataSets;
    QHash<QString, QString> parameters = {};
    // The preview's caption and the file name offered on export; the layout's title when empty.
    QString reportTitle = {};
    // A report of one day (an aging "as of" a date) instead of a period: one date box, whose
    // caption this is.
    QString asOfCaption = {};
};

// The base of every report window: a period from one date to another, filters with "All"
// first, and Print, which gathers the report's rows and shows the printout in the preview.
// A report window is its description plus the store operations that gather its rows.
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
    // Gathers the report's rows into its queries, which the layout prints.
    virtual void gather() = 0;
    // The layout printed: the description's, unless the window chooses by its boxes.
    virtual QString layoutFile() const { return m_description.layout; }

    const ReportDescription& description() const { return m_description; }
    // The period's first and last day; a box that holds no date is refused with a message
    // naming it, before anything runs.
    QDate from() const;
    QDate to() const;
    // The day of a report of one day (the box asOfCaption names).
    QDate asOf() const { return to(); }
    // The texts of the layout's parameters: the description's, and what the window adds.
    virtual QHash<QString, QString> parameters() const { return m_description.parameters; }
    // The text of the filter of that caption, or no choice while it reads "All" or has no
    // effect on this report.
    std::optional<QString> choice(const QString& caption) const;
    // The window's own query under a data set name, so that no other window's rows are
    // replaced.
    Query* query(const QString& name);

private:
    ReportDescription m_description;
    Preview m_preview;
    FormBoxes* m_boxes = nullptr;
    QHash<QString, Query*> m_queries;
};
