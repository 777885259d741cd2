#include "formula_test_helpers.h"

#include "store/formula/Formula.h"
#include "store/formula/FormulaNodes.h"

#include <gtest/gtest.h>

using formula_test::FakeCells;
using store::ErrorCode;
using store::Formula;
using store::Value;

namespace {

Value eval(const char* text, const FakeCells& cells = FakeCells())
{
    return Formula::parseA1(QString::fromUtf8(text), 1, 1).evaluate(cells);
}

Value error(ErrorCode code)
{
    return Value::error(code);
}

Value text(const char* s)
{
    return Value(QString::fromUtf8(s));
}

} // namespace

TEST(FormulaEvaluate, OperatorsFollowPrecedence)
{
    EXPECT_EQ(eval("=1+2*3"), Value(7));
    EXPECT_EQ(eval("=(1+2)*3"), Value(9));
    EXPECT_EQ(eval("=-2^2"), Value(4));
    EXPECT_EQ(eval("=0-2^2"), Value(-4));
    EXPECT_EQ(eval("=2^3^2"), Value(64));
    EXPECT_EQ(eval("=2*-3"), Value(-6));
    EXPECT_EQ(eval("=2^-1"), Value(0.5));
    EXPECT_EQ(eval("=10-2-3"), Value(5));
    EXPECT_EQ(eval("=8/2/2"), Value(2));
    EXPECT_EQ(eval("=50%*4"), Value(2));
    EXPECT_EQ(eval("=+\"как\""), text("как"));
    EXPECT_EQ(eval("=1+2&3"), text("33"));
    EXPECT_EQ(eval("=\"a\"&1.5&TRUE&#N/A"), error(ErrorCode::NA));
    EXPECT_EQ(eval("=\"a\"&1.5&TRUE"), text("a1.5TRUE"));
    EXPECT_EQ(eval("=1+1=2"), Value::boolean(true));
}

TEST(FormulaEvaluate, ErrorsAriseAndPropagate)
{
    EXPECT_EQ(eval("=1/0"), error(ErrorCode::Div0));
    EXPECT_EQ(eval("=\"x\"+1"), error(ErrorCode::Value));
    EXPECT_EQ(eval("=\" 3 \"+1"), Value(4));
    EXPECT_EQ(eval("=\"1.5\"*2"), Value(3));
    EXPECT_EQ(eval("=\"1,5\"*2"), error(ErrorCode::Value));   // text in arithmetic uses "."
    // Text that reads as a time of day counts as that part of a day.
    EXPECT_EQ(eval("=\"3:43 PM\"*1440"), Value(15 * 60 + 43));
    EXPECT_EQ(eval("=\"12:30 am\"*1440"), Value(30));
    EXPECT_EQ(eval("=\"12:00 PM\"*24"), Value(12));
    EXPECT_EQ(eval("=\"7:05:30\"*86400"), Value(7 * 3600 + 5 * 60 + 30));
    EXPECT_EQ(eval("=\"26:00\"*24"), Value(26));
    EXPECT_EQ(eval("=\"13:00 PM\"+0"), error(ErrorCode::Value));
    EXPECT_EQ(eval("=\"7:60\"+0"), error(ErrorCode::Value));
    EXPECT_EQ(eval("=\"7:5x\"+0"), error(ErrorCode::Value));
    EXPECT_EQ(eval("=#N/A+1"), error(ErrorCode::NA));
    EXPECT_EQ(eval("=1/0+#N/A"), error(ErrorCode::Div0));     // the left error wins
    EXPECT_EQ(eval("=#REF!=#N/A"), error(ErrorCode::Ref));
    EXPECT_EQ(eval("=A2:A3+1"), error(ErrorCode::Value));   // no cell in the formula's row
    EXPECT_EQ(eval("=A1:B2"), error(ErrorCode::Value));     // neither one row nor one column
    EXPECT_EQ(eval("=(-8)^0.5"), error(ErrorCode::Num));
    EXPECT_EQ(eval("=0^-1"), error(ErrorCode::Div0));
    EXPECT_EQ(eval("=1e200*1e200"), error(ErrorCode::Num));
    EXPECT_EQ(eval("=TAN(1)"), error(ErrorCode::Name));
    EXPECT_EQ(eval("=-\"x\""), error(ErrorCode::Value));

    // Trees built in code with a wrong argument count compute as #VALUE!.
    using namespace store::formula;
    const Formula oneArgRound(makeFunction(QStringLiteral("ROUND"), {makeNumber(1.25)}));
    EXPECT_EQ(oneArgRound.evaluate(FakeCells()), error(ErrorCode::Value));
}

