// The archive of the data workbook without windows: the day's copy, which copies are kept,
// putting a copy back and taking that back again, damaged copies, the workbook tool.
#include "app/support/ShopFolder.h"

#include "app/Program.h"
#include "archive/ArchiveError.h"
#include "archive/Arhiv.h"
#include "store/StoreError.h"
#include "tests/store/error_message.h"
#include "tests/support/FileBytes.h"
#include "tests/support/Programs.h"
#include "tools/ToolError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

using testsupport::fileBytes;
using testsupport::writeBytes;

namespace idx = store::layout::index;

const QString kData = QStringLiteral("Danni.xls");

// A clock the test moves by hand.
struct Clock {
    QDateTime now;
    archive::Clock fn()
    {
        return [this] { return now; };
    }
};

QDateTime at(int year, int month, int day, int hour = 9, int minute = 0, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

QStringList stamps(const std::vector<archive::Copy>& copies)
{
    QStringList result;
    for (const archive::Copy& copy : copies) result << copy.stamp;
    return result;
}

// A copy as the archive names it, for the rules that only look at names and dates.
archive::Copy copyAt(const QString& stamp)
{
    const QDateTime taken = stamp.size() == 10 ? QDateTime(QDate::fromString(stamp, QStringLiteral("yyyy-MM-dd")), QTime(0, 0))
                                               : QDateTime::fromString(stamp, QStringLiteral("yyyy-MM-dd-HHmmss"));
    return archive::Copy{stamp, taken, QStringLiteral("/nowhere/Danni-%1.xls").arg(stamp), 1};
}

QStringList expiredOf(const QStringList& all, const QDate& today)
{
    std::vector<archive::Copy> copies;
    for (const QString& stamp : all) copies.push_back(copyAt(stamp));
    QStringList result = stamps(archive::expired(copies, today));
    result.sort();
    return result;
}

// Runs the workbook tool; its exit status.
int runTool(const QStringList& args, QByteArray* out = nullptr)
{
    const testsupport::RunResult run = testsupport::runWorkbookTool(args);
    if (out) *out = run.out;
    return run.exitCode;
}

// A shop of one article with two goods and four sales rows, saved.
struct Shop {
    Shop()
    {
        store::Worksheet& toys = folder.addArticle(QStringLiteral("Играчки"));
        folder.addGoods(toys, {QStringLiteral("Топка")});
        folder.addGoods(toys, {QStringLiteral("Кукла")});
        setSales(4);
    }
    void setSales(int rows)
    {
        folder.data().setCell(idx::kSalesRows, store::Value(rows));
        folder.save();
    }
    QString data() const { return folder.file(kData); }

    ShopFolder folder;
    Clock clock{at(2026, 3, 10)};
    archive::Arhiv arhiv{folder.file(kData), clock.fn()};
};

} // namespace

TEST(ArchiveCopies, OnlyTheDaysFirstSaveCopiesTheFileAsItStood)
{
    Shop s;
    const QByteArray morning = fileBytes(s.data());
    EXPECT_TRUE(s.arhiv.makeDailyCopy());
    const QString today = s.folder.file(QStringLiteral("Arhiv/Danni-2026-03-10.xls"));
    EXPECT_EQ(fileBytes(today), morning);

    // Later saves of the day leave the morning's copy as it was.
    s.setSales(5);
    s.clock.now = at(2026, 3, 10, 23, 59, 59);
    EXPECT_FALSE(s.arhiv.makeDailyCopy());
    EXPECT_EQ(fileBytes(today), morning);

    // The next day starts a copy of its own, of the file as the day before left it.
    const QByteArray evening = fileBytes(s.data());
    s.clock.now = at(2026, 3, 11, 0, 0, 1);
    EXPECT_TRUE(s.arhiv.makeDailyCopy());
    EXPECT_EQ(fileBytes(s.folder.file(QStringLiteral("Arhiv/Danni-2026-03-11.xls"))), evening);
    EXPECT_EQ(stamps(s.arhiv.copies()), (QStringList{QStringLiteral("2026-03-11"), QStringLiteral("2026-03-10")}));
}

