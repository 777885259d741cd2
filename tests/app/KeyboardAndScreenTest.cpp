// The main window in the shop keeper's hands: the keyboard, a larger window, pictures in
// proportion, windows where they were left, and what the desktop lacks.
#include "support/Keyboard.h"
#include "support/MessageRecorder.h"
#include "support/Mouse.h"
#include "support/RunningProgram.h"
#include "support/ShopFolder.h"

#include "app/Form13.h"
#include "common/Controls.h"
#include "search/Form3.h"

#include <QAction>
#include <QImage>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Four goods in one article: the showcase has a second page.
void fourGoods(ShopFolder& shop)
{
    store::Worksheet& toys = shop.addArticle(u"Играчки"_s);
    for (const char* name : {"Топка", "Кола", "Влак", "Книжка"}) shop.addGoods(toys, {QString::fromUtf8(name), 16.64, 3});
    shop.save();
}

// Where Tab goes from `first` until it comes back or leaves the window.
QStringList tabStops(QWidget* first)
{
    QStringList stops;
    first->setFocus();
    for (int i = 0; i < 40 && QApplication::focusWidget(); ++i) {
        stops << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (QApplication::focusWidget() == first) break;
    }
    return stops;
}

} // namespace

TEST(Keyboard, TabFollowsTheLayoutAndPictureButtonsAnswerKeys)
{
    ShopFolder shop;
    fourGoods(shop);
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    activate(&w);
    const QStringList stops = tabStops(w.Command3);
    EXPECT_EQ(stops, (QStringList{u"Command3"_s, u"Command2"_s, u"Command4"_s, u"Command5"_s, u"Command7"_s,
                                  u"Command8"_s, u"Command11"_s, u"List1"_s, u"Label12"_s, u"Label13"_s,
                                  u"Label14"_s, u"Image3"_s, u"Image6"_s, u"Option1"_s, u"Image7"_s, u"List2"_s,
                                  u"List3"_s, u"Combo1"_s, u"Image8"_s, u"Image9"_s, u"Command1"_s,
                                  u"koshnicaList"_s}));
    for (const char* never : {"Text1", "Text2", "Command6", "Command9", "Command10", "Text4"})
        EXPECT_FALSE(stops.contains(QLatin1String(never))) << never;

    // Space on the focused arrow turns the page; a double click turns it once.
    w.Image6->setFocus();
    QTest::keyClick(w.Image6, Qt::Key_Space);
    EXPECT_EQ(w.Label4->text(), u"Книжка"_s);
    QSignalSpy pressed(w.Image3, &app::ClickLabel::clicked);
    QTest::mouseClick(w.Image3, Qt::LeftButton);
    QTest::mouseDClick(w.Image3, Qt::LeftButton);
    QTest::mouseRelease(w.Image3, Qt::LeftButton);
    EXPECT_EQ(pressed.count(), 1);

    // Enter opens the details; Escape closes them.
    w.Label12->setFocus();
    QTest::keyClick(w.Label12, Qt::Key_Return);
    ASSERT_TRUE(w.Text3->isVisible());
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_FALSE(w.Text3->isVisible());
}

TEST(Keyboard, MenusHaveMnemonicsF10OpensThemAndCtrlFSearches)
{
    ShopFolder shop;
    fourGoods(shop);
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    QStringList barKeys;
    for (QAction* bar : w.menuBar()->actions()) {
        barKeys << QKeySequence::mnemonic(bar->text()).toString();
        QStringList keys;
        for (QAction* entry : bar->menu()->actions()) keys << QKeySequence::mnemonic(entry->text()).toString();
        EXPECT_FALSE(keys.contains(QString())) << bar->text().toStdString();
        EXPECT_EQ(QSet<QString>(keys.begin(), keys.end()).size(), keys.size()) << bar->text().toStdString();
    }
    EXPECT_FALSE(barKeys.contains(QString()));
    EXPECT_EQ(QSet<QString>(barKeys.begin(), barKeys.end()).size(), barKeys.size());

    activate(&w);
    QTest::keyClick(&w, Qt::Key_F10);
    EXPECT_EQ(w.menuBar()->activeAction(), w.menuBar()->actions().constFirst());
    QTest::keyClick(w.menuBar(), Qt::Key_Escape);
    QTest::keyClick(w.menuBar(), Qt::Key_Escape);

    QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier);
    auto* search = qobject_cast<search::Form3*>(run.program.shop().windows.window(3));
    ASSERT_NE(search, nullptr);
    EXPECT_TRUE(search->isVisible());
    EXPECT_TRUE(search->Option1[2]->isChecked());
}

