// The records of a worksheet kept as read follow its rows: when rows are deleted, what names
// rows below them moves up, areas shrink and what lay wholly in the deleted rows goes; when rows
// are sorted, the notes and hyperlinks of single cells go with their cells. What cannot follow
// safely is dropped, and the workbook's log says so.

#include "store/KeptRecords.h"
#include "store/formula/BiffFormula.h"
#include "store/formula/BiffTokens.h"
#include "store/xls/BiffRecords.h"

#include <algorithm>

namespace store {

using xls::get16;
using xls::get32;
using xls::put16;
using xls::put32;
namespace rec = xls::rec;

namespace {

constexpr int kLastRow = 65535;   // 0-based: an area down to it is a whole column, and stays one

const uchar* bytesOf(const QByteArray& data) { return reinterpret_cast<const uchar*>(data.constData()); }
int row16(const QByteArray& data, qsizetype at) { return get16(bytesOf(data) + at); }
void setRow16(QByteArray& data, qsizetype at, int row) { put16(data.data() + at, quint16(row)); }

// Rows top..bottom (0-based) deleted.
struct Deletion {
    int top, bottom, count;

    // Where a row goes; nothing for a deleted one.
    std::optional<int> row(int r) const
    {
        if (r < top) return r;
        if (r <= bottom) return std::nullopt;
        return r - count;
    }
    // A row that must stay somewhere: a deleted one goes to the row that follows the deletion.
    int clamped(int r) const { return row(r).value_or(top); }
    // The area of rows r1..r2 after the deletion; false when all of it was deleted.
    bool area(int& r1, int& r2) const
    {
        if (r2 < top) return true;
        if (r1 >= top && r2 <= bottom) return false;
        const int lower = r2 == kLastRow ? r2 : (r2 > bottom ? r2 - count : top - 1);
        r1 = r1 < top ? r1 : (r1 > bottom ? r1 - count : top);
        r2 = lower;
        return true;
    }
    // Whether the area's first row is deleted while the area stays (it is cut from above).
    bool cutsTop(int r1, int r2) const { return r1 >= top && r1 <= bottom && r2 > bottom; }
    bool touches(int r2) const { return r2 >= top; }
};

// An area as a file holds it: two 16-bit rows at `at`, then its columns. Moves it after the
// deletion; false when it went wholly.
bool moveArea(QByteArray& data, qsizetype at, const Deletion& d)
{
    int r1 = row16(data, at), r2 = row16(data, at + 2);
    if (r1 > r2) std::swap(r1, r2);
    if (!d.area(r1, r2)) return false;
    setRow16(data, at, r1);
    setRow16(data, at + 2, r2);
    return true;
}

// A list of areas (count, then areas of `size` bytes whose rows come first) at `at`: moves them,
// leaves out those that went. Returns the new data, or nothing when no area is left. *cut tells
// whether an area lost its first row.
std::optional<QByteArray> moveAreaList(const QByteArray& data, qsizetype at, int size, const Deletion& d, bool* cut)
{
    if (data.size() < at + 2) return data;
    const int count = row16(data, at);
    QByteArray out = data.left(at + 2);
    int kept = 0;
    qsizetype pos = at + 2;
    for (int i = 0; i < count && pos + size <= data.size(); ++i, pos += size) {
        QByteArray area = data.mid(pos, size);
        const int r1 = row16(area, 0), r2 = row16(area, 2);
        if (cut && d.cutsTop(std::min(r1, r2), std::max(r1, r2))) *cut = true;
        if (!moveArea(area, 0, d)) continue;
        out += area;
        ++kept;
    }
    out += data.mid(pos);
    if (kept == 0) return std::nullopt;
    setRow16(out, at, kept);
    return out;
}

// The bounds of the areas of a list (count at `at`, 8-byte areas), or nothing for none.
struct Bounds { int r1, r2, c1, c2; };
std::optional<Bounds> boundsOf(const QByteArray& data, qsizetype at)
{
    if (data.size() < at + 2) return std::nullopt;
    std::optional<Bounds> b;
    const int count = row16(data, at);
    for (int i = 0; i < count && at + 2 + 8 * (i + 1) <= data.size(); ++i) {
        const qsizetype p = at + 2 + 8 * i;
        const Bounds a{row16(data, p), row16(data, p + 2), row16(data, p + 4), row16(data, p + 6)};
        if (!b) b = a;
        else b = Bounds{std::min(b->r1, a.r1), std::max(b->r2, a.r2), std::min(b->c1, a.c1), std::max(b->c2, a.c2)};
    }
    return b;
}

// How the tokens of a formula kept in a record name cells.
struct TokenRefs {
    bool any = false;        // they name cells at all
    bool offsets = false;    // some as offsets from the cell they apply to (ptgRefN, ptgAreaN)
    bool walked = true;
};
TokenRefs refsOf(const QByteArray& tokens)
{
    namespace ptg = formula::ptg;
    TokenRefs refs;
    refs.walked = formula::walkBiffTokens(tokens, [&](const formula::BiffToken& token) {
        if (!token.isOperand()) return true;
        switch (token.base()) {
        case ptg::Ref: case ptg::Area: case ptg::Ref3d: case ptg::Area3d: refs.any = true; break;
        case ptg::RefN: case ptg::AreaN: case ptg::MemAreaN: refs.any = refs.offsets = true; break;
        default: break;
        }
        return true;
    });
    return refs;
}

// Tokens at data[at, at + size) after the deletion, edited in place (same length). False when
// they cannot be walked.
bool moveTokens(QByteArray& data, qsizetype at, int size, const Deletion& d)
{
    if (size == 0) return true;
    if (at < 0 || at + size > data.size()) return false;
    const auto moved = tokensAfterDeletedRows(data.mid(at, size), d.top + 1, d.count);
    if (!moved || moved->size() != size) return false;
    data.replace(at, size, *moved);
    return true;
}

// The bytes a BIFF8 string with a 16-bit length takes at `at` (no rich text in these records).
qsizetype stringSize(const QByteArray& data, qsizetype at)
{
    if (at + 3 > data.size()) return -1;
    const int length = row16(data, at);
    return 3 + length * ((data[at + 2] & 0x01) ? 2 : 1);
}

// Where the formulas and areas of a DV record lie.
struct DvLayout {
    qsizetype formula1 = -1, size1 = 0, formula2 = -1, size2 = 0, areas = -1;
};
std::optional<DvLayout> dvLayout(const QByteArray& data)
{
    qsizetype pos = 4;
    for (int i = 0; i < 4; ++i) {
        const qsizetype size = stringSize(data, pos);
        if (size < 0) return std::nullopt;
        pos += size;
    }
    DvLayout l;
    if (pos + 4 > data.size()) return std::nullopt;
    l.size1 = row16(data, pos);
    l.formula1 = pos + 4;
    pos = l.formula1 + l.size1;
    if (pos + 4 > data.size()) return std::nullopt;
    l.size2 = row16(data, pos);
    l.formula2 = pos + 4;
    l.areas = l.formula2 + l.size2;
    if (l.areas + 2 > data.size()) return std::nullopt;
    return l;
}

QString areaText(int r1, int r2) { return r1 == r2 ? QString::number(r1 + 1) : QStringLiteral("%1-%2").arg(r1 + 1).arg(r2 + 1); }

// ---- Drawings ----------------------------------------------------------------------------------

// The drawing of a sheet: the data of its MSODRAWING records as one stream of drawing records
// (one container holding a group of shapes), the shapes at the top of that group, and which of
// the sheet's other records (OBJ, TXO, CONTINUE, charts) belong to which shape.
class Drawing {
public:
    // records: the objects kept after the sheet's cells. Nothing when they hold a drawing this
    // cannot take apart.
    static std::optional<Drawing> parse(const std::vector<KeptRecord>& records)
    {
        Drawing d;
        if (!d.read(records)) return std::nullopt;
        return d;
    }

