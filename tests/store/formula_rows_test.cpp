#include "formula_test_helpers.h"

#include "store/formula/Formula.h"

#include <gtest/gtest.h>

using formula_test::FakeCells;
using store::Formula;
using namespace Qt::StringLiterals;

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
    EXPECT_EQ(afterDeleting("=A1+A5+A9", 4, 3), u"=A1+#REF!+A6"_s);
    EXPECT_EQ(afterDeleting("=A3+A4", 4, 1), u"=A3+#REF!"_s);
    EXPECT_EQ(afterDeleting("=A3+A4", 3, 1), u"=#REF!+A3"_s);
    EXPECT_EQ(afterDeleting("=$A$10*B$10+$C10", 1, 2), u"=$A$8*B$8+$C8"_s);
    EXPECT_EQ(afterDeleting("=ROUND(L8*N8,2)", 9, 100), u"=ROUND(L8*N8,2)"_s);
}

TEST(FormulaDeletedRows, AreasShrinkAroundTheDeletedBlock)
{
    EXPECT_EQ(afterDeleting("=SUM(B2:B10)", 4, 2), u"=SUM(B2:B8)"_s);      // inside
    EXPECT_EQ(afterDeleting("=SUM(B2:B10)", 1, 3), u"=SUM(B1:B7)"_s);      // over the top
    EXPECT_EQ(afterDeleting("=SUM(B2:B10)", 8, 5), u"=SUM(B2:B7)"_s);      // over the bottom
    EXPECT_EQ(afterDeleting("=SUM(B2:B10)", 11, 10), u"=SUM(B2:B10)"_s);   // below
    EXPECT_EQ(afterDeleting("=SUM(B12:B20)", 1, 10), u"=SUM(B2:B10)"_s);   // above
    EXPECT_EQ(afterDeleting("=SUM(B2:B10)", 2, 9), u"=SUM(#REF!)"_s);      // all of it
    EXPECT_EQ(afterDeleting("=SUM(B2:B10)", 1, 20), u"=SUM(#REF!)"_s);
    EXPECT_EQ(afterDeleting("=COUNTIF($B$2:$B$10000,\"<>\")", 5, 1), u"=COUNTIF($B$2:$B$9999,\"<>\")"_s);
}

TEST(FormulaDeletedRows, CopiesSharingATreeStayApartAndBrokenRefsEvaluateToRef)
{
    const Formula original = Formula::parseA1(u"=A2*2+A7"_s, 1, 1);
    Formula copy = original;
    copy.adjustForDeletedRows(2, 1);
    EXPECT_EQ(copy.toA1(), u"=#REF!*2+A6"_s);
    EXPECT_EQ(original.toA1(), u"=A2*2+A7"_s);

    FakeCells cells;
    cells.set(6, 1, store::Value(1));
    EXPECT_EQ(copy.evaluate(cells), store::Value::error(store::ErrorCode::Ref));
}
