// Records other writers leave in a form our writer would refuse: a merged area upside down, a
// font without a name, fewer cell formats than a file must have, texts longer than a typed one,
// records cut short. Such a workbook must open and then save, or every change of the shop
// keeper's session would be lost at its first save.
#include "store/Workbook.h"
#include "store/xls/BiffRecords.h"
#include "tests/support/Oracles.h"
#include "tests/support/XlsRewrite.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace store;
using namespace store::xls;
using testsupport::RawRecord;
using testsupport::RecordChange;
using testsupport::rewriteXls;
using namespace Qt::StringLiterals;

namespace {

// A workbook of our own writer, one sheet with a text and a number, merged B2:C3, rewritten.
QString spoiledFile(const QString& dir, const RecordChange& change)
{
    Workbook book;
    Worksheet& sheet = book.sheets(1);
    sheet.setName(u"Стоки"_s);
    sheet.setValue(1, 1, Value(u"кукла"_s));
    sheet.setValue(1, 2, Value(12.5));
    sheet.merged().push_back(CellArea{2, 2, 3, 3});
    const QString good = dir + u"/good.xls"_s;
    book.SaveAs(good);
    const QString path = dir + u"/spoiled.xls"_s;
    rewriteXls(good, path, change);
    return path;
}

quint16 u16At(const QByteArray& data, qsizetype at) { return get16(reinterpret_cast<const uchar*>(data.constData()) + at); }

// Opens the file, saves it over itself, and gives back what xlrd reads from the saved file.
QJsonObject openSaveAndReadWithXlrd(const QString& path, std::unique_ptr<Workbook>& book)
{
    book = Workbook::open(path);
    book->Save();
    book = Workbook::open(path);
    return testsupport::readWithXlrd(path);
}

// The value xlrd reads from a cell, counted from 1 as the workbook counts.
QJsonValue xlrdValue(const QJsonObject& xlrd, int row, int col)
{
    for (const auto& cell : xlrd[u"sheets"_s][0][u"cells"_s].toArray())
        if (cell[0].toInt() == row - 1 && cell[1].toInt() == col - 1) return cell[3];
    return {};
}

QByteArray latin1String(const QByteArray& chars, quint16 declared)
{
    QByteArray data(3, '\0');
    put16(data.data(), declared);
    return data + chars;
}

} // namespace

TEST(XlsMendOnRead, MergedAreaUpsideDownIsPutInOrder)
{
    QTemporaryDir dir;
    const QString path = spoiledFile(dir.path(), [](const RawRecord& r) -> std::optional<RawRecord> {
        if (r.id != rec::MergedCells) return r;
        QByteArray data = r.data;   // rows 3 to 2, columns C to B
        put16(data.data() + 2, 2);
        put16(data.data() + 4, 1);
        put16(data.data() + 6, 2);
        put16(data.data() + 8, 1);
        return RawRecord{r.id, data};
    });
    std::unique_ptr<Workbook> book;
    const QJsonObject xlrd = openSaveAndReadWithXlrd(path, book);
    ASSERT_EQ(book->sheets(1).merged().size(), 1u);
    EXPECT_EQ(book->sheets(1).merged()[0], (CellArea{2, 2, 3, 3}));
    ASSERT_TRUE(xlrd[u"error"_s].isNull()) << xlrd[u"error"_s].toString().toStdString();
    // xlrd counts from 0 with the last row and column past the end.
    EXPECT_EQ(xlrd[u"sheets"_s][0][u"merged"_s].toArray(), QJsonArray({QJsonArray({1, 3, 1, 3})}));
}

TEST(XlsMendOnRead, MergedAreaPastTheLastColumnIsCut)
{
    QTemporaryDir dir;
    const QString path = spoiledFile(dir.path(), [](const RawRecord& r) -> std::optional<RawRecord> {
        if (r.id != rec::MergedCells) return r;
        QByteArray data(2 + 16, '\0');   // B2:column 300, and an area wholly past the sheet
        put16(data.data(), 2);
        put16(data.data() + 2, 1), put16(data.data() + 4, 2), put16(data.data() + 6, 1), put16(data.data() + 8, 299);
        put16(data.data() + 10, 4), put16(data.data() + 12, 4), put16(data.data() + 14, 260), put16(data.data() + 16, 270);
        return RawRecord{r.id, data};
    });
    auto book = Workbook::open(path);
    ASSERT_EQ(book->sheets(1).merged().size(), 1u);
    EXPECT_EQ(book->sheets(1).merged()[0], (CellArea{2, 2, 3, kMaxColumns}));
    book->Save();
}

TEST(XlsMendOnRead, FontWithoutANameGetsTheDefaultOne)
{
    QTemporaryDir dir;
    int fonts = 0;
    const QString path = spoiledFile(dir.path(), [&](const RawRecord& r) -> std::optional<RawRecord> {
        if (r.id != rec::Font || fonts++ != 0) return r;
        QByteArray data = r.data.left(14);   // the fields before the name
        data.append('\0').append('\0');      // no characters, compressed
        return RawRecord{r.id, data};
    });
    std::unique_ptr<Workbook> book;
    const QJsonObject xlrd = openSaveAndReadWithXlrd(path, book);
    EXPECT_EQ(book->styles().fonts[0].name, u"Arial"_s);
    ASSERT_TRUE(xlrd[u"error"_s].isNull()) << xlrd[u"error"_s].toString().toStdString();
    EXPECT_EQ(xlrd[u"fonts"_s][0][u"name"_s].toString(), u"Arial"_s);
}

