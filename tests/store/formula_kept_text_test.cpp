// Formulas kept from a file show as the formula text the spreadsheet shows, through the names
// of the workbook they were read from; what cannot be read shows the formula's value.

#include "formula_test_helpers.h"

#include "store/Workbook.h"
#include "store/formula/BiffFormula.h"
#include "store/formula/BiffFormulaText.h"
#include "store/xls/BiffRecords.h"
#include "store/xls/LinkNames.h"

#include <gtest/gtest.h>

using store::BiffWorkbookNames;
using store::Formula;
using store::KeptFormulaPlace;
using store::Value;

namespace {

QByteArray bytes(const char* hex)
{
    return QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
}

// Sheets "Стока", "Цени", "Лист 3", "A1"; another workbook C:\Доставки\Цени.xls; add-in functions.
std::shared_ptr<const BiffWorkbookNames> shopNames()
{
    using Book = BiffWorkbookNames::Book;
    auto names = std::make_shared<BiffWorkbookNames>();
    names->sheets = {QStringLiteral("Стока"), QStringLiteral("Цени"), QStringLiteral("Лист 3"), QStringLiteral("A1")};
    names->books = {
        Book{Book::Kind::Own, {}, {}, {}, {}},
        Book{Book::Kind::External, QStringLiteral("C:\\Доставки\\"), QStringLiteral("Цени.xls"),
             {QStringLiteral("Лист1"), QStringLiteral("Стари цени")}, {QStringLiteral("Курс")}},
        Book{Book::Kind::AddIns, {}, {}, {}, {QStringLiteral("EUROCONVERT")}},
    };
    names->spans = {
        {0, 1, 1},            // 0: Цени
        {0, 0, 2},            // 1: Стока:Лист 3
        {0, 2, 2},            // 2: Лист 3
        {0, 0xFFFF, 0xFFFF},  // 3: a deleted sheet
        {1, 0, 0},            // 4: [Цени.xls]Лист1
        {2, 0xFFFE, 0xFFFE},  // 5: the add-in functions
        {0, 3, 3},            // 6: A1
        {1, 0xFFFE, 0xFFFE},  // 7: the other workbook's names
        {1, 1, 1},            // 8: [Цени.xls]Стари цени
    };
    names->names = {{QStringLiteral("Отстъпка"), 0, false, {}, {}}, {QStringLiteral("Таблица"), 2, false, {}, {}}};
    return names;
}

// The text a kept formula shows in the cell C5 of the sheet with tab `sheetTab`.
QString shown(const QByteArray& tokens, int sheetTab = 0, const QByteArray& extra = {},
              const store::FormulaSyntax& syntax = {})
{
    auto place = std::make_shared<const KeptFormulaPlace>(KeptFormulaPlace{shopNames(), sheetTab});
    return Formula::kept(tokens, Value(42), std::make_shared<const store::KeptContext>(store::KeptContext{extra, place}), 5, 3)
        .toA1(syntax);
}

} // namespace

// Operators print as the tokens give them, with the parentheses the tokens hold; the marks
// of IF, CHOOSE and spaces do not show; SUM of one argument does.
TEST(KeptFormulaText, OperatorsConstantsAndAttributes)
{
    EXPECT_EQ(shown(bytes("1E0100 1E0200 03 15 1E0300 05")), QStringLiteral("=(1+2)*3"));
    EXPECT_EQ(shown(bytes("1E0200 13 1E0200 07 1E3200 14 04")), QStringLiteral("=-2^2-50%"));
    EXPECT_EQ(shown(bytes("17 03 00 612263  17 02 01 1F043E04  08  12")), QStringLiteral("=+\"a\"\"c\"&\"По\""));
    EXPECT_EQ(shown(bytes("1D01 1D00 0B  1C07 1C2A 0E  0A")), QStringLiteral("=TRUE=FALSE<=#DIV/0!<>#N/A"));
    EXPECT_EQ(shown(bytes("1F 000000000000E03F  1F 0000000000006940 09")), QStringLiteral("=0.5<200"));
    // Intersection, union in parentheses, the range operator.
    EXPECT_EQ(shown(bytes("25 0000 0100 00C0 01C0  25 0100 0200 01C0 02C0  0F")), QStringLiteral("=A1:B2 B2:C3"));
    EXPECT_EQ(shown(bytes("24 0000 00C0  24 0100 01C0  10  15")), QStringLiteral("=(A1,B2)"));
    EXPECT_EQ(shown(bytes("24 0000 0000  24 0100 0100  11")), QStringLiteral("=$A$1:$B$2"));
    EXPECT_EQ(shown(bytes("25 0000 0900 00C0 00C0  19 10 0000")), QStringLiteral("=SUM(A1:A10)"));
    EXPECT_EQ(shown(bytes("24 0000 00C0  19 02 0500  16  19 08 0300  1E 0200  19 08 0300  42 03 0100")),
              QStringLiteral("=IF(A1,,2)"));
    EXPECT_EQ(shown(bytes("1E0100 19 40 0001 1E0200 03")), QStringLiteral("=1+2"));
    EXPECT_EQ(shown(bytes("1E0200 19 04 0200 0800 0C00 1000  17 01 00 61 19 08 0500  17 01 00 62 19 08 0100  42 03 6400")),
              QStringLiteral("=CHOOSE(2,\"a\",\"b\")"));
}

