// The report computations over ledgers written by hand, against sums worked out by hand.
#include "Ledgers.h"

#include "app/support/QtPrinters.h"
#include "store/Money.h"
#include "reports/ReportData.h"
#include "store/Worksheet.h"

#include <gtest/gtest.h>

using ledgers::Purchase;
using ledgers::Sale;
using reports::Outcome;
using store::Value;
using namespace Qt::StringLiterals;

namespace {

namespace idx = store::layout::index;

QDate day(int d, int m, int y = 2011)
{
    return QDate(y, m, d);
}

class Reports : public ::testing::Test {
protected:
    Reports() : book(store::DataWorkbook::createFresh()), data(*book) {}

    std::unique_ptr<store::Workbook> book;
    store::DataWorkbook data;
};

// Two sales on 1 March, one on 2 March, two on 4 March; the second of 4 March without document.
class SalesLedger : public Reports {
protected:
    SalesLedger()
    {
        ledgers::addSales(data, {
            {u"1. 03. 2011"_s, u"Топка"_s, 2, 1.15, "0000000001", 1.0},
            {u"1. 03. 2011"_s, u"Кукла"_s, 1, 3.35, "0000000001", 2.0},
            {u"2. 03. 2011"_s, u"Пумпал"_s, 3, 0.10, Value(), 0.05},
            {u"4. 03. 2011"_s, u"Влакче"_s, 1, 12.5, Value(7), 10.0},
            {u"4. 03. 2011"_s, u"Кубчета"_s, 4, 2.25, Value(), 2.0},
        });
    }
};

QStringList column(const std::vector<QStringList>& rows, int c)
{
    QStringList result;
    for (const QStringList& row : rows) result << row.value(c);
    return result;
}

} // namespace

TEST_F(SalesLedger, FromDateListHasEachRunOfOneDayOnceAndADayThatComesBackAgain)
{
    ledgers::addSales(data, {{u"2. 03. 2011"_s, u"Топка"_s, 1, 1.0}, {u"2. 03. 2011"_s, u"Топка"_s, 1, 1.0}});
    EXPECT_EQ(reports::saleDates(data),
              (QStringList{u"1. 03. 2011"_s, u"2. 03. 2011"_s, u"4. 03. 2011"_s, u"2. 03. 2011"_s}));
}

TEST_F(Reports, FromDateListWithoutAReadableDateHoldsOnlyThePlaceholder)
{
    EXPECT_EQ(reports::saleDates(data), QStringList{reports::kNoSales});
    ledgers::addSales(data, {{u"скоро"_s, u"Топка"_s, 1, 1.0}});
    EXPECT_EQ(reports::saleDates(data), QStringList{reports::kNoSales});
}

TEST_F(Reports, UnreadableLedgerDatesAreLeftOutOfTheDateListAndDoNotSplitADay)
{
    ledgers::addSales(data, {{u"1. 03. 2011"_s, u"Топка"_s, 1, 1.0},
                             {u"вчера"_s, u"Кукла"_s, 1, 1.0},
                             {u"1. 03. 2011"_s, u"Пумпал"_s, 1, 1.0},
                             {u"31. 02. 2011"_s, u"Влакче"_s, 1, 1.0},
                             {u"3. 03. 2011"_s, u"Кубчета"_s, 1, 1.0}});
    EXPECT_EQ(reports::saleDates(data), (QStringList{u"1. 03. 2011"_s, u"3. 03. 2011"_s}));
}

