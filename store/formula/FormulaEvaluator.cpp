#include "store/formula/FormulaEvaluator.h"

#include "store/formula/FormulaOperators.h"
#include "store/formula/functions/Functions.h"

namespace store::formula {

std::optional<CellArea> CellArea::of(const FormulaNode& node)
{
    switch (node.kind) {
    case FormulaNode::Kind::Ref: return CellArea{node.ref.row, node.ref.col, node.ref.row, node.ref.col};
    case FormulaNode::Kind::Area:
        return CellArea{std::min(node.ref.row, node.ref2.row), std::min(node.ref.col, node.ref2.col),
                        std::max(node.ref.row, node.ref2.row), std::max(node.ref.col, node.ref2.col)};
    case FormulaNode::Kind::Paren: return of(*node.args[0]);
    default: return std::nullopt;
    }
}

std::optional<CellArea> Evaluator::area(const FormulaNode& node) const
{
    if (node.kind == FormulaNode::Kind::Function) return functions::referenceOf(node, *this);
    return CellArea::of(node);
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
// one-column area) or column (a one-row area); otherwise #VALUE!.
Value Evaluator::intersection(const FormulaNode& area) const
{
    const CellArea cells = *CellArea::of(area);
    if (area.homeRow > 0 && cells.left == cells.right && area.homeRow >= cells.top && area.homeRow <= cells.bottom)
        return cells_.valueAt(area.homeRow, cells.left);
    if (area.homeCol > 0 && cells.top == cells.bottom && area.homeCol >= cells.left && area.homeCol <= cells.right)
        return cells_.valueAt(cells.top, area.homeCol);
    return Value::error(ErrorCode::Value);
}

Value Evaluator::value(const FormulaNode& node) const
{
    switch (node.kind) {
    case FormulaNode::Kind::Number:
    case FormulaNode::Kind::Text:
    case FormulaNode::Kind::Bool:
    case FormulaNode::Kind::Error: return constant(node);
    case FormulaNode::Kind::Ref: return cells_.valueAt(node.ref.row, node.ref.col);
    case FormulaNode::Kind::Area: return intersection(node);
    case FormulaNode::Kind::Unary: return applyUnary(node.text, value(*node.args[0]));
    case FormulaNode::Kind::Binary:
        return applyBinary(node.text, value(*node.args[0]), value(*node.args[1]));
    case FormulaNode::Kind::Function: return callFunction(node, *this);
    case FormulaNode::Kind::Paren: return value(*node.args[0]);
    case FormulaNode::Kind::Missing: return Value();
    case FormulaNode::Kind::Array: return constant(*node.args[0]);   // where one value is wanted, the first
    case FormulaNode::Kind::Kept: return node.cached;
    }
    return Value::error(ErrorCode::Value);
}

} // namespace store::formula
