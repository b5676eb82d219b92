#pragma once

#include <QObject>

namespace qev {

// Counts the paints that reach the widgets it watches, so a benchmark knows its change reached
// the screen rather than only the widget's state.
class PaintCounter final : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace qev
