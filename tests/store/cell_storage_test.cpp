// How cells are kept: texts by index into the workbook's string table, rows gathered while a
// file is read, and a save that gives the file's shared strings back in their own order.

#include "store/StringTable.h"
#include "store/Workbook.h"
#include "store/xls/BiffRecords.h"
#include "store/xls/Messages.h"
#include "store/xls/OleStream.h"
#include "store/xls/Sst.h"
#include "store/xls/StyleRecords.h"
#include "store/xls/XlsFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace store;
using namespace store::xls;

namespace {

std::vector<QString> texts(std::initializer_list<const char*> list)
{
    std::vector<QString> out;
    for (const char* t : list) out.push_back(QString::fromUtf8(t));
    return out;
}

// Little-endian record data.
class Bytes {
public:
    Bytes& u8(quint8 v) { data.append(char(v)); return *this; }
    Bytes& u16(quint16 v) { char b[2]; put16(b, v); data.append(b, 2); return *this; }
    Bytes& u32(quint32 v) { char b[4]; put32(b, v); data.append(b, 4); return *this; }
    Bytes& f64(double v) { char b[8]; putDouble(b, v); data.append(b, 8); return *this; }
    Bytes& latin1(const char* s) { data.append(s); return *this; }
    QByteArray data;
};

void add(RecordWriter& out, quint16 id, const Bytes& b) { out.record(id, b.data.constData(), quint16(b.data.size())); }

Bytes cellHeader(int row, int col) { return std::move(Bytes().u16(quint16(row)).u16(quint16(col)).u16(15)); }
Bytes number(int row, int col, double v) { return std::move(cellHeader(row, col).f64(v)); }
Bytes shared(int row, int col, quint32 index) { return std::move(cellHeader(row, col).u32(index)); }

// A file of one sheet "Sheet" whose shared strings are `strings` (compressed Latin-1) and whose
// sheet records are written by `cells`.
template <class Cells>
QString foreignFile(const QTemporaryDir& dir, const std::vector<QString>& strings, Cells cells)
{
    RecordWriter out;
    add(out, rec::Bof, Bytes().u16(0x0600).u16(kBofGlobals).u16(0).u16(0).u32(0).u32(0));
    const WorkbookStyles styles = WorkbookStyles::defaults();
    for (const Font& f : styles.fonts) writeFont(out, f);
    for (const CellFormat& f : styles.formats) writeXf(out, f);
    const qsizetype bound = out.size() + 4;
    add(out, rec::BoundSheet, Bytes().u32(0).u8(0).u8(0).u8(5).u8(0).latin1("Sheet"));
    Bytes sst;
    sst.u32(quint32(strings.size())).u32(quint32(strings.size()));
    for (const QString& s : strings) sst.u16(quint16(s.size())).u8(0).latin1(s.toLatin1().constData());
    add(out, rec::Sst, sst);
    add(out, rec::Eof, Bytes());
    out.patch32(bound, quint32(out.size()));
    add(out, rec::Bof, Bytes().u16(0x0600).u16(kBofWorksheet).u16(0).u16(0).u32(0).u32(0));
    cells(out);
    add(out, rec::Eof, Bytes());
    const QString path = dir.filePath(QStringLiteral("foreign.xls"));
    writeWorkbookStream(path, {&out.data()}, 4096);
    return path;
}

// The shared strings of a saved file, in its order, and the index each LABELSST cell names by
// its address ("A1").
struct SavedStrings {
    std::vector<QString> table;
    std::map<QString, quint32> cells;
};

SavedStrings savedStrings(const QString& path)
{
    const QByteArray stream = readWorkbookStream(path);
    SavedStrings saved;
    RecordReader records(stream, 0);
    while (auto record = records.next()) {
        if (record->id == 0) break;   // the zeros that pad a small stream
        if (record->id == rec::Sst) {
            FieldReader fields(*record);
            while (auto next = records.peek()) {
                if (next->id != rec::Continue) break;
                fields.addContinue(*records.next());
            }
            saved.table = readSst(fields);
        } else if (record->id == rec::LabelSst) {
            const int row = get16(record->data) + 1;
            const int col = get16(record->data + 2) + 1;
            saved.cells[cellName(row, col)] = get32(record->data + 6);
        }
    }
    return saved;
}

} // namespace

