#include "reports/PrintedReport.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

namespace reports {

namespace {

constexpr int kTotalRows = 2;           // room the total takes below the last row
constexpr double kMarginMm = 15;
const QString kFontFamily = QStringLiteral("DejaVu Sans");

QFont fontOf(double points, bool bold = false)
{
    QFont font(kFontFamily);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// Sizes of the parts of a page, in the device's units.
struct PageGeometry {
    QRectF area;          // the printable area, origin where painting starts
    double rowHeight;
    double titleHeight;   // title, period and a blank line
    double footHeight;

    int rowsBelow(double top) const { return std::max(kTotalRows, int((area.height() - footHeight - top) / rowHeight)); }
};

class ReportPainter {
public:
    ReportPainter(const PrintedReport& report, QPagedPaintDevice& device)
        : report_(report), device_(device), painter_(&device), text_(fontOf(9)), bold_(fontOf(9, true)),
          title_(fontOf(14, true)), foot_(fontOf(8))
    {
    }

    bool paint()
    {
        if (!painter_.isActive()) return false;
        const PageGeometry g = geometry();
        const double headings = report_.columns.empty() ? 0 : g.rowHeight * 1.4;
        const PagePlan plan = planPages(int(report_.rows.size()), g.rowsBelow(g.titleHeight + headings),
                                        g.rowsBelow(headings));
        const int pages = int(plan.pages.size());
        for (int p = 0; p < pages; ++p) {
            if (p > 0) device_.newPage();
            double y = 0;
            if (p == 0) y = paintTitle(g);
            y = paintHeadings(g, y);
            const PageSlice& slice = plan.pages[size_t(p)];
            for (int r = slice.firstRow; r < slice.firstRow + slice.rowCount; ++r, y += g.rowHeight)
                paintRow(g, y, report_.rows[size_t(r)], text_);
            if (p == pages - 1) paintTotal(g, y);
            paintFoot(g, p + 1, pages);
        }
        return painter_.end();
    }

private:
    PageGeometry geometry() const
    {
        const QRect paintRect = device_.pageLayout().paintRectPixels(device_.logicalDpiX());
        const QFontMetricsF text(text_, &device_);
        const QFontMetricsF title(title_, &device_);
        const double row = text.height() * 1.3;
        return {QRectF(0, 0, paintRect.width(), paintRect.height()), row, title.height() * 1.6 + row * 2,
                row * 2};
    }

    double columnLeft(const PageGeometry& g, size_t column) const
    {
        double left = 0;
        for (size_t c = 0; c < column; ++c) left += report_.columns[c].width;
        return g.area.width() * left;
    }

    double paintTitle(const PageGeometry& g)
    {
        const QFontMetricsF title(title_, &device_);
        painter_.setFont(title_);
        painter_.drawText(QPointF(0, title.ascent()), report_.title);
        painter_.setFont(text_);
        const double periodTop = title.height() * 1.6;
        painter_.drawText(QPointF(0, periodTop + QFontMetricsF(text_, &device_).ascent()), report_.period);
        return g.titleHeight;
    }

    double paintHeadings(const PageGeometry& g, double y)
    {
        if (report_.columns.empty()) return y;
        QStringList headings;
        for (const ReportColumn& c : report_.columns) headings << c.heading;
        paintRow(g, y, headings, bold_);
        const double line = y + g.rowHeight * 1.15;
        painter_.drawLine(QPointF(0, line), QPointF(g.area.width(), line));
        return y + g.rowHeight * 1.4;
    }

    void paintRow(const PageGeometry& g, double y, const QStringList& cells, const QFont& font)
    {
        painter_.setFont(font);
        const QFontMetricsF metrics(font, &device_);
        const double pad = metrics.averageCharWidth() * 0.6;
        const double baseline = y + metrics.ascent();
        for (size_t c = 0; c < report_.columns.size() && qsizetype(c) < cells.size(); ++c) {
            const double left = columnLeft(g, c) + pad;
            const double room = g.area.width() * report_.columns[c].width - 2 * pad;
            QString text = cells[qsizetype(c)];
            double advance = metrics.horizontalAdvance(text);
            if (advance > room) {
                text = metrics.elidedText(text, Qt::ElideRight, room);
                advance = metrics.horizontalAdvance(text);
            }
            const double x = report_.columns[c].alignRight ? left + room - advance : left;
            painter_.drawText(QPointF(x, baseline), text);
        }
    }

    void paintTotal(const PageGeometry& g, double y)
    {
        const double line = y + g.rowHeight * 0.3;
        if (!report_.columns.empty()) painter_.drawLine(QPointF(0, line), QPointF(g.area.width(), line));
        painter_.setFont(bold_);
        const QFontMetricsF metrics(bold_, &device_);
        const double x = report_.columns.empty() ? 0 : g.area.width() - metrics.horizontalAdvance(report_.total);
        painter_.drawText(QPointF(x, y + g.rowHeight * 0.5 + metrics.ascent()), report_.total);
    }

    void paintFoot(const PageGeometry& g, int page, int pages)
    {
        painter_.setFont(foot_);
        const QRectF foot(0, g.area.height() - g.footHeight / 2, g.area.width(), g.footHeight / 2);
        painter_.drawText(foot, Qt::AlignHCenter | Qt::AlignBottom,
                          QStringLiteral("Страница %1 от %2").arg(page).arg(pages));
    }

    const PrintedReport& report_;
    QPagedPaintDevice& device_;
    QPainter painter_;
    QFont text_;
    QFont bold_;
    QFont title_;
    QFont foot_;
};

} // namespace

PagePlan planPages(int rows, int rowsOnFirst, int rowsOnOthers)
{
    PagePlan plan;
    int row = 0;
    int capacity = rowsOnFirst;
    for (;;) {
        const int take = std::min(rows - row, capacity);
        plan.pages.push_back({row, take});
        row += take;
        if (row == rows) {
            if (capacity - take < kTotalRows) plan.pages.push_back({rows, 0});
            return plan;
        }
        capacity = rowsOnOthers;
    }
}

bool paintReport(const PrintedReport& report, QPagedPaintDevice& device)
{
    return ReportPainter(report, device).paint();
}

bool writePdf(const PrintedReport& report, const QString& path)
{
    QPdfWriter writer(path);
    writer.setTitle(report.title);
    writer.setCreator(QStringLiteral("Тервин за детски стоки"));
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter));
    return paintReport(report, writer);
}

} // namespace reports
