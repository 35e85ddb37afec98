#pragma once

#include "data/Schema.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

// What differs between the database engines the shop's statements can run on. The statements
// themselves are written once, in the Access-style wording; AccessSql rewrites their
// non-standard pieces through the dialect of the connection.
class SqlDialect
{
public:
    virtual ~SqlDialect() = default;

    virtual QString name() const = 0;
    // A date literal (#3/7/2005#) in the form the engine stores and compares dates.
    virtual QString dateLiteral(const QDate& date) const = 0;
    // The bare words Yes/No/True/False.
    virtual QString boolLiteral(bool value) const = 0;
    // Access joins text with '&'.
    virtual QString concatOperator() const = 0;
    // Select Top n: text appended at the end of the select.
    virtual QString limitClause(int rows) const = 0;
    // A call of an Access function (lower-case name, rendered arguments), or nothing when the
    // engine has the same function under the same name.
    virtual std::optional<QString> call(const QString& name, const QStringList& args) const = 0;

    // How the schema is written for the engine: a table's or column's name in the statements
    // that create them, and a column's type by its kind (exactCase: a text compared with its
    // letter case, such as a password).
    virtual QString identifier(const QString& name) const = 0;
    virtual QString columnType(ColumnKind kind, bool exactCase) const = 0;

    // The hidden column that numbers a table's rows in the order they were added, on an engine
    // that keeps no such order of its own (empty when the engine does: SQLite's rowid). A
    // plain select of one table is read in its order, as the embedded file reads rows in
    // rowid order, so that a row changed by Save stays where it was in the list.
    virtual QString rowOrderColumn() const { return QString(); }
    // Every table's hidden key: a whole number of each row's own, given out in the order rows
    // are added and never given again, so that Save and Delete reach the one row the user
    // chose even where two rows hold the same values. Never shown in what a window reads.
    static QString rowKeyColumn() { return QStringLiteral("tavlin_row"); }
    // The key's definition in CREATE TABLE.
    virtual QString rowKeyDefinition() const = 0;
    // Whether the engine sorts empty values after the others going up (the file sorts them
    // first); the translation then says NULLS FIRST and NULLS LAST.
    virtual bool sortsNullsLast() const { return false; }
    // The columns of an index as CREATE INDEX lists them. A plain index of one column also
    // serves the lists sorted on it, equal values in the order rows were added: on the file
    // every index ends in the rowid by itself.
    virtual QString indexColumns(const QStringList& columns, bool unique) const
    {
        Q_UNUSED(unique);
        return columns.join(QStringLiteral(", "));
    }
};

class SqliteDialect : public SqlDialect
{
public:
    QString name() const override { return QStringLiteral("SQLite"); }
    QString dateLiteral(const QDate& date) const override;
    QString boolLiteral(bool value) const override;
    QString concatOperator() const override { return QStringLiteral("||"); }
    QString limitClause(int rows) const override;
    std::optional<QString> call(const QString& name, const QStringList& args) const override;
    QString identifier(const QString& name) const override;
    QString columnType(ColumnKind kind, bool exactCase) const override;
    // An alias of SQLite's rowid that VACUUM keeps and AUTOINCREMENT never gives again.
    QString rowKeyDefinition() const override
    {
        return QStringLiteral("tavlin_row INTEGER PRIMARY KEY AUTOINCREMENT");
    }
};

// PostgreSQL, for a shop whose stations share one server: booleans are TRUE and FALSE, dates
// date literals, and the Access functions are written so that both engines give the same
// values (truncation toward zero, whole-number division, empty for null).
class PostgresDialect : public SqlDialect
{
public:
    QString name() const override { return QStringLiteral("PostgreSQL"); }
    QString dateLiteral(const QDate& date) const override;
    QString boolLiteral(bool value) const override;
    QString concatOperator() const override { return QStringLiteral("||"); }
    QString limitClause(int rows) const override;
    std::optional<QString> call(const QString& name, const QStringList& args) const override;
    QString identifier(const QString& name) const override;
    QString columnType(ColumnKind kind, bool exactCase) const override;
    QString rowOrderColumn() const override { return QStringLiteral("tavlin_row"); }
    bool sortsNullsLast() const override { return true; }
    // Empty values first going up, as the lists sort them, then the row key.
    QString indexColumns(const QStringList& columns, bool unique) const override
    {
        if (unique || columns.size() != 1)
            return SqlDialect::indexColumns(columns, unique);
        return columns.first() + QStringLiteral(" NULLS FIRST, ") + rowKeyColumn();
    }
    QString rowKeyDefinition() const override
    {
        return QStringLiteral("tavlin_row bigserial PRIMARY KEY");
    }
};
