// What the archive adds to the day's first save of the big shop: the copy of the file as it stands
// (with the removal of copies no longer kept), the day's first save with it, and a later save of
// the same day without it. Runs on the workbook store_bench writes to TERVIN_BENCH_SHOP.
#include "bench/BenchMain.h"
#include "common/Shop.h"
#include "store/ProgramFiles.h"
#include "store/Workbook.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// The big shop opened as the program opens it, with a clock that the cases move a day at a time.
struct BigShop {
    explicit BigShop(const QString& workbook) : shop(folder.path())
    {
        QFile::copy(workbook, shop.file(store::kDataFile));
        shop.arhiv.setClock([this] { return now; });
        shop.openDanni();
    }
    QTemporaryDir folder;
    app::Shop shop;
    QDateTime now{QDate(2026, 1, 1), QTime(9, 0)};
};

BigShop* big = nullptr;

void BM_DailyCopy(benchmark::State& state)
{
    for (auto _ : state) {
        big->now = big->now.addDays(1);
        if (!big->shop.arhiv.makeDailyCopy()) state.SkipWithError("no copy was made");
    }
}
BENCHMARK(BM_DailyCopy)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_FirstSaveOfTheDay(benchmark::State& state)
{
    for (auto _ : state) {
        big->now = big->now.addDays(1);
        big->shop.danni().Save();
    }
}
BENCHMARK(BM_FirstSaveOfTheDay)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_LaterSaveOfTheDay(benchmark::State& state)
{
    big->shop.danni().Save();
    for (auto _ : state) big->shop.danni().Save();
}
BENCHMARK(BM_LaterSaveOfTheDay)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char** argv)
{
    return bench::runOnBigShop<QCoreApplication>(argc, argv, big);
}
