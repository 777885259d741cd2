// Speed of the engine on a big shop: 50 articles of 1,000 goods, one of 9,999, 60,000 sales and
// 20,000 purchases. The workbook is made once and written to TERVIN_BENCH_SHOP (or a temporary
// file) so that the run script can hand the same file to another spreadsheet program.
#include "bench/BenchMain.h"
#include "store/DataWorkbook.h"
#include "store/Workbook.h"
#include "store/xls/BiffRecords.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace store;
namespace art = store::layout::article;
namespace idx = store::layout::index;

namespace {

void fillArticle(Worksheet& sheet, int goods, int seed)
{
    sheet.cells(art::kCountFormulaCell.row, art::kCountFormulaCell.col).setFormulaR1C1(art::kCountFormulaR1C1);
    for (int k = 1; k <= goods; ++k) {
        const int row = art::recordRow(k);
        const double cost = 1 + ((k * 7919 + seed) % 5000) / 100.0;
        const int stock = (k * 31 + seed) % 40;
        const QString name = (k % 10 == 0 ? QStringLiteral("Плюшено мече %1") : QStringLiteral("Стока %1 за деца")).arg(k * 13 % 100003);
        sheet.setValue(row, art::kName, Value(name));
        sheet.setValue(row, art::kPrice, Value(cost * 1.25));
        sheet.setValue(row, art::kStock, Value(stock));
        sheet.setValue(row, art::kStockValue, Value(cost * 1.25 * stock));
        sheet.setValue(row, art::kAvailability, Value(stock > 0 ? art::kAvailable : art::kNotAvailable));
        sheet.setValue(row, art::kMaker, Value(QStringLiteral("Производител %1").arg(k % 17)));
        sheet.setValue(row, art::kDescription, Value(QStringLiteral("Описание на стоката, номер %1").arg(k)));
        sheet.setValue(row, art::kPromotion, Value(k % 7 == 0 ? 1 : 0));
        sheet.setValue(row, art::kPicture, Value(QStringLiteral("s%1.jpg").arg(k)));
        sheet.setValue(row, art::kPurchasePrice, Value(cost));
        sheet.setValue(row, art::kMarkup, Value(25));
        sheet.setValue(row, art::kSold, Value(k % 5));
    }
}

void fillLedgers(DataWorkbook& data)
{
    Worksheet& index = data.indexSheet();
    const QDate start(2025, 1, 1);
    for (int i = 0; i < 60000; ++i) {
        const int row = idx::kFirstListRow + i;
        index.setValue(row, idx::sales::kDate, Value(formatShopDate(start.addDays(i / 100))));
        index.setValue(row, idx::sales::kName, Value(QStringLiteral("Стока %1 за деца").arg(i % 9000)));
        index.setValue(row, idx::sales::kCount, Value(1 + i % 4));
        index.setValue(row, idx::sales::kPrice, Value(2.5 + (i % 300) / 10.0));
        if (i % 3 == 0) index.setValue(row, idx::sales::kInvoice, Value(QStringLiteral("%1").arg(i / 3 + 1, 10, 10, QLatin1Char('0'))));
        index.setValue(row, idx::sales::kPurchasePrice, Value(2.0 + (i % 300) / 10.0));
    }
    for (int i = 0; i < 20000; ++i) {
        const int row = idx::kFirstListRow + i;
        index.setValue(row, idx::purchases::kDate, Value(formatShopDate(start.addDays(i / 40))));
        index.setValue(row, idx::purchases::kName, Value(QStringLiteral("Стока %1 за деца").arg(i)));
        index.setValue(row, idx::purchases::kCount, Value(QString::number(1 + i % 20)));
        index.setValue(row, idx::purchases::kPrice, Value(QString::number(1.5 + (i % 90) / 10.0)));
    }
    data.setCell(idx::kSalesRows, Value(60000));
    data.setCell(idx::kPurchaseRows, Value(20000));
    data.setCell(idx::kLastInvoice, Value(20000));
}

std::unique_ptr<Workbook> makeBigShop()
{
    auto book = DataWorkbook::createFresh();
    DataWorkbook data(*book);
    for (int a = 1; a <= 50; ++a) {
        Worksheet& sheet = book->sheetsAdd();
        sheet.setName(QStringLiteral("Артикул %1").arg(a));
        fillArticle(sheet, 1000, a);
    }
    Worksheet& big = book->sheetsAdd();
    big.setName(bench::kBigArticle);
    fillArticle(big, bench::kBigCount, 99);
    data.setCell(idx::kSheetCount, Value(book->sheetCount()));
    fillLedgers(data);
    return book;
}

QString shopPath()
{
    static const QString path = [] {
        const QByteArray env = qgetenv("TERVIN_BENCH_SHOP");
        const QString p = env.isEmpty() ? QDir::temp().filePath(QStringLiteral("tervin-bench-Danni.xls")) : QString::fromLocal8Bit(env);
        makeBigShop()->SaveAs(p);
        return p;
    }();
    return path;
}

// One opened copy of the shop that the in-memory benchmarks work on.
Workbook& openShop()
{
    static std::unique_ptr<Workbook> book = Workbook::open(shopPath());
    return *book;
}

void BM_Open(benchmark::State& state)
{
    const QString path = shopPath();
    for (auto _ : state) benchmark::DoNotOptimize(Workbook::open(path));
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_Save(benchmark::State& state)
{
    Workbook& book = openShop();
    const QString out = shopPath() + QStringLiteral(".saved.xls");
    for (auto _ : state) book.SaveAs(out);
    QFile::remove(out);
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_ReadNamesAndStock(benchmark::State& state)
{
    Worksheet& sheet = openShop().sheets(bench::kBigArticle);
    for (auto _ : state) {
        qsizetype chars = 0;
        for (int k = 1; k <= bench::kBigCount; ++k) {
            chars += sheet.value(art::recordRow(k), art::kName).toText().size();
            chars += sheet.value(art::recordRow(k), art::kStock).toText().size();
        }
        benchmark::DoNotOptimize(chars);
    }
}
BENCHMARK(BM_ReadNamesAndStock)->Unit(benchmark::kMillisecond);

void BM_FindNoHit(benchmark::State& state)
{
    Worksheet& sheet = openShop().sheets(bench::kBigArticle);
    for (auto _ : state) benchmark::DoNotOptimize(sheet.Range(QStringLiteral("B2:B10000")).Find(QStringLiteral("самолетоносач")));
}
BENCHMARK(BM_FindNoHit)->Unit(benchmark::kMillisecond);

void BM_FindNextEveryHit(benchmark::State& state)
{
    Worksheet& sheet = openShop().sheets(bench::kBigArticle);
    int hits = 0;
    for (auto _ : state) {
        hits = 0;
        const auto first = sheet.Range(QStringLiteral("B2:B10000")).Find(QStringLiteral("мече"));
        for (auto hit = first; hit; ++hits) {
            hit = sheet.Range(QStringLiteral("B2:B10000")).FindNext(*hit);
            if (hit && hit->row() == first->row()) break;
        }
    }
    state.counters["hits"] = hits;
}
BENCHMARK(BM_FindNextEveryHit)->Unit(benchmark::kMillisecond);

void sortBy(benchmark::State& state, int column)
{
    Worksheet& sheet = openShop().sheets(bench::kBigArticle);
    const QString last = QString::number(art::recordRow(bench::kBigCount));
    bool down = false;
    for (auto _ : state) {
        sheet.Range(QStringLiteral("A2:R") + last).Sort(sheet.cells(2, column), down ? SortOrder::Descending : SortOrder::Ascending);
        down = !down;
    }
}

void BM_SortByPrice(benchmark::State& state) { sortBy(state, art::kPrice); }
BENCHMARK(BM_SortByPrice)->Unit(benchmark::kMillisecond);

void BM_SortByName(benchmark::State& state) { sortBy(state, art::kName); }
BENCHMARK(BM_SortByName)->Unit(benchmark::kMillisecond);

void BM_DeleteRow2(benchmark::State& state)
{
    Worksheet& sheet = openShop().sheets(bench::kBigArticle);
    for (auto _ : state) sheet.Rows(2).Delete();
}
BENCHMARK(BM_DeleteRow2)->Unit(benchmark::kMillisecond)->Iterations(200);

// An array formula of another program's file over 2,000 rows, {=A1:A2000*B1:B2000} in C1:C2000:
// a changed input brings the whole block up to date, each cell its element.
void BM_ArrayFormulaBlock(benchmark::State& state)
{
    constexpr int kRows = 2000;
    Workbook book;
    Worksheet& sheet = book.sheets(1);
    for (int row = 1; row <= kRows; ++row) {
        sheet.setValue(row, 1, Value(row));
        sheet.setValue(row, 2, Value(2));
    }
    KeptArray array{xls::rec::Array, QByteArray("\0\0\xCF\x07\x02\x02", 6)};   // C1:C2000, 0-based
    sheet.kept().arrays.push_back(array);
    const Formula whole = Formula::parseA1(QStringLiteral("=A1:A2000*B1:B2000"), 1, 3);
    const QByteArray firstCell("\x01\0\0\x02\0", 5);   // the block's first cell, as its cells point at it
    for (int row = 1; row <= kRows; ++row)
        sheet.putFormula(row, 3, Formula::kept(firstCell, Value(), {}, row, 3).computingArray(whole, row - 1, 0, kRows),
                         Value(), kDefaultCellFormat);
    int step = 0;
    for (auto _ : state) {
        sheet.setValue(1, 1, Value(++step));
        double total = 0;
        for (int row = 1; row <= kRows; ++row) total += sheet.value(row, 3).number();
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_ArrayFormulaBlock)->Unit(benchmark::kMillisecond);

// Peak resident memory of the whole run, for the run script.
long peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLong() / 1024;
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    bench::runBenchmarks(argc, argv);
    std::fprintf(stderr, "peak_memory_mb %ld\n", peakMegabytes());
    return 0;
}
