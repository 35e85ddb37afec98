#include "printing/ReportExpression.h"

#include "data/DbError.h"
#include "printing/ReportNumbers.h"

#include <cmath>
#include <cstdint>

using ReportNumbers::Numeric;
using ReportNumbers::numericOf;

// ---- ReportExpression ----------------------------------------------------------------------

namespace {

using Node = ReportExpression::Node;
using Op = ReportExpression::Op;

struct SyntaxError
{
    QString message;
    qsizetype position;
};

// Recursive descent over the expression text; nodes are appended children first, so the
// last node is the root.
class Parser
{
public:
    explicit Parser(const QString& source)
        : m_s(source)
    {}

    QList<Node> run()
    {
        expression();
        skipSpace();
        if (m_pos < m_s.size())
            fail(QStringLiteral("unexpected '%1'").arg(m_s.at(m_pos)));
        return m_nodes;
    }

private:
    [[noreturn]] void fail(const QString& message) const { throw SyntaxError{message, m_pos}; }

    void skipSpace()
    {
        while (m_pos < m_s.size() && m_s.at(m_pos).isSpace())
            ++m_pos;
    }
    bool atEnd() const { return m_pos >= m_s.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_s.at(m_pos); }
    bool accept(QChar c)
    {
        skipSpace();
        if (peek() != c)
            return false;
        ++m_pos;
        return true;
    }
    void expect(QChar c, const QString& what)
    {
        if (!accept(c))
            fail(QStringLiteral("%1 is expected").arg(what));
    }

    int add(Node node)
    {
        m_nodes.append(std::move(node));
        return int(m_nodes.size()) - 1;
    }
    int binary(Op op, int left, int right)
    {
        Node n;
        n.op = op;
        n.left = left;
        n.right = right;
        return add(n);
    }

    int expression()
    {
        int left = term();
        for (;;) {
            if (accept(QLatin1Char('+')))
                left = binary(Op::Add, left, term());
            else if (accept(QLatin1Char('-')))
                left = binary(Op::Subtract, left, term());
            else
                return left;
        }
    }

    int term()
    {
        int left = unary();
        for (;;) {
            if (accept(QLatin1Char('*')))
                left = binary(Op::Multiply, left, unary());
            else if (accept(QLatin1Char('/')))
                left = binary(Op::Divide, left, unary());
            else
                return left;
        }
    }

    int unary()
    {
        if (accept(QLatin1Char('-')))
            return binary(Op::Negate, unary(), -1);
        if (accept(QLatin1Char('+')))
            return unary();
        return primary();
    }

    QString identifier(const QString& what)
    {
        skipSpace();
        const qsizetype start = m_pos;
        while (!atEnd() && (peek().isLetterOrNumber() || peek() == QLatin1Char('_')))
            ++m_pos;
        if (!atEnd() && peek() == QLatin1Char('#'))
            ++m_pos;
        if (m_pos == start || m_s.at(start).isDigit())
            fail(QStringLiteral("%1 is expected").arg(what));
        return m_s.mid(start, m_pos - start);
    }

    // "Column", with "" standing for one quote inside.
    QString quoted()
    {
        skipSpace();
        if (peek() != QLatin1Char('"'))
            fail(QStringLiteral("a column name in double quotes is expected after '.'"));
        const qsizetype open = m_pos++;
        QString out;
        for (;;) {
            if (atEnd()) {
                m_pos = open;
                fail(QStringLiteral("the column name has no closing '\"'"));
            }
            const QChar c = m_s.at(m_pos++);
            if (c == QLatin1Char('"')) {
                if (peek() != QLatin1Char('"'))
                    break;
                ++m_pos;
            }
            out += c;
        }
        if (out.trimmed().isEmpty())
            fail(QStringLiteral("the column name is empty"));
        return out;
    }

    int field(const QString& dataSet)
    {
        Node n;
        n.op = Op::Field;
        n.dataSet = dataSet;
        n.column = quoted();
        return add(n);
    }

    int number()
    {
        const qsizetype start = m_pos;
        while (!atEnd() && (peek().isDigit() || peek() == QLatin1Char('.')))
            ++m_pos;
        const QString digits = m_s.mid(start, m_pos - start);
        bool ok = false;
        const double value = QLocale::c().toDouble(digits, &ok);
        if (!ok) {
            m_pos = start;
            fail(QStringLiteral("'%1' is not a number").arg(digits));
        }
        Node n;
        n.op = Op::Number;
        n.number = value;
        return add(n);
    }

