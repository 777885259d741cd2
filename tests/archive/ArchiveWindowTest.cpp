// The archive as the shop keeper meets it: the copy the program's save makes, the window
// "Архивни копия" and putting a copy back into the running program.
#include "app/support/MessageRecorder.h"
#include "app/support/Mouse.h"
#include "app/support/RunningProgram.h"

#include "app/Form14.h"
#include "common/Shop.h"
#include "tools/DemoShop.h"
#include "tests/support/FileBytes.h"
#include "app/support/Lists.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using testsupport::fileBytes;

namespace idx = store::layout::index;

// The demo shop started and logged into on 7 December 2026, 10:00, by a clock the test moves.
struct DemoRun {
    DemoRun()
    {
        layOutDemoShop(folder.path());
        run = std::make_unique<RunningProgram>(folder.path());
        shop().arhiv.setClock([this] { return now; });
        main = &run->logIn();
    }
    app::Shop& shop() const { return run->program.shop(); }
    QString data() const { return folder.filePath(QStringLiteral("Danni.xls")); }
    int salesRows() const { return shop().data().counter(idx::kSalesRows); }

    // One line sold and saved, as a sale is recorded.
    void sell() const
    {
        const store::DataWorkbook book = shop().data();
        const int rows = salesRows();
        store::Worksheet& index = book.indexSheet();
        const int row = idx::kFirstListRow + rows;
        index.setValue(row, idx::sales::kDate, store::Value(store::formatShopDate(now.date())));
        index.setValue(row, idx::sales::kName, store::Value(QStringLiteral("Топка")));
        index.setValue(row, idx::sales::kCount, store::Value(1));
        index.setValue(row, idx::sales::kPrice, store::Value(5.5));
        book.setCell(idx::kSalesRows, store::Value(rows + 1));
        shop().danni().Save();
    }

    app::Form14* openArchive() const
    {
        main->arhiv->trigger();
        return qobject_cast<app::Form14*>(shop().windows.window(14));
    }

    QTemporaryDir folder;
    QDateTime now{QDate(2026, 12, 7), QTime(10, 0)};
    std::unique_ptr<RunningProgram> run;
    app::Form1* main = nullptr;
};

} // namespace

TEST(ArchiveWindow, TodaysCopyPutBackTakesTheSaleAwayAndKeepsTheMomentBefore)
{
    DemoRun r;
    app::Form1& w = *r.main;
    const int salesBefore = r.salesRows();
    const QByteArray beforeSale = fileBytes(r.data());
    r.sell();
    const QByteArray afterSale = fileBytes(r.data());
    ASSERT_NE(afterSale, beforeSale);
    EXPECT_EQ(fileBytes(r.folder.filePath(QStringLiteral("Arhiv/Danni-2026-12-07.xls"))), beforeSale);

    // An article on the showcase, the About window open.
    clickRow(w.List1, 1);
    ASSERT_FALSE(w.ImeNaList.isEmpty());
    w.obshto->trigger();
    QPointer<QWidget> about = r.shop().windows.window(13);
    ASSERT_FALSE(about.isNull());

    app::Form14* form = r.openArchive();
    ASSERT_NE(form, nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(about.isNull());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Архивни копия"));
    EXPECT_FALSE(form->isModal());
    ASSERT_EQ(form->List1->count(), 1);
    EXPECT_TRUE(form->List1->item(0)->text().startsWith(QStringLiteral("7. 12. 2026 – ")));
    EXPECT_TRUE(form->List1->item(0)->text().endsWith(QStringLiteral("продажби: %1").arg(salesBefore)));

    // Whoever holds stock hears of the change while the file still holds the sale.
    int replacing = 0;
    bool saleOnDiskThen = false;
    QObject::connect(&w, &app::Form1::dataReplacing, form, [&] {
        ++replacing;
        saleOnDiskThen = fileBytes(r.data()) == afterSale;
    });
    MessageRecorder messages;
    r.now = QDateTime(QDate(2026, 12, 7), QTime(10, 30, 0));
    clickRow(form->List1, 0);
    QTest::mouseClick(form->Command1, Qt::LeftButton);

    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].kind, app::MessageKind::Confirmation);
    EXPECT_EQ(messages.messages()[0].title, QStringLiteral("Внимание"));
    EXPECT_TRUE(messages.texts()[0].contains(QStringLiteral("7. 12. 2026")));
    EXPECT_EQ(replacing, 1);
    EXPECT_TRUE(saleOnDiskThen);
    EXPECT_EQ(fileBytes(r.data()), beforeSale);
    EXPECT_EQ(r.salesRows(), salesBefore);

    // The main window as after the login, on the data put back.
    EXPECT_TRUE(w.ImeNaList.isEmpty());
    EXPECT_EQ(currentRow(w.List1), -1);
    EXPECT_GT(entries(w.List1).size(), 1);
    EXPECT_FALSE(w.Text1->isHidden());
    EXPECT_TRUE(w.List2->isHidden());
    EXPECT_TRUE(w.Label21->isHidden());
    EXPECT_EQ(w.Text4->text(), QStringLiteral("0"));
    EXPECT_TRUE(w.Option2->isChecked());
    EXPECT_EQ(r.shop().windows.window(14), form);

    // The moment before stands first in the list, with the sale in it; putting it back undoes.
    ASSERT_EQ(form->List1->count(), 2);
    EXPECT_TRUE(form->List1->item(0)->text().startsWith(QStringLiteral("7. 12. 2026, 10:30:00 – ")));
    EXPECT_TRUE(form->List1->item(0)->text().endsWith(QStringLiteral("продажби: %1").arg(salesBefore + 1)));
    clickRow(form->List1, 0);
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    EXPECT_EQ(fileBytes(r.data()), afterSale);
    EXPECT_EQ(r.salesRows(), salesBefore + 1);
    EXPECT_EQ(form->List1->count(), 3);

    // The data put back is the data the program saves from now on.
    r.sell();
    EXPECT_EQ(store::DataWorkbook(*store::Workbook::open(r.data())).counter(idx::kSalesRows), salesBefore + 2);
}

