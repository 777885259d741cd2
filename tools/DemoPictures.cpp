#include "DemoPictures.h"

#include "store/StoreError.h"
#include "tools/ToolError.h"

#include <QDir>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <cmath>
#include <map>

namespace demo {

namespace {

QColor mix(const QColor& a, const QColor& b, double shareOfB)
{
    const auto blend = [shareOfB](int x, int y) { return int(std::lround(x + (y - x) * shareOfB)); };
    return QColor(blend(a.red(), b.red()), blend(a.green(), b.green()), blend(a.blue(), b.blue()));
}

QColor hueShift(const QColor& colour, int degrees)
{
    const int hue = colour.hsvHue() < 0 ? 0 : colour.hsvHue();
    return QColor::fromHsv((hue + degrees) % 360, std::max(colour.hsvSaturation(), 120),
                           std::max(colour.value(), 170));
}

// Fills the shapes that follow with colour and outlines them a shade darker.
void paint(QPainter& p, const QColor& colour)
{
    p.setBrush(colour);
    p.setPen(QPen(colour.darker(160), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void line(QPainter& p, const QColor& colour, qreal width, QPointF from, QPointF to)
{
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(from, to);
}

QRectF around(QPointF centre, qreal radius)
{
    return QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
}

void wheel(QPainter& p, QPointF centre, qreal radius, int spokes)
{
    paint(p, QColor(50, 50, 55));
    p.drawEllipse(around(centre, radius));
    paint(p, QColor(200, 200, 205));
    p.drawEllipse(around(centre, radius * 0.7));
    p.setPen(QPen(QColor(120, 120, 125), 2));
    for (int i = 0; i < spokes; ++i) {
        const double angle = M_PI * i / spokes;
        const QPointF d(std::cos(angle) * radius * 0.7, std::sin(angle) * radius * 0.7);
        p.drawLine(centre - d, centre + d);
    }
    paint(p, QColor(90, 90, 95));
    p.drawEllipse(around(centre, radius * 0.18));
}

QPolygonF star(QPointF centre, qreal outer, qreal inner)
{
    QPolygonF points;
    for (int i = 0; i < 10; ++i) {
        const double angle = -M_PI / 2 + M_PI * i / 5;
        const qreal r = i % 2 == 0 ? outer : inner;
        points << centre + QPointF(std::cos(angle) * r, std::sin(angle) * r);
    }
    return points;
}

void background(QPainter& p, const QColor& colour)
{
    QLinearGradient sky(0, 0, 0, kPictureSize);
    sky.setColorAt(0, mix(colour, Qt::white, 0.9));
    sky.setColorAt(1, mix(colour, Qt::white, 0.75));
    p.fillRect(QRectF(0, 0, kPictureSize, kPictureSize), sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 35));
    p.drawEllipse(QRectF(55, 250, 190, 30));
}

void drawBall(QPainter& p, const QColor& c)
{
    const QRectF ball(50, 45, 200, 200);
    QPainterPath circle;
    circle.addEllipse(ball);
    QRadialGradient shine(120, 105, 170);
    shine.setColorAt(0, c.lighter(140));
    shine.setColorAt(1, c.darker(120));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawPath(circle);
    p.save();
    p.setClipPath(circle);
    p.translate(150, 145);
    p.rotate(-25);
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawRect(QRectF(-120, -22, 240, 44));
    p.setBrush(QColor(255, 205, 50));
    p.drawRect(QRectF(-120, 45, 240, 30));
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(c.darker(170), 3));
    p.drawEllipse(ball);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(QRectF(92, 75, 42, 28));
}

void drawTeddy(QPainter& p, const QColor& c)
{
    const QColor light = c.lighter(140);
    paint(p, c);
    p.drawEllipse(QRectF(65, 38, 60, 60));
    p.drawEllipse(QRectF(175, 38, 60, 60));
    p.drawEllipse(QRectF(52, 148, 52, 72));
    p.drawEllipse(QRectF(196, 148, 52, 72));
    p.drawEllipse(QRectF(78, 212, 58, 46));
    p.drawEllipse(QRectF(164, 212, 58, 46));
    p.drawEllipse(QRectF(85, 138, 130, 115));
    paint(p, light);
    p.drawEllipse(QRectF(80, 53, 30, 30));
    p.drawEllipse(QRectF(190, 53, 30, 30));
    p.drawEllipse(QRectF(118, 168, 64, 62));
    p.drawEllipse(QRectF(90, 226, 36, 24));
    p.drawEllipse(QRectF(174, 226, 36, 24));
    paint(p, c);
    p.drawEllipse(QRectF(90, 45, 120, 108));
    paint(p, light);
    p.drawEllipse(QRectF(123, 98, 54, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 25, 25));
    p.drawEllipse(QRectF(120, 80, 13, 13));
    p.drawEllipse(QRectF(167, 80, 13, 13));
    p.drawEllipse(QRectF(140, 103, 20, 13));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(30, 25, 25), 2.5));
    p.drawArc(QRectF(138, 106, 24, 22), 220 * 16, 100 * 16);
    paint(p, QColor(220, 40, 60));
    p.drawPolygon(QPolygonF{{150, 152}, {122, 138}, {122, 166}});
    p.drawPolygon(QPolygonF{{150, 152}, {178, 138}, {178, 166}});
    p.drawEllipse(around({150, 152}, 8));
}

void drawCar(QPainter& p, const QColor& c)
{
    paint(p, c.darker(110));
    p.drawPolygon(QPolygonF{{85, 145}, {112, 92}, {195, 92}, {232, 145}});
    paint(p, c);
    p.drawRoundedRect(QRectF(28, 140, 246, 72), 26, 26);
    paint(p, QColor(175, 220, 245));
    p.drawPolygon(QPolygonF{{102, 138}, {120, 102}, {150, 102}, {150, 138}});
    p.drawPolygon(QPolygonF{{158, 138}, {158, 102}, {190, 102}, {215, 138}});
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 220));
    p.drawRect(QRectF(30, 172, 242, 10));
    p.setBrush(QColor(255, 230, 90));
    p.drawEllipse(QRectF(254, 152, 16, 14));
    p.setBrush(QColor(230, 40, 40));
    p.drawEllipse(QRectF(31, 152, 12, 14));
    wheel(p, {85, 214}, 30, 3);
    wheel(p, {215, 214}, 30, 3);
}

