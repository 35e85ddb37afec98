#include "data/AccessSql.h"

#include "data/DbError.h"
#include "data/Formats.h"
#include "data/Schema.h"
#include "data/SqlDialect.h"

#include <QList>
#include <QRegularExpression>

namespace {

enum class Kind
{
    Space,
    Word,
    Number,
    Text,
    Date,
    Bracketed,
    Symbol
};

struct Token
{
    Kind kind;
    QString text;
    bool is(const char* word) const
    {
        return kind == Kind::Word && text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    bool isSymbol(QChar c) const
    {
        return kind == Kind::Symbol && text.size() == 1 && text[0] == c;
    }
};

using Tokens = QList<Token>;

bool isWordStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

Tokens tokenize(const QString& sql)
{
    Tokens out;
    const int n = sql.size();
    int i = 0;
    while (i < n) {
        const QChar c = sql[i];
        const int start = i;
        if (c.isSpace()) {
            while (i < n && sql[i].isSpace())
                ++i;
            out.append({Kind::Space, sql.mid(start, i - start)});
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // A quote inside is written twice.
            ++i;
            QString value;
            bool closed = false;
            while (i < n) {
                if (sql[i] == c) {
                    if (i + 1 < n && sql[i + 1] == c) {
                        value += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                value += sql[i++];
            }
            if (!closed)
                throw DbError(QStringLiteral("Syntax error in string in query expression '%1'.")
                                  .arg(sql.mid(start)));
            out.append({Kind::Text, value});
        } else if (c == QLatin1Char('#')) {
            const int close = sql.indexOf(QLatin1Char('#'), i + 1);
            if (close < 0)
                throw DbError(QStringLiteral("Syntax error in date in query expression '%1'.")
                                  .arg(sql.mid(start)));
            out.append({Kind::Date, sql.mid(i + 1, close - i - 1)});
            i = close + 1;
        } else if (c == QLatin1Char('[')) {
            const int close = sql.indexOf(QLatin1Char(']'), i + 1);
            if (close < 0)
                throw DbError(
                    QStringLiteral("Missing ] in query expression '%1'.").arg(sql.mid(start)));
            out.append({Kind::Bracketed, sql.mid(i, close - i + 1)});
            i = close + 1;
        } else if (isWordStart(c)) {
            while (i < n && (sql[i].isLetterOrNumber() || sql[i] == QLatin1Char('_')))
                ++i;
            out.append({Kind::Word, sql.mid(start, i - start)});
        } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && sql[i + 1].isDigit())) {
            while (i < n && (sql[i].isDigit() || sql[i] == QLatin1Char('.')))
                ++i;
            if (i < n && (sql[i] == QLatin1Char('e') || sql[i] == QLatin1Char('E')))
                for (++i; i < n && (sql[i].isDigit() || sql[i] == QLatin1Char('-')); ++i) {
                }
            out.append({Kind::Number, sql.mid(start, i - start)});
        } else {
            const QString two = sql.mid(i, 2);
            if (two == QLatin1String("<>") || two == QLatin1String("<=") ||
                two == QLatin1String(">=")) {
                out.append({Kind::Symbol, two});
                i += 2;
            } else {
                out.append({Kind::Symbol, QString(c)});
                ++i;
            }
        }
    }
    return out;
}

class Renderer
{
public:
    Renderer(const Tokens& tokens, const SqlDialect& dialect)
        : t(tokens)
        , d(dialect)
    {}