    struct Shape {
        qsizetype begin = 0, end = 0;   // in the stream
        qsizetype anchor = -1;          // where its anchor's data begins in the stream, or -1
        int shapes = 1;                 // drawing shapes it holds (a group holds more)
        std::vector<int> objIds;        // of its OBJ records
        bool note = false;              // it is the box of a cell's note
        bool removed = false;
    };

    std::vector<Shape>& shapes() { return shapes_; }
    int anchorRow(const Shape& s, int field) const { return get16(bytesOf(stream_) + s.anchor + field); }
    void setAnchorRow(const Shape& s, int field, int row, bool clearOffset)
    {
        put16(stream_.data() + s.anchor + field, quint16(row));
        if (clearOffset) put16(stream_.data() + s.anchor + field + 2, 0);
    }
    static constexpr int kTop = 6, kBottom = 14;   // row fields of an anchor

    Shape* shapeOfObject(int objId)
    {
        for (Shape& s : shapes_)
            if (std::find(s.objIds.begin(), s.objIds.end(), objId) != s.objIds.end()) return &s;
        return nullptr;
    }

    // Calls visit with each record that is not part of the drawing's own data.
    template <class Visit> void forEachOther(Visit visit)
    {
        for (Piece& piece : pieces_)
            if (!piece.drawing) visit(piece.record);
    }

