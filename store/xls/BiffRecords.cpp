#include "store/xls/BiffRecords.h"

#include "store/StoreError.h"
#include "store/xls/XlsError.h"

#include <algorithm>
#include <cmath>

namespace store::xls {

namespace {
QString recordName(quint16 id)
{
    return QStringLiteral("0x%1").arg(id, 4, 16, QLatin1Char('0'));
}
} // namespace

bool fitsInLatin1(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() > 0xFF) return false;
    return true;
}

void RecordWriter::grow(qsizetype count)
{
    buffer_.resize(std::max(used_ + count, std::max<qsizetype>(2 * buffer_.size(), 4096)));
}

void RecordWriter::begin(quint16 id)
{
    recordStart_ = used_;
    char* header = room(4);
    put16(header, id);
    put16(header + 2, 0);
}

void RecordWriter::appendChars(const QString& text, qsizetype from, qsizetype count, bool compressed)
{
    const QChar* chars = text.constData() + from;
    if (compressed) {
        char* out = room(count);
        for (qsizetype i = 0; i < count; ++i) out[i] = char(chars[i].unicode());
    } else {
        qToLittleEndian<quint16>(chars, count, room(2 * count));
    }
}

void RecordWriter::appendUnicodeString(const QString& text, bool shortLength)
{
    const bool compressed = fitsInLatin1(text);
    if (shortLength)
        appendU8(quint8(text.size()));
    else
        appendU16(quint16(text.size()));
    appendU8(compressed ? 0x00 : 0x01);
    appendChars(text, 0, text.size(), compressed);
}

void RecordWriter::end()
{
    const qsizetype size = recordDataSize();
    Q_ASSERT(size <= kMaxRecordData);
    put16(buffer_.data() + recordStart_ + 2, quint16(size));
}

ContinuedRecord::ContinuedRecord(RecordWriter& out, quint16 id) : out_(out)
{
    out_.begin(id);
}

void ContinuedRecord::startContinue()
{
    out_.end();
    out_.begin(rec::Continue);
}

void ContinuedRecord::keepTogether(int size)
{
    if (room() < size) startContinue();
}

void ContinuedRecord::keepStringHeadTogether(const QString& text)
{
    // The header and the first character stay together; a string is never split in its header.
    keepTogether(text.isEmpty() ? 3 : fitsInLatin1(text) ? 4 : 5);
}

void ContinuedRecord::appendString(const QString& text)
{
    const bool compressed = fitsInLatin1(text);
    const int width = compressed ? 1 : 2;
    keepStringHeadTogether(text);
    out_.appendU16(quint16(text.size()));
    out_.appendU8(compressed ? 0x00 : 0x01);
    qsizetype done = 0;
    while (done < text.size()) {
        if (room() < width) {
            startContinue();
            out_.appendU8(compressed ? 0x00 : 0x01);
        }
        const qsizetype count = std::min<qsizetype>(text.size() - done, room() / width);
        out_.appendChars(text, done, count, compressed);
        done += count;
    }
}

RecordReader::RecordReader(const QByteArray& stream, qsizetype start)
    : data_(reinterpret_cast<const uchar*>(stream.constData())), size_(stream.size()), pos_(start)
{
}

void RecordReader::refuseCutHeader() const
{
    throw Error(XlsError::RecordHeaderCut, {QString::number(pos_)});
}

void RecordReader::refuseCutRecord(quint16 id) const
{
    throw Error(XlsError::RecordCut, {recordName(id), QString::number(pos_)});
}

void FieldReader::tooShort() const
{
    throw Error(XlsError::RecordShort, {recordName(first_.id), QString::number(first_.offset)});
}

void FieldReader::advanceSegment()
{
    if (seg_ + 1 >= segmentCount()) tooShort();
    ++seg_;
    at_ = 0;
}

bool FieldReader::atEnd() const
{
    if (at_ < segment(seg_).size) return false;
    for (size_t s = seg_ + 1; s < segmentCount(); ++s)
        if (segment(s).size > 0) return false;
    return true;
}

const uchar* FieldReader::take(qsizetype count)
{
    while (remainingInSegment() == 0 && count > 0) advanceSegment();
    if (remainingInSegment() >= count) {
        const uchar* p = segment(seg_).data + at_;
        at_ += count;
        return p;
    }
    // A field that straddles a CONTINUE boundary: gather its bytes.
    static thread_local uchar scratch[8];
    Q_ASSERT(count <= 8);
    for (qsizetype i = 0; i < count; ++i) {
        while (remainingInSegment() == 0) advanceSegment();
        scratch[i] = segment(seg_).data[at_++];
    }
    return scratch;
}

