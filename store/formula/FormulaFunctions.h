#pragma once

#include "store/Value.h"

#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace store {
struct FormulaNode;
}

namespace store::formula {

class Evaluator;

// Functions this engine computes. The numbers are the function indexes of the .xls format.
enum class Function : int {
    Count = 0, If = 1, IsNA = 2, IsError = 3, Sum = 4, Average = 5, Min = 6, Max = 7, Row = 8, Column = 9,
    NA = 10, Npv = 11, StDev = 12, Fixed = 14, Pi = 19, Sqrt = 20, Exp = 21, Ln = 22, Log10 = 23,
    Abs = 24, Int = 25, Sign = 26, Round = 27, Lookup = 28, Index = 29, Rept = 30, Mid = 31, Len = 32,
    ValueOf = 33, True = 34, False = 35, And = 36, Or = 37, Not = 38, Mod = 39, Var = 46, Text = 48,
    Pv = 56, Fv = 57, NPer = 58, Pmt = 59, Rate = 60, Irr = 62, Rand = 63, Match = 64, Date = 65,
    Time = 66, Day = 67, Month = 68, Year = 69, Weekday = 70, Hour = 71, Minute = 72, Second = 73,
    Now = 74, Choose = 100, Rows = 76, Columns = 77, Offset = 78, Search = 82, Type = 86, HLookup = 101,
    VLookup = 102, IsRef = 105, Log = 109, Char = 111, Lower = 112, Upper = 113, Proper = 114,
    Left = 115, Right = 116, Exact = 117, Trim = 118, Replace = 119, Substitute = 120, Code = 121,
    Find = 124, IsErr = 126, IsText = 127, IsNumber = 128, IsBlank = 129, T = 130, N = 131,
    DateValue = 140, TimeValue = 141, Sln = 142, Syd = 143, Ddb = 144, Indirect = 148, Clean = 162,
    IPmt = 167, PPmt = 168, CountA = 169, Product = 183, IsNonText = 190, StDevP = 193, VarP = 194,
    Trunc = 197, IsLogical = 198, RoundUp = 212, RoundDown = 213, Rank = 216, Address = 219,
    Days360 = 220, Today = 221, Median = 227, SumProduct = 228, ErrorType = 261, Floor = 285,
    Ceiling = 288, Large = 325, Small = 326, Mode = 330, Concatenate = 336, Power = 337,
    Subtotal = 344, SumIf = 345, CountIf = 346, CountBlank = 347, DateDif = 351, AverageA = 361, MaxA = 362,
    MinA = 363,
};

using FunctionArgs = std::vector<std::shared_ptr<FormulaNode>>;
using Compute = Value (*)(const FunctionArgs& args, const Evaluator& evaluator);

struct FunctionInfo {
    Function id;
    const char* name;   // the name the .xls format gives the index
    int minArgs;
    int maxArgs;
    // The class each argument is written with, one letter an argument: V a value, R a reference
    // (a cell or a range), A an array (references and the operators over them give arrays). The
    // last letter stands for every further argument: "R" is SUM(a, b, c, ...).
    const char* classes;
    // Nothing where the function reads the formula's own cell (functions::callAtCell).
    Compute compute;
    // Gives something new each time it is computed, or reads cells its arguments do not name.
    bool isVolatile;

    bool fixedArgCount() const { return minArgs == maxArgs; }
    bool takesReference(int argIndex) const { return argClass(argIndex) == 'R'; }
    bool takesArray(int argIndex) const { return argClass(argIndex) == 'A'; }
    char argClass(int argIndex) const;
};

// The most arguments a function call may have in an .xls file. A call of a function the engine
// does not know counts the function's name as one of them.
constexpr int kMaxFunctionArgs = 30;
// The longest name of a function the engine does not know that an .xls file can hold.
constexpr int kMaxFunctionNameLength = 255;

const FunctionInfo* findFunction(const QString& upperName);
const FunctionInfo* findFunction(int biffIndex);

} // namespace store::formula
