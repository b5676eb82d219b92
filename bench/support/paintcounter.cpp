#include "bench/support/paintcounter.h"

#include <QEvent>

namespace qev {

bool PaintCounter::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::Paint)
        ++paints;
    return false;
}

} // namespace qev