    // The records with the drawing as it is now.
    std::vector<KeptRecord> records() const
    {
        QByteArray stream = stream_;
        // The lengths of the containers and the count of shapes shrink by what was removed.
        qsizetype removedBytes = 0;
        int removedShapes = 0;
        std::vector<std::pair<qsizetype, qsizetype>> cuts;
        for (const Shape& s : shapes_) {
            if (!s.removed) continue;
            removedBytes += s.end - s.begin;
            removedShapes += s.shapes;
            cuts.push_back({s.begin, s.end});
        }
        put32(stream.data() + 4, get32(bytesOf(stream) + 4) - quint32(removedBytes));
        put32(stream.data() + group_ + 4, get32(bytesOf(stream) + group_ + 4) - quint32(removedBytes));
        if (fdg_ >= 0) put32(stream.data() + fdg_, get32(bytesOf(stream) + fdg_) - quint32(removedShapes));
        const auto mapped = [&](qsizetype pos) {
            qsizetype out = pos;
            for (const auto& [b, e] : cuts) {
                if (pos >= e) out -= e - b;
                else if (pos > b) out -= pos - b;
            }
            return out;
        };
        QByteArray kept;
        qsizetype at = 0;
        for (const auto& [b, e] : cuts) {
            kept += stream.mid(at, b - at);
            at = e;
        }
        kept += stream.mid(at);

        std::vector<KeptRecord> out;
        for (const Piece& piece : pieces_) {
            if (piece.drawing) {
                const qsizetype b = mapped(piece.begin), e = mapped(piece.end);
                for (qsizetype p = b; p < e; p += xls::kMaxRecordData)
                    out.push_back({p == b ? rec::MsoDrawing : rec::Continue, kept.mid(p, std::min<qsizetype>(xls::kMaxRecordData, e - p))});
            } else if (piece.shape < 0 || !shapes_[size_t(piece.shape)].removed) {
                out.push_back(piece.record);
            }
        }
        return out;
    }

private:
    // One kept record, or the data of one MSODRAWING and its CONTINUE records.
    struct Piece {
        bool drawing = false;
        qsizetype begin = 0, end = 0;   // a drawing's part of the stream
        KeptRecord record;              // another record
        int shape = -1;                 // the shape another record belongs to, or -1
    };

    struct Header { quint16 verInstance, type; quint32 length; };
    std::optional<Header> header(qsizetype at, qsizetype end) const
    {
        if (at + 8 > end) return std::nullopt;
        const uchar* p = bytesOf(stream_) + at;
        const Header h{get16(p), get16(p + 2), get32(p + 4)};
        if (at + 8 + qsizetype(h.length) > end) return std::nullopt;
        return h;
    }
    static bool isContainer(const Header& h) { return (h.verInstance & 0x000F) == 0x000F; }

