// Turning the tokens of a shared formula into those of one of its cells.
#include "store/formula/BiffFormula.h"

#include "store/formula/BiffTokens.h"

#include <QtEndian>
#include <algorithm>

namespace store {

using namespace formula;

namespace {

constexpr int kRows = 65536;
constexpr int kColumns = 256;

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

// A copy of tokens in which edit(token, id, data) may change each token in place: id and data
// point at the token's id and at the bytes after it in the copy. Nothing when the tokens cannot
// be walked.
template <class Edit>
std::optional<QByteArray> editedTokens(const QByteArray& tokens, Edit edit)
{
    QByteArray out = tokens;
    auto* bytes = reinterpret_cast<uchar*>(out.data());
    const bool whole = walkBiffTokens(tokens, [&](const BiffToken& token) {
        edit(token, bytes + token.pos, bytes + token.pos + 1);
        return true;
    });
    if (!whole) return std::nullopt;
    return out;
}

} // namespace

std::optional<QByteArray> sharedTokensForCell(const QByteArray& shared, int row, int col)
{
    bool dataAfterTokens = false;   // which a cell's own formula would not have
    auto out = editedTokens(shared, [&](const BiffToken& token, uchar* id, uchar* d) {
        if (!token.isOperand()) return;
        switch (token.base()) {
        case ptg::Array:
        case ptg::MemArea: dataAfterTokens = true; break;
        case ptg::RefN:
            *id = quint8(token.operandClass() | ptg::Ref);
            resolveInPlace(d, d + 2, row, col);
            break;
        case ptg::AreaN:
            *id = quint8(token.operandClass() | ptg::Area);
            resolveInPlace(d, d + 4, row, col);
            resolveInPlace(d + 2, d + 6, row, col);
            break;
        case ptg::Ref3d: resolveInPlace(d + 2, d + 4, row, col); break;
        case ptg::Area3d:
            resolveInPlace(d + 2, d + 6, row, col);
            resolveInPlace(d + 4, d + 8, row, col);
            break;
        default: break;
        }
    });
    if (dataAfterTokens) return std::nullopt;
    return out;
}

bool tokensUseLinks(const QByteArray& tokens)
{
    bool links = false;
    const bool whole = walkBiffTokens(tokens, [&](const BiffToken& token) {
        if (!token.isOperand()) return true;
        switch (token.base()) {
        case ptg::Name:
        case ptg::NameX:
        case ptg::Ref3d:
        case ptg::Area3d:
        case ptg::RefErr3d:
        case ptg::AreaErr3d: links = true; break;
        default: break;
        }
        return true;
    });
    return links || !whole;
}

std::optional<QByteArray> tokensAfterDeletedRows(const QByteArray& tokens, int first, int count,
                                                 const std::function<bool(quint16)>& onSheet)
{
    // Rows 0-based as in the tokens.
    const int top = first - 1, bottom = first + count - 2;
    const auto moveRef = [&](uchar* id, quint8 deleted, uchar* rowField) {
        const int row = qFromLittleEndian<quint16>(rowField);
        if (row < top) return;
        if (row <= bottom) *id = deleted;
        else qToLittleEndian<quint16>(quint16(row - count), rowField);
    };
    const auto moveArea = [&](uchar* id, quint8 deleted, uchar* rows) {
        const int r1 = qFromLittleEndian<quint16>(rows), r2 = qFromLittleEndian<quint16>(rows + 2);
        const int upper = std::min(r1, r2), lower = std::max(r1, r2);
        if (lower < top || (upper == 0 && lower == kRows - 1)) return;   // whole columns stay
        if (upper >= top && lower <= bottom) {
            *id = deleted;
            return;
        }
        const auto moved = [&](int row) { return row < top ? row : (row > bottom ? row - count : top); };
        // The lower corner inside the deleted rows ends above them.
        const int newLower = lower > bottom ? lower - count : top - 1;
        qToLittleEndian<quint16>(quint16(moved(upper)), r1 <= r2 ? rows : rows + 2);
        qToLittleEndian<quint16>(quint16(newLower), r1 <= r2 ? rows + 2 : rows);
    };
    return editedTokens(tokens, [&](const BiffToken& token, uchar* id, uchar* d) {
        if (!token.isOperand()) return;   // operators share the base ids of references
        const quint8 operandClass = token.operandClass();
        const auto onDeletedSheet = [&] { return onSheet && onSheet(qFromLittleEndian<quint16>(d)); };
        switch (token.base()) {
        case ptg::Ref: if (!onSheet) moveRef(id, operandClass | ptg::RefErr, d); break;
        case ptg::Area: if (!onSheet) moveArea(id, operandClass | ptg::AreaErr, d); break;
        case ptg::Ref3d: if (onDeletedSheet()) moveRef(id, operandClass | ptg::RefErr3d, d + 2); break;
        case ptg::Area3d: if (onDeletedSheet()) moveArea(id, operandClass | ptg::AreaErr3d, d + 2); break;
        default: break;
        }
    });
}

} // namespace store
