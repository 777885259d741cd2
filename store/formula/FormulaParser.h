#pragma once

#include "store/formula/Formula.h"

namespace store::formula {

enum class RefStyle { A1, R1C1 };

// The tree of a formula typed as "=...", references resolved against the cell (row, col).
// Throws store::Error naming the formula and what is wrong with it.
FormulaNodePtr parseFormulaText(const QString& text, RefStyle style, int row, int col,
                                const FormulaSyntax& syntax = {}, const DefinedNames& names = {});

} // namespace store::formula
