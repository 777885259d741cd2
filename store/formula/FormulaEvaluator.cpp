#include "store/formula/FormulaEvaluator.h"

#include "store/formula/FormulaOperators.h"
#include "store/formula/functions/Arguments.h"
#include "store/formula/functions/Functions.h"

namespace store::formula {

std::optional<CellArea> CellArea::of(const FormulaNode& node)
{
    switch (node.kind) {
    case FormulaNode::Kind::Ref: return CellArea{node.ref.row, node.ref.col, node.ref.row, node.ref.col, {}};
    case FormulaNode::Kind::Area:
        return CellArea{std::min(node.ref.row, node.ref2.row), std::min(node.ref.col, node.ref2.col),
                        std::max(node.ref.row, node.ref2.row), std::max(node.ref.col, node.ref2.col), {}};
    case FormulaNode::Kind::Paren: return of(*node.args[0]);
    default: return std::nullopt;
    }
}

std::optional<CellArea> Evaluator::referenceArea(const FormulaNode& node) const
{
    std::optional<CellArea> cells = CellArea::of(node);
    if (!cells || node.sheet.isEmpty()) return cells;
    cells->sheets = cells_.sheets(node.sheet, node.lastSheet);
    if (cells->sheets.empty()) return std::nullopt;
    return cells;
}

std::optional<CellArea> Evaluator::area(const FormulaNode& node) const
{
    switch (node.kind) {
    case FormulaNode::Kind::Ref:
    case FormulaNode::Kind::Area: return referenceArea(node);
    case FormulaNode::Kind::Paren:
    case FormulaNode::Kind::Name: return area(*node.args[0]);
    case FormulaNode::Kind::Function: return functions::referenceOf(node, *this);
    case FormulaNode::Kind::Intersection: {
        auto shared = area(*node.args[0]);
        const auto other = area(*node.args[1]);
        if (!shared || !other || shared->sheets != other->sheets) return std::nullopt;
        shared->top = std::max(shared->top, other->top);
        shared->left = std::max(shared->left, other->left);
        shared->bottom = std::min(shared->bottom, other->bottom);
        shared->right = std::min(shared->right, other->right);
        if (shared->top > shared->bottom || shared->left > shared->right) return std::nullopt;
        return shared;
    }
    default: return std::nullopt;
    }
}

std::vector<CellArea> Evaluator::areas(const FormulaNode& node) const
{
    if (node.kind == FormulaNode::Kind::Paren || node.kind == FormulaNode::Kind::Name) return areas(*node.args[0]);
    if (node.kind != FormulaNode::Kind::Union) {
        if (auto one = area(node)) return {std::move(*one)};
        return {};
    }
    std::vector<CellArea> all;
    for (const auto& arg : node.args) {
        std::vector<CellArea> part = areas(*arg);
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

Value Evaluator::constant(const FormulaNode& literal)
{
    switch (literal.kind) {
    case FormulaNode::Kind::Number: return Value(literal.number);
    case FormulaNode::Kind::Text: return Value(literal.text);
    case FormulaNode::Kind::Bool: return Value::boolean(literal.boolean);
    case FormulaNode::Kind::Error: return Value::error(literal.error);
    default: return Value();
    }
}

// Where one value is wanted an area gives the cell it shares with the formula's row (a
// one-column area) or column (a one-row area); otherwise #VALUE!. An area of several sheets
// has no single value.
Value Evaluator::intersection(const FormulaNode& area) const
{
    const auto cells = referenceArea(area);
    if (!cells) return Value::error(ErrorCode::Ref);
    if (cells->sheets.size() > 1) return Value::error(ErrorCode::Value);
    if (area.homeRow > 0 && cells->left == cells->right && area.homeRow >= cells->top && area.homeRow <= cells->bottom)
        return valueIn(*cells, area.homeRow, cells->left);
    if (area.homeCol > 0 && cells->top == cells->bottom && area.homeCol >= cells->left && area.homeCol <= cells->right)
        return valueIn(*cells, cells->top, area.homeCol);
    return Value::error(ErrorCode::Value);
}

// A reference to a sheet that is gone is #REF!; one to the same cell of several sheets #VALUE!.
Value Evaluator::referenceValue(const FormulaNode& node) const
{
    if (node.sheet.isEmpty()) return cells_.valueAt(node.ref.row, node.ref.col);
    const auto cells = referenceArea(node);
    if (!cells) return Value::error(ErrorCode::Ref);
    if (cells->sheets.size() > 1) return Value::error(ErrorCode::Value);
    return valueIn(*cells, cells->top, cells->left);
}

std::vector<Value> Evaluator::arrayElements(const FormulaNode& cell, int row, int col, int rows, int cols) const
{
    const Evaluator whole(cells_, true);
    std::vector<Value> elements;
    try {
        const functions::Matrix array = functions::arrayOf(*cell.args[0], whole);
        for (int r = row; r < row + rows; ++r)
            for (int c = col; c < col + cols; ++c) elements.push_back(array.spread(r, c));
    } catch (const functions::Failed& failed) {
        elements.assign(size_t(rows) * size_t(cols), Value::error(failed.code));
    }
    return elements;
}

Value Evaluator::arrayElement(const FormulaNode& cell) const
{
    return arrayElements(cell, cell.blockRow, cell.blockCol, 1, 1).front();
}

Value Evaluator::value(const FormulaNode& node) const
{
    switch (node.kind) {
    case FormulaNode::Kind::Number:
    case FormulaNode::Kind::Text:
    case FormulaNode::Kind::Bool:
    case FormulaNode::Kind::Error: return constant(node);
    case FormulaNode::Kind::Ref: return referenceValue(node);
    case FormulaNode::Kind::Area: return intersection(node);
    case FormulaNode::Kind::Unary: return applyUnary(node.text, value(*node.args[0]));
    case FormulaNode::Kind::Binary:
        return applyBinary(node.text, value(*node.args[0]), value(*node.args[1]));
    case FormulaNode::Kind::Function: return callFunction(node, *this);
    case FormulaNode::Kind::Paren:
    case FormulaNode::Kind::Name: return value(*node.args[0]);
    case FormulaNode::Kind::Missing: return Value();
    case FormulaNode::Kind::Array: return constant(*node.args[0]);   // where one value is wanted, the first
    case FormulaNode::Kind::Kept: return node.args.empty() ? node.cached : arrayElement(node);
    case FormulaNode::Kind::Intersection: {
        // Two references that share no cell give #NULL!, as the spreadsheet shows.
        const auto shared = area(node);
        if (!shared) return Value::error(ErrorCode::Null);
        if (shared->cellCount() != 1) return Value::error(ErrorCode::Value);
        return valueIn(*shared, shared->top, shared->left);
    }
    case FormulaNode::Kind::Union: return Value::error(ErrorCode::Value);
    }
    return Value::error(ErrorCode::Value);
}

} // namespace store::formula
