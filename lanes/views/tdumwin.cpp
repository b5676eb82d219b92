#include "lanes/views/tdumwin.h"

namespace qev {

TDumWin::TDumWin(LaneViewHost& host, QWidget* parent)
    : TTrrFrame(host, parent) {
    hide();
}

void TDumWin::Attach(QWidget* panel, TProcsDm*) {
    // Owned by the panel like the views, but never placed or shown.
    setParent(panel);
    hide();
}

} // namespace qev
