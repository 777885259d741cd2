#pragma once

#include <QString>

class QPagedPaintDevice;

namespace store {
class Workbook;
class Worksheet;
}

namespace store::window {

// Lays the used part of the sheet out on the pages of device as it looks on screen, without the
// gridlines: shrunk to the width of the page when it is wider, rows cut at page ends. The device's
// page size and margins are used as they are set. Returns false when the device cannot be painted
// on (a file that cannot be written). A stamp, when given, stands in bold at the top right corner
// of every page, over the cells ("ДУБЛИКАТ").
bool printSheet(const Worksheet& sheet, QPagedPaintDevice& device, const QString& stamp = {});

// Writes sheet sheetIndex (1-based) of workbook to a PDF file on A4 paper. Throws store::Error
// naming the file when it cannot be written.
void exportPdf(const Workbook& workbook, int sheetIndex, const QString& path);

// The page the program prints on: A4, portrait, margins of 15 mm.
void setUpA4(QPagedPaintDevice& device);

} // namespace store::window
