#pragma once

#include "skin/resbutton.h"

#include <functional>

namespace qev {

// A value button: its columns are values and every click steps to the next one, wrapping to 0.
// Two rows only (normal, pressed); no disabled look, no sound, no repeat.
class TQEV2016JResButton : public TResButton {
    Q_OBJECT
public:
    explicit TQEV2016JResButton(QWidget* parent = nullptr);

    std::function<void(TQEV2016JResButton* sender, int value)> OnValue;

    void SetButtonCols(int cols) override;
    // Stores value modulo the column count and fires OnValue with the stored value.
    void SetValue(int value);
    int Value() const { return m_value; }

    int Row() const override;
    int Column() const override { return m_value; }
    void Press(QPoint pos) override;
    void Move(QPoint pos) override;
    void ReleaseAt(QPoint pos) override;
    void Click() override;

protected:
    int StateRows() const override { return 2; }
    bool PointCounts(QPoint pos) const override { return rect().contains(pos); }

private:
    int m_value = 0;
};

} // namespace qev
