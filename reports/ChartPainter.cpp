#include "reports/ChartPainter.h"

#include "store/Money.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QRectF>
#include <algorithm>
#include <cmath>

namespace reports {

namespace {

const QColor kRise(66, 110, 170);
const QColor kFall(196, 78, 58);
const QColor kAxis(90, 90, 90);

QString stepName(ChartStep step)
{
    switch (step) {
    case ChartStep::Week: return QStringLiteral("по седмици");
    case ChartStep::Month: return QStringLiteral("по месеци");
    case ChartStep::Day: break;
    }
    return QStringLiteral("по дни");
}

// The amounts a chart's axis runs over: always zero and every bar's amount.
class Scale {
public:
    explicit Scale(const std::vector<ChartBar>& bars)
    {
        for (const ChartBar& bar : bars) {
            low_ = std::min(low_, bar.amount);
            high_ = std::max(high_, bar.amount);
        }
        if (high_ == low_) high_ = low_ + 1;
    }
    double low() const { return low_; }
    double high() const { return high_; }
    // Where the amount falls on an axis of that length, from the lowest amount's end.
    double at(double amount, double length) const { return (amount - low_) / (high_ - low_) * length; }

private:
    double low_ = 0;
    double high_ = 0;
};

double widest(const QFontMetricsF& metrics, const QStringList& texts)
{
    double width = 0;
    for (const QString& text : texts) width = std::max(width, metrics.horizontalAdvance(text));
    return width;
}

void paintColumns(QPainter& painter, const QRectF& body, const std::vector<ChartBar>& bars)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    const Scale scale(bars);
    const QStringList ends{store::formatMoney(scale.high()), store::formatMoney(scale.low())};
    const double pad = metrics.averageCharWidth();
    const QRectF plot = body.adjusted(widest(metrics, ends) + pad, metrics.height() / 2, 0, -metrics.height() * 1.3);
    const double zero = plot.bottom() - scale.at(0, plot.height());
    const double slot = plot.width() / double(bars.size());
    const double width = slot > 4 * pad ? slot * 0.7 : slot;
    QStringList labels;
    for (size_t i = 0; i < bars.size(); ++i) {
        const double top = plot.bottom() - scale.at(bars[i].amount, plot.height());
        painter.fillRect(QRectF(plot.left() + slot * double(i) + (slot - width) / 2, std::min(top, zero), width,
                                std::abs(top - zero)),
                         bars[i].amount < 0 ? kFall : kRise);
        labels << bars[i].label;
    }
    painter.setPen(kAxis);
    painter.drawLine(QPointF(plot.left(), zero), QPointF(plot.right(), zero));
    painter.drawLine(QPointF(plot.left(), plot.top()), QPointF(plot.left(), plot.bottom()));
    const QRectF axis(body.left(), 0, plot.left() - body.left() - pad / 2, metrics.height());
    painter.drawText(axis.translated(0, plot.top() - metrics.height() / 2), Qt::AlignRight | Qt::AlignVCenter, ends[0]);
    if (scale.low() < 0)
        painter.drawText(axis.translated(0, plot.bottom() - metrics.height() / 2), Qt::AlignRight | Qt::AlignVCenter, ends[1]);
    // Every label there is room for, from the first: the others are left out.
    const int every = std::max(1, int(std::ceil((widest(metrics, labels) + pad) / slot)));
    for (size_t i = 0; i < bars.size(); i += size_t(every)) {
        const double middle = plot.left() + slot * (double(i) + 0.5);
        painter.drawText(QRectF(middle - slot * every / 2.0, plot.bottom() + metrics.height() * 0.2, slot * every,
                                metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, bars[i].label);
    }
}

void paintBars(QPainter& painter, const QRectF& body, const std::vector<ChartBar>& bars)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    const Scale scale(bars);
    QStringList names;
    QStringList amounts;
    for (const ChartBar& bar : bars) {
        names << bar.label;
        amounts << store::formatMoney(bar.amount);
    }
    const double pad = metrics.averageCharWidth();
    const double nameRoom = std::min(body.width() * 0.4, widest(metrics, names) + pad);
    const double amountRoom = widest(metrics, amounts) + pad;
    const double left = body.left() + nameRoom;
    const double length = body.width() - nameRoom - amountRoom;
    const double zero = left + scale.at(0, length);
    const double row = std::min(body.height() / double(kTopGoods), metrics.height() * 1.6);
    painter.setPen(kAxis);
    for (size_t i = 0; i < bars.size(); ++i) {
        const QRectF line(body.left(), body.top() + row * double(i), body.width(), row);
        const double end = left + scale.at(bars[i].amount, length);
        painter.fillRect(QRectF(std::min(end, zero), line.top() + row * 0.15, std::abs(end - zero), row * 0.7),
                         bars[i].amount < 0 ? kFall : kRise);
        painter.drawText(QRectF(line.left(), line.top(), nameRoom - pad / 2, row), Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(names[qsizetype(i)], Qt::ElideRight, nameRoom - pad / 2));
        painter.drawText(QRectF(line.right() - amountRoom, line.top(), amountRoom, row), Qt::AlignRight | Qt::AlignVCenter,
                         amounts[qsizetype(i)]);
    }
    painter.drawLine(QPointF(zero, body.top()), QPointF(zero, body.top() + row * double(bars.size())));
}

} // namespace

ChartPicture overTimePicture(const Chart& chart, const QString& what)
{
    return {QStringLiteral("%1 %2").arg(what, stepName(chart.step)), ChartShape::Columns, chart.overTime};
}

ChartPicture topGoodsPicture(const Chart& chart, const QString& what)
{
    return {QStringLiteral("Първите %1 стоки по %2").arg(kTopGoods).arg(what), ChartShape::Bars, chart.topGoods};
}

void paintChart(QPainter& painter, const QRectF& area, const ChartPicture& picture)
{
    painter.save();
    const QFont plain = painter.font();
    QFont bold = plain;
    bold.setBold(true);
    painter.setFont(bold);
    const QFontMetricsF metrics(bold, painter.device());
    painter.drawText(QRectF(area.left(), area.top(), area.width(), metrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(picture.title, Qt::ElideRight, area.width()));
    painter.setFont(plain);
    const QRectF body = area.adjusted(0, metrics.height() * 1.4, 0, 0);
    if (!picture.bars.empty() && body.height() > 0) {
        if (picture.shape == ChartShape::Columns)
            paintColumns(painter, body, picture.bars);
        else
            paintBars(painter, body, picture.bars);
    }
    painter.restore();
}

} // namespace reports
