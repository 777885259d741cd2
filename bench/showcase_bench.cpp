// Choosing an article in the main window as the shop keeper does, to the repaint: the showcase,
// the goods list and the stock list of the big shop's article of 9,999 goods; and a code scanned
// at the till, to the goods in the basket. Runs on the workbook store_bench writes to
// TERVIN_BENCH_SHOP.
#include "app/Form1.h"
#include "bench/BenchMain.h"
#include "common/Shop.h"
#include "sales/SalePanel.h"
#include "showcase/Vitrina.h"
#include "showcase/core/ArticleList.h"
#include "store/DataWorkbook.h"
#include "store/ProgramFiles.h"
#include "store/Workbook.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QListView>
#include <QLocale>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

// The main window on screen over the big shop.
struct BigShop {
    explicit BigShop(const QString& workbook) : shop(folder.path())
    {
        QFile::copy(workbook, shop.file(store::kDataFile));
        shop.ObektEksel = shop.newApplication();
        shop.ObektEksel->Workbooks().Open(shop.file(store::kDataFile));
        main = std::make_unique<app::Form1>(shop);
        main->vitrina().ZarediArtikuli();
        main->show();
        bigRow = main->articles().rowOf(bench::kBigArticle);
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

void typeKey(QWidget* into, Qt::Key key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(into, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(into, &release);
}

// A scanner types the code of the big article's last goods and Enter into the main window, with
// a small article on show: the code is looked up over the articles, the big article chosen and
// its last page shown, one piece goes into the basket, and the window is drawn again. The line
// goes back into stock between the rounds.
void BM_ScanToBasket(benchmark::State& state)
{
    const QString code = QStringLiteral("4006381333931");
    store::Worksheet& article = big->shop.danni().sheets(bench::kBigArticle);
    const int row = store::layout::article::recordRow(bench::kBigCount);
    article.setValue(row, store::layout::article::kBarcode, code);
    article.setValue(row, store::layout::article::kStock, 40);
    showcase::ArticleList& articles = big->main->articles();
    sales::SalePanel& panel = big->main->salePanel();
    for (auto _ : state) {
        state.PauseTiming();
        articles.choose(big->smallRow);
        showNow(*big->main);
        state.ResumeTiming();
        for (QChar digit : code) typeKey(big->main->List1, Qt::Key(digit.unicode()), QString(digit));
        typeKey(big->main->List1, Qt::Key_Return, QStringLiteral("\r"));
        showNow(*big->main);
        state.PauseTiming();
        if (panel.basket().lines() != 1) {
            state.SkipWithError("the scanned goods did not reach the basket");
            break;
        }
        panel.undoLast();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ScanToBasket)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char** argv)
{
    QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
    return bench::runOnBigShop<QApplication>(argc, argv, big);
}
