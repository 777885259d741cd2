#include "formula_test_helpers.h"

#include "error_message.h"
#include "store/StoreError.h"
#include "store/formula/BiffFormula.h"
#include "store/formula/BiffFormulaText.h"
#include "store/formula/FormulaError.h"
#include "store/formula/Formula.h"

#include <gtest/gtest.h>

using store::Formula;
using namespace Qt::StringLiterals;

namespace {

QByteArray bytes(const char* hex)
{
    return QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
}

QByteArray encoded(const char* text, int row = 1, int col = 1)
{
    return store::encodeBiffFormula(Formula::parseA1(QString::fromUtf8(text), row, col), row, col);
}

// The A1 text of decoded tokens, or "(nothing)" when they are refused.
QString decoded(const QByteArray& tokens, int row = 1, int col = 1)
{
    const auto formula = store::decodeBiffFormula(tokens, row, col);
    return formula ? formula->toA1() : u"(nothing)"_s;
}

} // namespace

TEST(BiffFormula, EncodesTheTokensSpreadsheetsWrite)
{
    EXPECT_EQ(encoded("=COUNTIF(B2:B10000,\"<>\")", 1, 20),
              bytes("25 0100 0F27 01C0 01C0  17 02 00 3C3E  41 5A01"));
    EXPECT_EQ(encoded("=L8*N8"), bytes("44 0700 0BC0  44 0700 0DC0  05"));
    EXPECT_EQ(encoded("=ROUND(L8*N8,2)"), bytes("44 0700 0BC0  44 0700 0DC0  05  1E 0200  41 1B00"));
    // References passed to SUM are of reference class, the sum of one area has argc 1.
    EXPECT_EQ(encoded("=SUM(A1:A3)+SUM($A$1)"),
              bytes("25 0000 0200 00C0 00C0  42 01 0400  24 0000 0000  42 01 0400  03"));
    EXPECT_EQ(encoded("=IF(A1>=0,,TRUE)"),
              bytes("44 0000 00C0  1E 0000  0C  16  1D 01  42 03 0100"));
    EXPECT_EQ(encoded("=MIN(B1,MAX(B2))-ABS(COUNTA(C1:C2))"),
              bytes("24 0000 01C0  24 0100 01C0  42 01 0700  42 02 0600 "
                    "25 0000 0100 02C0 02C0  42 01 A900  41 1800  04"));
    EXPECT_EQ(encoded("=-(1.5%)&#N/A"), bytes("1F 000000000000F83F  14  15  13  1C 2A  08"));
    EXPECT_EQ(encoded("=70000<>-1"), bytes("1F 000000000017F140  1E 0100  13  0E"));
}

TEST(BiffFormula, StoresTextAsLatin1OrUtf16)
{
    EXPECT_EQ(encoded("=\"a\"\"é\""), bytes("17 03 00 61 22 E9"));
    EXPECT_EQ(encoded("=\"да\""), bytes("17 02 01 3404 3004"));
    EXPECT_EQ(decoded(bytes("17 02 01 3404 3004")), QString::fromUtf8("=\"да\""));
    EXPECT_EQ(errorKind<store::FormulaError>([] { encoded(qPrintable(u"=\""_s + QString(256, u'x') + u"\""_s)); }),
              store::FormulaError::TextTooLong);
}

TEST(BiffFormula, RefusesWhatTheFileCannotHold)
{
    EXPECT_EQ(errorKind<store::FormulaError>([] { encoded("=TAN(A1)"); }), store::FormulaError::FunctionNotWritable);
    EXPECT_EQ(errorKind<store::FormulaError>([] { store::encodeBiffFormula(Formula(), 1, 1); }),
              store::FormulaError::EmptyFormula);
    const QString wideRow = u"=SUM({"_s + QStringList(257, u"1"_s).join(u',') + u"})"_s;
    EXPECT_EQ(errorKind<store::FormulaError>([&] { encoded(wideRow.toUtf8().constData()); }),
              store::FormulaError::ArrayTooLarge);
    Formula deleted = Formula::parseA1(u"=A5+1"_s, 1, 1);
    deleted.adjustForDeletedRows(5, 1);
    EXPECT_EQ(store::encodeBiffFormula(deleted, 1, 1), bytes("1C 17  1E 0100  03"));
}

TEST(BiffFormula, DecodesAttributeTokensOfOtherWriters)
{
    // SUM of one area written as the area and tAttrSum, with a volatile mark and spaces.
    EXPECT_EQ(decoded(bytes("19 01 0000  19 40 0001  25 0000 0200 00C0 00C0  19 10 0000")), u"=SUM(A1:A3)"_s);
    // IF with its jumps: tAttrIf before the "then" part, tAttrSkip after each branch.
    EXPECT_EQ(decoded(bytes("44 0000 00C0  1E 0000  0D  19 02 0800  17 01 00 61  19 08 0B00 "
                            "17 01 00 62  19 08 0300  42 03 0100")),
              u"=IF(A1>0,\"a\",\"b\")"_s);
    // CHOOSE carries a jump table, which a tree does not need either.
    EXPECT_EQ(decoded(bytes("1E 0100  19 04 0100 0400 0800  1E 0200  42 02 6400")), u"=CHOOSE(1,2)"_s);
}