TEST_F(SalesLedger, ListDatesReportFromFirstRowOfOneDayToLastRowOfTheOther)
{
    const reports::Listing all = reports::soldBetweenEntries(data, u"1. 03. 2011"_s, u"4. 03. 2011"_s);
    ASSERT_EQ(all.rows.size(), 5u);
    EXPECT_EQ(all.rows[0], (QStringList{u"1. 03. 2011"_s, u"Топка"_s, u"2"_s, u"1,15"_s, u"0000000001"_s}));
    EXPECT_EQ(all.rows[2], (QStringList{u"2. 03. 2011"_s, u"Пумпал"_s, u"3"_s, u"0,10"_s, u"Няма фактура"_s}));
    EXPECT_EQ(all.rows[3], (QStringList{u"4. 03. 2011"_s, u"Влакче"_s, u"1"_s, u"12,50"_s, u"0000000007"_s}));
    // 2 × 1.15 + 3.35 + 3 × 0.10 + 12.50 + 4 × 2.25
    EXPECT_EQ(store::formatMoney(all.sum), u"27,45"_s);

    const reports::Listing oneDay = reports::soldBetweenEntries(data, u"2. 03. 2011"_s, u"2. 03. 2011"_s);
    EXPECT_EQ(column(oneDay.rows, 1), QStringList{u"Пумпал"_s});
    EXPECT_EQ(store::formatMoney(oneDay.sum), u"0,30"_s);
}

TEST_F(SalesLedger, ListDatesReportListsNothingForAnEntryWithoutRowOrRowsBeyondTheLedger)
{
    for (const auto& [from, to] : std::vector<std::pair<QString, QString>>{
             {reports::kNoSales, reports::kNoSales}, {u"3. 03. 2011"_s, u"4. 03. 2011"_s}, {u"4. 03. 2011"_s, u"1. 03. 2011"_s}}) {
        const reports::Listing none = reports::soldBetweenEntries(data, from, to);
        EXPECT_TRUE(none.rows.empty()) << from.toStdString();
        EXPECT_EQ(none.sum, 0) << from.toStdString();
    }
    // A row below the ledger's R1 rows belongs to no sale.
    data.indexSheet().setValue(idx::kFirstListRow + 5, idx::sales::kDate, Value("5. 03. 2011"));
    EXPECT_TRUE(reports::soldBetweenEntries(data, u"4. 03. 2011"_s, u"5. 03. 2011"_s).rows.empty());
    EXPECT_EQ(reports::soldBetweenEntries(data, u"4. 03. 2011"_s, u"4. 03. 2011"_s).rows.size(), 2u);
}

TEST_F(SalesLedger, PickerReportOfOneDayAndOfADayWithoutSalesBetweenTwoSaleDays)
{
    const reports::PeriodListing fourth = reports::soldInPeriod(data, day(4, 3), day(4, 3));
    EXPECT_EQ(fourth.outcome, Outcome::Done);
    EXPECT_EQ(column(fourth.listing.rows, 1), (QStringList{u"Влакче"_s, u"Кубчета"_s}));
    EXPECT_EQ(column(fourth.listing.rows, 4), (QStringList{u"0000000007"_s, u"Няма фактура"_s}));
    EXPECT_EQ(store::formatMoney(fourth.listing.sum), u"21,50"_s);

    const reports::PeriodListing third = reports::soldInPeriod(data, day(3, 3), day(3, 3));
    EXPECT_EQ(third.outcome, Outcome::Done);
    EXPECT_TRUE(third.listing.rows.empty());
    EXPECT_EQ(store::formatMoney(third.listing.sum), u"0,00"_s);

    const reports::PeriodListing wide = reports::soldInPeriod(data, day(1, 1), day(31, 12));
    EXPECT_EQ(column(wide.listing.rows, 1), (QStringList{u"Топка"_s, u"Кукла"_s, u"Пумпал"_s, u"Влакче"_s, u"Кубчета"_s}));
}

TEST_F(SalesLedger, PickerReportOutsideTheLedgerOrWithReversedDatesListsNothing)
{
    EXPECT_EQ(reports::soldInPeriod(data, day(1, 2), day(28, 2)).outcome, Outcome::OutsidePeriod);
    EXPECT_EQ(reports::soldInPeriod(data, day(5, 3), day(5, 4)).outcome, Outcome::OutsidePeriod);
    EXPECT_EQ(reports::soldInPeriod(data, day(4, 3), day(1, 3)).outcome, Outcome::Reversed);
    EXPECT_TRUE(reports::soldInPeriod(data, day(4, 3), day(1, 3)).listing.rows.empty());
    // The period touching the first or the last sale day is inside.
    EXPECT_EQ(reports::soldInPeriod(data, day(1, 2), day(1, 3)).listing.rows.size(), 2u);
    EXPECT_EQ(reports::soldInPeriod(data, day(4, 3), day(5, 4)).listing.rows.size(), 2u);
}

