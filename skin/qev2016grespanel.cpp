#include "skin/qev2016grespanel.h"

#include <QPainter>

namespace qev {

TQEV2016GResPanel::TQEV2016GResPanel(QWidget* parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TQEV2016GResPanel::SetImage(const QImage& image) {
    m_image = image;
    update();
}

void TQEV2016GResPanel::SetSourceX(int x) {
    m_sourceX = x;
    update();
}

void TQEV2016GResPanel::SetSourceY(int y) {
    m_sourceY = y;
    update();
}

void TQEV2016GResPanel::SetColor(const QColor& color) {
    m_color = color;
    update();
}

void TQEV2016GResPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect window(QPoint(m_sourceX, m_sourceY), size());
    const QRect source = m_image.isNull() ? QRect() : window.intersected(m_image.rect());
    // Whatever the image does not cover (no image, or a window past its edge) shows the colour.
    if (source != window)
        p.fillRect(rect(), m_color);
    if (!source.isEmpty())
        p.drawImage(source.topLeft() - window.topLeft(), m_image, source);
}

} // namespace qev
