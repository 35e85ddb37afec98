#include "stores/PaymentStore.h"

#include "data/SqlSelect.h"

Field PaymentStore::paidSum(const PaymentTables& tables, const QVariant& document,
                            qint64 except) const
{
    return value(SqlSelect::otherThan(
        SqlSelect::sum(tables.payments, tables.amount, tables.document, document), except));
}

void PaymentStore::document(Query& query, const PaymentTables& tables,
                            const QVariant& document) const
{
    load(query, SqlSelect::where(tables.documents, tables.documentKey, document));
}

void PaymentStore::payments(Query& query, const PaymentTables& tables, const QVariant& document,
                            const QString& reference) const
{
    SqlStatement statement = SqlSelect::where(tables.payments, tables.document, document);
    statement.lines.append(" And " + tables.reference + " = ?");
    statement.values.append(reference);
    load(query, statement);
}

TableRead PaymentStore::receivedOn(const QString& payments, qint64 number)
{
    return SqlSelect::where(payments, QStringLiteral("InvoiceNo_Receivable"), number);
}

TableRead PaymentStore::received()
{
    return SqlSelect::all(QStringLiteral("Receivable"));
}

TableRead PaymentStore::receivedFrom(const QString& customer)
{
    return SqlSelect::where(QStringLiteral("Receivable"), QStringLiteral("Name_Receivable"),
                            customer);
}

Field PaymentStore::receivedSum() const
{
    return value(SqlStatement{{"Select Sum(Amount_Receivable) From Receivable"}});
}

TableRead PaymentStore::paid()
{
    return SqlSelect::all(QStringLiteral("Payable"));
}

TableRead PaymentStore::paidOn(const QString& bill)
{
    return SqlSelect::where(QStringLiteral("Payable"), QStringLiteral("BillNo_Payable"), bill);
}

Field PaymentStore::paidSum() const
{
    return value(SqlStatement{{"Select Sum(Amount_Payable) From Payable"}});
}
