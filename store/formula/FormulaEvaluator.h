#pragma once

#include "store/formula/Formula.h"

#include <algorithm>
#include <optional>

namespace store::formula {

// The cells a reference or an area covers, 1-based and inclusive.
struct CellArea {
    int top = 1;
    int left = 1;
    int bottom = 1;
    int right = 1;

    // The area of a Ref or Area node, also inside parentheses; nothing for other nodes.
    static std::optional<CellArea> of(const FormulaNode& node);
    qint64 cellCount() const { return qint64(bottom - top + 1) * (right - left + 1); }
};

// Calls visit(value) for the cells of the area up to the sheet's last used row and column,
// so B2:B10000 on a short sheet stays cheap; the cells beyond are empty. visit returns false
// to stop. Returns how many cells were visited.
template <class Visit>
qint64 forEachUsedCell(const CellArea& area, const FormulaCells& cells, Visit visit)
{
    const int bottom = std::min(area.bottom, cells.lastRow());
    const int right = std::min(area.right, cells.lastColumn());
    qint64 visited = 0;
    for (int row = area.top; row <= bottom; ++row) {
        for (int col = area.left; col <= right; ++col) {
            ++visited;
            if (!visit(cells.valueAt(row, col))) return visited;
        }
    }
    return visited;
}

class Evaluator {
public:
    explicit Evaluator(const FormulaCells& cells) : cells_(cells) {}

    // The node's single value. A reference gives its cell's value (an empty cell stays
    // empty so operators can read it as 0 or ""); an area where one value is needed is #VALUE!.
    Value value(const FormulaNode& node) const;
    Value intersection(const FormulaNode& area) const;
    // The value of a literal: a number, text, boolean or error node.
    static Value constant(const FormulaNode& literal);

    // What functions read their reference arguments through. The area a reference argument
    // covers (a cell or a range, also in parentheses); nothing for an argument that is a value.
    // Functions that give a reference (INDEX, OFFSET, ...) give the area they point at.
    std::optional<CellArea> area(const FormulaNode& node) const;
    // The value of the cell (row, col) of the sheet the area lies on.
    Value valueIn(const CellArea&, int row, int col) const { return cells_.valueAt(row, col); }
    // forEachUsedCell over the area's sheet.
    template <class Visit>
    qint64 forEachCell(const CellArea& area, Visit visit) const { return forEachUsedCell(area, cells_, visit); }

private:
    const FormulaCells& cells_;
};

// A function call node; defined with the functions themselves.
Value callFunction(const FormulaNode& call, const Evaluator& evaluator);

} // namespace store::formula
