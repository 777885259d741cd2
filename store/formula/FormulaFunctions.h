#pragma once

#include <QString>
#include <optional>

namespace store::formula {

// Functions this engine computes. The numbers are the function indexes of the .xls format.
enum class Function : int {
    If = 1,
    Sum = 4,
    Min = 6,
    Max = 7,
    Abs = 24,
    Round = 27,
    CountA = 169,
    CountIf = 346,
};

struct FunctionInfo {
    Function id;
    const char* name;   // the name the .xls format gives the index
    int minArgs;
    int maxArgs;
    // Bit i set: argument i takes a reference (a cell or a range), not just a value;
    // kAllReferenceArgs for functions such as SUM(a, b, c, ...) where every argument does.
    unsigned referenceArgs;

    bool fixedArgCount() const { return minArgs == maxArgs; }
    bool takesReference(int argIndex) const;
};

constexpr unsigned kAllReferenceArgs = ~0u;

// The most arguments a function call may have in an .xls file. A call of a function the engine
// does not know counts the function's name as one of them.
constexpr int kMaxFunctionArgs = 30;
// The longest name of a function the engine does not know that an .xls file can hold.
constexpr int kMaxFunctionNameLength = 255;

const FunctionInfo* findFunction(const QString& upperName);
const FunctionInfo* findFunction(int biffIndex);

} // namespace store::formula
