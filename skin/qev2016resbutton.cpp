#include "skin/qev2016resbutton.h"

namespace qev {

TQEV2016ResButton::TQEV2016ResButton(QWidget* parent)
    : TResButton(parent) {
    setMouseTracking(true);
}

void TQEV2016ResButton::SetMask(const QImage& mask) {
    m_mask = mask.convertToFormat(QImage::Format_RGB32);
    update();
}

bool TQEV2016ResButton::InShape(QPoint pos) const {
    if (!rect().contains(pos))
        return false;
    if (m_mask.isNull())
        return true;
    // Outside the mask's own size counts as outside the shape.
    if (!m_mask.rect().contains(pos))
        return false;
    return (m_mask.pixel(pos) & 0xFFFFFF) != 0;
}

void TQEV2016ResButton::Press(QPoint pos) {
    if (Down()) {
        CaptureLost();
        UpdateCursor(pos);
        return;
    }
    if (!m_mask.isNull() && !InShape(pos)) {
        CaptureLost();
        UpdateCursor(pos);
        return;
    }
    UpdateCursor(pos);
    TResButton::Press(pos);
}

void TQEV2016ResButton::Move(QPoint pos) {
    UpdateCursor(pos);
    TResButton::Move(pos);
}

void TQEV2016ResButton::UpdateCursor(QPoint pos) {
    const bool hand = !m_mask.isNull() && InShape(pos);
    setCursor(hand ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

} // namespace qev