// Fixed-count functions by their index, the rest with their count, names the engine does not
// compute included; an index without a function shows the value.
TEST(KeptFormulaText, FunctionsByTheirIndex)
{
    EXPECT_EQ(shown(bytes("24 0000 00C0 41 4400")), QStringLiteral("=MONTH(A1)"));
    EXPECT_EQ(shown(bytes("1D01 1D00 42 02 2400  1D01 42 01 2500  42 02 2400")), QStringLiteral("=AND(AND(TRUE,FALSE),OR(TRUE))"));
    EXPECT_EQ(shown(bytes("41 4A00")), QStringLiteral("=NOW()"));
    EXPECT_EQ(shown(bytes("24 0000 00C0  1E 0000  24 0000 01C0  42 03 5901")), QStringLiteral("=SUMIF(A1,0,B1)"));
    EXPECT_EQ(shown(bytes("1E0100 42 01 CA00")), QStringLiteral("=42"));     // 202 names nothing
    EXPECT_EQ(shown(bytes("1E0100 41 0400")), QStringLiteral("=42"));        // SUM takes a count
    EXPECT_EQ(shown(bytes("1E0100 42 02 2400")), QStringLiteral("=42"));     // fewer arguments than it calls for
}

// References with their $ signs; whole columns and rows; references relative to the cell
// (the formula is in C5); deleted references.
TEST(KeptFormulaText, ReferencesAndAreas)
{
    EXPECT_EQ(shown(bytes("44 0400 01C0")), QStringLiteral("=B5"));
    EXPECT_EQ(shown(bytes("24 0400 0100  24 0400 0180  03  24 0400 0140  03")), QStringLiteral("=$B$5+$B5+B$5"));
    EXPECT_EQ(shown(bytes("25 0000 FFFF 0040 0140")), QStringLiteral("=A:B"));
    EXPECT_EQ(shown(bytes("25 0000 FFFF 0000 0000")), QStringLiteral("=$A:$A"));
    EXPECT_EQ(shown(bytes("25 0000 0200 0080 FF80")), QStringLiteral("=1:3"));
    EXPECT_EQ(shown(bytes("25 0000 FFFF 0000 FF00")), QStringLiteral("=$A$1:$IV$65536"));
    EXPECT_EQ(shown(bytes("2A 0000 0000  2B 0000 0000 0000 0000  03")), QStringLiteral("=#REF!+#REF!"));
    EXPECT_EQ(shown(bytes("2C FFFF FFC0  2D 0000 0100 00C0 0080  03")), QStringLiteral("=B4+C5:$A6"));
    // Without its cell a reference relative to it cannot be told.
    EXPECT_EQ(Formula::kept(bytes("2C FFFF FFC0"), Value(7)).toA1(), QStringLiteral("=7"));
}

