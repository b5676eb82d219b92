#include "tools/auction-house/web/carphotopainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace qev {

namespace {

struct Shape {
    double length;    // of the image width
    double bodyTop;   // belt line, of the car height (0 top of roof, 1 ground)
    double roofFront; // where the roof starts, of the length
    double roofBack;
    double nose;      // bonnet end height, of the car height
    double tail;      // boot end height
    double height;    // car height, of the image height
    double clearance; // wheel size factor
};

Shape ShapeOf(CatalogueLot::Body body) {
    switch (body) {
    case CatalogueLot::Body::Sedan:
        return {0.80, 0.48, 0.33, 0.68, 0.55, 0.50, 0.28, 1.0};
    case CatalogueLot::Body::Hatchback:
        return {0.70, 0.50, 0.30, 0.82, 0.58, 0.25, 0.31, 1.0};
    case CatalogueLot::Body::Minivan:
        return {0.80, 0.50, 0.18, 0.97, 0.55, 0.05, 0.40, 1.0};
    case CatalogueLot::Body::KeiWagon:
        return {0.58, 0.52, 0.14, 0.96, 0.55, 0.04, 0.42, 0.9};
    case CatalogueLot::Body::Suv:
        return {0.76, 0.48, 0.28, 0.90, 0.50, 0.25, 0.38, 1.2};
    case CatalogueLot::Body::Wagon:
        return {0.82, 0.50, 0.30, 0.94, 0.56, 0.20, 0.29, 1.0};
    }
    return {0.80, 0.48, 0.33, 0.68, 0.55, 0.50, 0.28, 1.0};
}

} // namespace

