// Speed of selling on the big shop the engine benchmark lays out (TERVIN_BENCH_SHOP): a basket
// line added and taken back with the goods lists read again each time, as the sale panel does; a
// sale of ten lines recorded and saved after 60,000 ledger rows; the invoice filled and shown.
// The shop is copied first: the sales grow the copy's ledger, not the file others time.
#include "bench/BenchMain.h"
#include "sales/Faktura.h"
#include "sales/Koshnica.h"
#include "sales/SalesLedger.h"
#include "showcase/core/ShowcaseData.h"
#include "store/Application.h"
#include "store/DataWorkbook.h"
#include "store/ProgramFiles.h"
#include "store/Workbook.h"
#include "tools/InvoiceForm.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

// The big shop, copied and opened once, in a folder of its own.
struct BigShop {
    explicit BigShop(const QString& workbook)
    {
        const QString copy = folder.filePath(store::kDataFile);
        QFile::copy(workbook, copy);
        book = store::Workbook::open(copy);
    }
    QTemporaryDir folder;
    std::unique_ptr<store::Workbook> book;
};

BigShop* big = nullptr;

store::Workbook& shop()
{
    return *big->book;
}

// A basket of ten lines from the big article.
sales::Koshnica tenLines()
{
    store::Worksheet& article = shop().sheets(bench::kBigArticle);
    sales::Koshnica basket;
    for (int row = 2; basket.lines() < sales::kBasketLines; ++row)
        if (showcase::stockOf(article, row) > 0) basket.add(article, 0, row, 1);
    return basket;
}

void BM_AddAndUndoLine(benchmark::State& state)
{
    store::Worksheet& article = shop().sheets(bench::kBigArticle);
    const int goods = store::DataWorkbook(shop()).goodsCount(article);
    const int row = store::layout::article::recordRow(goods / 2);
    sales::Koshnica basket;
    for (auto _ : state) {
        basket.add(article, 0, row, 1);
        basket.undoLast(shop());
    }
}
BENCHMARK(BM_AddAndUndoLine)->Unit(benchmark::kMillisecond);

void BM_RecordTenLineSale(benchmark::State& state)
{
    sales::Koshnica basket = tenLines();
    const store::DataWorkbook data(shop());
    for (auto _ : state) sales::ProdajbiDobavi(data, basket, true);
}
BENCHMARK(BM_RecordTenLineSale)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_FillAndShowInvoice(benchmark::State& state)
{
    const QString form = big->folder.filePath(store::kInvoiceFile);
    demo::makeInvoiceForm()->SaveAs(form);
    store::Application faktura;
    faktura.Workbooks().Open(form);
    const sales::Koshnica basket = tenLines();
    sales::InvoiceData data;
    data.number = QStringLiteral("20001");
    data.company = QStringLiteral("Детска радост ООД");
    data.payment = sales::InvoiceData::Payment::Cash;
    for (auto _ : state) {
        faktura.setVisible(false);
        sales::PokajiFakturata(faktura, form, store::Currency::Leva, basket, data);
    }
}
BENCHMARK(BM_FillAndShowInvoice)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::runOnBigShop<QCoreApplication>(argc, argv, big);
}
