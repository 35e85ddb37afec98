#include "BackupTesting.h"

#include "TestShop.h"
#include "data/Connection.h"
#include "data/DatabaseTarget.h"
#include "data/Schema.h"
#include "data/ShopDatabase.h"
#include "data/SqlDialect.h"

#include <QCryptographicHash>
#include <QDate>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <stdexcept>

namespace {

QString valueText(const QVariant& v, ColumnKind kind)
{
    if (v.isNull())
        return QStringLiteral("<null>");
    switch (kind) {
    case ColumnKind::Money:
        return QString::number(v.toDouble(), 'f', 4);
    case ColumnKind::Real:
        return QString::number(v.toDouble(), 'g', 12);
    case ColumnKind::Bool: {
        const QString t = v.toString().toLower();
        return (t == QLatin1String("true") || t == QLatin1String("1")) ? QStringLiteral("1")
                                                                       : QStringLiteral("0");
    }
    case ColumnKind::Date:
        return v.typeId() == QMetaType::QDate ? v.toDate().toString(Qt::ISODate)
                                              : v.toString().left(10);
    case ColumnKind::Integer:
        return QString::number(v.toLongLong());
    case ColumnKind::Text:
        break;
    }
    return v.toString();
}

QStringList dumpDatabase(QSqlDatabase& db)
{
    const SqlDialect& sql = ShopDatabase::dialectOf(db);
    QStringList rows;
    for (const Schema::Table& table : Schema::tables()) {
        QStringList names;
        for (const Schema::Column& c : table.columns)
            names.append(c.name);
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("SELECT %1, %2 FROM %3")
                        .arg(SqlDialect::rowKeyColumn(), names.join(QStringLiteral(", ")),
                             sql.identifier(table.name))))
            throw std::runtime_error(q.lastError().text().toStdString());
        while (q.next()) {
            QStringList row{table.name, q.value(0).toString()};
            for (int c = 0; c < table.columns.size(); ++c)
                row.append(valueText(q.value(c + 1), table.columns.at(c).kind));
            rows.append(row.join(QLatin1Char('|')));
        }
    }
    rows.sort();
    return rows;
}

int nextName = 0;

} // namespace

namespace BackupTesting {

QByteArray hashOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QStringList dump(const DatabaseTarget& target)
{
    if (!target.isServer())
        return dumpFile(target.location);
    const QString name = QStringLiteral("dump-%1").arg(nextName++);
    QStringList rows;
    {
        QSqlDatabase db = Connection::openServerDatabase(target, name);
        rows = dumpDatabase(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

QStringList dumpFile(const QString& path)
{
    const QString name = QStringLiteral("dump-%1").arg(nextName++);
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open())
            throw std::runtime_error(db.lastError().text().toStdString());
        rows = dumpDatabase(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

void fillShop(TestShop& shop)
{
    shop.exec("Insert into Invoice (InvoiceNo_Inv, CustomerName_Inv, InvoiceDate_Inv, Amount_Inv, "
              "Paid_Inv, Tax_Inv, Remark_Inv) values (1001, 'O''Brien Ærø Trucking', "
              "#3/4/2026#, 123.45, Yes, 'Yes', 'line one\nline two')");
    shop.exec("Insert into InvItem (Name_Item, Qty_Item, Rate_Item, Amount_Item, Inv_Item) "
              "values ('Brake pad 100%', 1.5, 10.1, 15.15, 1001)");
    shop.exec("Insert into InvItem (Name_Item, Qty_Item, Rate_Item, Amount_Item, Inv_Item) "
              "values ('Filter_x \\ back', 2, 0.1, 0.2, 1001)");
    shop.exec("Insert into InvLabor (Description_Labor, Qty_Labor, Rate_Labor, Amount_Labor, "
              "Inv_Labor) values ('Brake job', 1, 108.1, 108.1, 1001)");
    shop.exec("Insert into Receivable (InvoiceNo_Receivable, Name_Receivable, PayDate_Receivable, "
              "Amount_Receivable) values (1001, 'O''Brien Ærø Trucking', #3/5/2026#, 50)");
    shop.exec("Insert into Estimate (InvoiceNo_Inv, CustomerName_Inv, InvoiceDate_Inv, Paid_Inv) "
              "values (7, 'Fleet', #1/2/2025#, No)");
    shop.exec("Insert into EstimateItem (Name_Item, Amount_Item, Inv_Item) values ('Tyre', 99.99, "
              "7)");
    shop.exec("Insert into Bill (Ref_Bill, Vendor_Bill, BillDate_Bill, Amount_Bill) values "
              "('B-1', 'Parts Co', #2/1/2026#, 40)");
    shop.exec("Insert into BillItem (Name_Bill, Amount_Bill, Inv_Bill) values ('Oil', 40, 'B-1')");
    shop.exec("Insert into Payable (BillNo_Payable, Name_Payable, PayDate_Payable, Amount_Payable) "
              "values ('B-1', 'Parts Co', #2/2/2026#, 40)");
    shop.exec("Insert into Part (ID_Material, Number_Material, Price_Material) values (5, 'P-5', "
              "12.5)");
}

} // namespace BackupTesting