QImage CarPhotoPainter::Paint(const CatalogueLot& lot, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    const double w = size.width();
    const double h = size.height();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Sky, the yard's back wall and the asphalt.
    QLinearGradient sky(0, 0, 0, h * 0.45);
    sky.setColorAt(0, QColor(120, 170, 225));
    sky.setColorAt(1, QColor(205, 225, 245));
    p.fillRect(QRectF(0, 0, w, h * 0.45), sky);
    p.fillRect(QRectF(0, h * 0.30, w, h * 0.18), QColor(190, 185, 175));
    for (int i = 0; i < 8; ++i)
        p.fillRect(QRectF(w * (0.03 + i * 0.125), h * 0.33, w * 0.08, h * 0.06), QColor(150, 160, 170));
    QLinearGradient ground(0, h * 0.45, 0, h);
    ground.setColorAt(0, QColor(105, 105, 108));
    ground.setColorAt(1, QColor(70, 70, 74));
    p.fillRect(QRectF(0, h * 0.45, w, h * 0.55), ground);
    p.fillRect(QRectF(0, h * 0.90, w, h * 0.012), QColor(230, 230, 220));

    const Shape s = ShapeOf(lot.body);
    const double carW = w * s.length;
    const double carH = h * s.height;
    const double left = (w - carW) / 2 + ((lot.exhibit % 7) - 3) * w * 0.01;
    const double ground_y = h * 0.82;
    const double top = ground_y - carH;
    auto X = [&](double f) { return left + carW * f; };
    auto Y = [&](double f) { return top + carH * f; };

    // Shadow.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 30, 30, 140));
    p.drawEllipse(QPointF(X(0.5), ground_y), carW * 0.55, h * 0.025);

    // Body: bonnet, cabin and boot in one outline.
    QPainterPath body;
    body.moveTo(X(0.0), Y(0.88));
    body.lineTo(X(0.0), Y(s.nose + 0.06));
    body.quadTo(X(0.01), Y(s.nose), X(0.08), Y(s.nose));
    body.lineTo(X(s.roofFront - 0.10), Y(s.bodyTop));
    body.lineTo(X(s.roofFront), Y(0.02));
    body.lineTo(X(s.roofBack), Y(0.02));
    body.lineTo(X(qMin(0.99, s.roofBack + 0.05)), Y(qMax(s.tail, 0.06)));
    body.lineTo(X(1.0), Y(qMax(s.tail, s.bodyTop)));
    body.lineTo(X(1.0), Y(0.88));
    body.closeSubpath();
    QLinearGradient paint(0, top, 0, ground_y);
    paint.setColorAt(0, lot.colour.lighter(135));
    paint.setColorAt(0.55, lot.colour);
    paint.setColorAt(1, lot.colour.darker(160));
    p.setBrush(paint);
    p.setPen(QPen(lot.colour.darker(220), 2));
    p.drawPath(body);

    // Windows.
    QPolygonF glass;
    glass << QPointF(X(s.roofFront - 0.07), Y(s.bodyTop - 0.02)) << QPointF(X(s.roofFront + 0.01), Y(0.08))
          << QPointF(X(s.roofBack - 0.01), Y(0.08))
          << QPointF(X(qMin(0.97, s.roofBack + 0.03)), Y(s.bodyTop - 0.02));
    QLinearGradient tint(0, Y(0.08), 0, Y(s.bodyTop));
    tint.setColorAt(0, QColor(60, 75, 95));
    tint.setColorAt(1, QColor(140, 165, 190));
    p.setBrush(tint);
    p.setPen(QPen(QColor(25, 25, 30), 3));
    p.drawPolygon(glass);
    p.drawLine(QPointF(X((s.roofFront + s.roofBack) / 2), Y(0.08)),
               QPointF(X((s.roofFront + s.roofBack) / 2), Y(s.bodyTop - 0.02)));

    // Door lines, handle, lamps and bumpers.
    p.setPen(QPen(lot.colour.darker(200), 2));
    const double doorA = s.roofFront - 0.05;
    const double doorB = (s.roofFront + s.roofBack) / 2;
    p.drawLine(QPointF(X(doorA), Y(s.bodyTop)), QPointF(X(doorA + 0.02), Y(0.85)));
    p.drawLine(QPointF(X(doorB), Y(s.bodyTop)), QPointF(X(doorB), Y(0.85)));
    p.fillRect(QRectF(X(doorB - 0.06), Y(s.bodyTop + 0.10), carW * 0.035, carH * 0.025), QColor(40, 40, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 245, 215));
    p.drawRoundedRect(QRectF(X(0.005), Y(s.nose + 0.07), carW * 0.05, carH * 0.07), 3, 3);
    p.setBrush(QColor(200, 30, 30));
    p.drawRoundedRect(QRectF(X(0.965), Y(qMax(s.tail, s.bodyTop) + 0.05), carW * 0.03, carH * 0.10), 3, 3);
    p.setBrush(QColor(45, 45, 48));
    p.drawRect(QRectF(X(-0.01), Y(0.78), carW * 0.10, carH * 0.10));
    p.drawRect(QRectF(X(0.91), Y(0.78), carW * 0.10, carH * 0.10));

    // Wheels.
    const double r = carH * 0.20 * s.clearance;
    for (double at : {0.18, 0.80}) {
        const QPointF c(X(at), ground_y - r);
        p.setBrush(QColor(70, 70, 72));
        p.drawEllipse(c, r * 1.15, r * 1.15);
        p.setBrush(QColor(20, 20, 22));
        p.drawEllipse(c, r, r);
        p.setBrush(QColor(190, 192, 198));
        p.drawEllipse(c, r * 0.58, r * 0.58);
        p.setBrush(QColor(120, 122, 128));
        p.drawEllipse(c, r * 0.18, r * 0.18);
    }

    // The yard's board with the exhibit number.
    const QRectF board(w * 0.04, h * 0.04, w * 0.22, h * 0.10);
    p.setBrush(QColor(250, 250, 245));
    p.setPen(QPen(QColor(40, 40, 40), 2));
    p.drawRect(board);
    QFont font = p.font();
    font.setPixelSize(int(h * 0.06));
    font.setBold(true);
    p.setFont(font);
    p.drawText(board, Qt::AlignCenter, QString::number(lot.exhibit));
    p.end();
    return image;
}

} // namespace qev
