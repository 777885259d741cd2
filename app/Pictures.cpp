#include "app/Pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <array>

namespace app::pictures {

namespace {

QPixmap blank(QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void roundBadge(QPainter& p, QSize size, const QColor& fill)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(fill.darker(140), 1.5));
    p.setBrush(fill);
    p.drawEllipse(QRectF(1, 1, size.width() - 2, size.height() - 2));
}

void balloon(QPainter& p, QPointF centre, qreal radius, const QColor& colour)
{
    QRadialGradient shine(centre - QPointF(radius / 3, radius / 3), radius * 1.3);
    shine.setColorAt(0, colour.lighter(170));
    shine.setColorAt(1, colour);
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawEllipse(centre, radius * 0.85, radius);
    p.setPen(QPen(QColor(90, 90, 90), 1.2));
    QPainterPath thread(centre + QPointF(0, radius));
    thread.cubicTo(centre + QPointF(radius * 0.4, radius * 1.8), centre + QPointF(-radius * 0.4, radius * 2.4),
                   centre + QPointF(0, radius * 3.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(thread);
}

void block(QPainter& p, QRectF box, const QColor& colour, QChar letter)
{
    p.setPen(QPen(colour.darker(150), 2));
    p.setBrush(colour);
    p.drawRoundedRect(box, 6, 6);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(int(box.height() * 0.6));
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(box, Qt::AlignCenter, letter);
}

} // namespace

QPixmap arrow(QSize size, bool pointsLeft)
{
    QPixmap pixmap = blank(size);
    QPainter p(&pixmap);
    roundBadge(p, size, QColor(255, 170, 60));
    const qreal w = size.width(), h = size.height();
    QPolygonF head{QPointF(w * 0.68, h * 0.22), QPointF(w * 0.30, h * 0.5), QPointF(w * 0.68, h * 0.78)};
    if (!pointsLeft)
        for (QPointF& point : head) point.setX(w - point.x());
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(head);
    return pixmap;
}

QPixmap closeCross(QSize size)
{
    QPixmap pixmap = blank(size);
    QPainter p(&pixmap);
    roundBadge(p, size, QColor(220, 70, 70));
    const qreal w = size.width(), h = size.height();
    p.setPen(QPen(Qt::white, qMax(2.0, w / 8), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(w * 0.3, h * 0.3), QPointF(w * 0.7, h * 0.7));
    p.drawLine(QPointF(w * 0.7, h * 0.3), QPointF(w * 0.3, h * 0.7));
    return pixmap;
}

QPixmap addToBasket(QSize size)
{
    QPixmap pixmap = blank(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width(), h = size.height();
    p.setPen(QPen(QColor(120, 70, 20), 2));
    p.setBrush(QColor(230, 170, 90));
    p.drawPolygon(QPolygonF{QPointF(w * 0.1, h * 0.45), QPointF(w * 0.9, h * 0.45), QPointF(w * 0.78, h * 0.92),
                            QPointF(w * 0.22, h * 0.92)});
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(w * 0.25, h * 0.12, w * 0.5, h * 0.66), 0, 180 * 16);
    p.setPen(QPen(QColor(40, 150, 60), qMax(2.0, w / 9), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(w * 0.5, h * 0.55), QPointF(w * 0.5, h * 0.85));
    p.drawLine(QPointF(w * 0.35, h * 0.7), QPointF(w * 0.65, h * 0.7));
    return pixmap;
}

QPixmap undoLast(QSize size)
{
    QPixmap pixmap = blank(size);
    QPainter p(&pixmap);
    roundBadge(p, size, QColor(90, 150, 220));
    const qreal w = size.width(), h = size.height();
    p.setPen(QPen(Qt::white, qMax(2.0, w / 10), Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(w * 0.28, h * 0.28, w * 0.44, h * 0.44), 90 * 16, -270 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF{QPointF(w * 0.5, h * 0.14), QPointF(w * 0.5, h * 0.42), QPointF(w * 0.32, h * 0.28)});
    return pixmap;
}

QPixmap welcome(QSize size)
{
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(200, 232, 255));
    sky.setColorAt(1, QColor(255, 248, 225));
    p.fillRect(pixmap.rect(), sky);
    const qreal w = size.width(), h = size.height();
    const std::array<QColor, 4> colours{QColor(235, 80, 90), QColor(255, 190, 40), QColor(90, 180, 90), QColor(80, 140, 230)};
    for (int i = 0; i < 4; ++i)
        balloon(p, QPointF(w * (0.12 + 0.1 * i), h * (0.2 + 0.05 * (i % 2))), h * 0.09, colours[size_t(i)]);
    const QString letters = QStringLiteral("ТЕРВИН");
    const qreal side = qMin(w / 10, h / 5);
    for (int i = 0; i < letters.size(); ++i)
        block(p, QRectF(w * 0.5 + i * (side * 0.75), h * 0.78 - side - (i % 2) * side * 0.1, side * 0.7, side * 0.7),
              colours[size_t(i % 4)], letters[i]);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 200, 120));
    p.drawRect(QRectF(0, h * 0.8, w, h * 0.2));
    return pixmap;
}

} // namespace app::pictures