// Other sheets quoted as the spreadsheet quotes them, spans of sheets, deleted sheets and
// references, other workbooks.
TEST(KeptFormulaText, OtherSheetsAndWorkbooks)
{
    EXPECT_EQ(shown(bytes("3A 0000 0400 01C0")), QStringLiteral("=Цени!B5"));
    EXPECT_EQ(shown(bytes("3A 0200 0400 01C0")), QStringLiteral("='Лист 3'!B5"));
    EXPECT_EQ(shown(bytes("3A 0600 0400 01C0")), QStringLiteral("='A1'!B5"));
    EXPECT_EQ(shown(bytes("3B 0100 0000 0900 0000 0100")), QStringLiteral("='Стока:Лист 3'!$A$1:$B$10"));
    EXPECT_EQ(shown(bytes("3B 0000 0000 FFFF 0040 0140")), QStringLiteral("=Цени!A:B"));
    EXPECT_EQ(shown(bytes("3A 0300 0400 01C0")), QStringLiteral("=#REF!B5"));
    EXPECT_EQ(shown(bytes("3C 0000 0000 0000  3D 0200 0000 0000 0000 0000  03")),
              QStringLiteral("=Цени!#REF!+'Лист 3'!#REF!"));
    EXPECT_EQ(shown(bytes("3A 0400 0000 0000")), QStringLiteral("='C:\\Доставки\\[Цени.xls]Лист1'!$A$1"));
    EXPECT_EQ(shown(bytes("3A 0800 0000 0000")), QStringLiteral("='C:\\Доставки\\[Цени.xls]Стари цени'!$A$1"));
    // A span the link table does not hold, or no link table at all, shows the value.
    EXPECT_EQ(shown(bytes("3A 0900 0400 01C0")), QStringLiteral("=42"));
    EXPECT_EQ(Formula::kept(bytes("3A 0000 0400 01C0"), Value(7)).toA1(), QStringLiteral("=7"));
}

// Defined names, a sheet's own name seen from another sheet, add-in functions called by name,
// names of another workbook.
TEST(KeptFormulaText, NamesAndAddInFunctions)
{
    EXPECT_EQ(shown(bytes("23 0100 0000  43 0200 0000  03")), QStringLiteral("=Отстъпка+Цени!Таблица"));
    EXPECT_EQ(shown(bytes("43 0200 0000"), 1), QStringLiteral("=Таблица"));
    EXPECT_EQ(shown(bytes("39 0000 0100 0000")), QStringLiteral("=Отстъпка"));
    EXPECT_EQ(shown(bytes("39 0700 0100 0000")), QStringLiteral("='C:\\Доставки\\Цени.xls'!Курс"));
    EXPECT_EQ(shown(bytes("39 0500 0100 0000  24 0000 00C0  17 03 00 424752  42 03 FF00")),
              QStringLiteral("=EUROCONVERT(A1,\"BGR\")"));
    EXPECT_EQ(shown(bytes("23 0300 0000")), QStringLiteral("=42"));          // no third name
    EXPECT_EQ(shown(bytes("39 0500 0200 0000")), QStringLiteral("=42"));     // no second add-in function
    EXPECT_EQ(shown(bytes("42 00 FF00")), QStringLiteral("=42"));            // a named call without its name
}

// Array constants follow the tokens, one array after another.
TEST(KeptFormulaText, ArrayConstants)
{
    const QByteArray first = bytes("01 0100  01 000000000000F03F  02 0100 00 61  04 01 00000000000000  10 2A 00000000000000");
    const QByteArray second = bytes("00 0000  00 0000000000000000");
    const QByteArray tokens = bytes("60 00000000000000  60 00000000000000  42 02 0400");
    EXPECT_EQ(shown(tokens, 0, first + second), QStringLiteral("=SUM({1,\"a\";TRUE,#N/A},{})"));
    // Constants cut short, or missing, leave the value.
    EXPECT_EQ(shown(tokens, 0, first + second.left(5)), QStringLiteral("=42"));
    EXPECT_EQ(shown(tokens, 0, first.left(14)), QStringLiteral("=42"));
    EXPECT_EQ(shown(tokens), QStringLiteral("=42"));
}

// Where the decimal mark is a comma, arguments, unions and array elements part with ";", array
// rows with "|", and numbers take the comma; text keeps its own.
TEST(KeptFormulaText, ShownWithTheLocaleSeparators)
{
    const auto bulgarian = store::FormulaSyntax::ofLocale(u',');
    EXPECT_EQ(shown(bytes("44 0400 00C0  3B 0000 0000 FFFF 0040 0140  1E 0200  1D 00  42 04 6600"
                          "  1F 000000000000E03F 03  17 03 00 612C62 08"), 0, {}, bulgarian),
              QStringLiteral("=VLOOKUP(A5;Цени!A:B;2;FALSE)+0,5&\"a,b\""));
    EXPECT_EQ(shown(bytes("24 0000 00C0  24 0100 01C0  10  15"), 0, {}, bulgarian), QStringLiteral("=(A1;B2)"));
    const QByteArray constants = bytes("01 0100  01 000000000000F83F  02 0100 00 61  04 01 00000000000000  10 2A 00000000000000");
    EXPECT_EQ(shown(bytes("60 00000000000000  42 01 0400"), 0, constants, bulgarian),
              QStringLiteral("=SUM({1,5;\"a\"|TRUE;#N/A})"));
}

