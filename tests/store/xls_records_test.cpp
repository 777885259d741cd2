// Record-level pieces of the .xls layer: shared strings across CONTINUE records, RK numbers,
// record walking and the formatting records.

#include "store/StoreError.h"
#include "store/xls/BiffRecords.h"
#include "store/xls/Sst.h"
#include "store/xls/StyleRecords.h"

#include <gtest/gtest.h>

#include <limits>

using namespace store;
using namespace store::xls;

namespace {

std::vector<Record> allRecords(const QByteArray& stream)
{
    std::vector<Record> records;
    RecordReader reader(stream, 0);
    while (auto r = reader.next()) records.push_back(*r);
    return records;
}

// Reads back the SST written at the start of stream.
std::vector<QString> readBackSst(const QByteArray& stream)
{
    RecordReader reader(stream, 0);
    FieldReader fields(*reader.next());
    while (auto next = reader.peek()) {
        if (next->id != rec::Continue) break;
        fields.addContinue(*reader.next());
    }
    return readSst(fields);
}

QByteArray record(quint16 id, const QByteArray& data)
{
    QByteArray out(4, '\0');
    put16(out.data(), id);
    put16(out.data() + 2, quint16(data.size()));
    return out + data;
}

QByteArray le16(quint16 v) { QByteArray b(2, '\0'); put16(b.data(), v); return b; }
QByteArray le32(quint32 v) { QByteArray b(4, '\0'); put32(b.data(), v); return b; }

} // namespace

TEST(XlsSharedStrings, LongAndMixedTextsSurviveContinueRecords)
{
    StringTable table;
    std::vector<QString> texts;
    // Enough text for several CONTINUE records: short ones, Cyrillic ones (two bytes a
    // character), and long ones that must be split in their characters.
    for (int i = 0; i < 3000; ++i) {
        texts.push_back(i % 3 == 0 ? QStringLiteral("Кукла номер %1").arg(i) : QStringLiteral("item %1").arg(i));
    }
    texts.push_back(QString(20000, QLatin1Char('x')));
    texts.push_back(QString(9000, QChar(0x0416)));   // Ж: uncompressed, split in two places
    texts.push_back(QString());
    texts.push_back(QStringLiteral("последен"));
    for (const QString& t : texts) table.add(t);
    EXPECT_EQ(table.add(texts[1]), 1u);   // a text added twice keeps its index
    SstBuilder sst(table);
    for (quint32 i = 0; i < table.size(); ++i) sst.use(i);
    sst.use(1);
    sst.number();
    EXPECT_EQ(sst.uniqueCount(), texts.size());
    EXPECT_EQ(sst.totalCount(), texts.size() + 1);

    RecordWriter out;
    sst.write(out, 0);
    const auto records = allRecords(out.data());
    int continues = 0;
    for (const Record& r : records) {
        EXPECT_LE(r.size, kMaxRecordData);
        if (r.id == rec::Continue) ++continues;
    }
    EXPECT_GE(continues, 5);
    EXPECT_EQ(records.front().id, rec::Sst);
    EXPECT_EQ(get32(records.front().data), texts.size() + 1);
    EXPECT_EQ(get32(records.front().data + 4), texts.size());
    EXPECT_EQ(records.back().id, rec::ExtSst);

    EXPECT_EQ(readBackSst(out.data()), texts);
}

TEST(XlsSharedStrings, ExtSstPointsAtEveryBucketsFirstString)
{
    StringTable table;
    std::vector<QString> texts;
    for (int i = 0; i < 5000; ++i) texts.push_back(QStringLiteral("Стока %1 ").arg(i).repeated(1 + i % 7));
    table.adopt(texts);
    SstBuilder sst(table);
    for (quint32 i = 0; i < table.size(); ++i) sst.use(i);
    sst.number();
    const qsizetype base = 1000;   // where the SST starts in its stream
    RecordWriter sstOut;
    sst.write(sstOut, base);
    const auto records = allRecords(sstOut.data());
    const Record& ext = records.back();
    ASSERT_EQ(ext.id, rec::ExtSst);
    const quint16 bucketSize = get16(ext.data);
    EXPECT_GE(bucketSize, 8);
    const int buckets = (ext.size - 2) / 8;
    EXPECT_EQ(buckets, int((texts.size() + bucketSize - 1) / bucketSize));
    EXPECT_LE(buckets, 128);
    const auto* bytes = reinterpret_cast<const uchar*>(sstOut.data().constData());
    for (int b = 0; b < buckets; ++b) {
        const quint32 at = get32(ext.data + 2 + 8 * b) - quint32(base);
        const quint16 inRecord = get16(ext.data + 6 + 8 * b);
        // The string's header is where EXTSST says, both as a stream offset and within its record.
        EXPECT_EQ(get16(bytes + at), texts[size_t(b) * bucketSize].size()) << "bucket " << b;
        const quint16 recordId = get16(bytes + at - inRecord);
        EXPECT_TRUE(recordId == rec::Sst || recordId == rec::Continue) << "bucket " << b;
    }
}