    int primary()
    {
        skipSpace();
        if (atEnd())
            fail(QStringLiteral("an operand is missing"));
        const QChar c = peek();
        if (c.isDigit() ||
            (c == QLatin1Char('.') && m_pos + 1 < m_s.size() && m_s.at(m_pos + 1).isDigit()))
            return number();
        if (accept(QLatin1Char('('))) {
            const int inner = expression();
            expect(QLatin1Char(')'), QStringLiteral("')'"));
            return inner;
        }
        if (accept(QLatin1Char('<'))) {
            const QString dataSet = identifier(QStringLiteral("a data set name after '<'"));
            expect(QLatin1Char('.'), QStringLiteral("'.' after the data set name"));
            const int node = field(dataSet);
            expect(QLatin1Char('>'), QStringLiteral("'>' after the column name"));
            return node;
        }
        if (c == QLatin1Char('"'))
            fail(QStringLiteral("a column needs its data set, as in ds.\"Column\""));
        if (!c.isLetter() && c != QLatin1Char('_'))
            fail(QStringLiteral("unexpected '%1'").arg(c));

        const qsizetype start = m_pos;
        const QString name = identifier(QStringLiteral("a name"));
        if (accept(QLatin1Char('.')))
            return field(name);
        const QString lower = name.toLower();
        Node n;
        if (lower == QLatin1String("sum")) {
            expect(QLatin1Char('('), QStringLiteral("'(' after SUM"));
            const int argument = expression();
            if (accept(QLatin1Char(',')))
                n.name = identifier(QStringLiteral("a band name after ','"));
            expect(QLatin1Char(')'), QStringLiteral("')' to close SUM"));
            n.op = Op::Sum;
            n.left = argument;
            return add(n);
        }
        if (lower == QLatin1String("page#"))
            n.op = Op::PageNumber;
        else if (lower == QLatin1String("totalpages#"))
            n.op = Op::TotalPages;
        else if (lower == QLatin1String("date"))
            n.op = Op::Date;
        else if (lower == QLatin1String("time"))
            n.op = Op::Time;
        else if (name.endsWith(QLatin1Char('#'))) {
            m_pos = start;
            fail(QStringLiteral("'%1' is not known (Page# and TotalPages# are)").arg(name));
        } else {
            skipSpace();
            if (peek() == QLatin1Char('(')) {
                m_pos = start;
                fail(QStringLiteral("'%1' is not a known function (SUM is)").arg(name));
            }
            n.op = Op::Variable;
            n.name = name;
        }
        return add(n);
    }

    const QString& m_s;
    qsizetype m_pos = 0;
    QList<Node> m_nodes;
};

[[noreturn]] void evaluationError(const QString& source, const QString& message)
{
    throw DbError(QStringLiteral("%1 in [%2].").arg(message, source));
}

Numeric operand(const ReportValue& value, const QString& source)
{
    const Numeric n = numericOf(value);
    if (!n.ok)
        evaluationError(source, QStringLiteral("'%1' is not a number").arg(value.toText()));
    return n;
}

ReportValue arithmetic(Op op, const Numeric& a, const Numeric& b, const QString& source)
{
    const bool money = a.money || b.money;
    switch (op) {
    case Op::Add:
        return money ? ReportValue::fromMoney(a.asMoney() + b.asMoney())
                     : ReportValue::fromNumber(a.number + b.number);
    case Op::Subtract:
        return money ? ReportValue::fromMoney(a.asMoney() - b.asMoney())
                     : ReportValue::fromNumber(a.number - b.number);
    case Op::Multiply:
        if (a.money)
            return ReportValue::fromMoney(a.units * b.asDouble());
        if (b.money)
            return ReportValue::fromMoney(b.units * a.number);
        return ReportValue::fromNumber(a.number * b.number);
    case Op::Divide:
        if (b.isZero())
            evaluationError(source, QStringLiteral("Division by zero"));
        if (a.money && !b.money)
            return ReportValue::fromMoney(Currency::fromUnits(
                std::int64_t(std::llround(double(a.units.units()) / b.number))));
        return ReportValue::fromNumber(a.asDouble() / b.asDouble());
    default:
        break;
    }
    return {};
}

} // namespace

std::optional<ReportExpression> ReportExpression::parse(const QString& source, QString* error)
{
    ReportExpression e;
    e.m_source = source.trimmed();
    try {
        e.m_nodes = Parser(e.m_source).run();
    } catch (const SyntaxError& syntax) {
        if (error)
            *error = QStringLiteral("Cannot read [%1]: %2 at character %3.")
                         .arg(e.m_source, syntax.message)
                         .arg(syntax.position + 1);
        return std::nullopt;
    }
    return e;
}

