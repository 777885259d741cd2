#pragma once

// Byte-level pieces of BIFF8 records: the record ids we read and write, writing records into one
// buffer, walking the records of a stream, RK numbers and strings that run on into CONTINUE
// records.

#include <QByteArray>
#include <QString>
#include <QtEndian>
#include <cstring>
#include <optional>
#include <vector>

namespace store::xls {

namespace rec {
inline constexpr quint16 Formula = 0x0006;
inline constexpr quint16 OldFormula = 0x0406;   // the id Excel 3 and 4 used, still met in files
inline constexpr quint16 Name = 0x0018;
inline constexpr quint16 ExternName = 0x0023;
inline constexpr quint16 ExternSheet = 0x0017;
inline constexpr quint16 SupBook = 0x01AE;
inline constexpr quint16 Eof = 0x000A;
inline constexpr quint16 CalcMode = 0x000D;
inline constexpr quint16 Uncalced = 0x005E;
inline constexpr quint16 DateMode = 0x0022;
inline constexpr quint16 FilePass = 0x002F;
inline constexpr quint16 Font = 0x0031;
inline constexpr quint16 Continue = 0x003C;
inline constexpr quint16 Window1 = 0x003D;
inline constexpr quint16 CodePage = 0x0042;
inline constexpr quint16 ColInfo = 0x007D;
inline constexpr quint16 BoundSheet = 0x0085;
inline constexpr quint16 Style = 0x0293;
inline constexpr quint16 MulRk = 0x00BD;
inline constexpr quint16 MulBlank = 0x00BE;
inline constexpr quint16 RString = 0x00D6;
inline constexpr quint16 Xf = 0x00E0;
inline constexpr quint16 MergedCells = 0x00E5;
inline constexpr quint16 Sst = 0x00FC;
inline constexpr quint16 LabelSst = 0x00FD;
inline constexpr quint16 ExtSst = 0x00FF;
inline constexpr quint16 Dimensions = 0x0200;
inline constexpr quint16 Blank = 0x0201;
inline constexpr quint16 Number = 0x0203;
inline constexpr quint16 Label = 0x0204;
inline constexpr quint16 BoolErr = 0x0205;
inline constexpr quint16 String = 0x0207;
inline constexpr quint16 Row = 0x0208;
inline constexpr quint16 Window2 = 0x023E;
inline constexpr quint16 Rk = 0x027E;
inline constexpr quint16 Format = 0x041E;
inline constexpr quint16 ShrFmla = 0x04BC;
inline constexpr quint16 Bof = 0x0809;
// Records kept as read and followed when rows move.
inline constexpr quint16 HorizontalPageBreaks = 0x001B;
inline constexpr quint16 Note = 0x001C;
inline constexpr quint16 Selection = 0x001D;
inline constexpr quint16 Pane = 0x0041;
inline constexpr quint16 DConRef = 0x0051;
inline constexpr quint16 Xct = 0x0059;
inline constexpr quint16 Crn = 0x005A;
inline constexpr quint16 Obj = 0x005D;
inline constexpr quint16 Palette = 0x0092;
inline constexpr quint16 Scl = 0x00A0;
inline constexpr quint16 Scenario = 0x00AF;
inline constexpr quint16 DbCell = 0x00D7;
inline constexpr quint16 MsoDrawingGroup = 0x00EB;
inline constexpr quint16 MsoDrawing = 0x00EC;
inline constexpr quint16 PhoneticInfo = 0x00EF;
inline constexpr quint16 LabelRanges = 0x015F;
inline constexpr quint16 CondFmt = 0x01B0;
inline constexpr quint16 Cf = 0x01B1;
inline constexpr quint16 DVal = 0x01B2;
inline constexpr quint16 Txo = 0x01B6;
inline constexpr quint16 HLink = 0x01B8;
inline constexpr quint16 Dv = 0x01BE;
inline constexpr quint16 Index = 0x020B;
inline constexpr quint16 Array = 0x0221;
inline constexpr quint16 Table = 0x0236;
inline constexpr quint16 HLinkTooltip = 0x0800;
inline constexpr quint16 CellWatch = 0x086C;
inline constexpr quint16 Feat = 0x0868;
inline constexpr quint16 Feat11 = 0x0872;
inline constexpr quint16 DropDownObjIds = 0x0874;
inline constexpr quint16 List12 = 0x0877;
inline constexpr quint16 CondFmt12 = 0x0879;
inline constexpr quint16 Cf12 = 0x087A;
inline constexpr quint16 CfEx = 0x087B;
inline constexpr quint16 AutoFilter12 = 0x087E;
inline constexpr quint16 Plv = 0x088B;
inline constexpr quint16 Feat12 = 0x0878;
} // namespace rec

inline constexpr quint16 kBiff8Version = 0x0600;
inline constexpr quint16 kBofGlobals = 0x0005;
inline constexpr quint16 kBofWorksheet = 0x0010;
// Largest data part of one record; longer data runs on in CONTINUE records.
inline constexpr int kMaxRecordData = 8224;
// The tokens of a formula fill what a FORMULA record holds after its 22 bytes of cell and result.
inline constexpr int kMaxFormulaTokens = kMaxRecordData - 22;

inline void put16(char* p, quint16 v) { qToLittleEndian(v, p); }
inline void put32(char* p, quint32 v) { qToLittleEndian(v, p); }
inline void putDouble(char* p, double v) { quint64 bits; std::memcpy(&bits, &v, 8); qToLittleEndian(bits, p); }
inline quint16 get16(const uchar* p) { return qFromLittleEndian<quint16>(p); }
inline quint32 get32(const uchar* p) { return qFromLittleEndian<quint32>(p); }
inline double getDouble(const uchar* p) { const quint64 bits = qFromLittleEndian<quint64>(p); double v; std::memcpy(&v, &bits, 8); return v; }

// Whether every character fits in one byte, so the text can be stored "compressed".
bool fitsInLatin1(const QString& text);

// Appends records to one growing buffer. The buffer grows in large steps and holds slack past
// what is written: a record costs a few stores, not a resize of the array.
class RecordWriter {
public:
    explicit RecordWriter(qsizetype reserve = 0) { this->reserve(reserve); }
    // Room for size bytes at once, so a big buffer is not moved and copied as it grows.
    void reserve(qsizetype size)
    {
        if (size > buffer_.size()) buffer_.resize(size);
    }

