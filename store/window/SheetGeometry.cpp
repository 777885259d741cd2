#include "store/window/SheetGeometry.h"

#include "store/Workbook.h"
#include "store/Worksheet.h"

#include <algorithm>
#include <cmath>

namespace store::window {

namespace {

// A digit of Arial 10, the default font, is 7 pixels wide; other fonts scale with their size.
double digitWidthOf(const Workbook& workbook)
{
    const Font* font = workbook.styles().fontAt(0);
    const double height = font ? font->height : 200;
    return std::round(7.0 * height / 200.0);
}

// The standard width of a column without a width of its own: 8.43 digits and the margins.
double standardColumnWidth(double digit)
{
    return std::round(8.43 * digit) + 5;
}

constexpr double kTwipsPerPixel = 15.0;
constexpr double kDefaultRowTwips = 255.0;

} // namespace

SheetGeometry::SheetGeometry(const Worksheet& sheet)
    : sheet_(sheet), digitWidth_(digitWidthOf(sheet.parent())), defaultRowHeight_(kDefaultRowTwips / kTwipsPerPixel)
{
    columnLefts_.reserve(kMaxColumns + 1);
    double x = 0;
    for (int col = 1; col <= kMaxColumns + 1; ++col) {
        columnLefts_.push_back(x);
        const auto info = sheet.columns().find(col);
        if (info == sheet.columns().end() || info->second.width == 0) x += standardColumnWidth(digitWidth_);
        else if (!info->second.hidden) x += std::round(info->second.width / 256.0 * digitWidth_);
    }
    const int lastSized = sheet.rowInfo().empty() ? 0 : std::min(sheet.rowInfo().rbegin()->first, kMaxRows);
    rowTops_.reserve(size_t(lastSized) + 1);
    double y = 0;
    for (int row = 1; row <= lastSized + 1; ++row) {
        rowTops_.push_back(y);
        const auto info = sheet.rowInfo().find(row);
        if (info == sheet.rowInfo().end()) y += defaultRowHeight_;
        else if (!info->second.hidden) y += info->second.height / kTwipsPerPixel;
    }
}

double SheetGeometry::columnLeft(int col) const
{
    return columnLefts_[size_t(std::clamp(col, 1, kMaxColumns + 1) - 1)];
}

double SheetGeometry::rowTop(int row) const
{
    row = std::clamp(row, 1, kMaxRows + 1);
    const int known = int(rowTops_.size());
    if (row <= known) return rowTops_[size_t(row - 1)];
    return rowTops_.back() + (row - known) * defaultRowHeight_;
}

int SheetGeometry::columnAt(double x) const
{
    const auto it = std::upper_bound(columnLefts_.begin(), columnLefts_.end(), x);
    return std::clamp(int(it - columnLefts_.begin()), 1, kMaxColumns);
}

int SheetGeometry::rowAt(double y) const
{
    const double lastKnown = rowTops_.back();
    if (y >= lastKnown) {
        const int beyond = int((y - lastKnown) / defaultRowHeight_);
        return std::clamp(int(rowTops_.size()) + beyond, 1, kMaxRows);
    }
    const auto it = std::upper_bound(rowTops_.begin(), rowTops_.end(), y);
    return std::clamp(int(it - rowTops_.begin()), 1, kMaxRows);
}

QRectF SheetGeometry::cellRect(int row, int col) const
{
    return QRectF(QPointF(columnLeft(col), rowTop(row)), QPointF(columnLeft(col + 1), rowTop(row + 1)));
}

QRectF SheetGeometry::areaRect(const CellArea& area) const
{
    return QRectF(QPointF(columnLeft(area.firstCol), rowTop(area.firstRow)),
                  QPointF(columnLeft(area.lastCol + 1), rowTop(area.lastRow + 1)));
}

const CellArea* SheetGeometry::mergeAt(int row, int col) const
{
    for (const CellArea& area : sheet_.merged())
        if (row >= area.firstRow && row <= area.lastRow && col >= area.firstCol && col <= area.lastCol) return &area;
    return nullptr;
}

CellArea SheetGeometry::cellArea(int row, int col) const
{
    if (const CellArea* merged = mergeAt(row, col)) return *merged;
    return CellArea{row, col, row, col};
}

CellArea SheetGeometry::usedArea() const
{
    CellArea used{1, 1, std::max(1, sheet_.lastRow()), std::max(1, sheet_.lastColumn())};
    for (const CellArea& area : sheet_.merged()) {
        used.lastRow = std::max(used.lastRow, area.lastRow);
        used.lastCol = std::max(used.lastCol, area.lastCol);
    }
    return used;
}

} // namespace store::window
