#include "store/formula/FormulaFunctions.h"

#include "store/formula/BiffFunctionNames.h"

#include <algorithm>
#include <array>

namespace store::formula {

namespace {

// A function the engine computes: its name, and its argument count where the format fixes one,
// come from the format's table; a call whose count varies takes minArgs to maxArgs arguments.
constexpr FunctionInfo computed(Function id, unsigned referenceArgs, int minArgs = -1, int maxArgs = -1)
{
    const BiffFunctionName& format = kBiffFunctionNames[std::size_t(id)];
    if (format.fixedArgs >= 0) return {id, format.name, format.fixedArgs, format.fixedArgs, referenceArgs};
    return {id, format.name, minArgs, maxArgs, referenceArgs};
}

constexpr std::array<FunctionInfo, 8> kFunctions{{
    computed(Function::If, 0, 2, 3),
    computed(Function::Sum, kAllReferenceArgs, 1, kMaxFunctionArgs),
    computed(Function::Min, kAllReferenceArgs, 1, kMaxFunctionArgs),
    computed(Function::Max, kAllReferenceArgs, 1, kMaxFunctionArgs),
    computed(Function::Abs, 0),
    computed(Function::Round, 0),
    computed(Function::CountA, kAllReferenceArgs, 1, kMaxFunctionArgs),
    computed(Function::CountIf, 0b01),
}};

// Every function has its count: fixed by the format or given here.
static_assert(std::all_of(kFunctions.begin(), kFunctions.end(), [](const FunctionInfo& f) { return f.minArgs >= 0; }));

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
