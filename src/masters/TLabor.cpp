#include "masters/TLabor.h"

#include "data/Query.h"
#include "data/SqlSelect.h"
#include "data/TDM.h"
#include "stores/CatalogueStore.h"
#include "ui/common/Guard.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
RecordDescription laborDescription()
{
    RecordDescription d;
    d.title = QStringLiteral("Labor");
    d.table = QStringLiteral("Labor");
    d.listStatement = SqlSelect::all(QStringLiteral("Labor"));
    d.boxes = {
        {"ID_Labor", "Labor No"},
        {"Description_Labor", "Description", RecordBox::List,
         ListSource{"Labor", "Description_Labor"}},
        {"PartNo_Labor", "Device Name", RecordBox::List, ListSource{"Labor", "PartNO_Labor"}},
        {"Rate_Labor", "Rate $"},
        {"Remark_Labor", "Remark"},
    };
    d.enterWrapsTo = QStringLiteral("ID_Labor");
    // Shown first under the column names, titled from the first Save, Delete or Refresh on.
    d.titles = {"No", "Description", "Device Name", "Rate", "Remark"};
    d.showTitles = QStringList();
    d.insertedMessage = d.updatedMessage = QStringLiteral("Saved!");
    d.afterSave = RecordDescription::AfterSave::SavedKeyCopied;
    d.cancel = RecordDescription::Cancel::CurrentRow;
    d.refreshCopiesFirstRow = true;
    d.refreshFocusesGrid = true;
    d.followOn = RecordDescription::Click | RecordDescription::KeyRelease |
                 RecordDescription::NavigatorClick;
    d.newDefaults = {{"Rate_Labor", "0.00"}};
    // Leaving an empty rate puts the default rate back.
    d.whenLeftEmpty = {{"Rate_Labor", "0.00"}};
    // Until a title is clicked the search box looks for a name.
    d.searchColumn = QStringLiteral("Description_Labor");
    return d;
}
} // namespace

TLabor::TLabor(InvoiceHistory invoiceHistory, QWidget* parent)
    : RecordWindow(laborDescription(), parent)
    , m_invoiceHistory(std::move(invoiceHistory))
{
    setObjectName(QStringLiteral("Labor"));
    m_sale = addFigure(QStringLiteral("Sale $"), QStringLiteral("Label17"), "0");
    figuresLayout()->addStretch(1);

    QPushButton* history = addButton(QStringLiteral("Invoice History"), "InvoiceHistoryButton");
    history->setEnabled(bool(m_invoiceHistory));
    connect(history, &QPushButton::clicked, this, [this] {
        guard([this] { m_invoiceHistory(text(QStringLiteral("Description_Labor"))); });
    });
}

void TLabor::computeFigures()
{
    m_sale->setText(CatalogueStore().laborSold(text(QStringLiteral("Description_Labor"))).asText());
}
