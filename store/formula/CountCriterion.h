#pragma once

#include "store/Value.h"

#include <optional>
#include <vector>

namespace store::formula {

// A text pattern with * (any run of characters), ? (any one character) and ~ (takes the
// next character literally), matched against whole texts without regard to case.
class WildcardPattern {
public:
    explicit WildcardPattern(QStringView pattern);
    bool matches(QStringView text) const;

private:
    enum class Kind : quint8 { Literal, AnyOne, AnyRun };
    struct Item {
        Kind kind;
        char16_t folded;   // the literal, case-folded once here rather than per cell
    };
    std::vector<Item> items_;
};

// The condition of COUNTIF: "<>" (not empty), "" (empty or empty text), "=" (empty), "<>x",
// "=x", ">5", "<=3", plain "x", or a number, boolean or error to compare with. Text is
// matched without regard to case and may hold wildcards (for = and <> only); text that reads as
// a number, date or time ("5", ">=15.03.2024") compares with numbers, and matches text only as
// written. A number does not match text. An empty criterion (a blank cell) counts zeros.
class CountCriterion {
public:
    explicit CountCriterion(const Value& criterion);

    bool matches(const Value& cell) const;
    bool matchesEmpty() const { return matchesEmpty_; }

private:
    enum class Op { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual };
    enum class Target { Blank, StrictlyBlank, Value };

    void readText(const QString& text);
    bool equalsOperand(const Value& cell) const;
    bool textEquals(const QString& text) const;
    bool comparesTrue(const Value& cell) const;

    Op op_ = Op::Equal;
    Target target_ = Target::Value;
    Value operand_;
    QString written_;   // a number operand as the criterion's text wrote it
    std::optional<WildcardPattern> pattern_;
    bool matchesEmpty_ = false;
};

} // namespace store::formula
