// Writing formulas as BIFF8 token arrays: the tree in reverse Polish order.
#include "store/formula/BiffFormula.h"

#include "store/StoreError.h"
#include "store/formula/BiffTokens.h"
#include "store/formula/FormulaError.h"
#include "store/formula/FormulaFunctions.h"
#include "store/formula/FormulaNodes.h"

#include <QtEndian>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace store {

using namespace formula;

namespace {

struct OperatorToken {
    const char* op;
    quint8 token;
};

constexpr std::array<OperatorToken, 12> kBinaryTokens{{
    {"+", ptg::Add}, {"-", ptg::Sub}, {"*", ptg::Mul}, {"/", ptg::Div}, {"^", ptg::Power},
    {"&", ptg::Concat}, {"<", ptg::LT}, {"<=", ptg::LE}, {"=", ptg::EQ}, {">=", ptg::GE},
    {">", ptg::GT}, {"<>", ptg::NE},
}};

constexpr std::array<OperatorToken, 3> kUnaryTokens{{
    {"+", ptg::Uplus}, {"-", ptg::Uminus}, {"%", ptg::Percent},
}};

template <size_t N>
std::optional<quint8> tokenFor(const std::array<OperatorToken, N>& table, const QString& op)
{
    for (const auto& entry : table)
        if (op == QLatin1String(entry.op)) return entry.token;
    return std::nullopt;
}

constexpr int kMaxStringLength = 255;

class Encoder {
public:
    Encoder(const Formula& formula, const FunctionNames& functionNames, const SheetLinks& sheetLinks)
        : formula_(formula), functionNames_(functionNames), sheetLinks_(sheetLinks)
    {
    }

    // What follows the tokens in the record: the constants of the formula's arrays.
    QByteArray constants() const { return constants_; }

    QByteArray encode()
    {
        if (formula_.isNull()) fail(FormulaError::EmptyFormula);
        // A formula calling TODAY, RAND and the like says so first, so it is computed on every change.
        if (callsVolatile(*formula_.root())) emitBytes({ptg::Attr, ptg::AttrVolatile, 0, 0});
        // A cell formula's result is a single value, so references at the top are values.
        put(*formula_.root(), ptg::ValueClass);
        return out_;
    }

private:
    static bool callsVolatile(const FormulaNode& root)
    {
        return anyNode(root, [](const FormulaNode& node) {
            if (node.kind != FormulaNode::Kind::Function) return false;
            const FunctionInfo* info = findFunction(node.text);
            return info && info->isVolatile;
        });
    }

    void put(const FormulaNode& node, quint8 operandClass)
    {
        switch (node.kind) {
        case FormulaNode::Kind::Number: return emitNumber(node.number);
        case FormulaNode::Kind::Text: return emitText(node.text);
        case FormulaNode::Kind::Bool: return emitBytes({ptg::Bool, quint8(node.boolean ? 1 : 0)});
        case FormulaNode::Kind::Error: return emitBytes({ptg::Err, quint8(node.error)});
        case FormulaNode::Kind::Ref:
            if (!emitSheets(node, ptg::Ref3d | operandClass)) byte(ptg::Ref | operandClass);
            word(checkedRow(node.ref));
            word(columnField(node.ref));
            return;
        case FormulaNode::Kind::Area:
            if (!emitSheets(node, ptg::Area3d | operandClass)) byte(ptg::Area | operandClass);
            word(checkedRow(node.ref));
            word(checkedRow(node.ref2));
            word(columnField(node.ref));
            word(columnField(node.ref2));
            return;
        // Inside an argument that takes an array the operators work on whole arrays.
        case FormulaNode::Kind::Unary:
            put(*node.args[0], operandOf(operandClass));
            return byte(operatorToken(kUnaryTokens, node.text));
        case FormulaNode::Kind::Binary:
            put(*node.args[0], operandOf(operandClass));
            put(*node.args[1], operandOf(operandClass));
            return byte(operatorToken(kBinaryTokens, node.text));
        case FormulaNode::Kind::Function: return emitFunction(node);
        case FormulaNode::Kind::Paren:
            put(*node.args[0], operandClass);
            return byte(ptg::Paren);
        case FormulaNode::Kind::Missing: return byte(ptg::MissArg);
        case FormulaNode::Kind::Array: return emitArray(node, operandClass);
        case FormulaNode::Kind::Kept: out_.append(node.tokens); return;
        case FormulaNode::Kind::Intersection: return emitReferenceOperator(node, ptg::Isect);
        case FormulaNode::Kind::Union: return emitReferenceOperator(node, ptg::Union);
        case FormulaNode::Kind::Name:   // the workbook's name by its place, then two unused bytes
            byte(ptg::Name | operandClass);
            word(quint16(node.nameIndex));
            return word(0);
        }
    }

