// tervin-workbook as a script would use it: new, copy, dump and check, and its failures.
#include "store/DataWorkbook.h"
#include "store/StoreError.h"
#include "store/Workbook.h"
#include "store/xls/BiffRecords.h"
#include "tests/support/Oracles.h"
#include "tests/support/XlsRewrite.h"
#include "tests/support/Programs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace store;

namespace {

struct ToolRun {
    int status = -1;
    QString out;
    QString err;
};

ToolRun runTool(const QStringList& args)
{
    const testsupport::RunResult run = testsupport::runWorkbookTool(args);
    return {run.finished ? run.exitCode : -1, QString::fromUtf8(run.out), QString::fromUtf8(run.err)};
}

} // namespace

TEST(WorkbookTool, NewThenDumpShowsTheFreshLayout)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Danni.xls");
    ASSERT_EQ(runTool({"new", path}).status, 0);
    const ToolRun dump = runTool({"dump", path});
    ASSERT_EQ(dump.status, 0) << dump.err.toStdString();
    EXPECT_EQ(dump.out, QStringLiteral("sheet\tList\n"
                                       "D1\tnumber\t1\n"
                                       "K1\tnumber\t0\n"
                                       "R1\tnumber\t0\n"
                                       "Y1\tnumber\t0\n"
                                       "BA2\ttext\tadmin\n"
                                       "BB2\ttext\t8642\n"
                                       "BD2\ttext\tEUR\n"));
}

TEST(WorkbookTool, DumpEscapesAndShowsFormulasWithTheirValues)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("in.xls");
    {
        auto book = DataWorkbook::createFresh();
        Worksheet& article = book->sheetsAdd();
        article.setName("Кукли");
        article.cells(1, 20).setFormulaR1C1(layout::article::kCountFormulaR1C1);
        article.setValue(2, 2, Value("ред\tс\\табулация\nи нов ред"));
        article.setValue(2, 3, Value(12.5));
        article.setValue(3, 2, Value("Мече"));
        article.setValue(3, 9, Value::boolean(true));
        article.setValue(3, 10, Value::error(ErrorCode::Div0));
        book->SaveAs(path);
    }
    const QString copy = dir.filePath("copy.xls");
    ASSERT_EQ(runTool({"copy", path, copy}).status, 0);
    const ToolRun dump = runTool({"dump", copy});
    ASSERT_EQ(dump.status, 0) << dump.err.toStdString();
    EXPECT_TRUE(dump.out.startsWith(QStringLiteral(
        "sheet\tКукли\n"
        "T1\tformula\t=COUNTIF(B2:B10000,\"<>\")\tnumber\t2\n"
        "B2\ttext\tред\\tс\\\\табулация\\nи нов ред\n"
        "C2\tnumber\t12.5\n"
        "B3\ttext\tМече\n"
        "I3\tbool\tTRUE\n"
        "J3\terror\t#DIV/0!\n"
        "sheet\tList\n")))
        << dump.out.toStdString();

    // check: every sheet with the last row and column that hold something.
    const ToolRun check = runTool({"check", copy});
    ASSERT_EQ(check.status, 0) << check.err.toStdString();
    EXPECT_EQ(check.out, QStringLiteral("sheet\tКукли\t3\t20\nsheet\tList\t2\t54\n"));
}

// A sheet renamed in another program to more than the 31 characters one may type here.
TEST(WorkbookTool, CopyKeepsASheetNameLongerThanTypedOnes)
{
    QTemporaryDir dir;
    const QString ours = dir.filePath("ours.xls");
    Workbook().SaveAs(ours);
    const QString longName = QStringLiteral("Играчки за най-малките от нула до три години");
    const QString path = dir.filePath("renamed.xls");
    testsupport::rewriteXls(ours, path, [&](const testsupport::RawRecord& r) -> std::optional<testsupport::RawRecord> {
        if (r.id != xls::rec::BoundSheet) return r;
        return testsupport::RawRecord{r.id, testsupport::boundSheetNamed(r.data, longName)};
    });
    const QJsonObject original = testsupport::readWithXlrd(path);
    ASSERT_TRUE(original["error"].isNull()) << original["error"].toString().toStdString();
    ASSERT_EQ(original["sheets"][0]["name"].toString(), longName);

    const QString copy = dir.filePath("copy.xls");
    const ToolRun run = runTool({"copy", path, copy});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(Workbook::open(copy)->sheets(1).Name(), longName);
    const QJsonObject xlrd = testsupport::readWithXlrd(copy);
    ASSERT_TRUE(xlrd["error"].isNull()) << xlrd["error"].toString().toStdString();
    EXPECT_EQ(xlrd["sheets"][0]["name"].toString(), longName);
    EXPECT_THROW(Workbook::open(copy)->sheets(1).setName(longName + QStringLiteral("!")), Error);
}

TEST(WorkbookTool, UnreadableFilesFailWithAMessage)
{
    QTemporaryDir dir;
    const QString text = dir.filePath("notes.xls");
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("това не е работна книга\n");
    file.close();

    for (const QString& path : {text, dir.filePath("missing.xls")}) {
        for (const char* command : {"dump", "check"}) {
            const ToolRun run = runTool({command, path});
            EXPECT_EQ(run.status, 1) << command;
            EXPECT_TRUE(run.out.isEmpty()) << command;
            EXPECT_TRUE(run.err.contains(QDir::toNativeSeparators(path))) << run.err.toStdString();
        }
    }
    EXPECT_EQ(runTool({"copy", text, dir.filePath("out.xls")}).status, 1);
    EXPECT_FALSE(QFile::exists(dir.filePath("out.xls")));
    EXPECT_EQ(runTool({"frobnicate"}).status, 2);
}

// Formulas of other programs' files that the engine keeps as read show as their text, with the
// value they were saved with.
TEST(WorkbookTool, DumpShowsKeptFormulasAsTheirText)
{
    const QString samples = QStringLiteral(TERVIN_TEST_DATA "/xls-corpus/xlrd/tests/samples/");
    const ToolRun profiles = runTool({"dump", samples + "profiles.xls"});
    ASSERT_EQ(profiles.status, 0) << profiles.err.toStdString();
    EXPECT_TRUE(profiles.out.contains(QStringLiteral("\nC2\tformula\t=AXISDATUMLEVELS!B2:B15\tnumber\t265.21206\n")));
    EXPECT_TRUE(profiles.out.contains(
        QStringLiteral("\nD2\tformula\t=C2-B2*(TRAVERSALCHAINAGE!J2-TRAVERSALCHAINAGE!I2)\tnumber\t265.13081\n")));
    const ToolRun names = runTool({"dump", samples + "namesdemo.xls"});
    ASSERT_EQ(names.status, 0) << names.err.toStdString();
    EXPECT_TRUE(names.out.contains(QStringLiteral("\nA14\tformula\t=SUM(rectangle1 rectangle2)\tnumber\t192\n")));
}