    // A whole record whose data is given at once.
    void record(quint16 id, const char* data, quint16 size)
    {
        char* out = room(4 + size);
        put16(out, id);
        put16(out + 2, size);
        std::memcpy(out + 4, data, size);
    }
    template <size_t N> void record(quint16 id, const char (&data)[N]) { record(id, data, quint16(N)); }

    // A record built piece by piece: begin, append, end (which fills in the length).
    void begin(quint16 id);
    void append(const char* data, qsizetype size) { std::memcpy(room(size), data, size_t(size)); }
    void appendU8(quint8 v) { *room(1) = char(v); }
    void appendU16(quint16 v) { put16(room(2), v); }
    void appendU32(quint32 v) { put32(room(4), v); }
    // Characters only, compressed (one byte each) or UTF-16LE.
    void appendChars(const QString& text, qsizetype from, qsizetype count, bool compressed);
    // A BIFF8 string that fits in the record: length (8 or 16 bits), flags, characters.
    void appendUnicodeString(const QString& text, bool shortLength = false);
    void end();
    // Bytes of data in the record begun last, so far.
    qsizetype recordDataSize() const { return used_ - recordStart_ - 4; }
    qsizetype recordStart() const { return recordStart_; }

    qsizetype size() const { return used_; }
    void patch32(qsizetype at, quint32 v) { put32(buffer_.data() + at, v); }
    // What is written, as one array.
    const QByteArray& data() const
    {
        if (buffer_.size() != used_) buffer_.resize(used_);
        return buffer_;
    }
    // Empties the buffer, keeping its room.
    void clear() { used_ = 0; }

private:
    // Where the next count bytes go; they count as written.
    char* room(qsizetype count)
    {
        if (buffer_.size() - used_ < count) grow(count);
        char* at = buffer_.data() + used_;
        used_ += count;
        return at;
    }
    void grow(qsizetype count);