TEST(XlsMendOnRead, FewerThanSixteenCellFormatsAreMadeUp)
{
    // Only Normal (XF 0) and one cell format (XF 1) that the cells use.
    QTemporaryDir dir;
    int xf = 0;
    const QString path = spoiledFile(dir.path(), [&](const RawRecord& r) -> std::optional<RawRecord> {
        if (r.id == rec::Xf) {
            const int index = xf++;
            if (index != 0 && index != kDefaultCellFormat) return std::nullopt;
            return r;
        }
        const bool cell = r.id == rec::LabelSst || r.id == rec::Rk || r.id == rec::Number || r.id == rec::Blank;
        if (!cell || u16At(r.data, 4) != kDefaultCellFormat) return r;
        QByteArray data = r.data;
        put16(data.data() + 4, 1);
        return RawRecord{r.id, data};
    });
    std::unique_ptr<Workbook> book;
    const QJsonObject xlrd = openSaveAndReadWithXlrd(path, book);
    EXPECT_EQ(book->styles().formats.size(), size_t(kDefaultCellFormat) + 1);
    EXPECT_EQ(book->sheets(1).formatAt(1, 1), 1);
    EXPECT_EQ(book->sheets(1).value(1, 2), Value(12.5));
    ASSERT_TRUE(xlrd[u"error"_s].isNull()) << xlrd[u"error"_s].toString().toStdString();
    EXPECT_EQ(xlrd[u"xfs"_s].toArray().size(), kDefaultCellFormat + 1);
}

// Texts longer than one can type (32,767 characters) that other programs write: in the string
// table, up to the 65,535 characters its count holds, and inline in a LABEL record.
TEST(XlsMendOnRead, TextsLongerThanTypedOnesAreReadAndWrittenBack)
{
    QTemporaryDir dir;
    const QString inTable = QString(40000, QLatin1Char('a')) + u"край"_s;
    const QString longest = QString(65535, QChar(0x0436));   // ж, as many as a count of 16 bits holds
    const QByteArray inLabel(40000, 'b');
    Workbook book;
    book.sheets(1).setValue(1, 1, Value(inTable));
    book.sheets(1).setValue(2, 1, Value(longest));
    book.sheets(1).setValue(3, 1, Value(u"къс"_s));
    const QString ours = dir.filePath(u"ours.xls"_s);
    book.SaveAs(ours);
    const QString path = dir.filePath(u"label.xls"_s);
    rewriteXls(ours, path, [&](const RawRecord& r) -> std::optional<RawRecord> {
        if (r.id != rec::LabelSst || u16At(r.data, 0) != 2) return r;
        return RawRecord{rec::Label, r.data.left(6) + latin1String(inLabel, quint16(inLabel.size()))};
    });
    const QJsonObject original = testsupport::readWithXlrd(path);
    ASSERT_TRUE(original[u"error"_s].isNull()) << original[u"error"_s].toString().toStdString();
    EXPECT_EQ(xlrdValue(original, 3, 1).toString().size(), inLabel.size());

    std::unique_ptr<Workbook> read;
    const QJsonObject xlrd = openSaveAndReadWithXlrd(path, read);
    EXPECT_EQ(read->sheets(1).value(1, 1), Value(inTable));
    EXPECT_EQ(read->sheets(1).value(2, 1), Value(longest));
    EXPECT_EQ(read->sheets(1).value(3, 1), Value(QString::fromLatin1(inLabel)));
    ASSERT_TRUE(xlrd[u"error"_s].isNull()) << xlrd[u"error"_s].toString().toStdString();
    EXPECT_EQ(xlrdValue(xlrd, 1, 1).toString(), inTable);
    EXPECT_EQ(xlrdValue(xlrd, 2, 1).toString(), longest);
    EXPECT_EQ(xlrdValue(xlrd, 3, 1).toString(), QString::fromLatin1(inLabel));
}

// Records that end before what they declare, where xlrd takes what is there: a cell's text and a
// sheet's name keep the characters they hold; a formula cut inside its tokens keeps its value.
TEST(XlsMendOnRead, RecordsCutShortKeepWhatTheyHold)
{
    QTemporaryDir dir;
    Workbook book;
    book.sheets(1).setValue(1, 1, Value(u"кукла"_s));
    book.sheets(1).cells(1, 2).setFormula(u"=2*21"_s);
    const QString ours = dir.filePath(u"ours.xls"_s);
    book.SaveAs(ours);
    const QString path = dir.filePath(u"cut.xls"_s);
    rewriteXls(ours, path, [](const RawRecord& r) -> std::optional<RawRecord> {
        if (r.id == rec::BoundSheet) return RawRecord{r.id, r.data.left(6) + QByteArray("\x0a\x00Sto", 5)};
        if (r.id == rec::LabelSst) return RawRecord{rec::Label, r.data.left(6) + latin1String("kuk", 10)};
        if (r.id == rec::Formula) return RawRecord{r.id, r.data.left(r.data.size() - 1)};
        return r;
    });
    const QJsonObject original = testsupport::readWithXlrd(path);
    ASSERT_TRUE(original[u"error"_s].isNull()) << original[u"error"_s].toString().toStdString();
    EXPECT_EQ(original[u"sheets"_s][0][u"name"_s].toString(), u"Sto"_s);

    std::unique_ptr<Workbook> read;
    const QJsonObject xlrd = openSaveAndReadWithXlrd(path, read);
    EXPECT_EQ(read->sheets(1).Name(), u"Sto"_s);
    EXPECT_EQ(read->sheets(1).value(1, 1), Value(u"kuk"_s));
    EXPECT_EQ(read->sheets(1).value(1, 2), Value(42.0));
    ASSERT_TRUE(xlrd[u"error"_s].isNull()) << xlrd[u"error"_s].toString().toStdString();
    EXPECT_EQ(xlrdValue(xlrd, 1, 1).toString(), u"kuk"_s);
    EXPECT_EQ(xlrdValue(xlrd, 1, 2).toDouble(), 42.0);
}
