#include "store/formula/FormulaPrinter.h"

#include "store/formula/BiffFormulaText.h"
#include "store/formula/FormulaNodes.h"

#include <charconv>

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

// The shortest text that reads back as the same number: laid out plainly where that is short,
// else with an exponent ("1E+308" rather than 309 digits).
QString shortestNumberText(double number)
{
    const QString plain = numberToText(number);
    constexpr int kLongestPlain = 17;
    if (plain.size() <= kLongestPlain) return plain;
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::scientific).ptr;
    return QString::fromLatin1(buffer, int(end - buffer)).toUpper();
}

// Numbers typed show as typed, others in the shortest form that reads back the same; either
// with the syntax's decimal mark.
QString numberText(const FormulaNode& node, const FormulaSyntax& syntax)
{
    return withDecimalMark(node.text.isEmpty() ? shortestNumberText(node.number) : node.text, syntax);
}

Level levelOf(const FormulaNode& node)
{
    switch (node.kind) {
    case FormulaNode::Kind::Binary: return binaryLevel(node.text);
    case FormulaNode::Kind::Unary: return node.text == u"%" ? Percent : Prefix;
    case FormulaNode::Kind::Union: return Loosest;   // only ever inside parentheses
    default: return Primary;
    }
}

QString quoted(const QString& text)
{
    QString escaped = text;
    escaped.replace(u'"', QLatin1String("\"\""));
    return u'"' + escaped + u'"';
}

QString print(const FormulaNode& node, Level required, const FormulaSyntax& syntax);

// A formula kept from a file shows as the text of its tokens; where they cannot be read, or name
// what the workbook it was read from does not hold, as the value it gives.
QString keptText(const FormulaNode& node, const FormulaSyntax& syntax)
{
    const KeptContext none;
    const KeptContext& context = node.context ? *node.context : none;
    if (auto text = biffFormulaText(node.tokens, context.extra, context.place.get(), node.homeRow, node.homeCol,
                                     syntax))
        return *text;
    const Value& value = node.cached;
    switch (value.kind()) {
    case Value::Kind::Text: return quoted(value.text());
    case Value::Kind::Bool: return value.boolValue() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case Value::Kind::Error: return errorText(value.errorValue());
    case Value::Kind::Number: return withDecimalMark(numberToText(value.number()), syntax);
    case Value::Kind::Empty: break;
    }
    return QStringLiteral("0");
}

QString printList(const FormulaNode& node, const FormulaSyntax& syntax)
{
    QString text;
    for (size_t i = 0; i < node.args.size(); ++i) {
        if (i > 0) text += syntax.argumentSeparator;
        text += print(*node.args[i], Loosest, syntax);
    }
    return text;
}

QString printBare(const FormulaNode& node, const FormulaSyntax& syntax);

QString printArray(const FormulaNode& node, const FormulaSyntax& syntax)
{
    QString text = QStringLiteral("{");
    for (size_t i = 0; i < node.args.size(); ++i) {
        if (i > 0) text += i % size_t(node.arrayColumns) ? syntax.argumentSeparator : syntax.arrayRowSeparator();
        text += printBare(*node.args[i], syntax);
    }
    return text + u'}';
}

QString printBare(const FormulaNode& node, const FormulaSyntax& syntax)
{
    switch (node.kind) {
    case FormulaNode::Kind::Number: return numberText(node, syntax);
    case FormulaNode::Kind::Text: return quoted(node.text);
    case FormulaNode::Kind::Bool: return node.boolean ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case FormulaNode::Kind::Error: return errorText(node.error);
    case FormulaNode::Kind::Ref:
    case FormulaNode::Kind::Area: return referenceToA1(node);
    case FormulaNode::Kind::Unary:
        if (node.text == u"%") return print(*node.args[0], Percent, syntax) + u'%';
        return node.text + print(*node.args[0], Prefix, syntax);
    case FormulaNode::Kind::Binary: {
        const Level level = binaryLevel(node.text);
        return print(*node.args[0], level, syntax) + node.text + print(*node.args[1], Level(level + 1), syntax);
    }
    case FormulaNode::Kind::Function: return node.text + u'(' + printList(node, syntax) + u')';
    case FormulaNode::Kind::Paren: return u'(' + print(*node.args[0], Loosest, syntax) + u')';
    case FormulaNode::Kind::Missing: return {};
    case FormulaNode::Kind::Array: return printArray(node, syntax);
    case FormulaNode::Kind::Kept: return keptText(node, syntax);
    case FormulaNode::Kind::Intersection:
        return print(*node.args[0], Primary, syntax) + u' ' + print(*node.args[1], Primary, syntax);
    case FormulaNode::Kind::Union: return printList(node, syntax);
    case FormulaNode::Kind::Name: return node.text;
    }
    return {};
}

QString print(const FormulaNode& node, Level required, const FormulaSyntax& syntax)
{
    const QString text = printBare(node, syntax);
    return levelOf(node) < required ? u'(' + text + u')' : text;
}

} // namespace

QString withDecimalMark(QString numberText, const FormulaSyntax& syntax)
{
    if (syntax.decimalMark != u'.') numberText.replace(u'.', syntax.decimalMark);
    return numberText;
}

QString printA1(const FormulaNode& node, const FormulaSyntax& syntax)
{
    return print(node, Loosest, syntax);
}

} // namespace store::formula
