#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtEndian>
#include <QtGlobal>
#include <cstring>
#include <optional>

// Token ids (ptg) of BIFF8 formula token arrays.
namespace store::formula::ptg {

constexpr quint8 Exp = 0x01;
constexpr quint8 Add = 0x03;
constexpr quint8 Sub = 0x04;
constexpr quint8 Mul = 0x05;
constexpr quint8 Div = 0x06;
constexpr quint8 Power = 0x07;
constexpr quint8 Concat = 0x08;
constexpr quint8 LT = 0x09;
constexpr quint8 LE = 0x0A;
constexpr quint8 EQ = 0x0B;
constexpr quint8 GE = 0x0C;
constexpr quint8 GT = 0x0D;
constexpr quint8 NE = 0x0E;
constexpr quint8 Isect = 0x0F;
constexpr quint8 Union = 0x10;
constexpr quint8 Uplus = 0x12;
constexpr quint8 Uminus = 0x13;
constexpr quint8 Percent = 0x14;
constexpr quint8 Paren = 0x15;
constexpr quint8 MissArg = 0x16;
constexpr quint8 Str = 0x17;
constexpr quint8 Attr = 0x19;
constexpr quint8 Err = 0x1C;
constexpr quint8 Bool = 0x1D;
constexpr quint8 Int = 0x1E;
constexpr quint8 Num = 0x1F;

// Operand tokens come in three classes; the class is added to the base id below.
constexpr quint8 ReferenceClass = 0x20;
constexpr quint8 ValueClass = 0x40;
constexpr quint8 ArrayClass = 0x60;
constexpr quint8 ClassMask = 0x60;
constexpr quint8 BaseMask = 0x1F;

constexpr quint8 Array = 0x00;       // its constants follow the token array
constexpr quint8 Func = 0x01;
constexpr quint8 FuncVar = 0x02;
constexpr quint8 Name = 0x03;        // a defined name, with the class added (0x23, 0x43)
constexpr quint8 Ref = 0x04;
constexpr quint8 Area = 0x05;
constexpr quint8 MemArea = 0x06;     // the areas it last gave follow the token array
constexpr quint8 MemErr = 0x07;
constexpr quint8 MemNoMem = 0x08;
constexpr quint8 MemFunc = 0x09;
constexpr quint8 RefErr = 0x0A;
constexpr quint8 AreaErr = 0x0B;
constexpr quint8 RefN = 0x0C;
constexpr quint8 AreaN = 0x0D;
constexpr quint8 MemAreaN = 0x0E;
constexpr quint8 MemNoMemN = 0x0F;
constexpr quint8 NameX = 0x19;
constexpr quint8 Ref3d = 0x1A;
constexpr quint8 Area3d = 0x1B;
constexpr quint8 RefErr3d = 0x1C;
constexpr quint8 AreaErr3d = 0x1D;

// The function index of tFuncVar that calls the function its first argument names (a function
// the workbook defines, or an add-in's) instead of a built-in one.
constexpr quint16 NamedFunctionCall = 0x00FF;

// Options of the tAttr token.
constexpr quint8 AttrVolatile = 0x01;
constexpr quint8 AttrChoose = 0x04;
constexpr quint8 AttrSum = 0x10;

// Flags in the column field of a reference: the part is relative to the formula's cell.
constexpr quint16 ColumnRelative = 0x4000;
constexpr quint16 RowRelative = 0x8000;
constexpr quint16 ColumnMask = 0x00FF;

// ptgStr: the characters are UTF-16LE, not 8-bit.
constexpr quint8 StrUtf16 = 0x01;

} // namespace store::formula::ptg

namespace store::formula {

// The 8-byte number at pos of from, pos moved past it; nothing when it does not fit.
inline std::optional<double> doubleAt(QByteArrayView from, qsizetype& pos)
{
    if (pos + 8 > from.size()) return std::nullopt;
    const quint64 bits = qFromLittleEndian<quint64>(from.constData() + pos);
    pos += 8;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// One token of a token array: its id as stored, class included, where that id stands, and the
// bytes after the id that belong to the token. What tArray and tMemArea keep after the whole
// array is not among them.
struct BiffToken {
    quint8 id = 0;
    qsizetype pos = 0;
    QByteArrayView operand;

    bool isOperand() const { return id >= ptg::ReferenceClass; }
    quint8 base() const { return id & ptg::BaseMask; }
    quint8 operandClass() const { return id & ptg::ClassMask; }
};

// How many bytes follow the id of the token at pos. Nothing for a token whose length cannot be
// told (links to shared formulas or tables, extended tokens, unknown ids) or that runs past the end.
std::optional<qsizetype> biffTokenOperandSize(QByteArrayView tokens, qsizetype pos);

// Calls visit(const BiffToken&) for each token front to back while it returns true. False when
// a token cannot be walked or visit stopped the walk.
template <class Visit>
bool walkBiffTokens(QByteArrayView tokens, Visit visit)
{
    qsizetype pos = 0;
    while (pos < tokens.size()) {
        const auto size = biffTokenOperandSize(tokens, pos);
        if (!size) return false;
        if (!visit(BiffToken{quint8(tokens[pos]), pos, tokens.sliced(pos + 1, *size)})) return false;
        pos += 1 + *size;
    }
    return true;
}

// The operand bytes of one token read front to back. Every read is bounds-checked: past the
// end it gives nothing.
class TokenCursor {
protected:
    void startToken(const BiffToken& token)
    {
        bytes_ = token.operand;
        pos_ = 0;
    }

    std::optional<quint8> byte()
    {
        if (pos_ >= bytes_.size()) return std::nullopt;
        return quint8(bytes_[pos_++]);
    }

    std::optional<quint16> word()
    {
        if (pos_ + 2 > bytes_.size()) return std::nullopt;
        const quint16 value = qFromLittleEndian<quint16>(bytes_.constData() + pos_);
        pos_ += 2;
        return value;
    }

    std::optional<double> float64() { return doubleAt(bytes_, pos_); }

    QByteArrayView bytes_;
    qsizetype pos_ = 0;
};

} // namespace store::formula