    bool read(const std::vector<KeptRecord>& records)
    {
        bool inDrawing = false;   // a CONTINUE now continues an MSODRAWING
        int nested = 0;
        for (const KeptRecord& r : records) {
            if (r.id == rec::Bof) ++nested;
            if (nested == 0 && (r.id == rec::MsoDrawing || (r.id == rec::Continue && inDrawing))) {
                if (r.id == rec::MsoDrawing || pieces_.empty() || !pieces_.back().drawing)
                    pieces_.push_back({true, stream_.size(), stream_.size(), {}, -1});
                stream_ += r.data;
                pieces_.back().end = stream_.size();
                inDrawing = true;
            } else {
                pieces_.push_back({false, 0, 0, r, -1});
                inDrawing = false;
            }
            if (r.id == rec::Eof && nested > 0) --nested;
        }
        if (stream_.isEmpty()) return false;
        // One drawing container, with the FDG and the group of shapes in it.
        const auto dg = header(0, stream_.size());
        if (!dg || dg->type != 0xF002 || !isContainer(*dg) || qsizetype(8 + dg->length) != stream_.size()) return false;
        for (qsizetype at = 8; at < stream_.size();) {
            const auto h = header(at, stream_.size());
            if (!h) return false;
            if (h->type == 0xF008 && h->length >= 8) fdg_ = at + 8;
            if (h->type == 0xF003 && group_ < 0) group_ = at;
            at += 8 + h->length;
        }
        if (group_ < 0) return false;
        const auto g = header(group_, stream_.size());
        bool first = true;   // the group's own shape comes first
        for (qsizetype at = group_ + 8; at < group_ + 8 + qsizetype(g->length);) {
            const auto h = header(at, group_ + 8 + g->length);
            if (!h) return false;
            if (!first) {
                Shape s;
                s.begin = at;
                s.end = at + 8 + h->length;
                s.anchor = findAnchor(at, h->type == 0xF003);
                s.shapes = countShapes(at + 8, s.end, h->type == 0xF003);
                shapes_.push_back(s);
            }
            first = false;
            at += 8 + h->length;
        }
        // Other records belong to the shape whose bytes the drawing gave last.
        qsizetype given = 0;
        nested = 0;
        for (Piece& piece : pieces_) {
            if (piece.drawing) {
                given = piece.end;
                continue;
            }
            const quint16 id = piece.record.id;
            const bool ofShape = nested > 0 || id == rec::Obj || id == rec::Txo || id == rec::Continue || id == rec::Bof;
            if (id == rec::Bof) ++nested;
            if (id == rec::Eof && nested > 0) --nested;
            if (!ofShape) continue;
            for (size_t i = 0; i < shapes_.size(); ++i)
                if (given > shapes_[i].begin && given <= shapes_[i].end) piece.shape = int(i);
            if (piece.shape >= 0 && id == rec::Obj && piece.record.data.size() >= 8 && row16(piece.record.data, 0) == 0x15) {
                shapes_[size_t(piece.shape)].objIds.push_back(row16(piece.record.data, 6));
                if (row16(piece.record.data, 4) == 0x19) shapes_[size_t(piece.shape)].note = true;
            }
        }
        return true;
    }

    // The client anchor (18 bytes) of the shape or group at `at`, or -1.
    qsizetype findAnchor(qsizetype at, bool isGroup) const
    {
        const auto h = header(at, stream_.size());
        qsizetype shape = at;
        if (isGroup) {   // a group's anchor is that of its first shape
            const auto first = header(at + 8, at + 8 + h->length);
            if (!first) return -1;
            shape = at + 8;
        }
        const auto sh = header(shape, stream_.size());
        for (qsizetype p = shape + 8; p < shape + 8 + qsizetype(sh->length);) {
            const auto child = header(p, shape + 8 + sh->length);
            if (!child) return -1;
            if (child->type == 0xF010 && child->length >= 18) return p + 8;
            p += 8 + child->length;
        }
        return -1;
    }

    int countShapes(qsizetype begin, qsizetype end, bool isGroup) const
    {
        if (!isGroup) return 1;
        int count = 0;
        for (qsizetype p = begin; p < end;) {
            const auto h = header(p, end);
            if (!h) break;
            count += h->type == 0xF003 ? countShapes(p + 8, p + 8 + h->length, true) : (h->type == 0xF004 ? 1 : 0);
            p += 8 + h->length;
        }
        return count;
    }

    QByteArray stream_;
    std::vector<Piece> pieces_;
    std::vector<Shape> shapes_;
    qsizetype group_ = -1;
    qsizetype fdg_ = -1;
};

bool isDrawingRecord(quint16 id)
{
    return id == rec::MsoDrawing || id == rec::Obj || id == rec::Txo || id == rec::Note;
}

// Records that name cells in a way not followed here: dropped when rows above their cells change.
bool namesCellsUnfollowed(quint16 id)
{
    switch (id) {
    case rec::CondFmt12: case rec::Cf12: case rec::CfEx: case rec::Feat11: case rec::Feat12: case rec::List12:
    case rec::AutoFilter12: case rec::LabelRanges: case rec::PhoneticInfo: case rec::Scenario: case rec::DConRef:
    case rec::CellWatch: case rec::DropDownObjIds:
        return true;
    default:
        return false;
    }
}

class RowFollower {
public:
    RowFollower(KeptSheetRecords& kept, const QString& sheet, std::vector<QString>& dropped)
        : kept_(kept), sheet_(sheet), dropped_(dropped)
    {
    }

