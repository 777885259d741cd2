#include "formula_test_helpers.h"

#include "store/formula/Formula.h"

#include <gtest/gtest.h>

using formula_test::FakeCells;
using store::Formula;

namespace {

QString afterDeleting(const char* text, int first, int count)
{
    Formula formula = Formula::parseA1(QString::fromUtf8(text), 1, 1);
    formula.adjustForDeletedRows(first, count);
    return formula.toA1();
}

} // namespace

TEST(FormulaDeletedRows, ReferencesMoveUpOrBreak)
{
    EXPECT_EQ(afterDeleting("=A1+A5+A9", 4, 3), "=A1+#REF!+A6");
    EXPECT_EQ(afterDeleting("=A3+A4", 4, 1), "=A3+#REF!");
    EXPECT_EQ(afterDeleting("=A3+A4", 3, 1), "=#REF!+A3");
    EXPECT_EQ(afterDeleting("=$A$10*B$10+$C10", 1, 2), "=$A$8*B$8+$C8");
    EXPECT_EQ(afterDeleting("=ROUND(L8*N8,2)", 9, 100), "=ROUND(L8*N8,2)");
}

TEST(FormulaDeletedRows, AreasShrinkAroundTheDeletedBlock)
{
    EXPECT_EQ(afterDeleting("=SUM(B2:B10)", 4, 2), "=SUM(B2:B8)");      // inside
    EXPECT_EQ(afterDeleting("=SUM(B2:B10)", 1, 3), "=SUM(B1:B7)");      // over the top
    EXPECT_EQ(afterDeleting("=SUM(B2:B10)", 8, 5), "=SUM(B2:B7)");      // over the bottom
    EXPECT_EQ(afterDeleting("=SUM(B2:B10)", 11, 10), "=SUM(B2:B10)");   // below
    EXPECT_EQ(afterDeleting("=SUM(B12:B20)", 1, 10), "=SUM(B2:B10)");   // above
    EXPECT_EQ(afterDeleting("=SUM(B2:B10)", 2, 9), "=SUM(#REF!)");      // all of it
    EXPECT_EQ(afterDeleting("=SUM(B2:B10)", 1, 20), "=SUM(#REF!)");
    EXPECT_EQ(afterDeleting("=COUNTIF($B$2:$B$10000,\"<>\")", 5, 1), "=COUNTIF($B$2:$B$9999,\"<>\")");
}

TEST(FormulaDeletedRows, CopiesSharingATreeStayApartAndBrokenRefsEvaluateToRef)
{
    const Formula original = Formula::parseA1("=A2*2+A7", 1, 1);
    Formula copy = original;
    copy.adjustForDeletedRows(2, 1);
    EXPECT_EQ(copy.toA1(), "=#REF!*2+A6");
    EXPECT_EQ(original.toA1(), "=A2*2+A7");

    FakeCells cells;
    cells.set(6, 1, store::Value(1));
    EXPECT_EQ(copy.evaluate(cells), store::Value::error(store::ErrorCode::Ref));
}