// Memory tokens stand before the tokens that give their operand and show nothing themselves; the
// areas tMemArea keeps after the tokens come before the next array's constants.
TEST(KeptFormulaText, MemoryTokensShowTheirOperand)
{
    const QByteArray area = bytes("25 0000 0100 00C0 01C0");
    for (const char* memory : {"27 00000000 0900", "28 00000000 0900", "29 0900", "2E 0900", "2F 0900"})
        EXPECT_EQ(shown(bytes(memory) + area), QStringLiteral("=A1:B2")) << memory;
    const QByteArray tokens = bytes("26 00000000 0900") + area + bytes("60 00000000000000  42 02 0400");
    const QByteArray keptAreas = bytes("0100  0000 0100 0000 0100");
    EXPECT_EQ(shown(tokens, 0, keptAreas + bytes("00 0000  01 000000000000F03F")), QStringLiteral("=SUM(A1:B2,{1})"));
}

// Token arrays cut inside a token, or holding what no token is, show the value; none reads
// past the end.
TEST(KeptFormulaText, DamagedTokensShowTheValue)
{
    const QByteArray tokens =
        bytes("17 03 00 616263  1F 000000000000E03F  3B 0100 0000 0900 0000 0100  42 03 6600  19 04 0100 0000 0000");
    for (const int cut : {2, 5, 8, 12, 20, 28, 31, 33, 37})
        EXPECT_EQ(shown(tokens.left(cut)), QStringLiteral("=42")) << "cut at " << cut;
    EXPECT_EQ(shown(bytes("18 0A 00")), QStringLiteral("=42"));
    EXPECT_EQ(shown(bytes("01 0000 0000")), QStringLiteral("=42"));
    EXPECT_EQ(shown(bytes("1E0100 1E0200")), QStringLiteral("=42"));    // two values, no operator
    EXPECT_EQ(shown(bytes("03")), QStringLiteral("=42"));
    EXPECT_EQ(shown(bytes("1C FF")), QStringLiteral("=42"));            // no such error
    // Every prefix and many byte patterns are read without running past the end.
    for (int cut = 0; cut < tokens.size(); ++cut) shown(tokens.left(cut));
    quint32 seed = 12345;
    for (int round = 0; round < 2000; ++round) {
        QByteArray noise(1 + round % 24, '\0');
        for (char& b : noise) b = char((seed = seed * 1103515245u + 12345u) >> 16);
        shown(noise, round % 4, noise);
    }
}

TEST(KeptFormulaText, SheetNamesQuotedWhereTheyWouldNotReadBack)
{
    EXPECT_EQ(store::quotedSheetName(QStringLiteral("Цени")), QStringLiteral("Цени"));
    EXPECT_EQ(store::quotedSheetName(QStringLiteral("Sheet_1.a")), QStringLiteral("Sheet_1.a"));
    EXPECT_EQ(store::quotedSheetName(QStringLiteral("Лист 1")), QStringLiteral("'Лист 1'"));
    EXPECT_EQ(store::quotedSheetName(QStringLiteral("2024")), QStringLiteral("'2024'"));
    EXPECT_EQ(store::quotedSheetName(QStringLiteral("AB12")), QStringLiteral("'AB12'"));
    EXPECT_EQ(store::quotedSheetName(QStringLiteral("R1C1")), QStringLiteral("'R1C1'"));
    EXPECT_EQ(store::quotedSheetName(QStringLiteral("Иван's")), QStringLiteral("'Иван''s'"));
    EXPECT_EQ(store::quotedSheetName(QStringLiteral("Sheet1:Sheet3")), QStringLiteral("Sheet1:Sheet3"));
    EXPECT_EQ(store::quotedSheetName(QStringLiteral("[Book.xls]Sheet1")), QStringLiteral("[Book.xls]Sheet1"));
    EXPECT_EQ(store::quotedSheetName(QStringLiteral("[Book 2.xls]Sheet1")), QStringLiteral("'[Book 2.xls]Sheet1'"));
}

