#include "masters/TCompany.h"

#include "data/Query.h"
#include "data/SqlSelect.h"
#include "data/TDM.h"
#include "payables/TVendorHistory.h"
#include "stores/CatalogueStore.h"
#include "ui/common/Guard.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace {
RecordDescription vendorDescription()
{
    RecordDescription d;
    d.title = QStringLiteral("Vendors");
    d.table = QStringLiteral("Company");
    d.listStatement = SqlSelect::all(QStringLiteral("Company"));
    d.saveListStatement = SqlSelect::all(
        QStringLiteral("Company"),
        QStringLiteral(
            "ID_Company,Name_Company,Type_Company,Tell_Company,Address_Company,City_Company,"
            "State_Company,Zip_Company,Contact1_Company,Contact2_Company,Email_Company,Web_Company,"
            "Fax_Company"));
    d.boxes = {
        {"ID_Company", "ID No"},
        {"Name_Company", "Name"},
        {"Tell_Company", "Tell"},
        {"Fax_Company", "Fax"},
        {"Address_Company", "Address"},
        {"Web_Company", "Web Site"},
        {"Email_Company", "Email"},
        {"Zip_Company", "Zip"},
        {"Contact1_Company", "Name Contact"},
        {"Contact2_Company", "Tell Contact"},
        {"Type_Company", "Type", RecordBox::List, ListSource{"Company", "Type_Company"}},
        {"City_Company", "City", RecordBox::List, ListSource{"Company", "City_Company"}},
        {"State_Company", "State"},
    };
    d.focusOrder =
        QStringList{"ID_Company",      "Name_Company", "Type_Company",     "Tell_Company",
                    "Address_Company", "City_Company", "State_Company",    "Zip_Company",
                    "Email_Company",   "Web_Company",  "Contact1_Company", "Contact2_Company"};
    d.enterWrapsTo = QStringLiteral("ID_Company");
    d.titles = {"No",    "Name", "Type",         "Tel",         "Address", "City",
                "State", "Zip",  "Name Contact", "Tel Contact", "Email",   "Web"};
    QStringList refreshTitles = d.titles;
    refreshTitles[0] = QStringLiteral("ID No");
    d.refreshTitles = refreshTitles;
    d.cancelTitles = QStringList{"ID No", "Name", "type",         "Tell",         "Address", "City",
                                 "State", "Zip",  "Name Contact", "Tell Contact", "Email",   "Web"};
    d.sortable = {"ID_Company",      "Name_Company", "Type_Company",  "Tell_Company",
                  "Address_Company", "City_Company", "State_Company", "Zip_Company",
                  "Email_Company",   "Web_Company"};
    d.insertedMessage = d.updatedMessage = QStringLiteral("Saved!");
    d.afterSave = RecordDescription::AfterSave::SavedKeyTyped;
    d.cancel = RecordDescription::Cancel::ReloadFirstRow;
    d.refreshCopiesFirstRow = false;
    d.figuresOn = RecordDescription::Click | RecordDescription::KeyRelease |
                  RecordDescription::NavigatorClick;
    d.figuresOnShow = true;
    d.searchComputesFigures = true;
    d.gridKeys = {Qt::Key_F3, Qt::Key_F5};
    d.newDefaults = {{"Type_Company", "Vendor"}};
    d.newFromProfile = {{"City_Company", "City_R"}, {"State_Company", "State_R"}};
    // Until a title is clicked the search box looks for a name.
    d.searchColumn = QStringLiteral("Name_Company");
    // Vendors brought from a spreadsheet are known by their names.
    d.import =
        RecordDescription::Import{QStringLiteral("Name_Company"), QStringLiteral("ID_Company"),
                                  QStringLiteral("vendor"), QStringLiteral("vendors")};
    return d;
}
} // namespace

TCompany::TCompany(ChildOpener openChild, QWidget* parent)
    : RecordWindow(vendorDescription(), parent)
    , m_openChild(std::move(openChild))
{
    setObjectName(QStringLiteral("Company"));
    m_total = addFigure(QStringLiteral("Total Amounts $"), QStringLiteral("Label15"), "0.00");
    figuresLayout()->addStretch(1);

    QPushButton* sendTo = addButton(QStringLiteral("Send To "), "SendToButton");
    sendTo->setEnabled(false);
    sendTo->setToolTip(QStringLiteral("Sending vendor details is not available"));
    QPushButton* history = addButton(QStringLiteral("History"), "HistoryButton");
    history->setEnabled(bool(m_openChild));
    connect(history, &QPushButton::clicked, this, [this] {
        guard([this] {
            auto* window = new TVendorHistory;
            window->readFrom(this, QStringLiteral("Name_Company"));
            m_openChild(window);
        });
    });
}

void TCompany::computeFigures()
{
    m_total->setText(CatalogueStore().vendorBilled(text("Name_Company")).asText());
}
