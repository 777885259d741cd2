// What the showcase labels show of long names and large prices, and room in the stock list:
// a price shows every digit it holds, a name that does not fit ends in "…".
#include "app/support/Lists.h"
#include "app/support/Mouse.h"
#include "app/support/RunningProgram.h"
#include "app/support/ShopFolder.h"

#include "common/Controls.h"

#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Whether the label shows its whole text on one line.
bool wholeTextShown(const QLabel* label)
{
    return label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width();
}

const QString kLongName = QStringLiteral("Голяма плюшена играчка мече с червена панделка и музикална кутия");

} // namespace

TEST(ShowcaseLabels, LargePricesShowEveryDigitAndLongNamesEndInAnEllipsis)
{
    ShopFolder shop;
    store::Worksheet& article = shop.addArticle(QStringLiteral("Играчки"));
    shop.addGoods(article, {kLongName, 123456789.13, 1});
    shop.addGoods(article, {QStringLiteral("Топка"), 5.5, 1});
    shop.addGoods(article, {QStringLiteral("Влак"), 1e15, 1});
    shop.addGoods(article, {QStringLiteral("Кола"), 2.0, 1});
    shop.save();
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    const QRect homeOfFirstPrice = w.Label2->geometry();
    const QRect homeOfSecondPrice = w.Label8->geometry();
    clickRow(w.List1, 0);

    EXPECT_EQ(w.Label2->text(), QStringLiteral("123456789,13"));
    EXPECT_TRUE(wholeTextShown(w.Label2));
    EXPECT_EQ(w.Label11->text(), QStringLiteral("1000000000000000,00"));
    EXPECT_TRUE(wholeTextShown(w.Label11));
    // The price line stays in order: caption, price, currency, none over another.
    EXPECT_LE(w.Label3->geometry().right(), w.Label2->geometry().left());
    EXPECT_LE(w.Label2->geometry().right(), w.Label18->geometry().left());
    EXPECT_TRUE(wholeTextShown(w.Label3) && wholeTextShown(w.Label18));
    // A price that fits keeps the place the window gave it.
    EXPECT_EQ(w.Label8->text(), QStringLiteral("5,50"));
    EXPECT_EQ(w.Label8->geometry(), homeOfSecondPrice);

    const QString shown = w.Label4->text();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("…"))) << shown.toStdString();
    EXPECT_TRUE(kLongName.startsWith(shown.chopped(1).trimmed())) << shown.toStdString();
    EXPECT_GT(shown.size(), 10);
    const QRect needed = w.Label4->fontMetrics().boundingRect(QRect(0, 0, w.Label4->width(), 1000), Qt::TextWordWrap, shown);
    EXPECT_LE(needed.height(), w.Label4->contentsRect().height());
    EXPECT_EQ(w.Label4->toolTip(), kLongName);
    EXPECT_EQ(w.Label6->text(), QStringLiteral("Топка"));

    // The next page's short price goes back to where the window placed it.
    QTest::mouseClick(w.Image6, Qt::LeftButton);
    EXPECT_EQ(w.Label2->text(), QStringLiteral("2,00"));
    EXPECT_EQ(w.Label2->geometry(), homeOfFirstPrice);

}

TEST(ShowcaseLabels, StockListHoldsFourDigitCountsBesideItsScrollBar)
{
    ShopFolder shop;
    store::Worksheet& article = shop.addArticle(QStringLiteral("Кубчета"));
    for (int i = 1; i <= 40; ++i) shop.addGoods(article, {QStringLiteral("Стока %1").arg(i), 1.0, 1000 + i});
    shop.save();
    RunningProgram run(shop.path());
    app::Form1& w = run.logIn();
    clickRow(w.List1, 0);
    ASSERT_EQ(entries(w.List3).size(), 40);
    ASSERT_TRUE(w.List3->verticalScrollBar()->isVisible());
    const int textWidth = w.List3->fontMetrics().horizontalAdvance(QStringLiteral("1040"));
    EXPECT_LE(textWidth, w.List3->visualRect(w.List3->model()->index(39, 1)).width());
    EXPECT_LE(textWidth, w.List3->viewport()->width());
}