TEST(BiffFormula, ResolvesSharedFormulaOffsetsAgainstTheCell)
{
    // ptgRefN in E10: one row up, two columns left.
    EXPECT_EQ(decoded(bytes("4C FFFF FEC0"), 10, 5), u"=C9"_s);
    // Absolute row 5, column one to the right.
    EXPECT_EQ(decoded(bytes("4C 0400 0140"), 10, 5), u"=F$5"_s);
    // ptgAreaN B3:B8 from B3, and offsets wrapping around the sheet's edge.
    EXPECT_EQ(decoded(bytes("2D 0000 0500 00C0 00C0"), 3, 2), u"=B3:B8"_s);
    EXPECT_EQ(decoded(bytes("4C FFFF FFC0"), 1, 1), u"=IV65536"_s);
    EXPECT_EQ(decoded(bytes("2C 0000 00C0  2A 00000000  2B 0000000000000000  42 03 0400"), 4, 4),
              u"=SUM(D4,#REF!,#REF!)"_s);
}

TEST(BiffFormula, RefusesTokensItDoesNotModel)
{
    const char* refused[] = {
        "3A 0000 0100 00C0",         // another sheet (ptgRef3d)
        "23 0100 0000",              // a defined name, without the workbook's names
        "01 0000 0000",              // part of a shared formula (ptgExp)
        "20 00000000000000",         // array constant
        "1F 000000000000F03F  41 0F00",  // SIN
        "1E 0100  42 01 0F00",       // SIN as a variable-count function
        "1E 0100  42 04 1B00",       // ROUND with four arguments
        "44 07",                     // cut short
        "17 05 00 6162",             // text cut short
        "1E 0100 1E 0200",           // two values and no operator
        "03",                        // an operator without operands
        "1C 99",                     // an unknown error code
        "",
        "84 0000 0000",              // not a token
    };
    for (const char* hex : refused)
        EXPECT_EQ(decoded(bytes(hex)), u"(nothing)"_s) << hex;
}

// A name reads as its definition where the engine computes that alike in every cell: not one
// defined through itself, relative to the cell using it, or naming a function.
TEST(BiffFormula, NamesReadThroughTheirDefinitions)
{
    store::BiffWorkbookNames names;
    names.sheets = {u"Данни"_s};
    names.books.resize(1);
    names.books[0].kind = store::BiffWorkbookNames::Book::Kind::Own;
    names.spans = {{0, 0, 0}};
    const auto define = [&](const QString& name, const char* hex, bool function = false) {
        names.names.push_back({name, 0, function, bytes(hex), {}});
    };
    define(u"Цени"_s, "3B 0000  0000 0900 0000 0000");   // Данни!$A$1:$A$10
    define(u"Двойно"_s, "23 0100 0000  1E 0200  05");     // Цени*2
    define(u"Кръг"_s, "23 0400 0000");                    // Кръг2, which is Кръг
    define(u"Кръг2"_s, "23 0300 0000");
    define(u"Тук"_s, "3A 0000  0000 00C0");               // Данни!A1, relative
    define(u"Макрос"_s, "", true);
    const auto read = [&](const char* hex) {
        const auto formula = store::decodeBiffFormula(bytes(hex), 5, 3, &names);
        return formula ? formula->toA1() : u"(nothing)"_s;
    };
    EXPECT_EQ(read("23 0100 0000  19 10 0000"), u"=SUM(Цени)"_s);
    EXPECT_EQ(read("23 0200 0000  1E 0100  03"), u"=Двойно+1"_s);
    const auto twice = store::decodeBiffFormula(bytes("23 0200 0000"), 5, 3, &names);
    ASSERT_TRUE(twice);
    EXPECT_EQ(store::encodeBiffFormula(*twice, 5, 3), bytes("43 0200 0000"));
    for (const char* hex : {"23 0300 0000", "23 0500 0000", "23 0600 0000", "23 0700 0000"})
        EXPECT_EQ(read(hex), u"(nothing)"_s) << hex;
}

