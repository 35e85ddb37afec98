#include "data/TDM.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Query.h"
#include "data/SqlSelect.h"

TDM* DM = nullptr;

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
    m_profile = new Query(QStringLiteral("QReg1"), m_admin1.get());
    TDM* previous = DM;
    DM = this;
    try {
        reloadProfile();
    } catch (...) {
        // A constructor that throws runs no destructor: undo what it did.
        delete m_profile;
        DM = previous;
        throw;
    }
}

TDM::~TDM()
{
    // The profile's rows, and any query made a child of the data module, go before the
    // connection they were read on.
    delete m_profile;
    qDeleteAll(findChildren<Query*>(Qt::FindDirectChildrenOnly));
    if (DM == this)
        DM = nullptr;
}

void TDM::reloadProfile()
{
    m_profile->close();
    m_profile->setSql(SqlSelect::all(QStringLiteral("Reg")));
    m_profile->open();
    m_profile->first();
}