// Operators share the ids of references in their low bits: rows deleted, or a shared formula
// made into a cell's own, leave them alone.
TEST(KeptFormulaText, OperatorsAreNotTakenForReferences)
{
    // (5-3)*A10, row 2 deleted: only the reference moves.
    const auto moved = store::tokensAfterDeletedRows(bytes("1E0500 1E0300 04 15 24 0900 0000 05"), 2, 1);
    ASSERT_TRUE(moved);
    EXPECT_EQ(*moved, bytes("1E0500 1E0300 04 15 24 0800 0000 05"));
    // A1>=5 and A1>5 shared from row 1, in row 3.
    const auto own = store::sharedTokensForCell(bytes("2C 0000 00C0 1E0500 0C  2C 0000 00C0 1E0500 0D  03"), 3, 1);
    ASSERT_TRUE(own);
    EXPECT_EQ(*own, bytes("24 0200 00C0 1E0500 0C  24 0200 00C0 1E0500 0D  03"));
}

namespace {

QByteArray le16(int v)
{
    QByteArray b(2, '\0');
    store::xls::put16(b.data(), quint16(v));
    return b;
}

// Characters of a string with its flags byte, in UTF-16.
QByteArray wideChars(const QString& text)
{
    QByteArray b(1, '\x01');
    for (QChar ch : text) b += le16(ch.unicode());
    return b;
}

QByteArray nameRecord(quint16 options, const QString& name, int sheet)
{
    return le16(options) + QByteArray(1, '\0') + QByteArray(1, char(name.size())) + le16(0) + le16(0) + le16(sheet)
           + QByteArray(4, '\0') + wideChars(name);
}

// A workbook of two sheets whose kept formula in B5 of "Стока" looks up prices on "Цени" and
// uses a defined name, the sheet's print area and a cell and a name of another workbook.
std::unique_ptr<store::Workbook> workbookWithKeptFormula()
{
    using namespace store::xls;
    auto book = std::make_unique<store::Workbook>();
    book->sheets(1).setName(QStringLiteral("Стока"));
    book->appendSheet(QStringLiteral("Цени"));
    const QString path = QString(QChar(0x01)) + QChar(0x01) + u'C' + QChar(0x03) + QStringLiteral("Доставки")
                         + QChar(0x03) + QStringLiteral("Цени.xls");
    book->kept().links = {
        {rec::SupBook, bytes("0200 0104")},
        {rec::SupBook, le16(1) + le16(int(path.size())) + wideChars(path) + le16(5) + wideChars(QStringLiteral("Лист1"))},
        {rec::ExternName, bytes("0000 00000000") + QByteArray(1, char(4)) + wideChars(QStringLiteral("Курс")) + bytes("0200 1C17")},
        {rec::ExternSheet, bytes("0300  0000 0100 0100  0100 0000 0000  0100 FEFF FEFF")},
        {rec::Name, nameRecord(0, QStringLiteral("Отстъпка"), 0)},
        {rec::Name, nameRecord(0x0020, QString(QChar(0x06)), 1)},
    };
    book->kept().linksFitSheets = true;
    // VLOOKUP(A5,Цени!A:B,2,FALSE)+Отстъпка+[Цени.xls]Лист1!$A$1+[Цени.xls]Курс+ROWS(Print_Area)
    const QByteArray tokens = bytes("44 0400 00C0  3B 0000 0000 FFFF 0040 0140  1E 0200  1D 00  42 04 6600"
                                    "  23 0100 0000 03  3A 0100 0000 0000 03  39 0200 0100 0000 03"
                                    "  23 0200 0000 41 4C00 03");
    book->sheets(1).putFormula(5, 2, Formula::kept(tokens, Value(17)), Value(17), store::kDefaultCellFormat);
    return book;
}

} // namespace