TEST(ArchiveWindow, NothingChosenACancelAndADamagedCopyLeaveTheDataAlone)
{
    DemoRun r;
    MessageRecorder messages;
    app::Form14* form = r.openArchive();
    ASSERT_NE(form, nullptr);
    // No copy yet: a line that says so, and nothing to put back.
    ASSERT_EQ(form->List1->count(), 1);
    EXPECT_TRUE(form->List1->item(0)->text().contains(QStringLiteral("няма архивни копия")));
    // Enter in the list presses "Възстанови"; Escape closes the window.
    QTest::keyClick(form->List1, Qt::Key_Return);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].kind, app::MessageKind::Warning);
    QTest::keyClick(form->List1, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(r.shop().windows.window(14), nullptr);

    r.sell();
    QFile damaged(r.folder.filePath(QStringLiteral("Arhiv/Danni-2026-12-06.xls")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("не е работна книга");
    damaged.close();
    const QByteArray current = fileBytes(r.data());
    int replacing = 0;
    QObject::connect(r.main, &app::Form1::dataReplacing, [&] { ++replacing; });

    form = r.openArchive();
    ASSERT_EQ(entries(form->List1).size(), 2);
    EXPECT_TRUE(form->List1->item(1)->text().startsWith(QStringLiteral("6. 12. 2026 – ")));
    EXPECT_TRUE(form->List1->item(1)->text().contains(QStringLiteral("повредено")));
    messages.clear();
    clickRow(form->List1, 1);
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].kind, app::MessageKind::Warning);
    EXPECT_TRUE(messages.texts()[0].contains(QStringLiteral("6. 12. 2026")));

    messages.clear();
    messages.answerNext(app::Answer::Cancel);
    clickRow(form->List1, 0);
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].kind, app::MessageKind::Confirmation);
    EXPECT_EQ(replacing, 0);
    EXPECT_EQ(fileBytes(r.data()), current);
    EXPECT_EQ(form->List1->count(), 2);

    // Leaving the program closes the window with the rest.
    QPointer<app::Form14> open = form;
    r.main->izhod->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(open.isNull());
}

TEST(ArchiveWindow, ACopyThatCannotBeMadeIsReportedOnceAndEverySaveIsDone)
{
    DemoRun r;
    QFile blocker(r.folder.filePath(QStringLiteral("Arhiv")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    MessageRecorder messages;
    const int salesBefore = r.salesRows();
    r.sell();
    r.sell();
    r.now = r.now.addDays(1);
    r.sell();
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].kind, app::MessageKind::Warning);
    EXPECT_TRUE(messages.texts()[0].contains(QStringLiteral("Архивното копие")));
    const auto saved = store::Workbook::open(r.data());
    EXPECT_EQ(store::DataWorkbook(*saved).counter(idx::kSalesRows), salesBefore + 3);
}

TEST(ArchiveWindow, ACopyDatedAfterTodayIsMarkedSoTheShopKeeperSeesWhyItStays)
{
    DemoRun r;
    r.sell();
    ASSERT_TRUE(QFile::copy(r.folder.filePath(QStringLiteral("Arhiv/Danni-2026-12-07.xls")),
                            r.folder.filePath(QStringLiteral("Arhiv/Danni-2027-01-15.xls"))));
    const QStringList lines = entries(r.openArchive()->List1);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("15. 01. 2027 – "))) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(" – с бъдеща дата"))) << lines[0].toStdString();
    EXPECT_FALSE(lines[1].contains(QStringLiteral("бъдеща"))) << lines[1].toStdString();
}