TEST_F(Reports, PickerReportsOfEmptyLedgersFindNothingInAnyPeriod)
{
    EXPECT_EQ(reports::soldInPeriod(data, day(1, 1, 1900), day(31, 12, 2100)).outcome, Outcome::OutsidePeriod);
    EXPECT_EQ(reports::purchasedInPeriod(data, day(1, 1, 1900), day(31, 12, 2100)).outcome, Outcome::OutsidePeriod);
}

TEST_F(Reports, UnreadableDatesAreNeverTakenAsADayOfTheOldSpreadsheetEpoch)
{
    ledgers::addSales(data, {{u"5. 03. 2011"_s, u"Топка"_s, 1, 2.0, Value(), 1.0},
                             {u""_s, u"Кукла"_s, 1, 3.0, Value(), 1.0},
                             {u"??"_s, u"Пумпал"_s, 1, 4.0, Value(), 1.0},
                             {u"5. 03. 2011"_s, u"Влакче"_s, 1, 5.0, Value(), 1.0}});
    EXPECT_EQ(reports::soldInPeriod(data, day(29, 12, 1899), day(1, 1, 1901)).outcome, Outcome::OutsidePeriod);
    EXPECT_EQ(reports::profitInPeriod(data, day(29, 12, 1899), day(1, 1, 1901)).profit, 0);

    const reports::PeriodListing fifth = reports::soldInPeriod(data, day(5, 3), day(5, 3));
    EXPECT_EQ(column(fifth.listing.rows, 1), (QStringList{u"Топка"_s, u"Влакче"_s}));
    EXPECT_EQ(store::formatMoney(reports::profitInPeriod(data, day(5, 3), day(5, 3)).profit), u"5,00"_s);
}

TEST_F(Reports, ALedgerWhoseDatesGoBackListsOnlyTheDaysOfThePeriod)
{
    // The computer's clock was set back for one sale.
    ledgers::addSales(data, {{u"5. 03. 2011"_s, u"Топка"_s, 1, 2.0}, {u"3. 03. 2011"_s, u"Кукла"_s, 1, 3.0},
                             {u"6. 03. 2011"_s, u"Пумпал"_s, 1, 4.0}});
    EXPECT_EQ(column(reports::soldInPeriod(data, day(5, 3), day(6, 3)).listing.rows, 1),
              (QStringList{u"Топка"_s, u"Пумпал"_s}));
    EXPECT_EQ(column(reports::soldInPeriod(data, day(3, 3), day(3, 3)).listing.rows, 1), QStringList{u"Кукла"_s});
}

TEST_F(Reports, CountsAndRowNumbersBeyondSixteenBits)
{
    std::vector<Sale> sales(40000, Sale{u"1. 03. 2011"_s, u"Топка"_s, 1, 1.0, Value(), 0.5});
    sales.push_back({u"2. 03. 2011"_s, u"Камион"_s, 40000, 1.5, Value(), 1.0});
    ledgers::addSales(data, sales);
    const reports::PeriodListing last = reports::soldInPeriod(data, day(2, 3), day(2, 3));
    EXPECT_EQ(column(last.listing.rows, 1), QStringList{u"Камион"_s});
    EXPECT_EQ(column(last.listing.rows, 2), QStringList{u"40000"_s});
    EXPECT_DOUBLE_EQ(last.listing.sum, 60000.0);
    EXPECT_EQ(reports::soldBetweenEntries(data, u"1. 03. 2011"_s, u"2. 03. 2011"_s).rows.size(), 40001u);
    EXPECT_DOUBLE_EQ(reports::profitInPeriod(data, day(1, 3), day(2, 3)).profit, 40000 * 0.5 + 40000 * 0.5);
}

