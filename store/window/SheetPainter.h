#pragma once

#include "store/Style.h"

#include <QColor>
#include <QFont>

class QPainter;
class QPaintDevice;

namespace store {
class Worksheet;
}

namespace store::window {

class SheetGeometry;

struct PaintOptions {
    bool gridlines = false;   // the light lines between cells a screen shows and paper does not
};

// Paints the cells of area as the sheet defines them: fills, text in its font, number format and
// alignment (text runs on into empty neighbours), merged cells and borders. The painter works in
// sheet pixels (see SheetGeometry); whatever transform it holds maps them onto its device, so the
// same call draws the screen and the printed page.
void paintCells(QPainter& painter, const Worksheet& sheet, const SheetGeometry& geometry, const CellArea& area,
                const PaintOptions& options);

// A colour of the workbook palette by index (64 and 0x7FFF: automatic, black).
QColor paletteColor(int index);

// The font of a workbook, sized in sheet pixels whatever the resolution of device.
QFont sheetFont(const Font& font, const QPaintDevice* device);

} // namespace store::window
