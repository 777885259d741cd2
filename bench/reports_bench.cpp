// Speed of the reports over the whole ledgers of the big shop (60,000 sales, 20,000 purchases):
// each report with its lists filled, the order list over all articles, the profit, the from-date list, a PDF of every sale. Runs on
// the workbook store_bench writes to TERVIN_BENCH_SHOP.
#include "bench/BenchMain.h"
#include "reports/OrderList.h"
#include "reports/PrintedReport.h"
#include "reports/ReportData.h"
#include "reports/ReportWidgets.h"
#include "store/DataWorkbook.h"
#include "store/Workbook.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QStringListModel>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

const QDate kFirstDay(2000, 1, 1);
const QDate kLastDay(2100, 12, 31);
// The big shop's last day of sales (100 a day from 1 January 2025): the order list reads its last 90.
const QDate kLastSaleDay(2026, 8, 23);

// The big shop, opened before the clock runs.
struct BigShop {
    explicit BigShop(const QString& workbook) : book(store::Workbook::open(workbook)) {}
    std::unique_ptr<store::Workbook> book;
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

} // namespace

// Painting the PDF needs the fonts of a GUI application; no screen is needed.
int main(int argc, char** argv)
{
    return bench::runOnBigShop<QGuiApplication>(argc, argv, big);
}