TEST(StringTable, KeepsAFilesTableAsItCameAndAddsOnlyNewTexts)
{
    StringTable table;
    EXPECT_EQ(table.adopt(texts({"zeta", "alpha", "zeta"})), 0u);   // duplicates as the file has them
    EXPECT_EQ(table.size(), 3u);
    EXPECT_EQ(table.at(1), QStringLiteral("alpha"));
    EXPECT_EQ(table.add(QStringLiteral("alpha")), 1u) << "a text the file brought is found";
    EXPECT_EQ(table.add(QStringLiteral("zeta")), 0u) << "the first of duplicates is the one found";
    EXPECT_EQ(table.add(QStringLiteral("Алфа")), 3u);
    EXPECT_EQ(table.add(QStringLiteral("Алфа")), 3u);
    EXPECT_EQ(table.add(QStringLiteral("ALPHA")), 4u) << "case counts";
    // A second file's table goes after what is there, and its texts can be found as well.
    EXPECT_EQ(table.adopt(texts({"omega"})), 5u);
    EXPECT_EQ(table.add(QStringLiteral("omega")), 5u);
}

TEST(CellStorage, EqualTextsShareOneEntryAndFormulasGoWhenOverwritten)
{
    Workbook book;
    Worksheet& sheet = book.sheets(1);
    for (int row = 1; row <= 100; ++row) sheet.setValue(row, 2, Value(QStringLiteral("Кукла %1").arg(row % 3)));
    EXPECT_EQ(book.strings().size(), 3u) << "a hundred cells, three texts";
    EXPECT_EQ(sheet.rowCells(4)[0].textIndex(), sheet.rowCells(1)[0].textIndex());
    EXPECT_EQ(sheet.value(5, 2), Value(QStringLiteral("Кукла 2")));

    sheet.setValue(1, 1, Value(4));
    sheet.setFormula(2, 1, Formula::parseA1(QStringLiteral("=A1*2"), 2, 1));
    EXPECT_EQ(sheet.value(2, 1), Value(8));
    sheet.setValue(2, 1, Value(QStringLiteral("текст")));
    EXPECT_EQ(sheet.formulaAt(2, 1), nullptr);
    EXPECT_EQ(sheet.value(2, 1), Value(QStringLiteral("текст")));
    sheet.setFormula(2, 1, Formula::parseA1(QStringLiteral("=A1+1"), 2, 1));
    sheet.setFormula(2, 1, Formula::parseA1(QStringLiteral("=A1+2"), 2, 1));
    EXPECT_EQ(sheet.value(2, 1), Value(6));
    sheet.setValue(2, 1, Value());
    EXPECT_EQ(sheet.formulaAt(2, 1), nullptr);
    EXPECT_TRUE(sheet.value(2, 1).isEmpty());

    // A formula below deleted rows moves up with its row and keeps reading its cell.
    sheet.setValue(10, 1, Value(5));
    sheet.setFormula(11, 1, Formula::parseA1(QStringLiteral("=A10*3"), 11, 1));
    sheet.deleteRows(3, 5);
    ASSERT_NE(sheet.formulaAt(6, 1), nullptr);
    EXPECT_EQ(sheet.value(6, 1), Value(15));
    EXPECT_EQ(sheet.value(3, 2), Value(QStringLiteral("Кукла 2")));   // row 8 moved up
}

TEST(CellStorage, ARowReadInPiecesOutOfOrderOrTwiceComesOutWhole)
{
    QTemporaryDir dir;
    const QString path = foreignFile(dir, texts({"one", "two"}), [](RecordWriter& out) {
        // DIMENSIONS announcing fewer rows than there are: a hint, never a limit.
        add(out, rec::Dimensions, Bytes().u32(0).u32(1).u16(0).u16(3).u16(0));
        add(out, rec::Number, number(0, 2, 3));
        add(out, rec::Number, number(0, 0, 1));
        add(out, rec::LabelSst, shared(1, 0, 1));
        add(out, rec::Number, number(0, 1, 2));      // row 1 again, after row 2
        add(out, rec::Number, number(1, 1, 7));
        add(out, rec::Number, number(1, 1, 8));      // the same cell twice: the last one holds
        add(out, rec::LabelSst, shared(4, 3, 0));
    });
    Workbook book(nullptr, false);
    readWorkbook(path, book);
    const Worksheet& sheet = book.sheets(1);
    ASSERT_EQ(sheet.lastRow(), 5);
    const auto& first = sheet.rowCells(1);
    ASSERT_EQ(first.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(first[size_t(i)].col, i + 1);
        EXPECT_EQ(sheet.value(1, i + 1), Value(i + 1));
    }
    ASSERT_EQ(sheet.rowCells(2).size(), 2u);
    EXPECT_EQ(sheet.value(2, 1), Value(QStringLiteral("two")));
    EXPECT_EQ(sheet.value(2, 2), Value(8));
    EXPECT_EQ(sheet.value(5, 4), Value(QStringLiteral("one")));
}

