// The search dialog driven as the shop keeper drives it: opened from the button and the menus, its
// modes with the controls each shows and hides, the walks of "Следващ", the listings and the
// warnings.
#include "app/support/Keyboard.h"
#include "app/support/MessageRecorder.h"
#include "app/support/Mouse.h"
#include "app/support/RunningProgram.h"
#include "app/support/ShopFolder.h"

#include "common/Controls.h"
#include "search/Form2.h"
#include "search/Form3.h"
#include "search/Listings.h"
#include "search/ResultBox.h"
#include "search/SearchSteps.h"
#include "search/Sortirane.h"
#include "search/Tyrsene.h"
#include "app/support/Lists.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionComboBox>
#include <QTest>
#include <gtest/gtest.h>

namespace col = store::layout::article;

namespace {

const QString kToys = QStringLiteral("Играчки");
const QString kBooks = QStringLiteral("Книжки");
const QString kAlphabetCode = QStringLiteral("5901234123457");

// A pick in a drop-down list, as the user makes it.
void pick(QComboBox* box, int index)
{
    box->setCurrentIndex(index);
    emit box->activated(index);
}

// Typing into a text box, letter by letter.
void type(QWidget* box, const QString& text)
{
    for (QChar ch : text) QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

std::vector<QWidget*> priceRow(const search::Form3& d)
{
    return {d.Label1, d.Combo2, d.Label2, d.Label3, d.Combo3, d.Label4, d.Command4};
}

bool allShown(const std::vector<QWidget*>& widgets)
{
    return std::all_of(widgets.begin(), widgets.end(), [](QWidget* w) { return !w->isHidden(); });
}

bool allHidden(const std::vector<QWidget*>& widgets)
{
    return std::all_of(widgets.begin(), widgets.end(), [](QWidget* w) { return w->isHidden(); });
}




int checkedMode(const search::Form3& d)
{
    for (size_t i = 0; i < d.Option1.size(); ++i)
        if (d.Option1[i]->isChecked()) return int(i);
    return -1;
}

// Two articles: toys with bears in rows 2 and 5 (row 5 with a green picture), a promotion in rows 3
// and 5 and goods out of stock; books with goods of their own, the alphabet with a barcode.
struct SearchShop {
    SearchShop()
    {
        store::Worksheet& books = shop.addArticle(kBooks);
        shop.addGoods(books, {QStringLiteral("Мече Пух"), 7.0, 0});
        shop.addGoods(books, {QStringLiteral("Азбука"), 3.0, 4});
        books.setValue(3, col::kBarcode, store::Value(kAlphabetCode));
        store::Worksheet& toys = shop.addArticle(kToys);
        shop.addGoods(toys, {QStringLiteral("Мече"), 3.0, 2});
        shop.addGoods(toys, {QStringLiteral("Кола"), 5.0, 0, {}, QStringLiteral("Колостой")});
        shop.addGoods(toys, {QStringLiteral("Топка"), 8.0, 1});
        shop.addGoods(toys, {QStringLiteral("ПЛЮШЕНО МЕЧЕ"), 4.5, store::Value(), QStringLiteral("mecho.jpg")});
        shop.addGoods(toys, {QStringLiteral("Влак"), 12.0, 3});
        toys.setValue(2, col::kPromotion, store::Value(1));
        toys.setValue(5, col::kPromotion, store::Value(1));
        shop.putPicture(kToys, QStringLiteral("mecho.jpg"), Qt::green);
        shop.save();
    }
    ShopFolder shop;
};

class SearchDialog : public ::testing::Test {
protected:
    SearchDialog() : run(s.shop.path()), w(run.logIn()) {}

    // The article list reads "  Играчки", "  Книжки" (the newest sheet comes first).
    int row(const QString& article) const { return entries(w.List1).indexOf(QStringLiteral("  ") + article); }
    search::Form3& opened()
    {
        QTest::mouseClick(w.Command4, Qt::LeftButton);
        search::Form3* dialog = w.tyrsene().dialog();
        if (!dialog) qFatal("the search dialog did not open");
        return *dialog;
    }
    void choose(search::Form3& d, const QString& article) { pick(d.Combo1, entries(d.Combo1).indexOf(QStringLiteral("  ") + article)); }
    void mode(search::Form3& d, int option) { QTest::mouseClick(d.Option1[size_t(option)], Qt::LeftButton, {}, QPoint(8, 8)); }
    void searchFor(search::Form3& d, const QString& word)
    {
        d.Text1->clear();
        type(d.Text1, word);
        QTest::mouseClick(d.Command2, Qt::LeftButton);
    }
    QString shownName(const search::Form3& d) const { return d.Text2->text().section(QStringLiteral("\r\n"), 0, 0); }

    SearchShop s;
    RunningProgram run;
    app::Form1& w;
};

} // namespace

TEST_F(SearchDialog, OpensOnTheMainArticleWithNoModeAndEmptiesTheChooserFirst)
{
    clickRow(w.List1, row(kBooks));
    search::Form3& d = opened();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Търсене"));
    EXPECT_EQ(d.Text4->text(), QStringLiteral("  ") + kBooks);
    EXPECT_EQ(entries(d.Combo1), entries(w.List1));
    EXPECT_EQ(d.Combo1->currentIndex(), -1);
    EXPECT_EQ(checkedMode(d), -1);
    EXPECT_TRUE(allHidden({d.Text1, d.Command2, d.Command3, d.Command6}));
    EXPECT_TRUE(allHidden(priceRow(d)));
    EXPECT_FALSE(d.Frame1->isHidden());

    opened();
    EXPECT_EQ(entries(d.Combo1), entries(w.List1)) << "opened again: the articles once";
    clickRow(w.List1, row(kToys));
    EXPECT_EQ(d.Text4->text(), QStringLiteral("  ") + kToys) << "the caption follows the main window's article";

    // Without a pick the modes search the main window's article.
    mode(d, search::Tyrsene::Missing);
    EXPECT_EQ(d.Text2->text(), QStringLiteral("  Кола\r\n  ПЛЮШЕНО МЕЧЕ\r\n"));
}

TEST_F(SearchDialog, EachModeShowsItsControls)
{
    search::Form3& d = opened();
    choose(d, kToys);
    EXPECT_TRUE(d.Text4->isHidden());

    mode(d, search::Tyrsene::Price);
    EXPECT_TRUE(allShown(priceRow(d)));
    EXPECT_TRUE(allHidden({d.Text1, d.Command2, d.Command3, d.Command6, d.Image1}));
    EXPECT_EQ(entries(d.Combo2), (QStringList{QStringLiteral("3,00 лв."), QStringLiteral("5,00 лв."), QStringLiteral("8,00 лв."),
                                               QStringLiteral("4,50 лв."), QStringLiteral("12,00 лв."), QStringLiteral("0 лв.")}));
    EXPECT_EQ(entries(d.Combo3), entries(d.Combo2));
    EXPECT_EQ(d.Combo2->currentIndex(), -1);

    mode(d, search::Tyrsene::Promotions);
    EXPECT_TRUE(allHidden(priceRow(d)));
    EXPECT_TRUE(allHidden({d.Text1, d.Command2, d.Command3}));
    EXPECT_FALSE(d.Command6->isHidden());
    EXPECT_EQ(shownName(d), QStringLiteral("ПЛЮШЕНО МЕЧЕ"));
    EXPECT_FALSE(d.Image1->isHidden());
    EXPECT_TRUE(nearColour(shownColour(d.Image1), Qt::green));

    mode(d, search::Tyrsene::ByName);
    EXPECT_FALSE(d.Text1->isHidden());
    EXPECT_FALSE(d.Command2->isHidden());
    EXPECT_TRUE(allHidden({d.Command3, d.Command6}));
    EXPECT_TRUE(allHidden(priceRow(d)));
    EXPECT_TRUE(d.Text2->text().isEmpty());
    EXPECT_FALSE(d.Image1->isHidden()) << "an empty word box leaves the last picture";

    mode(d, search::Tyrsene::Missing);
    EXPECT_TRUE(allHidden({d.Text1, d.Command2, d.Command3, d.Command6, d.Image1}));
    EXPECT_EQ(d.Text2->text(), QStringLiteral("  Кола\r\n  ПЛЮШЕНО МЕЧЕ\r\n"));

    choose(d, kBooks);
    EXPECT_EQ(checkedMode(d), -1) << "another article: the mode is chosen again";
    EXPECT_TRUE(d.Text2->text().isEmpty());
}

TEST_F(SearchDialog, ABarcodeFindsItsGoodsInAnyArticle)
{
    search::Form3& d = opened();
    choose(d, kToys);
    mode(d, search::Tyrsene::ByBarcode);
    EXPECT_FALSE(d.Text1->isHidden());
    EXPECT_EQ(d.defaultButton(), d.Command2);
    searchFor(d, kAlphabetCode);
    EXPECT_EQ(d.Text2->text().section(QStringLiteral("\r\n"), 0, 1), QStringLiteral("Артикул: Книжки\r\nАзбука"));
    EXPECT_FALSE(d.Image1->isHidden());
    EXPECT_TRUE(d.Command3->isHidden()) << "one goods hold a barcode: there is no next";

    searchFor(d, QStringLiteral("5901234123458"));
    EXPECT_EQ(d.Text2->text(), QStringLiteral("Няма стока с баркод „5901234123458“."));
    EXPECT_TRUE(d.Image1->isHidden());
}

TEST_F(SearchDialog, NextWalksTheHitsAndHidesItselfAtTheEndOfThePass)
{
    search::Form3& d = opened();
    choose(d, kToys);
    mode(d, search::Tyrsene::ByName);
    searchFor(d, QStringLiteral("мЕчЕ"));
    EXPECT_FALSE(d.Command3->isHidden());
    EXPECT_EQ(shownName(d), QStringLiteral("ПЛЮШЕНО МЕЧЕ"));
    EXPECT_EQ(d.Text2->text(), QStringLiteral("ПЛЮШЕНО МЕЧЕ\r\nцена: 4,50 лв.\r\n\r\nНе е налично\r\n\r\nПроизводител:\r\n"
                                              "\r\n\r\n\r\n"));
    EXPECT_TRUE(nearColour(shownColour(d.Image1), Qt::green));

    QTest::mouseClick(d.Command3, Qt::LeftButton);
    EXPECT_EQ(shownName(d), QStringLiteral("Мече"));
    EXPECT_TRUE(nearColour(shownColour(d.Image1), ShopFolder::kNoPictureColour));
    EXPECT_FALSE(d.Command3->isHidden());
    QTest::mouseClick(d.Command3, Qt::LeftButton);
    EXPECT_EQ(shownName(d), QStringLiteral("ПЛЮШЕНО МЕЧЕ"));
    EXPECT_TRUE(d.Command3->isHidden());

    searchFor(d, QStringLiteral("самолет"));
    EXPECT_EQ(d.Text2->text(), search::kWordNotFound);
    EXPECT_TRUE(d.Command3->isHidden());
    EXPECT_TRUE(d.Image1->isHidden());

    searchFor(d, QStringLiteral(" "));
    EXPECT_TRUE(d.Command3->isHidden());
    EXPECT_TRUE(d.Text2->text().isEmpty());

    searchFor(d, QStringLiteral("мече"));
    type(d.Text1, QStringLiteral("т"));
    EXPECT_TRUE(d.Command3->isHidden()) << "a change of the word ends the search";
    EXPECT_TRUE(d.Text2->text().isEmpty());

    searchFor(d, QStringLiteral("мече"));
    choose(d, kBooks);
    EXPECT_TRUE(d.Command3->isHidden()) << "another article ends the search";
}

TEST_F(SearchDialog, PromotionsCycleAndSayWhenThereIsNone)
{
    search::Form3& d = opened();
    choose(d, kToys);
    mode(d, search::Tyrsene::Promotions);
    QStringList walked{shownName(d)};
    for (int i = 0; i < 3; ++i) {
        QTest::mouseClick(d.Command6, Qt::LeftButton);
        walked << shownName(d);
    }
    EXPECT_EQ(walked, (QStringList{QStringLiteral("ПЛЮШЕНО МЕЧЕ"), QStringLiteral("Мече"), QStringLiteral("ПЛЮШЕНО МЕЧЕ"),
                                   QStringLiteral("Мече")}));
    choose(d, kBooks);
    mode(d, search::Tyrsene::Promotions);
    EXPECT_EQ(d.Text2->text(), search::kPromotionNotFound);
    EXPECT_FALSE(d.Command6->isHidden());
    EXPECT_TRUE(d.Image1->isHidden());
    QTest::mouseClick(d.Command6, Qt::LeftButton);
    EXPECT_EQ(d.Text2->text(), search::kPromotionNotFound);
}

TEST_F(SearchDialog, PriceRowListsBetweenThePickedPrices)
{
    MessageRecorder messages;
    search::Form3& d = opened();
    choose(d, kToys);
    mode(d, search::Tyrsene::Price);
    QTest::mouseClick(d.Command4, Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList{search::kPickPrices});
    pick(d.Combo2, entries(d.Combo2).indexOf(QStringLiteral("8,00 лв.")));
    QTest::mouseClick(d.Command4, Qt::LeftButton);
    EXPECT_EQ(messages.texts().size(), 2) << "both prices are needed";
    pick(d.Combo3, entries(d.Combo3).indexOf(QStringLiteral("4,50 лв.")));
    QTest::mouseClick(d.Command4, Qt::LeftButton);
    EXPECT_EQ(d.Text2->text(), QStringLiteral("ПЛЮШЕНО МЕЧЕ   цена: 4,5 лв.\r\nКола   цена: 5 лв.\r\nТопка   цена: 8 лв.\r\n"))
        << "cheapest first";
    pick(d.Combo2, entries(d.Combo2).indexOf(QStringLiteral("0 лв.")));
    pick(d.Combo3, 0);
    QTest::mouseClick(d.Command4, Qt::LeftButton);
    EXPECT_EQ(d.Text2->text(), QStringLiteral("Мече   цена: 3 лв.\r\n"));
    EXPECT_EQ(messages.texts().size(), 2);
}

TEST_F(SearchDialog, MenusPickTheArticleAndRunTheMode)
{
    w.nastoka->trigger();
    search::Form3& d = *w.tyrsene().dialog();
    EXPECT_EQ(d.Combo1->currentIndex(), 0) << "no article in the main window: the first one";
    EXPECT_EQ(checkedMode(d), int(search::Tyrsene::Missing));
    EXPECT_EQ(d.Text2->text(), QStringLiteral("  Кола\r\n  ПЛЮШЕНО МЕЧЕ\r\n"));

    clickRow(w.List1, row(kBooks));
    w.pocena->trigger();
    EXPECT_EQ(d.Combo1->currentText(), QStringLiteral("  ") + kBooks);
    EXPECT_EQ(checkedMode(d), int(search::Tyrsene::Price));
    EXPECT_EQ(entries(d.Combo2), (QStringList{QStringLiteral("7,00 лв."), QStringLiteral("3,00 лв."), QStringLiteral("0 лв.")}));

    w.napromocia->trigger();
    EXPECT_EQ(checkedMode(d), int(search::Tyrsene::Promotions));
    EXPECT_EQ(d.Text2->text(), search::kPromotionNotFound);

    w.poime->trigger();
    EXPECT_EQ(checkedMode(d), int(search::Tyrsene::ByName));
    EXPECT_FALSE(d.Text1->isHidden());
}

TEST_F(SearchDialog, WithoutAnyArticleChosenTheModesWarn)
{
    MessageRecorder messages;
    search::Form3& d = opened();
    EXPECT_EQ(d.Text4->text(), QStringLiteral("Търси в:"));
    mode(d, search::Tyrsene::ByName);
    searchFor(d, QStringLiteral("мече"));
    EXPECT_TRUE(d.Command3->isHidden());
    mode(d, search::Tyrsene::Missing);
    mode(d, search::Tyrsene::Price);
    mode(d, search::Tyrsene::Promotions);
    EXPECT_EQ(messages.texts(), QStringList(4, search::kNotChosen));
    ASSERT_EQ(messages.messages().size(), 4u);
    EXPECT_EQ(messages.messages()[0].kind, app::MessageKind::Warning);
}

TEST_F(SearchDialog, LoadingClosesTheSortDialogAndClosingShowsTheMainWindow)
{
    w.poimesort->trigger();
    QPointer<search::Form2> sortDialog = w.sortirane().dialog();
    ASSERT_TRUE(sortDialog);
    search::Form3& d = opened();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(sortDialog.isNull());

    w.hide();
    QTest::mouseClick(d.Command1, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w.tyrsene().dialog(), nullptr);
    EXPECT_EQ(run.program.shop().windows.window(3), nullptr);
    EXPECT_TRUE(w.isVisible());
}

TEST_F(SearchDialog, AnUnreadablePictureShowsTheNoPicturePicture)
{
    QFile bad(s.shop.file(QStringLiteral("Kartini/%1/mecho.jpg").arg(kToys)));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
    bad.write("not a picture");
    bad.close();
    search::Form3& d = opened();
    choose(d, kToys);
    mode(d, search::Tyrsene::Promotions);
    EXPECT_EQ(shownName(d), QStringLiteral("ПЛЮШЕНО МЕЧЕ"));
    EXPECT_TRUE(nearColour(shownColour(d.Image1), ShopFolder::kNoPictureColour));
}

TEST(SearchDialogWithoutArticles, ModesSwitchQuietly)
{
    ShopFolder shop;
    shop.save();
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    w.pocena->trigger();
    search::Form3& d = *w.tyrsene().dialog();
    EXPECT_EQ(entries(d.Combo1), QStringList{QStringLiteral("Няма налична стока")});
    EXPECT_TRUE(allShown(priceRow(d)));
    EXPECT_EQ(entries(d.Combo2), QStringList{QStringLiteral("0 лв.")});
    w.napromocia->trigger();
    EXPECT_FALSE(d.Command6->isHidden());
    EXPECT_TRUE(d.Text2->text().isEmpty());
}

TEST_F(SearchDialog, ClosingTheMainWindowClosesTheDialogAndEndsTheProgram)
{
    QPointer<search::Form3> d = &opened();
    w.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(run.ended());
    EXPECT_TRUE(d.isNull());
}

TEST_F(SearchDialog, ListingsShowWholeLinesAndThePriceListsWholePrices)
{
    run.program.shop().danni().sheets(kToys).setValue(6, col::kName, store::Value(QStringLiteral("Влак с три вагона, релси, гара и стрелочник")));
    search::Form3& d = opened();
    choose(d, kToys);
    mode(d, search::Tyrsene::Price);
    for (QComboBox* box : {d.Combo2, d.Combo3}) {
        QStyleOptionComboBox option;
        option.initFrom(box);
        const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box);
        EXPECT_GE(field.width(), box->fontMetrics().horizontalAdvance(QStringLiteral("264,00 лв."))) << "a price reads whole";
    }
    pick(d.Combo2, entries(d.Combo2).indexOf(QStringLiteral("0 лв.")));
    pick(d.Combo3, entries(d.Combo3).indexOf(QStringLiteral("12,00 лв.")));
    QTest::mouseClick(d.Command4, Qt::LeftButton);
    const QListView* listing = d.Text2->listing();
    ASSERT_EQ(d.Text2->shown(), listing);
    const QStringList lines = d.Text2->text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines.last().startsWith(QStringLiteral("Влак с три вагона")));
    ASSERT_EQ(listing->model()->rowCount(), lines.size());
    for (int row = 0; row < lines.size(); ++row) {
        const QModelIndex index = listing->model()->index(row, 0);
        EXPECT_EQ(index.data().toString(), lines[row]);
        const QRect shownAt = listing->visualRect(index);
        EXPECT_GE(shownAt.width(), listing->fontMetrics().horizontalAdvance(lines[row])) << "not cut: " << lines[row].toStdString();
        EXPECT_LT(shownAt.height(), 2 * listing->fontMetrics().height()) << "not wrapped: " << lines[row].toStdString();
    }

    mode(d, search::Tyrsene::Missing);
    EXPECT_EQ(d.Text2->shown(), listing);
    EXPECT_EQ(listing->model()->rowCount(), 2);
    mode(d, search::Tyrsene::Promotions);
    EXPECT_NE(d.Text2->shown(), listing) << "a record shows as text";
}