    // The token of a reference to other sheets and the EXTERNSHEET entry it goes through;
    // false for a reference to the formula's own sheet.
    bool emitSheets(const FormulaNode& node, quint8 token)
    {
        if (node.sheet.isEmpty()) return false;
        if (!sheetLinks_) fail(FormulaError::OtherSheetNotWritable, {sheetPrefix(node)});
        const auto entry = sheetLinks_(node.sheet, node.lastSheet);
        if (!entry) fail(FormulaError::NoSuchSheet, {node.lastSheet.isEmpty() ? node.sheet : node.sheet + u':' + node.lastSheet});
        byte(token);
        word(*entry);
        return true;
    }

    // Intersections and unions take references and give one. Inside a function's arguments the
    // spreadsheet marks them with tMemFunc and the size of what they span, so a reader can tell
    // where the argument ends.
    void emitReferenceOperator(const FormulaNode& node, quint8 token)
    {
        QByteArray outer;
        std::swap(outer, out_);
        put(*node.args[0], ptg::ReferenceClass);
        for (size_t i = 1; i < node.args.size(); ++i) {
            put(*node.args[i], ptg::ReferenceClass);
            byte(token);
        }
        std::swap(outer, out_);
        byte(ptg::MemFunc | ptg::ReferenceClass);
        word(quint16(outer.size()));
        out_.append(outer);
    }

    void emitNumber(double number)
    {
        if (number >= 0 && number <= 0xFFFF && number == std::floor(number) && !std::signbit(number)) {
            byte(ptg::Int);
            word(quint16(number));
            return;
        }
        byte(ptg::Num);
        quint64 bits;
        std::memcpy(&bits, &number, sizeof bits);
        char buffer[8];
        qToLittleEndian(bits, buffer);
        out_.append(buffer, 8);
    }

