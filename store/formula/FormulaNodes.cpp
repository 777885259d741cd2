#include "store/formula/FormulaNodes.h"

#include "store/formula/BiffFormulaText.h"

#include <algorithm>

namespace store::formula {

namespace {
FormulaNodePtr makeNode(FormulaNode::Kind kind)
{
    auto node = std::make_shared<FormulaNode>();
    node->kind = kind;
    return node;
}

void countDepth(FormulaNode& node)
{
    for (const auto& arg : node.args) node.depth = std::max(node.depth, arg->depth + 1);
}
} // namespace

FormulaNodePtr makeNumber(double number)
{
    auto node = makeNode(FormulaNode::Kind::Number);
    node->number = number;
    return node;
}

FormulaNodePtr makeText(const QString& text)
{
    auto node = makeNode(FormulaNode::Kind::Text);
    node->text = text;
    return node;
}

FormulaNodePtr makeBool(bool value)
{
    auto node = makeNode(FormulaNode::Kind::Bool);
    node->boolean = value;
    return node;
}

FormulaNodePtr makeError(ErrorCode code)
{
    auto node = makeNode(FormulaNode::Kind::Error);
    node->error = code;
    return node;
}

FormulaNodePtr makeRef(const FormulaRef& ref)
{
    auto node = makeNode(FormulaNode::Kind::Ref);
    node->ref = ref;
    return node;
}

FormulaNodePtr makeArea(const FormulaRef& first, const FormulaRef& second)
{
    auto node = makeNode(FormulaNode::Kind::Area);
    node->ref = first;
    node->ref2 = second;
    if (node->ref.row > node->ref2.row) {
        std::swap(node->ref.row, node->ref2.row);
        std::swap(node->ref.rowAbs, node->ref2.rowAbs);
    }
    if (node->ref.col > node->ref2.col) {
        std::swap(node->ref.col, node->ref2.col);
        std::swap(node->ref.colAbs, node->ref2.colAbs);
    }
    return node;
}

FormulaNodePtr makeUnary(const QString& op, FormulaNodePtr operand)
{
    auto node = makeNode(FormulaNode::Kind::Unary);
    node->text = op;
    node->args.push_back(std::move(operand));
    countDepth(*node);
    return node;
}

FormulaNodePtr makeBinary(const QString& op, FormulaNodePtr left, FormulaNodePtr right)
{
    auto node = makeNode(FormulaNode::Kind::Binary);
    node->text = op;
    node->args.push_back(std::move(left));
    node->args.push_back(std::move(right));
    countDepth(*node);
    return node;
}

FormulaNodePtr makeFunction(const QString& upperName, std::vector<FormulaNodePtr> args)
{
    auto node = makeNode(FormulaNode::Kind::Function);
    node->text = upperName;
    node->args = std::move(args);
    countDepth(*node);
    return node;
}

FormulaNodePtr makeArray(std::vector<FormulaNodePtr> elements, int columns)
{
    auto node = makeNode(FormulaNode::Kind::Array);
    node->args = std::move(elements);
    node->arrayColumns = columns;
    countDepth(*node);
    return node;
}

FormulaNodePtr makeParen(FormulaNodePtr inner)
{
    auto node = makeNode(FormulaNode::Kind::Paren);
    node->args.push_back(std::move(inner));
    countDepth(*node);
    return node;
}

FormulaNodePtr makeMissing()
{
    return makeNode(FormulaNode::Kind::Missing);
}

FormulaNodePtr makeIntersection(FormulaNodePtr left, FormulaNodePtr right)
{
    auto node = makeNode(FormulaNode::Kind::Intersection);
    node->args.push_back(std::move(left));
    node->args.push_back(std::move(right));
    countDepth(*node);
    return node;
}

FormulaNodePtr makeUnion(std::vector<FormulaNodePtr> parts)
{
    auto node = makeNode(FormulaNode::Kind::Union);
    node->args = std::move(parts);
    countDepth(*node);
    return node;
}

FormulaNodePtr makeName(const QString& name, int index, FormulaNodePtr definition)
{
    auto node = makeNode(FormulaNode::Kind::Name);
    node->text = name;
    node->nameIndex = index;
    node->args.push_back(std::move(definition));
    countDepth(*node);
    return node;
}

QString columnName(int col)
{
    QString name;
    for (int n = col; n > 0; n = (n - 1) / 26)
        name.prepend(QChar(u'A' + (n - 1) % 26));
    return name;
}

QString refToA1(const FormulaRef& ref)
{
    QString text;
    if (ref.colAbs) text += u'$';
    text += columnName(ref.col);
    if (ref.rowAbs) text += u'$';
    text += QString::number(ref.row);
    return text;
}

QString sheetPrefix(const FormulaNode& reference)
{
    if (reference.sheet.isEmpty()) return {};
    if (reference.lastSheet.isEmpty()) return quotedSheetName(reference.sheet) + u'!';
    const bool plain = quotedSheetName(reference.sheet) == reference.sheet
                       && quotedSheetName(reference.lastSheet) == reference.lastSheet;
    const QString span = reference.sheet + u':' + reference.lastSheet;
    if (plain) return span + u'!';
    return u'\'' + QString(span).replace(u'\'', QLatin1String("''")) + QLatin1String("'!");
}

namespace {
QString columnToA1(const FormulaRef& ref)
{
    return (ref.colAbs ? QStringLiteral("$") : QString()) + columnName(ref.col);
}

QString rowToA1(const FormulaRef& ref)
{
    return (ref.rowAbs ? QStringLiteral("$") : QString()) + QString::number(ref.row);
}
} // namespace

QString referenceToA1(const FormulaNode& reference)
{
    const QString prefix = sheetPrefix(reference);
    if (reference.kind == FormulaNode::Kind::Ref) return prefix + refToA1(reference.ref);
    if (reference.wholeColumns) return prefix + columnToA1(reference.ref) + u':' + columnToA1(reference.ref2);
    if (reference.wholeRows) return prefix + rowToA1(reference.ref) + u':' + rowToA1(reference.ref2);
    return prefix + refToA1(reference.ref) + u':' + refToA1(reference.ref2);
}

} // namespace store::formula
