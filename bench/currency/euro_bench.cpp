// A big leva shop going over to the euro: its 60,000 goods prices converted in memory, and the
// whole step (archive copy, conversion, save). Runs on the workbook store_bench writes to
// TERVIN_BENCH_SHOP.
#include "bench/BenchMain.h"
#include "archive/Arhiv.h"
#include "currency/EuroChangeover.h"
#include "store/DataWorkbook.h"
#include "store/ProgramFiles.h"
#include "store/Workbook.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

const QString* bigShop = nullptr;   // the big shop's workbook

void BM_ConvertPricesToEuro(benchmark::State& state)
{
    const std::unique_ptr<store::Workbook> book = store::Workbook::open(*bigShop);
    const store::DataWorkbook data(*book);
    state.counters["goods"] = currency::planChangeover(data).goods;
    for (auto _ : state) {
        store::CellChanges changes = currency::convertToEuro(data);
        state.PauseTiming();
        changes.undo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ConvertPricesToEuro)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ChangeShopToEuro(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir folder;
        const QString file = folder.filePath(store::kDataFile);
        QFile::copy(*bigShop, file);
        archive::Arhiv arhiv(file);
        const std::unique_ptr<store::Workbook> book = store::Workbook::open(file);
        state.ResumeTiming();
        currency::changeShopToEuro(*book, arhiv, folder.filePath(store::kInvoiceFile));
    }
}
BENCHMARK(BM_ChangeShopToEuro)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return bench::runOnBigShop<QCoreApplication>(argc, argv, bigShop);
}