    QString render(int b, int e) const
    {
        QString out;
        QString pendingLimit;
        for (int i = b; i < e;) {
            const Token& tok = t[i];
            if (tok.is("select")) {
                out += tok.text;
                i = renderSelectList(i + 1, e, out, pendingLimit);
                continue;
            }
            if (tok.is("delete")) {
                out += tok.text;
                const int next = skipSpace(i + 1, e);
                if (next < e && t[next].isSymbol(QLatin1Char('*')))
                    i = next + 1;
                else
                    ++i;
                continue;
            }
            if (tok.kind == Kind::Word) {
                const int next = skipSpace(i + 1, e);
                const bool qualified = i > b && t[i - 1].isSymbol(QLatin1Char('.'));
                if (!qualified && next < e && t[next].isSymbol(QLatin1Char('('))) {
                    const int close = matching(next, e);
                    QStringList args;
                    for (const auto& [ab, ae] : splitCommas(next + 1, close))
                        args.append(render(ab, ae).trimmed());
                    const auto call = d.call(tok.text.toLower(), args);
                    out += call ? *call
                                : tok.text + QLatin1Char('(') + args.join(QStringLiteral(", ")) +
                                      QLatin1Char(')');
                    i = close + 1;
                    continue;
                }
                if (!qualified && (tok.is("yes") || tok.is("true")))
                    out += d.boolLiteral(true);
                else if (!qualified && (tok.is("no") || tok.is("false")))
                    out += d.boolLiteral(false);
                else if (tok.is("distinctrow"))
                    out += QStringLiteral("DISTINCT");
                else if (tok.is("rowid") && !d.rowOrderColumn().isEmpty())
                    out += d.rowOrderColumn();
                else
                    out += tok.text;
                ++i;
                continue;
            }
            if (tok.isSymbol(QLatin1Char('('))) {
                const int close = matching(i, e);
                out += QLatin1Char('(') + render(i + 1, close) + QLatin1Char(')');
                i = close + 1;
                continue;
            }
            out += renderAtom(tok);
            ++i;
        }
        return out + pendingLimit;
    }

private:
    QString renderAtom(const Token& tok) const
    {
        switch (tok.kind) {
        case Kind::Text: {
            QString v = tok.text;
            v.replace(QLatin1Char('\''), QStringLiteral("''"));
            return QLatin1Char('\'') + v + QLatin1Char('\'');
        }
        case Kind::Date: {
            const QDate date = Formats::parseShortDate(tok.text);
            if (!date.isValid())
                throw DbError(Formats::notADateMessage(tok.text));
            return d.dateLiteral(date);
        }
        case Kind::Symbol:
            if (tok.text == QLatin1String("&"))
                return QLatin1Char(' ') + d.concatOperator() + QLatin1Char(' ');
            return tok.text;
        default:
            return tok.text;
        }
    }

    int skipSpace(int i, int e) const
    {
        while (i < e && t[i].kind == Kind::Space)
            ++i;
        return i;
    }

    int matching(int open, int e) const
    {
        int depth = 0;
        for (int i = open; i < e; ++i) {
            if (t[i].isSymbol(QLatin1Char('(')))
                ++depth;
            else if (t[i].isSymbol(QLatin1Char(')')) && --depth == 0)
                return i;
        }
        throw DbError(QStringLiteral("Missing ), ], or Item in query expression."));
    }

    QList<std::pair<int, int>> splitCommas(int b, int e) const
    {
        QList<std::pair<int, int>> parts;
        if (skipSpace(b, e) == e)
            return parts;
        int depth = 0;
        int start = b;
        for (int i = b; i < e; ++i) {
            if (t[i].isSymbol(QLatin1Char('(')))
                ++depth;
            else if (t[i].isSymbol(QLatin1Char(')')))
                --depth;
            else if (depth == 0 && t[i].isSymbol(QLatin1Char(','))) {
                parts.append({start, i});
                start = i + 1;
            }
        }
        parts.append({start, e});
        return parts;
    }

