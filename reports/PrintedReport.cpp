#include "reports/PrintedReport.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <QTextLayout>
#include <algorithm>

namespace reports {

namespace {

constexpr int kTotalRows = 2;           // room the total takes below the last row
constexpr double kMarginMm = 15;
constexpr double kChartsHeight = 0.45;   // of the page width, the band the charts take
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

// A font with its measures. Each text is laid out once and its glyphs remembered, for a long
// report repeats its dates, counts, prices and names; a page's glyphs are drawn in one go.
class MeasuredFont {
public:
    MeasuredFont(const QFont& font, QPaintDevice* device) : font(font), metrics(font, device), device_(device)
    {
    }

    double advance(const QString& text) { return shaped(text).advance; }

    // Puts the text with its left end of the base line at `origin` among what flush draws.
    void queue(const QPointF& origin, const QString& text)
    {
        for (const QGlyphRun& run : shaped(text).runs) {
            Batch& batch = batchFor(run.rawFont());
            batch.glyphs += run.glyphIndexes();
            for (const QPointF& p : run.positions()) batch.positions.push_back(p + origin);
        }
    }

    // Draws what was queued, a few calls for a whole page.
    void flush(QPainter& painter)
    {
        for (Batch& batch : batches_) {
            QGlyphRun run;
            run.setRawFont(batch.font);
            run.setGlyphIndexes(batch.glyphs);
            run.setPositions(batch.positions);
            painter.drawGlyphRun(QPointF(0, 0), run);
        }
        batches_.clear();
    }

    const QFont font;
    const QFontMetricsF metrics;

private:
    struct Shaped {
        QList<QGlyphRun> runs;   // positions relative to the base line's left end
        double advance;
    };

    const Shaped& shaped(const QString& text)
    {
        auto found = shaped_.constFind(text);
        if (found != shaped_.constEnd()) return *found;
        QTextLayout layout(text, font, device_);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        QList<QGlyphRun> runs = layout.glyphRuns();
        const double ascent = line.isValid() ? line.ascent() : 0;
        for (QGlyphRun& run : runs) {
            QList<QPointF> positions = run.positions();
            for (QPointF& p : positions) p.ry() -= ascent;
            run.setPositions(positions);
        }
        return *shaped_.insert(text, Shaped{runs, line.isValid() ? line.naturalTextWidth() : 0});
    }

    struct Batch {
        QRawFont font;
        QList<quint32> glyphs;
        QList<QPointF> positions;
    };

    Batch& batchFor(const QRawFont& font)
    {
        for (Batch& batch : batches_)
            if (batch.font == font) return batch;
        batches_.push_back({font, {}, {}});
        return batches_.back();
    }

    QPaintDevice* device_;
    QHash<QString, Shaped> shaped_;
    std::vector<Batch> batches_;
};

// Where a column's text stands on the page.
struct ColumnPlace {
    double left;
    double room;
    bool alignRight;
};

class ReportPainter {
public:
    ReportPainter(const PrintedReport& report, QPagedPaintDevice& device)
        : report_(report), device_(device), painter_(&device), text_(fontOf(9), &device),
          bold_(fontOf(9, true), &device), title_(fontOf(14, true), &device), foot_(fontOf(8), &device)
    {
    }

    bool paint()
    {
        if (!painter_.isActive()) return false;
        const PageGeometry g = geometry();
        placeColumns(g);
        const double headings = report_.columns.empty() ? 0 : g.rowHeight * (headingRows() + 0.4);
        const PagePlan plan = planPages(int(report_.rows.size()), g.rowsBelow(g.titleHeight + chartsHeight(g) + headings),
                                        g.rowsBelow(headings));
        const int pages = int(plan.pages.size());
        for (int p = 0; p < pages; ++p) {
            if (p > 0) device_.newPage();
            double y = 0;
            if (p == 0) y = paintCharts(g, paintTitle(g));
            y = paintHeadings(g, y);
            const PageSlice& slice = plan.pages[size_t(p)];
            painter_.setFont(text_.font);
            for (int r = slice.firstRow; r < slice.firstRow + slice.rowCount; ++r, y += g.rowHeight)
                paintRow(y, report_.rows[size_t(r)], text_);
            text_.flush(painter_);
            if (p == pages - 1) paintTotal(g, y);
            paintFoot(g, p + 1, pages);
        }
        return painter_.end();
    }

private:
    PageGeometry geometry() const
    {
        const QRect paintRect = device_.pageLayout().paintRectPixels(device_.logicalDpiX());
        const double row = text_.metrics.height() * 1.3;
        return {QRectF(0, 0, paintRect.width(), paintRect.height()), row,
                title_.metrics.height() * 1.6 + row * 2, row * 2};
    }

