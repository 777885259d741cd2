#include "search/Sorting.h"

#include "store/DataWorkbook.h"
#include "store/RowKeeper.h"
#include "store/Workbook.h"
#include "store/Worksheet.h"

#include <algorithm>

namespace search {

namespace col = store::layout::article;

namespace {

constexpr int kFirstGoodsRow = col::recordRow(1);

int keyColumn(SortBy key)
{
    return key == SortBy::Price ? col::kPrice : col::kName;
}

// The order the engine's sort gives the rows first..last by the key column, found by sorting a
// scratch copy of the keys beside their row numbers: the same stable sort over the same keys
// moves the article's rows the same way.
std::vector<int> sortedRows(const store::Worksheet& article, int first, int last, int column, store::SortOrder order)
{
    store::Workbook scratch;
    store::Worksheet& keys = scratch.sheets(1);
    const int count = last - first + 1;
    for (int i = 0; i < count; ++i) {
        keys.setValue(i + 1, 1, article.value(first + i, column));
        keys.setValue(i + 1, 2, store::Value(first + i));
    }
    keys.Range(1, 1, count, 2).Sort(keys.cells(1, 1), order);
    std::vector<int> rows(size_t(count), 0);
    for (int i = 0; i < count; ++i) rows[size_t(i)] = int(keys.value(i + 1, 2).number());
    return rows;
}

} // namespace

QString sortRange(int last)
{
    return QStringLiteral("A%1:%2%3")
        .arg(kFirstGoodsRow)
        .arg(store::columnName(col::kLastRecordColumn))
        .arg(std::max(last, kFirstGoodsRow));
}

int RowMoves::operator()(int oldRow) const
{
    const int i = oldRow - first;
    if (i < 0 || i >= int(newRowOf.size())) return oldRow;
    return newRowOf[size_t(i)];
}

RowMoves sortGoods(store::Worksheet& article, int goodsCount, SortBy key, store::SortOrder order)
{
    const int PosledenRed = goodsCount + 1;
    store::Range range = article.Range(sortRange(PosledenRed));
    RowMoves moves{range.row(), {}};
    // Rows past the sheet's end hold nothing and stay where they are.
    const int last = std::min(range.lastRow(), article.lastRow());
    if (last > range.row()) {
        const std::vector<int> oldRows = sortedRows(article, range.row(), last, keyColumn(key), order);
        moves.newRowOf.resize(oldRows.size());
        for (size_t i = 0; i < oldRows.size(); ++i) moves.newRowOf[size_t(oldRows[i] - moves.first)] = moves.first + int(i);
    }
    range.Sort(article.cells(kFirstGoodsRow, keyColumn(key)), order);
    return moves;
}

bool sortArticle(const store::DataWorkbook& data, const QString& sheet, SortBy key, store::SortOrder order,
                 store::RowKeeper* rowKeeper)
{
    if (data.counter(store::layout::index::kSheetCount) <= 1) return false;
    store::Worksheet& article = data.workbook().sheets(sheet);
    const RowMoves moves = sortGoods(article, data.goodsCount(article), key, order);
    if (rowKeeper) rowKeeper->rowsMoved(article.Name(), moves);
    return true;
}

} // namespace search