TEST(ArchiveCopies, TheDaysCopyRemovesWhatIsNoLongerKeptAndLeavesForeignFilesAlone)
{
    Shop s;
    s.clock.now = at(2026, 3, 10);
    const QString folder = s.folder.file(QStringLiteral("Arhiv/"));
    // 35 saving days back to back, the oldest first of February; a copy of last March.
    for (int d = 1; d <= 35; ++d)
        ASSERT_TRUE(writeBytes(folder + QStringLiteral("Danni-%1.xls").arg(QDate(2026, 2, 1).addDays(d - 1).toString(Qt::ISODate)), "x"));
    ASSERT_TRUE(writeBytes(folder + QStringLiteral("Danni-2025-03-01.xls"), "x"));
    for (const QString& foreign : {QStringLiteral("notes.txt"), QStringLiteral("Danni-2026-02-30.xls"),
                                   QStringLiteral("Danni-2026-02-02.xls.bak"), QStringLiteral("Faktura-2026-02-02.xls")})
        ASSERT_TRUE(writeBytes(folder + foreign, "x"));

    ASSERT_TRUE(s.arhiv.makeDailyCopy());
    const QStringList kept = stamps(s.arhiv.copies());
    // Today and the 29 saving days before it (7 February on), the first of February for its month.
    EXPECT_EQ(kept.size(), 31);
    EXPECT_EQ(kept.first(), QStringLiteral("2026-03-10"));
    EXPECT_TRUE(kept.contains(QStringLiteral("2026-02-07")));
    EXPECT_FALSE(kept.contains(QStringLiteral("2026-02-06")));
    EXPECT_FALSE(kept.contains(QStringLiteral("2026-02-02")));
    EXPECT_EQ(kept.last(), QStringLiteral("2026-02-01"));
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("Danni-2025-03-01.xls")));
    for (const QString& foreign : {QStringLiteral("notes.txt"), QStringLiteral("Danni-2026-02-30.xls"),
                                   QStringLiteral("Danni-2026-02-02.xls.bak"), QStringLiteral("Faktura-2026-02-02.xls")})
        EXPECT_TRUE(QFile::exists(folder + foreign)) << qPrintable(foreign);
}

TEST(ArchiveRotation, KeepsThirtySavingDaysAndTheFirstCopyOfTwelveMonths)
{
    const QDate today(2026, 12, 7);
    QStringList all;
    for (QDate d(2026, 11, 1); d <= today; d = d.addDays(1)) all << d.toString(Qt::ISODate);
    all << QStringLiteral("2026-11-05-100000")   // before a copy was put back, on a day no longer kept
        << QStringLiteral("2026-11-20-101500")   // on a kept day
        << QStringLiteral("2026-10-20") << QStringLiteral("2026-10-15")
        << QStringLiteral("2026-06-01-080000") << QStringLiteral("2026-06-01")
        << QStringLiteral("2026-01-31") << QStringLiteral("2026-01-03")   // the twelfth month back
        << QStringLiteral("2025-12-31");                                   // the thirteenth
    EXPECT_EQ(expiredOf(all, today),
              (QStringList{QStringLiteral("2025-12-31"), QStringLiteral("2026-01-31"), QStringLiteral("2026-06-01-080000"),
                           QStringLiteral("2026-10-20"), QStringLiteral("2026-11-02"), QStringLiteral("2026-11-03"),
                           QStringLiteral("2026-11-04"), QStringLiteral("2026-11-05"), QStringLiteral("2026-11-05-100000"),
                           QStringLiteral("2026-11-06"), QStringLiteral("2026-11-07")}));
}

TEST(ArchiveRotation, ThirtySavingDaysReachBackFurtherThanThirtyCalendarDays)
{
    // A shop that saves every fifth day: its last 30 saving days span five months.
    const QDate today(2026, 12, 7);
    QStringList all;
    for (int i = 0; i <= 31; ++i) all << today.addDays(-5 * i).toString(Qt::ISODate);
    ASSERT_EQ(all[30], QStringLiteral("2026-07-10"));
    ASSERT_EQ(all[31], QStringLiteral("2026-07-05"));
    EXPECT_EQ(expiredOf(all, today), QStringList{QStringLiteral("2026-07-10")});
    // Fewer copies than days kept: nothing goes.
    EXPECT_TRUE(expiredOf(all.mid(0, 30), today).isEmpty());
}

TEST(ArchiveRotation, CopiesDatedAfterTodayStayAndPushNoRecentCopyOut)
{
    // The clock once ran ahead: five weeks of copies from after today, five weeks from before.
    Shop s;
    const QDate today = s.clock.now.date();
    const QString folder = s.folder.file(QStringLiteral("Arhiv/"));
    for (int d = 1; d <= 36; ++d) {
        ASSERT_TRUE(writeBytes(folder + QStringLiteral("Danni-%1.xls").arg(today.addDays(d).toString(Qt::ISODate)), "x"));
        ASSERT_TRUE(writeBytes(folder + QStringLiteral("Danni-%1.xls").arg(today.addDays(-d).toString(Qt::ISODate)), "x"));
    }
    ASSERT_TRUE(s.arhiv.makeDailyCopy());

    const QStringList kept = stamps(s.arhiv.copies());
    // All 36 ahead; today and the 29 saving days before it; February's first copy (2 February).
    EXPECT_EQ(kept.size(), 36 + 30 + 1);
    EXPECT_TRUE(kept.contains(today.toString(Qt::ISODate)));
    EXPECT_TRUE(kept.contains(today.addDays(-29).toString(Qt::ISODate)));
    EXPECT_FALSE(kept.contains(today.addDays(-30).toString(Qt::ISODate)));
    EXPECT_TRUE(kept.contains(QStringLiteral("2026-02-02")));
}

