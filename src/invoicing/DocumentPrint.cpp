// The printout of the document window: the header and the lines of the one document in the
// number box, the tax row of its date and the shop's profile, in the layout the "Tax" box
// chooses.

#include "data/DbError.h"
#include "data/Formats.h"
#include "data/Query.h"
#include "data/SqlLiteral.h"
#include "data/TDM.h"
#include "invoicing/DocumentWindow.h"
#include "printing/PreparedReport.h"
#include "printing/ReportEngine.h"
#include "printing/ReportLayout.h"
#include "ui/common/Prompter.h"

#include <QComboBox>
#include <QDate>
#include <QLineEdit>

#include <memory>

namespace {
std::unique_ptr<Query> openRows(const QStringList& statement)
{
    auto query = std::make_unique<Query>(QStringLiteral("print"), DM->admin1(), false);
    query->setSql(statement);
    query->open();
    return query;
}
} // namespace

std::optional<PreparedReport> DocumentWindow::prepareReport()
{
    const QString number = text(QStringLiteral("InvoiceNo_Inv"));
    if (number.trimmed().isEmpty())
        return std::nullopt;
    const QString n = Sql::integer(number);

    // Header and lines are read for the same number, so that a printout never puts the lines
    // of one document under the header of another.
    std::unique_ptr<Query> header =
        openRows({"Select * From " + m_description.headerTable + " where InvoiceNo_Inv=" + n});
    if (header->isEmpty()) {
        Prompter::instance().inform(
            QStringLiteral("%1 %2 is not saved: save it before printing it.")
                .arg(m_description.name, number.trimmed()));
        return std::nullopt;
    }
    std::unique_ptr<Query> parts =
        openRows({"Select Name_Item,Qty_Item,Rate_Item,Amount_Item,Color_Item,Inv_Item From " +
                  m_description.itemTable + " where Inv_Item =" + n});
    std::unique_ptr<Query> labor =
        openRows({"Select Description_Labor,PartNo_Labor,Qty_Labor,Rate_Labor,Amount_Labor "
                  ",Remark_Labor,Inv_Labor From " +
                  m_description.laborTable + " where Inv_Labor=" + n});

    // The tax row of the document's date; without one the tax is nought.
    QStringList taxStatement = {QStringLiteral("Select 0 As Tax_T")};
    const QDate date =
        Formats::parseShortDate(header->field(QStringLiteral("InvoiceDate_Inv")).asText());
    if (date.isValid()) {
        const QString month = QString::number(date.month()).rightJustified(2, u'0');
        taxStatement = {"Select * From Tax where Year_T =" + QString::number(date.year())};
        if (m_description.taxByMonth)
            taxStatement << "and A_T<=" + month << "and E_T>=" + month;
    }
    std::unique_ptr<Query> tax = openRows(taxStatement);
    if (tax->isEmpty())
        tax = openRows({QStringLiteral("Select 0 As Tax_T")});

    const bool taxed = m_tax->currentText() == QLatin1String("Yes");
    QString error;
    const std::optional<ReportLayout> layout = ReportLayout::fromFile(layoutFile(taxed), &error);
    if (!layout)
        throw DbError(error);
    const QHash<QString, const Query*> dataSets = {
        {QStringLiteral("frxDBDataset1"), header.get()},
        {QStringLiteral("frxDBDataset2"), parts.get()},
        {QStringLiteral("frxDBDataset3"), labor.get()},
        {QStringLiteral("frxDBDataset4"), tax.get()},
        {QStringLiteral("Reg"), DM->query(QStringLiteral("QReg1"))},
    };
    PreparedReport report = ReportEngine::prepare(*layout, dataSets);
    report.title = m_description.name + " " + number.trimmed();
    return report;
}

void DocumentWindow::print()
{
    if (!m_links.preview)
        return;
    if (std::optional<PreparedReport> report = prepareReport())
        m_links.preview(*report);
}