void drawCube(QPainter& p, QPointF corner, qreal size, const QColor& c, const QString& letter)
{
    const qreal d = 22;
    const QPointF back(d, -d * 0.8);
    paint(p, c.lighter(130));
    p.drawPolygon(QPolygonF{corner, corner + back, corner + back + QPointF(size, 0), corner + QPointF(size, 0)});
    paint(p, c.darker(125));
    p.drawPolygon(QPolygonF{corner + QPointF(size, 0), corner + back + QPointF(size, 0),
                            corner + back + QPointF(size, size), corner + QPointF(size, size)});
    paint(p, c);
    const QRectF front(corner, QSizeF(size, size));
    p.drawRect(front);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(int(size * 0.6));
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(front, Qt::AlignCenter, letter);
}

void drawBlocks(QPainter& p, const QColor& c)
{
    drawCube(p, {35, 160}, 90, c, QStringLiteral("А"));
    drawCube(p, {140, 160}, 90, hueShift(c, 120), QStringLiteral("Б"));
    drawCube(p, {88, 60}, 90, hueShift(c, 220), QStringLiteral("В"));
}

void drawDuck(QPainter& p, const QColor& c)
{
    paint(p, c);
    p.drawPolygon(QPolygonF{{62, 165}, {38, 118}, {95, 150}});
    p.drawEllipse(QRectF(55, 128, 180, 108));
    p.drawEllipse(QRectF(158, 55, 88, 88));
    paint(p, c.darker(115));
    p.drawChord(QRectF(95, 140, 95, 60), 180 * 16, 180 * 16);
    paint(p, QColor(255, 140, 20));
    p.drawPolygon(QPolygonF{{238, 92}, {280, 102}, {238, 116}});
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 30, 30));
    p.drawEllipse(QRectF(203, 80, 14, 14));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(208, 83, 4, 4));
    p.setBrush(QColor(255, 150, 150, 160));
    p.drawEllipse(QRectF(190, 105, 16, 10));
    QPainterPath water;
    water.moveTo(0, 225);
    for (int x = 0; x < kPictureSize; x += 50) water.quadTo(x + 25, 210, x + 50, 225);
    water.lineTo(kPictureSize, kPictureSize);
    water.lineTo(0, kPictureSize);
    water.closeSubpath();
    p.setBrush(QColor(90, 170, 230, 200));
    p.drawPath(water);
}

