#include "masters/TCustomer.h"

#include "data/Currency.h"
#include "data/Query.h"
#include "data/SqlSelect.h"
#include "data/TDM.h"
#include "receivables/TCustomerHistory.h"
#include "receivables/TCustomerInvoiceHistory.h"
#include "stores/CatalogueStore.h"
#include "ui/common/Guard.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace {
RecordDescription customerDescription()
{
    RecordDescription d;
    d.title = QStringLiteral("Customer");
    d.table = QStringLiteral("Customer");
    d.listStatement = SqlSelect::all(QStringLiteral("Customer"));
    d.saveListStatement = SqlSelect::all(
        QStringLiteral("Customer"),
        QStringLiteral(
            "ID_Customer,Name_Customer,Type_Customer,Tell_Customer,Address_Customer,"
            "City_Customer,State_Customer,Zip_Customer,Email_Customer,Web_Customer,Tel_Customer,"
            "Tel1_Customer"));
    d.boxes = {
        {"ID_Customer", "ID No"},
        {"Name_Customer", "Name"},
        {"Tell_Customer", "Tell"},
        {"Tel_Customer", "Cell"},
        {"Tel1_Customer", "Fax"},
        {"Address_Customer", "Address"},
        {"Web_Customer", "Web Site"},
        {"Email_Customer", "Email"},
        {"Zip_Customer", "Zip"},
        {"Type_Customer", "Type", RecordBox::List, ListSource{"Customer", "Type_Customer"}},
        {"City_Customer", "City", RecordBox::List, ListSource{"Customer", "City_Customer"}},
        {"State_Customer", "State", RecordBox::List, ListSource{"Customer", "State_Customer"}},
    };
    d.focusOrder = QStringList{
        "ID_Customer",   "Name_Customer",  "Type_Customer", "Tell_Customer",  "Address_Customer",
        "City_Customer", "State_Customer", "Zip_Customer",  "Email_Customer", "Web_Customer"};
    d.enterWrapsTo = QStringLiteral("Name_Customer");
    d.titles = {"No", "Name", "Type", "Tell", "Address", "City", "State", "Zip", "Email", "Web"};
    QStringList refreshTitles = d.titles;
    refreshTitles[0] = QStringLiteral("ID No");
    d.refreshTitles = refreshTitles;
    refreshTitles[2] = QStringLiteral("type");
    d.cancelTitles = refreshTitles;
    d.sortable = {"ID_Customer",      "Name_Customer", "Type_Customer",  "Tell_Customer",
                  "Address_Customer", "City_Customer", "State_Customer", "Zip_Customer",
                  "Email_Customer",   "Web_Customer"};
    d.insertedMessage = d.updatedMessage = QStringLiteral("Saved!");
    d.afterSave = RecordDescription::AfterSave::SavedKeyTyped;
    d.cancel = RecordDescription::Cancel::ReloadFirstRow;
    d.refreshCopiesFirstRow = true;
    d.figuresOnShow = true;
    d.searchComputesFigures = true;
    d.gridKeys = {Qt::Key_F3, Qt::Key_F5};
    d.newDefaults = {{"Type_Customer", "Customer"}};
    d.newFromProfile = {{"City_Customer", "City_R"}, {"State_Customer", "State_R"}};
    // Until a title is clicked the search box looks for a name.
    d.searchColumn = QStringLiteral("Name_Customer");
    // Customers brought from a spreadsheet are known by their names.
    d.import =
        RecordDescription::Import{QStringLiteral("Name_Customer"), QStringLiteral("ID_Customer"),
                                  QStringLiteral("customer"), QStringLiteral("customers")};
    return d;
}
} // namespace

TCustomer::TCustomer(ChildOpener openChild, QWidget* parent)
    : RecordWindow(customerDescription(), parent)
    , m_openChild(std::move(openChild))
{
    setObjectName(QStringLiteral("Customer"));
    m_amounts = addFigure(QStringLiteral("Total Amounts $"), QStringLiteral("Label15"), "0.00");
    m_paid = addFigure(QStringLiteral("Total Paid $"), QStringLiteral("Label16"), "0.00");
    m_balance = addFigure(QStringLiteral("Balance $"), QStringLiteral("Label18"), "0.00");
    figuresLayout()->addStretch(1);

    QPushButton* sendTo = addButton(QStringLiteral("Send To "), "SendToButton");
    sendTo->setEnabled(false);
    sendTo->setToolTip(QStringLiteral("Sending customer details is not available"));
    QPushButton* paid = addButton(QStringLiteral("Paid History"), "PaidHistoryButton");
    QPushButton* invoices = addButton(QStringLiteral("Inv History"), "InvHistoryButton");
    paid->setEnabled(bool(m_openChild));
    invoices->setEnabled(bool(m_openChild));
    connect(paid, &QPushButton::clicked, this, [this] { openHistory<TCustomerHistory>(); });
    connect(invoices, &QPushButton::clicked, this,
            [this] { openHistory<TCustomerInvoiceHistory>(); });
}

template<class History>
void TCustomer::openHistory()
{
    guard([this] {
        auto* window = new History;
        window->readFrom(this, QStringLiteral("Name_Customer"));
        m_openChild(window);
    });
}

void TCustomer::computeFigures()
{
    const QString name = text("Name_Customer");
    const CatalogueStore store;
    auto money = [](const Field& sum) { return sum.isNull() ? QStringLiteral("0") : sum.asText(); };
    m_amounts->setText(money(store.customerInvoiced(name)));
    m_paid->setText(money(store.customerPaid(name)));
    const Currency balance = Currency::parse(m_amounts->text()) - Currency::parse(m_paid->text());
    m_balance->setText(balance.toPlain());
}
