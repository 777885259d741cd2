// Records other programs write and we never do: MULBLANK, LABEL, RSTRING, shared formulas,
// STRING running on into CONTINUE, charts as sheets and inside sheets. The test lays out such a
// stream record by record and reads it.

#include "store/StoreError.h"
#include "store/Workbook.h"
#include "store/xls/BiffRecords.h"
#include "store/xls/OleStream.h"
#include "store/xls/StyleRecords.h"
#include "store/xls/XlsFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace store;
using namespace store::xls;

namespace {

// Little-endian bytes, written as a test reads them.
class Bytes {
public:
    Bytes& u8(quint8 v) { data.append(char(v)); return *this; }
    Bytes& u16(quint16 v) { char b[2]; put16(b, v); data.append(b, 2); return *this; }
    Bytes& u32(quint32 v) { char b[4]; put32(b, v); data.append(b, 4); return *this; }
    Bytes& f64(double v) { char b[8]; putDouble(b, v); data.append(b, 8); return *this; }
    Bytes& raw(const QByteArray& b) { data.append(b); return *this; }
    Bytes& latin1(const QString& s) { data.append(s.toLatin1()); return *this; }
    QByteArray data;
};

void add(RecordWriter& out, quint16 id, const Bytes& b) { out.record(id, b.data.constData(), quint16(b.data.size())); }

Bytes cell(int row, int col, quint16 xf = 15) { return std::move(Bytes().u16(quint16(row)).u16(quint16(col)).u16(xf)); }

Bytes bof(quint16 type) { return std::move(Bytes().u16(0x0600).u16(type).u16(0).u16(0).u32(0).u32(0)); }

// FORMULA with a number result, or with the result field given.
Bytes formula(int row, int col, const QByteArray& result, const QByteArray& tokens)
{
    return std::move(cell(row, col).raw(result).u16(0).u32(0).u16(quint16(tokens.size())).raw(tokens));
}

QByteArray numberResult(double v) { return Bytes().f64(v).data; }
QByteArray textResult() { return Bytes().u8(0).u8(0).u16(0).u16(0).u16(0xFFFF).data; }

} // namespace