    void deleted(const Deletion& d)
    {
        objects(d);
        window(d);
        kept_.head = follow(kept_.head, d);
        kept_.tail = follow(kept_.tail, d);
        arrays(d);
    }

private:
    void drop(const QString& what) { dropped_.push_back(QStringLiteral("%1: %2").arg(sheet_, what)); }

    void objects(const Deletion& d)
    {
        auto& records = kept_.objects;
        const bool hasDrawing = std::any_of(records.begin(), records.end(), [](const KeptRecord& r) { return isDrawingRecord(r.id); });
        if (!hasDrawing) {
            records = follow(records, d);
            return;
        }
        std::optional<Drawing> drawing = Drawing::parse(records);
        if (!drawing) {
            // A drawing that cannot be taken apart cannot follow the rows: it goes whole.
            std::vector<KeptRecord> kept;
            int nested = 0;
            for (const KeptRecord& r : records) {
                if (r.id == rec::Bof) ++nested;
                const bool ofDrawing = nested > 0 || isDrawingRecord(r.id) || r.id == rec::Continue;
                if (r.id == rec::Eof && nested > 0) --nested;
                if (!ofDrawing) kept.push_back(r);
            }
            records = follow(kept, d);
            drop(QStringLiteral("рисунките и бележките на листа (не могат да последват изтритите редове)"));
            return;
        }
        // Notes of deleted cells go with their boxes; the others move up.
        drawing->forEachOther([&](KeptRecord& r) {
            if (r.id != rec::Note || r.data.size() < 8) return;
            const int row = row16(r.data, 0);
            if (const auto moved = d.row(row)) {
                setRow16(r.data, 0, *moved);
                return;
            }
            if (Drawing::Shape* box = drawing->shapeOfObject(row16(r.data, 6))) box->removed = true;
            r.id = 0;   // gone
            drop(QStringLiteral("бележката на ред %1 (редът е изтрит)").arg(row + 1));
        });
        for (Drawing::Shape& s : drawing->shapes()) {
            if (s.removed || s.anchor < 0) continue;
            int top = drawing->anchorRow(s, Drawing::kTop), bottom = drawing->anchorRow(s, Drawing::kBottom);
            if (bottom < d.top) continue;
            if (top >= d.top && bottom <= d.bottom && !s.note) {
                s.removed = true;
                drop(QStringLiteral("рисунка на редове %1 (редовете са изтрити)").arg(areaText(top, bottom)));
                continue;
            }
            drawing->setAnchorRow(s, Drawing::kTop, d.clamped(top), !d.row(top));
            drawing->setAnchorRow(s, Drawing::kBottom, d.clamped(bottom), !d.row(bottom));
        }
        std::vector<KeptRecord> out = drawing->records();
        std::erase_if(out, [](const KeptRecord& r) { return r.id == 0; });
        records = follow(out, d);
    }

    void window(const Deletion& d)
    {
        QByteArray& w2 = kept_.window2;
        const bool frozen = w2.size() >= 2 && (row16(w2, 0) & 0x0008);
        if (w2.size() >= 4) setRow16(w2, 2, d.clamped(row16(w2, 2)));
        for (KeptRecord& r : kept_.window) {
            if (r.id == rec::Pane && r.data.size() >= 8) {
                if (frozen) {
                    const int split = row16(r.data, 2);   // rows above the split
                    if (split > d.top) setRow16(r.data, 2, std::max(d.top, split - d.count));
                }
                setRow16(r.data, 4, d.clamped(row16(r.data, 4)));
            } else if (r.id == rec::Selection && r.data.size() >= 9) {
                setRow16(r.data, 1, d.clamped(row16(r.data, 1)));
                const int count = row16(r.data, 7);
                for (int i = 0; i < count && 9 + 6 * (i + 1) <= r.data.size(); ++i) {
                    const qsizetype at = 9 + 6 * i;
                    int r1 = row16(r.data, at), r2 = row16(r.data, at + 2);
                    if (!d.area(r1, r2)) r1 = r2 = d.top;
                    setRow16(r.data, at, r1);
                    setRow16(r.data, at + 2, std::max(r1, r2));
                }
            }
        }
    }

