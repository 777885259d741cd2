#pragma once

#include "store/Value.h"

#include <QStringView>
#include <optional>

namespace store::formula {

// A number taken from a value for arithmetic, or the error that stands in its place.
struct NumberOrError {
    double number = 0;
    std::optional<ErrorCode> error;
};

// Empty is 0, booleans are 1 and 0, text must hold a number (written with "." or the locale's
// decimal mark, maybe a percentage: "12%" is 0.12), a date ("15.03.2024") or a time of day
// ("15:43", "3:43 PM", "7:05:30"); anything else is #VALUE!.
NumberOrError arithmeticNumber(const Value& value);
// A number written with "." or the locale's decimal mark, or a percentage.
std::optional<double> numberFromText(QStringView text);
// Text in arithmetic: a number, a date or a time of day.
std::optional<double> numberInText(QStringView text);
// A time written as hours:minutes[:seconds] with an optional AM or PM, as the fraction of a
// day it is; hours past 24 without AM/PM count on into the next days.
std::optional<double> timeFromText(QStringView text);

// A value as text where a formula wants text (&, the text functions): numbers to the 15
// significant digits a spreadsheet shows, with the locale's decimal mark, so 0.1+0.2 gives "0.3".
QString formulaText(const Value& value);

// a + b, or 0 where they cancel but for the last bits of their binary fractions, as the
// spreadsheet snaps 0.1+0.2-0.3 to 0.
double approxAdd(double a, double b);

// The number rounded to the 15 significant digits a spreadsheet works with.
double significantDigits15(double number);

// The number as a result: infinities and NaN become #NUM!.
Value numberResult(double number);

// Numbers that agree in their first 15 significant digits are equal, so 0.1+0.2 equals 0.3
// and 1+1E-15 equals 1. Comparisons and criteria all decide equality here.
bool numbersEqual(double a, double b);

// Order used by comparisons and criteria: numbers < text < booleans; text goes by the locale's
// alphabet, ignoring case (see compareText); an
// empty value stands for 0, "" or FALSE, whatever the other side is. Neither may be an error.
int compareValues(const Value& left, const Value& right);

// Text in the order of the locale's alphabet, case ignored: in Bulgarian Ё and Ѝ stand by Е and И.
int compareText(const QString& left, const QString& right);

Value applyUnary(const QString& op, const Value& operand);
Value applyBinary(const QString& op, const Value& left, const Value& right);

} // namespace store::formula
