// Saves that do not finish: killed at any moment, cut short by a full disk, and the litter an
// earlier killed save may have left. Danni.xls is always either the whole old file or the whole
// new one.
#include "store/StoreError.h"
#include "store/xls/XlsError.h"
#include "store/Workbook.h"
#include "tests/support/FileBytes.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <thread>

// A save killed midway and a file-size limit need a child process and limits of a POSIX system;
// Windows has neither, so those two faults are tried here only.
#ifndef _WIN32
#define TERVIN_CHILD_PROCESSES
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace store;

namespace {

using testsupport::fileBytes;
using testsupport::writeBytes;

bool setModified(const QString& path, const QDateTime& when)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.setFileTime(when, QFileDevice::FileModificationTime);
}

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

#ifdef TERVIN_CHILD_PROCESSES
// A shop's worth of goods: articles of names, prices and counts, a few megabytes on disk.
std::unique_ptr<Workbook> bigWorkbook(const QString& mark)
{
    auto book = std::make_unique<Workbook>();
    for (int s = 1; s <= 12; ++s) {
        Worksheet& sheet = s == 1 ? book->sheets(1) : book->sheetsAdd();
        for (int row = 2; row <= 2000; ++row) {
            sheet.setValue(row, 2, Value(QStringLiteral("%1 стока %2-%3").arg(mark).arg(s).arg(row)));
            sheet.setValue(row, 3, Value(row * 1.25 + s));
            sheet.setValue(row, 4, Value(row % 40));
            sheet.setValue(row, 8, Value(QStringLiteral("описание на стоката, ред %1").arg(row)));
        }
    }
    return book;
}

// Runs body in a child process and gives back its wait status; the child ends with body's code.
template <class Body>
pid_t startChild(Body body)
{
    const pid_t child = ::fork();
    if (child == 0) ::_exit(body());
    return child;
}

int waitFor(pid_t child)
{
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}
#endif

} // namespace

#ifdef TERVIN_CHILD_PROCESSES
TEST(SaveFaults, KilledAtAnyMomentLeavesTheWholeOldOrTheWholeNewFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Danni.xls"));
    const auto oldBook = bigWorkbook(QStringLiteral("стара"));
    oldBook->SaveAs(path);
    const QByteArray oldBytes = fileBytes(path);
    const auto newBook = bigWorkbook(QStringLiteral("нова"));
    const QByteArray newBytes = newBook->toBytes();
    ASSERT_GT(newBytes.size(), 2 << 20);

    // How long one whole save takes in a child, so the kills are spread over all of it.
    QElapsedTimer timer;
    timer.start();
    waitFor(startChild([&] {
        newBook->SaveAs(dir.filePath(QStringLiteral("timing.xls")));
        return 0;
    }));
    const qint64 saveNs = timer.nsecsElapsed();
    ASSERT_EQ(fileBytes(dir.filePath(QStringLiteral("timing.xls"))), newBytes);
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("timing.xls"))));

    constexpr int kKills = 60;
    int keptOld = 0, becameNew = 0;
    for (int i = 0; i < kKills; ++i) {
        // From the start to half as long again as a save took: a busy machine may be slower.
        const auto delay = std::chrono::nanoseconds(saveNs * 3 * (2 * i + 1) / (4 * kKills));
        const pid_t child = startChild([&] {
            newBook->SaveAs(path);
            return 0;
        });
        std::this_thread::sleep_for(delay);
        ::kill(child, SIGKILL);
        waitFor(child);
        const QByteArray now = fileBytes(path);
        if (now == oldBytes) {
            ++keptOld;
        } else {
            ASSERT_EQ(now, newBytes) << "killed after " << delay.count() << " ns: a file neither old nor new";
            ++becameNew;
            ASSERT_TRUE(writeBytes(path, oldBytes));
        }
    }
    // Both outcomes happened, so the kills did fall within the save.
    EXPECT_GT(keptOld, 0);
    EXPECT_GT(becameNew, 0);
    // The next save that finishes leaves nothing unfinished beside the file. (A kill between
    // the last two steps of a save, a few microseconds, leaves the new file whole under a
    // temporary name; that one stays, as a copy the shop keeper made would.)
    newBook->SaveAs(path);
    EXPECT_EQ(fileBytes(path), newBytes);
    const QStringList left = entries(dir.path());
    ASSERT_TRUE(left.contains(QStringLiteral("Danni.xls")));
    for (const QString& entry : left) {
        if (entry == QStringLiteral("Danni.xls")) continue;
        EXPECT_EQ(fileBytes(dir.filePath(entry)), newBytes) << entry.toStdString() << " left behind";
    }
}