    std::vector<KeptRecord> pageBreaks(std::vector<KeptRecord> records, const Deletion& d)
    {
        for (KeptRecord& r : records) {
            if (r.id != rec::HorizontalPageBreaks || r.data.size() < 2) continue;
            QByteArray out = r.data.left(2);
            int kept = 0;
            for (qsizetype at = 2; at + 6 <= r.data.size(); at += 6) {
                const auto row = d.row(row16(r.data, at));
                if (!row || *row == 0) continue;
                QByteArray brk = r.data.mid(at, 6);
                setRow16(brk, 0, *row);
                out += brk;
                ++kept;
            }
            setRow16(out, 0, kept);
            r.data = out;
        }
        return records;
    }

    // The records of one place after the deletion: those that name rows follow them (writers
    // put conditional formats, validation and hyperlinks before or after the sheet's window).
    std::vector<KeptRecord> follow(const std::vector<KeptRecord>& records, const Deletion& d)
    {
        std::vector<KeptRecord> out;
        for (size_t i = 0; i < records.size(); ++i) {
            KeptRecord r = records[i];
            switch (r.id) {
            case rec::CondFmt: {
                size_t end = i + 1;
                while (end < records.size() && records[end].id == rec::Cf) ++end;
                conditionalFormat(records, i, end, d, out);
                i = end - 1;
                break;
            }
            case rec::DVal: {
                size_t end = i + 1;
                while (end < records.size() && records[end].id == rec::Dv) ++end;
                validation(records, i, end, d, out);
                i = end - 1;
                break;
            }
            case rec::HLink:
            case rec::HLinkTooltip: {
                const qsizetype at = r.id == rec::HLink ? 0 : 2;
                if (r.data.size() < at + 8) break;
                const int r1 = row16(r.data, at), r2 = row16(r.data, at + 2);
                if (moveArea(r.data, at, d)) out.push_back(r);
                else if (r.id == rec::HLink) drop(QStringLiteral("хипервръзката на ред %1 (редът е изтрит)").arg(areaText(r1, r2)));
                break;
            }
            case rec::Feat: {
                constexpr qsizetype kAreas = 12 + 2 + 1 + 4;   // the count of areas
                if (r.data.size() < kAreas + 2 + 6) break;
                // The areas come after the count, the size of the feature's data and 2 bytes.
                QByteArray rest = r.data.mid(kAreas + 2);
                QByteArray list = r.data.mid(kAreas, 2) + rest.mid(6);
                const auto moved = moveAreaList(list, 0, 8, d, nullptr);
                if (!moved) {
                    drop(QStringLiteral("защита на област от листа (редовете ѝ са изтрити)"));
                    break;
                }
                r.data = r.data.left(kAreas) + moved->left(2) + rest.left(6) + moved->mid(2);
                out.push_back(r);
                break;
            }
            default:
                if (namesCellsUnfollowed(r.id)) {
                    drop(QStringLiteral("запис 0x%1 (сочи клетки, а редове бяха изтрити)").arg(r.id, 4, 16, QLatin1Char('0')));
                    break;
                }
                out.push_back(r);
            }
        }
        return pageBreaks(out, d);
    }

    // CONDFMT and its CF records, records[begin, end).
    void conditionalFormat(const std::vector<KeptRecord>& records, size_t begin, size_t end, const Deletion& d,
                           std::vector<KeptRecord>& out)
    {
        KeptRecord head = records[begin];
        const auto before = boundsOf(head.data, 12);
        if (!before || !d.touches(before->r2)) {
            out.insert(out.end(), records.begin() + qsizetype(begin), records.begin() + qsizetype(end));
            return;
        }
        const QString where = areaText(before->r1, before->r2);
        bool cut = false;
        const auto moved = moveAreaList(head.data, 12, 8, d, &cut);
        if (!moved) {
            drop(QStringLiteral("условно форматиране на редове %1 (редовете са изтрити)").arg(where));
            return;
        }
        std::vector<KeptRecord> rules(records.begin() + qsizetype(begin + 1), records.begin() + qsizetype(end));
        for (KeptRecord& rule : rules) {
            if (rule.data.size() < 6) continue;
            const int size1 = row16(rule.data, 2), size2 = row16(rule.data, 4);
            const qsizetype at1 = rule.data.size() - size1 - size2, at2 = rule.data.size() - size2;
            const TokenRefs refs1 = refsOf(rule.data.mid(at1, size1)), refs2 = refsOf(rule.data.mid(at2, size2));
            const bool unsafe = !refs1.walked || !refs2.walked || ((refs1.offsets || refs2.offsets))
                             || (cut && (refs1.any || refs2.any));
            if (unsafe || !moveTokens(rule.data, at1, size1, d) || !moveTokens(rule.data, at2, size2, d)) {
                drop(QStringLiteral("условно форматиране на редове %1 (формулата му не може да последва изтритите редове)").arg(where));
                return;
            }
        }
        head.data = *moved;
        const auto bounds = boundsOf(head.data, 12);
        setRow16(head.data, 4, bounds->r1);
        setRow16(head.data, 6, bounds->r2);
        setRow16(head.data, 8, bounds->c1);
        setRow16(head.data, 10, bounds->c2);
        out.push_back(head);
        out.insert(out.end(), rules.begin(), rules.end());
    }