    // A result column without a name of its own: anything but *, t.*, a column or t.column,
    // and not ending in "As alias".
    bool isUnnamed(int b, int e) const
    {
        QList<const Token*> items;
        for (int i = b; i < e; ++i)
            if (t[i].kind != Kind::Space)
                items.append(&t[i]);
        if (items.size() >= 2 && items[items.size() - 2]->is("as"))
            return false;
        auto isName = [](const Token* k) {
            return k->kind == Kind::Word || k->kind == Kind::Bracketed;
        };
        if (items.size() == 1)
            return !(isName(items[0]) || items[0]->isSymbol(QLatin1Char('*')));
        if (items.size() == 3 && isName(items[0]) && items[1]->isSymbol(QLatin1Char('.')))
            return !(isName(items[2]) || items[2]->isSymbol(QLatin1Char('*')));
        return true;
    }

    // Renders "[Distinct] [Top n] list" up to From (or the end of the range) and returns the
    // index after the list.
    int renderSelectList(int i, int e, QString& out, QString& pendingLimit) const
    {
        for (;;) {
            const int next = skipSpace(i, e);
            if (next < e && (t[next].is("distinct") || t[next].is("distinctrow"))) {
                out += QStringLiteral(" DISTINCT");
                i = next + 1;
                continue;
            }
            if (next < e && t[next].is("top")) {
                const int count = skipSpace(next + 1, e);
                if (count < e && t[count].kind == Kind::Number) {
                    pendingLimit = d.limitClause(t[count].text.toInt());
                    i = count + 1;
                    continue;
                }
            }
            break;
        }
        int depth = 0;
        int end = i;
        for (; end < e; ++end) {
            if (t[end].isSymbol(QLatin1Char('(')))
                ++depth;
            else if (t[end].isSymbol(QLatin1Char(')')))
                --depth;
            else if (depth == 0 && (t[end].is("from") || t[end].is("into")))
                break;
        }
        int counter = 1000;
        const auto parts = splitCommas(i, end);
        for (int p = 0; p < parts.size(); ++p) {
            if (p > 0)
                out += QLatin1Char(',');
            const auto [pb, pe] = parts[p];
            QString item = render(pb, pe);
            if (isUnnamed(pb, pe)) {
                while (item.endsWith(QLatin1Char(' ')))
                    item.chop(1);
                item += QStringLiteral(" AS Expr%1 ").arg(counter++);
            }
            out += item;
        }
        return end;
    }