TEST(FormulaEvaluate, ReferencesReadCellsAndEmptyCellsAdaptToTheOtherSide)
{
    FakeCells cells;
    cells.set(1, 2, text("3"));
    cells.set(2, 2, Value::boolean(true));
    cells.set(3, 2, text("x"));
    EXPECT_EQ(eval("=A1", cells), Value(0));
    EXPECT_EQ(eval("=A1+1", cells), Value(1));
    EXPECT_EQ(eval("=A1&\"x\"", cells), text("x"));
    EXPECT_EQ(eval("=A1=0", cells), Value::boolean(true));
    EXPECT_EQ(eval("=A1=\"\"", cells), Value::boolean(true));
    EXPECT_EQ(eval("=A1=FALSE", cells), Value::boolean(true));
    EXPECT_EQ(eval("=A1=A2", cells), Value::boolean(true));
    EXPECT_EQ(eval("=B1*2", cells), Value(6));
    EXPECT_EQ(eval("=B2*2", cells), Value(2));
    EXPECT_EQ(eval("=B3*2", cells), error(ErrorCode::Value));
    EXPECT_EQ(eval("=B1", cells), text("3"));
}

TEST(FormulaEvaluate, ComparisonsOrderNumbersTextBooleans)
{
    EXPECT_EQ(eval("=\"Ябълка\"=\"ЯБЪЛКА\""), Value::boolean(true));
    EXPECT_EQ(eval("=\"a\"<\"B\""), Value::boolean(true));
    EXPECT_EQ(eval("=1000<\"a\""), Value::boolean(true));
    EXPECT_EQ(eval("=\"10\"<9"), Value::boolean(false));
    EXPECT_EQ(eval("=\"z\"<FALSE"), Value::boolean(true));
    EXPECT_EQ(eval("=FALSE<TRUE"), Value::boolean(true));
    EXPECT_EQ(eval("=0.1+0.2=0.3"), Value::boolean(true));
    EXPECT_EQ(eval("=0.1+0.2>0.3"), Value::boolean(false));
    EXPECT_EQ(eval("=1.0001>1"), Value::boolean(true));
    EXPECT_EQ(eval("=2<>2"), Value::boolean(false));
    EXPECT_EQ(eval("=2>=2"), Value::boolean(true));
    EXPECT_EQ(eval("=3<=2"), Value::boolean(false));
}

// Numbers are equal when their first 15 significant digits agree, for every comparison and for
// COUNTIF's criteria alike; a difference in the 15th digit still counts.
TEST(FormulaEvaluate, NumbersAgreeingInFifteenDigitsCompareEqual)
{
    EXPECT_EQ(eval("=1+1E-15=1"), Value::boolean(true));
    EXPECT_EQ(eval("=1+1E-15>1"), Value::boolean(false));
    EXPECT_EQ(eval("=1+1E-15<>1"), Value::boolean(false));
    EXPECT_EQ(eval("=1<1+1E-15"), Value::boolean(false));
    EXPECT_EQ(eval("=1+1E-15>=1"), Value::boolean(true));
    EXPECT_EQ(eval("=-1-3E-15=-1"), Value::boolean(true));
    EXPECT_EQ(eval("=123456789012345000+10=123456789012345000"), Value::boolean(true));
    EXPECT_EQ(eval("=1E-300*(1+2E-15)=1E-300"), Value::boolean(true));
    EXPECT_EQ(eval("=1/3*3=1"), Value::boolean(true));

    EXPECT_EQ(eval("=1+1E-14=1"), Value::boolean(false));
    EXPECT_EQ(eval("=1+1E-14>1"), Value::boolean(true));
    EXPECT_EQ(eval("=123456789012345000+1000=123456789012345000"), Value::boolean(false));
    EXPECT_EQ(eval("=1E-300=0"), Value::boolean(false));
    EXPECT_EQ(eval("=-1E-15<0"), Value::boolean(true));

    FakeCells cells;
    cells.set(1, 1, Value(1 + 1e-15));
    cells.set(2, 1, Value(1.0));
    cells.set(3, 1, Value(1 + 1e-14));
    EXPECT_EQ(eval("=COUNTIF(A1:A3,1)", cells), Value(2));
    EXPECT_EQ(eval("=COUNTIF(A1:A3,\"<>1\")", cells), Value(1));
    EXPECT_EQ(eval("=COUNTIF(A1:A3,\">1\")", cells), Value(1));
    EXPECT_EQ(eval("=COUNTIF(A1:A3,\"<=1\")", cells), Value(2));
}

