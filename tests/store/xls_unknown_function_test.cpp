// A function the engine does not know, typed into a cell: the cell shows #NAME?, the workbook
// still saves, and the formula goes into the file as a call of a function the workbook would
// define itself (a defined name marked as a function), which this engine, xlrd and LibreOffice
// read back.

#include "store/StoreError.h"
#include "store/Workbook.h"
#include "store/formula/BiffFormula.h"
#include "store/xls/BiffRecords.h"
#include "store/xls/OleStream.h"
#include "store/xls/XlsFile.h"
#include "tests/support/Oracles.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace store;

namespace {

const Value kNameError = Value::error(ErrorCode::Name);

QByteArray bytes(const char* hex)
{
    return QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
}

// The records of the link table in the file of the workbook, in order, as "id:hex data".
QStringList linkRecordsOf(const Workbook& book)
{
    QStringList found;
    const QByteArray stream = xls::workbookStreamOf(book.toBytes());
    xls::RecordReader reader(stream, 0);
    while (auto r = reader.next()) {
        if (r->id == xls::rec::Eof) break;
        if (r->id == xls::rec::SupBook || r->id == xls::rec::ExternName || r->id == xls::rec::ExternSheet
            || r->id == xls::rec::Name || r->id == xls::rec::Continue)
            found << QStringLiteral("%1:%2").arg(r->id, 4, 16, QLatin1Char('0'))
                         .arg(QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(r->data), r->size).toHex()));
    }
    return found;
}

QString link(quint16 id, const char* hex)
{
    return QStringLiteral("%1:%2").arg(id, 4, 16, QLatin1Char('0')).arg(QString::fromLatin1(bytes(hex).toHex()));
}

// The NAME record of a function: marked as one, of the whole workbook, without a formula.
QString functionName(const char* latin1)
{
    const QByteArray name(latin1);
    const QByteArray data = bytes("0200 00") + char(name.size()) + bytes("0000 0000 0000 00000000 00") + name;
    return QStringLiteral("0018:") + QString::fromLatin1(data.toHex());
}

void type(Worksheet& sheet, int row, int col, const char* text)
{
    sheet.setFormula(row, col, Formula::parseA1(QString::fromUtf8(text), row, col));
}

// The tokens the cell's formula goes back into a file with: as read where it is kept.
QByteArray keptTokens(const Workbook& book, int row, int col)
{
    const FormulaCell* cell = book.sheets(1).formulaAt(row, col);
    if (!cell) return {};
    return cell->formula.isKept() ? cell->formula.root()->tokens : encodeBiffFormula(cell->formula, row, col);
}

} // namespace

TEST(UnknownFunction, ShowsNameErrorAndIsSavedAsACallOfADefinedName)
{
    Workbook book;
    Worksheet& sheet = book.sheets(1);
    sheet.setValue(1, 1, Value(5));
    type(sheet, 1, 2, "=SUMM(A1)");
    sheet.Range(QStringLiteral("B2")).setFormula(QStringLiteral("=TOTAL(A1:A3,,SUM(A1))"));
    type(sheet, 3, 2, "=summ(A1*2)+1");
    type(sheet, 4, 2, "=SUM(A1)+1");
    EXPECT_EQ(sheet.value(1, 2), kNameError);
    EXPECT_EQ(sheet.value(3, 2), kNameError);
    EXPECT_EQ(sheet.value(4, 2), Value(6));

    // The workbook's own SUPBOOK (one sheet), an empty EXTERNSHEET, each function's name once.
    EXPECT_EQ(linkRecordsOf(book), (QStringList{link(xls::rec::SupBook, "0100 0104"), link(xls::rec::ExternSheet, "0000"),
                                                functionName("SUMM"), functionName("TOTAL")}));

    const auto copy = Workbook::fromBytes(book.toBytes());
    const Worksheet& read = copy->sheets(1);
    // The name (the first), the argument as a reference, then tFuncVar: 2 arguments, index 255.
    EXPECT_EQ(keptTokens(*copy, 1, 2), bytes("23 0100 0000  24 0000 00C0  42 02 FF00"));
    EXPECT_EQ(keptTokens(*copy, 2, 2), bytes("23 0200 0000  25 0000 0200 00C0 00C0  16  24 0000 00C0 42 01 0400  42 04 FF00"));
    EXPECT_EQ(keptTokens(*copy, 3, 2), bytes("23 0100 0000  44 0000 00C0 1E 0200 05  42 02 FF00  1E 0100 03"));
    EXPECT_EQ(read.value(1, 2), kNameError);
    EXPECT_EQ(read.value(3, 2), kNameError);
    ASSERT_TRUE(read.formulaAt(4, 2));
    EXPECT_FALSE(read.formulaAt(4, 2)->formula.isKept());
    EXPECT_EQ(read.value(4, 2), Value(6));

    // Saved again as read, nothing changes.
    EXPECT_EQ(linkRecordsOf(*copy), linkRecordsOf(book));
}

