// The hard cases of the functions and of arithmetic, in the locale the shop runs in: what the
// oracle workbook (formula_oracle_test) cannot show because the other program differs or runs in
// English.
#include "formula_test_helpers.h"

#include "store/Workbook.h"
#include "store/Worksheet.h"
#include "store/formula/BiffFormula.h"
#include "tests/support/DefaultLocale.h"

#include <QDate>
#include <gtest/gtest.h>

using formula_test::FakeCells;
using namespace store;
using namespace Qt::Literals::StringLiterals;

namespace {

struct Case {
    const char* formula;
    Value expected;
};

FakeCells sheet()
{
    FakeCells cells;
    const Value column[] = {Value(5), Value(u"5"_s), Value(u"Ёлка"_s), Value(u"ел"_s), Value(u" 5"_s),
                            Value(45366.0), Value(u"15.03.2024"_s), Value::boolean(true)};
    for (int i = 0; i < 8; ++i) cells.set(i + 1, 1, column[i]);
    const double flows[] = {-1000, 300, 400, 500};
    for (int i = 0; i < 4; ++i) cells.set(i + 1, 2, Value(flows[i]));
    return cells;
}

void expectAll(std::initializer_list<Case> cases)
{
    const FakeCells cells = sheet();
    for (const Case& c : cases) {
        const Value got = Formula::parseA1(QString::fromUtf8(c.formula), 20, 3).evaluate(cells);
        if (c.expected.isNumber() && got.isNumber())
            EXPECT_NEAR(got.number(), c.expected.number(), 1e-9 * std::abs(c.expected.number())) << c.formula;
        else
            EXPECT_EQ(got, c.expected) << c.formula;
    }
}

} // namespace

