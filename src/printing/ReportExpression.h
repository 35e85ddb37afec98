#pragma once

#include "data/Currency.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QTime>

#include <optional>

class Field;

// One value met while a printout is prepared: a column's value, a sum, a page number, the date
// of printing, or the result of arithmetic on them.
struct ReportValue
{
    enum class Type
    {
        Empty,
        Text,
        Number, // quantities, rates, page numbers
        Money,  // exact, four decimals
        Date,
        Time
    };

    Type type = Type::Empty;
    QString text;
    double number = 0;
    Currency money;
    QDate date;
    QTime time;

    static ReportValue fromText(const QString& text);
    static ReportValue fromNumber(double number);
    static ReportValue fromMoney(Currency money);
    static ReportValue fromDate(const QDate& date);
    static ReportValue fromTime(const QTime& time);
    // Money columns become Money, number columns Number, date columns Date; a null value and an
    // empty money or number text are Empty; everything else is the column's text.
    static ReportValue fromField(const Field& field);

    bool isEmpty() const { return type == Type::Empty; }
    // The value shown without a display format: dates short (M/d/yyyy), money with two
    // decimals as the grids show it, numbers in their shortest form.
    QString toText() const;
};

// How an expression's value is shown:
//   "%2.2m"        money, the shop's currency format with two decimals ("$1,234.50")
//   "%.Nf"         a number with N decimals (N up to 4), no thousands separators ("1234.50")
//   "%.Nn"         the same with thousands separators ("1,234.50")
//   "%g"           the shortest plain number ("1234.5")
//   "#.##"         at most two decimals, empty for zero, as the windows show money
//   "date"         the short date M/d/yyyy; "date:<pattern>" a Qt date pattern ("date:MMMM d,
//   yyyy") "time"         "h:mm:ss AP"; "time:<pattern>" a Qt time pattern
// Number formats leave an empty value empty and a text that is not a number as it is.
class DisplayFormat
{
public:
    DisplayFormat() = default;
    static std::optional<DisplayFormat> parse(const QString& text, QString* error = nullptr);

    QString text() const { return m_text; }
    bool isDefault() const { return m_kind == Kind::Default; }
    QString apply(const ReportValue& value) const;

private:
    enum class Kind
    {
        Default,
        Money,
        Fixed,
        Grouped,
        Plain,
        Hash,
        Date,
        Time
    };
    Kind m_kind = Kind::Default;
    int m_decimals = 2;
    QString m_pattern;
    QString m_text;
};

// What an expression reads while the engine prepares a printout. Fields and sums are named by
// the slots the layout gave them when it was loaded.
class ExpressionContext
{
public:
    virtual ~ExpressionContext() = default;
    virtual ReportValue field(int slot) const = 0;
    virtual ReportValue sum(int slot) const = 0;
    virtual ReportValue variable(const QString& name) const = 0;
    virtual int pageNumber() const = 0;
    virtual int totalPages() const = 0;
    virtual QDateTime printedAt() const = 0;
};

// One expression between square brackets of a text object:
//   ds."Column"  or  <ds."Column">         the column's value in the data set's current row
//   SUM(<expr>, BandName)  or  SUM(<expr>) a sum over printed master-data rows
//   Page#  TotalPages#  Date  Time         page number, page count, date and time of printing
//   Name                                   a variable of the page's copy
//   numbers, + - * / and parentheses
// Built-in names and SUM are matched without regard to letter case. The expression is held as
// a flat tree of nodes; the last node is the root.
class ReportExpression
{
public:
    enum class Op
    {
        Number,
        Field,
        Sum,
        PageNumber,
        TotalPages,
        Date,
        Time,
        Variable,
        Negate,
        Add,
        Subtract,
        Multiply,
        Divide
    };
    struct Node
    {
        Op op = Op::Number;
        int left = -1; // the operand; for SUM the summed expression
        int right = -1;
        double number = 0;
        QString dataSet; // Field
        QString column;  // Field
        QString name;    // Sum: the band (empty for none); Variable: its name
        int slot = -1;   // Field and Sum: given by the layout
    };

    static std::optional<ReportExpression> parse(const QString& source, QString* error = nullptr);

    QString source() const { return m_source; }
    const QList<Node>& nodes() const { return m_nodes; }
    int root() const { return int(m_nodes.size()) - 1; }
    void setSlot(int node, int slot) { m_nodes[node].slot = slot; }
    // The subtree under node as an expression of its own (the summed part of a SUM).
    ReportExpression subExpression(int node) const;

    // Throws DbError naming the expression for text that is not a number and for a division
    // by zero.
    ReportValue evaluate(const ExpressionContext& context) const;

private:
    ReportValue evaluate(const ExpressionContext& context, int node) const;
    int copySubtree(const ReportExpression& from, int node);

    QString m_source;
    QList<Node> m_nodes;
};

// The text of a text object: fixed words with expressions in square brackets, each optionally
// followed by its display format after a bar: "Total: [SUM(<ds."Amount">,MasterData1) | %2.2m]".
// "[[" prints a single "[". Values are printed as they are: quotes, brackets and line breaks in
// a column's text are not read again.
class TextTemplate
{
public:
    struct Segment
    {
        QString text;        // fixed words, when expression is -1
        int expression = -1; // index into expressions()
        DisplayFormat format;
    };

    // defaultFormat applies to the expressions without a format of their own.
    static std::optional<TextTemplate>
    parse(const QString& text, const QString& defaultFormat = QString(), QString* error = nullptr);

    QString source() const { return m_source; }
    bool isConstant() const { return m_expressions.isEmpty(); }
    const QList<Segment>& segments() const { return m_segments; }
    const QList<ReportExpression>& expressions() const { return m_expressions; }
    QList<ReportExpression>& expressions() { return m_expressions; }

    QString evaluate(const ExpressionContext& context) const;

private:
    QString m_source;
    QList<Segment> m_segments;
    QList<ReportExpression> m_expressions;
};
