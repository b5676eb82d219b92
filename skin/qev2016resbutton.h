#pragma once

#include "skin/resbutton.h"

namespace qev {

// The bid button: a strip button with a shape mask of the cell's size. Black mask pixels lie
// outside the round shape; a press there is refused and the pointer does not count as inside.
class TQEV2016ResButton : public TResButton {
    Q_OBJECT
public:
    explicit TQEV2016ResButton(QWidget* parent = nullptr);

    void SetMask(const QImage& mask);
    const QImage& Mask() const { return m_mask; }
    // True where the button's shape is: inside the rectangle and not black in the mask.
    bool InShape(QPoint pos) const;

    void Press(QPoint pos) override;
    void Move(QPoint pos) override;

protected:
    bool PointCounts(QPoint pos) const override { return InShape(pos); }

private:
    void UpdateCursor(QPoint pos);

    QImage m_mask;
};

} // namespace qev
