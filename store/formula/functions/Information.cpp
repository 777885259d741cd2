// Logic, and what kind of value an argument is.
#include "store/formula/functions/Arguments.h"
#include "store/formula/functions/Functions.h"

namespace store::formula::functions {

namespace {

// The truth values AND and OR combine: in references the booleans and numbers (text and blanks
// are passed over), other arguments as conditions. None at all is #VALUE!.
std::vector<bool> truthsOf(const Args& args, const Evaluator& evaluator)
{
    std::vector<bool> truths;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool many = forEachCellOrElement(*args[i], evaluator, [&](const Value& v) {
            if (v.isError()) fail(v.errorValue());
            if (v.isBool() || v.isNumber()) truths.push_back(*truthOf(v));
        });
        if (!many && given(args, i)) {
            truths.push_back(truthArg(args, i, evaluator));
        }
    }
    if (truths.empty()) fail(ErrorCode::Value);
    return truths;
}

Value isKind(const Args& args, const Evaluator& evaluator, Value::Kind kind)
{
    return Value::boolean(evaluator.value(*args[0]).kind() == kind);
}

} // namespace

// Only the branch taken is computed.
Value ifFunction(const Args& args, const Evaluator& evaluator)
{
    if (truthArg(args, 0, evaluator)) return evaluator.value(*args[1]);
    return args.size() > 2 ? evaluator.value(*args[2]) : Value::boolean(false);
}

Value all(const Args& args, const Evaluator& evaluator)
{
    const auto truths = truthsOf(args, evaluator);
    return Value::boolean(std::all_of(truths.begin(), truths.end(), [](bool t) { return t; }));
}

Value any(const Args& args, const Evaluator& evaluator)
{
    const auto truths = truthsOf(args, evaluator);
    return Value::boolean(std::any_of(truths.begin(), truths.end(), [](bool t) { return t; }));
}

Value negation(const Args& args, const Evaluator& evaluator)
{
    return Value::boolean(!truthArg(args, 0, evaluator));
}

Value trueValue(const Args&, const Evaluator&)
{
    return Value::boolean(true);
}

Value falseValue(const Args&, const Evaluator&)
{
    return Value::boolean(false);
}

Value isBlank(const Args& args, const Evaluator& evaluator)
{
    return isKind(args, evaluator, Value::Kind::Empty);
}

Value isError(const Args& args, const Evaluator& evaluator)
{
    return isKind(args, evaluator, Value::Kind::Error);
}

Value isNA(const Args& args, const Evaluator& evaluator)
{
    return Value::boolean(evaluator.value(*args[0]) == Value::error(ErrorCode::NA));
}

Value isNumber(const Args& args, const Evaluator& evaluator)
{
    return isKind(args, evaluator, Value::Kind::Number);
}

Value isText(const Args& args, const Evaluator& evaluator)
{
    return isKind(args, evaluator, Value::Kind::Text);
}

Value isErr(const Args& args, const Evaluator& evaluator)
{
    const Value v = evaluator.value(*args[0]);
    return Value::boolean(v.isError() && v.errorValue() != ErrorCode::NA);
}

Value isLogical(const Args& args, const Evaluator& evaluator)
{
    return isKind(args, evaluator, Value::Kind::Bool);
}

Value isNonText(const Args& args, const Evaluator& evaluator)
{
    return Value::boolean(!evaluator.value(*args[0]).isText());
}

Value isRef(const Args& args, const Evaluator& evaluator)
{
    return Value::boolean(evaluator.area(*args[0]).has_value());
}

Value notAvailable(const Args&, const Evaluator&)
{
    return Value::error(ErrorCode::NA);
}

// Numbers as they are, TRUE as 1, anything else 0; errors stay.
Value numberOnly(const Args& args, const Evaluator& evaluator)
{
    const Value v = valueArg(args, 0, evaluator);
    if (v.isNumber()) return v;
    return Value(v.isBool() && v.boolValue() ? 1.0 : 0.0);
}

// 1 number (also blank), 2 text, 4 boolean, 16 error, 64 array.
Value type(const Args& args, const Evaluator& evaluator)
{
    if (args[0]->kind == FormulaNode::Kind::Array) return Value(64.0);
    switch (evaluator.value(*args[0]).kind()) {
    case Value::Kind::Text: return Value(2.0);
    case Value::Kind::Bool: return Value(4.0);
    case Value::Kind::Error: return Value(16.0);
    default: return Value(1.0);
    }
}

Value errorType(const Args& args, const Evaluator& evaluator)
{
    static constexpr ErrorCode kInOrder[] = {ErrorCode::Null, ErrorCode::Div0, ErrorCode::Value, ErrorCode::Ref,
                                             ErrorCode::Name, ErrorCode::Num, ErrorCode::NA};
    const Value v = evaluator.value(*args[0]);
    if (!v.isError()) fail(ErrorCode::NA);
    const auto at = std::find(std::begin(kInOrder), std::end(kInOrder), v.errorValue());
    return Value(double(at - std::begin(kInOrder) + 1));
}

} // namespace store::formula::functions
