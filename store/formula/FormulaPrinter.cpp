#include "store/formula/FormulaPrinter.h"

#include "store/formula/BiffFormulaText.h"
#include "store/formula/FormulaNodes.h"

namespace store::formula {

namespace {

// Binding strength of what a node prints as, as the parser reads it back. A child that
// binds more loosely than its place requires gets parentheses, so trees built in code or
// read from a file print as text that parses to the same tree.
enum Level : int {
    Loosest = 0,
    Comparison,
    Concatenation,
    Additive,
    Multiplicative,
    Power,
    Percent,
    Prefix,
    Primary,
};

Level binaryLevel(const QString& op)
{
    if (op == u"&") return Concatenation;
    if (op == u"+" || op == u"-") return Additive;
    if (op == u"*" || op == u"/") return Multiplicative;
    if (op == u"^") return Power;
    return Comparison;
}

Level levelOf(const FormulaNode& node)
{
    switch (node.kind) {
    case FormulaNode::Kind::Binary: return binaryLevel(node.text);
    case FormulaNode::Kind::Unary: return node.text == u"%" ? Percent : Prefix;
    default: return Primary;
    }
}

QString quoted(const QString& text)
{
    QString escaped = text;
    escaped.replace(u'"', QLatin1String("\"\""));
    return u'"' + escaped + u'"';
}

QString print(const FormulaNode& node, Level required);

// A formula kept from a file shows as the text of its tokens; where they cannot be read, or name
// what the workbook it was read from does not hold, as the value it gives.
QString keptText(const FormulaNode& node)
{
    const KeptContext none;
    const KeptContext& context = node.context ? *node.context : none;
    if (auto text = biffFormulaText(node.tokens, context.extra, context.place.get(), node.homeRow, node.homeCol))
        return *text;
    const Value& value = node.cached;
    switch (value.kind()) {
    case Value::Kind::Text: return quoted(value.text());
    case Value::Kind::Bool: return value.boolValue() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case Value::Kind::Error: return errorText(value.errorValue());
    case Value::Kind::Number: return numberToText(value.number());
    case Value::Kind::Empty: break;
    }
    return QStringLiteral("0");
}

QString printFunction(const FormulaNode& node)
{
    QString text = node.text + u'(';
    for (size_t i = 0; i < node.args.size(); ++i) {
        if (i > 0) text += u',';
        text += print(*node.args[i], Loosest);
    }
    return text + u')';
}

QString printBare(const FormulaNode& node);

QString printArray(const FormulaNode& node)
{
    QString text = QStringLiteral("{");
    for (size_t i = 0; i < node.args.size(); ++i) {
        if (i > 0) text += i % size_t(node.arrayColumns) ? u',' : u';';
        text += printBare(*node.args[i]);
    }
    return text + u'}';
}

QString printBare(const FormulaNode& node)
{
    switch (node.kind) {
    case FormulaNode::Kind::Number: return numberToText(node.number);
    case FormulaNode::Kind::Text: return quoted(node.text);
    case FormulaNode::Kind::Bool: return node.boolean ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case FormulaNode::Kind::Error: return errorText(node.error);
    case FormulaNode::Kind::Ref: return refToA1(node.ref);
    case FormulaNode::Kind::Area: return refToA1(node.ref) + u':' + refToA1(node.ref2);
    case FormulaNode::Kind::Unary:
        if (node.text == u"%") return print(*node.args[0], Percent) + u'%';
        return node.text + print(*node.args[0], Prefix);
    case FormulaNode::Kind::Binary: {
        const Level level = binaryLevel(node.text);
        return print(*node.args[0], level) + node.text + print(*node.args[1], Level(level + 1));
    }
    case FormulaNode::Kind::Function: return printFunction(node);
    case FormulaNode::Kind::Paren: return u'(' + print(*node.args[0], Loosest) + u')';
    case FormulaNode::Kind::Missing: return {};
    case FormulaNode::Kind::Array: return printArray(node);
    case FormulaNode::Kind::Kept: return keptText(node);
    }
    return {};
}

QString print(const FormulaNode& node, Level required)
{
    const QString text = printBare(node);
    return levelOf(node) < required ? u'(' + text + u')' : text;
}

} // namespace

QString printA1(const FormulaNode& node)
{
    return print(node, Loosest);
}

} // namespace store::formula