// A larger window shows everything larger in proportion, also what the program places later, and
// the next start opens at the size the shop keeper left.
TEST(Screen, TheWindowGrowsInProportionAndKeepsItsSize)
{
    ShopFolder shop;
    fourGoods(shop);
    {
        RunningProgram run(shop.path());
        app::Form1& w = run.logIn();
        const QRect picture = w.Image1[0]->geometry();
        const qreal fontSize = w.Label4->fontInfo().pointSizeF();
        const qreal priceSize = w.Label2->fontInfo().pointSizeF();
        w.resize(w.width() * 2, w.height() * 2);
        QCoreApplication::processEvents();
        const QRect grown = w.Image1[0]->geometry();
        EXPECT_NEAR(grown.width(), picture.width() * 2, 2);
        EXPECT_NEAR(grown.height(), picture.height() * 2, 2);
        EXPECT_GT(w.Label4->fontInfo().pointSizeF(), fontSize * 1.5);
        EXPECT_LT(w.Command6->geometry().right(), 0) << "the buttons only the program presses came into sight";

        clickRow(w.List1, 0);
        EXPECT_GT(w.Label2->fontInfo().pointSizeF(), priceSize * 1.5) << "a price that fits shrinks when grown";
        QTest::mouseClick(w.Label12, Qt::LeftButton);
        EXPECT_GE(w.Text3->width(), 192 * 2 - 2) << "the details panel is placed as drawn, then grown";
        EXPECT_FALSE(w.Image2->geometry().intersects(w.Text3->geometry()));
        w.izhod->trigger();
    }
    RunningProgram again(shop.path());
    const app::Form1& w = again.logIn();
    EXPECT_NEAR(w.Image1[0]->width(), 133 * 2, 4);
}

TEST(Screen, PicturesKeepTheirProportions)
{
    QTemporaryDir dir;
    QImage wide(200, 100, QImage::Format_RGB32);
    wide.fill(Qt::red);
    const QString file = dir.filePath(u"wide.png"_s);
    ASSERT_TRUE(wide.save(file));
    app::ImageBox box;
    box.resize(100, 100);
    ASSERT_TRUE(box.setPicture(file));
    const QImage shown = box.grab().toImage();
    EXPECT_EQ(shown.pixelColor(50, 50), QColor(Qt::red));
    EXPECT_NE(shown.pixelColor(50, 10), QColor(Qt::red)) << "stretched to fill the square";
    EXPECT_NE(shown.pixelColor(50, 90), QColor(Qt::red));
}

// A secondary window opens centred over the main window, and where it was left the next time.
TEST(Screen, WindowsOpenWhereTheyWereLeft)
{
    ShopFolder shop;
    fourGoods(shop);
    const QPoint leftAt(37, 45);
    {
        RunningProgram run(shop.path());
        app::Form1& w = run.logIn();
        w.obshto->trigger();
        QWidget* about = run.program.shop().windows.window(13);
        ASSERT_NE(about, nullptr);
        EXPECT_LE((about->frameGeometry().center() - w.frameGeometry().center()).manhattanLength(), 2);
        about->move(leftAt);
        about->close();
        w.izhod->trigger();
    }
    RunningProgram again(shop.path());
    app::Form1& w = again.logIn();
    w.obshto->trigger();
    EXPECT_EQ(again.program.shop().windows.window(13)->pos(), leftAt);
}

// What the desktop lacks is named, not passed over in silence.
TEST(Desktop, AMissingCalculatorOrHelpFileIsNamed)
{
    ShopFolder shop;
    fourGoods(shop);
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    MessageRecorder messages;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "/nonexistent");
    QTest::mouseClick(w.Command11, Qt::LeftButton);
    qputenv("PATH", path);
    w.poveche->trigger();
    ASSERT_EQ(messages.texts().size(), 2);
    EXPECT_TRUE(messages.texts()[0].contains(u"няма калкулатор"_s)) << messages.texts()[0].toStdString();
    EXPECT_TRUE(messages.texts()[1].contains(u"Help.doc"_s)) << messages.texts()[1].toStdString();
}