    // Latin-1 text is stored one byte a character, anything else as UTF-16LE.
    void emitText(const QString& text)
    {
        if (text.size() > kMaxStringLength)
            fail(FormulaError::TextTooLong, {QString::number(kMaxStringLength)});
        const bool latin1 = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 256; });
        byte(ptg::Str);
        byte(quint8(text.size()));
        byte(latin1 ? 0 : ptg::StrUtf16);
        for (QChar c : text) {
            if (latin1) byte(quint8(c.unicode()));
            else word(c.unicode());
        }
    }

    // tArray and seven unused bytes; the constants go after the whole token array: columns - 1,
    // rows - 1, then each element with its kind.
    void emitArray(const FormulaNode& node, quint8 operandClass)
    {
        constexpr int kMostColumns = 256, kMostRows = 65536;   // what the constants' header holds
        const auto rows = node.args.size() / size_t(node.arrayColumns);
        if (node.arrayColumns > kMostColumns || rows > size_t(kMostRows))
            fail(FormulaError::ArrayTooLarge, {QString::number(kMostColumns), QString::number(kMostRows)});
        byte(ptg::Array | operandClass);
        out_.append(7, '\0');
        constants_.append(char(node.arrayColumns - 1));
        constants_.append(char((rows - 1) & 0xFF));
        constants_.append(char((rows - 1) >> 8));
        for (const auto& element : node.args) emitConstant(*element);
    }

    void emitConstant(const FormulaNode& element)
    {
        QByteArray eight(8, '\0');
        switch (element.kind) {
        case FormulaNode::Kind::Number:
            constants_.append(char(0x01));
            qToLittleEndian(element.number, eight.data());
            break;
        case FormulaNode::Kind::Text:
            if (element.text.size() > kMaxStringLength) fail(FormulaError::TextTooLong, {QString::number(kMaxStringLength)});
            constants_.append(char(0x02));
            constants_.append(char(element.text.size() & 0xFF));
            constants_.append(char(element.text.size() >> 8));
            constants_.append(char(ptg::StrUtf16));
            for (QChar c : element.text) {
                constants_.append(char(c.unicode() & 0xFF));
                constants_.append(char(c.unicode() >> 8));
            }
            return;
        case FormulaNode::Kind::Bool:
            constants_.append(char(0x04));
            eight[0] = char(element.boolean ? 1 : 0);
            break;
        default:
            constants_.append(char(0x10));
            eight[0] = char(element.error);
            break;
        }
        constants_.append(eight);
    }

    // Fixed-count functions carry only their index; the others also the argument count.
    void emitFunction(const FormulaNode& node)
    {
        const FunctionInfo* info = findFunction(node.text);
        if (!info) return emitNamedFunctionCall(node);
        const int count = int(node.args.size());
        if (count < info->minArgs || count > info->maxArgs)
            fail(FormulaError::WrongArgumentCount, {node.text});
        for (int i = 0; i < count; ++i) put(*node.args[size_t(i)], classOf(info->argClass(i)));
        if (info->fixedArgCount()) {
            byte(ptg::Func | ptg::ValueClass);
        } else {
            byte(ptg::FuncVar | ptg::ValueClass);
            byte(quint8(count));
        }
        word(quint16(info->id));
    }

    // A function the engine does not know, as a call of a function the workbook defines: its
    // defined name (tName) as the first argument of tFuncVar with index 255. The arguments may
    // be references, as those of any such function may be.
    void emitNamedFunctionCall(const FormulaNode& node)
    {
        if (!functionNames_) fail(FormulaError::FunctionNotWritable, {node.text});
        if (node.text.size() > kMaxFunctionNameLength)
            fail(FormulaError::FunctionNameTooLong, {QString::number(kMaxFunctionNameLength)});
        const int count = int(node.args.size());
        if (count + 1 > kMaxFunctionArgs)
            fail(FormulaError::TooManyArgumentsForFile, {node.text, QString::number(kMaxFunctionArgs - 1)});
        byte(ptg::Name | ptg::ReferenceClass);
        word(functionNames_(node.text));
        word(0);
        for (const auto& arg : node.args) put(*arg, ptg::ReferenceClass);
        byte(ptg::FuncVar | ptg::ValueClass);
        byte(quint8(count + 1));
        word(ptg::NamedFunctionCall);
    }

    static quint8 operandOf(quint8 operandClass)
    {
        return operandClass == ptg::ArrayClass ? ptg::ArrayClass : ptg::ValueClass;
    }

    static quint8 classOf(char argClass)
    {
        switch (argClass) {
        case 'R': return ptg::ReferenceClass;
        case 'A': return ptg::ArrayClass;
        default: return ptg::ValueClass;
        }
    }

    quint16 checkedRow(const FormulaRef& ref)
    {
        if (!insideSheet(ref.row, ref.col))
            fail(FormulaError::ReferenceLeavesSheet);
        return quint16(ref.row - 1);
    }

    static quint16 columnField(const FormulaRef& ref)
    {
        quint16 field = quint16(ref.col - 1);
        if (!ref.colAbs) field |= ptg::ColumnRelative;
        if (!ref.rowAbs) field |= ptg::RowRelative;
        return field;
    }

    template <size_t N>
    quint8 operatorToken(const std::array<OperatorToken, N>& table, const QString& op)
    {
        const auto token = tokenFor(table, op);
        if (!token) fail(FormulaError::UnknownOperator, {op});
        return *token;
    }

    void emitBytes(std::initializer_list<quint8> bytes)
    {
        for (quint8 b : bytes) byte(b);
    }
    void byte(quint8 b) { out_.append(char(b)); }
    void word(quint16 w)
    {
        byte(quint8(w & 0xFF));
        byte(quint8(w >> 8));
    }

    [[noreturn]] void fail(FormulaError reason, const QStringList& arguments = {}) const
    {
        const Error why(reason, arguments);
        throw Error(why, FormulaError::NotWritten, {formula_.toA1(), why.message()});
    }

    const Formula& formula_;
    const FunctionNames& functionNames_;
    const SheetLinks& sheetLinks_;
    QByteArray out_;
    QByteArray constants_;
};

} // namespace

QByteArray encodeBiffFormula(const Formula& formula, int, int, const FunctionNames& functionNames,
                             const SheetLinks& sheetLinks)
{
    return Encoder(formula, functionNames, sheetLinks).encode();
}

BiffFormulaRecord encodeBiffFormulaRecord(const Formula& formula, const FunctionNames& functionNames,
                                          const SheetLinks& sheetLinks)
{
    Encoder encoder(formula, functionNames, sheetLinks);
    QByteArray tokens = encoder.encode();
    return {std::move(tokens), formula.isKept() ? formula.keptExtra() : encoder.constants()};
}

} // namespace store
