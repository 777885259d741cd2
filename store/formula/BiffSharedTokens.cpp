// Turning the tokens of a shared formula into those of one of its cells.
#include "store/formula/BiffFormula.h"

#include "store/formula/BiffTokens.h"

#include <QtEndian>

namespace store {

using namespace formula;

namespace {

constexpr int kRows = 65536;
constexpr int kColumns = 256;

// Bytes after the id of an operand token, by its base id; -1 for unknown ones.
int operandSize(quint8 base)
{
    switch (base) {
    case 0x00: return 7;    // ptgArray, its constants after the token array
    case 0x01: return 2;    // ptgFunc
    case 0x02: return 3;    // ptgFuncVar
    case 0x03: return 4;    // ptgName
    case 0x04: return 4;    // ptgRef
    case 0x05: return 8;    // ptgArea
    case 0x06: return 6;    // ptgMemArea, its areas after the token array
    case 0x07: return 6;    // ptgMemErr
    case 0x08: return 6;    // ptgMemNoMem
    case 0x09: return 2;    // ptgMemFunc
    case 0x0A: return 4;    // ptgRefErr
    case 0x0B: return 8;    // ptgAreaErr
    case 0x0C: return 4;    // ptgRefN
    case 0x0D: return 8;    // ptgAreaN
    case 0x0E: return 2;    // ptgMemAreaN
    case 0x0F: return 2;    // ptgMemNoMemN
    case 0x19: return 6;    // ptgNameX
    case 0x1A: return 6;    // ptgRef3d
    case 0x1B: return 10;   // ptgArea3d
    case 0x1C: return 6;    // ptgRefErr3d
    case 0x1D: return 10;   // ptgAreaErr3d
    default: return -1;
    }
}

// A row and column field of a shared formula, relative parts as offsets from (row, col), made
// into the row and column fields of an ordinary formula in that cell.
void resolveInPlace(uchar* rowField, uchar* colField, int row, int col)
{
    quint16 r = qFromLittleEndian<quint16>(rowField);
    quint16 c = qFromLittleEndian<quint16>(colField);
    if (c & ptg::RowRelative) r = quint16(((row - 1 + qint16(r)) % kRows + kRows) % kRows);
    if (c & ptg::ColumnRelative) {
        const int column = ((col - 1 + qint8(c & ptg::ColumnMask)) % kColumns + kColumns) % kColumns;
        c = quint16((c & ~ptg::ColumnMask) | column);
    }
    qToLittleEndian<quint16>(r, rowField);
    qToLittleEndian<quint16>(c, colField);
}

constexpr quint8 kArray = 0x00;
constexpr quint8 kName = 0x03;
constexpr quint8 kMemArea = 0x06;
constexpr quint8 kNameX = 0x19;
constexpr quint8 kRef3d = 0x1A;
constexpr quint8 kArea3d = 0x1B;
constexpr quint8 kRefErr3d = 0x1C;
constexpr quint8 kAreaErr3d = 0x1D;

// Calls visit(id, data) for each token with the bytes after its id, which visit may change
// in place. False for tokens whose length cannot be told or that run past the end.
template <class Visit>
bool walkTokens(QByteArray& tokens, Visit visit)
{
    auto* p = reinterpret_cast<uchar*>(tokens.data());
    const qsizetype size = tokens.size();
    qsizetype pos = 0;
    while (pos < size) {
        const quint8 id = p[pos++];
        qsizetype length = 0;
        if (id >= ptg::ReferenceClass && id <= (ptg::ArrayClass | ptg::BaseMask)) {
            length = operandSize(id & ptg::BaseMask);
            if (length < 0) return false;
        } else if (id == ptg::Str) {
            if (pos + 2 > size) return false;
            length = 2 + qsizetype(p[pos]) * ((p[pos + 1] & ptg::StrUtf16) ? 2 : 1);
        } else if (id == ptg::Attr) {
            if (pos + 3 > size) return false;
            length = 3;
            if (p[pos] & ptg::AttrChoose) length += 2 * (qsizetype(qFromLittleEndian<quint16>(p + pos + 1)) + 1);
        } else if (id == ptg::Err || id == ptg::Bool) {
            length = 1;
        } else if (id == ptg::Int) {
            length = 2;
        } else if (id == ptg::Num) {
            length = 8;
        } else if (id >= ptg::Add && id <= ptg::MissArg) {
            length = 0;
        } else {
            return false;   // links to other shared formulas or tables, extended tokens
        }
        if (pos + length > size) return false;
        visit(p + pos - 1, p + pos);
        pos += length;
    }
    return true;
}

} // namespace

std::optional<QByteArray> sharedTokensForCell(const QByteArray& shared, int row, int col)
{
    QByteArray out = shared;
    bool dataAfterTokens = false;   // which a cell's own formula would not have
    const bool whole = walkTokens(out, [&](uchar* id, uchar* d) {
        if (*id < ptg::ReferenceClass) return;
        const quint8 operandClass = *id & ptg::ClassMask;
        switch (*id & ptg::BaseMask) {
        case kArray:
        case kMemArea: dataAfterTokens = true; break;
        case ptg::RefN:
            *id = quint8(operandClass | ptg::Ref);
            resolveInPlace(d, d + 2, row, col);
            break;
        case ptg::AreaN:
            *id = quint8(operandClass | ptg::Area);
            resolveInPlace(d, d + 4, row, col);
            resolveInPlace(d + 2, d + 6, row, col);
            break;
        case kRef3d: resolveInPlace(d + 2, d + 4, row, col); break;
        case kArea3d:
            resolveInPlace(d + 2, d + 6, row, col);
            resolveInPlace(d + 4, d + 8, row, col);
            break;
        default: break;
        }
    });
    if (!whole || dataAfterTokens) return std::nullopt;
    return out;
}

bool tokensUseLinks(const QByteArray& tokens)
{
    QByteArray copy = tokens;
    bool links = false;
    const bool whole = walkTokens(copy, [&](uchar* id, uchar*) {
        if (*id < ptg::ReferenceClass) return;
        switch (*id & ptg::BaseMask) {
        case kName:
        case kNameX:
        case kRef3d:
        case kArea3d:
        case kRefErr3d:
        case kAreaErr3d: links = true; break;
        default: break;
        }
    });
    return links || !whole;
}

std::optional<QByteArray> tokensAfterDeletedRows(const QByteArray& tokens, int first, int count)
{
    // Rows 0-based as in the tokens.
    const int top = first - 1, bottom = first + count - 2;
    QByteArray out = tokens;
    const bool whole = walkTokens(out, [&](uchar* id, uchar* d) {
        if (*id < ptg::ReferenceClass) return;   // operators share the base ids of references
        const quint8 operandClass = *id & ptg::ClassMask;
        if ((*id & ptg::BaseMask) == ptg::Ref) {
            const int row = qFromLittleEndian<quint16>(d);
            if (row < top) return;
            if (row <= bottom) {
                *id = quint8(operandClass | ptg::RefErr);
                return;
            }
            qToLittleEndian<quint16>(quint16(row - count), d);
        } else if ((*id & ptg::BaseMask) == ptg::Area) {
            const int r1 = qFromLittleEndian<quint16>(d), r2 = qFromLittleEndian<quint16>(d + 2);
            const int upper = std::min(r1, r2), lower = std::max(r1, r2);
            if (lower < top) return;
            if (upper >= top && lower <= bottom) {
                *id = quint8(operandClass | ptg::AreaErr);
                return;
            }
            const auto moved = [&](int row) { return row < top ? row : (row > bottom ? row - count : top); };
            // The lower corner inside the deleted rows ends above them.
            const int newLower = lower > bottom ? lower - count : top - 1;
            qToLittleEndian<quint16>(quint16(moved(upper)), r1 <= r2 ? d : d + 2);
            qToLittleEndian<quint16>(quint16(newLower), r1 <= r2 ? d + 2 : d);
        }
    });
    if (!whole) return std::nullopt;
    return out;
}

} // namespace store
