// Speed of the reports over the whole ledgers of the big shop (60,000 sales, 20,000 purchases):
// each report with its lists filled, the order list over all articles, the profit, the from-date
// list, a PDF of every sale. Runs on the workbook store_bench writes to TERVIN_BENCH_SHOP. The
// charts are timed on a ledger of their own: 60,000 sales within one year.
#include "bench/BenchMain.h"
#include "reports/ChartPainter.h"
#include "reports/OrderList.h"
#include "reports/PrintedReport.h"
#include "reports/ReportData.h"
#include "reports/ReportWidgets.h"
#include "store/DataWorkbook.h"
#include "store/Workbook.h"
#include "store/Worksheet.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStringListModel>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

const QDate kFirstDay(2000, 1, 1);
const QDate kLastDay(2100, 12, 31);
// The big shop's last day of sales (100 a day from 1 January 2025): the order list reads its last 90.
const QDate kLastSaleDay(2026, 8, 23);

const QDate kYearStart(2025, 1, 1);
const QDate kYearEnd(2025, 12, 31);

// 60,000 sales spread over the days of 2025, of 900 goods.
std::unique_ptr<store::Workbook> yearOfSales()
{
    namespace idx = store::layout::index;
    auto book = store::DataWorkbook::createFresh();
    const store::DataWorkbook data(*book);
    store::Worksheet& index = data.indexSheet();
    constexpr int kSales = 60000;
    for (int i = 0; i < kSales; ++i) {
        const int row = idx::kFirstListRow + i;
        index.setValue(row, idx::sales::kDate, store::Value(store::formatShopDate(kYearStart.addDays(i * 365 / kSales))));
        index.setValue(row, idx::sales::kName, store::Value(QStringLiteral("Стока %1 за деца").arg(i % 900)));
        index.setValue(row, idx::sales::kCount, store::Value(i % 50 == 0 ? -1 : 1 + i % 4));
        index.setValue(row, idx::sales::kPrice, store::Value(2.5 + (i % 300) / 10.0));
        index.setValue(row, idx::sales::kPurchasePrice, store::Value(2.0 + (i % 300) / 10.0));
    }
    data.setCell(idx::kSalesRows, store::Value(kSales));
    return book;
}

// The big shop and the year of sales, made before the clock runs.
struct BigShop {
    explicit BigShop(const QString& workbook) : book(store::Workbook::open(workbook)), year(yearOfSales()) {}
    std::unique_ptr<store::Workbook> book;
    std::unique_ptr<store::Workbook> year;
};

BigShop* big = nullptr;

store::DataWorkbook shop()
{
    return store::DataWorkbook(*big->book);
}

// "За поръчка" over all articles of the big shop, its rows as the window shows them (under 200 ms).
void BM_OrderList(benchmark::State& state)
{
    reports::ReportModel list(reports::orderColumns());
    for (auto _ : state) {
        std::vector<QStringList> rows;
        for (const reports::OrderLine& line : reports::orderList(shop(), kLastSaleDay)) rows.push_back(reports::orderRow(line));
        list.setRows(std::move(rows));
    }
    state.counters["lines"] = list.rowCount();
}
BENCHMARK(BM_OrderList)->Unit(benchmark::kMillisecond);

void BM_FromDateList(benchmark::State& state)
{
    QStringListModel list;
    for (auto _ : state) list.setStringList(reports::saleDates(shop()));
    state.counters["dates"] = list.rowCount();
}
BENCHMARK(BM_FromDateList)->Unit(benchmark::kMillisecond);

void BM_SoldReportByListDates(benchmark::State& state)
{
    reports::ReportModel lists(reports::soldColumns());
    QStringListModel dates;
    for (auto _ : state) {
        dates.setStringList(reports::saleDates(shop()));
        const QStringList all = dates.stringList();
        lists.setRows(reports::soldBetweenEntries(shop(), all.first(), all.last()).rows);
    }
    state.counters["rows"] = lists.rowCount();
}
BENCHMARK(BM_SoldReportByListDates)->Unit(benchmark::kMillisecond);

