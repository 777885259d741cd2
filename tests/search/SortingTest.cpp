// Sorting an article: orders of mixed, empty and equal keys, Bulgarian names, the record kept whole
// (columns U to W included) and the rows held by the basket following their goods.
#include "app/support/QtPrinters.h"
#include "app/support/ShopFolder.h"

#include "search/Sorting.h"
#include "store/RowKeeper.h"
#include "store/Worksheet.h"

#include <gtest/gtest.h>

#include <map>

namespace col = store::layout::article;
using search::SortBy;
using store::SortOrder;

namespace {

const QString kToys = QStringLiteral("Играчки");

QStringList names(const store::Worksheet& sheet, int count)
{
    QStringList cells;
    for (int row = 2; row < 2 + count; ++row) cells << sheet.shownText(row, col::kName);
    return cells;
}

// Holds rows the way the basket does and moves them when told.
class FakeBasket final : public store::RowKeeper {
public:
    bool holdsSheet(const QString& sheet) const override { return sheet == heldSheet && !rows.empty(); }
    bool holdsRow(const QString& sheet, int row) const override
    {
        return sheet == heldSheet && std::find(rows.begin(), rows.end(), row) != rows.end();
    }
    void rowsMoved(const QString& sheet, const std::function<int(int)>& newRow) override
    {
        ++calls;
        if (sheet != heldSheet) return;
        for (int& row : rows) row = newRow(row);
    }

    QString heldSheet;
    std::vector<int> rows;
    int calls = 0;
};

} // namespace

TEST(Sorting, PricesNumbersFirstTextNextEmptyLastInBothDirections)
{
    ShopFolder shop;
    store::Worksheet& toys = shop.addArticle(kToys);
    shop.addGoods(toys, {QStringLiteral("десет"), 10.0});
    shop.addGoods(toys, {QStringLiteral("празна"), store::Value()});
    shop.addGoods(toys, {QStringLiteral("текст"), store::Value(QStringLiteral("по договаряне"))});
    shop.addGoods(toys, {QStringLiteral("две"), 2.0});
    shop.addGoods(toys, {QStringLiteral("дванайсет"), 12.5});
    search::sortGoods(toys, 5, SortBy::Price, SortOrder::Ascending);
    EXPECT_EQ(names(toys, 5), (QStringList{QStringLiteral("две"), QStringLiteral("десет"), QStringLiteral("дванайсет"),
                                           QStringLiteral("текст"), QStringLiteral("празна")}));
    search::sortGoods(toys, 5, SortBy::Price, SortOrder::Descending);
    EXPECT_EQ(names(toys, 5), (QStringList{QStringLiteral("текст"), QStringLiteral("дванайсет"), QStringLiteral("десет"),
                                           QStringLiteral("две"), QStringLiteral("празна")}));
}

TEST(Sorting, NamesByBulgarianAlphabetCaseIgnored)
{
    ShopFolder shop;
    store::Worksheet& toys = shop.addArticle(kToys);
    for (const QString& name : {QStringLiteral("Ябълка"), QStringLiteral("бор"), QStringLiteral("Ъгълче"),
                                QStringLiteral("агне"), QStringLiteral("Вълк"), QStringLiteral("щека")})
        shop.addGoods(toys, {name});
    search::sortGoods(toys, 6, SortBy::Name, SortOrder::Ascending);
    EXPECT_EQ(names(toys, 6), (QStringList{QStringLiteral("агне"), QStringLiteral("бор"), QStringLiteral("Вълк"),
                                           QStringLiteral("щека"), QStringLiteral("Ъгълче"), QStringLiteral("Ябълка")}));
    search::sortGoods(toys, 6, SortBy::Name, SortOrder::Descending);
    EXPECT_EQ(names(toys, 6).first(), QStringLiteral("Ябълка"));
    EXPECT_EQ(names(toys, 6).last(), QStringLiteral("агне"));
}

TEST(Sorting, EqualKeysKeepTheirOrderWellPastTheSmallSortCutOff)
{
    ShopFolder shop;
    store::Worksheet& toys = shop.addArticle(kToys);
    QStringList equal;
    for (int i = 1; i <= 40; ++i) {
        // Interleaved with dearer goods, so that the equal ones have to be gathered.
        shop.addGoods(toys, {QStringLiteral("Скъпа %1").arg(i), double(100 - i)});
        equal << QStringLiteral("Равна %1").arg(i);
        shop.addGoods(toys, {equal.last(), 5.0});
    }
    search::sortGoods(toys, 80, SortBy::Price, SortOrder::Ascending);
    EXPECT_EQ(names(toys, 80).mid(0, 40), equal);
    search::sortGoods(toys, 80, SortBy::Price, SortOrder::Descending);
    EXPECT_EQ(names(toys, 80).mid(40, 40), equal);
}