TEST(CellStorage, ASaveGivesTheFilesStringsBackInTheirOrderAndOnlyAddsNewOnes)
{
    QTemporaryDir dir;
    // The file's table is not in the order of its cells.
    const QString path = foreignFile(dir, texts({"zeta", "alpha", "mu"}), [](RecordWriter& out) {
        add(out, rec::LabelSst, shared(0, 0, 1));
        add(out, rec::LabelSst, shared(1, 0, 0));
        add(out, rec::LabelSst, shared(2, 0, 2));
        add(out, rec::LabelSst, shared(3, 0, 2));
    });
    auto book = Workbook::open(path);
    const QString copy = dir.filePath(QStringLiteral("copy.xls"));
    book->SaveAs(copy);
    SavedStrings saved = savedStrings(copy);
    EXPECT_EQ(saved.table, texts({"zeta", "alpha", "mu"}));
    EXPECT_EQ(saved.cells[QStringLiteral("A1")], 1u);
    EXPECT_EQ(saved.cells[QStringLiteral("A2")], 0u);

    // "alpha" is no longer used: it goes and the texts after it move up; a new text comes last.
    Worksheet& sheet = book->sheets(1);
    sheet.setValue(1, 1, Value(QStringLiteral("new")));
    sheet.setValue(5, 1, Value(QStringLiteral("zeta")));
    book->Save();
    saved = savedStrings(copy);
    EXPECT_EQ(saved.table, texts({"zeta", "mu", "new"}));
    EXPECT_EQ(saved.cells[QStringLiteral("A1")], 2u);
    EXPECT_EQ(saved.cells[QStringLiteral("A2")], 0u);
    EXPECT_EQ(saved.cells[QStringLiteral("A4")], 1u);
    EXPECT_EQ(saved.cells[QStringLiteral("A5")], 0u);

    auto back = Workbook::open(copy);
    for (int row = 1; row <= 5; ++row)
        EXPECT_EQ(back->sheets(1).value(row, 1), sheet.value(row, 1)) << "row " << row;
}

// A row's neighbouring numbers that RK holds go out as one MULRK; anything else breaks the run.
// Rows freed by deleting them or by a row growing are used again: a workbook edited all day
// takes no more memory than its biggest state.
TEST(CellStorage, FreedRowsAreUsedAgain)
{
    Workbook book;
    Worksheet& sheet = book.sheets(1);
    const auto fill = [&sheet] {
        for (int row = 1; row <= 5000; ++row)
            for (int col = 1; col <= 12; ++col) sheet.setValue(row, col, Value(row * col));
    };
    fill();
    const std::size_t filled = book.cellMemoryMapped();
    for (int round = 0; round < 20; ++round) {
        sheet.deleteRows(1, 5000);
        EXPECT_EQ(sheet.lastRow(), 0);
        fill();
    }
    EXPECT_LE(book.cellMemoryMapped(), filled + filled / 2);
    // A block handed out again for a row of another size would show here as a lost cell.
    int wrong = 0;
    for (int row = 1; row <= 5000; ++row)
        for (int col = 1; col <= 12; ++col) wrong += sheet.value(row, col) != Value(row * col);
    EXPECT_EQ(wrong, 0);
}

