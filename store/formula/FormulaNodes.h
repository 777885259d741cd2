#pragma once

#include "store/formula/Formula.h"

namespace store::formula {

// Sheet limits of the .xls format.
constexpr int kMaxRow = 65536;
constexpr int kMaxColumn = 256;

inline bool insideSheet(int row, int col)
{
    return row >= 1 && row <= kMaxRow && col >= 1 && col <= kMaxColumn;
}

FormulaNodePtr makeNumber(double number);
FormulaNodePtr makeText(const QString& text);
FormulaNodePtr makeBool(bool value);
FormulaNodePtr makeError(ErrorCode code);
FormulaNodePtr makeRef(const FormulaRef& ref);
// Corners are put in order (top-left first), as a spreadsheet does when B5:A1 is typed.
FormulaNodePtr makeArea(const FormulaRef& first, const FormulaRef& second);
FormulaNodePtr makeUnary(const QString& op, FormulaNodePtr operand);
FormulaNodePtr makeBinary(const QString& op, FormulaNodePtr left, FormulaNodePtr right);
FormulaNodePtr makeFunction(const QString& upperName, std::vector<FormulaNodePtr> args);
// Elements row by row, columns of them to a row.
FormulaNodePtr makeArray(std::vector<FormulaNodePtr> elements, int columns);
FormulaNodePtr makeParen(FormulaNodePtr inner);
FormulaNodePtr makeMissing();
FormulaNodePtr makeIntersection(FormulaNodePtr left, FormulaNodePtr right);
FormulaNodePtr makeUnion(std::vector<FormulaNodePtr> parts);
// The workbook's name `name`, its place among the workbook's names (from 1) and its definition.
FormulaNodePtr makeName(const QString& name, int index, FormulaNodePtr definition);

// Whether test(node) holds for the node or any node below it.
template <class Test>
bool anyNode(const FormulaNode& root, const Test& test)
{
    std::vector<const FormulaNode*> nodes{&root};
    while (!nodes.empty()) {
        const FormulaNode* node = nodes.back();
        nodes.pop_back();
        if (test(*node)) return true;
        for (const auto& arg : node->args) nodes.push_back(arg.get());
    }
    return false;
}

// "A", "Z", "AA", "IV" for columns 1, 26, 27, 256.
QString columnName(int col);
// "B2", "$B$2", "B$2".
QString refToA1(const FormulaRef& ref);
// "Лист1!", "'Лист 1'!", "Лист1:Лист3!" before a Ref or Area; empty for the formula's own sheet.
QString sheetPrefix(const FormulaNode& reference);
// A Ref or Area node as typed, with its sheets: "Лист1!$A$1:B2", "C:C", "3:5".
QString referenceToA1(const FormulaNode& reference);

} // namespace store::formula