TEST(Sorting, EveryRecordMovesWholeWithItsCountSoldMinimumAndBarcode)
{
    ShopFolder shop;
    store::Worksheet& toys = shop.addArticle(kToys);
    for (int i = 1; i <= 4; ++i) {
        const int row = shop.addGoods(toys, {QStringLiteral("Стока %1").arg(i), double(10 - i), i, {},
                                             QStringLiteral("Производител %1").arg(i)});
        toys.setValue(row, col::kMarkup, store::Value(i * 10));
        toys.setValue(row, col::kSold, store::Value(i * 100));
        toys.setValue(row, col::kMinimumStock, store::Value(i));
        toys.setValue(row, col::kBarcode, store::Value(QStringLiteral("КОД%1").arg(i)));
    }
    search::sortGoods(toys, 4, SortBy::Price, SortOrder::Ascending);
    for (int row = 2; row <= 5; ++row) {
        const int i = 6 - row;   // Стока 4 is the cheapest
        EXPECT_EQ(toys.shownText(row, col::kName), QStringLiteral("Стока %1").arg(i));
        EXPECT_EQ(toys.shownText(row, col::kMaker), QStringLiteral("Производител %1").arg(i));
        EXPECT_EQ(toys.value(row, col::kMarkup), store::Value(i * 10));
        EXPECT_EQ(toys.value(row, col::kSold), store::Value(i * 100)) << "the count sold stays with its goods";
        EXPECT_EQ(toys.value(row, col::kMinimumStock), store::Value(i));
        EXPECT_EQ(toys.shownText(row, col::kBarcode), QStringLiteral("КОД%1").arg(i));
    }
    EXPECT_EQ(shop.data().goodsCount(toys), 4) << "the count formula in T1 stays in place";
}

TEST(Sorting, TheBasketsRowsFollowTheirGoods)
{
    ShopFolder shop;
    store::Worksheet& toys = shop.addArticle(kToys);
    store::Worksheet& books = shop.addArticle(QStringLiteral("Книжки"));
    const QStringList goods{QStringLiteral("Топка"), QStringLiteral("Кола"), QStringLiteral("Агне"),
                            QStringLiteral("Мече"), QStringLiteral("Влак")};
    for (const QString& name : goods) {
        shop.addGoods(toys, {name});
        shop.addGoods(books, {name});
    }
    FakeBasket basket;
    basket.heldSheet = kToys;
    basket.rows = {2, 4, 6, 40};
    std::map<int, QString> held;
    for (int row : basket.rows) held[row] = toys.shownText(row, col::kName);

    ASSERT_TRUE(search::sortArticle(shop.data(), kToys, SortBy::Name, SortOrder::Ascending, &basket));
    EXPECT_EQ(basket.calls, 1);
    size_t i = 0;
    for (const auto& [oldRow, name] : held) {
        EXPECT_EQ(toys.shownText(basket.rows[i], col::kName), name) << "row " << oldRow << " held before the sort";
        ++i;
    }
    EXPECT_EQ(basket.rows.back(), 40) << "a row below the goods stays where it is";

    // Sorting another article leaves the held rows alone.
    const std::vector<int> before = basket.rows;
    search::sortArticle(shop.data(), QStringLiteral("Книжки"), SortBy::Name, SortOrder::Descending, &basket);
    EXPECT_EQ(basket.rows, before);
}

TEST(Sorting, EmptyAndSingleArticlesAndAShopWithoutArticles)
{
    ShopFolder shop;
    FakeBasket basket;
    EXPECT_FALSE(search::sortArticle(shop.data(), QStringLiteral("Няма наличност"), SortBy::Name, SortOrder::Ascending, &basket));
    EXPECT_EQ(basket.calls, 0);

    store::Worksheet& empty = shop.addArticle(QStringLiteral("Празен"));
    EXPECT_TRUE(search::sortArticle(shop.data(), QStringLiteral("Празен"), SortBy::Price, SortOrder::Descending, &basket));
    EXPECT_EQ(shop.data().goodsCount(empty), 0);
    EXPECT_EQ(search::sortRange(1), QStringLiteral("A2:W2"));

    store::Worksheet& single = shop.addArticle(QStringLiteral("Едно"));
    shop.addGoods(single, {QStringLiteral("Само"), 3.0});
    single.setValue(2, col::kSold, store::Value(7));
    basket.heldSheet = QStringLiteral("Едно");
    basket.rows = {2};
    EXPECT_TRUE(search::sortArticle(shop.data(), QStringLiteral("Едно"), SortBy::Name, SortOrder::Descending, &basket));
    EXPECT_EQ(basket.rows, std::vector<int>{2});
    EXPECT_EQ(single.value(2, col::kSold), store::Value(7));
}
