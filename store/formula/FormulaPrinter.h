#pragma once

#include "store/formula/Formula.h"

namespace store::formula {

// The node in A1 style, without the leading "=".
QString printA1(const FormulaNode& node, const FormulaSyntax& syntax = {});

} // namespace store::formula
