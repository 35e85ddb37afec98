#pragma once

#include "data/Currency.h"
#include "data/Schema.h"

#include <QString>
#include <QVariant>

// One column value of the current row, read the ways the windows read it.
class Field
{
public:
    Field() = default;
    Field(const QVariant& value, ColumnKind kind)
        : m_value(value)
        , m_kind(kind)
    {}

    bool isNull() const { return m_value.isNull(); }
    // Dates in the short form, yes/no as True/False, numbers in their shortest form; a null
    // value reads as empty text. Numbers are exact to the money type's four decimals where
    // binary floating point blurred them: a sum of 10.10 and 20.20 reads "30.3".
    QString asText() const;
    Currency asCurrency() const;
    double asNumber() const;
    qint64 asInteger() const;
    bool asBool() const;
    QVariant value() const { return m_value; }
    ColumnKind kind() const { return m_kind; }

private:
    QVariant m_value;
    ColumnKind m_kind = ColumnKind::Text;
};
