// Speed of selling on the big shop the engine benchmark lays out (TERVIN_BENCH_SHOP): a basket
// line added and taken back with the goods lists read again each time, as the sale panel does; a
// sale of ten lines recorded and saved after 60,000 ledger rows; the invoice filled and shown.
// The shop is copied first: the sales grow the copy's ledger, not the file others time.
#include "sales/Faktura.h"
#include "sales/Koshnica.h"
#include "sales/SalesLedger.h"
#include "showcase/core/ShowcaseData.h"
#include "store/Application.h"
#include "store/DataWorkbook.h"
#include "store/Workbook.h"
#include "tools/InvoiceForm.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

const QString kBigArticle = QStringLiteral("Големи играчки");

QTemporaryDir& workDir()
{
    static QTemporaryDir dir;
    return dir;
}

// The big shop, copied and opened once.
store::Workbook& shop()
{
    static std::unique_ptr<store::Workbook> book = [] {
        const QString copy = workDir().filePath(QStringLiteral("Danni.xls"));
        if (!QFile::copy(QString::fromLocal8Bit(qgetenv("TERVIN_BENCH_SHOP")), copy))
            qFatal("TERVIN_BENCH_SHOP names no workbook; bench/run.sh lays one out");
        return store::Workbook::open(copy);
    }();
    return *book;
}

// A basket of ten lines from the big article.
sales::Koshnica tenLines()
{
    store::Worksheet& article = shop().sheets(kBigArticle);
    sales::Koshnica basket;
    for (int row = 2; basket.lines() < sales::kBasketLines; ++row)
        if (showcase::stockOf(article, row) > 0) basket.add(article, 0, row, 1);
    return basket;
}

void BM_AddAndUndoLine(benchmark::State& state)
{
    store::Worksheet& article = shop().sheets(kBigArticle);
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
    const QString form = workDir().filePath(QStringLiteral("Faktura.xls"));
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

BENCHMARK_MAIN();
