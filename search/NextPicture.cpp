#include "search/NextPicture.h"

#include <QPainter>
#include <QPainterPath>

namespace search {

QPixmap nextPicture(QSize size)
{
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    QPainterPath arrow;
    arrow.moveTo(w * 0.15, h * 0.35);
    arrow.lineTo(w * 0.5, h * 0.35);
    arrow.lineTo(w * 0.5, h * 0.12);
    arrow.lineTo(w * 0.88, h * 0.5);
    arrow.lineTo(w * 0.5, h * 0.88);
    arrow.lineTo(w * 0.5, h * 0.65);
    arrow.lineTo(w * 0.15, h * 0.65);
    arrow.closeSubpath();
    painter.fillPath(arrow, QColor(30, 130, 60));
    return picture;
}

} // namespace search
