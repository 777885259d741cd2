#include "store/formula/functions/Arguments.h"

#include "store/formula/FormulaFunctions.h"
#include "store/formula/FormulaNodes.h"

namespace store::formula::functions {

namespace {

// The most cells an array may hold: a few whole columns.
constexpr qint64 kMaxArrayCells = 4 * 65536;

Matrix single(const Value& value)
{
    return {1, 1, {value}};
}

Matrix areaArray(const CellArea& area, const Evaluator& evaluator)
{
    if (area.cellCount() > kMaxArrayCells) fail(ErrorCode::Num);
    Matrix m{area.bottom - area.top + 1, area.right - area.left + 1, {}};
    m.cells.reserve(size_t(area.cellCount()));
    for (int row = area.top; row <= area.bottom; ++row)
        for (int col = area.left; col <= area.right; ++col) m.cells.push_back(evaluator.valueIn(area, row, col));
    return m;
}

Matrix constantArray(const FormulaNode& node)
{
    Matrix m{int(node.args.size()) / node.arrayColumns, node.arrayColumns, {}};
    for (const auto& element : node.args) m.cells.push_back(Evaluator::constant(*element));
    return m;
}

// The larger of two sizes, as the spreadsheet spreads a single row or column over the other.
int spreadSize(int a, int b)
{
    return a == 1 ? b : (b == 1 ? a : std::min(a, b));
}

template <class Apply>
Matrix elementWise(const Matrix& left, const Matrix& right, Apply apply)
{
    Matrix m{spreadSize(left.rows, right.rows), spreadSize(left.cols, right.cols), {}};
    m.cells.reserve(size_t(m.rows) * size_t(m.cols));
    for (int r = 0; r < m.rows; ++r)
        for (int c = 0; c < m.cols; ++c) m.cells.push_back(apply(left.spread(r, c), right.spread(r, c)));
    return m;
}

// An element of an array as an argument of a function: a literal, or for an empty cell a node
// that counts as given and is empty as the cell is.
FormulaNodePtr elementNode(const Value& element)
{
    switch (element.kind()) {
    case Value::Kind::Number: return makeNumber(element.number());
    case Value::Kind::Text: return makeText(element.text());
    case Value::Kind::Bool: return makeBool(element.boolValue());
    case Value::Kind::Error: return makeError(element.errorValue());
    case Value::Kind::Empty: break;
    }
    return makeParen(makeMissing());
}

// A function given arrays where it takes single values, inside an argument that takes an array
// (SUMPRODUCT(--ISNUMBER(SEARCH("а",A1:A9)))), gives the array of what it gives for each of
// their elements, as the spreadsheet computes it. Each such argument is computed once, as an
// array, and handed to the function element by element (a single value as it is).
Matrix functionArray(const FormulaNode& call, const Evaluator& evaluator)
{
    const FunctionInfo* info = findFunction(call.text);
    if (!info) return single(evaluator.value(call));
    std::vector<std::optional<Matrix>> arrays(call.args.size());
    int rows = 1, cols = 1;
    for (size_t i = 0; i < call.args.size(); ++i) {
        if (info->argClass(int(i)) != 'V' || call.args[i]->kind == FormulaNode::Kind::Missing) continue;
        arrays[i] = arrayOf(*call.args[i], evaluator);
        rows = spreadSize(rows, arrays[i]->rows);
        cols = spreadSize(cols, arrays[i]->cols);
    }
    Matrix result{rows, cols, {}};
    FormulaNode element = call;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            for (size_t i = 0; i < arrays.size(); ++i)
                if (arrays[i]) element.args[i] = elementNode(arrays[i]->spread(r, c));
            result.cells.push_back(callFunction(element, evaluator));
        }
    }
    return result;
}

} // namespace

bool given(const Args& args, size_t i)
{
    return i < args.size() && args[i]->kind != FormulaNode::Kind::Missing;
}

