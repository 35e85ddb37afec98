#include "data/TDM.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Query.h"

TDM* DM = nullptr;

namespace {

struct QueryText
{
    const char* names; // several names share one line when they are alike
    bool technician;
    const char* preset;
};

const QueryText queryTexts[] = {
    {"QPass1 QPass2 QPart1 QPart2 QCompany1 QCompany2 QCompany3 QCompany4 QCustomer1 "
     "QCustomer2 QCustomer3 QCustomer4 QEmployee1 QEmployee2 QLabor1 QLabor2",
     false, nullptr},
    {"QPo1", false, nullptr},
    {"QPo2 QPo3", false, nullptr},
    {"QItem1 QItem2 QItem3 QItem4 QInv1 QInv2 QInv3 QInvItem1 QInvItem2 QInvItem3 QInvItem4 "
     "QInvLabor1 QInvLabor2 QInvLabor3 QInvLabor4 QEstimate1 QEstimate2 QEstimate3 "
     "QEstimateItem1 QEstimateItem2 QEstimateItem3 QEstimateItem4 QEstimateLabor1 "
     "QEstimateLabor2 QEstimateLabor3 QEstimateLabor4",
     false, nullptr},
    {"QReceivable1 QReceivable2 QReceivable3 QReceivable4 QBill1 QBill2 QBill3 QBillPart1 "
     "QBillPart2 QBillPart3 QBillPart4",
     false, nullptr},
    {"QBillExpense1 QBillExpense2 QBillExpense3 QBillExpense4", false, nullptr},
    {"QPayable1 QPayable2 QPayable3 QPayable4 QDeposit1 QDeposit2 QDeposit3 QTax", false, nullptr},
    {"Q1", false, nullptr},
    {"Q2 Q3 Q4 Q5", false, nullptr},
    {"QReg1", false, "select * from Reg"},
    {"QOrder3", false, "select * from MainPartOrder"},
    {"QOrder1 QOrder2 QOutInv1 QoutInv2 QTCompany2", false, nullptr},
    {"QSendPass1", false, "select * from MainPartOrder"},
    {"QTPart1 QTPart2 QTCompany1", true, nullptr},
    {"QSendPass2", true, "select * from MainPartOrder"},
};

} // namespace

TDM::TDM(const QString& databasePath, QObject* parent)
    : TDM(DatabaseTarget::file(databasePath), parent)
{}

TDM::TDM(const DatabaseTarget& target, QObject* parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("DM"));
    m_admin1 = Connection::shop(QStringLiteral("Admin1"), target);
    m_technician = Connection::dataSource(
        QStringLiteral("Technician"),
        QStringLiteral("Provider=MSDASQL.1;Persist Security Info=False;Data Source=Technician"));
    m_admin1->open();
    createQueries();
    TDM* previous = DM;
    DM = this;
    try {
        query(QStringLiteral("QReg1"))->open();
    } catch (...) {
        // A constructor that throws runs no destructor: undo what it did.
        qDeleteAll(m_queries);
        m_queries.clear();
        DM = previous;
        throw;
    }
}

TDM::~TDM()
{
    qDeleteAll(m_queries);
    m_queries.clear();
    if (DM == this)
        DM = nullptr;
}

void TDM::createQueries()
{
    for (const auto& text : queryTexts) {
        for (const QString& name :
             QString::fromLatin1(text.names).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            auto* q = new Query(name, text.technician ? m_technician.get() : m_admin1.get());
            if (text.preset)
                q->add(QString::fromLatin1(text.preset));
            m_queries.insert(name, q);
            m_names.append(name);
        }
    }
}

Query* TDM::query(const QString& name) const
{
    Query* q = m_queries.value(name);
    if (!q)
        throw DbError(QStringLiteral("The data module has no query named %1.").arg(name));
    return q;
}

Query* TDM::ownQuery(const QString& name, QObject* owner) const
{
    const Query* pooled = query(name);
    return new Query(name, pooled->connection(), owner);
}

QStringList TDM::queryNames() const
{
    return m_names;
}
