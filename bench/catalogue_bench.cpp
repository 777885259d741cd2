// Speed of the catalogue on a big shop: the goods editor on an article of 9,999 goods, with the
// showcase drawn again after each change, and the save that follows a change. The shop is the one
// store_bench wrote to TERVIN_BENCH_SHOP when that is set, otherwise an article of 9,999 goods made
// here. The windows run offscreen.
#include "app/Form1.h"
#include "app/Form10.h"
#include "app/Program.h"
#include "bench/BenchMain.h"
#include "catalogue/Form4.h"
#include "catalogue/core/GoodsStore.h"
#include "showcase/Vitrina.h"
#include "showcase/core/ArticleList.h"
#include "store/DataWorkbook.h"
#include "store/ProgramFiles.h"
#include "store/Workbook.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

namespace art = store::layout::article;
namespace idx = store::layout::index;

void makeDataWorkbook(const QString& path)
{
    const QByteArray given = qgetenv("TERVIN_BENCH_SHOP");
    if (!given.isEmpty() && QFile::copy(QString::fromLocal8Bit(given), path)) return;
    auto book = store::DataWorkbook::createFresh();
    store::Worksheet& sheet = book->sheetsAdd();
    sheet.setName(bench::kBigArticle);
    sheet.cells(art::kCountFormulaCell.row, art::kCountFormulaCell.col).setFormulaR1C1(art::kCountFormulaR1C1);
    for (int k = 1; k <= bench::kBigCount; ++k) {
        const int row = art::recordRow(k);
        sheet.setValue(row, art::kName, store::Value(QStringLiteral("Стока %1 за деца").arg(k)));
        sheet.setValue(row, art::kPurchasePrice, store::Value(1 + k % 50));
        sheet.setValue(row, art::kMarkup, store::Value(25));
        sheet.setValue(row, art::kPrice, store::Value((1 + k % 50) * 1.25));
        sheet.setValue(row, art::kStock, store::Value(k % 40));
        sheet.setValue(row, art::kPicture, store::Value(QStringLiteral("s%1.jpg").arg(k)));
    }
    store::DataWorkbook(*book).setCell(idx::kSheetCount, store::Value(2));
    book->SaveAs(path);
}

// A program folder around the big shop, the program started on it and logged in, the big article
// chosen.
struct BigShop {
    QTemporaryDir dir;
    bench::QuietMessages answers;
    std::unique_ptr<app::Program> program;
    app::Form1* w = nullptr;

    BigShop()
    {
        makeDataWorkbook(dir.filePath(store::kDataFile));
        store::Workbook().SaveAs(dir.filePath(store::kInvoiceFile));
        const QDir pictures(dir.filePath(store::kPictureFolder));
        pictures.mkpath(bench::kBigArticle);
        QImage picture(60, 60, QImage::Format_RGB32);
        picture.fill(Qt::gray);
        for (const QString& name : {store::kNoPicture, store::kNoGoods}) picture.save(pictures.filePath(name), "JPEG");
        program = std::make_unique<app::Program>(dir.path());
        if (!program->start()) qFatal("the program did not start");
        program->loginWindow()->Command1->click();
        w = program->mainWindow();
        const int found = w->articles().rowOf(bench::kBigArticle);
        if (found < 0) qFatal("no big article");
        w->articles().choose(found);
    }
    catalogue::Form4* editor() const
    {
        return qobject_cast<catalogue::Form4*>(program->shop().windows.window(4));
    }
    catalogue::GoodsStore goods() const
    {
        return catalogue::GoodsStore(program->shop().data(), bench::kBigArticle, dir.filePath(store::kPictureFolder));
    }
};

// Made by the first benchmark that needs it; it goes before the application does.
std::unique_ptr<BigShop>& bigShop()
{
    static std::unique_ptr<BigShop> big;
    return big;
}

BigShop& shop()
{
    if (!bigShop()) bigShop() = std::make_unique<BigShop>();
    return *bigShop();
}

void closeEditor()
{
    if (catalogue::Form4* editor = shop().editor()) editor->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void BM_OpenGoodsEditor(benchmark::State& state)
{
    BigShop& big = shop();
    for (auto _ : state) {
        big.w->Command5->click();
        state.PauseTiming();
        closeEditor();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenGoodsEditor)->Unit(benchmark::kMillisecond);

void BM_StepRecord(benchmark::State& state)
{
    BigShop& big = shop();
    big.w->Command5->click();
    catalogue::Form4* e = big.editor();
    e->Text8->setText(QStringLiteral("5000"));
    bool forward = true;
    for (auto _ : state) {
        e->Text8->setText(QString::number(forward ? 5001 : 5000));
        forward = !forward;
    }
    closeEditor();
}
BENCHMARK(BM_StepRecord)->Unit(benchmark::kMillisecond);

catalogue::GoodsFields newGoods()
{
    return {QStringLiteral("Нова стока"), QStringLiteral("12,50"), QStringLiteral("4"), QStringLiteral("20"), 0, {}, {}};
}

// Appending with the showcase drawn again, then taking the record away untimed.
void BM_AppendRecord(benchmark::State& state)
{
    BigShop& big = shop();
    catalogue::GoodsStore goods = big.goods();
    goods.IztriiStoka(goods.count());
    for (auto _ : state) {
        if (goods.DobaviStokaVEksel(newGoods(), {}, QDate::currentDate()).refusal) state.SkipWithError("refused");
        big.w->vitrina().chooseArticle();
        state.PauseTiming();
        goods.IztriiStoka(goods.count());
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AppendRecord)->Unit(benchmark::kMillisecond);

void BM_DeleteRecord(benchmark::State& state)
{
    BigShop& big = shop();
    catalogue::GoodsStore goods = big.goods();
    for (auto _ : state) {
        state.PauseTiming();
        goods.IztriiStoka(goods.count());
        goods.DobaviStokaVEksel(newGoods(), {}, QDate::currentDate());
        state.ResumeTiming();
        goods.IztriiStoka(1);
        big.w->vitrina().chooseArticle();
    }
}
BENCHMARK(BM_DeleteRecord)->Unit(benchmark::kMillisecond);

void BM_SaveAfterChange(benchmark::State& state)
{
    BigShop& big = shop();
    for (auto _ : state) big.program->shop().danni().Save();
}
BENCHMARK(BM_SaveAfterChange)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    bench::windowsOffscreen();
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    bench::runBenchmarks(argc, argv);
    bigShop().reset();
    return 0;
}