quint8 FieldReader::u8() { return *take(1); }
quint16 FieldReader::u16() { return get16(take(2)); }
quint32 FieldReader::u32() { return get32(take(4)); }
double FieldReader::f64() { return getDouble(take(8)); }

void FieldReader::skip(qsizetype count)
{
    while (count > 0) {
        while (remainingInSegment() == 0) advanceSegment();
        const qsizetype n = std::min(count, remainingInSegment());
        at_ += n;
        count -= n;
    }
}

QByteArray FieldReader::bytes(qsizetype count)
{
    QByteArray out;
    out.reserve(count);
    while (count > 0) {
        while (remainingInSegment() == 0) advanceSegment();
        const qsizetype n = std::min(count, remainingInSegment());
        out.append(reinterpret_cast<const char*>(segment(seg_).data + at_), n);
        at_ += n;
        count -= n;
    }
    return out;
}

QString FieldReader::chars(qsizetype count, bool highBytes)
{
    QString text(count, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    qsizetype done = 0;
    while (done < count) {
        if (remainingInSegment() == 0) {
            // Characters go on in the next CONTINUE record, which starts with its own flags byte.
            advanceSegment();
            highBytes = (u8() & 0x01) != 0;
        }
        const int width = highBytes ? 2 : 1;
        const qsizetype n = std::min(count - done, remainingInSegment() / width);
        if (n == 0 && remainingInSegment() == 0) continue;   // a CONTINUE holding its flags byte only
        if (n == 0) tooShort();
        const uchar* p = segment(seg_).data + at_;
        if (highBytes) {
            qFromLittleEndian<quint16>(p, n, out + done);
        } else {
            for (qsizetype i = 0; i < n; ++i) out[done + i] = p[i];
        }
        at_ += n * width;
        done += n;
    }
    return text;
}

QString FieldReader::unicodeString(bool shortLength)
{
    const quint16 length = shortLength ? u8() : u16();
    if (length == 0 && atEnd()) return QString();
    const quint8 flags = u8();
    quint16 runs = 0;
    quint32 extSize = 0;
    if (flags & 0x08) runs = u16();
    if (flags & 0x04) extSize = u32();
    QString text = chars(length, flags & 0x01);
    skip(qsizetype(runs) * 4);
    skip(extSize);
    return text;
}

QString FieldReader::truncatedUnicodeString(bool shortLength)
{
    if (segmentCount() > 1) return unicodeString(shortLength);   // a string continued is written in full
    const qsizetype start = at_;
    const quint16 length = shortLength ? u8() : u16();
    if (length == 0 && atEnd()) return QString();
    const quint8 flags = u8();
    if (flags & 0x0C) {
        at_ = start;
        return unicodeString(shortLength);
    }
    const int width = (flags & 0x01) ? 2 : 1;
    return chars(std::min<qsizetype>(length, remainingInSegment() / width), flags & 0x01);
}

std::optional<quint32> encodeRk(double number)
{
    constexpr double kMin = -(1 << 29), kMax = (1 << 29) - 1;
    if (number == 0 && std::signbit(number)) return std::nullopt;   // -0 would come back as 0
    // In range, the conversion is exact for whole numbers and drops the fraction of any other.
    if (number >= kMin && number <= kMax && double(qint32(number)) == number)
        return (quint32(qint32(number)) << 2) | 0x02;
    // Hundredths, such as a price: kept only when dividing by 100 gives back the very same double.
    const double hundredfold = number * 100;
    if (hundredfold >= kMin && hundredfold <= kMax) {
        const qint32 whole = qint32(hundredfold < 0 ? hundredfold - 0.5 : hundredfold + 0.5);
        if (double(whole) / 100.0 == number) return (quint32(whole) << 2) | 0x03;
    }
    // A double whose low 34 bits are zero, such as 0.5 or 1e20.
    quint64 bits;
    std::memcpy(&bits, &number, 8);
    if (std::isfinite(number) && (bits & 0x3FFFFFFFFull) == 0) return quint32(bits >> 32);
    return std::nullopt;
}

} // namespace store::xls