TEST(FormulaFunctions, ArithmeticAsTheSpreadsheetComputesIt)
{
    const testsupport::DefaultLocale bulgarian(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
    expectAll({
        {"=0.1+0.2&\"\"", Value(u"0,3"_s)},             // 15 digits, the locale's mark
        {"=1/3&\"\"", Value(u"0,333333333333333"_s)},
        {"=10^15&\"\"", Value(u"1E+15"_s)},
        {"=0.1+0.2-0.3", Value(0.0)},                    // snapped
        {"=1+1E-13-1", Value(9.992007221626409e-14)},    // a real difference stays
        {"=\"12%\"*2", Value(0.24)},
        {"=\"1,5\"+1", Value(2.5)},
        {"=\"15.03.2024\"+0", Value(45366.0)},
        {"=\"3:45 PM\"*24", Value(15.75)},
        {"=0^0", Value::error(ErrorCode::Num)},
        {"=10^-400", Value(0.0)},
        {"=ROUND(123456789012345678,2)", Value(123456789012345678.0)},
        {"=ROUND(2.675,2)", Value(2.68)},
        {"=\"е\"<\"ё\"", Value::boolean(true)},         // Ё after Е, before Ж
        {"=\"ё\"<\"ж\"", Value::boolean(true)},
        {"=\"ѝ\"<\"й\"", Value::boolean(true)},
        {"=\"ЁЛКА\"=\"ёлка\"", Value::boolean(true)},   // case ignored
    });
}

TEST(FormulaFunctions, CriteriaAsTheSpreadsheetAppliesThem)
{
    const testsupport::DefaultLocale bulgarian(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
    expectAll({
        {"=COUNTIF(A1:A8,5)", Value(1)},                   // the number only, not the text "5"
        {"=COUNTIF(A1:A8,\"5\")", Value(2)},               // as written: also the text "5"
        {"=COUNTIF(A1:A8,\" 5\")", Value(1)},              // no trimming
        {"=COUNTIF(A1:A8,\"15.03.2024\")", Value(2)},      // a date: the serial number, and the text as written
        {"=COUNTIF(A1:A8,\">=\"&DATE(2024,3,1))", Value(1)},
        {"=COUNTIF(A1:A8,\"ё*\")", Value(1)},              // wildcards on text
        {"=COUNTIF(A1:A8,\">е\")", Value(2)},              // Ёлка and ел by the alphabet
        {"=SUMIF(A1:A8,\">4\",B1:B8)", Value(-1000)},      // 5 and 45366, whose B is empty
        {"=SUMIF(A1:A8,\"*\",B1:B8)", Value(1200)},        // any text
    });
}

TEST(FormulaFunctions, LookupsAndSearchesSettle)
{
    expectAll({
        {"=MATCH(4.5,{1,3,5,7})", Value(2)},
        {"=MATCH(4.5,{7,5,3,1},-1)", Value(2)},
        {"=MATCH(\"Ё*\",A1:A8,0)", Value(3)},
        {"=MATCH(6,{1,3,5,7},0)", Value::error(ErrorCode::NA)},
        {"=VLOOKUP(4,{1,\"a\";3,\"b\";5,\"c\"},2)", Value(u"b"_s)},
        {"=VLOOKUP(4,{1,\"a\";3,\"b\";5,\"c\"},2,FALSE)", Value::error(ErrorCode::NA)},
        {"=INDEX(B1:B4,3)+SUM(OFFSET(B1,1,0,3,1))", Value(1600)},
        {"=ROW()*100+COLUMN()", Value(2003)},
        {"=SUMPRODUCT((B1:B4>0)*B1:B4)", Value(1200)},
        {"=IRR(B1:B4)", Value(0.0889633947)},
        {"=IRR({-1,-1,-1})", Value::error(ErrorCode::Num)},        // no rate: signs never change
        {"=RATE(48,-200,8000)", Value(0.00770147248823)},
        {"=ROUND(RATE(10,-100,1000,0,1),9)", Value(0.0)},        // the search ends at 0
        {"=RATE(10,100,1000)", Value::error(ErrorCode::Num)},     // no rate settles it: the search stops
    });
}

// A typed call goes into the file with its own function index and argument classes, and comes
// back computed: SUMPRODUCT takes arrays, so the comparison inside is written over arrays.
TEST(FormulaFunctions, TypedCallsAreWrittenAsTheFormatWantsThem)
{
    auto bytes = [](const char* hex) { return QByteArray::fromHex(QByteArray(hex).replace(' ', "")); };
    const Formula typed = Formula::parseA1(u"=SUMPRODUCT((A1:A2>0)*{1;2})"_s, 3, 1);
    EXPECT_EQ(encodeBiffFormula(typed, 3, 1),
              bytes("65 0000 0100 00C0 00C0  1E 0000  0D  15  60 00000000000000  05  42 01 E400"));
    EXPECT_EQ(encodeBiffFormulaRecord(typed).constants, bytes("00 0100  01 000000000000F03F  01 0000000000000040"));
    EXPECT_EQ(encodeBiffFormula(Formula::parseA1(u"=TODAY()"_s, 1, 1), 1, 1), bytes("19 01 0000  41 DD00"));

    Workbook book;
    book.sheets(1).setValue(1, 1, Value(3));
    book.sheets(1).setValue(2, 1, Value(-4));
    book.sheets(1).setFormula(3, 1, typed);
    const auto read = Workbook::fromBytes(book.toBytes());
    ASSERT_FALSE(read->sheets(1).formulaAt(3, 1)->formula.isKept());
    EXPECT_EQ(read->sheets(1).formulaAt(3, 1)->formula.toA1(), u"=SUMPRODUCT((A1:A2>0)*{1;2})"_s);
    EXPECT_EQ(read->sheets(1).value(3, 1), Value(1));
}

// Whole years, months and days between dates, and what is left of them, with the spreadsheet's
// run-over where the start's day is past the end's.
TEST(FormulaFunctions, DateDifferences)
{
    expectAll({
        {"=DATEDIF(DATE(2020,2,29),DATE(2024,2,28),\"Y\")", Value(3)},
        {"=DATEDIF(DATE(2020,2,29),DATE(2024,2,29),\"y\")", Value(4)},
        {"=DATEDIF(DATE(2024,1,31),DATE(2024,2,29),\"M\")", Value(0)},
        {"=DATEDIF(DATE(2024,1,31),DATE(2024,3,31),\"M\")", Value(2)},
        {"=DATEDIF(DATE(2024,1,1),DATE(2024,3,1),\"D\")", Value(60)},
        {"=DATEDIF(DATE(2024,1,15),DATE(2024,3,20),\"MD\")", Value(5)},
        {"=DATEDIF(DATE(2011,1,31),DATE(2011,3,1),\"MD\")", Value(-2)},
        {"=DATEDIF(DATE(2020,11,15),DATE(2024,2,10),\"YM\")", Value(2)},
        {"=DATEDIF(DATE(2020,11,15),DATE(2024,2,10),\"YD\")", Value(87)},
        {"=DATEDIF(DATE(2020,1,15),DATE(2024,2,10),\"YD\")", Value(26)},
        {"=DATEDIF(DATE(2024,3,2),DATE(2024,3,1),\"D\")", Value::error(ErrorCode::Num)},
        {"=DATEDIF(DATE(2024,3,1),DATE(2024,3,2),\"W\")", Value::error(ErrorCode::Num)},
    });
}

// A workbook that counts its days from 1904 gives and takes its dates in that count.
TEST(FormulaFunctions, DatesOfAWorkbookCountingFrom1904)
{
    Workbook book;
    book.kept().date1904 = true;
    Worksheet& sheet = book.sheets(1);
    sheet.setValue(1, 1, Value(0.0));   // 1 January 1904
    const struct {
        const char* formula;
        double expected;
    } cases[] = {{"=YEAR(A1)", 1904}, {"=DATE(2024,3,15)", 45366 - 1462}, {"=MONTH(DATE(2024,3,15))", 3},
                 {"=WEEKDAY(A1)", 6}, {"=TODAY()", double(QDate(1904, 1, 1).daysTo(QDate::currentDate()))}};
    for (const auto& c : cases) {
        sheet.setFormula(2, 1, Formula::parseA1(QString::fromUtf8(c.formula), 2, 1));
        EXPECT_EQ(sheet.value(2, 1), Value(c.expected)) << c.formula;
    }
}

// COUNT, COUNTA, AND and OR read whole columns and every area of a union, as SUM does.
TEST(FormulaFunctions, CountsAndTruthsOverWholeColumnsAndUnions)
{
    expectAll({
        {"=COUNT(A:E)", Value(6)},
        {"=COUNTA((A1:A2,B1:B2))", Value(4)},
        {"=AND((B1:B2,B3))", Value::boolean(true)},
        {"=OR(A:E)", Value::boolean(true)},
        {"=(\"1\"&REPT(\"%\",30000))+0", Value::error(ErrorCode::Value)},   // no number, and no crash
    });
}

// TEXT passes over what a format code holds as literals: colours, locales, quoted text.
TEST(FormulaFunctions, TextFormatsWithLiterals)
{
    const testsupport::DefaultLocale bulgarian(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
    expectAll({
        {"=TEXT(1.5,\"[Red]0.00\")", Value(u"1,50"_s)},
        {"=TEXT(5,\"0\"\" бр.\"\"\")", Value(u"5 бр."_s)},
        {"=TEXT(45366,\"[$-402]dd.mm.yyyy\")", Value(u"15.03.2024"_s)},
        {"=TEXT(45366,\"d \\d\\e\\n \"\"(m)\"\"\")", Value(u"15 den (m)"_s)},
    });
}
