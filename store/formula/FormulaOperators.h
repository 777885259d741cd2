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

// Empty is 0, booleans are 1 and 0, text must hold a number written with "." (as a
// spreadsheet reads text in arithmetic whatever the locale) or a time of day ("15:43",
// "3:43 PM", "7:05:30"), anything else is #VALUE!.
NumberOrError arithmeticNumber(const Value& value);
std::optional<double> numberFromText(QStringView text);
// A time written as hours:minutes[:seconds] with an optional AM or PM, as the fraction of a
// day it is; hours past 24 without AM/PM count on into the next days.
std::optional<double> timeFromText(QStringView text);

// The number as a result: infinities and NaN become #NUM!.
Value numberResult(double number);

// Numbers that agree in their first 15 significant digits are equal, so 0.1+0.2 equals 0.3
// and 1+1E-15 equals 1. Comparisons and criteria all decide equality here.
bool numbersEqual(double a, double b);

// Order used by comparisons and criteria: numbers < text < booleans; text ignores case; an
// empty value stands for 0, "" or FALSE, whatever the other side is. Neither may be an error.
int compareValues(const Value& left, const Value& right);

Value applyUnary(const QString& op, const Value& operand);
Value applyBinary(const QString& op, const Value& left, const Value& right);

} // namespace store::formula
