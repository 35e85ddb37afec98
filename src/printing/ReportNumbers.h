#pragma once

#include "data/Currency.h"

struct ReportValue;

// A printout's value read as a number, shared by the display formats and the arithmetic of
// expressions.
namespace ReportNumbers {

struct Numeric
{
    bool ok = true;
    bool money = false;
    Currency units;
    double number = 0;

    Currency asMoney() const { return money ? units : Currency::fromDouble(number); }
    double asDouble() const { return money ? units.toDouble() : number; }
    bool isZero() const { return money ? units.isZero() : number == 0; }
};

// Empty reads as 0; a text that is not a number, a date or a time are not ok.
Numeric numericOf(const ReportValue& value);

} // namespace ReportNumbers