TEST(BiffFormula, RoundTripsThroughTokens)
{
    const char* formulas[] = {
        "=COUNTIF(B2:B10000,\"<>\")",
        "=ROUND(L8*N8,2)",
        "=IF(A1<>\"\",(A1+B$2)*-$C$3%,FALSE)",
        "=A1<B1&A1>B1&A1<=B1&A1>=B1&A1=B1",
        "=SUM(A1:B2,,3.25,-1E+20)/MIN(1)^MAX(C1)",
        "=\"Магазин „Изток“\"&COUNTA($A:$A)+SUM(3:$5)",
        "=IF(ABS(A1),#DIV/0!,+TRUE)",
        "=((1))",
    };
    for (const char* text : formulas) {
        const Formula formula = Formula::parseA1(QString::fromUtf8(text), 3, 3);
        EXPECT_EQ(decoded(store::encodeBiffFormula(formula, 3, 3), 3, 3), QString::fromUtf8(text));
    }
}

// A shared formula's relative references are offsets from each cell; made into an ordinary
// formula they name the cell's own neighbours, absolute parts and other tokens untouched.
TEST(BiffFormula, SharedTokensBecomeEachCellsOwn)
{
    // VLOOKUP(A(row), $Sheet2.$A$1:$B$9 via ptgArea3d, 2, FALSE), VLOOKUP being one the engine
    // does not compute: RefN row offset 0, column offset -3 (0xFD) relative to the cell.
    const QByteArray shared = bytes("4C 0000 FDC0  3B 0100 0000 0800 0000 0100  1E 0200  1D 00  42 04 6600");
    const auto inD5 = store::sharedTokensForCell(shared, 5, 4);
    ASSERT_TRUE(inD5);
    EXPECT_EQ(*inD5, bytes("44 0400 00C0  3B 0100 0000 0800 0000 0100  1E 0200  1D 00  42 04 6600"));
    // Offsets wrap at the sheet's edges as the file format wraps them.
    const auto inA1 = store::sharedTokensForCell(bytes("2C FFFF 01C0"), 1, 1);
    ASSERT_TRUE(inA1);
    EXPECT_EQ(*inA1, bytes("24 FFFF 01C0"));
    // An area relative in both corners; an absolute row stays as written.
    const auto area = store::sharedTokensForCell(bytes("2D 0100 0500 0080 0140"), 10, 3);
    ASSERT_TRUE(area);
    EXPECT_EQ(*area, bytes("25 0A00 0500 0080 0340"));
    // Array constants live after the tokens, which a cell's formula alone cannot carry; a
    // token array cut short is no formula at all.
    EXPECT_FALSE(store::sharedTokensForCell(bytes("60 00000000000000"), 2, 2));
    EXPECT_FALSE(store::sharedTokensForCell(bytes("4C 0000"), 2, 2));
    EXPECT_FALSE(store::sharedTokensForCell(bytes("17 05 00 6162"), 2, 2));
}

// A formula kept from a file gives its last value, writes back its tokens byte for byte and
// shows that value when printed without the names of the workbook it came from.
TEST(BiffFormula, KeptFormulaGivesItsValueAndItsTokens)
{
    const QByteArray tokens = bytes("3A 0000 0100 00C0");   // a cell of another sheet
    const Formula kept = Formula::kept(tokens, store::Value(u"Мечо"_s));
    EXPECT_TRUE(kept.isKept());
    EXPECT_EQ(store::encodeBiffFormula(kept, 7, 2), tokens);
    EXPECT_EQ(kept.toA1(), u"=\"Мечо\""_s);
    formula_test::FakeCells cells;
    cells.set(1, 1, store::Value(3));
    EXPECT_EQ(kept.evaluate(cells), store::Value(u"Мечо"_s));
    EXPECT_FALSE(Formula::parseA1(u"=A1"_s, 1, 2).isKept());
}

// Deleting rows moves the references of a kept formula as it moves those of a computed one;
// references to other sheets are left as they are.
TEST(BiffFormula, KeptTokensFollowDeletedRows)
{
    // VLOOKUP(A5, B2:C9, 2) + Sheet2!A5, rows 3 and 4 deleted.
    const QByteArray before = bytes("44 0400 00C0  25 0100 0800 0100 0200  1E 0200  42 03 6600  3A 0100 0400 00C0  03");
    Formula kept = Formula::kept(before, store::Value(1));
    kept.adjustForDeletedRows(3, 2);
    EXPECT_EQ(store::encodeBiffFormula(kept, 1, 1),
              bytes("44 0200 00C0  25 0100 0600 0100 0200  1E 0200  42 03 6600  3A 0100 0400 00C0  03"));

    // A reference into the deleted rows becomes #REF!; an area wholly inside them too; an area
    // that starts inside them starts at the first row after; whole columns stay.
    Formula gone = Formula::kept(
        bytes("44 0200 0000  25 0200 0300 0000 0000  25 0300 0900 0000 0000  25 0000 FFFF 0000 0000  42 04 0400"),
        store::Value(1));
    gone.adjustForDeletedRows(3, 2);
    EXPECT_EQ(store::encodeBiffFormula(gone, 1, 1),
              bytes("4A 0200 0000  2B 0200 0300 0000 0000  25 0200 0700 0000 0000  25 0000 FFFF 0000 0000  42 04 0400"));
}
