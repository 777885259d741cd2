#pragma once

#include "reports/ReportData.h"

#include <QString>
#include <vector>

class QPainter;
class QRectF;

namespace reports {

// How a chart stands: columns over time from left to right, or goods as bars one under the other.
enum class ChartShape { Columns, Bars };

// A chart as it is drawn, in its window and on paper alike.
struct ChartPicture {
    QString title;
    ChartShape shape = ChartShape::Columns;
    std::vector<ChartBar> bars;
};

// The amounts over time, titled "<what> по дни" (по седмици, по месеци).
ChartPicture overTimePicture(const Chart& chart, const QString& what);
// The goods of the largest amounts, titled "Първите 10 стоки по <what>".
ChartPicture topGoodsPicture(const Chart& chart, const QString& what);

// Draws the picture within `area` in the painter's present font: the title, then the bars on one
// scale from the lowest amount (a return or a loss goes below zero) to the largest, each amount
// named: columns under the axis by every label there is room for, bars by name and sum.
void paintChart(QPainter& painter, const QRectF& area, const ChartPicture& picture);

} // namespace reports
