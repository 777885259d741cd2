// The searches, listings and the sort without any window: walk orders, case folding, the article
// resolution, the record shown, price bounds, missing goods, sort orders and the rows kept whole.
#include "app/support/QtPrinters.h"
#include "app/support/ShopFolder.h"

#include "search/Listings.h"
#include "search/SearchSteps.h"
#include "search/Sorting.h"
#include "store/RowKeeper.h"
#include "store/Worksheet.h"

#include <QFile>
#include <gtest/gtest.h>

#include <map>

namespace col = store::layout::article;
using search::Outcome;

namespace {

const QString kToys = QStringLiteral("Играчки");

search::ArticlePick chooser(const QString& article)
{
    search::ArticlePick pick;
    pick.chooserEntry = QStringLiteral("  ") + article;
    return pick;
}

// A shop with one article whose goods carry the given names (prices 1, 2, 3, ...).
struct NamedGoods {
    explicit NamedGoods(const QStringList& names)
        : sheet(shop.addArticle(kToys))
    {
        for (int i = 0; i < names.size(); ++i) shop.addGoods(sheet, {names[i], double(i + 1), 1});
    }
    Outcome first(const QString& word) { return search::TyrseneNaDuma(state, shop.data(), chooser(kToys), word, shop.path()); }
    Outcome next(const QString& word) { return search::nextWord(state, shop.data(), chooser(kToys), word, shop.path()); }

    ShopFolder shop;
    store::Worksheet& sheet;
    search::SearchState state;
};

} // namespace

TEST(SearchByName, WalksFromRowThreeWrapsToRowTwoAndEndsThePass)
{
    NamedGoods goods({QStringLiteral("Мече голямо"), QStringLiteral("Кола"), QStringLiteral("Топка"),
                      QStringLiteral("Плюшено мече"), QStringLiteral("Кубчета")});
    Outcome shown = goods.first(QStringLiteral("мече"));
    ASSERT_EQ(shown.kind, Outcome::Kind::Record);
    EXPECT_EQ(shown.row, 5);
    EXPECT_FALSE(shown.hideNext);
    shown = goods.next(QStringLiteral("мече"));
    EXPECT_EQ(shown.row, 2);
    EXPECT_FALSE(shown.hideNext);
    shown = goods.next(QStringLiteral("мече"));
    EXPECT_EQ(shown.row, 5);
    EXPECT_TRUE(shown.hideNext) << "back at the first hit: the pass is done";
    EXPECT_EQ(goods.state.ListZaTyrsene, kToys);
}

TEST(SearchByName, SingleHitShowsItselfAgainAndHidesNext)
{
    NamedGoods goods({QStringLiteral("Кола"), QStringLiteral("Топка")});
    EXPECT_EQ(goods.first(QStringLiteral("топ")).row, 3);
    const Outcome again = goods.next(QStringLiteral("топ"));
    EXPECT_EQ(again.row, 3);
    EXPECT_TRUE(again.hideNext);
}

TEST(SearchByName, CyrillicCaseWildcardsAndBlankWords)
{
    NamedGoods goods({QStringLiteral("Кола"), QStringLiteral("ПЛЮШЕНО МЕЧЕ"), QStringLiteral("Кон  люлка")});
    EXPECT_EQ(goods.first(QStringLiteral("мече")).row, 3);
    EXPECT_EQ(goods.first(QStringLiteral("Плюшено Мече")).row, 3);
    EXPECT_EQ(goods.first(QStringLiteral("п*че")).row, 3) << "* inside the word matches any run";
    EXPECT_EQ(goods.first(QStringLiteral("  ")).row, 4) << "two blanks are a word";

    const Outcome blank = goods.first(QStringLiteral(" "));
    EXPECT_EQ(blank.kind, Outcome::Kind::Blank);
    EXPECT_EQ(goods.first(QString()).kind, Outcome::Kind::Blank);
    const Outcome blankNext = goods.next(QStringLiteral(" "));
    EXPECT_EQ(blankNext.kind, Outcome::Kind::Blank);
    EXPECT_TRUE(blankNext.hideNext);
}

