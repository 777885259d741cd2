#include "store/formula/Formula.h"
#include "store/formula/BiffFormula.h"

#include "store/formula/FormulaEvaluator.h"
#include "store/formula/FormulaNodes.h"
#include "store/formula/FormulaParser.h"
#include "store/formula/FormulaPrinter.h"

namespace store {

using namespace formula;

namespace {

// Rows first..last were deleted. Returns the node itself when nothing in it changes, else a
// changed copy: formulas copied from one another share their trees.
bool sameSheet(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Calls change on each node of the tree; change returns the node itself when nothing in it
// changes, else a changed copy, which takes the node's place: formulas copied from one another
// share their trees.
template <class Change>
FormulaNodePtr changed(const FormulaNodePtr& node, const Change& change)
{
    FormulaNodePtr own = change(node);
    if (own != node) return own;
    std::shared_ptr<FormulaNode> copy;
    for (size_t i = 0; i < node->args.size(); ++i) {
        FormulaNodePtr child = changed(node->args[i], change);
        if (child == node->args[i]) continue;
        if (!copy) copy = std::make_shared<FormulaNode>(*node);
        copy->args[i] = std::move(child);
    }
    return copy ? copy : node;
}

bool isReference(const FormulaNode& node)
{
    return node.kind == FormulaNode::Kind::Ref || node.kind == FormulaNode::Kind::Area;
}

class RowDeletion {
public:
    RowDeletion(int first, int count, const QString& sheet, bool onOwnSheet)
        : first_(first), last_(first + count - 1), count_(count), sheet_(sheet), onOwnSheet_(onOwnSheet)
    {
    }

    FormulaNodePtr adjust(const FormulaNodePtr& node) const
    {
        switch (node->kind) {
        case FormulaNode::Kind::Ref: return movesWithSheet(*node) ? adjustRef(node) : node;
        case FormulaNode::Kind::Area: return movesWithSheet(*node) && !node->wholeColumns ? adjustArea(node) : node;
        case FormulaNode::Kind::Kept:
            if (onOwnSheet_ && cutsBlock(*node)) return adjustKept(Formula(node).asRead().root());
            return adjustChildren(onOwnSheet_ ? adjustKept(node) : node);
        default: return adjustChildren(node);
        }
    }

private:
    // A reference lies on the sheet whose rows went: unnamed on the formula's own sheet, or
    // naming it alone (a span of sheets stays).
    bool movesWithSheet(const FormulaNode& node) const
    {
        if (node.sheet.isEmpty()) return onOwnSheet_;
        return node.lastSheet.isEmpty() && sameSheet(node.sheet, sheet_);
    }

    FormulaNodePtr adjustRef(const FormulaNodePtr& node) const
    {
        const int row = node->ref.row;
        if (row < first_) return node;
        if (row <= last_) return makeError(ErrorCode::Ref);
        auto moved = std::make_shared<FormulaNode>(*node);
        moved->ref.row -= count_;
        return moved;
    }

    // Areas shrink by the deleted rows they held; one made only of deleted rows is #REF!.
    FormulaNodePtr adjustArea(const FormulaNodePtr& node) const
    {
        const int top = node->ref.row;
        const int bottom = node->ref2.row;
        if (bottom < first_) return node;
        if (top >= first_ && bottom <= last_) return makeError(ErrorCode::Ref);
        auto moved = std::make_shared<FormulaNode>(*node);
        moved->ref.row = top < first_ ? top : (top > last_ ? top - count_ : first_);
        moved->ref2.row = bottom > last_ ? bottom - count_ : first_ - 1;
        if (onOwnSheet_ && moved->homeRow > last_) moved->homeRow -= count_;   // the formula's own cell moves up too
        return moved;
    }

    // The deleted rows take part of the block of an array formula the cell computes its element of.
    bool cutsBlock(const FormulaNode& node) const
    {
        if (node.args.empty()) return false;
        const int top = node.homeRow - node.blockRow;
        return first_ <= top + node.blockRows - 1 && last_ >= top;
    }


    // The tokens' references move as above; the formula's own cell moves up when it was below.
    FormulaNodePtr adjustKept(const FormulaNodePtr& node) const
    {
        const auto tokens = tokensAfterDeletedRows(node->tokens, first_, count_);
        const bool tokensMove = tokens && *tokens != node->tokens;
        const bool cellMoves = node->homeRow > last_;
        if (!tokensMove && !cellMoves) return node;
        auto moved = std::make_shared<FormulaNode>(*node);
        if (tokensMove) moved->tokens = *tokens;
        if (cellMoves) moved->homeRow -= count_;
        return moved;
    }

    FormulaNodePtr adjustChildren(const FormulaNodePtr& node) const
    {
        std::shared_ptr<FormulaNode> copy;
        for (size_t i = 0; i < node->args.size(); ++i) {
            FormulaNodePtr child = adjust(node->args[i]);
            if (child == node->args[i]) continue;
            if (!copy) copy = std::make_shared<FormulaNode>(*node);
            copy->args[i] = std::move(child);
        }
        if (node->kind == FormulaNode::Kind::Function && node->homeRow > last_) {   // ROW() reads its cell
            if (!copy) copy = std::make_shared<FormulaNode>(*node);
            copy->homeRow -= count_;
        }
        return copy ? copy : node;
    }

    int first_;
    int last_;
    int count_;
    QString sheet_;
    bool onOwnSheet_;
};

// References to the sheet `from` name `to` instead, or where `to` is empty are #REF!, or for a
// span of sheets begin at `next` or end at `previous`: what is left of the span.
FormulaNodePtr sheetChanged(const FormulaNodePtr& node, const QString& from, const QString& to, const QString& next,
                            const QString& previous)
{
    if (!isReference(*node)) return node;
    const bool first = !node->sheet.isEmpty() && sameSheet(node->sheet, from);
    const bool last = !node->lastSheet.isEmpty() && sameSheet(node->lastSheet, from);
    if (!first && !last) return node;
    const bool span = !node->lastSheet.isEmpty();
    if (to.isEmpty() && (!span || (first ? next : previous).isEmpty())) return makeError(ErrorCode::Ref);
    auto renamed = std::make_shared<FormulaNode>(*node);
    if (first) renamed->sheet = to.isEmpty() ? next : to;
    if (last) renamed->lastSheet = to.isEmpty() ? previous : to;
    if (sameSheet(renamed->sheet, renamed->lastSheet)) renamed->lastSheet.clear();
    return renamed;
}

} // namespace

Formula Formula::parseA1(const QString& text, int row, int col)
{
    return Formula(parseFormulaText(text, RefStyle::A1, row, col)).placedAt(row, col);
}

Formula Formula::parseA1(const QString& text, int row, int col, const FormulaSyntax& syntax, const DefinedNames& names)
{
    return Formula(parseFormulaText(text, RefStyle::A1, row, col, syntax, names)).placedAt(row, col);
}

FormulaSyntax FormulaSyntax::ofLocale(QChar localeDecimalMark)
{
    if (localeDecimalMark == u',') return FormulaSyntax{u';', u','};
    return FormulaSyntax{};
}

Formula Formula::parseR1C1(const QString& text, int row, int col)
{
    return Formula(parseFormulaText(text, RefStyle::R1C1, row, col)).placedAt(row, col);
}

Formula Formula::placedAt(int row, int col) &&
{
    std::vector<FormulaNode*> nodes{root_.get()};
    while (!nodes.empty()) {
        FormulaNode* node = nodes.back();
        nodes.pop_back();
        if (node->kind == FormulaNode::Kind::Area || node->kind == FormulaNode::Kind::Function) {
            node->homeRow = row;
            node->homeCol = col;
        }
        for (const auto& arg : node->args) nodes.push_back(arg.get());
    }
    return std::move(*this);
}

Formula Formula::kept(const QByteArray& tokens, const Value& cached, std::shared_ptr<const KeptContext> context, int row,
                      int col)
{
    auto node = std::make_shared<FormulaNode>();
    node->kind = FormulaNode::Kind::Kept;
    node->tokens = tokens;
    node->cached = cached;
    node->context = std::move(context);
    node->homeRow = row;
    node->homeCol = col;
    return Formula(std::move(node));
}

Formula Formula::computingArray(const Formula& whole, int blockRow, int blockCol, int blockRows) &&
{
    auto node = std::make_shared<FormulaNode>(*root_);
    node->args = {whole.root()};
    node->depth = whole.root()->depth + 1;
    node->blockRow = blockRow;
    node->blockCol = blockCol;
    node->blockRows = blockRows;
    return Formula(std::move(node));
}

Formula Formula::asRead() const
{
    auto kept = std::make_shared<FormulaNode>(*root_);
    kept->args.clear();
    kept->depth = 1;
    return Formula(std::move(kept));
}

bool Formula::isKept() const
{
    return root_ && root_->kind == FormulaNode::Kind::Kept;
}

QByteArray Formula::keptExtra() const
{
    return isKept() && root_->context ? root_->context->extra : QByteArray();
}

QString Formula::toA1() const
{
    if (!root_) return {};
    return u'=' + printA1(*root_);
}

QString Formula::toA1(const FormulaSyntax& syntax) const
{
    if (!root_) return {};
    return u'=' + printA1(*root_, syntax);
}

namespace {
Value shownResult(const Value& result)
{
    return result.isEmpty() ? Value(0.0) : result;   // =A1 of an empty cell shows 0
}
} // namespace

Value Formula::evaluate(const FormulaCells& cells) const
{
    if (!root_) return Value();
    return shownResult(Evaluator(cells).value(*root_));
}

std::vector<Value> Formula::evaluateBlock(const FormulaCells& cells, int rows, int cols) const
{
    std::vector<Value> values = Evaluator(cells).arrayElements(*root_, 0, 0, rows, cols);
    for (Value& value : values) value = shownResult(value);
    return values;
}

void Formula::adjustForDeletedRows(int first, int count, const QString& sheet, bool onOwnSheet)
{
    if (!root_ || count <= 0) return;
    root_ = RowDeletion(first, count, sheet, onOwnSheet).adjust(root_);
}

void Formula::adjustForSheet(const QString& from, const QString& to, const QString& next, const QString& previous)
{
    if (!root_) return;
    root_ = changed(root_, [&](const FormulaNodePtr& node) { return sheetChanged(node, from, to, next, previous); });
}

bool Formula::usesDefinedNames() const
{
    return root_ && anyNode(*root_, [](const FormulaNode& node) { return node.kind == FormulaNode::Kind::Name; });
}

QStringList Formula::sheetsNamed() const
{
    QStringList names;
    std::vector<const FormulaNode*> nodes;
    if (root_) nodes.push_back(root_.get());
    while (!nodes.empty()) {
        const FormulaNode* node = nodes.back();
        nodes.pop_back();
        if (isReference(*node) && !node->sheet.isEmpty()) names << node->sheet;
        if (isReference(*node) && !node->lastSheet.isEmpty()) names << node->lastSheet;
        for (const auto& arg : node->args) nodes.push_back(arg.get());
    }
    return names;
}

} // namespace store
