// Records other writers leave in a form our writer would refuse: a merged area upside down, a
// font without a name, fewer cell formats than a file must have. Such a workbook must open and
// then save, or every change of the shop keeper's session would be lost at its first save.
#include "store/Workbook.h"
#include "store/xls/BiffRecords.h"
#include "store/xls/OleStream.h"
#include "tests/support/Oracles.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

using namespace store;
using namespace store::xls;

namespace {

// A record as the rewriter hands it over: id and data, which a change may replace.
struct RawRecord {
    quint16 id;
    QByteArray data;
};

// Rewrites every record of a stream through change (which may drop a record by returning
// nothing) and points the sheet list at where each sheet's BOF now lies.
QByteArray rewriteStream(const QByteArray& stream, const std::function<std::optional<RawRecord>(const RawRecord&)>& change)
{
    RecordWriter out;
    std::vector<qsizetype> offsetFields, sheetStarts;
    RecordReader reader(stream, 0);
    bool inGlobals = true;
    while (auto r = reader.next()) {
        if (r->id == 0 && r->size == 0) break;   // the zeros that pad the stream
        const std::optional<RawRecord> changed =
            change({r->id, QByteArray(reinterpret_cast<const char*>(r->data), r->size)});
        if (!changed) continue;
        if (changed->id == rec::Bof && !inGlobals) sheetStarts.push_back(out.size());
        if (changed->id == rec::BoundSheet) offsetFields.push_back(out.size() + 4);
        if (changed->id == rec::Eof) inGlobals = false;
        out.record(changed->id, changed->data.constData(), quint16(changed->data.size()));
    }
    for (size_t i = 0; i < offsetFields.size() && i < sheetStarts.size(); ++i)
        out.patch32(offsetFields[i], quint32(sheetStarts[i]));
    return out.data();
}

// A workbook of our own writer, one sheet with a text and a number, merged B2:C3, rewritten.
QString spoiledFile(const QString& dir, const std::function<std::optional<RawRecord>(const RawRecord&)>& change)
{
    Workbook book;
    Worksheet& sheet = book.sheets(1);
    sheet.setName(QStringLiteral("Стоки"));
    sheet.setValue(1, 1, Value(QStringLiteral("кукла")));
    sheet.setValue(1, 2, Value(12.5));
    sheet.merged().push_back(CellArea{2, 2, 3, 3});
    const QString good = dir + QStringLiteral("/good.xls");
    book.SaveAs(good);
    const QByteArray stream = rewriteStream(readWorkbookStream(good), change);
    const QString path = dir + QStringLiteral("/spoiled.xls");
    writeWorkbookStream(path, {&stream}, 4096);
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
    ASSERT_TRUE(xlrd["error"].isNull()) << xlrd["error"].toString().toStdString();
    // xlrd counts from 0 with the last row and column past the end.
    EXPECT_EQ(xlrd["sheets"][0]["merged"].toArray(), QJsonArray({QJsonArray({1, 3, 1, 3})}));
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
    EXPECT_EQ(book->styles().fonts[0].name, QStringLiteral("Arial"));
    ASSERT_TRUE(xlrd["error"].isNull()) << xlrd["error"].toString().toStdString();
    EXPECT_EQ(xlrd["fonts"][0]["name"].toString(), QStringLiteral("Arial"));
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
    ASSERT_TRUE(xlrd["error"].isNull()) << xlrd["error"].toString().toStdString();
    EXPECT_EQ(xlrd["xfs"].toArray().size(), kDefaultCellFormat + 1);
}
