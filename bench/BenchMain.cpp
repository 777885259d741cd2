#include "bench/BenchMain.h"

#include <QFile>
#include <QtGlobal>
#include <benchmark/benchmark.h>

#include <cstdio>

namespace bench {

const QString kBigArticle = QStringLiteral("Големи играчки");

std::optional<QString> bigShopWorkbook()
{
    const QString workbook = QString::fromLocal8Bit(qgetenv("TERVIN_BENCH_SHOP"));
    if (workbook.isEmpty() || !QFile::exists(workbook)) {
        std::fprintf(stderr, "TERVIN_BENCH_SHOP must name the big shop workbook that store_bench writes\n");
        return std::nullopt;
    }
    return workbook;
}

void windowsOffscreen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

void runBenchmarks(int& argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}

} // namespace bench
