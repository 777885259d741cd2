#pragma once

// What the functions of every family share: reading their arguments as numbers, text, truth
// values, ranges and arrays, and giving up with an error value.
#include "store/formula/FormulaEvaluator.h"
#include "store/formula/FormulaFunctions.h"
#include "store/formula/FormulaOperators.h"

#include <functional>
#include <vector>

namespace store::formula::functions {

using Args = FunctionArgs;

// Thrown where an argument gives an error or does not fit: the error is the call's value.
struct Failed {
    ErrorCode code;
};
[[noreturn]] inline void fail(ErrorCode code)
{
    throw Failed{code};
}

// Whether argument i was given and not left out as in ROUND(A1,).
bool given(const Args& args, size_t i);

// The argument's single value; an error in it is thrown.
Value valueArg(const Args& args, size_t i, const Evaluator& evaluator);
double numberArg(const Args& args, size_t i, const Evaluator& evaluator);
double numberArgOr(const Args& args, size_t i, const Evaluator& evaluator, double absent);
// The number cut to a whole number, as functions take counts and positions.
int integerArg(const Args& args, size_t i, const Evaluator& evaluator);
QString textArg(const Args& args, size_t i, const Evaluator& evaluator);
bool truthArg(const Args& args, size_t i, const Evaluator& evaluator);
bool truthArgOr(const Args& args, size_t i, const Evaluator& evaluator, bool absent);

// A condition's truth; text counts only when it reads TRUE or FALSE.
std::optional<bool> truthOf(const Value& condition);

// The area of a reference argument; #VALUE! (or the argument's error) for an argument that is
// not a reference.
CellArea areaArg(const Args& args, size_t i, const Evaluator& evaluator);

// Values in rows: an area's cells, an array constant, or what operators over them give element
// by element. A single value is a 1x1 array.
struct Matrix {
    int rows = 0;
    int cols = 0;
    std::vector<Value> cells;   // row by row

    const Value& at(int row, int col) const { return cells[size_t(row) * size_t(cols) + size_t(col)]; }
    // Where a single value or a single row or column meets a larger array, it is repeated.
    Value spread(int row, int col) const;
};

// The argument as an array: areas as their cells (up to the sheet's used part and empty beyond),
// array constants, and operators applied element by element.
Matrix arrayOf(const FormulaNode& node, const Evaluator& evaluator);

// Rounds half away from zero on the number's 15 significant decimal digits (Math.cpp).
double roundDecimal(double number, int places);

// What the cells and values of SUM-like arguments feed a statistic.
enum class Feed {
    Numbers,        // SUM: in references only numbers; given values converted as in arithmetic
    NumbersAndText, // AVERAGEA: in references also text (as 0) and booleans
};

// Calls onNumber for the numbers of the arguments from index first on, as feed says. The first
// error met, in a cell or an argument, is thrown.
template <class OnNumber>
void forEachNumber(const Args& args, const Evaluator& evaluator, Feed feed, OnNumber onNumber, size_t first = 0);

// The numbers of the arguments, in order.
std::vector<double> numbersOf(const Args& args, const Evaluator& evaluator, Feed feed = Feed::Numbers, size_t first = 0);

// Applies visit to each cell of a reference argument (every area of a union, every sheet of a
// span, up to the sheet's used part: the cells beyond are empty) or each element of an array
// constant, and says so; false for any other argument, which it leaves alone.
bool forEachCellOrElement(const FormulaNode& arg, const Evaluator& evaluator,
                          const std::function<void(const Value&)>& visit);

// Applies visit to each value of a reference or array argument (row by row) or to the argument's
// single value.
void forEachValue(const FormulaNode& arg, const Evaluator& evaluator, const std::function<void(const Value&)>& visit);

template <class OnNumber>
void forEachNumber(const Args& args, const Evaluator& evaluator, Feed feed, OnNumber onNumber, size_t first)
{
    for (size_t i = first; i < args.size(); ++i) {
        const FormulaNode& arg = *args[i];
        if (const std::vector<CellArea> areas = evaluator.areas(arg); !areas.empty()) {
            std::optional<ErrorCode> error;
            for (const CellArea& area : areas) {
                evaluator.forEachCell(area, [&](const Value& cell) {
                    if (cell.isError()) error = cell.errorValue();
                    else if (cell.isNumber()) onNumber(cell.number());
                    else if (feed == Feed::NumbersAndText && cell.isBool()) onNumber(cell.boolValue() ? 1.0 : 0.0);
                    else if (feed == Feed::NumbersAndText && cell.isText()) onNumber(0.0);
                    return !error;
                });
                if (error) fail(*error);
            }
        } else if (arg.kind == FormulaNode::Kind::Array) {
            for (const auto& element : arg.args) {
                if (element->kind == FormulaNode::Kind::Error) fail(element->error);
                if (element->kind == FormulaNode::Kind::Number) onNumber(element->number);
            }
        } else if (evaluator.inArrayFormula() && arg.kind != FormulaNode::Kind::Missing) {
            // In an array formula an expression is an array: its numbers count, as an array's do.
            for (const Value& element : arrayOf(arg, evaluator).cells) {
                if (element.isError()) fail(element.errorValue());
                if (element.isNumber()) onNumber(element.number());
            }
        } else if (arg.kind != FormulaNode::Kind::Missing) {
            const NumberOrError n = arithmeticNumber(evaluator.value(arg));
            if (n.error) fail(*n.error);
            onNumber(n.number);
        }
    }
}

} // namespace store::formula::functions
