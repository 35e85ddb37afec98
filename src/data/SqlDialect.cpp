#include "data/SqlDialect.h"

#include "data/DbError.h"

namespace {

// Access Format() patterns for dates, as far as the shop's statements use them.
QString strftimePattern(QString pattern)
{
    if (pattern.size() >= 2 && (pattern.front() == QLatin1Char('\'')) &&
        pattern.back() == QLatin1Char('\''))
        pattern = pattern.mid(1, pattern.size() - 2);
    QString out;
    const QString lower = pattern.toLower();
    for (int i = 0; i < lower.size();) {
        auto starts = [&](const char* s) { return lower.mid(i).startsWith(QLatin1String(s)); };
        if (starts("yyyy")) {
            out += QStringLiteral("%Y");
            i += 4;
        } else if (starts("mm")) {
            out += QStringLiteral("%m");
            i += 2;
        } else if (starts("dd")) {
            out += QStringLiteral("%d");
            i += 2;
        } else {
            out +=
                pattern.at(i) == QLatin1Char('%') ? QStringLiteral("%%") : QString(pattern.at(i));
            ++i;
        }
    }
    return QLatin1Char('\'') + out + QLatin1Char('\'');
}

void expectArgs(const QString& name, const QStringList& args, int min, int max)
{
    if (args.size() < min || args.size() > max)
        throw DbError(QStringLiteral("Wrong number of arguments used with function %1 in query "
                                     "expression.")
                          .arg(name));
}

// DateDiff('d', from, to): the days from one date to another; other intervals are refused.
void expectDays(const QString& name, const QStringList& args)
{
    expectArgs(name, args, 3, 3);
    if (args[0].trimmed() != QLatin1String("'d'"))
        throw DbError(QStringLiteral("DateDiff counts days only ('d') in query expression."));
}

// The Access functions every engine writes the same way.
std::optional<QString> commonCall(const QString& name, const QStringList& args)
{
    if (name == QLatin1String("iif")) {
        expectArgs(name, args, 3, 3);
        return QStringLiteral("(CASE WHEN %1 THEN %2 ELSE %3 END)").arg(args[0], args[1], args[2]);
    }
    if (name == QLatin1String("ucase"))
        return QStringLiteral("UPPER(%1)").arg(args.join(QStringLiteral(", ")));
    if (name == QLatin1String("lcase"))
        return QStringLiteral("LOWER(%1)").arg(args.join(QStringLiteral(", ")));
    if (name == QLatin1String("len"))
        return QStringLiteral("LENGTH(%1)").arg(args.join(QStringLiteral(", ")));
    if (name == QLatin1String("mid"))
        return QStringLiteral("SUBSTR(%1)").arg(args.join(QStringLiteral(", ")));
    if (name == QLatin1String("cstr")) {
        expectArgs(name, args, 1, 1);
        return QStringLiteral("CAST(%1 AS TEXT)").arg(args[0]);
    }
    return std::nullopt;
}

} // namespace

QString SqliteDialect::dateLiteral(const QDate& date) const
{
    return QLatin1Char('\'') + date.toString(Qt::ISODate) + QLatin1Char('\'');
}

QString SqliteDialect::boolLiteral(bool value) const
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

QString SqliteDialect::identifier(const QString& name) const
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

QString SqliteDialect::columnType(ColumnKind kind, bool exactCase) const
{
    switch (kind) {
    case ColumnKind::Integer:
    case ColumnKind::Bool:
        return QStringLiteral("INTEGER");
    case ColumnKind::Money:
    case ColumnKind::Real:
        return QStringLiteral("REAL");
    case ColumnKind::Date:
        return QStringLiteral("TEXT");
    case ColumnKind::Text:
        break;
    }
    return exactCase ? QStringLiteral("TEXT COLLATE BINARY")
                     : QStringLiteral("TEXT COLLATE NOCASE");
}

QString SqliteDialect::limitClause(int rows) const
{
    return QStringLiteral(" LIMIT %1").arg(rows);
}