    mutable QByteArray buffer_;   // what is written, then slack
    qsizetype used_ = 0;
    qsizetype recordStart_ = -1;
};

// Writes a record whose data may be longer than one record can hold, such as SST or STRING:
// data runs on in CONTINUE records, and characters split there go on after a new flags byte.
class ContinuedRecord {
public:
    ContinuedRecord(RecordWriter& out, quint16 id);
    // Makes sure the next `size` bytes go into one record, starting a CONTINUE if they would not fit.
    void keepTogether(int size);
    void appendU8(quint8 v) { out_.appendU8(v); }
    void appendU16(quint16 v) { out_.appendU16(v); }
    void appendU32(quint32 v) { out_.appendU32(v); }
    // The header (length, flags) and characters of a BIFF8 string with a 16-bit length.
    void appendString(const QString& text);
    // Starts a CONTINUE now if appendString(text) would start one before the string's header.
    void keepStringHeadTogether(const QString& text);
    void finish() { out_.end(); }
    // Where the next byte goes: in the whole buffer, and from the start of the current record.
    qsizetype position() const { return out_.size(); }
    qsizetype offsetInRecord() const { return out_.size() - out_.recordStart(); }

private:
    int room() const { return kMaxRecordData - int(out_.recordDataSize()); }
    void startContinue();
    RecordWriter& out_;
};

// One record of a stream: its id, data and the stream offset of its header.
struct Record {
    quint16 id = 0;
    const uchar* data = nullptr;
    quint16 size = 0;
    qsizetype offset = 0;
};

// Walks the records of a stream. A record whose data runs past the end of the stream is an error.
class RecordReader {
public:
    RecordReader(const QByteArray& stream, qsizetype start);
    // The next record, or nothing at the end of the stream.
    std::optional<Record> next()
    {
        auto r = peek();
        if (r) pos_ += 4 + r->size;
        return r;
    }
    // The next record without moving on. (Here, not out of line: a big sheet has a million.)
    std::optional<Record> peek() const
    {
        if (pos_ >= size_) return std::nullopt;
        if (size_ - pos_ < 4) refuseCutHeader();
        Record r;
        r.id = get16(data_ + pos_);
        r.size = get16(data_ + pos_ + 2);
        r.offset = pos_;
        r.data = data_ + pos_ + 4;
        if (size_ - pos_ - 4 < r.size) refuseCutRecord(r.id);
        return r;
    }
    qsizetype position() const { return pos_; }

private:
    [[noreturn]] void refuseCutHeader() const;
    [[noreturn]] void refuseCutRecord(quint16 id) const;

    const uchar* data_;
    qsizetype size_;
    qsizetype pos_;
};

// Reads the fields of a record's data (and of CONTINUE records after it, for strings), with every
// read checked against the data's end.
class FieldReader {
public:
    explicit FieldReader(const Record& record) : first_(record) {}
    // Adds a CONTINUE record's data after what is there.
    void addContinue(const Record& record) { continues_.push_back(record); }

    quint8 u8();
    quint16 u16();
    quint32 u32();
    double f64();
    void skip(qsizetype count);
    QByteArray bytes(qsizetype count);
    // Characters of a BIFF8 string whose flags byte was read already; a CONTINUE boundary inside
    // them brings its own flags byte.
    QString chars(qsizetype count, bool highBytes);
    // A whole BIFF8 string with a 16-bit (or 8-bit) length: rich-text runs and phonetic data
    // after it are skipped.
    // An empty string may come without its flags byte at the very end of a record.
    QString unicodeString(bool shortLength = false);
    // A string cut short by the record's end gives the characters that are there, as other
    // programs read a number format written one byte short, a cell's text (LABEL) or a sheet's
    // name cut short.
    QString truncatedUnicodeString(bool shortLength = false);
    bool atEnd() const;
    qsizetype remainingInSegment() const { return qsizetype(segment(seg_).size) - at_; }

private:
    const uchar* take(qsizetype count);
    void advanceSegment();
    [[noreturn]] void tooShort() const;
    // The record and its CONTINUE records; most records have none, so no allocation is made.
    const Record& segment(size_t index) const { return index == 0 ? first_ : continues_[index - 1]; }
    size_t segmentCount() const { return 1 + continues_.size(); }
    Record first_;
    std::vector<Record> continues_;
    size_t seg_ = 0;
    qsizetype at_ = 0;
};

// RK numbers: 30 bits of an integer or the top 30 bits of a double, either one maybe × 100.
inline double decodeRk(quint32 rk)
{
    double value;
    if (rk & 0x02) {
        value = double(qint32(rk) >> 2);
    } else {
        const quint64 bits = quint64(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, 8);
    }
    return (rk & 0x01) ? value / 100.0 : value;
}

// The RK form of a number that one reads back exactly: a whole number of 30 bits, hundredths of
// one, or a double whose low 34 bits are zero. Other numbers are written as NUMBER.
std::optional<quint32> encodeRk(double number);

} // namespace store::xls
