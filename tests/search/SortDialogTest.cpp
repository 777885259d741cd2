// The sort dialog driven as the shop keeper drives it: the button and the menu entries, criterion and
// direction, confirm and cancel, the showcase following the new order, the basket's rows following
// their goods, and nothing saved.
#include "app/support/Keyboard.h"
#include "app/support/Lists.h"
#include "app/support/MessageRecorder.h"
#include "app/support/Mouse.h"
#include "app/support/RunningProgram.h"
#include "app/support/ShopFolder.h"

#include "common/Controls.h"
#include "search/Form2.h"
#include "search/Form3.h"
#include "search/Sortirane.h"
#include "search/Tyrsene.h"
#include "store/RowKeeper.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace col = store::layout::article;

namespace {

const QString kToys = QStringLiteral("Играчки");

void pick(QComboBox* box, int index)
{
    box->setCurrentIndex(index);
    emit box->activated(index);
}




QStringList showcaseNames(const app::Form1& w)
{
    return {w.Label4->text(), w.Label6->text(), w.Label9->text()};
}

// Remembers one held row per line, as the basket does.
class FakeBasket final : public store::RowKeeper {
public:
    bool holdsSheet(const QString& sheet) const override { return sheet == kToys; }
    bool holdsRow(const QString& sheet, int row) const override { return sheet == kToys && row == heldRow; }
    void rowsMoved(const QString& sheet, const std::function<int(int)>& newRow) override
    {
        if (sheet == kToys) heldRow = newRow(heldRow);
    }
    int heldRow = 0;
};

class SortDialog : public ::testing::Test {
protected:
    SortDialog()
    {
        store::Worksheet& books = shop.addArticle(QStringLiteral("Книжки"));
        shop.addGoods(books, {QStringLiteral("Азбука"), 3.0});
        store::Worksheet& toys = shop.addArticle(kToys);
        shop.addGoods(toys, {QStringLiteral("Топка"), 8.0, 1});
        shop.addGoods(toys, {QStringLiteral("Кола"), 5.0, 2});
        shop.addGoods(toys, {QStringLiteral("агне"), 12.0, 3});
        shop.addGoods(toys, {QStringLiteral("Мече"), 3.0, 4});
        shop.save();
        run = std::make_unique<RunningProgram>(shop.path());
        w = &run->logIn();
    }
    search::Form2& dialog() const
    {
        search::Form2* d = w->sortirane().dialog();
        if (!d) qFatal("the sort dialog is not open");
        return *d;
    }
    int toysRow() const { return rowOf(w->List1, kToys); }
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    ShopFolder shop;
    std::unique_ptr<RunningProgram> run;
    app::Form1* w = nullptr;
};

} // namespace

TEST_F(SortDialog, ButtonWantsAnArticle)
{
    MessageRecorder messages;
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Изберете артикул")});
    EXPECT_EQ(w->sortirane().dialog(), nullptr);

    clickRow(w->List1, toysRow());
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    search::Form2& d = dialog();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Сортиране"));
    EXPECT_EQ(d.Combo1->currentIndex(), -1);
    EXPECT_TRUE(d.Option1[0]->isChecked());
    EXPECT_EQ(messages.texts().size(), 1);
}

TEST_F(SortDialog, MenuByNameChoosesTheFirstArticleAndSortsUpwards)
{
    w->poimesort->trigger();
    EXPECT_EQ(currentRow(w->List1), 0);
    EXPECT_EQ(w->ImeNaList, kToys);
    search::Form2& d = dialog();
    EXPECT_EQ(d.Combo1->currentText(), QStringLiteral("Име"));
    EXPECT_TRUE(d.Option1[0]->isChecked());
    QTest::mouseClick(w->Image6, Qt::LeftButton);   // to the second page, which the sort leaves
    w->hide();
    QTest::mouseClick(d.Command1, Qt::LeftButton);
    settle();
    EXPECT_EQ(w->sortirane().dialog(), nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->NachalenRed, 2);
    EXPECT_EQ(showcaseNames(*w), (QStringList{QStringLiteral("агне"), QStringLiteral("Кола"), QStringLiteral("Мече")}));
    EXPECT_EQ(entries(w->List2), (QStringList{QStringLiteral("агне"), QStringLiteral("Кола"), QStringLiteral("Мече"),
                                          QStringLiteral("Топка")}));
}

