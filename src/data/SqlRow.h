#pragma once

#include "data/SqlStatement.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

class Query;

// The values of one row of a table, each checked for its column's kind and held as a value of
// that kind: a text, a whole number, a number, a date, yes/no, or an empty (Null) value (or 0
// where asked). The existence check, insert, update and delete of that row are built from it
// with the values bound to placeholders, so that nothing typed into a box ever becomes part of
// a statement. A value that is not a number or a date is refused when it is set, before any
// statement exists.
class SqlRow
{
public:
    // What an empty number box is written as, or whether it is refused.
    enum class EmptyNumber
    {
        Null,
        Zero,
        Refused
    };

    explicit SqlRow(QString table);

    QString table() const { return m_table; }

    // The text of a box for column, written by the column's kind. box is the caption a
    // refusal names ("Qty: 'two' is not a valid number.").
    SqlRow& set(const QString& column, const QString& text, const QString& box = QString(),
                EmptyNumber empty = EmptyNumber::Null);
    // The text kept as a text whatever the column's kind.
    SqlRow& setText(const QString& column, const QString& text);
    SqlRow& setYesNo(const QString& column, bool value);
    SqlRow& setNull(const QString& column);
    // Every column of the query's current row as it is stored, Null where it is Null.
    static SqlRow currentRow(const QString& table, const Query& query);

    bool has(const QString& column) const { return m_values.contains(column); }
    // The value of column (null for an empty one); throws for a column that was not set.
    QVariant value(const QString& column) const;
    QStringList columns() const { return m_columns; }

    // "Key1 = ? and Key2 = ?" with the keys' values: Null keys compare with Is Null.
    SqlStatement condition(const QStringList& keys) const;
    SqlStatement exists(const QStringList& keys) const;
    // The given columns (a select list) and the sum of column, of the rows whose keys hold
    // these values; with Order::Entered, in the order the rows were added (the engine's
    // own order otherwise, which on the file may follow an index).
    enum class Order
    {
        Any,
        Entered
    };
    SqlStatement select(const QString& columns, const QStringList& keys,
                        Order order = Order::Any) const;
    SqlStatement sum(const QString& column, const QStringList& keys) const;
    SqlStatement insert() const;
    // Sets every column that is not a key (or, with Keys::Set, every column: a key compared
    // without letter case takes the text as typed), for the row whose keys hold these values.
    enum class Keys
    {
        Kept,
        Set
    };
    SqlStatement update(const QStringList& keys, Keys set = Keys::Kept) const;
    // Every column for the row whose hidden key is key.
    SqlStatement updateKeyed(qint64 key) const;
    SqlStatement remove(const QStringList& keys) const;
    // Removes one row, and only one, whose columns hold exactly these values: texts compared
    // with their letter case, amounts to the money type's four decimals. For tables without a
    // key, where two rows may be alike.
    SqlStatement removeOne() const;

private:
    SqlRow& put(const QString& column, const QVariant& value);

    QString m_table;
    QStringList m_columns;
    QHash<QString, QVariant> m_values;
};
