// The functions formulas can call, computed: those of enum Function.
#include "store/formula/CountCriterion.h"
#include "store/formula/FormulaEvaluator.h"
#include "store/formula/FormulaFunctions.h"
#include "store/formula/FormulaOperators.h"

#include <charconv>
#include <cmath>
#include <string>

namespace store::formula {

namespace {

using Args = std::vector<FormulaNodePtr>;

// Feeds onNumber the numbers of SUM-like arguments: in references only the cells that hold
// numbers (text, booleans and blanks are skipped), other arguments converted as in
// arithmetic. The first error met, in a cell or an argument, is the result.
template <class OnNumber>
std::optional<ErrorCode> forEachNumber(const Args& args, const Evaluator& evaluator, OnNumber onNumber)
{
    for (const auto& arg : args) {
        if (const auto areas = evaluator.areas(*arg); !areas.empty()) {
            std::optional<ErrorCode> error;
            for (const CellArea& area : areas) {
                evaluator.forEachCell(area, [&](const Value& cell) {
                    if (cell.isError()) error = cell.errorValue();
                    else if (cell.isNumber()) onNumber(cell.number());
                    return !error;
                });
                if (error) return error;
            }
        } else {
            const NumberOrError n = arithmeticNumber(evaluator.value(*arg));
            if (n.error) return n.error;
            onNumber(n.number);
        }
    }
    return std::nullopt;
}

Value sum(const Args& args, const Evaluator& evaluator)
{
    double total = 0;
    if (auto error = forEachNumber(args, evaluator, [&](double n) { total += n; }))
        return Value::error(*error);
    return numberResult(total);
}

// MIN and MAX; without any number the result is 0.
Value extreme(const Args& args, const Evaluator& evaluator, bool largest)
{
    std::optional<double> best;
    auto consider = [&](double n) {
        if (!best || (largest ? n > *best : n < *best)) best = n;
    };
    if (auto error = forEachNumber(args, evaluator, consider)) return Value::error(*error);
    return Value(best.value_or(0.0));
}

Value countA(const Args& args, const Evaluator& evaluator)
{
    qint64 count = 0;
    for (const auto& arg : args) {
        if (const auto area = evaluator.area(*arg)) {
            evaluator.forEachCell(*area, [&](const Value& cell) {
                if (!cell.isEmpty()) ++count;
                return true;
            });
        } else if (!evaluator.value(*arg).isEmpty()) {
            ++count;
        }
    }
    return Value(double(count));
}

Value countIf(const Args& args, const Evaluator& evaluator)
{
    const auto area = evaluator.area(*args[0]);
    if (!area) {
        const Value notArea = evaluator.value(*args[0]);
        return Value::error(notArea.isError() ? notArea.errorValue() : ErrorCode::Value);
    }
    const CountCriterion criterion(evaluator.value(*args[1]));
    qint64 count = 0;
    const qint64 visited = evaluator.forEachCell(*area, [&](const Value& cell) {
        if (criterion.matches(cell)) ++count;
        return true;
    });
    // The cells past the sheet's used part were not read: they are all empty.
    if (criterion.matchesEmpty()) count += area->cellCount() - visited;
    return Value(double(count));
}

// "2.67500000000000e+00" -> digits "267500000000000", exponent 0.
struct DecimalDigits {
    std::string digits;
    int exponent = 0;
};

// The magnitude to the 15 significant digits a spreadsheet works with, so 2.675 (stored
// as 2.67499999...) reads as 2.675 again.
DecimalDigits significantDigits(double magnitude)
{
    char buffer[40];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                   std::chars_format::scientific, 14).ptr;
    const std::string_view text(buffer, size_t(end - buffer));
    const size_t e = text.find('e');
    DecimalDigits result;
    result.digits = std::string(1, text[0]) + std::string(text.substr(2, e - 2));
    std::string_view exponent = text.substr(e + 1);
    if (exponent.front() == '+') exponent.remove_prefix(1);
    std::from_chars(exponent.data(), exponent.data() + exponent.size(), result.exponent);
    return result;
}

void addOneToLastDigit(std::string& digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// Rounds half away from zero on the decimal digits, not on the binary value:
// ROUND(2.675, 2) is 2.68 and ROUND(-1.5, 0) is -2. Negative places round to tens, hundreds.
double roundDecimal(double number, int places)
{
    if (number == 0) return 0;
    const DecimalDigits decimal = significantDigits(std::fabs(number));
    const int keep = decimal.exponent + places + 1;   // digits left of the cut
    if (keep >= int(decimal.digits.size())) return number;
    if (keep < 0) return 0;
    std::string kept = decimal.digits.substr(0, size_t(keep));
    if (decimal.digits[size_t(keep)] >= '5') addOneToLastDigit(kept);
    if (kept.empty()) return 0;
    const std::string text = kept + 'e' + std::to_string(decimal.exponent - keep + 1);
    double rounded = 0;
    std::from_chars(text.data(), text.data() + text.size(), rounded);
    return std::copysign(rounded, number);
}

Value roundFunction(const Args& args, const Evaluator& evaluator)
{
    const NumberOrError number = arithmeticNumber(evaluator.value(*args[0]));
    if (number.error) return Value::error(*number.error);
    const NumberOrError places = arithmeticNumber(evaluator.value(*args[1]));
    if (places.error) return Value::error(*places.error);
    const double limited = std::clamp(std::trunc(places.number), -400.0, 400.0);
    return numberResult(roundDecimal(number.number, int(limited)));
}

Value absolute(const Args& args, const Evaluator& evaluator)
{
    const NumberOrError number = arithmeticNumber(evaluator.value(*args[0]));
    if (number.error) return Value::error(*number.error);
    return Value(std::fabs(number.number));
}

// A condition's truth; text counts only when it reads TRUE or FALSE.
std::optional<bool> truthOf(const Value& condition)
{
    switch (condition.kind()) {
    case Value::Kind::Empty: return false;
    case Value::Kind::Number: return condition.number() != 0;
    case Value::Kind::Bool: return condition.boolValue();
    case Value::Kind::Text:
        if (condition.text().compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0) return true;
        if (condition.text().compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0) return false;
        return std::nullopt;
    case Value::Kind::Error: return std::nullopt;
    }
    return std::nullopt;
}

// Only the branch taken is computed.
Value ifFunction(const Args& args, const Evaluator& evaluator)
{
    const Value condition = evaluator.value(*args[0]);
    if (condition.isError()) return condition;
    const auto truth = truthOf(condition);
    if (!truth) return Value::error(ErrorCode::Value);
    if (*truth) return evaluator.value(*args[1]);
    return args.size() > 2 ? evaluator.value(*args[2]) : Value::boolean(false);
}

} // namespace

Value callFunction(const FormulaNode& call, const Evaluator& evaluator)
{
    const FunctionInfo* info = findFunction(call.text);
    if (!info) return Value::error(ErrorCode::Name);
    const int count = int(call.args.size());
    if (count < info->minArgs || count > info->maxArgs) return Value::error(ErrorCode::Value);
    switch (info->id) {
    case Function::If: return ifFunction(call.args, evaluator);
    case Function::Sum: return sum(call.args, evaluator);
    case Function::Min: return extreme(call.args, evaluator, false);
    case Function::Max: return extreme(call.args, evaluator, true);
    case Function::Abs: return absolute(call.args, evaluator);
    case Function::Round: return roundFunction(call.args, evaluator);
    case Function::CountA: return countA(call.args, evaluator);
    case Function::CountIf: return countIf(call.args, evaluator);
    }
    return Value::error(ErrorCode::Name);
}

} // namespace store::formula