TEST_F(Reports, AnUnreadableCountOrPriceIsListedAsStoredAndAddsNothing)
{
    ledgers::addSales(data, {{u"1. 03. 2011"_s, u"Топка"_s, "два", 2.0}, {u"1. 03. 2011"_s, u"Кукла"_s, 2, "по договаряне"},
                             {u"1. 03. 2011"_s, u"Пумпал"_s, 2, 1.25}});
    const reports::PeriodListing report = reports::soldInPeriod(data, day(1, 3), day(1, 3));
    EXPECT_EQ(column(report.listing.rows, 2), (QStringList{u"два"_s, u"2"_s, u"2"_s}));
    EXPECT_EQ(column(report.listing.rows, 3), (QStringList{u"2,00"_s, u"по договаряне"_s, u"1,25"_s}));
    EXPECT_EQ(store::formatMoney(report.listing.sum), u"2,50"_s);
}

TEST_F(Reports, PurchasesAsTheGoodsEditorWritesThemText)
{
    ledgers::addPurchases(data, {{u"1. 03. 2011"_s, u"Топка"_s, Value("3"), Value("2,5")},
                                 {u"1. 03. 2011"_s, u"Кукла"_s, Value("2"), Value("10.05")},
                                 {u"7. 03. 2011"_s, u"Пумпал"_s, Value("10"), Value("0,99")}});
    const reports::PeriodListing first = reports::purchasedInPeriod(data, day(1, 3), day(1, 3));
    ASSERT_EQ(first.outcome, Outcome::Done);
    ASSERT_EQ(first.listing.rows.size(), 2u);
    EXPECT_EQ(first.listing.rows[0], (QStringList{u"1. 03. 2011"_s, u"Топка"_s, u"3"_s, u"2,50"_s}));
    EXPECT_EQ(first.listing.rows[1], (QStringList{u"1. 03. 2011"_s, u"Кукла"_s, u"2"_s, u"10,05"_s}));
    EXPECT_EQ(store::formatMoney(first.listing.sum), u"27,60"_s);

    EXPECT_TRUE(reports::purchasedInPeriod(data, day(2, 3), day(6, 3)).listing.rows.empty());
    EXPECT_EQ(reports::purchasedInPeriod(data, day(2, 3), day(6, 3)).outcome, Outcome::Done);
    EXPECT_EQ(reports::purchasedInPeriod(data, day(8, 3), day(9, 3)).outcome, Outcome::OutsidePeriod);
    EXPECT_EQ(reports::purchasedInPeriod(data, day(1, 2), day(28, 2)).outcome, Outcome::OutsidePeriod);
    EXPECT_EQ(reports::purchasedInPeriod(data, day(7, 3), day(6, 3)).outcome, Outcome::Reversed);
    // The sales ledger is a different one.
    EXPECT_EQ(reports::soldInPeriod(data, day(1, 3), day(7, 3)).outcome, Outcome::OutsidePeriod);
}

TEST_F(SalesLedger, ProfitOverADayAMonthAndDaysWithoutSales)
{
    // 4 March: 1 × (12.50 − 10.00) + 4 × (2.25 − 2.00)
    EXPECT_EQ(store::formatMoney(reports::profitInPeriod(data, day(4, 3), day(4, 3)).profit), u"3,50"_s);
    // March: 2 × 0.15 + 1.35 + 3 × 0.05 + 3.50
    const reports::Profit march = reports::profitInPeriod(data, day(1, 3), day(31, 3));
    EXPECT_EQ(march.outcome, Outcome::Done);
    EXPECT_EQ(store::formatMoney(march.profit), u"5,30"_s);
    for (const auto& [from, to] : {std::pair{day(3, 3), day(3, 3)}, std::pair{day(1, 1), day(28, 2)},
                                   std::pair{day(5, 3), day(1, 4)}}) {
        const reports::Profit none = reports::profitInPeriod(data, from, to);
        EXPECT_EQ(none.outcome, Outcome::Done);
        EXPECT_EQ(none.profit, 0) << from.toString().toStdString();
    }
    EXPECT_EQ(reports::profitInPeriod(data, day(4, 3), day(3, 3)).outcome, Outcome::Reversed);
}