void drawPyramid(QPainter& p, const QColor& c)
{
    const QColor wood(195, 145, 90);
    paint(p, wood);
    p.drawRoundedRect(QRectF(65, 244, 170, 18), 6, 6);
    p.drawRect(QRectF(143, 70, 14, 178));
    for (int i = 0; i < 7; ++i) {
        const qreal width = 176 - i * 20;
        paint(p, hueShift(c, i * 48));
        p.drawEllipse(QRectF(150 - width / 2, 218 - i * 24, width, 30));
    }
    paint(p, c);
    p.drawEllipse(QRectF(128, 38, 44, 44));
}

void drawTop(QPainter& p, const QColor& c)
{
    paint(p, QColor(160, 160, 165));
    p.drawRect(QRectF(142, 30, 16, 75));
    paint(p, QColor(220, 50, 50));
    p.drawEllipse(QRectF(136, 18, 28, 28));
    QPainterPath body;
    body.moveTo(55, 140);
    body.cubicTo(55, 78, 245, 78, 245, 140);
    body.cubicTo(245, 180, 172, 215, 150, 258);
    body.cubicTo(128, 215, 55, 180, 55, 140);
    paint(p, c);
    p.drawPath(body);
    p.save();
    p.setClipPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 230));
    p.drawRect(QRectF(0, 118, kPictureSize, 16));
    p.setBrush(hueShift(c, 70));
    p.drawRect(QRectF(0, 152, kPictureSize, 18));
    p.setBrush(QColor(255, 255, 255, 230));
    p.drawRect(QRectF(0, 188, kPictureSize, 12));
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(c.darker(160), 3));
    p.drawPath(body);
}

void drawTrain(QPainter& p, const QColor& c)
{
    line(p, QColor(110, 80, 60), 6, {10, 258}, {290, 258});
    paint(p, QColor(235, 235, 235));
    p.drawEllipse(around({88, 58}, 15));
    p.drawEllipse(around({112, 38}, 19));
    p.drawEllipse(around({142, 22}, 13));
    paint(p, c);
    p.drawRoundedRect(QRectF(38, 128, 135, 82), 12, 12);
    paint(p, c.darker(115));
    p.drawRect(QRectF(160, 82, 92, 128));
    paint(p, QColor(60, 60, 65));
    p.drawRect(QRectF(150, 70, 112, 16));
    p.drawPolygon(QPolygonF{{62, 130}, {62, 92}, {50, 80}, {98, 80}, {86, 92}, {86, 130}});
    paint(p, QColor(175, 220, 245));
    p.drawRect(QRectF(182, 100, 50, 42));
    paint(p, QColor(240, 190, 50));
    p.drawRect(QRectF(104, 128, 9, 82));
    paint(p, QColor(220, 50, 50));
    p.drawRect(QRectF(22, 182, 18, 22));
    wheel(p, {78, 226}, 28, 3);
    wheel(p, {138, 226}, 28, 3);
    wheel(p, {212, 222}, 32, 4);
}

void drawDress(QPainter& p, const QColor& c)
{
    paint(p, c);
    p.drawRect(QRectF(114, 30, 14, 45));
    p.drawRect(QRectF(172, 30, 14, 45));
    p.drawPolygon(QPolygonF{{104, 70}, {196, 70}, {186, 136}, {114, 136}});
    QPainterPath skirt;
    skirt.moveTo(114, 136);
    skirt.lineTo(186, 136);
    skirt.lineTo(248, 252);
    skirt.cubicTo(200, 272, 100, 272, 52, 252);
    skirt.closeSubpath();
    p.drawPath(skirt);
    p.save();
    p.setClipPath(skirt);
    p.setPen(Qt::NoPen);
    for (const QPointF& flower : {QPointF(120, 170), QPointF(170, 190), QPointF(95, 225),
                                  QPointF(145, 235), QPointF(200, 230), QPointF(150, 160)}) {
        p.setBrush(Qt::white);
        for (int petal = 0; petal < 5; ++petal) {
            const double angle = 2 * M_PI * petal / 5;
            p.drawEllipse(around(flower + QPointF(std::cos(angle) * 7, std::sin(angle) * 7), 5));
        }
        p.setBrush(QColor(255, 210, 60));
        p.drawEllipse(around(flower, 4));
    }
    p.restore();
    paint(p, hueShift(c, 200));
    p.drawRect(QRectF(110, 128, 80, 14));
    p.drawPolygon(QPolygonF{{150, 135}, {128, 122}, {128, 148}});
    p.drawPolygon(QPolygonF{{150, 135}, {172, 122}, {172, 148}});
}

