#include "headerimages.h"

#include <QLinearGradient>
#include <QPainterPath>

namespace qev::art {

namespace {

constexpr int kBarW = 1024;
constexpr int kBarH = 41;
constexpr int kButtonTop = 3;

// The bar's own gradient; button cells repeat the slice they cover so they blend in.
void BarBackground(QPainter& p, const QRect& r, int barTop) {
    QLinearGradient g(0, r.top() - barTop, 0, r.top() - barTop + kBarH);
    g.setColorAt(0, QColor(20, 120, 190));
    g.setColorAt(1, QColor(8, 84, 150));
    p.fillRect(r, g);
}

QImage Base() {
    QImage image = NewImage(kBarW, kBarH, kBlue);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    BarBackground(p, image.rect(), 0);
    p.fillRect(QRect(0, kBarH - 2, kBarW, 2), QColor(4, 60, 110));
    Text(p, QRectF(14, 0, 120, kBarH), QStringLiteral("QEV"), DigitFont(22), Qt::white,
         Qt::AlignLeft | Qt::AlignVCenter);
    Text(p, QRectF(70, 0, 80, kBarH), QStringLiteral("リアル"), Gothic(18), QColor(255, 236, 120),
         Qt::AlignLeft | Qt::AlignVCenter);
    Text(p, QRectF(124, 0, 34, kBarH), QStringLiteral("ID"), DigitFont(13), kLightBlue,
         Qt::AlignRight | Qt::AlignVCenter);
    // The light box behind the user ID (the ID panel itself is 163, 11, 86 x 20).
    Field(p, QRectF(160, 8, 90, 26), QColor(254, 254, 254), kFieldBorder, 4);
    return image;
}

// Cells of 'w' x 35 in rows normal / pressed (checked) / disabled.
QImage ButtonStrip(int w, int cols, int rows,
                   const std::function<void(QPainter&, const QRectF&, int, int)>& face) {
    return Strip(
        w, 35, cols, rows,
        [&](QPainter& p, const QRect& cell, int col, int row) {
            BarBackground(p, cell, kButtonTop - cell.top());
            face(p, QRectF(cell), col, row);
        },
        kBlue);
}

State RowState(int row) {
    return row == 0 ? State::Normal : row == 1 ? State::Pressed : State::Disabled;
}

QImage BidMode() {
    return ButtonStrip(102, 2, 3, [](QPainter& p, const QRectF& r, int col, int row) {
        const QString label = col == 0 ? QStringLiteral("応札OFF") : QStringLiteral("応札ON");
        const QRectF face = r.adjusted(1, 1, -1, -1);
        if (row == 2) {
            ButtonFace(p, face, label, Gothic(16), State::Disabled, kDisabledFill);
            return;
        }
        if (row == 0) {
            // Not chosen: a dim outline so the chosen one stands out.
            p.save();
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setPen(QPen(QColor(120, 180, 225), 1.5));
            p.setBrush(QColor(10, 80, 140));
            p.drawRoundedRect(face.adjusted(2, 2, -2, -2), 7, 7);
            FitText(p, face.adjusted(6, 2, -6, -2), label, Gothic(16), QColor(150, 195, 230));
            p.restore();
            return;
        }
        const QColor lit = col == 0 ? QColor(90, 100, 112) : QColor(230, 60, 30);
        ButtonFace(p, face, label, Gothic(16), State::Normal, lit);
    });
}

void Speaker(QPainter& p, const QRectF& r, int level, const QColor& color) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    const qreal cy = r.center().y();
    const qreal x = r.left() + 4;
    QPainterPath body;
    body.moveTo(x, cy - 4);
    body.lineTo(x + 5, cy - 4);
    body.lineTo(x + 11, cy - 10);
    body.lineTo(x + 11, cy + 10);
    body.lineTo(x + 5, cy + 4);
    body.lineTo(x, cy + 4);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(Qt::NoBrush);
    if (level == 0) {
        p.setPen(QPen(QColor(255, 120, 100), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x + 15, cy - 5), QPointF(x + 25, cy + 5));
        p.drawLine(QPointF(x + 25, cy - 5), QPointF(x + 15, cy + 5));
    }
    for (int i = 0; i < level; ++i) {
        p.setPen(QPen(color, 2.2, Qt::SolidLine, Qt::RoundCap));
        const qreal rad = 6 + i * 5;
        p.drawArc(QRectF(x + 9 - rad, cy - rad, 2 * rad, 2 * rad), -45 * 16, 90 * 16);
    }
    p.restore();
}

QImage Volume() {
    return ButtonStrip(41, 4, 2, [](QPainter& p, const QRectF& r, int col, int row) {
        p.save();
        p.setRenderHint(QPainter::Antialiasing, true);
        const QRectF face = r.adjusted(2, 2, -2, -2).translated(0, row == 1 ? 1 : 0);
        p.setPen(QPen(QColor(120, 180, 225), 1));
        p.setBrush(row == 1 ? QColor(6, 60, 110) : QColor(14, 96, 160));
        p.drawRoundedRect(face, 6, 6);
        p.restore();
        Speaker(p, face, col, Qt::white);
    });
}

QImage Labelled(int w, const QString& label, const QColor& base, bool bell) {
    return ButtonStrip(w, 1, 3, [&](QPainter& p, const QRectF& r, int, int row) {
        const QRectF face = r.adjusted(1, 1, -1, -1);
        ButtonFace(p, face, bell ? QString() : label, Gothic(16), RowState(row), base);
        if (bell) {
            const QRectF inner = face.adjusted(0, row == 1 ? 1 : 0, 0, row == 1 ? 1 : 0);
            const QColor ink = row == 2 ? kDisabledText : QColor(Qt::white);
            Bell(p, QRectF(inner.left() + 8, inner.top() + 6, 22, 22), ink);
            FitText(p, inner.adjusted(32, 0, -6, 0), label, Gothic(16), ink);
        }
    });
}

} // namespace

QList<Named> HeaderImages() {
    return {
        {QStringLiteral("QEV2016_HEADER_BASE"), Base()},
        {QStringLiteral("QEV2016_HEADER_BIDMODE"), BidMode()},
        {QStringLiteral("QEV2016_HEADER_VOLUME"), Volume()},
        {QStringLiteral("QEV2016_HEADER_ALARMSETTING"),
         Labelled(154, QStringLiteral("アラーム設定"), QColor(236, 140, 20), true)},
        {QStringLiteral("QEV2016_HEADER_AUCTION"),
         Labelled(154, QStringLiteral("オークション画面へ"), QColor(40, 150, 80), false)},
        {QStringLiteral("QEV2016_HEADER_EXIT"),
         Labelled(82, QStringLiteral("終了"), QColor(90, 100, 112), false)},
    };
}

} // namespace qev::art
