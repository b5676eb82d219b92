#include "skin/qev2016jresbutton.h"

#include <QPointer>

namespace qev {

TQEV2016JResButton::TQEV2016JResButton(QWidget* parent)
    : TResButton(parent) {}

void TQEV2016JResButton::SetButtonCols(int cols) {
    if (cols > 0)
        TResButton::SetButtonCols(cols);
}

void TQEV2016JResButton::SetValue(int value) {
    const int cols = ButtonCols();
    // Never a negative column, whatever the caller passes.
    m_value = cols > 0 ? ((value % cols) + cols) % cols : 0;
    update();
    const auto handler = OnValue;
    if (handler)
        handler(this, m_value);
}

int TQEV2016JResButton::Row() const {
    return (Captured() && PointerInside()) ? 1 : 0;
}

void TQEV2016JResButton::Press(QPoint) {
    if (!isEnabled())
        return;
    BeginCapture();
    SetPointerInside(true);
    repaint();
}

void TQEV2016JResButton::Move(QPoint pos) {
    TResButton::Move(pos);
}

void TQEV2016JResButton::ReleaseAt(QPoint pos) {
    if (!Captured())
        return;
    EndCapture();
    repaint();
    if (PointCounts(pos))
        Click();
}

void TQEV2016JResButton::Click() {
    QPointer<TQEV2016JResButton> self(this);
    SetValue(m_value + 1);
    if (!self)
        return;
    repaint();
    FireClick();
}

} // namespace qev