TEST(XlsSharedStrings, ReadsRichPhoneticAndWidthChangingSplits)
{
    // One SST of three strings as other programs write them:
    // 1. "Ab" with two rich-text runs and 3 bytes of phonetic data;
    // 2. "abcdЖЖ" whose first four characters are compressed in the SST record and whose last two
    //    go on in a CONTINUE that starts with its own flags byte saying "two bytes each";
    // 3. "z" whose runs are split by the next CONTINUE (no flags byte before non-characters).
    QByteArray sst = le32(3) + le32(3);
    sst += le16(2) + char(0x0C) + le16(2) + le32(3) + QByteArray("Ab") + le32(0x00010000) + le32(0x00020001)
           + QByteArray("\x01\x02\x03", 3);
    sst += le16(6) + char(0x00) + QByteArray("abcd");
    QByteArray cont1 = QByteArray(1, char(0x01)) + le16(0x0416) + le16(0x0416);
    cont1 += le16(1) + char(0x08) + le16(1) + QByteArray("z") + QByteArray("\x00\x00", 2);
    QByteArray cont2 = QByteArray("\x00\x00", 2);
    const QByteArray stream = record(rec::Sst, sst) + record(rec::Continue, cont1) + record(rec::Continue, cont2);
    const std::vector<QString> expected{QStringLiteral("Ab"), QStringLiteral("abcdЖЖ"), QStringLiteral("z")};
    EXPECT_EQ(readBackSst(stream), expected);

    // A table declaring more strings than it holds gives those it holds, as other readers do.
    QByteArray tooFew = le32(4) + le32(4) + le16(1) + char(0) + QByteArray("q");
    EXPECT_EQ(readBackSst(record(rec::Sst, tooFew)), std::vector<QString>{QStringLiteral("q")});
}

TEST(XlsRecords, RkNumbersInAllFourForms)
{
    EXPECT_EQ(decodeRk((123u << 2) | 0x02), 123.0);
    EXPECT_EQ(decodeRk(quint32(-5 << 2) | 0x02), -5.0);
    EXPECT_EQ(decodeRk((12345u << 2) | 0x03), 123.45);
    // 1.5 as a double has all its bits in the top 30 bits of the high word.
    quint64 bits;
    const double onePointFive = 1.5;
    std::memcpy(&bits, &onePointFive, 8);
    EXPECT_EQ(decodeRk(quint32(bits >> 32)), 1.5);
    EXPECT_EQ(decodeRk(quint32(bits >> 32) | 0x01), 0.015);

    // Whole numbers, hundredths and short doubles, each in the form that holds it, read back to
    // the very same double.
    const std::vector<std::pair<double, quint32>> forms{
        {0.0, 0x02}, {1.0, 0x02}, {-1.0, 0x02}, {536870911.0, 0x02}, {-536870912.0, 0x02},
        {12.34, 0x03}, {-0.07, 0x03}, {123456.78, 0x03}, {0.1, 0x03},
        {1.5, 0x03}, {1099511627776.0, 0x00}, {-0.015625, 0x00}, {536870912.0, 0x00}};
    for (const auto& [n, form] : forms) {
        const auto rk = encodeRk(n);
        ASSERT_TRUE(rk.has_value()) << n;
        EXPECT_EQ(*rk & 0x03, form) << n;
        EXPECT_EQ(decodeRk(*rk), n) << n;
    }
    // Anything no RK holds exactly is left to NUMBER: more digits, more bits, -0.
    for (double n : {0.123, 1.0 / 3, 536870912.5, 123456789.123, -0.0,
                     std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()})
        EXPECT_FALSE(encodeRk(n).has_value()) << n;
}

TEST(XlsRecords, ReaderRefusesDataPastTheEnd)
{
    const QByteArray good = record(rec::Number, QByteArray(14, '\0'));
    RecordReader ok(good, 0);
    ASSERT_TRUE(ok.next().has_value());
    EXPECT_FALSE(ok.next().has_value());

    RecordReader truncated(good.left(good.size() - 1), 0);
    EXPECT_THROW(truncated.next(), Error);
    RecordReader halfHeader(good + QByteArray(2, '\0'), 0);
    halfHeader.next();
    EXPECT_THROW(halfHeader.next(), Error);

    // A field past the record's own data.
    RecordReader shortRecord(record(rec::Number, QByteArray(4, '\0')), 0);
    FieldReader fields(*shortRecord.next());
    fields.u32();
    EXPECT_THROW(fields.u16(), Error);
}

