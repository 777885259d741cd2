// Math: sums, products, rounding, powers and logarithms.
#include "store/formula/CountCriterion.h"
#include "store/formula/functions/Arguments.h"
#include "store/formula/functions/Functions.h"

#include <charconv>
#include <cmath>
#include <deque>
#include <numbers>
#include <random>
#include <string>

namespace store::formula::functions {

namespace {

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

enum class Rounding { HalfAwayFromZero, AwayFromZero, TowardZero };

bool roundsAway(const std::string& cut, Rounding rounding)
{
    switch (rounding) {
    case Rounding::HalfAwayFromZero: return !cut.empty() && cut[0] >= '5';
    case Rounding::AwayFromZero: return cut.find_first_not_of('0') != std::string::npos;
    case Rounding::TowardZero: return false;
    }
    return false;
}

// Rounds on the decimal digits, not on the binary value: ROUND(2.675, 2) is 2.68 and
// ROUND(-1.5, 0) is -2. Negative places round to tens, hundreds. Digits past the 15th a number
// may hold (ROUND(123456789012345678, -1)) are its own and stay.
double roundDigits(double number, int places, Rounding rounding)
{
    if (number == 0) return 0;
    const DecimalDigits decimal = significantDigits(std::fabs(number));
    const int keep = decimal.exponent + places + 1;   // digits left of the cut
    if (keep >= int(decimal.digits.size())) return number;
    if (keep < 0) return rounding == Rounding::AwayFromZero ? std::copysign(std::pow(10.0, -places), number) : 0;
    std::string kept = decimal.digits.substr(0, size_t(keep));
    if (roundsAway(decimal.digits.substr(size_t(keep)), rounding)) addOneToLastDigit(kept);
    if (kept.empty()) return 0;
    const std::string text = kept + 'e' + std::to_string(decimal.exponent - keep + 1);
    double rounded = 0;
    std::from_chars(text.data(), text.data() + text.size(), rounded);
    return std::copysign(rounded, number);
}

Value rounded(const Args& args, const Evaluator& evaluator, Rounding rounding)
{
    const double number = numberArg(args, 0, evaluator);
    const double places = std::clamp(std::trunc(numberArgOr(args, 1, evaluator, 0)), -400.0, 400.0);
    return Value(roundDigits(number, int(places), rounding));
}

double oneNumber(const Args& args, const Evaluator& evaluator)
{
    return numberArg(args, 0, evaluator);
}

// x / step made whole the way round says, as CEILING and FLOOR step: the quotient is first
// taken to 15 digits so CEILING(0.3, 0.1) is 0.3, not 0.4.
Value toMultiple(const Args& args, const Evaluator& evaluator, bool up)
{
    const double x = numberArg(args, 0, evaluator);
    const double step = numberArg(args, 1, evaluator);
    if (x == 0) return Value(0.0);
    if (step == 0) return up ? Value(0.0) : Value::error(ErrorCode::Div0);
    if ((x > 0) != (step > 0)) fail(ErrorCode::Num);
    const double steps = significantDigits15(x / step);
    return Value((up ? std::ceil(steps) : std::floor(steps)) * step);
}

// The SUBTOTAL numbers 1 to 11 (101 to 111 also leave out hidden rows, which a sheet here has
// none of for formulas).
Compute subtotalFunction(int number)
{
    static constexpr Compute kByNumber[] = {average, count, countA, max, min, product, stDev, stDevP, sum, var, varP};
    const int n = number > 100 ? number - 100 : number;
    return n >= 1 && n <= 11 ? kByNumber[n - 1] : nullptr;
}

} // namespace

double roundDecimal(double number, int places)
{
    return roundDigits(number, places, Rounding::HalfAwayFromZero);
}

Value sum(const Args& args, const Evaluator& evaluator)
{
    double total = 0;
    forEachNumber(args, evaluator, Feed::Numbers, [&](double n) { total = approxAdd(total, n); });
    return Value(total);
}

Value sumIf(const Args& args, const Evaluator& evaluator)
{
    const CellArea range = areaArg(args, 0, evaluator);
    const CountCriterion criterion(evaluator.value(*args[1]));
    CellArea summed = given(args, 2) ? areaArg(args, 2, evaluator) : range;
    // The summed cells take the shape of the range from their own top left cell.
    summed.bottom = summed.top + (range.bottom - range.top);
    summed.right = summed.left + (range.right - range.left);
    double total = 0;
    for (int col = range.left; col <= range.right; ++col) {
        // Column by column, so the cells past the sheet's used rows are not read.
        CellArea column = range;
        column.left = column.right = col;
        int row = range.top;
        evaluator.forEachCell(column, [&](const Value& cell) {
            if (criterion.matches(cell)) {
                const Value summand = evaluator.valueIn(summed, summed.top + row - range.top, summed.left + col - range.left);
                if (summand.isError()) fail(summand.errorValue());
                if (summand.isNumber()) total = approxAdd(total, summand.number());
            }
            ++row;
            return true;
        });
    }
    return Value(total);
}

// Arrays of one size multiplied element by element and summed; what is not a number counts 0.
Value sumProduct(const Args& args, const Evaluator& evaluator)
{
    std::vector<Matrix> arrays;
    for (const auto& arg : args) {
        arrays.push_back(arrayOf(*arg, evaluator));
        if (arrays.back().rows != arrays.front().rows || arrays.back().cols != arrays.front().cols)
            fail(ErrorCode::Value);
    }
    double total = 0;
    for (size_t i = 0; i < arrays.front().cells.size(); ++i) {
        double product = 1;
        for (const Matrix& m : arrays) {
            const Value& v = m.cells[i];
            if (v.isError()) fail(v.errorValue());
            product *= v.isNumber() ? v.number() : 0.0;
        }
        total = approxAdd(total, product);
    }
    return Value(total);
}

Value product(const Args& args, const Evaluator& evaluator)
{
    double result = 1;
    bool any = false;
    forEachNumber(args, evaluator, Feed::Numbers, [&](double n) {
        result *= n;
        any = true;
    });
    return Value(any ? result : 0.0);
}

Value absolute(const Args& args, const Evaluator& evaluator)
{
    return Value(std::fabs(oneNumber(args, evaluator)));
}

Value round(const Args& args, const Evaluator& evaluator)
{
    return rounded(args, evaluator, Rounding::HalfAwayFromZero);
}

Value roundUp(const Args& args, const Evaluator& evaluator)
{
    return rounded(args, evaluator, Rounding::AwayFromZero);
}

Value roundDown(const Args& args, const Evaluator& evaluator)
{
    return rounded(args, evaluator, Rounding::TowardZero);
}

Value trunc(const Args& args, const Evaluator& evaluator)
{
    return rounded(args, evaluator, Rounding::TowardZero);
}

Value integer(const Args& args, const Evaluator& evaluator)
{
    return Value(std::floor(oneNumber(args, evaluator)));
}

// The remainder takes the divisor's sign: MOD(-3, 2) is 1.
Value mod(const Args& args, const Evaluator& evaluator)
{
    const double a = numberArg(args, 0, evaluator);
    const double b = numberArg(args, 1, evaluator);
    if (b == 0) fail(ErrorCode::Div0);
    const double remainder = a - b * std::floor(significantDigits15(a / b));
    return Value(numbersEqual(remainder, b) ? 0.0 : remainder);
}

Value ceiling(const Args& args, const Evaluator& evaluator)
{
    return toMultiple(args, evaluator, true);
}

Value floor(const Args& args, const Evaluator& evaluator)
{
    return toMultiple(args, evaluator, false);
}

Value squareRoot(const Args& args, const Evaluator& evaluator)
{
    const double x = oneNumber(args, evaluator);
    if (x < 0) fail(ErrorCode::Num);
    return Value(std::sqrt(x));
}

Value power(const Args& args, const Evaluator& evaluator)
{
    return applyBinary(QStringLiteral("^"), valueArg(args, 0, evaluator), valueArg(args, 1, evaluator));
}

namespace {

// The cells as SUBTOTAL reads them: those that hold a SUBTOTAL themselves are empty, so a total
// over a list with subtotals counts each figure once.
class WithoutSubtotals final : public FormulaCells {
public:
    explicit WithoutSubtotals(const FormulaCells& cells) : cells_(cells) {}
    Value valueAt(int row, int col) const override
    {
        return cells_.holdsSubtotal(row, col) ? Value() : cells_.valueAt(row, col);
    }
    int lastRow() const override { return cells_.lastRow(); }
    int lastColumn() const override { return cells_.lastColumn(); }
    bool dates1904() const override { return cells_.dates1904(); }
    std::vector<const FormulaCells*> sheets(const QString& first, const QString& last) const override
    {
        std::vector<const FormulaCells*> sheets;
        for (const FormulaCells* sheet : cells_.sheets(first, last)) sheets.push_back(&others_.emplace_back(*sheet));
        return sheets;
    }

private:
    const FormulaCells& cells_;
    mutable std::deque<WithoutSubtotals> others_;
};

} // namespace

Value subtotal(const Args& args, const Evaluator& evaluator)
{
    const Compute function = subtotalFunction(integerArg(args, 0, evaluator));
    if (!function) fail(ErrorCode::Value);
    const WithoutSubtotals cells(evaluator.cells());
    return function(Args(args.begin() + 1, args.end()), Evaluator(cells, evaluator.inArrayFormula()));
}

Value naturalLog(const Args& args, const Evaluator& evaluator)
{
    const double x = oneNumber(args, evaluator);
    if (x <= 0) fail(ErrorCode::Num);
    return Value(std::log(x));
}

Value log(const Args& args, const Evaluator& evaluator)
{
    const double x = numberArg(args, 0, evaluator);
    const double base = numberArgOr(args, 1, evaluator, 10);
    if (x <= 0 || base <= 0) fail(ErrorCode::Num);
    if (base == 1) fail(ErrorCode::Div0);
    return Value(std::log(x) / std::log(base));
}

Value log10(const Args& args, const Evaluator& evaluator)
{
    const double x = oneNumber(args, evaluator);
    if (x <= 0) fail(ErrorCode::Num);
    return Value(std::log10(x));
}

Value exp(const Args& args, const Evaluator& evaluator)
{
    return Value(std::exp(oneNumber(args, evaluator)));
}

Value pi(const Args&, const Evaluator&)
{
    return Value(std::numbers::pi);
}

Value random(const Args&, const Evaluator&)
{
    static thread_local std::mt19937_64 generator{std::random_device{}()};
    return Value(std::uniform_real_distribution<double>(0.0, 1.0)(generator));
}

Value sign(const Args& args, const Evaluator& evaluator)
{
    const double x = oneNumber(args, evaluator);
    return Value(double((x > 0) - (x < 0)));
}

} // namespace store::formula::functions
