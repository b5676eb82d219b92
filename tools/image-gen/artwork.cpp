#include "artwork.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>

namespace qev::art {

QImage NewImage(int w, int h, const QColor& fill) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

QFont Gothic(int px, bool bold, bool proportional) {
    QFont f(proportional ? QStringLiteral("IPAPGothic") : QStringLiteral("IPAGothic"));
    f.setPixelSize(px);
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

QFont DigitFont(int px) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(px);
    f.setBold(true);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

void Text(QPainter& p, const QRectF& r, const QString& text, const QFont& font, const QColor& color,
          Qt::Alignment align) {
    p.save();
    p.setFont(font);
    p.setPen(color);
    p.drawText(r, static_cast<int>(align), text);
    p.restore();
}

void FitText(QPainter& p, const QRectF& r, const QString& text, const QFont& font, const QColor& color) {
    const qreal w = QFontMetricsF(font).horizontalAdvance(text);
    if (w <= r.width()) {
        Text(p, r, text, font, color);
        return;
    }
    p.save();
    const qreal sx = r.width() / w;
    p.translate(r.center().x(), r.top());
    p.scale(sx, 1.0);
    Text(p, QRectF(-w / 2, 0, w, r.height()), text, font, color);
    p.restore();
}

void Field(QPainter& p, const QRectF& r, const QColor& fill, const QColor& border, qreal radius) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(border, 1));
    p.setBrush(fill);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.restore();
}

void ButtonFace(QPainter& p, const QRectF& r, const QString& label, const QFont& font, State state,
                const QColor& base) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    QRectF face = r.adjusted(2, 2, -2, -2);
    QColor top = base.lighter(135);
    QColor bottom = base.darker(115);
    QColor text = Qt::white;
    if (state == State::Pressed) {
        top = base.darker(125);
        bottom = base.darker(105);
        face.translate(0, 1);
    } else if (state == State::Disabled) {
        top = kDisabledFill.lighter(110);
        bottom = kDisabledFill;
        text = kDisabledText;
    }
    // Soft shadow under the face, none while pressed.
    if (state != State::Pressed) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 45));
        p.drawRoundedRect(face.translated(0, 2), 7, 7);
    }
    QLinearGradient g(face.topLeft(), face.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setBrush(g);
    p.setPen(QPen(state == State::Disabled ? kDisabledFill.darker(120) : base.darker(150), 1));
    p.drawRoundedRect(face, 7, 7);
    // Gloss on the upper half.
    if (state == State::Normal) {
        QRectF gloss = face.adjusted(3, 2, -3, -face.height() / 2);
        QLinearGradient gg(gloss.topLeft(), gloss.bottomLeft());
        gg.setColorAt(0, QColor(255, 255, 255, 90));
        gg.setColorAt(1, QColor(255, 255, 255, 10));
        p.setPen(Qt::NoPen);
        p.setBrush(gg);
        p.drawRoundedRect(gloss, 5, 5);
    }
    FitText(p, face.adjusted(6, 0, -6, 0), label, font, text);
    p.restore();
}

void Bell(QPainter& p, const QRectF& r, const QColor& color) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const qreal s = qMin(r.width(), r.height());
    const QRectF b(r.center().x() - s / 2, r.center().y() - s / 2, s, s);
    // A dome on straight flanks that flare into a lip, and the clapper below.
    QPainterPath path;
    const qreal l = b.left();
    const qreal t = b.top();
    path.moveTo(l + s * 0.10, t + s * 0.78);
    path.quadTo(l + s * 0.24, t + s * 0.68, l + s * 0.24, t + s * 0.45);
    path.arcTo(QRectF(l + s * 0.24, t + s * 0.16, s * 0.52, s * 0.52), 180, -180);
    path.quadTo(l + s * 0.76, t + s * 0.68, l + s * 0.90, t + s * 0.78);
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPath(path);
    p.drawEllipse(QPointF(b.center().x(), t + s * 0.85), s * 0.09, s * 0.09);
    p.drawEllipse(QPointF(b.center().x(), t + s * 0.14), s * 0.06, s * 0.06);
    p.restore();
}

QImage Strip(int cellW, int cellH, int cols, int rows,
             const std::function<void(QPainter&, const QRect&, int col, int row)>& drawCell,
             const QColor& background) {
    QImage image = NewImage(cellW * cols, cellH * rows, background);
    QPainter p(&image);
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < cols; ++col) {
            const QRect cell(col * cellW, row * cellH, cellW, cellH);
            p.save();
            p.setClipRect(cell);
            drawCell(p, cell, col, row);
            p.restore();
        }
    }
    return image;
}

} // namespace qev::art
