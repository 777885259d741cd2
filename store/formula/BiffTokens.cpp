// How long each token of a BIFF8 token array is.
#include "store/formula/BiffTokens.h"

namespace store::formula {

namespace {

// Bytes after the id of an operand token, by its base id; nothing for unknown ones.
std::optional<qsizetype> operandSize(quint8 base)
{
    switch (base) {
    case ptg::Array: return 7;
    case ptg::Func: return 2;
    case ptg::FuncVar: return 3;
    case ptg::Name: return 4;
    case ptg::Ref: return 4;
    case ptg::Area: return 8;
    case ptg::MemArea: return 6;
    case ptg::MemErr: return 6;
    case ptg::MemNoMem: return 6;
    case ptg::MemFunc: return 2;
    case ptg::RefErr: return 4;
    case ptg::AreaErr: return 8;
    case ptg::RefN: return 4;
    case ptg::AreaN: return 8;
    case ptg::MemAreaN: return 2;
    case ptg::MemNoMemN: return 2;
    case ptg::NameX: return 6;
    case ptg::Ref3d: return 6;
    case ptg::Area3d: return 10;
    case ptg::RefErr3d: return 6;
    case ptg::AreaErr3d: return 10;
    default: return std::nullopt;
    }
}

// Bytes after the id of any other token; data points just past the id, available bytes on.
std::optional<qsizetype> otherSize(quint8 id, const uchar* data, qsizetype available)
{
    switch (id) {
    case ptg::Str:   // length, flags, then the characters
        if (available < 2) return std::nullopt;
        return 2 + qsizetype(data[0]) * ((data[1] & ptg::StrUtf16) ? 2 : 1);
    case ptg::Attr:   // options, a word, then for CHOOSE a jump table of that many words plus one
        if (available < 3) return std::nullopt;
        if (data[0] & ptg::AttrChoose) return 3 + 2 * (qsizetype(qFromLittleEndian<quint16>(data + 1)) + 1);
        return 3;
    case ptg::Err:
    case ptg::Bool: return 1;
    case ptg::Int: return 2;
    case ptg::Num: return 8;
    default:
        if (id >= ptg::Add && id <= ptg::MissArg) return 0;   // operators and a missing argument
        return std::nullopt;   // links to shared formulas or tables, extended tokens
    }
}

} // namespace

std::optional<qsizetype> biffTokenOperandSize(QByteArrayView tokens, qsizetype pos)
{
    const quint8 id = quint8(tokens[pos]);
    const auto* data = reinterpret_cast<const uchar*>(tokens.constData()) + pos + 1;
    const qsizetype available = tokens.size() - pos - 1;
    std::optional<qsizetype> size;
    if (id >= ptg::ReferenceClass) {
        if (id <= (ptg::ArrayClass | ptg::BaseMask)) size = operandSize(id & ptg::BaseMask);
    } else {
        size = otherSize(id, data, available);
    }
    if (!size || *size > available) return std::nullopt;
    return size;
}

} // namespace store::formula
