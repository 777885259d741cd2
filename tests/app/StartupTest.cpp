// Start-up: what stops the program before any window opens, and the second copy on one folder.
#include "support/ChildProcess.h"
#include "support/MessageRecorder.h"
#include "support/RunningProgram.h"
#include "support/ShopFolder.h"

#include "app/OfficeLock.h"
#include "app/Startup.h"
#include "archive/Arhiv.h"
#include "tests/support/FileBytes.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QPushButton>
#include <QTest>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A full disk and a file-size limit are made in a child process of a POSIX system; Windows has
// neither, so those two are tried here only.
#ifndef _WIN32
#define TERVIN_CHILD_PROCESSES
#include <sys/resource.h>
#include <sys/wait.h>
#endif

namespace {

using testsupport::writeBytes;

bool anyWindowVisible()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) return true;
    return false;
}

// Starts the program where it cannot start: one failure message naming the file, no window.
app::Message refusedStart(const QString& folder)
{
    MessageRecorder messages;
    {
        RunningProgram run(folder);
        EXPECT_FALSE(run.started());
        EXPECT_FALSE(anyWindowVisible());
        EXPECT_EQ(run.program.loginWindow(), nullptr);
        EXPECT_EQ(run.program.shop().ObektEksel, nullptr);
    }
    EXPECT_EQ(messages.messages().size(), 1u);
    return messages.messages().empty() ? app::Message{} : messages.messages().front();
}

} // namespace

TEST(Startup, DataWorkbookMissingUnreadableOrWithoutIndexSheetStopsIt)
{
    ShopFolder shop;
    app::Message missing = refusedStart(shop.path());
    EXPECT_EQ(missing.kind, app::MessageKind::Failure);
    EXPECT_TRUE(missing.text.contains(QStringLiteral("Danni.xls"))) << missing.text.toStdString();
    EXPECT_TRUE(missing.text.contains(QStringLiteral("Липсва"))) << missing.text.toStdString();

    ASSERT_TRUE(writeBytes(shop.file(QStringLiteral("Danni.xls")), QByteArray("това не е работна книга", 40)));
    const app::Message garbage = refusedStart(shop.path());
    EXPECT_TRUE(garbage.text.contains(QStringLiteral("Danni.xls"))) << garbage.text.toStdString();
    EXPECT_TRUE(garbage.text.contains(QStringLiteral("не може да бъде прочетен"))) << garbage.text.toStdString();

    store::Workbook withoutIndex;
    withoutIndex.SaveAs(shop.file(QStringLiteral("Danni.xls")));
    const app::Message noIndex = refusedStart(shop.path());
    EXPECT_TRUE(noIndex.text.contains(QStringLiteral("List"))) << noIndex.text.toStdString();

    // A refused start leaves the folder free for the next one.
    shop.save();
    MessageRecorder none;
    RunningProgram run(shop.path());
    EXPECT_TRUE(run.started());
    EXPECT_TRUE(none.messages().empty());
}

TEST(Startup, PictureReadersAreChecked)
{
    EXPECT_EQ(app::missingImageReaders({"png", "bmp"}), QStringList{QStringLiteral("JPEG")});
    EXPECT_EQ(app::missingImageReaders({"jpg", "png"}), QStringList{QStringLiteral("BMP")});
    EXPECT_EQ(app::missingImageReaders({}), (QStringList{QStringLiteral("JPEG"), QStringLiteral("BMP")}));
    EXPECT_TRUE(app::missingImageReaders({"jpeg", "bmp"}).isEmpty());
    // This machine has them, so the program can start here.
    EXPECT_EQ(app::RegistriraiKontroli(), QString());
}

TEST(Startup, SecondCopyOnTheSameFolderIsRefusedUntilTheFirstEnds)
{
    ShopFolder shop;
    shop.save();
    MessageRecorder messages;
    auto first = std::make_unique<RunningProgram>(shop.path());
    ASSERT_TRUE(first->started());
    const QByteArray before = shop.bytes(QStringLiteral("Danni.xls"));
    {
        RunningProgram second(shop.path());
        EXPECT_FALSE(second.started());
        EXPECT_FALSE(second.program.loginWindow());
    }
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_TRUE(messages.texts().front().contains(QStringLiteral("вече работи"))) << messages.texts().front().toStdString();
    EXPECT_TRUE(first->login().isVisible());
    EXPECT_EQ(shop.bytes(QStringLiteral("Danni.xls")), before);

    QTest::mouseClick(first->login().Command2, Qt::LeftButton);
    EXPECT_TRUE(first->ended());
    first.reset();
    RunningProgram third(shop.path());
    EXPECT_TRUE(third.started());
    EXPECT_EQ(messages.messages().size(), 1u);
}

TEST(Startup, LockLeftByACrashedCopyDoesNotBlock)
{
    ShopFolder shop;
    shop.save();
    // What a copy that died without cleaning up leaves: a lock as this system writes it, naming a
    // process that is gone.
    QByteArray stale;
    {
        QLockFile held(shop.file(QStringLiteral("held.lock")));
        ASSERT_TRUE(held.tryLock(0));
        stale = shop.bytes(QStringLiteral("held.lock"));
    }
    stale.replace(0, stale.indexOf('\n'), "999999");
    ASSERT_TRUE(writeBytes(shop.file(app::Program::lockFileName()), stale));
    MessageRecorder messages;
    RunningProgram run(shop.path());
    EXPECT_TRUE(run.started());
    EXPECT_TRUE(messages.messages().empty());
}

