#include "stores/ReportStore.h"

// The reports of what is owed on a day: the aging of receivables and payables, and the
// customers' statements.

namespace {
// A bucket of what is past due: the balance of A when its days past due are in the bucket.
QString inBucket(const QString& days, const QString& balance)
{
    return "IIf(" + days + ", " + balance + ", 0)";
}

struct Bucket
{
    const char* days;
    const char* name;
};

const Bucket buckets[] = {{"A.Days <= 0", "NotYetDue"},
                          {"A.Days >= 1 And A.Days <= 30", "Days30"},
                          {"A.Days >= 31 And A.Days <= 60", "Days60"},
                          {"A.Days >= 61 And A.Days <= 90", "Days90"},
                          {"A.Days > 90", "Over90"}};

// The buckets of the balances of A (Party, Balance, Days past due), summed by party; a balance
// under half a cent is none.
SqlStatement aged(const SqlStatement& balances)
{
    QString select = QStringLiteral("select A.Party");
    for (const Bucket& bucket : buckets)
        select += ", SUM(" + inBucket(QLatin1String(bucket.days), QStringLiteral("A.Balance")) +
                  ") As " + QLatin1String(bucket.name);
    return SqlStatement{{select + QStringLiteral(", SUM(A.Balance) As Total From (")}} + balances +
           SqlStatement{{") A where A.Balance >= 0.005 Group By A.Party Order By A.Party"}};
}

// The invoices that may be open on the day, with what was paid of them by then: those not
// marked paid, and those paid in full only after it, the numbers of both found along their
// indexes first (a server reads every invoice for the two conditions joined by Or).
SqlStatement openOnDay(const QString& columns, const QDate& asOf,
                       const ReportStore::Choice& customer)
{
    SqlStatement statement{
        {"select " + columns +
         ", Nz((select SUM(R.Amount_Receivable) From Receivable R where "
         "R.InvoiceNo_Receivable = O.InvoiceNo_Inv And R.PayDate_Receivable <= ?), 0) As "
         "Paid, DateDiff('d', Nz(O.DueDate_Inv, O.InvoiceDate_Inv), ?) As Days From Invoice "
         "O where O.InvoiceDate_Inv <= ? And O.InvoiceNo_Inv In (select I.InvoiceNo_Inv From "
         "Invoice I where I.Paid_Inv = No Union select P.InvoiceNo_Receivable From Receivable "
         "P where P.PayDate_Receivable > ?)"},
        {asOf, asOf, asOf, asOf}};
    if (customer)
        statement =
            statement + SqlStatement{{QStringLiteral(" And O.CustomerName_Inv = ?")}, {*customer}};
    return statement;
}
} // namespace

void ReportStore::receivablesAging(Query& rows, const QDate& asOf) const
{
    load(rows, receivablesAgingOn(asOf));
}

SqlStatement ReportStore::receivablesAgingOn(const QDate& asOf)
{
    return aged(SqlStatement{{QStringLiteral("select B.Party, B.Amount - B.Paid As Balance, "
                                             "B.Days From (")}} +
                openOnDay(QStringLiteral("O.CustomerName_Inv As Party, O.Amount_Inv As "
                                         "Amount"),
                          asOf, std::nullopt) +
                SqlStatement{{QStringLiteral(") B")}});
}

void ReportStore::payablesAging(Query& rows, const QDate& asOf) const
{
    load(rows, payablesAgingOn(asOf));
}

SqlStatement ReportStore::payablesAgingOn(const QDate& asOf)
{
    // Bills carry no paid mark: every bill up to the day, with what was paid of it by then,
    // summed once per bill and joined (a sum per bill read along the payments' index took
    // four times as long on a server).
    return aged(
        SqlStatement{{"select B.Vendor_Bill As Party, B.Amount_Bill - Nz(Q.Paid, 0) As Balance, "
                      "DateDiff('d', Nz(B.DueDate_Bill, B.BillDate_Bill), ?) As Days From Bill B "
                      "Left Join (select P.BillNo_Payable, SUM(P.Amount_Payable) As Paid From "
                      "Payable P where P.PayDate_Payable <= ? Group By P.BillNo_Payable) Q On "
                      "Q.BillNo_Payable = B.Ref_Bill where B.BillDate_Bill <= ?"},
                     {asOf, asOf, asOf}});
}

void ReportStore::statements(Query& rows, const QDate& asOf, const Choice& customer) const
{
    load(rows, statementsOn(asOf, customer));
}

SqlStatement ReportStore::statementsOn(const QDate& asOf, const Choice& customer)
{
    QString select = QStringLiteral(
        "select UCase(A.CustomerName_Inv) As Statement, A.CustomerName_Inv, C.Address_Customer, "
        "C.City_Customer, C.State_Customer, C.Zip_Customer, A.InvoiceNo_Inv, A.InvoiceDate_Inv, "
        "A.DueDate_Inv, A.Amount_Inv, A.Paid, A.Amount_Inv - A.Paid As Balance, A.Days");
    for (const Bucket& bucket : buckets)
        select += ", " +
                  inBucket(QLatin1String(bucket.days), QStringLiteral("A.Amount_Inv - A.Paid")) +
                  " As " + QLatin1String(bucket.name);
    // A name kept by several customers: the address of the first of them.
    return SqlStatement{{select + QStringLiteral(" From (")}} +
           openOnDay(QStringLiteral("O.CustomerName_Inv, O.InvoiceNo_Inv, "
                                    "O.InvoiceDate_Inv, Nz(O.DueDate_Inv, "
                                    "O.InvoiceDate_Inv) As DueDate_Inv, O.Amount_Inv"),
                     asOf, customer) +
           SqlStatement{{QStringLiteral(
               ") A Left Join (select K.Name_Customer, Min(K.ID_Customer) As First From "
               "Customer K Group By K.Name_Customer) F On F.Name_Customer = A.CustomerName_Inv "
               "Left Join Customer C On C.ID_Customer = F.First where A.Amount_Inv - A.Paid >= "
               "0.005 Order By UCase(A.CustomerName_Inv), A.CustomerName_Inv, A.InvoiceDate_Inv, "
               "A.InvoiceNo_Inv")}};
}