TEST_F(SortDialog, PriceDownwardsAndCancel)
{
    clickRow(w->List1, toysRow());
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    pick(dialog().Combo1, 0);
    QTest::mouseClick(dialog().Option1[1], Qt::LeftButton, {}, QPoint(8, 8));
    QTest::mouseClick(dialog().Command1, Qt::LeftButton);
    settle();
    EXPECT_EQ(showcaseNames(*w), (QStringList{QStringLiteral("агне"), QStringLiteral("Топка"), QStringLiteral("Кола")}));
    EXPECT_EQ(w->Label2->text(), QStringLiteral("12,00"));

    w->pocenasort->trigger();
    EXPECT_EQ(dialog().Combo1->currentText(), QStringLiteral("Цена"));
    EXPECT_TRUE(dialog().Option1[0]->isChecked()) << "the direction is not preset";
    QTest::mouseClick(dialog().Command2, Qt::LeftButton);
    settle();
    EXPECT_EQ(w->sortirane().dialog(), nullptr);
    EXPECT_EQ(showcaseNames(*w), (QStringList{QStringLiteral("агне"), QStringLiteral("Топка"), QStringLiteral("Кола")}));
}

TEST_F(SortDialog, ConfirmWithoutCriterionWarnsAndStays)
{
    MessageRecorder messages;
    clickRow(w->List1, toysRow());
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    QTest::mouseClick(dialog().Command1, Qt::LeftButton);
    settle();
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Не сте избрали критерий")});
    EXPECT_TRUE(dialog().isVisible());
    EXPECT_EQ(entries(w->List2).first(), QStringLiteral("Топка"));
}

TEST_F(SortDialog, TheBasketFollowsItsGoodsAndNothingIsSaved)
{
    FakeBasket basket;
    basket.heldRow = 2;   // "Топка"
    run->program.shop().rowKeeper = &basket;
    const QByteArray saved = shop.bytes(QStringLiteral("Danni.xls"));
    clickRow(w->List1, toysRow());
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    pick(dialog().Combo1, 0);
    QTest::mouseClick(dialog().Command1, Qt::LeftButton);
    settle();
    run->program.shop().rowKeeper = nullptr;
    EXPECT_EQ(basket.heldRow, 4) << "Мече, Кола, then Топка";
    EXPECT_EQ(run->program.shop().danni().sheets(kToys).shownText(basket.heldRow, col::kName), QStringLiteral("Топка"));
    EXPECT_EQ(shop.bytes(QStringLiteral("Danni.xls")), saved);
}

TEST_F(SortDialog, LoadingClosesTheSearchDialog)
{
    QTest::mouseClick(w->Command4, Qt::LeftButton);
    QPointer<search::Form3> searchDialog = w->tyrsene().dialog();
    ASSERT_TRUE(searchDialog);
    w->pocenasort->trigger();
    settle();
    EXPECT_TRUE(searchDialog.isNull());
}

TEST_F(SortDialog, EnterConfirmsAndEscapeCancels)
{
    MessageRecorder messages;
    clickRow(w->List1, toysRow());
    QTest::mouseClick(w->Command2, Qt::LeftButton);
    activate(&dialog());
    dialog().Combo1->setFocus();
    press(Qt::Key_Return);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Не сте избрали критерий")});
    press(Qt::Key_Down);
    EXPECT_EQ(dialog().Combo1->currentText(), QStringLiteral("Цена"));
    pressAlt(u'н');
    EXPECT_TRUE(dialog().Option1[1]->isChecked()) << "Alt+Н: downwards";
    press(Qt::Key_Return);
    settle();
    EXPECT_EQ(w->sortirane().dialog(), nullptr);
    EXPECT_EQ(showcaseNames(*w), (QStringList{QStringLiteral("агне"), QStringLiteral("Топка"), QStringLiteral("Кола")}));

    w->poimesort->trigger();
    activate(&dialog());
    press(Qt::Key_Escape);
    settle();
    EXPECT_EQ(w->sortirane().dialog(), nullptr);
    EXPECT_EQ(showcaseNames(*w), (QStringList{QStringLiteral("агне"), QStringLiteral("Топка"), QStringLiteral("Кола")}));
}
