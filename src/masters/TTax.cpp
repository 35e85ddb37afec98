#include "masters/TTax.h"

#include "data/DbError.h"
#include "data/Formats.h"
#include "data/SqlSelect.h"

#include <QPushButton>

namespace {
RecordDescription taxDescription()
{
    RecordDescription d;
    d.title = QStringLiteral("Tax");
    d.table = QStringLiteral("Tax");
    d.listStatement =
        SqlSelect::all(QStringLiteral("Tax"), QStringLiteral("Id_T, Year_T, A_T, E_T,Tax_T"));
    d.saveListStatement =
        SqlSelect::all(QStringLiteral("Tax"), QStringLiteral("Id_T, Year_T,A_T, E_T,Tax_T"));
    d.boxes = {
        {"Id_T", "ID No"},       {"Year_T", "Year"}, {"A_T", "Starting Month"},
        {"E_T", "Ending Month"}, {"Tax_T", "Tax"},
    };
    d.enterWrapsTo = QStringLiteral("Id_T");
    d.titles = {"No", "Year", "Starting Month", "Ending Month", "Tax"};
    d.insertedMessage = d.updatedMessage = QStringLiteral("Saved!");
    d.afterSave = RecordDescription::AfterSave::SavedKeyTyped;
    d.cancel = RecordDescription::Cancel::CurrentRow;
    d.refreshCopiesFirstRow = false;
    d.refreshKeepsKey = true;
    d.refreshFocusesGrid = true;
    d.followOn = RecordDescription::Click;
    d.figuresOn = 0;
    // Until a title is clicked the search box looks for a year.
    d.searchColumn = QStringLiteral("Year_T");
    return d;
}
} // namespace

TTax::TTax(QWidget* parent)
    : RecordWindow(taxDescription(), parent)
{
    setObjectName(QStringLiteral("Tax"));
    for (const auto& [text, name] :
         {std::pair{"Send To ", "SendToButton"}, std::pair{"History", "HistoryButton"}}) {
        QPushButton* button = addButton(QString::fromLatin1(text), name);
        button->setEnabled(false);
        button->setToolTip(QStringLiteral("Not available for tax rates"));
    }
}

SqlRow TTax::rowToSave() const
{
    SqlRow row = RecordWindow::rowToSave();
    for (const QString& column : {QStringLiteral("A_T"), QStringLiteral("E_T")}) {
        const qint64 month = text(column).trimmed().toLongLong();
        if (month < 1 || month > 12)
            throw DbError(QStringLiteral("%1: '%2' is not a month; type 1 for January to 12 for "
                                         "December.")
                              .arg(boxes()->caption(column), text(column).trimmed()));
    }
    if (text(QStringLiteral("A_T")).trimmed().toLongLong() >
        text(QStringLiteral("E_T")).trimmed().toLongLong())
        throw DbError(QStringLiteral("Ending Month: the period ends before it starts."));
    bool ok = false;
    const QString typed = text(QStringLiteral("Tax_T")).trimmed();
    const double rate = Formats::parseNumber(typed, &ok);
    if (rate < 0)
        throw DbError(QStringLiteral("Tax: a rate cannot be below 0 (0 is a period without tax)."));
    if (rate >= 1) {
        // The user's own figure in the form the rate is kept in: 8.25 % is 0.0825.
        const QString fraction = QString::number(rate / 100, 'g', 10);
        throw DbError(QStringLiteral("Tax: the rate is a fraction of 1, not a percentage. %1 % is "
                                     "%2: type %2.")
                          .arg(typed, fraction));
    }
    return row;
}

SqlRow::EmptyNumber TTax::whenEmpty(const QString& column) const
{
    // A rate period needs every figure; the key alone is New's to propose.
    return column == QLatin1String("Id_T") ? SqlRow::EmptyNumber::Null
                                           : SqlRow::EmptyNumber::Refused;
}
