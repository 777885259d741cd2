// tervin-workbook as a script would use it: new, copy, dump and check, and its failures.
#include "error_message.h"

#include "store/DataWorkbook.h"
#include "store/EngineError.h"
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
using namespace Qt::StringLiterals;

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
    const QString path = dir.filePath(u"Danni.xls"_s);
    ASSERT_EQ(runTool({u"new"_s, path}).status, 0);
    const ToolRun dump = runTool({u"dump"_s, path});
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
    const QString path = dir.filePath(u"in.xls"_s);
    {
        auto book = DataWorkbook::createFresh();
        Worksheet& article = book->sheetsAdd();
        article.setName(u"Кукли"_s);
        article.cells(1, 20).setFormulaR1C1(layout::article::kCountFormulaR1C1);
        article.setValue(2, 2, Value("ред\tс\\табулация\nи нов ред"));
        article.setValue(2, 3, Value(12.5));
        article.setValue(3, 2, Value("Мече"));
        article.setValue(3, 9, Value::boolean(true));
        article.setValue(3, 10, Value::error(ErrorCode::Div0));
        book->SaveAs(path);
    }
    const QString copy = dir.filePath(u"copy.xls"_s);
    ASSERT_EQ(runTool({u"copy"_s, path, copy}).status, 0);
    const ToolRun dump = runTool({u"dump"_s, copy});
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

    // check: every sheet with the last row and column that hold something, and the formulas.
    const ToolRun check = runTool({u"check"_s, copy});
    ASSERT_EQ(check.status, 0) << check.err.toStdString();
    EXPECT_EQ(check.out, u"sheet\tКукли\t3\t20\nsheet\tList\t2\t54\nformulas\t1\t1\n"_s);
}

// A sheet renamed in another program to more than the 31 characters one may type here.
TEST(WorkbookTool, CopyKeepsASheetNameLongerThanTypedOnes)
{
    QTemporaryDir dir;
    const QString ours = dir.filePath(u"ours.xls"_s);
    Workbook().SaveAs(ours);
    const QString longName = u"Играчки за най-малките от нула до три години"_s;
    const QString path = dir.filePath(u"renamed.xls"_s);
    testsupport::rewriteXls(ours, path, [&](const testsupport::RawRecord& r) -> std::optional<testsupport::RawRecord> {
        if (r.id != xls::rec::BoundSheet) return r;
        return testsupport::RawRecord{r.id, testsupport::boundSheetNamed(r.data, longName)};
    });
    const QJsonObject original = testsupport::readWithXlrd(path);
    ASSERT_TRUE(original[u"error"_s].isNull()) << original[u"error"_s].toString().toStdString();
    ASSERT_EQ(original[u"sheets"_s][0][u"name"_s].toString(), longName);

    const QString copy = dir.filePath(u"copy.xls"_s);
    const ToolRun run = runTool({u"copy"_s, path, copy});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(Workbook::open(copy)->sheets(1).Name(), longName);
    const QJsonObject xlrd = testsupport::readWithXlrd(copy);
    ASSERT_TRUE(xlrd[u"error"_s].isNull()) << xlrd[u"error"_s].toString().toStdString();
    EXPECT_EQ(xlrd[u"sheets"_s][0][u"name"_s].toString(), longName);
    EXPECT_EQ(errorKind<EngineError>([&] { Workbook::open(copy)->sheets(1).setName(longName + u"!"_s); }),
              EngineError::SheetNameLength);
}

TEST(WorkbookTool, UnreadableFilesFailWithAMessage)
{
    QTemporaryDir dir;
    const QString text = dir.filePath(u"notes.xls"_s);
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("това не е работна книга\n");
    file.close();

    for (const QString& path : {text, dir.filePath(u"missing.xls"_s)}) {
        for (const char* command : {"dump", "check"}) {
            const ToolRun run = runTool({QString::fromLatin1(command), path});
            EXPECT_EQ(run.status, 1) << command;
            EXPECT_TRUE(run.out.isEmpty()) << command;
            EXPECT_TRUE(run.err.contains(QDir::toNativeSeparators(path))) << run.err.toStdString();
        }
    }
    EXPECT_EQ(runTool({u"copy"_s, text, dir.filePath(u"out.xls"_s)}).status, 1);
    EXPECT_FALSE(QFile::exists(dir.filePath(u"out.xls"_s)));
    EXPECT_EQ(runTool({u"frobnicate"_s}).status, 2);
}

// Formulas of other programs' files that the engine keeps as read show as their text, with the
// value they were saved with.
TEST(WorkbookTool, DumpShowsKeptFormulasAsTheirText)
{
    const QString samples = QStringLiteral(TERVIN_TEST_DATA "/xls-corpus/xlrd/tests/samples/");
    const ToolRun profiles = runTool({u"dump"_s, samples + u"profiles.xls"_s});
    ASSERT_EQ(profiles.status, 0) << profiles.err.toStdString();
    EXPECT_TRUE(profiles.out.contains(u"\nC2\tformula\t=AXISDATUMLEVELS!B2:B15\tnumber\t265.21206\n"_s));
    EXPECT_TRUE(profiles.out.contains(
        u"\nD2\tformula\t=C2-B2*(TRAVERSALCHAINAGE!J2-TRAVERSALCHAINAGE!I2)\tnumber\t265.13081\n"_s));
    const ToolRun names = runTool({u"dump"_s, samples + u"namesdemo.xls"_s});
    ASSERT_EQ(names.status, 0) << names.err.toStdString();
    EXPECT_TRUE(names.out.contains(u"\nA14\tformula\t=SUM(rectangle1 rectangle2)\tnumber\t192\n"_s));
}