TEST(SearchByName, NotFoundKeepsTheHitsAndHidesNext)
{
    NamedGoods goods({QStringLiteral("Кола"), QStringLiteral("Топка")});
    goods.first(QStringLiteral("кол"));
    const search::SearchState before = goods.state;
    const Outcome shown = goods.first(QStringLiteral("самолет"));
    EXPECT_EQ(shown.kind, Outcome::Kind::NotFound);
    EXPECT_EQ(shown.text, search::kWordNotFound);
    EXPECT_TRUE(shown.hideNext);
    EXPECT_EQ(goods.state.TekushtoNamirane, before.TekushtoNamirane);
    EXPECT_EQ(goods.state.PyrvoNamirane, before.PyrvoNamirane);
}

TEST(SearchByName, NextKeepsItsWordWhateverWasLookedForSince)
{
    NamedGoods goods({QStringLiteral("Мече"), QStringLiteral("Кола"), QStringLiteral("Мече малко"), QStringLiteral("Кола голяма")});
    EXPECT_EQ(goods.first(QStringLiteral("мече")).row, 4);
    goods.sheet.Range(QStringLiteral("B2:B5")).Find(QStringLiteral("кола"));
    EXPECT_EQ(goods.next(QStringLiteral("мече")).row, 2);
}

TEST(SearchByName, NextNeverWalksAnotherArticle)
{
    NamedGoods goods({QStringLiteral("Мече"), QStringLiteral("Мече две")});
    store::Worksheet& other = goods.shop.addArticle(QStringLiteral("Книжки"));
    for (int i = 0; i < 4; ++i) goods.shop.addGoods(other, {QStringLiteral("Мече %1").arg(i)});
    ASSERT_EQ(goods.first(QStringLiteral("мече")).row, 3);
    const Outcome shown = search::nextWord(goods.state, goods.shop.data(), chooser(QStringLiteral("Книжки")),
                                           QStringLiteral("мече"), goods.shop.path());
    EXPECT_EQ(shown.kind, Outcome::Kind::NotFound);
    EXPECT_TRUE(shown.hideNext);
}

TEST(ArticleResolution, ChooserThenMainWindowThenNothing)
{
    ShopFolder shop;
    search::SearchState state;
    search::ArticlePick none;
    EXPECT_EQ(search::TyrseneNaDuma(state, shop.data(), none, QStringLiteral("x"), shop.path()).kind, Outcome::Kind::Nothing)
        << "no articles: no message either";

    store::Worksheet& toys = shop.addArticle(kToys);
    shop.addGoods(toys, {QStringLiteral("Кола")});
    shop.addGoods(toys, {QStringLiteral("Кола 2")});
    shop.addArticle(QStringLiteral("Празен"));
    const Outcome notChosen = search::TyrseneNaDuma(state, shop.data(), none, QStringLiteral("кола"), shop.path());
    EXPECT_EQ(notChosen.kind, Outcome::Kind::NotChosen);
    EXPECT_TRUE(notChosen.hideNext);

    search::ArticlePick main;
    main.mainListSelected = true;
    main.ImeNaList = kToys;
    EXPECT_EQ(search::TyrseneNaDuma(state, shop.data(), main, QStringLiteral("кола"), shop.path()).row, 3);

    search::ArticlePick both = chooser(QStringLiteral("Празен"));
    both.mainListSelected = true;
    both.ImeNaList = kToys;
    EXPECT_EQ(search::TyrseneNaDuma(state, shop.data(), both, QStringLiteral("кола"), shop.path()).kind, Outcome::Kind::Nothing)
        << "the chooser's pick wins; an article without goods stops quietly";
    EXPECT_EQ(state.ListZaTyrsene, QStringLiteral("Празен"));
}

