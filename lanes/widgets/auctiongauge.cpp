#include "lanes/widgets/auctiongauge.h"

#include <QPainter>

namespace qev {

TAuctionGauge::TAuctionGauge(QWidget* parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TAuctionGauge::SetBitmapOn(const QImage& image) {
    m_on = image;
    update();
}

void TAuctionGauge::SetBitmapOff(const QImage& image) {
    m_off = image;
    update();
}

void TAuctionGauge::SetValue(int v) {
    if (v == m_value || v < 0 || v > 3)
        return;
    m_value = v;
    update();
}

QImage TAuctionGauge::Compose() const {
    QImage out(size(), QImage::Format_RGB32);
    out.fill(palette().color(QPalette::Window));
    if (m_on.isNull() || m_off.isNull())
        return out;
    QPainter p(&out);
    p.drawImage(0, 0, m_off);
    if (m_value > 0) {
        const int third = width() / 3;
        const QRect part((3 - m_value) * third, 0, third, height());
        p.drawImage(part.topLeft(), m_on, part);
    }
    return out;
}

void TAuctionGauge::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, Compose());
}

} // namespace qev
