#pragma once

// The functions the engine computes, by family; FormulaFunctions.cpp lists them with their
// names and arguments.
#include "store/formula/FormulaFunctions.h"

namespace store::formula::functions {

#define TERVIN_FUNCTION(name) Value name(const FunctionArgs& args, const Evaluator& evaluator)

// Math.cpp
TERVIN_FUNCTION(sum); TERVIN_FUNCTION(sumIf); TERVIN_FUNCTION(sumProduct); TERVIN_FUNCTION(product);
TERVIN_FUNCTION(absolute); TERVIN_FUNCTION(round); TERVIN_FUNCTION(roundUp); TERVIN_FUNCTION(roundDown);
TERVIN_FUNCTION(trunc); TERVIN_FUNCTION(integer); TERVIN_FUNCTION(mod); TERVIN_FUNCTION(ceiling);
TERVIN_FUNCTION(floor); TERVIN_FUNCTION(squareRoot); TERVIN_FUNCTION(power); TERVIN_FUNCTION(subtotal);
TERVIN_FUNCTION(naturalLog); TERVIN_FUNCTION(log); TERVIN_FUNCTION(log10); TERVIN_FUNCTION(exp);
TERVIN_FUNCTION(pi); TERVIN_FUNCTION(random); TERVIN_FUNCTION(sign);

// Text.cpp
TERVIN_FUNCTION(length); TERVIN_FUNCTION(left); TERVIN_FUNCTION(right); TERVIN_FUNCTION(mid);
TERVIN_FUNCTION(find); TERVIN_FUNCTION(search); TERVIN_FUNCTION(substitute); TERVIN_FUNCTION(replace);
TERVIN_FUNCTION(trim); TERVIN_FUNCTION(upper); TERVIN_FUNCTION(lower); TERVIN_FUNCTION(proper);
TERVIN_FUNCTION(text); TERVIN_FUNCTION(value); TERVIN_FUNCTION(concatenate); TERVIN_FUNCTION(fixed);
TERVIN_FUNCTION(repeat); TERVIN_FUNCTION(character); TERVIN_FUNCTION(code); TERVIN_FUNCTION(exact);
TERVIN_FUNCTION(clean); TERVIN_FUNCTION(textOnly);

// Dates.cpp
TERVIN_FUNCTION(today); TERVIN_FUNCTION(now); TERVIN_FUNCTION(date); TERVIN_FUNCTION(year);
TERVIN_FUNCTION(month); TERVIN_FUNCTION(day); TERVIN_FUNCTION(weekday); TERVIN_FUNCTION(dateValue);
TERVIN_FUNCTION(time); TERVIN_FUNCTION(hour); TERVIN_FUNCTION(minute); TERVIN_FUNCTION(second);
TERVIN_FUNCTION(timeValue); TERVIN_FUNCTION(days360); TERVIN_FUNCTION(dateDif);

// Lookup.cpp
TERVIN_FUNCTION(vlookup); TERVIN_FUNCTION(hlookup); TERVIN_FUNCTION(lookup); TERVIN_FUNCTION(match);
TERVIN_FUNCTION(index); TERVIN_FUNCTION(choose); TERVIN_FUNCTION(offset);
TERVIN_FUNCTION(row); TERVIN_FUNCTION(rows); TERVIN_FUNCTION(column); TERVIN_FUNCTION(columns);
TERVIN_FUNCTION(address);

// Information.cpp: logic and what a value is
TERVIN_FUNCTION(ifFunction); TERVIN_FUNCTION(all); TERVIN_FUNCTION(any); TERVIN_FUNCTION(negation);
TERVIN_FUNCTION(trueValue); TERVIN_FUNCTION(falseValue); TERVIN_FUNCTION(isBlank); TERVIN_FUNCTION(isError);
TERVIN_FUNCTION(isNA); TERVIN_FUNCTION(isNumber); TERVIN_FUNCTION(isText); TERVIN_FUNCTION(isErr);
TERVIN_FUNCTION(isLogical); TERVIN_FUNCTION(isNonText); TERVIN_FUNCTION(isRef); TERVIN_FUNCTION(notAvailable);
TERVIN_FUNCTION(numberOnly); TERVIN_FUNCTION(type); TERVIN_FUNCTION(errorType);

// Statistics.cpp
TERVIN_FUNCTION(count); TERVIN_FUNCTION(countA); TERVIN_FUNCTION(countIf); TERVIN_FUNCTION(countBlank);
TERVIN_FUNCTION(average); TERVIN_FUNCTION(averageA); TERVIN_FUNCTION(min); TERVIN_FUNCTION(max);
TERVIN_FUNCTION(minA); TERVIN_FUNCTION(maxA); TERVIN_FUNCTION(large); TERVIN_FUNCTION(small);
TERVIN_FUNCTION(rank); TERVIN_FUNCTION(median); TERVIN_FUNCTION(mode); TERVIN_FUNCTION(stDev);
TERVIN_FUNCTION(stDevP); TERVIN_FUNCTION(var); TERVIN_FUNCTION(varP);

// Finance.cpp
TERVIN_FUNCTION(pmt); TERVIN_FUNCTION(pv); TERVIN_FUNCTION(fv); TERVIN_FUNCTION(npv); TERVIN_FUNCTION(irr);
TERVIN_FUNCTION(rate); TERVIN_FUNCTION(nper); TERVIN_FUNCTION(ipmt); TERVIN_FUNCTION(ppmt);
TERVIN_FUNCTION(sln); TERVIN_FUNCTION(syd); TERVIN_FUNCTION(ddb);

#undef TERVIN_FUNCTION

// A function that reads the formula's own cell: ROW() and COLUMN() without arguments, INDIRECT.
Value callAtCell(const FormulaNode& call, const Evaluator& evaluator);

// The area a function gives where it gives a reference (INDEX, OFFSET, INDIRECT, CHOOSE); nothing
// where it gives a value.
std::optional<CellArea> referenceOf(const FormulaNode& call, const Evaluator& evaluator);

} // namespace store::formula::functions
