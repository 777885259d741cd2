// Speed of searching and sorting as the shop keeper sees it, windows included, on the big shop's
// article of 9,999 goods: the first search and "Следващ", filling both price lists, the price
// listing of every record and the missing-goods listing up to the dialog drawn again, and a sort
// with the showcase drawn again.
// Runs on the workbook store_bench writes to TERVIN_BENCH_SHOP.
#include "app/Form1.h"
#include "bench/BenchMain.h"
#include "common/Controls.h"
#include "common/Shop.h"
#include "search/Form3.h"
#include "search/Listings.h"
#include "search/ResultBox.h"
#include "search/Sortirane.h"
#include "search/Tyrsene.h"
#include "showcase/Vitrina.h"
#include "showcase/core/ArticleList.h"
#include "store/ProgramFiles.h"
#include "store/Workbook.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

// The main window on the big shop with its big article chosen, and the search dialog open on it.
struct BigShop {
    BigShop(const QString& workbook) : shop(folder.path())
    {
        QFile::copy(workbook, shop.file(store::kDataFile));
        shop.ObektEksel = shop.newApplication();
        shop.ObektEksel->Workbooks().Open(shop.file(store::kDataFile));
        main = std::make_unique<app::Form1>(shop);
        main->vitrina().ZarediArtikuli();
        const int big = main->articles().rowOf(bench::kBigArticle);
        main->articles().choose(big);
        main->tyrsene().open();
        dialog().pickArticle(big);
    }
    search::Form3& dialog() const { return *main->tyrsene().dialog(); }
    // What a press leaves waiting is done and the dialog drawn, as the shop keeper sees it.
    void drawn() const
    {
        QCoreApplication::processEvents();
        dialog().repaint();
    }
    void chooseMode(search::Tyrsene::Mode mode) const
    {
        dialog().pickArticle(dialog().Combo1->currentIndex());
        dialog().Option1[size_t(mode)]->setChecked(true);
    }

    QTemporaryDir folder;
    app::Shop shop;
    std::unique_ptr<app::Form1> main;
};

BigShop* big = nullptr;

void BM_SearchFirst(benchmark::State& state)
{
    big->chooseMode(search::Tyrsene::ByName);
    big->dialog().Text1->setText(QStringLiteral("мече"));
    for (auto _ : state) big->dialog().Command2->click();
}
BENCHMARK(BM_SearchFirst)->Unit(benchmark::kMillisecond);

void BM_SearchNext(benchmark::State& state)
{
    big->chooseMode(search::Tyrsene::ByName);
    big->dialog().Text1->setText(QStringLiteral("мече"));
    big->dialog().Command2->click();
    for (auto _ : state) {
        // A pass ends after 1,000 hits; start another to go on walking.
        if (big->dialog().Command3->isHidden()) big->dialog().Command2->click();
        big->dialog().Command3->click();
    }
}
BENCHMARK(BM_SearchNext)->Unit(benchmark::kMillisecond);

void BM_FillPriceLists(benchmark::State& state)
{
    for (auto _ : state) big->chooseMode(search::Tyrsene::Price);
    state.counters["entries"] = big->dialog().Combo2->count();
}
BENCHMARK(BM_FillPriceLists)->Unit(benchmark::kMillisecond);

void BM_PriceListingOfAllShown(benchmark::State& state)
{
    big->chooseMode(search::Tyrsene::Price);
    search::Form3& d = big->dialog();
    d.Combo2->setCurrentIndex(d.Combo2->count() - 1);   // "0 лв."
    int dearest = 0;
    for (int i = 1; i < d.Combo3->count(); ++i)
        if (search::entryPrice(d.Combo3->itemText(i)) > search::entryPrice(d.Combo3->itemText(dearest))) dearest = i;
    d.Combo3->setCurrentIndex(dearest);
    for (auto _ : state) {
        d.Command4->click();
        big->drawn();
    }
    state.counters["lines"] = d.Text2->text().count(QStringLiteral("\r\n"));
}
BENCHMARK(BM_PriceListingOfAllShown)->Unit(benchmark::kMillisecond);

void BM_MissingGoodsShown(benchmark::State& state)
{
    for (auto _ : state) {
        big->chooseMode(search::Tyrsene::Missing);
        big->drawn();
    }
    state.counters["lines"] = big->dialog().Text2->text().count(QStringLiteral("\r\n"));
}
BENCHMARK(BM_MissingGoodsShown)->Unit(benchmark::kMillisecond);

void BM_SortByNameWithShowcase(benchmark::State& state)
{
    bool down = false;
    for (auto _ : state) {
        down ? big->main->sortirane().SortiraiPoIme2() : big->main->sortirane().SortiraiPoIme1();
        down = !down;
    }
}
BENCHMARK(BM_SortByNameWithShowcase)->Unit(benchmark::kMillisecond);

void BM_SortByPriceWithShowcase(benchmark::State& state)
{
    bool down = false;
    for (auto _ : state) {
        down ? big->main->sortirane().SortiraiPoCena2() : big->main->sortirane().SortiraiPoCena1();
        down = !down;
    }
}
BENCHMARK(BM_SortByPriceWithShowcase)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
    return bench::runOnBigShop<QApplication>(argc, argv, big);
}
