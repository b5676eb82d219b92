#include "lanes/views/picturebox.h"

#include <QPaintEvent>
#include <QPainter>

namespace qev {

TPictureBox::TPictureBox(QWidget* parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

void TPictureBox::ClearPicture() {
    if (m_picture.size() != size() || m_picture.format() != QImage::Format_RGB32)
        m_picture = QImage(size(), QImage::Format_RGB32);
    m_picture.fill(kClearColour);
    update();
}

void TPictureBox::CopyFrom(const QImage& source) {
    if (m_picture.size() != size())
        ClearPicture();
    QPainter p(&m_picture);
    p.drawImage(0, 0, source);
    p.end();
    update();
}

void TPictureBox::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRect r = event->rect();
    // Outside the bitmap (a control larger than its picture) shows the clear colour.
    if (!m_picture.rect().contains(r))
        p.fillRect(r, QColor::fromRgb(kClearColour));
    p.drawImage(r.topLeft(), m_picture, r);
}

} // namespace qev