std::optional<QString> SqliteDialect::call(const QString& name, const QStringList& args) const
{
    auto part = [&](const char* fmt) {
        expectArgs(name, args, 1, 1);
        return QStringLiteral("CAST(strftime('%1', %2) AS INTEGER)")
            .arg(QLatin1String(fmt), args[0]);
    };
    if (name == QLatin1String("year"))
        return part("%Y");
    if (name == QLatin1String("month"))
        return part("%m");
    if (name == QLatin1String("day"))
        return part("%d");
    if (name == QLatin1String("datediff")) {
        expectDays(name, args);
        return QStringLiteral("CAST(julianday(%2) - julianday(%1) AS INTEGER)")
            .arg(args[1], args[2]);
    }
    if (name == QLatin1String("format")) {
        expectArgs(name, args, 2, 2);
        return QStringLiteral("strftime(%1, %2)").arg(strftimePattern(args[1]), args[0]);
    }
    if (name == QLatin1String("date") && args.isEmpty())
        return QStringLiteral("date('now', 'localtime')");
    if (name == QLatin1String("now") && args.isEmpty())
        return QStringLiteral("datetime('now', 'localtime')");
    // The identity of a stored row, for removing one of two rows that are alike.
    if (name == QLatin1String("rowid") && args.isEmpty())
        return QStringLiteral("rowid");
    // StrComp(a, b, 0) compares binary, StrComp(a, b, 1) ignoring letter case: -1, 0 or 1.
    if (name == QLatin1String("strcomp")) {
        expectArgs(name, args, 2, 3);
        const QString collation = args.size() > 2 && args[2].trimmed() == QLatin1String("1")
                                      ? QStringLiteral("NOCASE")
                                      : QStringLiteral("BINARY");
        return QStringLiteral("(((%1) > (%2) COLLATE %3) - ((%1) < (%2) COLLATE %3))")
            .arg(args[0], args[1], collation);
    }
    if (name == QLatin1String("nz")) {
        expectArgs(name, args, 1, 2);
        return QStringLiteral("IFNULL(%1, %2)")
            .arg(args[0], args.size() > 1 ? args[1] : QStringLiteral("0"));
    }
    if (name == QLatin1String("val")) {
        expectArgs(name, args, 1, 1);
        return QStringLiteral("CAST(%1 AS REAL)").arg(args[0]);
    }
    if (name == QLatin1String("left")) {
        expectArgs(name, args, 2, 2);
        return QStringLiteral("SUBSTR(%1, 1, %2)").arg(args[0], args[1]);
    }
    if (name == QLatin1String("right")) {
        expectArgs(name, args, 2, 2);
        return QStringLiteral("SUBSTR(%1, -(%2))").arg(args[0], args[1]);
    }
    if (name == QLatin1String("cint") || name == QLatin1String("clng")) {
        expectArgs(name, args, 1, 1);
        return QStringLiteral("CAST(ROUND(%1) AS INTEGER)").arg(args[0]);
    }
    if (name == QLatin1String("cdbl") || name == QLatin1String("ccur")) {
        expectArgs(name, args, 1, 1);
        return QStringLiteral("CAST(%1 AS REAL)").arg(args[0]);
    }
    if (name == QLatin1String("int")) {
        expectArgs(name, args, 1, 1);
        return QStringLiteral("CAST(%1 AS INTEGER)").arg(args[0]);
    }
    // The program's own rounding of a computed amount to the cent, as Currency rounds it: to
    // the money type's four decimals, then halves of a cent away from zero (ROUND does so).
    if (name == QLatin1String("cents")) {
        expectArgs(name, args, 1, 1);
        return QStringLiteral("(ROUND(ROUND((%1) * 10000) / 100) / 100)").arg(args[0]);
    }
    return commonCall(name, args);
}

// ---- PostgreSQL ------------------------------------------------------------------------------

QString PostgresDialect::dateLiteral(const QDate& date) const
{
    return QStringLiteral("DATE '") + date.toString(Qt::ISODate) + QLatin1Char('\'');
}

QString PostgresDialect::boolLiteral(bool value) const
{
    return value ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
}

QString PostgresDialect::identifier(const QString& name) const
{
    // Unquoted, so that the statements' mixed-case names fold to the same lower-case names.
    return name;
}

QString PostgresDialect::columnType(ColumnKind kind, bool exactCase) const
{
    switch (kind) {
    case ColumnKind::Integer:
        return QStringLiteral("integer");
    case ColumnKind::Bool:
        return QStringLiteral("boolean");
    case ColumnKind::Money:
        return QStringLiteral("numeric(19,4)");
    case ColumnKind::Real:
        return QStringLiteral("double precision");
    case ColumnKind::Date:
        return QStringLiteral("date");
    case ColumnKind::Text:
        break;
    }
    // Texts compare and match without letter case, as in the embedded file.
    return exactCase ? QStringLiteral("text") : QStringLiteral("citext");
}

QString PostgresDialect::limitClause(int rows) const
{
    return QStringLiteral(" LIMIT %1").arg(rows);
}