TEST(Startup, ADamagedDataWorkbookOffersTheNewestGoodArchiveCopy)
{
    ShopFolder shop;
    shop.save();
    archive::Arhiv arhiv(shop.file(QStringLiteral("Danni.xls")));
    ASSERT_TRUE(arhiv.makeDailyCopy());
    const archive::Copy good = arhiv.copies().front();
    const QByteArray goodBytes = shop.bytes(QStringLiteral("Danni.xls"));
    // A newer copy that is damaged too is passed over.
    ASSERT_TRUE(writeBytes(QStringLiteral("%1/Danni-%2-235959.xls").arg(arhiv.folder(), good.stamp), "повредено"));
    const QByteArray damaged("това не е работна книга");
    ASSERT_TRUE(writeBytes(shop.file(QStringLiteral("Danni.xls")), damaged));

    MessageRecorder messages;
    messages.answerNext(app::Answer::No);
    {
        RunningProgram run(shop.path());
        EXPECT_FALSE(run.started());
    }
    ASSERT_EQ(messages.messages().size(), 2u);
    const app::Message question = messages.messages()[0];
    EXPECT_EQ(question.kind, app::MessageKind::YesNo);
    EXPECT_TRUE(question.text.contains(QStringLiteral("повреден"))) << question.text.toStdString();
    EXPECT_TRUE(question.text.contains(archive::whenTaken(good))) << question.text.toStdString();
    EXPECT_EQ(messages.messages()[1].kind, app::MessageKind::Failure);
    EXPECT_EQ(shop.bytes(QStringLiteral("Danni.xls")), damaged);

    messages.clear();
    messages.answerNext(app::Answer::Yes);
    RunningProgram run(shop.path());
    EXPECT_TRUE(run.started());
    EXPECT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(shop.bytes(QStringLiteral("Danni.xls")), goodBytes);
    EXPECT_EQ(arhiv.copies().size(), 3u) << "the damaged file is kept in the archive";
}

#ifdef TERVIN_CHILD_PROCESSES
TEST(Startup, AFullDiskIsNamedAsSuch)
{
    QTemporaryDir folder;
    constexpr int kNoMount = 5;
    const int status = inChild([&] {
        if (!fullDiskAt(folder.path(), 64 * 1024)) return kNoMount;
        MessageRecorder messages;
        app::Program program(folder.path());
        if (program.start() || messages.messages().size() != 1) return 3;
        const QString text = messages.texts().front();
        return text.contains(QStringLiteral("Дискът е пълен")) && text.contains(folder.path()) ? 0 : 4;
    });
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == kNoMount) GTEST_SKIP() << "this system lets no test mount a small disk";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "3: no single message; 4: it does not say the disk is full";
}

TEST(Startup, AFileSizeLimitMakesTheSaveFailWithAMessageInsteadOfEndingTheProgram)
{
    ShopFolder shop;
    shop.save();
    const int status = inChild([&] {
        app::ignoreFileSizeSignal();
        app::Shop running(shop.path());
        running.openDanni();
        running.arhiv.makeDailyCopy();
        const rlim_t half = QFileInfo(shop.file(QStringLiteral("Danni.xls"))).size() / 2;
        const rlimit limit{half, half};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
        MessageRecorder messages;
        app::guarded([&] { running.danni().Save(); });
        return messages.ofKind(app::MessageKind::Failure).size() == 1 ? 0 : 3;
    });
    ASSERT_FALSE(WIFSIGNALED(status)) << "ended by signal " << WTERMSIG(status);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "3: the failed save was not reported";
}
#endif

TEST(Startup, OfficeLockFilesAreHonouredAndTheProgramHoldsLibreOfficesWhileItRuns)
{
    ShopFolder shop;
    shop.save();
    const QString ours = shop.file(QStringLiteral(".~lock.Danni.xls#"));
    {
        ASSERT_TRUE(writeBytes(ours, app::OfficeLock::kOwner.toUtf8() + ",x,host,01.12.2026 09:00,;"));   // left by a killed run
        MessageRecorder messages;
        RunningProgram run(shop.path());
        EXPECT_TRUE(messages.messages().empty());
        ASSERT_TRUE(QFileInfo::exists(ours)) << "LibreOffice is to see the file taken";
        EXPECT_TRUE(shop.bytes(QStringLiteral(".~lock.Danni.xls#")).startsWith(app::OfficeLock::kOwner.toUtf8() + ','));
        run.logIn().close();
        EXPECT_FALSE(QFileInfo::exists(ours));
    }
    {
        const QByteArray libreOffices = ",Мария,склад-pc,07.12.2026 10:15,file:///home/maria/.config/libreoffice/4;";
        ASSERT_TRUE(writeBytes(ours, libreOffices));
        MessageRecorder messages;
        RunningProgram run(shop.path());
        EXPECT_TRUE(run.started());
        ASSERT_EQ(messages.ofKind(app::MessageKind::Warning).size(), 1u);
        EXPECT_TRUE(messages.texts().value(0).contains(QStringLiteral("LibreOffice (Мария, компютър „склад-pc“, от 07.12.2026 10:15)")))
            << qPrintable(messages.texts().value(0));
        run.logIn().close();
        EXPECT_EQ(shop.bytes(QStringLiteral(".~lock.Danni.xls#")), libreOffices) << "another program's lock is its own";
        QFile::remove(ours);
    }
    ASSERT_TRUE(writeBytes(shop.file(QStringLiteral("~$Danni.xls")), "\x05Maria"));
    MessageRecorder messages;
    RunningProgram run(shop.path());
    EXPECT_TRUE(messages.texts().value(0).contains(QStringLiteral("друга програма: Excel.")));
}