int ReportExpression::copySubtree(const ReportExpression& from, int node)
{
    Node n = from.m_nodes.at(node);
    if (n.left >= 0)
        n.left = copySubtree(from, n.left);
    if (n.right >= 0)
        n.right = copySubtree(from, n.right);
    m_nodes.append(n);
    return int(m_nodes.size()) - 1;
}

ReportExpression ReportExpression::subExpression(int node) const
{
    ReportExpression e;
    e.m_source = m_source;
    e.copySubtree(*this, node);
    return e;
}

ReportValue ReportExpression::evaluate(const ExpressionContext& context) const
{
    return m_nodes.isEmpty() ? ReportValue() : evaluate(context, root());
}

ReportValue ReportExpression::evaluate(const ExpressionContext& context, int node) const
{
    const Node& n = m_nodes.at(node);
    switch (n.op) {
    case Op::Number:
        return ReportValue::fromNumber(n.number);
    case Op::Field:
        return context.field(n.slot);
    case Op::Sum:
        return context.sum(n.slot);
    case Op::PageNumber:
        return ReportValue::fromNumber(context.pageNumber());
    case Op::TotalPages:
        return ReportValue::fromNumber(context.totalPages());
    case Op::Date:
        return ReportValue::fromDate(context.printedAt().date());
    case Op::Time:
        return ReportValue::fromTime(context.printedAt().time());
    case Op::Variable:
        return context.variable(n.name);
    case Op::Negate: {
        const Numeric a = operand(evaluate(context, n.left), m_source);
        return a.money ? ReportValue::fromMoney(-a.units) : ReportValue::fromNumber(-a.number);
    }
    case Op::Add:
    case Op::Subtract:
    case Op::Multiply:
    case Op::Divide:
        return arithmetic(n.op, operand(evaluate(context, n.left), m_source),
                          operand(evaluate(context, n.right), m_source), m_source);
    }
    return {};
}

// ---- TextTemplate --------------------------------------------------------------------------

namespace {

// Position of the first ch at or after from that is not inside a quoted column name; -1 if none.
qsizetype findOutsideQuotes(const QString& text, QChar ch, qsizetype from, qsizetype to)
{
    bool quoted = false;
    for (qsizetype i = from; i < to; ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (c == ch && !quoted)
            return i;
    }
    return -1;
}

} // namespace

std::optional<TextTemplate> TextTemplate::parse(const QString& text, const QString& defaultFormat,
                                                QString* error)
{
    const auto fallback = DisplayFormat::parse(defaultFormat, error);
    if (!fallback)
        return std::nullopt;
    TextTemplate t;
    t.m_source = text;
    QString fixed;
    auto flushFixed = [&] {
        if (fixed.isEmpty())
            return;
        Segment s;
        s.text = fixed;
        t.m_segments.append(s);
        fixed.clear();
    };
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('[')) {
            fixed += c;
            ++i;
            continue;
        }
        if (i + 1 < size && text.at(i + 1) == QLatin1Char('[')) {
            fixed += c;
            i += 2;
            continue;
        }
        const qsizetype close = findOutsideQuotes(text, QLatin1Char(']'), i + 1, size);
        if (close < 0) {
            if (error)
                *error = QStringLiteral("The '[' at character %1 of \"%2\" has no closing ']'.")
                             .arg(i + 1)
                             .arg(text);
            return std::nullopt;
        }
        const qsizetype bar = findOutsideQuotes(text, QLatin1Char('|'), i + 1, close);
        const qsizetype end = bar < 0 ? close : bar;
        const QString source = text.mid(i + 1, end - i - 1);
        if (source.trimmed().isEmpty()) {
            if (error)
                *error = QStringLiteral("An empty expression at character %1 of \"%2\".")
                             .arg(i + 1)
                             .arg(text);
            return std::nullopt;
        }
        auto expression = ReportExpression::parse(source, error);
        if (!expression)
            return std::nullopt;
        Segment s;
        if (bar < 0) {
            s.format = *fallback;
        } else {
            const auto own = DisplayFormat::parse(text.mid(bar + 1, close - bar - 1), error);
            if (!own)
                return std::nullopt;
            s.format = *own;
        }
        flushFixed();
        s.expression = int(t.m_expressions.size());
        t.m_expressions.append(std::move(*expression));
        t.m_segments.append(s);
        i = close + 1;
    }
    flushFixed();
    return t;
}

QString TextTemplate::evaluate(const ExpressionContext& context) const
{
    if (m_expressions.isEmpty())
        return m_segments.isEmpty() ? QString() : m_segments.first().text;
    QString out;
    for (const Segment& s : m_segments) {
        if (s.expression < 0)
            out += s.text;
        else
            out += s.format.apply(m_expressions.at(s.expression).evaluate(context));
    }
    return out;
}