    void placeColumns(const PageGeometry& g)
    {
        const double pad = text_.metrics.averageCharWidth();
        double left = 0;
        for (const ReportColumn& c : report_.columns) {
            const double width = g.area.width() * c.width;
            columns_.push_back({left + pad, width - 2 * pad, c.alignRight});
            headings_.push_back(headingLines(c.heading, width - 2 * pad));
            left += width;
        }
    }

    // A heading wider than its column breaks between its words, over as many lines as it needs.
    QStringList headingLines(const QString& heading, double room)
    {
        QStringList lines;
        QString line;
        for (const QString& word : heading.split(u' ')) {
            const QString joined = line.isEmpty() ? word : line + u' ' + word;
            if (!line.isEmpty() && bold_.advance(joined) > room) {
                lines << line;
                line = word;
            } else {
                line = joined;
            }
        }
        return lines << line;
    }

    int headingRows() const
    {
        qsizetype rows = 1;
        for (const QStringList& lines : headings_) rows = std::max(rows, lines.size());
        return int(rows);
    }

    double paintTitle(const PageGeometry& g)
    {
        painter_.setFont(title_.font);
        painter_.drawText(QPointF(0, title_.metrics.ascent()), report_.title);
        painter_.setFont(text_.font);
        const double periodTop = title_.metrics.height() * 1.6;
        painter_.drawText(QPointF(0, periodTop + text_.metrics.ascent()), report_.period);
        return g.titleHeight;
    }

    double chartsHeight(const PageGeometry& g) const
    {
        return report_.charts.empty() ? 0 : g.area.width() * kChartsHeight;
    }

    // The charts side by side from y, a gap between them and below them.
    double paintCharts(const PageGeometry& g, double y)
    {
        if (report_.charts.empty()) return y;
        painter_.setFont(text_.font);
        const double gap = g.rowHeight;
        const double count = double(report_.charts.size());
        const double width = (g.area.width() - gap * (count - 1)) / count;
        const double height = chartsHeight(g) - gap;
        for (size_t i = 0; i < report_.charts.size(); ++i)
            paintChart(painter_, QRectF((width + gap) * double(i), y, width, height), report_.charts[i]);
        return y + chartsHeight(g);
    }

    double paintHeadings(const PageGeometry& g, double y)
    {
        if (report_.columns.empty()) return y;
        painter_.setFont(bold_.font);
        const int rows = headingRows();
        for (int r = 0; r < rows; ++r) {
            QStringList line;
            for (const QStringList& lines : headings_) line << lines.value(r);
            paintRow(y + g.rowHeight * r, line, bold_);
        }
        bold_.flush(painter_);
        const double line = y + g.rowHeight * (rows + 0.15);
        painter_.drawLine(QPointF(0, line), QPointF(g.area.width(), line));
        return y + g.rowHeight * (rows + 0.4);
    }

    // The cells of one row in the painter's present font, each within its column.
    void paintRow(double y, const QStringList& cells, MeasuredFont& font)
    {
        const double baseline = y + font.metrics.ascent();
        for (size_t c = 0; c < columns_.size() && qsizetype(c) < cells.size(); ++c) {
            const ColumnPlace& place = columns_[c];
            const QString& text = cells[qsizetype(c)];
            const double advance = font.advance(text);
            if (advance > place.room)
                painter_.drawText(QPointF(place.left, baseline), font.metrics.elidedText(text, Qt::ElideRight, place.room));
            else
                font.queue(QPointF(place.alignRight ? place.left + place.room - advance : place.left, baseline), text);
        }
    }

    void paintTotal(const PageGeometry& g, double y)
    {
        const double line = y + g.rowHeight * 0.3;
        if (!report_.columns.empty()) painter_.drawLine(QPointF(0, line), QPointF(g.area.width(), line));
        painter_.setFont(bold_.font);
        const double x = report_.columns.empty() ? 0 : g.area.width() - bold_.advance(report_.total);
        painter_.drawText(QPointF(x, y + g.rowHeight * 0.5 + bold_.metrics.ascent()), report_.total);
    }

    void paintFoot(const PageGeometry& g, int page, int pages)
    {
        painter_.setFont(foot_.font);
        const QRectF foot(0, g.area.height() - g.footHeight / 2, g.area.width(), g.footHeight / 2);
        painter_.drawText(foot, Qt::AlignHCenter | Qt::AlignBottom,
                          QStringLiteral("Страница %1 от %2").arg(page).arg(pages));
    }

    const PrintedReport& report_;
    QPagedPaintDevice& device_;
    QPainter painter_;
    MeasuredFont text_;
    MeasuredFont bold_;
    MeasuredFont title_;
    MeasuredFont foot_;
    std::vector<ColumnPlace> columns_;
    std::vector<QStringList> headings_;   // each column's heading, line by line
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
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), report.orientation,
                                     QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter));
    return paintReport(report, writer);
}

} // namespace reports
