#include "reports/ChartView.h"

#include "common/Controls.h"

#include <QPainter>

namespace reports {

ChartView::ChartView(QWidget* parent, const QString& name, const QRect& geometry, ChartPicture picture)
    : QWidget(parent), picture_(std::move(picture))
{
    app::placed(this, name, geometry);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartView::setPicture(ChartPicture picture)
{
    picture_ = std::move(picture);
    update();
}

void ChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    painter.setPen(palette().mid().color());
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(palette().text().color());
    paintChart(painter, QRectF(rect()).adjusted(8, 6, -8, -6), picture_);
}

} // namespace reports
