// Long chains of formulas, each reading the one before it: as long as a sheet is tall, read in
// any order, written and read back, summed over, and closed into a circle; and single formulas
// nested deep. None of it may exhaust the call stack.
#include "error_message.h"
#include "store/StoreError.h"
#include "store/formula/FormulaError.h"
#include "store/Workbook.h"
#include "store/formula/BiffFormula.h"
#include "store/formula/Formula.h"
#include "tests/support/Programs.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace store;

namespace {

// A1 = 1 and every row below it the cell above plus one (A2 = A1 + 1, ...).
void fillChainDown(Worksheet& sheet, int rows)
{
    sheet.setValue(1, 1, Value(1.0));
    for (int row = 2; row <= rows; ++row)
        sheet.setFormula(row, 1, Formula::parseA1(QStringLiteral("=A%1+1").arg(row - 1), row, 1));
}

// The same the other way up: the last row holds 1 and every row above it reads the one below,
// so the first cell a top-down reader asks for needs the whole chain.
void fillChainUp(Worksheet& sheet, int rows)
{
    sheet.setValue(rows, 1, Value(1.0));
    for (int row = 1; row < rows; ++row)
        sheet.setFormula(row, 1, Formula::parseA1(QStringLiteral("=A%1+1").arg(row + 1), row, 1));
}

} // namespace

TEST(FormulaChain, ChainAsTallAsTheSheetReadFromEitherEnd)
{
    Workbook book;
    Worksheet& sheet = book.sheets(1);
    fillChainDown(sheet, kMaxRows);
    EXPECT_EQ(sheet.value(kMaxRows, 1), Value(double(kMaxRows)));
    EXPECT_EQ(sheet.value(20000, 1), Value(20000.0));

    Worksheet& up = book.sheetsAdd();
    fillChainUp(up, kMaxRows);
    EXPECT_EQ(up.value(1, 1), Value(double(kMaxRows)));
    // A change makes every link stale again; the next read computes the chain once more.
    up.setValue(kMaxRows, 1, Value(10.0));
    EXPECT_EQ(up.value(1, 1), Value(double(kMaxRows + 9)));
}

TEST(FormulaChain, AreasOverAChainAndDiamonds)
{
    Workbook book;
    Worksheet& sheet = book.sheets(1);
    fillChainDown(sheet, 30000);
    // One formula over the whole chain: every link is an input of the sum.
    sheet.setFormula(1, 2, Formula::parseA1(QStringLiteral("=SUM(A1:A30000)"), 1, 2));
    EXPECT_EQ(sheet.value(1, 2), Value(30000.0 * 30001.0 / 2));
    // Two ways to the same cell: C1 reads B1 and A30000, both of which need the chain.
    sheet.setValue(1, 1, Value(0.0));
    sheet.setFormula(1, 3, Formula::parseA1(QStringLiteral("=B1-A30000"), 1, 3));
    EXPECT_EQ(sheet.value(1, 3), Value(30000.0 * 29999.0 / 2 - 29999.0));
}

TEST(FormulaChain, CircleClosedAtTheEndOfALongChain)
{
    Workbook book;
    Worksheet& sheet = book.sheets(1);
    fillChainDown(sheet, 20000);
    // A1 reads the last link. Read from the end, the circle closes at A1, which sees 0 for the
    // link still being computed, and every link below counts on from there.
    sheet.setFormula(1, 1, Formula::parseA1(QStringLiteral("=A20000"), 1, 1));
    EXPECT_EQ(sheet.value(20000, 1), Value(19999.0));
    EXPECT_EQ(sheet.value(1, 1), Value(0.0));
    EXPECT_EQ(sheet.value(2, 1), Value(1.0));
    // Nothing is left marked as being computed: after a change the circle closes the same way.
    sheet.setValue(5, 2, Value(1.0));
    EXPECT_EQ(sheet.value(20000, 1), Value(19999.0));
}

TEST(FormulaChain, ToolDumpsAChainWrittenToAFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chain.xls"));
    {
        Workbook book;
        fillChainUp(book.sheets(1), 20000);
        book.SaveAs(path);
    }
    // Read back, a change makes every cached value stale; the top cell needs the whole chain.
    auto book = Workbook::open(path);
    book->sheets(1).setValue(20000, 1, Value(5.0));
    EXPECT_EQ(book->sheets(1).value(1, 1), Value(20004.0));

    const testsupport::RunResult tool = testsupport::runWorkbookTool({QStringLiteral("dump"), path});
    ASSERT_TRUE(tool.finished);
    EXPECT_EQ(tool.exitCode, 0) << tool.err.toStdString();
    const QList<QByteArray> lines = tool.out.split('\n');
    ASSERT_GT(lines.size(), 2);
    EXPECT_EQ(lines[1], QByteArray("A1\tformula\t=A2+1\tnumber\t20000"));
}

// One formula can be deep too: long runs of operators and signs, typed or read from a file.
TEST(FormulaDepth, DeepestTreeThatIsKeptComputesAndPrintsAndDeeperIsRefused)
{
    const auto chain = [](int terms) {
        QString text = QStringLiteral("=1");
        for (int i = 1; i < terms; ++i) text += QStringLiteral("+1");
        return text;
    };
    const Formula deepest = Formula::parseA1(chain(kMaxFormulaDepth), 1, 1);
    EXPECT_EQ(deepest.root()->depth, kMaxFormulaDepth);
    Workbook book;
    book.sheets(1).setFormula(1, 1, deepest);
    EXPECT_EQ(book.sheets(1).value(1, 1), Value(double(kMaxFormulaDepth)));
    EXPECT_EQ(deepest.toA1(), chain(kMaxFormulaDepth));

    const auto refusal = [](const QString& text) { return errorKind<FormulaError>([&] { Formula::parseA1(text, 1, 1); }); };
    EXPECT_EQ(refusal(chain(kMaxFormulaDepth + 1)), FormulaError::TooManyOperations);
    EXPECT_EQ(refusal(QStringLiteral("=") + QString(4000, QLatin1Char('-')) + QStringLiteral("1")), FormulaError::TooManySigns);
}

TEST(FormulaDepth, TokensDeeperThanKeptGiveNoFormula)
{
    // ptgInt 1 and then a sign after a sign: a tree one level deeper with every byte.
    const auto tokens = [](int signs) { return QByteArray("\x1E\x01\x00", 3) + QByteArray(signs, '\x13'); };
    const auto kept = decodeBiffFormula(tokens(kMaxFormulaDepth - 1), 1, 1);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->root()->depth, kMaxFormulaDepth);
    EXPECT_FALSE(decodeBiffFormula(tokens(8000), 1, 1));
}
