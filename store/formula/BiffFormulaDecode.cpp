// Reading BIFF8 token arrays back into formula trees.
#include "store/formula/BiffFormula.h"

#include "store/formula/BiffFormulaText.h"
#include "store/formula/BiffTokens.h"
#include "store/formula/FormulaFunctions.h"
#include "store/formula/FormulaNodes.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <map>

namespace store {

using namespace formula;

namespace {

struct OperatorName {
    quint8 token;
    const char* op;
};

constexpr OperatorName kBinaryOperators[] = {
    {ptg::Add, "+"}, {ptg::Sub, "-"}, {ptg::Mul, "*"}, {ptg::Div, "/"}, {ptg::Power, "^"},
    {ptg::Concat, "&"}, {ptg::LT, "<"}, {ptg::LE, "<="}, {ptg::EQ, "="}, {ptg::GE, ">="},
    {ptg::GT, ">"}, {ptg::NE, "<>"},
};

constexpr OperatorName kUnaryOperators[] = {
    {ptg::Uplus, "+"}, {ptg::Uminus, "-"}, {ptg::Percent, "%"},
};

template <size_t N>
const char* operatorName(const OperatorName (&table)[N], quint8 token)
{
    for (const auto& entry : table)
        if (entry.token == token) return entry.op;
    return nullptr;
}

// Relative parts of shared-formula references wrap around the sheet's edges.
int wrapped(int value, int size)
{
    return ((value - 1) % size + size) % size + 1;
}

// The names one formula reads, shared by the readers of their definitions: those being read (a
// name defined through itself gives nothing) and those read already, each read once.
struct NameReading {
    std::vector<int> open;
    std::map<int, FormulaNodePtr> read;
};

FormulaNodePtr readDefinedName(const BiffWorkbookNames& names, int index, NameReading& reading);

// Replays the reverse Polish tokens on a stack of nodes. Every read is bounds-checked: a
// short or unknown token array gives nothing rather than a wrong formula.
class Decoder : private TokenCursor {
public:
    Decoder(const QByteArray& tokens, const QByteArray& constants, int row, int col, const BiffWorkbookNames* names,
            NameReading* reading = nullptr)
        : tokens_(tokens), constants_(constants), row_(row), col_(col), names_(names), reading_(reading ? reading : &ownReading_)
    {
    }

    std::optional<Formula> decode()
    {
        const bool whole = walkBiffTokens(tokens_, [this](const BiffToken& token) { return read(token); });
        if (!whole || stack_.size() != 1) return std::nullopt;
        return Formula(stack_.back());
    }

private:
    bool read(const BiffToken& token)
    {
        startToken(token);
        if (token.isOperand()) return operandToken(token.base());
        if (auto op = operatorName(kBinaryOperators, token.id)) return binary(QLatin1String(op));
        if (auto op = operatorName(kUnaryOperators, token.id)) return unary(QLatin1String(op));
        switch (token.id) {
        case ptg::Paren: return wrapTop([](FormulaNodePtr inner) { return makeParen(std::move(inner)); });
        case ptg::MissArg: return push(makeMissing());
        case ptg::Str: return string();
        case ptg::Attr: return attribute();
        case ptg::Err: return error();
        case ptg::Bool: {
            const auto b = byte();
            return b && push(makeBool(*b != 0));
        }
        case ptg::Int: {
            const auto w = word();
            return w && push(makeNumber(*w));
        }
        case ptg::Num: return number();
        case ptg::Isect: return referenceOperator(FormulaNode::Kind::Intersection);
        case ptg::Union: return referenceOperator(FormulaNode::Kind::Union);
        default: return false;   // ranges of references
        }
    }

    // An intersection of two, or a union of any references; a union met again grows by one.
    bool referenceOperator(FormulaNode::Kind kind)
    {
        if (stack_.size() < 2) return false;
        FormulaNodePtr right = pop();
        FormulaNodePtr left = pop();
        if (kind == FormulaNode::Kind::Intersection) return push(makeIntersection(std::move(left), std::move(right)));
        std::vector<FormulaNodePtr> parts;
        if (left->kind == FormulaNode::Kind::Union) parts = left->args;
        else parts.push_back(std::move(left));
        parts.push_back(std::move(right));
        return push(makeUnion(std::move(parts)));
    }