void drawTShirt(QPainter& p, const QColor& c)
{
    paint(p, c);
    p.drawPolygon(QPolygonF{{100, 45}, {128, 38}, {150, 55}, {172, 38}, {200, 45}, {258, 95}, {226, 132},
                            {205, 112}, {205, 258}, {95, 258}, {95, 112}, {74, 132}, {42, 95}});
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(c.darker(140), 5));
    p.drawArc(QRectF(127, 20, 46, 44), 200 * 16, 140 * 16);
    const QColor fur(245, 160, 60);
    paint(p, fur);
    p.drawPolygon(QPolygonF{{126, 140}, {130, 112}, {145, 132}});
    p.drawPolygon(QPolygonF{{174, 140}, {170, 112}, {155, 132}});
    p.drawEllipse(QRectF(120, 125, 60, 54));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 40, 40));
    p.drawEllipse(QRectF(136, 143, 8, 10));
    p.drawEllipse(QRectF(156, 143, 8, 10));
    p.setBrush(QColor(230, 100, 120));
    p.drawPolygon(QPolygonF{{145, 158}, {155, 158}, {150, 164}});
    p.setPen(QPen(QColor(60, 40, 30), 1.5));
    p.drawLine(QPointF(112, 158), QPointF(138, 162));
    p.drawLine(QPointF(112, 168), QPointF(138, 165));
    p.drawLine(QPointF(188, 158), QPointF(162, 162));
    p.drawLine(QPointF(188, 168), QPointF(162, 165));
}

void drawHat(QPainter& p, const QColor& c)
{
    QPainterPath dome;
    dome.moveTo(70, 205);
    dome.cubicTo(70, 72, 230, 72, 230, 205);
    dome.closeSubpath();
    paint(p, c);
    p.drawPath(dome);
    p.save();
    p.setClipPath(dome);
    p.setPen(QPen(c.darker(125), 3));
    for (int x = 80; x < 230; x += 16) p.drawLine(QPointF(x, 60), QPointF(x, 210));
    p.restore();
    paint(p, c.darker(115));
    p.drawRoundedRect(QRectF(58, 188, 184, 52), 14, 14);
    p.setPen(QPen(c.darker(150), 3));
    for (int x = 70; x < 240; x += 12) p.drawLine(QPointF(x, 195), QPointF(x, 233));
    paint(p, QColor(248, 248, 248));
    p.drawEllipse(around({150, 84}, 34));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 220, 225));
    for (const QPointF& tuft : {QPointF(138, 74), QPointF(160, 80), QPointF(146, 96), QPointF(164, 98)})
        p.drawEllipse(around(tuft, 5));
}

QPainterPath sockShape(QPointF at)
{
    QPainterPath sock;
    sock.moveTo(at);
    sock.lineTo(at + QPointF(58, 0));
    sock.lineTo(at + QPointF(58, 118));
    sock.lineTo(at + QPointF(108, 148));
    sock.quadTo(at + QPointF(132, 165), at + QPointF(112, 188));
    sock.lineTo(at + QPointF(30, 188));
    sock.quadTo(at + QPointF(-6, 182), at + QPointF(0, 140));
    sock.closeSubpath();
    return sock;
}

void drawSock(QPainter& p, QPointF at, const QColor& c)
{
    const QPainterPath sock = sockShape(at);
    paint(p, c);
    p.drawPath(sock);
    p.save();
    p.setClipPath(sock);
    p.setPen(Qt::NoPen);
    p.setBrush(c.darker(125));
    p.drawRect(QRectF(at.x() - 5, at.y(), 70, 22));
    p.setBrush(QColor(255, 255, 255, 200));
    for (int stripe = 0; stripe < 3; ++stripe)
        p.drawRect(QRectF(at.x() - 5, at.y() + 40 + stripe * 25, 70, 9));
    p.setBrush(c.lighter(150));
    p.drawEllipse(around(at + QPointF(10, 178), 26));
    p.drawEllipse(around(at + QPointF(118, 172), 24));
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(c.darker(160), 3));
    p.drawPath(sock);
}