TEST_F(SearchDialog, KeyboardSearchesWalksAndCloses)
{
    search::Form3& d = opened();
    activate(&d);
    choose(d, kToys);
    pressAlt(u'и');
    EXPECT_EQ(checkedMode(d), int(search::Tyrsene::ByName));
    ASSERT_EQ(QApplication::focusWidget(), d.Text1);
    type(QApplication::focusWidget(), QStringLiteral("мече"));
    press(Qt::Key_Return);
    EXPECT_EQ(shownName(d), QStringLiteral("ПЛЮШЕНО МЕЧЕ")) << "Enter in the word box searches";
    press(Qt::Key_F3);
    EXPECT_EQ(shownName(d), QStringLiteral("Мече"));
    EXPECT_TRUE(d.Command3->toolTip().contains(QStringLiteral("F3")));

    pressAlt(u'п');
    EXPECT_EQ(shownName(d), QStringLiteral("ПЛЮШЕНО МЕЧЕ"));
    press(Qt::Key_F3);
    EXPECT_EQ(shownName(d), QStringLiteral("Мече")) << "F3 walks the promotions";
    EXPECT_TRUE(d.Command6->isDefault());

    pressAlt(u'ц');
    EXPECT_TRUE(d.Command4->isDefault());
    EXPECT_FALSE(d.Command6->isDefault());
    pressAlt(u'о');
    ASSERT_EQ(QApplication::focusWidget(), d.Combo2);
    press(Qt::Key_End);
    press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), d.Combo3);
    press(Qt::Key_Home);
    press(Qt::Key_Return);
    EXPECT_EQ(d.Text2->text(), QStringLiteral("Мече   цена: 3 лв.\r\n")) << "Enter lists between the prices";

    QStringList tabs;
    d.Combo1->setFocus();
    do {
        press(Qt::Key_Tab);
        tabs << QApplication::focusWidget()->objectName();
    } while (QApplication::focusWidget() != d.Combo1 && tabs.size() < 20);
    EXPECT_EQ(tabs, (QStringList{QStringLiteral("Option1(1)"), QStringLiteral("Command4"), QStringLiteral("Combo2"),
                                 QStringLiteral("Combo3"), QStringLiteral("resultListing"), QStringLiteral("Command1"),
                                 QStringLiteral("Combo1")}));

    press(Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w.tyrsene().dialog(), nullptr);
}