TEST(XlsRecords, FontAndXfKeepEveryField)
{
    Font font;
    font.name = QStringLiteral("Times New Roman Кирилица");
    font.height = 280;
    font.weight = 700;
    font.italic = true;
    font.strikeout = true;
    font.underline = 1;
    font.colorIndex = 10;
    font.escapement = 1;
    font.family = 1;
    font.charset = 204;

    CellFormat xf;
    xf.font = 6;
    xf.numberFormat = 165;
    xf.locked = false;
    xf.hidden = true;
    xf.parentStyle = 0;
    xf.hAlign = HAlign::Center;
    xf.vAlign = VAlign::Top;
    xf.wrap = true;
    xf.rotation = 90;
    xf.indent = 3;
    xf.shrinkToFit = true;
    xf.usedAttributes = 0xF8;
    xf.left = {BorderLine::Thin, 8};
    xf.right = {BorderLine::Medium, 12};
    xf.top = {BorderLine::Double, 64};
    xf.bottom = {BorderLine::SlantDashDot, 33};
    xf.fillPattern = 1;
    xf.patternColor = 13;
    xf.backgroundColor = 64;

    CellFormat style;
    style.isStyle = true;
    style.font = 2;
    style.usedAttributes = 0xF4;

    RecordWriter out;
    writeFont(out, font);
    writeXf(out, xf);
    writeXf(out, style);
    writeNumberFormat(out, 170, QStringLiteral("0.00\" лв.\""));
    const auto records = allRecords(out.data());
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[1].size, 20);
    EXPECT_EQ(get16(records[0].data + 2), 0x000B);   // bold (for older readers), italic, struck out
    // A style XF has no parent: the file says 0xFFF there.
    EXPECT_EQ(get16(records[2].data + 4), 0xFFF5);

    FieldReader f0(records[0]), f1(records[1]), f2(records[2]), f3(records[3]);
    EXPECT_EQ(readFont(f0), font);
    EXPECT_EQ(readXf(f1), xf);
    EXPECT_EQ(readXf(f2), style);
    const auto [index, code] = readNumberFormat(f3);
    EXPECT_EQ(index, 170);
    EXPECT_EQ(code, QStringLiteral("0.00\" лв.\""));
}

TEST(XlsStyles, DefaultTableAndAdditions)
{
    WorkbookStyles s = WorkbookStyles::defaults();
    ASSERT_EQ(s.fonts.size(), 5u);
    ASSERT_EQ(s.formats.size(), 16u);
    for (int i = 0; i < 15; ++i) EXPECT_TRUE(s.formats[size_t(i)].isStyle) << i;
    EXPECT_FALSE(s.formats[kDefaultCellFormat].isStyle);
    // The outline styles sit on fonts 1 and 2, everything else on font 0.
    EXPECT_EQ(s.formats[1].font, 1);
    EXPECT_EQ(s.formats[2].font, 1);
    EXPECT_EQ(s.formats[3].font, 2);
    EXPECT_EQ(s.formats[4].font, 2);
    EXPECT_EQ(s.formats[5].font, 0);
    EXPECT_EQ(s.formats[kDefaultCellFormat].font, 0);

    // Font index 4 names nothing; 5 is the fifth FONT record.
    EXPECT_EQ(s.fontAt(4), nullptr);
    EXPECT_EQ(s.fontAt(5), &s.fonts[4]);
    EXPECT_EQ(s.fontAt(6), nullptr);
    Font italic;
    italic.italic = true;
    EXPECT_EQ(s.addFont(italic), 6);
    EXPECT_EQ(s.fontAt(6), &s.fonts[5]);
    EXPECT_EQ(s.addFont(Font{}), 0);

    EXPECT_EQ(s.addNumberFormat(QStringLiteral("General")), 0);
    EXPECT_EQ(s.addNumberFormat(QStringLiteral("0.00")), 2);
    EXPECT_EQ(s.addNumberFormat(QStringLiteral("0.000")), 164);
    EXPECT_EQ(s.addNumberFormat(QStringLiteral("#0.00\" лв\"")), 165);
    EXPECT_EQ(s.addNumberFormat(QStringLiteral("0.000")), 164);
    EXPECT_EQ(s.numberFormatCode(165), QStringLiteral("#0.00\" лв\""));
    EXPECT_EQ(s.numberFormatCode(4), QStringLiteral("#,##0.00"));
    // A file may give a built-in index a code of its own: that one is then the index's code.
    s.numberFormats[2] = QStringLiteral("0.00;[Red]-0.00");
    EXPECT_EQ(s.addNumberFormat(QStringLiteral("0.00")), 166);

    // A cell format records which groups of attributes are its own rather than its style's.
    CellFormat plain;
    EXPECT_EQ(s.addFormat(plain), kDefaultCellFormat);
    CellFormat bold;
    bold.font = 6;
    const quint16 boldIndex = s.addFormat(bold);
    EXPECT_EQ(boldIndex, 16);
    EXPECT_EQ(s.formats[boldIndex].usedAttributes, 0x08);
    CellFormat boxed;
    boxed.numberFormat = 2;
    boxed.top = {BorderLine::Thin, 8};
    boxed.locked = false;
    const quint16 boxedIndex = s.addFormat(boxed);
    EXPECT_EQ(s.formats[boxedIndex].usedAttributes, 0x04 | 0x20 | 0x80);
    EXPECT_EQ(s.addFormat(boxed), boxedIndex);
    EXPECT_EQ(s.formats.size(), 18u);
}
