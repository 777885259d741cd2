#include "store/window/SheetPainter.h"

#include "store/Workbook.h"
#include "store/Worksheet.h"
#include "store/window/CellText.h"
#include "store/window/SheetGeometry.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <array>
#include <cmath>

namespace store::window {

namespace {

// The standard palette of .xls files, indexes 8 to 63 (0 to 7 repeat 8 to 15).
constexpr std::array<quint32, 56> kPalette{{
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333,
}};

constexpr double kTextMargin = 2.0;   // between a cell's edge and its text
const QColor kGridColor(0xD4, 0xD4, 0xD4);

const CellFormat& formatOf(const Worksheet& sheet, int row, int col)
{
    static const CellFormat plain;
    const auto& formats = sheet.parent().styles().formats;
    const quint16 index = sheet.formatAt(row, col);
    return index < formats.size() ? formats[index] : plain;
}

const Font& fontOf(const Worksheet& sheet, const CellFormat& format)
{
    static const Font standard;
    const WorkbookStyles& styles = sheet.parent().styles();
    if (const Font* font = styles.fontAt(format.font)) return *font;
    if (const Font* first = styles.fontAt(0)) return *first;
    return standard;
}

// Merged areas that reach into area, found once per paint.
class Merges {
public:
    Merges(const Worksheet& sheet, const CellArea& area)
    {
        for (const CellArea& m : sheet.merged())
            if (m.lastRow >= area.firstRow && m.firstRow <= area.lastRow && m.lastCol >= area.firstCol
                && m.firstCol <= area.lastCol)
                areas_.push_back(m);
    }
    const CellArea* at(int row, int col) const
    {
        for (const CellArea& m : areas_)
            if (row >= m.firstRow && row <= m.lastRow && col >= m.firstCol && col <= m.lastCol) return &m;
        return nullptr;
    }
    bool sameMerge(int row1, int col1, int row2, int col2) const
    {
        const CellArea* a = at(row1, col1);
        return a && a == at(row2, col2);
    }
    const std::vector<CellArea>& areas() const { return areas_; }

private:
    std::vector<CellArea> areas_;
};

// The area grown to hold every merged area that reaches into it.
CellArea withMerges(CellArea area, const Merges& merges)
{
    for (const CellArea& m : merges.areas()) {
        area.firstRow = std::min(area.firstRow, m.firstRow);
        area.firstCol = std::min(area.firstCol, m.firstCol);
        area.lastRow = std::max(area.lastRow, m.lastRow);
        area.lastCol = std::max(area.lastCol, m.lastCol);
    }
    return area;
}

void paintGridlines(QPainter& painter, const SheetGeometry& g, const CellArea& area, const Merges& merges)
{
    painter.setPen(QPen(kGridColor, 0));
    for (int row = area.firstRow; row <= area.lastRow; ++row) {
        const double top = g.rowTop(row), bottom = g.rowTop(row + 1);
        for (int col = area.firstCol; col <= area.lastCol; ++col) {
            const double left = g.columnLeft(col), right = g.columnLeft(col + 1);
            if (!merges.sameMerge(row, col, row, col + 1)) painter.drawLine(QLineF(right, top, right, bottom));
            if (!merges.sameMerge(row, col, row + 1, col)) painter.drawLine(QLineF(left, bottom, right, bottom));
        }
    }
}

void paintFills(QPainter& painter, const Worksheet& sheet, const SheetGeometry& g, const CellArea& area,
                const Merges& merges)
{
    for (int row = area.firstRow; row <= area.lastRow; ++row) {
        for (const Cell& cell : sheet.rowCells(row)) {
            if (cell.col < area.firstCol || cell.col > area.lastCol) continue;
            const CellFormat& format = formatOf(sheet, row, cell.col);
            if (format.fillPattern == 0) continue;
            const CellArea* merged = merges.at(row, cell.col);
            if (merged && (merged->firstRow != row || merged->firstCol != cell.col)) continue;
            const QRectF rect = merged ? g.areaRect(*merged) : g.cellRect(row, cell.col);
            painter.fillRect(rect, paletteColor(format.patternColor));
        }
    }
}

QPen borderPen(const Border& border)
{
    QPen pen(paletteColor(border.colorIndex));
    pen.setCapStyle(Qt::SquareCap);
    switch (border.line) {
    case BorderLine::Medium: case BorderLine::MediumDashed: case BorderLine::MediumDashDot:
    case BorderLine::MediumDashDotDot: case BorderLine::SlantDashDot:
        pen.setWidthF(2); break;
    case BorderLine::Thick: pen.setWidthF(3); break;
    case BorderLine::Hair: pen.setWidthF(0.5); break;
    default: pen.setWidthF(1); break;
    }
    switch (border.line) {
    case BorderLine::Dashed: case BorderLine::MediumDashed: pen.setStyle(Qt::DashLine); break;
    case BorderLine::Dotted: case BorderLine::Hair: pen.setStyle(Qt::DotLine); break;
    case BorderLine::DashDot: case BorderLine::MediumDashDot: case BorderLine::SlantDashDot:
        pen.setStyle(Qt::DashDotLine); break;
    case BorderLine::DashDotDot: case BorderLine::MediumDashDotDot: pen.setStyle(Qt::DashDotDotLine); break;
    default: break;
    }
    return pen;
}

// One edge of a cell; a double line is two thin ones, drawn apart across the edge.
void paintEdge(QPainter& painter, const Border& border, const QLineF& line, bool horizontal)
{
    if (border.line == BorderLine::None) return;
    painter.setPen(borderPen(border));
    if (border.line != BorderLine::Double) {
        painter.drawLine(line);
        return;
    }
    const QPointF apart = horizontal ? QPointF(0, 1) : QPointF(1, 0);
    painter.drawLine(line.translated(-apart));
    painter.drawLine(line.translated(apart));
}

void paintBorders(QPainter& painter, const Worksheet& sheet, const SheetGeometry& g, const CellArea& area,
                  const Merges& merges)
{
    for (int row = area.firstRow; row <= area.lastRow; ++row) {
        for (const Cell& cell : sheet.rowCells(row)) {
            const int col = cell.col;
            if (col < area.firstCol || col > area.lastCol) continue;
            const CellFormat& f = formatOf(sheet, row, col);
            const QRectF r = g.cellRect(row, col);
            // Inside a merged area only its outline has borders.
            if (!merges.sameMerge(row, col, row - 1, col)) paintEdge(painter, f.top, QLineF(r.topLeft(), r.topRight()), true);
            if (!merges.sameMerge(row, col, row + 1, col))
                paintEdge(painter, f.bottom, QLineF(r.bottomLeft(), r.bottomRight()), true);
            if (!merges.sameMerge(row, col, row, col - 1)) paintEdge(painter, f.left, QLineF(r.topLeft(), r.bottomLeft()), false);
            if (!merges.sameMerge(row, col, row, col + 1))
                paintEdge(painter, f.right, QLineF(r.topRight(), r.bottomRight()), false);
        }
    }
}

Qt::Alignment horizontalAlignment(HAlign align, const Value& value)
{
    switch (align) {
    case HAlign::Center: case HAlign::CenterAcross: return Qt::AlignHCenter;
    case HAlign::Right: return Qt::AlignRight;
    case HAlign::Left: case HAlign::Fill: case HAlign::Justify: return Qt::AlignLeft;
    case HAlign::General: break;
    }
    if (value.isNumber()) return Qt::AlignRight;
    if (value.isBool() || value.isError()) return Qt::AlignHCenter;
    return Qt::AlignLeft;
}

Qt::Alignment verticalAlignment(VAlign align)
{
    switch (align) {
    case VAlign::Top: case VAlign::Justify: return Qt::AlignTop;
    case VAlign::Center: return Qt::AlignVCenter;
    case VAlign::Bottom: break;
    }
    return Qt::AlignBottom;
}

bool isBlank(const Worksheet& sheet, const SheetGeometry& g, int row, int col)
{
    if (col < 1 || col > kMaxColumns) return false;
    if (g.mergeAt(row, col)) return false;
    return sheet.value(row, col).isEmpty();
}

// Text wider than its cell runs on into the blank cells beside it, the way the alignment points.
QRectF overflowRect(const Worksheet& sheet, const SheetGeometry& g, int row, int col,
                    Qt::Alignment align, double needed)
{
    int first = col, last = col;
    auto width = [&] { return g.columnLeft(last + 1) - g.columnLeft(first); };
    const bool right = align & Qt::AlignRight, centre = align & Qt::AlignHCenter;
    while (width() < needed) {
        bool grew = false;
        if ((!right || centre) && isBlank(sheet, g, row, last + 1)) { ++last; grew = true; }
        if ((right || centre) && width() < needed && isBlank(sheet, g, row, first - 1)) { --first; grew = true; }
        if (!grew) break;
    }
    return g.areaRect(CellArea{row, first, row, last});
}

QString fittedNumber(const Worksheet& sheet, const CellFormat& format, double number, const QFontMetricsF& metrics,
                     double width)
{
    if (isGeneralFormat(sheet.parent().styles().numberFormatCode(format.numberFormat))) {
        // Decimals go; the digits before the decimal sign stay.
        const double magnitude = std::abs(number);
        const int integerDigits = magnitude < 1 ? 1 : int(std::floor(std::log10(magnitude))) + 1;
        for (int digits = kGeneralDigits - 1; digits >= integerDigits; --digits) {
            const QString text = formatGeneral(number, digits);
            if (metrics.horizontalAdvance(text) <= width) return text;
        }
    }
    const double hash = metrics.horizontalAdvance(QLatin1Char('#'));
    return QString(std::max(1, int(width / hash)), QLatin1Char('#'));
}

void paintText(QPainter& painter, const Worksheet& sheet, const SheetGeometry& g, const Merges& merges, int row,
               int col)
{
    const Value value = sheet.value(row, col);
    if (value.isEmpty()) return;
    const CellArea* merged = merges.at(row, col);
    if (merged && (merged->firstRow != row || merged->firstCol != col)) return;
    QString text = shownCellText(sheet, row, col);
    if (text.isEmpty()) return;

    const CellFormat& format = formatOf(sheet, row, col);
    const Font& font = fontOf(sheet, format);
    painter.setFont(sheetFont(font, painter.device()));
    painter.setPen(paletteColor(font.colorIndex));
    const QFontMetricsF metrics(painter.font(), painter.device());

    const Qt::Alignment hAlign = horizontalAlignment(format.hAlign, value);
    const bool wrap = format.wrap || format.hAlign == HAlign::Justify;
    const double indent = format.indent * 3 * g.digitWidth();
    const double needed = metrics.horizontalAdvance(text) + 2 * kTextMargin + indent;
    QRectF rect = merged ? g.areaRect(*merged) : g.cellRect(row, col);
    if (!merged && !wrap && needed > rect.width()) {
        // Numbers that do not fit lose decimals in the General format, else show as #, as in a
        // spreadsheet program; text runs on.
        if (value.isNumber()) text = fittedNumber(sheet, format, value.number(), metrics, rect.width() - 2 * kTextMargin - indent);
        else rect = overflowRect(sheet, g, row, col, hAlign, needed);
    }
    QRectF textRect = rect.adjusted(kTextMargin, 0, -kTextMargin, 0);
    if (hAlign & Qt::AlignLeft) textRect.setLeft(textRect.left() + indent);
    if (hAlign & Qt::AlignRight) textRect.setRight(textRect.right() - indent);
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.drawText(textRect, int(hAlign | verticalAlignment(format.vAlign) | (wrap ? Qt::TextWordWrap : 0)), text);
    painter.restore();
}

} // namespace

QColor paletteColor(int index)
{
    if (index >= 8 && index < 64) return QColor::fromRgb(kPalette[size_t(index - 8)]);
    if (index >= 0 && index < 8) return QColor::fromRgb(kPalette[size_t(index)]);
    return Qt::black;
}

QFont sheetFont(const Font& font, const QPaintDevice* device)
{
    QFont result(font.name);
    const double dpi = device ? device->logicalDpiY() : 96.0;
    // Sheet pixels are 1/96 inch; the painter's transform takes them to the device.
    result.setPointSizeF(font.height / 20.0 * 96.0 / dpi);
    result.setBold(font.weight >= 600);
    result.setItalic(font.italic);
    result.setStrikeOut(font.strikeout);
    result.setUnderline(font.underline != 0);
    if (font.escapement != 0) result.setPointSizeF(result.pointSizeF() * 0.7);
    return result;
}

void paintCells(QPainter& painter, const Worksheet& sheet, const SheetGeometry& geometry, const CellArea& wanted,
                const PaintOptions& options)
{
    const Merges merges(sheet, wanted);
    const CellArea area = withMerges(wanted, merges);
    painter.save();
    painter.setClipRect(geometry.areaRect(wanted), Qt::IntersectClip);
    painter.fillRect(geometry.areaRect(wanted), Qt::white);
    if (options.gridlines) paintGridlines(painter, geometry, area, merges);
    paintFills(painter, sheet, geometry, area, merges);
    for (int row = area.firstRow; row <= area.lastRow; ++row)
        for (const Cell& cell : sheet.rowCells(row)) paintText(painter, sheet, geometry, merges, row, cell.col);
    paintBorders(painter, sheet, geometry, area, merges);
    painter.restore();
}

} // namespace store::window