std::optional<QString> PostgresDialect::call(const QString& name, const QStringList& args) const
{
    auto part = [&](const char* field) {
        expectArgs(name, args, 1, 1);
        return QStringLiteral("CAST(EXTRACT(%1 FROM %2) AS INTEGER)")
            .arg(QLatin1String(field), args[0]);
    };
    if (name == QLatin1String("year"))
        return part("YEAR");
    if (name == QLatin1String("month"))
        return part("MONTH");
    if (name == QLatin1String("day"))
        return part("DAY");
    if (name == QLatin1String("datediff")) {
        expectDays(name, args);
        return QStringLiteral("(CAST(%2 AS date) - CAST(%1 AS date))").arg(args[1], args[2]);
    }
    if (name == QLatin1String("format")) {
        expectArgs(name, args, 2, 2);
        // The same yyyy/mm/dd patterns, in PostgreSQL's letters.
        QString pattern = args[1];
        pattern.replace(QLatin1String("yyyy"), QLatin1String("YYYY"), Qt::CaseInsensitive);
        pattern.replace(QLatin1String("mm"), QLatin1String("MM"), Qt::CaseInsensitive);
        pattern.replace(QLatin1String("dd"), QLatin1String("DD"), Qt::CaseInsensitive);
        return QStringLiteral("TO_CHAR(%1, %2)").arg(args[0], pattern);
    }
    if (name == QLatin1String("date") && args.isEmpty())
        return QStringLiteral("CURRENT_DATE");
    if (name == QLatin1String("now") && args.isEmpty())
        return QStringLiteral("LOCALTIMESTAMP");
    // A stored row's identity: its hidden key.
    if (name == QLatin1String("rowid") && args.isEmpty())
        return rowKeyColumn();
    if (name == QLatin1String("strcomp")) {
        expectArgs(name, args, 2, 3);
        const bool blind = args.size() > 2 && args[2].trimmed() == QLatin1String("1");
        // Text columns compare without letter case; binary comparison works on the bare text.
        const QString a = blind ? QStringLiteral("LOWER(CAST(%1 AS TEXT))").arg(args[0])
                                : QStringLiteral("CAST(%1 AS TEXT)").arg(args[0]);
        const QString b = blind ? QStringLiteral("LOWER(CAST(%1 AS TEXT))").arg(args[1])
                                : QStringLiteral("CAST(%1 AS TEXT)").arg(args[1]);
        return QStringLiteral("(CASE WHEN %1 COLLATE \"C\" < %2 THEN -1 WHEN %1 COLLATE \"C\" "
                              "> %2 THEN 1 ELSE 0 END)")
            .arg(a, b);
    }
    if (name == QLatin1String("nz")) {
        expectArgs(name, args, 1, 2);
        return QStringLiteral("COALESCE(%1, %2)")
            .arg(args[0], args.size() > 1 ? args[1] : QStringLiteral("0"));
    }
    if (name == QLatin1String("val")) {
        // The leading number of a text, 0 when there is none, as SQLite's CAST reads it.
        expectArgs(name, args, 1, 1);
        return QStringLiteral("COALESCE(CAST(NULLIF(SUBSTRING(CAST(%1 AS TEXT) FROM "
                              "'^\\s*([-+]?[0-9]*\\.?[0-9]+)'), '') AS DOUBLE PRECISION), 0)")
            .arg(args[0]);
    }
    if (name == QLatin1String("left")) {
        expectArgs(name, args, 2, 2);
        return QStringLiteral("LEFT(%1, %2)").arg(args[0], args[1]);
    }
    if (name == QLatin1String("right")) {
        expectArgs(name, args, 2, 2);
        return QStringLiteral("RIGHT(%1, %2)").arg(args[0], args[1]);
    }
    if (name == QLatin1String("cint") || name == QLatin1String("clng")) {
        expectArgs(name, args, 1, 1);
        // Halves away from zero, as SQLite rounds; PostgreSQL's double precision would round
        // them to even.
        return QStringLiteral("CAST(ROUND(CAST(%1 AS NUMERIC)) AS INTEGER)").arg(args[0]);
    }
    if (name == QLatin1String("cdbl") || name == QLatin1String("ccur")) {
        expectArgs(name, args, 1, 1);
        return QStringLiteral("CAST(%1 AS DOUBLE PRECISION)").arg(args[0]);
    }
    if (name == QLatin1String("int")) {
        // Toward zero, as SQLite's CAST does; PostgreSQL's CAST would round.
        expectArgs(name, args, 1, 1);
        return QStringLiteral("CAST(TRUNC(%1) AS INTEGER)").arg(args[0]);
    }
    // As on the file, in exact decimals: ROUND of a numeric takes halves away from zero.
    if (name == QLatin1String("cents")) {
        expectArgs(name, args, 1, 1);
        return QStringLiteral("CAST(ROUND(ROUND(CAST(%1 AS NUMERIC) * 10000) / 100) / 100 AS "
                              "DOUBLE PRECISION)")
            .arg(args[0]);
    }
    return commonCall(name, args);
}