// Read from a file, the formula shows through the file's names; after rows above it are
// deleted it shows the references where they moved.
TEST(KeptFormulaText, ReadFromAFileAndFollowsDeletedRows)
{
    const auto read = store::Workbook::fromBytes(workbookWithKeptFormula()->toBytes());
    store::Worksheet& sheet = read->sheets(QStringLiteral("Стока"));
    ASSERT_TRUE(sheet.formulaAt(5, 2));
    EXPECT_EQ(sheet.formulaAt(5, 2)->formula.toA1(),
              QStringLiteral("=VLOOKUP(A5,Цени!A:B,2,FALSE)+Отстъпка+'C:\\Доставки\\[Цени.xls]Лист1'!$A$1"
                             "+'C:\\Доставки\\Цени.xls'!Курс+ROWS(Print_Area)"))
        << sheet.formulaAt(5, 2)->formula.toA1().toStdString();
    EXPECT_EQ(sheet.value(5, 2), Value(17));

    sheet.deleteRows(2, 2);
    ASSERT_TRUE(sheet.formulaAt(3, 2));
    EXPECT_TRUE(sheet.formulaAt(3, 2)->formula.toA1().startsWith(QStringLiteral("=VLOOKUP(A3,Цени!A:B,2,FALSE)+")));
    const auto again = store::Workbook::fromBytes(read->toBytes());
    EXPECT_EQ(again->sheets(1).formulaAt(3, 2)->formula.toA1(), sheet.formulaAt(3, 2)->formula.toA1());
}

// A formula with array constants is kept with them and written back whole.
TEST(KeptFormulaText, ArrayConstantsAreWrittenBack)
{
    store::Workbook book;
    const QByteArray tokens = bytes("24 0000 00C0  60 00000000000000  42 02 0D00");   // DOLLAR(A1,{...})
    const QByteArray constants = bytes("01 0000  01 000000000000F03F  01 0000000000000040");
    const auto context = std::make_shared<const store::KeptContext>(store::KeptContext{constants, {}});
    book.sheets(1).putFormula(1, 2, Formula::kept(tokens, Value(3), context, 1, 2), Value(3), store::kDefaultCellFormat);
    const auto read = store::Workbook::fromBytes(book.toBytes());
    const store::FormulaCell* formula = read->sheets(1).formulaAt(1, 2);
    ASSERT_TRUE(formula);
    ASSERT_TRUE(formula->formula.isKept());
    EXPECT_EQ(formula->formula.keptExtra(), constants);
    EXPECT_EQ(formula->formula.toA1(), QStringLiteral("=DOLLAR(A1,{1,2})"));
}

// A link to another workbook that lists none of its sheets is still that workbook; a DDE link
// ("program", 0x03, "topic", not encoded) is not.
TEST(KeptFormulaText, LinksToWorkbooksAndToPrograms)
{
    using namespace store::xls;
    const QString file = QString(QChar(0x01)) + QChar(0x02) + QStringLiteral("tmp") + QChar(0x03) + QStringLiteral("ext.xls");
    const QString dde = QStringLiteral("Excel") + QChar(0x03) + QStringLiteral("Лист");
    const BiffWorkbookNames names = readLinkNames(
        {
            {rec::SupBook, le16(0) + le16(int(file.size())) + wideChars(file)},
            {rec::SupBook, le16(0) + le16(int(dde.size())) + wideChars(dde)},
            {rec::SupBook, bytes("0100 013A")},
            {rec::ExternName, bytes("0000 00000000") + QByteArray(1, char(4)) + wideChars(QStringLiteral("ЕВРО"))},
            {rec::SupBook, bytes("0500")},   // cut short: its place stays
            {rec::ExternSheet, bytes("0100 0000 FEFF FEFF")},
        },
        {QStringLiteral("Стока")});
    ASSERT_EQ(names.books.size(), 4u);
    EXPECT_EQ(names.books[0].kind, BiffWorkbookNames::Book::Kind::External);
    EXPECT_EQ(names.books[0].directory, QStringLiteral("\\tmp\\"));
    EXPECT_EQ(names.books[0].file, QStringLiteral("ext.xls"));
    EXPECT_EQ(names.books[1].kind, BiffWorkbookNames::Book::Kind::Other);
    EXPECT_EQ(names.books[1].file, QStringLiteral("Excel|Лист"));
    EXPECT_EQ(names.books[2].kind, BiffWorkbookNames::Book::Kind::AddIns);
    EXPECT_EQ(names.books[2].names, std::vector<QString>{QStringLiteral("ЕВРО")});
    ASSERT_EQ(names.spans.size(), 1u);
    EXPECT_EQ(names.spans[0].first, 0xFFFE);
}
