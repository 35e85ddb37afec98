#include "stores/BillStore.h"

#include "data/Connection.h"
#include "data/SqlDialect.h"
#include "data/SqlRow.h"
#include "data/SqlSelect.h"

QList<std::pair<QString, QString>> BillStore::referenceColumns()
{
    return {{"Bill", "Ref_Bill"},
            {"BillItem", "Inv_Bill"},
            {"BillExpense", "Bill_Expense"},
            {"Payable", "BillNo_Payable"}};
}

TableRead BillStore::bills()
{
    return SqlSelect::all(QStringLiteral("Bill"));
}

TableRead BillStore::vendorBills(const QString& vendor)
{
    return SqlSelect::where(QStringLiteral("Bill"), QStringLiteral("Vendor_Bill"), vendor);
}

qint64 BillStore::largestReference() const
{
    // Read with an aggregate; references that are not numbers read as none.
    const Field largest =
        value(SqlStatement{{QStringLiteral("Select Max(Val(Ref_Bill)) From Bill")}});
    return largest.isNull() ? 0 : qint64(largest.asNumber());
}

bool BillStore::referenceUsed(const QString& reference) const
{
    // Each looked up on its index.
    for (const auto& [table, column] : referenceColumns()) {
        SqlRow probe(table);
        probe.setText(column, reference);
        if (exists(probe.select(column, {column})))
            return true;
    }
    return false;
}

std::optional<BillStore::Bill> BillStore::billReferenced(const QString& reference,
                                                         qint64 except) const
{
    SqlRow probe(QStringLiteral("Bill"));
    probe.setText(QStringLiteral("Ref_Bill"), reference);
    const std::unique_ptr<Query> bill = rows(SqlSelect::otherThan(
        probe.select(QStringLiteral("Vendor_Bill, BillDate_Bill"), {QStringLiteral("Ref_Bill")}),
        except));
    if (bill->isEmpty())
        return std::nullopt;
    return Bill{bill->field(QStringLiteral("Vendor_Bill")).asText(),
                bill->field(QStringLiteral("BillDate_Bill")).asText()};
}

std::optional<QString> BillStore::storedReference(qint64 key) const
{
    const std::unique_ptr<Query> bill = rows(SqlSelect::where(
        QStringLiteral("Bill"), SqlDialect::rowKeyColumn(), key, QStringLiteral("Ref_Bill")));
    if (bill->isEmpty())
        return std::nullopt;
    return bill->field(QStringLiteral("Ref_Bill")).asText();
}

void BillStore::lockReferences() const
{
    if (connection()->isServer())
        rows(SqlStatement{
            {QStringLiteral("SELECT pg_advisory_xact_lock(hashtext('tavlin-number-bill'))")}});
}

void BillStore::moveReference(const QString& from, const QString& to) const
{
    for (const auto& [table, column] : referenceColumns()) {
        if (table == QLatin1String("Bill"))
            continue;
        SqlRow moved(table);
        moved.setText(column, to);
        SqlStatement statement = moved.update({});
        SqlRow old(table);
        old.setText(column, from);
        const SqlStatement where = old.condition({column});
        statement.lines.append(" where " + where.lines.first());
        statement.values += where.values;
        change(statement);
    }
}

void BillStore::removeLines(const QString& reference) const
{
    for (const auto& [table, column] : referenceColumns()) {
        if (table == QLatin1String("Bill") || table == QLatin1String("Payable"))
            continue;
        SqlRow lines(table);
        lines.setText(column, reference);
        change(lines.remove({column}));
    }
}

BillStore::Payments BillStore::payments(const QString& reference) const
{
    SqlRow probe(QStringLiteral("Payable"));
    probe.setText(QStringLiteral("BillNo_Payable"), reference);
    const std::unique_ptr<Query> sums = rows(probe.select(
        QStringLiteral("Count(*), Sum(Amount_Payable)"), {QStringLiteral("BillNo_Payable")}));
    return {sums->field(0, 0).asInteger(), sums->field(0, 1).asCurrency()};
}

Field BillStore::paidSum(const QString& reference) const
{
    return value(SqlSelect::sum(QStringLiteral("Payable"), QStringLiteral("Amount_Payable"),
                                QStringLiteral("BillNo_Payable"), reference));
}
