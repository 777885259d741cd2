// Money text and the conversion of leva prices, against figures worked out by hand.
#include "store/Money.h"

#include <QLocale>
#include <gtest/gtest.h>

using store::Currency;

namespace {

struct Conversion {
    double leva;
    double euro;
};

} // namespace

TEST(Money, LevaPricesConvertToTheCentHalfUp)
{
    const Conversion cases[] = {
        {0.0097, 0.00}, {0.0098, 0.01},           // just below and just above half a cent
        {0.00977914, 0.00}, {0.00977915, 0.01},   // 0.00977915 лв. is exactly 0.005 €: half goes up
        {0.44006175, 0.23}, {1.06592735, 0.55},   // exactly half a cent, which binary division puts below
        {0.01, 0.01},   {12.50, 6.39}, {10.00, 5.11}, {99.99, 51.12},
        {1.2100000000000002, 0.62},              // a computed price with float noise
        {0.0, 0.0},     {-12.50, -6.39},          // a price taken back rounds as its opposite
        {195583.0, 100000.0},
    };
    for (const Conversion& c : cases) EXPECT_EQ(store::levaPriceToEuro(c.leva), c.euro) << c.leva;
    // 10^12 / 1.95583 = 511,291,881,196.2...: far beyond a shop's prices, still to the cent.
    EXPECT_DOUBLE_EQ(store::levaPriceToEuro(1e12), 511291881196.22);
}

TEST(Money, CentsRoundByTheFiguresTheAmountShows)
{
    // Both are stored a hair below the half; shown, they are exactly on it.
    EXPECT_EQ(store::roundToCent(1.005), 1.01);
    EXPECT_EQ(store::roundToCent(0.125), 0.13);
    EXPECT_EQ(store::roundToCent(2.674999), 2.67);
}

TEST(Money, TextAndListEntriesInEitherCurrency)
{
    QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
    EXPECT_EQ(store::moneyWithSign(12.5, Currency::Leva), QStringLiteral("12,50 лв."));
    EXPECT_EQ(store::moneyWithSign(1234.5, Currency::Euro), QStringLiteral("1234,50 €"));
    EXPECT_EQ(store::moneyOfEntry(QStringLiteral("12,50 лв.")), 12.5);
    EXPECT_EQ(store::moneyOfEntry(QStringLiteral("1234,50 €")), 1234.5);
    EXPECT_EQ(store::moneyOfEntry(QStringLiteral("0 €")), 0.0);
    EXPECT_EQ(store::moneyOfEntry(QStringLiteral("12,50 $")), std::nullopt);
}

TEST(Money, ASumAcrossTheChangeoverConvertsTheLevaTotalOnce)
{
    store::MoneySum sum;
    // Three leva rows of 1.00: converted one by one they would give 3 × 0.51 = 1.53.
    for (int i = 0; i < 3; ++i) sum.add(1.00, Currency::Leva);
    sum.add(2.50, Currency::Euro);
    EXPECT_EQ(sum.in(Currency::Euro), 4.03);   // 3 / 1.95583 = 1.5339 → 2.50 + 1.5339 = 4.0339
    EXPECT_EQ(sum.in(Currency::Leva), 3.0);    // a leva shop: its own amounts, as always
}
