#include "store/formula/FormulaFunctions.h"

#include <array>

namespace store::formula {

namespace {
constexpr std::array<FunctionInfo, 8> kFunctions{{
    {Function::If, "IF", 2, 3, 0},
    {Function::Sum, "SUM", 1, kMaxFunctionArgs, kAllReferenceArgs},
    {Function::Min, "MIN", 1, kMaxFunctionArgs, kAllReferenceArgs},
    {Function::Max, "MAX", 1, kMaxFunctionArgs, kAllReferenceArgs},
    {Function::Abs, "ABS", 1, 1, 0},
    {Function::Round, "ROUND", 2, 2, 0},
    {Function::CountA, "COUNTA", 1, kMaxFunctionArgs, kAllReferenceArgs},
    {Function::CountIf, "COUNTIF", 2, 2, 0b01},
}};
} // namespace

bool FunctionInfo::takesReference(int argIndex) const
{
    return argIndex < 32 && (referenceArgs >> argIndex) & 1u;
}

const FunctionInfo* findFunction(const QString& upperName)
{
    for (const auto& f : kFunctions)
        if (upperName == QLatin1String(f.name)) return &f;
    return nullptr;
}

const FunctionInfo* findFunction(int biffIndex)
{
    for (const auto& f : kFunctions)
        if (int(f.id) == biffIndex) return &f;
    return nullptr;
}

} // namespace store::formula
