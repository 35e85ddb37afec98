// A busy shop counter for the tests that end the program at random moments: it saves invoices
// with their lines, archives some of them, takes payments and runs a report, each in one
// transaction as the program's windows run them, and writes a line the moment each is
// committed. Usage: busy_counter SHOP SEED

#include "data/Connection.h"
#include "data/Query.h"
#include "data/SqlRow.h"
#include "data/TDM.h"
#include "data/Transaction.h"
#include "stores/ReportStore.h"
#include "stores/SalesStore.h"

#include <QCoreApplication>
#include <QDate>
#include <QRandomGenerator>
#include <QTextStream>

#include <cstdio>

namespace {

SalesTables invoices()
{
    SalesTables tables;
    tables.header = QStringLiteral("Invoice");
    tables.items = QStringLiteral("InvItem");
    tables.labor = QStringLiteral("InvLabor");
    return tables;
}

void say(const QString& line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    TDM dm(QString::fromLocal8Bit(argv[1]));
    Connection* shop = DM->admin1();
    QRandomGenerator random(QByteArray(argv[2]).toUInt());
    const SalesTables tables = invoices();
    Query numbers(QStringLiteral("numbers"), shop);
    numbers.setSql({QStringLiteral("select Max(InvoiceNo_Inv) From Invoice union all select "
                                   "Max(InvoiceNo_Inv) From InvoiceCash")});
    numbers.open();
    qint64 next = 1;
    for (int r = 0; r < numbers.recordCount(); ++r)
        next = std::max(next, numbers.field(r, 0).asInteger() + 1);
    QList<qint64> saved;
    const QDate day(2026, 12, 10);
    for (;;) {
        const quint32 what = random.bounded(10);
        if (what < 5 || saved.isEmpty()) {
            const qint64 n = next++;
            const int parts = 1 + int(random.bounded(4));
            const int labor = int(random.bounded(3));
            Transaction save(shop);
            SqlRow header(QStringLiteral("Invoice"));
            header.set(QStringLiteral("InvoiceNo_Inv"), QString::number(n))
                .set(QStringLiteral("CustomerName_Inv"), QStringLiteral("Customer %1").arg(n % 7))
                .set(QStringLiteral("InvoiceDate_Inv"), day.toString(QStringLiteral("M/d/yyyy")))
                .set(QStringLiteral("Amount_Inv"), QString::number(parts * 10 + labor * 50))
                .setText(QStringLiteral("Tax_Inv"), QStringLiteral("Yes"))
                .setYesNo(QStringLiteral("Paid_Inv"), false);
            shop->execute(header.insert());
            for (int i = 0; i < parts; ++i) {
                SqlRow line(QStringLiteral("InvItem"));
                line.set(QStringLiteral("Inv_Item"), QString::number(n))
                    .set(QStringLiteral("Name_Item"), QStringLiteral("Part %1").arg(i))
                    .set(QStringLiteral("Amount_Item"), QStringLiteral("10"));
                shop->execute(line.insert());
            }
            for (int i = 0; i < labor; ++i) {
                SqlRow line(QStringLiteral("InvLabor"));
                line.set(QStringLiteral("Inv_Labor"), QString::number(n))
                    .set(QStringLiteral("Description_Labor"), QStringLiteral("Labor %1").arg(i))
                    .set(QStringLiteral("Amount_Labor"), QStringLiteral("50"));
                shop->execute(line.insert());
            }
            save.commit();
            saved.append(n);
            say(QStringLiteral("saved %1 %2 %3").arg(n).arg(parts).arg(labor));
        } else if (what < 7) {
            const qint64 n = saved.takeAt(int(random.bounded(quint32(saved.size()))));
            SqlRow header(QStringLiteral("InvoiceCash"));
            header.set(QStringLiteral("InvoiceNo_Inv"), QString::number(n))
                .set(QStringLiteral("CustomerName_Inv"), QStringLiteral("Customer %1").arg(n % 7))
                .setYesNo(QStringLiteral("Paid_Inv"), false);
            SalesStore().archive(tables, header, n);
            say(QStringLiteral("archived %1").arg(n));
        } else if (what < 9) {
            const qint64 n = saved.at(int(random.bounded(quint32(saved.size()))));
            Transaction pay(shop);
            SqlRow payment(QStringLiteral("Receivable"));
            payment.set(QStringLiteral("InvoiceNo_Receivable"), QString::number(n))
                .set(QStringLiteral("PayDate_Receivable"), day.toString(QStringLiteral("M/d/yyyy")))
                .set(QStringLiteral("Amount_Receivable"), QStringLiteral("5"));
            shop->execute(payment.insert());
            pay.commit();
            say(QStringLiteral("paid %1").arg(n));
        } else {
            Query rows(QStringLiteral("report"), shop);
            ReportStore().finishedInvoicePayments(rows, day.addDays(-30), day, false);
            say(QStringLiteral("report %1").arg(rows.recordCount()));
        }
    }
}