TEST(FormulaEvaluate, SumMinMaxSkipTextInRangesButConvertDirectArguments)
{
    FakeCells cells;
    cells.set(1, 1, Value(10));
    cells.set(2, 1, text("5"));
    cells.set(3, 1, Value::boolean(true));
    cells.set(4, 1, Value(-2.5));
    cells.set(1, 2, text("няма"));
    EXPECT_EQ(eval("=SUM(A1:A5)", cells), Value(7.5));
    EXPECT_EQ(eval("=SUM(A2)", cells), Value(0));   // a cell, even alone, is a range
    EXPECT_EQ(eval("=SUM(\"3\",TRUE,1,)", cells), Value(5));
    EXPECT_EQ(eval("=SUM(\"x\",1)", cells), error(ErrorCode::Value));
    EXPECT_EQ(eval("=SUM((A1:A4),A1*2)", cells), Value(27.5));
    EXPECT_EQ(eval("=MIN(A1:A5)", cells), Value(-2.5));
    EXPECT_EQ(eval("=MAX(A1:B4,3)", cells), Value(10));
    EXPECT_EQ(eval("=MAX(A2:B3)", cells), Value(0));
    EXPECT_EQ(eval("=MIN(B1:B9)", cells), Value(0));

    cells.set(5, 1, error(ErrorCode::NA));
    EXPECT_EQ(eval("=SUM(A1:A5)", cells), error(ErrorCode::NA));
    EXPECT_EQ(eval("=MAX(A5)", cells), error(ErrorCode::NA));
}

// Of several errors the first one met wins: arguments from left to right, a range row by row
// and left to right within a row, an operator's left operand before its right one.
TEST(FormulaEvaluate, FirstErrorInReadingOrderWins)
{
    FakeCells cells;
    cells.set(1, 1, Value(1));
    cells.set(1, 2, error(ErrorCode::Div0));
    cells.set(2, 1, error(ErrorCode::NA));
    cells.set(2, 2, error(ErrorCode::Num));
    EXPECT_EQ(eval("=SUM(A1:B2)", cells), error(ErrorCode::Div0));
    EXPECT_EQ(eval("=MIN(A1:B2)", cells), error(ErrorCode::Div0));
    EXPECT_EQ(eval("=MAX(A2:B2)", cells), error(ErrorCode::NA));
    EXPECT_EQ(eval("=SUM(A2,B1)", cells), error(ErrorCode::NA));
    EXPECT_EQ(eval("=SUM(B2,A1:B2)", cells), error(ErrorCode::Num));
    EXPECT_EQ(eval("=SUM(1,\"x\",A1:B2)", cells), error(ErrorCode::Value));
    EXPECT_EQ(eval("=A2+B1", cells), error(ErrorCode::NA));
    EXPECT_EQ(eval("=B2&A2", cells), error(ErrorCode::Num));
    EXPECT_EQ(eval("=B1<A2", cells), error(ErrorCode::Div0));
    EXPECT_EQ(eval("=ROUND(A2,B1)", cells), error(ErrorCode::NA));
}

TEST(FormulaEvaluate, CountACountsEverythingButEmptyCells)
{
    FakeCells cells;
    cells.set(1, 1, Value(0));
    cells.set(2, 1, text(""));
    cells.set(4, 1, error(ErrorCode::Div0));
    cells.set(5, 3, Value::boolean(false));
    EXPECT_EQ(eval("=COUNTA(A1:A100)", cells), Value(3));
    EXPECT_EQ(eval("=COUNTA(A1:C5)", cells), Value(4));
    EXPECT_EQ(eval("=COUNTA(A3,1,\"\",#N/A)", cells), Value(3));
}