TEST(SaveFaults, FullDiskIsReportedAndTheOldFileStays)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Danni.xls"));
    bigWorkbook(QStringLiteral("стара"))->SaveAs(path);
    const QByteArray oldBytes = fileBytes(path);
    const auto newBook = bigWorkbook(QStringLiteral("нова"));

    // The child may write files of at most 64 KB: the save hits the limit as a full disk would.
    const pid_t child = startChild([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64 * 1024, 64 * 1024};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
        try {
            newBook->SaveAs(path);
        } catch (const Error& error) {
            const bool namesTheFile = error.message().contains(QDir::toNativeSeparators(path));
            return error.kind<xls::XlsError>() == xls::XlsError::DiskWriteFailed && namesTheFile ? 3 : 4;
        }
        return 0;
    });
    const int status = waitFor(child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3) << "0: the save said it succeeded; 4: not told as a failed write to the file";
    EXPECT_EQ(fileBytes(path), oldBytes);
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("Danni.xls")});
}
#endif

TEST(SaveFaults, TemporaryFilesOfEarlierKilledSavesGoWithTheNextSave)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Danni.xls"));
    Workbook book;
    book.sheets(1).setValue(1, 1, Value(QStringLiteral("кукла")));
    book.SaveAs(path);
    const QByteArray whole = fileBytes(path);
    // Ours: a temporary file given a name, one begun but empty, one from an older version.
    ASSERT_TRUE(writeBytes(dir.filePath(QStringLiteral("Danni.xls.aBcxYz")), whole.left(5000)));
    ASSERT_TRUE(writeBytes(dir.filePath(QStringLiteral("Danni.xls.QwErTy")), QByteArray()));
    ASSERT_TRUE(writeBytes(dir.filePath(QStringLiteral(".Danni.xls.4242-0badf00d.tmp")), whole));
    // The library earlier versions saved through: an unfinished one from two minutes ago goes,
    // one written just now may be another program's save in progress and stays.
    ASSERT_TRUE(writeBytes(dir.filePath(QStringLiteral(".gsf-save-Ab12Cd")), whole.left(3000)));
    ASSERT_TRUE(setModified(dir.filePath(QStringLiteral(".gsf-save-Ab12Cd")), QDateTime::currentDateTime().addSecs(-120)));
    ASSERT_TRUE(writeBytes(dir.filePath(QStringLiteral(".gsf-save-Xy34Zw")), whole.left(3000)));
    // Not ours: the shop keeper's whole copy and a text that happen to have such names, another
    // workbook's temporary file, a longer name.
    ASSERT_TRUE(writeBytes(dir.filePath(QStringLiteral("Danni.xls.backup")), whole));
    ASSERT_TRUE(writeBytes(dir.filePath(QStringLiteral("Danni.xls.readme")), "бележки"));
    ASSERT_TRUE(writeBytes(dir.filePath(QStringLiteral("Faktura.xls.aBcxYz")), whole));
    ASSERT_TRUE(writeBytes(dir.filePath(QStringLiteral("Danni.xls.aBcxYzq")), whole));

    book.Save();
    EXPECT_EQ(entries(dir.path()), (QStringList{QStringLiteral(".gsf-save-Xy34Zw"), QStringLiteral("Danni.xls"),
                                                QStringLiteral("Danni.xls.aBcxYzq"),
                                                QStringLiteral("Danni.xls.backup"), QStringLiteral("Danni.xls.readme"),
                                                QStringLiteral("Faktura.xls.aBcxYz")}));
}
