#include "priceimages.h"

#include <QFontMetricsF>

namespace qev::art {

namespace {

struct Size {
    int cell;
    int height;
    int digitPx;
    int unitPx;
    int baseline;
};

QImage Numbers(const Size& s) {
    return Strip(
        s.cell, s.height, 11, 1,
        [&](QPainter& p, const QRect& cell, int col, int) {
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setRenderHint(QPainter::TextAntialiasing, true);
            if (col < 10) {
                const QFont f = DigitFont(s.digitPx);
                const QString digit = QString::number(col);
                const qreal w = QFontMetricsF(f).horizontalAdvance(digit);
                p.setFont(f);
                p.setPen(kDigit);
                p.drawText(QPointF(cell.left() + (cell.width() - w) / 2, cell.top() + s.baseline), digit);
                return;
            }
            // 万円 on the digits' baseline, the two characters side by side.
            const QFont f = Gothic(s.unitPx, true);
            p.setFont(f);
            p.setPen(kDigit);
            const QString unit = QStringLiteral("万円");
            const qreal w = QFontMetricsF(f).horizontalAdvance(unit);
            p.save();
            const qreal scale = qMin(1.0, (cell.width() - 1) / w);
            p.translate(cell.left() + (cell.width() - w * scale) / 2, cell.top() + s.baseline);
            p.scale(scale, 1.0);
            p.drawText(QPointF(0, 0), unit);
            p.restore();
        },
        Qt::white);
}

QImage Period(int w, int h, int baseline, qreal radius) {
    QImage image = NewImage(w, h, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(kDigit);
    p.drawEllipse(QPointF(w / 2.0, baseline - radius), radius, radius);
    return image;
}

QImage Mark(int w, int h, int px) {
    QImage image = NewImage(w, h, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kRed.darker(130), 1));
    p.setBrush(kRed);
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 4, 4);
    const QFont f = Gothic(px, true, false);
    Text(p, QRectF(0, 2, w, h / 2.0 - 1), QStringLiteral("権"), f, Qt::white);
    Text(p, QRectF(0, h / 2.0 - 1, w, h / 2.0 - 1), QStringLiteral("利"), f, Qt::white);
    return image;
}

} // namespace

QList<Named> PriceImages() {
    const Size one{31, 44, 42, 15, 38};
    const Size two{24, 35, 33, 12, 30};
    return {
        {QStringLiteral("QEV2016_PRICEPANEL_1CH_NUMBERS"), Numbers(one)},
        {QStringLiteral("QEV2016_PRICEPANEL_1CH_PERIOD"), Period(19, 43, 38, 4)},
        {QStringLiteral("QEV2016_PRICEPANEL_1CH_RIGHT"), Mark(31, 56, 22)},
        {QStringLiteral("QEV2016_PRICEPANEL_2CH_NUMBERS"), Numbers(two)},
        {QStringLiteral("QEV2016_PRICEPANEL_2CH_PERIOD"), Period(17, 35, 30, 3.4)},
        {QStringLiteral("QEV2016_PRICEPANEL_2CH_RIGHT"), Mark(24, 48, 18)},
    };
}

} // namespace qev::art
