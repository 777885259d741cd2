// The reports of a shop that went over to the euro between its sales: leva rows shown converted,
// each sum converting the leva rows' total once, against figures worked out by hand.
#include "Ledgers.h"

#include "app/support/QtPrinters.h"
#include "currency/EuroChangeover.h"
#include "reports/ReportData.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QDate march(int day)
{
    return QDate(2026, 3, day);
}

// Two sales and a delivery in leva, the change, then two sales and a delivery in euro.
class AcrossTheChangeover : public ::testing::Test {
protected:
    AcrossTheChangeover() : book(store::DataWorkbook::createFresh()), data(*book)
    {
        QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
        ledgers::addSales(data, {{u"1. 03. 2026"_s, u"Топка"_s, 2, 10.00, "0000000001", 6.00},
                                 {u"2. 03. 2026"_s, u"Кукла"_s, 1, 19.99, {}, 12.00}});
        ledgers::addPurchases(data, {{u"1. 03. 2026"_s, u"Топка"_s, 10, 6.00}});
        levaSold = reports::soldInPeriod(data, march(1), march(2)).listing.sum;
        levaProfit = reports::profitInPeriod(data, march(1), march(2)).profit;
        currency::convertToEuro(data);
        ledgers::addSales(data, {{u"3. 03. 2026"_s, u"Топка"_s, 1, 5.11, {}, 3.07},
                                 {u"4. 03. 2026"_s, u"Мече"_s, 3, 2.50, "0000000002", 1.50}});
        ledgers::addPurchases(data, {{u"5. 03. 2026"_s, u"Мече"_s, 5, 1.50}});
    }

    std::unique_ptr<store::Workbook> book;
    store::DataWorkbook data;
    double levaSold = 0;
    double levaProfit = 0;
};

QStringList prices(const reports::Listing& listing)
{
    QStringList result;
    for (const QStringList& row : listing.rows) result << row.value(3);
    return result;
}

} // namespace

TEST_F(AcrossTheChangeover, SoldGoods)
{
    // 39.99 лв. ÷ 1.95583 = 20.4466 €; + 5.11 + 7.50 = 33.0566 €.
    const reports::PeriodListing all = reports::soldInPeriod(data, march(1), march(4));
    EXPECT_EQ(all.listing.sum, 33.06);
    EXPECT_EQ(prices(all.listing), (QStringList{u"5,11"_s, u"10,22"_s, u"5,11"_s, u"2,50"_s}));
    // Wholly before the change: what the leva shop said, converted once.
    EXPECT_DOUBLE_EQ(levaSold, 39.99);
    EXPECT_EQ(reports::soldInPeriod(data, march(1), march(2)).listing.sum, 20.45);
    EXPECT_EQ(reports::soldInPeriod(data, march(3), march(4)).listing.sum, 12.61);
    EXPECT_EQ(reports::soldBetweenEntries(data, u"2. 03. 2026"_s, u"3. 03. 2026"_s).sum, 15.33);   // 10.2207 + 5.11
}

TEST_F(AcrossTheChangeover, Profit)
{
    // Leva: (10 − 6) × 2 + (19.99 − 12) = 15.99 лв. = 8.1756 €; euro: 2.04 + 3 × 1.00 = 5.04 €.
    EXPECT_DOUBLE_EQ(levaProfit, 15.99);
    EXPECT_EQ(reports::profitInPeriod(data, march(1), march(4)).profit, 13.22);
    EXPECT_EQ(reports::profitInPeriod(data, march(1), march(2)).profit, 8.18);
    EXPECT_EQ(reports::profitInPeriod(data, march(3), march(4)).profit, 5.04);
}

TEST_F(AcrossTheChangeover, PurchasedGoods)
{
    // 60 лв. = 30.6775 €; + 5 × 1.50.
    const reports::PeriodListing all = reports::purchasedInPeriod(data, march(1), march(5));
    EXPECT_EQ(all.listing.sum, 38.18);
    EXPECT_EQ(prices(all.listing), (QStringList{u"3,07"_s, u"1,50"_s}));
}