void drawSocks(QPainter& p, const QColor& c)
{
    drawSock(p, {118, 52}, c.darker(108));
    drawSock(p, {62, 38}, c);
}

void drawBook(QPainter& p, const QColor& c)
{
    paint(p, QColor(250, 245, 228));
    p.drawRect(QRectF(72, 52, 168, 214));
    p.setPen(QPen(QColor(210, 200, 180), 1.5));
    for (int y = 60; y < 262; y += 6) p.drawLine(QPointF(226, y), QPointF(238, y));
    paint(p, c);
    p.drawRoundedRect(QRectF(58, 42, 168, 216), 6, 6);
    paint(p, c.darker(130));
    p.drawRect(QRectF(58, 42, 22, 216));
    paint(p, QColor(250, 245, 228));
    p.drawRoundedRect(QRectF(100, 74, 104, 48), 6, 6);
    p.setPen(QPen(c.darker(110), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(114, 90), QPointF(190, 90));
    p.drawLine(QPointF(124, 106), QPointF(180, 106));
    paint(p, QColor(255, 215, 60));
    p.drawPolygon(star({152, 188}, 44, 18));
}

void drawPram(QPainter& p, const QColor& c)
{
    line(p, QColor(70, 70, 75), 8, {236, 122}, {272, 66});
    paint(p, QColor(60, 60, 65));
    p.drawRoundedRect(QRectF(258, 54, 30, 16), 6, 6);
    line(p, QColor(120, 120, 125), 6, {100, 200}, {85, 240});
    line(p, QColor(120, 120, 125), 6, {190, 200}, {205, 240});
    QPainterPath body;
    body.moveTo(42, 120);
    body.lineTo(238, 120);
    body.cubicTo(238, 192, 192, 214, 140, 214);
    body.cubicTo(88, 214, 42, 192, 42, 120);
    body.closeSubpath();
    paint(p, c);
    p.drawPath(body);
    QPainterPath hood;
    hood.moveTo(118, 120);
    hood.arcTo(QRectF(38, 40, 160, 160), 90, 90);
    hood.closeSubpath();
    paint(p, c.darker(125));
    p.drawPath(hood);
    p.setPen(QPen(c.darker(160), 2));
    for (int angle = 112; angle < 180; angle += 22) {
        const double r = angle * M_PI / 180;
        p.drawLine(QPointF(118, 120), QPointF(118 + 80 * std::cos(r), 120 - 80 * std::sin(r)));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawRect(QRectF(60, 140, 160, 8));
    wheel(p, {82, 246}, 27, 4);
    wheel(p, {208, 246}, 27, 4);
}

void drawStroller(QPainter& p, const QColor& c)
{
    const QColor frame(70, 70, 75);
    line(p, frame, 7, {214, 40}, {206, 248});
    line(p, frame, 7, {208, 130}, {100, 248});
    paint(p, frame);
    p.drawRoundedRect(QRectF(200, 28, 34, 14), 6, 6);
    paint(p, c);
    p.drawPolygon(QPolygonF{{160, 92}, {204, 96}, {200, 180}, {150, 176}});
    p.drawPolygon(QPolygonF{{96, 160}, {200, 176}, {190, 206}, {90, 192}});
    paint(p, c.darker(110));
    p.drawPolygon(QPolygonF{{90, 192}, {110, 194}, {96, 232}, {78, 228}});
    QPainterPath canopy;
    canopy.moveTo(208, 120);
    canopy.arcTo(QRectF(112, 40, 192, 160), 180, -90);
    canopy.lineTo(208, 120);
    canopy.closeSubpath();
    paint(p, c.darker(125));
    p.drawPath(canopy);
    p.setPen(QPen(c.darker(160), 2));
    for (int angle = 110; angle < 180; angle += 23) {
        const double r = angle * M_PI / 180;
        p.drawLine(QPointF(208, 120), QPointF(208 + 96 * std::cos(r), 120 - 80 * std::sin(r)));
    }
    wheel(p, {100, 252}, 20, 3);
    wheel(p, {206, 252}, 20, 3);
}

void drawTricycle(QPainter& p, const QColor& c)
{
    line(p, QColor(150, 150, 155), 6, {212, 178}, {254, 62});
    paint(p, QColor(60, 60, 65));
    p.drawRoundedRect(QRectF(240, 50, 28, 16), 6, 6);
    wheel(p, {238, 226}, 28, 4);
    paint(p, QColor(235, 225, 200));
    p.drawRect(QRectF(196, 168, 56, 30));
    p.setPen(QPen(QColor(180, 160, 120), 2));
    for (int x = 206; x < 252; x += 10) p.drawLine(QPointF(x, 168), QPointF(x, 198));
    line(p, c, 11, {90, 196}, {112, 100});
    line(p, c, 11, {114, 132}, {222, 226});
    line(p, c, 9, {172, 182}, {166, 140});
    wheel(p, {90, 196}, 56, 6);
    wheel(p, {222, 226}, 28, 4);
    line(p, QColor(60, 60, 65), 6, {90, 196}, {110, 214});
    line(p, QColor(60, 60, 65), 6, {90, 196}, {70, 178});
    line(p, QColor(40, 40, 40), 9, {88, 96}, {132, 96});
    paint(p, QColor(40, 40, 40));
    p.drawEllipse(QRectF(140, 126, 56, 20));
}

using DrawingFunction = void (*)(QPainter&, const QColor&);

const std::map<Drawing, DrawingFunction>& drawings()
{
    static const std::map<Drawing, DrawingFunction> table{
        {Drawing::Ball, drawBall},         {Drawing::Teddy, drawTeddy},     {Drawing::Car, drawCar},
        {Drawing::Blocks, drawBlocks},     {Drawing::Duck, drawDuck},       {Drawing::Pyramid, drawPyramid},
        {Drawing::Top, drawTop},           {Drawing::Train, drawTrain},     {Drawing::Dress, drawDress},
        {Drawing::TShirt, drawTShirt},     {Drawing::Hat, drawHat},         {Drawing::Socks, drawSocks},
        {Drawing::Book, drawBook},         {Drawing::Pram, drawPram},       {Drawing::Stroller, drawStroller},
        {Drawing::Tricycle, drawTricycle},
    };
    return table;
}

QImage canvas()
{
    QImage image(kPictureSize, kPictureSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void caption(QPainter& p, const QString& text, const QColor& colour)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(28);
    font.setBold(true);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QRectF(0, 228, kPictureSize, 56), Qt::AlignCenter, text);
}

} // namespace

QImage drawGoodsPicture(const Picture& picture)
{
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    background(p, picture.colour);
    drawings().at(picture.drawing)(p, picture.colour);
    return image;
}

QImage drawNoPicture()
{
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(image.rect(), QColor(236, 236, 238));
    paint(p, QColor(252, 252, 252));
    p.setPen(QPen(QColor(150, 150, 155), 6));
    p.drawRoundedRect(QRectF(60, 40, 180, 150), 12, 12);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(185, 185, 190));
    p.drawPolygon(QPolygonF{{75, 175}, {130, 100}, {165, 145}, {190, 120}, {225, 175}});
    p.setBrush(QColor(205, 205, 210));
    p.drawEllipse(around({195, 80}, 18));
    line(p, QColor(200, 60, 60, 200), 8, {70, 180}, {230, 50});
    caption(p, QStringLiteral("Няма снимка"), QColor(110, 110, 115));
    return image;
}

QImage drawNoGoods()
{
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(image.rect(), QColor(250, 244, 230));
    const QColor cardboard(205, 150, 90);
    paint(p, cardboard.darker(125));
    p.drawPolygon(QPolygonF{{70, 100}, {150, 80}, {230, 100}, {150, 120}});
    paint(p, cardboard.lighter(110));
    p.drawPolygon(QPolygonF{{70, 100}, {40, 70}, {120, 52}, {150, 80}});
    p.drawPolygon(QPolygonF{{230, 100}, {260, 70}, {180, 52}, {150, 80}});
    paint(p, cardboard);
    p.drawPolygon(QPolygonF{{70, 100}, {150, 120}, {150, 210}, {70, 190}});
    paint(p, cardboard.darker(110));
    p.drawPolygon(QPolygonF{{230, 100}, {150, 120}, {150, 210}, {230, 190}});
    caption(p, QStringLiteral("Няма стока"), QColor(150, 100, 50));
    return image;
}

void savePicture(const QImage& image, const QString& path)
{
    if (!image.save(path, "JPEG", 90))
        throw store::Error(tools::ToolError::PictureNotWritten, {QDir::toNativeSeparators(path)});
}

} // namespace demo