TEST(PuttingBack, ReplacesTheFileByteForByteAndCanItselfBeTakenBack)
{
    Shop s;
    const QByteArray morning = fileBytes(s.data());
    ASSERT_TRUE(s.arhiv.makeDailyCopy());
    s.setSales(9);
    const QByteArray afternoon = fileBytes(s.data());
    ASSERT_NE(afternoon, morning);

    s.clock.now = at(2026, 3, 10, 15, 30, 0);
    const QString before = s.arhiv.putBack(*s.arhiv.find(QStringLiteral("2026-03-10")));
    EXPECT_EQ(before, QStringLiteral("2026-03-10-153000"));
    EXPECT_EQ(fileBytes(s.data()), morning);
    EXPECT_EQ(fileBytes(s.arhiv.find(before)->path), afternoon);
    EXPECT_EQ(stamps(s.arhiv.copies()), (QStringList{before, QStringLiteral("2026-03-10")}));

    // Taking it back within the same second still keeps the file it replaces.
    const QString again = s.arhiv.putBack(*s.arhiv.find(before));
    EXPECT_EQ(again, QStringLiteral("2026-03-10-153001"));
    EXPECT_EQ(fileBytes(s.data()), afternoon);
    EXPECT_EQ(fileBytes(s.arhiv.find(again)->path), morning);
    EXPECT_EQ(fileBytes(s.arhiv.find(before)->path), afternoon);
    // Nothing is left beside the data file by the replacement.
    EXPECT_EQ(QDir(s.folder.path()).entryList({QStringLiteral("Danni*")}, QDir::Files), QStringList{kData});
}

TEST(PuttingBack, ADamagedCopyIsShownAsSuchAndRefusedWithNothingChanged)
{
    Shop s;
    const QByteArray current = fileBytes(s.data());
    const QString folder = s.folder.file(QStringLiteral("Arhiv/"));
    ASSERT_TRUE(writeBytes(folder + QStringLiteral("Danni-2026-03-08.xls"), "това не е работна книга"));
    ASSERT_TRUE(writeBytes(folder + QStringLiteral("Danni-2026-03-09.xls"), current.left(current.size() / 2)));
    // A genuine workbook, but not the shop's: it has no index sheet.
    store::Workbook foreign;
    foreign.SaveAs(folder + QStringLiteral("Danni-2026-03-07.xls"));

    for (const archive::Copy& copy : s.arhiv.copies()) {
        SCOPED_TRACE(copy.stamp.toStdString());
        EXPECT_FALSE(archive::readContents(copy.path).has_value());
        EXPECT_TRUE(archive::describe(copy, std::nullopt).contains(QStringLiteral("повредено")));
        EXPECT_EQ(errorKind<archive::ArchiveError>([&] { s.arhiv.putBack(copy); }), archive::ArchiveError::CopyDamaged);
        EXPECT_EQ(fileBytes(s.data()), current);
        EXPECT_EQ(s.arhiv.copies().size(), 3u);
    }
}

TEST(ArchiveCopies, DescribeTellsTheDateSizeAndWhatTheCopyHolds)
{
    Shop s;
    ASSERT_TRUE(s.arhiv.makeDailyCopy());
    s.clock.now = at(2026, 3, 10, 8, 5, 9);
    const QString before = s.arhiv.putBack(*s.arhiv.find(QStringLiteral("2026-03-10")));
    const archive::Copy daily = *s.arhiv.find(QStringLiteral("2026-03-10"));
    const archive::Copy moment = *s.arhiv.find(before);
    ASSERT_LT(daily.size, 1024 * 1024);
    const QString size = QStringLiteral("%1 КБ").arg((daily.size + 1023) / 1024);
    EXPECT_EQ(archive::describe(daily, archive::readContents(daily.path)),
              QStringLiteral("10. 03. 2026 – ") + size + QStringLiteral(" – артикули: 1, стоки: 2, продажби: 4"));
    EXPECT_TRUE(archive::describe(moment, archive::readContents(moment.path)).startsWith(QStringLiteral("10. 03. 2026, 08:05:09 – ")));
    // A copy damaged after it was read shows as damaged the next time.
    ASSERT_TRUE(s.arhiv.contentsOf(daily).has_value());
    ASSERT_TRUE(writeBytes(daily.path, "повреден"));
    EXPECT_FALSE(s.arhiv.contentsOf(*s.arhiv.find(daily.stamp)).has_value());
    archive::Copy big = daily;
    big.size = 19 * 1024 * 1024 + 300 * 1024;
    EXPECT_TRUE(archive::describe(big, std::nullopt).contains(QStringLiteral(" 19,3 МБ ")));
}