TEST(XlsForeignRecords, ReadsWhatOtherWritersUse)
{
    QTemporaryDir dir;
    RecordWriter out;
    add(out, rec::Bof, bof(kBofGlobals));
    const WorkbookStyles styles = WorkbookStyles::defaults();
    for (const Font& f : styles.fonts) writeFont(out, f);
    CellFormat bordered;
    bordered.bottom = {BorderLine::Thin, 8};
    std::vector<CellFormat> formats = styles.formats;
    formats.push_back(bordered);   // XF 16
    for (const CellFormat& f : formats) writeXf(out, f);
    add(out, rec::Window1, Bytes().u16(0).u16(0).u16(100).u16(100).u16(0x38).u16(1).u16(0).u16(1).u16(600));
    // A chart sheet first, then the worksheet: the worksheet is the active tab.
    const qsizetype chartBound = out.size() + 4;
    add(out, rec::BoundSheet, Bytes().u32(0).u8(0).u8(0x02).u8(6).u8(0).latin1(QStringLiteral("Diagram")));
    const qsizetype sheetBound = out.size() + 4;
    add(out, rec::BoundSheet, Bytes().u32(0).u8(0).u8(0x00).u8(5).u8(0).latin1(QStringLiteral("Sheet")));
    add(out, rec::Sst, Bytes().u32(1).u32(1).u16(3).u8(0).latin1(QStringLiteral("sst")));
    add(out, rec::Eof, Bytes());

    out.patch32(chartBound, quint32(out.size()));
    add(out, rec::Bof, bof(0x0020));
    add(out, rec::Number, std::move(cell(0, 0).f64(99)));   // belongs to the chart, not to a sheet
    add(out, rec::Eof, Bytes());

    out.patch32(sheetBound, quint32(out.size()));
    add(out, rec::Bof, bof(kBofWorksheet));
    // Row 1: MULRK over A1:C1 (integer, ×100, integer) and MULBLANK over D1:F1, one of them
    // bordered.
    add(out, rec::MulRk, Bytes().u16(0).u16(0).u16(15).u32((7u << 2) | 2).u16(15).u32((1234u << 2) | 3)
                             .u16(16).u32(quint32(-3 << 2) | 2).u16(2));
    add(out, rec::MulBlank, Bytes().u16(0).u16(3).u16(15).u16(16).u16(15).u16(5));
    // Row 2: LABEL (compressed), RSTRING (UTF-16 with two runs), LABELSST, BOOLERR.
    add(out, rec::Label, std::move(cell(1, 0).u16(5).u8(0).latin1(QStringLiteral("label"))));
    add(out, rec::RString, std::move(cell(1, 1).u16(2).u8(1).u16(0x0414).u16(0x0430).u16(2).u16(0).u16(1).u16(1).u16(2)));
    add(out, rec::LabelSst, std::move(cell(1, 2).u32(0)));
    add(out, rec::BoolErr, std::move(cell(1, 3).u8(0x17).u8(1)));
    // Rows 3-4: B3:B4 hold numbers; A3:A4 share "=B<row>*2" (ptgRefN, ptgInt, ptgMul).
    add(out, rec::Number, std::move(cell(2, 1).f64(10)));
    add(out, rec::Number, std::move(cell(3, 1).f64(20)));
    const QByteArray exp = Bytes().u8(0x01).u16(2).u16(0).data;
    add(out, rec::Formula, formula(2, 0, numberResult(20), exp));
    add(out, rec::ShrFmla, Bytes().u16(2).u16(3).u8(0).u8(0).u8(0).u8(2).u16(9)
                               .u8(0x2C).u16(0).u16(0xC001).u8(0x1E).u16(2).u8(0x05));
    add(out, rec::Formula, formula(3, 0, numberResult(40), exp));
    // An embedded chart inside the sheet, with records of its own.
    add(out, rec::Bof, bof(0x0020));
    add(out, rec::Number, std::move(cell(50, 50).f64(1)));
    add(out, rec::Eof, Bytes());
    // C3: a reference to another sheet (ptgRef3d): the engine keeps the last value only.
    add(out, rec::Formula, formula(2, 2, numberResult(42), Bytes().u8(0x3A).u16(0).u16(0).u16(0).data));
    // C4: a text result longer than one record, the rest in a CONTINUE as UTF-16.
    add(out, rec::Formula, formula(3, 2, textResult(), Bytes().u8(0x17).u8(1).u8(0).latin1(QStringLiteral("x")).data));
    const int firstPart = kMaxRecordData - 3;
    add(out, rec::String, std::move(Bytes().u16(quint16(firstPart + 100)).u8(0).latin1(QString(firstPart, QLatin1Char('a')))));
    Bytes rest;
    rest.u8(1);
    for (int i = 0; i < 100; ++i) rest.u16(0x0416);
    add(out, rec::Continue, rest);
    add(out, rec::Eof, Bytes());

    const QString path = dir.filePath(QStringLiteral("foreign.xls"));
    writeWorkbookStream(path, {&out.data()}, 4096);
    Workbook book(nullptr, false);
    readWorkbook(path, book);

    ASSERT_EQ(book.sheetCount(), 1);
    const Worksheet& sheet = book.sheets(1);
    EXPECT_EQ(sheet.Name(), QStringLiteral("Sheet"));
    EXPECT_EQ(&book.ActiveSheet(), &sheet);
    EXPECT_EQ(book.styles().formats.size(), 17u);

    EXPECT_EQ(sheet.value(1, 1), Value(7));
    EXPECT_EQ(sheet.value(1, 2), Value(12.34));
    EXPECT_EQ(sheet.value(1, 3), Value(-3));
    EXPECT_EQ(sheet.formatAt(1, 3), 16);
    // Of the blanks only the bordered one is kept.
    EXPECT_EQ(sheet.rowCells(1).size(), 4u);
    EXPECT_EQ(sheet.formatAt(1, 5), 16);
    EXPECT_EQ(sheet.value(1, 5), Value());

    EXPECT_EQ(sheet.value(2, 1), Value(QStringLiteral("label")));
    EXPECT_EQ(sheet.value(2, 2), Value(QStringLiteral("Да")));
    EXPECT_EQ(sheet.value(2, 3), Value(QStringLiteral("sst")));
    EXPECT_EQ(sheet.value(2, 4), Value::error(ErrorCode::Ref));

    ASSERT_TRUE(sheet.formulaAt(3, 1));
    ASSERT_TRUE(sheet.formulaAt(4, 1));
    EXPECT_EQ(sheet.formulaAt(3, 1)->formula.toA1(), QStringLiteral("=B3*2"));
    EXPECT_EQ(sheet.formulaAt(4, 1)->formula.toA1(), QStringLiteral("=B4*2"));
    EXPECT_EQ(sheet.formulaAt(4, 1)->value, Value(40));
    EXPECT_EQ(sheet.value(4, 1), Value(40));

    // A reference to another sheet is kept as read, with its last value.
    ASSERT_TRUE(sheet.formulaAt(3, 3));
    EXPECT_TRUE(sheet.formulaAt(3, 3)->formula.isKept());
    EXPECT_EQ(sheet.value(3, 3), Value(42));
    const FormulaCell* text = sheet.formulaAt(4, 3);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->value, Value(QString(firstPart, QLatin1Char('a')) + QString(100, QChar(0x0416))));

    // Nothing of either chart came in.
    EXPECT_EQ(sheet.lastRow(), 4);
    EXPECT_EQ(sheet.lastColumn(), 5);
}
