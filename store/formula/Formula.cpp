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
class RowDeletion {
public:
    RowDeletion(int first, int count) : first_(first), last_(first + count - 1), count_(count) {}

    FormulaNodePtr adjust(const FormulaNodePtr& node) const
    {
        switch (node->kind) {
        case FormulaNode::Kind::Ref: return adjustRef(node);
        case FormulaNode::Kind::Area: return adjustArea(node);
        case FormulaNode::Kind::Kept: return adjustKept(node);
        default: return adjustChildren(node);
        }
    }

private:
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
        if (moved->homeRow > last_) moved->homeRow -= count_;   // the formula's own cell moves up too
        return moved;
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
};

} // namespace

Formula Formula::parseA1(const QString& text, int row, int col)
{
    return Formula(parseFormulaText(text, RefStyle::A1, row, col)).placedAt(row, col);
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

Value Formula::evaluate(const FormulaCells& cells) const
{
    if (!root_) return Value();
    const Value result = Evaluator(cells).value(*root_);
    return result.isEmpty() ? Value(0.0) : result;   // =A1 of an empty cell shows 0
}

void Formula::adjustForDeletedRows(int first, int count)
{
    if (!root_ || count <= 0) return;
    root_ = RowDeletion(first, count).adjust(root_);
}

} // namespace store