    const Tokens& t;
    const SqlDialect& d;
};

} // namespace

namespace {

// Whether a statement is a plain select of one table, whose rows an engine without an order of
// its own should give in the order they were added: no Order By, grouping, aggregate,
// Distinct, Top, union or join, and one table after From.
bool isPlainSelectOfOneTable(const Tokens& t)
{
    int depth = 0;
    int words = 0;
    int from = -1;
    for (int i = 0; i < t.size(); ++i) {
        const Token& tok = t[i];
        if (tok.isSymbol(QLatin1Char('('))) {
            ++depth;
            continue;
        }
        if (tok.isSymbol(QLatin1Char(')'))) {
            --depth;
            continue;
        }
        // An aggregate anywhere in the list of results (inside Nz too) makes one row.
        if (tok.kind == Kind::Word && from < 0)
            for (const char* aggregate : {"sum", "count", "max", "min", "avg", "first", "last"})
                if (tok.is(aggregate))
                    return false;
        if (depth > 0 || tok.kind == Kind::Space)
            continue;
        ++words;
        if (words == 1 && !tok.is("select"))
            return false;
        for (const char* stop : {"order", "group", "having", "union", "distinct", "distinctrow",
                                 "top", "join", "into", "limit"})
            if (tok.is(stop))
                return false;
        if (tok.is("from"))
            from = i;
        else if (from >= 0 && tok.isSymbol(QLatin1Char(',')))
            return false;
    }
    if (from < 0)
        return false;
    int table = from + 1;
    while (table < t.size() && t[table].kind == Kind::Space)
        ++table;
    return table < t.size() && (t[table].kind == Kind::Word || t[table].kind == Kind::Bracketed);
}

// Every item of every Order By made to sort empty values first going up and last going down, as
// the embedded file sorts them, on an engine that sorts them the other way round.
Tokens withNullsAsOnFile(const Tokens& t)
{
    Tokens out;
    out.reserve(t.size() + 8);
    // Per open parenthesis: whether an Order By list is being read at that depth.
    QList<bool> ordering{false};
    bool descending = false;
    // The row key is never empty: the order on it alone is left as the engine's, so that its
    // index serves it.
    int itemStart = 0;
    const auto endItem = [&] {
        QStringList words;
        for (qsizetype k = itemStart; k < out.size(); ++k)
            if (out[k].kind != Kind::Space)
                words.append(out[k].text);
        itemStart = int(out.size()) + 1;
        if (!words.isEmpty() &&
            (words.first().compare(SqlDialect::rowKeyColumn(), Qt::CaseInsensitive) == 0 ||
             words.first().compare("rowid", Qt::CaseInsensitive) == 0) &&
            (words.size() == 1 ||
             (words.size() == 2 && words.last().compare("desc", Qt::CaseInsensitive) == 0))) {
            descending = false;
            return;
        }
        out.append({Kind::Space, QStringLiteral(" ")});
        out.append({Kind::Word,
                    descending ? QStringLiteral("NULLS LAST") : QStringLiteral("NULLS FIRST")});
        descending = false;
    };
    for (int i = 0; i < t.size(); ++i) {
        const Token& tok = t[i];
        if (tok.isSymbol(QLatin1Char('('))) {
            ordering.append(false);
        } else if (tok.isSymbol(QLatin1Char(')'))) {
            if (ordering.size() > 1) {
                if (ordering.last())
                    endItem();
                ordering.removeLast();
            }
        } else if (ordering.last() && tok.isSymbol(QLatin1Char(','))) {
            endItem();
            out.append(tok);
            itemStart = int(out.size());
            continue;
        } else if (ordering.last() && (tok.is("limit") || tok.is("union"))) {
            endItem();
            out.append({Kind::Space, QStringLiteral(" ")});
            ordering.last() = false;
        } else if (ordering.last() && tok.is("desc")) {
            descending = true;
        } else if (tok.is("by") && !out.isEmpty()) {
            int back = int(out.size()) - 1;
            while (back >= 0 && out[back].kind == Kind::Space)
                --back;
            if (back >= 0 && out[back].is("order")) {
                out.append(tok);
                itemStart = int(out.size());
                ordering.last() = true;
                descending = false;
                continue;
            }
        }
        out.append(tok);
    }
    if (ordering.last())
        endItem();
    return out;
}

// An Insert that gives no column list writes the table's columns in their order, as the shop's
// original database reads it; the engine's hidden row key is not one of them.
QString withColumnList(const QString& statement)
{
    static const QRegularExpression bare(
        QStringLiteral("^(\\s*insert\\s+into\\s+\\[?(\\w+)\\]?)(\\s+values\\s*\\()"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = bare.match(statement);
    if (!m.hasMatch())
        return statement;
    const Schema::Table* table = Schema::table(m.captured(2));
    if (!table)
        return statement;
    QStringList columns;
    for (const Schema::Column& column : table->columns)
        columns.append(column.name);
    return m.captured(1) + QStringLiteral(" (") + columns.join(QStringLiteral(", ")) +
           QLatin1Char(')') + m.captured(3) + statement.mid(m.capturedEnd(0));
}

} // namespace

QString AccessSql::translate(const QString& statement) const
{
    Tokens tokens = tokenize(withColumnList(statement));
    if (m_dialect.sortsNullsLast())
        tokens = withNullsAsOnFile(tokens);
    QString sql = Renderer(tokens, m_dialect).render(0, int(tokens.size()));
    const QString order = m_dialect.rowOrderColumn();
    if (!order.isEmpty() && isPlainSelectOfOneTable(tokens)) {
        while (sql.endsWith(QLatin1Char(' ')) || sql.endsWith(QLatin1Char(';')))
            sql.chop(1);
        sql += QStringLiteral(" ORDER BY ") + order;
    }
    return sql;
}