    // DVAL and its DV records, records[begin, end).
    void validation(const std::vector<KeptRecord>& records, size_t begin, size_t end, const Deletion& d,
                    std::vector<KeptRecord>& out)
    {
        KeptRecord head = records[begin];
        std::vector<KeptRecord> rules;
        for (size_t i = begin + 1; i < end; ++i) {
            KeptRecord rule = records[i];
            const auto layout = dvLayout(rule.data);
            if (!layout) {
                rules.push_back(rule);
                continue;
            }
            const auto before = boundsOf(rule.data, layout->areas);
            if (!before || !d.touches(before->r2)) {
                rules.push_back(rule);
                continue;
            }
            const QString where = areaText(before->r1, before->r2);
            bool cut = false;
            const auto moved = moveAreaList(rule.data, layout->areas, 8, d, &cut);
            if (!moved) {
                drop(QStringLiteral("проверка на данните на редове %1 (редовете са изтрити)").arg(where));
                continue;
            }
            rule.data = *moved;
            const TokenRefs refs1 = refsOf(rule.data.mid(layout->formula1, layout->size1));
            const TokenRefs refs2 = refsOf(rule.data.mid(layout->formula2, layout->size2));
            const bool unsafe = !refs1.walked || !refs2.walked || refs1.offsets || refs2.offsets || (cut && (refs1.any || refs2.any));
            if (unsafe || !moveTokens(rule.data, layout->formula1, int(layout->size1), d)
                || !moveTokens(rule.data, layout->formula2, int(layout->size2), d)) {
                drop(QStringLiteral("проверка на данните на редове %1 (формулата ѝ не може да последва изтритите редове)").arg(where));
                continue;
            }
            rules.push_back(rule);
        }
        if (rules.empty()) return;
        if (head.data.size() >= 18) put32(head.data.data() + 14, quint32(rules.size()));
        out.push_back(head);
        out.insert(out.end(), rules.begin(), rules.end());
    }

    void arrays(const Deletion& d)
    {
        std::vector<KeptArray> kept;
        for (KeptArray a : kept_.arrays) {
            int r1 = a.firstRow() - 1, r2 = a.lastRow() - 1;
            const QString what = a.id == rec::Array ? QStringLiteral("формулата за масив") : QStringLiteral("таблицата с данни");
            const QString where = areaText(r1, r2);
            if (r2 >= d.top && r1 <= d.bottom) {
                drop(QStringLiteral("%1 на редове %2 (част от редовете ѝ е изтрита; остават стойностите ѝ)").arg(what, where));
                continue;
            }
            if (r1 > d.bottom) {
                setRow16(a.data, 0, r1 - d.count);
                setRow16(a.data, 2, r2 - d.count);
            }
            bool ok = true;
            if (a.id == rec::Array && a.data.size() >= 14)
                ok = moveTokens(a.data, 14, std::min<int>(row16(a.data, 12), int(a.data.size() - 14)), d);
            if (a.id == rec::Table && a.data.size() >= 16) {
                // The rows of the table's input cells: the second one only for a table of two
                // inputs (a writer may leave other bytes there).
                constexpr quint16 kTwoInputs = 0x0008;
                const bool two = row16(a.data, 6) & kTwoInputs;
                const qsizetype rows[] = {8, 12};
                for (int i = 0; i < (two ? 2 : 1); ++i) {
                    const qsizetype at = rows[i];
                    const auto row = d.row(row16(a.data, at));
                    if (!row) ok = false;
                    else setRow16(a.data, at, *row);
                }
            }
            if (!ok) {
                drop(QStringLiteral("%1 на редове %2 (не може да последва изтритите редове; остават стойностите ѝ)").arg(what, where));
                continue;
            }
            kept.push_back(a);
        }
        kept_.arrays = std::move(kept);
    }