    // tRef3d, tArea3d: the EXTERNSHEET entry first, then a reference as tRef or tArea has it. Only
    // sheets of the workbook itself are read.
    bool otherSheets(quint8 base)
    {
        const auto entry = word();
        if (!entry || !names_ || *entry >= names_->spans.size()) return false;
        const BiffWorkbookNames::SheetSpan& span = names_->spans[*entry];
        if (span.book < 0 || size_t(span.book) >= names_->books.size()) return false;
        if (names_->books[size_t(span.book)].kind != BiffWorkbookNames::Book::Kind::Own) return false;
        if (base == ptg::RefErr3d || base == ptg::AreaErr3d) return push(makeError(ErrorCode::Ref));
        const auto sheetName = [this](int tab) { return tab >= 0 && size_t(tab) < names_->sheets.size() ? names_->sheets[size_t(tab)] : QString(); };
        const QString first = sheetName(span.first);
        const QString last = sheetName(span.last);
        if (first.isEmpty() || last.isEmpty()) return false;
        if (!(base == ptg::Ref3d ? reference(false) : area(false))) return false;
        auto node = std::make_shared<FormulaNode>(*pop());
        node->sheet = first;
        if (span.last != span.first) node->lastSheet = last;
        return push(std::move(node));
    }

    bool operandToken(quint8 base)
    {
        switch (base) {
        case ptg::Func: return fixedFunction();
        case ptg::FuncVar: return variableFunction();
        case ptg::Ref: return reference(false);
        case ptg::RefN: return reference(true);
        case ptg::Area: return area(false);
        case ptg::AreaN: return area(true);
        case ptg::RefErr:
        case ptg::AreaErr: return push(makeError(ErrorCode::Ref));
        case ptg::Ref3d:
        case ptg::Area3d:
        case ptg::RefErr3d:
        case ptg::AreaErr3d: return otherSheets(base);
        // Marks of what an intersection or union spans, and what it last gave: the tree needs none.
        case ptg::MemArea:
        case ptg::MemErr:
        case ptg::MemNoMem:
        case ptg::MemFunc: return true;
        case ptg::Array: return array();
        case ptg::Name: return definedName();
        default: return false;   // other workbooks, add-ins
        }
    }

    // tName: the place of the workbook's name (from 1), then two unused bytes.
    bool definedName()
    {
        const auto index = word();
        const auto unused = word();
        if (!index || !unused || !names_) return false;
        FormulaNodePtr name = readDefinedName(*names_, *index, *reading_);
        return name && push(std::move(name));
    }

    // The array's constants come from after the token array, one array after the other:
    // columns - 1, rows - 1, then each element with its kind.
    bool array()
    {
        const auto columns = constantByte();
        const auto rowsLow = constantByte();
        const auto rowsHigh = constantByte();
        if (!columns || !rowsLow || !rowsHigh) return false;
        const size_t count = size_t(*columns + 1) * size_t((*rowsHigh << 8 | *rowsLow) + 1);
        std::vector<FormulaNodePtr> elements;
        for (size_t i = 0; i < count; ++i) {
            FormulaNodePtr element = constant();
            if (!element) return false;
            elements.push_back(std::move(element));
        }
        return push(makeArray(std::move(elements), *columns + 1));
    }

    FormulaNodePtr constant()
    {
        const auto kind = constantByte();
        if (!kind) return nullptr;
        if (*kind == 0x02) {
            const auto low = constantByte();
            const auto high = constantByte();
            const auto flags = constantByte();
            if (!low || !high || !flags) return nullptr;
            const int length = *high << 8 | *low;
            const int width = (*flags & ptg::StrUtf16) ? 2 : 1;
            if (constantsPos_ + qsizetype(length) * width > constants_.size()) return nullptr;
            QString text(length, Qt::Uninitialized);
            for (int i = 0; i < length; ++i) {
                const char* at = constants_.constData() + constantsPos_ + qsizetype(i) * width;
                text[i] = QChar(width == 2 ? qFromLittleEndian<quint16>(at) : quint8(*at));
            }
            constantsPos_ += qsizetype(length) * width;
            return makeText(text);
        }
        if (constantsPos_ + 8 > constants_.size()) return nullptr;
        const char* eight = constants_.constData() + constantsPos_;
        constantsPos_ += 8;
        switch (*kind) {
        case 0x01: return makeNumber(qFromLittleEndian<double>(eight));
        case 0x04: return makeBool(eight[0] != 0);
        case 0x10: {
            const auto error = errorFromCode(quint8(eight[0]));
            return error ? makeError(*error) : nullptr;
        }
        default: return nullptr;   // an empty element, which a typed array cannot hold
        }
    }