TEST_F(Reports, ProfitOfOneSaleAndOfAnEmptyLedger)
{
    EXPECT_EQ(reports::profitInPeriod(data, day(1, 3), day(31, 3)).outcome, Outcome::EmptyLedger);
    ledgers::addSales(data, {{u"9. 03. 2011"_s, u"Влакче"_s, 3, 12.50, Value(), 10.00}});
    EXPECT_EQ(store::formatMoney(reports::profitInPeriod(data, day(1, 3), day(31, 3)).profit), u"7,50"_s);
}

namespace {

double total(const std::vector<reports::ChartBar>& bars)
{
    double sum = 0;
    for (const reports::ChartBar& bar : bars) sum += bar.amount;
    return sum;
}

// The bars' labels with their amounts as money, "1. 03.=1,85", the empty buckets left out.
QStringList filled(const std::vector<reports::ChartBar>& bars)
{
    QStringList texts;
    for (const reports::ChartBar& bar : bars)
        if (bar.amount != 0) texts << bar.label + u"="_s + store::formatMoney(bar.amount);
    return texts;
}

// 28 February 2011 is a Monday; a piece of "Топка" comes back on 1 March.
class ChartLedger : public Reports {
protected:
    ChartLedger()
    {
        ledgers::addSales(data, {{u"28. 02. 2011"_s, u"Топка"_s, 2, 1.50, Value(), 1.0},
                                 {u"1. 03. 2011"_s, u"Кукла"_s, 1, 3.35, Value(), 2.0},
                                 {u"1. 03. 2011"_s, u"Топка"_s, -1, 1.50, Value(), 1.0},
                                 {u"15. 04. 2011"_s, u"Влакче"_s, 1, 12.50, Value(), 10.0},
                                 {u"2. 03. 2012"_s, u"Кубчета"_s, 4, 2.25, Value(), 2.0}});
    }
};

} // namespace

TEST_F(ChartLedger, BucketsOfDaysWeeksAndMonthsAddUpToTheListedSumAndAReturnLowersItsBucket)
{
    EXPECT_EQ(reports::chartStep(day(1, 1), day(3, 3)), reports::ChartStep::Day) << "62 days";
    EXPECT_EQ(reports::chartStep(day(1, 1), day(4, 3)), reports::ChartStep::Week);
    EXPECT_EQ(reports::chartStep(day(1, 1), day(31, 12)), reports::ChartStep::Week);
    EXPECT_EQ(reports::chartStep(day(1, 1), day(1, 1, 2012)), reports::ChartStep::Month);

    const reports::Listing days = reports::soldInPeriod(data, day(28, 2), day(2, 3)).listing;
    EXPECT_EQ(days.chart.step, reports::ChartStep::Day);
    ASSERT_EQ(days.chart.overTime.size(), 3u);
    EXPECT_EQ(days.chart.overTime[2].label, u"2. 03."_s);
    EXPECT_EQ(filled(days.chart.overTime), (QStringList{u"28. 02.=3,00"_s, u"1. 03.=1,85"_s}));
    EXPECT_DOUBLE_EQ(total(days.chart.overTime), days.sum);

    // Tuesday 1 February to Saturday 30 April: the first and the last week cut by the period.
    const reports::Listing weeks = reports::soldInPeriod(data, day(1, 2), day(30, 4)).listing;
    EXPECT_EQ(weeks.chart.step, reports::ChartStep::Week);
    ASSERT_EQ(weeks.chart.overTime.size(), 13u);
    EXPECT_EQ(weeks.chart.overTime.front().label, u"1. 02."_s);
    EXPECT_EQ(weeks.chart.overTime.back().label, u"25. 04."_s);
    EXPECT_EQ(filled(weeks.chart.overTime), (QStringList{u"28. 02.=4,85"_s, u"11. 04.=12,50"_s}));
    EXPECT_DOUBLE_EQ(total(weeks.chart.overTime), weeks.sum);

    const reports::Listing months = reports::soldInPeriod(data, day(15, 1), day(10, 3, 2012)).listing;
    EXPECT_EQ(months.chart.step, reports::ChartStep::Month);
    ASSERT_EQ(months.chart.overTime.size(), 15u);
    EXPECT_EQ(months.chart.overTime.front().label, u"януари 2011"_s);
    EXPECT_EQ(filled(months.chart.overTime),
              (QStringList{u"февруари 2011=3,00"_s, u"март 2011=1,85"_s, u"април 2011=12,50"_s, u"март 2012=9,00"_s}));
    EXPECT_DOUBLE_EQ(total(months.chart.overTime), months.sum);

    // Between list dates the chart runs over the days of the rows listed.
    const reports::Listing entries = reports::soldBetweenEntries(data, u"1. 03. 2011"_s, u"15. 04. 2011"_s);
    EXPECT_EQ(entries.chart.overTime.front().label, u"1. 03."_s);
    EXPECT_EQ(entries.chart.overTime.back().label, u"15. 04."_s);
    EXPECT_DOUBLE_EQ(total(entries.chart.overTime), entries.sum);

    // The profit: 2 × 0.50 on 28 February; 1.35 − 0.50 on 1 March; 2.50; 4 × 0.25.
    const reports::Chart profit = reports::profitChart(data, day(1, 2), day(30, 4));
    EXPECT_EQ(filled(profit.overTime), (QStringList{u"28. 02.=1,85"_s, u"11. 04.=2,50"_s}));
    EXPECT_DOUBLE_EQ(total(profit.overTime), reports::profitInPeriod(data, day(1, 2), day(30, 4)).profit);
}

