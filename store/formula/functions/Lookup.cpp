// Lookup and references: finding values in tables, and the functions that give references.
#include "store/StoreError.h"
#include "store/formula/CountCriterion.h"
#include "store/formula/FormulaNodes.h"
#include "store/formula/functions/Arguments.h"
#include "store/formula/functions/Functions.h"

namespace store::formula::functions {

namespace {

// A table to look in: an area of the sheet, read cell by cell as needed, or an array.
class Table {
public:
    Table(const FormulaNode& node, const Evaluator& evaluator) : evaluator_(evaluator), area_(evaluator.area(node))
    {
        if (area_) {
            rows_ = area_->bottom - area_->top + 1;
            cols_ = area_->right - area_->left + 1;
        } else {
            matrix_ = arrayOf(node, evaluator);
            if (matrix_.cells.size() == 1 && matrix_.cells[0].isError()) fail(matrix_.cells[0].errorValue());
            rows_ = matrix_.rows;
            cols_ = matrix_.cols;
        }
    }

    int rows() const { return rows_; }
    int cols() const { return cols_; }
    Value at(int row, int col) const
    {
        return area_ ? evaluator_.valueIn(*area_, area_->top + row, area_->left + col) : matrix_.at(row, col);
    }

    // Calls visit(i, value) along row or column fixed (a column when down), up to the sheet's used
    // part, until visit returns false.
    template <class Visit>
    void scan(bool down, int fixed, Visit visit) const
    {
        const int size = down ? rows_ : cols_;
        if (area_) {
            CellArea line = *area_;
            if (down) line.left = line.right = area_->left + fixed;
            else line.top = line.bottom = area_->top + fixed;
            int i = 0;
            evaluator_.forEachCell(line, [&](const Value& v) { return visit(i++, v); });
            return;
        }
        for (int i = 0; i < size; ++i)
            if (!visit(i, down ? matrix_.at(i, fixed) : matrix_.at(fixed, i))) return;
    }

private:
    const Evaluator& evaluator_;
    std::optional<CellArea> area_;
    Matrix matrix_;
    int rows_ = 0;
    int cols_ = 0;
};

enum class MatchType { Exact, LargestNotAbove, SmallestNotBelow };

MatchType matchTypeOf(double number)
{
    return number > 0 ? MatchType::LargestNotAbove : (number < 0 ? MatchType::SmallestNotBelow : MatchType::Exact);
}

bool sameKind(const Value& a, const Value& b)
{
    return a.kind() == b.kind();
}

// Where the wanted value stands along the line, from 0. An exact match takes the first equal
// value of its own kind (text ignoring case, with wildcards); the others go through a sorted line
// and take the last value not past the wanted one, as the spreadsheet's sorted search lands.
std::optional<int> position(const Table& table, bool down, int fixed, const Value& wanted, MatchType type)
{
    std::optional<int> found;
    if (type == MatchType::Exact) {
        const bool wild = wanted.isText()
                          && (wanted.text().contains(u'*') || wanted.text().contains(u'?') || wanted.text().contains(u'~'));
        const std::optional<WildcardPattern> pattern = wild ? std::optional(WildcardPattern(wanted.text())) : std::nullopt;
        table.scan(down, fixed, [&](int i, const Value& v) {
            const bool equal = pattern ? v.isText() && pattern->matches(v.text())
                                       : sameKind(v, wanted) && !v.isError() && compareValues(v, wanted) == 0;
            if (equal) found = i;
            return !equal;
        });
        return found;
    }
    const int direction = type == MatchType::LargestNotAbove ? 1 : -1;
    table.scan(down, fixed, [&](int i, const Value& v) {
        if (!sameKind(v, wanted) || v.isError()) return true;
        if (compareValues(v, wanted) * direction > 0) return false;
        found = i;
        return true;
    });
    return found;
}

Value lookedUp(const Args& args, const Evaluator& evaluator, bool down)
{
    const Value wanted = valueArg(args, 0, evaluator);
    const Table table(*args[1], evaluator);
    const int index = integerArg(args, 2, evaluator);
    const bool sorted = truthArgOr(args, 3, evaluator, true);
    if (index < 1) fail(ErrorCode::Value);
    if (index > (down ? table.cols() : table.rows())) fail(ErrorCode::Ref);
    const auto at = position(table, down, 0, wanted, sorted ? MatchType::LargestNotAbove : MatchType::Exact);
    if (!at) fail(ErrorCode::NA);
    return down ? table.at(*at, index - 1) : table.at(index - 1, *at);
}

// The area with new corners, on the sheet of the area it was made from.
CellArea moved(CellArea from, int top, int left, int bottom, int right)
{
    if (!insideSheet(top, left) || !insideSheet(bottom, right)) fail(ErrorCode::Ref);
    from.top = top;
    from.left = left;
    from.bottom = bottom;
    from.right = right;
    return from;
}

// INDEX over an area: the cell, or with a row or column of 0 the whole column or row.
CellArea indexArea(const Args& args, const Evaluator& evaluator)
{
    const CellArea area = areaArg(args, 0, evaluator);
    if (given(args, 3) && integerArg(args, 3, evaluator) != 1) fail(ErrorCode::Ref);
    const int height = area.bottom - area.top + 1;
    const int width = area.right - area.left + 1;
    int row = given(args, 1) ? integerArg(args, 1, evaluator) : 0;
    int col = given(args, 2) ? integerArg(args, 2, evaluator) : 0;
    // INDEX(A1:E1, 3) counts along a single row.
    if (height == 1 && args.size() == 2) std::swap(row, col);
    if (row < 0 || col < 0 || row > height || col > width) fail(ErrorCode::Ref);
    return moved(area, row ? area.top + row - 1 : area.top, col ? area.left + col - 1 : area.left,
                 row ? area.top + row - 1 : area.bottom, col ? area.left + col - 1 : area.right);
}

CellArea offsetArea(const Args& args, const Evaluator& evaluator)
{
    const CellArea area = areaArg(args, 0, evaluator);
    const int top = area.top + integerArg(args, 1, evaluator);
    const int left = area.left + integerArg(args, 2, evaluator);
    const int height = given(args, 3) ? integerArg(args, 3, evaluator) : area.bottom - area.top + 1;
    const int width = given(args, 4) ? integerArg(args, 4, evaluator) : area.right - area.left + 1;
    if (height == 0 || width == 0) fail(ErrorCode::Ref);
    const int bottom = top + height + (height > 0 ? -1 : 1);
    const int right = left + width + (width > 0 ? -1 : 1);
    return moved(area, std::min(top, bottom), std::min(left, right), std::max(top, bottom), std::max(left, right));
}

// A reference written as text, "B2", "$A$1:C3", "'Лист 2'!A1:A3", or in R1C1 style when a1 is
// FALSE; a sheet the workbook lacks gives #REF!.
CellArea indirectArea(const Args& args, const Evaluator& evaluator, const FormulaNode& call)
{
    const QString text = QLatin1Char('=') + textArg(args, 0, evaluator).trimmed();
    const bool a1 = truthArgOr(args, 1, evaluator, true);
    const int row = std::max(call.homeRow, 1);
    const int col = std::max(call.homeCol, 1);
    try {
        const Formula reference = a1 ? Formula::parseA1(text, row, col) : Formula::parseR1C1(text, row, col);
        const FormulaNode& root = *reference.root();
        const bool isReference = root.kind == FormulaNode::Kind::Ref || root.kind == FormulaNode::Kind::Area;
        if (const auto area = isReference ? evaluator.area(root) : std::nullopt) return *area;
    } catch (const Error&) {
    }
    fail(ErrorCode::Ref);
}

std::optional<CellArea> chosenArea(const Args& args, const Evaluator& evaluator)
{
    const int index = integerArg(args, 0, evaluator);
    if (index < 1 || size_t(index) >= args.size()) fail(ErrorCode::Value);
    return evaluator.area(*args[size_t(index)]);
}

// The value of a reference a function gives: its cell, or for a range the cell in line with the
// formula as a reference gives it.
Value valueOfArea(const CellArea& area, const Evaluator& evaluator)
{
    if (area.cellCount() == 1) return evaluator.valueIn(area, area.top, area.left);
    fail(ErrorCode::Value);
}

// The position of a line's element in a table that is a single row or column.
Value lineElement(const Table& table, int i)
{
    if (table.rows() == 1 && i < table.cols()) return table.at(0, i);
    if (table.cols() == 1 && i < table.rows()) return table.at(i, 0);
    fail(ErrorCode::NA);
}

} // namespace

Value vlookup(const Args& args, const Evaluator& evaluator)
{
    return lookedUp(args, evaluator, true);
}

Value hlookup(const Args& args, const Evaluator& evaluator)
{
    return lookedUp(args, evaluator, false);
}

// LOOKUP(value, line[, results]): a sorted search along the line; without results a table is
// searched along its longer side and gives the value of its last row or column.
Value lookup(const Args& args, const Evaluator& evaluator)
{
    const Value wanted = valueArg(args, 0, evaluator);
    const Table table(*args[1], evaluator);
    const bool down = table.rows() >= table.cols();
    const auto at = position(table, down, 0, wanted, MatchType::LargestNotAbove);
    if (!at) fail(ErrorCode::NA);
    if (given(args, 2)) return lineElement(Table(*args[2], evaluator), *at);
    return down ? table.at(*at, table.cols() - 1) : table.at(table.rows() - 1, *at);
}

Value match(const Args& args, const Evaluator& evaluator)
{
    const Value wanted = valueArg(args, 0, evaluator);
    const Table table(*args[1], evaluator);
    const MatchType type = matchTypeOf(numberArgOr(args, 2, evaluator, 1));
    if (table.rows() != 1 && table.cols() != 1) fail(ErrorCode::NA);
    const bool down = table.cols() == 1 && table.rows() > 1;
    const auto at = position(table, down, 0, wanted, type);
    if (!at) fail(ErrorCode::NA);
    return Value(double(*at + 1));
}

Value index(const Args& args, const Evaluator& evaluator)
{
    if (evaluator.area(*args[0])) return valueOfArea(indexArea(args, evaluator), evaluator);
    const Table table(*args[0], evaluator);
    int row = given(args, 1) ? integerArg(args, 1, evaluator) : 1;
    int col = given(args, 2) ? integerArg(args, 2, evaluator) : 1;
    if (table.rows() == 1 && args.size() == 2) std::swap(row, col);
    if (row < 1 || col < 1 || row > table.rows() || col > table.cols()) fail(ErrorCode::Ref);
    return table.at(row - 1, col - 1);
}

Value choose(const Args& args, const Evaluator& evaluator)
{
    const int index = integerArg(args, 0, evaluator);
    if (index < 1 || size_t(index) >= args.size()) fail(ErrorCode::Value);
    return evaluator.value(*args[size_t(index)]);
}

Value offset(const Args& args, const Evaluator& evaluator)
{
    return valueOfArea(offsetArea(args, evaluator), evaluator);
}

Value row(const Args& args, const Evaluator& evaluator)
{
    return Value(double(areaArg(args, 0, evaluator).top));
}

Value rows(const Args& args, const Evaluator& evaluator)
{
    if (const auto area = evaluator.area(*args[0])) return Value(double(area->bottom - area->top + 1));
    return Value(double(arrayOf(*args[0], evaluator).rows));
}

Value column(const Args& args, const Evaluator& evaluator)
{
    return Value(double(areaArg(args, 0, evaluator).left));
}

Value columns(const Args& args, const Evaluator& evaluator)
{
    if (const auto area = evaluator.area(*args[0])) return Value(double(area->right - area->left + 1));
    return Value(double(arrayOf(*args[0], evaluator).cols));
}

// ADDRESS(row, column[, kind[, a1[, sheet]]]): kind 1 $A$1, 2 A$1, 3 $A1, 4 A1.
Value address(const Args& args, const Evaluator& evaluator)
{
    const int row = integerArg(args, 0, evaluator);
    const int col = integerArg(args, 1, evaluator);
    const int kind = given(args, 2) ? integerArg(args, 2, evaluator) : 1;
    const bool a1 = truthArgOr(args, 3, evaluator, true);
    if (!insideSheet(row, col) || kind < 1 || kind > 4) fail(ErrorCode::Value);
    const bool rowAbs = kind == 1 || kind == 2;
    const bool colAbs = kind == 1 || kind == 3;
    QString text;
    if (given(args, 4)) text = textArg(args, 4, evaluator) + u'!';
    if (a1) return Value(text + refToA1({row, col, rowAbs, colAbs}));
    const auto part = [](QChar letter, int n, bool absolute) {
        return QString(letter) + (absolute ? QString::number(n) : u'[' + QString::number(n) + u']');
    };
    return Value(text + part(u'R', row, rowAbs) + part(u'C', col, colAbs));
}

Value callAtCell(const FormulaNode& call, const Evaluator& evaluator)
{
    switch (findFunction(call.text)->id) {
    case Function::Row: return Value(double(call.homeRow));
    case Function::Column: return Value(double(call.homeCol));
    default: {
        const auto area = referenceOf(call, evaluator);
        if (!area) fail(ErrorCode::Ref);
        return valueOfArea(*area, evaluator);
    }
    }
}

std::optional<CellArea> referenceOf(const FormulaNode& call, const Evaluator& evaluator)
{
    const FunctionInfo* info = findFunction(call.text);
    if (!info || int(call.args.size()) < info->minArgs) return std::nullopt;
    try {
        switch (info->id) {
        case Function::Index:
            if (!evaluator.area(*call.args[0])) return std::nullopt;
            return indexArea(call.args, evaluator);
        case Function::Offset: return offsetArea(call.args, evaluator);
        case Function::Indirect: return indirectArea(call.args, evaluator, call);
        case Function::Choose: return chosenArea(call.args, evaluator);
        default: return std::nullopt;
        }
    } catch (const Failed&) {
        return std::nullopt;
    }
}

} // namespace store::formula::functions
