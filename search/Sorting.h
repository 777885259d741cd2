#pragma once

#include "store/Range.h"

#include <QString>
#include <vector>

namespace store {
class DataWorkbook;
class RowKeeper;
class Worksheet;
} // namespace store

// Sorting the goods of an article, apart from any window.
namespace search {

// What the goods are put in order of: the selling price (column C) or the name (column B).
enum class SortBy { Price, Name };

// The cells sorted for an article whose last goods row is `last` (T1 + 1): the goods rows from
// column A to the record's last column, so that every goods record moves whole, the count sold,
// the minimum stock and the barcode included. An article
// without goods gives its one empty row 2.
QString sortRange(int last);

// Where each goods row went: newRowOf[i] is the new row of old row first + i.
struct RowMoves {
    int first = 0;
    std::vector<int> newRowOf;
    // The new row of an old row; rows outside the sorted ones stay where they are.
    int operator()(int oldRow) const;
};

// Sorts the goods rows of the article (T1 of the sheet tells how many) by the key and says where
// each row went. Equal keys keep their order; numbers come before text, empty cells last.
RowMoves sortGoods(store::Worksheet& article, int goodsCount, SortBy key, store::SortOrder order);

// The sort procedure of the main window on the article named `sheet`: nothing when the workbook
// has no article; otherwise the goods are sorted and whoever holds rows of the sheet (the basket)
// is told where they went. True when the sheet was sorted. Nothing is saved.
bool sortArticle(const store::DataWorkbook& data, const QString& sheet, SortBy key, store::SortOrder order,
                 store::RowKeeper* rowKeeper);

} // namespace search