// Kept names keep their places, so kept formulas still call the names they did; a name of the
// whole workbook by the function's name is called rather than given a twin; a sheet's own name
// is not the workbook's.
TEST(UnknownFunction, NamesJoinThoseKeptFromTheFile)
{
    Workbook book;
    book.sheetsAdd();
    const QByteArray printArea = bytes("2000 00 01 0B00 0000 0100 00000000 00 06  3B 0000 0000 0400 0000 0300");
    const QByteArray prices = bytes("0000 00 04 0B00 0000 0000 00000000 01 2604 3504 3D04 3804  3B 0000 0000 0400 0000 0300");
    const QByteArray sheetsOwn = bytes("0000 00 04 0300 0000 0200 00000000 00 53554D4D  1E 0100");
    const std::vector<KeptRecord> links{{xls::rec::SupBook, bytes("0200 0104")},
                                        {xls::rec::ExternSheet, bytes("0100 0000 0100 0100")},
                                        {xls::rec::Name, printArea}, {xls::rec::Name, prices},
                                        {xls::rec::Name, sheetsOwn}};
    book.kept().links = links;
    book.kept().linksFitSheets = true;
    const QByteArray pricesTimesTwo = bytes("43 0200 0000 1E 0200 05");
    Worksheet& sheet = book.sheets(1);
    sheet.putFormula(1, 1, Formula::kept(pricesTimesTwo, Value(7)), Value(7), kDefaultCellFormat);
    type(sheet, 2, 1, "=SUMM(A1)");
    type(sheet, 3, 1, "=цени(1)");

    QStringList expected;
    for (const KeptRecord& r : links) expected << link(r.id, r.data.toHex().constData());
    EXPECT_EQ(linkRecordsOf(book), expected + QStringList(functionName("SUMM")));
    const auto copy = Workbook::fromBytes(book.toBytes());
    EXPECT_EQ(keptTokens(*copy, 1, 1), pricesTimesTwo);
    EXPECT_EQ(keptTokens(*copy, 2, 1), bytes("23 0400 0000  24 0000 00C0  42 02 FF00"));
    EXPECT_EQ(keptTokens(*copy, 3, 1), bytes("23 0200 0000  1E 0100  42 02 FF00"));

    // Typed again into the workbook read back: SUMM is now one of the file's names.
    type(copy->sheets(1), 4, 1, "=NOVA(1)");
    type(copy->sheets(1), 5, 1, "=Summ(B1)");
    EXPECT_EQ(linkRecordsOf(*copy), (expected + QStringList{functionName("SUMM"), functionName("NOVA")}));
    const auto third = Workbook::fromBytes(copy->toBytes());
    EXPECT_EQ(keptTokens(*third, 1, 1), pricesTimesTwo);
    EXPECT_EQ(keptTokens(*third, 2, 1), bytes("23 0400 0000  24 0000 00C0  42 02 FF00"));
    EXPECT_EQ(keptTokens(*third, 4, 1), bytes("23 0500 0000  1E 0100  42 02 FF00"));
    EXPECT_EQ(keptTokens(*third, 5, 1), bytes("23 0400 0000  24 0000 01C0  42 02 FF00"));
}

