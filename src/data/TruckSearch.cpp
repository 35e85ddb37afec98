#include "data/TruckSearch.h"

namespace TruckSearch {

const QList<Source>& sources()
{
    static const QList<Source> all = {{QStringLiteral("Invoice"), 0},
                                      {QStringLiteral("Estimate"), 1},
                                      {QStringLiteral("InvoiceCash"), 2},
                                      {QStringLiteral("EstimateCash"), 3}};
    return all;
}

QString serverKey(const QString& alias)
{
    const QString prefix = alias.isEmpty() ? QString() : alias + QLatin1Char('.');
    return QStringLiteral("(coalesce(%1Vin_Inv::text, '') || '|' || coalesce(%1TruckNo_Inv::text, "
                          "'') || '|' || coalesce(%1Plate_Inv::text, ''))")
        .arg(prefix);
}

QStringList createStatements(bool server)
{
    QStringList statements;
    if (server) {
        statements.append(QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm"));
        for (const Source& source : sources())
            statements.append(QStringLiteral("CREATE INDEX IF NOT EXISTS ix_%1_truck ON %1 USING "
                                             "gin (%2 gin_trgm_ops)")
                                  .arg(source.table, serverKey(QString())));
        return statements;
    }
    // Made again from the documents whenever it is made, so that making it twice is harmless.
    statements.append(QStringLiteral("CREATE VIRTUAL TABLE IF NOT EXISTS TruckSearch USING "
                                     "fts5(Vin, TruckNo, Plate, tokenize = 'trigram')"));
    statements.append(QStringLiteral("DELETE FROM TruckSearch"));
    for (const Source& source : sources()) {
        const QString add = QStringLiteral("INSERT INTO TruckSearch (rowid, Vin, TruckNo, Plate) "
                                           "VALUES (new.tavlin_row * 4 + %1, new.Vin_Inv, "
                                           "new.TruckNo_Inv, new.Plate_Inv);")
                                .arg(source.kind);
        const QString remove =
            QStringLiteral("DELETE FROM TruckSearch WHERE rowid = old.tavlin_row * 4 + %1;")
                .arg(source.kind);
        const auto trigger = [&](const char* name, const QString& when, const QString& body) {
            const QString trigger =
                QStringLiteral("TruckSearch_%1_%2").arg(source.table, QLatin1String(name));
            statements.append(QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(trigger));
            statements.append(QStringLiteral("CREATE TRIGGER %1 AFTER %2 ON \"%3\" BEGIN %4 END")
                                  .arg(trigger, when, source.table, body));
        };
        trigger("added", QStringLiteral("INSERT"), add);
        trigger("removed", QStringLiteral("DELETE"), remove);
        trigger("changed", QStringLiteral("UPDATE OF tavlin_row, Vin_Inv, TruckNo_Inv, Plate_Inv"),
                remove + QLatin1Char(' ') + add);
        statements.append(QStringLiteral("INSERT INTO TruckSearch (rowid, Vin, TruckNo, Plate) "
                                         "SELECT tavlin_row * 4 + %1, Vin_Inv, TruckNo_Inv, "
                                         "Plate_Inv FROM \"%2\"")
                              .arg(source.kind)
                              .arg(source.table));
    }
    return statements;
}

QString fileMatch(const QString& text)
{
    QString phrase = text;
    phrase.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + phrase + QLatin1Char('"');
}

QString serverPattern(const QString& text)
{
    QString pattern = text;
    pattern.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    pattern.replace(QLatin1Char('%'), QStringLiteral("\\%"));
    pattern.replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return QLatin1Char('%') + pattern + QLatin1Char('%');
}

} // namespace TruckSearch
