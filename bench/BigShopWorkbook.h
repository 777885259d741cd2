#pragma once

#include <QFile>
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <optional>

// The big shop workbook that store_bench writes, as TERVIN_BENCH_SHOP names it; nothing, with a
// line on stderr, when it is not there.
inline std::optional<QString> bigShopWorkbook()
{
    const QString workbook = QString::fromLocal8Bit(qgetenv("TERVIN_BENCH_SHOP"));
    if (workbook.isEmpty() || !QFile::exists(workbook)) {
        std::fprintf(stderr, "TERVIN_BENCH_SHOP must name the big shop workbook that store_bench writes\n");
        return std::nullopt;
    }
    return workbook;
}
