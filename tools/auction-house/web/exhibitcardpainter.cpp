#include "tools/auction-house/web/exhibitcardpainter.h"

#include <QLocale>
#include <QPainter>
#include <QPainterPath>

namespace qev {

namespace {

void Cell(QPainter& p, const QRectF& r, const QString& label, const QString& value, int valuePx) {
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
    const QRectF head(r.left(), r.top(), r.width(), r.height() * 0.32);
    p.fillRect(head.adjusted(1, 1, -1, 0), QColor(225, 232, 242));
    QFont f = p.font();
    f.setPixelSize(int(r.height() * 0.22));
    f.setBold(false);
    p.setFont(f);
    p.setPen(QColor(40, 40, 90));
    p.drawText(head.adjusted(8, 0, -8, 0), Qt::AlignVCenter | Qt::AlignLeft, label);
    f.setPixelSize(valuePx);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRectF(r.left() + 10, head.bottom(), r.width() - 20, r.height() - head.height()),
               Qt::AlignVCenter | Qt::AlignLeft, value);
}

} // namespace

QImage ExhibitCardPainter::Paint(const CatalogueLot& lot, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(252, 252, 248));
    const double w = size.width();
    const double h = size.height();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // Title band.
    p.fillRect(QRectF(0, 0, w, h * 0.07), QColor(30, 60, 120));
    QFont f = p.font();
    f.setPixelSize(int(h * 0.04));
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(w * 0.03, 0, w * 0.94, h * 0.07), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("出品票　QEVオートオークション"));

    const double m = w * 0.03;
    const double rowH = h * 0.085;
    const double colW = (w - 2 * m) / 4;
    double y = h * 0.09;
    const int big = int(rowH * 0.45);
    const QLocale locale(QLocale::Japanese, QLocale::Japan);

    Cell(p, QRectF(m, y, colW, rowH), QStringLiteral("出品番号"), QString::number(lot.exhibit), big);
    Cell(p, QRectF(m + colW, y, colW * 3, rowH), QStringLiteral("車名"),
         lot.maker + QLatin1Char(' ') + lot.carName, int(rowH * 0.38));
    y += rowH;
    Cell(p, QRectF(m, y, colW, rowH), QStringLiteral("年式"),
         QStringLiteral("%1年 (%2)").arg(lot.modelYear).arg(lot.yearAd), int(rowH * 0.36));
    Cell(p, QRectF(m + colW, y, colW, rowH), QStringLiteral("走行"),
         locale.toString(lot.mileageKm) + QStringLiteral("km"), int(rowH * 0.36));
    Cell(p, QRectF(m + 2 * colW, y, colW, rowH), QStringLiteral("色"), lot.colourName, int(rowH * 0.34));
    Cell(p, QRectF(m + 3 * colW, y, colW, rowH), QStringLiteral("出品店"), lot.exhibitorCode, big);
    y += rowH;
    Cell(p, QRectF(m, y, colW, rowH), QStringLiteral("評価点"), lot.overallGrade, big);
    Cell(p, QRectF(m + colW, y, colW, rowH), QStringLiteral("外装"), lot.exteriorGrade, big);
    Cell(p, QRectF(m + 2 * colW, y, colW, rowH), QStringLiteral("内装"), lot.interiorGrade, big);
    Cell(p, QRectF(m + 3 * colW, y, colW, rowH), QStringLiteral("スタート"),
         QStringLiteral("%1万円").arg(lot.startPriceYen / 10000.0, 0, 'f', 1), int(rowH * 0.38));
    y += rowH;

    // Notes.
    const QRectF notes(m, y + h * 0.01, w - 2 * m, rowH * 1.3);
    Cell(p, notes, QStringLiteral("注意事項・訂正"),
         lot.correction.isEmpty() ? QStringLiteral("なし") : lot.correction, int(rowH * 0.34));
    y = notes.bottom() + h * 0.02;

    // Car outline from above with damage marks.
    const QRectF area(m, y, w - 2 * m, h - y - m);
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(area);
    const QRectF car(area.center().x() - area.width() * 0.18, area.top() + area.height() * 0.06,
                     area.width() * 0.36, area.height() * 0.88);
    QPainterPath outline;
    outline.addRoundedRect(car, car.width() * 0.28, car.width() * 0.22);
    p.setPen(QPen(QColor(20, 20, 20), 3));
    p.drawPath(outline);
    p.drawRoundedRect(
        car.adjusted(car.width() * 0.12, car.height() * 0.28, -car.width() * 0.12, -car.height() * 0.22), 12,
        12);
    p.drawLine(QPointF(car.left() + car.width() * 0.12, car.top() + car.height() * 0.28),
               QPointF(car.right() - car.width() * 0.12, car.top() + car.height() * 0.28));
    for (double fy : {0.16, 0.78}) {
        for (double fx : {-0.04, 0.96}) {
            p.fillRect(QRectF(car.left() + car.width() * fx, car.top() + car.height() * fy,
                              car.width() * 0.08, car.height() * 0.10),
                       QColor(30, 30, 30));
        }
    }
    f.setPixelSize(int(h * 0.026));
    f.setBold(true);
    p.setFont(f);
    for (const CatalogueLot::Damage& d : lot.damages) {
        const QPointF at(car.left() + car.width() * d.where.x(), car.top() + car.height() * d.where.y());
        p.setPen(QPen(QColor(200, 20, 20), 3));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(at, h * 0.022, h * 0.022);
        p.drawText(QRectF(at.x() - h * 0.03, at.y() - h * 0.015, h * 0.06, h * 0.03), Qt::AlignCenter,
                   d.code);
    }
    f.setPixelSize(int(h * 0.022));
    f.setBold(false);
    p.setFont(f);
    p.setPen(QColor(60, 60, 60));
    p.drawText(QRectF(area.left() + 12, area.top() + 8, area.width() * 0.28, area.height() * 0.6),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               QStringLiteral("A: キズ\nU: ヘコミ\nW: 補修波\nS: サビ\nB: ヘコミ付キズ\nC: 腐食"));
    p.end();
    return image;
}

} // namespace qev
