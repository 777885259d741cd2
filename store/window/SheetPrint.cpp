#include "store/window/SheetPrint.h"

#include "store/StoreError.h"
#include "store/Workbook.h"
#include "store/Worksheet.h"
#include "store/xls/XlsError.h"
#include "store/window/SheetGeometry.h"
#include "store/window/SheetPainter.h"

#include <QDir>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <vector>

namespace store::window {

namespace {

constexpr double kSheetPixelsPerInch = 96.0;

// The first row of every page, and one past the last row at the end.
std::vector<int> pageBreaks(const SheetGeometry& g, const CellArea& used, double pageHeight)
{
    std::vector<int> starts{used.firstRow};
    double top = g.rowTop(used.firstRow);
    for (int row = used.firstRow; row <= used.lastRow; ++row) {
        // A row taller than a page gets a page of its own rather than none.
        if (g.rowTop(row + 1) - top > pageHeight && row > starts.back()) {
            starts.push_back(row);
            top = g.rowTop(row);
        }
    }
    starts.push_back(used.lastRow + 1);
    return starts;
}

void paintStamp(QPainter& painter, const QPagedPaintDevice& device, const QString& stamp)
{
    QFont font = painter.font();
    font.setBold(true);
    font.setPointSizeF(16);
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::darkRed);
    painter.drawText(QRect(0, 0, device.width(), device.height()), Qt::AlignTop | Qt::AlignRight, stamp);
    painter.restore();
}

} // namespace

void setUpA4(QPagedPaintDevice& device)
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                     QPageLayout::Millimeter));
}

bool printSheet(const Worksheet& sheet, QPagedPaintDevice& device, const QString& stamp)
{
    const SheetGeometry geometry(sheet);
    const CellArea used = geometry.usedArea();
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const double toDevice = device.logicalDpiX() / kSheetPixelsPerInch;
    const double pageWidth = device.width() / toDevice;
    const double pageHeight = device.height() * kSheetPixelsPerInch / device.logicalDpiY();
    const double sheetWidth = geometry.columnLeft(used.lastCol + 1) - geometry.columnLeft(used.firstCol);
    const double fit = std::min(1.0, pageWidth / sheetWidth);

    const std::vector<int> starts = pageBreaks(geometry, used, pageHeight / fit);
    for (size_t page = 0; page + 1 < starts.size(); ++page) {
        if (page > 0) device.newPage();
        const CellArea area{starts[page], used.firstCol, starts[page + 1] - 1, used.lastCol};
        painter.save();
        painter.scale(toDevice * fit, device.logicalDpiY() / kSheetPixelsPerInch * fit);
        painter.translate(-geometry.columnLeft(area.firstCol), -geometry.rowTop(area.firstRow));
        paintCells(painter, sheet, geometry, area, PaintOptions{});
        painter.restore();
        if (!stamp.isEmpty()) paintStamp(painter, device, stamp);
    }
    return painter.end();
}

void exportPdf(const Workbook& workbook, int sheetIndex, const QString& path)
{
    const Worksheet& sheet = workbook.sheets(sheetIndex);
    QPdfWriter writer(path);
    writer.setTitle(workbook.Name());
    writer.setCreator(QStringLiteral("Тервин"));
    setUpA4(writer);
    if (!printSheet(sheet, writer))
        throw Error(xls::XlsError::FileNotWritten, {QDir::toNativeSeparators(path)});
}

} // namespace store::window
