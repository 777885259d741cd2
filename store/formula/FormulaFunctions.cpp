#include "store/formula/FormulaFunctions.h"

#include "store/formula/BiffFunctionNames.h"
#include "store/formula/functions/Arguments.h"
#include "store/formula/functions/Functions.h"

#include <QHash>
#include <algorithm>
#include <array>
#include <cstring>

namespace store::formula {

using namespace functions;

namespace {

constexpr int kVaries = kMaxFunctionArgs;

// A function the engine computes: its name, and its argument count where the format fixes one,
// come from the format's table; a call whose count varies takes minArgs to maxArgs arguments.
constexpr FunctionInfo computed(Function id, const char* classes, Compute compute, int minArgs = -1,
                                int maxArgs = -1, bool isVolatile = false)
{
    const BiffFunctionName& format = kBiffFunctionNames[std::size_t(id)];
    if (format.fixedArgs >= 0)
        return {id, format.name, format.fixedArgs, format.fixedArgs, classes, compute, isVolatile};
    return {id, format.name, minArgs, maxArgs, classes, compute, isVolatile};
}

constexpr FunctionInfo fixedVolatile(Function id, Compute compute)
{
    return computed(id, "V", compute, -1, -1, true);
}

// The argument classes are those the spreadsheet writes for each function, so a call written
// here reads the same in every program.
constexpr auto kFunctions = std::to_array<FunctionInfo>({
    // Math
    computed(Function::Sum, "R", sum, 1, kVaries),
    computed(Function::SumIf, "RVR", sumIf, 2, 3),
    computed(Function::SumProduct, "A", sumProduct, 1, kVaries),
    computed(Function::Product, "R", product, 1, kVaries),
    computed(Function::Abs, "V", absolute),
    computed(Function::Round, "V", round),
    computed(Function::RoundUp, "V", roundUp),
    computed(Function::RoundDown, "V", roundDown),
    computed(Function::Trunc, "V", trunc, 1, 2),
    computed(Function::Int, "V", integer),
    computed(Function::Mod, "V", mod),
    computed(Function::Ceiling, "V", ceiling),
    computed(Function::Floor, "V", floor),
    computed(Function::Sqrt, "V", squareRoot),
    computed(Function::Power, "V", power),
    computed(Function::Subtotal, "VR", subtotal, 2, kVaries),
    computed(Function::Ln, "V", naturalLog),
    computed(Function::Log, "V", log, 1, 2),
    computed(Function::Log10, "V", log10),
    computed(Function::Exp, "V", exp),
    computed(Function::Pi, "V", pi),
    fixedVolatile(Function::Rand, random),
    computed(Function::Sign, "V", sign),
    // Text
    computed(Function::Len, "V", length),
    computed(Function::Left, "V", left, 1, 2),
    computed(Function::Right, "V", right, 1, 2),
    computed(Function::Mid, "V", mid),
    computed(Function::Find, "V", find, 2, 3),
    computed(Function::Search, "V", search, 2, 3),
    computed(Function::Substitute, "V", substitute, 3, 4),
    computed(Function::Replace, "V", replace),
    computed(Function::Trim, "V", trim),
    computed(Function::Upper, "V", upper),
    computed(Function::Lower, "V", lower),
    computed(Function::Proper, "V", proper),
    computed(Function::Text, "V", text),
    computed(Function::ValueOf, "V", value),
    computed(Function::Concatenate, "V", concatenate, 1, kVaries),
    computed(Function::Fixed, "V", fixed, 1, 3),
    computed(Function::Rept, "V", repeat),
    computed(Function::Char, "V", character),
    computed(Function::Code, "V", code),
    computed(Function::Exact, "V", exact),
    computed(Function::Clean, "V", clean),
    computed(Function::T, "V", textOnly),
    // Dates
    fixedVolatile(Function::Today, today),
    fixedVolatile(Function::Now, now),
    computed(Function::Date, "V", date),
    computed(Function::Year, "V", year),
    computed(Function::Month, "V", month),
    computed(Function::Day, "V", day),
    computed(Function::Weekday, "V", weekday, 1, 2),
    computed(Function::DateValue, "V", dateValue),
    computed(Function::Time, "V", time),
    computed(Function::Hour, "V", hour),
    computed(Function::Minute, "V", minute),
    computed(Function::Second, "V", second),
    computed(Function::TimeValue, "V", timeValue),
    computed(Function::Days360, "V", days360, 2, 3),
    computed(Function::DateDif, "V", dateDif),
    // Lookup
    computed(Function::VLookup, "VRV", vlookup, 3, 4),
    computed(Function::HLookup, "VRV", hlookup, 3, 4),
    computed(Function::Lookup, "VR", lookup, 2, 3),
    computed(Function::Match, "VRR", match, 2, 3),
    computed(Function::Index, "RV", index, 1, 4),
    computed(Function::Choose, "VR", choose, 2, kVaries),
    computed(Function::Offset, "RV", offset, 3, 5, true),
    computed(Function::Indirect, "V", nullptr, 1, 2, true),
    computed(Function::Row, "R", row, 0, 1),
    computed(Function::Rows, "R", rows),
    computed(Function::Column, "R", column, 0, 1),
    computed(Function::Columns, "R", columns),
    computed(Function::Address, "V", address, 2, 5),
    // Logic and information
    computed(Function::If, "V", ifFunction, 2, 3),
    computed(Function::And, "R", all, 1, kVaries),
    computed(Function::Or, "R", any, 1, kVaries),
    computed(Function::Not, "V", negation),
    computed(Function::True, "V", trueValue),
    computed(Function::False, "V", falseValue),
    computed(Function::IsBlank, "V", isBlank),
    computed(Function::IsError, "V", isError),
    computed(Function::IsNA, "V", isNA),
    computed(Function::IsNumber, "V", isNumber),
    computed(Function::IsText, "V", isText),
    computed(Function::IsErr, "V", isErr),
    computed(Function::IsLogical, "V", isLogical),
    computed(Function::IsNonText, "V", isNonText),
    computed(Function::IsRef, "R", isRef),
    computed(Function::NA, "V", notAvailable),
    computed(Function::N, "V", numberOnly),
    computed(Function::Type, "V", type),
    computed(Function::ErrorType, "V", errorType),
    // Statistics
    computed(Function::Count, "R", count, 1, kVaries),
    computed(Function::CountA, "R", countA, 1, kVaries),
    computed(Function::CountIf, "RV", countIf),
    computed(Function::CountBlank, "R", countBlank),
    computed(Function::Average, "R", average, 1, kVaries),
    computed(Function::AverageA, "R", averageA, 1, kVaries),
    computed(Function::Min, "R", min, 1, kVaries),
    computed(Function::Max, "R", max, 1, kVaries),
    computed(Function::MinA, "R", minA, 1, kVaries),
    computed(Function::MaxA, "R", maxA, 1, kVaries),
    computed(Function::Large, "RV", large),
    computed(Function::Small, "RV", small),
    computed(Function::Rank, "VRV", rank, 2, 3),
    computed(Function::Median, "R", median, 1, kVaries),
    computed(Function::Mode, "R", mode, 1, kVaries),
    computed(Function::StDev, "R", stDev, 1, kVaries),
    computed(Function::StDevP, "R", stDevP, 1, kVaries),
    computed(Function::Var, "R", var, 1, kVaries),
    computed(Function::VarP, "R", varP, 1, kVaries),
    // Finance
    computed(Function::Pmt, "V", pmt, 3, 5),
    computed(Function::Pv, "V", pv, 3, 5),
    computed(Function::Fv, "V", fv, 3, 5),
    computed(Function::Npv, "VR", npv, 2, kVaries),
    computed(Function::Irr, "RV", irr, 1, 2),
    computed(Function::Rate, "V", rate, 3, 6),
    computed(Function::NPer, "V", nper, 3, 5),
    computed(Function::IPmt, "V", ipmt, 4, 6),
    computed(Function::PPmt, "V", ppmt, 4, 6),
    computed(Function::Sln, "V", sln),
    computed(Function::Syd, "V", syd),
    computed(Function::Ddb, "V", ddb, 4, 5),
});

// Every function has its count, fixed by the format or given here, and a class for its arguments.
static_assert(std::all_of(kFunctions.begin(), kFunctions.end(),
                          [](const FunctionInfo& f) { return f.minArgs >= 0 && f.classes[0] != 0; }));

} // namespace

Value callFunction(const FormulaNode& call, const Evaluator& evaluator)
{
    const FunctionInfo* info = findFunction(call.text);
    if (!info) return Value::error(ErrorCode::Name);
    const int count = int(call.args.size());
    if (count < info->minArgs || count > info->maxArgs) return Value::error(ErrorCode::Value);
    try {
        const bool atCell = !info->compute || (count == 0 && (info->id == Function::Row || info->id == Function::Column));
        const Value result = atCell ? callAtCell(call, evaluator) : info->compute(call.args, evaluator);
        if (result.isNumber()) return numberResult(result.number());
        return result;
    } catch (const Failed& failed) {
        return Value::error(failed.code);
    }
}

char FunctionInfo::argClass(int argIndex) const
{
    const int last = int(std::strlen(classes)) - 1;
    return classes[std::min(argIndex, last)];
}

// Looked up on every call a formula makes: by name through a table made once.
const FunctionInfo* findFunction(const QString& upperName)
{
    static const QHash<QString, const FunctionInfo*> byName = [] {
        QHash<QString, const FunctionInfo*> table;
        for (const auto& f : kFunctions) table.insert(QLatin1String(f.name), &f);
        return table;
    }();
    return byName.value(upperName);
}

const FunctionInfo* findFunction(int biffIndex)
{
    for (const auto& f : kFunctions)
        if (int(f.id) == biffIndex) return &f;
    return nullptr;
}

} // namespace store::formula