TEST(RecordDisplay, NineLinesAndThePictureOrItsFallback)
{
    ShopFolder shop;
    store::Worksheet& toys = shop.addArticle(kToys);
    shop.addGoods(toys, {QStringLiteral("Кола"), 4.5, 3, QStringLiteral("kola.jpg"), QStringLiteral("Играчкостой"),
                         QStringLiteral("Червена")});
    shop.putPicture(kToys, QStringLiteral("kola.jpg"), Qt::green);
    EXPECT_EQ(search::recordText(toys, 2), QStringLiteral("Кола\r\nцена: 4,50 лв.\r\n\r\nНалично\r\n\r\nПроизводител:\r\n"
                                                          "Играчкостой\r\n\r\nЧервена\r\n"));
    search::SearchState state;
    const auto shownPicture = [&] {
        return search::TyrseneNaDuma(state, shop.data(), chooser(kToys), QStringLiteral("кола"), shop.path()).picture;
    };
    EXPECT_EQ(shownPicture(), shop.file(QStringLiteral("Kartini/%1/kola.jpg").arg(kToys)));
    const QString fallback = shop.file(QStringLiteral("Kartini/BezKartina.JPG"));
    for (const QString& j : {QString(), QStringLiteral("missing.jpg"), QStringLiteral("../BezArtikul.JPG"),
                             QStringLiteral("/etc/passwd")}) {
        toys.setValue(2, col::kPicture, store::Value(j));
        EXPECT_EQ(shownPicture(), fallback) << j.toStdString();
    }
}

TEST(PromotionSearch, CyclesWithoutEndAndSkipsEmptyAndZero)
{
    ShopFolder shop;
    store::Worksheet& toys = shop.addArticle(kToys);
    for (int i = 1; i <= 5; ++i) shop.addGoods(toys, {QStringLiteral("Стока %1").arg(i)});
    toys.setValue(2, col::kPromotion, store::Value(1));
    toys.setValue(4, col::kPromotion, store::Value(1));
    toys.setValue(5, col::kPromotion, store::Value());
    search::SearchState state;
    const auto pick = chooser(kToys);
    EXPECT_EQ(search::TyrseneNaPromocia(state, shop.data(), pick, shop.path()).row, 4);
    QList<int> walked;
    for (int i = 0; i < 5; ++i) walked << search::TyrseneNaSledvashtaPromocia(state, shop.data(), pick, shop.path()).row;
    EXPECT_EQ(walked, (QList<int>{2, 4, 2, 4, 2}));

    toys.setValue(2, col::kPromotion, store::Value(0));
    EXPECT_EQ(search::TyrseneNaPromocia(state, shop.data(), pick, shop.path()).row, 4);
    EXPECT_EQ(search::TyrseneNaSledvashtaPromocia(state, shop.data(), pick, shop.path()).row, 4) << "a single promotion";
}

TEST(PromotionSearch, NextAfterNothingFoundSaysSo)
{
    ShopFolder shop;
    store::Worksheet& toys = shop.addArticle(kToys);
    store::Worksheet& books = shop.addArticle(QStringLiteral("Книжки"));
    for (int i = 1; i <= 3; ++i) {
        shop.addGoods(toys, {QStringLiteral("Стока %1").arg(i)});
        shop.addGoods(books, {QStringLiteral("Книжка %1").arg(i)});
    }
    toys.setValue(3, col::kPromotion, store::Value(1));
    search::SearchState state;
    EXPECT_EQ(search::TyrseneNaPromocia(state, shop.data(), chooser(kToys), shop.path()).row, 3);
    const Outcome none = search::TyrseneNaPromocia(state, shop.data(), chooser(QStringLiteral("Книжки")), shop.path());
    EXPECT_EQ(none.kind, Outcome::Kind::NotFound);
    EXPECT_EQ(none.text, search::kPromotionNotFound);
    const Outcome next = search::TyrseneNaSledvashtaPromocia(state, shop.data(), chooser(QStringLiteral("Книжки")), shop.path());
    EXPECT_EQ(next.kind, Outcome::Kind::NotFound);
    EXPECT_EQ(next.text, search::kPromotionNotFound);
}

