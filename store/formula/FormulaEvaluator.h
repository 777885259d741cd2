#pragma once

#include "store/formula/Formula.h"

#include <algorithm>
#include <optional>

namespace store::formula {

// The cells a reference or an area covers, 1-based and inclusive, on the sheets it lies on.
struct CellArea {
    int top = 1;
    int left = 1;
    int bottom = 1;
    int right = 1;
    // The sheets, in tab order (several for Лист1:Лист3!A1); empty for the formula's own sheet.
    std::vector<const FormulaCells*> sheets;

    // The area of a Ref or Area node of the formula's own sheet, also inside parentheses;
    // nothing for other nodes.
    static std::optional<CellArea> of(const FormulaNode& node);
    qint64 cellCount() const
    {
        return qint64(bottom - top + 1) * (right - left + 1) * qint64(std::max<size_t>(sheets.size(), 1));
    }
};

// Calls visit(value) for the cells of the area up to the sheet's last used row and column,
// so B2:B10000 on a short sheet stays cheap; the cells beyond are empty. visit returns false
// to stop; stopped tells whether it did. Returns how many cells were visited.
template <class Visit>
qint64 forEachUsedCell(const CellArea& area, const FormulaCells& cells, Visit visit, bool* stopped = nullptr)
{
    const int bottom = std::min(area.bottom, cells.lastRow());
    const int right = std::min(area.right, cells.lastColumn());
    qint64 visited = 0;
    for (int row = area.top; row <= bottom; ++row) {
        for (int col = area.left; col <= right; ++col) {
            ++visited;
            if (!visit(cells.valueAt(row, col))) {
                if (stopped) *stopped = true;
                return visited;
            }
        }
    }
    return visited;
}

class Evaluator {
public:
    explicit Evaluator(const FormulaCells& cells, bool inArrayFormula = false)
        : cells_(cells), inArrayFormula_(inArrayFormula)
    {
    }
    // Computing an array formula: every operation takes its arguments as arrays, so
    // SUM(A1:A3*B1:B3) sums the products.
    bool inArrayFormula() const { return inArrayFormula_; }
    // The cells of the formula's sheet, with the other sheets of its workbook.
    const FormulaCells& cells() const { return cells_; }

    // The node's single value. A reference gives its cell's value (an empty cell stays
    // empty so operators can read it as 0 or ""); an area where one value is needed is #VALUE!.
    Value value(const FormulaNode& node) const;
    Value intersection(const FormulaNode& area) const;
    // What to add to a date of the workbook to count it from 1900, as date functions do: the
    // days from 1 January 1900 to 1 January 1904 in a workbook that counts from 1904.
    double dateShift() const { return cells_.dates1904() ? 1462 : 0; }
    // The value of a literal: a number, text, boolean or error node.
    static Value constant(const FormulaNode& literal);

    // What functions read their reference arguments through. The area a reference argument
    // covers (a cell, a range, the same cells of several sheets, the cells two references share,
    // also in parentheses); nothing for an argument that is a value or a union of references.
    // Functions that give a reference (INDEX, OFFSET, ...) give the area they point at.
    std::optional<CellArea> area(const FormulaNode& node) const;
    // The areas of a union (A1:A3,C1:C3), or the one area of any other reference; none for a value.
    std::vector<CellArea> areas(const FormulaNode& node) const;
    // The value of the cell (row, col) of the (first) sheet the area lies on.
    Value valueIn(const CellArea& area, int row, int col) const { return firstSheet(area).valueAt(row, col); }
    // forEachUsedCell over the area's sheets.
    template <class Visit>
    qint64 forEachCell(const CellArea& area, Visit visit) const
    {
        if (area.sheets.empty()) return forEachUsedCell(area, cells_, visit);
        qint64 visited = 0;
        bool stopped = false;
        for (const FormulaCells* sheet : area.sheets) {
            visited += forEachUsedCell(area, *sheet, visit, &stopped);
            if (stopped) break;
        }
        return visited;
    }

    // A kept cell of an array formula: the elements of what its formula gives at rows × cols
    // places from (row, col) of its block, row by row. An array too large to hold gives its error
    // in each.
    std::vector<Value> arrayElements(const FormulaNode& cell, int row, int col, int rows, int cols) const;

private:
    const FormulaCells& firstSheet(const CellArea& area) const
    {
        return area.sheets.empty() ? cells_ : *area.sheets.front();
    }
    // The area of a Ref or Area node on the sheets it names; nothing where a sheet is gone.
    std::optional<CellArea> referenceArea(const FormulaNode& node) const;
    Value referenceValue(const FormulaNode& node) const;

    // A kept cell of an array formula: its element of what the formula gives.
    Value arrayElement(const FormulaNode& cell) const;

    const FormulaCells& cells_;
    bool inArrayFormula_;
};

// A function call node; defined with the functions themselves.
Value callFunction(const FormulaNode& call, const Evaluator& evaluator);

} // namespace store::formula