    KeptSheetRecords& kept_;
    const QString& sheet_;
    std::vector<QString>& dropped_;
};

} // namespace

int KeptArray::firstRow() const { return data.size() >= 6 ? row16(data, 0) + 1 : 0; }
int KeptArray::lastRow() const { return data.size() >= 6 ? row16(data, 2) + 1 : -1; }
int KeptArray::firstCol() const { return data.size() >= 6 ? quint8(data[4]) + 1 : 0; }
int KeptArray::lastCol() const { return data.size() >= 6 ? quint8(data[5]) + 1 : -1; }

const KeptArray* KeptSheetRecords::arrayAt(int row, int col) const
{
    for (const KeptArray& a : arrays)
        if (a.covers(row, col)) return &a;
    return nullptr;
}

void KeptSheetRecords::rowsDeleted(int first, int count, const QString& sheet, std::vector<QString>& dropped)
{
    if (count <= 0) return;
    RowFollower(*this, sheet, dropped).deleted(Deletion{first - 1, first + count - 2, count});
}

void KeptSheetRecords::rowsSorted(int first, int firstCol, int lastCol, const std::vector<int>& newRow,
                                  const QString& sheet, std::vector<QString>& dropped)
{
    const int last = first + int(newRow.size()) - 1;
    // 0-based row of the file -> 0-based row after the sort, for cells in the sorted columns.
    const auto moved = [&](int row, int col) {
        if (row + 1 < first || row + 1 > last || col + 1 < firstCol || col + 1 > lastCol) return row;
        return newRow[size_t(row + 1 - first)] - 1;
    };
    const auto inBlock = [&](int r1, int r2, int c1, int c2) {
        return r2 + 1 >= first && r1 + 1 <= last && c2 + 1 >= firstCol && c1 + 1 <= lastCol;
    };
    std::erase_if(arrays, [&](const KeptArray& a) {
        if (!inBlock(a.firstRow() - 1, a.lastRow() - 1, a.firstCol() - 1, a.lastCol() - 1)) return false;
        const QString what = a.id == rec::Array ? QStringLiteral("формулата за масив") : QStringLiteral("таблицата с данни");
        dropped.push_back(QStringLiteral("%1: %2 на редове %3 (редовете са подредени; остават стойностите ѝ)")
                              .arg(sheet, what, areaText(a.firstRow() - 1, a.lastRow() - 1)));
        return true;
    });
    // Notes and their boxes go with their cells.
    std::optional<Drawing> drawing = Drawing::parse(objects);
    bool notesMoved = false;
    const auto moveNote = [&](KeptRecord& r) {
        if (r.id != rec::Note || r.data.size() < 8) return;
        const int row = row16(r.data, 0), to = moved(row, row16(r.data, 2));
        if (to == row) return;
        setRow16(r.data, 0, to);
        notesMoved = true;
        if (!drawing) return;
        if (Drawing::Shape* box = drawing->shapeOfObject(row16(r.data, 6)); box && box->anchor >= 0)
            for (const int field : {Drawing::kTop, Drawing::kBottom})
                drawing->setAnchorRow(*box, field, std::clamp(drawing->anchorRow(*box, field) + to - row, 0, kLastRow), false);
    };
    if (drawing) {
        drawing->forEachOther(moveNote);
        if (notesMoved) objects = drawing->records();
    } else {
        for (KeptRecord& r : objects) moveNote(r);
    }
    // Hyperlinks of one cell go with it.
    for (std::vector<KeptRecord>* place : {&head, &objects, &tail})
    for (KeptRecord& r : *place) {
        const qsizetype at = r.id == rec::HLink ? 0 : r.id == rec::HLinkTooltip ? 2 : -1;
        if (at < 0 || r.data.size() < at + 8) continue;
        const int r1 = row16(r.data, at), r2 = row16(r.data, at + 2);
        if (r1 != r2 || row16(r.data, at + 4) != row16(r.data, at + 6)) continue;
        const int to = moved(r1, row16(r.data, at + 4));
        setRow16(r.data, at, to);
        setRow16(r.data, at + 2, to);
    }
}

} // namespace store