// Sheets are read in the order the sheet list gives, wherever they lie in the file: a sheet
// lying before one read earlier is still there to be read.
TEST(CellStorage, SheetsListedOutOfTheirOrderInTheFileReadWhole)
{
    Workbook book;
    book.sheets(1).setName(QStringLiteral("A"));
    book.appendSheet(QStringLiteral("B"));
    for (int row = 1; row <= 3000; ++row) {
        book.sheets(1).setValue(row, 1, Value(row + 0.5));
        book.sheets(2).setValue(row, 1, Value(-row - 0.5));
    }
    QByteArray stream = workbookStreamOf(book.toBytes());
    std::vector<qsizetype> offsetFields;
    RecordReader records(stream, 0);
    while (auto record = records.next()) {
        if (record->id == rec::BoundSheet) offsetFields.push_back(record->offset + 4);
        if (record->id == rec::Eof) break;
    }
    ASSERT_EQ(offsetFields.size(), 2u);
    auto* d = stream.data();
    const quint32 first = get32(reinterpret_cast<const uchar*>(d + offsetFields[0]));
    put32(d + offsetFields[0], get32(reinterpret_cast<const uchar*>(d + offsetFields[1])));
    put32(d + offsetFields[1], first);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("swapped.xls"));
    writeWorkbookStream(path, {&stream}, 4096);

    const auto read = Workbook::open(path);
    for (int row = 1; row <= 3000; ++row) {
        ASSERT_EQ(read->sheets(QStringLiteral("A")).value(row, 1), Value(-row - 0.5)) << row;
        ASSERT_EQ(read->sheets(QStringLiteral("B")).value(row, 1), Value(row + 0.5)) << row;
    }
}

TEST(CellStorage, NeighbouringNumbersShareOneMulRkAndReadBackTheSame)
{
    QTemporaryDir dir;
    Workbook book;
    Worksheet& sheet = book.sheets(1);
    CellFormat bordered;
    bordered.bottom = {BorderLine::Thin, 8};
    const quint16 format = book.styles().addFormat(bordered);
    sheet.setValue(1, 1, Value(1));
    sheet.setValue(1, 2, Value(2.5));
    sheet.setValue(1, 3, Value(0.1));
    sheet.setValue(1, 4, Value(1.0 / 3));   // no RK: NUMBER
    sheet.setValue(1, 5, Value(7));         // alone between two others: RK
    sheet.setValue(1, 6, Value(QStringLiteral("текст")));
    sheet.setValue(1, 7, Value(8));
    sheet.putCell(1, 8, Value(-9.75), format);
    sheet.setValue(1, 10, Value(10));       // after a gap
    const QString path = dir.filePath(QStringLiteral("numbers.xls"));
    book.SaveAs(path);

    const QByteArray stream = readWorkbookStream(path);
    RecordReader records(stream, 0);
    QStringList cells;   // the cell records of the sheet, in order: "MULRK A1:C1", "RK E1"
    while (auto record = records.next()) {
        if (record->id == 0) break;
        const int row = get16(record->data) + 1;
        const int col = get16(record->data + 2) + 1;
        if (record->id == rec::MulRk)
            cells << QStringLiteral("MULRK %1:%2").arg(cellName(row, col), cellName(row, get16(record->data + record->size - 2) + 1));
        else if (record->id == rec::Rk)
            cells << QStringLiteral("RK %1").arg(cellName(row, col));
        else if (record->id == rec::Number)
            cells << QStringLiteral("NUMBER %1").arg(cellName(row, col));
        else if (record->id == rec::LabelSst)
            cells << QStringLiteral("LABELSST %1").arg(cellName(row, col));
    }
    EXPECT_EQ(cells, (QStringList{QStringLiteral("MULRK A1:C1"), QStringLiteral("NUMBER D1"), QStringLiteral("RK E1"), QStringLiteral("LABELSST F1"), QStringLiteral("MULRK G1:H1"), QStringLiteral("RK J1")}));

    auto back = Workbook::open(path);
    const Worksheet& read = back->sheets(1);
    ASSERT_EQ(read.rowCells(1).size(), sheet.rowCells(1).size());
    for (const Cell& cell : sheet.rowCells(1)) {
        EXPECT_EQ(read.value(1, cell.col), sheet.value(1, cell.col)) << cell.col;
        EXPECT_EQ(read.formatAt(1, cell.col), sheet.formatAt(1, cell.col)) << cell.col;
    }
}
