// Statistics: counting, averages, order and spread.
#include "store/formula/CountCriterion.h"
#include "store/formula/functions/Arguments.h"
#include "store/formula/functions/Functions.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace store::formula::functions {

namespace {

double mean(const std::vector<double>& numbers)
{
    double total = 0;
    for (double n : numbers) total = approxAdd(total, n);
    return total / double(numbers.size());
}

// The sum of squared distances from the mean over the count less lost degrees of freedom.
Value variance(const Args& args, const Evaluator& evaluator, bool sample, bool root)
{
    const std::vector<double> numbers = numbersOf(args, evaluator);
    const size_t lost = sample ? 1 : 0;
    if (numbers.size() <= lost) fail(ErrorCode::Div0);
    const double m = mean(numbers);
    double squares = 0;
    for (double n : numbers) squares += (n - m) * (n - m);
    const double result = squares / double(numbers.size() - lost);
    return Value(root ? std::sqrt(result) : result);
}

Value extreme(const Args& args, const Evaluator& evaluator, Feed feed, bool largest)
{
    std::optional<double> best;
    forEachNumber(args, evaluator, feed, [&](double n) {
        if (!best || (largest ? n > *best : n < *best)) best = n;
    });
    return Value(best.value_or(0.0));
}

// The k-th largest or smallest number of the first argument.
Value kth(const Args& args, const Evaluator& evaluator, bool largest)
{
    std::vector<double> numbers = numbersOf({args[0]}, evaluator);
    const double k = std::ceil(numberArg(args, 1, evaluator));
    if (k < 1 || k > double(numbers.size())) fail(ErrorCode::Num);
    if (largest) std::sort(numbers.begin(), numbers.end(), std::greater<>());
    else std::sort(numbers.begin(), numbers.end());
    return Value(numbers[size_t(k) - 1]);
}

Value averageOf(const Args& args, const Evaluator& evaluator, Feed feed)
{
    const std::vector<double> numbers = numbersOf(args, evaluator, feed);
    if (numbers.empty()) fail(ErrorCode::Div0);
    return Value(mean(numbers));
}

} // namespace

// Numbers: in references the cells holding them (errors pass unnoticed), among given values also
// text that reads as a number and booleans.
Value count(const Args& args, const Evaluator& evaluator)
{
    double counted = 0;
    for (const auto& arg : args) {
        const bool many = forEachCellOrElement(*arg, evaluator, [&](const Value& v) { counted += v.isNumber() ? 1 : 0; });
        if (many || arg->kind == FormulaNode::Kind::Missing) continue;
        const Value v = evaluator.value(*arg);
        counted += v.isNumber() || v.isBool() || (v.isText() && numberInText(v.text())) ? 1 : 0;
    }
    return Value(counted);
}

Value countA(const Args& args, const Evaluator& evaluator)
{
    qint64 counted = 0;
    for (const auto& arg : args) {
        const bool many = forEachCellOrElement(*arg, evaluator, [&](const Value& v) { counted += v.isEmpty() ? 0 : 1; });
        if (!many && !evaluator.value(*arg).isEmpty()) ++counted;
    }
    return Value(double(counted));
}

Value countIf(const Args& args, const Evaluator& evaluator)
{
    const CellArea area = areaArg(args, 0, evaluator);
    const CountCriterion criterion(evaluator.value(*args[1]));
    qint64 counted = 0;
    const qint64 visited = evaluator.forEachCell(area, [&](const Value& cell) {
        if (criterion.matches(cell)) ++counted;
        return true;
    });
    // The cells past the sheet's used part were not read: they are all empty.
    if (criterion.matchesEmpty()) counted += area.cellCount() - visited;
    return Value(double(counted));
}

// Empty cells and cells holding empty text.
Value countBlank(const Args& args, const Evaluator& evaluator)
{
    const CellArea area = areaArg(args, 0, evaluator);
    qint64 filled = 0;
    evaluator.forEachCell(area, [&](const Value& cell) {
        if (!cell.isEmpty() && !(cell.isText() && cell.text().isEmpty())) ++filled;
        return true;
    });
    return Value(double(area.cellCount() - filled));
}

Value average(const Args& args, const Evaluator& evaluator)
{
    return averageOf(args, evaluator, Feed::Numbers);
}

Value averageA(const Args& args, const Evaluator& evaluator)
{
    return averageOf(args, evaluator, Feed::NumbersAndText);
}

Value min(const Args& args, const Evaluator& evaluator)
{
    return extreme(args, evaluator, Feed::Numbers, false);
}

Value max(const Args& args, const Evaluator& evaluator)
{
    return extreme(args, evaluator, Feed::Numbers, true);
}

Value minA(const Args& args, const Evaluator& evaluator)
{
    return extreme(args, evaluator, Feed::NumbersAndText, false);
}

Value maxA(const Args& args, const Evaluator& evaluator)
{
    return extreme(args, evaluator, Feed::NumbersAndText, true);
}

Value large(const Args& args, const Evaluator& evaluator)
{
    return kth(args, evaluator, true);
}

Value small(const Args& args, const Evaluator& evaluator)
{
    return kth(args, evaluator, false);
}

// The number's place among the numbers of the reference, largest first unless order is not 0;
// equal numbers share the best place.
Value rank(const Args& args, const Evaluator& evaluator)
{
    const double number = numberArg(args, 0, evaluator);
    const std::vector<double> numbers = numbersOf({args[1]}, evaluator);
    const bool ascending = numberArgOr(args, 2, evaluator, 0) != 0;
    if (std::none_of(numbers.begin(), numbers.end(), [&](double n) { return n == number; })) fail(ErrorCode::NA);
    const auto before = std::count_if(numbers.begin(), numbers.end(),
                                      [&](double n) { return ascending ? n < number : n > number; });
    return Value(double(before + 1));
}

Value median(const Args& args, const Evaluator& evaluator)
{
    std::vector<double> numbers = numbersOf(args, evaluator);
    if (numbers.empty()) fail(ErrorCode::Num);
    std::sort(numbers.begin(), numbers.end());
    const size_t half = numbers.size() / 2;
    return Value(numbers.size() % 2 ? numbers[half] : (numbers[half - 1] + numbers[half]) / 2);
}

// The number met most often, the first met among equally frequent ones; #N/A when none repeats.
Value mode(const Args& args, const Evaluator& evaluator)
{
    const std::vector<double> numbers = numbersOf(args, evaluator);
    std::map<double, qint64> times;
    for (double n : numbers) ++times[n];
    std::optional<double> best;
    qint64 bestCount = 1;
    for (double n : numbers) {
        if (times[n] > bestCount) {
            best = n;
            bestCount = times[n];
        }
    }
    if (!best) fail(ErrorCode::NA);
    return Value(*best);
}

Value stDev(const Args& args, const Evaluator& evaluator)
{
    return variance(args, evaluator, true, true);
}

Value stDevP(const Args& args, const Evaluator& evaluator)
{
    return variance(args, evaluator, false, true);
}

Value var(const Args& args, const Evaluator& evaluator)
{
    return variance(args, evaluator, true, false);
}

Value varP(const Args& args, const Evaluator& evaluator)
{
    return variance(args, evaluator, false, false);
}

} // namespace store::formula::functions