Value valueArg(const Args& args, size_t i, const Evaluator& evaluator)
{
    if (i >= args.size()) return Value();
    Value value = evaluator.value(*args[i]);
    if (value.isError()) fail(value.errorValue());
    return value;
}

double numberArg(const Args& args, size_t i, const Evaluator& evaluator)
{
    const NumberOrError n = arithmeticNumber(valueArg(args, i, evaluator));
    if (n.error) fail(*n.error);
    return n.number;
}

double numberArgOr(const Args& args, size_t i, const Evaluator& evaluator, double absent)
{
    return given(args, i) ? numberArg(args, i, evaluator) : absent;
}

int integerArg(const Args& args, size_t i, const Evaluator& evaluator)
{
    const double n = std::trunc(numberArg(args, i, evaluator));
    if (std::fabs(n) > 2147483647.0) fail(ErrorCode::Num);
    return int(n);
}

QString textArg(const Args& args, size_t i, const Evaluator& evaluator)
{
    return formulaText(valueArg(args, i, evaluator));
}

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

bool truthArg(const Args& args, size_t i, const Evaluator& evaluator)
{
    const auto truth = truthOf(valueArg(args, i, evaluator));
    if (!truth) fail(ErrorCode::Value);
    return *truth;
}

bool truthArgOr(const Args& args, size_t i, const Evaluator& evaluator, bool absent)
{
    return given(args, i) ? truthArg(args, i, evaluator) : absent;
}

CellArea areaArg(const Args& args, size_t i, const Evaluator& evaluator)
{
    if (const auto area = evaluator.area(*args[i])) return *area;
    valueArg(args, i, evaluator);   // an error stays that error
    fail(ErrorCode::Value);
}

Value Matrix::spread(int row, int col) const
{
    const int r = rows == 1 ? 0 : row;
    const int c = cols == 1 ? 0 : col;
    if (r >= rows || c >= cols) return Value::error(ErrorCode::NA);
    return at(r, c);
}

Matrix arrayOf(const FormulaNode& node, const Evaluator& evaluator)
{
    if (const auto area = evaluator.area(node)) return areaArray(*area, evaluator);
    switch (node.kind) {
    case FormulaNode::Kind::Array: return constantArray(node);
    case FormulaNode::Kind::Paren:
    case FormulaNode::Kind::Name: return arrayOf(*node.args[0], evaluator);
    case FormulaNode::Kind::Unary: {
        Matrix m = arrayOf(*node.args[0], evaluator);
        for (Value& v : m.cells) v = applyUnary(node.text, v);
        return m;
    }
    case FormulaNode::Kind::Binary:
        return elementWise(arrayOf(*node.args[0], evaluator), arrayOf(*node.args[1], evaluator),
                           [&](const Value& a, const Value& b) { return applyBinary(node.text, a, b); });
    case FormulaNode::Kind::Function: return functionArray(node, evaluator);
    default: return single(evaluator.value(node));
    }
}

std::vector<double> numbersOf(const Args& args, const Evaluator& evaluator, Feed feed, size_t first)
{
    std::vector<double> numbers;
    forEachNumber(args, evaluator, feed, [&](double n) { numbers.push_back(n); }, first);
    return numbers;
}

bool forEachCellOrElement(const FormulaNode& arg, const Evaluator& evaluator,
                          const std::function<void(const Value&)>& visit)
{
    if (const std::vector<CellArea> areas = evaluator.areas(arg); !areas.empty()) {
        for (const CellArea& area : areas) evaluator.forEachCell(area, [&](const Value& cell) {
            visit(cell);
            return true;
        });
        return true;
    }
    if (arg.kind != FormulaNode::Kind::Array) return false;
    for (const auto& element : arg.args) visit(Evaluator::constant(*element));
    return true;
}

void forEachValue(const FormulaNode& arg, const Evaluator& evaluator, const std::function<void(const Value&)>& visit)
{
    const Matrix m = arrayOf(arg, evaluator);
    for (const Value& v : m.cells) visit(v);
}

} // namespace store::formula::functions