    std::optional<quint8> constantByte()
    {
        if (constantsPos_ >= constants_.size()) return std::nullopt;
        return quint8(constants_[constantsPos_++]);
    }

    bool binary(const QString& op)
    {
        if (stack_.size() < 2) return false;
        FormulaNodePtr right = pop();
        FormulaNodePtr left = pop();
        return push(makeBinary(op, std::move(left), std::move(right)));
    }

    bool unary(const QString& op)
    {
        return wrapTop([&](FormulaNodePtr operand) { return makeUnary(op, std::move(operand)); });
    }

    template <class Wrap>
    bool wrapTop(Wrap wrap)
    {
        if (stack_.empty()) return false;
        return push(wrap(pop()));
    }

    bool string()
    {
        const auto length = byte();
        const auto flags = byte();
        if (!length || !flags) return false;
        const bool utf16 = *flags & ptg::StrUtf16;
        const qsizetype size = *length * (utf16 ? 2 : 1);
        if (pos_ + size > bytes_.size()) return false;
        const char* data = bytes_.constData() + pos_;
        pos_ += size;
        if (!utf16) return push(makeText(QString::fromLatin1(data, size)));
        QString text(*length, Qt::Uninitialized);
        for (int i = 0; i < *length; ++i)
            text[i] = QChar(qFromLittleEndian<quint16>(data + 2 * i));
        return push(makeText(text));
    }

    // tAttr marks jumps of IF and CHOOSE, spaces and volatile formulas, all of which a
    // tree does not need, and SUM of a single argument, which it does.
    bool attribute()
    {
        const auto options = byte();
        if (!options) return false;
        if (*options & ptg::AttrSum)
            return wrapTop([](FormulaNodePtr arg) { return makeFunction(QStringLiteral("SUM"), {std::move(arg)}); });
        return true;
    }

    bool error()
    {
        const auto code = byte();
        if (!code) return false;
        const auto error = errorFromCode(*code);
        return error && push(makeError(*error));
    }

    bool number()
    {
        const auto value = float64();
        return value && push(makeNumber(*value));
    }

    bool fixedFunction()
    {
        const auto index = word();
        if (!index) return false;
        const FunctionInfo* info = findFunction(int(*index));
        return info && info->fixedArgCount() && call(*info, info->minArgs);
    }

    bool variableFunction()
    {
        const auto count = byte();
        const auto index = word();
        if (!count || !index) return false;
        const FunctionInfo* info = findFunction(int(*index & 0x7FFF));
        const int args = *count & 0x7F;
        return info && args >= info->minArgs && args <= info->maxArgs && call(*info, args);
    }

    bool call(const FunctionInfo& info, int argCount)
    {
        if (stack_.size() < size_t(argCount)) return false;
        std::vector<FormulaNodePtr> args(stack_.end() - argCount, stack_.end());
        stack_.resize(stack_.size() - size_t(argCount));
        return push(makeFunction(QLatin1String(info.name), std::move(args)));
    }

    bool reference(bool relativeToCell)
    {
        const auto row = word();
        const auto col = word();
        if (!row || !col) return false;
        return push(makeRef(resolve(*row, *col, relativeToCell)));
    }

    bool area(bool relativeToCell)
    {
        const auto firstRow = word();
        const auto lastRow = word();
        const auto firstCol = word();
        const auto lastCol = word();
        if (!firstRow || !lastRow || !firstCol || !lastCol) return false;
        FormulaNodePtr node = makeArea(resolve(*firstRow, *firstCol, relativeToCell),
                                       resolve(*lastRow, *lastCol, relativeToCell));
        // An area of every row of its columns is shown as those columns (A:A), one of every
        // column as its rows (1:1).
        node->wholeColumns = node->ref.row == 1 && node->ref2.row == kMaxRow;
        node->wholeRows = !node->wholeColumns && node->ref.col == 1 && node->ref2.col == kMaxColumn;
        return push(std::move(node));
    }