TEST(FormulaEvaluate, CountIfUnderstandsEveryCriterionForm)
{
    FakeCells cells;
    const Value column[] = {
        Value(5), text("5"), text("apple"), text("Apple pie"), text(""), Value::boolean(true),
        Value(10), error(ErrorCode::NA), text("a*b"), text("Ябълка"),
    };
    for (int i = 0; i < 10; ++i) cells.set(i + 1, 2, column[i]);
    cells.set(1, 3, text(">=5"));
    // B1:B12 also holds two empty cells below the list.
    auto count = [&](const char* criterion) {
        const QString formula = QStringLiteral("=COUNTIF(B1:B12,%1)").arg(QString::fromUtf8(criterion));
        return Formula::parseA1(formula, 1, 1).evaluate(cells);
    };
    EXPECT_EQ(count("\"<>\""), Value(10));
    EXPECT_EQ(count("\"\""), Value(3));     // blank cells and empty text
    EXPECT_EQ(count("\"=\""), Value(2));    // only blank cells
    EXPECT_EQ(count("\"5\""), Value(2));    // the number and the text "5"
    EXPECT_EQ(count("5"), Value(1));        // a number does not match the text "5"
    EXPECT_EQ(count("\"=5\""), Value(2));
    EXPECT_EQ(count("\"<>5\""), Value(10));
    EXPECT_EQ(count("\">5\""), Value(1));
    EXPECT_EQ(count("\"<=5\""), Value(1));
    EXPECT_EQ(count("C1"), Value(2));       // the criterion may come from a cell
    EXPECT_EQ(count("\"APPLE\""), Value(1));
    EXPECT_EQ(count("\"apple*\""), Value(2));
    EXPECT_EQ(count("\"?pple\""), Value(1));
    EXPECT_EQ(count("\"*E*\""), Value(2));
    EXPECT_EQ(count("\"*ъ*\""), Value(1));
    EXPECT_EQ(count("\"ябълка\""), Value(1));
    EXPECT_EQ(count("\"a~*b\""), Value(1));
    EXPECT_EQ(count("\"a?b\""), Value(1));
    EXPECT_EQ(count("\"<>apple\""), Value(11));
    EXPECT_EQ(count("\">b\""), Value(formula_test::latinBeforeCyrillic() ? 1 : 0));   // as sorting puts the scripts
    EXPECT_EQ(count("TRUE"), Value(1));
    EXPECT_EQ(count("\"#N/A\""), Value(1));
    EXPECT_EQ(count("\"пиле\""), Value(0));
    EXPECT_EQ(eval("=COUNTIF(1,\"x\")", cells), error(ErrorCode::Value));
    EXPECT_EQ(eval("=COUNTIF(#REF!,\"x\")", cells), error(ErrorCode::Ref));
}

TEST(FormulaEvaluate, RangesStopAtTheSheetsLastCellButCountTheRest)
{
    FakeCells cells;
    for (int row = 2; row <= 50; ++row) cells.set(row, 2, Value(row));
    cells.set(51, 1, text("края"));
    const Formula filled = Formula::parseA1(QStringLiteral("=COUNTIF(B2:B10000,\"<>\")"), 1, 20);
    EXPECT_EQ(filled.evaluate(cells), Value(49));
    EXPECT_LE(cells.reads(), 50);

    EXPECT_EQ(eval("=COUNTIF(B2:B10000,\"\")", cells), Value(10000 - 50));
    EXPECT_EQ(eval("=COUNTIF(B2:C10000,\"<>7\")", cells), Value(2 * 9999 - 1));
    EXPECT_EQ(eval("=COUNTIF(Z100:Z200,\"\")", cells), Value(101));
    EXPECT_EQ(eval("=SUM(B1:IV65536)", cells), Value(50 * 51 / 2 - 1));
}