void BM_SoldReportByPickers(benchmark::State& state)
{
    reports::ReportModel lists(reports::soldColumns());
    for (auto _ : state) lists.setRows(reports::soldInPeriod(shop(), kFirstDay, kLastDay).listing.rows);
    state.counters["rows"] = lists.rowCount();
}
BENCHMARK(BM_SoldReportByPickers)->Unit(benchmark::kMillisecond);

void BM_PurchasedReport(benchmark::State& state)
{
    reports::ReportModel lists(reports::purchasedColumns());
    for (auto _ : state) lists.setRows(reports::purchasedInPeriod(shop(), kFirstDay, kLastDay).listing.rows);
    state.counters["rows"] = lists.rowCount();
}
BENCHMARK(BM_PurchasedReport)->Unit(benchmark::kMillisecond);

void BM_ProfitReport(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(reports::profitInPeriod(shop(), kFirstDay, kLastDay).profit);
}
BENCHMARK(BM_ProfitReport)->Unit(benchmark::kMillisecond);

void BM_SoldReportPdf(benchmark::State& state)
{
    const reports::PeriodListing sold = reports::soldInPeriod(shop(), kFirstDay, kLastDay);
    const reports::PrintedReport report{QStringLiteral("Справка за продадени стоки"),
                                        reports::periodText(kFirstDay, kLastDay), reports::soldColumns(),
                                        sold.listing.rows, QStringLiteral("Сума за периода: %1 лв.").arg(sold.listing.sum)};
    const QString path = QDir::temp().filePath(QStringLiteral("tervin-bench-report.pdf"));
    for (auto _ : state)
        if (!reports::writePdf(report, path)) state.SkipWithError("the PDF could not be written");
    state.counters["rows"] = double(report.rows.size());
    state.counters["MB"] = double(QFile(path).size()) / 1e6;
    QFile::remove(path);
}
BENCHMARK(BM_SoldReportPdf)->Unit(benchmark::kMillisecond)->Iterations(2);

// A report's two charts painted as its window shows them, one above the other.
void paintCharts(QImage& image, const reports::ChartPicture& overTime, const reports::ChartPicture& top)
{
    image.fill(Qt::white);
    QPainter painter(&image);
    paintChart(painter, QRectF(0, 0, 420, 170), overTime);
    paintChart(painter, QRectF(0, 180, 420, 240), top);
}

// The sold goods of the year with their chart, as the window gets them, and the chart painted.
void BM_SoldChartOfAYear(benchmark::State& state)
{
    QImage image(420, 420, QImage::Format_RGB32);
    size_t bars = 0;
    for (auto _ : state) {
        const reports::Chart chart = reports::soldInPeriod(store::DataWorkbook(*big->year), kYearStart, kYearEnd).listing.chart;
        paintCharts(image, reports::overTimePicture(chart, QStringLiteral("Продажби")),
                    reports::topGoodsPicture(chart, QStringLiteral("сума")));
        bars = chart.overTime.size();
    }
    state.counters["bars"] = double(bars);
}
BENCHMARK(BM_SoldChartOfAYear)->Unit(benchmark::kMillisecond);

// The profit of the year and its chart, as the window computes them, and the chart painted.
void BM_ProfitChartOfAYear(benchmark::State& state)
{
    QImage image(420, 420, QImage::Format_RGB32);
    for (auto _ : state) {
        const store::DataWorkbook year(*big->year);
        benchmark::DoNotOptimize(reports::profitInPeriod(year, kYearStart, kYearEnd).profit);
        const reports::Chart chart = reports::profitChart(year, kYearStart, kYearEnd);
        paintCharts(image, reports::overTimePicture(chart, QStringLiteral("Печалба")),
                    reports::topGoodsPicture(chart, QStringLiteral("печалба")));
    }
}
BENCHMARK(BM_ProfitChartOfAYear)->Unit(benchmark::kMillisecond);

} // namespace

// Painting the PDF needs the fonts of a GUI application; no screen is needed.
int main(int argc, char** argv)
{
    return bench::runOnBigShop<QGuiApplication>(argc, argv, big);
}
