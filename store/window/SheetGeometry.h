#pragma once

#include "store/Style.h"

#include <QRectF>
#include <vector>

namespace store {
class Worksheet;
}

namespace store::window {

// Where the cells of a sheet lie, in sheet pixels (96 to the inch, A1's top left corner at 0, 0),
// from the column widths and row heights the sheet holds. A width counts in the width of a digit
// of the workbook's first font, as spreadsheet programs count it.
class SheetGeometry {
public:
    explicit SheetGeometry(const Worksheet& sheet);

    double columnLeft(int col) const;          // col 1 .. kMaxColumns + 1
    double columnWidth(int col) const { return columnLeft(col + 1) - columnLeft(col); }
    double rowTop(int row) const;              // row 1 .. kMaxRows + 1
    double rowHeight(int row) const { return rowTop(row + 1) - rowTop(row); }
    // The column or row under a point; the last one for a point beyond the sheet.
    int columnAt(double x) const;
    int rowAt(double y) const;

    QRectF cellRect(int row, int col) const;
    QRectF areaRect(const CellArea& area) const;
    // The merged area that holds the cell, or null.
    const CellArea* mergeAt(int row, int col) const;
    // The cell itself, or the whole merged area it belongs to.
    CellArea cellArea(int row, int col) const;

    // What a printout covers: from A1 to the last row and column that hold a value, a format or
    // a merged area; at least A1.
    CellArea usedArea() const;

    double digitWidth() const { return digitWidth_; }

private:
    const Worksheet& sheet_;
    double digitWidth_;
    std::vector<double> columnLefts_;   // [col - 1], kMaxColumns + 1 entries
    std::vector<double> rowTops_;       // [row - 1] up to the last row with a height of its own
    double defaultRowHeight_;
};

} // namespace store::window
