// What shop keepers add to a workbook in a spreadsheet program survives a save: notes, pictures,
// a chart, conditional formats, validation, hyperlinks, array formulas, a data table, named
// styles, the palette, frozen panes and zoom, page setup, protection, the tab colour and the
// cached values of another workbook's cells. The workbook is one LibreOffice wrote
// (tests/data/kept/make-kept-workbook.py); the test compares the records themselves, after a
// plain copy and after rows were deleted or sorted.

#include "store/Range.h"
#include "store/Workbook.h"
#include "store/xls/BiffRecords.h"
#include "store/xls/OleStream.h"
#include "tests/support/Oracles.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

using namespace store;
namespace rec = store::xls::rec;

namespace {

struct Rec {
    quint16 id;
    QByteArray data;
    int part;   // 0: the workbook's globals, then each sheet's part in order
};

QByteArray fixture()
{
    QFile file(QStringLiteral(TERVIN_TEST_DATA "/kept/kept-features.xls"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// The records of a file, with the part each lies in; records of charts inside a sheet count
// with the sheet.
std::vector<Rec> recordsOf(const QByteArray& file)
{
    const QByteArray stream = xls::workbookStreamOf(file);
    std::vector<Rec> out;
    xls::RecordReader reader(stream, 0);
    int part = -1, depth = 0;
    while (auto r = reader.next()) {
        if (r->id == rec::Bof && depth++ == 0) ++part;
        if (r->id == 0 && r->size == 0 && depth == 0) break;   // the padding after the last EOF
        out.push_back({r->id, QByteArray(reinterpret_cast<const char*>(r->data), r->size), part});
        if (r->id == rec::Eof) --depth;
    }
    return out;
}

std::vector<Rec> only(const std::vector<Rec>& records, quint16 id)
{
    std::vector<Rec> out;
    for (const Rec& r : records)
        if (r.id == id) out.push_back(r);
    return out;
}

int u16(const QByteArray& d, int at) { return xls::get16(reinterpret_cast<const uchar*>(d.constData()) + at); }

// The kinds of record a feature lives in, which a copy keeps as they are.
const std::map<quint16, const char*> kFeatureRecords = {
    {rec::Array, "ARRAY"}, {rec::Table, "TABLE"}, {rec::CondFmt, "CONDFMT"}, {rec::Cf, "CF"},
    {rec::DVal, "DVAL"}, {rec::Dv, "DV"}, {rec::Note, "NOTE"}, {rec::Txo, "TXO"}, {rec::HLink, "HLINK"},
    {rec::Style, "STYLE"}, {rec::Palette, "PALETTE"}, {rec::Scl, "SCL"}, {rec::Pane, "PANE"},
    {0x00A1, "SETUP"}, {0x0014, "HEADER"}, {0x0015, "FOOTER"}, {0x0026, "LEFTMARGIN"}, {0x0028, "TOPMARGIN"},
    {0x002B, "PRINTGRIDLINES"}, {rec::HorizontalPageBreaks, "HORIZONTALPAGEBREAKS"},
    {rec::MsoDrawingGroup, "MSODRAWINGGROUP"}, {rec::MsoDrawing, "MSODRAWING"}, {rec::Obj, "OBJ"},
    {0x0012, "PROTECT"}, {0x0019, "WINDOWPROTECT"}, {0x0013, "PASSWORD"}, {0x00DD, "SCENPROTECT"},
    {0x0862, "SHEETEXT"}, {0x0867, "FEATHDR"}, {rec::SupBook, "SUPBOOK"}, {rec::Xct, "XCT"}, {rec::Crn, "CRN"},
};

std::unique_ptr<Workbook> opened() { return Workbook::fromBytes(fixture()); }

// The row fields (top, bottom) of every shape's anchor in the sheet's drawing, in order.
std::vector<std::pair<int, int>> anchors(const std::vector<Rec>& records, int part)
{
    QByteArray drawing;
    for (const Rec& r : records)
        if (r.part == part && r.id == rec::MsoDrawing) drawing += r.data;
    std::vector<std::pair<int, int>> out;
    const QByteArray anchor = QByteArray::fromHex("000010f012000000");
    for (qsizetype at = drawing.indexOf(anchor); at >= 0; at = drawing.indexOf(anchor, at + 1))
        out.push_back({u16(drawing, int(at) + 8 + 6), u16(drawing, int(at) + 8 + 14)});
    return out;
}

// The drawing of a sheet still holds together: its container is as long as its records.
void expectDrawingWhole(const std::vector<Rec>& records, int part)
{
    QByteArray drawing;
    for (const Rec& r : records)
        if (r.part == part && r.id == rec::MsoDrawing) drawing += r.data;
    ASSERT_GE(drawing.size(), 8);
    EXPECT_EQ(xls::get32(reinterpret_cast<const uchar*>(drawing.constData()) + 4) + 8, quint32(drawing.size()));
}

TEST(XlsKeptFeatures, TheFixtureHoldsEveryFeature)
{
    const auto records = recordsOf(fixture());
    for (const auto& [id, name] : kFeatureRecords)
        EXPECT_FALSE(only(records, id).empty()) << name;
    EXPECT_TRUE(u16(only(records, rec::Window2)[0].data, 0) & 0x0008) << "frozen panes";
}

TEST(XlsKeptFeatures, ACopyKeepsEveryFeatureRecordAsItWas)
{
    const auto book = opened();
    EXPECT_TRUE(book->kept().dropped.empty());
    const auto before = recordsOf(fixture());
    const auto after = recordsOf(book->toBytes());
    for (const auto& [id, name] : kFeatureRecords) {
        const auto a = only(before, id), b = only(after, id);
        ASSERT_EQ(a.size(), b.size()) << name;
        for (size_t i = 0; i < a.size(); ++i) {
            EXPECT_EQ(a[i].part, b[i].part) << name;
            EXPECT_EQ(a[i].data.toHex(), b[i].data.toHex()) << name << " #" << i;
        }
    }
    // The sheets' windows keep their own flags (frozen panes); the first sheet is the one shown.
    const auto w1 = only(before, rec::Window2), w2 = only(after, rec::Window2);
    ASSERT_EQ(w1.size(), w2.size());
    for (size_t i = 0; i < w1.size(); ++i) EXPECT_EQ(u16(w1[i].data, 0) & ~0x0600, u16(w2[i].data, 0) & ~0x0600);
    // Array formulas and the data table stay formulas pointing at their first cells.
    int arrayCells = 0, tableCells = 0;
    for (const Rec& r : only(after, rec::Formula)) {
        if (r.data.size() < 27 || u16(r.data, 20) != 5) continue;
        if (r.data[22] == 0x01 && u16(r.data, 23) == 2) ++arrayCells;
        if (r.data[22] == 0x02) ++tableCells;
    }
    EXPECT_EQ(arrayCells, 4);
    EXPECT_EQ(tableCells, 3);
    // And keep their values.
    const auto copy = Workbook::fromBytes(book->toBytes());
    Worksheet& sheet = copy->sheets(1);
    EXPECT_EQ(sheet.value(4, 3), Value(12));
    EXPECT_EQ(sheet.value(6, 3), Value(56));
    EXPECT_EQ(sheet.value(5, 8), Value(30));
    EXPECT_EQ(copy->sheets(2).value(1, 1), Value(42));
    // A copy of the copy is the same file.
    EXPECT_EQ(copy->toBytes(), book->toBytes());
}

TEST(XlsKeptFeatures, DeletingARowAboveMovesEveryFeatureUp)
{
    const auto book = opened();
    book->sheets(1).Rows(2).Delete();
    EXPECT_TRUE(book->kept().dropped.empty());
    const auto before = recordsOf(fixture());
    const auto after = recordsOf(book->toBytes());
    for (const auto& [id, name] : kFeatureRecords) EXPECT_EQ(only(before, id).size(), only(after, id).size()) << name;

    // Notes and hyperlinks name their cells.
    EXPECT_EQ(u16(only(after, rec::Note)[0].data, 0), u16(only(before, rec::Note)[0].data, 0) - 1);
    const QByteArray link = only(after, rec::HLink)[0].data;
    EXPECT_EQ(u16(link, 0), 1);
    EXPECT_EQ(u16(link, 2), 1);
    // Conditional formats and validation name their areas (B3:B6 and E3:E6 were rows 2-5).
    const QByteArray cf = only(after, rec::CondFmt)[0].data;
    EXPECT_EQ(u16(cf, 4), 1);    // bounds
    EXPECT_EQ(u16(cf, 6), 4);
    EXPECT_EQ(u16(cf, 14), 1);   // the area
    EXPECT_EQ(u16(cf, 16), 4);
    const QByteArray dv = only(after, rec::Dv)[0].data;
    EXPECT_EQ(u16(dv, dv.size() - 8), 1);
    EXPECT_EQ(u16(dv, dv.size() - 6), 4);
    // The array formula's range and the cells its tokens name; the data table's range and input.
    const QByteArray array = only(after, rec::Array)[0].data;
    EXPECT_EQ(u16(array, 0), 1);
    EXPECT_EQ(u16(array, 2), 4);
    // =A3:A6*B3:B6: two areas, rows 2-5 then 1-4.
    EXPECT_EQ(array.mid(14).toHex(), QByteArray::fromHex("4501000400 00c000c0 4501000400 01c001c0 05").toHex());
    const QByteArray table = only(after, rec::Table)[0].data;
    EXPECT_EQ(u16(table, 0), 2);
    EXPECT_EQ(u16(table, 2), 4);
    EXPECT_EQ(u16(table, 8), 6);   // G8 is now G7
    EXPECT_EQ(u16(table, 12), u16(only(before, rec::Table)[0].data, 12));   // its column stays
    int arrayCells = 0;
    for (const Rec& r : only(after, rec::Formula))
        if (r.data.size() >= 27 && u16(r.data, 20) == 5 && r.data[22] == 0x01 && u16(r.data, 23) == 1) ++arrayCells;
    EXPECT_EQ(arrayCells, 4);
    // The page break before row 30 is now before row 29.
    EXPECT_EQ(u16(only(after, rec::HorizontalPageBreaks)[0].data, 2), 28);
    // Pictures, the chart and the note's box move up with their rows.
    const auto was = anchors(before, 1), now = anchors(after, 1);
    ASSERT_EQ(was.size(), now.size());
    ASSERT_EQ(was.size(), 3u);
    for (size_t i = 0; i < was.size(); ++i) {
        EXPECT_EQ(now[i].first, was[i].first > 1 ? was[i].first - 1 : was[i].first);
        EXPECT_EQ(now[i].second, was[i].second > 1 ? was[i].second - 1 : was[i].second);
    }
    expectDrawingWhole(after, 1);
    // The values stay with their cells.
    const auto copy = Workbook::fromBytes(book->toBytes());
    EXPECT_EQ(copy->sheets(1).value(3, 3), Value(12));
    EXPECT_TRUE(copy->sheets(1).formulaAt(3, 3));
}

TEST(XlsKeptFeatures, LibreOfficeFindsTheFeaturesWhereTheDeletedRowLeftThem)
{
    const auto book = opened();
    book->sheets(1).Rows(2).Delete();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kept.xls"));
    book->SaveAs(path);
    const QString failure = testsupport::convertWithLibreOffice({path}, QStringLiteral("fods"), dir.path());
    ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
    QFile file(dir.filePath(QStringLiteral("kept.fods")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString xml = QString::fromUtf8(file.readAll());
    for (const char* shown : {"target-range-address=\"Стоки.B2:Стоки.B5\"",   // the conditional format
                              "table:base-cell-address=\"Стоки.E2\"",         // the validation list
                              "table:number-matrix-rows-spanned=\"4\"",       // the array formula
                              "xlink:href=\"https://example.com/stoki\"", "draw:image", "draw:object ",
                              "table:protected=\"true\""})
        EXPECT_TRUE(xml.contains(QString::fromUtf8(shown))) << shown;
}

TEST(XlsKeptFeatures, DeletingTheRowOfANoteDropsItAndSaysSo)
{
    const auto book = opened();
    book->sheets(1).Rows(4).Delete();   // A4 holds the note; the array formula C3:C6 loses a row
    const auto before = recordsOf(fixture());
    const auto after = recordsOf(book->toBytes());
    EXPECT_TRUE(only(after, rec::Note).empty());
    EXPECT_TRUE(only(after, rec::Txo).empty());
    EXPECT_EQ(only(after, rec::Obj).size(), only(before, rec::Obj).size() - 1);
    EXPECT_EQ(anchors(after, 1).size(), 2u);
    expectDrawingWhole(after, 1);
    EXPECT_TRUE(only(after, rec::Array).empty());
    // Its cells keep their values as plain values.
    const auto copy = Workbook::fromBytes(book->toBytes());
    EXPECT_FALSE(copy->sheets(1).formulaAt(3, 3));
    EXPECT_EQ(copy->sheets(1).value(4, 3), Value(30));
    // The conditional format and validation shrink by the row.
    const QByteArray cf = only(after, rec::CondFmt)[0].data;
    EXPECT_EQ(u16(cf, 14), 2);
    EXPECT_EQ(u16(cf, 16), 4);
    QStringList dropped;
    for (const QString& line : book->kept().dropped) dropped << line;
    // The note, the array formula C3:C6 and the data table H4:H6 lost their rows.
    EXPECT_EQ(dropped.size(), 3) << dropped.join(u'\n').toStdString();
    EXPECT_TRUE(dropped.join(u'\n').contains(QStringLiteral("бележката на ред 4")));
    EXPECT_TRUE(dropped.join(u'\n').contains(QStringLiteral("формулата за масив на редове 3-6")));
    EXPECT_TRUE(dropped.join(u'\n').contains(QStringLiteral("таблицата с данни на редове 4-6")));
    // LibreOffice's and our reader take the file.
    EXPECT_NO_THROW(Workbook::fromBytes(book->toBytes()));
}

TEST(XlsKeptFeatures, SortingMovesNotesAndHyperlinksWithTheirCells)
{
    const auto book = opened();
    Worksheet& sheet = book->sheets(1);
    const auto arrayValues = [&] {
        std::vector<double> values;
        for (int row = 3; row <= 6; ++row) values.push_back(sheet.value(row, 3).number());
        std::sort(values.begin(), values.end());
        return values;
    };
    const std::vector<double> asRead = arrayValues();
    sheet.Range(QStringLiteral("A3:E6")).Sort(sheet.Range(QStringLiteral("A3")), SortOrder::Descending);
    const auto after = recordsOf(book->toBytes());
    // 1, 3, 5, 7 became 7, 5, 3, 1: the note of A4 (3) is on A5, the link of D3 on D6.
    EXPECT_EQ(sheet.value(5, 1), Value(3));
    EXPECT_EQ(u16(only(after, rec::Note)[0].data, 0), 4);
    EXPECT_EQ(u16(only(after, rec::HLink)[0].data, 0), 5);
    // The array formula's cells were sorted apart: it is dropped, its values stay.
    EXPECT_TRUE(only(after, rec::Array).empty());
    EXPECT_EQ(book->kept().dropped.size(), 1u);
    sheet.setValue(3, 1, Value(100));
    EXPECT_EQ(arrayValues(), asRead);
    expectDrawingWhole(after, 1);
}

TEST(XlsKeptFeatures, AWorkbookOfOurOwnIsWrittenAsBefore)
{
    Workbook book;
    book.sheets(1).setValue(1, 1, Value(5));
    book.sheets(1).setFormula(2, 1, Formula::parseA1(QStringLiteral("=A1*2"), 2, 1));
    const QByteArray first = book.toBytes();
    const auto again = Workbook::fromBytes(first);
    EXPECT_EQ(again->toBytes(), first);
    EXPECT_TRUE(again->kept().dropped.empty());
}

} // namespace

// An array formula the engine can compute follows its inputs, each cell its element; in an
// array formula a function takes its expressions as arrays.
TEST(XlsKeptFeatures, AnArrayFormulaComputesEachOfItsCells)
{
    const auto book = opened();
    book->sheets(1).setValue(4, 1, Value(10));   // A4: 3 becomes 10, C3:C6 is A3:A6*B3:B6
    EXPECT_EQ(book->sheets(1).value(4, 3), Value(40));
    EXPECT_EQ(book->sheets(1).value(5, 3), Value(30));

    Workbook typed;
    Worksheet& sheet = typed.sheets(1);
    for (int row = 1; row <= 2; ++row) {
        sheet.setValue(row, 1, Value(row));
        sheet.setValue(row, 2, Value(row + 2));
    }
    const Formula sum = Formula::parseA1(QStringLiteral("=SUM(A1:A2*B1:B2)"), 3, 1);
    sheet.setFormula(3, 1, Formula::kept(QByteArray::fromHex("0102000000"), Value(), {}, 3, 1).computingArray(sum, 0, 0, 1));
    EXPECT_EQ(sheet.value(3, 1), Value(11));
}

// A sheet added or deleted leaves the file's names and links out of the save, and the log says
// so once.
TEST(XlsKeptFeatures, ASheetAddedOrDeletedSaysTheLinksGo)
{
    const auto book = opened();
    ASSERT_TRUE(book->kept().dropped.empty());
    book->sheetsAdd();
    book->deleteSheet(book->ActiveSheet());
    ASSERT_EQ(book->kept().dropped.size(), 1u);
    EXPECT_TRUE(book->kept().dropped[0].startsWith(QStringLiteral("книгата: дефинираните имена")));
}