TEST(PriceListing, EntriesAndBoundsInEitherOrder)
{
    ShopFolder shop;
    store::Worksheet& toys = shop.addArticle(kToys);
    shop.addGoods(toys, {QStringLiteral("Три"), 3.0});
    shop.addGoods(toys, {QStringLiteral("Пет"), 5.0});
    shop.addGoods(toys, {QStringLiteral("Осем"), 8.0});
    shop.addGoods(toys, {QStringLiteral("Четири и половина"), 4.5});
    shop.addGoods(toys, {QStringLiteral("Пак пет"), 5.0});
    const int last = 6;
    EXPECT_EQ(search::priceEntries(toys, last),
              (QStringList{QStringLiteral("3,00 лв."), QStringLiteral("5,00 лв."), QStringLiteral("8,00 лв."),
                           QStringLiteral("4,50 лв."), QStringLiteral("5,00 лв.")}));
    const QString all = search::priceListing(toys, last, 8, 3);
    EXPECT_EQ(all, QStringLiteral("Три   цена: 3 лв.\r\nЧетири и половина   цена: 4,5 лв.\r\nПет   цена: 5 лв.\r\n"
                                  "Пак пет   цена: 5 лв.\r\nОсем   цена: 8 лв.\r\n"))
        << "cheapest first, goods of one price in row order";
    EXPECT_EQ(search::priceListing(toys, last, 0, 3), QStringLiteral("Три   цена: 3 лв.\r\n"));
    EXPECT_EQ(search::priceListing(toys, last, 5, 5), QStringLiteral("Пет   цена: 5 лв.\r\nПак пет   цена: 5 лв.\r\n"));
    EXPECT_EQ(search::priceListing(toys, last, 8.01, 20), search::kNoGoodsFound);
    EXPECT_EQ(search::entryPrice(QStringLiteral("12,50 лв.")), 12.5);
    EXPECT_EQ(search::entryPrice(QStringLiteral("0 лв.")), 0.0);
    EXPECT_EQ(search::entryPrice(QStringLiteral("12,50 €")), 12.5);
    EXPECT_EQ(search::entryPrice(QStringLiteral("12,50")), std::nullopt);
}

TEST(PriceListing, PricesCompareAsTheListsShowThem)
{
    ShopFolder shop;
    store::Worksheet& toys = shop.addArticle(kToys);
    shop.addGoods(toys, {QStringLiteral("Дробна"), 2.346});
    shop.addGoods(toys, {QStringLiteral("Сметната"), 1.1 + 1.1 * 10 / 100});   // 1.2100000000000002
    shop.addGoods(toys, {QStringLiteral("Без цена"), store::Value()});
    shop.addGoods(toys, {QStringLiteral("Питай"), store::Value(QStringLiteral("по договаряне"))});
    const int last = 5;
    EXPECT_EQ(search::priceEntries(toys, last),
              (QStringList{QStringLiteral("2,35 лв."), QStringLiteral("1,21 лв."), QStringLiteral("0,00 лв.")}))
        << "a price that is not a number gives no entry";
    EXPECT_EQ(search::priceListing(toys, last, 2.35, 2.35), QStringLiteral("Дробна   цена: 2,346 лв.\r\n"));
    EXPECT_EQ(search::priceListing(toys, last, 1.21, 1.21), QStringLiteral("Сметната   цена: 1,21 лв.\r\n"))
        << "a computed price shows as a spreadsheet shows it";
    EXPECT_EQ(search::priceListing(toys, last, 0, 0), QStringLiteral("Без цена   цена:  лв.\r\n"));
}

TEST(MissingGoods, ZeroAndEmptyCountsOnly)
{
    ShopFolder shop;
    store::Worksheet& toys = shop.addArticle(kToys);
    shop.addGoods(toys, {QStringLiteral("Няма"), 1.0, 0});
    shop.addGoods(toys, {QStringLiteral("Две"), 1.0, 2});
    shop.addGoods(toys, {QStringLiteral("Празно"), 1.0, store::Value()});
    shop.addGoods(toys, {QStringLiteral("Думи"), 1.0, store::Value(QStringLiteral("много"))});
    shop.addGoods(toys, {QStringLiteral("Текст нула"), 1.0, store::Value(QStringLiteral("0"))});
    EXPECT_EQ(search::missingGoodsListing(toys, 6), QStringLiteral("  Няма\r\n  Празно\r\n  Текст нула\r\n"));
    EXPECT_EQ(search::missingGoodsListing(toys, 3), QStringLiteral("  Няма\r\n"));
    toys.setValue(2, col::kStock, store::Value(5));
    toys.setValue(4, col::kStock, store::Value(5));
    toys.setValue(6, col::kStock, store::Value(5));
    EXPECT_EQ(search::missingGoodsListing(toys, 6), QString());
    EXPECT_EQ(search::missingGoodsListing(toys, 1), QStringLiteral("  Няма налични стоки"));
}