// What the file cannot hold is refused as it is typed, so the save cannot fail on it.
TEST(UnknownFunction, RefusedWhenTypedBeyondWhatTheFileHolds)
{
    QString args = QStringLiteral("1");
    for (int i = 2; i <= 29; ++i) args += QStringLiteral(",%1").arg(i);
    Workbook book;
    type(book.sheets(1), 1, 1, qPrintable(QStringLiteral("=SUMM(%1)").arg(args)));
    EXPECT_THROW(type(book.sheets(1), 2, 1, qPrintable(QStringLiteral("=SUMM(%1,30)").arg(args))), Error);
    EXPECT_THROW(type(book.sheets(1), 3, 1, qPrintable(QStringLiteral("=%1(1)").arg(QString(256, u'F')))), Error);
    type(book.sheets(1), 4, 1, qPrintable(QStringLiteral("=%1(1)").arg(QString(255, u'F'))));
    EXPECT_NO_THROW(book.toBytes());
}

TEST(UnknownFunction, OtherProgramsReadTheCallAsNameError)
{
    QTemporaryDir dir;
    Workbook book;
    Worksheet& sheet = book.sheets(1);
    sheet.setValue(1, 1, Value(5));
    type(sheet, 1, 2, "=SUMM(A1)");
    type(sheet, 1, 3, "=SUM(A1)*2");
    const QString path = dir.filePath(QStringLiteral("Danni.xls"));
    xls::writeWorkbook(book, path);

    const QJsonObject read = testsupport::readWithXlrd(path);
    ASSERT_TRUE(read[QStringLiteral("error")].isNull()) << read[QStringLiteral("error")].toString().toStdString();
    const QJsonArray cells = read[QStringLiteral("sheets")][0][QStringLiteral("cells")].toArray();
    bool seen = false;
    for (const auto& c : cells) {
        const QJsonArray cell = c.toArray();
        if (cell[0].toInt() != 0 || cell[1].toInt() != 1) continue;
        seen = true;
        EXPECT_EQ(cell[2].toInt(), 5);      // an error
        EXPECT_EQ(cell[3].toInt(), 0x1D);   // #NAME?
    }
    EXPECT_TRUE(seen);

    // LibreOffice computes the file anew, and finds no such function either.
    ASSERT_EQ(testsupport::convertWithLibreOffice({path}, testsupport::csvPerSheetFilter(), dir.path()), QString());
    const auto rows = testsupport::readCsv(dir.filePath(QStringLiteral("Danni-Лист1.csv")));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (QStringList{QStringLiteral("5"), QStringLiteral("#NAME?"), QStringLiteral("10")}));
}

// The file's sheet links continued in a CONTINUE record are read whole and, grown by a new entry,
// written as one record again.
TEST(UnknownFunction, ContinuedSheetLinksGrowWhole)
{
    Workbook book;
    book.appendSheet(QStringLiteral("А"));
    book.appendSheet(QStringLiteral("Б"));
    book.kept().links = {{xls::rec::SupBook, bytes("0300 0104")},
                         {xls::rec::ExternSheet, bytes("0200  0000 0100 0100")},
                         {xls::rec::Continue, bytes("0000 0200 0200")}};
    book.kept().linksFitSheets = true;
    type(book.sheets(1), 1, 1, "=А!A1+Б!A1+SUM(Лист1:Б!A1)");
    EXPECT_EQ(linkRecordsOf(book), (QStringList{link(xls::rec::SupBook, "0300 0104"),
                                                link(xls::rec::ExternSheet, "0300  0000 0100 0100  0000 0200 0200  0000 0000 0200")}));
    const auto read = Workbook::fromBytes(book.toBytes());
    EXPECT_EQ(read->sheets(1).formulaAt(1, 1)->formula.toA1(), QStringLiteral("=А!A1+Б!A1+SUM(Лист1:Б!A1)"));
}
