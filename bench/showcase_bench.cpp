// Choosing an article in the main window as the shop keeper does, to the repaint: the showcase,
// the goods list and the stock list of the big shop's article of 9,999 goods. Runs on the workbook
// store_bench writes to TERVIN_BENCH_SHOP.
#include "app/Form1.h"
#include "showcase/core/ArticleList.h"
#include "bench/BigShopWorkbook.h"
#include "common/Messages.h"
#include "common/Shop.h"
#include "showcase/Vitrina.h"
#include "store/Workbook.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

const QString kBigArticle = QStringLiteral("Големи играчки");

class QuietMessages final : public app::MessageService {
public:
    app::Answer show(const app::Message&) override { return app::Answer::Ok; }
};

// The main window on screen over the big shop.
struct BigShop {
    explicit BigShop(const QString& workbook) : shop(folder.path())
    {
        QFile::copy(workbook, shop.file(QStringLiteral("Danni.xls")));
        shop.ObektEksel = shop.newApplication();
        shop.ObektEksel->Workbooks().Open(shop.file(QStringLiteral("Danni.xls")));
        main = std::make_unique<app::Form1>(shop);
        main->vitrina().ZarediArtikuli();
        main->show();
        bigRow = main->articles().rowOf(kBigArticle);
        smallRow = bigRow == 0 ? 1 : 0;
    }

    QTemporaryDir folder;
    app::Shop shop;
    std::unique_ptr<app::Form1> main;
    int bigRow = 0;
    int smallRow = 0;   // an article of 1,000 goods
};

BigShop* big = nullptr;

// What the event loop does before the screen shows a change: the lists lay out their entries
// (a view does that when its events come round), then the window is painted.
void showNow(QWidget& window)
{
    QCoreApplication::processEvents();
    window.repaint();
}

// The big article is chosen after a small one each time, so every pass fills both lists anew.
void BM_ChooseBigArticle(benchmark::State& state)
{
    showcase::ArticleList& articles = big->main->articles();
    for (auto _ : state) {
        state.PauseTiming();
        articles.choose(big->smallRow);
        showNow(*big->main);
        state.ResumeTiming();
        articles.choose(big->bigRow);
        showNow(*big->main);
    }
    state.counters["goods"] = big->main->List2->model()->rowCount();
}
BENCHMARK(BM_ChooseBigArticle)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
    const auto workbook = bigShopWorkbook();
    if (!workbook) return 1;
    QuietMessages quiet;
    app::installMessageService(&quiet);
    {
        BigShop shop(*workbook);
        big = &shop;
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        big = nullptr;
    }
    app::installMessageService(nullptr);
    return 0;
}