TEST(ArchiveCopies, ACopyThatCannotBeMadeIsReportedOnceAndTriedAgain)
{
    Shop s;
    // A file where the folder should be: the folder cannot be made, even by an administrator.
    ASSERT_TRUE(writeBytes(s.folder.file(QStringLiteral("Arhiv")), "x"));
    QStringList problems;
    const auto report = [&](const QString& problem) { problems << problem; };
    s.arhiv.beforeSave(report);
    s.arhiv.beforeSave(report);
    s.clock.now = at(2026, 3, 11);
    s.arhiv.beforeSave(report);
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains(QStringLiteral("Arhiv")));

    QFile::remove(s.folder.file(QStringLiteral("Arhiv")));
    s.arhiv.beforeSave(report);
    EXPECT_EQ(stamps(s.arhiv.copies()), QStringList{QStringLiteral("2026-03-11")});
    EXPECT_EQ(problems.size(), 1);
}

TEST(WorkbookTool, ListsTheArchiveAndPutsACopyBack)
{
    Shop s;
    ASSERT_TRUE(s.arhiv.makeDailyCopy());
    const QByteArray morning = fileBytes(s.data());
    s.setSales(7);
    const QByteArray afternoon = fileBytes(s.data());
    ASSERT_TRUE(writeBytes(s.folder.file(QStringLiteral("Arhiv/Danni-2026-03-01.xls")), "повреден"));

    QByteArray listing;
    ASSERT_EQ(runTool({QStringLiteral("archive"), s.folder.path()}, &listing), 0);
    const QStringList lines = QString::fromUtf8(listing).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("2026-03-10\t10. 03. 2026 – ")));
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("артикули: 1, стоки: 2, продажби: 4")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("2026-03-01\t")));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("повредено")));

    // Not while the program runs on the folder; an unknown date and a damaged copy change nothing.
    {
        QLockFile running(s.folder.file(app::Program::lockFileName()));
        ASSERT_TRUE(running.tryLock(0));
        EXPECT_EQ(runTool({QStringLiteral("restore"), s.folder.path(), QStringLiteral("2026-03-10")}), 1);
    }
    EXPECT_EQ(runTool({QStringLiteral("restore"), s.folder.path(), QStringLiteral("2026-03-02")}), 1);
    EXPECT_EQ(runTool({QStringLiteral("restore"), s.folder.path(), QStringLiteral("2026-03-01")}), 1);
    EXPECT_EQ(fileBytes(s.data()), afternoon);

    ASSERT_EQ(runTool({QStringLiteral("restore"), s.folder.path(), QStringLiteral("2026-03-10")}), 0);
    EXPECT_EQ(fileBytes(s.data()), morning);
    const std::vector<archive::Copy> after = s.arhiv.copies();
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(fileBytes(after.front().path), afternoon);
}

TEST(WorkbookTool, NewReplacesAnExistingFileOnlyWhenForcedAndNotWhileTheProgramRuns)
{
    Shop s;
    const QByteArray shop = fileBytes(s.data());
    // What the tool tells when it refuses.
    const auto refusal = [](const QStringList& args) {
        const testsupport::RunResult run = testsupport::runWorkbookTool(args);
        return run.exitCode == 1 ? QString::fromUtf8(run.err).trimmed() : QStringLiteral("(not refused)");
    };
    EXPECT_EQ(refusal({QStringLiteral("new"), s.data()}),
              tools::errorMessage(tools::ToolError::FileExists, {QDir::toNativeSeparators(s.data()), s.data()}));
    EXPECT_EQ(fileBytes(s.data()), shop);
    {
        QLockFile running(s.folder.file(app::Program::lockFileName()));
        ASSERT_TRUE(running.tryLock(0));
        EXPECT_EQ(refusal({QStringLiteral("new"), QStringLiteral("--force"), s.data()}),
                  tools::errorMessage(tools::ToolError::ProgramRunning, {QDir::toNativeSeparators(QFileInfo(s.data()).absolutePath())}));
        EXPECT_EQ(fileBytes(s.data()), shop);
    }
    ASSERT_EQ(runTool({QStringLiteral("new"), QStringLiteral("--force"), s.data()}), 0);
    EXPECT_EQ(archive::readContents(s.data())->articles, 0);
    EXPECT_FALSE(QFile::exists(s.folder.file(app::Program::lockFileName())));
}
