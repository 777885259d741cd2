#pragma once

#include "reports/ChartPainter.h"

#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <vector>

class QPagedPaintDevice;

namespace reports {

struct ReportColumn {
    QString heading;
    double width;      // share of the page width
    bool alignRight;   // numbers stand to the right of their column
};

// A report as it goes on paper: what its window shows.
struct PrintedReport {
    QString title;
    QString period;                      // "Период: от 1. 03. 2011 до 31. 03. 2011"
    std::vector<ReportColumn> columns;   // none for a report of one number
    std::vector<QStringList> rows;
    QString total;                       // "Сума за периода: 12,50 лв." (or "€")
    std::vector<ChartPicture> charts = {};   // side by side under the period
    // A report of many narrow figures goes across the page.
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
};

// Where the rows of a report fall on its pages.
struct PageSlice {
    int firstRow;
    int rowCount;
};
struct PagePlan {
    std::vector<PageSlice> pages;   // at least one; the total stands after the rows of the last
};
// rowsOnFirst: the rows the first page holds below the title; rowsOnOthers: the rows every later
// page holds; both at least 2. The total takes the room of two rows after the last row.
PagePlan planPages(int rows, int rowsOnFirst, int rowsOnOthers);

// Paints the report on the device's pages in their present size: the title, the period and the
// charts on the first page, the column headings at the top of every page, the total after the last row and
// "Страница N от M" at the foot of each page. False when the device cannot be painted on.
bool paintReport(const PrintedReport& report, QPagedPaintDevice& device);

// The report as a PDF of A4 pages; false when the file cannot be written.
bool writePdf(const PrintedReport& report, const QString& path);

} // namespace reports
