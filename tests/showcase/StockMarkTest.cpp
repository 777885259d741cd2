// Goods at or below their minimum stock stand out in the stock list; the others look as before.
#include "app/support/ShopFolder.h"

#include "showcase/core/ArticleGoods.h"

#include <QColor>
#include <gtest/gtest.h>

TEST(StockMark, AtOrBelowTheMinimumInRedWithItsTooltip)
{
    ShopFolder shop;
    store::Worksheet& toys = shop.addArticle(QStringLiteral("Играчки"));
    shop.addGoods(toys, {QStringLiteral("Топка"), 1.0, 5, {}, {}, {}, QStringLiteral("5")});
    shop.addGoods(toys, {QStringLiteral("Кукла"), 1.0, 6, {}, {}, {}, QStringLiteral("5")});
    shop.addGoods(toys, {QStringLiteral("Мече"), 1.0, 0});
    showcase::ArticleGoods goods([&shop] { return &shop.workbook(); });
    goods.show(QStringLiteral("Играчки"), 3);
    const auto stock = [&goods](int row, int role) { return goods.data(goods.index(row, showcase::ArticleGoods::Stock), role); };
    EXPECT_EQ(stock(0, Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    EXPECT_EQ(stock(0, Qt::ToolTipRole).toString(), QStringLiteral("За поръчка: минимално количество 5"));
    EXPECT_EQ(stock(0, Qt::DisplayRole).toString(), QStringLiteral("5"));
    for (int row : {1, 2}) {
        EXPECT_FALSE(stock(row, Qt::ForegroundRole).isValid()) << row;
        EXPECT_FALSE(stock(row, Qt::ToolTipRole).isValid()) << row;
    }
    EXPECT_FALSE(goods.data(goods.index(0, showcase::ArticleGoods::Name), Qt::ForegroundRole).isValid());
}