TEST_F(Reports, TopGoodsAreSummedByNameLargestFirstAndCutAtTen)
{
    std::vector<Sale> sales;
    for (int i = 1; i <= 12; ++i) sales.push_back({u"1. 03. 2011"_s, u"Стока %1"_s.arg(i), 1, double(i), Value(), 0.5});
    // "Стока 1" comes to 1 + 20 − 2 = 19, "Стока 12" loses one piece to a return: 11.
    sales.push_back({u"2. 03. 2011"_s, u"Стока 1"_s, 2, 10.0, Value(), 9.5});
    sales.push_back({u"2. 03. 2011"_s, u"Стока 1"_s, -1, 2.0, Value(), 0.5});
    sales.push_back({u"2. 03. 2011"_s, u"Стока 12"_s, -1, 1.0, Value(), 0.5});
    ledgers::addSales(data, sales);

    const reports::Chart sold = reports::soldInPeriod(data, day(1, 3), day(2, 3)).listing.chart;
    EXPECT_EQ(filled(sold.topGoods),
              (QStringList{u"Стока 1=19,00"_s, u"Стока 11=11,00"_s, u"Стока 12=11,00"_s, u"Стока 10=10,00"_s,
                           u"Стока 9=9,00"_s, u"Стока 8=8,00"_s, u"Стока 7=7,00"_s, u"Стока 6=6,00"_s,
                           u"Стока 5=5,00"_s, u"Стока 4=4,00"_s}));
    // By profit: "Стока 1" earns 0.50 + 2 × 0.50 − 1.50 = 0, "Стока 12" 11.50 − 0.50.
    const reports::Chart profit = reports::profitChart(data, day(1, 3), day(2, 3));
    ASSERT_EQ(profit.topGoods.size(), 10u);
    EXPECT_EQ(filled({profit.topGoods.front(), profit.topGoods.back()}), (QStringList{u"Стока 12=11,00"_s, u"Стока 3=2,50"_s}));

    // A name the ledger holds as a number is one goods too.
    const int first = idx::kFirstListRow + data.counter(idx::kSalesRows);
    ledgers::addSales(data, {{u"3. 03. 2011"_s, u""_s, 1, 15.0}, {u"3. 03. 2011"_s, u""_s, 1, 15.0}});
    for (int row : {first, first + 1}) data.indexSheet().setValue(row, idx::sales::kName, Value(2024));
    EXPECT_EQ(filled({reports::soldInPeriod(data, day(1, 3), day(3, 3)).listing.chart.topGoods.front()}),
              QStringList{u"2024=30,00"_s});
}
