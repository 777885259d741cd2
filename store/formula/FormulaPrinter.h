#pragma once

#include "store/formula/Formula.h"

namespace store::formula {

// The node in A1 style, without the leading "=".
QString printA1(const FormulaNode& node, const FormulaSyntax& syntax = {});
// A number's text written with "." ("2.5") with the syntax's decimal mark instead.
QString withDecimalMark(QString numberText, const FormulaSyntax& syntax);

} // namespace store::formula