TEST(FormulaEvaluate, RoundIsExactForMoney)
{
    FakeCells cells;
    cells.set(8, 12, Value(3));
    cells.set(8, 14, Value(1.15));
    EXPECT_EQ(eval("=ROUND(L8*N8,2)", cells), Value(3.45));   // 3.4499999999999997 in binary
    EXPECT_EQ(eval("=ROUND(2.675,2)"), Value(2.68));
    EXPECT_EQ(eval("=ROUND(1.005,2)"), Value(1.01));
    EXPECT_EQ(eval("=ROUND(0.285,2)"), Value(0.29));
    EXPECT_EQ(eval("=ROUND(1.1+2.2,1)"), Value(3.3));
    EXPECT_EQ(eval("=ROUND(99.995,2)"), Value(100));
    EXPECT_EQ(eval("=ROUND(2.5,0)"), Value(3));
    EXPECT_EQ(eval("=ROUND(-2.5,0)"), Value(-3));
    EXPECT_EQ(eval("=ROUND(0.4,0)"), Value(0));
    EXPECT_EQ(eval("=ROUND(0.5,0)"), Value(1));
    EXPECT_EQ(eval("=ROUND(1234.5,-2)"), Value(1200));
    EXPECT_EQ(eval("=ROUND(5,-1)"), Value(10));
    EXPECT_EQ(eval("=ROUND(4,-1)"), Value(0));
    EXPECT_EQ(eval("=ROUND(12.345,1.9)"), Value(12.3));   // places are truncated
    EXPECT_EQ(eval("=ROUND(0.1+0.2,20)"), Value(0.1 + 0.2));
    EXPECT_EQ(eval("=ROUND(\"2.675\",\"2\")"), Value(2.68));
    EXPECT_EQ(eval("=ROUND(\"x\",2)"), error(ErrorCode::Value));
}

TEST(FormulaEvaluate, IfAbsAndTheirArguments)
{
    FakeCells cells;
    cells.set(1, 2, Value(-4));
    EXPECT_EQ(eval("=IF(B1<0,\"минус\",\"плюс\")", cells), text("минус"));
    EXPECT_EQ(eval("=IF(B1>0,\"плюс\")", cells), Value::boolean(false));
    EXPECT_EQ(eval("=IF(A1,1,2)", cells), Value(2));   // an empty cell is FALSE
    EXPECT_EQ(eval("=IF(TRUE,1,1/0)"), Value(1));      // the other branch is not computed
    EXPECT_EQ(eval("=IF(0.5,\"да\",\"не\")"), text("да"));
    EXPECT_EQ(eval("=IF(\"true\",1,2)"), Value(1));
    EXPECT_EQ(eval("=IF(\"може би\",1,2)"), error(ErrorCode::Value));
    EXPECT_EQ(eval("=IF(#NUM!,1,2)"), error(ErrorCode::Num));
    EXPECT_EQ(eval("=IF(TRUE,,2)"), Value(0));
    EXPECT_EQ(eval("=ABS(B1)", cells), Value(4));
    EXPECT_EQ(eval("=ABS(B2:B3)", cells), error(ErrorCode::Value));   // no cell in row 1
    EXPECT_EQ(eval("=ABS(-\"2.5\")"), Value(2.5));
}

// Where one value is wanted, a one-column range gives its cell in the formula's own row and a
// one-row range its cell in the formula's own column; the formula's cell moves with deleted rows.
TEST(FormulaEvaluate, RangeWhereOneValueIsWantedTakesTheCellInLine)
{
    FakeCells cells;
    for (int row = 1; row <= 6; ++row) cells.set(row, 1, Value(row * 10));
    for (int col = 1; col <= 5; ++col) cells.set(8, col, Value(col * 100));
    const auto at = [&](const char* text, int row, int col) {
        return Formula::parseA1(QString::fromUtf8(text), row, col).evaluate(cells);
    };
    EXPECT_EQ(at("=A1:A6*2", 4, 3), Value(80));
    EXPECT_EQ(at("=$A$1:$A$6", 6, 2), Value(60));
    EXPECT_EQ(at("=A1:A6", 7, 2), error(ErrorCode::Value));
    EXPECT_EQ(at("=A8:E8+1", 1, 3), Value(301));
    EXPECT_EQ(at("=A8:E8", 1, 6), error(ErrorCode::Value));
    EXPECT_EQ(at("=ROUND(A1:A6/3,0)", 2, 2), Value(7));
    // A range as COUNTIF's criterion is the criterion in the formula's row.
    EXPECT_EQ(at("=COUNTIF(A1:A6,A1:A6)", 3, 2), Value(1));
    EXPECT_EQ(at("=COUNTIF(A1:A6,\">\"&A1:A6)", 5, 2), Value(1));
    // SUM still takes the whole range.
    EXPECT_EQ(at("=SUM(A1:A6)", 3, 2), Value(210));

    Formula moved = Formula::parseA1(QStringLiteral("=A1:A6"), 5, 2);
    moved.adjustForDeletedRows(2, 1);   // A1:A5 now; the formula sits in row 4
    cells.set(4, 1, Value(-1));
    EXPECT_EQ(moved.evaluate(cells), Value(-1));
}