    // In ptgRefN and ptgAreaN the relative parts are signed offsets from the formula's cell:
    // 16 bits for the row, the low 8 bits for the column.
    FormulaRef resolve(quint16 row, quint16 colField, bool relativeToCell) const
    {
        FormulaRef ref;
        ref.rowAbs = !(colField & ptg::RowRelative);
        ref.colAbs = !(colField & ptg::ColumnRelative);
        const int col = colField & ptg::ColumnMask;
        ref.row = relativeToCell && !ref.rowAbs ? wrapped(row_ + qint16(row), kMaxRow) : row + 1;
        ref.col = relativeToCell && !ref.colAbs ? wrapped(col_ + qint8(col), kMaxColumn) : col + 1;
        return ref;
    }

    // A tree deeper than the engine keeps gives nothing, as tokens it cannot read do.
    bool push(FormulaNodePtr node)
    {
        if (node->depth > kMaxFormulaDepth) return false;
        stack_.push_back(std::move(node));
        return true;
    }

    FormulaNodePtr pop()
    {
        FormulaNodePtr node = std::move(stack_.back());
        stack_.pop_back();
        return node;
    }

    const QByteArray& tokens_;
    const QByteArray& constants_;
    qsizetype constantsPos_ = 0;
    int row_;
    int col_;
    const BiffWorkbookNames* names_;
    NameReading ownReading_;
    NameReading* reading_;
    std::vector<FormulaNodePtr> stack_;
};

// A name's definition computes the same wherever it is used when its references are absolute
// (whole columns and rows in the lines they span): relative ones would move with the cell using
// it, which the engine does not follow.
bool fixedCells(const FormulaNode& node)
{
    const auto fixed = [](const FormulaRef& a, const FormulaRef& b, bool rowsSpanned, bool columnsSpanned) {
        return (rowsSpanned || (a.rowAbs && b.rowAbs)) && (columnsSpanned || (a.colAbs && b.colAbs));
    };
    if (node.kind == FormulaNode::Kind::Ref && !fixed(node.ref, node.ref, false, false)) return false;
    if (node.kind == FormulaNode::Kind::Area && !fixed(node.ref, node.ref2, node.wholeColumns, node.wholeRows)) return false;
    return std::all_of(node.args.begin(), node.args.end(), [](const FormulaNodePtr& arg) { return fixedCells(*arg); });
}

FormulaNodePtr readDefinedName(const BiffWorkbookNames& names, int index, NameReading& reading)
{
    if (const auto known = reading.read.find(index); known != reading.read.end()) return known->second;
    if (index < 1 || size_t(index) > names.names.size()) return nullptr;
    if (std::find(reading.open.begin(), reading.open.end(), index) != reading.open.end()) return nullptr;
    // A chain of names deeper than a formula may be gives nothing, as a tree too deep does.
    if (reading.open.size() >= size_t(kMaxFormulaDepth)) return nullptr;
    const BiffWorkbookNames::DefinedName& name = names.names[size_t(index - 1)];
    if (name.function || name.name.isEmpty() || name.tokens.isEmpty()) return nullptr;
    reading.open.push_back(index);
    const std::optional<Formula> definition = Decoder(name.tokens, name.constants, 0, 0, &names, &reading).decode();
    reading.open.pop_back();
    FormulaNodePtr node;
    if (definition && fixedCells(*definition->root())) node = makeName(name.name, index, definition->root());
    reading.read[index] = node;
    return node;
}

} // namespace

std::optional<Formula> decodeBiffFormula(const QByteArray& tokens, int row, int col, const BiffWorkbookNames* names,
                                         const QByteArray& constants)
{
    std::optional<Formula> formula = Decoder(tokens, constants, row, col, names).decode();
    if (formula) return std::move(*formula).placedAt(row, col);
    return formula;
}

FormulaNodePtr definedNameNode(const BiffWorkbookNames& names, int index)
{
    NameReading reading;
    return readDefinedName(names, index, reading);
}

} // namespace store
